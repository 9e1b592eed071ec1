#pragma once
#include "cards/CardPage.h"
#include "figures/AccountFigures.h"

// Page 4: one card per money account with its balance and the month's movement.
class TAccountPage : public TCardPage {
    Q_OBJECT
public:
    TAccountPage(int *pageNumber, QWidget *parent = nullptr);

    bool FillAccountPage() { return Fill(); }
    void AccountPriorClick() { PriorClick(); }
    void AccountNextClick() { NextClick(); }
    void NewAccountClick();
    void OpenAccountCard(int k);

    QPushButton *MoneyMonth;
    QPushButton *ExportButton;   // "导出"

    void ActionMoneyMonthExecute();
    void ActionExportExecute();

protected:
    SqlText ListSql() override;
    QString ListFailure() override { return QStringLiteral("刷新帐户时出错"); }
    int RowKey(TQuery &row) override;
    bool LoadFigures() override;
    bool FillCard(int i, TQuery &row, qint64 &total) override;
    bool Contribution(TQuery &row, qint64 &total) override;
    QString TotalText(qint64 total) override;
    void OpenCard(int k) override { OpenAccountCard(k); }
    void NewClick() override { NewAccountClick(); }

private:
    TAccountFigures figures_;
};
