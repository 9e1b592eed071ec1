#include "masterdata/CustomerForm4.h"

#include "grid/DataGrid.h"
#include "ui/Artwork.h"
#include "ui/AskForm.h"
#include "ui/Dialogs.h"
#include "core/TypedNumber.h"
#include "stores/ProductStore.h"

#include <QLabel>
#include <QPushButton>

TFormCustomer4 *FormCustomer4 = nullptr;

TFormCustomer4::TFormCustomer4(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormCustomer4"));
    setWindowTitle(QStringLiteral("所有产品列表"));
    setFixedSize(434, 339);
    SpeedButton2 = new QPushButton(QStringLiteral("关　闭"), this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setGeometry(12, 12, 90, 32);
    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(136, 8, 40, 40);
    Image2->setPixmap(Artwork::ProductPicture(false));
    Label1 = new QLabel(QStringLiteral("所有产品列表"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(182, 12, 140, 32);
    Label1->setStyleSheet(QStringLiteral("font-weight: bold;"));
    SpeedButton1 = new QPushButton(QStringLiteral("新增"), this);
    SpeedButton1->setObjectName(QStringLiteral("SpeedButton1"));
    SpeedButton1->setGeometry(332, 12, 90, 32);
    DBGrid1 = new TDataGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(12, 56, 410, 271);
    DBGrid1->SetColumns({{QStringLiteral("ProductSerial"), QStringLiteral("编号"), 50},
                         {QStringLiteral("ProductName"), QStringLiteral("产品名称"), 80},
                         {QStringLiteral("ProductType"), QStringLiteral("产品型号"), 150},
                         {QStringLiteral("ProductPrice"), QStringLiteral("参考价"), 60}});
    connect(SpeedButton1, &QPushButton::clicked, this, &TFormCustomer4::SpeedButton1Click);
    // A double click or Enter on a row picks it.
    connect(DBGrid1, &QTableWidget::activated, this, &TFormCustomer4::SpeedButton1Click);
    connect(DBGrid1, &QTableWidget::currentCellChanged, this, [this](int row) { ADOQuery1.MoveTo(row); });
    connect(SpeedButton2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormCustomer4::FormShow()
{
    TProductStore::ReadPickList(ADOQuery1);
    DBGrid1->Load(ADOQuery1);
}

void TFormCustomer4::SpeedButton1Click()
{
    const int row = DBGrid1->currentRow();
    if (!ADOQuery1.Active() || row < 0 || row >= ADOQuery1.RecordCount()) {
        Dialogs::ShowMessage(QStringLiteral("请先选中需要增加报价的记录"));
        return;
    }
    ADOQuery1.MoveTo(row);
    QString value;
    if (!AskForText(QStringLiteral("增加报价"), QStringLiteral("请输入产品的价格"), QString(), value))
        return;
    const TypedNumber::Fault fault = TypedNumber::ReadAmount(value, &FChosenPrice, TypedNumber::PriceDecimals);
    if (fault == TypedNumber::TooLong || fault == TypedNumber::TooManyDecimals) {
        Dialogs::ShowMessage(TypedNumber::AmountMessage(QStringLiteral("价格"), value, fault));
        return;
    }
    if (fault != TypedNumber::Fine) {
        Dialogs::ShowMessage(QStringLiteral("金额格式有误"));
        return;
    }
    FChosenProduct = ADOQuery1.FieldByName(QStringLiteral("ProductIndex")).AsInteger();
    accept();
}
