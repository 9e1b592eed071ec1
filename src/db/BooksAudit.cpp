#include "db/BooksAudit.h"

#include "db/Journal.h"

#include "db/KeptTotals.h"
#include "db/SqlEngine.h"
#include "core/Notice.h"
#include "db/Money.h"
#include "core/NumberTexts.h"
#include "db/Queries.h"
#include "db/ShareDM.h"

#include <QHash>
#include <QSqlError>
#include <QSqlQuery>

const QString TBooksAudit::NothingFound = QStringLiteral("未发现问题");

namespace {
const QString failure = QStringLiteral("数据库打开失败");
const QString goodsKinds = QStringLiteral("(BillKind = '出货单' Or BillKind = '进货单')");

// The letters before the digits and the number they make, without leading zeros.
struct SerialParts {
    QString prefix;
    QString number;
    bool valid = false;
};

SerialParts Split(const QString &serial)
{
    SerialParts parts;
    int at = 0;
    while (at < serial.size() && !(serial[at] >= QLatin1Char('0') && serial[at] <= QLatin1Char('9')))
        ++at;
    parts.prefix = serial.left(at);
    parts.valid = IsDigitText(serial.mid(at));
    parts.number = serial.mid(at);
    while (parts.number.startsWith(QLatin1Char('0')))
        parts.number.remove(0, 1);
    return parts;
}

// Compares two digit runs without leading zeros as numbers of any length.
bool Greater(const QString &a, const QString &b)
{
    return a.size() != b.size() ? a.size() > b.size() : a > b;
}
} // namespace

void TBooksAudit::Add(const QString &kind, const QString &explanation, int billIndex, bool fault)
{
    BooksFinding f;
    f.kind = kind;
    f.fault = fault;
    f.billIndex = billIndex;
    f.explanation = explanation;
    findings_ << f;
    if (!kinds_.contains(kind))
        kinds_ << kind;
}

bool TBooksAudit::ForBills(const QString &sql, const std::function<void(TQuery &)> &each)
{
    TQuery q(QStringLiteral("BooksAudit"));
    if (!RunQuery(q, sql, failure))
        return false;
    for (q.First(); !q.Eof(); q.Next()) {
        const int before = int(findings_.size());
        each(q);
        // Every finding about a bill names it the same way.
        for (int i = before; i < findings_.size(); ++i) {
            BooksFinding &f = findings_[i];
            if (q.HasField(QStringLiteral("BillSerial")))
                f.serial = q.FieldByName(QStringLiteral("BillSerial")).AsString();
            if (q.HasField(QStringLiteral("BillCreateTime")))
                f.date = q.FieldByName(QStringLiteral("BillCreateTime")).AsDate();
            if (q.HasField(QStringLiteral("BillUser")))
                f.customer = q.FieldByName(QStringLiteral("BillUser")).AsString();
        }
    }
    return true;
}

bool TBooksAudit::Run(const std::function<void(int)> &progress)
{
    findings_.clear();
    settings_.clear();
    kinds_.clear();
    keptDiffer_ = false;
    const std::function<bool(TBooksAudit *)> steps[] = {&TBooksAudit::Integrity, &TBooksAudit::LineCounts, &TBooksAudit::Totals,
                                                        &TBooksAudit::Signs,     &TBooksAudit::References, &TBooksAudit::UnknownCustomers,
                                                        &TBooksAudit::BillNumbers, &TBooksAudit::KeptSums,
                                                        &TBooksAudit::WholeFen};
    const int count = int(std::size(steps));
    for (int i = 0; i < count; ++i) {
        if (progress)
            progress(i * 100 / count);
        if (!steps[i](this))
            return false;
    }
    if (progress)
        progress(100);
    return true;
}

int TBooksAudit::FaultCount() const
{
    int n = 0;
    for (const BooksFinding &f : findings_)
        n += f.fault ? 1 : 0;
    return n;
}

