#include "reports/MonthlyReports.h"

#include "figures/AccountFigures.h"
#include "figures/CustomerFigures.h"
#include "figures/ProductFigures.h"
#include "reports/ReportRows.h"
#include "core/MonthSpan.h"
#include "db/Money.h"
#include "core/NumberTexts.h"
#include "db/Queries.h"
#include "core/SqlText.h"
#include "db/ShareDM.h"

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

// A line of a caption and amounts, the grand total line among them; adds
// them to the totals in whole fen.
void AddAmounts(TReportRows &rows, const QString &caption, const double *amounts, qint64 *totals, int count)
{
    QStringList cells{caption};
    for (int i = 0; i < count; ++i) {
        cells << Yuan(amounts[i]);
        totals[i] += Fen(amounts[i]);
    }
    rows.Add(cells);
}

void AddTotals(TReportRows &rows, const QString &caption, const qint64 *totals, int count)
{
    QStringList cells{caption};
    for (int i = 0; i < count; ++i)
        cells << Yuan(FenToYuan(totals[i]));
    rows.Add(cells);
}

// The goods lines of one kind, as they were sold or returned.
bool GoodsLines(int customerIndex, const MonthSpan &month, const QString &kind, TReportRows &rows)
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

    // The totals are the customer's figures, the very ones the card and the
    // customer window show: bills count by their totals, as they were printed.
    TCustomerFigures before, inMonth;
    if (!before.LoadCustomer(name, month.first.addDays(-1)) || !inMonth.LoadCustomer(name, month.last, month.first))
        return false;
    const CustomerSums m = inMonth.Of(name);
    const double carried = before.Of(name).Debt(opening);   // everything before the month

    if (!GoodsLines(customerIndex, month, QStringLiteral("出货单"), rows))
        return false;
    rows.AddTotal(QStringLiteral("货款合计"), m.Sales());
    rows.AddSection(QStringLiteral("退　货"));
    if (!GoodsLines(customerIndex, month, QStringLiteral("进货单"), rows))
        return false;
    rows.AddTotal(QStringLiteral("退货合计"), m.Returns());
    rows.AddTotal(QStringLiteral("实际货款"), m.Goods());
    rows.AddSection(QStringLiteral("其它应收"));

    TQuery q(QStringLiteral("StatementOther"));
    if (!RunQuery(q, SqlText(QStringLiteral("Select * From SG Where (SGCustomer = ?) And "), {name})
                         + month.BetweenSql(QStringLiteral("SGDate")) + QStringLiteral(" Order By SGDate"),
                  failure))
        return false;
    for (q.First(); !q.Eof(); q.Next()) {
        const double amount = RoundMoney(q.FieldByName(QStringLiteral("SGSum")).AsFloat());
        rows.Add({DateCell(q, QStringLiteral("SGDate")), QString(), QString(), QString(), QString(), QString(), QString(),
                  Yuan(amount)});
    }
    rows.AddTotal(QStringLiteral("应收合计"), m.Other());
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
        rows.Add({DateCell(q, QStringLiteral("BillCreateTime")), QString(), QString(), QString(), QString(), QString(),
                  QString(), Yuan(amount), q.FieldByName(QStringLiteral("BillKind")).AsString()});
    }
    rows.AddTotal(QStringLiteral("付款合计"), m.PaidNet());
    // The month's movement on top of the debt carried in: the debt as of the month's end.
    rows.AddTotal(QStringLiteral("新累计欠款"), m.Debt(carried));
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
    qint64 total[6] = {};
    for (list.First(); !list.Eof(); list.Next()) {
        const QString name = list.FieldByName(QStringLiteral("CustomerName")).AsString();
        const CustomerSums m = inMonth.Of(name);
        const double carried = before.Of(name).Debt(list.FieldByName(QStringLiteral("CustomerOwe")).AsFloat());
        const double line[6] = {m.PaidNet(), m.Returns(), m.Sales(), carried, m.Other(), m.Debt(carried)};
        AddAmounts(rows, name, line, total, 6);
    }
    AddTotals(rows, QStringLiteral("总合计"), total, 6);
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
    qint64 amountIn = 0, amountOut = 0, difference = 0;   // fen
    for (list.First(); !list.Eof(); list.Next()) {
        const ProductMonth m = figures.MonthOf(list.FieldByName(QStringLiteral("ProductIndex")).AsInteger());
        const double diff = RoundMoney(m.amountOut - m.amountIn);
        quantityIn += m.quantityIn;
        quantityOut += m.quantityOut;
        amountIn += Fen(m.amountIn);
        amountOut += Fen(m.amountOut);
        difference += Fen(diff);
        rows.Add({list.FieldByName(QStringLiteral("ProductName")).AsString(), list.FieldByName(QStringLiteral("ProductType")).AsString(),
                  QString::number(m.quantityIn), average(m.amountIn, m.quantityIn), Yuan(m.amountIn),
                  QString::number(m.quantityOut), average(m.amountOut, m.quantityOut), Yuan(m.amountOut), Yuan(diff)});
    }
    rows.Add({QStringLiteral("总合计"), QString(), QString::number(quantityIn), QString(), Yuan(FenToYuan(amountIn)),
              QString::number(quantityOut), QString(), Yuan(FenToYuan(amountOut)), Yuan(FenToYuan(difference))});
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
    qint64 total[5] = {};
    for (list.First(); !list.Eof(); list.Next()) {
        const AccountMonth m = figures.MonthOf(list.FieldByName(QStringLiteral("AccountIndex")).AsInteger());
        const double net = RoundMoney(m.in - m.out);
        const double line[5] = {m.opening, m.in, m.out, net, RoundMoney(m.opening + net)};
        AddAmounts(rows, list.FieldByName(QStringLiteral("AccountName")).AsString(), line, total, 5);
    }
    AddTotals(rows, QStringLiteral("总合计"), total, 5);
    return true;
}

} // namespace MonthlyReports
