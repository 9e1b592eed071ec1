#include "app/MainForm.h"

#include "cards/AccountPage.h"
#include "cards/BillPage.h"
#include "cards/CustomerPage.h"
#include "cards/StorePage.h"
#include "reportengine/Report.h"
#include "reports/DataCentrePage.h"
#include "ui/Artwork.h"
#include "ui/BackgroundWork.h"
#include "core/Clock.h"
#include "ui/DatePicker.h"
#include "ui/Dialogs.h"
#include "app/LoginForm.h"
#include "core/PrivateFiles.h"
#include "core/ProgramFiles.h"
#include "db/DataSource.h"
#include "core/SqlText.h"
#include "core/Registry.h"
#include "app/ServerForm.h"
#include "core/Session.h"
#include "app/SettingsPage.h"
#include "db/ShareDM.h"
#include "core/Vendor.h"
#include "stores/PasswordStore.h"
#include "support/BackupRestore.h"
#include "support/DailyBackup.h"
#include "support/Leftovers.h"
#include "support/MaintenancePage.h"
#include "support/OnlineChatForm.h"
#include "support/WebLinks.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QTabWidget>
#include <QToolButton>
#include <QUuid>

TFormMain *FormMain = nullptr;

namespace {
QToolButton *BigButton(QWidget *parent, const QString &name, QAction *action, int y)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setDefaultAction(action);
    b->setGeometry(12, y, 73, 73);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setIconSize(QSize(36, 36));
    b->setCursor(Qt::PointingHandCursor);
    b->setAutoRaise(true);
    return b;
}

QAction *NewAction(QObject *parent, const QString &name, const QString &caption, const QString &icon)
{
    auto *a = new QAction(caption, parent);
    a->setObjectName(name);
    if (!icon.isEmpty())
        a->setIcon(QIcon(Artwork::LeftBarIcon(icon, 48)));
    return a;
}

const QString Roles[2] = {QStringLiteral("财务主管"), QStringLiteral("管理员")};
} // namespace

