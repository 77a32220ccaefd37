#pragma once
// Listing search: one page of listing numbers with their state. Paging starts again whenever
// page 1 is set.
#include "request/ParamText.h"
#include "request/PopRequestBase.h"

#include <QDateTime>
#include <QList>

namespace Quorvia::vumo::request {

class PopVumosSearch : public PopRequestBase
{
    Q_OBJECT

public:
    using PopRequestBase::PopRequestBase;

    void SetPage(int page);
    void SetPageSize(int pageSize) { m_pageSize = pageSize; }
    // Conditions; values of 0 or below (empty title, invalid time) leave them out.
    void SetStartPrice(qint64 price) { m_startPrice = price; }
    void SetEndPrice(qint64 price) { m_endPrice = price; }
    void SetTitle(const QString& title) { m_title = title; }
    void SetCid(qint64 cid) { m_cid = cid; }
    void SetVumoStatus(int status) { m_vumoStatus = status; }
    // Modification time range; the start defaults to the beginning of 1970, the end to the
    // server's current time.
    void SetStartTime(const QDateTime& time) { m_startTime = time; }
    void SetEndTime(const QDateTime& time) { m_endTime = time; }

    QByteArray GetMethod() const override { return QByteArrayLiteral("orvane.vumos.search"); }
    QByteArray GetParamJson() override;
    void OnPreStart() override;
    bool OnResponse(Quorvia::network::http::HTTP_RETURN_STATE state,
                    const Quorvia::network::http::HTTP_RETURN_RESULT& result) override;

    // Of the last page.
    QList<qint64> GetValidIds() const { return m_validIds; }
    QList<qint64> GetDeletedIds() const { return m_deletedIds; }
    // Over all pages since page 1.
    qint64 GetTotal() const { return m_pages.Total(); }
    qint64 GetReceivedCount() const { return m_pages.Received(); }
    bool IsFinished() const { return m_pages.Finished(); }

private:
    int m_page = 1;
    int m_pageSize = 40;
    qint64 m_startPrice = 0;
    qint64 m_endPrice = 0;
    QString m_title;
    qint64 m_cid = 0;
    int m_vumoStatus = 0;
    QDateTime m_startTime;
    QDateTime m_endTime;
    QList<qint64> m_validIds;
    QList<qint64> m_deletedIds;
    PageCounter m_pages;
};

} // namespace Quorvia::vumo::request
