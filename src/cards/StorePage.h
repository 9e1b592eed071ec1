#pragma once
#include "cards/CardPage.h"
#include "figures/ProductFigures.h"

#include <QComboBox>

// An editable combo box that tells when its list is about to open.
class TDropDownCombo : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void showPopup() override;
signals:
    void dropDown();
};

// Page 3: one card per product with its stock and the value of that stock.
class TStorePage : public TCardPage {
    Q_OBJECT
public:
    TStorePage(int *pageNumber, QWidget *parent = nullptr);

    bool FillStorePage() { return Fill(); }
    void StorePriorClick() { PriorClick(); }
    void StoreNextClick() { NextClick(); }
    void NewStoreClick();
    void OpenStoreCard(int k);
    void ComboBox6DropDown();
    void ComboBox7DropDown();
    void ComboBox8DropDown();
    void ActionProductSearchExecute() { Fill(); }

    TDropDownCombo *ComboBox6;
    TDropDownCombo *ComboBox7;
    TDropDownCombo *ComboBox8;
    QPushButton *ProductSearch;
    QPushButton *ProductMonth;
    QPushButton *SizeStockButton;   // "尺码库存"
    QPushButton *ExportButton;      // "导出"
    void ActionSizeStockExecute();
    void ActionExportExecute();

    void ActionProductMonthExecute();

protected:
    SqlText ListSql() override;
    QString ListFailure() override { return QStringLiteral("刷新仓库商品时出错"); }
    int RowKey(TQuery &row) override;
    bool LoadFigures() override;
    bool FillCard(int i, TQuery &row, qint64 &total) override;
    bool Contribution(TQuery &row, qint64 &total) override;
    QString TotalText(qint64 total) override;
    void OpenCard(int k) override { OpenStoreCard(k); }
    void NewClick() override { NewStoreClick(); }

private:
    void RefillFilter(QComboBox *box, const QString &column);
    TProductFigures figures_;
};
