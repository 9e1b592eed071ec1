#include "ui/Artwork.h"

#include <QDir>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

QFont UiFont(int pixelSize, bool bold = true)
{
    QFont f(QStringLiteral("WenQuanYi Micro Hei"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

QPixmap Blank(int w, int h)
{
    QPixmap p(w, h);
    p.fill(Qt::transparent);
    return p;
}

struct TabLook {
    const char *glyph;
    QColor color;
};

const TabLook tabLooks[8] = {
    {"客", QColor(0x2f, 0x6f, 0xd6)}, {"货", QColor(0x8a, 0x4b, 0xc4)}, {"财", QColor(0x2e, 0x9e, 0x5a)},
    {"仓", QColor(0x7b, 0x86, 0x93)}, {"帐", QColor(0xd3, 0x9a, 0x12)}, {"数", QColor(0x1c, 0x9a, 0xa8)},
    {"设", QColor(0xe0, 0x74, 0x2a)}, {"维", QColor(0xc8, 0x3b, 0x3b)},
};

void GlyphTile(QPainter &p, const QRectF &r, const QColor &color, const QString &glyph)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, color.lighter(135));
    g.setColorAt(1, color);
    p.setPen(QPen(color.darker(130), 1));
    p.setBrush(g);
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), r.width() / 5, r.width() / 5);
    p.setPen(Qt::white);
    p.setFont(UiFont(int(r.height() * 0.6)));
    p.drawText(r, Qt::AlignCenter, glyph);
}

} // namespace

QPixmap Artwork::QuestionIcon(int size)
{
    QPixmap pm = Blank(size, size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient g(size * 0.35, size * 0.3, size * 0.7);
    g.setColorAt(0, QColor(0x6f, 0xb1, 0xff));
    g.setColorAt(1, QColor(0x1d, 0x5f, 0xc9));
    p.setBrush(g);
    p.setPen(QPen(QColor(0x15, 0x4a, 0x9e), 2));
    p.drawEllipse(QRectF(2, 2, size - 4, size - 4));
    p.setPen(Qt::white);
    QFont f = UiFont(int(size * 0.62));
    f.setFamily(QStringLiteral("DejaVu Sans"));
    p.setFont(f);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("?"));
    return pm;
}

QPixmap Artwork::LoginBanner(int width, int height)
{
    QPixmap pm(width, height);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, width, 0);
    g.setColorAt(0, QColor(0x1d, 0x4f, 0x9c));
    g.setColorAt(1, QColor(0x4d, 0x9b, 0xe6));
    p.fillRect(pm.rect(), g);
    p.setPen(Qt::white);
    p.setFont(UiFont(height / 2));
    p.drawText(QRect(16, 0, width - 32, height), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("Mirelo进销存"));
    p.setFont(UiFont(height / 4, false));
    p.drawText(QRect(16, 0, width - 32, height), Qt::AlignVCenter | Qt::AlignRight, QStringLiteral("鞋业进销存管理"));
    return pm;
}

