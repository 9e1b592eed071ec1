#pragma once
// A small ini file: [section] and key=value lines, names compared without
// regard to ASCII case as Windows does. Unknown lines are kept as they are, so
// a hand-edited file survives our writes. UTF-8; a file that is not valid
// UTF-8 is read as GB18030 (what an older Windows installation wrote) and
// written back the same way. Reading is linear in the file's size.

#include <QString>
#include <QStringList>

class IniFile {
public:
    // Larger files are not read: nothing the program writes comes near it.
    static constexpr qint64 SizeLimit = qint64(16) << 20;

    explicit IniFile(QString fileName);

    // False when the file exists but cannot be read: too large, no access, not
    // a plain file, neither UTF-8 nor GB18030. Reads then give the defaults.
    bool Load();
    // Load failed on a plain file; Save sets it aside before writing a new one.
    bool Unreadable() const { return !unreadable_.isEmpty(); }
    bool Exists() const;
    bool HasValue(const QString &section, const QString &key) const;
    QString Value(const QString &section, const QString &key, const QString &defaultValue) const;
    void SetValue(const QString &section, const QString &key, const QString &value);
    // Atomic: the old file stays whole if anything fails. A plain file that
    // could not be read is never written over: it is first renamed aside
    // ("Kestrova.ini.无法读取-2024-3-15-101500") and the user is told so once.
    // The file written is private (TPrivateFiles).
    bool Save();
    bool CanWrite() const;        // the file can be created or replaced

private:
    int FindSection(const QString &section) const;  // line of the [section] header, or -1
    int FindKey(int sectionLine, const QString &key, int *endOfSection) const;
    bool SetAside();

    QString fileName_;
    QStringList lines_;
    bool gb18030_ = false;        // read as GB18030: written back the same way
    QString unreadable_;          // why a plain file could not be read, in Chinese
};
