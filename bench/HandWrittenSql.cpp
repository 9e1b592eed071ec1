#include "HandWrittenSql.h"

#include "figures/CustomerFigures.h"
#include "db/Money.h"
#include "core/MonthSpan.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVariant>

QSqlQuery THandWrittenSql::Run(QSqlDatabase &db, const QString &sql, const QVariantList &values)
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        qFatal("hand-written SQL does not prepare: %s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values[i]);
    if (!q.exec())
        qFatal("hand-written SQL fails: %s\n%s", qPrintable(q.lastError().text()), qPrintable(sql));
    return q;
}

namespace {
QString Iso(const QDate &date) { return date.toString(Qt::ISODate); }

// The day's or the month's bills of two kinds, largest first, as the bill pages list them.
QStringList BillList(QSqlDatabase &db, const QDate &day, const QString &kinds, const QString &amount, bool withPaid)
{
    QSqlQuery q = THandWrittenSql::Run(db, QStringLiteral("Select BillIndex, BillUser, BillKind, BillSum, BillMoney From Bill "
                                         "Where BillIndex > 1 And BillKind In (%1) And BillCreateTime = ? Order By %2 Desc")
                              .arg(kinds, amount),
                      {Iso(day)});
    const int column = amount == QLatin1String("BillSum") ? 3 : 4;
    double total = 0;
    QStringList shown;
    while (q.next()) {
        const double value = RoundMoney(q.value(column).toDouble());
        if (shown.isEmpty()) {
            shown << MoneyText(qAbs(value));
            if (withPaid)
                shown << MoneyText(qAbs(q.value(4).toDouble()));
        }
        total += value;
    }
    shown.prepend(MoneyText(total));
    return shown;
}
} // namespace

THandWrittenSql::THandWrittenSql(QSqlDatabase db, const QDate &day) : db_(std::move(db)), day_(day) {}

QStringList THandWrittenSql::CustomerPage()
{
    const QString day = Iso(day_);
    QSqlQuery q = Run(db_, QStringLiteral(
        "Select CustomerOwe, Goods, PaidNet, Other From Customer "
        "Left Join (Select BillUser, Sum(Case When BillKind In ('出货单', '进货单') Then BillSum End) As Goods, "
        "  Sum(Case When BillAccount In (Select AccountIndex From Account Where AccountIndex > 1) "
        "    Then BillMoney End) As PaidNet "
        "  From Bill Where BillCreateTime <= ? Group By BillUser) On BillUser = CustomerName "
        "Left Join (Select SGCustomer, Sum(SGSum) As Other From SG Where SGDate <= ? Group By SGCustomer) "
        "  On SGCustomer = CustomerName "
        "Where CustomerIndex > 1 Order By CustomerIndex"),
                      {day, day});
    double total = 0;
    QStringList shown;
    while (q.next()) {
        CustomerSums sums;
        sums.sales = Fen(q.value(1).toDouble());
        sums.paidNet = Fen(q.value(2).toDouble());
        sums.other = Fen(q.value(3).toDouble());
        if (shown.isEmpty())
            shown << MoneyText(sums.Goods()) << MoneyText(sums.Debt(q.value(0).toDouble()));
        total += sums.Goods();
    }
    shown.prepend(MoneyText(total));
    return shown;
}

QStringList THandWrittenSql::GoodsBillPage()
{
    return BillList(db_, day_, QStringLiteral("'出货单', '进货单'"), QStringLiteral("BillSum"), true);
}

QStringList THandWrittenSql::FinanceBillPage()
{
    return BillList(db_, day_, QStringLiteral("'财务收入单', '财务支出单'"), QStringLiteral("BillMoney"), false);
}

QStringList THandWrittenSql::StockPage()
{
    // Only the fifteen shown products are summed; the rest are counted.
    QSqlQuery q = Run(db_, QStringLiteral(
        "Select ProductPrice, (Select Sum(StoreNumber) From Store Join Bill On BillIndex = StoreBill "
        "  Where StoreProduct = ProductIndex And BillCreateTime <= ?) "
        "From (Select ProductIndex, ProductPrice From Product Where ProductIndex > 1 Order By ProductName Limit 15)"),
                      {Iso(day_)});
    QStringList shown;
    while (q.next()) {
        const qint64 quantity = q.value(1).toLongLong();
        if (shown.isEmpty())
            shown << QString::number(quantity) << MoneyText(q.value(0).toDouble() * double(quantity));
    }
    QSqlQuery count = Run(db_, QStringLiteral("Select Count(*) From Product Where ProductIndex > 1"));
    count.next();
    shown.prepend(QString::number(count.value(0).toLongLong()));
    return shown;
}

QStringList THandWrittenSql::AccountPage()
{
    const MonthSpan month(day_);
    QSqlQuery q = Run(db_, QStringLiteral(
        "Select Sum(Case When BillCreateTime <= ? Then BillMoney End), Sum(Case When BillCreateTime >= ? Then BillMoney End) "
        "From Account Left Join Bill On BillAccount = AccountIndex And BillCreateTime <= ? "
        "Where AccountIndex > 1 Group By AccountIndex Order By AccountIndex"),
                      {Iso(day_), Iso(month.first), Iso(month.last)});
    double total = 0;
    QStringList shown;
    while (q.next()) {
        const double balance = RoundMoney(q.value(0).toDouble());
        if (shown.isEmpty())
            shown << MoneyText(balance) << MoneyText(q.value(1).toDouble());
        total += balance;
    }
    shown.prepend(MoneyText(total));
    return shown;
}

