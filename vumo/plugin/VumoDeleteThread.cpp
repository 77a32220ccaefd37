#include "plugin/VumoDeleteThread.h"

#include "database/VumoDBMgr.h"
#include "entity/VumoDataEntity.h"
#include "request/PopVumoDelete.h"
#include "utils/Log.h"

#include <memory>
#include <new>

namespace Quorvia::vumo {

VumoDeleteThread::VumoDeleteThread(const VumoDeletePlan& plan, const QList<VUMO_LIST_STRUCT>& rows, QObject* parent)
    : VumoWorker(parent)
    , m_plan(plan)
    , m_rows(rows)
{
    qRegisterMetaType<VUMO_LIST_STRUCT>("VUMO_LIST_STRUCT");
    SetTotal(int(m_rows.size()));
}

VumoDeleteThread::~VumoDeleteThread()
{
    // Here, not only in the base: run() reads this class's members, which go before the
    // base's destructor would wait.
    Stop();
    wait();
}

void VumoDeleteThread::run()
{
    if (!m_plan.Deletes())
        return;
    for (const VUMO_LIST_STRUCT& row : m_rows) {
        if (LeaveIfStopped())
            break;
        QString error;
        if (deleteOne(row, error)) {
            emit OneVumoDeletedSignal(row);
            ItemSucceeded();
        } else {
            ItemFailed(error);
        }
    }
}

bool VumoDeleteThread::deleteOne(const VUMO_LIST_STRUCT& row, QString& error)
{
    if (m_plan.Online()) {
        // Without its marketplace number the listing cannot be deleted online; moving it to
        // the recycle bin anyway would hide a listing that is still for sale.
        if (row.vumo_id <= 0) {
            error = QStringLiteral("待删除商品包含错误信息！");
            qCWarning(lcVumo).noquote() << error;
            return false;
        }
        std::unique_ptr<request::PopVumoDelete> call(new (std::nothrow) request::PopVumoDelete);
        if (!call) {
            error = QStringLiteral("删除线上待售商品失败：内存不足，无法发起请求！");
            qCCritical(lcVumo).noquote() << error;
            Stop(); // no further request can be made either
            return false;
        }
        call->SetVumoId(row.vumo_id);
        if (!call->SyncRequest(OnlineDeleteTimeoutMs)) {
            qCWarning(lcVumo).noquote() << QStringLiteral("删除在线待售商品失败！") << row.vumo_id
                                        << call->errorMessage;
            // The marketplace's own words when it gave any.
            error = call->errorMessage.isEmpty() ? QStringLiteral("删除在线待售商品失败！") : call->errorMessage;
            return false;
        }
    }
    entity::VumoDataEntity record;
    record.set_client_id(row.client_id);
    auto store = database::VumoDBMgr::instance()->GetVumoDb();
    if (!store || !store->RemoveVumo(record, m_plan.Permanent())) {
        error = QStringLiteral("删除本地数据库商品失败！");
        qCWarning(lcVumo).noquote() << error << row.client_id;
        return false;
    }
    return true;
}

} // namespace Quorvia::vumo
