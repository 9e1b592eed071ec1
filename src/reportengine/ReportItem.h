#pragma once
// One thing printed inside a band: a static text, a data field, a line or a frame.
// Positions and sizes are millimetres from the band's top-left corner.

#include <QColor>
#include <QRectF>
#include <QString>

struct TReportItem {
    enum Kind { Text, Field, Line, Frame };
    enum Border { NoBorder = 0, LeftBorder = 1, TopBorder = 2, RightBorder = 4, BottomBorder = 8, AllBorders = 15 };

    Kind kind = Text;
    QRectF rect;             // a line runs from rect.topLeft() to rect.bottomRight()
    QString text;            // Text: may hold [Page], [Pages] and [Date]
    QString dataSet;         // Field: the data set ...
    QString field;           // ... and its column
    QString fontFamily = QStringLiteral("宋体");
    double fontSize = 10;    // points
    bool bold = false;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    bool wrap = false;
    int borders = NoBorder;  // Text and Field
    double penWidth = 0.2;   // millimetres, for borders, lines and frames
    QColor color = Qt::black;
    QColor fill;             // invalid: no fill
    int sourceLine = 0;      // the template file's line naming its field, for messages

    bool IsTextual() const { return kind == Text || kind == Field; }
};
