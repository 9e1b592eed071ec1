#include "HandWrittenReports.h"

#include "HandWrittenSql.h"
#include "core/Capitals.h"
#include "figures/CustomerFigures.h"
#include "reports/ReportRows.h"
#include "db/Money.h"
#include "core/MonthSpan.h"
#include "core/NumberTexts.h"

#include <QSqlRecord>
#include <QVariant>
#include <QVector>
#include <functional>

namespace {
QString Iso(const QDate &date) { return date.toString(Qt::ISODate); }

// A statement that compares with a day several times takes it written in: "?1" is the first day, "?2" the second.
QString WithDays(QString sql, const QDate &first, const QDate &second)
{
    return sql.replace(QStringLiteral("?1"), QLatin1Char('\'') + Iso(first) + QLatin1Char('\''))
        .replace(QStringLiteral("?2"), QLatin1Char('\'') + Iso(second) + QLatin1Char('\''));
}

QSqlQuery Run(QSqlDatabase &db, const QString &sql, const QVariantList &values = {})
{
    return THandWrittenSql::Run(db, sql, values);
}

const QString RealAccount = QStringLiteral("BillAccount In (Select AccountIndex From Account Where AccountIndex > 1)");

QString Average(double amount, qint64 quantity)
{
    return QString::number(quantity == 0 ? 0.0 : RoundMoney(amount / double(quantity)), 'f', 2);
}

// One line a row of the statement, the figures rounded as the report prints them; gives the rounded sum.
double AddLines(QSqlQuery q, TReportRows &rows, const std::function<QStringList(QSqlQuery &, const QString &)> &cells,
                int amountColumn)
{
    double sum = 0;
    while (q.next()) {
        const double amount = RoundMoney(q.value(amountColumn).toDouble());
        sum += amount;
        rows.Add(cells(q, MoneyText(amount)));
    }
    return sum;
}

// A summary line: the name and its figures, each added to its column's total.
template <int N>
void AddFigures(TReportRows &rows, const QString &name, const double (&line)[N], double (&total)[N])
{
    QStringList cells{name};
    for (int i = 0; i < N; ++i) {
        total[i] += line[i];
        cells << MoneyText(line[i]);
    }
    rows.Add(cells);
}

// A total line under each column of figures, as the summaries end.
template <int N>
void AddGrandTotal(TReportRows &rows, const double (&total)[N])
{
    QStringList cells{QStringLiteral("总合计")};
    for (double t : total)
        cells << MoneyText(t);
    rows.Add(cells);
}
} // namespace

THandWrittenReports::THandWrittenReports(QSqlDatabase db, const QDate &day) : db_(std::move(db)), day_(day) {}

