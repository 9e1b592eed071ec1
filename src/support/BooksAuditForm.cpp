#include "support/BooksAuditForm.h"

#include "grid/ListExport.h"
#include "sheets/ListSheet.h"
#include "sheets/Csv.h"
#include "reportengine/Report.h"
#include "ui/BackgroundWork.h"
#include "ui/Dialogs.h"
#include "core/Clock.h"
#include "core/NumberTexts.h"
#include "stores/BillNumbers.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

TFormBooksAudit *FormBooksAudit = nullptr;

namespace {
const QStringList titles = {QStringLiteral("类别"), QStringLiteral("单据编号"), QStringLiteral("日期"), QStringLiteral("客户"),
                            QStringLiteral("说明")};
}

TFormBooksAudit::TFormBooksAudit(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormBooksAudit"));
    setWindowTitle(QStringLiteral("账簿检查"));
    setFixedSize(900, 560);

    Summary = new QLabel(this);
    Summary->setObjectName(QStringLiteral("Summary"));
    Summary->setGeometry(16, 12, 868, 44);
    Summary->setWordWrap(true);
    Summary->setStyleSheet(QStringLiteral("QLabel { font-size: 14px; font-weight: bold; }"));

    Grid = new QTableWidget(this);
    Grid->setObjectName(QStringLiteral("Grid"));
    Grid->setGeometry(16, 62, 868, 430);
    Grid->setColumnCount(int(titles.size()));
    Grid->setHorizontalHeaderLabels(titles);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->verticalHeader()->hide();
    const int widths[] = {140, 100, 90, 120};
    for (int c = 0; c < 4; ++c)
        Grid->setColumnWidth(c, widths[c]);
    Grid->horizontalHeader()->setStretchLastSection(true);
    Grid->setWordWrap(true);   // long explanations take two lines rather than being cut

    auto button = [this](const QString &name, const QString &text, int x) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setGeometry(x, 506, 110, 34);
        b->setAutoDefault(false);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    RepairButton = button(QStringLiteral("RepairButton"), QStringLiteral("修正单据编号"), 16);
    PrintButton = button(QStringLiteral("PrintButton"), QStringLiteral("打印"), 538);
    ExportButton = button(QStringLiteral("ExportButton"), QStringLiteral("导出表格"), 656);
    CloseButton = button(QStringLiteral("CloseButton"), QStringLiteral("关闭"), 774);
    connect(RepairButton, &QPushButton::clicked, this, &TFormBooksAudit::ActionRepairExecute);
    connect(PrintButton, &QPushButton::clicked, this, &TFormBooksAudit::ActionPrintExecute);
    connect(ExportButton, &QPushButton::clicked, this, &TFormBooksAudit::ActionExportExecute);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::accept);
    frReport1 = new TReport(this);
}

bool TFormBooksAudit::RunCheck()
{
    return BackgroundWork::Run([this](const BackgroundWork::Progress &progress) { return audit_.Run(progress); });
}

void TFormBooksAudit::FormShow() { ShowFindings(); }

QList<QStringList> TFormBooksAudit::Lines() const
{
    QList<QStringList> lines;
    for (const BooksFinding &f : audit_.Findings())
        lines << QStringList{f.kind, f.serial, f.date.isValid() ? DateText(f.date) : QString(), f.customer, f.explanation};
    return lines;
}

void TFormBooksAudit::ShowFindings()
{
    const int faults = audit_.FaultCount();
    Summary->setText(audit_.Headline());
    Summary->setStyleSheet(QStringLiteral("QLabel { font-size: 14px; font-weight: bold; color: %1; }")
                               .arg(faults > 0 ? QStringLiteral("#b01818") : QStringLiteral("#206020")));
    const QList<QStringList> lines = Lines();
    Grid->setRowCount(int(lines.size()));
    for (int r = 0; r < lines.size(); ++r)
        for (int c = 0; c < lines[r].size(); ++c) {
            auto *item = new QTableWidgetItem(lines[r][c]);
            item->setToolTip(lines[r][c]);
            Grid->setItem(r, c, item);
        }
    Grid->resizeRowsToContents();
    RepairButton->setVisible(!audit_.SettingsBehind().isEmpty() || audit_.KeptTotalsDiffer());
    PrintButton->setEnabled(!lines.isEmpty());
    ExportButton->setEnabled(!lines.isEmpty());
}

void TFormBooksAudit::ActionExportExecute()
{
    TListSheet sheet;
    for (int c = 0; c < titles.size(); ++c)
        sheet.AddColumn(titles[c], c == 2 ? TListSheet::Date : TListSheet::Text);
    for (const BooksFinding &f : audit_.Findings())
        sheet.rows << QVariantList{f.kind, f.serial, f.date.isValid() ? QVariant(f.date) : QVariant(), f.customer, f.explanation};
    ExportList(QStringLiteral("账簿检查"), sheet);
}

void TFormBooksAudit::ActionRepairExecute()
{
    if (!audit_.SettingsBehind().isEmpty()) {
        QStringList moves;
        for (const SettingBehind &s : audit_.SettingsBehind())
            moves << QStringLiteral("“%1”改为“%2”").arg(s.stored, s.highest);
        if (!Dialogs::AskYesNo(QStringLiteral("修正单据编号"),
                               QStringLiteral("将上次单据编号%1，使下次建议的编号不再重复。确定修改吗？").arg(moves.join(QStringLiteral("、")))))
            return;
        if (!BillNumbers::MoveForward(audit_.SettingsBehind()))
            return;
        Dialogs::ShowMessage(QStringLiteral("单据编号设置已修正"));
    }
    // Only the kept totals change: every bill, line and amount stays as it is.
    if (audit_.KeptTotalsDiffer()) {
        if (!Dialogs::AskYesNo(QStringLiteral("重算预存合计"),
                               QStringLiteral("预存的合计与单据不符。按现有单据重新计算预存合计吗？单据本身不作任何修改。")))
            return;
        if (!TBooksAudit::RebuildKeptTotals())
            return;
        Dialogs::ShowMessage(QStringLiteral("预存合计已按单据重新计算"));
    }
    if (RunCheck())
        ShowFindings();
}

void TFormBooksAudit::ActionPrintExecute()
{
    TReportDataSet findings(QStringList{QStringLiteral("Kind"), QStringLiteral("Serial"), QStringLiteral("Date"),
                                        QStringLiteral("Customer"), QStringLiteral("Explanation")});
    for (const QStringList &line : Lines())
        findings.AppendRow(line);
    TReportDataSet heading(QStringList{QStringLiteral("ListValue")});
    heading.AppendRow({Summary->text()});
    frReport1->ClearDataSets();
    frReport1->SetDataSet(QStringLiteral("Findings"), findings);
    frReport1->SetDataSet(QStringLiteral("PrintList"), heading);
    frReport1->SetDocumentName(QStringLiteral("账簿检查结果") + DateText(Clock::Today()));
    frReport1->ShowTemplate(QStringLiteral("Frf/BooksAudit.frf"));
}
