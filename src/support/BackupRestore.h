#pragma once
// Backup and restore as the user walks them: the file dialogs, the question
// and the messages around the checked copies of TBooksCopy.

#include <QString>

class TBackupRestore {
public:
    static const QString Filter;   // "Mdb Files (*.mdb *.MDB)"

    // "Mirelo进销存2024-3-15.mdb" for 15 March 2024.
    static QString ProposedName();
    // Backup to a file the user chooses.
    static void Save();
    // Restore from a file the user chooses; true when the books were replaced
    // and the program must end.
    static bool Load();
};
