#pragma once
// Waits until the plug-in's main widget has loaded its first table, grabs the window into a
// PNG file and ends the event loop with the outcome.
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QWidget;

namespace Quorvia::workbench {

enum ExitCode {
    ExitOk = 0,
    ExitUsage = 1,
    ExitLogin = 2,
    ExitTimeout = 3,
    ExitPlugin = 4,
    ExitScreenshot = 5,
};

class ScreenshotTaker final : public QObject
{
    Q_OBJECT
public:
    ScreenshotTaker(QWidget* window, QWidget* pluginWidget, QString file, int timeoutSeconds,
                    QObject* parent = nullptr);

    // Call once the window is shown; the outcome arrives through the event loop.
    void Start();

private slots:
    void OnFirstLoadFinished();

private:
    void shoot();
    void finish(int code);

    QPointer<QWidget> m_window;
    QPointer<QWidget> m_pluginWidget;
    QString m_file;
    int m_timeoutSeconds = 60;
    QTimer m_deadline;
    bool m_done = false;
};

} // namespace Quorvia::workbench
