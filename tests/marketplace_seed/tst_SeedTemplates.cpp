#include "SeedCatalogue.h"

#include "io/excel/XlsWorkbook.h"
#include "support/TestMain.h"

#include <QFile>
#include <QSet>
#include <QTest>

using namespace Quorvia::marketplace;

namespace {

QString TemplatePath(const QString& name)
{
    return QStringLiteral(SEED_TEMPLATE_DIR "/") + name;
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

// The import reads these columns by position.
const QStringList kListingColumns = QStringLiteral("*三级分类ID|商品编号|*商品名称|*Yv价|*市场价|成本价|*商品毛重|*["
                                                   "包装]长|*[包装]宽|*[包装]高|UPC编码|货号|包装清单|"
                                                   "售后服务|*库存量|*统一主图|*商品描述")
                                        .split(QLatin1Char('|'));

} // namespace

class SeedTemplatesTest : public QObject
{
    Q_OBJECT

private slots:
    void importTemplateNamesTheCategoriesAttributes_data();
    void importTemplateNamesTheCategoriesAttributes();
    void categoryLookupListsTheSeedTree();
    void descriptionFormatLoads();
};

void SeedTemplatesTest::importTemplateNamesTheCategoriesAttributes_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("top");
    QTest::addColumn<bool>("inEveryCategory");
    QTest::newRow("book") << QStringLiteral("BookImportTemplate.xls") << QStringLiteral("图书") << true;
    QTest::newRow("audio-video") << QStringLiteral("AudioVideoImportTemplate.xls") << QStringLiteral("音像") << false;
}

void SeedTemplatesTest::importTemplateNamesTheCategoriesAttributes()
{
    QFETCH(QString, file);
    QFETCH(QString, top);
    QFETCH(bool, inEveryCategory);
    YExcel::XlsWorkbook book;
    QVERIFY(book.load(TemplatePath(file)));
    YExcel::XlsWorksheet* sheet = book.worksheet(0);
    QVERIFY(sheet);
    QStringList titles = Row(sheet, 0);
    QCOMPARE(titles.mid(0, kListingColumns.size()), kListingColumns);
    titles = titles.mid(kListingColumns.size());
    QVERIFY(titles.removeAll(QStringLiteral("商家skuid")) == 1 && titles.removeAll(QStringLiteral("扩展属性")) == 1);

    // Every other column names an attribute of the categories under the top one, and a "*"
    // column one that every such category requires.
    const SeedCatalogue c = MakeSeedCatalogue(QStringLiteral("empty"));
    QHash<qint64, const SeedCategory*> byId;
    for (const SeedCategory& x : c.categories)
        byId.insert(x.id, &x);
    QHash<QString, int> presentIn, requiredIn;
    QSet<qint64> leaves;
    for (const SeedAttribute& a : c.attributes) {
        const SeedCategory* leaf = byId.value(a.cid);
        const SeedCategory* under = leaf ? byId.value(byId.value(leaf->fid)->fid) : nullptr;
        if (!under || under->name != top)
            continue;
        leaves.insert(a.cid);
        ++presentIn[a.name];
        requiredIn[a.name] += a.isReq;
    }
    QVERIFY(!leaves.isEmpty());
    QVERIFY(titles.size() >= 10);
    for (QString title : std::as_const(titles)) {
        const bool star = title.startsWith(QLatin1Char('*'));
        if (star)
            title.remove(0, 1);
        QVERIFY2(inEveryCategory ? presentIn.value(title) == leaves.size() : presentIn.value(title) > 0,
                 qPrintable(title));
        if (star)
            QCOMPARE(requiredIn.value(title), int(leaves.size()));
    }
}

void SeedTemplatesTest::categoryLookupListsTheSeedTree()
{
    const SeedCatalogue c = MakeSeedCatalogue(QStringLiteral("demo"));
    const QByteArray csv = SeedCategoryLookupCsv(c);
    QFile source(TemplatePath(QStringLiteral("VumoCatsLookup.csv")));
    QVERIFY(source.open(QIODevice::ReadOnly));
    QCOMPARE(source.readAll(), csv); // the workbook's source is the current tree

    YExcel::XlsWorkbook book;
    QVERIFY(book.load(TemplatePath(QStringLiteral("VumoCatsLookup.xls"))));
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
    QVERIFY(book.load(TemplatePath(QStringLiteral("DescFormat.xls"))));
    YExcel::XlsWorksheet* sheet = book.worksheet(0);
    QVERIFY(sheet && sheet->rowCount() >= 5);
}

VUMO_TEST_CLASS(SeedTemplatesTest)
#include "tst_SeedTemplates.moc"
