// The online support form, the sales buttons and the addresses they open.
#include "app/MainForm.h"
#include "core/ProgramFiles.h"
#include "core/Vendor.h"
#include "support/OnlineChatForm.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QToolButton>

namespace {
using Items = QList<QPair<QString, QString>>;

// The query as a web server reads it: "&" and "=" split, "+" is a space, %XX a byte.
Items AsServerReadsIt(const QUrl &url)
{
    Items items;
    for (const QByteArray &pair : url.query(QUrl::FullyEncoded).toLatin1().split('&')) {
        const int eq = pair.indexOf('=');
        auto decode = [](QByteArray text) { return QString::fromUtf8(QByteArray::fromPercentEncoding(text.replace('+', ' '))); };
        items << qMakePair(decode(pair.left(eq)), decode(pair.mid(eq + 1)));
    }
    return items;
}

// Fills the form as the user would and confirms it.
void Fill(TestEnv &env, const QString &name, const QString &phone, int item, const QString &typed = QString())
{
    env.script.Then([=](QDialog *d) {
        auto *form = qobject_cast<TFormOnlineChat *>(d);
        QVERIFY(form);
        form->Edit1->setText(name);
        form->Edit2->setText(phone);
        form->ComboBox1->setCurrentIndex(item);
        emit form->ComboBox1->activated(item);
        if (!typed.isNull())
            form->Memo1->setPlainText(typed);
        form->Login->click();
    });
}
} // namespace

class TestOnlineChat : public QObject {
    Q_OBJECT
private slots:
    void form();
    void supportAddressArrivesAsTyped_data();
    void supportAddressArrivesAsTyped();
    void emptyContactRefused_data();
    void emptyContactRefused();
    void memoFollowsTheItem();
    void salesButtons_data();
    void salesButtons();
};

void TestOnlineChat::form()
{
    TestEnv env;
    QCOMPARE(FormOnlineChat->windowTitle(), QStringLiteral("Mirelo软件--免费在线技术支持"));
    QCOMPARE(FormOnlineChat->size(), QSize(422, 272));
    QCOMPARE(FormOnlineChat->parentWidget(), FormMain);
    QStringList items;
    for (int i = 0; i < FormOnlineChat->ComboBox1->count(); ++i)
        items << FormOnlineChat->ComboBox1->itemText(i);
    QCOMPARE(items, (QStringList{"我想了解该软件。。。", "我想获得更多的。。。", "我需要类似的软。。。", "自定义"}));
    QCOMPARE(FormOnlineChat->Login->text(), QStringLiteral("确定"));
    QCOMPARE(FormOnlineChat->Close->text(), QStringLiteral("取消"));
}

void TestOnlineChat::supportAddressArrivesAsTyped_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("saleLink");   // null: no "SaleLink" in the ini file
    QTest::newRow("spaces, & = # + %") << "Tom & Jerry" << "+86 138 0000 0000" << "a=b#c 100% & more+"
                                       << "http://shop.example.cn/a?b=1&c=2#top";
    QTest::newRow("Chinese and quotes") << "王'五" << "０７５５—１２３" << "鞋码 42#，请回电！\n第二行" << "http://店.example.cn/";
    QTest::newRow("without SaleLink") << "张三" << "123" << "" << QString();
}

void TestOnlineChat::supportAddressArrivesAsTyped()
{
    QFETCH(QString, name);
    QFETCH(QString, phone);
    QFETCH(QString, content);
    QFETCH(QString, saleLink);
    TestEnv env;
    if (!saleLink.isNull())
        QVERIFY(WriteIniValue("Kestrova", "SaleLink", saleLink, env.Dir() + "Kestrova.ini"));
    Fill(env, name, phone, 3, content);
    FormMain->HomePage->click();

    QCOMPARE(env.script.modals, QStringList{"FormOnlineChat"});
    QVERIFY(env.script.messages.isEmpty());
    QCOMPARE(env.script.urls.size(), 1);
    const QUrl url = env.script.urls[0];
    QVERIFY(url.toString(QUrl::FullyEncoded).startsWith(Vendor::WebSite + "/SoftChat2.asp?SoftProduct=Ostrevik&SoftSerial="));
    const Items expected = {{"SoftProduct", "Ostrevik"},
                            {"SoftSerial", InstallationId()},
                            {"ContactName", name},
                            {"ContactPhone", phone},
                            {"ContactContent", content},
                            {"SoftSaleLink", saleLink.isNull() ? Vendor::WebSite : saleLink}};
    QCOMPARE(AsServerReadsIt(url), expected);
}

