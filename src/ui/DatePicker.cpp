#include "ui/DatePicker.h"

#include <QEvent>
#include <QLineEdit>
#include <QMouseEvent>

TDatePicker::TDatePicker(QWidget *parent) : QDateEdit(parent)
{
    setDisplayFormat(QStringLiteral("yyyy-M-d"));
    setCalendarPopup(true);
    lineEdit()->installEventFilter(this);
}

// QDateTimeEdit moves between its sections here; the window's order is wanted.
bool TDatePicker::focusNextPrevChild(bool next) { return QWidget::focusNextPrevChild(next); }

bool TDatePicker::eventFilter(QObject *watched, QEvent *event)
{
    // A click into a part (year, month or day) selects it, so what is typed next
    // replaces it: a click on the day and "15" make the 15th.
    if (watched == lineEdit() && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton && !lineEdit()->hasSelectedText()) {
        const bool handled = QDateEdit::eventFilter(watched, event);
        setSelectedSection(currentSection());
        return handled;
    }
    return QDateEdit::eventFilter(watched, event);
}
