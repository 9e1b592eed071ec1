#pragma once
#include "cards/CardPage.h"

class QComboBox;
class QLabel;

// A bill page: the bills of the working day or of its month.
class TBillRangePage : public TCardPage {
    Q_OBJECT
public:
    TBillRangePage(const QString &sheetName, Look look, int *pageNumber, const QString &comboName, QWidget *parent);

    QLabel *RangeLabel;
    QComboBox *RangeBox;   // 当天单据 / 当月单据

protected:
    bool WholeMonth() const;   // 当月单据 chosen
    QString ListFailure() override { return QStringLiteral("获取单据时出错"); }
    int RowKey(TQuery &row) override;
    // The editor mode of the clicked card's bill: 1 for the first kind, 3 for the second,
    // 0 when it cannot be read, is gone (message shown) or is of another kind.
    int CardBillMode(int k, const QString &mode1Kind, const QString &mode3Kind, int &index);
};

// Page 1: goods bills, largest sale first.
class TBillPage : public TBillRangePage {
    Q_OBJECT
public:
    TBillPage(int *pageNumber, QWidget *parent = nullptr);

    bool FillBillPage() { return Fill(); }
    void BillPriorClick() { PriorClick(); }
    void BillNextClick() { NextClick(); }
    void ComboBox3Change() { Fill(); }
    void OpenBillCard(int k);
    void NewBillClick();

protected:
    SqlText ListSql() override;
    bool FillCard(int i, TQuery &row, qint64 &total) override;
    bool Contribution(TQuery &row, qint64 &total) override;
    QString TotalText(qint64 total) override;
    void OpenCard(int k) override { OpenBillCard(k); }
    void NewClick() override { NewBillClick(); }
};

// Page 2: finance bills, largest income first.
class TMoneyPage : public TBillRangePage {
    Q_OBJECT
public:
    TMoneyPage(int *pageNumber, QWidget *parent = nullptr);

    bool FillMoneyPage() { return Fill(); }
    void MoneyPriorClick() { PriorClick(); }
    void MoneyNextClick() { NextClick(); }
    void ComboBox4Change() { Fill(); }
    void OpenMoneyCard(int k);
    void NewMoneyClick();

protected:
    SqlText ListSql() override;
    bool FillCard(int i, TQuery &row, qint64 &total) override;
    bool Contribution(TQuery &row, qint64 &total) override;
    QString TotalText(qint64 total) override;
    void OpenCard(int k) override { OpenMoneyCard(k); }
    void NewClick() override { NewMoneyClick(); }
};
