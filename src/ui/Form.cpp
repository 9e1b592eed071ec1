#include "ui/Form.h"

#include "ui/Dialogs.h"
#include "db/ShareDM.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

TForm::TForm(QWidget *parent) : QDialog(parent) {}

void TForm::CloseWithResult(int result)
{
    closeRequested_ = true;
    done(result);
}

bool TForm::LoadRecordOrClose(TQuery &record, const std::function<bool(TQuery &)> &read)
{
    if (!read(record)) {
        CloseWithResult(QDialog::Rejected);
        return false;
    }
    if (record.IsEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("找不到要修改的记录"));
        CloseWithResult(QDialog::Rejected);
        return false;
    }
    record.First();
    return true;
}

void TForm::SetEntryOrder(const QList<QWidget *> &order, QAbstractButton *finish)
{
    order_ = order;
    finish_ = finish;
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
    if (finish && !order.isEmpty())
        setTabOrder(order.last(), finish);
    // An editable list completes a typed prefix inline, and its line edit would
    // take the first Enter just to accept that: watch the list (it has the
    // focus and hands keys to its line edit) so one Enter moves on.
    for (QWidget *w : order)
        if (auto *box = qobject_cast<QComboBox *>(w); box && box->isEditable())
            box->installEventFilter(this);
}

void TForm::showEvent(QShowEvent *event)
{
    // Qt would make the first push button in the tab order the default one, so
    // that Enter in any field pressed it (a line's picker, say): only a button
    // made default on purpose is.
    for (QPushButton *b : findChildren<QPushButton *>())
        if (!b->isDefault())
            b->setAutoDefault(false);
    QDialog::showEvent(event);
}

QWidget *TForm::NextInput(QWidget *from) const
{
    if (!from)
        return nullptr;
    auto accepts = [this](QWidget *w) {
        const auto *button = qobject_cast<QAbstractButton *>(w);
        return w->isEnabled() && w->isVisibleTo(const_cast<TForm *>(this)) && (w->focusPolicy() & Qt::TabFocus)
               && !(button && !button->isCheckable());
    };
    if (!order_.isEmpty()) {
        // The input from belongs to (a combo's line edit belongs to its combo).
        qsizetype at = -1;
        for (QWidget *w = from; w && w != this && at < 0; w = w->parentWidget())
            at = order_.indexOf(w);
        if (at >= 0) {
            for (qsizetype i = at + 1; i < order_.size(); ++i)
                if (accepts(order_[i]))
                    return order_[i];
            return finish_ && finish_->isEnabled() && finish_->isVisibleTo(const_cast<TForm *>(this)) ? finish_ : nullptr;
        }
    }
    for (QWidget *w = from->nextInFocusChain(); w && w != from; w = w->nextInFocusChain()) {
        if (w->window() != this || w->focusProxy() || !(w->focusPolicy() & Qt::TabFocus) || !w->isEnabled()
            || !w->isVisibleTo(const_cast<TForm *>(this)))
            continue;
        const auto *button = qobject_cast<QAbstractButton *>(w);
        if (button && !button->isCheckable())
            continue;
        return w;
    }
    return nullptr;
}

namespace {
bool IsEnter(const QKeyEvent *event)
{
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
           && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}
} // namespace

bool TForm::Enter(QWidget *focus)
{
    if (auto *button = qobject_cast<QAbstractButton *>(focus); button && !button->isCheckable()) {
        if (button->isEnabled())
            button->click();
        return true;
    }
    if (enterAction_) {
        enterAction_->trigger();
        return true;
    }
    if (dataEntry_) {
        if (QWidget *next = NextInput(focus))
            next->setFocus(Qt::TabFocusReason);
        return true;
    }
    return false;
}

bool TForm::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && IsEnter(static_cast<QKeyEvent *>(event))) {
        // Enter in an editable list: the completed text stands as shown, and the focus moves on.
        if (auto *box = qobject_cast<QComboBox *>(watched); box && box->lineEdit()) {
            box->lineEdit()->deselect();
            box->lineEdit()->end(false);
            if (Enter(box))
                return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm::keyPressEvent(QKeyEvent *event)
{
    if (IsEnter(event) && Enter(focusWidget()))
        return;
    if (event->matches(QKeySequence::Save) && finish_) {
        if (finish_->isEnabled() && finish_->isVisibleTo(this))
            finish_->click();
        return;
    }
    if (event->key() == Qt::Key_Escape && dataEntry_) {
        // A half-typed bill is not thrown away by a stray key; 取消 closes it.
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

QStringList TForm::InputState() const
{
    QStringList state;
    for (const QWidget *w : findChildren<QWidget *>()) {
        if (const auto *edit = qobject_cast<const QLineEdit *>(w))
            state << edit->text();
        else if (const auto *box = qobject_cast<const QComboBox *>(w))
            state << QString::number(box->currentIndex()) + QLatin1Char(':') + box->currentText();
        else if (const auto *button = qobject_cast<const QAbstractButton *>(w); button && button->isCheckable())
            state << QString::number(button->isChecked());
        else if (const auto *date = qobject_cast<const QDateEdit *>(w))
            state << date->date().toString(Qt::ISODate);
    }
    return state;
}

void TForm::reject()
{
    if (!discardQuestion_.isEmpty() && InputsChanged()
        && !Dialogs::AskYesNo(QStringLiteral("放弃单据"), discardQuestion_))
        return;
    QDialog::reject();
}

void SetPasswordEcho(QLineEdit *edit, bool on)
{
    edit->setEchoMode(on ? QLineEdit::Password : QLineEdit::Normal);
    edit->setStyleSheet(on ? QStringLiteral("QLineEdit { lineedit-password-character: 35; }") : QString());
}
