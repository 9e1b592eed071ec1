#include "stores/BillNumbers.h"

#include "db/SqlEngine.h"

#include "db/BooksAudit.h"
#include "core/NumberTexts.h"
#include "db/Queries.h"
#include "db/Journal.h"
#include "db/ShareDM.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {
EConvertError UsedNumber(const QString &serial)
{
    return EConvertError(QStringLiteral("单据编号“%1”已被使用，请换一个编号").arg(serial));
}
} // namespace

void BillNumbers::WriteBack(int settingIndex, const QString &serial)
{
    // Without its row the series keeps nothing.
    ShareDataModule->Exec(QStringLiteral("Update Setting Set SettingValue = ? Where SettingIndex = ?"), {serial, settingIndex});
}

QString BillNumbers::Take(int settingIndex, const QString &kind, const QString &serial, const QString &proposed)
{
    QSqlQuery q(ShareDataModule->Connection());
    auto run = [&q](const QString &sql, const QVariantList &values) {
        q.prepare(sql);
        for (const QVariant &v : values)
            q.addBindValue(v);
        if (!q.exec())
            throw EDatabaseError(q.lastError().text());
    };
    run(QStringLiteral("Select SettingValue From Setting Where SettingIndex = ?") + TSqlEngine::Current().LockRows(), {settingIndex});
    const QString last = q.next() ? q.value(0).toString() : QString();
    if (serial.isEmpty()) {
        WriteBack(settingIndex, serial);
        return serial;
    }
    auto used = [&](const QString &number) {
        // "<> ''" lets the lookup use the index of numbered bills.
        run(QStringLiteral("Select Count(*) From Bill Where BillKind = ? And BillSerial = ? And BillSerial <> ''"), {kind, number});
        return q.next() && q.value(0).toInt() > 0;
    };
    QString taken = serial;
    if (used(serial)) {
        if (serial != proposed || last.isEmpty())
            throw UsedNumber(serial);
        // Another counter took the proposal: the next number after the last one used, and on while taken.
        taken = last;
        do
            taken = Next(taken);
        while (!taken.isEmpty() && used(taken));
        if (taken.isEmpty())
            throw UsedNumber(serial);
    }
    q.finish();
    WriteBack(settingIndex, taken);
    return taken;
}

void BillNumbers::Keep(const QString &kind, const QString &serial, int billIndex)
{
    if (serial.isEmpty())
        return;
    TQuery q(QStringLiteral("BillNumbers"));
    q.Open(QStringLiteral("Select Count(*) As Used From Bill Where BillKind = ? And BillSerial = ? And BillSerial <> '' And BillIndex <> ?"), {kind, serial, billIndex});
    if (q.FieldByName(QStringLiteral("Used")).AsInteger() > 0)
        throw UsedNumber(serial);
}

bool BillNumbers::MoveForward(const QList<SettingBehind> &behind)
{
    return ShareDataModule->RunInTransaction(QStringLiteral("编号设置修改失败，未作任何修改"), [&] {
        for (const SettingBehind &s : behind)
            ShareDataModule->Exec(QStringLiteral("Update Setting Set SettingValue = ? Where SettingIndex = ? And SettingValue = ?"),
                                  {s.highest, s.settingIndex, s.stored});
        QStringList moves;
        for (const SettingBehind &s : behind)
            moves << QStringLiteral("上次编号 %1 → %2").arg(s.stored, s.highest);
        Journal::Write({QStringLiteral("修正"), QStringLiteral("单据编号设置"), QString(), QString(), moves, {}, {}});
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

// ---------------------------------------------------------------- reads

bool BillNumbers::FindSeries(int settingIndex, TQuery &into, const QString &failureMessage)
{
    return RunQuery(into, QStringLiteral("Select * From Setting Where SettingIndex = ?"), failureMessage, QVariantList{settingIndex});
}
