#include "stores/BillRestore.h"

#include "db/Journal.h"
#include "db/Money.h"
#include "core/NumberTexts.h"
#include "db/ShareDM.h"
#include "stores/FinanceBillStore.h"
#include "stores/GoodsBillStore.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <cmath>
#include <limits>
#include <optional>

namespace {
const QStringList BillKinds = {QStringLiteral("出货单"), QStringLiteral("进货单"), QStringLiteral("财务收入单"), QStringLiteral("财务支出单")};

// The deleted bill's image, empty when the record is no bill's deletion.
QJsonObject DeletedBill(int journalIndex)
{
    TQuery q(QStringLiteral("Journal"));
    q.Open(QStringLiteral("Select JournalAction, JournalKind, JournalData From Journal Where JournalIndex = ?"), {journalIndex});
    if (q.IsEmpty() || q.FieldByName(QStringLiteral("JournalAction")).AsString() != QStringLiteral("删除")
        || !BillKinds.contains(q.FieldByName(QStringLiteral("JournalKind")).AsString()))
        return QJsonObject();
    return QJsonDocument::fromJson(q.FieldByName(QStringLiteral("JournalData")).AsString().toUtf8()).object().value(QStringLiteral("before")).toObject();
}

QString Text(const QJsonObject &o, const char *field) { return o.value(QLatin1String(field)).toString(); }

// The record is refused whole, nothing written, with the reason.
[[noreturn]] void Refuse(const QString &why) { throw EConvertError(QStringLiteral("删除记录中的") + why + QStringLiteral("，无法恢复")); }

QString Shown(const QJsonValue &value)
{
    QString text;
    if (value.isDouble())
        text = NumberText(value.toDouble());
    else if (value.isString())
        text = value.toString();
    else if (value.isUndefined())
        return QStringLiteral("（缺）");
    else
        text = QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact)).mid(1).chopped(1);
    return QStringLiteral("“%1”").arg(text.size() > 20 ? text.left(20) + QStringLiteral("…") : text);
}

// An amount of the record without its sign (the kind gives it), or the
// restore refused: a number no bill holds is no amount.
double Amount(const QJsonObject &o, const char *field, const QString &caption, bool signedField = true)
{
    const QJsonValue value = o.value(QLatin1String(field));
    if (!value.isDouble() || !FenHolds(value.toDouble()) || (!signedField && value.toDouble() < 0))
        Refuse(QStringLiteral("%1%2不是有效的金额").arg(caption, Shown(value)));
    return qAbs(value.toDouble());
}

int Count(const QJsonObject &o, const char *field, const QString &caption)
{
    const QJsonValue value = o.value(QLatin1String(field));
    const double v = qAbs(value.toDouble());
    if (!value.isDouble() || !(v <= std::numeric_limits<int>::max()) || v != std::floor(v))
        Refuse(QStringLiteral("%1%2不是有效的整数").arg(caption, Shown(value)));
    return int(v);
}

QDate Date(const QJsonObject &bill)
{
    const QJsonValue value = bill.value(QStringLiteral("BillCreateTime"));
    const QString text = value.toString();
    const QDate date = QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
    if (!value.isString() || !date.isValid() || (text.size() > 10 && text.at(10) != QLatin1Char(' ') && text.at(10) != QLatin1Char('T')))
        Refuse(QStringLiteral("单据日期%1不是有效的日期").arg(Shown(value)));
    return date;
}

// What a goods bill and a finance bill take alike from the deleted one's header.
template <typename Bill>
void FillHeader(Bill &target, const QJsonObject &bill, int account, const QDate &date)
{
    target.account = account;
    target.date = date;
    target.customer = Text(bill, "BillUser");
    target.reason = Text(bill, "BillReason");
    target.type = Text(bill, "BillType");
    target.token = Text(bill, "BillToken");
    target.remark = Text(bill, "BillRemark");
    target.serial = Text(bill, "BillSerial");
    target.proposed = target.serial;
}
} // namespace

bool BillRestore::Restorable(int journalIndex)
{
    try {
        return !DeletedBill(journalIndex).isEmpty();
    } catch (const EDatabaseError &) {
        return false;
    }
}

