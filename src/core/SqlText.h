#pragma once
// A statement, or a piece of one, with the values of its "?" marks in order.
// Values never go into the text itself: the books may also sit on a server
// where quoting rules and date literals differ. Pieces are joined with their
// values, so the marks and the values stay in step.

#include <QDate>
#include <QString>
#include <QVariant>
#include <QVariantList>

struct SqlText {
    QString text;
    QVariantList params;

    SqlText() = default;
    SqlText(const QString &sqlText, const QVariantList &values = {}) : text(sqlText), params(values) {}
    SqlText(const char *sqlText) : text(QString::fromUtf8(sqlText)) {}

    SqlText &operator+=(const SqlText &more)
    {
        text += more.text;
        params += more.params;
        return *this;
    }
    friend SqlText operator+(SqlText left, const SqlText &right) { return left += right; }
};

// A date as the books store it, 'yyyy-MM-dd' text; NULL for no date.
QVariant DateValue(const QDate &date);