QPixmap Artwork::LoginPicture(int width, int height)
{
    QPixmap pm(width, height);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, height);
    sky.setColorAt(0, QColor(0xe9, 0xf2, 0xfc));
    sky.setColorAt(1, QColor(0xc9, 0xdd, 0xf4));
    p.fillRect(pm.rect(), sky);
    // A row of shoe boxes, the trade of the house.
    const QColor boxes[] = {QColor(0xd9, 0x8c, 0x3c), QColor(0x3c, 0x7f, 0xd9), QColor(0x4b, 0xa8, 0x6a),
                            QColor(0xc9, 0x4f, 0x4f), QColor(0x8a, 0x5c, 0xc4)};
    const int boxW = width / 7;
    for (int i = 0; i < 5; ++i) {
        const int x = width / 7 + i * (boxW + 4) - 10;
        const int h = height / 4 + (i % 2) * 12;
        QRect r(x, height - h - 24, boxW, h);
        p.setPen(QPen(boxes[i].darker(140), 1));
        p.setBrush(boxes[i]);
        p.drawRect(r);
        p.setBrush(boxes[i].lighter(130));
        p.drawRect(QRect(r.left(), r.top(), r.width(), 8));
        p.setPen(Qt::white);
        p.setFont(UiFont(12));
        p.drawText(r.adjusted(0, 8, 0, 0), Qt::AlignCenter, QStringLiteral("%1#").arg(37 + i));
    }
    p.setPen(QColor(0x1d, 0x4f, 0x9c));
    p.setFont(UiFont(22));
    p.drawText(QRect(0, 16, width, 40), Qt::AlignCenter, QStringLiteral("欢迎使用"));
    p.setFont(UiFont(13, false));
    p.setPen(QColor(0x44, 0x55, 0x66));
    p.drawText(QRect(0, 56, width, 24), Qt::AlignCenter, QStringLiteral("销售 · 进货 · 收支 · 库存 · 对帐"));
    p.fillRect(QRect(0, height - 24, width, 24), QColor(0x9c, 0xb8, 0xd8));
    return pm;
}

QImage Artwork::BarPicture(bool leftBarShown, int height)
{
    QImage img(16, height, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 16, 0);
    g.setColorAt(0, QColor(0xd7, 0xe3, 0xf1));
    g.setColorAt(1, QColor(0xb4, 0xc8, 0xe0));
    p.fillRect(img.rect(), g);
    p.setPen(QColor(0x8a, 0xa2, 0xc0));
    p.drawLine(15, 0, 15, height);
    // The arrow points where the bar will go.
    const int cy = height / 2;
    QPainterPath arrow;
    if (leftBarShown) {
        arrow.moveTo(11, cy - 7);
        arrow.lineTo(4, cy);
        arrow.lineTo(11, cy + 7);
    } else {
        arrow.moveTo(5, cy - 7);
        arrow.lineTo(12, cy);
        arrow.lineTo(5, cy + 7);
    }
    arrow.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2f, 0x5f, 0xa6));
    p.drawPath(arrow);
    return img;
}

QPixmap Artwork::TabIcon(int page)
{
    QPixmap pm = Blank(32, 32);
    if (page < 0 || page > 7)
        return pm;
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    GlyphTile(p, QRectF(1, 1, 30, 30), tabLooks[page].color, QString::fromUtf8(tabLooks[page].glyph));
    return pm;
}

