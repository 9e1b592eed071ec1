#include "masterdata/SGForm.h"

#include "figures/ExportSheets.h"
#include "grid/DataGrid.h"
#include "grid/ListExport.h"
#include "sheets/ListSheet.h"
#include "ui/DatePicker.h"
#include "ui/Dialogs.h"
#include "core/NumberTexts.h"
#include "core/Session.h"
#include "stores/FieldText.h"
#include "stores/OtherReceivableStore.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

TFormSG *FormSG = nullptr;

TFormSG::TFormSG(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormSG"));
    setWindowTitle(QStringLiteral("其它应收"));
    setFixedSize(530, 366);

    auto label = [this](const QString &name, const QString &text, const QRect &geometry) {
        auto *l = new QLabel(text, this);
        l->setObjectName(name);
        l->setGeometry(geometry);
        return l;
    };
    Label1 = label(QStringLiteral("Label1"), QStringLiteral("客户名称："), QRect(16, 14, 76, 24));
    LabelCustomer = label(QStringLiteral("LabelCustomer"), QString(), QRect(92, 14, 300, 24));
    LabelCustomer->setStyleSheet(QStringLiteral("color: blue; font-weight: bold;"));
    Label3 = label(QStringLiteral("Label3"), QStringLiteral("日期："), QRect(16, 48, 76, 24));
    DateTimePicker1 = new TDatePicker(this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setGeometry(92, 46, 130, 26);
    Label2 = label(QStringLiteral("Label2"), QStringLiteral("应收金额："), QRect(16, 82, 76, 24));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(92, 80, 130, 26);
    Label4 = label(QStringLiteral("Label4"), QStringLiteral("备注："), QRect(236, 82, 44, 24));
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(280, 80, 130, 26);
    Button1 = new QPushButton(QStringLiteral("新增"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(428, 45, 86, 28);
    Button2 = new QPushButton(QStringLiteral("删除"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(428, 79, 86, 28);

    DBGrid1 = new TDataGrid(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setGeometry(10, 118, 510, 196);
    DBGrid1->SetColumns({{QStringLiteral("SGIndex"), QStringLiteral("编号"), 40},
                         {QStringLiteral("SGDate"), QStringLiteral("日期"), 80},
                         {QStringLiteral("SGCustomer"), QStringLiteral("客户名称"), 100},
                         {QStringLiteral("SGSum"), QStringLiteral("金额"), 60},
                         {QStringLiteral("SGRemark"), QStringLiteral("备注"), 160}});

    ExportButton = new QToolButton(this);
    ExportButton->setObjectName(QStringLiteral("ExportButton"));
    ExportButton->setText(QStringLiteral("导出"));
    ExportButton->setGeometry(302, 324, 100, 32);
    ExportButton->setCursor(Qt::PointingHandCursor);

    Cancel = new QToolButton(this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    Cancel->setText(QStringLiteral("关闭窗口"));
    Cancel->setGeometry(414, 324, 100, 32);
    Cancel->setCursor(Qt::PointingHandCursor);

    connect(Button1, &QPushButton::clicked, this, &TFormSG::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFormSG::Button2Click);
    connect(ExportButton, &QToolButton::clicked, this, &TFormSG::ExportButtonClick);
    connect(Cancel, &QToolButton::clicked, this, &QDialog::reject);
    connect(DBGrid1, &QTableWidget::currentCellChanged, this, [this](int row) {
        ADOQuery1.MoveTo(row);
        ShowCurrentEntry();
    });
}

void TFormSG::OpenList()
{
    TOtherReceivableStore::ReadList(ADOQuery1, FCustomerName, Session->WorkingDate());
    DBGrid1->Load(ADOQuery1);
    ShowCurrentEntry();
}

void TFormSG::ShowCurrentEntry()
{
    // The entry fields show the selected entry, or stand empty on the working date.
    if (!ADOQuery1.Active() || ADOQuery1.IsEmpty() || ADOQuery1.Eof()) {
        Edit1->clear();
        Edit2->clear();
        DateTimePicker1->setDate(Session->WorkingDate());
        return;
    }
    Edit1->setText(NumberText(ADOQuery1.FieldByName(QStringLiteral("SGSum")).AsFloat()));
    Edit2->setText(ADOQuery1.FieldByName(QStringLiteral("SGRemark")).AsString());
    DateTimePicker1->setDate(ADOQuery1.FieldByName(QStringLiteral("SGDate")).AsDate());
}

void TFormSG::FormShow()
{
    LabelCustomer->setText(FCustomerName);
    OpenList();
}

void TFormSG::Button1Click()
{
    const QString amount = Edit1->text();
    const QString error = AmountTextError(amount);
    if (!error.isEmpty()) {
        Dialogs::ShowMessage(error);
        Edit1->setFocus();
        return;
    }
    const QString fault = FieldText::Fault(QStringLiteral("备注"), Edit2->text(), FieldText::MaxLong);
    if (!fault.isEmpty()) {
        Dialogs::ShowMessage(fault);
        Edit2->setFocus();
        return;
    }
    const OtherReceivable entry{0, FCustomerName, DateTimePicker1->date(), TextToFloatLenient(amount), Edit2->text()};
    if (TOtherReceivableStore::Add(entry))
        OpenList();
}

void TFormSG::Button2Click()
{
    if (!ADOQuery1.Active() || ADOQuery1.IsEmpty() || ADOQuery1.Eof()) {
        Dialogs::ShowMessage(QStringLiteral("请先从列表中选中你要删除的记录"));
        return;
    }
    if (!Dialogs::AskYesNo(QStringLiteral("删除警告"), QStringLiteral("确实要删除该记录吗？")))
        return;
    TOtherReceivableStore::Delete(ADOQuery1.FieldByName(QStringLiteral("SGIndex")).AsInteger());
    OpenList();
}

void TFormSG::ExportButtonClick()
{
    TListSheet sheet;
    if (ExportSheets::OtherReceivables(FCustomerName, Session->WorkingDate(), sheet))
        ExportList(FCustomerName + QStringLiteral("其它应收"), sheet);
}
