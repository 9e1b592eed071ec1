#pragma once
#include "ui/Form.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QToolButton;

class TFormLogin : public TForm {
    Q_OBJECT
public:
    explicit TFormLogin(QWidget *parent = nullptr);

    QString SelectedPower;
    QString EnteredKey;

    void FormShow() override;
    void ActionLoginExecute();
    void ActionCloseExecute();

    QLabel *Image1;
    QLabel *Image2;
    QLabel *Label15;
    QLabel *Label16;
    QComboBox *ComboBox1;
    QLineEdit *Edit1;
    QAction *ActionLogin;
    QAction *ActionClose;
    QToolButton *Login;
    QToolButton *Close;

private:
    void FormCreate();
};

extern TFormLogin *FormLogin;
