#pragma once
// A file the user chose, written whole or not at all: into a new file beside
// it, flushed to disk, then named over it in one step, so a failure half-way
// (a full disk, a pulled stick) leaves any old file as it was. A new file
// follows the umask, an old one keeps its mode; a symlink stays and its target
// is replaced. A device or a pipe cannot be replaced: it is written into.

#include <QByteArray>
#include <QString>

class TWholeFile {
public:
    // 0 when written, else the operating system's error number (see TFileFailure).
    static int Write(const QString &file, const QByteArray &bytes);
    // All of the bytes to an open file, a short write continued: 0, or the error number.
    static int WriteAll(int fd, const char *data, qint64 size);
    // Something there that is neither a plain file nor a folder (a device, a pipe, a socket).
    static bool IsDevice(const QString &file);
};
