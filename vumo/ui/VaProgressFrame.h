#pragma once
// Content of the progress dialog of long operations: a label, a progress bar with a text
// format, a cancel button that becomes "确定" when finished, and "打开文件" / "打开所在文件夹"
// once a result file was written.
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;

namespace Quorvia::core::ui {

class VaProgressFrame final : public QWidget
{
    Q_OBJECT
public:
    explicit VaProgressFrame(QWidget* parent = nullptr);

    void SetTitle(const QString& title); // the dialog's title; "Quorvia工作台" by default
    void SetLabelText(const QString& text);
    QString LabelText() const;
    void SetRange(int minimum, int maximum);
    void SetValue(int value);
    int Value() const;
    // Progress bar format: "%p" percent, "%v" value, "%m" maximum, "%1" the item word given.
    //   SetTextFormat("完成删除第%v个%1，共%m个%1", "商品") at 3 of 10 -> "完成删除第3个商品，共10个商品"
    void SetTextFormat(const QString& format, const QString& item = QString());
    QString ProgressText() const;
    void SetCancelText(const QString& text); // "取消" by default
    QString ButtonText() const;

    bool IsCanceled() const { return m_canceled; }
    bool IsFinished() const { return m_finished; }
    // The button becomes "确定" and closes the dialog; with a result file the two file
    // buttons appear. When the seller closed the window before, it closes now.
    void Finish(const QString& resultFile = QString());
    // Closing the window before the end cancels (as the button does) and keeps it open until
    // Finish(): the worker's current step may take long, and the modal window keeps the page
    // painting meanwhile without letting another command start. True once finished.
    bool RequestClose();
    bool IsCloseRequested() const { return m_closeRequested; }
    QString ResultFile() const { return m_resultFile; }

    QPushButton* CancelButton() const { return m_button; }
    QPushButton* OpenFileButton() const { return m_openFileBtn; }
    QPushButton* OpenFolderButton() const { return m_openFolderBtn; }

signals:
    void CancelSignal();
    void RetrySignal();

public slots:
    void OnOpenFile();
    void OnOpenFolder();
    void OnButtonClicked();

private:
    QLabel* m_label = nullptr;
    QProgressBar* m_progressBar = nullptr;
    QPushButton* m_button = nullptr;
    QPushButton* m_openFileBtn = nullptr;
    QPushButton* m_openFolderBtn = nullptr;
    QString m_resultFile;
    bool m_canceled = false;
    bool m_finished = false;
    bool m_closeRequested = false;
};

} // namespace Quorvia::core::ui