QString TBooksAudit::Summary() const
{
    if (findings_.isEmpty())
        return NothingFound;
    QStringList parts;
    for (const QString &kind : kinds_) {
        int n = 0;
        for (const BooksFinding &f : findings_)
            n += f.kind == kind ? 1 : 0;
        parts << QStringLiteral("%1：%2").arg(kind).arg(n);
    }
    return parts.join(QStringLiteral("；"));
}

QString TBooksAudit::Headline() const
{
    if (findings_.isEmpty())
        return NothingFound;
    const int faults = FaultCount();
    const int hints = int(findings_.size()) - faults;
    QString head = faults > 0 ? QStringLiteral("发现 %1 处问题").arg(faults) : NothingFound;
    if (hints > 0)
        head += (faults > 0 ? QStringLiteral("，另有 %1 条提示") : QStringLiteral("，有 %1 条提示")).arg(hints);
    return head + QStringLiteral("。") + Summary();
}

bool TBooksAudit::Integrity()
{
    QSqlQuery q;
    try {
        q = QSqlQuery(ShareDataModule->Connection());
    } catch (const EDatabaseError &e) {
        Add(QStringLiteral("数据库完整性"), QStringLiteral("无法检查数据库文件：") + QString::fromUtf8(e.what()));
        return true;
    }
    const QString check = TSqlEngine::Current().IntegrityCheck();
    if (check.isEmpty())
        return true;
    if (!q.exec(check)) {
        Add(QStringLiteral("数据库完整性"), QStringLiteral("无法检查数据库文件：") + q.lastError().text());
        return true;
    }
    while (q.next()) {
        const QString line = q.value(0).toString();
        if (line != QLatin1String("ok"))
            Add(QStringLiteral("数据库完整性"), QStringLiteral("数据库文件有损坏：") + line);
    }
    return true;
}

bool TBooksAudit::LineCounts()
{
    const QString kind = QStringLiteral("单据行缺失");
    if (!ForBills(QStringLiteral("Select BillIndex, BillSerial, BillCreateTime, BillUser, BillKind, (Select Count(*) From Store "
                                 "Where StoreBill = BillIndex) As Lines From Bill Where (BillIndex > 1) And ")
                      + goodsKinds + QStringLiteral(" And ((Select Count(*) From Store Where StoreBill = BillIndex) <> 6) "
                                                    "Order By BillIndex"),
                  [&](TQuery &q) {
                      Add(kind, QStringLiteral("%1应有6个货品行，实有%2个")
                                    .arg(q.FieldByName(QStringLiteral("BillKind")).AsString())
                                    .arg(q.FieldByName(QStringLiteral("Lines")).AsInteger()),
                          q.FieldByName(QStringLiteral("BillIndex")).AsInteger());
                  }))
        return false;
    return ForBills(QStringLiteral("Select StoreIndex, StoreBill From Store Where StoreBill Not In (Select BillIndex From Bill) "
                                   "Order By StoreIndex"),
                    [&](TQuery &q) {
                        Add(QStringLiteral("孤立的货品行"),
                            QStringLiteral("货品行%1属于已不存在的单据%2")
                                .arg(q.FieldByName(QStringLiteral("StoreIndex")).AsInteger())
                                .arg(q.FieldByName(QStringLiteral("StoreBill")).AsInteger()));
                    });
}

