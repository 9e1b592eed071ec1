#include "stores/GoodsBillStore.h"

#include "core/Clock.h"
#include "core/Notice.h"
#include "db/Money.h"
#include "db/Queries.h"
#include "db/ShareDM.h"
#include "stores/BillDeletion.h"
#include "stores/BillNumbers.h"
#include "stores/KeptLocks.h"
#include "db/Journal.h"
#include "stores/RowWrites.h"

namespace {
const QString saveFailed = QStringLiteral("单据保存失败，未作任何修改");

void WriteHeader(TRecord &row, const GoodsBill &bill)
{
    const double sign = bill.sales ? 1 : -1;
    row.FieldByName(QStringLiteral("BillAccount")).SetAsInteger(bill.account);
    row.FieldByName(QStringLiteral("BillCreateTime")).SetAsDate(bill.date);
    row.FieldByName(QStringLiteral("BillUser")).SetAsString(bill.customer);
    // The total the lines make, whatever total the caller holds.
    row.FieldByName(QStringLiteral("BillSum")).SetAsFloat(sign * FenToYuan(bill.TotalFen()));
    row.FieldByName(QStringLiteral("BillMoney")).SetAsFloat(sign * RoundMoney(bill.paid));
    row.FieldByName(QStringLiteral("BillReason")).SetAsString(bill.reason);
    row.FieldByName(QStringLiteral("BillType")).SetAsString(bill.type);
    row.FieldByName(QStringLiteral("BillToken")).SetAsString(bill.token);
    row.FieldByName(QStringLiteral("BillRemark")).SetAsString(bill.remark);
    row.FieldByName(QStringLiteral("BillSerial")).SetAsString(bill.serial);
    row.FieldByName(QStringLiteral("BillMan")).SetAsString(QString());
}

void WriteLine(TRecord &row, const GoodsBill &bill, int billIndex, const GoodsLine &line)
{
    // Goods leave the stock on a sale and come in on a purchase.
    const int sign = bill.sales ? -1 : 1;
    row.FieldByName(QStringLiteral("StoreBill")).SetAsInteger(billIndex);
    row.FieldByName(QStringLiteral("StoreProduct")).SetAsInteger(line.product);
    for (int k = 0; k < int(line.sizes.size()); ++k)
        row.FieldByName(QStringLiteral("StoreNum%1").arg(k + 1)).SetAsString(line.sizes[k]);
    row.FieldByName(QStringLiteral("StoreNumber")).SetAsInteger(sign * line.pieces);
    row.FieldByName(QStringLiteral("StorePrice")).SetAsFloat(line.price);
    row.FieldByName(QStringLiteral("StoreSum")).SetAsFloat(FenToYuan(line.AmountFen()));
}

// The kept rows the bill will count on, the stored bill's too when it is a change.
void LockFor(const GoodsBill &bill, int stored = 0)
{
    QList<qint64> products;
    for (const GoodsLine &line : bill.lines)
        if (line.product)
            products << line.product;
    KeptLocks::TakeForBill(stored, bill.customer, bill.account, products);
}
} // namespace