void THandWrittenReports::CustomerStatement(int customerIndex, TReportRows &rows)
{
    const MonthSpan month(day_);
    const QString first = Iso(month.first), last = Iso(month.last);
    QSqlQuery customer = Run(db_, QStringLiteral("Select CustomerName, CustomerOwe From Customer Where CustomerIndex = ?"),
                             {customerIndex});
    customer.next();
    const QString name = customer.value(0).toString();
    const double opening = customer.value(1).toDouble();

    // The goods lines of the month, sales before returns.
    QSqlQuery goods = Run(db_, QStringLiteral(
        "Select BillKind, BillCreateTime, BillSerial, ProductSerial, ProductName, ProductType, Abs(StoreNumber), StorePrice, StoreSum "
        "From Bill Join Store On StoreBill = BillIndex Join Product On ProductIndex = StoreProduct "
        "Where BillUser = ? And BillKind In ('出货单', '进货单') And BillCreateTime Between ? And ? Order By BillKind, BillCreateTime"),
                          {name, first, last});
    TReportRows sold, returned;
    double sales = 0, returns = 0;
    while (goods.next()) {
        const bool sale = goods.value(0).toString() == QStringLiteral("出货单");
        const double amount = RoundMoney(goods.value(8).toDouble());
        (sale ? sales : returns) += amount;
        (sale ? sold : returned)
            .Add({DateText(goods.value(1).toDate()), goods.value(2).toString(), goods.value(3).toString(), goods.value(4).toString(),
                  goods.value(5).toString(), goods.value(6).toString(), NumberText(goods.value(7).toDouble()), MoneyText(amount),
                  goods.value(0).toString()});
    }
    for (int i = 0; i < sold.Count(); ++i)
        rows.Add(sold.Line(i));
    rows.AddTotal(QStringLiteral("货款合计"), sales);
    rows.AddSection(QStringLiteral("退　货"));
    for (int i = 0; i < returned.Count(); ++i)
        rows.Add(returned.Line(i));
    rows.AddTotal(QStringLiteral("退货合计"), returns);
    rows.AddTotal(QStringLiteral("实际货款"), sales - returns);
    rows.AddSection(QStringLiteral("其它应收"));

    const double other = AddLines(
        Run(db_, QStringLiteral("Select SGDate, SGSum From SG Where SGCustomer = ? And SGDate Between ? And ? Order By SGDate"),
            {name, first, last}),
        rows,
        [](QSqlQuery &q, const QString &amount) {
            return QStringList{DateText(q.value(0).toDate()), {}, {}, {}, {}, {}, {}, amount};
        },
        1);
    rows.AddTotal(QStringLiteral("应收合计"), other);

    // Carried in: the customer's goods, money on real accounts and other receivables before the month.
    QSqlQuery before = Run(db_, QStringLiteral("Select Sum(Case When BillKind In ('出货单', '进货单') Then BillSum End), "
                                               "Sum(Case When ") + RealAccount + QStringLiteral(" Then BillMoney End), "
                                               "(Select Sum(SGSum) From SG Where SGCustomer = ? And SGDate < ?) "
                                               "From Bill Where BillUser = ? And BillCreateTime < ?"),
                           {name, first, name, first});
    before.next();
    CustomerSums b;
    b.sales = Fen(before.value(0).toDouble());
    b.paidNet = Fen(before.value(1).toDouble());
    b.other = Fen(before.value(2).toDouble());
    const double carried = b.Debt(opening);
    rows.AddTotal(QStringLiteral("前累计欠款"), carried);
    rows.AddSection(QStringLiteral("本月付款"));

    const double paid = AddLines(
        Run(db_, QStringLiteral("Select BillKind, BillCreateTime, BillMoney From Bill Where BillUser = ? And ") + RealAccount
                     + QStringLiteral(" And BillCreateTime Between ? And ? Order By BillKind, BillCreateTime"),
            {name, first, last}),
        rows,
        [](QSqlQuery &q, const QString &amount) {
            return QStringList{DateText(q.value(1).toDate()), {}, {}, {}, {}, {}, {}, amount, q.value(0).toString()};
        },
        2);
    rows.AddTotal(QStringLiteral("付款合计"), paid);
    rows.AddTotal(QStringLiteral("新累计欠款"), (sales - returns) + carried + other - paid);
}

