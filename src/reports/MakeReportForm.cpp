#include "reports/MakeReportForm.h"

#include "bills/BillHeader.h"
#include "figures/BillSearch.h"
#include "reports/DataCentrePage.h"
#include "ui/DatePicker.h"
#include "ui/Dialogs.h"
#include "core/Session.h"
#include "core/TypedNumber.h"

#include "ui/SearchBox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

TFormMakeReport *FormMakeReport = nullptr;

namespace {
// Three columns of inputs, each under its label.
constexpr int ColumnX[3] = {16, 164, 312};
constexpr int ColumnWidth = 128;
constexpr int FormWidth = 456;
constexpr int RowY[5] = {12, 64, 116, 168, 220};
constexpr int LabelHeight = 20;
constexpr int InputHeight = 24;

const QString Silver = QStringLiteral("QLineEdit { background: #c0c0c0; }");
const QString White = QStringLiteral("QLineEdit { background: white; }");

QLabel *Caption(QWidget *parent, const QString &text, int x, int y, int width = ColumnWidth)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(x, y, width, LabelHeight);
    return l;
}

QLineEdit *NewEdit(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(geometry);
    return e;
}

QDateEdit *NewDate(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *d = new TDatePicker(parent);
    d->setObjectName(name);
    d->setGeometry(geometry);
    d->setDateRange(QDate(1980, 1, 1), QDate(2199, 12, 31));
    return d;
}

// "到" between two inputs of a range.
void To(QWidget *parent, int x, int y)
{
    auto *l = new QLabel(QStringLiteral("到"), parent);
    l->setGeometry(x, y, 20, InputHeight);
    l->setAlignment(Qt::AlignCenter);
}

QRect Input(int column, int row, int width = ColumnWidth)
{
    return QRect(ColumnX[column], RowY[row] + LabelHeight + 2, width, InputHeight);
}

// "所有" heads every list and is chosen.
void HeadWithAll(QComboBox *box)
{
    box->insertItem(0, QStringLiteral("所有"));
    box->setCurrentIndex(0);
}

QString Chosen(const QComboBox *box) { return box->currentIndex() > 0 ? box->currentText() : QString(); }
} // namespace

