#include "masterdata/CustomerForm3.h"

#include "figures/ExportSheets.h"
#include "grid/DataGrid.h"
#include "grid/ListExport.h"
#include "sheets/ListSheet.h"
#include "masterdata/CustomerForm4.h"
#include "ui/Artwork.h"
#include "ui/Dialogs.h"
#include "stores/CustomerStore.h"
#include "stores/QuoteStore.h"

#include <QLabel>
#include <QPushButton>

TFormCustomer3 *FormCustomer3 = nullptr;

TFormCustomer3::TFormCustomer3(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormCustomer3"));
    setWindowTitle(QStringLiteral("客户价目列表"));
    setFixedSize(526, 405);
    Image3 = new QLabel(this);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setGeometry(14, 10, 40, 40);
    Image3->setPixmap(Artwork::PagePicture(QStringLiteral("Blue")));
    Label3 = new QLabel(QStringLiteral("客户价目列表"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(64, 10, 150, 20);
    Label3->setStyleSheet(QStringLiteral("font-weight: bold;"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(64, 30, 300, 20);
    Label2->setStyleSheet(QStringLiteral("color: blue;"));
    DBGrid1 = new TDataGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(12, 60, 502, 290);
    DBGrid1->SetColumns({{QStringLiteral("ProductIndex"), QStringLiteral("编号"), 50},
                         {QStringLiteral("ProductName"), QStringLiteral("产品名称"), 80},
                         {QStringLiteral("ProductType"), QStringLiteral("产品型号"), 150},
                         {QStringLiteral("PriceValue"), QStringLiteral("参考价"), 60}});
    SpeedButton1 = new QPushButton(QStringLiteral("添加报价"), this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(300, 360, 100, 32);
    ExportButton = new QPushButton(QStringLiteral("导出"), this);
    ExportButton->setObjectName(QStringLiteral("ExportButton"));
    ExportButton->setGeometry(12, 360, 100, 32);
    SpeedButton2 = new QPushButton(QStringLiteral("关　闭"), this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setGeometry(412, 360, 100, 32);
    connect(SpeedButton1, &QPushButton::clicked, this, &TFormCustomer3::SpeedButton1Click);
    connect(DBGrid1, &QTableWidget::cellDoubleClicked, this, &TFormCustomer3::SpeedButton1Click);
    connect(ExportButton, &QPushButton::clicked, this, &TFormCustomer3::ExportButtonClick);
    connect(SpeedButton2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormCustomer3::OpenList()
{
    TQuoteStore::ReadQuotes(ADOQuery1, FCustomerIndex);
    DBGrid1->Load(ADOQuery1);
}

void TFormCustomer3::FormShow()
{
    // A customer that is gone shows an empty list.
    Label2->clear();
    ADOQuery1.Close();
    DBGrid1->Load(ADOQuery1);
    TQuery q(QStringLiteral("Customer"));
    if (!TCustomerStore::Read(q, FCustomerIndex) || q.IsEmpty())
        return;
    q.First();
    Label2->setText(q.FieldByName(QStringLiteral("CustomerName")).AsString());
    OpenList();
}

void TFormCustomer3::SpeedButton1Click()
{
    if (Dialogs::ShowModal(FormCustomer4) != QDialog::Accepted)
        return;
    // A failed write still refreshes the list; a failed look-up does not.
    if (TQuoteStore::SetPrice(FCustomerIndex, FormCustomer4->FChosenProduct, FormCustomer4->FChosenPrice)
        == TQuoteStore::NotRead)
        return;
    OpenList();
}

void TFormCustomer3::ExportButtonClick()
{
    TListSheet sheet;
    if (ExportSheets::Quotes(FCustomerIndex, sheet))
        ExportList(Label2->text() + QStringLiteral("价目列表"), sheet);
}
