#pragma once
// At the first login of each day the program keeps a checked copy of the
// books in Backup/ of the program folder, one file a day, the last 30 kept.
// The copies it made are listed beside them (Kestrova-daily.list, in the
// order they were made), and only those are ever deleted: a file of the user's
// with a daily copy's name, or a symlink, stays. The thirty kept are the thirty
// made last, so a clock set back does not make a fresh copy the oldest. A copy
// is named in the list before it takes its name, so one the program is killed
// after is never left unlisted (and never pruned).

#include <QDate>
#include <QString>
#include <functional>

class TDailyBackup {
public:
    static constexpr int Keep = 30;

    static QString Folder();                    // ProgramDir + "Backup/"
    static QString FileName(const QDate &day);  // "Kestrova-2024-03-15.mdb"
    static QString ListName();                  // "Kestrova-daily.list"

    // Makes today's copy unless there is one. A failure is shown once a day
    // for the folder and never stops the program.
    static void Run();

    // The moments between the steps of a run, where a kill may fall: the copy
    // whole under its hidden name, named in the list, under its own name, pruned.
    enum Step { CopyChecked, Listed, Placed, Pruned };
    // Tests: told of each step as it is reached; an empty one stops it.
    static void Watch(std::function<void(Step)> watcher);
};