TFormMakeReport::TFormMakeReport(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormMakeReport"));
    setWindowTitle(QStringLiteral("FormMakeReport"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);
    setFixedSize(FormWidth, ShortHeight);

    Caption(this, QStringLiteral("单据类型"), ColumnX[0], RowY[0]);
    ComboBox5 = BillHeader::NewList(this, QStringLiteral("ComboBox5"), Input(0, 0), false);
    Caption(this, QStringLiteral("时间范围"), ColumnX[1], RowY[0]);
    DateTimePicker1 = NewDate(this, QStringLiteral("DateTimePicker1"), Input(1, 0));
    To(this, ColumnX[1] + ColumnWidth, Input(1, 0).y());
    DateTimePicker2 = NewDate(this, QStringLiteral("DateTimePicker2"), Input(2, 0));

    Caption(this, QStringLiteral("金额范围"), ColumnX[0], RowY[1]);
    Edit2 = NewEdit(this, QStringLiteral("Edit2"), Input(0, 1));
    To(this, ColumnX[0] + ColumnWidth, Input(0, 1).y());
    Edit4 = NewEdit(this, QStringLiteral("Edit4"), Input(1, 1));
    Caption(this, QStringLiteral("单据编号"), ColumnX[2], RowY[1]);
    Edit5 = NewEdit(this, QStringLiteral("Edit5"), Input(2, 1));

    Caption(this, QStringLiteral("帐户名称"), ColumnX[0], RowY[2]);
    ComboBox1 = BillHeader::NewList(this, QStringLiteral("ComboBox1"), Input(0, 2), false);
    Caption(this, QStringLiteral("客户名称"), ColumnX[1], RowY[2]);
    ComboBox6 = BillHeader::NewList(this, QStringLiteral("ComboBox6"), Input(1, 2), true);
    MakeSearchBox(ComboBox6);
    Caption(this, QStringLiteral("业务员"), ColumnX[2], RowY[2]);
    Edit6 = NewEdit(this, QStringLiteral("Edit6"), Input(2, 2));

    Caption(this, QStringLiteral("项目"), ColumnX[0], RowY[3]);
    ComboBox2 = BillHeader::NewList(this, QStringLiteral("ComboBox2"), Input(0, 3), false);
    Caption(this, QStringLiteral("类别"), ColumnX[1], RowY[3]);
    ComboBox3 = BillHeader::NewList(this, QStringLiteral("ComboBox3"), Input(1, 3), false);
    Caption(this, QStringLiteral("凭证"), ColumnX[2], RowY[3]);
    ComboBox4 = BillHeader::NewList(this, QStringLiteral("ComboBox4"), Input(2, 3), false);

    Caption(this, QStringLiteral("备注"), ColumnX[0], RowY[4]);
    Edit3 = NewEdit(this, QStringLiteral("Edit3"), Input(0, 4, ColumnX[2] + ColumnWidth - ColumnX[0]));

    // The product row lies below the short form's edge and shows when the form grows.
    ProductRow = new QWidget(this);
    ProductRow->setObjectName(QStringLiteral("ProductRow"));
    ProductRow->setGeometry(0, 278, FormWidth, LabelHeight + 2 + InputHeight);
    const int productWidth = (ColumnX[2] + ColumnWidth - ColumnX[0] - 3 * 12) / 4;
    const char *productCaptions[4] = {"货品编号", "货品类别", "货品名称", "货品规格"};
    QLineEdit **productEdits[4] = {&Edit7, &Edit8, &Edit9, &Edit10};
    for (int i = 0; i < 4; ++i) {
        const int x = ColumnX[0] + i * (productWidth + 12);
        Caption(ProductRow, QString::fromUtf8(productCaptions[i]), x, 0, productWidth);
        *productEdits[i] = NewEdit(ProductRow, QStringLiteral("Edit%1").arg(7 + i), QRect(x, LabelHeight + 2, productWidth, InputHeight));
    }
    ProductRow->hide();

    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_FileDialogContentsView), QStringLiteral("查找"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("取消"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    PlaceButtons();

    ComboBox5->addItems(TBillSearch::Kinds());
    connect(ComboBox5, &QComboBox::activated, this, &TFormMakeReport::ComboBox5Change);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormMakeReport::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormMakeReport::BitBtn2Click);
}

void TFormMakeReport::PlaceButtons()
{
    const int y = height() - 52;
    BitBtn1->setGeometry(FormWidth - 16 - 2 * 96 - 12, y, 96, 32);
    BitBtn2->setGeometry(FormWidth - 16 - 96, y, 96, 32);
}

void TFormMakeReport::SetAmountEditsEnabled(bool enabled)
{
    for (QLineEdit *e : {Edit2, Edit4}) {
        e->setEnabled(enabled);
        e->setStyleSheet(enabled ? White : Silver);
        if (!enabled)
            e->clear();
    }
}

void TFormMakeReport::FormShow()
{
    for (QLineEdit *e : {Edit2, Edit3, Edit4, Edit5, Edit6, Edit7, Edit8, Edit9, Edit10})
        e->clear();
    SetAmountEditsEnabled(false);
    const QDate working = Session->WorkingDate();
    DateTimePicker1->setDate(TBillSearch::PeriodFirst(TBillSearch::Month, working));
    DateTimePicker2->setDate(TBillSearch::PeriodLast(TBillSearch::Month, working));
    BillHeader::FillLists(ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox6, QStringLiteral("客户读入失败"));
    for (QComboBox *box : {ComboBox1, ComboBox2, ComboBox3, ComboBox4, ComboBox6})
        HeadWithAll(box);
    ComboBox5->setCurrentIndex(0);
    ComboBox5->setFocus();
    setFixedHeight(ShortHeight);
    ProductRow->hide();
    PlaceButtons();
    // Every showing starts centred on the main window, whatever the last one moved.
    const QWidget *main = parentWidget() ? parentWidget()->window() : nullptr;
    if (main)
        move(main->frameGeometry().center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
}

void TFormMakeReport::ComboBox5Change()
{
    const int kind = ComboBox5->currentIndex();
    SetAmountEditsEnabled(kind != 0);
    if (kind == 1 || kind == 2) {
        if (height() == ShortHeight)
            move(pos() - QPoint(0, 40));
        setFixedHeight(TallHeight);
        ProductRow->show();
    } else {
        if (height() == TallHeight)
            move(pos() + QPoint(0, 40));
        setFixedHeight(ShortHeight);
        ProductRow->hide();
        for (QLineEdit *e : {Edit7, Edit8, Edit9, Edit10})
            e->clear();
    }
    PlaceButtons();
}

TBillSearch TFormMakeReport::Search() const
{
    TBillSearch s;
    s.kind = ComboBox5->currentIndex();
    s.from = DateTimePicker1->date();
    s.to = DateTimePicker2->date();
    s.lowerAmount = Edit2->text();
    s.upperAmount = Edit4->text();
    s.serial = Edit5->text();
    s.account = Chosen(ComboBox1);
    s.reason = Chosen(ComboBox2);
    s.type = Chosen(ComboBox3);
    s.token = Chosen(ComboBox4);
    // The customer box takes part of a name as typed; "所有" or nothing means any customer.
    const QString customer = ComboBox6->currentText();
    s.customer = customer == QStringLiteral("所有") ? QString() : customer;
    s.man = Edit6->text();
    s.remark = Edit3->text();
    s.productSerial = Edit7->text();
    s.productCategory = Edit8->text();
    s.productName = Edit9->text();
    s.productModel = Edit10->text();
    return s;
}

void TFormMakeReport::BitBtn1Click()
{
    for (QLineEdit *e : {Edit2, Edit4}) {
        if (!e->text().isEmpty() && TypedNumber::ReadAmount(e->text()) != TypedNumber::Fine) {
            Dialogs::ShowMessage(QStringLiteral("金额格式有误，请重新输入"));
            e->setFocus();
            return;
        }
    }
    Session->ShowBills(Search().Sql());
    accept();
}

void TFormMakeReport::BitBtn2Click() { reject(); }
