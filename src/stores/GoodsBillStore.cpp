#include "stores/GoodsBillStore.h"

#include "shell/Clock.h"
#include "shell/ShareDM.h"
#include "stores/BillDeletion.h"
#include "stores/BillNumbers.h"
#include "stores/RowWrites.h"

namespace {
const QString saveFailed = QStringLiteral("单据保存失败，未作任何修改");

void WriteHeader(TQuery &row, const GoodsBill &bill)
{
    const double sign = bill.sales ? 1 : -1;
    row.FieldByName(QStringLiteral("BillAccount")).SetAsInteger(bill.account);
    row.FieldByName(QStringLiteral("BillCreateTime")).SetAsDate(bill.date);
    row.FieldByName(QStringLiteral("BillUser")).SetAsString(bill.customer);
    row.FieldByName(QStringLiteral("BillSum")).SetAsFloat(sign * bill.total);
    row.FieldByName(QStringLiteral("BillMoney")).SetAsFloat(sign * bill.paid);
    row.FieldByName(QStringLiteral("BillReason")).SetAsString(bill.reason);
    row.FieldByName(QStringLiteral("BillType")).SetAsString(bill.type);
    row.FieldByName(QStringLiteral("BillToken")).SetAsString(bill.token);
    row.FieldByName(QStringLiteral("BillRemark")).SetAsString(bill.remark);
    row.FieldByName(QStringLiteral("BillSerial")).SetAsString(bill.serial);
    row.FieldByName(QStringLiteral("BillMan")).SetAsString(QString());
}

void WriteLine(TQuery &row, const GoodsBill &bill, int billIndex, const GoodsLine &line)
{
    // Goods leave the stock on a sale and come in on a purchase.
    const int sign = bill.sales ? -1 : 1;
    row.FieldByName(QStringLiteral("StoreBill")).SetAsInteger(billIndex);
    row.FieldByName(QStringLiteral("StoreProduct")).SetAsInteger(line.product);
    for (int k = 0; k < int(line.sizes.size()); ++k)
        row.FieldByName(QStringLiteral("StoreNum%1").arg(k + 1)).SetAsString(line.sizes[k]);
    row.FieldByName(QStringLiteral("StoreNumber")).SetAsInteger(sign * line.pieces);
    row.FieldByName(QStringLiteral("StorePrice")).SetAsFloat(line.price);
    row.FieldByName(QStringLiteral("StoreSum")).SetAsFloat(line.sum);
}
} // namespace

int TGoodsBillStore::SaveNew(const GoodsBill &bill)
{
    TQuery row(QStringLiteral("GoodsBill")), lines(QStringLiteral("GoodsLines"));
    int billIndex = 0;
    const bool saved = ShareDataModule->RunInTransaction(saveFailed, [&] {
        row.Open(QStringLiteral("Select * From Bill Where BillIndex = 0"));
        row.Append();
        row.FieldByName(QStringLiteral("BillKind")).SetAsString(bill.Kind());
        row.FieldByName(QStringLiteral("BillRecordTime")).SetAsDate(Clock::Today());
        WriteHeader(row, bill);
        row.Post();
        billIndex = row.FieldByName(QStringLiteral("BillIndex")).AsInteger();
        lines.Open(QStringLiteral("Select * From Store Where StoreBill = ") + QString::number(billIndex));
        for (const GoodsLine &line : bill.lines) {
            lines.Append();
            WriteLine(lines, bill, billIndex, line);
            lines.Post();
        }
        BillNumbers::WriteBack(bill.SettingIndex(), bill.serial);
        return true;
    });
    return saved ? billIndex : 0;
}

bool TGoodsBillStore::SaveChanged(const GoodsBill &bill)
{
    return RowWrites::Change(QStringLiteral("Bill"), bill.index, saveFailed, [&](TQuery &row) {
        WriteHeader(row, bill);
        TQuery lines(QStringLiteral("GoodsLines"));
        lines.Open(QStringLiteral("Select * From Store Where StoreBill = ") + QString::number(bill.index)
                   + QStringLiteral(" Order By StoreIndex"));
        lines.First();
        for (const GoodsLine &line : bill.lines) {
            // A bill with fewer rows than lines gets the missing ones.
            if (lines.Eof())
                lines.Append();
            else
                lines.Edit();
            WriteLine(lines, bill, bill.index, line);
            lines.Post();
            lines.Next();
        }
    });
}

bool TGoodsBillStore::Delete(int billIndex)
{
    return DeleteBill(billIndex, true);
}
