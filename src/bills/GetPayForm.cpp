#include "bills/GetPayForm.h"

#include "bills/BillHeader.h"
#include "ui/Artwork.h"
#include "ui/DatePicker.h"
#include "ui/Dialogs.h"
#include "ui/ModifyPassword.h"
#include "core/NumberTexts.h"
#include "core/Session.h"
#include "db/ShareDM.h"
#include "stores/BillNumbers.h"
#include "stores/BillStore.h"
#include "stores/FinanceBillStore.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

TFormGetPay *FormGetPay = nullptr;

TFormGetPay::TFormGetPay(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormGetPay"));
    setWindowTitle(QStringLiteral("财务单据"));
    setFixedSize(578, 436);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(79, 10, 420, 60);

    // Caption above each field, two columns, in tab order.
    auto caption = [this](const QString &text, int x, int y) {
        auto *l = new QLabel(text, this);
        l->setGeometry(x, y, 240, 20);
    };
    auto edit = [this](const QString &name, const QRect &geometry) {
        auto *e = new QLineEdit(this);
        e->setObjectName(name);
        e->setGeometry(geometry);
        return e;
    };
    auto list = [this](const QString &name, const QRect &geometry, bool editable) {
        return BillHeader::NewList(this, name, geometry, editable);
    };
    const int left = 40, right = 310, width = 228;
    caption(QStringLiteral("单据编号"), left, 84);
    Edit4 = edit(QStringLiteral("Edit4"), QRect(left, 106, width, 26));
    caption(QStringLiteral("帐户名称"), right, 84);
    ComboBox1 = list(QStringLiteral("ComboBox1"), QRect(right, 106, width, 26), false);
    caption(QStringLiteral("录入时间"), left, 142);
    DateTimePicker1 = new TDatePicker(this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setGeometry(left, 164, width, 26);
    caption(QStringLiteral("客户名称"), right, 142);
    ComboBox5 = list(QStringLiteral("ComboBox5"), QRect(right, 164, width, 26), true);
    caption(QStringLiteral("金额"), left, 200);
    Edit2 = edit(QStringLiteral("Edit2"), QRect(left, 222, width, 26));
    caption(QStringLiteral("收支种类"), right, 200);
    ComboBox2 = list(QStringLiteral("ComboBox2"), QRect(right, 222, width, 26), false);
    caption(QStringLiteral("款项类别"), left, 258);
    ComboBox3 = list(QStringLiteral("ComboBox3"), QRect(left, 280, width, 26), false);
    caption(QStringLiteral("凭证"), right, 258);
    ComboBox4 = list(QStringLiteral("ComboBox4"), QRect(right, 280, width, 26), false);
    caption(QStringLiteral("业务员"), left, 316);
    Edit5 = edit(QStringLiteral("Edit5"), QRect(left, 338, width, 26));
    caption(QStringLiteral("备注"), right, 316);
    Edit3 = edit(QStringLiteral("Edit3"), QRect(right, 338, width, 26));

    auto button = [this](const QString &name, const QString &text, int x) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setGeometry(x, 384, 100, 34);
        b->setCursor(Qt::PointingHandCursor);
        b->setAutoDefault(false);
        return b;
    };
    BitBtn3 = button(QStringLiteral("BitBtn3"), QStringLiteral("删除"), 40);
    BitBtn1 = button(QStringLiteral("BitBtn1"), QStringLiteral("确定"), 328);
    BitBtn2 = button(QStringLiteral("BitBtn2"), QStringLiteral("取消"), 438);
    // A stored bill is changed freely here; the password is asked when it is saved.
    ChangeHint = new QLabel(QStringLiteral("保存更改时需输入资料修改密码"), this);
    ChangeHint->setObjectName(QStringLiteral("ChangeHint"));
    ChangeHint->setGeometry(150, 384, 172, 34);
    ChangeHint->setWordWrap(true);
    ChangeHint->setStyleSheet(QStringLiteral("QLabel { color: #a0281c; }"));
    SetDataEntry(true);

    SetEntryOrder({Edit4, ComboBox1, DateTimePicker1, ComboBox5, Edit2, ComboBox2, ComboBox3, ComboBox4, Edit5, Edit3}, BitBtn1);
    setTabOrder(BitBtn1, BitBtn2);
    setTabOrder(BitBtn2, BitBtn3);
    SetDiscardQuestion(QStringLiteral("单据尚未保存，确定放弃吗？"));
    connect(BitBtn1, &QPushButton::clicked, this, &TFormGetPay::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn3, &QPushButton::clicked, this, &TFormGetPay::BitBtn3Click);
}

