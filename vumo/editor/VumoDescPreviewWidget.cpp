#include "editor/VumoDescPreviewWidget.h"

#include "editor/VumoDescProcess.h"

#include <QLabel>
#include <QListView>
#include <QSplitter>
#include <QStringListModel>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace Quorvia::vumo {

VumoDescPreviewWidget::VumoDescPreviewWidget(QWidget* parent, std::shared_ptr<database::VumoDbInterface> store)
    : QWidget(parent)
    , m_store(std::move(store))
{
    setObjectName(QStringLiteral("VumoDescPreviewWidget"));
    m_model = new QStringListModel(this);
    m_list = new QListView(this);
    m_list->setObjectName(QStringLiteral("descPreviewList"));
    m_list->setModel(m_model);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);

    m_viewHolder = new QWidget(this);
    auto* holderLayout = new QVBoxLayout(m_viewHolder);
    holderLayout->setContentsMargins(0, 0, 0, 0);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("descPreviewStatus"));
    m_status->setTextFormat(Qt::RichText);
    m_status->setWordWrap(true);

    auto* right = new QWidget(this);
    auto* rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addWidget(m_viewHolder, 1);
    rightLayout->addWidget(m_status);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->addWidget(m_list);
    splitter->addWidget(right);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);

    connect(m_list->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { ShowVumo(current.row()); });
}

void VumoDescPreviewWidget::SetVumos(const QList<QPair<QString, QString>>& vumos)
{
    m_vumos = vumos;
    QStringList titles;
    for (const auto& vumo : vumos)
        titles << vumo.second;
    m_model->setStringList(titles);
    m_row = -1;
    if (!vumos.isEmpty())
        m_list->setCurrentIndex(m_model->index(0));
    else
        showHtml(QString());
}

void VumoDescPreviewWidget::SetOperation(int mode, const QString& textA, const QString& textB)
{
    m_mode = mode;
    m_textA = textA;
    m_textB = textB;
    if (m_row >= 0)
        ShowVumo(m_row);
}

void VumoDescPreviewWidget::ShowVumo(int row)
{
    if (row < 0 || row >= m_vumos.size())
        return;
    if (m_list->currentIndex().row() != row) {
        m_list->setCurrentIndex(m_model->index(row)); // comes back here through currentChanged
        return;
    }
    m_row = row;
    VumoDescProcess process(m_store);
    QString description;
    QString result;
    if (!process.read(m_vumos.at(row).first, description)
        || !process.process(description, result, m_mode, m_textA, m_textB)) {
        showHtml(description);
        m_status->setText(QStringLiteral("<font color=#FF0000>%1</font>").arg(process.Message().toHtmlEscaped()));
        return;
    }
    showHtml(result);
    m_status->setText(process.Message().toHtmlEscaped());
}

void VumoDescPreviewWidget::showHtml(const QString& html)
{
    m_shownHtml = html;
    if (m_view)
        m_view->setHtml(html, QUrl::fromLocalFile(QStringLiteral("/")));
}

void VumoDescPreviewWidget::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (m_view)
        return;
    m_view = new QWebEngineView(m_viewHolder);
    m_view->setObjectName(QStringLiteral("descPreviewView"));
    m_viewHolder->layout()->addWidget(m_view);
    m_view->setHtml(m_shownHtml, QUrl::fromLocalFile(QStringLiteral("/")));
}

} // namespace Quorvia::vumo