bool TBooksAudit::Totals()
{
    // A bill's total is the sum of its line amounts, each rounded to the fen. A bill
    // an earlier version saved may differ only by that rounding: worth knowing, not wrong.
    if (!ForBills(QStringLiteral("Select BillIndex, BillSerial, BillCreateTime, BillUser, BillSum, Sum(StoreSum) As LineSum, Sum(")
                      + FenSql(QStringLiteral("StoreSum"))
                      + QStringLiteral(") As LineFen From Bill, Store Where (StoreBill = BillIndex) And (BillIndex > 1) And ")
                      + goodsKinds
                      + QStringLiteral(" Group By BillIndex, BillSerial, BillCreateTime, BillUser, BillSum Having Abs(")
                      + FenSql(QStringLiteral("BillSum")) + QStringLiteral(") <> Sum(") + FenSql(QStringLiteral("StoreSum"))
                      + QStringLiteral(") Order By BillIndex"),
                  [&](TQuery &q) {
                      const double total = RoundMoney(qAbs(q.FieldByName(QStringLiteral("BillSum")).AsFloat()));
                      const double lines = FenToYuan(q.FieldByName(QStringLiteral("LineFen")).AsLargeInt());
                      const bool roundingOnly = total == RoundMoney(q.FieldByName(QStringLiteral("LineSum")).AsFloat());
                      Add(roundingOnly ? QStringLiteral("金额舍入（提示）") : QStringLiteral("金额不符"),
                          QStringLiteral("单据金额%1元，各货品行金额（每行到分）之和%2元%3")
                              .arg(MoneyText(total), MoneyText(lines), roundingOnly ? QStringLiteral("，系早先版本的舍入所致") : QString()),
                          q.FieldByName(QStringLiteral("BillIndex")).AsInteger(), !roundingOnly);
                  }))
        return false;
    return ForBills(QStringLiteral("Select BillIndex, BillSerial, BillCreateTime, BillUser, StoreIndex, StoreNumber, ")
                        + KeptTotals::SumOfSizes() + QStringLiteral(" As Sizes, ") + KeptTotals::OddSizeText()
                        + QStringLiteral(" As Odd From Bill, Store Where (StoreBill = BillIndex) And ((Abs(StoreNumber) <> ")
                        + KeptTotals::SumOfSizes() + QStringLiteral(") Or ") + KeptTotals::OddSizeText()
                        + QStringLiteral(") Order By BillIndex, StoreIndex"),
                    [&](TQuery &q) {
                        Add(QStringLiteral("数量不符"),
                            q.FieldByName(QStringLiteral("Odd")).AsBoolean()
                                ? QStringLiteral("货品行%1的尺码数量不是整数").arg(q.FieldByName(QStringLiteral("StoreIndex")).AsInteger())
                                : QStringLiteral("货品行%1的数量为%2，各尺码之和为%3")
                                      .arg(q.FieldByName(QStringLiteral("StoreIndex")).AsInteger())
                                      .arg(qAbs(q.FieldByName(QStringLiteral("StoreNumber")).AsInteger()))
                                      .arg(q.FieldByName(QStringLiteral("Sizes")).AsInteger()),
                            q.FieldByName(QStringLiteral("BillIndex")).AsInteger());
                    });
}

bool TBooksAudit::KeptSums()
{
    bool ok = false;
    const QStringList differ = ::KeptTotals::Differences(ShareDataModule->Connection(), &ok);
    if (!ok) {
        Notice::Tell(QStringLiteral("检查预存合计时出错"));
        return false;
    }
    keptDiffer_ = !differ.isEmpty();
    for (const QString &which : differ)
        Add(QStringLiteral("预存合计不符"), which + QStringLiteral("的预存合计与单据不符，可修复"));
    return true;
}

