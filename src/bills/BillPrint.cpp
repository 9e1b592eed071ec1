#include "bills/BillPrint.h"

#include "bills/Capitals.h"
#include "reportengine/Report.h"
#include "shell/Dialogs.h"
#include "shell/Money.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

namespace {
const QString Fail = QStringLiteral("数据库打开失败");
const QString ShowDeposit = QStringLiteral("显示订金");

// The sixteen print columns and the line columns they are written from.
const char *const gridColumns[][2] = {
    {"GridSerial", "ProductSerial"}, {"GridName", "ProductName"},   {"GridType", "ProductType"},
    {"GridNum1", "StoreNum1"},       {"GridNum2", "StoreNum2"},     {"GridNum3", "StoreNum3"},
    {"GridNum4", "StoreNum4"},       {"GridNum5", "StoreNum5"},     {"GridNum6", "StoreNum6"},
    {"GridNum7", "StoreNum7"},       {"GridNum8", "StoreNum8"},     {"GridNum9", "StoreNum9"},
    {"GridNum10", "StoreNum10"},     {"GridNumber", "StoreNumber2"}, {"GridPrice", "StorePrice"},
    {"GridSum", "StoreSum"}};

QString HeaderSql(int billIndex)
{
    return QStringLiteral("Select AccountName,BillIndex,BillKind,BillSerial,BillCreateTime,BillUser,ABS(BillMoney) As BillMoney2,"
                          "ABS(BillSum) As BillSum2,ABS(BillSum - BillMoney) As LeftMoney,BillMan,BillReason,BillType,"
                          "BillToken,BillRemark From Account,Bill Where (AccountIndex = BillAccount) And (BillIndex = ")
           + QString::number(billIndex) + QStringLiteral(")");
}

QString LineCell(TQuery &lines, const QString &printColumn, const QString &lineColumn)
{
    TField f = lines.FieldByName(lineColumn);
    if (printColumn == QLatin1String("GridPrice"))
        return NumberText(f.AsFloat());
    if (printColumn == QLatin1String("GridSum"))
        return MoneyText(f.AsFloat());
    return f.AsString();
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

bool TBillPrint::WriteTables(int billIndex, TQuery &lines, TQuery &grid, TQuery &bigFont)
{
    TQuery &header = ShareDataModule->ADOQueryTemp;
    if (!RunQuery(header, HeaderSql(billIndex), Fail))
        return false;
    if (header.IsEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("找不到要打印的单据"));
        return false;
    }
    header.First();
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

        if (!RunQuery(grid, QStringLiteral("Select * From PrintGrid"), Fail))
            return false;
        grid.First();
        if (lines.Active())
            lines.First();
        auto lineLeft = [&lines] {
            return lines.Active() && !lines.Eof() && !lines.FieldByName(QStringLiteral("ProductName")).IsNull();
        };
        // Every stored row is written, and rows are added while lines are left: no line is dropped.
        while (!grid.Eof() || lineLeft()) {
            if (grid.Eof())
                grid.Append();
            else
                grid.Edit();
            const bool line = lineLeft();
            for (const auto &column : gridColumns) {
                const QString printColumn = QString::fromLatin1(column[0]);
                grid.FieldByName(printColumn).SetAsString(line ? LineCell(lines, printColumn, QString::fromLatin1(column[1])) : QString());
            }
            grid.Post();
            grid.Next();
            if (line)
                lines.Next();
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
        if (!RunQuery(grid, QStringLiteral("Select * From PrintGrid"), Fail))
            return false;
        grid.First();
        return true;
    });
}

bool TBillPrint::Print(int billIndex, TQuery &lines, TQuery &grid, TQuery &bigFont, TReport &report)
{
    if (!Prepare(billIndex, lines, grid, bigFont, report))
        return false;
    report.ShowPreparedReport();
    return true;
}

bool TBillPrint::Prepare(int billIndex, TQuery &lines, TQuery &grid, TQuery &bigFont, TReport &report)
{
    if (!WriteTables(billIndex, lines, grid, bigFont))
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
