#pragma once
// The batch preview of a description operation: the titles of the listings being changed, and
// for the chosen one its description as the operation would leave it, with the outcome below.
// Nothing is written.
#include <QList>
#include <QPair>
#include <QWidget>

#include <memory>

class QLabel;
class QListView;
class QStringListModel;
class QWebEngineView;

namespace Quorvia::vumo::database {
class VumoDbInterface;
}

namespace Quorvia::vumo {

class VumoDescPreviewWidget : public QWidget
{
    Q_OBJECT
public:
    // Null store: the listing store of VumoDBMgr.
    explicit VumoDescPreviewWidget(QWidget* parent, std::shared_ptr<database::VumoDbInterface> store = nullptr);

    // (client id, title) of each listing; the first one is shown.
    void SetVumos(const QList<QPair<QString, QString>>& vumos);
    // The operation of VumoDescProcess::process; the shown listing is worked out again.
    void SetOperation(int mode, const QString& textA, const QString& textB);
    void ShowVumo(int row);

    QListView* List() const { return m_list; }
    QLabel* StatusLabel() const { return m_status; }
    // The description shown now (HTML).
    QString ShownHtml() const { return m_shownHtml; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showHtml(const QString& html);

    std::shared_ptr<database::VumoDbInterface> m_store;
    QList<QPair<QString, QString>> m_vumos;
    QStringListModel* m_model = nullptr;
    QListView* m_list = nullptr;
    QWidget* m_viewHolder = nullptr;
    QWebEngineView* m_view = nullptr; // made when first shown
    QLabel* m_status = nullptr;
    QString m_shownHtml;
    int m_mode = 0;
    QString m_textA;
    QString m_textB;
    int m_row = -1;
};

} // namespace Quorvia::vumo
