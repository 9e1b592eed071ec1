#include "masterdata/CustomerForm2.h"

#include "ui/Dialogs.h"
#include "core/NumberTexts.h"
#include "db/ShareDM.h"
#include "core/TypedNumber.h"
#include "stores/CustomerStore.h"
#include "stores/FieldText.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFormCustomer2 *FormCustomer2 = nullptr;

TFormCustomer2::TFormCustomer2(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormCustomer2"));
    setWindowTitle(QStringLiteral("客户资料输入"));
    setFixedSize(394, 237);

    auto label = [this](const QString &name, const QString &text, int y) {
        auto *l = new QLabel(text, this);
        l->setObjectName(name);
        l->setGeometry(36, y, 80, 24);
        return l;
    };
    Label1 = label(QStringLiteral("Label1"), QStringLiteral("客户地区："), 28);
    auto box = [this](const QString &name, const QString &text, int x) {
        auto *b = new QCheckBox(text, this);
        b->setObjectName(name);
        b->setGeometry(x, 28, 70, 24);
        return b;
    };
    CheckBox1 = box(QStringLiteral("CheckBox1"), QStringLiteral("本地"), 120);
    CheckBox2 = box(QStringLiteral("CheckBox2"), QStringLiteral("省内"), 196);
    CheckBox3 = box(QStringLiteral("CheckBox3"), QStringLiteral("其它"), 272);
    Label2 = label(QStringLiteral("Label2"), QStringLiteral("客户名称："), 72);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(120, 70, 230, 26);
    Label3 = label(QStringLiteral("Label3"), QStringLiteral("起初欠款："), 116);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(120, 114, 230, 26);

    BitBtn1 = new QPushButton(QStringLiteral("确定"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(100, 180, 90, 32);
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("取消"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(210, 180, 90, 32);
    BitBtn2->setAutoDefault(false);

    for (QCheckBox *b : {CheckBox1, CheckBox2, CheckBox3})
        connect(b, &QCheckBox::toggled, this, [this, b] { RegionClick(b); });
    connect(BitBtn1, &QPushButton::clicked, this, &TFormCustomer2::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormCustomer2::RegionClick(QCheckBox *clicked)
{
    // The three boxes act as one radio group; a click on the ticked one keeps it ticked.
    if (FSettingRegion)
        return;
    FSettingRegion = true;
    for (QCheckBox *b : {CheckBox1, CheckBox2, CheckBox3})
        b->setChecked(b == clicked);
    FSettingRegion = false;
}

QString TFormCustomer2::TickedRegion() const
{
    for (QCheckBox *b : {CheckBox1, CheckBox2, CheckBox3})
        if (b->isChecked())
            return b->text();
    return QString();
}

void TFormCustomer2::FormShow()
{
    if (FEditMode == 1) {
        TQuery q(QStringLiteral("Customer"));
        if (!LoadRecordOrClose(q, [this](TQuery &row) {
                return TCustomerStore::Read(row, FCustomerIndex, QStringLiteral("客户资料读入失败"));
            }))
            return;
        const QString region = q.FieldByName(QStringLiteral("CustomerRegion")).AsString();
        FSettingRegion = true;
        for (QCheckBox *b : {CheckBox1, CheckBox2, CheckBox3})
            b->setChecked(b->text() == region);
        FSettingRegion = false;
        Edit1->setText(q.FieldByName(QStringLiteral("CustomerName")).AsString());
        Edit2->setText(NumberText(q.FieldByName(QStringLiteral("CustomerOwe")).AsFloat()));
        FCustomerVersion = q.FieldByName(QStringLiteral("CustomerVersion")).AsInteger();
    } else {
        Edit1->clear();
        Edit2->clear();
    }
    Edit1->setFocus();
}

void TFormCustomer2::BitBtn1Click()
{
    const QString region = TickedRegion();
    if (region.isEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("请先选择客户所属地区"));
        return;
    }
    const QString name = Edit1->text();
    if (name.isEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("客户名不得为空"));
        Edit1->setFocus();
        return;
    }
    if (const QString fault = FieldText::Fault(QStringLiteral("客户名称"), name); !fault.isEmpty()) {
        Dialogs::ShowMessage(fault);
        Edit1->setFocus();
        return;
    }
    // Empty is no opening debt; anything else must be an amount in yuan and fen.
    double owe = 0;
    const TypedNumber::Fault fault = TypedNumber::ReadAmount(Edit2->text(), &owe, 2);
    if (fault != TypedNumber::Fine && fault != TypedNumber::Empty) {
        Dialogs::ShowMessage(TypedNumber::AmountMessage(QStringLiteral("起初欠款"), Edit2->text(), fault));
        Edit2->setFocus();
        return;
    }
    if (Save(name, region, owe))
        accept();
}

bool TFormCustomer2::Save(const QString &name, const QString &region, double owe)
{
    const Customer customer{FEditMode == 0 ? 0 : FCustomerIndex, name, region, owe, FCustomerVersion};
    const TCustomerStore::Result result = FEditMode == 0 ? TCustomerStore::Create(customer) : TCustomerStore::Change(customer);
    if (result == TCustomerStore::NameTaken)
        Edit1->setFocus();
    if (result != TCustomerStore::Saved)
        return false;
    Dialogs::ShowMessage(FEditMode == 0 ? QStringLiteral("客户　") + name + QStringLiteral("　新增成功")
                                        : QStringLiteral("客户资料修改成功"));
    return true;
}
