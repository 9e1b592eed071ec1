#include "support/MaintenancePage.h"

#include "ui/Artwork.h"
#include "ui/Dialogs.h"
#include "support/BooksAuditForm.h"
#include "support/DailyBackup.h"
#include "support/JournalForm.h"
#include "masterdata/ImportForm.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

namespace {
QToolButton *BigButton(QWidget *parent, const QString &name, QAction *action, int x)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setDefaultAction(action);
    b->setGeometry(x, 32, 73, 73);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setIconSize(QSize(36, 36));
    b->setCursor(Qt::PointingHandCursor);
    b->setAutoRaise(true);
    return b;
}
} // namespace

TMaintenancePage::TMaintenancePage(QAction *actionSave, QAction *actionLoad, QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("TabSheet6"));

    GroupBox1 = new QGroupBox(QStringLiteral("帐套数据操作"), this);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setGeometry(24, 20, 260, 124);
    SpeedButtonSave = BigButton(GroupBox1, QStringLiteral("SpeedButtonSave"), actionSave, 32);
    SpeedButtonLoad = BigButton(GroupBox1, QStringLiteral("SpeedButtonLoad"), actionLoad, 152);

    ActionBooksAudit = new QAction(QIcon(Artwork::BooksCheckIcon(36)), QStringLiteral("账簿检查"), this);
    ActionBooksAudit->setObjectName(QStringLiteral("ActionBooksAudit"));
    connect(ActionBooksAudit, &QAction::triggered, this, &TMaintenancePage::ActionBooksAuditExecute);
    GroupBox2 = new QGroupBox(QStringLiteral("账簿检查"), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setGeometry(304, 20, 140, 124);
    SpeedButtonAudit = BigButton(GroupBox2, QStringLiteral("SpeedButtonAudit"), ActionBooksAudit, 32);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(24, 158, 600, 60);
    Label1->setWordWrap(true);
    Label1->setText(QStringLiteral("每天第一次登录时，程序自动把数据备份到程序文件夹的 Backup 文件夹中，保留最近 %1 份。")
                        .arg(TDailyBackup::Keep));

    GroupBox3 = new QGroupBox(QStringLiteral("从表格导入（Excel 的 .xlsx 或 .csv）"), this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setGeometry(24, 226, 520, 80);
    const TImportPlan::Kind kinds[] = {TImportPlan::Customers, TImportPlan::Products, TImportPlan::Quotes, TImportPlan::OtherReceivables};
    for (int i = 0; i < 4; ++i) {
        auto *b = new QPushButton(QStringLiteral("导入") + TImportPlan::KindName(kinds[i]), GroupBox3);
        b->setObjectName(QStringLiteral("ImportButton%1").arg(i));
        b->setGeometry(16 + i * 124, 32, 112, 32);
        b->setCursor(Qt::PointingHandCursor);
        const TImportPlan::Kind kind = kinds[i];
        connect(b, &QPushButton::clicked, this, [kind] { Dialogs::Attempt([kind] { TFormImport::Run(kind); }); });
        ImportButtons << b;
    }

    GroupBox4 = new QGroupBox(QStringLiteral("修改记录"), this);
    GroupBox4->setObjectName(QStringLiteral("GroupBox4"));
    GroupBox4->setGeometry(464, 20, 160, 124);
    JournalButton = new QPushButton(QStringLiteral("修改记录"), GroupBox4);
    JournalButton->setObjectName(QStringLiteral("JournalButton"));
    JournalButton->setGeometry(20, 44, 120, 36);
    JournalButton->setCursor(Qt::PointingHandCursor);
    JournalButton->setToolTip(QStringLiteral("谁在什么时候改了什么：单据、客户、货品、帐户、报价、参数、密码、恢复和导入"));
    connect(JournalButton, &QPushButton::clicked, this, &TMaintenancePage::JournalClick);
}

void TMaintenancePage::JournalClick()
{
    TFormJournal journal;
    Dialogs::ShowModal(&journal);
}

void TMaintenancePage::ActionBooksAuditExecute()
{
    if (FormBooksAudit->RunCheck())
        Dialogs::ShowModal(FormBooksAudit);
}
