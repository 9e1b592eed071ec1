#include "stores/BillNumbers.h"

#include "db/BooksAudit.h"
#include "shell/ShareDM.h"

void BillNumbers::WriteBack(int settingIndex, const QString &serial)
{
    TQuery q(QStringLiteral("BillNumber"));
    q.Open(QStringLiteral("Select * From Setting Where SettingIndex = ") + QString::number(settingIndex));
    if (q.IsEmpty())
        return;
    q.First();
    q.Edit();
    q.FieldByName(QStringLiteral("SettingValue")).SetAsString(serial);
    q.Post();
}

bool BillNumbers::MoveForward(const QList<SettingBehind> &behind)
{
    return ShareDataModule->RunInTransaction(QStringLiteral("编号设置修改失败，未作任何修改"), [&] {
        for (const SettingBehind &s : behind)
            ShareDataModule->Exec(QStringLiteral("Update Setting Set SettingValue = ? Where SettingIndex = ? And SettingValue = ?"),
                                  {s.highest, s.settingIndex, s.stored});
        return true;
    });
}
