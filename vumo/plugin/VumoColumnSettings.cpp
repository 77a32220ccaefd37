#include "plugin/VumoColumnSettings.h"

#include "quorvia/UserConfig.h"

#include <QSet>

#include <memory>

namespace Quorvia::vumo {

namespace {

constexpr int kColumnCount = 14;
constexpr int kTickColumn = 0;
constexpr int kCategoryColumn = 4;
constexpr int kStockColumn = 11;

bool forcedVisible(int column)
{
    return column == kTickColumn;
}

bool forcedHidden(int column, int stockMode)
{
    return column == kCategoryColumn || (column == kStockColumn && stockMode == 1);
}

} // namespace

VumoColumnSettings VumoColumnSettings::FromSaved(const QVector<VumoColumnChoice>& saved,
                                                 const QMap<int, QString>& headers, int stockMode)
{
    VumoColumnSettings settings;
    settings.m_stockMode = stockMode;
    QSet<int> seen;
    for (const VumoColumnChoice& entry : saved) {
        if (entry.column < 0 || entry.column >= kColumnCount || seen.contains(entry.column))
            continue;
        seen.insert(entry.column);
        VumoColumnChoice choice = entry;
        choice.width = qMax(0, entry.width);
        settings.m_columns.append(choice);
    }
    for (int column = 0; column < kColumnCount; ++column) {
        if (!seen.contains(column))
            settings.m_columns.append({column, QString(), 0, true});
    }
    // The tick column leads whatever the saved order says.
    for (int i = 0; i < settings.m_columns.size(); ++i) {
        if (settings.m_columns.at(i).column == kTickColumn) {
            settings.m_columns.move(i, 0);
            break;
        }
    }
    for (VumoColumnChoice& choice : settings.m_columns) {
        choice.title = headers.value(choice.column);
        if (forcedVisible(choice.column))
            choice.visible = true;
        // The stock column keeps the seller's flag for a shop that manages stock again later;
        // the table hides it anyway while stockMode is 1.
        if (choice.column == kCategoryColumn)
            choice.visible = false;
    }
    return settings;
}

VumoColumnSettings VumoColumnSettings::Load(const QMap<int, QString>& headers, int stockMode)
{
    QVector<VumoColumnChoice> saved;
    const QVector<quorvia::settings::_tagColumnInfo*> infos =
        quorvia::settings::CUserConfig::Instance()->GetVumoColumnInfo();
    for (const quorvia::settings::_tagColumnInfo* info : infos) {
        if (info)
            saved.append({info->column, QString(), info->width, info->visible});
    }
    qDeleteAll(infos);
    return FromSaved(saved, headers, stockMode);
}

VumoColumnSettings VumoColumnSettings::Defaults(const QMap<int, QString>& headers, int stockMode)
{
    return FromSaved({}, headers, stockMode);
}

bool VumoColumnSettings::IsChoosable(int column) const
{
    return column >= 0 && column < kColumnCount && !forcedVisible(column) && !forcedHidden(column, m_stockMode);
}

QVector<VumoColumnChoice> VumoColumnSettings::Choices() const
{
    QVector<VumoColumnChoice> choices;
    for (const VumoColumnChoice& choice : m_columns) {
        if (IsChoosable(choice.column))
            choices.append(choice);
    }
    return choices;
}

int VumoColumnSettings::columnIndexOfChoice(int choice) const
{
    int seen = -1;
    for (int i = 0; i < m_columns.size(); ++i) {
        if (IsChoosable(m_columns.at(i).column) && ++seen == choice)
            return i;
    }
    return -1;
}

bool VumoColumnSettings::MoveChoice(int from, int to)
{
    const int fromIndex = columnIndexOfChoice(from);
    const int toIndex = columnIndexOfChoice(to);
    if (fromIndex < 0 || toIndex < 0 || fromIndex == toIndex)
        return false;
    // The chosen column takes the place of the one at `to`; columns not offered for choice
    // (the category column) keep their positions relative to their neighbours.
    m_columns.move(fromIndex, toIndex);
    return true;
}

bool VumoColumnSettings::SetChoiceVisible(int choice, bool visible)
{
    const int index = columnIndexOfChoice(choice);
    if (index < 0 || m_columns.at(index).visible == visible)
        return false;
    m_columns[index].visible = visible;
    return true;
}

bool VumoColumnSettings::Save() const
{
    std::vector<std::unique_ptr<quorvia::settings::_tagColumnInfo>> owned;
    QVector<quorvia::settings::_tagColumnInfo*> infos;
    for (const VumoColumnChoice& choice : m_columns) {
        owned.push_back(std::make_unique<quorvia::settings::_tagColumnInfo>());
        owned.back()->column = choice.column;
        owned.back()->width = choice.width;
        owned.back()->visible = choice.visible;
        infos.append(owned.back().get());
    }
    quorvia::settings::CUserConfig* config = quorvia::settings::CUserConfig::Instance();
    if (!config->SetVumoColumnInfo(infos))
        return false;
    emit config->signalSettingsChanged(QStringLiteral("vumo"), QStringLiteral("VumoColumnOrder"));
    return true;
}

bool VumoColumnSettings::HasVisibleChoice() const
{
    for (const VumoColumnChoice& choice : m_columns) {
        if (IsChoosable(choice.column) && choice.visible)
            return true;
    }
    return false;
}

bool VumoColumnSettings::operator==(const VumoColumnSettings& other) const
{
    if (m_stockMode != other.m_stockMode || m_columns.size() != other.m_columns.size())
        return false;
    for (int i = 0; i < m_columns.size(); ++i) {
        const VumoColumnChoice& a = m_columns.at(i);
        const VumoColumnChoice& b = other.m_columns.at(i);
        if (a.column != b.column || a.width != b.width || a.visible != b.visible)
            return false;
    }
    return true;
}

} // namespace Quorvia::vumo
