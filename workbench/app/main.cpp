// quorvia-workbench [--home DIR] [--login FILE] [--plugin FILE] [--screenshot FILE]
//                   [--screenshot-timeout SECONDS]
// Exit codes: 0 done, 1 bad arguments or no display, 2 no usable login, 3 the plug-in did not
// finish its first load in time, 4 the plug-in was refused, 5 the screenshot was not saved.
#include "MessageLog.h"
#include "PluginHost.h"
#include "ScreenshotTaker.h"

#include "quorvia/DataRoot.h"
#include "quorvia/HostSetup.h"
#include "quorvia/LoginFile.h"
#include "quorvia/UserConfig.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QMessageBox>
#include <QTabWidget>

#include <algorithm>
#include <cstdio>
#include <memory>

using namespace Quorvia::workbench;

namespace {

const QString kWindowTitle = QStringLiteral("Quorvia工作台");

void report(const QString& message, bool interactive)
{
    ReportError(message);
    if (interactive)
        QMessageBox::critical(nullptr, kWindowTitle, message);
}

Quorvia::core::plugin::LoginRecord toRecord(const Quorvia::login::LoginData& login)
{
    Quorvia::core::plugin::LoginRecord record;
    record.accessToken = login.accessToken;
    record.appKey = login.appKey;
    record.appSecret = login.appSecret;
    record.fourthText = login.uid.toUtf8();
    record.firstId = login.venderId;
    record.secondId = login.shopId;
    record.stockMode = login.stockMode;
    record.shopType = login.shopType;
    return record;
}

// Every library in this process, the plug-in's included, finds the same files through these.
void exportPath(const char* variable, const QString& path)
{
    qputenv(variable, QFile::encodeName(QFileInfo(path).absoluteFilePath()));
}

// Qt's own start-up options include "-plugin" (also spelt "--plugin"), which QApplication
// would take for itself; our options and their values are set aside before it sees argv.
QStringList takeOwnArguments(int& argc, char** argv)
{
    static const QStringList valued{QStringLiteral("home"), QStringLiteral("login"), QStringLiteral("plugin"),
                                    QStringLiteral("screenshot"), QStringLiteral("screenshot-timeout")};
    QStringList own;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        QString name = arg;
        while (name.startsWith(QLatin1Char('-')))
            name.remove(0, 1);
        const bool dashed = arg.startsWith(QLatin1Char('-'));
        const QString bare = name.section(QLatin1Char('='), 0, 0);
        if (dashed && valued.contains(bare)) {
            own << QStringLiteral("--") + name;
            if (!name.contains(QLatin1Char('=')) && i + 1 < argc)
                own << QString::fromLocal8Bit(argv[++i]);
            continue;
        }
        argv[kept++] = argv[i];
    }
    argc = kept;
    argv[argc] = nullptr;
    return own;
}

bool platformChosen(int argc, char** argv)
{
    if (qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "-platform" || arg == "--platform" || arg.startsWith("-platform=") || arg.startsWith("--platform="))
            return true;
    }
    return false;
}

