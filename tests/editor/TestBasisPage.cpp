// The basic page as a seller meets it: what loading shows, typing, the fields the stock mode
// hides, the failure marks and picking a main picture.
#include "support/TestMain.h"

#include "PickerStoreFixture.h"
#include "editor/SpecialAttrWidget.h"
#include "editor/VumoBasisInfo.h"
#include "editor/VumoEditSave.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoSkuEntity.h"
#include "support/MessageCollector.h"
#include "utils/VumoIni.h"

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QQuickWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Quorvia::vumo;
using entity::VumoDataEntity;

namespace {

void AddSku(VumoDataEntity& vumo, const QString& attributes, qint64 stock)
{
    auto* sku = new entity::VumoSkuEntity;
    sku->set_attributes(attributes);
    sku->set_stock_num(stock);
    vumo.AddSku(sku);
}

editor::VumoEditContext Context(int stockMode)
{
    editor::VumoEditContext context;
    context.uid = VumoTest::DemoLogin().uid;
    context.stockMode = stockMode;
    return context;
}

} // namespace

class TestBasisPage : public QObject
{
    Q_OBJECT

private slots:
    void loadTypeAndMark()
    {
        VumoTest::PickerStoreFixture store;
        QVERIFY(store.valid);
        VumoDataEntity vumo;
        vumo.set_cid(store.categoryId(QStringLiteral("男装"), QStringLiteral("T恤")));
        vumo.set_title(QStringLiteral("夏季\tT恤"));
        vumo.set_yv_price(8000);
        vumo.set_market_price(10000);
        vumo.set_stock_num(3);
        vumo.set_pack_listing(QString(150, QLatin1Char('a'))); // longer than a typed one may be
        AddSku(vumo, QStringLiteral("1000:1"), 5);
        AddSku(vumo, QStringLiteral("1000:2"), 7);

        VumoBasisInfo page(Context(0));
        page.resize(1000, 600);
        page.show();
        QSignalSpy changed(&page, &VumoEditInterface::VumoChangedSignal);
        page.LoadVumo(&vumo);
        QCOMPARE(changed.count(), 0);

        auto* title = page.findChild<QLineEdit*>(QStringLiteral("m_ptitleEdit"));
        auto* yv = page.findChild<QLineEdit*>(QStringLiteral("m_pYVPriceEdit"));
        auto* stock = page.findChild<QLineEdit*>(QStringLiteral("m_pstockNumEdit"));
        QCOMPARE(title->text(), QStringLiteral("夏季T恤"));
        QCOMPARE(page.findChild<QLineEdit*>(QStringLiteral("m_pdiscountEdit"))->text(), QStringLiteral("80"));
        QCOMPARE(page.findChild<QLineEdit*>(QStringLiteral("m_pYVCategoryEdit"))->text(),
                 QStringLiteral("服装>>男装>>T恤"));
        QCOMPARE(stock->text(), QStringLiteral("12"));
        QVERIFY(!stock->isEnabled());
        QCOMPARE(page.findChild<QQuickWidget*>(QStringLiteral("ImgView"))->status(), QQuickWidget::Ready);

        // A tab typed (or pasted) into the title goes at once.
        title->setCursorPosition(2);
        title->insert(QStringLiteral("\t"));
        QCOMPARE(title->text(), QStringLiteral("夏季T恤"));
        QVERIFY(changed.count() > 0);

        // Typing into a stored text over the limit takes back only what was typed.
        auto* pack = page.findChild<QPlainTextEdit*>(QStringLiteral("m_pPackListingEdit"));
        pack->moveCursor(QTextCursor::End);
        pack->insertPlainText(QStringLiteral("b"));
        QCOMPARE(pack->toPlainText(), QString(150, QLatin1Char('a')));

        // A refused save frames the field; typing into it again lifts the frame.
        yv->clear();
        QStringList errors;
        editor::VumoEditSave save;
        QVERIFY(!page.CheckAndSave(errors, save));
        QCOMPARE(errors.value(0), QStringLiteral("Yv价为必填项且必须大于0!"));
        QCOMPARE(yv->styleSheet(), QStringLiteral("border-color: #FF0000"));
        QCOMPARE(vumo.yv_price(), qint64(8000));
        yv->insert(QStringLiteral("5"));
        QCOMPARE(yv->styleSheet(), QStringLiteral("border-color:#CBCBCB"));
        // 5 of 100: the discount follows the typed price.
        QCOMPARE(page.findChild<QLineEdit*>(QStringLiteral("m_pdiscountEdit"))->text(), QStringLiteral("5"));
    }

    void stockModeDecidesFields()
    {
        VumoTest::PickerStoreFixture store(false);
        for (int stockMode : {0, 1}) {
            VumoBasisInfo page(Context(stockMode));
            page.show();
            // Stock mode 1: no stock field, the logistics details; mode 0 neither pay-first.
            QCOMPARE(page.findChild<QLineEdit*>(QStringLiteral("m_pstockNumEdit"))->isVisible(), stockMode == 0);
            QCOMPARE(page.findChild<QCheckBox*>(QStringLiteral("m_pis_pay_firstCheck"))->isVisible(), stockMode == 1);
            QCOMPARE(page.findChild<QCheckBox*>(QStringLiteral("m_pis_shelf_lifeCheck"))->isVisible(), stockMode == 1);
        }
    }

    void pickMainImage()
    {
        VumoTest::PickerStoreFixture store(false);
        QTemporaryDir disk;
        const QString wrong = QDir(disk.path()).filePath(QStringLiteral("wrong.png"));
        const QString right = QDir(disk.path()).filePath(QStringLiteral("right.png"));
        QImage image(800, 801, QImage::Format_RGB32);
        image.fill(Qt::white);
        QVERIFY(image.save(wrong));
        QVERIFY(image.copy(0, 0, 800, 800).save(right));

        VumoDataEntity vumo;
        vumo.set_logo(QStringLiteral("old.jpg"));
        VumoBasisInfo page(Context(0));
        page.LoadVumo(&vumo);
        QSignalSpy picked(&page, &VumoBasisInfo::VumoImageChange);
        VumoTest::MessageCollector messages;
        QVERIFY(!page.ChooseMainImage(wrong));
        QCOMPARE(messages.texts(),
                 QStringList{QStringLiteral("图片不是800px*800px的，请选择尺寸为800px*800px的图片！")});
        QCOMPARE(page.MainImage(), QStringLiteral("old.jpg"));
        QVERIFY(page.ChooseMainImage(right));
        QCOMPARE(picked.count(), 1);
        QCOMPARE(picked.at(0).at(0).toString(), right);
        QCOMPARE(page.MainImageShown(), right);
        QCOMPARE(Quorvia::utils::VumoIni::UserImagePath(Context(0).uid), disk.path());
    }
};

VUMO_TEST_CLASS(TestBasisPage)
#include "TestBasisPage.moc"
