#include "stores/ImportPlan.h"

#include "core/SqlText.h"
#include "core/Notice.h"
#include "db/Money.h"
#include "core/NumberTexts.h"
#include "db/ShareDM.h"
#include "core/TypedNumber.h"
#include "stores/CustomerStore.h"
#include "stores/FieldText.h"
#include "db/Journal.h"
#include "stores/OtherReceivableStore.h"
#include "stores/ProductStore.h"
#include "stores/QuoteStore.h"

#include <QDate>
#include <QJsonArray>
#include <QHash>
#include <QRegularExpression>
#include <QSet>

namespace {
// How many of a sheet's first rows are looked at for the titles.
constexpr int TitleSearchRows = 20;

QList<TImportPlan::Field> FieldsOf(TImportPlan::Kind kind)
{
    auto f = [](const char *title, std::initializer_list<const char *> more, bool asWritten = false) {
        TImportPlan::Field field{QString::fromUtf8(title), {QString::fromUtf8(title)}, asWritten};
        for (const char *t : more)
            field.titles << QString::fromUtf8(t);
        return field;
    };
    switch (kind) {
    case TImportPlan::Customers:
        return {f("客户名称", {"名称", "客户", "客户名"}, true), f("地区", {"客户地区", "所属地区"}),
                f("期初欠款", {"起初欠款", "期初应收", "欠款"})};
    case TImportPlan::Products:
        return {f("货品编号", {"编号", "货号", "款号"}, true), f("货品名称", {"名称", "品名"}, true),
                f("货品规格", {"规格", "类别", "类型", "型号"}, true),
                f("单价", {"货品单价", "价格", "售价", "参考价", "批发价"}), f("货品信息", {"备注", "说明"}, true)};
    case TImportPlan::Quotes:
        return {f("客户名称", {"客户", "客户名"}, true), f("货品编号", {"编号", "货号", "款号"}, true),
                f("货品名称", {"名称", "品名"}, true), f("货品规格", {"规格", "类别"}, true),
                f("单价", {"报价", "价格", "售价", "批发价"})};
    case TImportPlan::OtherReceivables:
        return {f("客户名称", {"客户", "客户名"}, true), f("日期", {"应收日期"}), f("金额", {"应收金额"}), f("备注", {"说明"}, true)};
    }
    return {};
}

// A title as it is compared: no blanks, no "*" of a required column, no "(元)".
QString TitleKey(QString title)
{
    static const QRegularExpression noise(QStringLiteral("\\s|\\*|[（(][^）)]*[）)]"));
    return title.remove(noise);
}

QString AmountFault(const QString &field, const QString &text, int decimals, double *value)
{
    switch (TypedNumber::ReadAmount(text, value, decimals)) {
    case TypedNumber::Fine:
    case TypedNumber::Empty:
        return QString();
    case TypedNumber::TooManyDecimals:
        return QStringLiteral("%1“%2”超过%3位小数").arg(field, text.left(30), decimals == 2 ? QStringLiteral("两") : QStringLiteral("四"));
    case TypedNumber::TooLong:
        return QStringLiteral("%1“%2”位数太多").arg(field, text.left(30));
    case TypedNumber::NotNumber:
        break;
    }
    return QStringLiteral("%1“%2”不是有效的金额").arg(field, text.left(30));
}

// 2024-03-05, 2024/3/5, 2024.3.5 or 2024年3月5日.
QDate DateOf(const QString &text)
{
    static const QRegularExpression date(QStringLiteral("^(\\d{4})[-/.年](\\d{1,2})[-/.月](\\d{1,2})日?$"));
    const auto m = date.match(text);
    return m.hasMatch() ? QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()) : QDate();
}

// The books' products, found by number, or by name (and 规格) among those without one.
struct ProductBook {
    QList<Product> all;
    QHash<QString, QList<int>> bySerial, byName;

