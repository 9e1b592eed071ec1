#pragma once
// A file from outside that the program is about to read as books, looked at
// before anything is copied: a pipe would hang the program, a device such as
// /dev/zero would copy until the disk is full.

#include <QString>

class TForeignFile {
public:
    enum Verdict { Fine, Unreadable, NotRegular, TooLarge, NotSQLite };

    // A symlink is followed. maxSize < 0 takes any size. errorNumber gets the
    // system's error for Unreadable; size the file's size when known.
    static Verdict Inspect(const QString &file, qint64 maxSize, int *errorNumber = nullptr, qint64 *size = nullptr);

    // What a restore may read: ten times the current books plus 1 GB.
    static qint64 SizeLimit(qint64 booksSize);

    // The refusal in words, for every verdict but Fine and Unreadable.
    static QString Refusal(Verdict verdict, qint64 size, qint64 maxSize);
};
