#pragma once
// A small property grid: properties of three kinds (string, enumeration, flags) made and owned
// by a manager, shown and edited by a browser (QtTreePropertyBrowser).
//
//   QtPropertyManager manager;
//   QtProperty* size = manager.addProperty(QtProperty::Enum, "尺码");
//   size->setNames({"", "S", "M"});          // enumeration entries
//   size->setEnumIndex(2);                   // "M", emits valueChanged(size, 2)
#include <QIcon>
#include <QList>
#include <QObject>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace Quorvia::vumo::propertybrowser {

class QtProperty final : public QObject
{
    Q_OBJECT
public:
    enum Kind { String, Enum, Flag };

    Kind kind() const { return m_kind; }
    QString name() const { return m_name; }

    QIcon icon() const { return m_icon; }
    void setIcon(const QIcon& icon);
    // An invalid property is framed red in the browser.
    bool isInvalid() const { return m_invalid; }
    void setInvalid(bool invalid);

    // String: the text. The "regExp" attribute holds back what the editor lets the seller type;
    // a stored text is shown as it is.
    QString text() const { return m_text; }
    bool setText(const QString& text);

    // Enum: entry names and the chosen index (-1 none). Flag: flag names and the chosen flags.
    QStringList names() const { return m_names; }
    void setNames(const QStringList& names);
    int enumIndex() const { return m_enumIndex; }
    bool setEnumIndex(int index);
    // Indexes of the chosen flags, ascending.
    QList<int> flags() const { return m_flags; }
    bool setFlags(const QList<int>& flags);

    // Attributes by name: "regExp" (QRegularExpression, string properties), "enumNames" and
    // "flagNames" (QStringList).
    QVariant attribute(const QString& attribute) const;
    void setAttribute(const QString& attribute, const QVariant& value);

    // QString, int or QList<int> by kind.
    QVariant value() const;
    // What the grid shows: the text, the entry name, or the flag names joined by ", ".
    QString valueText() const;

signals:
    void valueChanged(QtProperty* property, const QVariant& value);
    // Icon, frame or names changed.
    void propertyChanged(QtProperty* property);

private:
    friend class QtPropertyManager;
    QtProperty(Kind kind, const QString& name, QObject* parent);

    Kind m_kind;
    QString m_name;
    QIcon m_icon;
    bool m_invalid = false;
    QString m_text;
    QRegularExpression m_regExp;
    QStringList m_names;
    int m_enumIndex = -1;
    QList<int> m_flags;
};

class QtPropertyManager final : public QObject
{
    Q_OBJECT
public:
    explicit QtPropertyManager(QObject* parent = nullptr);
    ~QtPropertyManager() override;

    QtProperty* addProperty(QtProperty::Kind kind, const QString& name);
    QList<QtProperty*> properties() const { return m_properties; }
    void clear();

signals:
    void propertyAdded(QtProperty* property);
    void cleared();
    void valueChanged(QtProperty* property, const QVariant& value);
    void propertyChanged(QtProperty* property);

private:
    QList<QtProperty*> m_properties;
};

} // namespace Quorvia::vumo::propertybrowser