void TFormGetPay::FormShow()
{
    static const char *banners[4] = {"NewGet", "EditGet", "NewPay", "EditPay"};
    Image1->setPixmap(BillHeader::Banner(QString::fromLatin1(banners[qBound(0, FBillMode, 3)]), Image1->size()));
    setWindowTitle(FBillMode < 2 ? QStringLiteral("财务收入单") : QStringLiteral("财务支出单"));
    // Lists that could not be read were said once; a bill cannot be typed without them.
    if (!BillHeader::FillLists(ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox5)) {
        CloseWithResult(QDialog::Rejected);
        return;
    }
    ComboBox5->setEnabled(!FCustomerLocked);

    if (!IsNewBill()) {
        TQuery q(QStringLiteral("FinanceBill"));
        if (!TBillStore::FindWithAccount(FBillIndex, q, QStringLiteral("帐款读入失败"))) {
            CloseWithResult(QDialog::Rejected);
            return;
        }
        if (q.IsEmpty()) {
            Dialogs::ShowMessage(QStringLiteral("找不到要修改的记录"));
            CloseWithResult(QDialog::Rejected);
            return;
        }
        q.First();
        FBillVersion = q.FieldByName(QStringLiteral("BillVersion")).AsInteger();
        BillHeader::SelectEqual(ComboBox1, q.FieldByName(QStringLiteral("AccountName")).AsString());
        DateTimePicker1->setDate(q.FieldByName(QStringLiteral("BillCreateTime")).AsDate());
        BillHeader::SelectEqual(ComboBox2, q.FieldByName(QStringLiteral("BillReason")).AsString());
        Edit2->setText(NumberText(qAbs(q.FieldByName(QStringLiteral("BillMoney")).AsFloat())));
        BillHeader::SelectEqual(ComboBox3, q.FieldByName(QStringLiteral("BillType")).AsString());
        BillHeader::SelectEqual(ComboBox4, q.FieldByName(QStringLiteral("BillToken")).AsString());
        ComboBox5->setEditText(q.FieldByName(QStringLiteral("BillUser")).AsString());
        Edit3->setText(q.FieldByName(QStringLiteral("BillRemark")).AsString());
        Edit4->setText(q.FieldByName(QStringLiteral("BillSerial")).AsString());
        Edit5->setText(q.FieldByName(QStringLiteral("BillMan")).AsString());
        BitBtn3->show();
        ChangeHint->show();
    } else {
        DateTimePicker1->setDate(Session->WorkingDate());
        for (QLineEdit *e : {Edit2, Edit3, Edit4, Edit5})
            e->clear();
        BitBtn3->hide();
        ChangeHint->hide();
        for (QComboBox *box : {ComboBox1, ComboBox2, ComboBox3, ComboBox4})
            BillHeader::SelectFirst(box);
        BillHeader::PresetCustomer(FCustomerIndex, ComboBox5);
        FProposedSerial = BillHeader::ProposeSerial(FBillMode == 0 ? 3 : 4);
        Edit4->setText(FProposedSerial);
    }
    Edit4->setFocus();
}

void TFormGetPay::BitBtn1Click()
{
    auto refuse = [](const QString &message, QWidget *focus) {
        Dialogs::ShowMessage(message);
        if (focus)
            focus->setFocus();
    };
    if (!BillHeader::HasSelection(ComboBox1))
        return refuse(QStringLiteral("请选择一个帐户"), ComboBox1);
    if (!BillHeader::HasSelection(ComboBox2))
        return refuse(QStringLiteral("请选择帐款项目"), ComboBox2);
    const QString amountError = AmountTextError(Edit2->text());
    if (!amountError.isEmpty())
        return refuse(amountError, Edit2);
    if (!BillHeader::HasSelection(ComboBox3))
        return refuse(QStringLiteral("请选择帐款类别"), ComboBox3);
    if (!BillHeader::HasSelection(ComboBox4))
        return refuse(QStringLiteral("请选择帐款凭证"), ComboBox4);
    bool failed = false;
    const int account = BillHeader::AccountIndexByName(ComboBox1->currentText(), &failed);
    if (failed)
        return;
    if (account == 0)
        return refuse(QStringLiteral("找不到所需要的帐户"), nullptr);
    if (ComboBox5->currentText().isEmpty())
        return refuse(QStringLiteral("请选择客户名称"), ComboBox5);
    if (!BillNumbers::WellFormed(Edit4->text()))
        return refuse(QStringLiteral("单据编号格式有误，字母不能在数字后面"), Edit4);

    if (!BillHeader::ConfirmCustomerName(ComboBox5))
        return;
    FinanceBill bill;
    bill.index = IsNewBill() ? 0 : FBillIndex;
    bill.income = FBillMode < 2;
    bill.account = account;
    bill.date = DateTimePicker1->date();
    bill.customer = ComboBox5->currentText();
    bill.amount = TextToFloatLenient(Edit2->text());
    bill.reason = ComboBox2->currentText();
    bill.type = ComboBox3->currentText();
    bill.token = ComboBox4->currentText();
    bill.remark = Edit3->text();
    bill.serial = Edit4->text();
    bill.proposed = FProposedSerial;
    bill.version = FBillVersion;
    bill.man = Edit5->text();
    if (IsNewBill()) {
        QString serial;
        if (TFinanceBillStore::SaveNew(bill, &serial) == 0)
            return;
        Dialogs::ShowMessage(serial == bill.serial ? QStringLiteral("记录新增成功")
                                                   : QStringLiteral("记录新增成功，编号“%1”已被其他电脑使用，本单编号为“%2”").arg(bill.serial, serial));
        Session->ShowPage(2);
    } else {
        if (!AskModifyPassword())
            return;
        if (!TFinanceBillStore::SaveChanged(bill))
            return;
        Dialogs::ShowMessage(QStringLiteral("记录修改成功"));
    }
    Session->BooksChanged();
    accept();
}

void TFormGetPay::BitBtn3Click()
{
    if (!AskModifyPassword())
        return;
    if (!BillHeader::ConfirmDeletion(FBillIndex) || !TFinanceBillStore::Delete(FBillIndex))
        return;
    Session->BooksChanged();
    accept();
}