    void Load()
    {
        TQuery q(QStringLiteral("Product"));
        q.Open(QStringLiteral("Select ProductIndex, ProductName, ProductType, ProductPrice, ProductSerial, ProductRemark, ProductVersion "
                              "From Product Where ProductIndex > 1 Order By ProductIndex"));
        for (int r = 0; r < q.RecordCount(); ++r) {
            Product p;
            p.index = q.ValueAt(r, 0).toInt();
            p.name = q.ValueAt(r, 1).toString();
            p.type = q.ValueAt(r, 2).toString();
            p.price = q.ValueAt(r, 3).toDouble();
            p.serial = q.ValueAt(r, 4).toString();
            p.remark = q.ValueAt(r, 5).toString();
            p.version = q.ValueAt(r, 6).toInt();
            bySerial[p.serial] << int(all.size());
            byName[p.name] << int(all.size());
            all << p;
        }
    }
    // By number when there is one, else by name and, when given, 规格.
    QList<int> Find(const QString &serial, const QString &name, const QString &type, bool unnumberedOnly) const
    {
        if (!serial.isEmpty())
            return bySerial.value(serial);
        QList<int> found;
        for (int i : byName.value(name))
            if ((type.isEmpty() || all[i].type == type) && (!unnumberedOnly || all[i].serial.isEmpty()))
                found << i;
        return found;
    }
};
} // namespace

TImportPlan::TImportPlan(Kind kind, const TSheetFile &sheet) : kind_(kind), sheet_(sheet), fields_(FieldsOf(kind))
{
    QSet<QString> known;
    for (const Field &field : std::as_const(fields_))
        for (const QString &title : field.titles)
            known.insert(title);
    for (int at = 0; at < sheet_.rows.size() && at < TitleSearchRows; ++at) {
        const auto &cells = sheet_.rows[at].cells;
        if (std::any_of(cells.cbegin(), cells.cend(), [&](const TSheetCell &c) { return known.contains(TitleKey(c.text)); })) {
            titleAt_ = at;
            break;
        }
    }
    MatchColumns();
}

void TImportPlan::MatchColumns()
{
    // Each field takes the first column titled as it is, its own title before the others.
    columns_.fill(-1, fields_.size());
    const QList<TSheetCell> titles = sheet_.rows.value(titleAt_).cells;
    QList<bool> taken(titles.size(), false);
    for (int pass = 0; pass < 2; ++pass)
        for (int f = 0; f < fields_.size(); ++f) {
            if (columns_[f] >= 0)
                continue;
            const QStringList names = pass == 0 ? QStringList{fields_[f].title} : fields_[f].titles;
            for (int c = 0; c < titles.size() && columns_[f] < 0; ++c)
                if (!taken[c] && names.contains(TitleKey(titles[c].text))) {
                    columns_[f] = titles[c].column;
                    taken[c] = true;
                }
        }
}

void TImportPlan::SetTitleRow(int at)
{
    if (at < 0 || at >= sheet_.rows.size() || at == titleAt_)
        return;
    titleAt_ = at;
    MatchColumns();
}

QString TImportPlan::Title(int column) const
{
    return sheet_.rows.value(titleAt_).Cell(column);
}

QList<int> TImportPlan::UnusedColumns() const
{
    QSet<int> used;
    for (qsizetype at = titleAt_; at < sheet_.rows.size(); ++at)
        for (const TSheetCell &cell : sheet_.rows[at].cells)
            used.insert(cell.column);
    for (const int column : columns_)
        used.remove(column);
    QList<int> unused(used.cbegin(), used.cend());
    std::sort(unused.begin(), unused.end());
    return unused;
}

const QStringList &TImportPlan::Regions()
{
    static const QStringList regions = {QStringLiteral("本地"), QStringLiteral("省内"), QStringLiteral("其它")};
    return regions;
}

QString TImportPlan::RegionFor(const QString &value) const
{
    return Regions().contains(value) ? value : regionMap_.value(value);
}

void TImportPlan::MapRegion(const QString &value, const QString &region)
{
    if (Regions().contains(region))
        regionMap_.insert(value, region);
    else
        regionMap_.remove(value);
}

QString TImportPlan::KindName(Kind kind)
{
    static const QString names[] = {QStringLiteral("客户"), QStringLiteral("货品"), QStringLiteral("客户报价"), QStringLiteral("其它应收款")};
    return names[kind];
}

