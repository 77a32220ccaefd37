#pragma once
// What the product-page preview puts into its template, and the script that puts it there.
// No widgets: the script is built here and only run by the preview's web view.
#include "editor/VumoDescRules.h"

#include <QString>

namespace Quorvia::vumo::entity {
class VumoDataEntity;
}

namespace Quorvia::vumo::editor {

struct PreviewValues
{
    QString title;
    QString mainImageUrl; // a file URL for a local picture, else the address as stored
    qint64 marketPrice = 0;
    qint64 yvPrice = 0;
    QString shopName;
    QString description; // HTML
    QList<SaleAttributeGroup> saleAttributes;
};

// The values of a listing as edited; the main picture is looked up in `pictureFolder`.
PreviewValues PreviewValuesOf(const entity::VumoDataEntity& vumo, const QString& shopName,
                              const QString& pictureFolder);

// A JavaScript string literal that evaluates to exactly `text` (quotes, backslashes, line
// breaks, "</script>" and U+2028/U+2029 included).
//   a"b\c -> "a\"b\\c"
QString JsStringLiteral(const QString& text);

// The script that fills the template's elements by selector; an element the template lacks is
// skipped. Every value travels as one JSON object, never as script text; texts go in as text
// (textContent), only the description as HTML.
QString PreviewFillScript(const PreviewValues& values);

} // namespace Quorvia::vumo::editor

namespace Quorvia::vumo::editor {

// The preview's template: "<home>/preview/preview.html" when the seller put one there, else
// the one built into the resources (":/preview/preview.html").
QString PreviewTemplatePath();
// The folder the template's relative links resolve against: "<home>/preview/".
QString PreviewBaseFolder();

} // namespace Quorvia::vumo::editor
