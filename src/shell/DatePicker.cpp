#include "shell/DatePicker.h"

TDatePicker::TDatePicker(QWidget *parent) : QDateEdit(parent)
{
    setDisplayFormat(QStringLiteral("yyyy-M-d"));
    setCalendarPopup(true);
}

// QDateTimeEdit moves between its sections here; the window's order is wanted.
bool TDatePicker::focusNextPrevChild(bool next) { return QWidget::focusNextPrevChild(next); }