QString TImportPlan::OutcomeName(Outcome outcome)
{
    static const QString names[] = {QStringLiteral("新增"), QStringLiteral("更新"), QStringLiteral("跳过"), QStringLiteral("有误")};
    return names[outcome];
}

void TImportPlan::SetColumn(int field, int column)
{
    if (field >= 0 && field < columns_.size())
        columns_[field] = sheet_.columns.contains(column) ? column : -1;
}

int TImportPlan::Count(Outcome outcome) const
{
    int n = 0;
    for (const Row &row : rows_)
        n += row.outcome == outcome;
    return n;
}

QString TImportPlan::Cell(int at, int field) const
{
    const QString text = sheet_.rows.at(at).Cell(ColumnOf(field));
    return fields_[field].asWritten ? text : text.trimmed();
}

bool TImportPlan::Examine()
{
    rows_.clear();
    writes_.clear();
    otherRegions_.clear();
    for (int i = titleAt_ + 1; i < sheet_.rows.size(); ++i) {
        Row row;
        row.sheetRow = sheet_.rows[i].number;
        for (int f = 0; f < fields_.size(); ++f)
            row.values << Cell(i, f);
        rows_ << row;
        writes_ << Write();
    }
    try {
        switch (kind_) {
        case Customers: ExamineCustomers(); break;
        case Products: ExamineProducts(); break;
        case Quotes: ExamineQuotes(); break;
        case OtherReceivables: ExamineReceivables(); break;
        }
    } catch (const EDatabaseError &e) {
        rows_.clear();
        writes_.clear();
        Notice::Tell(ShareDataModule->Explained(QStringLiteral("读取账中资料失败"), e));
        return false;
    }
    return true;
}

TImportPlan::Row &TImportPlan::Decide(int at, const QStringList &changes, bool exists)
{
    Row &row = rows_[at];
    if (!exists) {
        row.outcome = Add;
    } else if (changes.isEmpty()) {
        row.outcome = Skip;
        row.note = QStringLiteral("与账中相同");
    } else if (!updateExisting_) {
        row.outcome = Skip;
        row.note = QStringLiteral("账中已有，未勾选“更新已有记录”（%1）").arg(changes.join(QStringLiteral("；")));
    } else {
        row.outcome = Update;
        row.note = changes.join(QStringLiteral("；"));
    }
    return row;
}

void TImportPlan::RefuseTwice(const QList<QString> &keys, const QString &what)
{
    QHash<QString, QList<int>> at;
    for (int i = 0; i < keys.size(); ++i)
        if (!keys[i].isEmpty())
            at[keys[i]] << i;
    for (const QList<int> &same : std::as_const(at)) {
        if (same.size() < 2)
            continue;
        QStringList numbers;
        for (int i : same)
            numbers << QString::number(rows_[i].sheetRow);
        for (int i : same) {
            rows_[i].outcome = Error;
            rows_[i].note = QStringLiteral("%1在表中出现了 %2 次（第 %3 行）").arg(what).arg(same.size()).arg(numbers.join(QStringLiteral("、")));
        }
    }
}

