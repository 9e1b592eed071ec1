// Login roles, re-login, and the settings page's password changes.
#include "ui/AskForm.h"
#include "app/LoginForm.h"
#include "app/MainForm.h"
#include "ui/ModifyPassword.h"
#include "core/ProgramFiles.h"
#include "app/SettingsPage.h"
#include "db/ShareDM.h"
#include "support/TestEnv.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QAction>
#include <QApplication>

namespace {
QList<int> VisibleTabs()
{
    QList<int> tabs;
    for (int i = 0; i < FormMain->PageControl1->count(); ++i)
        if (FormMain->PageControl1->isTabVisible(i))
            tabs << i;
    return tabs;
}

QString StoredKey(TestEnv &env, const QString &power)
{
    return env.Scalar("Select PowerKey From Power Where PowerName = ?", {power}).toString();
}

// Logged in as administrator, on the settings page.
void StartAsAdministrator(TestEnv &env)
{
    env.MarkRegistered();
    env.script.LoginAs("管理员", "9999");
    QVERIFY(FormMain->FormShow());
    env.script.messages.clear();
}
} // namespace

class TestLogin : public QObject {
    Q_OBJECT
private slots:
    void roles_data();
    void roles();
    void passwordsAreComparedExactly_data();
    void passwordsAreComparedExactly();
    void missingPowerRowRefuses();
    void reloginRefusedOrCancelledChangesNothing();
    void reloginSwitchesRole();
    void userPowerPreselects_data();
    void userPowerPreselects();
    void reloginAsksForThePasswordAgain();
    void keysInSmallDialogs_data();
    void keysInSmallDialogs();
    void loginSitsOverTheMainWindow();
    void settingsRoleComboReloads();
    void changeLoginPassword_data();
    void changeLoginPassword();
    void changeModifyPassword();
    void changeWithMissingRow();
};

void TestLogin::roles_data()
{
    QTest::addColumn<QString>("role");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QList<int>>("tabs");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("refreshes");
    QTest::newRow("finance supervisor") << "财务主管" << "8888" << QList<int>{0, 1, 2, 3, 4, 5} << 0 << 1;
    QTest::newRow("administrator") << "管理员" << "9999" << QList<int>{6, 7} << 6 << 0;
}

void TestLogin::roles()
{
    QFETCH(QString, role);
    QFETCH(QString, password);
    QFETCH(QList<int>, tabs);
    QFETCH(int, current);
    QFETCH(int, refreshes);
    TestEnv env;
    env.MarkRegistered();
    env.script.LoginAs(role, password);
    QVERIFY(FormMain->FormShow());
    QVERIFY(env.script.messages.isEmpty());
    QCOMPARE(VisibleTabs(), tabs);
    QCOMPARE(FormMain->PageControl1->currentIndex(), current);
    QCOMPARE(FormMain->RefreshCount, refreshes);
    QCOMPARE(ReadIniValue("Kestrova", "UserPower", "", IniFileName), role);
    if (role == "管理员") {
        // Both password edits are filled: the settings role combo starts on 管理员.
        QCOMPARE(FormMain->TabSheet5->Edit1->text(), QStringLiteral("9999"));
        QCOMPARE(FormMain->TabSheet5->Edit2->text(), QStringLiteral("6666"));
    }
}

void TestLogin::passwordsAreComparedExactly_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty accepts empty") << "" << "" << true;
    QTest::newRow("empty refuses text") << "" << "1" << false;
    QTest::newRow("case counts") << "Shoe" << "shoe" << false;
    QTest::newRow("quote, blank and Chinese") << "鞋'店 8" << "鞋'店 8" << true;
    QTest::newRow("blank counts") << "鞋'店 8" << "鞋'店8" << false;
}

void TestLogin::passwordsAreComparedExactly()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    TestEnv env;
    env.MarkRegistered();
    env.Exec("Update Power Set PowerKey = ? Where PowerName = '财务主管'", {stored});
    env.script.LoginAs("财务主管", typed);
    QCOMPARE(FormMain->FormShow(), accepted);
    QCOMPARE(env.script.messages, accepted ? QStringList() : QStringList{"密码错误，请重新登录"});
}

void TestLogin::missingPowerRowRefuses()
{
    TestEnv env;
    env.MarkRegistered();
    env.Exec("Delete From Power Where PowerName = '管理员'");
    env.script.LoginAs("管理员", "9999");
    QCOMPARE(FormMain->CheckLogin(), int(LoginRefused));
    QCOMPARE(env.script.messages, QStringList{"数据库中找不到当前用户"});
}

