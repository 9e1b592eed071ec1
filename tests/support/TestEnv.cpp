#include "support/TestEnv.h"

#include "app/Forms.h"
#include "app/LoginForm.h"
#include "app/MainForm.h"
#include "core/ProgramFiles.h"
#include "ui/AskForm.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

void TypeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

void DialogScript::Modal(QDialog *window)
{
    modals << window->objectName();
    if (onModal.empty())
        return; // left open: the showing ends as cancelled
    auto action = std::move(onModal.front());
    onModal.pop_front();
    action(window);
}

bool DialogScript::ChoosePrinter(QPrinter *printer)
{
    ++printDialogs;
    if (printFile.isEmpty())
        return false;
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(printFile);
    return true;
}

void DialogScript::LoginAs(const QString &role, const QString &password)
{
    Then([role, password](QDialog *d) {
        auto *login = qobject_cast<TFormLogin *>(d);
        QVERIFY(login);
        const int i = login->ComboBox1->findText(role);
        if (i >= 0)
            login->ComboBox1->setCurrentIndex(i);
        login->Edit1->setText(password);
        login->ActionLogin->trigger();
    });
}

void DialogScript::CancelLogin()
{
    Then([](QDialog *d) {
        auto *login = qobject_cast<TFormLogin *>(d);
        QVERIFY(login);
        login->ActionClose->trigger();
    });
}

TestEnv::TestEnv(Db db, bool makeForms) : BooksEnv(db, false), forms_(makeForms)
{
    Dialogs::SetHandler(&script);
    Dialogs::ForgetLastSaveFolder();
    if (forms_)
        CreateForms();
}

TestEnv::~TestEnv()
{
    if (forms_)
        DestroyForms();
    Dialogs::SetHandler(nullptr);
}

void TestEnv::MarkRegistered()
{
    WriteIniValue(QStringLiteral("数据库内容"), QStringLiteral("ODBC"), QStringLiteral("1"), Dir() + QStringLiteral("Kestrova.ini"));
}

void TestEnv::StartAsFinance()
{
    MarkRegistered();
    script.LoginAs(QStringLiteral("财务主管"), QStringLiteral("8888"));
    if (!FormMain->FormShow())
        qFatal("the finance supervisor login failed");
    script.messages.clear();
    script.modals.clear();
}

void TestEnv::InstallTemplates()
{
    const QDir from(QStringLiteral(KESTROVA_SOURCE_DIR "/resources/Frf"));
    QDir(Dir()).mkpath(QStringLiteral("Frf"));
    for (const QString &file : from.entryList({QStringLiteral("*.frf")}, QDir::Files))
        QFile::copy(from.filePath(file), Dir() + QStringLiteral("Frf/") + file);
}

void TestEnv::GivePassword(const QString &password)
{
    script.Then([password](QDialog *) {
        FormAsk->Edit1->setText(password);
        FormAsk->BitBtn1->click();
    });
}
