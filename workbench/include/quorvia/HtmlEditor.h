#pragma once
// The host's HTML editor widget: a visual mode (a contenteditable page in a web view) and a
// source mode (the HTML as plain text), switched by two tool buttons. The editor keeps the
// current HTML itself, so GetHtml answers at once in either mode; the page reports every edit
// back. The web view is made only when the visual mode is first shown, so the source mode
// works where no web engine can run.
#include <QString>
#include <QWidget>

class QPlainTextEdit;
class QStackedWidget;
class QToolButton;
class QWebEngineView;

class HtmlEditor : public QWidget
{
    Q_OBJECT
public:
    enum Mode { VisualMode = 0, SourceMode = 1 };

    explicit HtmlEditor(QWidget* parent);
    ~HtmlEditor() override;

    // Shows `html` in both modes. Not an edit: HtmlChangedSignal is not emitted.
    bool SetHtml(const QString& html);
    // The HTML as last set or edited.
    void GetHtml(QString& html) const;
    void SetFocus();

    void SetMode(Mode mode);
    Mode CurrentMode() const { return m_mode; }

    QToolButton* VisualButton() const { return m_visualBtn; }
    QToolButton* SourceButton() const { return m_sourceBtn; }
    QPlainTextEdit* SourceView() const { return m_source; }
    // Null until the visual mode has been shown once.
    QWebEngineView* VisualView() const { return m_view; }
    // True once the visual page has loaded and shows the current HTML.
    bool IsVisualReady() const { return m_pageReady; }

signals:
    // The seller changed the HTML (typing in either mode); never for SetHtml.
    void HtmlChangedSignal();
    // The visual page finished loading (ok false when the engine could not load it).
    void VisualReadySignal(bool ok);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void ensureVisualView();
    void pushToPage();
    void onPageReport(const QString& message);
    void onSourceEdited();

    QToolButton* m_visualBtn = nullptr;
    QToolButton* m_sourceBtn = nullptr;
    QStackedWidget* m_stack = nullptr;
    QWidget* m_visualHolder = nullptr;
    QWebEngineView* m_view = nullptr;
    QPlainTextEdit* m_source = nullptr;
    QString m_html;
    QString m_token;          // marks the page's own reports among its console messages
    quint64 m_generation = 0; // reports of an older content are stale
    Mode m_mode = VisualMode;
    bool m_pageReady = false;
    bool m_settingSource = false;
};
