// The program's own files are its user's alone whatever the umask: the books
// and every copy of them, the ini files, the server's password and Backup/.
// The whole test runs under umask 0, where a careless file is open to all.
#include "db/DataSource.h"
#include "app/MainForm.h"
#include "core/ProgramFiles.h"
#include "db/ShareDM.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {
// "path 600"; "path none" when nothing is there. Never through a symlink.
QString Mode(const QString &path)
{
    struct stat st;
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return path + QStringLiteral(" none");
    return path + QLatin1Char(' ') + QString::number(st.st_mode & 07777, 8);
}

QString Expected(const QString &path, const char *mode) { return path + QLatin1Char(' ') + QLatin1String(mode); }

void SetMode(const QString &path, mode_t mode) { QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0); }
} // namespace

class TestPrivateFiles : public QObject {
    Q_OBJECT
    mode_t umask_ = 0;
private slots:
    void initTestCase() { umask_ = ::umask(0); }
    void cleanupTestCase() { ::umask(umask_); }
    void startMakesThemPrivate_data();
    void startMakesThemPrivate();
    void writesArePrivate_data();
    void writesArePrivate();
    void backupAndRestoreArePrivate();
};

void TestPrivateFiles::startMakesThemPrivate_data()
{
    QTest::addColumn<bool>("older");
    QTest::newRow("first start") << false;
    QTest::newRow("files an earlier version left open") << true;
}

void TestPrivateFiles::startMakesThemPrivate()
{
    QFETCH(bool, older);
    TestEnv env;
    const QString dir = env.Dir();
    const QString books = env.DatabaseFile();
    const QString backup = dir + "Backup/";
    const QString kept = books + ".恢复前-2024-3-1-101500";
    SetMode(dir, 0755);   // as make install lays out the program folder
    QStringList files = {dir + "Kestrova.ini", dir + "Registry.ini", backup + "Kestrova-2024-03-15.mdb",
                         backup + "Kestrova-daily.list"};
    if (!TestEnv::OnServer())
        files << books;
    if (older) {
        env.MarkRegistered();
        QVERIFY(RegisterDataSource("Kestrova", "Kestrova.mdb", "Mirelo进销存"));
        QVERIFY(QDir().mkdir(backup));
        WriteFile(backup + "Kestrova-2024-03-14.mdb", "yesterday's books");
        WriteFile(kept, "the books a restore kept");
        files << backup + "Kestrova-2024-03-14.mdb" << kept;
        for (const QString &file : files)
            if (QFile::exists(file))
                SetMode(file, 0644);
        SetMode(backup, 0755);
    }

    // The login makes the day's copy.
    env.script.LoginAs("财务主管", "8888");
    QVERIFY(FormMain->FormShow());
    for (const QString &file : files)
        QCOMPARE(Mode(file), Expected(file, "600"));
    QCOMPARE(Mode(backup), Expected(backup, "700"));
    QCOMPARE(Mode(dir), Expected(dir, "755"));

    if (!TestEnv::OnServer()) {
        // SQLite gives the journal its books' mode.
        QString journal;
        QVERIFY(ShareDataModule->RunInTransaction("写入失败", [&] {
            env.AddCustomer("张三");
            journal = Mode(books + "-journal");
            return true;
        }));
        QCOMPARE(journal, Expected(books + "-journal", "600"));
    }
}

void TestPrivateFiles::writesArePrivate_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("existing");
    for (const char *name : {"Kestrova.ini", "Registry.ini", "Kestrova.pgpass"}) {
        QTest::addRow("new %s", name) << name << false;
        QTest::addRow("%s that was 0644", name) << name << true;
    }
}

void TestPrivateFiles::writesArePrivate()
{
    QFETCH(QString, name);
    QFETCH(bool, existing);
    TestEnv env(Db::None, false);
    ProgramDir = env.Dir();
    IniFileName = ProgramDir + "Kestrova.ini";
    const QString file = env.Dir() + name;
    if (existing) {
        WriteFile(file, "[Kestrova]\nPrintType=1\n");
        SetMode(file, 0644);
    }
    if (name == "Kestrova.ini") {
        QVERIFY(WriteIniValue("Kestrova", "PrintType", "2", IniFileName));
    } else if (name == "Registry.ini") {
        QVERIFY(TDataSource::RegisterFile(nullptr));
    } else {
        TDataSource server;
        server.server = true;
        server.host = "localhost";
        server.database = "kestrova";
        server.user = "kestrova";
        server.password = "秘密";
        QVERIFY(TDataSource::RegisterServer(server, nullptr));
        QCOMPARE(FileBytes(file), QString("秘密").toUtf8());
    }
    QCOMPARE(Mode(file), Expected(file, "600"));
}

void TestPrivateFiles::backupAndRestoreArePrivate()
{
    TestEnv env;
    env.MarkRegistered();
    env.script.LoginAs("管理员", "9999");
    QVERIFY(FormMain->FormShow());
    FormMain->show();
    env.script.messages.clear();

    // Saved into a folder open to all.
    QTemporaryDir elsewhere;
    SetMode(elsewhere.path(), 0777);
    const QString saved = elsewhere.path() + "/备份.mdb";
    env.script.saveFile = saved;
    FormMain->ActionSave->trigger();
    QCOMPARE(env.script.messages, QStringList{"恭喜您，数据库备份成功"});
    QCOMPARE(Mode(saved), Expected(saved, "600"));

    // Books left open to others give way to private ones; the books kept aside are private too.
    if (!TestEnv::OnServer())
        SetMode(env.DatabaseFile(), 0644);
    env.script.messages.clear();
    env.script.answers = {true};
    env.script.openFile = saved;
    FormMain->ActionLoad->trigger();
    QCOMPARE(env.script.messages.size(), 1);
    const auto done = QRegularExpression("原来的数据已另存为：(.*)$").match(env.script.messages[0]);
    QVERIFY2(done.hasMatch(), qPrintable(env.script.messages[0]));
    QCOMPARE(Mode(done.captured(1)), Expected(done.captured(1), "600"));
    if (!TestEnv::OnServer())
        QCOMPARE(Mode(env.DatabaseFile()), Expected(env.DatabaseFile(), "600"));
}

QTEST_MAIN(TestPrivateFiles)
#include "tst_privatefiles.moc"
