#include "MarketplaceServer.h"

#include "MarketErrors.h"
#include "MarketHttp.h"
#include "MarketJson.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QPointer>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>

namespace Quorvia::marketplace {

namespace {

// How long accepting rests after accept() failed, typically for want of file descriptors:
// the listen socket stays readable, and retrying at once would only spin.
constexpr int kAcceptRetryMs = 250;

// Paths where the gateway answers: the open API and the workbench's own servers.
const char* const kGatewayPaths[] = {"/routerjson", "/apiserver", "/wsserver", "/platform", "/pfapi"};

bool IsGatewayPath(const QByteArray& path)
{
    for (const char* p : kGatewayPaths) {
        if (path == p)
            return true;
    }
    return false;
}

HttpAnswer JsonAnswer(const QJsonObject& object, int status = 200)
{
    HttpAnswer answer;
    answer.status = status;
    answer.body = QJsonDocument(object).toJson(QJsonDocument::Indented);
    return answer;
}

HttpAnswer NotFound()
{
    HttpAnswer answer;
    answer.status = 404;
    answer.contentType = "text/plain;charset=UTF-8";
    answer.body = "not found";
    return answer;
}

MarketFault::Mode ModeOf(const QString& name, bool* ok)
{
    *ok = true;
    if (name == QLatin1String("error"))
        return MarketFault::Error;
    if (name == QLatin1String("garbage"))
        return MarketFault::Garbage;
    if (name == QLatin1String("hang"))
        return MarketFault::Hang;
    if (name == QLatin1String("drop"))
        return MarketFault::Drop;
    *ok = false;
    return MarketFault::Error;
}

const char* ModeName(MarketFault::Mode mode)
{
    switch (mode) {
    case MarketFault::Error:
        return "error";
    case MarketFault::Garbage:
        return "garbage";
    case MarketFault::Hang:
        return "hang";
    case MarketFault::Drop:
        return "drop";
    }
    return "error";
}

} // namespace

MarketplaceServer::MarketplaceServer(QObject* parent)
    : QObject(parent)
{
    m_clock.start();
    m_idleTimer = new QTimer(this);
    connect(m_idleTimer, &QTimer::timeout, this, &MarketplaceServer::CloseIdle);
    connect(&m_server, &QTcpServer::newConnection, this, &MarketplaceServer::OnNewConnection);
    connect(&m_server, &QTcpServer::acceptError, this, &MarketplaceServer::OnAcceptError);
}

MarketplaceServer::~MarketplaceServer()
{
    Stop();
}

QString MarketplaceServer::BaseUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(Port());
}

bool MarketplaceServer::Start(const MarketplaceOptions& options, QString* error)
{
    QString dataDir = options.dataDir;
    if (dataDir.isEmpty()) {
        m_tempDir = std::make_unique<QTemporaryDir>();
        if (!m_tempDir->isValid()) {
            if (error)
                *error = QStringLiteral("cannot create a temporary data folder");
            return false;
        }
        dataDir = m_tempDir->path();
    }
    if (!m_store.Open(dataDir, error))
        return false;
    if (!m_store.IsSeeded()) {
        bool ok = true;
        const SeedCatalogue catalogue = options.catalogue ? *options.catalogue
                                                          : MakeSeedCatalogue(options.seed, options.listings, &ok);
        if (!ok) {
            if (error)
                *error = QStringLiteral("unknown seed \"%1\" (demo, empty or scale)").arg(options.seed);
            return false;
        }
        if (!m_store.LoadCatalogue(catalogue)) {
            if (error)
                *error = QStringLiteral("cannot write the seed into the store");
            return false;
        }
    }
    m_gateway = std::make_unique<MarketGateway>(m_store);
    m_templatesDir = options.templatesDir;
    m_latencyMs = qMax(0, options.latencyMs);
    m_failRate = qBound(0.0, options.failRate, 1.0);
    m_idleTimeoutMs = qMax(1, options.idleTimeoutMs);
    m_maxConnections = qMax(1, options.maxConnections);
    m_acceptBackoff = false;
    m_acceptPaused = false;
    if (!m_server.listen(QHostAddress::LocalHost, options.port)) {
        if (error)
            *error = m_server.errorString();
        return false;
    }
    m_gateway->SetBaseUrl(BaseUrl());
    m_idleTimer->start(qBound(20, m_idleTimeoutMs / 4, 1000));
    return true;
}

