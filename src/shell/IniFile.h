#pragma once
// A small UTF-8 ini file: [section] and key=value lines, names compared
// without regard to ASCII case as Windows does. Unknown lines are kept as
// they are, so a hand-edited file survives our writes.

#include <QString>
#include <QStringList>

class IniFile {
public:
    explicit IniFile(QString fileName);

    bool Load();                  // false when the file exists but cannot be read
    bool Exists() const;
    bool HasValue(const QString &section, const QString &key) const;
    QString Value(const QString &section, const QString &key, const QString &defaultValue) const;
    void SetValue(const QString &section, const QString &key, const QString &value);
    bool Save();                  // atomic: the old file stays whole if anything fails
    bool CanWrite() const;        // the file can be created or replaced

private:
    int FindSection(const QString &section) const;  // line of the [section] header, or -1
    int FindKey(int sectionLine, const QString &key, int *endOfSection) const;

    QString fileName_;
    QStringList lines_;
};
