#pragma once
// The administrator's settings page: passwords, the bill parameter lists,
// the print type and the way into the report designer.

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
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
    void Button12Click();

    QLabel *Label13;
    QComboBox *ComboBox1;
    QLineEdit *Edit1;
    QPushButton *Button10;
    QLabel *Label14;
    QLineEdit *Edit2;
    QPushButton *Button11;
    TParameterLists *Parameters;
    QLabel *Label37;
    QComboBox *ComboBox5;
    QPushButton *Button12;
    QToolButton *DesignButton;   // runs the main window's ActionDesign
    QToolButton *ServerButton;   // runs the main window's ActionServer
};
