#include "plugin/VumoDeleteThread.h"

#include "database/VumoDBMgr.h"
#include "entity/VumoDataEntity.h"
#include "request/PopVumoDelete.h"
#include "utils/Log.h"

#include <QMutexLocker>

#include <memory>
#include <new>

namespace Quorvia::vumo {

namespace {

class GatewayDelete : public request::PopVumoDelete
{
public:
    explicit GatewayDelete(const QString& url) : m_url(url) {}
    QString GetUrl() const override { return m_url.isEmpty() ? request::PopVumoDelete::GetUrl() : m_url; }

private:
    const QString m_url;
};

} // namespace

VumoDeleteThread::VumoDeleteThread(const VumoDeletePlan& plan, const QList<VUMO_LIST_STRUCT>& rows, QObject* parent)
    : QThread(parent)
    , m_plan(plan)
    , m_rows(rows)
{
    qRegisterMetaType<VUMO_LIST_STRUCT>("VUMO_LIST_STRUCT");
}

VumoDeleteThread::~VumoDeleteThread()
{
    Stop();
    wait();
}

void VumoDeleteThread::Stop()
{
    QMutexLocker locker(&m_mutex);
    m_stop = true;
}

bool VumoDeleteThread::IsStopped() const
{
    QMutexLocker locker(&m_mutex);
    return m_stop;
}

void VumoDeleteThread::run()
{
    if (!m_plan.Deletes())
        return;
    for (const VUMO_LIST_STRUCT& row : m_rows) {
        if (IsStopped()) {
            m_cancelled = true;
            break;
        }
        if (deleteOne(row)) {
            ++m_succeeded;
            emit OneVumoDeletedSignal(row);
        } else {
            ++m_failed;
        }
        ++m_done;
        emit DeleteProgressSignal(m_done);
    }
}

bool VumoDeleteThread::deleteOne(const VUMO_LIST_STRUCT& row)
{
    if (m_plan.Online()) {
        // Without its marketplace number the listing cannot be deleted online; moving it to
        // the recycle bin anyway would hide a listing that is still for sale.
        if (row.vumo_id <= 0) {
            qCWarning(lcVumo).noquote() << QStringLiteral("待删除商品包含错误信息！");
            return false;
        }
        std::unique_ptr<request::PopVumoDelete> call(new (std::nothrow) GatewayDelete(m_gatewayUrl));
        if (!call) {
            qCCritical(lcVumo).noquote() << QStringLiteral("删除线上待售商品失败：内存不足，无法发起请求！");
            Stop(); // no further request can be made either
            return false;
        }
        call->SetVumoId(row.vumo_id);
        if (!call->SyncRequest(OnlineDeleteTimeoutMs)) {
            qCWarning(lcVumo).noquote() << QStringLiteral("删除在线待售商品失败！") << row.vumo_id << call->errorMessage;
            return false;
        }
    }
    entity::VumoDataEntity record;
    record.set_client_id(row.client_id);
    auto store = database::VumoDBMgr::instance()->GetVumoDb();
    if (!store || !store->RemoveVumo(record, m_plan.Permanent())) {
        qCWarning(lcVumo).noquote() << QStringLiteral("删除本地数据库商品失败！") << row.client_id;
        return false;
    }
    return true;
}

} // namespace Quorvia::vumo