void TImportPlan::ExamineCustomers()
{
    QHash<QString, Customer> books;
    TQuery q(QStringLiteral("Customer"));
    q.Open(QStringLiteral("Select CustomerIndex, CustomerName, CustomerRegion, CustomerOwe, CustomerVersion From Customer Where CustomerIndex > 1"));
    for (int r = 0; r < q.RecordCount(); ++r)
        books.insert(q.ValueAt(r, 1).toString(),
                     Customer{q.ValueAt(r, 0).toInt(), q.ValueAt(r, 1).toString(), q.ValueAt(r, 2).toString(), q.ValueAt(r, 3).toDouble(),
                              q.ValueAt(r, 4).toInt()});
    QList<QString> keys;
    for (int i = 0; i < rows_.size(); ++i) {
        Row &row = rows_[i];
        const QString name = row.values[0], given = row.values[1], oweText = row.values[2];
        const QString region = RegionFor(given);
        keys << name;
        if (!given.isEmpty() && !Regions().contains(given) && !otherRegions_.contains(given))
            otherRegions_ << given;
        const auto existing = books.constFind(name);
        const bool exists = existing != books.constEnd();
        double owe = 0;
        // A name the books hold is taken as it stands; a new one as the editor would take it.
        QString fault = name.isEmpty() ? QStringLiteral("客户名称为空") : exists ? QString() : FieldText::Fault(QStringLiteral("客户名称"), name);
        if (fault.isEmpty() && !given.isEmpty() && region.isEmpty())
            fault = QStringLiteral("地区“%1”只能是本地、省内或其它，可在上方指定它对应哪一个").arg(given.left(20));
        if (fault.isEmpty())
            fault = AmountFault(QStringLiteral("期初欠款"), oweText, TypedNumber::MoneyDecimals, &owe);
        if (!fault.isEmpty()) {
            row.note = fault;
            continue;
        }
        Customer c = exists ? *existing : Customer{0, name, Regions()[0], 0, 0};
        QStringList changes;
        // An empty cell leaves what the books have.
        if (!region.isEmpty() && region != c.region) {
            changes << Journal::ChangeText(QStringLiteral("地区"), c.region, region);
            c.region = region;
        }
        if (!oweText.isEmpty() && Fen(owe) != Fen(c.owe)) {
            changes << Journal::ChangeText(QStringLiteral("期初欠款"), MoneyText(c.owe), MoneyText(owe));
            c.owe = owe;
        }
        writes_[i].customer = c;
        Row &decided = Decide(i, changes, exists);
        if (region != given) {
            const QString mapped = QStringLiteral("表中地区“%1”作为%2").arg(given.left(20), region);
            decided.note = decided.note.isEmpty() ? mapped : decided.note + QStringLiteral("；") + mapped;
        }
    }
    RefuseTwice(keys, QStringLiteral("客户名称"));
}

void TImportPlan::ExamineProducts()
{
    ProductBook books;
    books.Load();
    QList<QString> keys;
    for (int i = 0; i < rows_.size(); ++i) {
        Row &row = rows_[i];
        const QString serial = row.values[0], name = row.values[1], type = row.values[2], priceText = row.values[3],
                      remark = row.values[4];
        keys << (serial.isEmpty() ? name + QChar(0x1f) + type : QLatin1Char('#') + serial);
        double price = 0;
        QString fault = name.isEmpty() ? QStringLiteral("货品名称为空")
                                       : AmountFault(QStringLiteral("单价"), priceText, TypedNumber::PriceDecimals, &price);
        const QList<int> found = fault.isEmpty() ? books.Find(serial, name, type, true) : QList<int>();
        if (found.size() > 1)
            fault = serial.isEmpty() ? QStringLiteral("账中有 %1 个货品叫“%2”、规格相同，无法确定更新哪一个").arg(found.size()).arg(name)
                                     : QStringLiteral("账中有 %1 个货品用编号“%2”，无法确定更新哪一个").arg(found.size()).arg(serial);
        const bool exists = found.size() == 1;
        // What the books hold is taken as it stands; a text written anew as the editor would take it.
        const struct {
            const char *field;
            const QString &text;
            QString held;
            int maxLength;
        } texts[] = {{"货品名称", name, exists ? books.all[found[0]].name : QString(), FieldText::MaxShort},
                     {"货品编号", serial, exists ? books.all[found[0]].serial : QString(), FieldText::MaxShort},
                     {"货品规格", type, exists ? books.all[found[0]].type : QString(), FieldText::MaxShort},
                     {"货品信息", remark, exists ? books.all[found[0]].remark : QString(), FieldText::MaxLong}};
        for (const auto &t : texts)
            if (fault.isEmpty() && t.text != t.held)
                fault = FieldText::Fault(QString::fromUtf8(t.field), t.text, t.maxLength);
        if (fault.isEmpty() && !exists && type.isEmpty())
            fault = QStringLiteral("货品规格为空");
        if (!fault.isEmpty()) {
            row.note = fault;
            continue;
        }
        Product p = exists ? books.all[found[0]] : Product{0, name, type, serial, remark, 0, 0};
        QStringList changes;
        auto text = [&](const QString &field, QString &kept, const QString &sheet) {
            if (!sheet.isEmpty() && sheet != kept) {
                changes << Journal::ChangeText(field, kept, sheet);
                kept = sheet;
            }
        };
        if (exists) {
            text(QStringLiteral("货品名称"), p.name, name);
            text(QStringLiteral("货品规格"), p.type, type);
            text(QStringLiteral("货品信息"), p.remark, remark);
        }
        if (!priceText.isEmpty() && PriceUnits(price) != PriceUnits(p.price)) {
            if (exists)
                changes << Journal::ChangeText(QStringLiteral("单价"), NumberText(p.price), NumberText(price));
            p.price = price;
        }
        writes_[i].product = p;
        Decide(i, changes, exists);
    }
    RefuseTwice(keys, QStringLiteral("货品"));
}

