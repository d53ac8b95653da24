#include "facepainter.h"

#include "facelook.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace pellix {

namespace {

const QColor BodyTop(0x34, 0x35, 0x39);
const QColor BodyBottom(0x1d, 0x1e, 0x21);
const QColor Gold(0xe4, 0xa8, 0x3c);
const QColor Blue(0x5f, 0xb4, 0xf2);
const QColor LegendWhite(0xf4, 0xf4, 0xf0);
const QColor LetterGrey(0x9a, 0x9c, 0xa2);

QString Text(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QFont FaceFont(qreal pixels, int weight = QFont::DemiBold) {
    QFont f;
    f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Segoe UI"),
                   QStringLiteral("Helvetica Neue"), QStringLiteral("Arial")});
    f.setPixelSize(1); // replaced below; pixel sizes must be integral
    f.setPointSizeF(pixels * 0.75);
    f.setWeight(static_cast<QFont::Weight>(weight));
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// The key a look pictures, for the legend and names printed on and beside it;
// a blank key has none.
const FaceKey& KeyOf(const KeyLook& k) {
    static constexpr FaceKey Blank{};
    const FaceKey* key = KeyByControl(k.Control);
    return key != nullptr ? *key : Blank;
}

constexpr qreal ShadowDrop = 2.5;
constexpr qreal OutlineWidth = 1;

// The cap of a key, centred on its hot spot: all caps share one size so the
// keypad looks even, whatever the hot spots' small differences. It is wider
// than most hot spots.
QRectF CapRect(const KeyLook& k) {
    const QRectF spot(k.Bounds.Left, k.Bounds.Top, k.Bounds.Width, k.Bounds.Height);
    const qreal w = 44;
    const qreal h = k.RowSpan == 2 ? 104 : 36;
    const QPointF c = spot.center();
    return {c.x() - w / 2, c.y() - h / 2 + 1, w, h};
}

void PaintBody(QPainter& p) {
    const QRectF body(0.5, 0.5, FacePictureWidth - 1, FacePictureHeight - 1);
    QLinearGradient g(0, 0, 0, FacePictureHeight);
    g.setColorAt(0, BodyTop);
    g.setColorAt(1, BodyBottom);
    p.setPen(QPen(QColor(0x0c, 0x0c, 0x0e), 1));
    p.setBrush(g);
    p.drawRoundedRect(body, 16, 16);

    // The brushed faceplate that carries the display and the badge.
    const QRectF plate(14, 12, FacePictureWidth - 28, 104);
    QLinearGradient metal(0, plate.top(), 0, plate.bottom());
    metal.setColorAt(0, QColor(0xc9, 0xcb, 0xcf));
    metal.setColorAt(0.45, QColor(0xa9, 0xac, 0xb2));
    metal.setColorAt(1, QColor(0x8c, 0x8f, 0x95));
    p.setPen(QPen(QColor(0x55, 0x57, 0x5c), 1));
    p.setBrush(metal);
    p.drawRoundedRect(plate, 9, 9);
    p.setPen(QPen(QColor(255, 255, 255, 50), 0.6));
    for (qreal y = plate.top() + 3; y < plate.bottom() - 2; y += 2.5) {
        p.drawLine(QPointF(plate.left() + 8, y), QPointF(plate.right() - 8, y));
    }

    // Wordmark on the plate's left.
    p.setPen(QColor(0x2c, 0x2e, 0x33));
    p.setFont(FaceFont(15, QFont::Bold));
    p.drawText(QRectF(28, 44, 80, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("PELLIX"));
    p.setFont(FaceFont(7.5, QFont::Medium));
    p.drawText(QRectF(28, 63, 90, 12), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("RPN SCIENTIFIC"));

    // A thin gold rule between the plate and the keypad.
    p.setPen(QPen(QColor(Gold.red(), Gold.green(), Gold.blue(), 150), 1));
    p.drawLine(QPointF(30, 126), QPointF(FacePictureWidth - 30, 126));
}

void PaintDisplayWindow(QPainter& p) {
    // Recessed window: dark bezel, then the glass over a pale LCD.
    const QRectF bezel(110, 22, 318, 80);
    p.setPen(QPen(QColor(0x1a, 0x1b, 0x1e), 1));
    QLinearGradient rim(0, bezel.top(), 0, bezel.bottom());
    rim.setColorAt(0, QColor(0x2a, 0x2b, 0x2f));
    rim.setColorAt(1, QColor(0x4a, 0x4c, 0x52));
    p.setBrush(rim);
    p.drawRoundedRect(bezel, 7, 7);

    const QRectF lcd(117, 29, 304, 66);
    QLinearGradient glass(0, lcd.top(), 0, lcd.bottom());
    glass.setColorAt(0, QColor(0xb7, 0xc2, 0xa9));
    glass.setColorAt(1, QColor(0xcd, 0xd6, 0xbf));
    p.setPen(QPen(QColor(0x6e, 0x75, 0x66), 1));
    p.setBrush(glass);
    p.drawRoundedRect(lcd, 3, 3);
    // Inner shadow along the top edge gives the depth of a recess.
    QLinearGradient shade(0, lcd.top(), 0, lcd.top() + 8);
    shade.setColorAt(0, QColor(0, 0, 0, 70));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shade);
    p.drawRect(QRectF(lcd.left() + 1, lcd.top() + 1, lcd.width() - 2, 8));
}

void PaintBadge(QPainter& p) {
    // A neutral emblem under the About hot spot (560, 34, 46, 50).
    const QPointF c(583, 55);
    QRadialGradient ring(c, 21, QPointF(c.x() - 6, c.y() - 8));
    ring.setColorAt(0, QColor(0xf6, 0xd9, 0x8d));
    ring.setColorAt(0.7, Gold);
    ring.setColorAt(1, QColor(0x8a, 0x5d, 0x17));
    p.setPen(QPen(QColor(0x5a, 0x3d, 0x10), 1));
    p.setBrush(ring);
    p.drawEllipse(c, 19, 19);
    p.setBrush(QColor(0x22, 0x23, 0x27));
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, 15, 15);
    p.setPen(Gold);
    p.setFont(FaceFont(19, QFont::Bold));
    p.drawText(QRectF(c.x() - 15, c.y() - 15, 30, 30), Qt::AlignCenter, QStringLiteral("P"));
    p.setPen(QColor(0x2c, 0x2e, 0x33));
    p.setFont(FaceFont(6.5, QFont::Bold));
    p.drawText(QRectF(c.x() - 25, c.y() + 20, 50, 10), Qt::AlignCenter, QStringLiteral("PELLIX"));
}

