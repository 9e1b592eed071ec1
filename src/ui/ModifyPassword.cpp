#include "ui/ModifyPassword.h"

#include "ui/AskForm.h"
#include "ui/Dialogs.h"
#include "stores/PasswordStore.h"

bool AskModifyPassword(const QString &caption, const QString &prompt, const QString &initial)
{
    FormAsk->FCaptionText = caption;
    FormAsk->FPromptText = prompt;
    FormAsk->FInputText = initial;
    FormAsk->SetPasswordMode(true);
    struct Plain {
        ~Plain() { FormAsk->SetPasswordMode(false); }
    } plain; // every way out shows plain text again

    if (Dialogs::ShowModal(FormAsk) != QDialog::Accepted)
        return false;
    QString key;
    switch (TPasswordStore::KeyOf(QStringLiteral("修改"), &key)) {
    case TPasswordStore::Lookup::Failed:
        return false;
    case TPasswordStore::Lookup::Missing:
        Dialogs::ShowMessage(QStringLiteral("数据库出错，资料修改密码被删除"));
        return false;
    case TPasswordStore::Lookup::Found:
        break;
    }
    if (key == FormAsk->FInputText)
        return true;
    Dialogs::ShowMessage(QStringLiteral("密码错误，请重新操作"));
    return false;
}
