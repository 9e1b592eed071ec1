#include "db/KeptTotals.h"

#include "shell/Money.h"

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
QString Whole(const QString &c) { return QStringLiteral("(%1 <> '' And %1 Not Glob '*[^0-9]*')").arg(c); }
QString FenOrZero(const QString &e) { return QStringLiteral("Coalesce(") + FenSql(e) + QStringLiteral(", 0)"); }

QStringList ProductColumns()
{
    QStringList columns{QStringLiteral("KeptPieces")};
    for (int k = 0; k < Sizes; ++k)
        columns << QStringLiteral("KeptSize%1").arg(k + 1);
    columns << QStringLiteral("KeptOdd");
    return columns;
}

QStringList LineValues(const QString &row)
{
    QStringList values{LinePieces(row)};
    for (int k = 0; k < Sizes; ++k)
        values << LineSize(k, row);
    values << LineOdd(row);
    return values;
}

// "Insert ... On Conflict Do Update" adding the values to what is kept.
QString AddTo(const QString &table, const QString &key, const QStringList &columns, const QString &select)
{
    QStringList sets;
    for (const QString &c : columns)
        sets << QStringLiteral("%1 = %1 + excluded.%1").arg(c);
    return QStringLiteral("Insert Into %1 (%2, %3) %4 On Conflict (%2) Do Update Set %5")
        .arg(table, key, columns.join(QStringLiteral(", ")), select, sets.join(QStringLiteral(", ")));
}

QString Signed(const QString &e, int sign) { return sign < 0 ? QStringLiteral("-(") + e + QLatin1Char(')') : e; }

// A bill row's part of its customer's and its account's totals.
QStringList BillParts(const QString &row, int sign)
{
    const QString customer = AddTo(QStringLiteral("KeptCustomer"), QStringLiteral("KeptName"),
                                   {QStringLiteral("KeptSales"), QStringLiteral("KeptReturns"), QStringLiteral("KeptPaid")},
                                   QStringLiteral("Select %1, %2, %3, %4 Where true")
                                       .arg(Col(row, "BillUser"), Signed(SalesFen(row), sign), Signed(ReturnsFen(row), sign),
                                            Signed(PaidFen(row), sign)));
    const QString account = AddTo(QStringLiteral("KeptAccount"), QStringLiteral("KeptAccount"), {QStringLiteral("KeptMoney")},
                                  QStringLiteral("Select %1, %2 Where true").arg(Col(row, "BillAccount"), Signed(MoneyFen(row), sign)));
    return {customer, account};
}

// The lines of bill `bill` added to (or taken from) their products' totals.
QString LinesOfBill(const QString &bill, int sign)
{
    QStringList sums;
    for (const QString &v : LineValues(QString()))
        sums << Signed(QStringLiteral("Sum(") + v + QLatin1Char(')'), sign);
    return AddTo(QStringLiteral("KeptProduct"), QStringLiteral("KeptProduct"), ProductColumns(),
                 QStringLiteral("Select StoreProduct, %1 From Store Where StoreBill = %2 Group By StoreProduct")
                     .arg(sums.join(QStringLiteral(", ")), bill));
}

// One line row, counted only while its bill exists (a line without a bill is in no figure).
QString OneLine(const QString &row, int sign)
{
    QStringList values;
    for (const QString &v : LineValues(row))
        values << Signed(v, sign);
    return AddTo(QStringLiteral("KeptProduct"), QStringLiteral("KeptProduct"), ProductColumns(),
                 QStringLiteral("Select %1, %2 Where Exists (Select 1 From Bill Where BillIndex = %3)")
                     .arg(Col(row, "StoreProduct"), values.join(QStringLiteral(", ")), Col(row, "StoreBill")));
}

QString OneOther(const QString &row, int sign)
{
    return AddTo(QStringLiteral("KeptCustomer"), QStringLiteral("KeptName"), {QStringLiteral("KeptOther")},
                 QStringLiteral("Select %1, %2 Where true").arg(Col(row, "SGCustomer"), Signed(OtherFen(row), sign)));
}

// The money of the bills booked on an account that comes or goes.
QString PaidOnAccount(const QString &account, int sign)
{
    return AddTo(QStringLiteral("KeptCustomer"), QStringLiteral("KeptName"), {QStringLiteral("KeptPaid")},
                 QStringLiteral("Select BillUser, %1 From Bill Where BillAccount = %2 And %2 > 1 Group By BillUser")
                     .arg(Signed(QStringLiteral("Sum(") + MoneyFen() + QLatin1Char(')'), sign), account));
}