void MarketplaceServer::Stop()
{
    m_server.close();
    m_idleTimer->stop();
    const QList<QTcpSocket*> sockets = m_connections.keys();
    m_buffers.clear();
    m_connections.clear();
    for (QTcpSocket* socket : sockets) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
}

void MarketplaceServer::OnNewConnection()
{
    while (m_connections.size() < m_maxConnections) {
        QTcpSocket* socket = m_server.nextPendingConnection();
        if (!socket)
            break;
        m_buffers.insert(socket, QByteArray());
        m_connections.insert(socket, Connection{m_clock.elapsed(), 0, false});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadable(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            if (m_connections.remove(socket))
                UpdateAccepting();
            socket->deleteLater();
        });
        // A connection that waited in the server's queue may have sent its request already.
        if (socket->bytesAvailable() > 0)
            OnReadable(socket);
    }
    UpdateAccepting();
}

void MarketplaceServer::OnAcceptError(QAbstractSocket::SocketError)
{
    // The server has paused itself; resume after a short rest instead of never, or at once.
    m_server.pauseAccepting();
    m_acceptPaused = true;
    if (m_acceptBackoff)
        return;
    m_acceptBackoff = true;
    QTimer::singleShot(kAcceptRetryMs, this, [this] {
        m_acceptBackoff = false;
        UpdateAccepting();
    });
}

void MarketplaceServer::UpdateAccepting()
{
    if (!m_server.isListening())
        return;
    const bool accept = !m_acceptBackoff && m_connections.size() < m_maxConnections;
    if (accept && m_acceptPaused) {
        m_acceptPaused = false;
        m_server.resumeAccepting();
        // Connections that queued while paused do not raise a new signal by themselves.
        if (m_server.hasPendingConnections())
            QTimer::singleShot(0, this, &MarketplaceServer::OnNewConnection);
    } else if (!accept) {
        // Also after nextPendingConnection(), which turns the listen notifier back on.
        m_acceptPaused = true;
        m_server.pauseAccepting();
    }
}

void MarketplaceServer::Touch(QTcpSocket* socket)
{
    const auto it = m_connections.find(socket);
    if (it != m_connections.end())
        it->lastActiveMs = m_clock.elapsed();
}

