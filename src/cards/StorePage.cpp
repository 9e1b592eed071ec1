#include "cards/StorePage.h"

#include "figures/CardLists.h"
#include "figures/ExportSheets.h"
#include "grid/ListExport.h"
#include "sheets/ListSheet.h"
#include "masterdata/ProductForm.h"
#include "reports/MonthlyReportRun.h"
#include "reports/MonthlyReports.h"
#include "reports/SizeStockList.h"
#include "reportengine/Report.h"
#include "ui/BackgroundWork.h"
#include "ui/SearchBox.h"
#include "ui/Dialogs.h"
#include "db/Money.h"
#include "core/MonthSpan.h"
#include "core/NumberTexts.h"
#include "core/SqlText.h"
#include "core/Session.h"
#include "db/ShareDM.h"
#include "stores/ProductStore.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

void TDropDownCombo::showPopup()
{
    emit dropDown();
    QComboBox::showPopup();
}

namespace {
TCardPage::Look StoreLook()
{
    TCardPage::Look look;
    look.prefix = QStringLiteral("Store");
    look.colourWord = QStringLiteral("Silver");
    look.threshold1 = 3000;
    look.threshold2 = 10000;
    look.newCaption = QStringLiteral("新增商品");
    look.newName = QStringLiteral("NewStore");
    look.hintText = QStringLiteral("请先点击此按钮进行商品新增");
    look.totalName = QStringLiteral("Label1");
    look.designTotal = QStringLiteral("共 0  类货品");
    look.captions = {QStringLiteral("名称："), QStringLiteral("型号："), QStringLiteral("金额：")};
    look.valueNames = {QStringLiteral("Name"), QStringLiteral("Type"), QStringLiteral("Money")};
    look.underName = QStringLiteral("Count");
    return look;
}
} // namespace

TStorePage::TStorePage(int *pageNumber, QWidget *parent)
    : TCardPage(QStringLiteral("TabSheet2"), StoreLook(), pageNumber, parent)
{
    auto filter = [this](const QString &caption, const QString &labelName, const QString &name, int y) {
        auto *label = new QLabel(caption, this);
        label->setObjectName(labelName);
        label->setGeometry(672, y, 80, 20);
        label->setStyleSheet(QStringLiteral("color: blue;"));
        auto *box = new TDropDownCombo(this);
        box->setObjectName(name);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        MakeSearchBox(box);
        box->setGeometry(672, y + 22, 80, 26);
        return box;
    };
    ComboBox6 = filter(QStringLiteral("产品编号"), QStringLiteral("Label7"), QStringLiteral("ComboBox6"), 16);
    ComboBox7 = filter(QStringLiteral("产品名称"), QStringLiteral("Label8"), QStringLiteral("ComboBox7"), 72);
    ComboBox8 = filter(QStringLiteral("产品规格"), QStringLiteral("Label9"), QStringLiteral("ComboBox8"), 128);
    ProductSearch = new QPushButton(QStringLiteral("产品筛选"), this);
    ProductSearch->setObjectName(QStringLiteral("ProductSearch"));
    ProductSearch->setGeometry(672, 190, 80, 30);
    ProductMonth = new QPushButton(QStringLiteral("产品月结"), this);
    ProductMonth->setObjectName(QStringLiteral("ProductMonth"));
    ProductMonth->setGeometry(672, 228, 80, 30);
    SizeStockButton = new QPushButton(QStringLiteral("尺码库存"), this);
    SizeStockButton->setObjectName(QStringLiteral("SizeStock"));
    SizeStockButton->setGeometry(672, 266, 80, 30);
    connect(SizeStockButton, &QPushButton::clicked, this, &TStorePage::ActionSizeStockExecute);
    ExportButton = new QPushButton(QStringLiteral("导出"), this);
    ExportButton->setObjectName(QStringLiteral("StoreExport"));
    ExportButton->setGeometry(672, 304, 80, 30);
    connect(ExportButton, &QPushButton::clicked, this, &TStorePage::ActionExportExecute);
    for (QPushButton *b : {ProductSearch, ProductMonth, SizeStockButton, ExportButton})
        b->setCursor(Qt::PointingHandCursor);
    connect(ComboBox6, &TDropDownCombo::dropDown, this, &TStorePage::ComboBox6DropDown);
    connect(ComboBox7, &TDropDownCombo::dropDown, this, &TStorePage::ComboBox7DropDown);
    connect(ComboBox8, &TDropDownCombo::dropDown, this, &TStorePage::ComboBox8DropDown);
    connect(ProductSearch, &QPushButton::clicked, this, &TStorePage::ActionProductSearchExecute);
    connect(ProductMonth, &QPushButton::clicked, this, &TStorePage::ActionProductMonthExecute);
}

