#pragma once
#include "ui/Form.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QFrame;

// One-line input dialog: the caller sets the three texts, shows it, and reads
// FInputText after OK.
class TFormAsk : public TForm {
    Q_OBJECT
public:
    explicit TFormAsk(QWidget *parent = nullptr);

    QString FCaptionText;
    QString FPromptText;
    QString FInputText;

    void FormShow() override;
    void SetPasswordMode(bool on);

    QFrame *Shape1;
    QLabel *Image1;
    QLabel *Label1;
    QLineEdit *Edit1;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;

private:
    void BitBtn1Click();
};

extern TFormAsk *FormAsk;

// Shows the input dialog; true with the confirmed text in value after OK.
bool AskForText(const QString &caption, const QString &prompt, const QString &initial, QString &value);
