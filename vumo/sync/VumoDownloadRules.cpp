#include "sync/VumoDownloadRules.h"

#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"

#include <QRegularExpression>
#include <QStringList>

namespace Quorvia::vumo {

using entity::VumoDataEntity;
using entity::VumoSkuEntity;

bool ParseVumoNumber(const QString& text, qint64* vumoId)
{
    static const QRegularExpression digits(QStringLiteral("^[1-9][0-9]{9,17}$"));
    if (!digits.match(text).hasMatch())
        return false;
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    if (ok && vumoId)
        *vumoId = id;
    return ok;
}

namespace {

// Empty -> -1; otherwise a whole number of at least 0.
bool ReadPrice(const QString& text, qint32& price)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) {
        price = -1;
        return true;
    }
    bool ok = false;
    price = trimmed.toInt(&ok);
    return ok && price >= 0;
}

} // namespace

QString CheckDownloadInput(const QString& numberText, const QString& lowText, const QString& highText,
                           const QDateTime& start, const QDateTime& end, VumoDownloadCondition& condition)
{
    const QString number = numberText.trimmed();
    condition.vumoId = -1;
    if (!number.isEmpty() && !ParseVumoNumber(number, &condition.vumoId))
        return QStringLiteral("<font color=red>请确认商品编号是否正确！</font>");
    if (!ReadPrice(lowText, condition.lowPrice) || !ReadPrice(highText, condition.highPrice)
        || (condition.lowPrice >= 0 && condition.highPrice >= 0 && condition.lowPrice > condition.highPrice))
        return QStringLiteral("<font color=red>请确认Yv价范围是否正确！</font>");
    if (start.isValid() && end.isValid() && end < start)
        return QStringLiteral("<font color=red>请确认时间范围是否正确！</font>");
    condition.start = start;
    condition.end = end;
    return QString();
}

void ReadVumoAnswer(const QVariantMap& vumo, VumoDataEntity& record)
{
    for (auto it = vumo.cbegin(); it != vumo.cend(); ++it) {
        if (it.key() != QLatin1String("skus")) {
            record.SetApiValue(it.key(), it.value());
            continue;
        }
        for (const QVariant& item : it.value().toList()) {
            if (item.metaType().id() != QMetaType::QVariantMap)
                continue;
            auto* sku = new VumoSkuEntity;
            const QVariantMap members = item.toMap();
            for (auto m = members.cbegin(); m != members.cend(); ++m)
                sku->SetApiValue(m.key(), m.value());
            record.AddSku(sku);
        }
    }
}

QString CompleteBrandPair(const QString& attributes, qint64 brandAid, qint64 brandId)
{
    static const QRegularExpression separators(QStringLiteral("[|;]"));
    const QString key = QString::number(brandAid) + QLatin1Char(':');
    const QString pair = key + QString::number(brandId);
    QStringList pairs;
    bool replaced = false;
    for (const QString& item : attributes.trimmed().split(separators, Qt::SkipEmptyParts)) {
        if (!item.startsWith(key)) {
            pairs << item;
        } else if (!replaced) {
            pairs << pair;
            replaced = true;
        }
    }
    if (!replaced)
        pairs << pair;
    return pairs.join(QLatin1Char('|'));
}

QString DownloadProgressText(qint64 completed, qint64 total)
{
    return QStringLiteral("已下载%1个商品，共%2个商品").arg(completed).arg(total);
}

QString DownloadSummary(bool cancelled, qint64 total, qint64 completed, qint64 failed)
{
    const QString prefix = cancelled ? QStringLiteral("已取消商品下载，") : QStringLiteral("已完成商品下载，");
    return prefix
        + QStringLiteral("本次共需下载%1个商品，已完成%2个，其中成功%3个，失败%4个！")
              .arg(total)
              .arg(completed)
              .arg(completed - failed)
              .arg(failed);
}

namespace {
const QString kOverwrittenNote = QStringLiteral("以下商品的本地修改尚未上传，已被下载的内容覆盖：");
}

QString DownloadFailureTable(const QMap<qint64, QString>& failures, const QList<qint64>& overwritten)
{
    QString html;
    if (!failures.isEmpty()) {
        QStringList rows;
        int index = 0;
        for (auto it = failures.cbegin(); it != failures.cend(); ++it)
            rows << QStringLiteral("<td>%1</td><td>%2</td><td>%3</td>")
                        .arg(++index)
                        .arg(it.key())
                        .arg(it.value().toHtmlEscaped());
        html = QStringLiteral("提示：<br /><table border=\"1\" cellspacing=\"0\" cellpadding=\"2\"><tr><th></th>"
                              "<th>下载失败商品</th><th>失败原因</th></tr><tr>")
            + rows.join(QStringLiteral("</tr><tr>")) + QStringLiteral("</tr></table>");
    }
    if (!overwritten.isEmpty()) {
        QStringList numbers;
        for (qint64 id : overwritten)
            numbers << QString::number(id);
        html += QStringLiteral("<br />") + kOverwrittenNote + numbers.join(QStringLiteral("、"));
    }
    return html;
}

QString DownloadFailureText(const QMap<qint64, QString>& failures, const QList<qint64>& overwritten)
{
    QStringList lines;
    if (!failures.isEmpty())
        lines << QStringLiteral("下载失败商品\t失败原因");
    for (auto it = failures.cbegin(); it != failures.cend(); ++it)
        lines << QStringLiteral("%1\t%2").arg(it.key()).arg(it.value());
    if (!overwritten.isEmpty()) {
        lines << kOverwrittenNote;
        for (qint64 id : overwritten)
            lines << QString::number(id);
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace Quorvia::vumo
