// Number, bill-number, date and quoting rules, and the ini file.
#include "core/NumberTexts.h"
#include "core/ProgramFiles.h"
#include "db/SqlDialect.h"
#include "core/SqlText.h"
#include "app/QtTranslations.h"
#include "db/ShareDM.h"
#include "stores/BillNumbers.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <limits>

class TestPublicFunction : public QObject {
    Q_OBJECT
private slots:
    void digitAndDecimalText_data();
    void digitAndDecimalText();
    void lenientConversions_data();
    void lenientConversions();
    void conversionsRefuseWhatIsNoNumber_data();
    void conversionsRefuseWhatIsNoNumber();
    void nextSerial_data();
    void nextSerial();
    void nextSerialRefusesBrokenNumber();
    void serialWellFormed_data();
    void serialWellFormed();
    void numberText_data();
    void numberText();
    void dateTexts();
    void translateSql_data();
    void translateSql();
    void sqlTextKeepsValuesInStep();
    void iniDefaultsAndWrites();
    void iniLimits();
    void iniKeepsOtherLinesAndCase();
    void qtSpeaksChinese_data();
    void qtSpeaksChinese();
};

void TestPublicFunction::digitAndDecimalText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("digits");
    QTest::addColumn<bool>("decimal");
    QTest::newRow("empty") << "" << false << false;
    QTest::newRow("007") << "007" << true << true;
    QTest::newRow("12.5") << "12.5" << false << true;
    QTest::newRow("lone point") << "." << false << true;
    QTest::newRow("minus") << "-5" << false << false;
    QTest::newRow("blank inside") << "1 2" << false << false;
    QTest::newRow("full-width digit") << "１２" << false << false;
}

void TestPublicFunction::digitAndDecimalText()
{
    QFETCH(QString, text);
    QFETCH(bool, digits);
    QFETCH(bool, decimal);
    QCOMPARE(IsDigitText(text), digits);
    QCOMPARE(IsDecimalText(text), decimal);
}

void TestPublicFunction::lenientConversions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("asInt");
    QTest::addColumn<double>("asFloat");
    QTest::newRow("007") << "007" << 7 << 7.0;
    QTest::newRow("12.5") << "12.5" << 0 << 12.5;
    QTest::newRow("trailing point") << "1." << 0 << 1.0;
    QTest::newRow("leading point") << ".5" << 0 << 0.5;
    QTest::newRow("12.0") << "12.0" << 0 << 12.0;
    QTest::newRow("minus") << "-5" << 0 << 0.0;
    QTest::newRow("blank") << " " << 0 << 0.0;
    QTest::newRow("empty") << "" << 0 << 0.0;
    QTest::newRow("int max") << "2147483647" << 2147483647 << 2147483647.0;
}

void TestPublicFunction::lenientConversions()
{
    QFETCH(QString, text);
    QFETCH(int, asInt);
    QFETCH(double, asFloat);
    QCOMPARE(TextToIntLenient(text), asInt);
    QCOMPARE(TextToFloatLenient(text), asFloat);
}

void TestPublicFunction::conversionsRefuseWhatIsNoNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("asInt");
    QTest::newRow("lone point") << "." << false;
    QTest::newRow("two points") << "1.2.3" << false;
    QTest::newRow("beyond 32 bits") << "2147483648" << true;
}

void TestPublicFunction::conversionsRefuseWhatIsNoNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, asInt);
    bool thrown = false;
    try {
        if (asInt)
            TextToIntLenient(text);
        else
            TextToFloatLenient(text);
    } catch (const EConvertError &e) {
        thrown = true;
        QVERIFY(e.Message().contains(text));
    }
    QVERIFY2(thrown, "a text that is no number must stop the operation, not read as 0");
}

void TestPublicFunction::nextSerial_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<QString>("next");
    QTest::newRow("XS0010") << "XS0010" << "XS0011";
    QTest::newRow("XS0099") << "XS0099" << "XS00100";
    QTest::newRow("XS0009") << "XS0009" << "XS00010";
    QTest::newRow("A9") << "A9" << "A10";
    QTest::newRow("2006001") << "2006001" << "2006002";
    QTest::newRow("Chinese prefix") << "单2006001" << "单2006002";
    QTest::newRow("XS000") << "XS000" << "";
    QTest::newRow("000") << "000" << "";
    QTest::newRow("XS") << "XS" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("beyond 32 bits") << "XS99999999999" << "XS100000000000";
    QTest::newRow("delivered start") << "XS10000" << "XS10001";
}

void TestPublicFunction::nextSerial()
{
    QFETCH(QString, serial);
    QFETCH(QString, next);
    QCOMPARE(BillNumbers::Next(serial), next);
}

void TestPublicFunction::nextSerialRefusesBrokenNumber()
{
    QVERIFY_THROWS_EXCEPTION(EConvertError, BillNumbers::Next(QStringLiteral("XS12A")));
}

