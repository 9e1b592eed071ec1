#pragma once
// The books hold the passwords and every customer's figures, so the program's
// own files are its user's alone, whatever the umask: the books and every copy
// of them, the ini files and the server's password 0600, Backup/ 0700. Exports
// and printouts are the user's documents and follow the umask.

#include <QString>
#include <sys/types.h>

class QSaveFile;

class TPrivateFiles {
public:
    static constexpr mode_t FileMode = 0600;
    static constexpr mode_t FolderMode = 0700;

    // Opens for writing and makes the file private before a byte is in it
    // (QSaveFile makes a new file by the umask and keeps an old file's mode).
    static bool Open(QSaveFile &file);
    // A private folder, made or found; an existing one is brought to the mode.
    // The operating system's error number, 0 when the folder is there.
    static int MakeFolder(const QString &folder);
    // A plain file or folder brought to the private mode; false when there is
    // none. Never through a symlink: a link the user made points where they chose.
    static bool Restrict(const QString &path);
    // At start: the books, their journals and the copies a restore kept, the
    // ini files, the password file, Backup/ and the files in it. The program
    // folder itself holds the program and stays as it is.
    // The books' file and the server password file are named by the caller.
    static void RestrictProgramFolder(const QString &booksFile, const QString &passwordFile);
};