SqlText TStorePage::ListSql()
{
    return TCardLists::Products(ComboBox6->currentText(), ComboBox7->currentText(), ComboBox8->currentText());
}

int TStorePage::RowKey(TQuery &row) { return row.FieldByName(QStringLiteral("ProductIndex")).AsInteger(); }

bool TStorePage::LoadFigures() { return figures_.LoadSizes(Session->WorkingDate()); }

bool TStorePage::FillCard(int i, TQuery &row, qint64 &total)
{
    const int quantity = figures_.SizesOf(RowKey(row)).total;
    Value[0][i]->setText(row.FieldByName(QStringLiteral("ProductName")).AsString());
    Value[1][i]->setText(row.FieldByName(QStringLiteral("ProductType")).AsString());
    Value[2][i]->setText(MoneyText(row.FieldByName(QStringLiteral("ProductPrice")).AsFloat() * quantity));
    Under[i]->setText(QString::number(quantity));
    Grade(i, quantity, {Value[0][i], Value[1][i], Under[i], Value[2][i]});
    total += 1;
    return true;
}

bool TStorePage::Contribution(TQuery &, qint64 &total)
{
    total += 1;
    return true;
}

QString TStorePage::TotalText(qint64 total) { return QStringLiteral("共 ") + QString::number(total) + QStringLiteral(" 类货品"); }

void TStorePage::RefillFilter(QComboBox *box, const QString &column)
{
    box->clear();
    box->clearEditText();
    QStringList values;
    if (!TProductStore::Distinct(column, values, QStringLiteral("数据库打开失败")))
        return;
    box->addItems(values);
    box->setCurrentIndex(-1);
    box->clearEditText();
}

void TStorePage::ComboBox6DropDown() { RefillFilter(ComboBox6, QStringLiteral("ProductSerial")); }
void TStorePage::ComboBox7DropDown() { RefillFilter(ComboBox7, QStringLiteral("ProductName")); }
void TStorePage::ComboBox8DropDown() { RefillFilter(ComboBox8, QStringLiteral("ProductType")); }

void TStorePage::NewStoreClick()
{
    FormProduct->FEditMode = 0;
    if (Dialogs::ShowModal(FormProduct) == QDialog::Accepted)
        Fill();
}

void TStorePage::OpenStoreCard(int k)
{
    FormProduct->FEditMode = 1;
    FormProduct->FProductIndex = Tag[k];
    if (Dialogs::ShowModal(FormProduct) == QDialog::Accepted)
        Fill();
}

void TStorePage::ActionProductMonthExecute()
{
    const QDate day = Session->WorkingDate();
    const QString month = MonthSpan(day).Title();
    RunMonthlyReport(frReport1, QStringLiteral("Frf/ProductMonth.frf"), month, month + QStringLiteral("产品月结报表"),
                     [&](TReportRows &rows) { return MonthlyReports::ProductSummary(day, rows); });
}

void TStorePage::ActionSizeStockExecute()
{
    // The products the page lists now, with the filter as it stands.
    const QDate day = Session->WorkingDate();
    const SqlText products = ListSql();
    TListSheet sheet;
    if (!BackgroundWork::Run([&](const BackgroundWork::Progress &) { return SizeStockList(products, day, sheet); }))
        return;
    TReportDataSet heading(QStringList{QStringLiteral("ListValue")});
    heading.AppendRow({QStringLiteral("截至 %1，共 %2 类货品").arg(DateText(day)).arg(sheet.rows.size())});
    TReport *report = frReport1;
    report->ClearDataSets();
    report->SetDataSet(QStringLiteral("SizeStock"), SizeStockRows(sheet));
    report->SetDataSet(QStringLiteral("PrintList"), heading);
    report->SetDocumentName(QStringLiteral("尺码库存表") + DateText(day));
    report->SetExportList(report->DocumentName(), sheet);
    report->ShowTemplate(QStringLiteral("Frf/SizeStock.frf"));
}

void TStorePage::ActionExportExecute()
{
    // The products the page lists now, with the filter as it stands.
    const QDate day = Session->WorkingDate();
    TListSheet sheet;
    if (ExportSheets::Products(ListSql(), day, sheet))
        ExportList(QStringLiteral("货品列表") + DateText(day), sheet);
}