QString Trigger(const QString &name, const QString &event, const QStringList &body, const QString &when = QString())
{
    return QStringLiteral("Create Trigger %1 After %2 For Each Row%3 Begin\n  %4;\nEnd")
        .arg(name, event, when.isEmpty() ? QString() : QStringLiteral(" When ") + when, body.join(QStringLiteral(";\n  ")));
}
} // namespace

QString SalesFen(const QString &row)
{
    return QStringLiteral("(Case When %1 = '出货单' Then %2 Else 0 End)").arg(Col(row, "BillKind"), FenOrZero(Col(row, "BillSum")));
}

QString ReturnsFen(const QString &row)
{
    return QStringLiteral("(Case When %1 = '进货单' Then %2 Else 0 End)").arg(Col(row, "BillKind"), FenOrZero(Col(row, "BillSum")));
}

QString PaidFen(const QString &row)
{
    // The placeholder account 1 holds goods bills saved without payment.
    return QStringLiteral("(Case When %1 > 1 And Exists (Select 1 From Account Where AccountIndex = %1) Then %2 Else 0 End)")
        .arg(Col(row, "BillAccount"), FenOrZero(Col(row, "BillMoney")));
}

QString MoneyFen(const QString &row) { return FenOrZero(Col(row, "BillMoney")); }
QString OtherFen(const QString &row) { return FenOrZero(Col(row, "SGSum")); }
QString LinePieces(const QString &row) { return QStringLiteral("Coalesce(%1, 0)").arg(Col(row, "StoreNumber")); }

QString SizeValue(int k, const QString &row)
{
    const QString c = StoreNum(k, row);
    return QStringLiteral("(Case When %1 Then Cast(%2 As Integer) Else 0 End)").arg(Whole(c), c);
}

QString LineSize(int k, const QString &row)
{
    // Goods go out on a line of negative pieces.
    return QStringLiteral("(Case When %1 < 0 Then -%2 Else %2 End)").arg(Col(row, "StoreNumber"), SizeValue(k, row));
}

QString SumOfSizes(const QString &row)
{
    QStringList values;
    for (int k = 0; k < Sizes; ++k)
        values << SizeValue(k, row);
    return QStringLiteral("(") + values.join(QStringLiteral(" + ")) + QStringLiteral(")");
}

QString OddSizeText(const QString &row)
{
    QStringList odd;
    for (int k = 0; k < Sizes; ++k)
        odd << QStringLiteral("(%1 <> '' And Not %2)").arg(StoreNum(k, row), Whole(StoreNum(k, row)));
    return QStringLiteral("(") + odd.join(QStringLiteral(" Or ")) + QStringLiteral(")");
}

QString LineOdd(const QString &row)
{
    return QStringLiteral("(Case When (Abs(%1) <> %2) Or %3 Then 1 Else 0 End)")
        .arg(Col(row, "StoreNumber"), SumOfSizes(row), OddSizeText(row));
}

QStringList TableNames()
{
    return {QStringLiteral("KeptCustomer"), QStringLiteral("KeptAccount"), QStringLiteral("KeptProduct")};
}

