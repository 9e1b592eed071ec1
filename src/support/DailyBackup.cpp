#include "support/DailyBackup.h"

#include "core/Clock.h"
#include "ui/Dialogs.h"
#include "core/PrivateFiles.h"
#include "core/ProgramFiles.h"
#include "support/BooksCopy.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// One copy the program made: its name and the file it was, so that a file
// put there later under the same name is not taken for it.
struct Made {
    QString name;
    QString identity;   // "device:inode"
    QString when;       // when it was made, for whoever reads the list
};

QString Identity(const struct stat &st)
{
    return QStringLiteral("%1:%2").arg(qulonglong(st.st_dev)).arg(qulonglong(st.st_ino));
}

// The regular file itself, never a symlink's target; empty when there is none.
QString IdentityOf(const QString &file)
{
    struct stat st;
    if (::lstat(QFile::encodeName(file).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return QString();
    return Identity(st);
}

// A list the size of a few thousand names; anything larger is not ours.
constexpr qint64 ListLimit = 1 << 20;

// False when the list cannot be trusted; then nothing is pruned.
bool ReadList(const QString &folder, QList<Made> *list)
{
    const QString file = folder + TDailyBackup::ListName();
    struct stat st;
    if (::lstat(QFile::encodeName(file).constData(), &st) != 0)
        return errno == ENOENT;
    if (!S_ISREG(st.st_mode) || st.st_size > ListLimit)
        return false;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    static const QRegularExpression daily(QStringLiteral("^Kestrova-\\d{4}-\\d{2}-\\d{2}\\.mdb$"));
    for (const QByteArray &line : in.readAll().split('\n')) {
        const QStringList parts = QString::fromUtf8(line).split(QLatin1Char('\t'));
        if (parts.size() >= 2 && daily.match(parts[0]).hasMatch())
            list->append(Made{parts[0], parts[1], parts.value(2)});
    }
    return true;
}

bool WriteList(const QString &folder, const QList<Made> &list)
{
    const QString file = folder + TDailyBackup::ListName();
    struct stat st;
    if (::lstat(QFile::encodeName(file).constData(), &st) == 0 && !S_ISREG(st.st_mode))
        return false;
    QByteArray text = "# The daily copies Kestrova made, oldest first; only these are ever deleted.\n";
    for (const Made &made : list)
        text += (made.name + QLatin1Char('\t') + made.identity + QLatin1Char('\t') + made.when).toUtf8() + '\n';
    QSaveFile out(file);
    return TPrivateFiles::Open(out) && out.write(text) == text.size() && out.commit();
}

std::function<void(TDailyBackup::Step)> &Watcher()
{
    static std::function<void(TDailyBackup::Step)> watcher;
    return watcher;
}

void Reached(TDailyBackup::Step step)
{
    if (Watcher())
        Watcher()(step);
}

// Names the copy in the list before it takes its name: whatever moment the
// program is killed at, a whole copy under a daily name is one the list names.
// The file keeps its identity through the rename. Untrusted list: not named.
void Record(const QString &folder, const QString &name, const QString &identity)
{
    QList<Made> list;
    if (identity.isEmpty() || !ReadList(folder, &list))
        return;
    QList<Made> still;
    for (const Made &made : list)
        if (made.name != name)
            still.append(made);
    still.append(Made{name, identity, QDateTime::currentDateTime().toString(Qt::ISODate)});
    WriteList(folder, still);
}

// Removes the copies made before the last thirty.
void Prune(const QString &folder)
{
    QList<Made> list;
    if (!ReadList(folder, &list))
        return;
    // Copies the user deleted or replaced, and one killed before it was named, are forgotten, never deleted.
    QList<Made> still;
    for (const Made &made : list)
        if (IdentityOf(folder + made.name) == made.identity)
            still.append(made);
    while (still.size() > TDailyBackup::Keep) {
        const Made oldest = still.takeFirst();
        const QString file = folder + oldest.name;
        if (IdentityOf(file) == oldest.identity)
            ::unlink(QFile::encodeName(file).constData());
    }
    WriteList(folder, still);
}
} // namespace

QString TDailyBackup::Folder() { return BackupFolder(); }

QString TDailyBackup::FileName(const QDate &day)
{
    // ISO dates, so the folder lists the copies in the order of their days.
    return QStringLiteral("Kestrova-") + day.toString(Qt::ISODate) + QStringLiteral(".mdb");
}

QString TDailyBackup::ListName() { return QStringLiteral("Kestrova-daily.list"); }

void TDailyBackup::Run()
{
    static QString triedFolder;
    static QDate triedDay;
    const QDate today = Clock::Today();
    const QString folder = Folder();
    if (triedDay == today && triedFolder == folder)
        return;
    triedDay = today;
    triedFolder = folder;

    const QString name = FileName(today);
    struct stat st;
    if (::lstat(QFile::encodeName(folder + name).constData(), &st) == 0)
        return;
    TBooksCopy::Result result;
    if ((result.errorNumber = TPrivateFiles::MakeFolder(folder)) == 0)
        result = TBooksCopy::Backup(folder + name, [&](const QString &copy) {
            Reached(CopyChecked);
            Record(folder, name, IdentityOf(copy));
            Reached(Listed);
        });
    if (result.status != TBooksCopy::Done) {
        Dialogs::ShowMessage(TBooksCopy::FailureText(QStringLiteral("今日自动备份失败"), result)
                             + QStringLiteral("\n备份文件夹：") + QDir::toNativeSeparators(folder));
        return;
    }
    Reached(Placed);
    Prune(folder);
    Reached(Pruned);
}

void TDailyBackup::Watch(std::function<void(Step)> watcher) { Watcher() = std::move(watcher); }