void TImportPlan::ExamineQuotes()
{
    QHash<QString, int> customers;
    TQuery q(QStringLiteral("Customer"));
    q.Open(QStringLiteral("Select CustomerIndex, CustomerName From Customer Where CustomerIndex > 1"));
    for (int r = 0; r < q.RecordCount(); ++r)
        customers.insert(q.ValueAt(r, 1).toString(), q.ValueAt(r, 0).toInt());
    ProductBook products;
    products.Load();
    QHash<QPair<int, int>, double> quotes;
    q.Open(QStringLiteral("Select PriceCustomer, PriceProduct, PriceValue From Price"));
    for (int r = 0; r < q.RecordCount(); ++r)
        quotes.insert({q.ValueAt(r, 0).toInt(), q.ValueAt(r, 1).toInt()}, q.ValueAt(r, 2).toDouble());

    QList<QString> keys;
    for (int i = 0; i < rows_.size(); ++i) {
        Row &row = rows_[i];
        const QString customer = row.values[0], serial = row.values[1], name = row.values[2], type = row.values[3],
                      priceText = row.values[4];
        keys << QString();
        double price = 0;
        QString fault;
        QList<int> found;
        if (customer.isEmpty())
            fault = QStringLiteral("客户名称为空");
        else if (!customers.contains(customer))
            fault = QStringLiteral("客户“%1”不在账中").arg(customer.left(30));
        else if (serial.isEmpty() && name.isEmpty())
            fault = QStringLiteral("货品编号和货品名称都为空");
        else if ((found = products.Find(serial, name, type, false)).isEmpty())
            fault = serial.isEmpty() ? QStringLiteral("找不到货品“%1”").arg(name.left(30))
                                     : QStringLiteral("找不到编号为“%1”的货品").arg(serial.left(30));
        else if (found.size() > 1)
            fault = serial.isEmpty() ? QStringLiteral("账中有 %1 个货品叫“%2”，请填上货品编号或规格").arg(found.size()).arg(name)
                                     : QStringLiteral("账中有 %1 个货品用编号“%2”").arg(found.size()).arg(serial);
        else if (priceText.isEmpty())
            fault = QStringLiteral("单价为空");
        else
            fault = AmountFault(QStringLiteral("单价"), priceText, TypedNumber::PriceDecimals, &price);
        if (!fault.isEmpty()) {
            row.note = fault;
            continue;
        }
        const Quote quote{customers.value(customer), products.all[found[0]].index, price};
        keys.back() = QStringLiteral("%1/%2").arg(quote.customer).arg(quote.product);
        const auto existing = quotes.constFind({quote.customer, quote.product});
        const bool exists = existing != quotes.constEnd();
        QStringList changes;
        if (exists && PriceUnits(*existing) != PriceUnits(price))
            changes << Journal::ChangeText(QStringLiteral("单价"), NumberText(*existing), NumberText(price));
        writes_[i].quote = quote;
        Decide(i, changes, exists);
    }
    RefuseTwice(keys, QStringLiteral("同一客户同一货品的报价"));
}

