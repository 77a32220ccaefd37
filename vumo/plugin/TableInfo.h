#pragma once
// Header texts of the listing table's columns, shared by the table and its settings page.
#include "utils/CSingleton.h"

#include <QMap>
#include <QObject>
#include <QString>

namespace Quorvia::vumo {

class TableInfo : public QObject, public Quorvia::utils::CSingleton<TableInfo>
{
    Q_OBJECT
public:
    static constexpr int ColumnCount = 14;

    QMap<int, QString> GetColumnMap() const { return m_columns; }

private:
    friend class Quorvia::utils::CSingleton<TableInfo>;
    TableInfo();

    QMap<int, QString> m_columns;
};

} // namespace Quorvia::vumo
