#pragma once
#include "cards/CardPage.h"
#include "figures/CustomerFigures.h"

class QComboBox;

// Page 0: one card per customer with its goods amount and debt.
class TCustomerPage : public TCardPage {
    Q_OBJECT
public:
    TCustomerPage(int *pageNumber, QWidget *parent = nullptr);

    bool FillCustomerPage() { return Fill(); }
    void CustomerPriorClick() { PriorClick(); }
    void CustomerNextClick() { NextClick(); }
    void NewCustomerClick();
    void ComboBox2Change();
    void OpenCustomerCard(int k);

    QLabel *Label3;
    QComboBox *ComboBox2;
    QPushButton *BigReport;
    QPushButton *ExportButton;   // "导出"

    void ActionBigReportExecute();
    void ActionExportExecute();

protected:
    SqlText ListSql() override;
    QString ListFailure() override { return QStringLiteral("刷新帐户时出错"); }
    int RowKey(TQuery &row) override;
    bool LoadFigures() override;
    bool FillCard(int i, TQuery &row, qint64 &total) override;
    bool Contribution(TQuery &row, qint64 &total) override;
    QString TotalText(qint64 total) override;
    void OpenCard(int k) override { OpenCustomerCard(k); }
    void NewClick() override { NewCustomerClick(); }

private:
    CustomerSums SumsOf(TQuery &row) const;
    TCustomerFigures figures_;
};
