#pragma once
// The program's own temporary files: a backup or a restore writes its copy
// under a hidden name first and names it only when whole, so a program killed
// half-way leaves such a file behind. Their names carry a tag of the program
// folder, so one program folder never removes another one's files in a
// folder they share (the desktop, a USB stick).

#include <QString>

class TLeftovers {
public:
    enum Kind { Backup, Restore, Kept };

    // "<folder>/.Kestrova-backup-1a2b3c4d-XXXXXX": a pattern for mkstemp.
    static QString Pattern(const QString &folder, Kind kind);

    // Removes from folder the stale temporary files of this program folder
    // (regular files of the exact name pattern, with their -journal, -wal and
    // -shm); with legacy also the untagged ones older versions wrote, which is
    // safe only inside the program folder. Returns how many went.
    static int Clean(const QString &folder, bool legacy);

    // The program folder and its Backup/: done at start, while the books are locked.
    static int CleanProgramFolder();
    // Before a backup into folder.
    static int CleanBeforeBackup(const QString &folder);
};