void TImportPlan::ExamineReceivables()
{
    QHash<QString, int> customers;
    TQuery q(QStringLiteral("Customer"));
    q.Open(QStringLiteral("Select CustomerIndex, CustomerName From Customer Where CustomerIndex > 1"));
    for (int r = 0; r < q.RecordCount(); ++r)
        customers.insert(q.ValueAt(r, 1).toString(), q.ValueAt(r, 0).toInt());
    // What the books hold already, so a sheet brought in twice adds nothing twice.
    QSet<QString> held;
    auto key = [](const QString &customer, const QDate &date, double amount, const QString &remark) {
        return QStringList{customer, date.toString(Qt::ISODate), QString::number(Fen(amount)), remark}.join(QChar(0x1f));
    };
    q.Open(QStringLiteral("Select SGCustomer, SGDate, SGSum, SGRemark From SG"));
    for (int r = 0; r < q.RecordCount(); ++r)
        held.insert(key(q.ValueAt(r, 0).toString(), QDate::fromString(q.ValueAt(r, 1).toString().left(10), Qt::ISODate),
                        q.ValueAt(r, 2).toDouble(), q.ValueAt(r, 3).toString()));

    for (int i = 0; i < rows_.size(); ++i) {
        Row &row = rows_[i];
        const QString customer = row.values[0], dateText = row.values[1], amountText = row.values[2], remark = row.values[3];
        const QDate date = DateOf(dateText);
        double amount = 0;
        QString fault;
        if (customer.isEmpty())
            fault = QStringLiteral("客户名称为空");
        else if (!customers.contains(customer))
            fault = QStringLiteral("客户“%1”不在账中").arg(customer.left(30));
        else if (!date.isValid())
            fault = dateText.isEmpty() ? QStringLiteral("日期为空") : QStringLiteral("日期“%1”不是有效的日期").arg(dateText.left(30));
        else if (amountText.isEmpty())
            fault = QStringLiteral("金额为空");
        else if (!(fault = AmountFault(QStringLiteral("金额"), amountText, TypedNumber::MoneyDecimals, &amount)).isEmpty())
            ;
        else
            fault = FieldText::Fault(QStringLiteral("备注"), remark, FieldText::MaxLong);
        if (!fault.isEmpty()) {
            row.note = fault;
            continue;
        }
        writes_[i].receivable = OtherReceivable{0, customer, date, amount, remark};
        if (held.contains(key(customer, date, amount, remark))) {
            row.outcome = Skip;
            row.note = QStringLiteral("账中已有相同的一笔");
        } else {
            row.outcome = Add;
        }
    }
}

bool TImportPlan::Apply(const std::function<void(int)> &progress)
{
    const int total = Count(Add) + Count(Update);
    int done = 0;
    return ShareDataModule->RunInTransaction(QStringLiteral("导入失败"), [&] {
        // One journal record for the whole import, naming its rows, rather than one a row.
        const Journal::Batch batch;
        QJsonArray added, updated;
        for (int i = 0; i < rows_.size(); ++i) {
            const Outcome outcome = rows_[i].outcome;
            if (outcome != Add && outcome != Update)
                continue;
            const Write &w = writes_[i];
            bool saved = false;
            switch (kind_) {
            case Customers:
                saved = (outcome == Add ? TCustomerStore::Create(w.customer) : TCustomerStore::Change(w.customer)) == TCustomerStore::Saved;
                break;
            case Products:
                saved = outcome == Add ? TProductStore::Create(w.product) != 0 : TProductStore::Change(w.product);
                break;
            case Quotes:
                saved = TQuoteStore::SetPrice(w.quote.customer, w.quote.product, w.quote.price) == TQuoteStore::Saved;
                break;
            case OtherReceivables:
                saved = TOtherReceivableStore::Add(w.receivable) != 0;
                break;
            }
            if (!saved)
                return false;
            (outcome == Add ? added : updated) << QStringLiteral("第%1行 %2").arg(rows_[i].sheetRow).arg(rows_[i].values.join(QLatin1Char(' ')).simplified());
            if (progress && total > 0 && (++done % 100 == 0 || done == total))
                progress(done * 100 / total);
        }
        Journal::Write({QStringLiteral("导入"), KindName(kind_), sheet_.name, QString(),
                        {QStringLiteral("新增 %1 行，更新 %2 行").arg(added.size()).arg(updated.size())}, {},
                        QJsonObject{{QStringLiteral("新增"), added}, {QStringLiteral("更新"), updated}}});
        return true;
    });
}
