#include "bills/LineGrid.h"

#include "core/Capitals.h"
#include "bills/ProductForm2.h"
#include "figures/ProductFigures.h"
#include "ui/Dialogs.h"
#include "db/Money.h"
#include "core/NumberTexts.h"
#include "core/Session.h"
#include "db/ShareDM.h"
#include "core/TypedNumber.h"
#include "stores/GoodsBill.h"
#include "stores/ProductStore.h"
#include "stores/QuoteStore.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {
const int columnWidth[TLineGrid::CellCount] = {70, 100, 80, 34, 34, 34, 34, 34, 34, 34, 34, 34, 34, 50, 56, 72};
constexpr int buttonWidth = 22;
constexpr int rowHeight = 25;
constexpr int headerHeight = 44;

// A price or line sum as far as it is a number; the save refuses what is not.
double ValueOrZero(const QString &text)
{
    double value = 0;
    return TypedNumber::ReadAmount(text, &value) == TypedNumber::Fine ? value : 0;
}

bool PriceTyped(const QString &text)
{
    return text.isEmpty() || TypedNumber::ReadAmount(text, nullptr, TypedNumber::PriceDecimals) == TypedNumber::Fine;
}

// Cells the program alone writes: no typing, no focus, still easy to read.
void MakeComputed(QLineEdit *cell)
{
    cell->setReadOnly(true);
    cell->setFocusPolicy(Qt::NoFocus);
    cell->setStyleSheet(QStringLiteral("QLineEdit { background: #eef1f5; color: #1a1a1a; }"));
}

int X(int cell)
{
    int x = 0;
    for (int c = 1; c < cell; ++c)
        x += columnWidth[c - 1] + (c == 1 ? buttonWidth : 0);
    return x;
}

QLabel *HeaderLabel(QWidget *parent, const QString &text, const QRect &geometry)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignCenter);
    l->setFrameShape(QFrame::Box);
    l->setStyleSheet(QStringLiteral("QLabel { background: #e4ecf7; border: 1px solid #9fb3cf; color: #1d3f73; }"));
    return l;
}
} // namespace

