#include "ShopGenerator.h"

#include "SeededRandom.h"
#include "db/Schema.h"
#include "db/Money.h"
#include "core/NumberTexts.h"
#include "core/ProgramFiles.h"
#include "db/ShareDM.h"
#include "stores/BillNumbers.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVector>
#include <cmath>

namespace {
// Bump when the rows written change, so an older shop is made again.
const char *GeneratorVersion = "shop-3";
constexpr std::uint64_t Seed = 20261130;

const QString Sales = QStringLiteral("出货单");
const QString Purchase = QStringLiteral("进货单");
const QString Income = QStringLiteral("财务收入单");
const QString Expense = QStringLiteral("财务支出单");

const QStringList Reasons = {QStringLiteral("货款"), QStringLiteral("订金"), QStringLiteral("退款"), QStringLiteral("运费"),
                             QStringLiteral("房租"), QStringLiteral("工资"), QStringLiteral("水电"), QStringLiteral("杂费")};
const QStringList Categories = {QStringLiteral("现金"), QStringLiteral("转帐"), QStringLiteral("支票"), QStringLiteral("汇款")};
const QStringList Vouchers = {QStringLiteral("收据"), QStringLiteral("发票"), QStringLiteral("银行回单"), QStringLiteral("无凭证")};

// A prepared insert that reports the first failure.
class Insert {
public:
    Insert(QSqlDatabase &db, const QString &sql) : q_(db) { ok_ = q_.prepare(sql); }
    bool Run(const QVariantList &values)
    {
        if (!ok_)
            return false;
        // An empty text is stored empty, never NULL, as the program's own writes do.
        for (int i = 0; i < values.size(); ++i)
            q_.bindValue(i, values[i].userType() == QMetaType::QString && values[i].toString().isNull() ? QVariant(QStringLiteral(""))
                                                                                                      : values[i]);
        ok_ = q_.exec();
        return ok_;
    }
    qint64 LastKey() const { return q_.lastInsertId().toLongLong(); }
    QString Error() const { return q_.lastError().text(); }

private:
    QSqlQuery q_;
    bool ok_;
};

QString Iso(const QDate &date) { return date.toString(Qt::ISODate); }

// An amount as the user types it and the program reads it back.
double Typed(double amount) { return TextToFloatLenient(NumberText(RoundMoney(amount))); }
} // namespace

TShopGenerator::TShopGenerator(int scale) : scale_(qMax(1, scale))
{
    size_.goodsBills *= scale_;
    size_.financeBills *= scale_;
    size_.years *= scale_;
}

QDate TShopGenerator::LastDay() { return QDate(2026, 11, 30); }

QString TShopGenerator::Stamp() const
{
    const QByteArray schema = QCryptographicHash::hash(Schema::Text().toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("%1 scale %2 schema %3\n").arg(QLatin1String(GeneratorVersion)).arg(scale_).arg(QLatin1String(schema));
}

bool TShopGenerator::Ensure(const QString &folder, QString *error, bool *made)
{
    if (made)
        *made = false;
    QDir().mkpath(folder);
    const QString file = folder + QStringLiteral("/Kestrova.mdb");
    const QString stampFile = folder + QStringLiteral("/shop.stamp");
    QFile stamp(stampFile);
    if (QFile::exists(file) && stamp.open(QIODevice::ReadOnly) && QString::fromUtf8(stamp.readAll()) == Stamp())
        return true;
    stamp.close();
    // Made by an older generator or schema, or never finished: make it again.
    QFile::remove(stampFile);
    QFile::remove(file);
    const QString temp = folder + QStringLiteral("/.Kestrova.mdb.new");
    QFile::remove(temp);
    if (!Write(temp, error)) {
        QFile::remove(temp);
        return false;
    }
    QFile out(stampFile + QStringLiteral(".new"));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(Stamp().toUtf8()) < 0 || !out.flush()) {
        *error = QStringLiteral("cannot write %1").arg(out.fileName());
        return false;
    }
    out.close();
    if (!QFile::rename(temp, file) || !QFile::rename(out.fileName(), stampFile)) {
        *error = QStringLiteral("cannot move the new shop into %1").arg(folder);
        return false;
    }
    if (made)
        *made = true;
    return true;
}

