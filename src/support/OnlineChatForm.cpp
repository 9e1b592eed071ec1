#include "support/OnlineChatForm.h"

#include "ui/Dialogs.h"
#include "support/WebLinks.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>

TFormOnlineChat *FormOnlineChat = nullptr;

namespace {
// The text each item of ComboBox1 puts into the memo; the last one, "自定义", leaves it to the user.
const QStringList MemoTexts = {QStringLiteral("我想了解该软件的更多功能"), QStringLiteral("我想获得更多有关该软件的介绍"),
                               QStringLiteral("我需要类似的软件产品，请跟我联系"), QString()};

QLabel *NewLabel(QWidget *parent, const QString &name, const QString &caption, int y)
{
    auto *l = new QLabel(caption, parent);
    l->setObjectName(name);
    l->setGeometry(24, y, 72, 24);
    return l;
}

QLineEdit *NewEdit(QWidget *parent, const QString &name, int y)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setGeometry(100, y, 296, 24);
    return e;
}

QToolButton *SpeedButton(QWidget *parent, const QString &name, QAction *action, int x)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setDefaultAction(action);
    b->setGeometry(x, 234, 90, 28);
    b->setCursor(Qt::PointingHandCursor);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}
} // namespace

TFormOnlineChat::TFormOnlineChat(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormOnlineChat"));
    setWindowTitle(QStringLiteral("Mirelo软件--免费在线技术支持"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(422, 272);

    Label4 = NewLabel(this, QStringLiteral("Label4"), QStringLiteral("联系人"), 18);
    Edit1 = NewEdit(this, QStringLiteral("Edit1"), 18);
    Label1 = NewLabel(this, QStringLiteral("Label1"), QStringLiteral("联系电话"), 52);
    Edit2 = NewEdit(this, QStringLiteral("Edit2"), 52);
    Label2 = NewLabel(this, QStringLiteral("Label2"), QStringLiteral("信息内容"), 86);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(100, 86, 296, 24);
    ComboBox1->addItems({QStringLiteral("我想了解该软件。。。"), QStringLiteral("我想获得更多的。。。"),
                         QStringLiteral("我需要类似的软。。。"), QStringLiteral("自定义")});
    ComboBox1->setCurrentIndex(0);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(100, 118, 296, 104);

    ActionYes = new QAction(QStringLiteral("确定"), this);
    ActionYes->setObjectName(QStringLiteral("ActionYes"));
    ActionCancel = new QAction(QStringLiteral("取消"), this);
    ActionCancel->setObjectName(QStringLiteral("ActionCancel"));
    Login = SpeedButton(this, QStringLiteral("Login"), ActionYes, 116);
    Close = SpeedButton(this, QStringLiteral("Close"), ActionCancel, 216);

    connect(ComboBox1, &QComboBox::activated, this, &TFormOnlineChat::ComboBox1Change);
    connect(ActionYes, &QAction::triggered, this, &TFormOnlineChat::ActionYesExecute);
    connect(ActionCancel, &QAction::triggered, this, &TFormOnlineChat::ActionCancelExecute);
}

void TFormOnlineChat::FormShow()
{
    // The contact edits and the chosen item stay from the last showing; the memo follows the item.
    ComboBox1Change();
    Edit1->setFocus();
}

void TFormOnlineChat::ComboBox1Change()
{
    Memo1->setPlainText(MemoTexts.value(ComboBox1->currentIndex()));
    Memo1->setFocus();
}

void TFormOnlineChat::ActionYesExecute()
{
    if (Edit1->text().trimmed().isEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("联系人不能为空"));
        Edit1->setFocus();
        return;
    }
    if (Edit2->text().trimmed().isEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("联系电话不能为空"));
        Edit2->setFocus();
        return;
    }
    Dialogs::OpenUrl(WebLinks::SupportAddress(Edit1->text(), Edit2->text(), Memo1->toPlainText()));
    accept();
}

void TFormOnlineChat::ActionCancelExecute() { reject(); }
