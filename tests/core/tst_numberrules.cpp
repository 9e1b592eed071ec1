// The money rule and the typed-number rule every window relies on.
#include "db/Money.h"
#include "core/NumberTexts.h"
#include "core/TypedNumber.h"
#include "db/SqlEngine.h"
#include "support/TestServer.h"

#include <QSqlDatabase>
#include <cmath>
#include <QSqlQuery>
#include <QTest>

class TestNumberRules : public QObject {
    Q_OBJECT
private slots:
    void roundMoney_data();
    void roundMoney();
    void priceUnits_data();
    void priceUnits();
    void readAmount_data();
    void readAmount();
    void readCount_data();
    void readCount();
    void messagesNameFieldAndText();
};

void TestNumberRules::roundMoney_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("text");
    QTest::newRow("noise below zero") << (10.1 + 20.2 - 30.3) << "0";
    QTest::newRow("noise above zero") << (0.1 + 0.2 - 0.3) << "0";
    QTest::newRow("noisy sum") << (0.1 + 0.2) << "0.3";
    QTest::newRow("threshold sum") << (5084.81 + 8528.61 + 16386.58) << "30000";
    QTest::newRow("three decimals") << 99.999 << "100";
    QTest::newRow("half a fen up") << 1.005 << "1.01";
    QTest::newRow("half a fen, negative") << -1.005 << "-1.01";
    QTest::newRow("just under half") << 0.28499 << "0.28";
    QTest::newRow("0.285 kept as typed") << 0.285 << "0.29";
    QTest::newRow("minus a little") << -0.004 << "0";
    QTest::newRow("large") << 123456789012.345 << "123456789012.35";
    QTest::newRow("whole") << -300.0 << "-300";
    QTest::newRow("infinity") << qInf() << "0";
    QTest::newRow("2.675, under half as a double") << 2.675 << "2.68";
    QTest::newRow("line of 3 at 0.335") << 3 * 0.335 << "1.01";
    QTest::newRow("a million and half a fen") << 1000000.005 << "1000000.01";
    QTest::newRow("ten million, negative") << -12345678.125 << "-12345678.13";
}

void TestNumberRules::roundMoney()
{
    QFETCH(double, amount);
    QFETCH(QString, text);
    QCOMPARE(MoneyText(amount), text);
    QCOMPARE(NumberText(RoundMoney(amount)), text);
    // The books' SQL rounds with the same arithmetic, to the same fen, on either engine.
    if (!QSqlDatabase::contains("money")) {
        if (TestServer::Enabled()) {
            TDataSource server = TestServer::Server();
            server.database = QStringLiteral("postgres");
            QSqlDatabase db = QSqlDatabase::addDatabase(server.DriverName(), "money");
            server.Configure(db);
        } else {
            QSqlDatabase::addDatabase("QSQLITE", "money").setDatabaseName(":memory:");
        }
    }
    QSqlDatabase db = QSqlDatabase::database("money");
    QVERIFY(db.isOpen());
    QSqlQuery q(db);
    q.prepare("With v(x) As (Select Cast(? As Double Precision)) Select " + FenSql("x", TSqlEngine::Of(db)) + " From v");
    q.addBindValue(std::isfinite(amount) ? QVariant(amount) : QVariant());
    QVERIFY(q.exec() && q.next());
    QCOMPARE(q.value(0).toLongLong(), std::isfinite(amount) ? Fen(amount) : 0);
}

void TestNumberRules::priceUnits_data()
{
    QTest::addColumn<double>("price");
    QTest::addColumn<qint64>("units");   // ten-thousandths of a yuan
    QTest::newRow("four decimals") << 33.3333 << qint64(333333);
    QTest::newRow("read back with noise") << 12.50000000001 << qint64(125000);
    QTest::newRow("noise below") << (0.1 + 0.2 - 0.3) << qint64(0);
    QTest::newRow("half a unit up") << 1.00005 << qint64(10001);
    QTest::newRow("half a unit, negative") << -1.00005 << qint64(-10001);
    QTest::newRow("just under half") << 1.000049 << qint64(10000);
    QTest::newRow("infinity") << qInf() << qint64(0);
}

void TestNumberRules::priceUnits()
{
    QFETCH(double, price);
    QFETCH(qint64, units);
    QCOMPARE(PriceUnits(price), units);
}

