#include "masterdata/AccountForm.h"

#include "figures/BillSearch.h"
#include "ui/Artwork.h"
#include "ui/AskForm.h"
#include "ui/BackgroundWork.h"
#include "core/Clock.h"
#include "ui/Dialogs.h"
#include "ui/ModifyPassword.h"
#include "core/Session.h"
#include "stores/AccountStore.h"
#include "support/BooksCopy.h"
#include "support/DailyBackup.h"

#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QToolButton>

TFormAccount *FormAccount = nullptr;

TFormAccount::TFormAccount(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormAccount"));
    setWindowTitle(QStringLiteral("帐户管理"));
    resize(364, 330);

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(12, 12, 340, 92);
    Shape1->setStyleSheet(QStringLiteral("#Shape1 { border: 1px solid #d3a012; border-radius: 10px; background: #fffaf0; }"));
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(24, 24, 40, 40);
    Image1->setPixmap(Artwork::PagePicture(QStringLiteral("Yellow")));
    auto label = [this](const QString &name, const QString &text, const QRect &geometry) {
        auto *l = new QLabel(text, this);
        l->setObjectName(name);
        l->setGeometry(geometry);
        return l;
    };
    Label1 = label(QStringLiteral("Label1"), QStringLiteral("帐户名称："), QRect(80, 26, 80, 24));
    Label3 = label(QStringLiteral("Label3"), QString(), QRect(160, 26, 180, 24));
    Label2 = label(QStringLiteral("Label2"), QStringLiteral("帐户余额："), QRect(80, 62, 80, 24));
    Label4 = label(QStringLiteral("Label4"), QString(), QRect(160, 62, 180, 24));
    Label3->setStyleSheet(QStringLiteral("color: blue; font-weight: bold;"));
    Label4->setStyleSheet(QStringLiteral("color: blue; font-weight: bold;"));

    auto action = [this](const QString &name, const QString &caption) {
        auto *a = new QAction(caption, this);
        a->setObjectName(name);
        return a;
    };
    ActionMonth = action(QStringLiteral("ActionMonth"), QStringLiteral("当月记录"));
    ActionYear = action(QStringLiteral("ActionYear"), QStringLiteral("当年记录"));
    ActionAll = action(QStringLiteral("ActionAll"), QStringLiteral("所有记录"));
    ActionEdit = action(QStringLiteral("ActionEdit"), QStringLiteral("修改帐户"));
    ActionDelete = action(QStringLiteral("ActionDelete"), QStringLiteral("删除帐户"));
    ActionCancel = action(QStringLiteral("ActionCancel"), QStringLiteral("取消操作"));
    QAction *actions[6] = {ActionMonth, ActionYear, ActionAll, ActionEdit, ActionDelete, ActionCancel};
    QToolButton **buttons[6] = {&SpeedButton1, &SpeedButton2, &SpeedButton3, &SpeedButton4, &SpeedButton5, &SpeedButton6};
    for (int i = 0; i < 6; ++i) {
        auto *b = new QToolButton(this);
        b->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
        b->setDefaultAction(actions[i]);
        b->setGeometry(22 + (i % 3) * 110, 122 + (i / 3) * 90, 100, 78);
        b->setCursor(Qt::PointingHandCursor);
        *buttons[i] = b;
    }
    connect(ActionEdit, &QAction::triggered, this, &TFormAccount::ActionEditExecute);
    connect(ActionDelete, &QAction::triggered, this, &TFormAccount::ActionDeleteExecute);
    connect(ActionCancel, &QAction::triggered, this, &QDialog::reject);
    connect(ActionMonth, &QAction::triggered, this, &TFormAccount::ActionMonthExecute);
    connect(ActionYear, &QAction::triggered, this, &TFormAccount::ActionYearExecute);
    connect(ActionAll, &QAction::triggered, this, &TFormAccount::ActionAllExecute);
}

void TFormAccount::FormShow()
{
    Label3->setText(FAccountName);
    Label4->setText(FBalanceText);
}

void TFormAccount::ListBills(int period)
{
    const int index = TAccountStore::IndexOf(FAccountName, QStringLiteral("数据库打开失败"));
    if (index <= 0)
        return;
    Session->ShowBills(TBillSearch::AccountBills(index, TBillSearch::Period(period), Session->WorkingDate()));
    reject();
}

void TFormAccount::ActionMonthExecute() { ListBills(TBillSearch::Month); }
void TFormAccount::ActionYearExecute() { ListBills(TBillSearch::Year); }
void TFormAccount::ActionAllExecute() { ListBills(TBillSearch::AllTime); }

void TFormAccount::ActionEditExecute()
{
    if (!AskModifyPassword())
        return;
    QString name;
    if (!AskForText(QStringLiteral("修改帐户"), QStringLiteral("请输入帐户的名称"), FAccountName, name))
        return;
    switch (TAccountStore::Rename(FAccountName, name)) {
    case TAccountStore::Refused:
        return;
    case TAccountStore::Renamed:
        Dialogs::ShowMessage(QStringLiteral("帐户　") + name + QStringLiteral("　修改成功"));
        break;
    case TAccountStore::Failed:
        break;
    }
    Session->BooksChanged();
    accept();
}

void TFormAccount::ActionDeleteExecute()
{
    if (!AskModifyPassword())
        return;
    const int index = TAccountStore::IndexOf(FAccountName, QStringLiteral("数据库打开失败"));
    if (index <= 0)
        return;
    // Every bill paid through the account goes with it: a checked copy of the
    // books is taken first, and nothing is deleted without one.
    const QString backup = TDailyBackup::Folder() + QStringLiteral("删除帐户前-")
                           + QDateTime(Clock::Today(), QTime::currentTime()).toString(QStringLiteral("yyyy-MM-dd-HHmmss"))
                           + QStringLiteral(".mdb");
    if (!Dialogs::AskYesNo(QStringLiteral("删除警告"),
                           QStringLiteral("删除帐户将删除该帐户下所有记录，确实要删除吗？\n删除前的数据将备份为：%1")
                               .arg(QDir::toNativeSeparators(backup))))
        return;
    QDir().mkpath(TDailyBackup::Folder());
    TBooksCopy::Result copy;
    BackgroundWork::Run([&](const BackgroundWork::Progress &) {
        copy = TBooksCopy::Backup(backup);
        return true;
    });
    if (copy.status != TBooksCopy::Done) {
        Dialogs::ShowMessage(TBooksCopy::FailureText(QStringLiteral("删除前的备份失败，帐户未删除"), copy));
        return;
    }
    if (!TAccountStore::Delete(index))
        return;
    Session->BooksChanged();
    accept();
}
