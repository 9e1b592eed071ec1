#include "reports/ReportRows.h"

#include "shell/Money.h"
#include "shell/ShareDM.h"

void TReportRows::Add(const QStringList &cells)
{
    QStringList line = cells.mid(0, CellCount);
    while (line.size() < CellCount)
        line << QString();
    lines_ << line;
}

void TReportRows::AddTotal(const QString &caption, double amount)
{
    Add({QString(), QString(), QString(), QString(), QString(), QString(), caption, MoneyText(amount)});
}

void TReportRows::AddSection(const QString &caption)
{
    const QString dash = QStringLiteral("------");
    Add({caption, dash, dash, dash, dash, dash, dash, dash, dash});
}

QString TReportRows::EnabledRowsSql()
{
    return QStringLiteral("Select * From PrintReport Where ReportEnable = 1 Order By ReportIndex");
}

bool TReportRows::Write(const QString &title) const
{
    return ShareDataModule->RunInTransaction(QStringLiteral("数据库打开失败"), [&] {
        TQuery rows(QStringLiteral("PrintReport"));
        rows.Open(QStringLiteral("Select ReportIndex From PrintReport Order By ReportIndex"));
        QVector<int> keys;
        for (rows.First(); !rows.Eof(); rows.Next())
            keys << rows.FieldByName(QStringLiteral("ReportIndex")).AsInteger();
        ShareDataModule->Exec(QStringLiteral("Update PrintReport Set ReportEnable = 0 Where ReportEnable <> 0"));
        const QString set = QStringLiteral("ReportEnable = 1, ReportGrid1 = ?, ReportGrid2 = ?, ReportGrid3 = ?, "
                                           "ReportGrid4 = ?, ReportGrid5 = ?, ReportGrid6 = ?, ReportGrid7 = ?, "
                                           "ReportGrid8 = ?, ReportGrid9 = ?");
        int next = keys.isEmpty() ? 1 : keys.last() + 1;
        for (int i = 0; i < lines_.size(); ++i) {
            QVariantList values;
            for (const QString &cell : lines_[i])
                values << cell;
            if (i < keys.size()) {
                values << keys[i];
                ShareDataModule->Exec(QStringLiteral("Update PrintReport Set ") + set + QStringLiteral(" Where ReportIndex = ?"),
                                      values);
            } else {
                values.prepend(next++);
                ShareDataModule->Exec(QStringLiteral("Insert Into PrintReport (ReportIndex, ReportEnable, ReportGrid1, ReportGrid2, "
                                                     "ReportGrid3, ReportGrid4, ReportGrid5, ReportGrid6, ReportGrid7, "
                                                     "ReportGrid8, ReportGrid9) Values (?, 1, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
                                      values);
            }
        }
        ShareDataModule->Exec(QStringLiteral("Update PrintList Set ListValue = ? Where ListIndex = 1"), {title});
        return true;
    });
}
