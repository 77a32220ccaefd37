// The picture sets of the picture page without widgets: what a choice of files comes to, delete
// and set-main, and what a save writes into the record and hands the editor to release.
#include "support/TestMain.h"

#include "ImageFixtures.h"
#include "editor/ImagePageRules.h"
#include "editor/PictureFiles.h"
#include "entity/VumoDataEntity.h"
#include "entity/VumoImgEntity.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Quorvia::vumo::editor;
using Quorvia::vumo::entity::VumoDataEntity;
using Quorvia::vumo::entity::VumoImgEntity;
using VumoTest::Picture;

namespace {

const QString kUid = QStringLiteral("seller7");

// A record with one set: `states` one row each, row i named "f<i>.jpg", the first one main,
// rows in state 0 or 1 with a marketplace id.
void AddSet(VumoDataEntity& record, qint64 colorId, const QList<int>& states)
{
    for (int i = 0; i < states.size(); ++i) {
        auto* image = new VumoImgEntity;
        image->set_color_id(colorId);
        image->set_name(QStringLiteral("c%1_f%2.jpg").arg(colorId).arg(i));
        image->set_state(states.at(i));
        image->set_index_id(i);
        image->set_is_main(i == 0);
        image->set_img_id(states.at(i) == 2 ? 0 : 1000 + i);
        record.AddImage(image);
    }
}

struct Row
{
    QString name;
    int state;
    qint64 index;
    bool main;
};

QList<Row> Stored(const VumoDataEntity& record, qint64 colorId)
{
    QList<Row> rows;
    for (const VumoImgEntity* image : record.Images().value(colorId))
        rows.append({image->name(), image->state(), image->index_id(), image->is_main()});
    return rows;
}

} // namespace

