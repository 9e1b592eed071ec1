#include "reports/DataCentrePage.h"

#include "bills/StoredBill.h"
#include "grid/FooterGrid.h"
#include "grid/ListExport.h"
#include "sheets/ListSheet.h"
#include "grid/GridPrinter.h"
#include "figures/BillSearch.h"
#include "reports/MakeReportForm.h"
#include "core/Clock.h"
#include "ui/Dialogs.h"
#include "db/Money.h"
#include "core/NumberTexts.h"
#include "core/SqlText.h"
#include "core/Session.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QTabWidget>
#include <QTime>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int CountColumn = 0;
constexpr int SumColumn = 5;
} // namespace

TDataCentrePage::TDataCentrePage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheet4"));

    auto action = [this](const QString &name, const QString &caption, QStyle::StandardPixmap icon) {
        auto *a = new QAction(style()->standardIcon(icon), caption, this);
        a->setObjectName(name);
        return a;
    };
    ActionMakeReport = action(QStringLiteral("ActionMakeReport"), QStringLiteral("查找单据"), QStyle::SP_FileDialogContentsView);
    ActionPrintReport = action(QStringLiteral("ActionPrintReport"), QStringLiteral("打印列表"), QStyle::SP_FileDialogDetailedView);
    ActionExportReport = action(QStringLiteral("ActionExportReport"), QStringLiteral("导出表格"), QStyle::SP_DialogSaveButton);
    auto button = [this](const QString &name, QAction *a) {
        auto *b = new QToolButton(this);
        b->setObjectName(name);
        b->setDefaultAction(a);
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setAutoRaise(true);
        b->setMinimumSize(96, 30);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    MakeReport = button(QStringLiteral("MakeReport"), ActionMakeReport);
    PrintReport = button(QStringLiteral("PrintReport"), ActionPrintReport);
    ExportReport = button(QStringLiteral("ExportReport"), ActionExportReport);

    auto grey = [this](const QString &name, const QString &text) {
        auto *l = new QLabel(text, this);
        l->setObjectName(name);
        l->setStyleSheet(QStringLiteral("color: grey;"));
        return l;
    };
    Label20 = grey(QStringLiteral("Label20"), QStringLiteral("如报表数据内容超出方格边界，"));
    Label21 = grey(QStringLiteral("Label21"), QStringLiteral("可先调整方格大小后，再作打印"));

    DBGridEh1 = new TFooterGrid(this);
    DBGridEh1->setObjectName(QStringLiteral("DBGridEh1"));
    DBGridEh1->SetColumns({{QStringLiteral("BillCreateTime"), QStringLiteral("创建时间"), 70},
                           {QStringLiteral("BillSerial"), QStringLiteral("单据编号"), 65},
                           {QStringLiteral("BillKind"), QStringLiteral("单据类型"), 70},
                           {QStringLiteral("AccountName"), QStringLiteral("帐户名称"), 80},
                           {QStringLiteral("BillUser"), QStringLiteral("客户名称"), 100},
                           {QStringLiteral("BillSum"), QStringLiteral("单据金额"), 65},
                           {QStringLiteral("BillMan"), QStringLiteral("业务员"), 50},
                           {QStringLiteral("BillReason"), QStringLiteral("收支种类"), 60},
                           {QStringLiteral("BillType"), QStringLiteral("款项类别"), 60},
                           {QStringLiteral("BillToken"), QStringLiteral("凭证"), 60},
                           {QStringLiteral("BillRemark"), QStringLiteral("备注"), 100}});
    DBGridEh1->SetFooterColour(Qt::blue);

    PrintDBGridEh1 = new TGridPrinter(DBGridEh1, this);
    PrintDBGridEh1->setObjectName(QStringLiteral("PrintDBGridEh1"));
    PrintDBGridEh1->MarginMm = TGridPrinter::MinimumMarginMm;
    PrintDBGridEh1->FitToPageWidth = true;
    PrintDBGridEh1->Coloured = true;
    PrintDBGridEh1->HeaderColour = Qt::blue;
    PrintDBGridEh1->FontName = QStringLiteral("楷体_GB2312");

    auto *top = new QHBoxLayout;
    top->setSpacing(6);
    top->addWidget(MakeReport);
    top->addWidget(PrintReport);
    top->addWidget(ExportReport);
    top->addSpacing(16);
    auto *notes = new QVBoxLayout;
    notes->setSpacing(0);
    notes->addWidget(Label20);
    notes->addWidget(Label21);
    top->addLayout(notes);
    top->addStretch(1);
    auto *box = new QVBoxLayout(this);
    box->setContentsMargins(8, 8, 8, 8);
    box->addLayout(top);
    box->addWidget(DBGridEh1, 1);

    connect(ActionMakeReport, &QAction::triggered, this, &TDataCentrePage::ActionMakeReportExecute);
    connect(ActionPrintReport, &QAction::triggered, this, &TDataCentrePage::ActionPrintReportExecute);
    connect(ActionExportReport, &QAction::triggered, this, &TDataCentrePage::ActionExportReportExecute);
    connect(DBGridEh1, &TFooterGrid::DblClick, this, &TDataCentrePage::DBGridEh1DblClick);
}

