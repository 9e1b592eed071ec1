#include "shell/ModifyPassword.h"

#include "shell/AskForm.h"
#include "shell/Dialogs.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

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
    TQuery q(QStringLiteral("ModifyPassword"));
    if (!RunQuery(q, QStringLiteral("Select * From Power Where PowerName = '修改'"),
                  QStringLiteral("数据库打开失败")))
        return false;
    if (q.RecordCount() < 1) {
        Dialogs::ShowMessage(QStringLiteral("数据库出错，资料修改密码被删除"));
        return false;
    }
    q.First();
    if (q.FieldByName(QStringLiteral("PowerKey")).AsString() == FormAsk->FInputText)
        return true;
    Dialogs::ShowMessage(QStringLiteral("密码错误，请重新操作"));
    return false;
}