TLineGrid::TLineGrid(int *customerIndex, bool *recalcEnabled, QWidget *parent)
    : QWidget(parent), customerIndex_(customerIndex), recalcEnabled_(recalcEnabled)
{
    setObjectName(QStringLiteral("LineGrid"));
    const QStringList captions = {QStringLiteral("货品编号"), QStringLiteral("货品名称"), QStringLiteral("货品规格"),
                                  QStringLiteral("35#"), QStringLiteral("36#"), QStringLiteral("37#"), QStringLiteral("38#"),
                                  QStringLiteral("39#"), QStringLiteral("40#"), QStringLiteral("41#"), QStringLiteral("42#"),
                                  QStringLiteral("43#"), QStringLiteral("44#"), QStringLiteral("数量"), QStringLiteral("单价"),
                                  QStringLiteral("金额/元")};
    const int half = headerHeight / 2;
    for (int c = 1; c <= CellCount; ++c) {
        const int width = columnWidth[c - 1] + (c == 1 ? buttonWidth : 0);
        if (c >= 4 && c <= 13)
            HeaderLabel(this, captions[c - 1], QRect(X(c), half, width, half));
        else
            HeaderLabel(this, captions[c - 1], QRect(X(c), 0, width, headerHeight));
    }
    // Size groups over the size columns.
    HeaderLabel(this, QStringLiteral("小码"), QRect(X(4), 0, X(7) - X(4), half));
    HeaderLabel(this, QStringLiteral("中码"), QRect(X(7), 0, X(11) - X(7), half));
    HeaderLabel(this, QStringLiteral("大码"), QRect(X(11), 0, X(14) - X(11), half));

    static const char letters[] = "ABCDEF";
    for (int s = 0; s < SlotCount; ++s) {
        const QString letter = QString(QLatin1Char(letters[s]));
        const int y = headerHeight + s * rowHeight;
        for (int c = 1; c <= CellCount; ++c) {
            auto *cell = new QLineEdit(this);
            cell->setObjectName(QStringLiteral("Grid") + letter + QString::number(c));
            cell->setGeometry(X(c), y, columnWidth[c - 1], rowHeight);
            if (c >= 4 && c <= 13) {
                cell->setAlignment(Qt::AlignCenter);
                cell->setMaxLength(6);   // a size count, never beyond the integer range
                cell->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), cell));
            }
            if (c >= 14)
                cell->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (c == 14 || c == 16)
                MakeComputed(cell);
            cells_[s][c - 1] = cell;
            const int slot = s + 1;
            if (c == 1)
                connect(cell, &QLineEdit::textChanged, this, [this, slot] { RecalcLines(SerialChanged, slot); });
            else if (c == 2 || c == 3)
                connect(cell, &QLineEdit::textChanged, this, [this, slot] { RecalcLines(NameChanged, slot); });
            else if ((c >= 4 && c <= 13) || c == 15)
                connect(cell, &QLineEdit::textChanged, this, [this, slot] { RecalcLines(AmountChanged, slot); });
            // Entering a size shows the stock of each size; Up and Down move between lines.
            cell->setProperty("slot", s);
            cell->setProperty("column", c);
            cell->installEventFilter(this);
        }
        auto *button = new QPushButton(QStringLiteral("...."), this);
        button->setObjectName(QStringLiteral("GridButton") + letter + QStringLiteral("1"));
        button->setGeometry(X(1) + columnWidth[0], y, buttonWidth, rowHeight);
        button->setCursor(Qt::PointingHandCursor);
        button->setFocusPolicy(Qt::TabFocus);
        button->setAutoDefault(false);   // Enter in a cell never opens the picker
        GridButton[s] = button;
        const int slot = s + 1;
        connect(button, &QPushButton::clicked, this, [this, slot] { PickProduct(slot); });
    }

    const int totalsY = headerHeight + SlotCount * rowHeight + 4;
    auto *capitalsCaption = new QLabel(QStringLiteral("大写"), this);
    capitalsCaption->setGeometry(0, totalsY, 40, 26);
    capitalsCaption->setAlignment(Qt::AlignCenter);
    Label29 = new QLabel(QStringLiteral("　万　仟　佰　拾　元　角　分"), this);
    Label29->setObjectName(QStringLiteral("Label29"));
    Label29->setGeometry(40, totalsY, X(14) - 60, 26);
    Label29->setStyleSheet(QStringLiteral("QLabel { color: #b01818; font-size: 15px; font-weight: bold; }"));
    auto *totalCaption = new QLabel(QStringLiteral("合计"), this);
    totalCaption->setGeometry(X(15), totalsY, columnWidth[14], 26);
    totalCaption->setAlignment(Qt::AlignCenter);
    GridTotal = new QLineEdit(this);
    GridTotal->setObjectName(QStringLiteral("GridTotal"));
    GridTotal->setGeometry(X(16), totalsY, columnWidth[15], 26);
    GridTotal->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    MakeComputed(GridTotal);
    setFixedSize(X(16) + columnWidth[15], totalsY + 28);
}

bool TLineGrid::SlotUsed(int s) const
{
    for (QLineEdit *cell : cells_[s])
        if (cell != cells_[s][13] && cell != cells_[s][15] && !cell->text().isEmpty())
            return true;
    return false;
}

