#pragma once
// The online support form: the user writes a message for the vendor's
// support, which opens in the browser as the support page's address.

#include "ui/Form.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QToolButton;

class TFormOnlineChat : public TForm {
    Q_OBJECT
public:
    explicit TFormOnlineChat(QWidget *parent = nullptr);

    void FormShow() override;
    void ComboBox1Change();
    void ActionYesExecute();
    void ActionCancelExecute();

    QLabel *Label4;
    QLineEdit *Edit1;
    QLabel *Label1;
    QLineEdit *Edit2;
    QLabel *Label2;
    QComboBox *ComboBox1;
    QPlainTextEdit *Memo1;
    QToolButton *Login;
    QToolButton *Close;
    QAction *ActionYes;
    QAction *ActionCancel;
};

extern TFormOnlineChat *FormOnlineChat;
