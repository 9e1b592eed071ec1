#include "stores/BillRestore.h"

#include "db/Journal.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"
#include "stores/FinanceBillStore.h"
#include "stores/GoodsBillStore.h"

#include <QJsonArray>
#include <QJsonDocument>

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
double Amount(const QJsonObject &o, const char *field) { return qAbs(o.value(QLatin1String(field)).toDouble()); }

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
        const int account = bill.value(QStringLiteral("BillAccount")).toInt();
        TQuery q(QStringLiteral("Account"));
        q.Open(QStringLiteral("Select Count(*) As Found From Account Where AccountIndex = ?"), {account});
        if (q.FieldByName(QStringLiteral("Found")).AsInteger() == 0)
            throw EConvertError(QStringLiteral("单据的帐户“%1”已删除，无法恢复").arg(Text(bill, "AccountName")));
        const QDate date = QDate::fromString(Text(bill, "BillCreateTime").left(10), Qt::ISODate);
        // One record says it came back; the save's own is left out.
        std::optional<Journal::Batch> batch(std::in_place);
        if (kind == QStringLiteral("出货单") || kind == QStringLiteral("进货单")) {
            GoodsBill goods;
            goods.sales = kind == QStringLiteral("出货单");
            FillHeader(goods, bill, account, date);
            goods.total = Amount(bill, "BillSum");
            goods.paid = Amount(bill, "BillMoney");
            const QJsonArray lines = bill.value(QStringLiteral("Lines")).toArray();
            for (int i = 0; i < GoodsBill::LineCount && i < lines.size(); ++i) {
                const QJsonObject l = lines.at(i).toObject();
                GoodsLine &line = goods.lines[i];
                line.product = l.value(QStringLiteral("StoreProduct")).toInt();
                for (int k = 0; k < 10; ++k)
                    line.sizes[k] = l.value(QStringLiteral("StoreNum%1").arg(k + 1)).toString();
                line.pieces = int(qAbs(l.value(QStringLiteral("StoreNumber")).toDouble()));
                line.price = l.value(QStringLiteral("StorePrice")).toDouble();
                line.sum = l.value(QStringLiteral("StoreSum")).toDouble();
            }
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
            finance.amount = Amount(bill, "BillSum");
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