QLineEdit *TLineGrid::CheckLines(QString &message) const
{
    for (int s = 0; s < SlotCount; ++s) {
        QLineEdit *const *cell = cells_[s];
        const QString line = QStringLiteral("第%1行").arg(s + 1);
        // A stored line needs its product, or it cannot be loaded back.
        if (SlotUsed(s) && productRef_[s] == 0) {
            message = line + (cell[0]->text().isEmpty() && cell[1]->text().isEmpty()
                                  ? QStringLiteral("没有货品，请选择货品或清空该行")
                                  : QStringLiteral("的货品找不到，请选择货品或清空该行"));
            return cell[0];
        }
        for (int c = 4; c <= 13; ++c) {
            const QString text = cell[c - 1]->text();
            const TypedNumber::Fault fault = TypedNumber::ReadCount(text);
            if (!text.isEmpty() && fault != TypedNumber::Fine) {
                message = TypedNumber::CountMessage(line + QStringLiteral("%1#的数量").arg(31 + c), text, fault);
                return cell[c - 1];
            }
        }
        const QString price = cell[14]->text();
        if (!PriceTyped(price)) {
            message = TypedNumber::AmountMessage(line + QStringLiteral("的单价"), price,
                                                 TypedNumber::ReadAmount(price, nullptr, TypedNumber::PriceDecimals));
            return cell[14];
        }
        const QString sum = cell[15]->text();
        if (!sum.isEmpty() && TypedNumber::ReadAmount(sum) != TypedNumber::Fine) {
            message = TypedNumber::AmountMessage(line + QStringLiteral("的金额"), sum, TypedNumber::TooLong);
            return cell[14];
        }
    }
    const QString total = GridTotal->text();
    if (!total.isEmpty() && TypedNumber::ReadAmount(total) != TypedNumber::Fine) {
        message = TypedNumber::AmountMessage(QStringLiteral("合计金额"), total, TypedNumber::TooLong);
        return cells_[0][14];
    }
    return nullptr;
}

bool TLineGrid::ProposedPrice(int productIndex, double listPrice, QString &price)
{
    TQuery q(QStringLiteral("Quote"));
    if (!TQuoteStore::Find(*customerIndex_, productIndex, q, QStringLiteral("数据库打开失败")))
        return false;
    q.First();
    price = NumberText(q.IsEmpty() ? listPrice : q.FieldByName(QStringLiteral("PriceValue")).AsFloat());
    return true;
}

bool TLineGrid::Unread(int kind, int s)
{
    // What the line named before is no longer what it shows.
    productRef_[s] = 0;
    unread_[s] = kind;
    return false;
}

bool TLineGrid::ReadUnreadLines()
{
    for (int s = 0; s < SlotCount; ++s)
        if (unread_[s] >= 0 && !Lookup(unread_[s], s))
            return false;
    return true;
}

bool TLineGrid::Lookup(int kind, int s)
{
    QLineEdit **cell = cells_[s];
    unread_[s] = -1;
    TQuery q(QStringLiteral("LineProduct"));
    if (kind == SerialChanged) {
        if (cell[0]->text().isEmpty())
            return true;
        if (!TProductStore::FindBySerial(cell[0]->text(), q, QStringLiteral("货品读入失败")))
            return Unread(kind, s);
        if (q.IsEmpty()) {
            cell[1]->clear();
            cell[2]->clear();
            cell[14]->clear();
            productRef_[s] = 0;
            return true;
        }
    } else {
        if (cell[1]->text().isEmpty() || cell[2]->text().isEmpty())
            return true;
        if (!TProductStore::FindByModel(cell[1]->text(), cell[2]->text(), q, QStringLiteral("货品读入失败")))
            return Unread(kind, s);
        if (q.IsEmpty()) {
            cell[0]->clear();
            cell[14]->clear();
            productRef_[s] = 0;
            return true;
        }
    }
    q.First();
    const int index = q.FieldByName(QStringLiteral("ProductIndex")).AsInteger();
    const QString name = q.FieldByName(QStringLiteral("ProductName")).AsString();
    const QString type = q.FieldByName(QStringLiteral("ProductType")).AsString();
    const QString serial = q.FieldByName(QStringLiteral("ProductSerial")).AsString();
    const double listPrice = q.FieldByName(QStringLiteral("ProductPrice")).AsFloat();
    QString price;
    if (!ProposedPrice(index, listPrice, price))
        return Unread(kind, s);
    if (kind == SerialChanged) {
        cell[1]->setText(name);
        cell[2]->setText(type);
    } else {
        cell[0]->setText(serial);
    }
    productRef_[s] = index;
    cell[14]->setText(price);
    return true;
}

