#include "quorvia/HtmlEditor.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QJsonArray>
#include <QJsonDocument>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QToolButton>
#include <QUrl>
#include <QUuid>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <functional>
#include <utility>

namespace {

// A JavaScript string literal holding exactly `text`. JSON escapes quotes, backslashes and
// control characters; U+2028/U+2029 are escaped too, since older engines end a literal there.
QString JsString(const QString& text)
{
    QString json = QString::fromUtf8(QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact));
    json = json.mid(1, json.size() - 2); // drop the array brackets
    json.replace(QChar(0x2028), QStringLiteral("\\u2028"));
    json.replace(QChar(0x2029), QStringLiteral("\\u2029"));
    return json;
}

// The page of the visual mode: an empty editable body. Its script reports the body after every
// edit of the seller as a console message "<token><generation>:<html>"; content is put in with
// innerHTML, which runs no scripts of the description.
QString ShellPage(const QString& token)
{
    return QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><style>"
                          "html{height:100%}"
                          "body{margin:0;padding:10px;min-height:100%;box-sizing:border-box;"
                          "font-family:'Noto Sans CJK SC',sans-serif;font-size:14px;word-wrap:break-word}"
                          "body:focus{outline:none}img{max-width:100%}"
                          "</style><script>"
                          "window.vumoGeneration=0;"
                          "document.addEventListener('DOMContentLoaded',function(){"
                          "document.body.addEventListener('input',function(){"
                          "console.log(")
        + JsString(token)
        + QStringLiteral("+window.vumoGeneration+':'+document.body.innerHTML);});});"
                         "</script></head><body contenteditable=\"true\"></body></html>");
}

class ReportingPage final : public QWebEnginePage
{
public:
    ReportingPage(QObject* parent, std::function<void(const QString&)> report)
        : QWebEnginePage(parent)
        , m_report(std::move(report))
    {
    }

protected:
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int, const QString&) override
    {
        m_report(message);
    }
    // The editor stays on its own page: links typed into a description are not followed.
    bool acceptNavigationRequest(const QUrl&, NavigationType type, bool isMainFrame) override
    {
        return !isMainFrame || type == NavigationTypeTyped || type == NavigationTypeOther;
    }

private:
    std::function<void(const QString&)> m_report;
};

} // namespace

