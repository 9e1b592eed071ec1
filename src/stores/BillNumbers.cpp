#include "stores/BillNumbers.h"

#include "db/BooksAudit.h"
#include "shell/PublicFunction.h"
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

namespace {
int FirstSignificantDigit(const QString &serial)
{
    for (int i = 0; i < serial.size(); ++i)
        if (serial[i] >= QLatin1Char('1') && serial[i] <= QLatin1Char('9'))
            return i;
    return -1;
}
} // namespace

QString BillNumbers::Next(const QString &serial)
{
    const int at = FirstSignificantDigit(serial);
    if (at < 0)
        return QString();
    QString number = serial.mid(at);
    if (!IsDigitText(number))
        throw EConvertError(QStringLiteral("单据编号“%1”的数字部分有误，无法推算下一个编号").arg(serial));
    // Add one digit by digit, so a long number never overflows.
    int i = int(number.size()) - 1;
    for (; i >= 0; --i) {
        if (number[i] == QLatin1Char('9')) {
            number[i] = QLatin1Char('0');
        } else {
            number[i] = QChar(number[i].unicode() + 1);
            break;
        }
    }
    if (i < 0)
        number.prepend(QLatin1Char('1'));
    return serial.left(at) + number;
}

bool BillNumbers::WellFormed(const QString &serial)
{
    const int at = FirstSignificantDigit(serial);
    return at < 0 || IsDigitText(serial.mid(at));
}
