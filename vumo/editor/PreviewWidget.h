#pragma once
// The product-page preview: our "preview.html" template (or the seller's own under
// <home>/preview/) in a web view, its elements filled with the listing as edited. Links open in
// the desktop's browser, never inside the preview.
#include "editor/PreviewFill.h"

#include <QUrl>
#include <QWidget>

class QWebEngineView;

namespace Quorvia::vumo {

class PreviewWidget : public QWidget
{
    Q_OBJECT
public:
    PreviewWidget(QWidget* parent, const editor::PreviewValues& values);

    QWebEngineView* WebView() const { return m_webView; }
    QString FillScript() const { return m_script; }
    bool IsFilled() const { return m_filled; }

signals:
    // The template loaded and the fill script ran (ok false when either failed).
    void PreviewFilledSignal(bool ok);

public slots:
    void onPageLoaded(bool ok);
    void onLinkClicked(const QUrl& url);

private:
    QWebEngineView* m_webView = nullptr;
    QString m_script;
    bool m_filled = false;
};

} // namespace Quorvia::vumo
