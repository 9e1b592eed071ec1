#include "bills/BillHeader.h"

#include "shell/Artwork.h"
#include "shell/Dialogs.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"
#include "stores/BillNumbers.h"

#include <QComboBox>
#include <QLineEdit>

namespace {
bool FillList(QComboBox *box, const QString &sql, const QString &column, const QString &failure)
{
    box->clear();
    if (box->isEditable())
        box->clearEditText();
    TQuery &q = ShareDataModule->ADOQueryTemp;
    if (!RunQuery(q, sql, failure))
        return false;
    QStringList items;
    for (q.First(); !q.Eof(); q.Next())
        items << q.FieldByName(column).AsString();
    box->addItems(items);
    box->setCurrentIndex(-1);
    if (box->isEditable())
        box->clearEditText();
    return true;
}
} // namespace

bool BillHeader::FillLists(QComboBox *account, QComboBox *reason, QComboBox *type, QComboBox *token, QComboBox *customer,
                           const QString &customerFailure)
{
    const QString parameters = QStringLiteral("Select * From Parameter Where ParameterType = %1");
    const QString value = QStringLiteral("ParameterValue");
    const QString failed = QStringLiteral("参数读入失败");
    return FillList(account, QStringLiteral("Select * From Account Where (AccountIndex > 1)"), QStringLiteral("AccountName"),
                    QStringLiteral("帐户读入失败"))
           && FillList(reason, parameters.arg(1), value, failed) && FillList(type, parameters.arg(2), value, failed)
           && FillList(token, parameters.arg(3), value, failed)
           && FillList(customer, QStringLiteral("Select * From Customer Where CustomerIndex > 1"),
                       QStringLiteral("CustomerName"), customerFailure);
}

void BillHeader::SelectEqual(QComboBox *box, const QString &text)
{
    int found = -1;
    for (int i = 0; i < box->count(); ++i)
        if (box->itemText(i) == text)
            found = i;
    box->setCurrentIndex(found);
}

void BillHeader::SelectFirst(QComboBox *box)
{
    if (box->count() > 0)
        box->setCurrentIndex(0);
}

bool BillHeader::HasSelection(const QComboBox *box)
{
    return box->currentIndex() >= 0 && !box->currentText().isEmpty();
}

void BillHeader::PresetCustomer(int customerIndex, QComboBox *customer)
{
    if (customerIndex == 0)
        return;
    TQuery &q = ShareDataModule->ADOQueryTemp;
    if (!RunQuery(q, QStringLiteral("Select * From Customer Where CustomerIndex = ") + QString::number(customerIndex),
                  QStringLiteral("客户数据读入失败")))
        return;
    if (q.IsEmpty())
        return;
    q.First();
    const QString name = q.FieldByName(QStringLiteral("CustomerName")).AsString();
    SelectEqual(customer, name);
    if (customer->isEditable() && customer->currentIndex() < 0)
        customer->setEditText(name);
}

QString BillHeader::ProposeSerial(int settingIndex)
{
    TQuery &q = ShareDataModule->ADOQueryTemp;
    if (!RunQuery(q, QStringLiteral("Select * From Setting Where SettingIndex = ") + QString::number(settingIndex),
                  QStringLiteral("数据库打开失败")))
        return QString();
    if (q.IsEmpty())
        return QString();
    q.First();
    const QString last = q.FieldByName(QStringLiteral("SettingValue")).AsString();
    try {
        return BillNumbers::Next(last);
    } catch (const EConvertError &) {
        // A hand-edited last number: say so, and let the user type one.
        Dialogs::ShowMessage(QStringLiteral("上次单据编号“%1”无法自动递增，请手工输入单据编号").arg(last));
        return QString();
    }
}

int BillHeader::CustomerIndexByName(const QString &name, bool *failed, const QString &failureMessage)
{
    *failed = false;
    if (name.isEmpty())
        return 0;
    TQuery q(QStringLiteral("CustomerByName"));
    const QString sql = QStringLiteral("Select CustomerIndex From Customer Where (CustomerIndex > 1) And (CustomerName = ?)");
    if (failureMessage.isEmpty()) {
        try {
            q.Open(sql, {name});
        } catch (const EDatabaseError &) {
            *failed = true;
            return 0;
        }
    } else if (!RunQuery(q, sql, failureMessage, {name})) {
        *failed = true;
        return 0;
    }
    q.First();
    return q.IsEmpty() ? 0 : q.FieldByName(QStringLiteral("CustomerIndex")).AsInteger();
}

bool BillHeader::ConfirmCustomerName(QComboBox *customer)
{
    const QString name = customer->currentText();
    bool failed = false;
    const int index = CustomerIndexByName(name, &failed, QStringLiteral("单据保存失败，未作任何修改"));
    if (failed)
        return false;
    if (index != 0)
        return true;
    if (Dialogs::AskYesNo(QStringLiteral("客户名称"), QStringLiteral("客户“%1”不在客户列表中，仍然保存吗？").arg(name)))
        return true;
    customer->setFocus();
    return false;
}

int BillHeader::AccountIndexByName(const QString &name, bool *queryFailed)
{
    TQuery &q = ShareDataModule->ADOQueryTemp;
    // Asked only as a bill is saved.
    *queryFailed = !RunQuery(q, QStringLiteral("Select * From Account Where AccountName = ?"),
                             QStringLiteral("单据保存失败，未作任何修改"), {name});
    if (*queryFailed || q.IsEmpty())
        return 0;
    q.First();
    return q.FieldByName(QStringLiteral("AccountIndex")).AsInteger();
}

QPixmap BillHeader::Banner(const QString &name, const QSize &size)
{
    QPixmap pm(ProgramDir + QStringLiteral("Res/") + name + QStringLiteral(".bmp"));
    if (pm.isNull())
        pm = QPixmap::fromImage(Artwork::BillBanner(name));
    return pm.size() == size ? pm : pm.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QComboBox *BillHeader::NewList(QWidget *parent, const QString &name, const QRect &geometry, bool editable)
{
    auto *box = new QComboBox(parent);
    box->setObjectName(name);
    box->setGeometry(geometry);
    box->setEditable(editable);
    if (editable)
        box->setInsertPolicy(QComboBox::NoInsert);
    return box;
}
