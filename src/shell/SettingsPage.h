#pragma once
// The administrator's settings page: passwords (and, as they come, the bill
// parameter lists and the print type).

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TParameterLists;

class TSettingsPage : public QWidget {
    Q_OBJECT
public:
    explicit TSettingsPage(QWidget *parent = nullptr);

    void LoadPasswords();
    void ComboBox1Change();
    void Button10Click();
    void Button11Click();
    void LoadParameterList(int type);
    void LoadPrintType();

    QLabel *Label13;
    QComboBox *ComboBox1;
    QLineEdit *Edit1;
    QPushButton *Button10;
    QLabel *Label14;
    QLineEdit *Edit2;
    QPushButton *Button11;
    TParameterLists *Parameters;
};
