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

QImage Artwork::CardIcon(const QString &name)
{
    // A coin in the page's colour: its plus signs large, its colour word small,
    // so the grade reads at a glance; red minus for a debt, grey zero for nothing.
    const int size = 40;
    QImage img(size, size, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QColor colour;
    QString big, small;
    if (name == QLatin1String("Money-")) {
        colour = QColor(0xd2, 0x2b, 0x2b);
        big = QStringLiteral("−");
        small = QStringLiteral("Money-");
    } else if (name == QLatin1String("Money0")) {
        colour = QColor(0x9a, 0xa3, 0xad);
        big = QStringLiteral("0");
        small = QStringLiteral("Money0");
    } else {
        const int plus = int(name.count(QLatin1Char('+')));
        const QString word = name.left(name.size() - plus);
        colour = PageColour(word);
        big = QString(plus, QLatin1Char('+'));
        small = word;
    }
    QRadialGradient g(size * 0.35, size * 0.3, size * 0.75);
    g.setColorAt(0, colour.lighter(150));
    g.setColorAt(1, colour);
    p.setPen(QPen(colour.darker(140), 1.5));
    p.setBrush(g);
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    p.setPen(Qt::white);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(big.size() >= 3 ? 13 : 17);
    p.setFont(f);
    p.drawText(QRect(0, 3, size, 22), Qt::AlignCenter, big);
    QFont w(QStringLiteral("DejaVu Sans Condensed"));
    w.setPixelSize(8);
    w.setBold(true);
    p.setFont(w);
    p.drawText(QRect(0, 23, size, 11), Qt::AlignCenter, small);
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
