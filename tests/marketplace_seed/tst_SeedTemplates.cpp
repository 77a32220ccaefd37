#include "SeedCatalogue.h"

#include "io/excel/XlsWorkbook.h"
#include "support/TestMain.h"

#include <QFile>
#include <QSet>
#include <QTest>

using namespace Quorvia::marketplace;

namespace {

QString TemplatePath(const char* name)
{
    return QStringLiteral(SEED_TEMPLATE_DIR "/") + QString::fromLatin1(name);
}

QStringList Row(YExcel::XlsWorksheet* sheet, int row)
{
    QStringList cells;
    for (int col = 0; col < sheet->columnCount(); ++col) {
        YExcel::XlsCell* cell = sheet->cell(row, col);
        cells << (cell ? cell->text() : QString());
    }
    while (!cells.isEmpty() && cells.last().isEmpty())
        cells.removeLast();
    return cells;
}

const QStringList kListingColumns = QStringLiteral(
    "*三级分类ID|商品编号|*商品名称|*Yv价|*市场价|成本价|*商品毛重|*[包装]长|*[包装]宽|*[包装]高|UPC编码|货号|包装清单|"
    "售后服务|*库存量|*统一主图|*商品描述").split(QLatin1Char('|'));

} // namespace

class SeedTemplatesTest : public QObject
{
    Q_OBJECT

private slots:
    void bookTemplateHoldsTheBookLayout();
    void audioVideoTemplateNamesAudioVideoAttributes();
    void categoryLookupListsTheSeedTree();
    void descriptionFormatLoads();
};

void SeedTemplatesTest::bookTemplateHoldsTheBookLayout()
{
    YExcel::XlsWorkbook book;
    QVERIFY(book.load(TemplatePath("BookImportTemplate.xls")));
    YExcel::XlsWorksheet* sheet = book.worksheet(0);
    QVERIFY(sheet);
    const QStringList expected = kListingColumns + QStringLiteral(
        "*ISBN|*版次|包装|*出版社|出版时间|丛书名|外文名|正文语言|开本|套装数量|页数|字数|印次|印刷时间|用纸|品牌|附件|附件数量|"
        "中图法分类号|主题词|著者|编者|译者|绘者|校对|整理|注释|编纂|口述|朗读|摄影|书写|扩展属性|商家skuid").split(QLatin1Char('|'));
    QCOMPARE(Row(sheet, 0), expected);
}

void SeedTemplatesTest::audioVideoTemplateNamesAudioVideoAttributes()
{
    YExcel::XlsWorkbook book;
    QVERIFY(book.load(TemplatePath("AudioVideoImportTemplate.xls")));
    YExcel::XlsWorksheet* sheet = book.worksheet(0);
    QVERIFY(sheet);
    const QStringList titles = Row(sheet, 0);
    QCOMPARE(titles.mid(0, kListingColumns.size()), kListingColumns);
    QCOMPARE(titles.mid(kListingColumns.size(), 2), (QStringList{QStringLiteral("商家skuid"), QStringLiteral("扩展属性")}));

    // Every other column names an attribute of an audio-video category, and a "*" column
    // one that every such category requires.
    const SeedCatalogue c = MakeSeedCatalogue(QStringLiteral("empty"));
    QHash<qint64, const SeedCategory*> byId;
    for (const SeedCategory& x : c.categories)
        byId.insert(x.id, &x);
    QHash<QString, int> requiredIn;
    QSet<QString> names;
    QSet<qint64> avLeaves;
    for (const SeedAttribute& a : c.attributes) {
        const SeedCategory* leaf = byId.value(a.cid);
        const SeedCategory* top = leaf ? byId.value(byId.value(leaf->fid)->fid) : nullptr;
        if (!top || top->name != QStringLiteral("音像"))
            continue;
        avLeaves.insert(a.cid);
        names.insert(a.name);
        requiredIn[a.name] += a.isReq;
    }
    QVERIFY(!avLeaves.isEmpty());
    const QStringList attributes = titles.mid(kListingColumns.size() + 2);
    QVERIFY(attributes.size() >= 10);
    for (QString title : attributes) {
        const bool star = title.startsWith(QLatin1Char('*'));
        if (star)
            title.remove(0, 1);
        QVERIFY2(names.contains(title), qPrintable(title));
        if (star)
            QCOMPARE(requiredIn.value(title), int(avLeaves.size()));
    }
}

void SeedTemplatesTest::categoryLookupListsTheSeedTree()
{
    const SeedCatalogue c = MakeSeedCatalogue(QStringLiteral("demo"));
    const QByteArray csv = SeedCategoryLookupCsv(c);
    QFile source(TemplatePath("VumoCatsLookup.csv"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QCOMPARE(source.readAll(), csv); // the workbook's source is the current tree

    YExcel::XlsWorkbook book;
    QVERIFY(book.load(TemplatePath("VumoCatsLookup.xls")));
    YExcel::XlsWorksheet* sheet = book.worksheet(0);
    QVERIFY(sheet);
    const QList<QByteArray> lines = csv.trimmed().split('\n');
    QCOMPARE(sheet->rowCount(), lines.size());
    QCOMPARE(Row(sheet, 0).join(QLatin1Char(',')), QString::fromUtf8(lines.first()));
    // Every category of the tree, by id and path, in tree order.
    QCOMPARE(lines.size() - 1, c.categories.size());
    for (int i = 0; i < c.categories.size(); ++i) {
        const QStringList row = Row(sheet, i + 1);
        QCOMPARE(row.value(0), QString::number(c.categories.at(i).id));
        QVERIFY(row.value(1).endsWith(c.categories.at(i).name));
        QCOMPARE(row.value(1).count(QStringLiteral(">>")), c.categories.at(i).lev - 1);
    }
}

void SeedTemplatesTest::descriptionFormatLoads()
{
    YExcel::XlsWorkbook book;
    QVERIFY(book.load(TemplatePath("DescFormat.xls")));
    YExcel::XlsWorksheet* sheet = book.worksheet(0);
    QVERIFY(sheet);
    QCOMPARE(Row(sheet, 0), (QStringList{QStringLiteral("区块"), QStringLiteral("HTML示例"), QStringLiteral("说明")}));
    QVERIFY(sheet->rowCount() >= 5);
    bool image = false;
    for (int r = 1; r < sheet->rowCount(); ++r)
        image = image || Row(sheet, r).value(1).contains(QStringLiteral("<img src="));
    QVERIFY(image);
}

VUMO_TEST_CLASS(SeedTemplatesTest)
#include "tst_SeedTemplates.moc"
