// Start-up, data source registration, the main window frame and the working date.
#include "bills/ProductForm2.h"
#include "db/Schema.h"
#include "db/DataSource.h"
#include "ui/DatePicker.h"
#include "app/Forms.h"
#include "app/LoginForm.h"
#include "app/MainForm.h"
#include "core/ProgramFiles.h"
#include "core/Registry.h"
#include "db/ShareDM.h"
#include "core/Vendor.h"
#include "support/WebLinks.h"
#include "support/TestEnv.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include "core/Clock.h"
#include <QUrlQuery>
#include <QRegularExpression>

#include <iconv.h>

namespace {
QString OdbcValue(const TestEnv &env)
{
    return ReadIniValue("数据库内容", "ODBC", "absent", env.Dir() + "Kestrova.ini");
}

// Text in the encoding an older Windows installation wrote, through the C library.
QByteArray Encoded(const char *encoding, const QString &text)
{
    const QByteArray in = text.toUtf8();
    QByteArray out(in.size() * 4, '\0');
    iconv_t cd = iconv_open(encoding, "UTF-8");
    char *src = const_cast<char *>(in.constData());
    char *dst = out.data();
    size_t srcLeft = size_t(in.size()), dstLeft = size_t(out.size());
    const size_t done = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv_close(cd);
    if (done == size_t(-1))
        return QByteArray();
    out.resize(out.size() - qsizetype(dstLeft));
    return out;
}

// A new run of the program on the same folder.
void Restart()
{
    DestroyForms();
    CreateForms();
}
} // namespace

class TestMainForm : public QObject {
    Q_OBJECT
private slots:
    void frame();
    void firstRunRegistersOnceAndOpensThePage();
    void registrationFailureTriesAgainNextRun();
    void odbcOtherThanOneRegistersAgain_data();
    void odbcOtherThanOneRegistersAgain();
    void saleLinkPassedUnchanged();
    void firstLoginNotAcceptedEndsTheProgram_data();
    void firstLoginNotAcceptedEndsTheProgram();
    void newerBooksNameBothVersions();
    void unwritableFolderStillStarts();
    void gbkIniReadAndKept();
    void unreadableIniKeptAside_data();
    void unreadableIniKeptAside();
    void leftBarToggle();
    void oneDayButtonsRefreshOnce();
    void clickIntoAPartOfADateAndType_data();
    void clickIntoAPartOfADateAndType();
};

void TestMainForm::frame()
{
    TestEnv env;
    QCOMPARE(FormMain->windowTitle(), QStringLiteral("Mirelo进销存"));
    QCOMPARE(FormMain->size(), QSize(785, 538));
    QCOMPARE(FormMain->minimumSize(), FormMain->maximumSize());
    QCOMPARE(ProgramDir, env.Dir());
    QCOMPARE(IniFileName, env.Dir() + "Kestrova.ini");
    // Windows of fixed size offer no maximize button.
    QVERIFY((FormMain->windowFlags() & Qt::CustomizeWindowHint) && !(FormMain->windowFlags() & Qt::WindowMaximizeButtonHint));
    Qt::WindowFlags picker;
    env.script.Then([&](QDialog *d) { picker = d->windowFlags(); });
    Dialogs::ShowModal(FormProduct2);
    QVERIFY((picker & Qt::CustomizeWindowHint) && !(picker & Qt::WindowMaximizeButtonHint) && (picker & Qt::WindowCloseButtonHint));
    const QStringList captions = {"客户管理", "货品单据", "财务单据", "仓库管理", "帐户管理", "数据中心", "软件设置", "数据维护"};
    const QStringList pages = {"TabSheet8", "TabSheet1", "TabSheet7", "TabSheet2", "TabSheet3", "TabSheet4", "TabSheet5", "TabSheet6"};
    QCOMPARE(FormMain->PageControl1->count(), 8);
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(FormMain->PageControl1->tabText(i), captions[i]);
        QCOMPARE(FormMain->PageControl1->widget(i)->objectName(), pages[i]);
        QVERIFY(!FormMain->PageControl1->tabIcon(i).isNull());
    }
    for (const char *name : {"Login", "HomePage", "ActionButtonSave2", "SpeedButton1"}) {
        auto *b = FormMain->findChild<QWidget *>(name);
        QVERIFY2(b, name);
        QCOMPARE(b->size(), QSize(73, 73));
    }
    QVERIFY(FormMain->OnlineSell->isHidden());
    QCOMPARE(FormMain->Panel1->width(), 97);
    QCOMPARE(FormMain->Image7->toolTip(), QStringLiteral("LeftBar"));
}

