#pragma once
// Content of the "上传商品" dialog: one row per listing with its outcome, the progress, the
// three upload modes and the overwrite choice. Host it in a BaseDialog; it owns its upload
// thread. A mode button after a run uploads again the listings that did not succeed (a
// conflict, for one, once the seller ticked "覆盖线上修改").
#include "database/VumoListStruct.h"
#include "plugin/VumoClassRules.h"

#include <QFrame>
#include <QList>

#include <memory>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace Quorvia::vumo {

class VumoUploadThread;

class UploadVumoWidget : public QFrame
{
    Q_OBJECT
public:
    UploadVumoWidget(QWidget* parent, const QList<VUMO_LIST_STRUCT>& listings);
    ~UploadVumoWidget() override;

    bool IsRunning() const { return m_running; }
    VumoUploadThread* Thread() const { return m_thread.get(); }
    QTableWidget* Table() const { return m_table; }
    QLabel* StatusLabel() const { return m_status; }
    QLabel* SummaryLabel() const { return m_summary; }
    QProgressBar* ProgressBar() const { return m_progress; }
    QCheckBox* OverwriteBox() const { return m_overwrite; }
    QPushButton* UploadButton() const { return m_upload; }
    QPushButton* ListingButton() const { return m_listing; }
    QPushButton* DelistingButton() const { return m_delisting; }
    QPushButton* CloseButton() const { return m_close; }

signals:
    void UploadSucceedSignal(const QString& clientId, qint16 state, VUMO_CLASS srcType, VUMO_CLASS dstType,
                             int succeeded, const QString& sellerCats);
    void UploadSucceedSignal(const QString& clientId, qint16 state, VUMO_CLASS srcType, VUMO_CLASS dstType,
                             int succeeded);
    void NeedToSyncCommentSignal(qint64 newSkuId, qint64 oldSkuId);

public slots:
    void OnCancel();
    void OnUpload();
    void OnUploadAndListing();
    void OnUploadAndDelisting();
    void OnUpdateInfo(int index, qint16 state, VUMO_CLASS newClass, VUMO_CLASS oldClass, const QString& outcome,
                      const QString& sellerCats);
    void OnUploadFinished(int succeeded, int failed);

private:
    void buildForm(const QList<VUMO_LIST_STRUCT>& listings);
    void start(int mode);
    void setRunning(bool running);
    bool mayClose();
    QDialog* frame() const;

    std::unique_ptr<VumoUploadThread> m_thread;
    QStringList m_clientIds;   // one per table row
    QList<qint16> m_states;    // last state per row; -1 not uploaded yet
    QList<int> m_runRows;      // table row of each listing of the current run
    bool m_running = false;
    bool m_cancelled = false;
    bool m_closeWhenStopped = false;
    int m_succeededSoFar = 0;

    QTableWidget* m_table = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_summary = nullptr;
    QProgressBar* m_progress = nullptr;
    QCheckBox* m_overwrite = nullptr;
    QPushButton* m_upload = nullptr;
    QPushButton* m_listing = nullptr;
    QPushButton* m_delisting = nullptr;
    QPushButton* m_close = nullptr;
};

} // namespace Quorvia::vumo
