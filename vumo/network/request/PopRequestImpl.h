#pragma once
// One call of the marketplace open API. The base owns the envelope: it fills the system
// parameters, signs them, encodes the form body, sends it and checks the answer for the
// platform's error shape; a subclass supplies the method, its JSON parameter text and the
// reading of the answer.
#include "network/http/HttpReturn.h"

#include <QByteArray>
#include <QMap>
#include <QObject>
#include <QString>
#include <QVariant>

#include <functional>

namespace Quorvia::network::http {
class SyncHttpRequest;
}

namespace Quorvia::network::request {

// Parameter name -> value; a QMap iterates in ascending byte order of the names, which both
// the signature and the body rely on.
using ParamMap = QMap<QByteArray, QByteArray>;

class PopRequestImpl : public QObject
{
    Q_OBJECT

public:
    explicit PopRequestImpl(QObject* parent = nullptr);
    ~PopRequestImpl() override;

    // One blocking exchange on the calling thread; the result is what OnResponse returns.
    bool SyncRequest(int timeoutMs);
    // Polled while a blocking exchange waits: when it answers true, the exchange is abandoned
    // and fails, so a thread asked to stop does not sit out a long time limit.
    void SetAbortCheck(std::function<bool()> check) { m_abortCheck = std::move(check); }
    // The same as a multipart form: the system parameters as text fields, the file as the
    // part "image"; no gzip.
    bool SyncPostFile(const QString& file, int timeoutMs);
    // Asynchronous send through HttpRequestManage; OnResponse runs later on this thread.
    // Safe when the object is destroyed before the answer: the answer is then dropped.
    void StartRequest();

    // The standard answer check: false with errorCode/errorMessage set for an empty answer,
    // unparseable JSON or an "error_response"; otherwise `parsed` receives the answer.
    bool CheckResultError(const http::HTTP_RETURN_RESULT& result, QVariant& parsed);

    // MD5 of secret + name1 value1 name2 value2 ... + secret, 32 upper-case hex digits.
    static QByteArray SignParams(const ParamMap& params, const QByteArray& secret);
    // The form-body encoding: "name=value" pairs joined by "&"; only "orvane_param_json" and
    // "body" are percent-encoded.
    static QByteArray EncodeBody(const ParamMap& params);

    // Left by the last call for the caller: the platform's error code (empty when none) and
    // the text to show the seller.
    QString errorCode;
    QString errorMessage;

    // The virtual operations, in this order.
    virtual void OnPreStart();
    virtual void OnPreSend();
    virtual QByteArray GetMethod() const = 0;
    virtual QByteArray GetParamJson() = 0;
    virtual QString GetUrl() const;
    virtual QByteArray GetVersion() const;
    virtual bool OnResponse(http::HTTP_RETURN_STATE state, const http::HTTP_RETURN_RESULT& result);
    virtual QByteArray BuildBody();
    virtual QByteArray GetExtraBody() const;
    virtual void FillParams(ParamMap& params);
    virtual QByteArray Sign(const ParamMap& params) const;

protected:
    // Everything FillParams sets except "sign"; for subclasses that add parameters before
    // signing.
    void FillSystemParams(ParamMap& params);

    // Logs a failure of this call to "vumo" and keeps it as the error text unless the
    // platform already gave one. Returns false for `return Fail(...)`.
    bool Fail(const QString& message);

    QByteArray m_accessToken;
    QByteArray m_appKey;
    // The last exchange ran out of time: CheckResultError fails with the time-out text.
    bool m_timedOut = false;

private:
    // Runs `exchange` with the abort check polled meanwhile.
    template<typename Exchange>
    http::HTTP_RETURN_RESULT watched(http::SyncHttpRequest& http, Exchange exchange);

    std::function<bool()> m_abortCheck;
};

} // namespace Quorvia::network::request
