#include "support/InstanceLock.h"

#include "shell/Dialogs.h"

#include <QDir>

TInstanceLock::TInstanceLock(const QString &programDir)
    : lock_(QDir(programDir).filePath(QStringLiteral("Kestrova.lock")))
{
    // Held for the whole run: only a dead owner makes it stale, never its age.
    lock_.setStaleLockTime(0);
}

bool TInstanceLock::Acquire()
{
    if (lock_.tryLock(0))
        return true;
    // A folder where no lock can be written cannot hold writable books either; let the program say so itself.
    if (lock_.error() != QLockFile::LockFailedError)
        return true;
    Dialogs::ShowMessage(QStringLiteral("程序已经在运行"));
    return false;
}
