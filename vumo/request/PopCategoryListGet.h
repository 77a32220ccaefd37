#pragma once
// The category-list calls: each asks one method for some fields and answers a list of maps
// under a fixed member of a fixed answer. Only those names, the call's own parameters and its
// failure log differ, so the subclasses hold nothing else.
#include "request/PopRequestBase.h"

#include <QList>

namespace Quorvia::vumo::request {

class ParamText;

class PopCategoryListGet : public PopRequestBase
{
    Q_OBJECT

public:
    ~PopCategoryListGet() override;

    QByteArray GetMethod() const final;
    QByteArray GetParamJson() final;
    void OnPreStart() final;
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) final;

    // The entries of the list member that are maps.
    QList<QVariantMap> GetItems() const { return m_items; }

protected:
    struct Names
    {
        const char* method;
        // Nullptr: the call sends no "fields" at all (an empty text is still sent).
        const char* fields;
        const char* answer;
        const char* list;
    };

    PopCategoryListGet(const Names& names, QObject* parent);

    // The parameters after "fields".
    virtual void AddParams(ParamText& params) const;
    // The failure log; empty for the generic one.
    virtual QString FailureText() const;

private:
    const Names m_names;
    QList<QVariantMap> m_items;
};

} // namespace Quorvia::vumo::request
