// A stand-in plug-in for the host's tests. FAKE_PLUGIN_MODE picks its behaviour:
//   (empty) first load finishes on a zero timer and emits FirstLoadFinishedSignal
//   ready     the widget is already loaded when created
//   nosignal  a plain widget without the signal or property
//   never     the first load never finishes
//   null      CreateMainWidget returns null
// FAKE_PLUGIN_REPORT names a file that receives what the host did, one line each.
#include "quorvia/AppShare.h"
#include "quorvia/Plugin.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLibrary>
#include <QPointer>
#include <QTimer>

namespace {

void note(const QString& line)
{
    const QString path = qEnvironmentVariable("FAKE_PLUGIN_REPORT");
    if (path.isEmpty())
        return;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text))
        file.write(line.toUtf8() + '\n');
}

QString mode()
{
    return qEnvironmentVariable("FAKE_PLUGIN_MODE");
}

// What a real plug-in sees when it loads the AppShare service beside the executable.
QString appShareUid()
{
    QLibrary library(QCoreApplication::applicationDirPath() + QStringLiteral("/libquorvia-appshare.so"));
    auto get = reinterpret_cast<GetAppShareFunc>(library.resolve("GetAppShare"));
    if (!get || !get())
        return QStringLiteral("<no service>");
    Quorvia::appshare::CurrentUser* user = get()->GetCurrentUser();
    return user ? user->GetUid() : QStringLiteral("<no user>");
}

} // namespace

class FakeMainWidget : public QLabel
{
    Q_OBJECT
public:
    explicit FakeMainWidget(bool loaded)
        : QLabel(loaded ? QStringLiteral("loaded") : QStringLiteral("loading"))
    {
        setProperty("vumoFirstLoadDone", loaded);
        if (!loaded && mode() != QLatin1String("never"))
            QTimer::singleShot(0, this, [this] {
                setText(QStringLiteral("loaded"));
                setProperty("vumoFirstLoadDone", true);
                emit FirstLoadFinishedSignal();
            });
    }
    ~FakeMainWidget() override { note(QStringLiteral("delete widget")); }

signals:
    void FirstLoadFinishedSignal();
};

// Without the signal or the property.
class PlainWidget : public QLabel
{
public:
    ~PlainWidget() override { note(QStringLiteral("delete widget")); }
};

class FakePlugin : public QObject, public Quorvia::core::plugin::Plugin
{
    Q_OBJECT
public:
    ~FakePlugin() override { note(QStringLiteral("delete plugin")); }
    void Initialize() override { note(QStringLiteral("Initialize")); }
    void SetUserInfo(const Quorvia::core::plugin::LoginRecord& record) override
    {
        note(QStringLiteral("SetUserInfo token=%1 key=%2 secret=%3 ids=%4,%5 stockMode=%6 shopType=%7")
                 .arg(QString::fromUtf8(record.accessToken), QString::fromUtf8(record.appKey),
                      QString::fromUtf8(record.appSecret))
                 .arg(record.firstId)
                 .arg(record.secondId)
                 .arg(record.stockMode)
                 .arg(record.shopType));
    }
    QWidget* CreateMainWidget() override
    {
        note(QStringLiteral("CreateMainWidget appshare.uid=%1").arg(appShareUid()));
        const QString m = mode();
        if (m == QLatin1String("null"))
            return nullptr;
        if (m == QLatin1String("nosignal"))
            return new PlainWidget;
        return new FakeMainWidget(m == QLatin1String("ready"));
    }
};

extern "C" Q_DECL_EXPORT const char* qt_plugin_query_verification_data()
{
#ifdef FAKE_WRONG_VERIFICATION
    return "pattern=QT_PLUGIN_VERIFICATION_DATA\nversion=5.15.0\ndebug=false\nbuildkey=x86_64 linux g++";
#else
    return QUORVIA_PLUGIN_VERIFICATION_DATA;
#endif
}

extern "C" Q_DECL_EXPORT QObject* qt_plugin_instance()
{
    static QPointer<QObject> instance;
    if (!instance) {
        instance = new FakePlugin;
        note(QStringLiteral("instance"));
    }
    return instance;
}

#include "FakePlugin.moc"
