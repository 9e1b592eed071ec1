#pragma once
// One running copy of the program per program folder: two copies writing the
// same books refuse each other's saves and hand out the same bill numbers.

#include <QLockFile>
#include <QString>

class TInstanceLock {
public:
    explicit TInstanceLock(const QString &programDir);

    // True when no other copy runs on the folder (a lock left by a copy that
    // ended without releasing it is taken over). Otherwise shows
    // "程序已经在运行" and the caller ends without touching anything.
    bool Acquire();

private:
    QLockFile lock_;
};
