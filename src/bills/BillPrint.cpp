#include "bills/BillPrint.h"

#include "core/Capitals.h"
#include "reportengine/Report.h"
#include "ui/Dialogs.h"
#include "db/Money.h"
#include "core/NumberTexts.h"
#include "core/ProgramFiles.h"
#include "db/ShareDM.h"
#include "stores/BillStore.h"
#include "stores/GoodsBillStore.h"

#include <iterator>

namespace {
const QString Fail = QStringLiteral("数据库打开失败");
const QString ShowDeposit = QStringLiteral("显示订金");

// The sixteen print columns, in the order of a line's cells.
const char *const gridColumns[] = {"GridSerial", "GridName", "GridType",  "GridNum1",  "GridNum2",  "GridNum3",
                                   "GridNum4",   "GridNum5", "GridNum6",  "GridNum7",  "GridNum8",  "GridNum9",
                                   "GridNum10",  "GridNumber", "GridPrice", "GridSum"};

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

bool TBillPrint::Prepare(int billIndex, TReport &report)
{
    TQuery header(QStringLiteral("BillPrintHeader"));
    if (!TBillStore::FindPrintHeader(billIndex, header, Fail))
        return false;
    if (header.IsEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("找不到要打印的单据"));
        return false;
    }
    header.First();
    GoodsBill bill;
    if (!TGoodsBillStore::Load(billIndex, bill))
        return false;
    const bool sales = header.FieldByName(QStringLiteral("BillKind")).AsString() == QStringLiteral("出货单");
    const QString title = sales ? QStringLiteral("产品出货单") : QStringLiteral("产品进货单");

    // The print rows are this print's own, never the books': two counters print at once.
    QStringList columns{QStringLiteral("GridIndex")};
    for (const char *column : gridColumns)
        columns << QString::fromLatin1(column);
    TReportDataSet grid(columns);
    int row = 0;
    for (const GoodsLine &line : bill.lines)
        if (line.product != 0) {
            QStringList cells{QString::number(++row)};
            for (int c = 0; c < int(std::size(gridColumns)); ++c)
                cells << LineCell(line, c);
            grid.AppendRow(cells);
        }
    // The template's grid has a row for every line a bill can have.
    while (row < GoodsBill::LineCount)
        grid.AppendRow({QString::number(++row)});
    TReportDataSet bigFont(QStringList{QStringLiteral("BigFontIndex"), QStringLiteral("BigFontValue")});
    bigFont.AppendRow({QStringLiteral("1"), FenToCapitals(TotalToFen(MoneyText(header.FieldByName(QStringLiteral("BillSum2")).AsFloat())))});
    TReportDataSet heading(QStringList{QStringLiteral("ListIndex"), QStringLiteral("ListValue")});
    heading.AppendRow({QStringLiteral("1"), title});

    TReportDataSet head = TReportDataSet::FromQuery(header);
    const int current = head.CurrentRow();
    head.SetValue(current, QStringLiteral("BillCreateTime"), DateText(header.FieldByName(QStringLiteral("BillCreateTime")).AsDate()));
    for (const char *money : {"BillMoney2", "BillSum2", "LeftMoney"})
        head.SetValue(current, QString::fromLatin1(money), MoneyText(header.FieldByName(QString::fromLatin1(money)).AsFloat()));

    report.ClearDataSets();
    report.SetDataSet(QStringLiteral("PrintGrid"), grid);
    report.SetDataSet(QStringLiteral("PrintBigFont"), bigFont);
    report.SetDataSet(QStringLiteral("PrintList"), heading);
    report.SetDataSet(QStringLiteral("Bill"), head);
    report.SetDocumentName(title + QLatin1Char(' ') + bill.serial);
    return report.PrepareTemplate(TemplateFile(PrintType()));
}

bool TBillPrint::Print(int billIndex, TReport &report)
{
    if (!Prepare(billIndex, report))
        return false;
    report.ShowPreparedReport();
    return true;
}
