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

// One list call, its answer read into `rows` with the package's type checks. Empty when it
// worked; otherwise the call's error text or the reader's.
template <class Row, class ReadRow>
QString FetchRows(request::PopCategoryListGet& call, const char* list, QVector<Row>& rows, ReadRow readRow)
{
    if (!call.SyncRequest(CatsDownloadThreadByQBR::CallTimeoutMs))
        return call.errorMessage;
    const QList<QVariantMap> items = call.GetItems();
    for (int i = 0; i < items.size(); ++i) {
        Row row;
        QString member;
        if (!readRow(QJsonObject::fromVariantMap(items.at(i)), row, member))
            return QStringLiteral("类目数据解析错误:%1")
                .arg(QStringLiteral("%1[%2].%3").arg(QLatin1String(list)).arg(i).arg(member));
        rows.append(std::move(row));
    }
    return QString();
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
    const auto fetch = [this](request::PopCategoryListGet& call, const char* list, auto& rows, auto readRow,
                              const QString& failure = QStringLiteral("%1")) {
        const QString error = FetchRows(call, list, rows, readRow);
        if (!error.isEmpty())
            Fail(failure.arg(error));
        return error.isEmpty();
    };
    request::PopVumoAttributeGet attributes;
    attributes.SetCid(cid);
    if (!fetch(attributes, "attributes", record.attributes, ReadAttributeRow))
        return false;

    // The brand's values come by their own call: they hold the seller's own brands too.
    const int brand = BrandAttributeIndex(record.attributes);
    QList<qint64> others;
    for (int i = 0; i < record.attributes.size(); ++i) {
        if (i != brand)
            others << record.attributes.at(i).aid;
    }
    request::PopVumoAttvalueGet values;
    values.SetAids(others);
    if (!others.isEmpty() && !fetch(values, "att_values", record.values, ReadAttributeValueRow))
        return false;
    request::PopVumoAttvalueGet brandValues;
    if (brand >= 0) {
        brandValues.SetAids({record.attributes.at(brand).aid});
        if (!fetch(brandValues, "att_values", record.values, ReadAttributeValueRow,
                   QStringLiteral("品牌属性值下载失败：%1")))
            return false;
    }

    request::PopVumoGroupsGet groups;
    groups.SetCid(cid);
    if (!fetch(groups, "groups", record.groups, ReadAttributeGroupRow))
        return false;
    // Rows that do not name their category belong to this one.
    for (CategoryAttributeRow& a : record.attributes)
        a.cid = a.cid == 0 ? cid : a.cid;
    for (AttributeGroupRow& g : record.groups)
        g.cid = g.cid == 0 ? cid : g.cid;
    return true;
}

int CatsDownloadThreadByQBR::SavingPercent() const
{
    return kFetchPercent;
}

void CatsDownloadThreadByQBR::run()
{
    ResetPercent();
    if (LeaveIfStopped())
        return;
    SetPercent(1);
    QVector<CategoryRecordRows> records;
    {
        request::PopVumocatsGet cats;
        QVector<CategoryRow> rows;
        const QString error = FetchRows(cats, "item_cats", rows, ReadCategoryRow);
        if (!error.isEmpty()) {
            Fail(error);
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