void TestMainForm::firstRunRegistersOnceAndOpensThePage()
{
    TestEnv env;
    env.script.LoginAs("财务主管", "8888");
    QVERIFY(FormMain->FormShow());

    QCOMPARE(OdbcValue(env), QStringLiteral("1"));
    TRegistry reg(env.Dir() + "Registry.ini");
    QVERIFY(reg.OpenKeyReadOnly("Software\\ODBC\\ODBC.INI\\ODBC Data Sources"));
    QCOMPARE(reg.ReadString("Kestrova"), QStringLiteral("Microsoft Access Driver (*.mdb)"));
    QVERIFY(reg.OpenKeyReadOnly("Software\\ODBC\\ODBC.INI\\Kestrova"));
    QCOMPARE(reg.ReadString("DBQ"), QStringLiteral("Kestrova.mdb"));
    QCOMPARE(reg.ReadString("Description"), QStringLiteral("Mirelo进销存"));
    QCOMPARE(reg.ReadInteger("DriverId"), 25);
    // Books already on a server stay there.
    QCOMPARE(TDataSource::Registered().server, TestEnv::OnServer());
    QCOMPARE(reg.ReadString("FIL"), QStringLiteral("Ms Access;"));
    for (const char *name : {"Driver", "SafeTransaction", "UID", "Exclusive", "ReadOnly"})
        QVERIFY2(reg.ValueExists(name), name);
    QVERIFY(reg.OpenKeyReadOnly("Software\\ODBC\\ODBC.INI\\Kestrova\\Engines\\Jet"));
    QCOMPARE(reg.ReadString("ImplicitCommitSync"), QStringLiteral("Yes"));
    QCOMPARE(reg.ReadInteger("MaxBufferSize"), 512);
    QCOMPARE(reg.ReadInteger("PageTimeout"), 10);
    QCOMPARE(reg.ReadInteger("Threads"), 3);
    QCOMPARE(reg.ReadString("UserCommitSync"), QStringLiteral("Yes"));

    QCOMPARE(env.script.urls.size(), 1);
    const QString address = env.script.urls[0].toString();
    QVERIFY(address.startsWith(Vendor::WebSite + "/SoftLogin.asp?SoftProduct=Ostrevik&SoftSerial="));
    const QString serial = QUrlQuery(env.script.urls[0]).queryItemValue("SoftSerial");
    QVERIFY(!serial.isEmpty());
    QCOMPARE(QUrlQuery(env.script.urls[0]).queryItemValue("SoftSaleLink", QUrl::FullyDecoded), Vendor::WebSite);
    // The page came before the login, and the login followed.
    QCOMPARE(env.script.modals, QStringList{"FormLogin"});
    QCOMPARE(FormMain->WorkingDate(), QDate(2024, 3, 15));
    QVERIFY(env.script.messages.isEmpty());

    // Second run: nothing registered, no page, the same installation identifier.
    Restart();
    env.script.LoginAs("财务主管", "8888");
    QVERIFY(FormMain->FormShow());
    QCOMPARE(env.script.urls.size(), 1);
    QCOMPARE(InstallationId(), serial);
}