bool TBooksAudit::WholeFen()
{
    // Amounts an earlier version stored with more decimals than the fen: shown as
    // they are, counted rounded. Each finding names its row, so the user can find it.
    const QString kind = QStringLiteral("金额不到分（提示）");
    auto odd = [](const QString &column) {
        return QStringLiteral("(Abs(%1 * 100 - %2) > 0.000001)").arg(column, FenSql(column));
    };
    auto said = [](const QString &what, double amount) {
        return QStringLiteral("%1%2元的小数多于两位，统计时按四舍五入到分计为%3元").arg(what, NumberText(amount), MoneyText(amount));
    };
    for (const auto &[column, what] : {std::pair{"BillSum", "单据金额"}, std::pair{"BillMoney", "单据收付金额"}})
        if (!ForBills(QStringLiteral("Select BillIndex, BillSerial, BillCreateTime, BillUser, %1 As Amount From Bill "
                                     "Where (BillIndex > 1) And %2 Order By BillIndex")
                          .arg(QLatin1String(column), odd(QLatin1String(column))),
                      [&](TQuery &q) {
                          Add(kind, said(QString::fromUtf8(what), q.FieldByName(QStringLiteral("Amount")).AsFloat()),
                              q.FieldByName(QStringLiteral("BillIndex")).AsInteger(), false);
                      }))
            return false;
    if (!ForBills(QStringLiteral("Select BillIndex, BillSerial, BillCreateTime, BillUser, StoreIndex, StoreSum From Bill, Store "
                                 "Where (StoreBill = BillIndex) And %1 Order By BillIndex, StoreIndex")
                      .arg(odd(QStringLiteral("StoreSum"))),
                  [&](TQuery &q) {
                      Add(kind, said(QStringLiteral("货品行%1的金额").arg(q.FieldByName(QStringLiteral("StoreIndex")).AsInteger()),
                                     q.FieldByName(QStringLiteral("StoreSum")).AsFloat()),
                          q.FieldByName(QStringLiteral("BillIndex")).AsInteger(), false);
                  }))
        return false;
    // Other receivables and opening debts belong to no bill: the customer and the day name them.
    TQuery q(QStringLiteral("BooksAudit"));
    if (!RunQuery(q, QStringLiteral("Select SGCustomer, SGDate, SGSum From SG Where %1 Order By SGIndex").arg(odd(QStringLiteral("SGSum"))),
                  QStringLiteral("检查金额时出错")))
        return false;
    for (q.First(); !q.Eof(); q.Next()) {
        Add(kind, said(QStringLiteral("其它应收金额"), q.FieldByName(QStringLiteral("SGSum")).AsFloat()), 0, false);
        findings_.last().customer = q.FieldByName(QStringLiteral("SGCustomer")).AsString();
        findings_.last().date = q.FieldByName(QStringLiteral("SGDate")).AsDate();
    }
    if (!RunQuery(q, QStringLiteral("Select CustomerName, CustomerOwe From Customer Where (CustomerIndex > 1) And %1 "
                                    "Order By CustomerIndex").arg(odd(QStringLiteral("CustomerOwe"))),
                  QStringLiteral("检查金额时出错")))
        return false;
    for (q.First(); !q.Eof(); q.Next()) {
        Add(kind, said(QStringLiteral("起初欠款"), q.FieldByName(QStringLiteral("CustomerOwe")).AsFloat()), 0, false);
        findings_.last().customer = q.FieldByName(QStringLiteral("CustomerName")).AsString();
    }
    return true;
}

bool TBooksAudit::RebuildKeptTotals()
{
    return ShareDataModule->RunInTransaction(QStringLiteral("预存合计重算失败，未作任何修改"), [] {
        QString error;
        if (!::KeptTotals::Rebuild(ShareDataModule->Connection(), &error))
            throw EDatabaseError(error);
        Journal::Write({QStringLiteral("修正"), QStringLiteral("预存合计"), QString(), QString(), {QStringLiteral("按单据重新计算了预存合计")}, {}, {}});
        return true;
    });
}

