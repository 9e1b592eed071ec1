#include "core/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Into what is there: a device or a pipe. Non-blocking open, so a pipe nobody reads fails rather than hangs.
int WriteInto(const QByteArray &path, const QByteArray &bytes)
{
    const int fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    int error = TWholeFile::WriteAll(fd, bytes.constData(), bytes.size());
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}
} // namespace

int TWholeFile::WriteAll(int fd, const char *data, qint64 size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(size));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += n;
        size -= n;
    }
    return 0;
}

bool TWholeFile::IsDevice(const QString &file)
{
    struct stat st;
    return ::stat(QFile::encodeName(file).constData(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode);
}

int TWholeFile::Write(const QString &file, const QByteArray &bytes)
{
    QByteArray path = QFile::encodeName(file);
    struct stat st;
    const bool exists = ::stat(path.constData(), &st) == 0;
    if (exists && S_ISDIR(st.st_mode))
        return EISDIR;
    if (exists && !S_ISREG(st.st_mode))
        return WriteInto(path, bytes);
    // Through a symlink to the file it names, which is replaced; the link stays.
    if (exists) {
        const QString target = QFileInfo(file).canonicalFilePath();
        if (!target.isEmpty())
            path = QFile::encodeName(target);
    }
    const QFileInfo info(QFile::decodeName(path));
    const QByteArray folder = QFile::encodeName(info.absolutePath());

    // A hidden name of its own beside it; made with the usual mode, so the umask applies.
    QByteArray temp;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temp = folder + "/." + QFile::encodeName(info.fileName())
               + QByteArray::number(QRandomGenerator::global()->generate(), 36).prepend(".tmp-");
        fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return errno;
    }
    if (fd < 0)
        return EEXIST;
    int error = 0;
    if (exists && ::fchmod(fd, st.st_mode & 07777) != 0)
        error = errno;
    if (error == 0)
        error = TWholeFile::WriteAll(fd, bytes.constData(), bytes.size());
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temp.constData(), path.constData()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temp.constData());
        return error;
    }
    // The new name lasts only once the folder is on disk; some file systems cannot flush a folder.
    const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return 0;
}
