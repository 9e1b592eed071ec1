#pragma once
// What the goods-bill and finance-bill editors share in their headers: the
// account, parameter and customer lists, selecting a stored value, and the
// bill number proposed from and written back to Setting.

#include <QPixmap>
#include <QRect>
#include <QString>

class QComboBox;
class QWidget;

namespace BillHeader {

// Empties and refills the five lists in order; stops at the first list whose query fails.
bool FillLists(QComboBox *account, QComboBox *reason, QComboBox *type, QComboBox *token, QComboBox *customer,
               const QString &customerFailure = QStringLiteral("客户列表读入失败"));
// Selects the last item equal to the text; none equal leaves no selection.
void SelectEqual(QComboBox *box, const QString &text);
void SelectFirst(QComboBox *box);
// True when an item is selected and it is not empty.
bool HasSelection(const QComboBox *box);
// Selects the customer's name in the box when the customer exists.
void PresetCustomer(int customerIndex, QComboBox *customer);
// The CustomerIndex of the customer of this name, 0 for none. When the books
// cannot be read, says why (failureMessage; nothing when it is empty) and sets
// *failed; 0 is then no answer.
int CustomerIndexByName(const QString &name, bool *failed, const QString &failureMessage = QStringLiteral("客户读入失败"));
// A bill for a name not on the customer list lands on no card: asks first
// (default No); on No the focus goes back to the box and false is given.
// A failed read is said, and is not taken for a name not on the list.
bool ConfirmCustomerName(QComboBox *customer);
// The number after the last one saved in the Setting row; empty without the
// row, and empty with a message when the stored number cannot be continued.
QString ProposeSerial(int settingIndex);
// The editors' title picture from Res/, drawn instead when the file is missing.
QPixmap Banner(const QString &name, const QSize &size);
// A drop-down list of the header; an editable one takes any typed text.
QComboBox *NewList(QWidget *parent, const QString &name, const QRect &geometry, bool editable);
// The index of the account of this name, or 0 when there is none ("找不到所需要的帐户" is the caller's).
int AccountIndexByName(const QString &name, bool *queryFailed);
// Finds the stored bill a deletion is about ("找不到要删除的记录" when it is
// gone) and asks "删除警告"; true only for Yes.
bool ConfirmDeletion(int billIndex);

} // namespace BillHeader
