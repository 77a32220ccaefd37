#include "request/PopCategoryListGet.h"

#include "request/ParamText.h"

namespace Quorvia::vumo::request {

PopCategoryListGet::PopCategoryListGet(const Names& names, QObject* parent)
    : PopRequestBase(parent)
    , m_names(names)
{
}

PopCategoryListGet::~PopCategoryListGet() = default;

QByteArray PopCategoryListGet::GetMethod() const
{
    return QByteArray(m_names.method);
}

QByteArray PopCategoryListGet::GetParamJson()
{
    ParamText params;
    if (m_names.fields)
        params.Add("fields", QString::fromLatin1(m_names.fields));
    AddParams(params);
    return params.Close();
}

void PopCategoryListGet::AddParams(ParamText&) const
{
}

QString PopCategoryListGet::FailureText() const
{
    return QString();
}

void PopCategoryListGet::OnPreStart()
{
    m_items.clear();
}

bool PopCategoryListGet::OnResponse(Quorvia::network::http::HTTP_RETURN_STATE,
                                    const Quorvia::network::http::HTTP_RETURN_RESULT& result)
{
    m_items.clear();
    QVariantMap answer;
    if (!ReadAnswer(result, m_names.answer, answer, FailureText()))
        return false;
    m_items = MapsOf(answer.value(QString::fromLatin1(m_names.list)));
    return true;
}

} // namespace Quorvia::vumo::request
