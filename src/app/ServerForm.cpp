#include "app/ServerForm.h"

#include "ui/BackgroundWork.h"
#include "ui/Dialogs.h"
#include "db/ShareDM.h"
#include "support/ServerMove.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// A trial connection waits up to its timeout: off the window's thread.
TDataSource::Trial TryAway(const TDataSource &source)
{
    TDataSource::Trial trial = TDataSource::Trial::Unreachable;
    BackgroundWork::Run([&](const BackgroundWork::Progress &) {
        trial = source.Try();
        return true;
    });
    return trial;
}
} // namespace

TFormServer::TFormServer(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormServer"));
    setWindowTitle(QStringLiteral("数据库服务器"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    CurrentLabel = new QLabel(this);
    CurrentLabel->setObjectName(QStringLiteral("CurrentLabel"));
    CurrentLabel->setWordWrap(true);
    auto edit = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setMinimumWidth(260);
        return e;
    };
    HostEdit = edit("HostEdit");
    HostEdit->setPlaceholderText(QStringLiteral("如 192.168.1.10"));
    PortEdit = edit("PortEdit");
    PortEdit->setMaxLength(5);
    DatabaseEdit = edit("DatabaseEdit");
    UserEdit = edit("UserEdit");
    PasswordEdit = edit("PasswordEdit");
    PasswordEdit->setEchoMode(QLineEdit::Password);

    auto button = [this](const QString &text, const char *name) {
        auto *b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        b->setCursor(Qt::PointingHandCursor);
        return b;
    };
    TestButton = button(QStringLiteral("测试连接"), "TestButton");
    MoveButton = button(QStringLiteral("迁移到服务器"), "MoveButton");
    UseServerButton = button(QStringLiteral("使用服务器帐套"), "UseServerButton");
    UseFileButton = button(QStringLiteral("使用本机帐套"), "UseFileButton");
    CloseButton = button(QStringLiteral("关闭"), "CloseButton");

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("服务器地址"), HostEdit);
    form->addRow(QStringLiteral("端口"), PortEdit);
    form->addRow(QStringLiteral("数据库"), DatabaseEdit);
    form->addRow(QStringLiteral("用户名"), UserEdit);
    form->addRow(QStringLiteral("密码"), PasswordEdit);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {TestButton, MoveButton, UseServerButton, UseFileButton})
        buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    auto *box = new QVBoxLayout(this);
    box->addWidget(CurrentLabel);
    box->addLayout(form);
    box->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(560, 0)));

    connect(TestButton, &QPushButton::clicked, this, &TFormServer::TestClick);
    connect(MoveButton, &QPushButton::clicked, this, &TFormServer::MoveClick);
    connect(UseServerButton, &QPushButton::clicked, this, &TFormServer::UseServerClick);
    connect(UseFileButton, &QPushButton::clicked, this, &TFormServer::UseFileClick);
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TFormServer::FormShow()
{
    const TDataSource source = TDataSource::Registered();
    CurrentLabel->setText(QStringLiteral("当前帐套：") + (source.server ? source.Describe() : QStringLiteral("本机文件 ") + source.file));
    HostEdit->setText(source.server ? source.host : QString());
    PortEdit->setText(QString::number(source.port));
    DatabaseEdit->setText(source.server ? source.database : QStringLiteral("kestrova"));
    UserEdit->setText(source.server ? source.user : QString());
    PasswordEdit->setText(source.password);
    MoveButton->setEnabled(!source.server);
    UseFileButton->setEnabled(source.server);
    HostEdit->setFocus();
}

bool TFormServer::Typed(TDataSource *source)
{
    source->server = true;
    source->host = HostEdit->text().trimmed();
    source->database = DatabaseEdit->text().trimmed();
    source->user = UserEdit->text().trimmed();
    source->password = PasswordEdit->text();
    bool whole = false;
    const int port = PortEdit->text().trimmed().toInt(&whole);
    const struct {
        bool missing;
        QLineEdit *edit;
        const char *text;
    } checks[] = {{source->host.isEmpty(), HostEdit, "请输入服务器地址"},
                  {!whole || port < 1 || port > 65535, PortEdit, "端口应为 1 至 65535 之间的整数"},
                  {source->database.isEmpty(), DatabaseEdit, "请输入数据库名称"},
                  {source->user.isEmpty(), UserEdit, "请输入用户名"}};
    for (const auto &check : checks)
        if (check.missing) {
            Dialogs::ShowMessage(QString::fromUtf8(check.text));
            check.edit->setFocus();
            return false;
        }
    source->port = port;
    return true;
}

void TFormServer::TestClick()
{
    TDataSource source;
    if (!Typed(&source))
        return;
    Dialogs::ShowMessage(TDataSource::TrialText(TryAway(source)));
}

void TFormServer::MoveClick()
{
    TDataSource source;
    if (!Typed(&source))
        return;
    if (!Dialogs::AskYesNo(QStringLiteral("迁移到服务器"),
                           QStringLiteral("把本机帐套复制到%1，核对无误后各台电脑都使用服务器上的帐套。继续吗？").arg(source.Describe())))
        return;
    const QString file = ShareDataModule->DatabaseFile();
    TServerMove::Result result;
    // The file is read by the work's own connection; nothing writes it meanwhile.
    ShareDataModule->Disconnect();
    BackgroundWork::Run([&](const BackgroundWork::Progress &) {
        result = TServerMove::ToServer(file, source);
        return true;
    });
    if (result.status != TServerMove::Moved) {
        Dialogs::ShowMessage(result.reason);
        return;
    }
    Dialogs::ShowMessage(QStringLiteral("帐套已迁移到%1，本机的帐套文件保留不动。程序将关闭，请重新启动").arg(source.Describe()));
    accept();
}

void TFormServer::UseServerClick()
{
    TDataSource source;
    if (!Typed(&source))
        return;
    const TDataSource::Trial trial = TryAway(source);
    if (trial != TDataSource::Trial::Books) {
        Dialogs::ShowMessage(TDataSource::TrialText(trial));
        return;
    }
    QString error;
    if (!TDataSource::RegisterServer(source, &error)) {
        Dialogs::ShowMessage(error);
        return;
    }
    Dialogs::ShowMessage(QStringLiteral("以后使用%1上的帐套。程序将关闭，请重新启动").arg(source.Describe()));
    accept();
}

void TFormServer::UseFileClick()
{
    if (!Dialogs::AskYesNo(QStringLiteral("使用本机帐套"),
                           QStringLiteral("以后使用本机的帐套文件，服务器上的帐套不再使用（本机文件不含迁移后在服务器上新记的单据）。继续吗？")))
        return;
    QString error;
    if (!TDataSource::RegisterFile(&error)) {
        Dialogs::ShowMessage(error);
        return;
    }
    Dialogs::ShowMessage(QStringLiteral("以后使用本机帐套文件。程序将关闭，请重新启动"));
    accept();
}
