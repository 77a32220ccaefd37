#include "database/VumoCompleteness.h"

#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"
#include "utils/Log.h"

#include <QPair>
#include <QRegularExpression>

namespace Quorvia::vumo::database {

using Quorvia::vumo::entity::VumoDataEntity;
using Quorvia::vumo::entity::VumoSkuEntity;

namespace {

constexpr qint64 kMaxStock = 999999999;

// Price failures go to "contol" with the store's own source position.
QString priceFailure(int line, const QString& message)
{
    qCDebug(lcContol).noquote() << QStringLiteral("%1[%2]").arg(QStringLiteral("Database\\VumoDb")).arg(line)
                                << message;
    return message;
}

QString checkPrices(const VumoDataEntity& record)
{
    const qint64 market = record.market_price();
    const qint64 yv = record.yv_price();
    const qint64 minYv = record.min_yvprice();
    const qint64 maxYv = record.max_yvprice();
    const bool ranged = minYv != maxYv;

    for (const VumoSkuEntity* sku : record.Skus()) {
        if (!sku)
            return priceFailure(__LINE__, QStringLiteral("商品数据无效"));
        // Only SKUs with sale attributes count; the default SKU and SKUs marked deleted do not.
        if (sku->attributes().isEmpty() || sku->status() == 0)
            continue;
        if (sku->yv_price() <= 0 || market <= 0)
            return priceFailure(__LINE__, QStringLiteral("Yv价和销售属性表中的市场价不能为空且大于0"));
        if (sku->yv_price() > market)
            return priceFailure(__LINE__, QStringLiteral("销售属性Yv价必须小于或等于商品市场价"));
        if (ranged && (sku->yv_price() < minYv || sku->yv_price() > maxYv))
            return priceFailure(__LINE__, QStringLiteral("商品Yv价不能超出销售属性表中的价格范围"));
    }
    if (yv <= 0 || market <= 0)
        return priceFailure(__LINE__, QStringLiteral("市场价和Yv价不能为空且大于0"));
    if (yv > market)
        return priceFailure(__LINE__, QStringLiteral("Yv价必须小于或等于市场价"));
    if (ranged && (yv < minYv || yv > maxYv))
        return priceFailure(__LINE__, QStringLiteral("商品Yv价不能超出销售属性表中的价格范围"));
    return QString();
}

QStringList splitKeepingEmpty(const QString& text)
{
    if (text.isEmpty())
        return QStringList();
    return text.split(QLatin1Char('|'));
}

} // namespace

bool AnalysisAttvalues(const QString& inputPids, const QString& inputStrs, QStringList& pids, QStringList& strs)
{
    pids = splitKeepingEmpty(inputPids);
    strs = splitKeepingEmpty(inputStrs);
    if (pids.size() != strs.size()) {
        qCWarning(lcVumo).noquote() << QStringLiteral(
            "VumoDb::AnalysisAttvalues  可输入属性ID串Input_pids和可输入属性值串Input_strs解析后长度不相同");
        return false;
    }
    return true;
}

bool ParseAttributeItems(const QString& attributes, QList<QPair<QString, QStringList>>& items)
{
    static const QRegularExpression separators(QStringLiteral("[|^;]"));
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    const QStringList parts = attributes.split(separators, Qt::SkipEmptyParts);
    for (const QString& raw : parts) {
        const QString item = raw.trimmed();
        if (item.isEmpty())
            continue;
        const int colon = item.indexOf(QLatin1Char(':'));
        if (colon <= 0)
            return false;
        const QString aid = item.left(colon).trimmed();
        const QStringList vids = item.mid(colon + 1).split(QLatin1Char(','), Qt::SkipEmptyParts);
        if (!digits.match(aid).hasMatch() || vids.isEmpty())
            return false;
        QStringList trimmed;
        for (const QString& vid : vids)
            trimmed << vid.trimmed();
        items.append(qMakePair(aid, trimmed));
    }
    return true;
}

QString CheckVumoCompleteness(const VumoDataEntity& record, int stockMode)
{
    if (record.title().trimmed().isEmpty())
        return QStringLiteral("商品名称不能为空");
    if (record.logo().isEmpty() && !record.ImagesOnline())
        return QStringLiteral("商品主图不能为空");
    if (record.desc().trimmed().isEmpty())
        return QStringLiteral("商品描述不能为空");
    if (!(record.weight() > 0) || record.length() <= 0 || record.wide() <= 0 || record.high() <= 0)
        return QStringLiteral("商品包装尺寸及重量不能为空且大于0");

    const QString priceMessage = checkPrices(record);
    if (!priceMessage.isEmpty())
        return priceMessage;

    if (stockMode == 1) {
        // A negative piece type is as invalid as one above the largest.
        const int pieceType = record.vumo_big_small_model();
        if (pieceType > 8 || pieceType < 0)
            return QStringLiteral("商品件型无效");
        const int packType = record.vumo_pack_type();
        if (packType < 0 || packType > 5)
            return QStringLiteral("商品包装无效");
    } else {
        const qint64 stock = record.stock_num();
        if (stock < 0 || stock > kMaxStock)
            return QStringLiteral("库存必须大于或等于0，且小于999999999");
    }

    if (record.cid() < 1)
        return QStringLiteral("Yv分类不能为空");

    QStringList pids;
    QStringList strs;
    QList<QPair<QString, QStringList>> items;
    if (!AnalysisAttvalues(record.input_pids(), record.input_strs(), pids, strs)
        || !ParseAttributeItems(record.attributes(), items))
        return QStringLiteral("商品属性有误");
    return QString();
}

} // namespace Quorvia::vumo::database
