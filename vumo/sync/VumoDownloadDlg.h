#pragma once
// Content of the "下载商品" dialog: the filter, the progress and the result of a listing
// download. Host it in a BaseDialog; it owns its download thread for as long as it lives.
#include "entity/VumoStatus.h"

#include <QDateTime>
#include <QFrame>

#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace Quorvia::core::ui {
class QueryDateTimeEdit;
}
namespace Quorvia::vumo::entity {
class VumoDataEntity;
}

namespace Quorvia::vumo {

class VumoDownloadThread;

class VumoDownloadDlg : public QFrame
{
    Q_OBJECT
public:
    // `workers`: 0 takes the seller's setting.
    explicit VumoDownloadDlg(QWidget* parent = nullptr, int workers = 0);
    ~VumoDownloadDlg() override;

    bool IsRunning() const { return m_running; }
    VumoDownloadThread* Thread() const { return m_thread.get(); }
    QLabel* MessageLabel() const { return m_message; }
    QProgressBar* ProgressBar() const { return m_progress; }
    QLineEdit* NumberEdit() const { return m_number; }
    QPushButton* StartButton() const { return m_start; }
    QPushButton* CancelButton() const { return m_cancel; }
    QPushButton* CategoryButton() const { return m_catsButton; }

signals:
    // One listing stored; the receiver owns `record` (the dialog deletes it when nobody listens).
    void OneVumoDownloadFinishedSignal(Quorvia::vumo::entity::VumoDataEntity* record,
                                       Quorvia::vumo::entity::ENUM_VUMO_STATUS srcStatus, const QString& srcSellerCats);

public slots:
    void OnDownloadVumoStart();
    void OnDownloadVumoCancel();
    void OnGetDownloadTotal(qint64 total);
    void OnVumoDownloadStop();
    void OnYVCatsBtnClicked();
    void OnShowDownloadMsg();
    void OnFilterEditChanged(const QString& text);
    void OnTimeEdit(const QDateTime& time);
    void OnOneVumoHandleFinishedSignal(Quorvia::vumo::entity::VumoDataEntity* record,
                                       Quorvia::vumo::entity::ENUM_VUMO_STATUS srcStatus, const QString& srcSellerCats);

private:
    void buildForm();
    void setRunning(bool running);
    // Asked before the window closes: during a run, whether to cancel it; the window then
    // closes when the run has stopped.
    bool mayClose();

    std::unique_ptr<VumoDownloadThread> m_thread;
    std::unique_ptr<QThread> m_canceller; // cancelling waits for the listings under way
    bool m_running = false;
    bool m_closeWhenStopped = false; // the seller closed the window during the run
    qint64 m_cid = -1;

    QComboBox* m_status = nullptr;
    QLineEdit* m_number = nullptr;
    QLineEdit* m_category = nullptr;
    QPushButton* m_catsButton = nullptr;
    QPushButton* m_catsClear = nullptr;
    QLineEdit* m_title = nullptr;
    QLineEdit* m_lowPrice = nullptr;
    QLineEdit* m_highPrice = nullptr;
    Quorvia::core::ui::QueryDateTimeEdit* m_startTime = nullptr;
    Quorvia::core::ui::QueryDateTimeEdit* m_endTime = nullptr;
    QLabel* m_message = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_start = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace Quorvia::vumo
