#pragma once
// The six line slots of a goods bill: product by number, by name and
// model or through the picker; ten size quantities; price, line sum,
// bill total and the total in capitals, all recomputed by RecalcLines. The
// sums and the total shown are those the bill value computes from the lines.

#include "stores/GoodsBill.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

class TLineGrid : public QWidget {
    Q_OBJECT
public:
    enum ChangeKind { SerialChanged = 0, NameChanged = 1, AmountChanged = 2 };
    static constexpr int SlotCount = 6;
    static constexpr int CellCount = 16;

    // customerIndex and recalcEnabled are the editor's own fields.
    TLineGrid(int *customerIndex, bool *recalcEnabled, QWidget *parent = nullptr);

    void RecalcLines(int kind, int slot);
    void Clear();
    void Load(const GoodsBill &bill);
    void PickProduct(int slot);   // the picker flow of slot 1 to 6
    // On a sales bill each size cell tells the stock of its size, and a cell
    // asking for more than there is turns amber (an empty one never); nothing is refused. The lines
    // of the bill being changed are not counted against it.
    void SetStockCheck(bool salesBill, int exceptBill);
    // A locked bill: nothing typed, no picker; the computed cells always are read-only.
    void SetReadOnly(bool readOnly);

    // The cells of slot s (0-based) and cell c (1 to 16).
    QLineEdit *Cell(int s, int c) const { return cells_[s][c - 1]; }
    int ProductRef(int s) const { return productRef_[s]; }
    void SetProductRef(int s, int ref) { productRef_[s] = ref; }
    // The first cell that cannot be saved as it stands (a line without its
    // product, a size that is no whole number, a price that is no amount, a sum
    // beyond what the books hold exactly), with the message; nullptr when all is fine.
    QLineEdit *CheckLines(QString &message) const;
    // Reads again the products of lines whose reading failed (said then): false,
    // said again, when one still cannot be read. A line is never taken for one
    // whose product is not there because its product could not be read.
    bool ReadUnreadLines();
    // Anything typed in the slot besides the computed cells.
    bool SlotUsed(int s) const;
    // The lines as typed: product, sizes, pieces and price (0 while it is no number).
    GoodsLine LineOf(int s) const;
    void ReadLines(GoodsBill &bill) const;

    QPushButton *GridButton[SlotCount];
    QLineEdit *GridTotal;
    QLabel *Label29;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool Lookup(int kind, int s);
    bool Unread(int kind, int s);   // a failed lookup: the line names no product until read
    // Forgets a stock of another product; fetches the slot's own when asked.
    void LoadSlotStock(int s, bool fetch);
    void ShowSlotStock(int s);
    bool HasSizes(int s) const;   // a size cell of the slot holds something
    void ShowAmounts();
    bool ProposedPrice(int productIndex, double listPrice, QString &price);

    int *customerIndex_;
    bool *recalcEnabled_;
    QLineEdit *cells_[SlotCount][CellCount];
    int productRef_[SlotCount] = {};
    int unread_[SlotCount] = {-1, -1, -1, -1, -1, -1};   // the change whose lookup failed; -1 for none
    bool salesBill_ = false;
    int exceptBill_ = 0;
    int stockProduct_[SlotCount] = {};    // whose stock stockOf_ holds, 0 for none
    int stockOf_[SlotCount][10] = {};
};
