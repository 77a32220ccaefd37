#include "ScreenshotTaker.h"

#include "MessageLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QVariant>
#include <QWidget>

namespace Quorvia::workbench {

namespace {
const char kDoneProperty[] = "vumoFirstLoadDone";
// A widget that never reports its first load is shot once queued work has had this long.
constexpr int kSettleMsecs = 500;
} // namespace

ScreenshotTaker::ScreenshotTaker(QWidget* window, QWidget* pluginWidget, QString file, int timeoutSeconds,
                                 QObject* parent)
    : QObject(parent)
    , m_window(window)
    , m_pluginWidget(pluginWidget)
    , m_file(std::move(file))
    , m_timeoutSeconds(timeoutSeconds)
{
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        ReportError(QStringLiteral("等待插件首次加载超时（%1 秒），未保存截图").arg(m_timeoutSeconds));
        finish(ExitTimeout);
    });
}

void ScreenshotTaker::Start()
{
    if (!m_pluginWidget) {
        QTimer::singleShot(0, this, &ScreenshotTaker::shoot);
        return;
    }
    // Connect before reading the property so a load that ends in between is not missed. By
    // name, so any plug-in offering the signal works.
    const bool hasSignal = m_pluginWidget->metaObject()->indexOfSignal("FirstLoadFinishedSignal()") >= 0;
    if (hasSignal)
        connect(m_pluginWidget, SIGNAL(FirstLoadFinishedSignal()), this, SLOT(OnFirstLoadFinished()));

    if (m_pluginWidget->property(kDoneProperty).toBool())
        QTimer::singleShot(0, this, &ScreenshotTaker::shoot);
    else if (!hasSignal)
        QTimer::singleShot(kSettleMsecs, this, &ScreenshotTaker::shoot);
    m_deadline.start(m_timeoutSeconds * 1000);
}

void ScreenshotTaker::OnFirstLoadFinished()
{
    // Let the widgets take in what the load changed before grabbing.
    QTimer::singleShot(0, this, &ScreenshotTaker::shoot);
}

void ScreenshotTaker::shoot()
{
    if (m_done)
        return;
    if (!m_window) {
        ReportError(QStringLiteral("主窗口已关闭，无法截图"));
        finish(ExitScreenshot);
        return;
    }
    const QPixmap picture = m_window->grab();
    if (picture.isNull() || !picture.save(m_file, "PNG")) {
        ReportError(QStringLiteral("无法保存截图：%1").arg(QDir::toNativeSeparators(m_file)));
        finish(ExitScreenshot);
        return;
    }
    qCInfo(lcWorkbench).noquote() << "screenshot saved:" << QDir::toNativeSeparators(m_file);
    finish(ExitOk);
}

void ScreenshotTaker::finish(int code)
{
    if (m_done)
        return;
    m_done = true;
    m_deadline.stop();
    QCoreApplication::exit(code);
}

} // namespace Quorvia::workbench
