#include "support/DailyBackup.h"

#include "shell/Clock.h"
#include "shell/Dialogs.h"
#include "shell/PublicFunction.h"
#include "support/BooksCopy.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <cerrno>
#include <sys/stat.h>

namespace {
// Removes the oldest daily copies beyond the ones kept; other files in the folder are left alone.
void Prune(const QString &folder, const QString &keep)
{
    static const QRegularExpression daily(QStringLiteral("^Kestrova-\\d{4}-\\d{2}-\\d{2}\\.mdb$"));
    QStringList copies;
    for (const QString &name : QDir(folder).entryList(QDir::Files, QDir::Name | QDir::Reversed))
        if (daily.match(name).hasMatch())
            copies << name;
    for (int i = TDailyBackup::Keep; i < copies.size(); ++i)
        if (copies[i] != keep)
            QFile::remove(folder + copies[i]);
}
} // namespace

QString TDailyBackup::Folder() { return ProgramDir + QStringLiteral("Backup/"); }

QString TDailyBackup::FileName(const QDate &day)
{
    // ISO dates, so the folder lists the copies in the order they were made.
    return QStringLiteral("Kestrova-") + day.toString(Qt::ISODate) + QStringLiteral(".mdb");
}

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
    if (QFile::exists(folder + name))
        return;
    TBooksCopy::Result result;
    if (::mkdir(QFile::encodeName(folder).constData(), 0755) != 0 && errno != EEXIST)
        result.errorNumber = errno;
    else
        result = TBooksCopy::Backup(folder + name);
    if (result.status != TBooksCopy::Done) {
        Dialogs::ShowMessage(TBooksCopy::FailureText(QStringLiteral("今日自动备份失败"), result)
                             + QStringLiteral("\n备份文件夹：") + QDir::toNativeSeparators(folder));
        return;
    }
    Prune(folder, name);
}
