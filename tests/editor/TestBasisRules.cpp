// The basic page's rules without widgets: input rules, how stored values are shown, the
// discount, the stock of listings with SKUs, and the check and store of the form.
#include "support/TestMain.h"

#include "editor/PictureFiles.h"
#include "editor/VumoBasisRules.h"
#include "editor/VumoEditSave.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"
#include "sync/VumoImageFetch.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace Quorvia::vumo::editor;
using Quorvia::vumo::entity::VumoDataEntity;
using Quorvia::vumo::entity::VumoSkuEntity;

Q_DECLARE_METATYPE(QList<BasisField>)

namespace {

// A form that passes every check.
BasisForm GoodForm()
{
    BasisForm f;
    f.title = QStringLiteral("夏季T恤");
    f.yvPrice = QStringLiteral("80");
    f.marketPrice = QStringLiteral("100");
    f.weight = QStringLiteral("0.5");
    f.length = QStringLiteral("30");
    f.wide = QStringLiteral("20");
    f.high = QStringLiteral("10");
    f.stock = QStringLiteral("5");
    f.cid = 1101;
    f.logo = QStringLiteral("logo.jpg");
    f.special.packType = 1;
    return f;
}

VumoSkuEntity* Sku(const QString& attributes, qint64 stock, int status = 2)
{
    auto* sku = new VumoSkuEntity;
    sku->set_attributes(attributes);
    sku->set_stock_num(stock);
    sku->set_status(status);
    return sku;
}

bool WritePicture(const QString& path, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    return image.save(path);
}

} // namespace

