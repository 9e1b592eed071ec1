#include "db/Journal.h"

#include "db/Schema.h"
#include "db/SqlEngine.h"
#include "core/Clock.h"

#include "core/NumberTexts.h"
#include "core/SqlText.h"
#include "core/Session.h"
#include "db/ShareDM.h"

#include <QDateTime>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTime>

#include <algorithm>

namespace {
thread_local int batches = 0;

QJsonValue JsonOf(const QVariant &value)
{
    if (value.isNull())
        return QJsonValue();
    switch (value.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Double: case QMetaType::Float:
        return value.toDouble();
    default:
        return value.toString();
    }
}

// A column's name as the schema writes it: a server gives them folded to lower case.
QString ColumnName(const QString &name)
{
    static const QHash<QString, QString> names = [] {
        QHash<QString, QString> all;
        for (const Schema::Table &table : Schema::Tables())
            for (const Schema::Column &column : table.columns)
                all.insert(column.name.toLower(), column.name);
        return all;
    }();
    return names.value(name.toLower(), name);
}

QJsonObject RowOf(const TQuery &q, int row)
{
    QJsonObject image;
    const QStringList names = q.FieldNames();
    for (int f = 0; f < names.size(); ++f)
        if (!names[f].endsWith(QLatin1String("Version"), Qt::CaseInsensitive))
            image.insert(ColumnName(names[f]), JsonOf(q.ValueAt(row, f)));
    return image;
}

// A value as a change shows it: amounts and counts without the sign the kind gives them.
QString Shown(const QJsonValue &value, bool unsigned_)
{
    if (value.isDouble())
        return NumberText(unsigned_ ? qAbs(value.toDouble()) : value.toDouble());
    if (value.isNull() || value.isUndefined())
        return QString();
    return value.toString().left(10).contains(QRegularExpression(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$")))
               ? value.toString().left(10)
               : value.toString();
}

const QList<QPair<QString, QString>> &BillCaptions()
{
    static const QList<QPair<QString, QString>> captions = {
        {QStringLiteral("BillSerial"), QStringLiteral("单据编号")}, {QStringLiteral("BillCreateTime"), QStringLiteral("日期")},
        {QStringLiteral("BillUser"), QStringLiteral("客户")},       {QStringLiteral("AccountName"), QStringLiteral("帐户")},
        {QStringLiteral("BillSum"), QStringLiteral("单据金额")},   {QStringLiteral("BillMoney"), QStringLiteral("已付金额")},
        {QStringLiteral("BillReason"), QStringLiteral("收支种类")}, {QStringLiteral("BillType"), QStringLiteral("款项类别")},
        {QStringLiteral("BillToken"), QStringLiteral("凭证")},     {QStringLiteral("BillMan"), QStringLiteral("业务员")},
        {QStringLiteral("BillRemark"), QStringLiteral("备注")}};
    return captions;
}

const QList<QPair<QString, QString>> &LineCaptions()
{
    static const QList<QPair<QString, QString>> captions = [] {
        QList<QPair<QString, QString>> list{{QStringLiteral("Product"), QStringLiteral("货品")}};
        for (int k = 1; k <= 10; ++k)
            list << qMakePair(QStringLiteral("StoreNum%1").arg(k), QStringLiteral("%1#").arg(34 + k));
        list << qMakePair(QStringLiteral("StoreNumber"), QStringLiteral("数量")) << qMakePair(QStringLiteral("StorePrice"), QStringLiteral("单价"))
             << qMakePair(QStringLiteral("StoreSum"), QStringLiteral("金额"));
        return list;
    }();
    return captions;
}
struct RowKind {
    QString kind, keyField, customerField;
    QList<QPair<QString, QString>> captions;
};

const RowKind &KindOf(const QString &table)
{
    static const QHash<QString, RowKind> kinds = {
        {QStringLiteral("Customer"),
         {QStringLiteral("客户"), QStringLiteral("CustomerName"), QStringLiteral("CustomerName"),
          {{QStringLiteral("CustomerName"), QStringLiteral("客户名称")}, {QStringLiteral("CustomerRegion"), QStringLiteral("地区")},
           {QStringLiteral("CustomerOwe"), QStringLiteral("期初欠款")}}}},
        {QStringLiteral("Product"),
         {QStringLiteral("货品"), QStringLiteral("ProductName"), QString(),
          {{QStringLiteral("ProductSerial"), QStringLiteral("货品编号")}, {QStringLiteral("ProductName"), QStringLiteral("货品名称")},
           {QStringLiteral("ProductType"), QStringLiteral("货品规格")}, {QStringLiteral("ProductPrice"), QStringLiteral("单价")},
           {QStringLiteral("ProductRemark"), QStringLiteral("货品信息")}}}},
        {QStringLiteral("Account"),
         {QStringLiteral("帐户"), QStringLiteral("AccountName"), QString(), {{QStringLiteral("AccountName"), QStringLiteral("帐户名称")}}}},
        {QStringLiteral("SG"),
         {QStringLiteral("其它应收款"), QStringLiteral("SGDate"), QStringLiteral("SGCustomer"),
          {{QStringLiteral("SGCustomer"), QStringLiteral("客户")}, {QStringLiteral("SGDate"), QStringLiteral("日期")},
           {QStringLiteral("SGSum"), QStringLiteral("金额")}, {QStringLiteral("SGRemark"), QStringLiteral("备注")}}}},
        {QStringLiteral("Parameter"),
         {QStringLiteral("参数"), QStringLiteral("ParameterValue"), QString(),
          {{QStringLiteral("ParameterType"), QStringLiteral("列表")}, {QStringLiteral("ParameterValue"), QStringLiteral("内容")}}}},
    };
    static const RowKind none;
    const auto it = kinds.constFind(table);
    return it == kinds.constEnd() ? none : *it;
}
} // namespace

Journal::Batch::Batch() { ++batches; }
Journal::Batch::~Batch() { --batches; }

namespace {
const QString InsertRecord = QStringLiteral("Insert Into Journal (JournalMoment, JournalRole, JournalComputer, JournalProgram, JournalAction, "
                                            "JournalKind, JournalKey, JournalCustomer, JournalText, JournalData) Values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");

QVariantList Values(const Journal::Record &record)
{
    QJsonObject data;
    if (!record.before.isEmpty())
        data.insert(QStringLiteral("before"), record.before);
    if (!record.after.isEmpty())
        data.insert(QStringLiteral("after"), record.after);
    // A text never goes in as NULL: the columns hold '' for nothing.
    auto text = [](const QString &t) { return t.isNull() ? QStringLiteral("") : t; };
    // The program's own today (the one its dates follow), at the clock's time.
    return {QDateTime(Clock::Today(), QTime::currentTime()).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), text(Session ? Session->Role() : QString()),
            QSysInfo::machineHostName(), QStringLiteral("Mirelo进销存 " KESTROVA_VERSION), text(record.action), text(record.kind),
            text(record.key), text(record.customer), text(record.changes.join(QStringLiteral("；"))),
            text(data.isEmpty() ? QString() : QString::fromUtf8(QJsonDocument(data).toJson(QJsonDocument::Compact)))};
}
} // namespace

void Journal::Write(const Record &record)
{
    if (batches > 0 && record.action != QStringLiteral("导入") && record.action != QStringLiteral("恢复"))
        return;
    ShareDataModule->Exec(InsertRecord, Values(record));
}

bool Journal::WriteTo(QSqlDatabase &db, const Record &record, QString *error)
{
    QSqlQuery q(db);
    q.prepare(InsertRecord);
    for (const QVariant &value : Values(record))
        q.addBindValue(value);
    const bool written = q.exec();
    if (!written && error)
        *error = q.lastError().text();
    return written;
}

bool Journal::Recording() { return batches == 0; }

QString Journal::ChangeText(const QString &caption, const QString &from, const QString &to)
{
    return QStringLiteral("%1 %2 → %3").arg(caption, from.isEmpty() ? QStringLiteral("（空）") : from,
                                             to.isEmpty() ? QStringLiteral("（空）") : to);
}

QJsonObject Journal::Row(const QString &table, int key)
{
    if (!Recording())
        return QJsonObject();
    TQuery q(table);
    q.Open(QStringLiteral("Select * From %1 Where %1Index = ?").arg(table), {key});
    return q.IsEmpty() ? QJsonObject() : RowOf(q, 0);
}

QJsonObject Journal::Bill(int billIndex)
{
    if (!Recording())
        return QJsonObject();
    TQuery q(QStringLiteral("Bill"));
    q.Open(QStringLiteral("Select Bill.*, AccountName From Bill Left Join Account On AccountIndex = BillAccount Where BillIndex = ?"), {billIndex});
    if (q.IsEmpty())
        return QJsonObject();
    QJsonObject bill = RowOf(q, 0);
    q.Open(QStringLiteral("Select Store.*, ProductSerial, ProductName, ProductType From Store Left Join Product On ProductIndex = StoreProduct "
                          "Where StoreBill = ? Order By StoreIndex"),
           {billIndex});
    QJsonArray lines;
    for (int r = 0; r < q.RecordCount(); ++r) {
        QJsonObject line = RowOf(q, r);
        QStringList product;
        for (const char *field : {"ProductSerial", "ProductName", "ProductType"}) {
            const QString part = line.take(QLatin1String(field)).toString();
            if (!part.isEmpty())
                product << part;
        }
        line.insert(QStringLiteral("Product"), line.value(QStringLiteral("StoreProduct")).toInt() > 1 ? product.join(QLatin1Char(' ')) : QString());
        line.remove(QStringLiteral("StoreIndex"));
        line.remove(QStringLiteral("StoreBill"));
        lines << line;
    }
    bill.insert(QStringLiteral("Lines"), lines);
    return bill;
}

QStringList Journal::Changes(const QJsonObject &before, const QJsonObject &after, const QList<QPair<QString, QString>> &captions)
{
    QStringList changes;
    for (const auto &[field, caption] : captions) {
        const QString from = Shown(before.value(field), false), to = Shown(after.value(field), false);
        if (from != to)
            changes << Journal::ChangeText(caption, from, to);
    }
    return changes;
}

QStringList Journal::BillChanges(const QJsonObject &before, const QJsonObject &after)
{
    QStringList changes;
    for (const auto &[field, caption] : BillCaptions()) {
        const bool amount = field == QLatin1String("BillSum") || field == QLatin1String("BillMoney");
        const QString from = Shown(before.value(field), amount), to = Shown(after.value(field), amount);
        if (from != to)
            changes << Journal::ChangeText(caption, from, to);
    }
    const QJsonArray a = before.value(QStringLiteral("Lines")).toArray(), b = after.value(QStringLiteral("Lines")).toArray();
    for (int i = 0; i < std::max(a.size(), b.size()); ++i) {
        const QJsonObject x = a.at(i).toObject(), y = b.at(i).toObject();
        QStringList line;
        for (const auto &[field, caption] : LineCaptions()) {
            const bool count = field == QLatin1String("StoreNumber") || field == QLatin1String("StoreSum");
            const QString from = Shown(x.value(field), count), to = Shown(y.value(field), count);
            if (from != to)
                line << Journal::ChangeText(caption, from, to);
        }
        if (!line.isEmpty())
            changes << QStringLiteral("第%1行 ").arg(i + 1) + line.join(QStringLiteral("，"));
    }
    return changes;
}

void Journal::WriteRow(const QString &action, const QString &table, const QJsonObject &before, const QJsonObject &after)
{
    const RowKind &kind = KindOf(table);
    const QJsonObject &row = after.isEmpty() ? before : after;
    Record record;
    record.action = action;
    record.kind = kind.kind;
    record.key = Shown(row.value(kind.keyField), false);
    if (!kind.customerField.isEmpty())
        record.customer = row.value(kind.customerField).toString();
    record.before = before;
    record.after = after;
    if (!before.isEmpty() && !after.isEmpty()) {
        record.changes = Changes(before, after, kind.captions);
    } else {
        for (const auto &[field, caption] : kind.captions) {
            const QString value = Shown(row.value(field), false);
            if (!value.isEmpty())
                record.changes << caption + QLatin1Char(' ') + value;
        }
    }
    Write(record);
}

void Journal::WriteBill(const QString &action, const QJsonObject &before, const QJsonObject &after)
{
    const QJsonObject &bill = after.isEmpty() ? before : after;
    Record record;
    record.action = action;
    record.kind = bill.value(QStringLiteral("BillKind")).toString();
    record.key = bill.value(QStringLiteral("BillSerial")).toString();
    record.customer = bill.value(QStringLiteral("BillUser")).toString();
    record.before = before;
    record.after = after;
    if (action == QStringLiteral("修改"))
        record.changes = BillChanges(before, after);
    else
        record.changes << QStringLiteral("单据金额 %1").arg(Shown(bill.value(QStringLiteral("BillSum")), true));
    Write(record);
}

SqlText Journal::ListSql(const QDate &from, const QDate &to, const QString &kind, const QString &customer, const QString &key)
{
    QString sql = QStringLiteral("Select JournalIndex, Substr(JournalMoment, 1, 16) As JournalMinute, JournalRole, JournalComputer, "
                                 "JournalAction || JournalKind As JournalWhat, JournalKey, JournalCustomer, JournalText, JournalAction, JournalKind "
                                 "From Journal Where JournalMoment >= ? And JournalMoment < ?");
    QVariantList values{from.toString(Qt::ISODate), to.addDays(1).toString(Qt::ISODate)};
    if (!kind.isEmpty()) {
        sql += QStringLiteral(" And JournalKind = ?");
        values << kind;
    }
    // Typed texts are matched as they are: no pattern characters of their own.
    const TSqlEngine &engine = TSqlEngine::Current();
    if (!customer.isEmpty()) {
        sql += QStringLiteral(" And ") + engine.Contains(QStringLiteral("JournalCustomer"));
        values << customer;
    }
    if (!key.isEmpty()) {
        sql += QStringLiteral(" And ") + engine.Contains(QStringLiteral("JournalKey"));
        values << key;
    }
    return SqlText(sql + QStringLiteral(" Order By JournalIndex Desc"), values);
}

QStringList Journal::Kinds()
{
    return {QStringLiteral("出货单"), QStringLiteral("进货单"), QStringLiteral("财务收入单"), QStringLiteral("财务支出单"),
            QStringLiteral("客户"), QStringLiteral("货品"), QStringLiteral("帐户"), QStringLiteral("报价"), QStringLiteral("客户报价"),
            QStringLiteral("其它应收款"), QStringLiteral("参数"), QStringLiteral("密码"), QStringLiteral("账套"),
            QStringLiteral("单据编号设置"), QStringLiteral("预存合计")};
}

QStringList Journal::Actions()
{
    return {QStringLiteral("新增"), QStringLiteral("修改"), QStringLiteral("删除"), QStringLiteral("恢复"),
            QStringLiteral("导入"), QStringLiteral("修正"), QStringLiteral("迁移")};
}

namespace {
QString Quoted(const QString &text)
{
    return QStringLiteral("“%1”").arg(text.size() > 20 ? text.left(20) + QStringLiteral("…") : text);
}

// An image as Values writes it: an object; a bill's names its kind and holds its lines as a list.
bool ImageFits(const QJsonValue &image, const QString &kind)
{
    if (!image.isObject() || image.toObject().isEmpty())
        return false;
    const QJsonObject o = image.toObject();
    static const QStringList bills = {QStringLiteral("出货单"), QStringLiteral("进货单"), QStringLiteral("财务收入单"),
                                      QStringLiteral("财务支出单")};
    if (!bills.contains(kind))
        return true;
    if (o.value(QStringLiteral("BillKind")) != QJsonValue(kind))
        return false;
    if (!o.contains(QStringLiteral("Lines")))
        return true;
    if (!o.value(QStringLiteral("Lines")).isArray())
        return false;
    const QJsonArray lines = o.value(QStringLiteral("Lines")).toArray();
    return std::all_of(lines.begin(), lines.end(), [](const QJsonValue &line) { return line.isObject(); });
}
} // namespace

QString Journal::Misfit(const QString &moment, const QString &action, const QString &kind, const QString &data)
{
    // Written as yyyy-MM-dd HH:mm:ss, read as text: no time zone may move it.
    const bool when = moment.size() == 19 && moment.at(10) == QLatin1Char(' ')
                      && QDate::fromString(moment.left(10), QStringLiteral("yyyy-MM-dd")).isValid()
                      && QTime::fromString(moment.mid(11), QStringLiteral("HH:mm:ss")).isValid();
    if (!when)
        return QStringLiteral("时间%1不是有效的时间").arg(Quoted(moment));
    if (!Actions().contains(action))
        return QStringLiteral("操作%1不是本程序记下的操作").arg(Quoted(action));
    if (!Kinds().contains(kind))
        return QStringLiteral("种类%1不是本程序记下的种类").arg(Quoted(kind));
    if (data.isEmpty())
        return QString();
    QJsonParseError parsed;
    const QJsonDocument document = QJsonDocument::fromJson(data.toUtf8(), &parsed);
    bool fits = parsed.error == QJsonParseError::NoError && document.isObject() && !document.object().isEmpty();
    const QJsonObject images = document.object();
    for (auto it = images.begin(); fits && it != images.end(); ++it)
        fits = (it.key() == QLatin1String("before") || it.key() == QLatin1String("after")) && ImageFits(it.value(), kind);
    return fits ? QString() : QStringLiteral("所记内容不是本程序写下的格式");
}