void TestMainForm::registrationFailureTriesAgainNextRun()
{
    if (TestEnv::OnServer())
        QSKIP("the registry file names the server here: without it the books are a file");
    TestEnv env;
    // A registry file that cannot be written (a folder in its place stops even root).
    QVERIFY(QDir(env.Dir()).mkdir("Registry.ini"));
    env.script.LoginAs("财务主管", "8888");
    QVERIFY(FormMain->FormShow());
    QCOMPARE(env.script.messages, QStringList{"注册表键值创建失败"});
    QVERIFY(env.script.urls.isEmpty());
    QCOMPARE(OdbcValue(env), QStringLiteral("absent"));
    QCOMPARE(env.script.modals, QStringList{"FormLogin"});

    Restart();
    env.script.messages.clear();
    env.script.LoginAs("财务主管", "8888");
    QVERIFY(FormMain->FormShow());
    QCOMPARE(env.script.messages, QStringList{"注册表键值创建失败"});

    // Once the file can be written, the next start registers and opens the page.
    QVERIFY(QDir(env.Dir()).rmdir("Registry.ini"));
    Restart();
    env.script.LoginAs("财务主管", "8888");
    QVERIFY(FormMain->FormShow());
    QCOMPARE(OdbcValue(env), QStringLiteral("1"));
    QCOMPARE(env.script.urls.size(), 1);
}

void TestMainForm::odbcOtherThanOneRegistersAgain_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("word") << "yes";
    QTest::newRow("empty") << "";
    QTest::newRow("zero") << "0";
    QTest::newRow("one") << "1";
}

void TestMainForm::odbcOtherThanOneRegistersAgain()
{
    QFETCH(QString, value);
    TestEnv env;
    const QByteArray registry = FileBytes(env.Dir() + "Registry.ini");   // none, or the server's
    QVERIFY(WriteIniValue("数据库内容", "ODBC", value, env.Dir() + "Kestrova.ini"));
    env.script.LoginAs("财务主管", "8888");
    QVERIFY(FormMain->FormShow());
    QCOMPARE(env.script.urls.size(), value == "1" ? 0 : 1);
    QCOMPARE(FileBytes(env.Dir() + "Registry.ini") != registry, value != "1");
    QCOMPARE(OdbcValue(env), QStringLiteral("1"));
}

void TestMainForm::saleLinkPassedUnchanged()
{
    TestEnv env;
    const QString link = "http://shop.example.cn/a?b=1&c=鞋";
    QVERIFY(WriteIniValue("Kestrova", "SaleLink", link, env.Dir() + "Kestrova.ini"));
    const QUrl address = WebLinks::FirstRunAddress();
    QVERIFY(address.toString(QUrl::FullyEncoded).endsWith("&SoftSaleLink=" + QUrl::toPercentEncoding(link)));
    QCOMPARE(QUrlQuery(address).queryItemValue("SoftSaleLink", QUrl::FullyDecoded), link);
}

void TestMainForm::firstLoginNotAcceptedEndsTheProgram_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("deleteDatabase");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("cancelled") << "" << true << false << QStringList();
    QTest::newRow("wrong password") << "888" << false << false << QStringList{"密码错误，请重新登录"};
    QTest::newRow("no database") << "8888" << false << true << QStringList{"数据库打开失败"};
}

void TestMainForm::firstLoginNotAcceptedEndsTheProgram()
{
    QFETCH(QString, password);
    QFETCH(bool, cancel);
    QFETCH(bool, deleteDatabase);
    QFETCH(QStringList, messages);
    if (deleteDatabase && TestEnv::OnServer())
        QSKIP("the books deleted here are a file");
    TestEnv env;
    env.MarkRegistered();
    if (deleteDatabase)
        QVERIFY(QFile::remove(env.DatabaseFile()));
    FormMain->show();
    if (cancel)
        env.script.CancelLogin();
    else
        env.script.LoginAs("财务主管", password);
    QVERIFY(!FormMain->FormShow());
    QCOMPARE(env.script.WhatFailed(), messages);
    QVERIFY(!FormMain->isVisible());
    QCOMPARE(FormMain->RefreshCount, 0);
    QCOMPARE(QFile::exists(env.DatabaseFile()), !deleteDatabase && !TestEnv::OnServer());   // none made, none removed
    QCOMPARE(ReadIniValue("Kestrova", "UserPower", "absent", IniFileName), QStringLiteral("absent"));
}

