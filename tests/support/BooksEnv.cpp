#include "support/BooksEnv.h"

#include "core/Clock.h"
#include "core/Notice.h"
#include "core/ProgramFiles.h"
#include "core/Session.h"
#include "db/Schema.h"
#include "db/ShareDM.h"
#include "db/SqlDialect.h"
#include "db/SqlEngine.h"
#include "support/TestServer.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

bool NoticeScript::Ask(const QString &caption, const QString &text)
{
    questions << caption + QLatin1Char('|') + text;
    if (answers.empty())
        return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

QStringList NoticeScript::WhatFailed() const
{
    QStringList cut;
    for (const QString &message : messages)
        cut << message.left(message.indexOf(QStringLiteral("\n原因：")));
    return cut;
}

QByteArray FileBytes(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString &file, const QByteArray &data)
{
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(data), data.size());
}

BooksEnv::BooksEnv(Db db) : BooksEnv(db, true) {}

BooksEnv::BooksEnv(Db db, bool withBooksObject) : booksObject_(withBooksObject)
{
    Q_ASSERT(dir_.isValid());
    SetProgramDirOverride(dir_.path());
    if (db == Db::Fresh && TestServer::Enabled()) {
        server_ = TestServer::NewBooks();
        ProgramDir = Dir();   // as the main window sets it, for the registry beside the program
        QString error;
        if (!TDataSource::RegisterServer(server_, &error))
            qFatal("cannot register the test server: %s", qPrintable(error));
    } else if (db != Db::None) {
        QString error;
        if (!Schema::CreateDatabase(DatabaseFile(), &error))
            qFatal("cannot make the test database: %s", qPrintable(error));
    }
    Clock::Fix(QDate(2024, 3, 15));
    if (booksObject_) {
        // What the main window would set, and the books object it would make.
        ProgramDir = Dir();
        IniFileName = Dir() + QStringLiteral("Kestrova.ini");
        Notice::Install([this](const QString &text) { notices.Tell(text); },
                        [this](const QString &caption, const QString &question) { return notices.Ask(caption, question); });
        Session = new TSession;
        ShareDataModule = new TShareDataModule;
    }
}

BooksEnv::~BooksEnv()
{
    if (booksObject_) {
        delete ShareDataModule;
        ShareDataModule = nullptr;
        delete Session;
        Session = nullptr;
        Notice::Install({}, {});
    }
    Clock::Fix(QDate());
    SetProgramDirOverride(QString());
    if (!server_.database.isEmpty())
        TestServer::Drop(server_);
}

bool BooksEnv::OnServer() { return TestServer::Enabled(); }

QString BooksEnv::Dir() const { return dir_.path() + QLatin1Char('/'); }

// SQLite writes a real number with at least one decimal; so does every test, on either engine.
static QString RowValueText(const QVariant &v)
{
    if (v.isNull())
        return QString();
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
        QString text = QString::number(v.toDouble(), 'g', 15);
        if (!text.contains(QLatin1Char('.')) && !text.contains(QLatin1Char('e')) && !text.contains(QLatin1Char('n')))
            text += QStringLiteral(".0");
        return text;
    }
    return v.toString();
}

void BooksEnv::Exec(const QString &sql, const QVariantList &params) { ShareDataModule->Exec(sql, params); }

QVariant BooksEnv::Scalar(const QString &sql, const QVariantList &params)
{
    QSqlQuery q(ShareDataModule->Connection());
    bool ran = false;
    if (params.isEmpty()) {
        ran = q.exec(TranslateSql(sql));   // as the data module runs a statement without values
    } else if (q.prepare(TranslateSql(sql))) {
        for (const QVariant &v : params)
            q.addBindValue(v);
        ran = q.exec();
    }
    if (!ran || !q.next())
        return QVariant();
    return q.value(0);
}