void THandWrittenReports::CustomerSummary(TReportRows &rows)
{
    const MonthSpan month(day_);
    // Month and before-the-month sums of every customer in one pass over the bills and one over the receivables.
    QSqlQuery q = Run(db_, WithDays(QStringLiteral(
        "Select CustomerName, CustomerOwe, MonthSales, MonthReturns, MonthPaid, BeforeGoods, BeforePaid, MonthOther, BeforeOther "
        "From Customer Left Join (Select BillUser, "
        "  Sum(Case When BillCreateTime >= ?1 And BillKind = '出货单' Then BillSum End) As MonthSales, "
        "  Sum(Case When BillCreateTime >= ?1 And BillKind = '进货单' Then BillSum End) As MonthReturns, "
        "  Sum(Case When BillCreateTime >= ?1 And ") + RealAccount + QStringLiteral(" Then BillMoney End) As MonthPaid, "
        "  Sum(Case When BillCreateTime < ?1 And BillKind In ('出货单', '进货单') Then BillSum End) As BeforeGoods, "
        "  Sum(Case When BillCreateTime < ?1 And ") + RealAccount + QStringLiteral(" Then BillMoney End) As BeforePaid "
        "  From Bill Where BillCreateTime <= ?2 Group By BillUser) On BillUser = CustomerName "
        "Left Join (Select SGCustomer, Sum(Case When SGDate >= ?1 Then SGSum End) As MonthOther, "
        "  Sum(Case When SGDate < ?1 Then SGSum End) As BeforeOther From SG Where SGDate <= ?2 Group By SGCustomer) "
        "  On SGCustomer = CustomerName "
        "Where CustomerIndex > 1 Order By CustomerIndex"), month.first, month.last));
    double total[6] = {};
    bool any = false;
    while (q.next()) {
        any = true;
        CustomerSums m, b;
        m.sales = Fen(q.value(2).toDouble());
        m.returns = Fen(q.value(3).toDouble());
        m.paidNet = Fen(q.value(4).toDouble());
        m.other = Fen(q.value(7).toDouble());
        b.sales = Fen(q.value(5).toDouble());
        b.paidNet = Fen(q.value(6).toDouble());
        b.other = Fen(q.value(8).toDouble());
        const double carried = b.Debt(q.value(1).toDouble());
        const double line[6] = {m.PaidNet(), m.Returns(), m.Sales(), carried, m.Other(),
                                RoundMoney(m.Sales() + carried + m.Other() - m.PaidNet() - m.Returns())};
        AddFigures(rows, q.value(0).toString(), line, total);
    }
    if (any)
        AddGrandTotal(rows, total);
}

void THandWrittenReports::ProductSummary(TReportRows &rows)
{
    const MonthSpan month(day_);
    QSqlQuery q = Run(db_, QStringLiteral(
        "Select ProductName, ProductType, QuantityIn, AmountIn, QuantityOut, AmountOut From Product Left Join ("
        "  Select StoreProduct, Sum(Case When StoreNumber > 0 Then StoreNumber End) As QuantityIn, "
        "  Sum(Case When StoreNumber > 0 Then StoreSum End) As AmountIn, "
        "  Sum(Case When StoreNumber < 0 Then -StoreNumber End) As QuantityOut, "
        "  Sum(Case When StoreNumber < 0 Then StoreSum End) As AmountOut "
        "  From Bill Join Store On StoreBill = BillIndex Where BillCreateTime Between ? And ? Group By StoreProduct) "
        "On StoreProduct = ProductIndex Where ProductIndex > 1 Order By ProductIndex"),
                      {Iso(month.first), Iso(month.last)});
    qint64 quantityIn = 0, quantityOut = 0;
    double amountIn = 0, amountOut = 0, difference = 0;
    bool any = false;
    while (q.next()) {
        any = true;
        const qint64 in = q.value(2).toLongLong(), out = q.value(4).toLongLong();
        const double inAmount = RoundMoney(q.value(3).toDouble()), outAmount = RoundMoney(q.value(5).toDouble());
        const double diff = RoundMoney(outAmount - inAmount);
        quantityIn += in;
        quantityOut += out;
        amountIn += inAmount;
        amountOut += outAmount;
        difference += diff;
        rows.Add({q.value(0).toString(), q.value(1).toString(), QString::number(in), Average(inAmount, in), MoneyText(inAmount),
                  QString::number(out), Average(outAmount, out), MoneyText(outAmount), MoneyText(diff)});
    }
    if (any)
        rows.Add({QStringLiteral("总合计"), QString(), QString::number(quantityIn), QString(), MoneyText(amountIn),
                  QString::number(quantityOut), QString(), MoneyText(amountOut), MoneyText(difference)});
}