void TestNumberRules::readAmount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxDecimals");
    QTest::addColumn<int>("fault");
    QTest::addColumn<double>("value");
    using namespace TypedNumber;
    QTest::newRow("whole") << "20" << -1 << int(Fine) << 20.0;
    QTest::newRow("decimals") << "33.333" << -1 << int(Fine) << 33.333;
    QTest::newRow("trailing point") << "12." << -1 << int(Fine) << 12.0;
    QTest::newRow("leading point") << ".5" << -1 << int(Fine) << 0.5;
    QTest::newRow("empty") << "" << -1 << int(Empty) << 0.0;
    QTest::newRow("minus") << "-20" << -1 << int(NotNumber) << 0.0;
    QTest::newRow("plus") << "+20" << -1 << int(NotNumber) << 0.0;
    QTest::newRow("unit") << "20元" << -1 << int(NotNumber) << 0.0;
    QTest::newRow("full-width digits") << "２０" << -1 << int(NotNumber) << 0.0;
    QTest::newRow("blank inside") << "2 0" << -1 << int(NotNumber) << 0.0;
    QTest::newRow("exponent") << "1e5" << -1 << int(NotNumber) << 0.0;
    QTest::newRow("lone point") << "." << -1 << int(NotNumber) << 0.0;
    QTest::newRow("two points") << "1.2.3" << -1 << int(NotNumber) << 0.0;
    QTest::newRow("fen allowed") << "1.25" << 2 << int(Fine) << 1.25;
    QTest::newRow("below the fen") << "1.255" << 2 << int(TooManyDecimals) << 0.0;
    QTest::newRow("15 digits") << "123456789012.345" << -1 << int(Fine) << 123456789012.345;
    QTest::newRow("16 digits") << "1234567890123.456" << -1 << int(TooLong) << 0.0;
    QTest::newRow("leading zeros do not count") << "0000000000000000012.5" << -1 << int(Fine) << 12.5;
    QTest::newRow("trailing zeros do not count") << "12.5000000000000000" << -1 << int(Fine) << 12.5;
    QTest::newRow("400 nines") << QString(400, QLatin1Char('9')) << -1 << int(TooLong) << 0.0;
}

void TestNumberRules::readAmount()
{
    QFETCH(QString, text);
    QFETCH(int, maxDecimals);
    QFETCH(int, fault);
    QFETCH(double, value);
    double read = 0;
    QCOMPARE(int(TypedNumber::ReadAmount(text, &read, maxDecimals)), fault);
    QCOMPARE(read, value);
    QVERIFY(qIsFinite(read));
}

void TestNumberRules::readCount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("value");
    using namespace TypedNumber;
    QTest::newRow("digits") << "007" << int(Fine) << 7;
    QTest::newRow("empty") << "" << int(Empty) << 0;
    QTest::newRow("letter") << "x" << int(NotNumber) << 0;
    QTest::newRow("half") << "3.5" << int(NotNumber) << 0;
    QTest::newRow("negative") << "-3" << int(NotNumber) << 0;
    QTest::newRow("beyond 32 bits") << "2147483648" << int(TooLong) << 0;
}

void TestNumberRules::readCount()
{
    QFETCH(QString, text);
    QFETCH(int, fault);
    QFETCH(int, value);
    int read = 0;
    QCOMPARE(int(TypedNumber::ReadCount(text, &read)), fault);
    QCOMPARE(read, value);
}

void TestNumberRules::messagesNameFieldAndText()
{
    QCOMPARE(TypedNumber::AmountMessage("已付金额", "20元", TypedNumber::NotNumber),
             QStringLiteral("已付金额“20元”不是有效的金额，只能输入数字和小数点，请重新输入"));
    QCOMPARE(TypedNumber::CountMessage("第1行36#的数量", "x", TypedNumber::NotNumber),
             QStringLiteral("第1行36#的数量“x”不是整数，只能输入数字，请重新输入"));
    // The lenient conversion never turns 400 nines into infinity.
    QVERIFY_THROWS_EXCEPTION(EConvertError, TextToFloatLenient(QString(400, QLatin1Char('9'))));
}

QTEST_APPLESS_MAIN(TestNumberRules)
#include "tst_numberrules.moc"
