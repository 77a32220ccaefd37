#include "sync/CatsDownloadThreadByQBR.h"

#include "request/PopVumoAttributeGet.h"
#include "request/PopVumoAttvalueGet.h"
#include "request/PopVumoGroupsGet.h"
#include "request/PopVumocatsGet.h"
#include "sync/CategoryPackage.h"
#include "utils/Log.h"

#include <QJsonObject>

namespace Quorvia::vumo::sync {

using namespace Quorvia::vumo::database;

namespace {

constexpr int kFetchPercent = 90;
constexpr int kWritePercent = 95;

// The answer's maps read into rows with the package's type checks; `problem` as the
// package reader gives it.
template <class Row, class ReadRow>
bool RowsOf(const QList<QVariantMap>& items, const char* list, QVector<Row>& rows, QString& problem, ReadRow readRow)
{
    for (int i = 0; i < items.size(); ++i) {
        Row row;
        QString member;
        if (!readRow(QJsonObject::fromVariantMap(items.at(i)), row, member)) {
            problem = QStringLiteral("类目数据解析错误:%1")
                          .arg(QStringLiteral("%1[%2].%3").arg(QLatin1String(list)).arg(i).arg(member));
            return false;
        }
        rows.append(std::move(row));
    }
    return true;
}

} // namespace

CatsDownloadThreadByQBR::CatsDownloadThreadByQBR(const QString& uid, qint64 venderId, QObject* parent)
    : CatsSyncWorker(uid, venderId, parent)
{
}

CatsDownloadThreadByQBR::~CatsDownloadThreadByQBR()
{
    Stop();
    wait();
}

bool CatsDownloadThreadByQBR::fetchLeaf(CategoryRecordRows& record)
{
    const qint64 cid = record.category.id;
    QString problem;
    request::PopVumoAttributeGet attributes;
    attributes.SetCid(cid);
    if (!attributes.SyncRequest(CallTimeoutMs)) {
        Fail(attributes.errorMessage);
        return false;
    }
    if (!RowsOf(attributes.GetItems(), "attributes", record.attributes, problem, ReadAttributeRow)) {
        Fail(problem);
        return false;
    }
    for (CategoryAttributeRow& a : record.attributes) {
        if (a.cid == 0)
            a.cid = cid;
    }

    // The brand's values come by their own call: they hold the seller's own brands too.
    const int brand = BrandAttributeIndex(record.attributes);
    QList<qint64> others;
    for (int i = 0; i < record.attributes.size(); ++i) {
        if (i != brand)
            others << record.attributes.at(i).aid;
    }
    if (!others.isEmpty()) {
        request::PopVumoAttvalueGet values;
        values.SetAids(others);
        if (!values.SyncRequest(CallTimeoutMs)) {
            Fail(values.errorMessage);
            return false;
        }
        if (!RowsOf(values.GetItems(), "att_values", record.values, problem, ReadAttributeValueRow)) {
            Fail(problem);
            return false;
        }
    }
    if (brand >= 0) {
        request::PopVumoAttvalueGet values;
        values.SetAids({record.attributes.at(brand).aid});
        if (!values.SyncRequest(CallTimeoutMs)) {
            Fail(QStringLiteral("品牌属性值下载失败：%1").arg(values.errorMessage));
            return false;
        }
        if (!RowsOf(values.GetItems(), "att_values", record.values, problem, ReadAttributeValueRow)) {
            Fail(problem);
            return false;
        }
    }

    request::PopVumoGroupsGet groups;
    groups.SetCid(cid);
    if (!groups.SyncRequest(CallTimeoutMs)) {
        Fail(groups.errorMessage);
        return false;
    }
    if (!RowsOf(groups.GetItems(), "groups", record.groups, problem, ReadAttributeGroupRow)) {
        Fail(problem);
        return false;
    }
    for (AttributeGroupRow& g : record.groups) {
        if (g.cid == 0)
            g.cid = cid;
    }
    return true;
}

int CatsDownloadThreadByQBR::SavingPercent() const
{
    return kFetchPercent;
}

void CatsDownloadThreadByQBR::run()
{
    if (LeaveIfStopped())
        return;
    SetPercent(1);
    QVector<CategoryRecordRows> records;
    {
        request::PopVumocatsGet cats;
        if (!cats.SyncRequest(CallTimeoutMs)) {
            Fail(cats.errorMessage);
            return;
        }
        QVector<CategoryRow> rows;
        QString problem;
        if (!RowsOf(cats.GetItems(), "item_cats", rows, problem, ReadCategoryRow)) {
            Fail(problem);
            return;
        }
        records.reserve(rows.size());
        for (const CategoryRow& row : rows) {
            CategoryRecordRows record;
            record.category = row;
            records.append(std::move(record));
        }
    }
    for (int i = 0; i < records.size(); ++i) {
        if (LeaveIfStopped())
            return;
        CategoryRecordRows& record = records[i];
        // Only valid leaves carry attributes; the others are written (or removed) as they are.
        if (!record.Removes() && record.category.is_parent == 0 && !fetchLeaf(record))
            return;
        SetPercent(1 + (kFetchPercent - 1) * (i + 1) / int(records.size()));
    }
    if (!ApplyRecords(records, true, kFetchPercent, kWritePercent))
        return;
    records = {};
    if (!RefreshShopCategories())
        return;
    SetPercent(100);
    ItemSucceeded();
}

} // namespace Quorvia::vumo::sync