void THandWrittenReports::AccountSummary(TReportRows &rows)
{
    const MonthSpan month(day_);
    QSqlQuery q = Run(db_, WithDays(QStringLiteral(
        "Select AccountName, Opening, MoneyIn, MoneyOut From Account Left Join ("
        "  Select BillAccount, Sum(Case When BillCreateTime < ?1 Then BillMoney End) As Opening, "
        "  Sum(Case When BillCreateTime >= ?1 And BillMoney > 0 Then BillMoney End) As MoneyIn, "
        "  Sum(Case When BillCreateTime >= ?1 And BillMoney < 0 Then -BillMoney End) As MoneyOut "
        "  From Bill Where BillCreateTime <= ?2 Group By BillAccount) On BillAccount = AccountIndex "
        "Where AccountIndex > 1 Order By AccountIndex"), month.first, month.last));
    double total[5] = {};
    bool any = false;
    while (q.next()) {
        any = true;
        const double opening = RoundMoney(q.value(1).toDouble()), in = RoundMoney(q.value(2).toDouble()),
                     out = RoundMoney(q.value(3).toDouble());
        const double net = RoundMoney(in - out);
        const double line[5] = {opening, in, out, net, RoundMoney(opening + net)};
        AddFigures(rows, q.value(0).toString(), line, total);
    }
    if (any)
        AddGrandTotal(rows, total);
}

