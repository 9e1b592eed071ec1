#pragma once
// Where the program keeps its files: the program folder, the ini file, the
// registry file, the backups; the ini values as the program reads and writes
// them, and this installation's identifier.

#include <QString>

// The program folder, with a trailing "/", and the ini file in it.
extern QString ProgramDir;
// Where the backups are kept: ProgramDir + "Backup/".
QString BackupFolder();
extern QString IniFileName;
// Tests point the program at a folder of their own before the main window is made.
void SetProgramDirOverride(const QString &dir);
QString ProgramDirOverride();

QString ReadIniValue(const QString &section, const QString &key, const QString &defaultValue,
                     const QString &fileName);
bool WriteIniValue(const QString &section, const QString &key, const QString &value,
                   const QString &fileName);

QString GetDesktopFolder();
QString RegistryFileName();
// This installation's identifier, made once and kept in the registry file.
QString InstallationId();
