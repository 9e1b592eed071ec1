#pragma once
// One running copy of the program per books file: two copies writing the same
// books refuse each other's saves and hand out the same bill numbers. The
// lock is the kernel's (flock on the books file itself), so it ends with the
// process however it ends, and it holds for every path that reaches the same
// file: a symlink, a hard link, another program folder.

#include <QString>

class TInstanceLock {
public:
    explicit TInstanceLock(QString booksFile);
    // Destroy only after the books' connection is closed: closing a descriptor of
    // the file drops the locks SQLite holds on it in this process.
    ~TInstanceLock();
    TInstanceLock(const TInstanceLock &) = delete;
    TInstanceLock &operator=(const TInstanceLock &) = delete;

    // True when no other copy runs on the books. Otherwise shows
    // "程序已经在运行" and the caller ends without touching anything. Books
    // that are missing or unreadable are not refused here: the program says so itself.
    bool Acquire();

private:
    QString books_;
    int fd_ = -1;
};
