#include "masterdata/ProductForm.h"

#include "figures/ProductFigures.h"
#include "masterdata/SizeStockRow.h"
#include "ui/Artwork.h"
#include "ui/Dialogs.h"
#include "ui/ModifyPassword.h"
#include "core/NumberTexts.h"
#include "db/Queries.h"
#include "core/Session.h"
#include "db/ShareDM.h"
#include "stores/FieldText.h"
#include "stores/ProductStore.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

TFormProduct *FormProduct = nullptr;

namespace {
QPixmap Banner()
{
    QPixmap pm(420, 60);
    QPainter p(&pm);
    QLinearGradient g(0, 0, 420, 0);
    g.setColorAt(0, QColor(0x5f, 0x6b, 0x78));
    g.setColorAt(1, QColor(0xa9, 0xb4, 0xc0));
    p.fillRect(pm.rect(), g);
    p.drawPixmap(14, 14, Artwork::TabIcon(3));
    QFont f = p.font();
    f.setPixelSize(22);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(56, 0, 350, 60), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("货品资料"));
    return pm;
}
} // namespace

TFormProduct::TFormProduct(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormProduct"));
    setWindowTitle(QStringLiteral("货品资料"));
    setFixedSize(461, 391);

    Image9 = new QLabel(this);
    Image9->setObjectName(QStringLiteral("Image9"));
    Image9->setGeometry(20, 10, 420, 60);
    Image9->setPixmap(Banner());

    struct Field {
        QLineEdit **edit;
        const char *name;
        const char *caption;
        QRect geometry;
    };
    const Field fields[] = {
        {&Edit2, "Edit2", "货品名称", QRect(20, 100, 200, 26)},
        {&Edit3, "Edit3", "货品规格", QRect(240, 100, 200, 26)},
        {&Edit4, "Edit4", "货品单价", QRect(20, 156, 200, 26)},
        {&Edit7, "Edit7", "货品编号", QRect(240, 156, 200, 26)},
        {&Edit8, "Edit8", "货品信息", QRect(20, 212, 420, 26)},
    };
    for (const Field &f : fields) {
        auto *label = new QLabel(QString::fromUtf8(f.caption), this);
        label->setGeometry(f.geometry.x(), f.geometry.y() - 22, 120, 20);
        *f.edit = new QLineEdit(this);
        (*f.edit)->setObjectName(QString::fromLatin1(f.name));
        (*f.edit)->setGeometry(f.geometry);
    }

    auto button = [this](const QString &name, const QString &text, int x) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(name);
        b->setGeometry(x, 336, 100, 34);
        b->setCursor(Qt::PointingHandCursor);
        b->setAutoDefault(false);
        return b;
    };
    SizeCaption = new QLabel(QStringLiteral("各尺码库存"), this);
    SizeCaption->setGeometry(20, 246, 200, 20);
    SizeRow = new TSizeStockRow(this);
    SizeRow->move(20, 268);

    BitBtn3 = button(QStringLiteral("BitBtn3"), QStringLiteral("删除"), 20);
    BitBtn1 = button(QStringLiteral("BitBtn1"), QStringLiteral("保存"), 230);
    BitBtn2 = button(QStringLiteral("BitBtn2"), QStringLiteral("取消"), 340);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormProduct::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn3, &QPushButton::clicked, this, &TFormProduct::BitBtn3Click);
}

void TFormProduct::FormShow()
{
    if (FEditMode != 0) {
        TQuery q(QStringLiteral("Product"));
        if (!LoadRecordOrClose(q, [this](TQuery &row) {
                return TProductStore::Read(row, FProductIndex, QStringLiteral("货品读入失败"));
            }))
            return;
        Edit2->setText(q.FieldByName(QStringLiteral("ProductName")).AsString());
        Edit3->setText(q.FieldByName(QStringLiteral("ProductType")).AsString());
        Edit4->setText(NumberText(q.FieldByName(QStringLiteral("ProductPrice")).AsFloat()));
        FReadPrice = Edit4->text();
        Edit7->setText(q.FieldByName(QStringLiteral("ProductSerial")).AsString());
        Edit8->setText(q.FieldByName(QStringLiteral("ProductRemark")).AsString());
        FProductVersion = q.FieldByName(QStringLiteral("ProductVersion")).AsInteger();
        BitBtn3->show();
        TProductFigures figures;
        const QDate day = Session->WorkingDate();
        if (figures.LoadSizes(day, FProductIndex))
            SizeRow->Show(figures.SizesOf(FProductIndex));
        SizeCaption->setText(QStringLiteral("各尺码库存（截至 %1）").arg(DateText(day)));
        SizeCaption->show();
        SizeRow->show();
    } else {
        for (QLineEdit *e : Edits())
            e->clear();
        FReadPrice.clear();
        BitBtn3->hide();
        SizeCaption->hide();
        SizeRow->hide();
    }
    Edit2->setFocus();
}

void TFormProduct::BitBtn1Click()
{
    if (Edit2->text().isEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("货品名称不能为空"));
        Edit2->setFocus();
        return;
    }
    if (Edit3->text().isEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("货品规格不能为空"));
        Edit3->setFocus();
        return;
    }
    const struct {
        QLineEdit *edit;
        const char *field;
        int maxLength;
    } texts[] = {{Edit2, "货品名称", FieldText::MaxShort}, {Edit3, "货品规格", FieldText::MaxShort},
                 {Edit7, "货品编号", FieldText::MaxShort}, {Edit8, "货品信息", FieldText::MaxLong}};
    for (const auto &t : texts)
        if (const QString fault = FieldText::Fault(QString::fromUtf8(t.field), t.edit->text(), t.maxLength); !fault.isEmpty()) {
            Dialogs::ShowMessage(fault);
            t.edit->setFocus();
            return;
        }
    // A price the books already hold (an import or a quote takes four decimals)
    // does not stop a change of the rest; one typed here takes two.
    const bool priceKept = FEditMode != 0 && !FReadPrice.isEmpty() && Edit4->text() == FReadPrice;
    const QString error = priceKept ? QString() : AmountTextError(Edit4->text());
    if (!error.isEmpty()) {
        Dialogs::ShowMessage(error);
        Edit4->setFocus();
        return;
    }
    Product product;
    product.index = FEditMode == 0 ? 0 : FProductIndex;
    product.name = Edit2->text();
    product.type = Edit3->text();
    product.price = TextToFloatLenient(Edit4->text());
    product.serial = Edit7->text();
    product.remark = Edit8->text();
    product.version = FProductVersion;
    if (FEditMode == 0) {
        if (TProductStore::Create(product) == 0)
            return;
        Dialogs::ShowMessage(QStringLiteral("货品记录新增成功"));
        accept();
        return;
    }
    if (!AskModifyPassword() || !TProductStore::Change(product))
        return;
    Dialogs::ShowMessage(QStringLiteral("记录修改成功"));
    accept();
}

void TFormProduct::BitBtn3Click()
{
    if (!AskModifyPassword())
        return;
    TQuery q(QStringLiteral("Product"));
    if (!FindAndConfirmDeletion(q, [this](TQuery &row) { return TProductStore::Read(row, FProductIndex); },
                                QStringLiteral("确实要删除该货品吗？")))
        return;
    if (!TProductStore::Delete(FProductIndex))
        return;
    Session->BooksChanged();
    reject();
}