bool TBooksAudit::Signs()
{
    // Sales: total and money up, quantities down; purchases the reverse;
    // income both up and equal; expense both down and equal.
    const QString kind = QStringLiteral("正负号错误");
    const QString billSigns = QStringLiteral(
        "((BillKind = '出货单' And (BillSum < 0 Or BillMoney < 0)) Or (BillKind = '进货单' And (BillSum > 0 Or BillMoney > 0)) Or "
        "(BillKind = '财务收入单' And (BillSum < 0 Or BillMoney <> BillSum)) Or "
        "(BillKind = '财务支出单' And (BillSum > 0 Or BillMoney <> BillSum)))");
    if (!ForBills(QStringLiteral("Select BillIndex, BillSerial, BillCreateTime, BillUser, BillKind, BillSum, BillMoney From Bill "
                                 "Where (BillIndex > 1) And ")
                      + billSigns + QStringLiteral(" Order By BillIndex"),
                  [&](TQuery &q) {
                      Add(kind, QStringLiteral("%1的金额%2、已付%3与单据种类的正负号不符")
                                    .arg(q.FieldByName(QStringLiteral("BillKind")).AsString(),
                                         NumberText(q.FieldByName(QStringLiteral("BillSum")).AsFloat()),
                                         NumberText(q.FieldByName(QStringLiteral("BillMoney")).AsFloat())),
                          q.FieldByName(QStringLiteral("BillIndex")).AsInteger());
                  }))
        return false;
    return ForBills(QStringLiteral("Select BillIndex, BillSerial, BillCreateTime, BillUser, BillKind, StoreIndex, StoreNumber, "
                                   "StorePrice, StoreSum From Bill, Store Where (StoreBill = BillIndex) And "
                                   "((BillKind = '出货单' And StoreNumber > 0) Or (BillKind = '进货单' And StoreNumber < 0) Or "
                                   "(StorePrice < 0) Or (StoreSum < 0) Or (BillKind <> '出货单' And BillKind <> '进货单')) "
                                   "Order By BillIndex, StoreIndex"),
                    [&](TQuery &q) {
                        const QString billKind = q.FieldByName(QStringLiteral("BillKind")).AsString();
                        const bool goods = billKind == QStringLiteral("出货单") || billKind == QStringLiteral("进货单");
                        Add(kind,
                            goods ? QStringLiteral("%1的货品行%2：数量%3、单价%4、金额%5的正负号不符")
                                        .arg(billKind)
                                        .arg(q.FieldByName(QStringLiteral("StoreIndex")).AsInteger())
                                        .arg(q.FieldByName(QStringLiteral("StoreNumber")).AsInteger())
                                        .arg(NumberText(q.FieldByName(QStringLiteral("StorePrice")).AsFloat()),
                                             NumberText(q.FieldByName(QStringLiteral("StoreSum")).AsFloat()))
                                  : QStringLiteral("%1不应有货品行（货品行%2）")
                                        .arg(billKind)
                                        .arg(q.FieldByName(QStringLiteral("StoreIndex")).AsInteger()),
                            q.FieldByName(QStringLiteral("BillIndex")).AsInteger());
                    });
}

bool TBooksAudit::References()
{
    if (!ForBills(QStringLiteral("Select BillIndex, BillSerial, BillCreateTime, BillUser, StoreIndex, StoreProduct From Bill, Store "
                                 "Where (StoreBill = BillIndex) And (StoreProduct <> 0) And "
                                 "(StoreProduct Not In (Select ProductIndex From Product)) Order By BillIndex, StoreIndex"),
                  [&](TQuery &q) {
                      Add(QStringLiteral("货品不存在"),
                          QStringLiteral("货品行%1的货品%2已不存在")
                              .arg(q.FieldByName(QStringLiteral("StoreIndex")).AsInteger())
                              .arg(q.FieldByName(QStringLiteral("StoreProduct")).AsInteger()),
                          q.FieldByName(QStringLiteral("BillIndex")).AsInteger());
                  }))
        return false;
    // Older versions wrote such lines: the bill counts them, the editor shows an empty line.
    if (!ForBills(QStringLiteral("Select BillIndex, BillSerial, BillCreateTime, BillUser, StoreIndex, StoreNumber, StoreSum "
                                 "From Bill, Store Where (StoreBill = BillIndex) And (BillIndex > 1) And "
                                 "(StoreProduct = 0 Or StoreProduct Is Null) And (StoreNumber <> 0 Or StoreSum <> 0) "
                                 "Order By BillIndex, StoreIndex"),
                  [&](TQuery &q) {
                      Add(QStringLiteral("货品行无货品"),
                          QStringLiteral("货品行%1没有货品，却有数量%2、金额%3元：计入单据金额，在单据中却看不到")
                              .arg(q.FieldByName(QStringLiteral("StoreIndex")).AsInteger())
                              .arg(NumberText(qAbs(q.FieldByName(QStringLiteral("StoreNumber")).AsFloat())),
                                   NumberText(q.FieldByName(QStringLiteral("StoreSum")).AsFloat())),
                          q.FieldByName(QStringLiteral("BillIndex")).AsInteger());
                  }))
        return false;
    return ForBills(QStringLiteral("Select BillIndex, BillSerial, BillCreateTime, BillUser, BillAccount From Bill Where "
                                   "(BillIndex > 1) And (BillAccount Not In (Select AccountIndex From Account)) Order By BillIndex"),
                    [&](TQuery &q) {
                        Add(QStringLiteral("帐户不存在"),
                            QStringLiteral("单据记在已不存在的帐户%1上，其款项不计入任何帐户")
                                .arg(q.FieldByName(QStringLiteral("BillAccount")).AsInteger()),
                            q.FieldByName(QStringLiteral("BillIndex")).AsInteger());
                    });
}

