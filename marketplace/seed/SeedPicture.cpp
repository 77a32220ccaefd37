// Pictures of the seeded listings, drawn on request from the picture's path alone: the path
// names the listing and the colour, the listing's generator says what to draw.
#include "SeedTables.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>

namespace Quorvia::marketplace {

namespace {

constexpr int kFullSize = 800;

QColor Tint(const QColor& c, double towardsWhite)
{
    return QColor(int(c.red() + (255 - c.red()) * towardsWhite), int(c.green() + (255 - c.green()) * towardsWhite),
                  int(c.blue() + (255 - c.blue()) * towardsWhite));
}

// The product's own colour; very light colours get a darker body so the shape stays visible.
QColor BodyColour(const QColor& c)
{
    return c.lightness() > 225 ? c.darker(125) : c;
}

QPainterPath Shirt()
{
    QPainterPath p;
    p.moveTo(300, 170);
    p.lineTo(350, 150);
    p.cubicTo(370, 195, 430, 195, 450, 150);
    p.lineTo(500, 170);
    p.lineTo(610, 250);
    p.lineTo(560, 330);
    p.lineTo(510, 295);
    p.lineTo(510, 580);
    p.lineTo(290, 580);
    p.lineTo(290, 295);
    p.lineTo(240, 330);
    p.lineTo(190, 250);
    p.closeSubpath();
    return p;
}

QPainterPath Shoe()
{
    QPainterPath p;
    p.moveTo(170, 480);
    p.lineTo(190, 330);
    p.cubicTo(260, 340, 300, 330, 330, 300);
    p.cubicTo(420, 380, 560, 400, 630, 450);
    p.quadTo(650, 480, 630, 510);
    p.lineTo(180, 520);
    p.closeSubpath();
    return p;
}

void DrawProduct(QPainter& g, seed::Profile profile, const QColor& body, int variant)
{
    g.save();
    // Later pictures of a set show the product a little turned and closer.
    g.translate(400, 380);
    g.rotate((variant - 1) * 6.0);
    const double zoom = 1.0 + (variant - 1) * 0.06;
    g.scale(zoom, zoom);
    g.translate(-400, -380);
    g.setPen(QPen(body.darker(150), 6));
    g.setBrush(body);
    switch (profile) {
    case seed::Profile::Clothing:
    case seed::Profile::Kids:
        g.drawPath(Shirt());
        break;
    case seed::Profile::Shoes:
        g.drawPath(Shoe());
        g.setBrush(body.darker(160));
        g.drawRect(180, 505, 455, 25);
        break;
    case seed::Profile::Accessory:
        g.drawChord(QRect(250, 220, 300, 300), 0, 180 * 16);
        g.drawEllipse(QRect(190, 350, 420, 60));
        break;
    case seed::Profile::Phone:
    case seed::Profile::Carrier:
        g.drawRoundedRect(QRect(290, 120, 220, 440), 36, 36);
        g.setBrush(QColor(30, 40, 60));
        g.drawRoundedRect(QRect(305, 150, 190, 370), 18, 18);
        break;
    case seed::Profile::Smart:
        g.drawRect(340, 120, 120, 440);
        g.setBrush(QColor(30, 40, 60));
        g.drawRoundedRect(QRect(300, 250, 200, 180), 40, 40);
        break;
    case seed::Profile::PhoneAccessory:
        g.drawRoundedRect(QRect(320, 200, 160, 200), 24, 24);
        g.setBrush(Qt::NoBrush);
        g.setPen(QPen(body.darker(130), 14, Qt::SolidLine, Qt::RoundCap));
        g.drawArc(QRect(260, 380, 280, 200), 0, -180 * 16);
        break;
    case seed::Profile::BigAppliance:
        g.drawRoundedRect(QRect(260, 110, 280, 480), 16, 16);
        g.setBrush(QColor(220, 228, 236));
        g.drawEllipse(QRect(310, 270, 180, 180));
        g.drawRect(290, 140, 220, 60);
        break;
    case seed::Profile::SmallAppliance:
        g.drawRoundedRect(QRect(240, 260, 320, 300), 80, 80);
        g.setBrush(body.darker(130));
        g.drawChord(QRect(260, 190, 280, 160), 0, 180 * 16);
        break;
    case seed::Profile::Food:
        g.drawPolygon(QPolygon({QPoint(280, 150), QPoint(520, 150), QPoint(560, 580), QPoint(240, 580)}));
        g.setBrush(QColor(255, 255, 255, 190));
        g.drawEllipse(QRect(320, 300, 160, 160));
        break;
    case seed::Profile::Drink:
        g.drawRoundedRect(QRect(320, 230, 160, 350), 40, 40);
        g.drawRect(365, 140, 70, 100);
        g.setBrush(QColor(255, 255, 255, 200));
        g.drawRect(320, 360, 160, 110);
        break;
    case seed::Profile::Book:
        g.drawRect(250, 130, 300, 440);
        g.setBrush(body.darker(140));
        g.drawRect(250, 130, 40, 440);
        g.setBrush(QColor(255, 255, 255, 210));
        g.drawRect(320, 220, 200, 90);
        break;
    case seed::Profile::Music:
    case seed::Profile::Film:
    case seed::Profile::EduAv:
        g.drawRect(220, 150, 360, 360);
        g.setBrush(QColor(210, 214, 222));
        g.drawEllipse(QRect(300, 230, 200, 200));
        g.setBrush(body);
        g.drawEllipse(QRect(380, 310, 40, 40));
        break;
    }
    g.restore();
}

QImage DrawPicture(const seed::ListingFace& face, const QColor& colour, int variant)
{
    QImage image(kFullSize, kFullSize, QImage::Format_RGB32);
    image.fill(Tint(colour, 0.82));
    QPainter g(&image);
    g.setRenderHint(QPainter::Antialiasing);
    // A soft floor under the product.
    g.setPen(Qt::NoPen);
    g.setBrush(Tint(colour, 0.65));
    g.drawEllipse(QRect(170, 560, 460, 70));
    DrawProduct(g, face.profile, BodyColour(colour), variant);

    // Text needs the platform's fonts, which only a QGuiApplication brings.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        g.setPen(Qt::NoPen);
        g.setBrush(QColor(255, 255, 255, 225));
        g.drawRoundedRect(QRect(60, 660, 680, 100), 20, 20);
        QFont font(QStringLiteral("Noto Sans CJK SC"));
        font.setPixelSize(52);
        font.setBold(true);
        g.setFont(font);
        g.setPen(QColor(40, 40, 40));
        g.drawText(QRect(80, 660, 640, 100), Qt::AlignCenter,
                   g.fontMetrics().elidedText(face.shortName, Qt::ElideRight, 640));
        QFont small(QStringLiteral("Noto Sans CJK SC"));
        small.setPixelSize(26);
        g.setFont(small);
        g.setPen(QColor(90, 90, 90));
        g.drawText(QRect(30, 24, 400, 40), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("演示小店"));
    }
    g.end();
    return image;
}

} // namespace