void MarketplaceServer::CloseIdle()
{
    const qint64 now = m_clock.elapsed();
    QList<QTcpSocket*> idle;
    for (auto it = m_connections.cbegin(); it != m_connections.cend(); ++it) {
        if (!it->hung && it->pendingAnswers == 0 && now - it->lastActiveMs >= m_idleTimeoutMs)
            idle << it.key();
    }
    for (QTcpSocket* socket : std::as_const(idle)) {
        m_buffers.remove(socket);
        m_connections.remove(socket);
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    if (!idle.isEmpty())
        UpdateAccepting();
}

void MarketplaceServer::OnReadable(QTcpSocket* socket)
{
    Touch(socket);
    if (!m_buffers.contains(socket))
        return;
    QByteArray& buffer = m_buffers[socket];
    buffer += socket->readAll();
    while (true) {
        HttpRequest request;
        const ParseState state = TakeRequest(buffer, request);
        if (state == ParseState::NeedMore)
            return;
        if (state == ParseState::Bad) {
            HttpAnswer bad;
            bad.status = 400;
            bad.contentType = "text/plain;charset=UTF-8";
            bad.body = "bad request";
            socket->write(SerializeAnswer(bad, false));
            socket->disconnectFromHost();
            m_buffers.remove(socket);
            return;
        }
        Dispatch(socket, request);
        if (!m_buffers.contains(socket))
            return; // dropped
    }
}

void MarketplaceServer::Send(QTcpSocket* socket, const HttpAnswer& answer, bool keepAlive, int delayMs)
{
    const QByteArray bytes = SerializeAnswer(answer, keepAlive);
    QPointer<QTcpSocket> target(socket);
    auto write = [this, target, bytes, keepAlive] {
        if (!target)
            return;
        const auto it = m_connections.find(target.data());
        if (it != m_connections.end()) {
            it->pendingAnswers = qMax(0, it->pendingAnswers - 1);
            it->lastActiveMs = m_clock.elapsed();
        }
        if (target->state() != QAbstractSocket::ConnectedState)
            return;
        target->write(bytes);
        if (!keepAlive)
            target->disconnectFromHost();
    };
    const auto it = m_connections.find(socket);
    if (it != m_connections.end())
        ++it->pendingAnswers;
    if (delayMs > 0)
        QTimer::singleShot(delayMs, this, write);
    else
        write();
}

void MarketplaceServer::Record(const QString& path, const QString& method, const QString& outcome)
{
    m_calls.append(QJsonObject{{"time", QDateTime::currentDateTime().toString(Qt::ISODateWithMs)},
                               {"path", path},
                               {"method", method},
                               {"outcome", outcome}});
    while (m_calls.size() > 100)
        m_calls.removeFirst();
    if (!method.isEmpty())
        ++m_callCounts[method];
}

void MarketplaceServer::Dispatch(QTcpSocket* socket, const HttpRequest& request)
{
    const bool keepAlive = request.keepAlive();
    const QString path = QString::fromUtf8(request.path);

    if (request.path == "/__control") {
        if (request.method != "POST") {
            Send(socket, JsonAnswer({{"error", "POST a JSON object"}}, 405), keepAlive, 0);
            return;
        }
        QJsonParseError parseError;
        const QJsonDocument doc = QJsonDocument::fromJson(request.body, &parseError);
        bool ok = false;
        const QJsonObject answer = doc.isObject() ? Control(doc.object(), &ok)
                                                  : QJsonObject{{"error", "the body is not a JSON object"}};
        Send(socket, JsonAnswer(answer, ok ? 200 : 400), keepAlive, 0);
        return;
    }
    if (request.path == "/__state") {
        Send(socket, JsonAnswer(State()), keepAlive, 0);
        return;
    }

    if (!IsGatewayPath(request.path) || request.method != "POST") {
        HttpAnswer answer = Static(request);
        Record(path, QString(), QString::number(answer.status));
        Send(socket, answer, keepAlive, m_latencyMs);
        return;
    }

    GatewayRequest call;
    const QByteArray contentType = request.header("content-type");
    if (contentType.toLower().startsWith("multipart/form-data")) {
        QList<MultipartPart> parts;
        if (!ParseMultipart(contentType, request.body, parts)) {
            HttpAnswer answer;
            answer.body = MarketGateway::ErrorBody(QString::fromLatin1(errors::kMissingParam),
                                                   QStringLiteral("无法解析的multipart表单"));
            Record(path, QString(), QString::fromLatin1(errors::kMissingParam));
            Send(socket, answer, keepAlive, m_latencyMs);
            return;
        }
        call.multipart = true;
        for (const MultipartPart& part : parts) {
            if (part.fileName.isEmpty())
                call.params.insert(part.name, part.data);
            else
                call.file = part.data;
        }
    } else {
        call.params = ParseForm(request.body);
    }
    const QString method = QString::fromUtf8(call.params.value("method"));

    // Injected faults come first: a named rule, then the global failure rate.
    auto rule = m_faults.find(method);
    if (rule == m_faults.end())
        rule = m_faults.find(QStringLiteral("*"));
    if (rule != m_faults.end()) {
        const MarketFault fault = *rule;
        if (rule->remaining > 0 && --rule->remaining == 0)
            m_faults.erase(rule);
        Record(path, method, QStringLiteral("fault:") + QLatin1String(ModeName(fault.mode)));
        switch (fault.mode) {
        case MarketFault::Error: {
            HttpAnswer answer;
            answer.body = MarketGateway::ErrorBody(fault.code, fault.zhDesc);
            Send(socket, answer, keepAlive, m_latencyMs);
            return;
        }
        case MarketFault::Garbage: {
            HttpAnswer answer;
            answer.contentType = "text/html;charset=UTF-8";
            answer.body = "<html><body>502 Bad Gateway {\"vumo\":";
            Send(socket, answer, keepAlive, m_latencyMs);
            return;
        }
        case MarketFault::Hang: {
            // Read on, answer never: the caller's own time limit ends the exchange.
            const auto it = m_connections.find(socket);
            if (it != m_connections.end())
                it->hung = true;
            return;
        }
        case MarketFault::Drop:
            m_buffers.remove(socket);
            socket->abort();
            return;
        }
    }
    if (m_failRate > 0 && m_random.generateDouble() < m_failRate) {
        HttpAnswer answer;
        answer.body = MarketGateway::ErrorBody(QString::fromLatin1(errors::kBusy),
                                               QStringLiteral("服务繁忙，请稍后重试"));
        Record(path, method, QString::fromLatin1(errors::kBusy));
        Send(socket, answer, keepAlive, m_latencyMs);
        return;
    }

    const GatewayAnswer result = m_gateway->Handle(call);
    HttpAnswer answer;
    answer.body = result.body;
    answer.contentType = result.contentType;
    answer.gzip = request.acceptsGzip();
    Record(path, result.method, result.errorCode.isEmpty() ? QStringLiteral("ok") : result.errorCode);
    if (m_trickleChunk > 0 && result.method == QLatin1String("quorvia.incr.category.get"))
        SendTrickled(socket, answer, keepAlive);
    else
        Send(socket, answer, keepAlive, m_latencyMs);
}

void MarketplaceServer::SendTrickled(QTcpSocket* socket, const HttpAnswer& answer, bool keepAlive)
{
    const QByteArray bytes = SerializeAnswer(answer, keepAlive);
    QPointer<QTcpSocket> target(socket);
    auto* timer = new QTimer(this);
    // Ends with the transfer, the connection or the server.
    connect(socket, &QObject::destroyed, timer, &QObject::deleteLater);
    qsizetype sent = 0;
    const int chunk = m_trickleChunk;
    connect(timer, &QTimer::timeout, this, [this, timer, target, bytes, sent, chunk, keepAlive]() mutable {
        if (!target || target->state() != QAbstractSocket::ConnectedState) {
            timer->deleteLater();
            return;
        }
        const auto it = m_connections.find(target.data());
        if (it != m_connections.end())
            it->lastActiveMs = m_clock.elapsed();
        target->write(bytes.mid(sent, chunk));
        sent += chunk;
        if (sent >= bytes.size()) {
            timer->deleteLater();
            if (!keepAlive)
                target->disconnectFromHost();
        }
    });
    timer->start(m_trickleIntervalMs);
}

HttpAnswer MarketplaceServer::Static(const HttpRequest& request)
{
    if (request.method != "GET" && request.method != "HEAD")
        return NotFound();
    const QString path = QString::fromUtf8(QByteArray::fromPercentEncoding(request.path));
    HttpAnswer answer;
    answer.gzip = false;

    if (path.startsWith(QLatin1String("/imgzone/"))) {
        if (!m_gateway->PictureFor(path, &answer.body, &answer.contentType))
            return NotFound();
        return answer;
    }
    if (path.endsWith(QLatin1String("/stats.do"))) {
        ++m_trackingHits;
        QJsonObject hit;
        const QUrlQuery query(QString::fromUtf8(request.query));
        for (const auto& item : query.queryItems(QUrl::FullyDecoded))
            hit.insert(item.first, item.second);
        m_lastTracking.append(hit);
        while (m_lastTracking.size() > 20)
            m_lastTracking.removeFirst();
        answer.contentType = "text/plain;charset=UTF-8";
        answer.body = "ok";
        return answer;
    }
    static const QRegularExpression itemPage(QStringLiteral("^/item/([0-9]{1,18})\\.html$"));
    const QRegularExpressionMatch item = itemPage.match(path);
    if (item.hasMatch()) {
        answer.body = m_gateway->ListingPage(item.captured(1).toLongLong());
        if (answer.body.isEmpty())
            return NotFound();
        answer.contentType = "text/html;charset=UTF-8";
        return answer;
    }
    if (path.startsWith(QLatin1String("/templates/"))) {
        const QString name = path.mid(int(qstrlen("/templates/")));
        // One plain file name inside the folder, nothing else.
        if (m_templatesDir.isEmpty() || name.isEmpty() || name.contains(QLatin1Char('/'))
            || name.contains(QLatin1Char('\\')) || name.startsWith(QLatin1Char('.')))
            return NotFound();
        QFile file(QDir(m_templatesDir).filePath(name));
        if (!file.open(QIODevice::ReadOnly))
            return NotFound();
        answer.body = file.readAll();
        answer.contentType = name.endsWith(QLatin1String(".xls"), Qt::CaseInsensitive) ? "application/vnd.ms-excel"
                                                                                       : "application/octet-stream";
        return answer;
    }
    if (path == QLatin1String("/")) {
        answer.contentType = "text/html;charset=UTF-8";
        answer.body = QStringLiteral(
                          "<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>Quorvia 模拟市场</title>"
                          "</head><body><h1>Quorvia 模拟市场</h1><p>商品数：%1</p>"
                          "<p><a href=\"/__state\">/__state</a></p></body></html>")
                          .arg(m_store.Listings().size())
                          .toUtf8();
        return answer;
    }
    return NotFound();
}

QJsonObject MarketplaceServer::Control(const QJsonObject& command, bool* ok)
{
    if (ok)
        *ok = true;
    auto refuse = [ok](const QString& text) {
        if (ok)
            *ok = false;
        return QJsonObject{{"error", text}};
    };
    QJsonObject done{{"ok", true}};
    if (command.value("reset").toBool()) {
        m_faults.clear();
        m_latencyMs = 0;
        m_failRate = 0;
        m_trickleChunk = 0;
        m_gateway->SetPackageOverride(QByteArray());
        m_calls = QJsonArray();
        m_callCounts.clear();
        return done;
    }
    if (command.contains("latency_ms")) {
        m_latencyMs = int(qMax<qint64>(0, JsonInt(command.value("latency_ms"))));
        return done;
    }
    if (command.contains("fail_rate")) {
        m_failRate = qBound(0.0, command.value("fail_rate").toDouble(), 1.0);
        return done;
    }
    if (command.contains("package") || command.contains("package_base64")) {
        const QJsonValue text = command.value("package");
        const QJsonValue b64 = command.value("package_base64");
        if (text.isString())
            m_gateway->SetPackageOverride(text.toString().toUtf8());
        else if (b64.isString())
            m_gateway->SetPackageOverride(QByteArray::fromBase64(b64.toString().toLatin1()));
        else
            m_gateway->SetPackageOverride(QByteArray());
        return done;
    }
    if (command.contains("package_trickle")) {
        const QJsonObject trickle = command.value("package_trickle").toObject();
        m_trickleChunk = int(qBound(qint64(0), JsonInt(trickle.value("chunk")), qint64(1) << 20));
        m_trickleIntervalMs = int(qBound(qint64(1), JsonInt(trickle.value("interval_ms"), 10), qint64(10000)));
        return done;
    }
    const QString action = command.value("action").toString();
    if (action == QLatin1String("delete_category") || action == QLatin1String("set_attributes")) {
        const qint64 cid = JsonInt(command.value("cid"));
        const bool changed = action == QLatin1String("delete_category") ? m_store.DeleteCategory(cid)
                                                                        : command.value("attributes").isArray()
                && m_store.SetCategoryAttributes(cid, command.value("attributes").toArray());
        if (!changed)
            return refuse(QStringLiteral("unknown category or no attribute list"));
        done.insert("category_version", m_store.CategoryVersion());
        return done;
    }
    if (command.value("action").toString() == QLatin1String("change_category")) {
        const qint64 cid = JsonInt(command.value("cid"));
        const QString name = command.value("name").toString();
        if (name.isEmpty() || !m_store.ChangeCategory(cid, name))
            return refuse(QStringLiteral("unknown category or empty name"));
        done.insert("category_version", m_store.CategoryVersion());
        return done;
    }
    const QString method = command.value("method").toString();
    if (method.isEmpty())
        return refuse(
            QStringLiteral("give \"method\" with \"mode\", or \"reset\", \"latency_ms\", \"fail_rate\", \"action\""));
    if (method != QLatin1String("*") && !MarketGateway::IsKnownMethod(method))
        return refuse(QStringLiteral("unknown method %1").arg(method));
    bool known = false;
    MarketFault fault;
    fault.mode = ModeOf(command.value("mode").toString(QStringLiteral("error")), &known);
    if (!known)
        return refuse(QStringLiteral("mode is one of error, garbage, hang, drop"));
    if (command.contains("code"))
        fault.code = JsonText(command.value("code"));
    if (command.contains("zh_desc"))
        fault.zhDesc = command.value("zh_desc").toString();
    if (command.contains("count")) {
        fault.remaining = int(JsonInt(command.value("count"), -1));
        if (fault.remaining == 0) {
            m_faults.remove(method);
            return done;
        }
    }
    m_faults.insert(method, fault);
    return done;
}

QJsonObject MarketplaceServer::State() const
{
    QJsonObject byStatus;
    int deleted = 0;
    for (const MarketListing& listing : m_store.Listings()) {
        if (listing.deleted()) {
            ++deleted;
            continue;
        }
        const QString status = listing.vumo.value("vumo_status").toString();
        byStatus.insert(status, byStatus.value(status).toInt() + 1);
    }
    QJsonObject counts;
    for (auto it = m_callCounts.cbegin(); it != m_callCounts.cend(); ++it)
        counts.insert(it.key(), it.value());
    QJsonObject faults;
    for (auto it = m_faults.cbegin(); it != m_faults.cend(); ++it)
        faults.insert(
            it.key(),
            QJsonObject{{"mode", QLatin1String(ModeName(it->mode))}, {"code", it->code}, {"remaining", it->remaining}});
    const SeedSeller& seller = m_store.Seller();
    return QJsonObject{
        {"seller",
         QJsonObject{
             {"uid", seller.uid}, {"shop_name", seller.shopName}, {"vender_id", QString::number(seller.venderId)}}},
        {"listings",
         QJsonObject{{"total", m_store.Listings().size() - deleted}, {"deleted", deleted}, {"by_status", byStatus}}},
        {"categories", m_store.Categories().size()},
        {"category_version", m_store.CategoryVersion()},
        {"last_package_version", m_gateway ? m_gateway->LastPackageVersion() : -1},
        {"calls", m_calls},
        {"call_counts", counts},
        {"faults", faults},
        {"latency_ms", m_latencyMs},
        {"fail_rate", m_failRate},
        {"statistics", m_gateway ? m_gateway->Statistics() : QJsonArray()},
        {"good_synchro_calls", m_gateway ? m_gateway->SynchroCount() : 0},
        {"tracking_hits", m_trackingHits},
        {"last_tracking", m_lastTracking},
    };
}

namespace {

bool WriteText(const QString& file, const QByteArray& text, QString* error, bool ownerOnly = false)
{
    QDir().mkpath(QFileInfo(file).absolutePath());
    QSaveFile out(file);
    // Set on the temporary file before it takes the name, so the text is never readable to
    // others, not even for a moment.
    const bool opened = out.open(QIODevice::WriteOnly)
        && (!ownerOnly || out.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner));
    if (!opened || out.write(text) != text.size() || !out.commit()) {
        if (error)
            *error = QStringLiteral("cannot write %1: %2").arg(file, out.errorString());
        return false;
    }
    return true;
}

} // namespace