void TestPublicFunction::serialWellFormed_data()
{
    QTest::addColumn<QString>("serial");
    QTest::addColumn<bool>("wellFormed");
    QTest::newRow("empty") << "" << true;
    QTest::newRow("XS") << "XS" << true;
    QTest::newRow("ABC") << "ABC" << true;
    QTest::newRow("XS0012") << "XS0012" << true;
    QTest::newRow("XS12A") << "XS12A" << false;
    QTest::newRow("12XS") << "12XS" << false;
    QTest::newRow("Chinese prefix") << "单据0012" << true;
}

void TestPublicFunction::serialWellFormed()
{
    QFETCH(QString, serial);
    QFETCH(bool, wellFormed);
    QCOMPARE(BillNumbers::WellFormed(serial), wellFormed);
}

void TestPublicFunction::numberText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("1234.5") << 1234.5 << "1234.5";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("minus zero") << -0.0 << "0";
    QTest::newRow("-300") << -300.0 << "-300";
    QTest::newRow("0.1+0.2") << (0.1 + 0.2) << "0.3";
    QTest::newRow("62.5") << 62.5 << "62.5";
    QTest::newRow("large") << 1e15 << "1000000000000000";
    QTest::newRow("small") << 0.00001 << "0.00001";
    QTest::newRow("cents") << 19.99 << "19.99";
    // Whatever the double, written out in full and never thrown at.
    QTest::newRow("1e64") << 1e64 << "1" + QString(64, '0');
    QTest::newRow("-1e300") << -1e300 << "-1" + QString(300, '0');
    // A subnormal is written by its shortest digits that read back as it.
    QTest::newRow("subnormal 1e-310") << 1e-310 << "0." + QString(309, '0') + "1";
    QTest::newRow("smallest subnormal") << 4.9406564584124654e-324 << "0." + QString(323, '0') + "5";
    QTest::newRow("largest double") << std::numeric_limits<double>::max() << "179769313486232" + QString(294, '0');
    QTest::newRow("negative zero") << -0.0 << "0";
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << "0";
    QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "0";
    QTest::newRow("rounds up a place") << 999999.9999999999 << "1000000";
}

void TestPublicFunction::numberText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberText(value), text);
}

void TestPublicFunction::dateTexts()
{
    QCOMPARE(DateText(QDate(2024, 3, 5)), QStringLiteral("2024-3-5"));
    // Bound dates are the text the books hold.
    QCOMPARE(DateValue(QDate(2024, 3, 5)), QVariant(QStringLiteral("2024-03-05")));
    QVERIFY(DateValue(QDate()).isNull());
}

void TestPublicFunction::translateSql_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QString>("translated");
    QTest::newRow("single date") << "Select * From Bill Where BillCreateTime <= #2024-3-5#"
                                 << "Select * From Bill Where BillCreateTime <= '2024-03-05'";
    QTest::newRow("between") << "BillCreateTime Between #2024-3-1# And #2024-3-31#"
                             << "BillCreateTime Between '2024-03-01' And '2024-03-31'";
    QTest::newRow("inside text untouched") << "InStr(BillRemark,'#2024-3-5#') And X = #2024-3-5#"
                                           << "InStr(BillRemark,'#2024-3-5#') And X = '2024-03-05'";
    QTest::newRow("doubled quote stays in text") << "BillUser = 'O''Brien #2024-1-1#' And Y < #2024-1-2#"
                                                 << "BillUser = 'O''Brien #2024-1-1#' And Y < '2024-01-02'";
    QTest::newRow("lone hash") << "Select '#' , 1" << "Select '#' , 1";
}

void TestPublicFunction::translateSql()
{
    QFETCH(QString, sql);
    QFETCH(QString, translated);
    QCOMPARE(TranslateSql(sql), translated);
}

void TestPublicFunction::sqlTextKeepsValuesInStep()
{
    // Pieces joined in any way keep each value with its mark; the text holds none of them.
    SqlText sql = "Select * From Bill Where ";
    sql += SqlText("(BillUser = ?) And ", {"张'三"});
    sql += QStringLiteral("(BillCreateTime Between ") + SqlText("?", {DateValue(QDate(2024, 3, 5))}) + " And "
           + SqlText("?", {DateValue(QDate(2024, 3, 31))}) + ")";
    sql = sql + SqlText() + QStringLiteral(" And (InStr(BillRemark,?))") + SqlText("", {"a\"b\n"});
    QCOMPARE(sql.text, QStringLiteral("Select * From Bill Where (BillUser = ?) And (BillCreateTime Between ? And ?) And (InStr(BillRemark,?))"));
    QCOMPARE(sql.params, (QVariantList{"张'三", "2024-03-05", "2024-03-31", "a\"b\n"}));
}

