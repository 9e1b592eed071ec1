// Reading a CSV file whatever a spreadsheet saved it as: UTF-8 with or without
// the byte-order mark, or GB18030 as a Chinese Excel or WPS does.
#include "sheets/Csv.h"

#include <QTest>

Q_DECLARE_METATYPE(Csv::Encoding)

class TestCsv : public QObject {
    Q_OBJECT
private slots:
    void encodingIsFound_data();
    void encodingIsFound();
    void guardComesOffExactly_data();
    void guardComesOffExactly();
};

void TestCsv::encodingIsFound_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Csv::Encoding>("encoding");
    QTest::addColumn<QList<QStringList>>("lines");
    const QList<QStringList> names{{"编号", "名称"}, {"P1", "张三"}};
    const QByteArray utf8 = QStringLiteral("编号,名称\r\nP1,张三\r\n").toUtf8();
    QTest::newRow("UTF-8") << utf8 << Csv::Encoding::Utf8 << names;
    QTest::newRow("UTF-8 with the byte-order mark") << "\xEF\xBB\xBF" + utf8 << Csv::Encoding::Utf8 << names;
    // 编号,名称 / P1,张三 as a Chinese Excel saves them.
    QTest::newRow("GB18030") << QByteArray("\xB1\xE0\xBA\xC5,\xC3\xFB\xB3\xC6\r\nP1,\xD5\xC5\xC8\xFD\r\n") << Csv::Encoding::Gb18030
                             << names;
    QTest::newRow("plain ASCII") << QByteArray("a,\"b,c\"\n") << Csv::Encoding::Utf8 << QList<QStringList>{{"a", "b,c"}};
    QTest::newRow("neither") << QByteArray("\xFF\xFF\x80,\x80\n") << Csv::Encoding::Unknown << QList<QStringList>{};
    QTest::newRow("a mark, then no UTF-8") << QByteArray("\xEF\xBB\xBF\xB1\xE0\n") << Csv::Encoding::Unknown << QList<QStringList>{};
}

void TestCsv::encodingIsFound()
{
    QFETCH(QByteArray, file);
    QFETCH(Csv::Encoding, encoding);
    QFETCH(QList<QStringList>, lines);
    Csv::Encoding found = Csv::Encoding::Unknown;
    Csv::Decoded(file, &found);
    QCOMPARE(found, encoding);
    QCOMPARE(Csv::Read(file), lines);
}

void TestCsv::guardComesOffExactly_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("written");   // as the file holds it, quotes undone
    QTest::newRow("a formula") << "=1+1" << "'=1+1";
    QTest::newRow("a number as text") << "00123" << "'00123";
    QTest::newRow("the user's apostrophe before a number") << "'1" << "''1";
    QTest::newRow("the user's apostrophe before a formula") << "'=A1" << "''=A1";
    QTest::newRow("the user's apostrophe before words") << "'abc" << "''abc";
    QTest::newRow("an apostrophe alone") << "'" << "''";
    QTest::newRow("words") << "王记" << "王记";
    QTest::newRow("an apostrophe inside") << "王'记" << "王'记";
}

void TestCsv::guardComesOffExactly()
{
    QFETCH(QString, text);
    QFETCH(QString, written);
    const QList<QStringList> lines = Csv::Read(Csv::File({{text}}));
    QCOMPARE(lines, (QList<QStringList>{{written}}));
    QCOMPARE(Csv::Unguarded(lines[0][0]), text);
}

QTEST_GUILESS_MAIN(TestCsv)
#include "tst_csv.moc"