void TestOnlineChat::emptyContactRefused_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("phone");
    QTest::addColumn<QString>("message");
    QTest::newRow("no contact person") << "" << "123" << "联系人不能为空";
    QTest::newRow("only spaces") << "   " << "123" << "联系人不能为空";
    QTest::newRow("no telephone") << "张三" << "" << "联系电话不能为空";
}

void TestOnlineChat::emptyContactRefused()
{
    QFETCH(QString, name);
    QFETCH(QString, phone);
    QFETCH(QString, message);
    TestEnv env;
    Fill(env, name, phone, 0);
    FormMain->ActionHomePage->trigger();
    QCOMPARE(env.script.messages, QStringList{message});
    QVERIFY(env.script.urls.isEmpty());
    QCOMPARE(FormOnlineChat->result(), int(QDialog::Rejected));
}

void TestOnlineChat::memoFollowsTheItem()
{
    TestEnv env;
    // Item 1 chosen, the memo typed over, then cancelled.
    env.script.Then([](QDialog *d) {
        auto *form = static_cast<TFormOnlineChat *>(d);
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("我想了解该软件的更多功能"));
        form->Edit1->setText("张三");
        form->Edit2->setText("123");
        form->ComboBox1->setCurrentIndex(1);
        emit form->ComboBox1->activated(1);
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("我想获得更多有关该软件的介绍"));
        form->ComboBox1->setCurrentIndex(3);
        emit form->ComboBox1->activated(3);
        QVERIFY(form->Memo1->toPlainText().isEmpty());
        form->ComboBox1->setCurrentIndex(2);
        emit form->ComboBox1->activated(2);
        form->Memo1->setPlainText("我自己写的");
        form->Close->click();
    });
    FormMain->ActionHomePage->trigger();
    QCOMPARE(FormOnlineChat->result(), int(QDialog::Rejected));
    // Shown again: contact kept, the memo refreshed from the chosen item.
    env.script.Then([](QDialog *d) {
        auto *form = static_cast<TFormOnlineChat *>(d);
        QCOMPARE(form->Edit1->text(), QStringLiteral("张三"));
        QCOMPARE(form->Edit2->text(), QStringLiteral("123"));
        QCOMPARE(form->Memo1->toPlainText(), QStringLiteral("我需要类似的软件产品，请跟我联系"));
        form->Login->click();
    });
    FormMain->ActionHomePage->trigger();
    QCOMPARE(FormOnlineChat->result(), int(QDialog::Accepted));
    QCOMPARE(env.script.urls.size(), 1);
    QCOMPARE(AsServerReadsIt(env.script.urls[0])[4].second, QStringLiteral("我需要类似的软件产品，请跟我联系"));
}

void TestOnlineChat::salesButtons_data()
{
    QTest::addColumn<QString>("saleLink");   // null: absent
    QTest::addColumn<QString>("opened");
    QTest::newRow("SaleLink set") << "http://shop.example.cn/店?a=1&b=2" << "http://shop.example.cn/店?a=1&b=2";
    QTest::newRow("SaleLink absent") << QString() << Vendor::WebSite;
    QTest::newRow("SaleLink empty") << "" << Vendor::WebSite;
    QTest::newRow("SaleLink without scheme") << "shop.example.cn/店" << "http://shop.example.cn/店";
    QTest::newRow("SaleLink a local program") << "/usr/bin/xterm" << Vendor::WebSite;
    QTest::newRow("SaleLink a file address") << "file:///usr/bin/xterm" << Vendor::WebSite;
    QTest::newRow("SaleLink a script") << "javascript:alert(1)" << Vendor::WebSite;
}

void TestOnlineChat::salesButtons()
{
    QFETCH(QString, saleLink);
    QFETCH(QString, opened);
    TestEnv env;
    if (!saleLink.isNull())
        QVERIFY(WriteIniValue("Kestrova", "SaleLink", saleLink, env.Dir() + "Kestrova.ini"));
    FormMain->SpeedButton1->click();
    QCOMPARE(env.script.messages, QStringList{"请跟随以下链接购买软件，咨询热线" + Vendor::Hotline});
    QCOMPARE(env.script.urls.size(), 1);
    QCOMPARE(env.script.urls[0], QUrl(opened));
    // The hidden online-sales button goes to the vendor's site whatever the link.
    FormMain->ActionOnlineSell->trigger();
    QCOMPARE(env.script.urls.size(), 2);
    QCOMPARE(env.script.urls[1], QUrl(Vendor::WebSite));
}

QTEST_MAIN(TestOnlineChat)
#include "tst_onlinechat.moc"
