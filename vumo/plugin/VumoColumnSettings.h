#pragma once
// What the settings dialog edits: the order and visibility of the listing table's columns,
// read from and saved to the workbench's per-user settings (CUserConfig).
//
// The tick column (0) always stays first and shown, and the category column (4) always
// stays hidden; with stockMode 1 the stock column (11) stays hidden too. Those are not
// offered for choice but keep their place in what is saved.
#include <QMap>
#include <QString>
#include <QVector>

namespace Quorvia::vumo {

struct VumoColumnChoice
{
    int column = 0;
    QString title;
    int width = 0; // the saved width; 0 = let the table decide
    bool visible = true;
};

class VumoColumnSettings
{
public:
    // From a saved layout in visual order (empty = the default order, all shown). Unknown and
    // repeated column numbers are dropped; columns the layout does not name follow in their
    // default order, shown. `headers` is TableInfo's column map.
    static VumoColumnSettings FromSaved(const QVector<VumoColumnChoice>& saved, const QMap<int, QString>& headers,
                                        int stockMode);
    // Reads CUserConfig::GetVumoColumnInfo().
    static VumoColumnSettings Load(const QMap<int, QString>& headers, int stockMode);
    // The default order 0..13, everything the seller can choose shown.
    static VumoColumnSettings Defaults(const QMap<int, QString>& headers, int stockMode);

    // Every column (14) in visual order: the tick column first and shown, the category column
    // hidden, every other flag as saved.
    QVector<VumoColumnChoice> Columns() const { return m_columns; }
    // Only the columns the seller may move and show or hide, in visual order.
    QVector<VumoColumnChoice> Choices() const;

    // Operations on positions in Choices(). False (nothing changed) when out of range or
    // already at the end.
    bool MoveChoice(int from, int to);
    bool MoveUp(int choice) { return MoveChoice(choice, choice - 1); }
    bool MoveDown(int choice) { return MoveChoice(choice, choice + 1); }
    bool SetChoiceVisible(int choice, bool visible);

    // The seller must keep at least one column besides the tick box.
    bool HasVisibleChoice() const;

    // The columns the seller can choose (not forced).
    bool IsChoosable(int column) const;

    // Writes the layout through CUserConfig and then announces it with
    // signalSettingsChanged("vumo", "VumoColumnOrder"). False (nothing announced) when the
    // settings could not be written.
    bool Save() const;

    bool operator==(const VumoColumnSettings& other) const;

private:
    int columnIndexOfChoice(int choice) const;

    QVector<VumoColumnChoice> m_columns;
    int m_stockMode = -1;
};

} // namespace Quorvia::vumo
