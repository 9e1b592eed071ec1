#include "app/SettingsPage.h"

#include "bills/BillPrint.h"
#include "masterdata/ParameterLists.h"
#include "ui/Dialogs.h"
#include "db/ShareDM.h"
#include "stores/PasswordStore.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

TSettingsPage::TSettingsPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheet5"));

    Label13 = new QLabel(QStringLiteral("修改用户登陆密码"), this);
    Label13->setObjectName(QStringLiteral("Label13"));
    Label13->setGeometry(24, 18, 300, 22);
    Label13->setStyleSheet(QStringLiteral("color: red;"));

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(24, 46, 120, 26);
    ComboBox1->addItems({QStringLiteral("管理员"), QStringLiteral("财务主管")});
    ComboBox1->setCurrentIndex(0);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(154, 46, 180, 26);

    Button10 = new QPushButton(QStringLiteral("确定"), this);
    Button10->setObjectName(QStringLiteral("Button10"));
    Button10->setGeometry(344, 45, 75, 28);

    Label14 = new QLabel(QStringLiteral("资料修改密码"), this);
    Label14->setObjectName(QStringLiteral("Label14"));
    Label14->setGeometry(24, 90, 300, 22);

    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(24, 118, 310, 26);

    Button11 = new QPushButton(QStringLiteral("确定"), this);
    Button11->setObjectName(QStringLiteral("Button11"));
    Button11->setGeometry(344, 117, 75, 28);

    Parameters = new TParameterLists(this);
    Parameters->setGeometry(0, 166, 662, 300);

    Label37 = new QLabel(QStringLiteral("打印设置"), this);
    Label37->setObjectName(QStringLiteral("Label37"));
    Label37->setGeometry(456, 18, 200, 22);
    Label37->setStyleSheet(QStringLiteral("color: red;"));

    ComboBox5 = new QComboBox(this);
    ComboBox5->setObjectName(QStringLiteral("ComboBox5"));
    ComboBox5->setGeometry(456, 46, 120, 26);
    ComboBox5->addItems({QStringLiteral("显示订金"), QStringLiteral("不显示订金")});
    ComboBox5->setCurrentIndex(0);

    Button12 = new QPushButton(QStringLiteral("确定"), this);
    Button12->setObjectName(QStringLiteral("Button12"));
    Button12->setGeometry(586, 45, 75, 28);

    DesignButton = new QToolButton(this);
    DesignButton->setObjectName(QStringLiteral("DesignButton"));
    DesignButton->setGeometry(456, 117, 205, 28);
    DesignButton->setCursor(Qt::PointingHandCursor);

    ServerButton = new QToolButton(this);
    ServerButton->setObjectName(QStringLiteral("ServerButton"));
    ServerButton->setGeometry(456, 81, 205, 28);
    ServerButton->setCursor(Qt::PointingHandCursor);

    connect(Button12, &QPushButton::clicked, this, &TSettingsPage::Button12Click);
    connect(ComboBox1, &QComboBox::activated, this, &TSettingsPage::ComboBox1Change);
    connect(Button10, &QPushButton::clicked, this, &TSettingsPage::Button10Click);
    connect(Button11, &QPushButton::clicked, this, &TSettingsPage::Button11Click);
}

void TSettingsPage::LoadPasswords()
{
    QString key;
    const TPasswordStore::Lookup user = TPasswordStore::KeyOf(ComboBox1->currentText(), &key);
    if (user == TPasswordStore::Lookup::Failed)
        return;
    if (user == TPasswordStore::Lookup::Found)
        Edit1->setText(key);
    const TPasswordStore::Lookup modify = TPasswordStore::KeyOf(QStringLiteral("修改"), &key);
    if (modify == TPasswordStore::Lookup::Found)
        Edit2->setText(key);
}

void TSettingsPage::ComboBox1Change() { LoadPasswords(); }

namespace {
// Asks, then writes one Power row; the messages differ between the two buttons.
bool ChangePassword(const QString &powerName, const QString &newKey, const QString &missingMessage,
                    const QString &doneMessage)
{
    if (!Dialogs::AskYesNo(QStringLiteral("修改确认"),
                           QStringLiteral("确定要把该密码修改为 ") + newKey + QStringLiteral(" 吗？")))
        return false;
    switch (TPasswordStore::Change(powerName, newKey)) {
    case TPasswordStore::Changed:
        Dialogs::ShowMessage(doneMessage);
        return true;
    case TPasswordStore::Missing:
        Dialogs::ShowMessage(missingMessage);
        return false;
    case TPasswordStore::Failed:
        break;
    }
    return false;
}
} // namespace

void TSettingsPage::Button10Click()
{
    if (ChangePassword(ComboBox1->currentText(), Edit1->text(), QStringLiteral("该用户密码已被删除"),
                       QStringLiteral("用户密码修改成功")))
        LoadPasswords();
}

void TSettingsPage::Button11Click()
{
    if (ChangePassword(QStringLiteral("修改"), Edit2->text(), QStringLiteral("该密码已被删除"),
                       QStringLiteral("密码修改成功")))
        LoadPasswords();
}

void TSettingsPage::LoadParameterList(int type) { Parameters->LoadParameterList(type); }

void TSettingsPage::LoadPrintType()
{
    ComboBox5->setCurrentIndex(TBillPrint::ShowsDeposit(TBillPrint::PrintType()) ? 0 : 1);
}

void TSettingsPage::Button12Click()
{
    if (!TBillPrint::SetPrintType(ComboBox5->currentText())) {
        Dialogs::ShowMessage(QStringLiteral("单据打印格式保存失败"));
        return;
    }
    Dialogs::ShowMessage(QStringLiteral("单据打印格式设置为：") + ComboBox5->currentText());
}
