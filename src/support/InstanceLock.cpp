#include "support/InstanceLock.h"

#include "ui/Dialogs.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

TInstanceLock::TInstanceLock(QString booksFile) : books_(std::move(booksFile)) {}

TInstanceLock::~TInstanceLock()
{
    if (fd_ >= 0)
        ::close(fd_);
}

bool TInstanceLock::Acquire()
{
    if (fd_ >= 0)
        return true;
    // Non-blocking: the books path could name a pipe, which must not hang the start.
    const int fd = ::open(QFile::encodeName(books_).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return true;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        if (!held)
            return true;   // a file system without locks: nothing to go by
        Dialogs::ShowMessage(QStringLiteral("程序已经在运行"));
        return false;
    }
    fd_ = fd;
    return true;
}