class TestBasisRules : public QObject
{
    Q_OBJECT

private slots:
    void inputRules_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        // Sizes are 1 to 99999 and shelf-life days 1 to 9999, typed without a leading zero.
        const QString size = QString::fromLatin1(kSizeRule);
        const QString days = QString::fromLatin1(kShelfLifeDaysRule);
        QTest::newRow("size one digit") << size << "5" << true;
        QTest::newRow("size five digits") << size << "99999" << true;
        QTest::newRow("size zero") << size << "0" << false;
        QTest::newRow("size six digits") << size << "100000" << false;
        QTest::newRow("days one") << days << "1" << true;
        QTest::newRow("days four digits") << days << "9999" << true;
        QTest::newRow("days five digits") << days << "10000" << false;
    }
    void inputRules()
    {
        QFETCH(QString, rule);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QCOMPARE(MatchesRule(rule.toLatin1().constData(), text), accepted);
    }

    void loadTexts()
    {
        QCOMPARE(PriceText(0), QString());
        QCOMPARE(PriceText(99999999999), QStringLiteral("999999999.99"));
        QCOMPARE(PriceText(100000000000), QString());
        QCOMPARE(WeightText(1.5), QStringLiteral("1.500"));
        QCOMPARE(SizeText(100000), QString());
        QCOMPARE(CleanTitleText(QStringLiteral("\t夏季\r\nT恤\v\f ")), QStringLiteral("夏季T恤 "));
        QCOMPARE(ShopCategoryNames(QStringLiteral("12-34;56-56|Phones/Cases;Gifts/Gifts")),
                 QStringLiteral("Phones/Cases; Gifts/Gifts"));
    }

    void discount_data()
    {
        QTest::addColumn<qint64>("yv");
        QTest::addColumn<qint64>("market");
        QTest::addColumn<double>("discount");
        QTest::newRow("eighty") << qint64(8000) << qint64(10000) << 80.0;
        QTest::newRow("half rounds up") << qint64(199) << qint64(200) << 100.0;
        QTest::newRow("below one") << qint64(1) << qint64(1000) << 0.0;
        QTest::newRow("just above market") << qint64(10049) << qint64(10000) << 100.0;
        QTest::newRow("above 100") << qint64(10050) << qint64(10000) << 0.0;
        QTest::newRow("market zero") << qint64(5) << qint64(0) << 0.0;
        QTest::newRow("largest prices") << qint64(99999999999) << qint64(99999999999) << 100.0;
    }
    void discount()
    {
        QFETCH(qint64, yv);
        QFETCH(qint64, market);
        QFETCH(double, discount);
        QCOMPARE(CalculateDiscount(yv, market), discount);
    }

    void typedDiscount()
    {
        // Typed prices are rounded to whole units before the ratio: 99.5 counts as 100.
        QCOMPARE(TypedDiscountText(QStringLiteral("99.5"), QStringLiteral("100")), QStringLiteral("100"));
        QCOMPARE(TypedDiscountText(QStringLiteral("."), QStringLiteral("100")), QString());
    }

    void stockField()
    {
        QCOMPARE(StockFieldFor(-1, {}).text, QString());
        VumoDataEntity one;
        one.AddSku(Sku(QString(), 3));
        QVERIFY(StockFieldFor(9, one.Skus()).editable);
        QCOMPARE(StockFieldFor(9, one.Skus()).text, QStringLiteral("9"));

        VumoDataEntity two;
        two.AddSku(Sku(QStringLiteral("1000:1"), 5));
        two.AddSku(Sku(QStringLiteral("1000:2"), 7));
        two.AddSku(Sku(QStringLiteral("1000:3"), 40, 0)); // deleted
        two.AddSku(Sku(QString(), 100));                  // the default SKU does not count
        const StockField field = StockFieldFor(99, two.Skus());
        QVERIFY(!field.editable);
        QCOMPARE(field.text, QStringLiteral("12"));
    }

    void cutTypedText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cursor");
        QTest::addColumn<int>("limit");
        QTest::addColumn<QString>("cut");
        QTest::addColumn<int>("newCursor");
        QTest::newRow("typed in the middle") << "abcXYd" << 5 << 4 << "abcd" << 3;
        QTest::newRow("pasted at the start") << "XYZabcd" << 2 << 4 << "Zabc" << 0;
        QTest::newRow("pair kept whole") << QStringLiteral("ab\U0001F600") << 4 << 3 << "ab" << 2;
    }
    void cutTypedText()
    {
        QFETCH(QString, text);
        QFETCH(int, cursor);
        QFETCH(int, limit);
        QFETCH(QString, cut);
        QFETCH(int, newCursor);
        const TextCut result = CutTypedText(text, cursor, limit);
        QCOMPARE(result.text, cut);
        QCOMPARE(result.cursor, newCursor);
        QVERIFY(result.text.size() <= limit);
    }

    void checkMessages_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message"); // empty: accepted
        const QString must = QStringLiteral("为必填项且必须大于0!");
        QTest::newRow("empty cost accepted") << "cost"
                                             << "" << QString();
        QTest::newRow("cost zero") << "cost"
                                   << "0" << QString(QStringLiteral("成本价") + must);
        QTest::newRow("yv above market") << "yv"
                                         << "100.01" << QStringLiteral("商品Yv价不能大于市场价！");
        QTest::newRow("yv equals market") << "yv"
                                          << "100" << QString();
        QTest::newRow("weight too small") << "weight"
                                          << "0.0009" << QString(QStringLiteral("重量") + must);
        QTest::newRow("weight smallest") << "weight"
                                         << "0.001" << QString();
        QTest::newRow("stock negative") << "stock"
                                        << "-1" << QStringLiteral("库存不能小于0!");
        QTest::newRow("stock ten digits") << "stock"
                                          << "1000000000" << QStringLiteral("库存必须为9位以内的数字!");
        QTest::newRow("title of blanks") << "title"
                                         << " \t " << QStringLiteral("商品名称不能为空！");
        QTest::newRow("no category") << "cid"
                                     << "0" << QStringLiteral("Yv分类不能为空！");
    }
    void checkMessages()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, message);
        BasisForm form = GoodForm();
        QString* text = field == QLatin1String("cost") ? &form.costPrice
            : field == QLatin1String("yv")             ? &form.yvPrice
            : field == QLatin1String("weight")         ? &form.weight
            : field == QLatin1String("stock")          ? &form.stock
                                                       : &form.title;
        if (field == QLatin1String("cid"))
            form.cid = value.toLongLong();
        else
            *text = value;
        VumoDataEntity record;
        record.set_vumo_status(8);
        BasisOutcome outcome;
        QCOMPARE(CheckAndStoreBasis(form, BasisStoreOptions{}, record, nullptr, outcome), message.isEmpty());
        QCOMPARE(outcome.messages.value(0), message);
        QVERIFY(outcome.messages.size() <= 1);
    }

    void everyCheckRunsInOrder()
    {
        BasisForm form = GoodForm();
        form.yvPrice.clear(); // the price group reports only its first failure
        form.weight.clear();
        form.stock = QStringLiteral("-3");
        form.title.clear(); // an empty title hides the missing category
        form.cid = 0;
        form.logo.clear();
        form.attributesComplete = false;
        form.special.shelfLife = true;
        form.special.packType = 0;
        VumoDataEntity record;
        record.set_title(QStringLiteral("旧标题"));
        BasisStoreOptions options;
        options.stockMode = 1; // no stock check; special attributes checked
        BasisOutcome outcome;
        QVERIFY(!CheckAndStoreBasis(form, options, record, nullptr, outcome));
        QCOMPARE(outcome.messages,
                 (QStringList{QStringLiteral("Yv价为必填项且必须大于0!"), QStringLiteral("商品名称不能为空！"),
                              QStringLiteral("商品主图不能为空"), QStringLiteral("商品属性不完整！"),
                              QStringLiteral("保质期不能为空！"), QStringLiteral("未选择商品包装")}));
        QCOMPARE(outcome.failed,
                 (QList<BasisField>{BasisField::YvPrice, BasisField::Title, BasisField::MainImage,
                                    BasisField::Attributes, BasisField::ShelfLifeDays, BasisField::PackType}));
        // A refused form leaves the record alone.
        QCOMPARE(record.title(), QStringLiteral("旧标题"));

        // The preview checks neither the special attributes.
        options.preview = true;
        BasisOutcome preview;
        QVERIFY(!CheckAndStoreBasis(form, options, record, nullptr, preview));
        QCOMPARE(preview.messages.size(), 4);
    }

    void storesValues()
    {
        BasisForm form = GoodForm();
        form.title = QStringLiteral("  夏季\tT恤\n ");
        form.costPrice = QStringLiteral("0.005");
        form.yvPrice = QStringLiteral("19.99");
        form.itemNum = QStringLiteral(" A-1 ");
        form.attributes.attributes = QStringLiteral("10:101|20:201,202");
        form.attributes.inputPids = QStringLiteral("30");
        form.attributes.inputStrs = QStringLiteral("it's");
        form.attributes.brandVid = 101;
        form.shopCategorys = QStringLiteral("12-34|Phones/Cases");
        VumoDataEntity record;
        record.set_vumo_status(8);
        record.set_shop_categorys(QStringLiteral("56-56|Gifts/Gifts"));
        BasisOutcome outcome;
        QVERIFY(CheckAndStoreBasis(form, BasisStoreOptions{}, record, nullptr, outcome));
        QCOMPARE(record.title(), QStringLiteral("夏季T恤"));
        QCOMPARE(record.cost_price(), qint64(1));
        QCOMPARE(record.yv_price(), qint64(1999));
        QCOMPARE(record.high(), qint64(10));
        QCOMPARE(record.stock_num(), qint64(5));
        QCOMPARE(record.item_num(), QStringLiteral("A-1"));
        QCOMPARE(record.input_strs(), QStringLiteral("it's"));
        QCOMPARE(record.brand_id(), qint64(101));
        QVERIFY(outcome.shopCategorysChanged);
        QCOMPARE(outcome.oldShopCategorys, QStringLiteral("56-56|Gifts/Gifts"));
        QCOMPARE(record.shop_categorys(), form.shopCategorys);

        // Stock mode 1 keeps no stock on the listing, SKUs or not.
        record.AddSku(Sku(QStringLiteral("1000:1"), 5));
        BasisStoreOptions noStock;
        noStock.stockMode = 1;
        QVERIFY(CheckAndStoreBasis(form, noStock, record, nullptr, outcome));
        QCOMPARE(record.stock_num(), qint64(-1));
    }

    void specialAttrsByStockMode_data()
    {
        QTest::addColumn<int>("stockMode");
        QTest::addColumn<bool>("payFirst");
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("pack");
        QTest::newRow("mode 911 reads only VAT") << 911 << false << 0 << 0;
        QTest::newRow("mode 2 adds pay first") << 2 << true << 0 << 0;
        QTest::newRow("mode 1 reads everything") << 1 << true << 30 << 4;
    }
    void specialAttrsByStockMode()
    {
        QFETCH(int, stockMode);
        QFETCH(bool, payFirst);
        QFETCH(int, days);
        QFETCH(int, pack);
        SpecialAttrForm form;
        form.canVat = true;
        form.payFirst = true;
        form.shelfLife = true;
        form.shelfLifeDays = QStringLiteral("30");
        form.packType = 4;
        VumoDataEntity record;
        StoreSpecialAttrs(form, stockMode, record);
        QVERIFY(record.is_can_vat());
        QCOMPARE(record.is_pay_first(), payFirst);
        QCOMPARE(record.shelf_life_days(), days);
        QCOMPARE(record.vumo_pack_type(), pack);

        form.shelfLife = false;
        StoreSpecialAttrs(form, 1, record);
        QCOMPARE(record.shelf_life_days(), -1);
    }

    void addressLogo_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("localCopy");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("storedAsLocal");
        QTest::newRow("online listing") << 8 << false << QString() << false;
        QTest::newRow("online listing with copy") << 8 << true << QString() << false;
        QTest::newRow("local listing") << 2014 << false << QStringLiteral("商品主图不能为网络图片") << false;
        QTest::newRow("local listing with copy") << 2014 << true << QString() << true;
    }
    void addressLogo()
    {
        QFETCH(int, status);
        QFETCH(bool, localCopy);
        QFETCH(QString, message);
        QFETCH(bool, storedAsLocal);
        QTemporaryDir folder;
        const QString url = QStringLiteral("http://img.example/n2/jfs/t1/logo.jpg");
        const QString local = Quorvia::vumo::PictureNameFromUrl(Quorvia::vumo::FullSizePictureUrl(url));
        if (localCopy)
            QVERIFY(WritePicture(QDir(folder.path()).filePath(local), 800, 800));
        BasisForm form = GoodForm();
        form.logo = url;
        VumoDataEntity record;
        record.set_vumo_status(status);
        record.set_logo(url);
        BasisStoreOptions options;
        options.pictureFolder = folder.path();
        BasisOutcome outcome;
        VumoEditSave save;
        QCOMPARE(CheckAndStoreBasis(form, options, record, &save, outcome), message.isEmpty());
        QCOMPARE(outcome.messages.value(0), message);
        QCOMPARE(record.logo(), storedAsLocal ? local : url);
        QVERIFY(save.copiedFiles.isEmpty());
    }

    void pickedLogoIsCopied()
    {
        QTemporaryDir disk;
        QTemporaryDir folder;
        const QString picked = QDir(disk.path()).filePath(QStringLiteral("mine.jpg"));
        QVERIFY(WritePicture(picked, 800, 800));
        QVERIFY(WritePicture(QDir(folder.path()).filePath(QStringLiteral("old.jpg")), 800, 800));
        BasisForm form = GoodForm();
        form.logo = picked;
        form.logoPicked = true;
        VumoDataEntity record;
        record.set_vumo_status(2014);
        record.set_logo(QStringLiteral("old.jpg"));
        BasisStoreOptions options;
        options.pictureFolder = folder.path();
        options.salt = QStringLiteral("demo_seller");

        // The preview copies nothing and shows the picked file.
        VumoDataEntity copy;
        copy.set_vumo_status(2014);
        options.preview = true;
        BasisOutcome previewOutcome;
        QVERIFY(CheckAndStoreBasis(form, options, copy, nullptr, previewOutcome));
        QCOMPARE(copy.logo(), picked);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 1);

        options.preview = false;
        VumoEditSave save;
        BasisOutcome outcome;
        QVERIFY(CheckAndStoreBasis(form, options, record, &save, outcome));
        const QString name = PictureFolderName(picked, options.salt);
        QCOMPARE(record.logo(), name);
        QCOMPARE(save.copiedFiles, QStringList{name});
        QCOMPARE(save.releasedFiles, QStringList{QStringLiteral("old.jpg")});
        QVERIFY(QFile::exists(QDir(folder.path()).filePath(name)));
        QVERIFY(QFile::exists(picked)); // the seller's own file stays

        // A picked file that went away keeps the old logo.
        record.set_logo(QStringLiteral("old.jpg"));
        form.logo = QDir(disk.path()).filePath(QStringLiteral("gone.jpg"));
        VumoEditSave failed;
        BasisOutcome refused;
        QVERIFY(!CheckAndStoreBasis(form, options, record, &failed, refused));
        QCOMPARE(refused.messages, QStringList{QStringLiteral("商品主图保存失败，请检查路径是否正确！")});
        QCOMPARE(record.logo(), QStringLiteral("old.jpg"));
        QVERIFY(failed.copiedFiles.isEmpty() && failed.releasedFiles.isEmpty());
    }
};

VUMO_TEST_CLASS(TestBasisRules)
#include "TestBasisRules.moc"