void TestMainForm::newerBooksNameBothVersions()
{
    TestEnv env;
    env.Exec("Update BooksInfo Set InfoValue = '99' Where InfoName = 'SchemaVersion'");
    ShareDataModule->Disconnect();
    env.MarkRegistered();
    FormMain->show();
    env.script.LoginAs("财务主管", "8888");
    QVERIFY(!FormMain->FormShow());
    QCOMPARE(env.script.messages, QStringList{QStringLiteral("数据库打开失败\n原因：帐套由较新版本的程序建立（版本 99，本程序为版本 %1），请先升级本程序")
                                                  .arg(Schema::Version)});
    QVERIFY(!FormMain->isVisible());
}

void TestMainForm::unwritableFolderStillStarts()
{
    if (TestEnv::OnServer())
        QSKIP("the registry file names the server here: without it the books are a file");
    TestEnv env;
    // Neither the ini file nor the registry file can be written.
    QVERIFY(QDir(env.Dir()).mkdir("Kestrova.ini"));
    QVERIFY(QDir(env.Dir()).mkdir("Registry.ini"));
    env.script.LoginAs("管理员", "9999");
    QVERIFY(FormMain->FormShow());
    QCOMPARE(env.script.messages, QStringList{"注册表键值创建失败"});
    QVERIFY(FormMain->PageControl1->isTabVisible(6));
}

void TestMainForm::gbkIniReadAndKept()
{
    TestEnv env;
    const QString text = "; 由旧版写入\r\n[数据库内容]\r\nODBC=1\r\n[Kestrova]\r\nUserPower=管理员\r\nPrintType=不显示订金\r\n";
    const QByteArray gbk = Encoded("GBK", text);
    QVERIFY(!gbk.isEmpty() && QString::fromUtf8(gbk).contains(QChar(0xFFFD)));   // not UTF-8
    WriteFile(env.Dir() + "Kestrova.ini", gbk);
    bool preselected = false;
    env.script.Then([&](QDialog *d) {
        auto *login = qobject_cast<TFormLogin *>(d);
        preselected = login->ComboBox1->currentText() == QStringLiteral("管理员");
        login->Edit1->setText("9999");
        login->ActionLogin->trigger();
    });
    QVERIFY(FormMain->FormShow());
    // Not taken for a first run, the role preselected, nothing said.
    QVERIFY(preselected);
    QVERIFY(env.script.urls.isEmpty());
    QVERIFY(env.script.messages.isEmpty());
    QCOMPARE(ReadIniValue("Kestrova", "PrintType", "", IniFileName), QStringLiteral("不显示订金"));
    // The login wrote its role back: in the file's own encoding, every line kept.
    QVERIFY(WriteIniValue("Kestrova", "UserPower", "财务主管", IniFileName));
    QCOMPARE(FileBytes(env.Dir() + "Kestrova.ini"),
             Encoded("GBK", "; 由旧版写入\n[数据库内容]\nODBC=1\n[Kestrova]\nUserPower=财务主管\nPrintType=不显示订金\n"));
}

void TestMainForm::unreadableIniKeptAside_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("larger than 16 MB") << "large" << "文件过大：20.0 MB，上限 16.0 MB";
    QTest::newRow("neither UTF-8 nor GBK") << "bytes" << "既不是 UTF-8 也不是 GBK 编码";
}

void TestMainForm::unreadableIniKeptAside()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    TestEnv env;
    const QString ini = env.Dir() + "Kestrova.ini";
    if (kind == "large") {
        WriteFile(ini, "[数据库内容]\nODBC=1\n");
        QFile f(ini);
        QVERIFY(f.resize(20 << 20));
    } else {
        WriteFile(ini, "[Kestrova]\nUserPower=\x81\x20\xff\xfe\n");
    }
    const QByteArray original = FileBytes(ini);
    env.script.LoginAs("财务主管", "8888");
    QVERIFY(FormMain->FormShow());
    // Taken for a first run; the first write keeps the file whole under another name and says so.
    QCOMPARE(env.script.messages.size(), 1);
    const QRegularExpression told("^配置文件 " + QRegularExpression::escape(ini) + " 无法读取（"
                                  + QRegularExpression::escape(reason) + "），原文件已原样改名保存为 (.*)，设置改存入新的配置文件$");
    const auto m = told.match(env.script.messages[0]);
    QVERIFY2(m.hasMatch(), qPrintable(env.script.messages[0]));
    QVERIFY(m.captured(1).startsWith(ini + ".无法读取-2024-3-15-"));
    QCOMPARE(FileBytes(m.captured(1)), original);
    QCOMPARE(OdbcValue(env), QStringLiteral("1"));
    QCOMPARE(ReadIniValue("Kestrova", "UserPower", "", IniFileName), QStringLiteral("财务主管"));
}

