#pragma once
// Checks the whole of the books for what does not add up: a damaged file, bills
// without their lines or lines without their bill, totals that disagree with
// their lines, signs against the bill kind, references to missing products or
// accounts, bill numbers that repeat or that the next proposal would repeat.
// Widget-free: it only reads; the repairs it offers, only when asked, are
// moving a bill-number setting forward and adding the kept totals up again.

#include <QDate>
#include <QList>
#include <QString>
#include <functional>

struct BooksFinding {
    QString kind;          // the kind of finding, as the list groups them
    bool fault = true;     // false: worth knowing, not wrong
    int billIndex = 0;     // 0 when no bill is concerned
    QString serial;
    QDate date;
    QString customer;
    QString explanation;
};

// A Setting row whose next proposal would repeat a stored number.
struct SettingBehind {
    int settingIndex = 0;
    QString stored;   // what the row holds
    QString highest;  // the highest number of that kind with the same letters
};

class TBooksAudit {
public:
    // Runs every check; progress goes from 0 to 100. False when a query failed
    // (the message was shown); the findings so far stay.
    bool Run(const std::function<void(int)> &progress = {});

    const QList<BooksFinding> &Findings() const { return findings_; }
    int FaultCount() const;
    // "数据库完整性：1；缺少单据行：2 …" in the order of the checks; "未发现问题" when clean.
    QString Summary() const;
    // "发现 2 处问题，另有 1 条提示。金额不符：1；…": problems and hints counted apart.
    QString Headline() const;
    const QList<SettingBehind> &SettingsBehind() const { return settings_; }
    // Some kept total differs from its rows.
    bool KeptTotalsDiffer() const { return keptDiffer_; }
    // Adds every kept total up again from the rows, in one transaction; nothing else changes.
    static bool RebuildKeptTotals();

    static const QString NothingFound;

private:
    bool Integrity();
    bool LineCounts();
    bool Totals();
    bool Signs();
    bool References();
    bool UnknownCustomers();
    bool BillNumbers();
    bool KeptSums();
    bool WholeFen();
    void Add(const QString &kind, const QString &explanation, int billIndex = 0, bool fault = true);
    bool ForBills(const QString &sql, const std::function<void(class TQuery &)> &each);

    QList<BooksFinding> findings_;
    QList<SettingBehind> settings_;
    QStringList kinds_;   // in the order they were first found
    bool keptDiffer_ = false;
};
