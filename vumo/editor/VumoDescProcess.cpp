#include "editor/VumoDescProcess.h"

#include "database/VumoDBMgr.h"
#include "editor/VumoDescRules.h"
#include "utils/Log.h"

namespace Quorvia::vumo {

VumoDescProcess::VumoDescProcess(std::shared_ptr<database::VumoDbInterface> store)
    : m_store(std::move(store))
{
}

database::VumoDbInterface& VumoDescProcess::store()
{
    if (!m_store)
        m_store = database::VumoDBMgr::instance()->GetVumoDb();
    return *m_store;
}

bool VumoDescProcess::read(const QString& clientId, QString& text)
{
    if (!store().GetDescription(clientId, text)) {
        m_message = QStringLiteral("读取数据库失败！");
        qCWarning(lcVumo).noquote() << m_message << clientId;
        return false;
    }
    return true;
}

bool VumoDescProcess::write(const QString& clientId, const QString& text)
{
    if (!store().SetDescription(clientId, text)) {
        m_message = QStringLiteral("保存数据库失败！");
        qCWarning(lcVumo).noquote() << m_message << clientId;
        return false;
    }
    return true;
}

bool VumoDescProcess::process(const QString& description, QString& result, int mode, const QString& textA,
                              const QString& textB)
{
    QString out;
    int replaced = 0;
    switch (mode) {
    case NewContent:
        out = textA;
        break;
    case FindReplace:
        out = description;
        replaced = editor::ReplaceCounted(out, textA, textB);
        break;
    case AddBothEnds:
        out = textA + description + textB;
        break;
    default:
        m_message = QStringLiteral("修改失败！");
        return false;
    }
    if (out.isEmpty()) {
        m_message = QStringLiteral("修改失败：商品描述为空！");
        return false;
    }
    if (out.size() > editor::kDescriptionMaxLength) {
        m_message = QStringLiteral("修改失败：商品描述长度超过限制！");
        return false;
    }
    result = out;
    m_message = mode == FindReplace ? QStringLiteral("修改成功：查找并替换%1个").arg(replaced)
                                    : QStringLiteral("修改成功！");
    return true;
}

} // namespace Quorvia::vumo