void THandWrittenSql::AllPages()
{
    CustomerPage();
    GoodsBillPage();
    FinanceBillPage();
    StockPage();
    AccountPage();
}

void THandWrittenSql::OpenGoodsBill(int billIndex, bool sales)
{
    QStringList read;
    auto readAll = [&read](QSqlQuery q) {
        while (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                read << q.value(i).toString();
    };
    QSqlQuery header = Run(db_, QStringLiteral("Select BillUser, AccountName, BillCreateTime, BillReason, BillType, BillToken, BillMoney, "
                                               "BillSum, BillRemark, BillSerial, BillAccount From Bill Join Account On AccountIndex = BillAccount "
                                               "Where BillIndex = ?"),
                           {billIndex});
    header.next();
    const QString user = header.value(0).toString();
    readAll(std::move(header));
    readAll(Run(db_, QStringLiteral("Select CustomerIndex From Customer Where CustomerName = ?"), {user}));
    readAll(Run(db_, QStringLiteral("Select StoreProduct, ProductSerial, ProductName, ProductType, StoreNum1, StoreNum2, StoreNum3, "
                                    "StoreNum4, StoreNum5, StoreNum6, StoreNum7, StoreNum8, StoreNum9, StoreNum10, StoreNumber, "
                                    "StorePrice, StoreSum From Store Join Product On ProductIndex = StoreProduct "
                                    "Where StoreBill = ? Order By StoreIndex"),
                {billIndex}));
    // The editor sums a line's stock per size only when the user enters its sizes.
    Q_UNUSED(sales);
    readAll(Run(db_, QStringLiteral("Select AccountName From Account Where AccountIndex > 1")));
    readAll(Run(db_, QStringLiteral("Select ParameterType, ParameterValue From Parameter Order By ParameterType, ParameterIndex")));
    readAll(Run(db_, QStringLiteral("Select CustomerName From Customer Where CustomerIndex > 1")));
}

void THandWrittenSql::Keystroke(const QString &serial, int customerIndex)
{
    QSqlQuery product = Run(db_, QStringLiteral("Select ProductIndex, ProductName, ProductType, ProductPrice From Product "
                                                "Where ProductSerial = ? Limit 1"),
                            {serial});
    if (!product.next())
        return;
    const int index = product.value(0).toInt();
    QSqlQuery price = Run(db_, QStringLiteral("Select PriceValue From Price Where PriceCustomer = ? And PriceProduct = ?"),
                          {customerIndex, index});
    price.next();
}

bool THandWrittenSql::SaveGoodsBill(const QString &customer, int account, const QList<NewLine> &lines, const QString &serial)
{
    if (!db_.transaction())
        return false;
    double total = 0;
    for (const NewLine &l : lines) {
        int pieces = 0;
        for (int n : l.sizes)
            pieces += n;
        total += pieces * l.price;
    }
    const QString today = Iso(day_);
    QSqlQuery bill = Run(db_, QStringLiteral("Insert Into Bill (BillKind, BillAccount, BillRecordTime, BillCreateTime, BillUser, "
                                             "BillReason, BillType, BillToken, BillSum, BillMoney, BillRemark, BillSerial, BillMan) "
                                             "Values ('出货单', ?, ?, ?, ?, '货款', '现金', '收据', ?, ?, '', ?, '')"),
                         {account, today, today, customer, total, total, serial});
    const qint64 billIndex = bill.lastInsertId().toLongLong();
    QSqlQuery line(db_);
    line.prepare(QStringLiteral("Insert Into Store (StoreBill, StoreProduct, StoreNum1, StoreNum2, StoreNum3, StoreNum4, StoreNum5, "
                                "StoreNum6, StoreNum7, StoreNum8, StoreNum9, StoreNum10, StoreNumber, StorePrice, StoreSum) "
                                "Values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    for (int s = 0; s < 6; ++s) {
        const NewLine empty{0, {}, 0};
        const NewLine &l = s < lines.size() ? lines[s] : empty;
        int pieces = 0;
        line.bindValue(0, billIndex);
        line.bindValue(1, l.product);
        for (int z = 0; z < 10; ++z) {
            line.bindValue(2 + z, l.sizes[z] ? QString::number(l.sizes[z]) : QStringLiteral(""));
            pieces += l.sizes[z];
        }
        line.bindValue(12, -pieces);
        line.bindValue(13, l.price);
        line.bindValue(14, pieces * l.price);
        if (!line.exec())
            qFatal("hand-written insert fails: %s", qPrintable(line.lastError().text()));
    }
    Run(db_, QStringLiteral("Update Setting Set SettingValue = ? Where SettingIndex = 1"), {serial});
    return db_.commit();
}

QSqlDatabase THandWrittenSql::OpenLike(const QSqlDatabase &model, const QString &name)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setConnectOptions(model.connectOptions());
    db.setDatabaseName(model.databaseName());
    if (!db.open())
        qFatal("cannot open %s: %s", qPrintable(model.databaseName()), qPrintable(db.lastError().text()));
    // The settings the program gives its connection on opening.
    QSqlQuery read(model);
    QSqlQuery write(db);
    for (const char *pragma : {"cache_size", "mmap_size", "temp_store"}) {
        if (read.exec(QStringLiteral("PRAGMA %1").arg(QLatin1String(pragma))) && read.next())
            write.exec(QStringLiteral("PRAGMA %1 = %2").arg(QLatin1String(pragma), read.value(0).toString()));
        read.finish();
    }
    return db;
}
