#include "editor/PreviewWidget.h"

#include "utils/Log.h"

#include <QDesktopServices>
#include <QFile>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <functional>
#include <utility>

namespace Quorvia::vumo {

namespace {

// Hands every followed link to the widget instead of navigating; a page that asks for a new
// window gets one that only passes its first address on.
class PreviewPage final : public QWebEnginePage
{
public:
    PreviewPage(QObject* parent, std::function<void(const QUrl&)> onLink, bool catcher = false)
        : QWebEnginePage(parent)
        , m_onLink(std::move(onLink))
        , m_catcher(catcher)
    {
    }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override
    {
        if (m_catcher) {
            m_onLink(url);
            deleteLater();
            return false;
        }
        if (isMainFrame && type == NavigationTypeLinkClicked) {
            m_onLink(url);
            return false;
        }
        return true;
    }
    QWebEnginePage* createWindow(WebWindowType) override { return new PreviewPage(parent(), m_onLink, true); }

private:
    std::function<void(const QUrl&)> m_onLink;
    bool m_catcher = false;
};

} // namespace

PreviewWidget::PreviewWidget(QWidget* parent, const editor::PreviewValues& values)
    : QWidget(parent)
    , m_script(editor::PreviewFillScript(values))
{
    setObjectName(QStringLiteral("PreviewWidget"));
    setWindowTitle(QStringLiteral("商品预览"));
    m_webView = new QWebEngineView(this);
    m_webView->setObjectName(QStringLiteral("webView"));
    m_webView->setPage(new PreviewPage(m_webView, [this](const QUrl& url) { onLinkClicked(url); }));
    m_webView->setContextMenuPolicy(Qt::NoContextMenu);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_webView);
    setMinimumSize(640, 480);

    connect(m_webView, &QWebEngineView::loadFinished, this, &PreviewWidget::onPageLoaded);
    QFile file(editor::PreviewTemplatePath());
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcVumo).noquote() << VUMO_SRC_POS << "preview template unreadable" << file.fileName();
        m_webView->setUrl(QUrl(QStringLiteral("about:blank")));
        return;
    }
    // A file base: the template's own files and the listing's local pictures load from disk.
    m_webView->setHtml(QString::fromUtf8(file.readAll()), QUrl::fromLocalFile(editor::PreviewBaseFolder()));
}

void PreviewWidget::onPageLoaded(bool ok)
{
    if (!ok) {
        emit PreviewFilledSignal(false);
        return;
    }
    m_webView->page()->runJavaScript(m_script + QStringLiteral("true;"), [this](const QVariant& result) {
        m_filled = result.toBool();
        emit PreviewFilledSignal(m_filled);
    });
}

void PreviewWidget::onLinkClicked(const QUrl& url)
{
    // Only web and mail addresses leave the preview; file and script links do nothing.
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https") || scheme == QLatin1String("mailto"))
        QDesktopServices::openUrl(url);
}

} // namespace Quorvia::vumo