void TestPublicFunction::iniDefaultsAndWrites()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Kestrova.ini"));
    QCOMPARE(ReadIniValue("数据库内容", "ODBC", "0", ini), QStringLiteral("0"));
    QVERIFY(!QFile::exists(ini));
    QVERIFY(WriteIniValue("数据库内容", "ODBC", "1", ini));
    QVERIFY(WriteIniValue("Kestrova", "UserPower", "管理员", ini));
    QVERIFY(WriteIniValue("Kestrova", "SaleLink", "it's a \"link\" 有空格", ini));
    QCOMPARE(ReadIniValue("数据库内容", "ODBC", "0", ini), QStringLiteral("1"));
    QCOMPARE(ReadIniValue("Kestrova", "UserPower", "财务主管", ini), QStringLiteral("管理员"));
    QCOMPARE(ReadIniValue("Kestrova", "SaleLink", "", ini), QStringLiteral("it's a \"link\" 有空格"));
    QCOMPARE(ReadIniValue("Kestrova", "PrintType", "显示订金", ini), QStringLiteral("显示订金"));
    QVERIFY(WriteIniValue("Kestrova", "UserPower", "财务主管", ini));
    QCOMPARE(ReadIniValue("Kestrova", "UserPower", "", ini), QStringLiteral("财务主管"));

    // The file stays readable by people: sections and keys as written.
    QFile f(ini);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    QVERIFY(text.contains(QStringLiteral("[数据库内容]\nODBC=1")));
    QCOMPARE(text.count(QStringLiteral("UserPower=")), 1);

    // A folder that cannot be written: the write says so, the read gives the default.
    const QString blocked = dir.filePath(QStringLiteral("Kestrova.ini/x.ini"));
    QVERIFY(!WriteIniValue("Kestrova", "UserPower", "管理员", blocked));
    QCOMPARE(ReadIniValue("Kestrova", "UserPower", "财务主管", blocked), QStringLiteral("财务主管"));
}

void TestPublicFunction::iniLimits()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Kestrova.ini"));
    QVERIFY(!WriteIniValue("Kestrova", "SaleLink", QString(1024, 'x'), ini));
    QVERIFY(!WriteIniValue("Kestrova", "SaleLink", "two\nlines", ini));
    QVERIFY(!WriteIniValue(QString(256, 's'), "SaleLink", "x", ini));
    QVERIFY(!QFile::exists(ini));
    QVERIFY(WriteIniValue("Kestrova", "SaleLink", QString(1023, 'x'), ini));
    QCOMPARE(ReadIniValue("Kestrova", "SaleLink", "", ini).size(), 1023);

    // A longer value put there by hand is cut at 1023 bytes, never mid-character.
    QFile f(ini);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(("[Kestrova]\nSaleLink=" + QString(400, QChar(0x4E2D)) + "\n").toUtf8());
    f.close();
    const QString cut = ReadIniValue("Kestrova", "SaleLink", "", ini);
    QCOMPARE(cut, QString(341, QChar(0x4E2D)));

    // Five megabytes of it are cut the same way (make bench times this read).
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(("[Kestrova]\nSaleLink=a" + QString((5 << 20) / 3, QChar(0x4E2D)) + "\n").toUtf8());
    f.close();
    QCOMPARE(ReadIniValue("Kestrova", "SaleLink", "", ini), "a" + QString(340, QChar(0x4E2D)));
}

void TestPublicFunction::iniKeepsOtherLinesAndCase()
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Kestrova.ini"));
    QFile f(ini);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("; written by hand\n[KESTROVA]\nsalelink = http://example.test/a?b=c\nOther=1\n");
    f.close();
    QCOMPARE(ReadIniValue("Kestrova", "SaleLink", "", ini), QStringLiteral("http://example.test/a?b=c"));
    QVERIFY(WriteIniValue("Kestrova", "PrintType", "不显示订金", ini));
    QCOMPARE(ReadIniValue("Kestrova", "Other", "", ini), QStringLiteral("1"));
    QCOMPARE(ReadIniValue("Kestrova", "PrintType", "", ini), QStringLiteral("不显示订金"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QVERIFY(f.readAll().startsWith("; written by hand\n[KESTROVA]\n"));
}

void TestPublicFunction::qtSpeaksChinese_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("language");
    QTest::newRow("mainland") << "zh_CN" << "zh_CN";
    QTest::newRow("Taiwan") << "zh_TW" << "zh_TW";
    QTest::newRow("Hong Kong") << "zh_HK" << "zh_TW";
    QTest::newRow("English desktop") << "en_US" << "zh_CN";
    QTest::newRow("C locale") << "C" << "zh_CN";
}

void TestPublicFunction::qtSpeaksChinese()
{
    QFETCH(QString, locale);
    QFETCH(QString, language);
    QCOMPARE(QtTranslations::LanguageFor(QLocale(locale)), language);
    // The file dialog and its overwrite question read in Chinese.
    QVERIFY2(QtTranslations::Install(QLocale(locale)), "Qt's translations (qt6-translations-l10n) are needed");
    for (const char *text : {"Look in:", "%1 already exists.\nDo you want to replace it?"}) {
        const QString shown = QCoreApplication::translate("QFileDialog", text);
        QVERIFY2(shown != QLatin1String(text) && shown.contains(QRegularExpression(QStringLiteral("[\\x{4e00}-\\x{9fff}]"))),
                 qPrintable(shown));
    }
}

QTEST_GUILESS_MAIN(TestPublicFunction)
#include "stores/BillNumbers.h"
#include "tst_publicfunction.moc"