class TestImagePageRules : public QObject
{
    Q_OBJECT

private slots:
    void pickChecks_data()
    {
        QTest::addColumn<QList<int>>("states");
        QTest::addColumn<QList<int>>("files"); // per file: 0 good, 1 one byte too big, 2 800x801, 3 not a picture
        QTest::addColumn<int>("accepted");
        QTest::addColumn<QStringList>("hints");

        const QString tooMany = QStringLiteral("图片太多了，最多再能添加%1张了");
        const QString big = QStringLiteral("有一张图片太大了哈,请选择大小不超过1M的图片！~~");
        const QString size = QStringLiteral("图片不是800px*800px的，请选择尺寸为800px*800px的图片！~~");
        const QString bad = QStringLiteral("图片文件不合法，请重新选择图片！");
        // Deleted pictures (state 1) wait for the upload and never count against the six.
        QTest::newRow("4 + 3 files") << QList<int>{0, 0, 2, 0, 1} << QList<int>{0, 0, 0} << 0
                                     << QStringList{tooMany.arg(2)};
        QTest::newRow("full") << QList<int>{0, 0, 0, 0, 2, 2} << QList<int>{0} << 0
                              << QStringList{QStringLiteral("已经6张图片了哈，不能再添加了~~")};
        QTest::newRow("5 + 2 deleted, 1 file")
            << QList<int>{0, 1, 1, 0, 0, 0, 0} << QList<int>{0} << 1 << QStringList{};
        QTest::newRow("each check once") << QList<int>{} << QList<int>{1, 0, 2, 3, 1} << 1
                                         << QStringList{big, size, bad};
    }
    void pickChecks()
    {
        QFETCH(QList<int>, states);
        QFETCH(QList<int>, files);
        QFETCH(int, accepted);
        QFETCH(QStringList, hints);
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 0; i < files.size(); ++i)
            paths << Picture(dir, i, files.at(i));
        VumoDataEntity record;
        AddSet(record, 0, states);
        PictureSets sets;
        sets.Load(record);
        const PickOutcome outcome = sets.CheckPicked(0, paths);
        QCOMPARE(outcome.accepted.size(), accepted);
        QCOMPARE(outcome.hints, hints);
    }

    void deleteAndSetMain()
    {
        QTemporaryDir dir;
        VumoDataEntity record;
        AddSet(record, 0, {0, 1, 0, 2});
        PictureSets sets;
        sets.Load(record);
        QCOMPARE(sets.AddPicked(0, {Picture(dir, 1), Picture(dir, 1)}, kUid), 1); // the same file once
        QCOMPARE(sets.Count(0), 4);

        QString hint;
        QVERIFY(!sets.Delete(0, 0, &hint));
        QCOMPARE(hint, QStringLiteral("主图是不能删除的！~~"));
        QVERIFY(!sets.Delete(0, 4));
        QVERIFY(sets.Delete(0, 1)); // the marketplace has it: kept, state 1
        QCOMPARE(sets.Rows(0).at(2).state, 1);
        QVERIFY(sets.Delete(0, 1)); // state 2: dropped
        QCOMPARE(sets.Count(0), 2);
        QCOMPARE(sets.Rows(0).size(), 4);

        QVERIFY(sets.SetMain(0, 1));
        QVERIFY(!sets.SetMain(0, 1));
        QCOMPARE(sets.MainRow(0), 1);
        QVERIFY(sets.Delete(0, 0)); // no longer the main one
    }

    void storeWritesSets()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("images"));
        const QString kept = Picture(dir, 1);
        const QString dropped = Picture(dir, 2);
        const QString gone = Picture(dir, 3);
        VumoDataEntity record;
        record.set_client_id(QStringLiteral("L1"));
        AddSet(record, 0, {0, 1, 0, 2});
        record.Images()[0].at(1)->set_img_id(0); // deleted before it ever went online
        AddSet(record, 77, {0, 2, 1});
        PictureSets sets;
        sets.Load(record);
        sets.SetTickedColors({77, 88}, true);
        QCOMPARE(sets.AddPicked(0, {kept, dropped, gone}, kUid), 3);
        QCOMPARE(sets.AddPicked(88, {kept}, kUid), 1);
        QVERIFY(sets.Delete(0, 1)); // c0_f2, state 0 -> 1
        QVERIFY(sets.Delete(0, 3)); // `dropped`, a picked file
        QVERIFY(QFile::remove(gone));
        sets.SetTickedColors({88}, false); // colour 77 unticked

        QStringList errors;
        VumoEditSave save;
        QVERIFY(!sets.Store(record, folder, kUid, errors, save));
        QCOMPARE(errors, QStringList{QStringLiteral("部分图片保存失败")});

        const QString keptName = PictureFolderName(kept, kUid);
        const QList<Row> set0 = Stored(record, 0);
        QCOMPARE(set0.size(), 4);
        QCOMPARE(set0.at(0).name, QStringLiteral("c0_f0.jpg"));
        QCOMPARE(set0.at(1).state, 1); // c0_f2 stays for the upload
        QCOMPARE(set0.at(2).name, QStringLiteral("c0_f3.jpg"));
        QCOMPARE(set0.at(2).index, qint64(1));
        QCOMPARE(set0.at(3).name, keptName);
        QCOMPARE(set0.at(3).state, 2);
        QCOMPARE(set0.at(3).index, qint64(2));
        // Colour 77 went with its colour: online pictures wait in state 1, the new one is dropped.
        const QList<Row> set77 = Stored(record, 77);
        QCOMPARE(set77.size(), 2);
        QCOMPARE(set77.at(0).state, 1);
        QCOMPARE(set77.at(1).state, 1);
        // The same file in another set gets a name of its own (the store keys rows by name).
        const QList<Row> set88 = Stored(record, 88);
        QCOMPARE(set88.size(), 1);
        QVERIFY(set88.at(0).main);
        QVERIFY(set88.at(0).name != keptName);

        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 2);
        QVERIFY(QFileInfo::exists(dropped)); // the seller's own file is never touched
        QVERIFY(save.copiedFiles.contains(keptName));
        QVERIFY(!save.releasedFiles.contains(PictureFolderName(dropped, kUid)));
        QStringList released = save.releasedFiles;
        released.sort();
        QCOMPARE(released,
                 (QStringList{QStringLiteral("c0_f1.jpg"), QStringLiteral("c0_f2.jpg"), QStringLiteral("c77_f0.jpg"),
                              QStringLiteral("c77_f1.jpg"), QStringLiteral("c77_f2.jpg")}));

        // The model is left as it was: a save the editor did not commit runs again the same way.
        VumoEditSave again;
        errors.clear();
        sets.Store(record, folder, kUid, errors, again);
        QVERIFY(again.copiedFiles.isEmpty());
        QCOMPARE(Stored(record, 0).at(3).name, keptName);
    }

    void loadedRowsStore()
    {
        QTemporaryDir dir;
        VumoDataEntity record;
        AddSet(record, 0, {1, 0, 0, 3});
        record.Images()[0].at(3)->set_name(Picture(dir, 4)); // handed in picked from the disk
        AddSet(record, 5, {0, 1});
        PictureSets sets;
        sets.Load(record);
        QVERIFY(sets.Delete(0, 1));
        QStringList errors;
        VumoEditSave save;
        QVERIFY(sets.Store(record, dir.filePath(QStringLiteral("images")), kUid, errors, save));
        QCOMPARE(Stored(record, 0).at(0).state, 1);
        QVERIFY(Stored(record, 0).at(1).main); // the set's main picture was deleted earlier
        QCOMPARE(Stored(record, 0).at(3).state, 2);
        QCOMPARE(Stored(record, 0).at(3).name, PictureFolderName(Picture(dir, 4), kUid));
        QCOMPARE(Stored(record, 5).size(), 2);
    }
};

VUMO_TEST_CLASS(TestImagePageRules)
#include "TestImagePageRules.moc"