TFormMain::TFormMain(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Mirelo进销存"));
    // Without CustomizeWindowHint the window manager adds a maximize button to a fixed-size window.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(785, 538);

    FormCreate();

    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    Panel1 = new QWidget(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedWidth(97);
    Panel1->setAutoFillBackground(true);
    Panel1->setStyleSheet(QStringLiteral("#Panel1 { background: #eef3fa; }"));

    ActionLogin = NewAction(this, QStringLiteral("ActionLogin"), QStringLiteral("重新登录"), QStringLiteral("Login"));
    ActionHomePage = NewAction(this, QStringLiteral("ActionHomePage"), QStringLiteral("在线服务"), QStringLiteral("HomePage"));
    ActionSave = NewAction(this, QStringLiteral("ActionSave"), QStringLiteral("备份数据"), QStringLiteral("Save"));
    ActionLoad = NewAction(this, QStringLiteral("ActionLoad"), QStringLiteral("恢复数据"), QStringLiteral("Load"));
    ActionContact = NewAction(this, QStringLiteral("ActionContact"), QStringLiteral("在线销售"), QStringLiteral("Contact"));
    ActionOnlineSell = NewAction(this, QStringLiteral("ActionOnlineSell"), QStringLiteral("在线销售"), QStringLiteral("Contact"));
    ActionDesign = NewAction(this, QStringLiteral("ActionDesign"), QStringLiteral("高级设计"), QString());
    ActionServer = NewAction(this, QStringLiteral("ActionServer"), QStringLiteral("数据库服务器"), QString());
    frReport1 = new TReport(this);
    frReport1->setObjectName(QStringLiteral("frReport1"));

    Login = BigButton(Panel1, QStringLiteral("Login"), ActionLogin, 8);

    Label2 = new QLabel(QStringLiteral("当前日期"), Panel1);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setGeometry(8, 88, 81, 18);
    Label2->setAlignment(Qt::AlignCenter);

    DateTimePicker1 = new TDatePicker(Panel1);
    DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
    DateTimePicker1->setGeometry(2, 108, 93, 24);
    // The whole date must show in the narrow bar.
    DateTimePicker1->setStyleSheet(QStringLiteral("QDateEdit { font-size: 12px; padding-left: 1px; } "
                                                  "QDateEdit::drop-down { width: 14px; }"));
    DateTimePicker1->setDateRange(QDate(1980, 1, 1), QDate(2199, 12, 31));

    BitBtn1 = new QPushButton(Panel1);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(7, 136, 41, 21);
    BitBtn1->setIcon(QIcon(Artwork::DayArrow(true)));
    BitBtn1->setToolTip(QStringLiteral("前一天"));
    BitBtn1->setCursor(Qt::PointingHandCursor);
    BitBtn2 = new QPushButton(Panel1);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(49, 136, 41, 21);
    BitBtn2->setIcon(QIcon(Artwork::DayArrow(false)));
    BitBtn2->setToolTip(QStringLiteral("后一天"));
    BitBtn2->setCursor(Qt::PointingHandCursor);

    HomePage = BigButton(Panel1, QStringLiteral("HomePage"), ActionHomePage, 168);
    ActionButtonSave2 = BigButton(Panel1, QStringLiteral("ActionButtonSave2"), ActionSave, 248);
    SpeedButton1 = BigButton(Panel1, QStringLiteral("SpeedButton1"), ActionContact, 328);
    OnlineSell = BigButton(Panel1, QStringLiteral("OnlineSell"), ActionOnlineSell, 328);
    OnlineSell->hide();

    Panel2 = new QWidget(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedWidth(16);
    Image7 = new QLabel(Panel2);
    Image7->setObjectName(QStringLiteral("Image7"));
    Image7->setGeometry(0, 0, 16, 538);
    Image7->setCursor(Qt::PointingHandCursor);
    Image7->setToolTip(QStringLiteral("LeftBar"));
    Image7->setPixmap(BarPicture(QStringLiteral("Res/LeftBar.bmp"), true));
    Image7->installEventFilter(this);

    Panel3 = new QWidget(this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    auto *pageBox = new QHBoxLayout(Panel3);
    pageBox->setContentsMargins(0, 0, 0, 0);
    PageControl1 = new QTabWidget(Panel3);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setIconSize(QSize(32, 32));
    pageBox->addWidget(PageControl1);

    TabSheet8 = new TCustomerPage(&FCustomerPage);
    TabSheet1 = new TBillPage(&FBillPage);
    TabSheet7 = new TMoneyPage(&FMoneyPage);
    TabSheet2 = new TStorePage(&FStorePage);
    TabSheet3 = new TAccountPage(&FAccountPage);
    TabSheet4 = new TDataCentrePage;
    for (TCardPage *page : {static_cast<TCardPage *>(TabSheet8), static_cast<TCardPage *>(TabSheet2), static_cast<TCardPage *>(TabSheet3)})
        page->frReport1 = frReport1;
    TabSheet5 = new TSettingsPage;
    TabSheet5->DesignButton->setDefaultAction(ActionDesign);
    TabSheet5->ServerButton->setDefaultAction(ActionServer);
    TabSheet6 = new TMaintenancePage(ActionSave, ActionLoad);
    const QList<QPair<QWidget *, QString>> pages = {
        {TabSheet8, QStringLiteral("客户管理")}, {TabSheet1, QStringLiteral("货品单据")},
        {TabSheet7, QStringLiteral("财务单据")}, {TabSheet2, QStringLiteral("仓库管理")},
        {TabSheet3, QStringLiteral("帐户管理")}, {TabSheet4, QStringLiteral("数据中心")},
        {TabSheet5, QStringLiteral("软件设置")}, {TabSheet6, QStringLiteral("数据维护")}};
    for (int i = 0; i < pages.size(); ++i)
        PageControl1->addTab(pages[i].first, QIcon(Artwork::TabIcon(i)), pages[i].second);
    PageControl1->setCurrentIndex(0);

    row->addWidget(Panel1);
    row->addWidget(Panel2);
    row->addWidget(Panel3, 1);

    connect(ActionLogin, &QAction::triggered, this, &TFormMain::ActionLoginExecute);
    connect(ActionDesign, &QAction::triggered, this, &TFormMain::ActionDesignExecute);
    connect(ActionServer, &QAction::triggered, this, &TFormMain::ActionServerExecute);
    connect(ActionSave, &QAction::triggered, this, &TFormMain::ActionSaveExecute);
    connect(ActionLoad, &QAction::triggered, this, &TFormMain::ActionLoadExecute);
    connect(ActionHomePage, &QAction::triggered, this, &TFormMain::ActionHomePageExecute);
    connect(ActionContact, &QAction::triggered, this, &TFormMain::ActionContactExecute);
    connect(ActionOnlineSell, &QAction::triggered, this, &TFormMain::ActionOnlineSellExecute);
    connect(BitBtn1, &QPushButton::clicked, this, &TFormMain::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormMain::BitBtn2Click);
    // The program sets the date with signals blocked, so this is the user's pick only.
    connect(DateTimePicker1, &QDateEdit::dateChanged, this, &TFormMain::DateTimePicker1Change);
    // What the windows below ask of the main window comes through the session.
    Session->SetWorkingDate(DateTimePicker1->date());
    connect(Session, &TSession::Changed, this, &TFormMain::RefreshAllPages);
    connect(Session, &TSession::ViewRefresh, this, [this](TSession::View view) {
        if (view == TSession::CustomerView)
            FillCustomerPage();
        else
            FillStorePage();
    });
    connect(Session, &TSession::PageWanted, PageControl1, &QTabWidget::setCurrentIndex);
    connect(Session, &TSession::BillsWanted, this, [this](const SqlText &sql) {
        TabSheet4->FillReportGrid(sql);
        PageControl1->setCurrentWidget(TabSheet4);
    });
}

void TFormMain::FormCreate()
{
    // No database work here: the data module does not exist yet.
    const QString dir = ProgramDirOverride().isEmpty() ? QCoreApplication::applicationDirPath() : ProgramDirOverride();
    ProgramDir = dir.endsWith(QLatin1Char('/')) ? dir : dir + QLatin1Char('/');
    IniFileName = ProgramDir + QStringLiteral("Kestrova.ini");
}

QPixmap TFormMain::BarPicture(const QString &file, bool leftBarShown) const
{
    // A missing picture file must not leave the toggle without a face.
    QPixmap pm(ProgramDir + file);
    if (pm.isNull())
        pm = QPixmap::fromImage(Artwork::BarPicture(leftBarShown, 538));
    return pm;
}

bool TFormMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Image7 && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        Image7Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool TFormMain::FormShow()
{
    // What a backup or a restore killed half-way left behind; the books are locked by now.
    TLeftovers::CleanProgramFolder();
    // What an earlier version or a file copied in left open to others becomes the user's alone.
    TPrivateFiles::RestrictProgramFolder(TDataSource::Registered().file, TDataSource::PasswordFile());
    if (ReadIniValue(QStringLiteral("数据库内容"), QStringLiteral("ODBC"), QStringLiteral("0"), IniFileName)
        != QLatin1String("1")) {
        // Named relative to the program folder, so a moved or copied folder keeps its own books.
        if (RegisterDataSource(QStringLiteral("Kestrova"), QStringLiteral("Kestrova.mdb"),
                               QStringLiteral("Mirelo进销存"))) {
            WriteIniValue(QStringLiteral("数据库内容"), QStringLiteral("ODBC"), QStringLiteral("1"), IniFileName);
            Dialogs::OpenUrl(WebLinks::FirstRunAddress());
        }
    }
    SetWorkingDate(Clock::Today());
    if (CheckLogin() != LoginAccepted) {
        close();
        return false;
    }
    return true;
}

QDate TFormMain::WorkingDate() const { return DateTimePicker1->date(); }

void TFormMain::SetWorkingDate(const QDate &date)
{
    const QSignalBlocker quiet(DateTimePicker1);
    DateTimePicker1->setDate(date);
    Session->SetWorkingDate(DateTimePicker1->date());
}

void TFormMain::BitBtn1Click()
{
    SetWorkingDate(WorkingDate().addDays(-1));
    RefreshAllPages();
}

void TFormMain::BitBtn2Click()
{
    SetWorkingDate(WorkingDate().addDays(1));
    RefreshAllPages();
}

void TFormMain::DateTimePicker1Change()
{
    Session->SetWorkingDate(DateTimePicker1->date());
    RefreshAllPages();
}

void TFormMain::Image7Click()
{
    if (Image7->toolTip() == QLatin1String("LeftBar")) {
        Panel1->setFixedWidth(0);
        Image7->setPixmap(BarPicture(QStringLiteral("Res/RightBar.bmp"), false));
        Image7->setToolTip(QStringLiteral("RightBar"));
    } else {
        Panel1->setFixedWidth(97);
        Image7->setPixmap(BarPicture(QStringLiteral("Res/LeftBar.bmp"), true));
        Image7->setToolTip(QStringLiteral("LeftBar"));
    }
    layout()->activate();
}

int TFormMain::CheckLogin()
{
    if (Dialogs::ShowModal(FormLogin) != QDialog::Accepted)
        return LoginCancelled;
    // Older books get today's indexes as they are opened: on a large shop that
    // takes a while, so it is done off the window's thread before the window's
    // own connection opens (which then finds nothing left to do).
    if (!ShareDataModule->Connected())
        BackgroundWork::Run([](const BackgroundWork::Progress &) {
            try {
                ShareDataModule->Connection();
            } catch (const EDatabaseError &) {
                // Said below, when the window's own connection meets it.
            }
            return true;
        });
    QString key;
    switch (TPasswordStore::KeyOf(FormLogin->SelectedPower, &key)) {
    case TPasswordStore::Lookup::Failed:
        return LoginRefused;
    case TPasswordStore::Lookup::Missing:
        Dialogs::ShowMessage(QStringLiteral("数据库中找不到当前用户"));
        return LoginRefused;
    case TPasswordStore::Lookup::Found:
        break;
    }
    if (key != FormLogin->EnteredKey) {
        Dialogs::ShowMessage(QStringLiteral("密码错误，请重新登录"));
        return LoginRefused;
    }
    WriteIniValue(QStringLiteral("Kestrova"), QStringLiteral("UserPower"), FormLogin->SelectedPower, IniFileName);
    Session->SetRole(FormLogin->SelectedPower);
    if (FormLogin->SelectedPower == Roles[1]) {
        for (int i = 0; i <= 5; ++i)
            PageControl1->setTabVisible(i, false);
        PageControl1->setTabVisible(6, true);
        PageControl1->setTabVisible(7, true);
        PageControl1->setCurrentIndex(6);
        for (int type = 1; type <= 3; ++type)
            TabSheet5->LoadParameterList(type);
        LoadPasswords();
        TabSheet5->LoadPrintType();
    } else {
        PageControl1->setTabVisible(0, true);
        PageControl1->setCurrentIndex(0);
        for (int i = 1; i <= 5; ++i)
            PageControl1->setTabVisible(i, true);
        PageControl1->setTabVisible(6, false);
        PageControl1->setTabVisible(7, false);
        RefreshAllPages();
    }
    BackgroundWork::Run([](const BackgroundWork::Progress &) {
        TDailyBackup::Run();
        return true;
    });
    return LoginAccepted;
}

void TFormMain::ActionLoginExecute() { CheckLogin(); }

void TFormMain::ActionDesignExecute() { frReport1->DesignReport(); }

void TFormMain::BooksChangedElsewhere()
{
    if (!elsewhereTimer_) {
        elsewhereTimer_ = new QTimer(this);
        elsewhereTimer_->setSingleShot(true);
        connect(elsewhereTimer_, &QTimer::timeout, this, [this] {
            // An editor, a dialog or work in progress is left alone; the refresh waits for it.
            if (!isVisible() || QApplication::activeModalWidget() || QApplication::activePopupWidget()
                || !ShareDataModule->Connected() || ShareDataModule->InTransaction() || BackgroundWork::Running()) {
                elsewhereTimer_->start(ElsewhereRetryMs);
                return;
            }
            RefreshAllPages();
        });
    }
    if (!elsewhereTimer_->isActive())
        elsewhereTimer_->start(ElsewhereDelayMs);
}

void TFormMain::ActionServerExecute()
{
    // Other books: the program starts again on them, as after a restore.
    TFormServer server(this);
    if (Dialogs::ShowModal(&server) == QDialog::Accepted)
        close();
}

void TFormMain::LoadPasswords() { TabSheet5->LoadPasswords(); }

void TFormMain::ActionSaveExecute() { TBackupRestore::Save(); }

void TFormMain::ActionLoadExecute()
{
    if (TBackupRestore::Load())
        close();
}

void TFormMain::ActionHomePageExecute() { Dialogs::ShowModal(FormOnlineChat); }

void TFormMain::ActionContactExecute()
{
    Dialogs::ShowMessage(QStringLiteral("请跟随以下链接购买软件，咨询热线") + Vendor::Hotline);
    Dialogs::OpenUrl(WebLinks::SaleAddress());
}

void TFormMain::ActionOnlineSellExecute() { Dialogs::OpenUrl(QUrl(Vendor::WebSite)); }

void TFormMain::RefreshAllPages()
{
    ++RefreshCount;
    const TReadSnapshot oneMoment;
    FillCustomerPage();
    FillBillPage();
    FillMoneyPage();
    FillStorePage();
    FillAccountPage();
    TabSheet4->FillReportGrid();
}

void TFormMain::FillCustomerPage() { TabSheet8->FillCustomerPage(); }
void TFormMain::FillBillPage() { TabSheet1->FillBillPage(); }
void TFormMain::FillMoneyPage() { TabSheet7->FillMoneyPage(); }
void TFormMain::FillStorePage() { TabSheet2->FillStorePage(); }
void TFormMain::FillAccountPage() { TabSheet3->FillAccountPage(); }
