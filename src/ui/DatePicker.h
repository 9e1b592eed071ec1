#pragma once
// The program's date picker: a date edit with its calendar, shown as
// yyyy-M-d, that Tab leaves in one press instead of walking its year, month
// and day parts (keys meant for the next field must never change a date); a
// click into a part selects it for typing.

#include <QDateEdit>

class TDatePicker : public QDateEdit {
    Q_OBJECT
public:
    explicit TDatePicker(QWidget *parent = nullptr);

protected:
    bool focusNextPrevChild(bool next) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};
