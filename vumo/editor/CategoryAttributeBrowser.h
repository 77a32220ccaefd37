#pragma once
// The attribute values of a listing's category ("  商品属性：" on the basic page): one property
// per attribute in a property grid: single select as an enumeration with an empty first entry,
// multi select as flags, free text as a string held to "^[^|]{0,50}$". Required ones carry
// ":/images/xinghao.png"; the completeness check frames the missing ones red.
#include "editor/CategoryPickerRules.h"

#include <QMap>
#include <QVariant>
#include <QWidget>

#include <memory>

namespace Quorvia::vumo::database {
class CategoryDbInterface;
}

namespace Quorvia::vumo::propertybrowser {
class QtProperty;
class QtPropertyManager;
class QtTreePropertyBrowser;
} // namespace Quorvia::vumo::propertybrowser

namespace Quorvia::vumo {

class CategoryAttributeBrowser final : public QWidget
{
    Q_OBJECT
public:
    using QtProperty = propertybrowser::QtProperty;

    // A null store is the one of VumoDBMgr.
    explicit CategoryAttributeBrowser(QWidget* parent = nullptr,
                                      std::shared_ptr<database::CategoryDbInterface> store = {});
    ~CategoryAttributeBrowser() override;

    // Shows the attributes of `cid` with the listing's stored values; a cid of 0 or less clears.
    void load(qint64 cid, const QString& attributes, const QString& inputPids, const QString& inputStrs);
    // False when a required attribute has no value; those rows are framed red.
    bool check();
    void get(QString& attributes, QString& inputPids, QString& inputStrs, qint64& brandVid, qint64& brandAid) const;

    qint64 CategoryId() const { return m_form.cid; }
    propertybrowser::QtTreePropertyBrowser* Browser() const { return m_browser; }
    // The property shown for an attribute, null when there is none.
    QtProperty* PropertyOf(qint64 aid) const;

signals:
    void ValueChangedSignal();

public slots:
    // Takes a changed value into the form and lifts the red frame once the row has a value.
    void propertyFrameColorChanged(QtProperty* property, QVariant value);

private:
    std::shared_ptr<database::CategoryDbInterface> m_store;
    propertybrowser::QtPropertyManager* m_manager = nullptr;
    propertybrowser::QtTreePropertyBrowser* m_browser = nullptr;
    editor::AttributeForm m_form;
    QMap<QtProperty*, int> m_fieldOf;
    bool m_loading = false;
};

} // namespace Quorvia::vumo