void TestLogin::reloginRefusedOrCancelledChangesNothing()
{
    TestEnv env;
    env.MarkRegistered();
    env.script.LoginAs("财务主管", "8888");
    QVERIFY(FormMain->FormShow());
    FormMain->PageControl1->setCurrentIndex(3);

    env.script.LoginAs("管理员", "wrong");
    FormMain->ActionLogin->trigger();
    QCOMPARE(env.script.messages, QStringList{"密码错误，请重新登录"});
    env.script.CancelLogin();
    FormMain->ActionLogin->trigger();

    QCOMPARE(VisibleTabs(), (QList<int>{0, 1, 2, 3, 4, 5}));
    QCOMPARE(FormMain->PageControl1->currentIndex(), 3);
    QCOMPARE(FormMain->RefreshCount, 1);
    QCOMPARE(ReadIniValue("Kestrova", "UserPower", "", IniFileName), QStringLiteral("财务主管"));
    QVERIFY(FormMain->isVisible() || !FormMain->testAttribute(Qt::WA_WState_ExplicitShowHide));
}

void TestLogin::reloginSwitchesRole()
{
    TestEnv env;
    StartAsAdministrator(env);
    env.script.LoginAs("财务主管", "8888");
    FormMain->Login->click();   // the "重新登录" button at the top of the left bar
    QCOMPARE(VisibleTabs(), (QList<int>{0, 1, 2, 3, 4, 5}));
    QCOMPARE(FormMain->PageControl1->currentIndex(), 0);
    QCOMPARE(FormMain->RefreshCount, 1);
    env.script.LoginAs("管理员", "9999");
    FormMain->Login->click();
    QCOMPARE(VisibleTabs(), (QList<int>{6, 7}));
    QCOMPARE(FormMain->PageControl1->currentIndex(), 6);
}

void TestLogin::userPowerPreselects_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("selected");
    QTest::newRow("administrator") << "管理员" << 0 << 1;
    QTest::newRow("finance supervisor") << "财务主管" << 1 << 0;
    QTest::newRow("other value keeps selection") << "老板" << 1 << 1;
    QTest::newRow("other value, first showing") << "老板" << 0 << 0;
}

void TestLogin::userPowerPreselects()
{
    QFETCH(QString, stored);
    QFETCH(int, before);
    QFETCH(int, selected);
    TestEnv env;
    QVERIFY(WriteIniValue("Kestrova", "UserPower", stored, IniFileName));
    FormLogin->ComboBox1->setCurrentIndex(before);
    int seen = -1;
    env.script.Then([&](QDialog *) { seen = FormLogin->ComboBox1->currentIndex(); });
    QCOMPARE(FormMain->CheckLogin(), int(LoginCancelled));
    QCOMPARE(seen, selected);
}

void TestLogin::reloginAsksForThePasswordAgain()
{
    TestEnv env;
    env.MarkRegistered();
    QVERIFY(FormLogin->Edit1->text().isEmpty());
    QCOMPARE(FormLogin->Edit1->echoMode(), QLineEdit::Password);
    env.script.LoginAs("财务主管", "8888");
    QVERIFY(FormMain->FormShow());
    QString seen;
    env.script.Then([&](QDialog *) { seen = FormLogin->Edit1->text(); });
    FormMain->ActionLoginExecute();
    QCOMPARE(seen, QString());
    QCOMPARE(FormLogin->Edit1->styleSheet().contains("lineedit-password-character: 35"), true);
}

void TestLogin::settingsRoleComboReloads()
{
    TestEnv env;
    StartAsAdministrator(env);
    TSettingsPage *page = FormMain->TabSheet5;
    page->ComboBox1->setCurrentIndex(1);
    emit page->ComboBox1->activated(1);
    QCOMPARE(page->Edit1->text(), QStringLiteral("8888"));
    QCOMPARE(page->Edit2->text(), QStringLiteral("6666"));
}

void TestLogin::changeLoginPassword_data()
{
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("newKey");
    QTest::addColumn<bool>("yes");
    QTest::newRow("administrator, yes") << 0 << "新密码" << true;
    QTest::newRow("finance supervisor, quote and blank") << 1 << "O'Neil 1" << true;
    QTest::newRow("empty password allowed") << 1 << "" << true;
    QTest::newRow("no writes nothing") << 0 << "abc" << false;
}