int BillRestore::Restore(int journalIndex, QString *message)
{
    int index = 0;
    QString serial;
    QJsonObject bill;
    const bool saved = ShareDataModule->RunInTransaction(QStringLiteral("单据恢复失败，未作任何修改"), [&] {
        bill = DeletedBill(journalIndex);
        if (bill.isEmpty())
            throw EConvertError(QStringLiteral("这条记录不是删除的单据，无法恢复"));
        const QString kind = Text(bill, "BillKind");
        // What the record holds is checked before anything is written.
        const QDate date = Date(bill);
        const double recordedSum = Amount(bill, "BillSum", QStringLiteral("单据金额"));
        const int account = bill.value(QStringLiteral("BillAccount")).toInt();
        TQuery q(QStringLiteral("Account"));
        q.Open(QStringLiteral("Select Count(*) As Found From Account Where AccountIndex = ?"), {account});
        if (q.FieldByName(QStringLiteral("Found")).AsInteger() == 0)
            throw EConvertError(QStringLiteral("单据的帐户“%1”已删除，无法恢复").arg(Text(bill, "AccountName")));
        // One record says it came back; the save's own is left out.
        std::optional<Journal::Batch> batch(std::in_place);
        if (kind == QStringLiteral("出货单") || kind == QStringLiteral("进货单")) {
            // The bill is made again from its lines: its total is theirs, whatever total the record holds.
            GoodsBill goods;
            goods.sales = kind == QStringLiteral("出货单");
            FillHeader(goods, bill, account, date);
            goods.paid = Amount(bill, "BillMoney", QStringLiteral("已付金额"));
            const QJsonArray lines = bill.value(QStringLiteral("Lines")).toArray();
            for (int i = 0; i < GoodsBill::LineCount && i < lines.size(); ++i) {
                const QJsonObject l = lines.at(i).toObject();
                const QString row = QStringLiteral("第%1行的").arg(i + 1);
                GoodsLine &line = goods.lines[i];
                line.product = l.value(QStringLiteral("StoreProduct")).toInt();
                for (int k = 0; k < 10; ++k)
                    line.sizes[k] = l.value(QStringLiteral("StoreNum%1").arg(k + 1)).toString();
                line.pieces = Count(l, "StoreNumber", row + QStringLiteral("数量"));
                line.price = Amount(l, "StorePrice", row + QStringLiteral("单价"), false);
                if (!FenHolds(line.pieces * line.price))
                    Refuse(QStringLiteral("%1数量乘单价超出了金额所能存放的范围").arg(row));
                line.sum = FenToYuan(line.AmountFen());
            }
            goods.total = FenToYuan(goods.TotalFen());
            // A product deleted since: its lines go where a deletion puts them.
            for (GoodsLine &line : goods.lines) {
                q.Open(QStringLiteral("Select Count(*) As Found From Product Where ProductIndex = ?"), {line.product});
                if (line.product > 1 && q.FieldByName(QStringLiteral("Found")).AsInteger() == 0)
                    line.product = 1;
            }
            index = TGoodsBillStore::SaveNew(goods, &serial);
        } else {
            FinanceBill finance;
            finance.income = kind == QStringLiteral("财务收入单");
            FillHeader(finance, bill, account, date);
            finance.amount = RoundMoney(recordedSum);
            finance.man = Text(bill, "BillMan");
            index = TFinanceBillStore::SaveNew(finance, &serial);
        }
        batch.reset();
        if (index == 0)
            return false;
        const QString old = Text(bill, "BillSerial");
        Journal::Write({QStringLiteral("恢复"), kind, serial, Text(bill, "BillUser"),
                        {old == serial ? QStringLiteral("按删除记录恢复了单据") : QStringLiteral("按删除记录恢复了单据，原编号 %1 已被使用").arg(old)},
                        {}, Journal::Bill(index)});
        return true;
    });
    if (!saved)
        return 0;
    const QString old = Text(bill, "BillSerial");
    if (message)
        *message = old == serial || old.isEmpty() ? QStringLiteral("单据已恢复，编号 %1").arg(serial)
                                                  : QStringLiteral("单据已恢复。原编号 %1 已被使用，改用编号 %2").arg(old, serial);
    return index;
}
