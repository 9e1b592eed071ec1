#include "shell/Artwork.h"

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

bool Artwork::WriteResFolder(const QString &folder)
{
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral(".")))
        return false;
    bool ok = true;
    ok = BarPicture(true, 538).save(dir.filePath(QStringLiteral("LeftBar.bmp")), "BMP") && ok;
    ok = BarPicture(false, 538).save(dir.filePath(QStringLiteral("RightBar.bmp")), "BMP") && ok;
    return ok;
}
