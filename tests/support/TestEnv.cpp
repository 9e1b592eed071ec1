#include "support/TestEnv.h"

#include "db/Schema.h"
#include "shell/Clock.h"
#include "shell/Forms.h"
#include "shell/LoginForm.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSqlQuery>
#include <QTest>
#include <QAction>

bool DialogScript::YesNo(const QString &caption, const QString &text)
{
    questions << caption + QLatin1Char('|') + text;
    if (answers.empty())
        return false;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
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

TestEnv::TestEnv(Db db, bool makeForms) : forms_(makeForms)
{
    Q_ASSERT(dir_.isValid());
    if (db == Db::Fresh) {
        QString error;
        if (!Schema::CreateDatabase(DatabaseFile(), &error))
            qFatal("cannot make the test database: %s", qPrintable(error));
    }
    SetProgramDirOverride(dir_.path());
    Dialogs::SetHandler(&script);
    Clock::Fix(QDate(2024, 3, 15));
    if (forms_)
        CreateForms();
}

TestEnv::~TestEnv()
{
    if (forms_)
        DestroyForms();
    Dialogs::SetHandler(nullptr);
    Clock::Fix(QDate());
    SetProgramDirOverride(QString());
}

QString TestEnv::Dir() const { return dir_.path() + QLatin1Char('/'); }

void TestEnv::Exec(const QString &sql, const QVariantList &params) { ShareDataModule->Exec(sql, params); }

QVariant TestEnv::Scalar(const QString &sql)
{
    QSqlQuery q(ShareDataModule->Connection());
    if (!q.exec(TranslateSql(sql)) || !q.next())
        return QVariant();
    return q.value(0);
}

void TestEnv::MarkRegistered()
{
    WriteIniValue(QStringLiteral("数据库内容"), QStringLiteral("ODBC"), QStringLiteral("1"), Dir() + QStringLiteral("Kestrova.ini"));
}