bool displayAvailable()
{
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv)
{
    const QStringList ownArguments = takeOwnArguments(argc, argv);
    // Without a display Qt would abort while starting; a screenshot needs none, so it renders
    // offscreen, and an interactive start says what is wrong instead.
    if (!platformChosen(argc, argv) && !displayAvailable()) {
        const bool wantsShot = std::any_of(ownArguments.cbegin(), ownArguments.cend(), [](const QString& a) {
            return a.startsWith(QLatin1String("--screenshot")) && !a.startsWith(QLatin1String("--screenshot-timeout"));
        });
        if (!wantsShot) {
            std::fputs("没有可用的显示器：请使用 --screenshot FILE，或设置 QT_QPA_PLATFORM=offscreen\n", stderr);
            return ExitUsage;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The plug-in renders web pages; that needs shared contexts before the application exists.
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("quorvia-workbench"));

    QCommandLineParser parser;
    parser.setApplicationDescription(kWindowTitle);
    parser.addHelpOption();
    const QCommandLineOption homeOption(QStringLiteral("home"), QStringLiteral("数据目录"), QStringLiteral("DIR"));
    const QCommandLineOption loginOption(QStringLiteral("login"), QStringLiteral("登录文件"), QStringLiteral("FILE"));
    const QCommandLineOption pluginOption(QStringLiteral("plugin"), QStringLiteral("插件库文件"),
                                          QStringLiteral("FILE"));
    const QCommandLineOption shotOption(QStringLiteral("screenshot"), QStringLiteral("首次加载后保存窗口截图并退出"),
                                        QStringLiteral("FILE"));
    const QCommandLineOption timeoutOption(QStringLiteral("screenshot-timeout"),
                                           QStringLiteral("等待首次加载的秒数（默认 60）"), QStringLiteral("SECONDS"),
                                           QStringLiteral("60"));
    parser.addOptions({homeOption, loginOption, pluginOption, shotOption, timeoutOption});

    QStringList arguments = QApplication::arguments();
    for (int i = 0; i < ownArguments.size(); ++i)
        arguments.insert(1 + i, ownArguments.at(i));
    if (!parser.parse(arguments) || !parser.positionalArguments().isEmpty()) {
        const QString why = parser.errorText().isEmpty()
            ? QStringLiteral("未知参数：%1").arg(parser.positionalArguments().join(QLatin1Char(' ')))
            : parser.errorText();
        std::fprintf(stderr, "%s\n%s", qPrintable(why), qPrintable(parser.helpText()));
        return ExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(qPrintable(parser.helpText()), stdout);
        return ExitOk;
    }
    bool timeoutOk = false;
    const int timeoutSeconds = parser.value(timeoutOption).toInt(&timeoutOk);
    if (!timeoutOk || timeoutSeconds <= 0) {
        std::fprintf(stderr, "--screenshot-timeout: %s\n", qPrintable(parser.value(timeoutOption)));
        return ExitUsage;
    }

    const QString screenshot = parser.value(shotOption);
    const QString platform = QGuiApplication::platformName();
    const bool interactive = screenshot.isEmpty() && platform != QLatin1String("offscreen")
        && platform != QLatin1String("minimal");

    if (parser.isSet(homeOption))
        exportPath("QUORVIA_HOME", parser.value(homeOption));
    const QString home = Quorvia::DataRoot();
    InstallMessageLog(home);
    ApplyLoggingRules(home);

    if (parser.isSet(loginOption))
        exportPath("QUORVIA_LOGIN_FILE", parser.value(loginOption));
    Quorvia::login::LoginData login;
    QString error;
    QString warnings;
    if (!Quorvia::login::ReadLogin(Quorvia::login::LoginFilePath(), login, &error, &warnings)) {
        report(error, interactive);
        return ExitLogin;
    }
    if (!warnings.isEmpty())
        qCWarning(lcWorkbench).noquote() << warnings;
    Quorvia::appshare::host::SetLogin(login);
    quorvia::settings::CUserConfig::SetCurrentUser(login.uid);
    qCInfo(lcWorkbench).noquote() << "seller" << login.uid << "data root" << QDir::toNativeSeparators(home);

    const QString pluginPath = parser.isSet(pluginOption)
        ? parser.value(pluginOption)
        : QApplication::applicationDirPath() + QStringLiteral("/libquorvia-vumo.so");
    PluginHost host;
    if (!host.Load(pluginPath, &error)) {
        report(error, interactive);
        return ExitPlugin;
    }
    QWidget* widget = host.Start(toRecord(login), &error);
    if (!widget) {
        report(error, interactive);
        return ExitPlugin;
    }

    int code = ExitOk;
    {
        auto window = std::make_unique<QMainWindow>();
        window->setWindowTitle(kWindowTitle);
        auto* tabs = new QTabWidget(window.get());
        tabs->addTab(widget, QStringLiteral("商品管理"));
        window->setCentralWidget(tabs);
        window->resize(1280, 800);
        window->show();

        std::unique_ptr<ScreenshotTaker> taker;
        if (!screenshot.isEmpty()) {
            taker = std::make_unique<ScreenshotTaker>(window.get(), widget, screenshot, timeoutSeconds);
            taker->Start();
        }
        code = QApplication::exec();
        taker.reset();
        // The window owns the plug-in's widget; it goes before the plug-in does.
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    host.Unload();
    return code;
}
