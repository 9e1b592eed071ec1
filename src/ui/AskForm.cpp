#include "ui/AskForm.h"

#include "ui/Artwork.h"
#include "ui/Dialogs.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFormAsk *FormAsk = nullptr;

TFormAsk::TFormAsk(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormAsk"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(496, 174);

    Shape1 = new QFrame(this);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setGeometry(20, 37, 100, 100);
    Shape1->setStyleSheet(QStringLiteral("#Shape1 { border: 1px solid #7a9cc6; border-radius: 12px; background: #f4f8fd; }"));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(30, 47, 80, 80);
    Image1->setPixmap(Artwork::QuestionIcon(80));

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(150, 26, 297, 33);
    Label1->setAlignment(Qt::AlignCenter);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(150, 66, 297, 26);

    BitBtn1 = new QPushButton(QStringLiteral("确定"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(180, 118, 100, 32);
    BitBtn1->setCursor(Qt::PointingHandCursor);
    BitBtn1->setDefault(true);
    BitBtn1->setAutoDefault(true);

    BitBtn2 = new QPushButton(QStringLiteral("Cancel"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    BitBtn2->setGeometry(318, 118, 100, 32);
    BitBtn2->setCursor(Qt::PointingHandCursor);
    BitBtn2->setAutoDefault(false);

    connect(BitBtn1, &QPushButton::clicked, this, &TFormAsk::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormAsk::FormShow()
{
    setWindowTitle(FCaptionText);
    Label1->setText(FPromptText);
    Edit1->setText(FInputText);
    Edit1->setFocus();
}

void TFormAsk::BitBtn1Click()
{
    FInputText = Edit1->text();
    accept();
}

void TFormAsk::SetPasswordMode(bool on)
{
    // Shown as "#" while the data-modification password is asked.
    SetPasswordEcho(Edit1, on);
}

bool AskForText(const QString &caption, const QString &prompt, const QString &initial, QString &value)
{
    FormAsk->FCaptionText = caption;
    FormAsk->FPromptText = prompt;
    FormAsk->FInputText = initial;
    if (Dialogs::ShowModal(FormAsk) != QDialog::Accepted)
        return false;
    value = FormAsk->FInputText;
    return true;
}
