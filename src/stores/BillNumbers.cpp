#include "stores/BillNumbers.h"

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
