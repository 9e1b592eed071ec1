#include "reports/MonthlyReports.h"

#include "figures/AccountFigures.h"
#include "figures/CustomerFigures.h"
#include "figures/ProductFigures.h"
#include "reports/ReportRows.h"
#include "shell/MonthSpan.h"
#include "shell/Money.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

#include <functional>

namespace MonthlyReports {

namespace {
const QString failure = QStringLiteral("数据库打开失败");

QString DateCell(TQuery &q, const QString &column)
{
    // A time of day other than midnight is kept after the date.
    const QString stored = q.FieldByName(column).AsString();
    const QString time = stored.mid(11).trimmed();
    QString text = DateText(q.FieldByName(column).AsDate());
    if (!time.isEmpty() && time != QLatin1String("00:00:00") && time != QLatin1String("00:00"))
        text += QLatin1Char(' ') + time;
    return text;
}

QString Yuan(double amount) { return MoneyText(amount); }

// A summary's list of records, then its figures; an empty list gives no report.
enum class Listed { Failed, Empty, Ready };
Listed OpenList(TQuery &list, const SqlText &sql, const std::function<bool()> &loadFigures)
{
    if (!RunQuery(list, sql, failure))
        return Listed::Failed;
    if (list.IsEmpty())
        return Listed::Empty;
    return loadFigures() ? Listed::Ready : Listed::Failed;
}

// A line of a caption and amounts, the grand total line among them.
void AddAmounts(TReportRows &rows, const QString &caption, const double *amounts, int count)
{
    QStringList cells{caption};
    for (int i = 0; i < count; ++i)
        cells << Yuan(amounts[i]);
    rows.Add(cells);
}

// The goods lines of one kind; gives the sum of what they print.
bool GoodsLines(int customerIndex, const MonthSpan &month, const QString &kind, TReportRows &rows, double &sum)
{
    TQuery q(QStringLiteral("StatementLines"));
    if (!RunQuery(q,
                  SqlText(QStringLiteral("Select BillKind,BillCreateTime,BillSerial,ProductName,ProductType,ProductSerial,StoreNumber,"
                                         "StorePrice,StoreSum From Customer,Product,Bill,Store Where (BillKind = ?) "
                                         "And (StoreBill = BillIndex) And (StoreProduct = ProductIndex) And (BillUser = CustomerName) "
                                         "And (CustomerIndex = "),
                          {kind})
                      + QString::number(customerIndex) + QStringLiteral(") And ")
                      + month.BetweenSql(QStringLiteral("BillCreateTime")) + QStringLiteral(" Order By BillKind,BillCreateTime"),
                  failure))
        return false;
    for (q.First(); !q.Eof(); q.Next()) {
        const double lineSum = RoundMoney(q.FieldByName(QStringLiteral("StoreSum")).AsFloat());
        sum += lineSum;
        rows.Add({DateCell(q, QStringLiteral("BillCreateTime")), q.FieldByName(QStringLiteral("BillSerial")).AsString(),
                  q.FieldByName(QStringLiteral("ProductSerial")).AsString(), q.FieldByName(QStringLiteral("ProductName")).AsString(),
                  q.FieldByName(QStringLiteral("ProductType")).AsString(),
                  QString::number(qAbs(q.FieldByName(QStringLiteral("StoreNumber")).AsInteger())),
                  NumberText(q.FieldByName(QStringLiteral("StorePrice")).AsFloat()), Yuan(lineSum),
                  q.FieldByName(QStringLiteral("BillKind")).AsString()});
    }
    return true;
}
} // namespace

bool CustomerStatement(int customerIndex, const QDate &day, TReportRows &rows)
{
    const MonthSpan month(day);
    TQuery customer(QStringLiteral("StatementCustomer"));
    if (!RunQuery(customer, QStringLiteral("Select * From Customer Where CustomerIndex = ") + QString::number(customerIndex), failure))
        return false;
    customer.First();
    const QString name = customer.FieldByName(QStringLiteral("CustomerName")).AsString();
    const double opening = customer.FieldByName(QStringLiteral("CustomerOwe")).AsFloat();

    double sales = 0, returns = 0, other = 0, paid = 0;
    if (!GoodsLines(customerIndex, month, QStringLiteral("出货单"), rows, sales))
        return false;
    rows.AddTotal(QStringLiteral("货款合计"), sales);
    rows.AddSection(QStringLiteral("退　货"));
    if (!GoodsLines(customerIndex, month, QStringLiteral("进货单"), rows, returns))
        return false;
    rows.AddTotal(QStringLiteral("退货合计"), returns);
    rows.AddTotal(QStringLiteral("实际货款"), sales - returns);
    rows.AddSection(QStringLiteral("其它应收"));

    TQuery q(QStringLiteral("StatementOther"));
    if (!RunQuery(q, SqlText(QStringLiteral("Select * From SG Where (SGCustomer = ?) And "), {name})
                         + month.BetweenSql(QStringLiteral("SGDate")) + QStringLiteral(" Order By SGDate"),
                  failure))
        return false;
    for (q.First(); !q.Eof(); q.Next()) {
        const double amount = RoundMoney(q.FieldByName(QStringLiteral("SGSum")).AsFloat());
        other += amount;
        rows.Add({DateCell(q, QStringLiteral("SGDate")), QString(), QString(), QString(), QString(), QString(), QString(),
                  Yuan(amount)});
    }
    rows.AddTotal(QStringLiteral("应收合计"), other);

    // Carried in: everything before the month, money counted in and out on real accounts.
    TCustomerFigures before;
    if (!before.LoadCustomer(name, month.first.addDays(-1)))
        return false;
    const double carried = before.Of(name).Debt(opening);
    rows.AddTotal(QStringLiteral("前累计欠款"), carried);
    rows.AddSection(QStringLiteral("本月付款"));

    if (!RunQuery(q,
                  QStringLiteral("Select BillKind,BillCreateTime,BillSerial,BillMoney From Account,Customer,Bill Where "
                                 "(AccountIndex > 1) And (AccountIndex = BillAccount) And (BillUser = CustomerName) And "
                                 "(CustomerIndex = ")
                      + QString::number(customerIndex) + QStringLiteral(") And ")
                      + month.BetweenSql(QStringLiteral("BillCreateTime")) + QStringLiteral(" Order By BillKind,BillCreateTime"),
                  failure))
        return false;
    for (q.First(); !q.Eof(); q.Next()) {
        const double amount = RoundMoney(q.FieldByName(QStringLiteral("BillMoney")).AsFloat());
        paid += amount;
        rows.Add({DateCell(q, QStringLiteral("BillCreateTime")), QString(), QString(), QString(), QString(), QString(),
                  QString(), Yuan(amount), q.FieldByName(QStringLiteral("BillKind")).AsString()});
    }
    rows.AddTotal(QStringLiteral("付款合计"), paid);
    rows.AddTotal(QStringLiteral("新累计欠款"), (sales - returns) + carried + other - paid);
    return true;
}

bool CustomerSummary(const QString &region, const QDate &day, TReportRows &rows)
{
    const MonthSpan month(day);
    TQuery list(QStringLiteral("SummaryCustomers"));
    const SqlText sql = region.isEmpty() || region == QStringLiteral("所有")
                            ? SqlText(QStringLiteral("Select * From Customer Where CustomerIndex > 1"))
                            : SqlText(QStringLiteral("Select * From Customer Where (CustomerIndex > 1) And (CustomerRegion = ?)"), {region});
    TCustomerFigures inMonth, before;
    const Listed listed = OpenList(list, sql + QStringLiteral(" Order By CustomerIndex"), [&] {
        return inMonth.Load(month.last, month.first) && before.Load(month.first.addDays(-1));
    });
    if (listed != Listed::Ready)
        return listed == Listed::Empty;
    double total[6] = {};
    for (list.First(); !list.Eof(); list.Next()) {
        const QString name = list.FieldByName(QStringLiteral("CustomerName")).AsString();
        const CustomerSums m = inMonth.Of(name);
        const double paid = m.PaidNet(), returns = m.Returns(), sales = m.Sales(), other = m.Other();
        const double carried = before.Of(name).Debt(list.FieldByName(QStringLiteral("CustomerOwe")).AsFloat());
        const double owed = RoundMoney(sales + carried + other - paid - returns);
        const double line[6] = {paid, returns, sales, carried, other, owed};
        for (int i = 0; i < 6; ++i)
            total[i] += line[i];
        AddAmounts(rows, name, line, 6);
    }
    AddAmounts(rows, QStringLiteral("总合计"), total, 6);
    return true;
}

bool ProductSummary(const QDate &day, TReportRows &rows)
{
    TQuery list(QStringLiteral("SummaryProducts"));
    TProductFigures figures;
    const Listed listed = OpenList(list, QStringLiteral("Select * From Product Where ProductIndex > 1 Order By ProductIndex"),
                                   [&] { return figures.LoadMonth(day); });
    if (listed != Listed::Ready)
        return listed == Listed::Empty;
    auto average = [](double amount, int quantity) {
        return QString::number(quantity == 0 ? 0.0 : RoundMoney(amount / quantity), 'f', 2);
    };
    qint64 quantityIn = 0, quantityOut = 0;
    double amountIn = 0, amountOut = 0, difference = 0;
    for (list.First(); !list.Eof(); list.Next()) {
        const ProductMonth m = figures.MonthOf(list.FieldByName(QStringLiteral("ProductIndex")).AsInteger());
        const double diff = RoundMoney(m.amountOut - m.amountIn);
        quantityIn += m.quantityIn;
        quantityOut += m.quantityOut;
        amountIn += m.amountIn;
        amountOut += m.amountOut;
        difference += diff;
        rows.Add({list.FieldByName(QStringLiteral("ProductName")).AsString(), list.FieldByName(QStringLiteral("ProductType")).AsString(),
                  QString::number(m.quantityIn), average(m.amountIn, m.quantityIn), Yuan(m.amountIn),
                  QString::number(m.quantityOut), average(m.amountOut, m.quantityOut), Yuan(m.amountOut), Yuan(diff)});
    }
    rows.Add({QStringLiteral("总合计"), QString(), QString::number(quantityIn), QString(), Yuan(amountIn),
              QString::number(quantityOut), QString(), Yuan(amountOut), Yuan(difference)});
    return true;
}

bool AccountSummary(const QDate &day, TReportRows &rows)
{
    TQuery list(QStringLiteral("SummaryAccounts"));
    TAccountFigures figures;
    const Listed listed = OpenList(list, QStringLiteral("Select * From Account Where AccountIndex > 1 Order By AccountIndex"),
                                   [&] { return figures.LoadMonth(day); });
    if (listed != Listed::Ready)
        return listed == Listed::Empty;
    double total[5] = {};
    for (list.First(); !list.Eof(); list.Next()) {
        const AccountMonth m = figures.MonthOf(list.FieldByName(QStringLiteral("AccountIndex")).AsInteger());
        const double net = RoundMoney(m.in - m.out);
        const double line[5] = {m.opening, m.in, m.out, net, RoundMoney(m.opening + net)};
        for (int i = 0; i < 5; ++i)
            total[i] += line[i];
        AddAmounts(rows, list.FieldByName(QStringLiteral("AccountName")).AsString(), line, 5);
    }
    AddAmounts(rows, QStringLiteral("总合计"), total, 5);
    return true;
}

} // namespace MonthlyReports
