#include "shell/Form.h"

#include "shell/Dialogs.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

#include <QLineEdit>

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

void SetPasswordEcho(QLineEdit *edit, bool on)
{
    edit->setEchoMode(on ? QLineEdit::Password : QLineEdit::Normal);
    edit->setStyleSheet(on ? QStringLiteral("QLineEdit { lineedit-password-character: 35; }") : QString());
}