QStringList Statements()
{
    QStringList product;
    for (const QString &c : ProductColumns())
        product << c + QStringLiteral(" INTEGER NOT NULL DEFAULT 0");
    QStringList s{
        QStringLiteral("Create Table KeptCustomer (KeptName TEXT PRIMARY KEY, KeptSales INTEGER NOT NULL DEFAULT 0, "
                       "KeptReturns INTEGER NOT NULL DEFAULT 0, KeptPaid INTEGER NOT NULL DEFAULT 0, "
                       "KeptOther INTEGER NOT NULL DEFAULT 0)"),
        QStringLiteral("Create Table KeptAccount (KeptAccount INTEGER PRIMARY KEY, KeptMoney INTEGER NOT NULL DEFAULT 0)"),
        QStringLiteral("Create Table KeptProduct (KeptProduct INTEGER PRIMARY KEY, %1)").arg(product.join(QStringLiteral(", "))),
    };
    const QString N = QStringLiteral("NEW."), O = QStringLiteral("OLD.");
    s << Trigger(QStringLiteral("KeptBillAdded"), QStringLiteral("Insert On Bill"),
                 BillParts(N, 1) << LinesOfBill(QStringLiteral("NEW.BillIndex"), 1));
    s << Trigger(QStringLiteral("KeptBillRemoved"), QStringLiteral("Delete On Bill"),
                 BillParts(O, -1) << LinesOfBill(QStringLiteral("OLD.BillIndex"), -1));
    s << Trigger(QStringLiteral("KeptBillChanged"), QStringLiteral("Update On Bill"), BillParts(O, -1) + BillParts(N, 1));
    // A bill given another key leaves its old lines and takes those of the new key.
    s << Trigger(QStringLiteral("KeptBillRekeyed"), QStringLiteral("Update Of BillIndex On Bill"),
                 {LinesOfBill(QStringLiteral("OLD.BillIndex"), -1), LinesOfBill(QStringLiteral("NEW.BillIndex"), 1)},
                 QStringLiteral("OLD.BillIndex <> NEW.BillIndex"));
    s << Trigger(QStringLiteral("KeptLineAdded"), QStringLiteral("Insert On Store"), {OneLine(N, 1)});
    s << Trigger(QStringLiteral("KeptLineRemoved"), QStringLiteral("Delete On Store"), {OneLine(O, -1)});
    s << Trigger(QStringLiteral("KeptLineChanged"), QStringLiteral("Update On Store"), {OneLine(O, -1), OneLine(N, 1)});
    s << Trigger(QStringLiteral("KeptOtherAdded"), QStringLiteral("Insert On SG"), {OneOther(N, 1)});
    s << Trigger(QStringLiteral("KeptOtherRemoved"), QStringLiteral("Delete On SG"), {OneOther(O, -1)});
    s << Trigger(QStringLiteral("KeptOtherChanged"), QStringLiteral("Update On SG"), {OneOther(O, -1), OneOther(N, 1)});
    // Money counts for a customer only on an account that exists.
    s << Trigger(QStringLiteral("KeptAccountAdded"), QStringLiteral("Insert On Account"),
                 {PaidOnAccount(QStringLiteral("NEW.AccountIndex"), 1)});
    s << Trigger(QStringLiteral("KeptAccountRemoved"), QStringLiteral("Delete On Account"),
                 {PaidOnAccount(QStringLiteral("OLD.AccountIndex"), -1)});
    s << Trigger(QStringLiteral("KeptAccountRekeyed"), QStringLiteral("Update Of AccountIndex On Account"),
                 {PaidOnAccount(QStringLiteral("OLD.AccountIndex"), -1), PaidOnAccount(QStringLiteral("NEW.AccountIndex"), 1)},
                 QStringLiteral("OLD.AccountIndex <> NEW.AccountIndex"));
    return s;
}

QString RawCustomerSql()
{
    return QStringLiteral("Select KeptName, Sum(KeptSales) As KeptSales, Sum(KeptReturns) As KeptReturns, "
                          "Sum(KeptPaid) As KeptPaid, Sum(KeptOther) As KeptOther From ("
                          "Select BillUser As KeptName, %1 As KeptSales, %2 As KeptReturns, %3 As KeptPaid, 0 As KeptOther From Bill "
                          "Union All Select SGCustomer, 0, 0, 0, %4 From SG) Group By KeptName")
        .arg(SalesFen(), ReturnsFen(), PaidFen(), OtherFen());
}

QString RawAccountSql()
{
    return QStringLiteral("Select BillAccount As KeptAccount, Sum(%1) As KeptMoney From Bill Group By BillAccount").arg(MoneyFen());
}

QString RawProductSql()
{
    const QStringList columns = ProductColumns();
    const QStringList values = LineValues(QString());
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

QList<Kind> Kinds()
{
    return {{QStringLiteral("KeptCustomer"), RawCustomerSql(), QStringLiteral("客户 ")},
            {QStringLiteral("KeptAccount"), RawAccountSql(), QStringLiteral("帐户 ")},
            {QStringLiteral("KeptProduct"), RawProductSql(), QStringLiteral("货品 ")}};
}
} // namespace

bool Rebuild(QSqlDatabase &db, QString *error)
{
    QSqlQuery q(db);
    for (const Kind &kind : Kinds())
        if (!q.exec(QStringLiteral("Delete From ") + kind.table)
            || !q.exec(QStringLiteral("Insert Into %1 Select * From (%2)").arg(kind.table, kind.raw))) {
            if (error)
                *error = q.lastError().text();
            return false;
        }
    return true;
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
    for (const Kind &kind : Kinds()) {
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
