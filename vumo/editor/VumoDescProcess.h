#pragma once
// The batch operations on one listing's description: read it, change it (new content, find and
// replace, add at both ends) and write it back. Keeps the last message for the page to show.
// No widgets; runs on the thread whose store connection it uses.
#include <QString>

#include <memory>

namespace Quorvia::vumo::database {
class VumoDbInterface;
}

namespace Quorvia::vumo {

class VumoDescProcess
{
public:
    enum Mode {
        NewContent = 0,  // the result is text A
        FindReplace = 1, // every A replaced by B
        AddBothEnds = 2, // A, the description, B
    };

    // Null: the listing store of VumoDBMgr.
    explicit VumoDescProcess(std::shared_ptr<database::VumoDbInterface> store = nullptr);

    // "读取数据库失败！" on failure.
    bool read(const QString& clientId, QString& text);
    // "保存数据库失败！" on failure (also when no listing has that client id).
    bool write(const QString& clientId, const QString& text);
    // The batch operation; `result` is set only on success. Messages: "修改成功！",
    // "修改成功：查找并替换%1个" (replacements made), "修改失败：商品描述为空！",
    // "修改失败：商品描述长度超过限制！".
    bool process(const QString& description, QString& result, int mode, const QString& textA, const QString& textB);

    QString Message() const { return m_message; }

private:
    database::VumoDbInterface& store();

    std::shared_ptr<database::VumoDbInterface> m_store;
    QString m_message;
};

} // namespace Quorvia::vumo
