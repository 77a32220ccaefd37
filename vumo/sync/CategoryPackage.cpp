#include "sync/CategoryPackage.h"

#include "editor/CategoryPickerRules.h"

#include "quorvia/LogMask.h"
#include "utils/Log.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

#include <algorithm>
#include <cmath>
#include <limits>

namespace Quorvia::vumo::sync {

using namespace Quorvia::vumo::database;

namespace {

const QString kParseError = QStringLiteral("类目数据解析错误");
constexpr int kMaxSections = 5;

// Occurrences of `c` in body[from, to), without copying the range.
qsizetype CountIn(const QByteArray& body, qsizetype from, qsizetype to, char c)
{
    return std::count(body.constData() + from, body.constData() + to, c);
}

// Reads members with their column's type; remembers the first member that did not fit.
class FieldReader
{
public:
    FieldReader(const QJsonObject& object, QString& problem)
        : m_object(object)
        , m_problem(problem)
    {
    }

    template <class Int>
    FieldReader& Number(const char* key, Int& out)
    {
        qint64 value = 0;
        if (!m_problem.isEmpty() || !readNumber(key, value))
            return *this;
        if (value < qint64(std::numeric_limits<Int>::min()) || value > qint64(std::numeric_limits<Int>::max()))
            m_problem = QLatin1String(key);
        else if (m_present)
            out = Int(value);
        return *this;
    }

    FieldReader& Text(const char* key, QString& out)
    {
        if (!m_problem.isEmpty())
            return *this;
        const QJsonValue v = m_object.value(QLatin1String(key));
        if (v.isString())
            out = v.toString();
        else if (!v.isUndefined() && !v.isNull())
            m_problem = QLatin1String(key);
        return *this;
    }

    // The member must be there and above 0.
    template <class Int>
    FieldReader& Key(const char* key, Int& out)
    {
        Number(key, out);
        if (m_problem.isEmpty() && out <= 0)
            m_problem = QLatin1String(key);
        return *this;
    }

    bool Ok() const { return m_problem.isEmpty(); }

private:
    bool readNumber(const char* key, qint64& value)
    {
        const QJsonValue v = m_object.value(QLatin1String(key));
        m_present = !v.isUndefined() && !v.isNull();
        if (!m_present)
            return true;
        bool ok = false;
        if (v.isDouble()) {
            const double d = v.toDouble();
            ok = std::trunc(d) == d && std::fabs(d) < 9.007199254740992e15;
            value = v.toInteger();
        } else if (v.isString()) {
            value = v.toString().trimmed().toLongLong(&ok);
        }
        if (!ok)
            m_problem = QLatin1String(key);
        return ok;
    }

