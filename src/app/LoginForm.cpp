#include "app/LoginForm.h"

#include "ui/Artwork.h"
#include "core/ProgramFiles.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

TFormLogin *FormLogin = nullptr;

namespace {
QToolButton *SpeedButton(QWidget *parent, const QString &name, QAction *action, const QRect &geometry)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setDefaultAction(action);
    b->setGeometry(geometry);
    b->setCursor(Qt::PointingHandCursor);
    b->setToolButtonStyle(Qt::ToolButtonTextOnly);
    return b;
}
} // namespace

TFormLogin::TFormLogin(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormLogin"));
    setWindowTitle(QStringLiteral("用户登录"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(489, 393);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(44, 14, 400, 50);
    Image1->setPixmap(Artwork::LoginBanner(400, 50));

    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(44, 70, 400, 200);
    Image2->setPixmap(Artwork::LoginPicture(400, 200));

    Label15 = new QLabel(QStringLiteral("用　户"), this);
    Label15->setObjectName(QStringLiteral("Label15"));
    Label15->setGeometry(110, 286, 60, 26);

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setGeometry(176, 286, 200, 26);
    ComboBox1->addItems({QStringLiteral("财务主管"), QStringLiteral("管理员")});
    ComboBox1->setCurrentIndex(0);

    Label16 = new QLabel(QStringLiteral("密　码"), this);
    Label16->setObjectName(QStringLiteral("Label16"));
    Label16->setGeometry(110, 320, 60, 26);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(176, 320, 200, 26);
    SetPasswordEcho(Edit1, true);

    ActionLogin = new QAction(QStringLiteral("登录"), this);
    ActionLogin->setObjectName(QStringLiteral("ActionLogin"));
    ActionClose = new QAction(QStringLiteral("关闭"), this);
    ActionClose->setObjectName(QStringLiteral("ActionClose"));
    connect(ActionLogin, &QAction::triggered, this, &TFormLogin::ActionLoginExecute);
    connect(ActionClose, &QAction::triggered, this, &TFormLogin::ActionCloseExecute);

    Login = SpeedButton(this, QStringLiteral("Login"), ActionLogin, QRect(150, 356, 90, 28));
    Close = SpeedButton(this, QStringLiteral("Close"), ActionClose, QRect(256, 356, 90, 28));
    // Enter logs in from either field; Esc closes, as 关闭 would.
    SetEnterAction(ActionLogin);

    FormCreate();
}

void TFormLogin::FormCreate() { Edit1->clear(); }

void TFormLogin::FormShow()
{
    if (ReadIniValue(QStringLiteral("Kestrova"), QStringLiteral("UserPower"), QStringLiteral("财务主管"), IniFileName)
        == QStringLiteral("财务主管"))
        ComboBox1->setCurrentIndex(0);
    if (ReadIniValue(QStringLiteral("Kestrova"), QStringLiteral("UserPower"), QStringLiteral("财务主管"), IniFileName)
        == QStringLiteral("管理员"))
        ComboBox1->setCurrentIndex(1);
    // Every login, first or again, asks for the password afresh.
    Edit1->clear();
    Edit1->setFocus();
}

void TFormLogin::ActionLoginExecute()
{
    SelectedPower = ComboBox1->currentText();
    EnteredKey = Edit1->text();
    accept();
}

void TFormLogin::ActionCloseExecute() { reject(); }