void TLineGrid::SetStockCheck(bool salesBill, int exceptBill)
{
    salesBill_ = salesBill;
    exceptBill_ = exceptBill;
    for (int s = 0; s < SlotCount; ++s) {
        stockProduct_[s] = 0;
        ShowSlotStock(s);
    }
}

void TLineGrid::LoadSlotStock(int s, bool fetch)
{
    const int product = salesBill_ && productRef_[s] > 1 ? productRef_[s] : 0;
    if (product == stockProduct_[s])
        return;
    stockProduct_[s] = 0;
    if (product != 0 && fetch) {
        TProductFigures figures;
        if (figures.LoadSizes(Session->WorkingDate(), product, exceptBill_)) {
            const SizeStock stock = figures.SizesOf(product);
            std::copy(std::begin(stock.size), std::end(stock.size), stockOf_[s]);
            stockProduct_[s] = product;
        }
    }
}

bool TLineGrid::HasSizes(int s) const
{
    for (int k = 0; k < SizeStock::SizeCount; ++k)
        if (!cells_[s][3 + k]->text().isEmpty())
            return true;
    return false;
}

void TLineGrid::ShowSlotStock(int s)
{
    for (int k = 0; k < SizeStock::SizeCount; ++k) {
        QLineEdit *cell = cells_[s][3 + k];
        QString tip, look;
        if (stockProduct_[s] != 0) {
            const int stock = stockOf_[s][k];
            tip = QStringLiteral("%1库存：%2").arg(TProductFigures::SizeCaption(k)).arg(stock);
            // An empty cell asks for nothing, whatever the stock.
            const int wanted = TextToIntLenient(cell->text());
            if (wanted > 0 && wanted > stock) {
                tip += QStringLiteral("，本单数量超过库存");
                look = QStringLiteral("QLineEdit { background: #ffd9a0; }");
            }
        }
        if (cell->toolTip() != tip)
            cell->setToolTip(tip);
        if (cell->styleSheet() != look)
            cell->setStyleSheet(look);
    }
}

void TLineGrid::SetReadOnly(bool readOnly)
{
    for (int s = 0; s < SlotCount; ++s) {
        for (int c = 1; c <= CellCount; ++c)
            if (c != 14 && c != 16)
                cells_[s][c - 1]->setReadOnly(readOnly);
        GridButton[s]->setEnabled(!readOnly);
    }
}

void TLineGrid::RecalcLines(int kind, int slot)
{
    if (!*recalcEnabled_)
        return;
    *recalcEnabled_ = false;
    struct Release {
        bool *flag;
        ~Release() { *flag = true; }
    } release{recalcEnabled_};   // also when a step fails

    const int first = slot == 0 ? 0 : slot - 1;
    const int last = slot == 0 ? SlotCount - 1 : slot - 1;
    if (kind == SerialChanged || kind == NameChanged)
        for (int s = first; s <= last; ++s)
            if (!Lookup(kind, s))
                return;
    for (int s = first; s <= last; ++s) {
        // The stock of each size is summed over the product's whole history: only
        // once a size of this line is typed (or its product changes under typed
        // sizes), never for a line without sizes nor for every line when a bill is opened.
        LoadSlotStock(s, slot != 0 && (kind == AmountChanged || HasSizes(s)));
        ShowSlotStock(s);
        int pieces = 0;
        for (int c = 4; c <= 13; ++c)
            pieces += TextToIntLenient(cells_[s][c - 1]->text());
        cells_[s][13]->setText(QString::number(pieces));
    }
    for (int s = 0; s < SlotCount; ++s) {
        // A price that is no number is marked until it is put right.
        const QString look = PriceTyped(cells_[s][14]->text()) ? QString() : QStringLiteral("QLineEdit { background: #ffd6d6; }");
        if (cells_[s][14]->styleSheet() != look)
            cells_[s][14]->setStyleSheet(look);
    }
    ShowAmounts();
}