QPixmap Artwork::LeftBarIcon(const QString &which, int size)
{
    QPixmap pm = Blank(size, size);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    if (which == QLatin1String("Login")) {
        // A person with a round arrow: log in again.
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x2f, 0x6f, 0xd6));
        p.drawEllipse(QRectF(s * 0.34, s * 0.12, s * 0.32, s * 0.32));
        p.drawRoundedRect(QRectF(s * 0.2, s * 0.5, s * 0.6, s * 0.4), s * 0.2, s * 0.2);
        p.setPen(QPen(QColor(0x2e, 0x9e, 0x5a), s * 0.08, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(s * 0.6, s * 0.55, s * 0.34, s * 0.34), 90 * 16, 270 * 16);
    } else if (which == QLatin1String("HomePage")) {
        // A globe.
        p.setPen(QPen(QColor(0x1c, 0x7a, 0xa8), s * 0.06));
        p.setBrush(QColor(0xd8, 0xf0, 0xfa));
        p.drawEllipse(QRectF(s * 0.1, s * 0.1, s * 0.8, s * 0.8));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(s * 0.32, s * 0.1, s * 0.36, s * 0.8));
        p.drawLine(QPointF(s * 0.1, s * 0.5), QPointF(s * 0.9, s * 0.5));
    } else if (which == QLatin1String("Save")) {
        // A floppy disk.
        p.setPen(QPen(QColor(0x24, 0x3f, 0x73), s * 0.05));
        p.setBrush(QColor(0x3c, 0x68, 0xb8));
        p.drawRoundedRect(QRectF(s * 0.12, s * 0.12, s * 0.76, s * 0.76), s * 0.06, s * 0.06);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(s * 0.26, s * 0.12, s * 0.48, s * 0.28));
        p.setBrush(QColor(0xdd, 0xe6, 0xf3));
        p.drawRect(QRectF(s * 0.24, s * 0.56, s * 0.52, s * 0.32));
    } else if (which == QLatin1String("Load")) {
        // A folder with an arrow going back into it: restore.
        p.setPen(QPen(QColor(0xa8, 0x7a, 0x10), s * 0.04));
        p.setBrush(QColor(0xf6, 0xc8, 0x4c));
        p.drawRoundedRect(QRectF(s * 0.1, s * 0.36, s * 0.8, s * 0.52), s * 0.05, s * 0.05);
        p.drawRect(QRectF(s * 0.1, s * 0.28, s * 0.3, s * 0.1));
        p.setPen(QPen(QColor(0x2e, 0x9e, 0x5a), s * 0.09, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(s * 0.5, s * 0.06), QPointF(s * 0.5, s * 0.66));
        p.drawLine(QPointF(s * 0.32, s * 0.48), QPointF(s * 0.5, s * 0.66));
        p.drawLine(QPointF(s * 0.68, s * 0.48), QPointF(s * 0.5, s * 0.66));
    } else {
        // A shopping cart: sales.
        p.setPen(QPen(QColor(0xc8, 0x5a, 0x1e), s * 0.07, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(QColor(0xff, 0xe2, 0xc6));
        QPainterPath cart;
        cart.moveTo(s * 0.08, s * 0.2);
        cart.lineTo(s * 0.22, s * 0.2);
        cart.lineTo(s * 0.32, s * 0.65);
        cart.lineTo(s * 0.8, s * 0.65);
        cart.lineTo(s * 0.88, s * 0.32);
        cart.lineTo(s * 0.25, s * 0.32);
        p.drawPath(cart);
        p.setBrush(QColor(0xc8, 0x5a, 0x1e));
        p.drawEllipse(QPointF(s * 0.38, s * 0.8), s * 0.06, s * 0.06);
        p.drawEllipse(QPointF(s * 0.74, s * 0.8), s * 0.06, s * 0.06);
    }
    return pm;
}

QPixmap Artwork::DayArrow(bool back)
{
    QPixmap pm = Blank(16, 16);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2f, 0x5f, 0xa6));
    QPainterPath a;
    if (back) {
        a.moveTo(11, 3);
        a.lineTo(4, 8);
        a.lineTo(11, 13);
    } else {
        a.moveTo(5, 3);
        a.lineTo(12, 8);
        a.lineTo(5, 13);
    }
    a.closeSubpath();
    p.drawPath(a);
    return pm;
}

QColor Artwork::PageColour(const QString &word)
{
    if (word == QLatin1String("Blue"))
        return QColor(0x2f, 0x6f, 0xd6);
    if (word == QLatin1String("Purple"))
        return QColor(0x8a, 0x4b, 0xc4);
    if (word == QLatin1String("Green"))
        return QColor(0x2e, 0x9e, 0x5a);
    if (word == QLatin1String("Silver"))
        return QColor(0x8c, 0x96, 0xa3);
    if (word == QLatin1String("Yellow"))
        return QColor(0xe0, 0xa8, 0x10);
    return QColor(0x60, 0x60, 0x60);
}

QStringList Artwork::CardIconNames()
{
    QStringList names{QStringLiteral("Money-"), QStringLiteral("Money0")};
    for (const char *word : {"Blue", "Purple", "Green", "Silver", "Yellow"})
        for (int plus = 1; plus <= 3; ++plus)
            names << QString::fromLatin1(word) + QString(plus, QLatin1Char('+'));
    return names;
}

namespace {

enum class Subject { Customer, Bill, Money, ShoeBox, BankCard };

Subject SubjectOf(const QString &word)
{
    if (word == QLatin1String("Purple"))
        return Subject::Bill;
    if (word == QLatin1String("Green"))
        return Subject::Money;
    if (word == QLatin1String("Silver"))
        return Subject::ShoeBox;
    if (word == QLatin1String("Yellow"))
        return Subject::BankCard;
    return Subject::Customer;
}

QBrush Shaded(const QRectF &r, const QColor &colour)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, colour.lighter(140));
    g.setColorAt(1, colour);
    return g;
}

