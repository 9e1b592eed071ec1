// The bill total in capital numerals.
#include "core/Capitals.h"

#include <QTest>

class TestCapitals : public QObject {
    Q_OBJECT
private slots:
    void capitals_data();
    void capitals();
    void digits();
};

void TestCapitals::capitals_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("fen");
    QTest::addColumn<QString>("text");
    QTest::newRow("62.5") << "62.5" << "6250" << "陆拾　贰元　伍角　零分　";
    QTest::newRow("100") << "100" << "10000" << "壹佰　零拾　零元　零角　零分　";
    QTest::newRow("12.34") << "12.34" << "1234" << "壹拾　贰元　叁角　肆分　";
    QTest::newRow("3050.07") << "3050.07" << "305007" << "叁仟　零佰　伍拾　零元　零角　柒分　";
    QTest::newRow("0.5") << "0.5" << "050" << "零元　伍角　零分　";
    QTest::newRow("0") << "0" << "000" << "零元　零角　零分　";
    QTest::newRow("7") << "7" << "700" << "柒元　零角　零分　";
    QTest::newRow("1234567.89") << "1234567.89" << "123456789"
                                << "壹佰万　贰拾万　叁万　肆仟　伍佰　陆拾　柒元　捌角　玖分　";
    // More than two decimals: to the nearest fen, half up, on the decimal text.
    QTest::newRow("round down") << "12.344" << "1234" << "壹拾　贰元　叁角　肆分　";
    QTest::newRow("round up") << "12.345" << "1235" << "壹拾　贰元　叁角　伍分　";
    QTest::newRow("carry") << "9.995" << "1000" << "壹拾　零元　零角　零分　";
    QTest::newRow("below a fen") << "0.004" << "000" << "零元　零角　零分　";
    // Ten million and more: the units go on, no digit is dropped.
    QTest::newRow("ten million") << "12345678" << "1234567800"
                                 << "壹仟万　贰佰万　叁拾万　肆万　伍仟　陆佰　柒拾　捌元　零角　零分　";
    QTest::newRow("a hundred million") << "100000000" << "10000000000"
                                       << "壹亿　零仟万　零佰万　零拾万　零万　零仟　零佰　零拾　零元　零角　零分　";
}

void TestCapitals::capitals()
{
    QFETCH(QString, amount);
    QFETCH(QString, fen);
    QFETCH(QString, text);
    QCOMPARE(TotalToFen(amount), fen);
    QCOMPARE(FenToCapitals(fen), text);
}

void TestCapitals::digits()
{
    const QString expected = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
    for (int d = 0; d <= 9; ++d)
        QCOMPARE(DigitToCapital(QChar('0' + d)), QString(expected[d]));
    QCOMPARE(FenToCapitals(QString()), QString());
}

QTEST_GUILESS_MAIN(TestCapitals)
#include "tst_capitals.moc"
