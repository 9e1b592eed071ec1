#include "shell/Form.h"

#include "shell/Dialogs.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

#include <QAbstractButton>
#include <QAction>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

TForm::TForm(QWidget *parent) : QDialog(parent) {}

void TForm::CloseWithResult(int result)
{
    closeRequested_ = true;
    done(result);
}

bool TForm::LoadRecordOrClose(const QString &sql, const QString &failureMessage)
{
    TQuery &q = ShareDataModule->ADOQueryTemp;
    if (!RunQuery(q, sql, failureMessage)) {
        CloseWithResult(QDialog::Rejected);
        return false;
    }
    if (q.IsEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("找不到要修改的记录"));
        CloseWithResult(QDialog::Rejected);
        return false;
    }
    q.First();
    return true;
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

void TForm::keyPressEvent(QKeyEvent *event)
{
    const bool enter = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
                       && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    if (enter) {
        QWidget *focus = focusWidget();
        if (auto *button = qobject_cast<QAbstractButton *>(focus); button && !button->isCheckable()) {
            if (button->isEnabled())
                button->click();
            return;
        }
        if (enterAction_) {
            enterAction_->trigger();
            return;
        }
        if (dataEntry_) {
            if (QWidget *next = NextInput(focus))
                next->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    if (event->key() == Qt::Key_Escape && dataEntry_) {
        // A half-typed bill is not thrown away by a stray key; 取消 closes it.
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SetPasswordEcho(QLineEdit *edit, bool on)
{
    edit->setEchoMode(on ? QLineEdit::Password : QLineEdit::Normal);
    edit->setStyleSheet(on ? QStringLiteral("QLineEdit { lineedit-password-character: 35; }") : QString());
}