void TestLogin::changeLoginPassword()
{
    QFETCH(int, role);
    QFETCH(QString, newKey);
    QFETCH(bool, yes);
    TestEnv env;
    StartAsAdministrator(env);
    TSettingsPage *page = FormMain->TabSheet5;
    page->ComboBox1->setCurrentIndex(role);
    page->ComboBox1Change();
    const QString power = page->ComboBox1->currentText();
    const QString old = StoredKey(env, power);
    page->Edit1->setText(newKey);
    env.script.answers.push_back(yes);
    page->Button10->click();

    QCOMPARE(env.script.questions, QStringList{"修改确认|确定要把该密码修改为 " + newKey + " 吗？"});
    QCOMPARE(StoredKey(env, power), yes ? newKey : old);
    QCOMPARE(env.script.messages, yes ? QStringList{"用户密码修改成功"} : QStringList());
    QCOMPARE(page->Edit1->text(), newKey);
    QCOMPARE(StoredKey(env, "修改"), QStringLiteral("6666"));

    if (yes) {
        // The new password is the one that logs in.
        env.script.messages.clear();
        env.script.LoginAs(power, newKey);
        QCOMPARE(FormMain->CheckLogin(), int(LoginAccepted));
    }
}

void TestLogin::changeModifyPassword()
{
    TestEnv env;
    StartAsAdministrator(env);
    TSettingsPage *page = FormMain->TabSheet5;
    page->Edit2->setText("改'资料");
    env.script.answers.push_back(false);
    page->Button11->click();
    QCOMPARE(StoredKey(env, "修改"), QStringLiteral("6666"));
    QVERIFY(env.script.messages.isEmpty());

    env.script.answers.push_back(true);
    page->Button11->click();
    QCOMPARE(env.script.questions.last(), QStringLiteral("修改确认|确定要把该密码修改为 改'资料 吗？"));
    QCOMPARE(StoredKey(env, "修改"), QStringLiteral("改'资料"));
    QCOMPARE(env.script.messages, QStringList{"密码修改成功"});
    QCOMPARE(StoredKey(env, "管理员"), QStringLiteral("9999"));
}

void TestLogin::changeWithMissingRow()
{
    TestEnv env;
    StartAsAdministrator(env);
    TSettingsPage *page = FormMain->TabSheet5;
    env.Exec("Delete From Power Where PowerName <> '管理员'");
    page->ComboBox1->setCurrentIndex(1);
    page->Edit1->setText("x");
    env.script.answers.push_back(true);
    page->Button10->click();
    page->Edit2->setText("y");
    env.script.answers.push_back(true);
    page->Button11->click();
    QCOMPARE(env.script.messages, (QStringList{"该用户密码已被删除", "该密码已被删除"}));
    QCOMPARE(env.Scalar("Select count(*) From Power").toInt(), 1);
}

void TestLogin::keysInSmallDialogs_data()
{
    QTest::addColumn<bool>("login");    // the login dialog, else the password prompt
    QTest::addColumn<QString>("field");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("login: Enter in the password") << true << "Edit1" << int(Qt::Key_Return) << true;
    QTest::newRow("login: Enter in the role") << true << "ComboBox1" << int(Qt::Key_Return) << true;
    QTest::newRow("login: Esc") << true << "Edit1" << int(Qt::Key_Escape) << false;
    QTest::newRow("prompt: Enter") << false << "Edit1" << int(Qt::Key_Return) << true;
    QTest::newRow("prompt: keypad Enter") << false << "Edit1" << int(Qt::Key_Enter) << true;
    QTest::newRow("prompt: Esc") << false << "Edit1" << int(Qt::Key_Escape) << false;
}

void TestLogin::keysInSmallDialogs()
{
    QFETCH(bool, login);
    QFETCH(QString, field);
    QFETCH(int, key);
    QFETCH(bool, accepted);
    TestEnv env;
    env.MarkRegistered();
    env.script.Then([&](QDialog *d) {
        d->show();
        QVERIFY(QTest::qWaitForWindowActive(d));
        d->findChild<QLineEdit *>("Edit1")->setText(login ? "8888" : "6666");
        d->findChild<QWidget *>(field)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(d->isVisible(), false);
    });
    const bool result = login ? FormMain->FormShow() : AskModifyPassword();
    QCOMPARE(result, accepted);
    QVERIFY(env.script.messages.isEmpty());
}

void TestLogin::loginSitsOverTheMainWindow()
{
    TestEnv env;
    env.MarkRegistered();
    FormMain->move(140, 90);
    QPoint centre;
    env.script.Then([&](QDialog *d) {
        centre = d->frameGeometry().center();
        FormLogin->ActionClose->trigger();
    });
    QCOMPARE(FormMain->CheckLogin(), int(LoginCancelled));
    QVERIFY2((centre - FormMain->frameGeometry().center()).manhattanLength() <= 2,
             qPrintable(QString("%1,%2").arg(centre.x()).arg(centre.y())));
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