bool TBooksAudit::UnknownCustomers()
{
    return ForBills(QStringLiteral("Select BillIndex, BillSerial, BillCreateTime, BillUser From Bill Where (BillIndex > 1) And "
                                   "(BillUser Not In (Select CustomerName From Customer)) Order By BillIndex"),
                    [&](TQuery &q) {
                        Add(QStringLiteral("客户已不在（提示）"),
                            QStringLiteral("单据上的客户“%1”不在客户表中（可能已删除），单据照常计入各帐户和库存")
                                .arg(q.FieldByName(QStringLiteral("BillUser")).AsString()),
                            q.FieldByName(QStringLiteral("BillIndex")).AsInteger(), false);
                    });
}

bool TBooksAudit::BillNumbers()
{
    if (!ForBills(QStringLiteral("Select BillKind, BillSerial, Count(*) As Times, Min(BillIndex) As BillIndex From Bill "
                                 "Where (BillIndex > 1) And (BillSerial <> '') Group By BillKind, BillSerial "
                                 "Having Count(*) > 1 Order By BillKind, BillSerial"),
                  [&](TQuery &q) {
                      Add(QStringLiteral("单据编号重复"),
                          QStringLiteral("%1编号“%2”用了%3次")
                              .arg(q.FieldByName(QStringLiteral("BillKind")).AsString(),
                                   q.FieldByName(QStringLiteral("BillSerial")).AsString())
                              .arg(q.FieldByName(QStringLiteral("Times")).AsInteger()),
                          q.FieldByName(QStringLiteral("BillIndex")).AsInteger());
                  }))
        return false;
    const QString kinds[4] = {QStringLiteral("出货单"), QStringLiteral("进货单"), QStringLiteral("财务收入单"), QStringLiteral("财务支出单")};
    TQuery setting(QStringLiteral("BooksAuditSetting"));
    if (!RunQuery(setting, QStringLiteral("Select * From Setting Where SettingIndex Between 1 And 4 Order By SettingIndex"), failure))
        return false;
    for (setting.First(); !setting.Eof(); setting.Next()) {
        const int index = setting.FieldByName(QStringLiteral("SettingIndex")).AsInteger();
        const QString stored = setting.FieldByName(QStringLiteral("SettingValue")).AsString();
        const SerialParts base = Split(stored);
        if (!base.valid)
            continue;   // the editor says so itself when it proposes a number
        TQuery q(QStringLiteral("BooksAuditSerials"));
        if (!RunQuery(q, QStringLiteral("Select BillSerial From Bill Where (BillIndex > 1) And (BillKind = ?)"), failure,
                      {kinds[index - 1]}))
            return false;
        QString highest;
        QString highestNumber = base.number;
        for (q.First(); !q.Eof(); q.Next()) {
            const QString serial = q.FieldByName(QStringLiteral("BillSerial")).AsString();
            const SerialParts p = Split(serial);
            if (p.valid && p.prefix == base.prefix && Greater(p.number, highestNumber)) {
                highestNumber = p.number;
                highest = serial;
            }
        }
        if (!highest.isEmpty()) {
            settings_ << SettingBehind{index, stored, highest};
            Add(QStringLiteral("编号设置落后"),
                QStringLiteral("%1的上次编号记为“%2”，但已有单据编号“%3”，下次建议的编号会重复").arg(kinds[index - 1], stored, highest));
        }
    }
    return true;
}
