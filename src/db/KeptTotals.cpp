#include "db/KeptTotals.h"

#include "db/SqlEngine.h"
#include "db/Money.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QVector>
#include <algorithm>

namespace KeptTotals {

namespace {
constexpr int Sizes = 10;

QString Col(const QString &row, const char *name) { return row + QString::fromLatin1(name); }
QString StoreNum(int k, const QString &row) { return row + QStringLiteral("StoreNum%1").arg(k + 1); }
QString FenOrZero(const QString &e, const TSqlEngine &engine)
{
    return QStringLiteral("Coalesce(") + FenSql(e, engine) + QStringLiteral(", 0)");
}

QStringList ProductColumns()
{
    QStringList columns{QStringLiteral("KeptPieces")};
    for (int k = 0; k < Sizes; ++k)
        columns << QStringLiteral("KeptSize%1").arg(k + 1);
    columns << QStringLiteral("KeptOdd");
    return columns;
}

QStringList LineValues(const QString &row, const TSqlEngine &e)
{
    QStringList values{LinePieces(row)};
    for (int k = 0; k < Sizes; ++k)
        values << LineSize(k, row, e);
    values << LineOdd(row, e);
    return values;
}

// "Insert ... On Conflict Do Update" adding the values to what is kept.
QString AddTo(const QString &table, const QString &key, const QStringList &columns, const QString &select)
{
    QStringList sets;
    for (const QString &c : columns)
        sets << QStringLiteral("%1 = %2.%1 + excluded.%1").arg(c, table);
    return QStringLiteral("Insert Into %1 (%2, %3) %4 On Conflict (%2) Do Update Set %5")
        .arg(table, key, columns.join(QStringLiteral(", ")), select, sets.join(QStringLiteral(", ")));
}

QString Signed(const QString &e, int sign) { return sign < 0 ? QStringLiteral("-(") + e + QLatin1Char(')') : e; }

// A bill row's part of its customer's and its account's totals.
QStringList BillParts(const QString &row, int sign, const TSqlEngine &e)
{
    const QString customer = AddTo(QStringLiteral("KeptCustomer"), QStringLiteral("KeptName"),
                                   {QStringLiteral("KeptSales"), QStringLiteral("KeptReturns"), QStringLiteral("KeptPaid")},
                                   QStringLiteral("Select %1, %2, %3, %4 Where true")
                                       .arg(Col(row, "BillUser"), Signed(SalesFen(row, e), sign), Signed(ReturnsFen(row, e), sign),
                                            Signed(PaidFen(row, e), sign)));
    const QString account = AddTo(QStringLiteral("KeptAccount"), QStringLiteral("KeptAccount"), {QStringLiteral("KeptMoney")},
                                  QStringLiteral("Select %1, %2 Where true").arg(Col(row, "BillAccount"), Signed(MoneyFen(row, e), sign)));
    return {customer, account};
}

// The lines of bill `bill` added to (or taken from) their products' totals.
QString LinesOfBill(const QString &bill, int sign, const TSqlEngine &e)
{
    QStringList sums;
    for (const QString &v : LineValues(QString(), e))
        sums << Signed(QStringLiteral("Sum(") + v + QLatin1Char(')'), sign);
    return AddTo(QStringLiteral("KeptProduct"), QStringLiteral("KeptProduct"), ProductColumns(),
                 QStringLiteral("Select StoreProduct, %1 From Store Where StoreBill = %2 Group By StoreProduct")
                     .arg(sums.join(QStringLiteral(", ")), bill));
}

// One line row, counted only while its bill exists (a line without a bill is in no figure).
QString OneLine(const QString &row, int sign, const TSqlEngine &e)
{
    QStringList values;
    for (const QString &v : LineValues(row, e))
        values << Signed(v, sign);
    return AddTo(QStringLiteral("KeptProduct"), QStringLiteral("KeptProduct"), ProductColumns(),
                 QStringLiteral("Select %1, %2 Where Exists (Select 1 From Bill Where BillIndex = %3)")
                     .arg(Col(row, "StoreProduct"), values.join(QStringLiteral(", ")), Col(row, "StoreBill")));
}

QString OneOther(const QString &row, int sign, const TSqlEngine &e)
{
    return AddTo(QStringLiteral("KeptCustomer"), QStringLiteral("KeptName"), {QStringLiteral("KeptOther")},
                 QStringLiteral("Select %1, %2 Where true").arg(Col(row, "SGCustomer"), Signed(OtherFen(row, e), sign)));
}

// The money of the bills booked on an account that comes or goes.
QString PaidOnAccount(const QString &account, int sign, const TSqlEngine &e)
{
    return AddTo(QStringLiteral("KeptCustomer"), QStringLiteral("KeptName"), {QStringLiteral("KeptPaid")},
                 QStringLiteral("Select BillUser, %1 From Bill Where BillAccount = %2 And %2 > 1 Group By BillUser")
                     .arg(Signed(QStringLiteral("Sum(") + MoneyFen(QString(), e) + QLatin1Char(')'), sign), account));
}

} // namespace

QString SalesFen(const QString &row, const TSqlEngine &e)
{
    return QStringLiteral("(Case When %1 = '出货单' Then %2 Else 0 End)").arg(Col(row, "BillKind"), FenOrZero(Col(row, "BillSum"), e));
}

QString ReturnsFen(const QString &row, const TSqlEngine &e)
{
    return QStringLiteral("(Case When %1 = '进货单' Then %2 Else 0 End)").arg(Col(row, "BillKind"), FenOrZero(Col(row, "BillSum"), e));
}

QString PaidFen(const QString &row, const TSqlEngine &e)
{
    // The placeholder account 1 holds goods bills saved without payment.
    return QStringLiteral("(Case When %1 > 1 And Exists (Select 1 From Account Where AccountIndex = %1) Then %2 Else 0 End)")
        .arg(Col(row, "BillAccount"), FenOrZero(Col(row, "BillMoney"), e));
}

QString MoneyFen(const QString &row, const TSqlEngine &e) { return FenOrZero(Col(row, "BillMoney"), e); }
QString OtherFen(const QString &row, const TSqlEngine &e) { return FenOrZero(Col(row, "SGSum"), e); }
QString LinePieces(const QString &row) { return QStringLiteral("Coalesce(%1, 0)").arg(Col(row, "StoreNumber")); }

QString SizeValue(int k, const QString &row, const TSqlEngine &e)
{
    const QString c = StoreNum(k, row);
    return QStringLiteral("(Case When %1 Then %2 Else 0 End)").arg(e.IsDigits(c), e.DigitsValue(c));
}

QString LineSize(int k, const QString &row, const TSqlEngine &e)
{
    // Goods go out on a line of negative pieces.
    return QStringLiteral("(Case When %1 < 0 Then -%2 Else %2 End)").arg(Col(row, "StoreNumber"), SizeValue(k, row, e));
}

QString SumOfSizes(const QString &row, const TSqlEngine &e)
{
    QStringList values;
    for (int k = 0; k < Sizes; ++k)
        values << SizeValue(k, row, e);
    return QStringLiteral("(") + values.join(QStringLiteral(" + ")) + QStringLiteral(")");
}

QString OddSizeText(const QString &row, const TSqlEngine &e)
{
    QStringList odd;
    for (int k = 0; k < Sizes; ++k)
        odd << QStringLiteral("(%1 <> '' And Not %2)").arg(StoreNum(k, row), e.IsDigits(StoreNum(k, row)));
    return QStringLiteral("(") + odd.join(QStringLiteral(" Or ")) + QStringLiteral(")");
}

QString LineOdd(const QString &row, const TSqlEngine &e)
{
    return QStringLiteral("(Case When (Abs(%1) <> %2) Or %3 Then 1 Else 0 End)")
        .arg(Col(row, "StoreNumber"), SumOfSizes(row, e), OddSizeText(row, e));
}

QStringList TableNames()
{
    return {QStringLiteral("KeptCustomer"), QStringLiteral("KeptAccount"), QStringLiteral("KeptProduct")};
}

QStringList Statements(const TSqlEngine &e)
{
    QStringList product;
    for (const QString &c : ProductColumns())
        product << c + QStringLiteral(" INTEGER NOT NULL DEFAULT 0");
    QStringList s = e.Translated({
        QStringLiteral("Create Table KeptCustomer (KeptName TEXT PRIMARY KEY, KeptSales INTEGER NOT NULL DEFAULT 0, "
                       "KeptReturns INTEGER NOT NULL DEFAULT 0, KeptPaid INTEGER NOT NULL DEFAULT 0, "
                       "KeptOther INTEGER NOT NULL DEFAULT 0)"),
        QStringLiteral("Create Table KeptAccount (KeptAccount INTEGER PRIMARY KEY, KeptMoney INTEGER NOT NULL DEFAULT 0)"),
        QStringLiteral("Create Table KeptProduct (KeptProduct INTEGER PRIMARY KEY, %1)").arg(product.join(QStringLiteral(", "))),
    });
    const QString N = QStringLiteral("NEW."), O = QStringLiteral("OLD.");
    const QString bill = QStringLiteral("Bill"), line = QStringLiteral("Store"), other = QStringLiteral("SG"),
                  account = QStringLiteral("Account");
    const QString added = QStringLiteral("Insert"), removed = QStringLiteral("Delete"), changed = QStringLiteral("Update");
    auto trigger = [&](const QString &name, const QString &event, const QString &table, const QStringList &body,
                       const QString &when = QString()) { s << e.Trigger(name, event, table, body, when); };
    trigger(QStringLiteral("KeptBillAdded"), added, bill, BillParts(N, 1, e) << LinesOfBill(QStringLiteral("NEW.BillIndex"), 1, e));
    trigger(QStringLiteral("KeptBillRemoved"), removed, bill, BillParts(O, -1, e) << LinesOfBill(QStringLiteral("OLD.BillIndex"), -1, e));
    trigger(QStringLiteral("KeptBillChanged"), changed, bill, BillParts(O, -1, e) + BillParts(N, 1, e));
    // A bill given another key leaves its old lines and takes those of the new key.
    trigger(QStringLiteral("KeptBillRekeyed"), QStringLiteral("Update Of BillIndex"), bill,
            {LinesOfBill(QStringLiteral("OLD.BillIndex"), -1, e), LinesOfBill(QStringLiteral("NEW.BillIndex"), 1, e)},
            QStringLiteral("OLD.BillIndex <> NEW.BillIndex"));
    trigger(QStringLiteral("KeptLineAdded"), added, line, {OneLine(N, 1, e)});
    trigger(QStringLiteral("KeptLineRemoved"), removed, line, {OneLine(O, -1, e)});
    trigger(QStringLiteral("KeptLineChanged"), changed, line, {OneLine(O, -1, e), OneLine(N, 1, e)});
    trigger(QStringLiteral("KeptOtherAdded"), added, other, {OneOther(N, 1, e)});
    trigger(QStringLiteral("KeptOtherRemoved"), removed, other, {OneOther(O, -1, e)});
    trigger(QStringLiteral("KeptOtherChanged"), changed, other, {OneOther(O, -1, e), OneOther(N, 1, e)});
    // Money counts for a customer only on an account that exists.
    trigger(QStringLiteral("KeptAccountAdded"), added, account, {PaidOnAccount(QStringLiteral("NEW.AccountIndex"), 1, e)});
    trigger(QStringLiteral("KeptAccountRemoved"), removed, account, {PaidOnAccount(QStringLiteral("OLD.AccountIndex"), -1, e)});
    trigger(QStringLiteral("KeptAccountRekeyed"), QStringLiteral("Update Of AccountIndex"), account,
            {PaidOnAccount(QStringLiteral("OLD.AccountIndex"), -1, e), PaidOnAccount(QStringLiteral("NEW.AccountIndex"), 1, e)},
            QStringLiteral("OLD.AccountIndex <> NEW.AccountIndex"));
    return s;
}

QString RawCustomerSql(const TSqlEngine &e)
{
    return QStringLiteral("Select KeptName, Sum(KeptSales) As KeptSales, Sum(KeptReturns) As KeptReturns, "
                          "Sum(KeptPaid) As KeptPaid, Sum(KeptOther) As KeptOther From ("
                          "Select BillUser As KeptName, %1 As KeptSales, %2 As KeptReturns, %3 As KeptPaid, 0 As KeptOther From Bill "
                          "Union All Select SGCustomer, 0, 0, 0, %4 From SG) KeptRows Group By KeptName")
        .arg(SalesFen(QString(), e), ReturnsFen(QString(), e), PaidFen(QString(), e), OtherFen(QString(), e));
}

QString RawAccountSql(const TSqlEngine &e)
{
    return QStringLiteral("Select BillAccount As KeptAccount, Sum(%1) As KeptMoney From Bill Group By BillAccount")
        .arg(MoneyFen(QString(), e));
}

QString RawProductSql(const TSqlEngine &e)
{
    const QStringList columns = ProductColumns();
    const QStringList values = LineValues(QString(), e);
    QStringList sums;
    for (int i = 0; i < columns.size(); ++i)
        sums << QStringLiteral("Sum(%1) As %2").arg(values[i], columns[i]);
    return QStringLiteral("Select StoreProduct As KeptProduct, %1 From Store Where StoreBill In (Select BillIndex From Bill) "
                          "Group By StoreProduct")
        .arg(sums.join(QStringLiteral(", ")));
}

namespace {
struct Kind {
    QString table, raw, label;
};

QList<Kind> Kinds(const TSqlEngine &e)
{
    return {{QStringLiteral("KeptCustomer"), RawCustomerSql(e), QStringLiteral("客户 ")},
            {QStringLiteral("KeptAccount"), RawAccountSql(e), QStringLiteral("帐户 ")},
            {QStringLiteral("KeptProduct"), RawProductSql(e), QStringLiteral("货品 ")}};
}
} // namespace

bool Rebuild(QSqlDatabase &db, QString *error)
{
    QSqlQuery q(db);
    for (const Kind &kind : Kinds(TSqlEngine::Of(db)))
        if (!q.exec(QStringLiteral("Delete From ") + kind.table)
            || !q.exec(QStringLiteral("Insert Into %1 Select * From (%2) KeptRows").arg(kind.table, kind.raw))) {
            if (error)
                *error = q.lastError().text();
            return false;
        }
    return true;
}

QString LockStatement(const QString &table, int count, const TSqlEngine &engine)
{
    if (!engine.IsServer() || count <= 0)
        return QString();
    // Rows are inserted (or met) in the order of the values, each locked as it is.
    // The update leaves the key alone: a new index entry would wait on others.
    const QString key = table == QLatin1String("KeptCustomer") ? QStringLiteral("KeptName") : table;
    const QString column = table == QLatin1String("KeptCustomer") ? QStringLiteral("KeptSales")
                           : table == QLatin1String("KeptAccount") ? QStringLiteral("KeptMoney")
                                                                   : QStringLiteral("KeptPieces");
    QStringList values;
    for (int i = 0; i < count; ++i)
        values << QStringLiteral("(?)");
    return QStringLiteral("Insert Into %1 (%2) Values %3 On Conflict (%2) Do Update Set %4 = %1.%4")
        .arg(table, key, values.join(QStringLiteral(", ")), column);
}

QStringList Differences(QSqlDatabase &db, bool *ok)
{
    // Each side is read once and compared here: the raw sums cost a pass over
    // every row, and a compare in SQL would add them up twice.
    QStringList found;
    *ok = true;
    auto read = [&db, ok](const QString &sql) {
        QHash<QString, QVector<qint64>> rows;
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.exec(sql)) {
            *ok = false;
            return rows;
        }
        const int n = q.record().count();
        while (q.next()) {
            QVector<qint64> sums(n - 1);
            bool zero = true;
            for (int i = 1; i < n; ++i)
                zero = (sums[i - 1] = q.value(i).toLongLong()) == 0 && zero;
            // A row of nothing but zeros is the same as no row.
            if (!zero)
                rows.insert(q.value(0).toString(), sums);
        }
        if (q.lastError().isValid())
            *ok = false;
        return rows;
    };
    for (const Kind &kind : Kinds(TSqlEngine::Of(db))) {
        const QHash<QString, QVector<qint64>> kept = read(QStringLiteral("Select * From ") + kind.table);
        const QHash<QString, QVector<qint64>> raw = read(kind.raw);
        if (!*ok)
            return {};
        QStringList keys;
        for (auto i = kept.cbegin(); i != kept.cend(); ++i)
            if (raw.value(i.key()) != i.value())
                keys << i.key();
        for (auto i = raw.cbegin(); i != raw.cend(); ++i)
            if (!kept.contains(i.key()))
                keys << i.key();
        std::sort(keys.begin(), keys.end());
        for (const QString &key : std::as_const(keys))
            found << kind.label + key;
    }
    return found;
}

} // namespace KeptTotals