    const QJsonObject& m_object;
    QString& m_problem;
    bool m_present = false;
};

// Reads every element of an array member into rows; `problem` names "key[i].member".
template <class Row, class ReadRow>
bool ReadRows(const QJsonValue& value, const char* key, QVector<Row>& rows, QString& problem, ReadRow readRow)
{
    if (!value.isArray()) {
        problem = QLatin1String(key);
        return false;
    }
    const QJsonArray array = value.toArray();
    rows.reserve(rows.size() + array.size());
    for (qsizetype i = 0; i < array.size(); ++i) {
        Row row;
        QString member;
        if (!array.at(i).isObject() || !readRow(array.at(i).toObject(), row, member)) {
            problem = QStringLiteral("%1[%2].%3").arg(QLatin1String(key)).arg(i).arg(member);
            if (problem.endsWith(QLatin1Char('.')))
                problem.chop(1);
            return false;
        }
        rows.append(std::move(row));
    }
    return true;
}

// One record: its sections in `record`. False with `problem` for the seller.
bool ReadRecord(const QByteArray& body, qsizetype begin, qsizetype end, CategoryRecordRows& out, QString& problem)
{
    bool haveCategory = false;
    int section = 0;
    for (qsizetype from = begin; from <= end; ++section) {
        qsizetype to = body.indexOf('\r', from);
        if (to < 0 || to > end)
            to = end;
        const QByteArray text = QByteArray::fromRawData(body.constData() + from, to - from);
        from = to + 1;
        QJsonParseError parseError;
        const QJsonDocument doc = QJsonDocument::fromJson(text, &parseError);
        if (!doc.isObject()) {
            problem = QStringLiteral("第%1段不是JSON对象").arg(section + 1);
            return false;
        }
        const QJsonObject object = doc.object();
        bool ok = false;
        if (object.contains(QLatin1String("category"))) {
            const QJsonValue v = object.value(QLatin1String("category"));
            ok = v.isObject() && !haveCategory && ReadCategoryRow(v.toObject(), out.category, problem);
            if (!ok)
                problem = QStringLiteral("category") + (problem.isEmpty() ? QString() : QLatin1Char('.') + problem);
            haveCategory = true;
        } else if (object.contains(QLatin1String("attributes"))) {
            ok = ReadRows(object.value(QLatin1String("attributes")), "attributes", out.attributes, problem,
                          ReadAttributeRow);
        } else if (object.contains(QLatin1String("att_values"))) {
            ok = ReadRows(object.value(QLatin1String("att_values")), "att_values", out.values, problem,
                          ReadAttributeValueRow);
        } else if (object.contains(QLatin1String("groups"))) {
            ok = ReadRows(object.value(QLatin1String("groups")), "groups", out.groups, problem, ReadAttributeGroupRow);
        } else if (object.contains(QLatin1String("vender_att_values"))) {
            // The seller's own values (brands) go with the others: the attribute pickers offer
            // them under their attribute.
            ok = ReadRows(object.value(QLatin1String("vender_att_values")), "vender_att_values", out.values, problem,
                          ReadAttributeValueRow);
        } else {
            problem = QStringLiteral("第%1段没有可识别的键").arg(section + 1);
        }
        if (!ok)
            return false;
    }
    if (!haveCategory) {
        problem = QStringLiteral("缺少category");
        return false;
    }
    // Attributes and groups belong to the record's category; the store replaces by it.
    const qint64 cid = out.category.id;
    for (CategoryAttributeRow& a : out.attributes) {
        if (a.cid == 0)
            a.cid = cid;
        if (a.cid != cid) {
            problem = QStringLiteral("attributes.cid=%1").arg(a.cid);
            return false;
        }
    }
    for (AttributeGroupRow& g : out.groups) {
        if (g.cid == 0)
            g.cid = cid;
        if (g.cid != cid) {
            problem = QStringLiteral("groups.cid=%1").arg(g.cid);
            return false;
        }
    }
    return true;
}

} // namespace

bool CategoryReplyAccepted(int status, const QByteArray& body)
{
    return status == 200 && !body.isEmpty() && body.at(0) != '{';
}

bool ReadCategoryRow(const QJsonObject& o, CategoryRow& row, QString& problem)
{
    return FieldReader(o, problem)
        .Key("id", row.id)
        .Number("index_id", row.index_id)
        .Number("fid", row.fid)
        .Text("name", row.name)
        .Number("is_parent", row.is_parent)
        .Number("status", row.status)
        .Number("lev", row.lev)
        .Ok();
}

bool ReadAttributeRow(const QJsonObject& o, CategoryAttributeRow& row, QString& problem)
{
    return FieldReader(o, problem)
        .Key("aid", row.aid)
        .Text("name", row.name)
        .Number("cid", row.cid)
        .Number("is_key_prop", row.is_key_prop)
        .Number("is_sale_prop", row.is_sale_prop)
        .Number("index_id", row.index_id)
        .Number("status", row.status)
        .Number("att_type", row.att_type)
        .Number("input_type", row.input_type)
        .Number("is_req", row.is_req)
        .Number("is_fet", row.is_fet)
        .Number("is_nav", row.is_nav)
        .Number("group_id", row.group_id)
        .Text("features", row.features)
        .Ok();
}

bool ReadAttributeValueRow(const QJsonObject& o, AttributeValueRow& row, QString& problem)
{
    return FieldReader(o, problem)
        .Key("aid", row.aid)
        .Key("vid", row.vid)
        .Text("name", row.name)
        .Number("status", row.status)
        .Number("index_id", row.index_id)
        .Text("features", row.features)
        .Ok();
}

bool ReadAttributeGroupRow(const QJsonObject& o, AttributeGroupRow& row, QString& problem)
{
    return FieldReader(o, problem)
        .Key("group_id", row.group_id)
        .Number("cid", row.cid)
        .Text("name", row.name)
        .Number("status", row.status)
        .Number("index_id", row.index_id)
        .Ok();
}

int BrandAttributeIndex(const QVector<CategoryAttributeRow>& attributes)
{
    for (int i = 0; i < attributes.size(); ++i) {
        if (attributes.at(i).name == QStringLiteral("品牌"))
            return i;
    }
    for (int i = 0; i < attributes.size(); ++i) {
        if (Quorvia::vumo::editor::IsBrandFeatures(attributes.at(i).features))
            return i;
    }
    return -1;
}

bool ReadCategoryPackage(const QByteArray& body, CategoryPackage& package, QString& error,
                         const std::function<bool(qint64, qint64)>& keepGoing)
{
    package = CategoryPackage();
    error.clear();
    // A line feed closing the body ends the last part; it does not open another.
    const qsizetype end = body.endsWith('\n') ? body.size() - 1 : body.size();
    const qsizetype parts = end < 0 ? 0 : CountIn(body, 0, end, '\n') + 1;
    if (parts == 0 || body.isEmpty()) {
        error = QStringLiteral("类目数据返回为空");
        qCWarning(lcVumo).noquote() << error;
        return false;
    }
    if (parts > 2) {
        error = kParseError;
        qCWarning(lcVumo).noquote() << QStringLiteral("类目数据解析错误，通过'%1'分隔类目版本号和类目数据错误分为%2组")
                                           .arg(QStringLiteral("\\n"))
                                           .arg(parts);
        return false;
    }
    const qsizetype lf = parts == 2 ? body.indexOf('\n') : end;
    bool ok = false;
    const qint64 version = body.left(lf).trimmed().toLongLong(&ok);
    if (!ok || version < 0) {
        error = kParseError;
        qCWarning(lcVumo).noquote()
            << QStringLiteral("类目版本号无法解析：%1").arg(ClipForLog(QString::fromUtf8(body.left(lf)), 200));
        return false;
    }
    package.version = version;
    package.hasData = parts == 2;
    if (!package.hasData)
        return true;

    // Records split at tabs; a tab closing the data ends the last record.
    const qsizetype dataEnd = end > lf + 1 && body.at(end - 1) == '\t' ? end - 1 : end;
    int number = 0;
    for (qsizetype from = lf + 1; from < dataEnd; ++number) {
        if (keepGoing && !keepGoing(from, body.size()))
            return false;
        qsizetype to = body.indexOf('\t', from);
        if (to < 0 || to > dataEnd)
            to = dataEnd;
        const qsizetype sections = CountIn(body, from, to, '\r') + 1;
        if (sections > kMaxSections) {
            error = kParseError;
            qCWarning(lcVumo).noquote() << QStringLiteral("类目数据解析错误，通过'%1'分隔类目数据错误：%2")
                                               .arg(QStringLiteral("\\r"),
                                                    ClipForLog(QString::fromUtf8(body.mid(from, to - from)), 400));
            qCWarning(lcContol).noquote() << VUMO_SRC_POS;
            return false;
        }
        CategoryRecordRows record;
        QString problem;
        if (!ReadRecord(body, from, to, record, problem)) {
            error =
                QStringLiteral("类目数据解析错误:%1").arg(QStringLiteral("第%1条记录 %2").arg(number + 1).arg(problem));
            qCWarning(lcVumo).noquote() << error << ClipForLog(QString::fromUtf8(body.mid(from, to - from)), 400);
            return false;
        }
        package.records.append(std::move(record));
        from = to + 1;
    }
    return true;
}

} // namespace Quorvia::vumo::sync
