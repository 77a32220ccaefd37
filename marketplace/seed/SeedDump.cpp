// Looks into the seeds from the command line:
//   marketplace-seed-dump lookup            the category tree as CSV (source of VumoCatsLookup.xls)
//   marketplace-seed-dump listing N         listing N of the generator as JSON
//   marketplace-seed-dump picture PATH      the picture bytes of an image-host path
#include "SeedCatalogue.h"

#include <QFile>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

using namespace Quorvia::marketplace;

int main(int argc, char** argv)
{
    // Pictures carry text only with a GUI application (fonts); offscreen needs no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly))
        return 1;
    const QString command = args.value(1);
    if (command == QLatin1String("lookup") && args.size() == 2) {
        out.write(SeedCategoryLookupCsv(MakeSeedCatalogue(QStringLiteral("empty"))));
        return 0;
    }
    if (command == QLatin1String("listing") && args.size() == 3) {
        bool ok = false;
        const int index = args.at(2).toInt(&ok);
        if (!ok || index < 0 || index > 100000) {
            QTextStream(stderr) << "listing: a number from 0 to 100000\n";
            return 2;
        }
        const SeedCatalogue c = MakeSeedCatalogue(QStringLiteral("scale"), index + 1);
        const SeedListing& l = c.listings.last();
        QJsonObject vumo = l.vumo;
        QJsonArray skus;
        for (const QJsonObject& sku : l.skus)
            skus.append(sku);
        vumo.insert(QStringLiteral("skus"), skus);
        QJsonArray images;
        for (const SeedImage& image : l.images)
            images.append(image.path);
        vumo.insert(QStringLiteral("seed_images"), images);
        out.write(QJsonDocument(vumo).toJson(QJsonDocument::Indented));
        return 0;
    }
    if (command == QLatin1String("picture") && args.size() == 3) {
        QByteArray bytes;
        if (!RenderSeedPicture(args.at(2), &bytes, nullptr)) {
            QTextStream(stderr) << "picture: not a seeded picture: " << args.at(2) << '\n';
            return 1;
        }
        out.write(bytes);
        return 0;
    }
    QTextStream(stderr) << "usage: marketplace-seed-dump lookup | listing N | picture PATH\n";
    return 2;
}
