#include "bills/BuySellForm.h"

#include "bills/BillHeader.h"
#include "bills/BillPrint.h"
#include "bills/LineGrid.h"
#include "masterdata/CustomerForm3.h"
#include "masterdata/ProductForm.h"
#include "reportengine/Report.h"
#include "ui/Artwork.h"
#include "ui/DatePicker.h"
#include "ui/Dialogs.h"
#include "ui/ModifyPassword.h"
#include "core/NumberTexts.h"
#include "core/Session.h"
#include "core/TypedNumber.h"
#include "stores/BillNumbers.h"
#include "stores/CustomerStore.h"
#include "stores/GoodsBillStore.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>

TFormBuySell *FormBuySell = nullptr;

namespace {
QLabel *Caption(QWidget *parent, const QString &text, const QRect &geometry)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(geometry);
    return l;
}

QPushButton *Button(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setGeometry(geometry);
    b->setCursor(Qt::PointingHandCursor);
    b->setAutoDefault(false);
    return b;
}
} // namespace

TFormBuySell::TFormBuySell(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormBuySell"));
    setWindowTitle(QStringLiteral("货品单据"));
    setFixedSize(816, 454);
    frReport1 = new TReport(this);
    frReport1->setObjectName(QStringLiteral("frReport1"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(12, 8, 300, 50);
    Caption(this, QStringLiteral("备注"), QRect(326, 20, 34, 24));
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->setGeometry(362, 19, 290, 26);

    ActionEdit = new QAction(QStringLiteral("修改"), this);
    ActionEdit->setObjectName(QStringLiteral("ActionEdit"));
    ActionEdit->setIcon(QIcon(Artwork::PadlockIcon(32, false)));
    ActionPrint = new QAction(QStringLiteral("打印"), this);
    ActionPrint->setObjectName(QStringLiteral("ActionPrint"));
    ActionPrint->setIcon(QIcon(Artwork::PrinterIcon(32)));
    ActionStore = new QAction(QStringLiteral("新增货品"), this);
    ActionStore->setObjectName(QStringLiteral("ActionStore"));
    ActionPrice = new QAction(QStringLiteral("新增单价"), this);
    ActionPrice->setObjectName(QStringLiteral("ActionPrice"));
    auto tool = [this](const QString &name, QAction *action, int x) {
        auto *b = new QToolButton(this);
        b->setObjectName(name);
        b->setDefaultAction(action);
        b->setGeometry(x, 6, 70, 54);
        b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        b->setIconSize(QSize(28, 28));
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    SpeedButton4 = tool(QStringLiteral("SpeedButton4"), ActionEdit, 664);
    PrintBill = tool(QStringLiteral("PrintBill"), ActionPrint, 738);

    CheckBox1 = new QCheckBox(QStringLiteral("已付货款"), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox1->setGeometry(12, 68, 110, 22);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(12, 94, 110, 26);
    const char *captions[4] = {"帐户名称", "收支种类", "款项类别", "凭证"};
    QComboBox **lists[4] = {&ComboBox1, &ComboBox2, &ComboBox3, &ComboBox4};
    for (int i = 0; i < 4; ++i) {
        const int x = 140 + i * 168;
        Caption(this, QString::fromUtf8(captions[i]), QRect(x, 68, 150, 22));
        *lists[i] = BillHeader::NewList(this, QStringLiteral("ComboBox%1").arg(i + 1), QRect(x, 94, 156, 26), false);
    }

    Caption(this, QStringLiteral("收货单位"), QRect(12, 136, 60, 24));
    ComboBox5 = BillHeader::NewList(this, QStringLiteral("ComboBox5"), QRect(74, 134, 250, 26), true);
    Caption(this, QStringLiteral("日期"), QRect(344, 136, 34, 24));
    DateTimePicker1 = new TDatePicker(this);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setGeometry(380, 134, 130, 26);
    Caption(this, QStringLiteral("No."), QRect(560, 136, 30, 24));
    BillSerial = new QLineEdit(this);
    BillSerial->setObjectName(QStringLiteral("BillSerial"));
    BillSerial->setGeometry(592, 134, 212, 26);

    Lines = new TLineGrid(&FCustomerIndex, &FRecalcEnabled, this);
    Lines->move(13, 172);

    const int y = 172 + Lines->height() + 10;
    ButtonStore = Button(this, QStringLiteral("ButtonStore"), QStringLiteral("新增货品"), QRect(12, y, 96, 34));
    ButtonPrice = Button(this, QStringLiteral("ButtonPrice"), QStringLiteral("新增单价"), QRect(116, y, 96, 34));
    BitBtn3 = Button(this, QStringLiteral("BitBtn3"), QStringLiteral("删除"), QRect(508, y, 96, 34));
    BitBtn1 = Button(this, QStringLiteral("BitBtn1"), QStringLiteral("确定"), QRect(612, y, 96, 34));
    BitBtn2 = Button(this, QStringLiteral("BitBtn2"), QStringLiteral("取消"), QRect(716, y, 90, 34));
    setFixedHeight(y + 46);
    LockMark = new QLabel(this);
    LockMark->setObjectName(QStringLiteral("LockMark"));
    LockMark->setGeometry(226, y, 270, 34);
    LockMark->setText(QStringLiteral("已锁定：点“修改”并输入密码后才能更改"));
    LockMark->setStyleSheet(QStringLiteral("QLabel { color: #a0281c; font-weight: bold; }"));
    LockMark->hide();
    // A locked bill's fields look read-only, not editable-but-ignored.
    setStyleSheet(QStringLiteral("QLineEdit[readOnly=\"true\"], QAbstractSpinBox[readOnly=\"true\"] "
                                 "{ background: #e2e5ea; color: #333333; }"));
    SetDataEntry(true);

    connect(ButtonStore, &QPushButton::clicked, ActionStore, &QAction::trigger);
    connect(ButtonPrice, &QPushButton::clicked, ActionPrice, &QAction::trigger);
    connect(ActionEdit, &QAction::triggered, this, &TFormBuySell::ActionEditExecute);
    connect(ActionPrint, &QAction::triggered, this, &TFormBuySell::ActionPrintExecute);
    connect(ActionStore, &QAction::triggered, this, &TFormBuySell::ActionStoreExecute);
    connect(ActionPrice, &QAction::triggered, this, &TFormBuySell::ActionPriceExecute);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormBuySell::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn3, &QPushButton::clicked, this, &TFormBuySell::BitBtn3Click);
    connect(CheckBox1, &QCheckBox::toggled, this, &TFormBuySell::UpdatePaidControls);
    connect(ComboBox5, &QComboBox::currentTextChanged, this, &TFormBuySell::ComboBox5Change);

    // Customer, date, number, the line cells slot by slot, then the rest; Enter ends on 确定.
    QList<QWidget *> order{ComboBox5, DateTimePicker1, BillSerial};
    for (int s = 0; s < TLineGrid::SlotCount; ++s)
        for (int c = 1; c <= TLineGrid::CellCount; ++c)
            order << Lines->Cell(s, c);
    order << Edit3 << CheckBox1 << Edit1 << ComboBox1 << ComboBox2 << ComboBox3 << ComboBox4;
    SetEntryOrder(order, BitBtn1);
    QList<QWidget *> buttons{BitBtn1, BitBtn3, BitBtn2};
    for (QPushButton *b : Lines->GridButton)
        buttons << b;
    for (int i = 1; i < buttons.size(); ++i)
        setTabOrder(buttons[i - 1], buttons[i]);
    SetDiscardQuestion(QStringLiteral("单据尚未保存，确定放弃吗？"));
    UpdatePaidControls();
}

QWidget *TFormBuySell::NextInput(QWidget *from) const
{
    // The number cell of an empty line: the lines are done, on to the payment.
    for (int s = 0; s < TLineGrid::SlotCount; ++s)
        if (from == Lines->Cell(s, 1) && !Lines->SlotUsed(s) && CheckBox1->isEnabled())
            return CheckBox1;
    return TForm::NextInput(from);
}

void TFormBuySell::UpdatePaidControls()
{
    const bool paid = CheckBox1->isChecked() && !FLocked;
    for (QWidget *w : {static_cast<QWidget *>(Edit1), static_cast<QWidget *>(ComboBox1), static_cast<QWidget *>(ComboBox2),
                       static_cast<QWidget *>(ComboBox3), static_cast<QWidget *>(ComboBox4)})
        w->setEnabled(paid);
}

void TFormBuySell::SetLocked(bool locked)
{
    FLocked = locked;
    for (QLineEdit *edit : {Edit3, Edit1, BillSerial})
        edit->setReadOnly(locked);
    DateTimePicker1->setReadOnly(locked);
    Lines->SetReadOnly(locked);
    CheckBox1->setEnabled(!locked);
    ComboBox5->setEnabled(!locked && !FCustomerLocked);
    UpdatePaidControls();
    LockMark->setVisible(locked);
    ActionEdit->setIcon(QIcon(Artwork::PadlockIcon(32, locked)));
    // The read-only look is a style sheet rule on the property; have it looked at again.
    for (QWidget *w : findChildren<QWidget *>()) {
        if (qobject_cast<QLineEdit *>(w) || qobject_cast<QAbstractSpinBox *>(w)) {
            w->style()->unpolish(w);
            w->style()->polish(w);
        }
    }
}

void TFormBuySell::ComboBox5Change()
{
    // The customer named in the box is the one whose quotes are proposed.
    // Asked at every key: a customer that cannot be read now proposes no quotes, and says
    // nothing here; the save reads the name again and says why when it still cannot.
    bool failed = false;
    FCustomerIndex = BillHeader::CustomerIndexByName(ComboBox5->currentText(), &failed, QString());
    ButtonPrice->setVisible(FCustomerIndex != 0);
}

void TFormBuySell::FormShow()
{
    static const char *banners[4] = {"NewSell", "EditSell", "NewBuy", "EditBuy"};
    Image1->setPixmap(BillHeader::Banner(QString::fromLatin1(banners[qBound(0, FBillMode, 3)]), Image1->size()));
    setWindowTitle(IsSales() ? QStringLiteral("出货单") : QStringLiteral("进货单"));
    // The caller's customer stands while the box is filled; the user's choices follow it later.
    const QSignalBlocker keepCustomer(ComboBox5);
    // Lists that could not be read were said once; a bill cannot be typed without them.
    if (!BillHeader::FillLists(ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox5)) {
        CloseWithResult(QDialog::Rejected);
        return;
    }
    SetLocked(false);
    if (FCustomerLocked)
        DateTimePicker1->setFocus();
    else
        ComboBox5->setFocus();
    Lines->Clear();
    Lines->SetStockCheck(IsSales(), IsNewBill() ? 0 : FBillIndex);

    if (!IsNewBill()) {
        if (!LoadExistingBill())
            return;
    } else {
        DateTimePicker1->setDate(Session->WorkingDate());
        Edit1->setText(QStringLiteral("0"));
        Edit3->clear();
        BillSerial->clear();
        BitBtn1->show();
        BitBtn3->hide();
        PrintBill->hide();
        SpeedButton4->hide();
        FProposedSerial = BillHeader::ProposeSerial(FBillMode == 0 ? 1 : 2);
        BillSerial->setText(FProposedSerial);
        CheckBox1->setChecked(false);
        UpdatePaidControls();
        for (QComboBox *box : {ComboBox1, ComboBox2, ComboBox3, ComboBox4})
            BillHeader::SelectFirst(box);
        BillHeader::PresetCustomer(FCustomerIndex, ComboBox5);
    }
    Lines->RecalcLines(TLineGrid::AmountChanged, 0);
    ButtonPrice->setVisible(FCustomerIndex != 0);
}

bool TFormBuySell::LoadExistingBill()
{
    GoodsBill bill;
    if (!TGoodsBillStore::Load(FBillIndex, bill)) {
        CloseWithResult(QDialog::Rejected);
        return false;
    }
    TQuery customer(QStringLiteral("BillCustomer"));
    if (!TCustomerStore::FindByName(bill.customer, customer, QStringLiteral("数据库打开失败"))) {
        CloseWithResult(QDialog::Rejected);
        return false;
    }
    customer.First();
    FBillVersion = bill.version;
    FCustomerIndex = customer.IsEmpty() ? 0 : customer.FieldByName(QStringLiteral("CustomerIndex")).AsInteger();

    BillHeader::SelectEqual(ComboBox1, bill.accountName);
    DateTimePicker1->setDate(bill.date);
    BillHeader::SelectEqual(ComboBox2, bill.reason);
    Edit1->setText(NumberText(bill.paid));
    BillHeader::SelectEqual(ComboBox3, bill.type);
    BillHeader::SelectEqual(ComboBox4, bill.token);
    ComboBox5->setEditText(bill.customer);
    Edit3->setText(bill.remark);
    BillSerial->setText(bill.serial);
    CheckBox1->setChecked(bill.account >= 2);
    UpdatePaidControls();

    Lines->Load(bill);
    PrintBill->show();
    SpeedButton4->show();
    BitBtn1->hide();
    BitBtn3->hide();
    // Shown as it was saved until 修改 unlocks it; Enter there asks for the password.
    SetLocked(true);
    SpeedButton4->setFocus();
    return true;
}

void TFormBuySell::BitBtn1Click()
{
    int account = 1;
    if (CheckBox1->isChecked()) {
        const QList<QPair<QComboBox *, QString>> checks = {{ComboBox1, QStringLiteral("请选择一个帐户")},
                                                           {ComboBox2, QStringLiteral("请选择收支种类")},
                                                           {ComboBox3, QStringLiteral("请选择帐款类别")},
                                                           {ComboBox4, QStringLiteral("请选择帐款凭证")}};
        for (const auto &[box, message] : checks)
            if (!BillHeader::HasSelection(box)) {
                Dialogs::ShowMessage(message);
                box->setFocus();
                return;
            }
        bool failed = false;
        account = BillHeader::AccountIndexByName(ComboBox1->currentText(), &failed);
        if (failed)
            return;
        if (account == 0) {
            Dialogs::ShowMessage(QStringLiteral("找不到所需要的帐户"));
            return;
        }
    }
    if (ComboBox5->currentText().isEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("请选择客户名称"));
        ComboBox5->setFocus();
        return;
    }
    if (!BillNumbers::WellFormed(BillSerial->text())) {
        Dialogs::ShowMessage(QStringLiteral("单据编号格式有误，字母不能在数字后面"));
        BillSerial->setFocus();
        return;
    }
    if (!Lines->ReadUnreadLines())
        return;
    // What cannot be saved as typed is refused, never guessed at.
    QString message;
    if (QLineEdit *bad = Lines->CheckLines(message)) {
        Dialogs::ShowMessage(message);
        bad->setFocus();
        return;
    }
    if (CheckBox1->isChecked() && !Edit1->text().isEmpty()) {
        const TypedNumber::Fault fault = TypedNumber::ReadAmount(Edit1->text(), nullptr, TypedNumber::MoneyDecimals);
        if (fault != TypedNumber::Fine) {
            Dialogs::ShowMessage(TypedNumber::AmountMessage(QStringLiteral("已付金额"), Edit1->text(), fault));
            Edit1->setFocus();
            return;
        }
    }
    if (!BillHeader::ConfirmCustomerName(ComboBox5))
        return;
    Dialogs::Attempt([&] {
        if (SaveBill(account))
            accept();
    });
}

bool TFormBuySell::SaveBill(int account)
{
    GoodsBill bill;
    bill.index = IsNewBill() ? 0 : FBillIndex;
    bill.sales = IsSales();
    bill.account = account;
    bill.date = DateTimePicker1->date();
    bill.customer = ComboBox5->currentText();
    // Unticked, nothing was paid, whatever the greyed box still shows.
    bill.paid = CheckBox1->isChecked() ? TextToFloatLenient(Edit1->text()) : 0;
    bill.reason = ComboBox2->currentText();
    bill.type = ComboBox3->currentText();
    bill.token = ComboBox4->currentText();
    bill.remark = Edit3->text();
    bill.serial = BillSerial->text();
    bill.proposed = FProposedSerial;
    bill.version = FBillVersion;
    // The lines alone: the bill makes its amounts and total from them.
    Lines->ReadLines(bill);
    if (!IsNewBill()) {
        if (!TGoodsBillStore::SaveChanged(bill))
            return false;
        Dialogs::ShowMessage(QStringLiteral("记录修改成功"));
        return true;
    }
    QString serial;
    if (TGoodsBillStore::SaveNew(bill, &serial) == 0)
        return false;
    Dialogs::ShowMessage(serial == bill.serial ? QStringLiteral("单据新增成功")
                                               : QStringLiteral("单据新增成功，编号“%1”已被其他电脑使用，本单编号为“%2”").arg(bill.serial, serial));
    Session->ShowPage(1);
    return true;
}

void TFormBuySell::BitBtn3Click()
{
    if (BillHeader::ConfirmDeletion(FBillIndex) && TGoodsBillStore::Delete(FBillIndex))
        accept();
}

void TFormBuySell::ActionEditExecute()
{
    if (!AskModifyPassword())
        return;
    FChanged = true;
    BitBtn1->show();
    BitBtn3->show();
    SetLocked(false);
    (ComboBox5->isEnabled() ? static_cast<QWidget *>(ComboBox5) : DateTimePicker1)->setFocus();
}

void TFormBuySell::ActionPrintExecute()
{
    TBillPrint::Print(FBillIndex, *frReport1);
}

void TFormBuySell::ActionStoreExecute()
{
    FormProduct->FEditMode = 0;
    if (Dialogs::ShowModal(FormProduct) == QDialog::Accepted)
        Session->ViewChanged(TSession::StockView);
}

void TFormBuySell::ActionPriceExecute()
{
    FormCustomer3->FCustomerIndex = FCustomerIndex;
    Dialogs::ShowModal(FormCustomer3);
}