bool TGoodsBillStore::Load(int billIndex, GoodsBill &bill)
{
    TQuery head(QStringLiteral("GoodsBill")), lines(QStringLiteral("GoodsLines"));
    if (!RunQuery(head, QStringLiteral("Select * From Account,Bill Where (AccountIndex = BillAccount) And (BillIndex = ")
                            + QString::number(billIndex) + QStringLiteral(")"),
                  QStringLiteral("帐款读入失败")))
        return false;
    if (head.IsEmpty()) {
        Notice::Tell(QStringLiteral("找不到要修改的记录"));
        return false;
    }
    if (!RunQuery(lines,
                  QStringLiteral("Select StoreProduct,ProductSerial,ProductName,ProductType,StoreNum1,StoreNum2,StoreNum3,"
                                 "StoreNum4,StoreNum5,StoreNum6,StoreNum7,StoreNum8,StoreNum9,StoreNum10,StoreNumber,"
                                 "StorePrice,StoreSum From Store,Product Where (StoreProduct = ProductIndex) And (StoreBill = ")
                      + QString::number(billIndex) + QStringLiteral(") Order By StoreIndex"),
                  QStringLiteral("数据库打开失败")))
        return false;
    head.First();
    auto field = [&head](const char *name) { return head.FieldByName(QString::fromLatin1(name)); };
    bill = GoodsBill();
    bill.index = billIndex;
    bill.sales = field("BillKind").AsString() != QStringLiteral("进货单");
    bill.account = field("BillAccount").AsInteger();
    bill.accountName = field("AccountName").AsString();
    bill.date = field("BillCreateTime").AsDate();
    bill.customer = field("BillUser").AsString();
    bill.total = qAbs(field("BillSum").AsFloat());
    bill.paid = qAbs(field("BillMoney").AsFloat());
    bill.reason = field("BillReason").AsString();
    bill.type = field("BillType").AsString();
    bill.token = field("BillToken").AsString();
    bill.remark = field("BillRemark").AsString();
    bill.serial = field("BillSerial").AsString();
    bill.version = field("BillVersion").AsInteger();
    lines.First();
    for (GoodsLine &line : bill.lines) {
        if (lines.Eof())
            break;
        auto cell = [&lines](const QString &name) { return lines.FieldByName(name); };
        line.product = cell(QStringLiteral("StoreProduct")).AsInteger();
        line.serial = cell(QStringLiteral("ProductSerial")).AsString();
        line.name = cell(QStringLiteral("ProductName")).AsString();
        line.type = cell(QStringLiteral("ProductType")).AsString();
        for (int k = 0; k < int(line.sizes.size()); ++k)
            line.sizes[k] = cell(QStringLiteral("StoreNum%1").arg(k + 1)).AsString();
        line.pieces = qAbs(cell(QStringLiteral("StoreNumber")).AsInteger());
        line.price = cell(QStringLiteral("StorePrice")).AsFloat();
        line.sum = cell(QStringLiteral("StoreSum")).AsFloat();
        lines.Next();
    }
    return true;
}

int TGoodsBillStore::SaveNew(const GoodsBill &bill, QString *serialSaved)
{
    int billIndex = 0;
    QString serial;
    const bool saved = ShareDataModule->RunInTransaction(saveFailed, [&] {
        serial = BillNumbers::Take(bill.SettingIndex(), bill.Kind(), bill.serial, bill.proposed);
        LockFor(bill);
        billIndex = RowWrites::Insert(QStringLiteral("Bill"), [&](TRecord &row) {
            row.FieldByName(QStringLiteral("BillKind")).SetAsString(bill.Kind());
            row.FieldByName(QStringLiteral("BillRecordTime")).SetAsDate(Clock::Today());
            WriteHeader(row, bill);
            row.FieldByName(QStringLiteral("BillSerial")).SetAsString(serial);
        });
        for (const GoodsLine &line : bill.lines)
            RowWrites::Insert(QStringLiteral("Store"), [&](TRecord &row) { WriteLine(row, bill, billIndex, line); });
        Journal::WriteBill(QStringLiteral("新增"), {}, Journal::Bill(billIndex));
        return true;
    });
    if (saved && serialSaved)
        *serialSaved = serial;
    return saved ? billIndex : 0;
}

bool TGoodsBillStore::SaveChanged(const GoodsBill &bill)
{
    QJsonObject before;
    return RowWrites::Change(QStringLiteral("Bill"), bill.index, bill.version, saveFailed, [&](TRecord &row) {
        before = Journal::Bill(bill.index);
        BillNumbers::Keep(bill.Kind(), bill.serial, bill.index);
        WriteHeader(row, bill);
        TQuery lines(QStringLiteral("GoodsLines"));
        lines.Open(QStringLiteral("Select StoreIndex From Store Where StoreBill = ? Order By StoreIndex"), {bill.index});
        lines.First();
        for (const GoodsLine &line : bill.lines) {
            // A bill with fewer rows than lines gets the missing ones.
            if (lines.Eof()) {
                RowWrites::Insert(QStringLiteral("Store"), [&](TRecord &row) { WriteLine(row, bill, bill.index, line); });
                continue;
            }
            TRecord row;
            WriteLine(row, bill, bill.index, line);
            RowWrites::Update(QStringLiteral("Store"), lines.FieldByName(QStringLiteral("StoreIndex")).AsInteger(), row);
            lines.Next();
        }
    }, [&](int index) { Journal::WriteBill(QStringLiteral("修改"), before, Journal::Bill(index)); },
    // Before the claim: counting the version on touches the kept totals too.
    [&] { LockFor(bill, bill.index); });
}

bool TGoodsBillStore::Delete(int billIndex)
{
    return DeleteBill(billIndex, true);
}
