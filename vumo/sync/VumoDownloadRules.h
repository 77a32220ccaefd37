#pragma once
// The rules of the listing download that need no thread and no widget: reading the seller's
// input into a condition, reading a "vumo" answer into a record, completing the brand pair and
// the texts shown at the end of a run.
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QVariantMap>

namespace Quorvia::vumo::entity {
class VumoDataEntity;
}

namespace Quorvia::vumo {

struct VumoDownloadCondition
{
    qint64 vumoId = -1; // -1: search by the other fields
    int status = 0;     // 0 or below: any
    qint64 cid = -1;
    qint32 lowPrice = -1; // whole currency units; -1: not given
    qint32 highPrice = -1;
    QDateTime start; // invalid: no bound on that side
    QDateTime end;
    QString title;
};

// A listing number as typed: 10 to 18 digits without a leading zero ("1000000001" -> true;
// "123456789", "0123456789", "12345a7890" -> false).
bool ParseVumoNumber(const QString& text, qint64* vumoId);

// Checks the dialog's (or the command line's) input and fills `condition` (status, cid and title
// are left for the caller). Returns the message to show, empty when the input is usable: the
// number, then the price range, then the time range, each with its own message.
QString CheckDownloadInput(const QString& numberText, const QString& lowText, const QString& highText,
                           const QDateTime& start, const QDateTime& end, VumoDownloadCondition& condition);

// Reads the members of a "vumo" answer into `record`, its "skus" into SKU records it owns.
void ReadVumoAnswer(const QVariantMap& vumo, entity::VumoDataEntity& record);

// Puts the brand pair "<aid>:<brandId>" into an attribute text, replacing a pair of the same
// attribute: ("1:2|100:7", 100, 9) -> "1:2|100:9"; ("1:2;3:4", 100, 9) -> "1:2|3:4|100:9".
QString CompleteBrandPair(const QString& attributes, qint64 brandAid, qint64 brandId);

// "已下载%1个商品，共%2个商品"
QString DownloadProgressText(qint64 completed, qint64 total);
// The end-of-run line, "已取消商品下载，" or "已完成商品下载，" then the counts.
QString DownloadSummary(bool cancelled, qint64 total, qint64 completed, qint64 failed);
// The failure table (number -> reason); listings whose unsent local changes were overwritten
// follow as a note. Empty when there is nothing to show.
QString DownloadFailureTable(const QMap<qint64, QString>& failures, const QList<qint64>& overwritten = {});
// The same as plain text lines, for a terminal.
QString DownloadFailureText(const QMap<qint64, QString>& failures, const QList<qint64>& overwritten = {});

} // namespace Quorvia::vumo
