#include "support/Leftovers.h"

#include "core/ProgramFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>
#include <unistd.h>

namespace {
const char *KindName(TLeftovers::Kind kind)
{
    switch (kind) {
    case TLeftovers::Backup: return "backup";
    case TLeftovers::Restore: return "restore";
    case TLeftovers::Kept: return "kept";
    }
    return "backup";
}

QString Canonical(const QString &folder)
{
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) : canonical;
}

QString Tag()
{
    return QString::fromLatin1(
        QCryptographicHash::hash(Canonical(ProgramDir).toUtf8(), QCryptographicHash::Sha1).toHex().left(8));
}
} // namespace

QString TLeftovers::Pattern(const QString &folder, Kind kind)
{
    return QDir(folder).filePath(QStringLiteral(".Kestrova-%1-%2-XXXXXX").arg(QLatin1String(KindName(kind)), Tag()));
}

int TLeftovers::Clean(const QString &folder, bool legacy)
{
    const QRegularExpression ours(QStringLiteral("^\\.Kestrova-(backup|restore|kept)-%1-[A-Za-z0-9]{6}(-journal|-wal|-shm)?$")
                                      .arg(Tag()));
    static const QRegularExpression older(QStringLiteral("^\\.Kestrova-(backup|restore)-[A-Za-z0-9]{6}(-journal|-wal|-shm)?$"));
    int removed = 0;
    const QDir dir(folder);
    for (const QString &name : dir.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (!ours.match(name).hasMatch() && !(legacy && older.match(name).hasMatch()))
            continue;
        // Never through a symlink, never anything but a plain file.
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        struct stat st;
        if (::lstat(path.constData(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(path.constData()) == 0)
            ++removed;
    }
    return removed;
}

int TLeftovers::CleanProgramFolder()
{
    return Clean(ProgramDir, true) + Clean(ProgramDir + QStringLiteral("Backup"), true);
}

int TLeftovers::CleanBeforeBackup(const QString &folder)
{
    const QString where = Canonical(folder);
    const bool inside = where == Canonical(ProgramDir) || where == Canonical(ProgramDir + QStringLiteral("Backup"));
    return Clean(folder, inside);
}