HtmlEditor::HtmlEditor(QWidget* parent)
    : QWidget(parent)
    , m_token(QStringLiteral("html-edit-") + QUuid::createUuid().toString(QUuid::Id128) + QLatin1Char('-'))
{
    m_visualBtn = new QToolButton(this);
    m_visualBtn->setText(QStringLiteral("可视化"));
    m_visualBtn->setObjectName(QStringLiteral("htmlVisualBtn"));
    m_sourceBtn = new QToolButton(this);
    m_sourceBtn->setText(QStringLiteral("源代码"));
    m_sourceBtn->setObjectName(QStringLiteral("htmlSourceBtn"));
    auto* group = new QButtonGroup(this);
    group->setExclusive(true);
    for (QToolButton* button : {m_visualBtn, m_sourceBtn}) {
        button->setCheckable(true);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setMinimumWidth(64);
        // The mode showing must be plain to see: the two views look alike at a glance.
        button->setStyleSheet(
            QStringLiteral("QToolButton{padding:3px 10px;border:1px solid #c8c8c8;background:#f6f6f6}"
                           "QToolButton:checked{background:#2b6cb0;color:white;border-color:#2b6cb0}"));
        group->addButton(button);
    }
    m_visualBtn->setChecked(true);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    bar->setSpacing(2);
    bar->addWidget(m_visualBtn);
    bar->addWidget(m_sourceBtn);
    bar->addStretch();

    m_visualHolder = new QWidget(this);
    auto* holderLayout = new QVBoxLayout(m_visualHolder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    m_source = new QPlainTextEdit(this);
    m_source->setObjectName(QStringLiteral("htmlSourceView"));
    m_source->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont mono(QStringLiteral("monospace"));
    mono.setStyleHint(QFont::Monospace);
    m_source->setFont(mono);
    m_stack = new QStackedWidget(this);
    m_stack->addWidget(m_visualHolder);
    m_stack->addWidget(m_source);
    m_stack->setFrameShape(QFrame::StyledPanel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(bar);
    layout->addWidget(m_stack, 1);

    connect(m_visualBtn, &QToolButton::clicked, this, [this] { SetMode(VisualMode); });
    connect(m_sourceBtn, &QToolButton::clicked, this, [this] { SetMode(SourceMode); });
    connect(m_source, &QPlainTextEdit::textChanged, this, &HtmlEditor::onSourceEdited);
}

HtmlEditor::~HtmlEditor() = default;

bool HtmlEditor::SetHtml(const QString& html)
{
    m_html = html;
    m_settingSource = true;
    m_source->setPlainText(html);
    m_settingSource = false;
    pushToPage();
    return true;
}

void HtmlEditor::GetHtml(QString& html) const
{
    html = m_html;
}

void HtmlEditor::SetFocus()
{
    if (m_mode == SourceMode || !m_view) {
        m_source->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_view->setFocus(Qt::OtherFocusReason);
    if (m_pageReady)
        m_view->page()->runJavaScript(QStringLiteral("document.body.focus();"));
}

void HtmlEditor::SetMode(Mode mode)
{
    m_mode = mode;
    m_visualBtn->setChecked(mode == VisualMode);
    m_sourceBtn->setChecked(mode == SourceMode);
    if (mode == SourceMode) {
        // The source view already follows every visual edit; keep it in step all the same.
        if (m_source->toPlainText() != m_html) {
            m_settingSource = true;
            m_source->setPlainText(m_html);
            m_settingSource = false;
        }
        m_stack->setCurrentWidget(m_source);
    } else {
        m_stack->setCurrentWidget(m_visualHolder);
        if (isVisible())
            ensureVisualView();
        pushToPage();
    }
}

void HtmlEditor::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_mode == VisualMode)
        ensureVisualView();
}

void HtmlEditor::ensureVisualView()
{
    if (m_view)
        return;
    m_view = new QWebEngineView(m_visualHolder);
    m_view->setObjectName(QStringLiteral("htmlVisualView"));
    m_view->setPage(new ReportingPage(m_view, [this](const QString& message) { onPageReport(message); }));
    m_view->setContextMenuPolicy(Qt::NoContextMenu);
    m_visualHolder->layout()->addWidget(m_view);
    connect(m_view, &QWebEngineView::loadFinished, this, [this](bool ok) {
        m_pageReady = ok;
        if (ok)
            pushToPage();
        emit VisualReadySignal(ok);
    });
    // A file base lets descriptions show pictures from the seller's disk.
    m_view->setHtml(ShellPage(m_token), QUrl::fromLocalFile(QStringLiteral("/")));
}

void HtmlEditor::pushToPage()
{
    if (!m_view || !m_pageReady)
        return;
    ++m_generation;
    m_view->page()->runJavaScript(QStringLiteral("window.vumoGeneration=") + QString::number(m_generation)
                                  + QStringLiteral(";document.body.innerHTML=") + JsString(m_html) + QLatin1Char(';'));
}

void HtmlEditor::onPageReport(const QString& message)
{
    if (!message.startsWith(m_token))
        return;
    const int colon = message.indexOf(QLatin1Char(':'), m_token.size());
    if (colon < 0)
        return;
    bool ok = false;
    const quint64 generation = message.mid(m_token.size(), colon - m_token.size()).toULongLong(&ok);
    // An edit of content that SetHtml or the source mode has replaced since is stale.
    if (!ok || generation != m_generation)
        return;
    const QString html = message.mid(colon + 1);
    if (html == m_html)
        return;
    m_html = html;
    m_settingSource = true;
    m_source->setPlainText(html);
    m_settingSource = false;
    emit HtmlChangedSignal();
}

void HtmlEditor::onSourceEdited()
{
    if (m_settingSource)
        return;
    const QString text = m_source->toPlainText();
    if (text == m_html)
        return;
    m_html = text;
    emit HtmlChangedSignal();
}
