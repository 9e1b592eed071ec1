#pragma once
#include "ui/Form.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TSizeStockRow;

// The product editor: creates (mode 0), changes or deletes a product.
class TFormProduct : public TForm {
    Q_OBJECT
public:
    explicit TFormProduct(QWidget *parent = nullptr);

    int FEditMode = 0;
    int FProductIndex = 0;
    int FProductVersion = 0;   // as read when the window opened
    QString FReadPrice;        // the price as the window showed it on opening

    void FormShow() override;
    void BitBtn1Click();
    void BitBtn3Click();

    QLabel *Image9;
    QLineEdit *Edit2, *Edit3, *Edit4, *Edit7, *Edit8;
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3;
    QLabel *SizeCaption;
    TSizeStockRow *SizeRow;   // the stock of each size, for a stored product

private:
    QList<QLineEdit *> Edits() const { return {Edit2, Edit3, Edit4, Edit7, Edit8}; }
};

extern TFormProduct *FormProduct;
