#include "bills/BillHeader.h"

#include "ui/Artwork.h"
#include "ui/Dialogs.h"
#include "core/NumberTexts.h"
#include "core/ProgramFiles.h"
#include "db/Queries.h"
#include "db/ShareDM.h"
#include "stores/AccountStore.h"
#include "stores/BillNumbers.h"
#include "stores/BillStore.h"
#include "stores/CustomerStore.h"
#include "stores/ParameterStore.h"

#include <QComboBox>
#include <QLineEdit>

#include <functional>

namespace {
// The box is emptied first: a list that cannot be read shows nothing.
bool FillList(QComboBox *box, const std::function<bool(QStringList &)> &read)
{
    box->clear();
    if (box->isEditable())
        box->clearEditText();
    QStringList items;
    if (!read(items))
        return false;
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
    const QString failed = QStringLiteral("参数读入失败");
    auto parameters = [&failed](int list) {
        return [list, &failed](QStringList &items) { return TParameterStore::Values(list, items, failed); };
    };
    return FillList(account, [](QStringList &items) { return TAccountStore::Names(items, QStringLiteral("帐户读入失败")); })
           && FillList(reason, parameters(1)) && FillList(type, parameters(2)) && FillList(token, parameters(3))
           && FillList(customer, [&customerFailure](QStringList &items) { return TCustomerStore::Names(items, customerFailure); });
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
    TQuery q(QStringLiteral("PresetCustomer"));
    if (!TCustomerStore::Read(q, customerIndex, QStringLiteral("客户数据读入失败")))
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
    TQuery q(QStringLiteral("Series"));
    if (!BillNumbers::FindSeries(settingIndex, q, QStringLiteral("数据库打开失败")))
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
    const int index = TCustomerStore::IndexByName(name, failureMessage);
    *failed = index < 0;
    return qMax(index, 0);
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
    // Asked only as a bill is saved.
    const int index = TAccountStore::IndexOf(name, QStringLiteral("单据保存失败，未作任何修改"));
    *queryFailed = index < 0;
    return qMax(index, 0);
}

bool BillHeader::ConfirmDeletion(int billIndex)
{
    TQuery bill(QStringLiteral("BillToDelete"));
    return FindAndConfirmDeletion(bill, [billIndex](TQuery &row) { return TBillStore::Find(billIndex, row, QStringLiteral("数据库打开失败")); });
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