bool TShopGenerator::Write(const QString &file, QString *error)
{
    if (!Schema::CreateDatabase(file, error))
        return false;
    const QString name = QStringLiteral("bench-shop-generator");
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        if (!db.open()) {
            *error = db.lastError().text();
        } else {
            // This file is scratch until it is complete: no journal, no syncing.
            QSqlQuery pragma(db);
            for (const char *sql : {"PRAGMA journal_mode=OFF", "PRAGMA synchronous=OFF", "PRAGMA cache_size=-262144"})
                pragma.exec(QString::fromLatin1(sql));
            pragma.finish();
            ok = db.transaction() && Fill(db, error) && db.commit();
            if (!ok && error->isEmpty())
                *error = db.lastError().text();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

bool TShopGenerator::Fill(QSqlDatabase &db, QString *error)
{
    TSeededRandom rnd(Seed + std::uint64_t(scale_));
    auto failed = [error](const Insert &insert) {
        *error = insert.Error();
        return false;
    };
    auto pick = [&rnd](const QStringList &list) { return list[rnd.Below(int(list.size()))]; };

    // Accounts 2 and up; row 1 is the placeholder of goods bills without payment.
    {
        const QStringList banks = {QStringLiteral("现金"), QStringLiteral("工商银行"), QStringLiteral("建设银行"), QStringLiteral("农业银行"),
                                   QStringLiteral("中国银行"), QStringLiteral("招商银行"), QStringLiteral("邮政储蓄"), QStringLiteral("支付宝"),
                                   QStringLiteral("微信"), QStringLiteral("农村信用社")};
        Insert account(db, QStringLiteral("Insert Into Account (AccountName) Values (?)"));
        for (int i = 0; i < size_.accounts; ++i) {
            const QString bank = banks[i % banks.size()];
            if (!account.Run({i < banks.size() ? bank : bank + QStringLiteral(" 尾号%1").arg(1000 + i * 37)}))
                return failed(account);
        }
    }
    {
        Insert parameter(db, QStringLiteral("Insert Into Parameter (ParameterType, ParameterValue) Values (?, ?)"));
        const QStringList *lists[3] = {&Reasons, &Categories, &Vouchers};
        for (int type = 1; type <= 3; ++type)
            for (const QString &value : *lists[type - 1])
                if (!parameter.Run({type, value}))
                    return failed(parameter);
    }

    // Customers: unique names, a few with a quote or a space in them.
    QStringList customers;
    {
        const QStringList cities = {QStringLiteral("温州"), QStringLiteral("泉州"), QStringLiteral("晋江"), QStringLiteral("广州"),
                                    QStringLiteral("成都"), QStringLiteral("武汉"), QStringLiteral("郑州"), QStringLiteral("杭州"),
                                    QStringLiteral("义乌"), QStringLiteral("石狮"), QStringLiteral("莆田"), QStringLiteral("东莞")};
        const QStringList surnames = {QStringLiteral("陈"), QStringLiteral("林"), QStringLiteral("黄"), QStringLiteral("张"),
                                      QStringLiteral("李"), QStringLiteral("王"), QStringLiteral("吴"), QStringLiteral("刘"),
                                      QStringLiteral("蔡"), QStringLiteral("郑"), QStringLiteral("许"), QStringLiteral("周")};
        const QStringList trades = {QStringLiteral("鞋行"), QStringLiteral("鞋业"), QStringLiteral("鞋店"), QStringLiteral("商行"),
                                    QStringLiteral("贸易"), QStringLiteral("鞋城"), QStringLiteral("皮具")};
        const QStringList regions = {QStringLiteral("本地"), QStringLiteral("本地"), QStringLiteral("本地"), QStringLiteral("省内"),
                                     QStringLiteral("省内"), QStringLiteral("其它")};
        QSet<QString> taken;
        Insert customer(db, QStringLiteral("Insert Into Customer (CustomerName, CustomerRegion, CustomerOwe) Values (?, ?, ?)"));
        for (int i = 0; i < size_.customers; ++i) {
            // One pick a statement: the order of the draws must not depend on the compiler.
            const QString city = pick(cities);
            const QString surname = pick(surnames);
            const QString trade = pick(trades);
            QString name = city + surname + (i % 211 == 7 ? QStringLiteral("'") : QStringLiteral("记"))
                           + (i % 307 == 11 ? QStringLiteral(" ") : QString()) + trade;
            if (taken.contains(name))
                name += QString::number(i);
            taken.insert(name);
            customers << name;
            const double owe = rnd.Percent(30) ? Typed(rnd.Between(100, 2000000) / 100.0) : 0;
            if (!customer.Run({name, pick(regions), owe}))
                return failed(customer);
        }
    }

    // Products 2 and up; names repeat, name and model together do not.
    struct Product {
        int index;
        QString serial;
        double price;
    };
    QVector<Product> products;
    {
        const QStringList kinds = {QStringLiteral("男式皮鞋"), QStringLiteral("女式单鞋"), QStringLiteral("运动鞋"), QStringLiteral("休闲鞋"),
                                   QStringLiteral("帆布鞋"), QStringLiteral("凉鞋"), QStringLiteral("拖鞋"), QStringLiteral("短靴"),
                                   QStringLiteral("童鞋"), QStringLiteral("板鞋"), QStringLiteral("高跟鞋"), QStringLiteral("雪地靴"),
                                   QStringLiteral("登山鞋"), QStringLiteral("布鞋"), QStringLiteral("豆豆鞋")};
        const QStringList styles = {QString(), QStringLiteral("经典"), QStringLiteral("新款"), QStringLiteral("加绒"),
                                    QStringLiteral("透气"), QStringLiteral("真皮")};
        const QStringList remarks = {QString(), QString(), QString(), QStringLiteral("牛皮面"), QStringLiteral("橡胶底"),
                                     QStringLiteral("一箱十双"), QStringLiteral("断码不补")};
        Insert product(db, QStringLiteral("Insert Into Product (ProductName, ProductType, ProductPrice, ProductSerial, ProductRemark) "
                                          "Values (?, ?, ?, ?, ?)"));
        for (int i = 0; i < size_.products; ++i) {
            const double price = rnd.Percent(60) ? rnd.Between(30, 600) : Typed(rnd.Between(3000, 60000) / 100.0);
            const QString serial = QStringLiteral("HP%1").arg(10001 + i);
            const QString style = pick(styles);
            const QString kind = pick(kinds);
            if (!product.Run({style + kind, QStringLiteral("K%1-%2").arg(QChar(QLatin1Char('A' + i % 26))).arg(100 + i),
                              price, serial, pick(remarks)}))
                return failed(product);
            products.append({int(product.LastKey()), serial, price});
        }
    }

    // One customer in twenty is a supplier: the shop buys from those and sells to the rest.
    QVector<int> buyers, suppliers;
    for (int c = 0; c < size_.customers; ++c)
        (c % 20 == 19 ? suppliers : buyers) << c;
    auto buyer = [&] { return buyers[rnd.Skewed(int(buyers.size()))]; };
    auto supplier = [&] { return suppliers[rnd.Skewed(int(suppliers.size()))]; };

    // Customer prices: at most one a customer and product.
    QHash<qint64, double> quotes;
    {
        Insert price(db, QStringLiteral("Insert Into Price (PriceProduct, PriceCustomer, PriceValue) Values (?, ?, ?)"));
        while (quotes.size() < size_.quotes) {
            const int c = buyer();
            const Product &p = products[rnd.Below(size_.products)];
            const qint64 key = qint64(c) << 32 | p.index;
            if (quotes.contains(key))
                continue;
            const double value = Typed(p.price * rnd.Between(80, 100) / 100.0);
            quotes.insert(key, value);
            // Customers are rows 2 and up, in the order written.
            if (!price.Run({p.index, c + 2, value}))
                return failed(price);
        }
    }

    // Bills in the order they were saved, the record day moving evenly over
    // the years; a few are dated some days before the day they were entered.
    Insert bill(db, QStringLiteral("Insert Into Bill (BillKind, BillAccount, BillRecordTime, BillCreateTime, BillUser, BillReason, "
                                   "BillType, BillToken, BillSum, BillMoney, BillRemark, BillSerial, BillMan) "
                                   "Values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    Insert line(db, QStringLiteral("Insert Into Store (StoreBill, StoreProduct, StoreNum1, StoreNum2, StoreNum3, StoreNum4, StoreNum5, "
                                   "StoreNum6, StoreNum7, StoreNum8, StoreNum9, StoreNum10, StoreNumber, StorePrice, StoreSum) "
                                   "Values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const QStringList remarks = {QStringLiteral("急单"), QStringLiteral("老客户"), QStringLiteral("含运费"), QStringLiteral("月底结清"),
                                 QStringLiteral("换货")};
    const QStringList clerks = {QStringLiteral("小王"), QStringLiteral("阿芳"), QStringLiteral("老李")};
    QString serials[4] = {QStringLiteral("XS10000"), QStringLiteral("JH10000"), QStringLiteral("SR10000"), QStringLiteral("ZC10000")};
    const QDate first = LastDay().addYears(-size_.years).addDays(1);
    const qint64 days = first.daysTo(LastDay()) + 1;
    const int bills = size_.goodsBills + size_.financeBills;
    QVector<bool> finance(bills, false);
    for (int i = 0; i < size_.financeBills; ++i)
        finance[i] = true;
    for (int i = bills - 1; i > 0; --i)
        std::swap(finance[i], finance[rnd.Below(i + 1)]);
    auto account = [&rnd, this] { return 2 + rnd.Skewed(size_.accounts); };

    for (int b = 0; b < bills; ++b) {
        const QDate recorded = first.addDays(qint64(b) * days / bills);
        const QDate dated = rnd.Percent(15) ? recorded.addDays(-rnd.Between(1, 5)) : recorded;
        const QString remark = rnd.Percent(10) ? pick(remarks) : QString();
        if (finance[b]) {
            const bool income = rnd.Percent(70);
            // Money comes in from buyers and goes out mostly to suppliers.
            const int c = income || rnd.Percent(30) ? buyer() : supplier();
            const double amount = rnd.Percent(50) ? rnd.Between(1, 500) * 100.0 : Typed(rnd.Between(1000, 3000000) / 100.0);
            const double sign = income ? 1 : -1;
            QString &serial = serials[income ? 2 : 3];
            serial = BillNumbers::Next(serial);
            if (!bill.Run({income ? Income : Expense, account(), Iso(recorded), Iso(dated), customers[c], pick(Reasons),
                           pick(Categories), pick(Vouchers), sign * amount, sign * amount, remark, serial,
                           rnd.Percent(40) ? pick(clerks) : QString()}))
                return failed(bill);
            continue;
        }

        // A goods bill: the first slots used, the rest written empty as the editor does.
        const bool sales = rnd.Percent(80);
        const double sign = sales ? 1 : -1;
        const int c = sales ? buyer() : supplier();
        static const int slotWeights[6] = {30, 25, 20, 12, 8, 5};
        int used = 1;
        for (int roll = rnd.Below(100), s = 0; s < 6; ++s) {
            if (roll < slotWeights[s]) {
                used = s + 1;
                break;
            }
            roll -= slotWeights[s];
        }
        struct Line {
            int product = 0;
            QString sizes[10];
            int pieces = 0;
            double price = 0;
            double sum = 0;
        } lines[6];
        double total = 0;
        for (int s = 0; s < 6; ++s) {
            Line &l = lines[s];
            QString sumText = QStringLiteral("0");
            if (s < used) {
                const Product &p = products[rnd.Skewed(size_.products)];
                l.product = p.index;
                const int from = rnd.Between(0, 6);
                const int width = rnd.Between(1, 5);
                // Bought in bulk, sold by the pair; purchases run a little ahead of sales.
                for (int z = from; z < qMin(10, from + width); ++z) {
                    const int n = sales ? rnd.Between(1, 6) : rnd.Between(6, 26);
                    l.sizes[z] = QString::number(n);
                    l.pieces += n;
                }
                // Sold at the customer's own price when there is one, else at the
                // list price, now and then changed by hand; bought at a typed cost price.
                const qint64 key = qint64(c) << 32 | p.index;
                l.price = !sales ? Typed(p.price * rnd.Between(55, 75) / 100.0)
                          : rnd.Percent(10) ? Typed(p.price * 0.9) : quotes.value(key, p.price);
                l.price = TextToFloatLenient(NumberText(l.price));
                sumText = NumberText(l.pieces * l.price);
                l.sum = TextToFloatLenient(sumText);
            }
            total += TextToFloatLenient(sumText);
        }
        total = TextToFloatLenient(NumberText(total));
        const bool paid = rnd.Percent(55);
        const double money = !paid ? 0 : rnd.Percent(60) ? total : Typed(std::floor(total * rnd.Unit() / 100) * 100);
        QString &serial = serials[sales ? 0 : 1];
        serial = BillNumbers::Next(serial);
        // Paid, mostly goods money, now and then a deposit; unpaid, the header
        // lists still stand on their first values and are saved so.
        if (!bill.Run({sales ? Sales : Purchase, paid ? account() : 1, Iso(recorded), Iso(dated), customers[c],
                       paid && rnd.Percent(20) ? Reasons[1] : Reasons[0], paid ? pick(Categories) : Categories[0],
                       paid ? pick(Vouchers) : Vouchers[0], sign * total, sign * money, remark, serial, QString()}))
            return failed(bill);
        const qint64 billIndex = bill.LastKey();
        for (const Line &l : lines) {
            QVariantList row{billIndex, l.product};
            for (const QString &size : l.sizes)
                row << (size.isNull() ? QStringLiteral("") : size);
            row << qint64(-sign * l.pieces) << l.price << l.sum;
            if (!line.Run(row))
                return failed(line);
        }
    }

    {
        const QStringList kinds = {QStringLiteral("运费"), QStringLiteral("包装费"), QStringLiteral("代垫款"), QStringLiteral("样品费"),
                                   QString()};
        Insert other(db, QStringLiteral("Insert Into SG (SGCustomer, SGDate, SGSum, SGRemark) Values (?, ?, ?, ?)"));
        for (int i = 0; i < size_.others; ++i)
            if (!other.Run({customers[buyer()], Iso(first.addDays(rnd.Below(int(days)))),
                            Typed(rnd.Between(1000, 500000) / 100.0), pick(kinds)}))
                return failed(other);
    }

    Insert setting(db, QStringLiteral("Update Setting Set SettingValue = ? Where SettingIndex = ?"));
    for (int i = 0; i < 4; ++i)
        if (!setting.Run({serials[i], i + 1}))
            return failed(setting);
    return true;
}

bool TShopGenerator::LayOut(const QString &shop, const QString &res, const QString &folder, QString *error)
{
    const QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("Res")) || !QFile::copy(shop + QStringLiteral("/Kestrova.mdb"), dir.filePath(QStringLiteral("Kestrova.mdb")))) {
        *error = QStringLiteral("cannot lay out the program folder %1").arg(folder);
        return false;
    }
    for (const QString &name : QDir(res).entryList(QDir::Files))
        QFile::copy(res + QLatin1Char('/') + name, dir.filePath(QStringLiteral("Res/") + name));
    // Registered already, so start-up goes straight to the login.
    WriteIniValue(QStringLiteral("数据库内容"), QStringLiteral("ODBC"), QStringLiteral("1"), dir.filePath(QStringLiteral("Kestrova.ini")));
    return true;
}
