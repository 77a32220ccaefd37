#pragma once
// The simulator's HTTP server on 127.0.0.1: routes the gateway, the image host, templates,
// listing pages, tracking hits, and the test hooks "/__control" and "/__state". Runs on the
// thread that started it; answers may be delayed, broken or withheld on request.
#include "MarketGateway.h"
#include "MarketStore.h"

#include <QElapsedTimer>
#include <QHash>
#include <QJsonArray>
#include <QObject>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

#include <memory>

class QTcpSocket;

namespace Quorvia::marketplace {

struct HttpRequest;
struct HttpAnswer;

struct MarketplaceOptions
{
    quint16 port = 18080; // 0: any free port
    QString dataDir;      // empty: a temporary folder removed at the end
    QString seed = QStringLiteral("demo");
    int listings = 0; // for the "scale" seed
    int latencyMs = 0;
    double failRate = 0.0;                    // 0..1, share of gateway calls answered with an error
    QString templatesDir;                     // folder served under "/templates/"
    const SeedCatalogue* catalogue = nullptr; // used instead of `seed` for a new store
    // A connection with no request under way for this long is closed.
    int idleTimeoutMs = 60000;
    // Past this many open connections, new ones wait in the listen queue until one closes.
    int maxConnections = 200;
};

// An injected fault for one method ("*" for every gateway method).
struct MarketFault
{
    enum Mode { Error, Garbage, Hang, Drop };
    Mode mode = Error;
    QString code = QStringLiteral("50");
    QString zhDesc = QStringLiteral("服务繁忙，请稍后重试");
    int remaining = -1; // calls still affected; -1: until reset
};

class MarketplaceServer final : public QObject
{
    Q_OBJECT

public:
    explicit MarketplaceServer(QObject* parent = nullptr);
    ~MarketplaceServer() override;

    bool Start(const MarketplaceOptions& options, QString* error = nullptr);
    void Stop();

    quint16 Port() const { return m_server.serverPort(); }
    int OpenConnections() const { return int(m_connections.size()); }
    QString BaseUrl() const;
    MarketStore& Store() { return m_store; }
    MarketGateway& Gateway() { return *m_gateway; }

    // The control endpoint's operations, callable in-process too.
    // {"method":M,"mode":"error|garbage|hang|drop","code":C,"zh_desc":T,"count":N}
    // {"reset":true}, {"latency_ms":N}, {"fail_rate":P},
    // {"action":"change_category","cid":N,"name":T}, {"action":"delete_category","cid":N},
    // {"action":"set_attributes","cid":N,"attributes":[...]} (each raises the category
    // version), {"package":TEXT} or {"package_base64":B64} (the package server answers these
    // bytes; null: built again), {"package_trickle":{"chunk":BYTES,"interval_ms":MS}} (package
    // answers sent a chunk at a time; null: at once). Returns the answer object.
    QJsonObject Control(const QJsonObject& command, bool* ok = nullptr);
    QJsonObject State() const;

private:
    struct Connection
    {
        qint64 lastActiveMs = 0;
        int pendingAnswers = 0; // delayed answers not yet written
        bool hung = false;      // a "hang" fault: the caller's time limit ends it
    };

    void OnNewConnection();
    void OnAcceptError(QAbstractSocket::SocketError error);
    void CloseIdle();
    void UpdateAccepting();
    void Touch(QTcpSocket* socket);
    void OnReadable(QTcpSocket* socket);
    void Dispatch(QTcpSocket* socket, const HttpRequest& request);
    void Send(QTcpSocket* socket, const HttpAnswer& answer, bool keepAlive, int delayMs);
    // The answer's bytes a chunk at a time, m_trickleIntervalMs apart.
    void SendTrickled(QTcpSocket* socket, const HttpAnswer& answer, bool keepAlive);
    HttpAnswer Static(const HttpRequest& request);
    void Record(const QString& path, const QString& method, const QString& outcome);

    MarketStore m_store;
    std::unique_ptr<MarketGateway> m_gateway;
    std::unique_ptr<QTemporaryDir> m_tempDir;
    QTcpServer m_server;
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QHash<QTcpSocket*, Connection> m_connections;
    QElapsedTimer m_clock;
    QTimer* m_idleTimer = nullptr;
    int m_idleTimeoutMs = 60000;
    int m_maxConnections = 200;
    bool m_acceptBackoff = false; // accepting paused for a moment after a failed accept
    bool m_acceptPaused = false;
    QHash<QString, MarketFault> m_faults;
    QString m_templatesDir;
    int m_latencyMs = 0;
    double m_failRate = 0.0;
    int m_trickleChunk = 0; // 0: package answers go at once
    int m_trickleIntervalMs = 0;
    QRandomGenerator m_random{20240101u}; // the same failures on every run
    QJsonArray m_calls;
    QHash<QString, int> m_callCounts;
    int m_trackingHits = 0;
    QJsonArray m_lastTracking;
};

// Writes a "network.ini" whose every address points at `baseUrl`.
bool WriteNetworkIni(const QString& file, const QString& baseUrl, QString* error = nullptr);
// Writes the workbench's login file for the seller.
bool WriteLoginIni(const QString& file, const SeedSeller& seller, QString* error = nullptr);

} // namespace Quorvia::marketplace
