#include "editor/PreviewFill.h"

#include "editor/VumoBasisRules.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"
#include "utils/Money.h"

#include <quorvia/DataRoot.h>

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace Quorvia::vumo::editor {

namespace {

QString JsonText(const QJsonDocument& document)
{
    QString json = QString::fromUtf8(document.toJson(QJsonDocument::Compact));
    // JSON may hold these raw; older script engines end a string literal at them.
    json.replace(QChar(0x2028), QStringLiteral("\\u2028"));
    json.replace(QChar(0x2029), QStringLiteral("\\u2029"));
    return json;
}

// The fixed part: one function over the values object.
const char* const kFillFunction =
    "(function(v){"
    "function q(s){return document.querySelector(s);}"
    "var e;"
    "if((e=q('h1[id=vumo_name]')))e.textContent=v.title;"
    "if((e=q('img[id=main_img]'))){e.setAttribute('src',v.img);e.setAttribute('alt',v.title);}"
    "if((e=q('del[id=market_price]')))e.textContent=v.market;"
    "if((e=q('strong[id=yv_price]')))e.textContent=v.yv;"
    "if((e=q('a[id=owner]')))e.textContent=v.shop;"
    "if((e=q('div[id=content_desc]')))e.innerHTML=v.desc;"
    "if((e=q('li[id=detail_name]')))e.textContent=v.detail;"
    "if((e=q('div[id=choose]'))){"
    "e.textContent='';"
    "v.choose.forEach(function(g){"
    "var dl=document.createElement('dl');"
    "var dt=document.createElement('dt');dt.textContent=g.name+'\\uff1a';dl.appendChild(dt);"
    "var dd=document.createElement('dd');"
    "g.values.forEach(function(x){var s=document.createElement('span');s.textContent=x;dd.appendChild(s);});"
    "dl.appendChild(dd);e.appendChild(dl);});}"
    "})(";

} // namespace

PreviewValues PreviewValuesOf(const entity::VumoDataEntity& vumo, const QString& shopName, const QString& pictureFolder)
{
    PreviewValues values;
    values.title = vumo.title();
    const QString shown = MainImageShowPath(vumo.logo(), pictureFolder);
    if (!shown.isEmpty())
        values.mainImageUrl = IsAddress(shown)
            ? shown
            : QUrl::fromLocalFile(QFileInfo(shown).absoluteFilePath()).toString(QUrl::FullyEncoded);
    values.marketPrice = vumo.market_price();
    values.yvPrice = vumo.yv_price();
    values.shopName = shopName;
    values.description = vumo.desc();
    QStringList displayTexts;
    for (const entity::VumoSkuEntity* sku : vumo.Skus()) {
        if (sku && !sku->DisplayText().isEmpty())
            displayTexts << sku->DisplayText();
    }
    values.saleAttributes = SaleAttributeGroups(displayTexts);
    return values;
}

QString JsStringLiteral(const QString& text)
{
    const QString json = JsonText(QJsonDocument(QJsonArray{text}));
    return json.mid(1, json.size() - 2);
}

QString PreviewFillScript(const PreviewValues& values)
{
    QJsonArray choose;
    for (const SaleAttributeGroup& group : values.saleAttributes)
        choose.append(QJsonObject{{QStringLiteral("name"), group.name},
                                  {QStringLiteral("values"), QJsonArray::fromStringList(group.values)}});
    const QJsonObject object{
        {QStringLiteral("title"), values.title},
        {QStringLiteral("img"), values.mainImageUrl},
        {QStringLiteral("market"), QString(QStringLiteral("￥") + utils::FormatMoney(values.marketPrice))},
        {QStringLiteral("yv"), utils::FormatMoney(values.yvPrice)},
        {QStringLiteral("shop"), values.shopName},
        {QStringLiteral("desc"), values.description},
        {QStringLiteral("detail"), QString(QStringLiteral("商品名称：") + values.title)},
        {QStringLiteral("choose"), choose},
    };
    return QString::fromUtf8(kFillFunction) + JsonText(QJsonDocument(object)) + QStringLiteral(");");
}

} // namespace Quorvia::vumo::editor

namespace Quorvia::vumo::editor {

QString PreviewBaseFolder()
{
    return DataRoot() + QStringLiteral("/preview/");
}

QString PreviewTemplatePath()
{
    const QString own = PreviewBaseFolder() + QStringLiteral("preview.html");
    return QFileInfo::exists(own) ? own : QStringLiteral(":/preview/preview.html");
}

} // namespace Quorvia::vumo::editor
