#pragma once
// The listing page's category commands: "更新类目" with its two ways (the change package, or
// the listing API call by call) run in the progress window, and the daily automatic update
// at construction shown in the status bar. Only one category update runs at a time.
#include <QObject>
#include <QString>

#include <memory>

class QProgressBar;

namespace Quorvia::vumo {

class VumoCommandTable;
class VumoMainWidget;

namespace sync {

class CatsDownloadThread;
class CatsDownloadThreadByQBR;
class CatsSyncWorker;

class VumoSyncCommands final : public QObject
{
    Q_OBJECT
public:
    explicit VumoSyncCommands(VumoMainWidget& page);
    ~VumoSyncCommands() override;

    void Declare(VumoCommandTable& table);

    // Starts the automatic update unless one already ran on the server's today; true when
    // it started.
    bool StartAutomaticUpdate();
    // The manual ways: by change package (fast) or call by call (slow).
    void OnCategoryDownload(bool fullRefresh);
    void OnCatsDownloadByQBR();

    bool IsUpdating() const;
    bool IsAutomaticRunning() const;
    // Null until first used.
    CatsDownloadThread* PackageThread() const { return m_thread.get(); }

private slots:
    void OnYVCatsSetValue(int const& value);
    void OnYVCatsFinished();

private:
    CatsDownloadThread& packageThread();
    CatsDownloadThreadByQBR& qbrThread();
    void runManual(CatsSyncWorker& worker);
    void setButtonEnabled(bool enabled);
    // "categoryUpdateTime" becomes the server's now; false when it could not be written.
    bool storeUpdateTime(QString* time = nullptr) const;

    VumoMainWidget& m_page;
    std::unique_ptr<CatsDownloadThread> m_thread;
    std::unique_ptr<CatsDownloadThreadByQBR> m_qbrThread;
    QProgressBar* m_bar = nullptr; // in the status bar while the automatic update runs
    bool m_automatic = false;
    bool m_manual = false;
};

} // namespace sync
} // namespace Quorvia::vumo