// A side view of a shoe, drawn in a 40 x 40 box and scaled into r.
QPainterPath ShoePath(const QRectF &r)
{
    QPainterPath shoe;
    shoe.moveTo(4, 29);
    shoe.lineTo(4, 15);
    shoe.cubicTo(4, 13, 6, 12, 8, 12);
    shoe.lineTo(13, 12);
    shoe.cubicTo(15, 18, 22, 19, 30, 21);
    shoe.cubicTo(36, 22, 38, 25, 37, 29);
    shoe.closeSubpath();
    QTransform t;
    t.translate(r.left(), r.top());
    t.scale(r.width() / 40.0, r.height() / 40.0);
    return t.map(shoe);
}

void DrawShoe(QPainter &p, const QRectF &r, const QColor &colour)
{
    const qreal k = r.width() / 40.0;
    auto at = [&](qreal x, qreal y) { return QPointF(r.left() + x * k, r.top() + y * k); };
    p.setPen(QPen(colour.darker(150), 1.2 * k));
    p.setBrush(Shaded(r, colour));
    p.drawPath(ShoePath(r));
    // Sole and laces.
    p.setPen(Qt::NoPen);
    p.setBrush(colour.darker(190));
    p.drawRoundedRect(QRectF(at(3.5, 28), at(37.5, 31.5)), 1.5 * k, 1.5 * k);
    p.setPen(QPen(QColor(0xff, 0xf4, 0xe0), 1.4 * k, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i)
        p.drawLine(at(15 + i * 3.5, 16.5 + i * 1.1), at(17.5 + i * 3.5, 14.5 + i * 1.1));
}

// The subject of a card page in its colour, filling r (drawn for 40 x 30).
void DrawSubject(QPainter &p, const QRectF &r, Subject subject, const QColor &colour)
{
    const qreal k = r.width() / 40.0;
    auto rect = [&](qreal x, qreal y, qreal w, qreal h) { return QRectF(r.left() + x * k, r.top() + y * k, w * k, h * k); };
    auto at = [&](qreal x, qreal y) { return QPointF(r.left() + x * k, r.top() + y * k); };
    const QPen outline(colour.darker(150), 1.2 * k);
    const QColor light(0xff, 0xff, 0xff, 235);
    switch (subject) {
    case Subject::Customer: {
        // Head and shoulders.
        p.setPen(outline);
        p.setBrush(Shaded(rect(8, 15, 24, 15), colour));
        QPainterPath body;
        body.moveTo(at(7, 30));
        body.cubicTo(at(7, 17), at(33, 17), at(33, 30));
        body.closeSubpath();
        p.drawPath(body);
        p.setBrush(Shaded(rect(13, 1, 14, 14), colour));
        p.drawEllipse(rect(13, 1, 14, 14));
        break;
    }
    case Subject::Bill: {
        // A sheet with a folded corner and written lines.
        QPainterPath sheet;
        sheet.moveTo(at(9, 1));
        sheet.lineTo(at(25, 1));
        sheet.lineTo(at(31, 7));
        sheet.lineTo(at(31, 30));
        sheet.lineTo(at(9, 30));
        sheet.closeSubpath();
        p.setPen(outline);
        p.setBrush(Shaded(rect(9, 1, 22, 29), colour));
        p.drawPath(sheet);
        p.setBrush(colour.lighter(170));
        QPainterPath fold;
        fold.moveTo(at(25, 1));
        fold.lineTo(at(25, 7));
        fold.lineTo(at(31, 7));
        fold.closeSubpath();
        p.drawPath(fold);
        p.setPen(QPen(light, 1.6 * k, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 4; ++i)
            p.drawLine(at(13, 11 + i * 4.5), at(i == 3 ? 21 : 27, 11 + i * 4.5));
        break;
    }
    case Subject::Money: {
        // Two bank notes, the front one with a coin mark.
        p.setPen(outline);
        p.setBrush(colour.lighter(125));
        p.drawRoundedRect(rect(6, 5, 32, 18), 2 * k, 2 * k);
        p.setBrush(Shaded(rect(2, 10, 32, 18), colour));
        p.drawRoundedRect(rect(2, 10, 32, 18), 2 * k, 2 * k);
        p.setPen(QPen(light, 1.1 * k));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(rect(4.5, 12.5, 27, 13), 1.5 * k, 1.5 * k);
        p.setBrush(light);
        p.setPen(Qt::NoPen);
        p.drawEllipse(rect(13, 14, 10, 10));
        p.setPen(QPen(colour.darker(130), 1.4 * k, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(at(15.5, 16.5), at(18, 19.5));
        p.drawLine(at(20.5, 16.5), at(18, 19.5));
        p.drawLine(at(18, 19.5), at(18, 22.5));
        p.drawLine(at(15.8, 20), at(20.2, 20));
        break;
    }
    case Subject::ShoeBox: {
        // A box with its lid and a shoe on the end label.
        p.setPen(outline);
        p.setBrush(Shaded(rect(4, 11, 32, 19), colour));
        p.drawRect(rect(5, 11, 30, 19));
        p.setBrush(colour.darker(115));
        p.drawRect(rect(3, 6, 34, 6));
        p.setPen(Qt::NoPen);
        p.setBrush(light);
        p.drawRoundedRect(rect(10, 15, 20, 11), 1.5 * k, 1.5 * k);
        DrawShoe(p, rect(11, 13.5, 18, 18), colour.darker(120));
        break;
    }
    case Subject::BankCard: {
        // A card with its stripe and chip.
        p.setPen(outline);
        p.setBrush(Shaded(rect(2, 5, 36, 23), colour));
        p.drawRoundedRect(rect(2, 5, 36, 23), 3 * k, 3 * k);
        p.setPen(Qt::NoPen);
        p.setBrush(colour.darker(170));
        p.drawRect(rect(2.6, 9, 34.8, 4.5));
        p.setBrush(QColor(0xf7, 0xf1, 0xd8));
        p.drawRoundedRect(rect(6, 16.5, 8, 6.5), 1.2 * k, 1.2 * k);
        p.setPen(QPen(light, 1.4 * k, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(at(19, 22), at(33, 22));
        p.drawLine(at(19, 18), at(27, 18));
        break;
    }
    }
}

QImage Canvas(int size)
{
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

} // namespace

QImage Artwork::CardIcon(const QString &name)
{
    // The page's subject in its colour, with one to three marks under it for the
    // grade; a debt is a red coin with a minus bar, nothing an empty grey ring.
    const int size = 40;
    QImage img = Canvas(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (name == QLatin1String("Money-")) {
        const QColor red(0xd2, 0x2b, 0x2b);
        p.setPen(QPen(red.darker(140), 1.5));
        p.setBrush(Shaded(QRectF(3, 3, 34, 34), red));
        p.drawEllipse(QRectF(3, 3, 34, 34));
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(10, 17, 20, 6), 2, 2);
        return img;
    }
    if (name == QLatin1String("Money0")) {
        const QColor grey(0x9a, 0xa3, 0xad);
        p.setPen(QPen(grey, 5));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QRectF(7, 7, 26, 26));
        return img;
    }
    const int grade = int(name.count(QLatin1Char('+')));
    const QString word = name.left(name.size() - grade);
    const QColor colour = PageColour(word);
    DrawSubject(p, QRectF(0, 0, 40, 40), SubjectOf(word), colour);
    for (int i = 0; i < 3; ++i) {
        const QRectF mark(9.5 + i * 8, 32.5, 5.5, 5.5);
        p.setPen(QPen(colour.darker(150), 1.1));
        p.setBrush(i < grade ? QBrush(colour.darker(115)) : QBrush(Qt::white));
        p.drawEllipse(mark);
    }
    return img;
}

QPixmap Artwork::PagePicture(const QString &colourWord, int size)
{
    QImage img = Canvas(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    DrawSubject(p, QRectF(0, size * 0.12, size, size), SubjectOf(colourWord), PageColour(colourWord));
    return QPixmap::fromImage(img);
}

QPixmap Artwork::ProductPicture(bool model, int size)
{
    QImage img = Canvas(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal k = size / 40.0;
    DrawShoe(p, QRectF(0, 4 * k, size, size), QColor(0xa0, 0x62, 0x2d));
    if (model) {
        // A size tag tied to the collar.
        const QColor ink(0x6b, 0x4a, 0x2a);
        QPainterPath tag;
        tag.moveTo(19 * k, 8 * k);
        tag.lineTo(23 * k, 3 * k);
        tag.lineTo(37 * k, 3 * k);
        tag.lineTo(37 * k, 13 * k);
        tag.lineTo(23 * k, 13 * k);
        tag.closeSubpath();
        p.setPen(QPen(ink, 1.1 * k));
        p.drawLine(QPointF(11 * k, 16.5 * k), QPointF(22.5 * k, 8 * k));
        p.setBrush(QColor(0xff, 0xf6, 0xd5));
        p.drawPath(tag);
        p.setBrush(ink);
        p.drawEllipse(QPointF(22.5 * k, 8 * k), 1.1 * k, 1.1 * k);
        p.setPen(QPen(ink, 1.3 * k, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(26.5 * k, 6.5 * k), QPointF(34 * k, 6.5 * k));
        p.drawLine(QPointF(26.5 * k, 9.8 * k), QPointF(31 * k, 9.8 * k));
    }
    return QPixmap::fromImage(img);
}

QPixmap Artwork::PadlockIcon(int size, bool locked)
{
    // Locked: the shackle closed into the body; open: lifted, its right leg free.
    QImage img = Canvas(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QColor gold(0xd8, 0x9a, 0x1c);
    p.setPen(QPen(QColor(0x7b, 0x86, 0x93), s * 0.1, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    shackle.moveTo(s * 0.32, s * 0.46);
    shackle.lineTo(s * 0.32, s * 0.28);
    shackle.arcTo(QRectF(s * 0.32, s * 0.06, s * 0.4, s * 0.44), 180, -180);
    shackle.lineTo(s * 0.72, locked ? s * 0.46 : s * 0.34);
    p.drawPath(locked ? shackle : shackle.translated(0, -s * 0.08));
    p.setPen(QPen(gold.darker(150), s * 0.04));
    p.setBrush(Shaded(QRectF(s * 0.18, s * 0.44, s * 0.64, s * 0.48), gold));
    p.drawRoundedRect(QRectF(s * 0.18, s * 0.44, s * 0.64, s * 0.48), s * 0.08, s * 0.08);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4a, 0x34, 0x10));
    p.drawEllipse(QRectF(s * 0.44, s * 0.56, s * 0.12, s * 0.12));
    p.drawRect(QRectF(s * 0.47, s * 0.64, s * 0.06, s * 0.14));
    return QPixmap::fromImage(img);
}

QPixmap Artwork::BooksCheckIcon(int size)
{
    // A ledger page under a magnifying glass.
    QImage img = Canvas(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QRectF page(s * 0.12, s * 0.08, s * 0.56, s * 0.74);
    p.setPen(QPen(QColor(0x8a, 0x95, 0xa5), s * 0.03));
    p.setBrush(Qt::white);
    p.drawRect(page);
    p.setPen(QPen(QColor(0x5b, 0x7d, 0xb8), s * 0.035));
    for (int i = 0; i < 5; ++i)
        p.drawLine(QPointF(s * 0.2, s * (0.2 + i * 0.11)), QPointF(s * 0.6, s * (0.2 + i * 0.11)));
    const QRectF lens(s * 0.42, s * 0.42, s * 0.36, s * 0.36);
    p.setPen(QPen(QColor(0x6b, 0x4a, 0x1a), s * 0.09, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(lens.center() + QPointF(s * 0.13, s * 0.13), QPointF(s * 0.92, s * 0.92));
    p.setPen(QPen(QColor(0x4d, 0x5d, 0x73), s * 0.05));
    p.setBrush(QColor(0xd8, 0xec, 0xff, 200));
    p.drawEllipse(lens);
    p.setPen(QPen(QColor(0x20, 0x90, 0x40), s * 0.05, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(QPolygonF{QPointF(s * 0.5, s * 0.6), QPointF(s * 0.57, s * 0.67), QPointF(s * 0.7, s * 0.52)});
    return QPixmap::fromImage(img);
}

QPixmap Artwork::PrinterIcon(int size)
{
    QImage img = Canvas(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QColor body(0x4d, 0x5d, 0x73);
    p.setPen(QPen(QColor(0x8a, 0x95, 0xa5), s * 0.03));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(s * 0.27, s * 0.08, s * 0.46, s * 0.32));
    p.setPen(QPen(body.darker(130), s * 0.04));
    p.setBrush(Shaded(QRectF(s * 0.08, s * 0.36, s * 0.84, s * 0.36), body));
    p.drawRoundedRect(QRectF(s * 0.08, s * 0.36, s * 0.84, s * 0.36), s * 0.07, s * 0.07);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x52, 0xd0, 0x6e));
    p.drawEllipse(QRectF(s * 0.74, s * 0.44, s * 0.08, s * 0.08));
    p.setPen(QPen(QColor(0x8a, 0x95, 0xa5), s * 0.03));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(s * 0.25, s * 0.58, s * 0.5, s * 0.36));
    p.setPen(QPen(QColor(0x5d, 0x6b, 0x80), s * 0.04, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i)
        p.drawLine(QPointF(s * 0.33, s * (0.7 + i * 0.08)), QPointF(s * (i == 2 ? 0.55 : 0.67), s * (0.7 + i * 0.08)));
    return QPixmap::fromImage(img);
}

QImage Artwork::AppIcon(int size)
{
    // A shoe on its box, over the blue of the program's banner.
    QImage img = Canvas(size);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    QLinearGradient g(0, 0, 0, s);
    g.setColorAt(0, QColor(0x4d, 0x9b, 0xe6));
    g.setColorAt(1, QColor(0x1d, 0x4f, 0x9c));
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(s * 0.03, s * 0.03, s * 0.94, s * 0.94), s * 0.18, s * 0.18);
    const QColor box(0xe0, 0x8a, 0x3a);
    p.setPen(QPen(box.darker(160), s * 0.02));
    p.setBrush(Shaded(QRectF(s * 0.16, s * 0.56, s * 0.68, s * 0.3), box));
    p.drawRect(QRectF(s * 0.18, s * 0.56, s * 0.64, s * 0.3));
    p.setBrush(box.darker(115));
    p.drawRect(QRectF(s * 0.14, s * 0.5, s * 0.72, s * 0.08));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xff, 0xf6, 0xe6));
    p.drawRoundedRect(QRectF(s * 0.38, s * 0.64, s * 0.24, s * 0.13), s * 0.02, s * 0.02);
    DrawShoe(p, QRectF(s * 0.14, s * 0.12, s * 0.72, s * 0.72), QColor(0x8a, 0x4b, 0x22));
    return img;
}

QPixmap Artwork::HintPicture(const QString &text, const QColor &border, int width, int height)
{
    QPixmap pm = Blank(width, height);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // The bubble, with its tail pointing down at the button below it.
    const QRectF body(4, 4, width - 8, height - 34);
    QPainterPath bubble;
    bubble.addRoundedRect(body, 14, 14);
    QPainterPath tail;
    const qreal cx = width / 2.0;
    tail.moveTo(cx - 18, body.bottom() - 1);
    tail.lineTo(cx, height - 4);
    tail.lineTo(cx + 18, body.bottom() - 1);
    tail.closeSubpath();
    bubble = bubble.united(tail);
    p.setPen(QPen(border, 2.5));
    p.setBrush(QColor(0xff, 0xff, 0xf4));
    p.drawPath(bubble);
    // Four small houses along the top.
    for (int i = 0; i < 4; ++i) {
        const qreal x = 22 + i * 30, y = 16;
        QPainterPath roof;
        roof.moveTo(x, y + 9);
        roof.lineTo(x + 10, y);
        roof.lineTo(x + 20, y + 9);
        roof.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(border);
        p.drawPath(roof);
        p.setBrush(border.lighter(160));
        p.drawRect(QRectF(x + 3, y + 9, 14, 11));
        p.setBrush(border.darker(130));
        p.drawRect(QRectF(x + 8, y + 13, 5, 7));
    }
    // Two lines: where to click, and what it does.
    const int cut = text.indexOf(QStringLiteral("按钮"));
    const QString first = cut >= 0 ? text.left(cut + 2) : text;
    const QString second = cut >= 0 ? text.mid(cut + 2) : QString();
    p.setPen(border.darker(150));
    p.setFont(UiFont(18));
    p.drawText(QRectF(16, 44, width - 32, 30), Qt::AlignLeft | Qt::AlignVCenter, first);
    p.drawText(QRectF(16, 76, width - 32, 30), Qt::AlignRight | Qt::AlignVCenter, second);
    return pm;
}

QStringList Artwork::BillBannerNames()
{
    return {QStringLiteral("NewSell"), QStringLiteral("EditSell"), QStringLiteral("NewBuy"), QStringLiteral("EditBuy"),
            QStringLiteral("NewGet"), QStringLiteral("EditGet"), QStringLiteral("NewPay"), QStringLiteral("EditPay")};
}

QImage Artwork::BillBanner(const QString &name, int width, int height)
{
    struct Look {
        const char *name, *title, *word;
        QColor colour;
    };
    static const Look looks[] = {
        {"Sell", "出货单", "销售", QColor(0x8a, 0x4b, 0xc4)},
        {"Buy", "进货单", "进货", QColor(0x5b, 0x4b, 0xb0)},
        {"Get", "财务收入单", "收入", QColor(0x2e, 0x9e, 0x5a)},
        {"Pay", "财务支出单", "支出", QColor(0xc0, 0x5a, 0x2a)},
    };
    const bool isNew = name.startsWith(QLatin1String("New"));
    const QString kind = name.mid(isNew ? 3 : 4);
    Look look = looks[0];
    for (const Look &l : looks)
        if (kind == QLatin1String(l.name))
            look = l;
    QImage img(width, height, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, width, 0);
    g.setColorAt(0, look.colour.darker(115));
    g.setColorAt(1, look.colour.lighter(160));
    p.fillRect(img.rect(), g);
    const int tile = height - 16;
    GlyphTile(p, QRectF(10, 8, tile, tile), look.colour.darker(130), QString::fromUtf8(look.word).left(1));
    p.setPen(Qt::white);
    p.setFont(UiFont(height * 2 / 5));
    p.drawText(QRect(tile + 22, 0, width - tile - 30, height), Qt::AlignVCenter | Qt::AlignLeft,
               (isNew ? QStringLiteral("新增") : QStringLiteral("查看 / 修改 ")) + QString::fromUtf8(look.title));
    return img;
}

bool Artwork::WriteResFolder(const QString &folder)
{
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral(".")))
        return false;
    bool ok = true;
    ok = BarPicture(true, 538).save(dir.filePath(QStringLiteral("LeftBar.bmp")), "BMP") && ok;
    ok = BarPicture(false, 538).save(dir.filePath(QStringLiteral("RightBar.bmp")), "BMP") && ok;
    for (const QString &name : CardIconNames())
        ok = CardIcon(name).save(dir.filePath(name + QStringLiteral(".ico")), "ICO") && ok;
    for (const QString &name : BillBannerNames())
        ok = BillBanner(name).save(dir.filePath(name + QStringLiteral(".bmp")), "BMP") && ok;
    return ok;
}
