#include "core/PrivateFiles.h"

#include "core/ProgramFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>

bool TPrivateFiles::Open(QSaveFile &file)
{
    return file.open(QIODevice::WriteOnly)
           && file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

int TPrivateFiles::MakeFolder(const QString &folder)
{
    // Made no wider than the mode, so it is never open to others even for a moment.
    if (::mkdir(QFile::encodeName(folder).constData(), FolderMode) != 0 && errno != EEXIST)
        return errno;
    Restrict(folder);
    return 0;
}

bool TPrivateFiles::Restrict(const QString &path)
{
    // Without a trailing "/", which would make the system follow a symlink to a folder.
    const QByteArray name = QFile::encodeName(QDir::cleanPath(path));
    struct stat st;
    if (::lstat(name.constData(), &st) != 0 || !(S_ISREG(st.st_mode) || S_ISDIR(st.st_mode)))
        return false;
    const mode_t mode = S_ISDIR(st.st_mode) ? FolderMode : FileMode;
    // One that cannot be changed (another user's, a read-only medium) stays as it is.
    if ((st.st_mode & 07777) != mode)
        ::fchmodat(AT_FDCWD, name.constData(), mode, AT_SYMLINK_NOFOLLOW);
    return true;
}

void TPrivateFiles::RestrictProgramFolder(const QString &booksFile, const QString &passwordFile)
{
    // The books file also when the books are on a server: the file left beside
    // the program holds them as they were. Its journals and the copies a
    // restore kept all carry its name.
    const QFileInfo books(booksFile);
    const QDir beside(books.absolutePath());
    for (const QString &name : beside.entryList({books.fileName() + QLatin1Char('*')},
                                                QDir::Files | QDir::Hidden | QDir::System | QDir::CaseSensitive))
        Restrict(beside.filePath(name));
    Restrict(IniFileName);
    Restrict(RegistryFileName());
    Restrict(passwordFile);
    const QDir backups(BackupFolder());
    if (!Restrict(backups.path()))
        return;
    for (const QString &name : backups.entryList(QDir::Files | QDir::Hidden | QDir::System))
        Restrict(backups.filePath(name));
}
