#include "support/BooksCopy.h"

#include "db/Journal.h"
#include "core/FileFailure.h"
#include "core/PrivateFiles.h"
#include "core/NumberTexts.h"
#include "db/ShareDM.h"
#include "core/WholeFile.h"
#include "support/BooksCheck.h"
#include "db/DataSource.h"
#include "support/BooksImport.h"
#include "support/ForeignFile.h"
#include "support/Leftovers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QUuid>

#include <cerrno>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The restored books' first new record: where they came from.
Journal::Record RestoreRecord(const QString &source)
{
    return {QStringLiteral("恢复"), QStringLiteral("账套"), QFileInfo(source).fileName(), QString(),
            {QStringLiteral("从“%1”恢复了全部数据").arg(QDir::toNativeSeparators(source))}, {}, {}};
}
} // namespace

namespace {
QByteArray Native(const QString &path) { return QFile::encodeName(path); }

// Removes a temporary file unless it was put in place.
struct TempFile {
    QString name;
    ~TempFile()
    {
        if (!name.isEmpty())
            QFile::remove(name);
    }
};

// An empty private file of our own in dir; returns errno or 0. Backups and
// new books are written into it and renamed into place, so they keep its mode.
int MakeTemp(const QString &dir, TLeftovers::Kind kind, QString *made)
{
    QByteArray pattern = Native(TLeftovers::Pattern(dir, kind));
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return errno;
    // glibc's mkstemp makes it 0600 already; POSIX leaves the mode open.
    if (::fchmod(fd, TPrivateFiles::FileMode) != 0) {
        const int error = errno;
        ::close(fd);
        ::unlink(pattern.constData());
        return error;
    }
    ::close(fd);
    *made = QFile::decodeName(pattern);
    return 0;
}

int Sync(const QString &path, int flags)
{
    const int fd = ::open(Native(path).constData(), O_RDONLY | O_CLOEXEC | flags);
    if (fd < 0)
        return errno;
    int error = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    // Some file systems cannot flush a folder; the rename itself is still whole.
    if (error == EINVAL && (flags & O_DIRECTORY))
        error = 0;
    return error;
}

int SyncFile(const QString &path) { return Sync(path, 0); }
int SyncFolder(const QString &dir) { return Sync(dir, O_DIRECTORY); }

// Copies from into the file to (created only when exclusive is set, else it must exist), flushed to disk.
int CopyInto(const QString &from, const QString &to, bool exclusive)
{
    const int in = ::open(Native(from).constData(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return errno;
    // Non-blocking open, so a pipe nobody reads fails rather than hangs.
    const int out = ::open(Native(to).constData(),
                           O_WRONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY | (exclusive ? O_CREAT | O_EXCL : O_TRUNC),
                           TPrivateFiles::FileMode);
    if (out < 0) {
        const int error = errno;
        ::close(in);
        return error;
    }
    ::fcntl(out, F_SETFL, ::fcntl(out, F_GETFL) & ~O_NONBLOCK);
    int error = 0;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            error = errno;
        if (n <= 0 || (error = TWholeFile::WriteAll(out, buffer, n)) != 0)
            break;
    }
    // A device need not keep what it was given.
    if (error == 0 && ::fsync(out) != 0 && errno != EINVAL)
        error = errno;
    if (::close(out) != 0 && error == 0)
        error = errno;
    ::close(in);
    return error;
}

int Rename(const QString &from, const QString &to)
{
    return ::rename(Native(from).constData(), Native(to).constData()) == 0 ? 0 : errno;
}

// Names a whole file without ever replacing one of that name: EEXIST when there is one.
int RenameNoReplace(const QString &from, const QString &to)
{
    if (::renameat2(AT_FDCWD, Native(from).constData(), AT_FDCWD, Native(to).constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS)
        return errno;
    // A file system without it: a hard link cannot replace either.
    if (::link(Native(from).constData(), Native(to).constData()) != 0)
        return errno;
    ::unlink(Native(from).constData());
    return 0;
}

bool SameFile(const QString &a, const QString &b)
{
    struct stat sa, sb;
    return ::stat(Native(a).constData(), &sa) == 0 && ::stat(Native(b).constData(), &sb) == 0
           && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

bool HasContent(const QString &file) { return QFileInfo(file).size() > 0; }

// The operating system's error behind the last failure of an SQLite connection.
int SystemError(QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return 0;
    sqlite3 *connection = *static_cast<sqlite3 *const *>(handle.constData());
    return connection ? sqlite3_system_errno(connection) : 0;
}

// Writes every committed row of the books into the empty file temp. A
// connection of its own reads them, so rows or a transaction the program
// holds open on its connection neither block nor leak into the copy.
bool CopyBooks(const QString &books, const QString &temp, TBooksCopy::Result *result)
{
    if (!QFileInfo(books).isFile()) {
        result->errorNumber = ENOENT;
        return false;
    }
    const QString name = QStringLiteral("books-copy-") + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        db.setDatabaseName(QUrl::fromLocalFile(books).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
        if (!db.open()) {
            result->reason = db.lastError().text();
        } else {
            QSqlQuery q(db);
            ok = q.prepare(QStringLiteral("VACUUM INTO ?"));
            if (ok) {
                q.addBindValue(temp);
                ok = q.exec();
            }
            if (!ok) {
                result->errorNumber = SystemError(db);
                result->reason = q.lastError().text();
            }
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

// What a refused or failed import means for a restore.
TBooksCopy::Status StatusOf(TBooksImport::Verdict verdict)
{
    switch (verdict) {
    case TBooksImport::Done:
        return TBooksCopy::Done;
    case TBooksImport::NotOurs:
        return TBooksCopy::RefusedNotOurs;
    case TBooksImport::Damaged:
        return TBooksCopy::RefusedDamaged;
    case TBooksImport::Refused:
        return TBooksCopy::Refused;
    case TBooksImport::Failed:
        break;
    }
    return TBooksCopy::Failed;
}

QString KeptName(const QString &books, const QDateTime &when, int attempt)
{
    QString name = books + QStringLiteral(".恢复前-") + DateText(when.date()) + QLatin1Char('-')
                   + when.time().toString(QStringLiteral("hhmmss"));
    if (attempt > 1)
        name += QLatin1Char('-') + QString::number(attempt);
    return name;
}
} // namespace

TBooksCopy::Result TBooksCopy::Backup(const QString &target, const std::function<void(const QString &)> &beforePlacing)
{
    Result result;
    const QString books = ShareDataModule->DatabaseFile();
    // Renamed over the open books, the copy would leave the connection writing to a file no longer there.
    if (SameFile(target, books)) {
        result.reason = QStringLiteral("不能把备份保存在正在使用的数据库文件上");
        return result;
    }
    // A device or a pipe cannot be replaced: the copy is made beside the books and written into it.
    const bool device = TWholeFile::IsDevice(target);
    const QString folder = QFileInfo(device ? books : target).absolutePath();
    TLeftovers::CleanBeforeBackup(folder);
    TempFile temp;
    if ((result.errorNumber = MakeTemp(folder, TLeftovers::Backup, &temp.name)) != 0)
        return result;
    if (TDataSource::Registered().server) {
        // The server's books as a file of ours, the same kind of file a restore
        // takes, written into the private temporary file rather than a new one.
        const TBooksImport::Outcome exported = TBooksImport::Export(ShareDataModule->Connection(), temp.name);
        if (exported.verdict != TBooksImport::Done) {
            result.reason = exported.reason;
            return result;
        }
    } else if (!CopyBooks(books, temp.name, &result)) {
        return result;
    }
    if (TBooksCheck::Check(temp.name, &result.reason) != TBooksCheck::Good) {
        result.reason = QStringLiteral("备份副本未通过完整性检查，已删除（%1）").arg(result.reason);
        return result;
    }
    if ((result.errorNumber = SyncFile(temp.name)) != 0)
        return result;
    result.reason.clear();
    if (device) {
        if ((result.errorNumber = CopyInto(temp.name, target, false)) != 0)
            return result;
    } else {
        if (beforePlacing)
            beforePlacing(temp.name);
        if ((result.errorNumber = Rename(temp.name, target)) != 0)
            return result;
        temp.name.clear();
        SyncFolder(folder);
    }
    result.status = Done;
    return result;
}

TBooksCopy::Result TBooksCopy::Restore(const QString &source, const QDateTime &when)
{
    Result result;
    const QString books = ShareDataModule->DatabaseFile();
    const QString folder = QFileInfo(books).absolutePath();
    if (SameFile(source, books)) {
        result.status = RefusedCurrent;
        return result;
    }

    // Look before reading: a pipe, a device or an endless file never gets copied.
    const qint64 limit = TForeignFile::SizeLimit(QFileInfo(books).size());
    qint64 size = 0;
    const TForeignFile::Verdict verdict = TForeignFile::Inspect(source, limit, &result.errorNumber, &size);
    switch (verdict) {
    case TForeignFile::Fine:
        break;
    case TForeignFile::Unreadable:
        return result;
    case TForeignFile::NotSQLite:
        result.status = RefusedNotOurs;
        return result;
    case TForeignFile::NotRegular:
    case TForeignFile::TooLarge:
        result.status = Refused;
        result.reason = TForeignFile::Refusal(verdict, size, limit);
        return result;
    }

    if (TDataSource::Registered().server)
        return RestoreServer(source, when);

    // New books from our own schema, filled with the file's rows, beside the books.
    TempFile temp;
    if ((result.errorNumber = MakeTemp(folder, TLeftovers::Restore, &temp.name)) != 0)
        return result;
    const Journal::Record record = RestoreRecord(source);
    const TBooksImport::Outcome imported = TBooksImport::Import(source, temp.name, &record);
    result.reason = imported.reason;
    if (imported.verdict != TBooksImport::Done) {
        result.status = StatusOf(imported.verdict);
        return result;
    }
    result.reason.clear();
    if ((result.errorNumber = SyncFile(temp.name)) != 0)
        return result;

    // Closed, the books are whole in their one file; a journal left beside
    // them means another program still has them open.
    ShareDataModule->Disconnect();
    if (HasContent(books + QStringLiteral("-wal")) || HasContent(books + QStringLiteral("-journal"))) {
        result.errorNumber = EBUSY;
        return result;
    }
    // The books replaced are kept: written whole under a hidden name, then named.
    TempFile keptTemp;
    if ((result.errorNumber = MakeTemp(folder, TLeftovers::Kept, &keptTemp.name)) != 0
        || (result.errorNumber = CopyInto(books, keptTemp.name, false)) != 0)
        return result;
    QString kept;
    for (int attempt = 1;; ++attempt) {
        kept = KeptName(books, when, attempt);
        result.errorNumber = RenameNoReplace(keptTemp.name, kept);
        if (result.errorNumber != EEXIST)
            break;
    }
    if (result.errorNumber != 0)
        return result;
    keptTemp.name.clear();
    if ((result.errorNumber = Rename(temp.name, books)) != 0) {
        QFile::remove(kept);
        return result;
    }
    temp.name.clear();
    SyncFolder(folder);
    result.keptFile = kept;
    result.status = Done;
    return result;
}

TBooksCopy::Result TBooksCopy::RestoreServer(const QString &source, const QDateTime &when)
{
    Result result;
    // What is replaced is kept first, as a file beside the program.
    const QString books = ShareDataModule->DatabaseFile();
    const QString folder = QFileInfo(books).absolutePath();
    QString kept;
    for (int attempt = 1; kept.isEmpty() || QFileInfo::exists(kept); ++attempt)
        kept = KeptName(books, when, attempt);
    const Result keptCopy = Backup(kept);
    if (keptCopy.status != Done)
        return keptCopy;
    const Journal::Record record = RestoreRecord(source);
    const TBooksImport::Outcome imported = TBooksImport::ImportInto(source, ShareDataModule->Connection(), &record);
    result.reason = imported.reason;
    result.status = StatusOf(imported.verdict);
    if (imported.verdict != TBooksImport::Done) {
        // Nothing was replaced: the copy kept for it is not needed.
        QFile::remove(kept);
        return result;
    }
    ShareDataModule->Disconnect();
    SyncFolder(folder);
    result.reason.clear();
    result.keptFile = kept;
    return result;
}

QString TBooksCopy::FailureText(const QString &what, const Result &result)
{
    if (result.errorNumber != 0)
        return TFileFailure::Text(what, result.errorNumber);
    return what + QStringLiteral("：") + ReasonText(result.reason);
}

QString TBooksCopy::ReasonText(const QString &reason)
{
    static const QRegularExpression chinese(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
    if (reason.contains(chinese))
        return reason;
    // SQLite speaks English; the user is told in Chinese, an unknown cause kept for whoever helps.
    const QString r = reason.toLower();
    if (r.contains(QLatin1String("disk is full")) || r.contains(QLatin1String("no space")))
        return TFileFailure::Words(ENOSPC);
    if (r.contains(QLatin1String("readonly")) || r.contains(QLatin1String("read-only")))
        return TFileFailure::Words(EROFS);
    if (r.contains(QLatin1String("locked")) || r.contains(QLatin1String("busy")))
        return TFileFailure::Words(EBUSY);
    if (r.contains(QLatin1String("unable to open")))
        return QStringLiteral("无法打开文件");
    return reason.trimmed().isEmpty() ? QStringLiteral("读写数据库文件出错")
                                      : QStringLiteral("读写数据库文件出错（") + reason.trimmed() + QStringLiteral("）");
}
