#pragma once
// At the first login of each day the program keeps a checked copy of the
// books in Backup/ of the program folder, one file a day, the last 30 kept.

#include <QDate>
#include <QString>

class TDailyBackup {
public:
    static constexpr int Keep = 30;

    static QString Folder();                    // ProgramDir + "Backup/"
    static QString FileName(const QDate &day);  // "Kestrova-2024-03-15.mdb"

    // Makes today's copy unless there is one. A failure is shown once a day
    // for the folder and never stops the program.
    static void Run();
};