void PaintCap(QPainter& p, const KeyLook& k, const QRectF& cap) {
    QColor top;
    QColor front;
    QColor legend = LegendWhite;
    switch (k.Colour) {
    case KeyColour::Gold:
        top = QColor(0xe9, 0xb3, 0x4e);
        front = QColor(0xb0, 0x7c, 0x22);
        legend = QColor(0x2a, 0x1c, 0x05);
        break;
    case KeyColour::Blue:
        top = QColor(0x62, 0xaf, 0xe8);
        front = QColor(0x2f, 0x73, 0xaa);
        legend = QColor(0x06, 0x1c, 0x30);
        break;
    case KeyColour::Plain:
        top = QColor(0x4a, 0x4c, 0x52);
        front = QColor(0x2e, 0x2f, 0x33);
        break;
    }
    // Drop shadow, then the cap's slanted front, then its top face.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawRoundedRect(cap.translated(0, ShadowDrop), 5, 5);
    p.setBrush(front);
    p.setPen(QPen(QColor(0x0e, 0x0e, 0x10), OutlineWidth));
    p.drawRoundedRect(cap, 5, 5);

    const qreal frontHeight = k.RowSpan == 2 ? 12 : 10;
    const QRectF face(cap.left() + 2, cap.top() + 1.5, cap.width() - 4,
                      cap.height() - frontHeight - 1.5);
    QLinearGradient g(0, face.top(), 0, face.bottom());
    g.setColorAt(0, top.lighter(118));
    g.setColorAt(1, top);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(face, 4, 4);

    const FaceKey& key = KeyOf(k);
    if (!key.Legend.empty()) {
        const QString text = Text(key.Legend);
        const qreal size = text.size() >= 4 ? 10.5 : (text.size() == 3 ? 12 : 15);
        p.setPen(legend);
        p.setFont(FaceFont(size, QFont::Bold));
        p.drawText(face, Qt::AlignCenter, text);
    }
    if (!key.GName.empty()) {
        // The g function is printed in blue on the key's front.
        const QRectF strip(cap.left(), cap.bottom() - frontHeight, cap.width(), frontHeight);
        p.setPen(Blue);
        p.setFont(FaceFont(8, QFont::Bold));
        p.drawText(strip, Qt::AlignCenter, Text(key.GName));
    }
}

void PaintKey(QPainter& p, const KeyLook& k) {
    const QRectF cap = CapRect(k);
    PaintKeyCap(p, k);
    if (const std::string_view fName = KeyOf(k).FName; !fName.empty()) {
        p.setPen(Gold);
        p.setFont(FaceFont(8.5, QFont::Bold));
        p.drawText(QRectF(cap.left() - 8, cap.top() - 16, cap.width() + 16, 11), Qt::AlignCenter,
                   Text(fName));
    }
    if (k.Letter != '\0') {
        p.setPen(LetterGrey);
        p.setFont(FaceFont(8.5, QFont::Normal));
        p.drawText(QRectF(cap.right() + 1.5, cap.bottom() - 12, 9, 11),
                   Qt::AlignLeft | Qt::AlignBottom, QString(QChar(k.Letter)));
    }
}

} // namespace

void PaintKeyCap(QPainter& p, const KeyLook& k) {
    PaintCap(p, k, CapRect(k));
}

QRectF KeyCapArea(const KeyLook& k) {
    const QRectF cap = CapRect(k);
    const qreal pen = OutlineWidth / 2;
    return cap.united(cap.translated(0, ShadowDrop)).adjusted(-pen, -pen, pen, pen);
}

QTransform FaceTransform(QSize clientSize) {
    // Stretched proportionally and centred in the client area.
    const qreal s = std::min(clientSize.width() / qreal(FacePictureWidth),
                             clientSize.height() / qreal(FacePictureHeight));
    const QSizeF size(FacePictureWidth * s, FacePictureHeight * s);
    QTransform t;
    t.translate((clientSize.width() - size.width()) / 2, (clientSize.height() - size.height()) / 2);
    t.scale(s, s);
    return t;
}

void PaintFace(QPainter& p, const QRectF& target) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.translate(target.topLeft());
    p.scale(target.width() / FacePictureWidth, target.height() / FacePictureHeight);
    PaintBody(p);
    PaintDisplayWindow(p);
    PaintBadge(p);
    for (const KeyLook& k : KeyLooks) {
        PaintKey(p, k);
    }
    p.restore();
}

QPixmap RenderFace(QSize clientSize, qreal devicePixelRatio) {
    QPixmap pixmap(clientSize * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    PaintFace(p,
              FaceTransform(clientSize).mapRect(QRectF(0, 0, FacePictureWidth, FacePictureHeight)));
    return pixmap;
}

} // namespace pellix
