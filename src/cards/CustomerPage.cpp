#include "cards/CustomerPage.h"

#include "figures/CardLists.h"
#include "figures/ExportSheets.h"
#include "grid/ListExport.h"
#include "sheets/ListSheet.h"
#include "masterdata/CustomerForm.h"
#include "masterdata/CustomerForm2.h"
#include "reports/MonthlyReportRun.h"
#include "reports/MonthlyReports.h"
#include "ui/Dialogs.h"
#include "db/Money.h"
#include "core/MonthSpan.h"
#include "core/NumberTexts.h"
#include "core/SqlText.h"
#include "core/Session.h"
#include "db/ShareDM.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {
TCardPage::Look CustomerLook()
{
    TCardPage::Look look;
    look.prefix = QStringLiteral("Customer");
    look.colourWord = QStringLiteral("Blue");
    look.threshold1 = 30000;
    look.threshold2 = 100000;
    look.newCaption = QStringLiteral("新增客户");
    look.newName = QStringLiteral("NewCustomer");
    look.hintText = QStringLiteral("请先点击此按钮进行客户新增");
    look.totalName = QStringLiteral("CustomerSum");
    look.designTotal = QStringLiteral("合计：0 元");
    look.captions = {QStringLiteral("名称："), QStringLiteral("货款："), QStringLiteral("欠款：")};
    look.valueNames = {QStringLiteral("Name"), QStringLiteral("Money"), QStringLiteral("Owe")};
    look.underName = QStringLiteral("Type");
    return look;
}

} // namespace

TCustomerPage::TCustomerPage(int *pageNumber, QWidget *parent)
    : TCardPage(QStringLiteral("TabSheet8"), CustomerLook(), pageNumber, parent)
{
    // The debt is red whatever the card's grade.
    for (int i = 0; i < CardCount; ++i) {
        QPalette pal = Value[2][i]->palette();
        pal.setColor(QPalette::WindowText, Qt::red);
        Value[2][i]->setPalette(pal);
    }
    Label3 = new QLabel(QStringLiteral("客户范围"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(672, 16, 80, 20);
    Label3->setStyleSheet(QStringLiteral("color: blue;"));
    ComboBox2 = new QComboBox(this);
    ComboBox2->setObjectName(QStringLiteral("ComboBox2"));
    ComboBox2->setGeometry(672, 40, 80, 26);
    ComboBox2->addItems({QStringLiteral("所有"), QStringLiteral("本地"), QStringLiteral("省内"), QStringLiteral("其它")});
    ComboBox2->setCurrentIndex(0);
    BigReport = new QPushButton(QStringLiteral("总报表"), this);
    BigReport->setObjectName(QStringLiteral("BigReport"));
    BigReport->setGeometry(672, 84, 80, 30);
    BigReport->setCursor(Qt::PointingHandCursor);
    connect(BigReport, &QPushButton::clicked, this, &TCustomerPage::ActionBigReportExecute);
    ExportButton = new QPushButton(QStringLiteral("导出"), this);
    ExportButton->setObjectName(QStringLiteral("CustomerExport"));
    ExportButton->setGeometry(672, 122, 80, 30);
    ExportButton->setCursor(Qt::PointingHandCursor);
    connect(ExportButton, &QPushButton::clicked, this, &TCustomerPage::ActionExportExecute);
    connect(ComboBox2, &QComboBox::activated, this, &TCustomerPage::ComboBox2Change);
}

SqlText TCustomerPage::ListSql()
{
    return TCardLists::Customers(ComboBox2->currentIndex() == 0 ? QString() : ComboBox2->currentText());
}

int TCustomerPage::RowKey(TQuery &row) { return row.FieldByName(QStringLiteral("CustomerIndex")).AsInteger(); }

bool TCustomerPage::LoadFigures() { return figures_.Load(Session->WorkingDate()); }

CustomerSums TCustomerPage::SumsOf(TQuery &row) const
{
    return figures_.Of(row.FieldByName(QStringLiteral("CustomerName")).AsString());
}

bool TCustomerPage::FillCard(int i, TQuery &row, qint64 &total)
{
    const CustomerSums sums = SumsOf(row);
    const double goods = sums.Goods();
    total += sums.GoodsFen();
    Grade(i, goods, {Value[0][i], Value[1][i]});
    Value[0][i]->setText(row.FieldByName(QStringLiteral("CustomerName")).AsString());
    Under[i]->setText(row.FieldByName(QStringLiteral("CustomerRegion")).AsString());
    Value[1][i]->setText(MoneyText(goods) + QStringLiteral(" 元"));
    Value[2][i]->setText(MoneyText(sums.Debt(row.FieldByName(QStringLiteral("CustomerOwe")).AsFloat())) + QStringLiteral(" 元"));
    return true;
}

bool TCustomerPage::Contribution(TQuery &row, qint64 &total)
{
    total += SumsOf(row).GoodsFen();
    return true;
}

QString TCustomerPage::TotalText(qint64 total) { return QStringLiteral("货款合计：") + MoneyText(FenToYuan(total)) + QStringLiteral(" 元"); }

void TCustomerPage::ComboBox2Change() { Fill(); }

void TCustomerPage::OpenCustomerCard(int k)
{
    FormCustomer->FCustomerIndex = Tag[k];
    if (Dialogs::ShowModal(FormCustomer) == QDialog::Accepted)
        Fill();
}

void TCustomerPage::NewCustomerClick()
{
    FormCustomer2->FEditMode = 0;
    if (Dialogs::ShowModal(FormCustomer2) == QDialog::Accepted)
        Session->BooksChanged();
}

void TCustomerPage::ActionBigReportExecute()
{
    const QDate day = Session->WorkingDate();
    const QString month = MonthSpan(day).Title();
    const QString region = ComboBox2->currentIndex() > 0 ? ComboBox2->currentText() : QString();
    RunMonthlyReport(frReport1, QStringLiteral("Frf/CustomerMonth.frf"), month, region + month + QStringLiteral("总报表"),
                     [&, shown = ComboBox2->currentText()](TReportRows &rows) { return MonthlyReports::CustomerSummary(shown, day, rows); });
}

void TCustomerPage::ActionExportExecute()
{
    // Every customer of the chosen range, not only the cards shown.
    const QDate day = Session->WorkingDate();
    const QString region = ComboBox2->currentIndex() > 0 ? ComboBox2->currentText() : QString();
    TListSheet sheet;
    if (ExportSheets::Customers(ListSql(), day, sheet))
        ExportList(region + QStringLiteral("客户列表") + DateText(day), sheet);
}