bool WriteNetworkIni(const QString& file, const QString& baseUrl, QString* error)
{
    struct Key
    {
        const char* group;
        const char* key;
        const char* path;
    };
    static const Key keys[] = {
        {"login", "loginurl", "/login"},
        {"apiserver", "url", "/routerjson"},
        {"apiserver", "serverurl", "/apiserver"},
        {"apiserver", "klserverurl", "/klserver"},
        {"apiserver", "msgserverurl", "/msgserver"},
        {"apiserver", "isvtesturl", "/isvtest"},
        {"apiserver", "shopinfourl", "/shopinfo"},
        {"apiserver", "vplogurl", "/vplog"},
        {"apiserver", "timeserverurl", "/time"},
        {"apiserver", "msgurl", "/msg"},
        {"apiserver", "opserverurl", "/opserver"},
        {"apiserver", "redirecturl", "/redirect"},
        {"apiserver", "phoneverification", "/phoneverification"},
        {"apiserver", "certurl", "/cert"},
        {"apiserver", "skinurl", "/skin"},
        {"apiserver", "popqvserverurl", "/popqvserver"},
        {"apiserver", "submitfeedback", "/feedback/submit"},
        {"apiserver", "wsserverurl", "/wsserver"},
        {"apiserver", "platformurl", "/platform"},
        {"apiserver", "pfapiserverurl", "/pfapi"},
        {"orvaneurl", "templateurl", "/templates/template.xls"},
        {"orvaneurl", "categoryattriburl", "/categoryattrib"},
        {"orvaneurl", "vumoitemurl", "/item/%1.html"},
        {"orvaneurl", "dotlogurl", "/dotlog"},
        {"orvaneurl", "helpurl", "/help"},
        {"orvaneurl", "imagesurl", ""},
        {"orvaneurl", "feedbackurl", "/feedback"},
        {"orvaneurl", "orderinfo", "/orderinfo"},
        {"orvaneurl", "notificationurl", "/notification"},
        {"orvaneurl", "vumourl", "/vumo"},
        {"orvaneurl", "webportalurl", "/"},
        {"orvaneurl", "policyurl", "/policy"},
        {"orvaneurl", "msgsubscribeurl", "/msgsubscribe"},
    };
    QByteArray text = "; written by quorvia-marketplace: every address points at " + baseUrl.toUtf8() + "\n";
    QByteArray group;
    for (const Key& key : keys) {
        if (group != key.group) {
            group = key.group;
            text += "\n[" + group + "]\n";
        }
        text += QByteArray(key.key) + '=' + baseUrl.toUtf8() + key.path + '\n';
    }
    return WriteText(file, text, error);
}

bool WriteLoginIni(const QString& file, const SeedSeller& seller, QString* error)
{
    QByteArray text = "[Login]\n";
    text += "uid=" + seller.uid.toUtf8() + '\n';
    text += "shop_name=" + seller.shopName.toUtf8() + '\n';
    text += "access_token=" + seller.accessToken + '\n';
    text += "app_key=" + seller.appKey + '\n';
    text += "app_secret=" + seller.appSecret + '\n';
    text += "vender_id=" + QByteArray::number(seller.venderId) + '\n';
    text += "shop_id=" + QByteArray::number(seller.shopId) + '\n';
    text += "shop_type=" + QByteArray::number(seller.shopType) + '\n';
    text += "stock_mode=" + QByteArray::number(seller.stockMode) + '\n';
    // It holds the seller's token and the application secret.
    return WriteText(file, text, error, true);
}

} // namespace Quorvia::marketplace