void TDataCentrePage::FillReportGrid(const SqlText &sql)
{
    ReportSql = sql;
    if (!ReportSql.text.isEmpty())
        RunReportSql(false);
}

void TDataCentrePage::FillReportGrid()
{
    if (!ReportSql.text.isEmpty())
        RunReportSql(true);
}

void TDataCentrePage::RunReportSql(bool refresh)
{
    // A refresh keeps the user's sort and the bill the cursor was on; a new search starts in date order.
    const int was = DBGridEh1->CurrentRow();
    const QVariant current = DBGridEh1->Model()->Value(was, QStringLiteral("BillIndex"));
    // Ten years of bills are many: the grid reads the rows it shows, the footer is summed by the database.
    const bool ran = TBillSearch::OpenList(ReportADOQuery, ReportSql);
    DBGridEh1->Load(ReportADOQuery, refresh);
    SetFooters(ran);
    if (refresh && current.isValid()) {
        // The bill is near where it was unless many bills came before it.
        const TGridModel *model = DBGridEh1->Model();
        const int last = qMin(model->rowCount(), was + NearRows);
        for (int r = qMax(0, was - NearRows); r < last; ++r)
            if (model->Value(r, QStringLiteral("BillIndex")) == current) {
                DBGridEh1->SetCurrentRow(r);
                break;
            }
    }
}

void TDataCentrePage::SetFooters(bool ran)
{
    // Without rows the footer says so, rather than keeping the last search's figures.
    TBillSearch::Totals totals;
    if (ran) {
        try {
            totals = TBillSearch::TotalsOf(ReportSql);
        } catch (const EDatabaseError &) {
            ran = false;
        }
    }
    TGridModel *model = DBGridEh1->Model();
    model->SetFooter(CountColumn, QStringLiteral("共") + QString::number(ran ? model->rowCount() : 0) + QStringLiteral("条"));
    model->SetFooter(SumColumn, MoneyText(FenToYuan(totals.fen)));
}

void TDataCentrePage::ActionMakeReportExecute() { Dialogs::ShowModal(FormMakeReport); }

void TDataCentrePage::ActionPrintReportExecute()
{
    PrintDBGridEh1->ClearTitles();
    PrintDBGridEh1->PageHeader << QStringLiteral("Mirelo财务报表");
    PrintDBGridEh1->DocumentName = QStringLiteral("单据列表") + DateText(Clock::Today());
    PrintDBGridEh1->PageFooter << QStringLiteral("打印时间 ") + DateText(Clock::Today()) + QLatin1Char(' ')
                                      + QTime::currentTime().toString(QStringLiteral("H:mm:ss"));
    PrintDBGridEh1->Preview();
}

void TDataCentrePage::ActionExportReportExecute()
{
    ExportList(QStringLiteral("单据列表"), DBGridEh1->Model()->Sheet(DBGridEh1->VisibleColumns()));
}

void TDataCentrePage::DBGridEh1DblClick()
{
    const int row = DBGridEh1->CurrentRow();
    const QVariant index = DBGridEh1->Model()->Value(row, QStringLiteral("BillIndex"));
    if (!ReportADOQuery.Active() || row < 0 || index.isNull()) {
        Dialogs::ShowMessage(QStringLiteral("请先选中需要查看的记录"));
        return;
    }
    StoredBill::Open(DBGridEh1->Model()->Value(row, QStringLiteral("BillKind")).toString(), index.toInt());
}
