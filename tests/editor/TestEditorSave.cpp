// Writing what the editor collected: one transaction, files only after the commit, and
// copies that share nothing online with their source.
#include "../database/VumoStoreFixture.h"

#include "editor/VumoEditStore.h"
#include "support/TestMain.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace VumoTest;
using Quorvia::vumo::editor::MakeVumoCopy;
using Quorvia::vumo::editor::SaveEditedVumo;
using Quorvia::vumo::editor::VumoEditSave;
namespace entity = Quorvia::vumo::entity;

namespace {

bool touch(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("x") == 1;
}

} // namespace

class TestEditorSave : public QObject
{
    Q_OBJECT

    std::unique_ptr<StoreFixture> f;
    VumoDb* store = nullptr;
    std::unique_ptr<QTemporaryDir> pictures;

    qint64 count(const QString& sql) const { return f->scalar(sql).toLongLong(); }
    QString folderFile(const QString& name) const { return QDir(pictures->path()).filePath(name); }

    // A downloaded listing: two SKUs, the default SKU that carries its marketplace SKU id,
    // three pictures with their files in the folder.
    bool storeDownloaded(const QString& clientId, qint64 vumoId)
    {
        auto record = makeListing(clientId, vumoId);
        record->AddSku(makeSku(QString(), 1500, vumoId * 10));
        record->set_logo(QStringLiteral("http://img.example/n2/seed/%1/logo.jpg").arg(vumoId));
        for (const auto& set : record->Images())
            for (const VumoImgEntity* image : set)
                if (!touch(folderFile(image->name())))
                    return false;
        return store->SaveDownloadedVumo(*record);
    }

private slots:
    void init()
    {
        f = std::make_unique<StoreFixture>();
        store = f->make();
        pictures = std::make_unique<QTemporaryDir>();
        QVERIFY(store->CheckDatabase());
        QVERIFY(pictures->isValid());
        QVERIFY(storeDownloaded(QStringLiteral("src"), 501));
    }
    void cleanup()
    {
        f.reset();
        pictures.reset();
    }

    void removedSkusStayMarkedAndFilesGoOnlyWhenUnused()
    {
        VumoDataEntity record;
        QVERIFY(store->GetVumo(QStringLiteral("src"), record));
        QCOMPARE(record.Skus().size(), 2); // the default SKU is not shown for editing
        delete record.Skus().takeLast();   // 5012
        // The seller deletes the online picture "a": its row stays for the upload.
        record.Images()[0].first()->set_state(entity::ImgStateDeleted);
        const QString outside = QDir(pictures->path()).filePath(QStringLiteral("../own-picture.jpg"));
        QVERIFY(touch(outside));
        QVERIFY(touch(folderFile(QStringLiteral("gone.jpg"))));

        VumoEditSave save;
        save.removedSkuIds = {5012};
        save.releasedFiles = {QStringLiteral("a-src.jpg"), QStringLiteral("gone.jpg"),
                              QStringLiteral("../own-picture.jpg"), outside};
        QVERIFY(SaveEditedVumo(*store, record, save, pictures->path()));

        QCOMPARE(count("SELECT status FROM vumo_sku WHERE client_id='src' AND sku_id=5012"), 0);
        QCOMPARE(count("SELECT status FROM vumo_sku WHERE client_id='src' AND sku_id=5011"), 2);
        QCOMPARE(count("SELECT COUNT(*) FROM vumo_sku WHERE client_id='src' AND attributes='' AND sku_id=5010"), 1);
        QCOMPARE(count("SELECT COUNT(*) FROM vumo_sku WHERE client_id='src'"), 3);
        QCOMPARE(count("SELECT COUNT(*) FROM vumo_image WHERE client_id='src' AND state=1"), 1);
        // The deleted row keeps waiting for the upload without its file; an unused file goes;
        // never a file outside the folder.
        QVERIFY(!QFile::exists(folderFile(QStringLiteral("a-src.jpg"))));
        QVERIFY(!QFile::exists(folderFile(QStringLiteral("gone.jpg"))));
        QVERIFY(QFile::exists(outside));
        QFile::remove(outside);

        // A second save of the same record neither loses nor doubles anything.
        QVERIFY(SaveEditedVumo(*store, record, VumoEditSave(), pictures->path()));
        QCOMPARE(count("SELECT COUNT(*) FROM vumo_sku WHERE client_id='src'"), 3);
        QCOMPARE(count("SELECT COUNT(*) FROM vumo_image WHERE client_id='src'"), 3);
    }