GoodsLine TLineGrid::LineOf(int s) const
{
    QLineEdit *const *cell = cells_[s];
    GoodsLine line;
    line.product = productRef_[s];
    for (int k = 0; k < int(line.sizes.size()); ++k)
        line.sizes[k] = cell[3 + k]->text();
    line.pieces = TextToIntLenient(cell[13]->text());
    line.price = PriceTyped(cell[14]->text()) ? ValueOrZero(cell[14]->text()) : 0;
    return line;
}

void TLineGrid::ReadLines(GoodsBill &bill) const
{
    for (int s = 0; s < SlotCount; ++s)
        bill.lines[s] = LineOf(s);
}

void TLineGrid::ShowAmounts()
{
    // The amounts are the bill's own, as the store will write them.
    GoodsBill bill;
    ReadLines(bill);
    for (int s = 0; s < SlotCount; ++s)
        cells_[s][15]->setText(NumberText(FenToYuan(bill.lines[s].AmountFen())));
    GridTotal->setText(NumberText(FenToYuan(bill.TotalFen())));
    Label29->setText(FenToCapitals(TotalToFen(GridTotal->text())));
}

void TLineGrid::Clear()
{
    const bool was = *recalcEnabled_;
    *recalcEnabled_ = false;
    for (int s = 0; s < SlotCount; ++s) {
        for (QLineEdit *cell : cells_[s])
            cell->clear();
        cells_[s][14]->setStyleSheet(QString());
        productRef_[s] = 0;
        unread_[s] = -1;
    }
    *recalcEnabled_ = was;
}

void TLineGrid::Load(const GoodsBill &bill)
{
    for (int s = 0; s < SlotCount; ++s) {
        const GoodsLine &line = bill.lines[s];
        if (line.product == 0)
            continue;   // a line row the bill never had
        QLineEdit **cell = cells_[s];
        cell[0]->setText(line.serial);
        cell[1]->setText(line.name);
        cell[2]->setText(line.type);
        for (int k = 0; k < int(line.sizes.size()); ++k)
            cell[3 + k]->setText(line.sizes[k]);
        cell[13]->setText(QString::number(line.pieces));
        // The stored price and product win over what the lookups proposed.
        cell[14]->setText(NumberText(line.price));
        productRef_[s] = line.product;
        LoadSlotStock(s, false);
        ShowSlotStock(s);
    }
    ShowAmounts();
}

void TLineGrid::PickProduct(int slot)
{
    QLineEdit **cell = cells_[slot - 1];
    FormProduct2->FPickKind = 0;
    if (Dialogs::ShowModal(FormProduct2) != QDialog::Accepted)
        return;
    cell[1]->setText(FormProduct2->FPicked);
    TQuery q(QStringLiteral("PickedProduct"));
    if (TProductStore::FindByName(cell[1]->text(), q, QStringLiteral("数据库打开失败")) && !q.IsEmpty()) {
        q.First();
        FormProduct2->FPickKind = 1;
        FormProduct2->FPickName = q.FieldByName(QStringLiteral("ProductName")).AsString();
        if (Dialogs::ShowModal(FormProduct2) == QDialog::Accepted) {
            cell[2]->setText(FormProduct2->FPicked);
            cell[3]->setFocus();
        } else {
            cell[2]->setFocus();
        }
    }
    RecalcLines(NameChanged, slot);
}

bool TLineGrid::eventFilter(QObject *watched, QEvent *event)
{
    const QVariant slot = watched->property("slot");
    const int column = watched->property("column").toInt();
    if (!slot.isValid())
        return QWidget::eventFilter(watched, event);
    if (event->type() == QEvent::FocusIn && column >= 4 && column <= 13) {
        LoadSlotStock(slot.toInt(), true);
        ShowSlotStock(slot.toInt());
    } else if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        const int to = slot.toInt() + (key == Qt::Key_Down ? 1 : key == Qt::Key_Up ? -1 : 0);
        if (to != slot.toInt()) {
            if (to >= 0 && to < SlotCount)
                cells_[to][column - 1]->setFocus(Qt::OtherFocusReason);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
