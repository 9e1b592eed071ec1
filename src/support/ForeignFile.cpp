#include "support/ForeignFile.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TForeignFile::Verdict TForeignFile::Inspect(const QString &file, qint64 maxSize, int *errorNumber, qint64 *size)
{
    auto failed = [errorNumber](int error) {
        if (errorNumber)
            *errorNumber = error;
        return Unreadable;
    };
    const QByteArray path = QFile::encodeName(file);
    struct stat st;
    if (::stat(path.constData(), &st) != 0)
        return failed(errno);
    if (!S_ISREG(st.st_mode))
        return NotRegular;
    // Non-blocking, so that a file swapped for a pipe since the look above cannot hang the open.
    const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return failed(errno);
    Verdict verdict = Fine;
    if (::fstat(fd, &st) != 0) {
        verdict = failed(errno);
    } else if (!S_ISREG(st.st_mode)) {
        verdict = NotRegular;
    } else {
        if (size)
            *size = st.st_size;
        if (maxSize >= 0 && st.st_size > maxSize) {
            verdict = TooLarge;
        } else {
            static const char header[16] = {'S', 'Q', 'L', 'i', 't', 'e', ' ', 'f', 'o', 'r', 'm', 'a', 't', ' ', '3', '\0'};
            char read16[16];
            ssize_t got = 0;
            while (got < 16) {
                const ssize_t n = ::read(fd, read16 + got, size_t(16 - got));
                if (n < 0 && errno == EINTR)
                    continue;
                if (n <= 0)
                    break;
                got += n;
            }
            if (got != 16 || std::memcmp(read16, header, 16) != 0)
                verdict = NotSQLite;
        }
    }
    ::close(fd);
    return verdict;
}

qint64 TForeignFile::SizeLimit(qint64 booksSize) { return 10 * booksSize + (qint64(1) << 30); }

QString TForeignFile::Refusal(Verdict verdict, qint64 size, qint64 maxSize)
{
    constexpr double MB = 1024.0 * 1024.0;
    switch (verdict) {
    case NotRegular:
        return QStringLiteral("所选的不是普通文件（是文件夹、管道或设备）");
    case TooLarge:
        return QStringLiteral("所选文件过大（%1 MB），超过当前数据库十倍加 1 GB 的上限（%2 MB）")
            .arg(QString::number(size / MB, 'f', 0), QString::number(maxSize / MB, 'f', 0));
    case NotSQLite:
        return QStringLiteral("所选文件不是本软件的数据库");
    case Fine:
    case Unreadable:
        break;
    }
    return QString();
}