bool RenderSeedPicture(const QString& path, QByteArray* bytes, QByteArray* contentType)
{
    static const QRegularExpression shape(
        QStringLiteral("^/imgzone/(n0|n2|n5)/seed/([0-9]{1,12})/([0-9]{1,15})_([0-9]{1,2})\\.(jpg|png)$"));
    const QRegularExpressionMatch m = shape.match(path);
    if (!m.hasMatch())
        return false;
    const qint64 index = m.captured(2).toLongLong() - seed::kFirstVumoId;
    if (index < 0 || index >= seed::kMaxSeedListings)
        return false;

    const seed::ListingFace face = seed::MakeListingFace(seed::SeedTables(), int(index));
    const QString full = QStringLiteral("/imgzone/n0/seed/") + m.captured(2) + QLatin1Char('/') + m.captured(3)
        + QLatin1Char('_') + m.captured(4) + QLatin1Char('.') + m.captured(5);
    const SeedImage* image = nullptr;
    for (const SeedImage& candidate : face.images)
        if (candidate.path == full)
            image = &candidate;
    if (!image)
        return false;

    const QColor colour(image->attributeValueId ? face.colourOfVid.value(image->attributeValueId) : face.baseColour);
    QImage picture = DrawPicture(face, colour.isValid() ? colour : QColor(0xf3, 0xed, 0xe4), image->indexId);
    const QString variant = m.captured(1);
    if (variant != QLatin1String("n0")) {
        const int side = variant == QLatin1String("n2") ? 350 : 100;
        picture = picture.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    const bool png = m.captured(5) == QLatin1String("png");
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, png ? "png" : "jpeg");
    if (!png)
        writer.setQuality(88);
    if (!writer.write(picture))
        return false;
    if (bytes)
        *bytes = encoded;
    if (contentType)
        *contentType = png ? QByteArrayLiteral("image/png") : QByteArrayLiteral("image/jpeg");
    return true;
}

} // namespace Quorvia::marketplace
