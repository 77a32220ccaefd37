// quorvia-marketplace: the stand-in for every server the plug-in talks to.
#include "core/MarketplaceServer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <unistd.h>

using namespace Quorvia::marketplace;

namespace {

int g_signalPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalPipe[1], &byte, 1);
}

int Fail(const QString& message)
{
    std::fprintf(stderr, "quorvia-marketplace: %s\n", message.toLocal8Bit().constData());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    // Seeded pictures draw their names with a font, which needs a GUI application; a server
    // has no screen, so it runs on the offscreen platform unless told otherwise.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorvia-marketplace"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Marketplace simulator on 127.0.0.1 for the Quorvia plug-in."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("Port (0: any free port)."),
                                  QStringLiteral("N"), QStringLiteral("18080"));
    const QCommandLineOption data(QStringLiteral("data"),
                                  QStringLiteral("Folder of the simulator's store (default: temporary)."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("Seed of a new store: demo, empty or scale."),
                                  QStringLiteral("KIND"), QStringLiteral("demo"));
    const QCommandLineOption listings(QStringLiteral("listings"), QStringLiteral("Listings of the scale seed."),
                                      QStringLiteral("N"), QStringLiteral("1000"));
    const QCommandLineOption networkIni(QStringLiteral("write-network-ini"),
                                        QStringLiteral("Write a network.ini pointing at this server."),
                                        QStringLiteral("FILE"));
    const QCommandLineOption loginIni(QStringLiteral("write-login-ini"),
                                      QStringLiteral("Write the workbench login file of the seed's seller."),
                                      QStringLiteral("FILE"));
    const QCommandLineOption latency(QStringLiteral("latency-ms"), QStringLiteral("Delay of every answer."),
                                     QStringLiteral("N"), QStringLiteral("0"));
    const QCommandLineOption failRate(QStringLiteral("fail-rate"),
                                      QStringLiteral("Share (0..1) of API calls that fail."), QStringLiteral("P"),
                                      QStringLiteral("0"));
    const QCommandLineOption templates(QStringLiteral("templates"), QStringLiteral("Folder served under /templates/."),
                                       QStringLiteral("DIR"), QStringLiteral(QUORVIA_TEMPLATES_DIR));
    parser.addOptions({port, data, seed, listings, networkIni, loginIni, latency, failRate, templates});
    parser.process(app);

    MarketplaceOptions options;
    bool ok = false;
    const uint portNumber = parser.value(port).toUInt(&ok);
    if (!ok || portNumber > 65535)
        return Fail(QStringLiteral("--port takes 0 to 65535"));
    options.port = quint16(portNumber);
    options.dataDir = parser.value(data);
    options.seed = parser.value(seed);
    options.listings = parser.value(listings).toInt(&ok);
    if (!ok || options.listings < 0)
        return Fail(QStringLiteral("--listings takes a number of 0 or more"));
    options.latencyMs = parser.value(latency).toInt(&ok);
    if (!ok || options.latencyMs < 0)
        return Fail(QStringLiteral("--latency-ms takes a number of 0 or more"));
    options.failRate = parser.value(failRate).toDouble(&ok);
    if (!ok || options.failRate < 0 || options.failRate > 1)
        return Fail(QStringLiteral("--fail-rate takes a number from 0 to 1"));
    options.templatesDir = parser.value(templates);

    MarketplaceServer server;
    QString error;
    if (!server.Start(options, &error))
        return Fail(error);
    if (parser.isSet(networkIni) && !WriteNetworkIni(parser.value(networkIni), server.BaseUrl(), &error))
        return Fail(error);
    if (parser.isSet(loginIni) && !WriteLoginIni(parser.value(loginIni), server.Store().Seller(), &error))
        return Fail(error);

    // SIGTERM and SIGINT end the event loop, so the store is closed cleanly.
    if (::pipe(g_signalPipe) == 0) {
        auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
        std::signal(SIGTERM, OnSignal);
        std::signal(SIGINT, OnSignal);
    }

    std::printf("listening on %s\n", server.BaseUrl().toUtf8().constData());
    std::fflush(stdout);
    return app.exec();
}