void THandWrittenReports::WriteReportRows(const TReportRows &rows, const QString &title)
{
    if (!db_.transaction())
        qFatal("hand-written report rows: no transaction");
    Run(db_, QStringLiteral("Update PrintReport Set ReportEnable = 0 Where ReportEnable <> 0"));
    QSqlQuery write(db_);
    write.prepare(QStringLiteral("Insert Or Replace Into PrintReport (ReportIndex, ReportEnable, ReportGrid1, ReportGrid2, ReportGrid3, "
                                 "ReportGrid4, ReportGrid5, ReportGrid6, ReportGrid7, ReportGrid8, ReportGrid9) "
                                 "Values (?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int i = 0; i < rows.Count(); ++i) {
        write.bindValue(0, i + 1);
        const QStringList line = rows.Line(i);
        for (int c = 0; c < TReportRows::CellCount; ++c)
            write.bindValue(1 + c, line[c]);
        if (!write.exec())
            qFatal("hand-written report row fails");
    }
    Run(db_, QStringLiteral("Update PrintList Set ListValue = ? Where ListIndex = 1"), {title});
    if (!db_.commit())
        qFatal("hand-written report rows: no commit");
}

void THandWrittenReports::BillPrint(int billIndex)
{
    if (!db_.transaction())
        qFatal("hand-written bill print: no transaction");
    QSqlQuery header = Run(db_, QStringLiteral(
        "Select AccountName, BillIndex, BillKind, BillSerial, BillCreateTime, BillUser, Abs(BillMoney), Abs(BillSum), "
        "Abs(BillSum - BillMoney), BillMan, BillReason, BillType, BillToken, BillRemark "
        "From Bill Join Account On AccountIndex = BillAccount Where BillIndex = ?"),
                           {billIndex});
    header.next();
    QVariantList read;
    for (int i = 0; i < header.record().count(); ++i)
        read << header.value(i);
    const bool sales = header.value(2).toString() == QStringLiteral("出货单");
    Run(db_, QStringLiteral("Update PrintBigFont Set BigFontValue = ? Where BigFontIndex = 1"),
        {FenToCapitals(TotalToFen(MoneyText(header.value(7).toDouble())))});

    // Every print row blank, then the lines over the first ones.
    QStringList columns{QStringLiteral("GridSerial"), QStringLiteral("GridName"), QStringLiteral("GridType")};
    for (int k = 1; k <= 10; ++k)
        columns << QStringLiteral("GridNum%1").arg(k);
    columns << QStringLiteral("GridNumber") << QStringLiteral("GridPrice") << QStringLiteral("GridSum");
    Run(db_, QStringLiteral("Update PrintGrid Set ") + columns.join(QStringLiteral(" = '', ")) + QStringLiteral(" = ''"));
    QSqlQuery lines = Run(db_, QStringLiteral(
        "Select ProductSerial, ProductName, ProductType, StoreNum1, StoreNum2, StoreNum3, StoreNum4, StoreNum5, StoreNum6, "
        "StoreNum7, StoreNum8, StoreNum9, StoreNum10, Abs(StoreNumber), StorePrice, StoreSum "
        "From Store Join Product On ProductIndex = StoreProduct Where StoreBill = ? Order By StoreIndex"),
                          {billIndex});
    QSqlQuery write(db_);
    write.prepare(QStringLiteral("Insert Or Replace Into PrintGrid (GridIndex, ") + columns.join(QStringLiteral(", "))
                  + QStringLiteral(") Values (?") + QStringLiteral(", ?").repeated(int(columns.size())) + QStringLiteral(")"));
    for (int row = 1; lines.next(); ++row) {
        write.bindValue(0, row);
        for (int c = 0; c < 13; ++c)
            write.bindValue(1 + c, lines.value(c).toString());
        write.bindValue(14, lines.value(13).toString());
        write.bindValue(15, NumberText(lines.value(14).toDouble()));
        write.bindValue(16, MoneyText(lines.value(15).toDouble()));
        if (!write.exec())
            qFatal("hand-written print row fails");
    }
    Run(db_, QStringLiteral("Update PrintList Set ListValue = ? Where ListIndex = 1"),
        {sales ? QStringLiteral("产品出货单") : QStringLiteral("产品进货单")});
    // What the report reads.
    QSqlQuery printed = Run(db_, QStringLiteral("Select * From PrintGrid Order By GridIndex"));
    while (printed.next())
        for (int i = 0; i < printed.record().count(); ++i)
            read << printed.value(i);
    if (!db_.commit())
        qFatal("hand-written bill print: no commit");
}

QStringList THandWrittenReports::Search(const QDate &from, const QDate &to)
{
    QSqlQuery q = Run(db_, QStringLiteral(
        "Select BillIndex, BillCreateTime, BillSerial, BillKind, AccountName, BillUser, BillSum, BillMan, BillReason, BillType, "
        "BillToken, BillRemark From Bill Join Account On AccountIndex = BillAccount "
        "Where BillIndex > 1 And BillCreateTime Between ? And ? Order By BillCreateTime"),
                      {Iso(from), Iso(to)});
    QVector<QVector<QVariant>> rows;
    qint64 sum = 0;
    while (q.next()) {
        QVector<QVariant> row(12);
        for (int c = 0; c < 12; ++c)
            row[c] = q.value(c);
        sum += Fen(row[6].toDouble());
        rows.append(std::move(row));
    }
    return {QStringLiteral("共%1条").arg(rows.size()), MoneyText(FenToYuan(sum))};
}

QList<QStringList> THandWrittenReports::SizeStock()
{
    QString sizes;
    for (int k = 1; k <= 10; ++k)
        sizes += QStringLiteral("Sum(Case When StoreNumber < 0 Then -Cast(StoreNum%1 As Integer) Else Cast(StoreNum%1 As Integer) End) "
                                "As Size%1, ")
                     .arg(k);
    QSqlQuery q = Run(db_, QStringLiteral("Select ProductSerial, ProductName, ProductType, Size1, Size2, Size3, Size4, Size5, Size6, "
                                          "Size7, Size8, Size9, Size10, Total From Product Left Join (Select StoreProduct, ")
                               + sizes
                               + QStringLiteral("Sum(StoreNumber) As Total From Store Join Bill On BillIndex = StoreBill "
                                                "Where BillCreateTime <= ? Group By StoreProduct) On StoreProduct = ProductIndex "
                                                "Where ProductIndex > 1 Order By ProductName"),
                      {Iso(day_)});
    QList<QStringList> list;
    while (q.next()) {
        QStringList line{q.value(0).toString(), q.value(1).toString(), q.value(2).toString()};
        for (int c = 3; c < 14; ++c)
            line << QString::number(q.value(c).toLongLong());
        list << line;
    }
    return list;
}