    void failedWriteChangesNothingAndTakesBackCopies()
    {
        VumoDataEntity record;
        QVERIFY(store->GetVumo(QStringLiteral("src"), record));
        record.set_title(QStringLiteral("改过的标题"));
        delete record.Skus().takeLast();
        QVERIFY(touch(folderFile(QStringLiteral("fresh.jpg"))));
        VumoEditSave save;
        save.removedSkuIds = {5012};
        save.copiedFiles = {QStringLiteral("fresh.jpg"), QStringLiteral("b-src.jpg")};
        save.releasedFiles = {QStringLiteral("c-src.jpg")};
        QVERIFY(f->exec(QStringLiteral("CREATE TRIGGER no_pictures BEFORE INSERT ON vumo_image "
                                       "BEGIN SELECT RAISE(ABORT, 'refused'); END")));

        QVERIFY(!SaveEditedVumo(*store, record, save, pictures->path()));
        QVERIFY(f->scalar("SELECT title FROM vumo_data WHERE client_id='src'").toString() != record.title());
        QCOMPARE(count("SELECT status FROM vumo_sku WHERE client_id='src' AND sku_id=5012"), 2);
        QCOMPARE(count("SELECT COUNT(*) FROM vumo_image WHERE client_id='src'"), 3);
        // This save's own copy goes; a file another row uses and the released one stay.
        QVERIFY(!QFile::exists(folderFile(QStringLiteral("fresh.jpg"))));
        QVERIFY(QFile::exists(folderFile(QStringLiteral("b-src.jpg"))));
        QVERIFY(QFile::exists(folderFile(QStringLiteral("c-src.jpg"))));
    }

    void copySharesNothingOnlineWithItsSource()
    {
        VumoDataEntity copy;
        QVERIFY(store->GetVumo(QStringLiteral("src"), copy));
        copy.Images()[9].first()->set_state(entity::ImgStateDeleted);
        MakeVumoCopy(copy, QStringLiteral("copy"));
        copy.set_vumo_status(2014);
        QCOMPARE(copy.logo(), QStringLiteral("seed_501_logo.jpg")); // the local copy of the http logo
        QVERIFY(SaveEditedVumo(*store, copy, VumoEditSave(), pictures->path()));

        QCOMPARE(count("SELECT vumo_id FROM vumo_data WHERE client_id='copy'"), 0);
        QCOMPARE(count("SELECT COUNT(*) FROM vumo_sku WHERE client_id='copy'"), 2);
        QCOMPARE(count("SELECT COUNT(*) FROM vumo_sku WHERE client_id='copy' AND (sku_id!=0 OR vumo_id!=0)"), 0);
        // The picture deleted in the source's set is not copied; the others are new ones.
        QCOMPARE(count("SELECT COUNT(*) FROM vumo_image WHERE client_id='copy'"), 2);
        QCOMPARE(count("SELECT COUNT(*) FROM vumo_image WHERE client_id='copy' AND (state!=2 OR img_id!=0 "
                       "OR img_url!='' OR is_online_mainPic!=0)"),
                 0);
        // The source is as it was.
        QCOMPARE(count("SELECT vumo_id FROM vumo_data WHERE client_id='src'"), 501);
        QCOMPARE(count("SELECT COUNT(*) FROM vumo_sku WHERE client_id='src' AND status=2 AND sku_id>0"), 3);
        QCOMPARE(count("SELECT COUNT(*) FROM vumo_image WHERE client_id='src' AND state=0"), 3);
    }

    // Values are bound: quotes are stored as typed, however often the listing is saved.
    void quotesAreStoredAsTyped()
    {
        VumoDataEntity record;
        QVERIFY(store->GetVumo(QStringLiteral("src"), record));
        record.set_input_strs(QStringLiteral("it's|a''b"));
        for (int i = 0; i < 2; ++i) {
            QVERIFY(SaveEditedVumo(*store, record, VumoEditSave(), pictures->path()));
            QVERIFY(store->GetVumo(QStringLiteral("src"), record));
        }
        QCOMPARE(record.input_strs(), QStringLiteral("it's|a''b"));
    }
};

VUMO_TEST_CLASS(TestEditorSave)
#include "TestEditorSave.moc"
