#pragma once
// Per-user settings of the workbench (linked service library). Plug-ins use the column layout
// of the listing table and the change signal.
#include <QObject>
#include <QString>
#include <QVector>

namespace quorvia::settings {

struct _tagColumnInfo
{
    int column = 0;
    int width = 0;
    bool visible = true;
};

class CUserConfig : public QObject
{
    Q_OBJECT
public:
    // The settings of the current seller, kept in <home>/users/<uid>/userconfig.ini.
    static CUserConfig* Instance();

    // The host names the logged-in seller before it loads plug-ins; the file follows the user.
    static void SetCurrentUser(const QString& uid);
    static QString CurrentUser();

    // The saved layout in display order; empty on first use. The caller owns the records.
    QVector<_tagColumnInfo*> GetVumoColumnInfo() const;
    // True when saved. Does not take ownership.
    bool SetVumoColumnInfo(const QVector<_tagColumnInfo*>& columns);

    // Where the settings live; mostly for tests and diagnostics.
    QString FilePath() const;

signals:
    void signalSettingsChanged(const QString& group, const QString& key);

private:
    explicit CUserConfig(QObject* parent = nullptr);
};

} // namespace quorvia::settings
