#include "bills/BillPrint.h"

#include "bills/Capitals.h"
#include "reportengine/Report.h"
#include "shell/Dialogs.h"
#include "shell/Money.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"
#include "stores/GoodsBillStore.h"

#include <iterator>

namespace {
const QString Fail = QStringLiteral("数据库打开失败");
const QString ShowDeposit = QStringLiteral("显示订金");

// The sixteen print columns, in the order of a line's cells.
const char *const gridColumns[] = {"GridSerial", "GridName", "GridType",  "GridNum1",  "GridNum2",  "GridNum3",
                                   "GridNum4",   "GridNum5", "GridNum6",  "GridNum7",  "GridNum8",  "GridNum9",
                                   "GridNum10",  "GridNumber", "GridPrice", "GridSum"};

QString HeaderSql(int billIndex)
{
    return QStringLiteral("Select AccountName,BillIndex,BillKind,BillSerial,BillCreateTime,BillUser,ABS(BillMoney) As BillMoney2,"
                          "ABS(BillSum) As BillSum2,ABS(BillSum - BillMoney) As LeftMoney,BillMan,BillReason,BillType,"
                          "BillToken,BillRemark From Account,Bill Where (AccountIndex = BillAccount) And (BillIndex = ")
           + QString::number(billIndex) + QStringLiteral(")");
}

QString LineCell(const GoodsLine &line, int column)
{
    switch (column) {
    case 0:
        return line.serial;
    case 1:
        return line.name;
    case 2:
        return line.type;
    case 13:
        return QString::number(line.pieces);
    case 14:
        return NumberText(line.price);
    case 15:
        return MoneyText(line.sum);
    default:
        return line.sizes[column - 3];
    }
}
} // namespace

QString TBillPrint::PrintType()
{
    return ReadIniValue(QStringLiteral("Kestrova"), QStringLiteral("PrintType"), ShowDeposit, IniFileName);
}

bool TBillPrint::SetPrintType(const QString &type)
{
    return WriteIniValue(QStringLiteral("Kestrova"), QStringLiteral("PrintType"), type, IniFileName);
}

bool TBillPrint::ShowsDeposit(const QString &printType) { return printType == ShowDeposit; }

QString TBillPrint::TemplateFile(const QString &printType)
{
    return ShowsDeposit(printType) ? QStringLiteral("Frf/Bill.frf") : QStringLiteral("Frf/Bill2.frf");
}

bool TBillPrint::WriteTables(int billIndex, TQuery &grid, TQuery &bigFont)
{
    TQuery &header = ShareDataModule->ADOQueryTemp;
    if (!RunQuery(header, HeaderSql(billIndex), Fail))
        return false;
    if (header.IsEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("找不到要打印的单据"));
        return false;
    }
    header.First();
    GoodsBill bill;
    if (!TGoodsBillStore::Load(billIndex, bill))
        return false;
    const QString capitals = FenToCapitals(TotalToFen(MoneyText(header.FieldByName(QStringLiteral("BillSum2")).AsFloat())));
    const bool sales = header.FieldByName(QStringLiteral("BillKind")).AsString() == QStringLiteral("出货单");

    return ShareDataModule->RunInTransaction(Fail, [&] {
        if (!RunQuery(bigFont, QStringLiteral("Select * From PrintBigFont"), Fail))
            return false;
        if (!bigFont.IsEmpty()) {
            bigFont.First();
            bigFont.Edit();
            bigFont.FieldByName(QStringLiteral("BigFontValue")).SetAsString(capitals);
            bigFont.Post();
        }

        if (!RunQuery(grid, QStringLiteral("Select * From PrintGrid Order By GridIndex"), Fail))
            return false;
        grid.First();
        // Every line the bill has is written, and rows are added while lines are left: no line is dropped.
        int next = 0;
        auto lineLeft = [&] {
            while (next < GoodsBill::LineCount && bill.lines[next].product == 0)
                ++next;
            return next < GoodsBill::LineCount;
        };
        // A row added takes the key after the last: a server gives none by itself.
        qint64 key = 0;
        while (!grid.Eof() || lineLeft()) {
            if (grid.Eof()) {
                grid.Append();
                grid.FieldByName(QStringLiteral("GridIndex")).SetAsInteger(++key);
            } else {
                key = grid.FieldByName(QStringLiteral("GridIndex")).AsInteger();
                grid.Edit();
            }
            const bool line = lineLeft();
            for (int c = 0; c < int(std::size(gridColumns)); ++c)
                grid.FieldByName(QString::fromLatin1(gridColumns[c])).SetAsString(line ? LineCell(bill.lines[next], c) : QString());
            grid.Post();
            grid.Next();
            if (line)
                ++next;
        }

        TQuery &title = ShareDataModule->ADOQueryTemp2;
        if (!RunQuery(title, QStringLiteral("Select * From PrintList Where ListIndex = 1"), Fail))
            return false;
        if (!title.IsEmpty()) {
            title.First();
            title.Edit();
            title.FieldByName(QStringLiteral("ListValue")).SetAsString(sales ? QStringLiteral("产品出货单") : QStringLiteral("产品进货单"));
            title.Post();
        }
        // The report reads the freshly written rows from the start.
        if (!RunQuery(grid, QStringLiteral("Select * From PrintGrid Order By GridIndex"), Fail))
            return false;
        grid.First();
        return true;
    });
}

bool TBillPrint::Print(int billIndex, TQuery &grid, TQuery &bigFont, TReport &report)
{
    if (!Prepare(billIndex, grid, bigFont, report))
        return false;
    report.ShowPreparedReport();
    return true;
}

bool TBillPrint::Prepare(int billIndex, TQuery &grid, TQuery &bigFont, TReport &report)
{
    if (!WriteTables(billIndex, grid, bigFont))
        return false;
    TQuery &header = ShareDataModule->ADOQueryTemp;
    TQuery &title = ShareDataModule->ADOQueryTemp2;
    TReportDataSet bill = TReportDataSet::FromQuery(header);
    const int row = bill.CurrentRow();
    bill.SetValue(row, QStringLiteral("BillCreateTime"), DateText(header.FieldByName(QStringLiteral("BillCreateTime")).AsDate()));
    for (const char *money : {"BillMoney2", "BillSum2", "LeftMoney"})
        bill.SetValue(row, QString::fromLatin1(money), MoneyText(header.FieldByName(QString::fromLatin1(money)).AsFloat()));

    report.ClearDataSets();
    report.SetDataSet(QStringLiteral("PrintGrid"), grid);
    report.SetDataSet(QStringLiteral("PrintBigFont"), bigFont);
    report.SetDataSet(QStringLiteral("PrintList"), title);
    report.SetDataSet(QStringLiteral("Bill"), bill);
    report.SetDocumentName(title.FieldByName(QStringLiteral("ListValue")).AsString() + QLatin1Char(' ')
                           + header.FieldByName(QStringLiteral("BillSerial")).AsString());
    return report.PrepareTemplate(TemplateFile(PrintType()));
}