QString BooksEnv::Rows(const QString &sql, const QString &format, const QString &separator, const QVariantList &params)
{
    QSqlQuery q(ShareDataModule->Connection());
    bool ran = false;
    if (params.isEmpty()) {
        ran = q.exec(TranslateSql(sql));
    } else if (q.prepare(TranslateSql(sql))) {
        for (const QVariant &v : params)
            q.addBindValue(v);
        ran = q.exec();
    }
    if (!ran) {
        qWarning("Rows: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
        return QStringLiteral("<failed>");
    }
    QStringList rows;
    while (q.next()) {
        QString row = format;
        for (int i = q.record().count() - 1; i >= 0; --i)   // %10 before %1
            row.replace(QLatin1Char('%') + QString::number(i + 1), RowValueText(q.value(i)));
        rows << row;
    }
    return rows.join(separator);
}

QStringList BooksEnv::AllRows()
{
    QStringList rows;
    for (const Schema::Table &table : Schema::Tables()) {
        if (table.derived)
            continue;
        QSqlQuery q(ShareDataModule->Connection());
        if (!q.exec(QStringLiteral("Select * From %1 Order By 1").arg(table.name)))
            rows << table.name + QStringLiteral(" unreadable: ") + q.lastError().text();
        while (q.next()) {
            QString row = table.name;
            for (int i = 0; i < q.record().count(); ++i)
                row += QLatin1Char('|') + RowValueText(q.value(i));
            rows << row;
        }
    }
    return rows;
}

void BooksEnv::Refuse(const QString &event, const QString &table, const QString &condition)
{
    // A row no engine takes: the write that makes the trigger insert it fails whole.
    static int made = 0;
    ++made;
    ShareDataModule->Exec(QStringLiteral("Create Table If Not Exists Refusal (RefusalReason TEXT NOT NULL CHECK (RefusalReason = ''))"));
    const TSqlEngine &engine = TSqlEngine::Of(ShareDataModule->Connection());
    const QString name = QStringLiteral("Refuse%1%2%3").arg(QString(event).remove(QLatin1Char(' ')), table).arg(made);
    const QString insert = QStringLiteral("Insert Into Refusal (RefusalReason) Select 'refused'")
                           + (condition.isEmpty() ? QString() : QStringLiteral(" Where ") + condition);
    for (const QString &statement : engine.Trigger(name, event, table, {insert}, QString()))
        ShareDataModule->Exec(statement);
}

QStringList QueryPlan(const SqlText &sql)
{
    QSqlQuery q(ShareDataModule->Connection());
    QStringList plan;
    if (!q.prepare(QStringLiteral("EXPLAIN QUERY PLAN ") + TranslateSql(sql.text)))
        return plan;
    for (const QVariant &v : sql.params)
        q.addBindValue(v);
    if (!q.exec())
        return plan;
    while (q.next())
        plan << q.value(3).toString();
    return plan;
}

static int LastKey()
{
    QSqlQuery q(ShareDataModule->Connection());
    q.exec(TSqlEngine::Of(ShareDataModule->Connection()).IsServer() ? QStringLiteral("Select lastval()")
                                                                      : QStringLiteral("Select last_insert_rowid()"));
    q.next();
    return q.value(0).toInt();
}

int BooksEnv::AddCustomer(const QString &name, const QString &region, double owe)
{
    Exec(QStringLiteral("Insert Into Customer (CustomerName, CustomerRegion, CustomerOwe) Values (?, ?, ?)"), {name, region, owe});
    return LastKey();
}

int BooksEnv::AddAccount(const QString &name)
{
    Exec(QStringLiteral("Insert Into Account (AccountName) Values (?)"), {name});
    return LastKey();
}

int BooksEnv::AddProduct(const QString &name, const QString &type, double price, const QString &serial)
{
    Exec(QStringLiteral("Insert Into Product (ProductName, ProductType, ProductPrice, ProductSerial) Values (?, ?, ?, ?)"),
         {name, type, price, serial});
    return LastKey();
}

int BooksEnv::AddBill(const QString &kind, const QString &user, const QDate &date, double sum, double money, int account)
{
    Exec(QStringLiteral("Insert Into Bill (BillKind, BillAccount, BillRecordTime, BillCreateTime, BillUser, BillSum, BillMoney) "
                        "Values (?, ?, ?, ?, ?, ?, ?)"),
         {kind, account, date.toString(Qt::ISODate), date.toString(Qt::ISODate), user, sum, money});
    return LastKey();
}

void BooksEnv::AddLine(int bill, int product, int number)
{
    Exec(QStringLiteral("Insert Into Store (StoreBill, StoreProduct, StoreNum1, StoreNumber) Values (?, ?, ?, ?)"),
         {bill, product, QString::number(qAbs(number)), number});
}

void BooksEnv::AddSG(const QString &customer, const QDate &date, double sum, const QString &remark)
{
    Exec(QStringLiteral("Insert Into SG (SGCustomer, SGDate, SGSum, SGRemark) Values (?, ?, ?, ?)"),
         {customer, date.toString(Qt::ISODate), sum, remark});
}