void TestMainForm::leftBarToggle()
{
    TestEnv env;
    FormMain->show();
    const int pageWidth = FormMain->Panel3->width();
    FormMain->Image7Click();
    QCOMPARE(FormMain->Panel1->width(), 0);
    QCOMPARE(FormMain->Image7->toolTip(), QStringLiteral("RightBar"));
    QCOMPARE(FormMain->Panel3->width(), pageWidth + 97);
    QTest::mouseClick(FormMain->Image7, Qt::LeftButton);   // the picture itself is the button
    QCOMPARE(FormMain->Panel1->width(), 97);
    QCOMPARE(FormMain->Image7->toolTip(), QStringLiteral("LeftBar"));
    QCOMPARE(FormMain->Panel3->width(), pageWidth);

    // A missing bar picture still leaves a working toggle.
    QVERIFY(QFile::remove(env.Dir() + "Res/RightBar.bmp") || !QFile::exists(env.Dir() + "Res/RightBar.bmp"));
    FormMain->Image7Click();
    QCOMPARE(FormMain->Image7->toolTip(), QStringLiteral("RightBar"));
    QVERIFY(!FormMain->Image7->pixmap().isNull());
}

void TestMainForm::oneDayButtonsRefreshOnce()
{
    TestEnv env;
    env.MarkRegistered();
    Clock::Fix(QDate(2024, 3, 1));
    env.script.LoginAs("财务主管", "8888");
    QVERIFY(FormMain->FormShow());
    const int before = FormMain->RefreshCount;
    QCOMPARE(before, 1);
    FormMain->BitBtn1->click();
    QCOMPARE(FormMain->WorkingDate(), QDate(2024, 2, 29));
    QCOMPARE(FormMain->RefreshCount, before + 1);
    FormMain->BitBtn2->click();
    FormMain->BitBtn2->click();
    QCOMPARE(FormMain->WorkingDate(), QDate(2024, 3, 2));
    QCOMPARE(FormMain->RefreshCount, before + 3);
    // The user picking a date refreshes once too.
    FormMain->DateTimePicker1->setDate(QDate(2024, 5, 20));
    QCOMPARE(FormMain->RefreshCount, before + 4);
    QCOMPARE(FormMain->WorkingDate(), QDate(2024, 5, 20));
}

void TestMainForm::clickIntoAPartOfADateAndType_data()
{
    QTest::addColumn<int>("position");   // where the click puts the cursor in "2024-3-3"
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QDate>("date");
    QTest::newRow("day") << 8 << "15" << QDate(2024, 3, 15);
    QTest::newRow("month") << 6 << "11" << QDate(2024, 11, 3);
    QTest::newRow("year") << 2 << "2025" << QDate(2025, 3, 3);
}

void TestMainForm::clickIntoAPartOfADateAndType()
{
    QFETCH(int, position);
    QFETCH(QString, typed);
    QFETCH(QDate, date);
    TDatePicker picker;
    picker.setDate(QDate(2024, 3, 3));
    picker.resize(160, 28);
    picker.show();
    QVERIFY(QTest::qWaitForWindowExposed(&picker));
    auto *edit = picker.findChild<QLineEdit *>();
    QVERIFY(edit);
    QPoint at;
    for (int x = 0; x < edit->width() && at.isNull(); ++x)
        if (edit->cursorPositionAt(QPoint(x, edit->height() / 2)) == position)
            at = QPoint(x, edit->height() / 2);
    QVERIFY(!at.isNull());
    QTest::mouseClick(edit, Qt::LeftButton, {}, at);
    QTest::keyClicks(edit, typed);
    QCOMPARE(picker.date(), date);
}

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
