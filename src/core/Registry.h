#pragma once
// The machine-wide keys the program keeps (the data source and the
// installation identifier) live in a text file beside the program.
// Each key is an ini section named after its path under HKEY_LOCAL_MACHINE.

#include <QByteArray>
#include <QString>

class TRegistry {
public:
    explicit TRegistry(QString fileName);

    // canCreate: open for writing, creating the key if missing.
    bool OpenKey(const QString &key, bool canCreate);
    bool OpenKeyReadOnly(const QString &key);
    void CloseKey();

    bool WriteString(const QString &name, const QString &value);
    bool WriteInteger(const QString &name, int value);
    bool WriteBinary(const QString &name, const QByteArray &value);

    bool ValueExists(const QString &name) const;
    QString ReadString(const QString &name) const;
    int ReadInteger(const QString &name) const;

private:
    bool Write(const QString &name, const QString &stored);
    QString Section() const;

    QString fileName_;
    QString key_;
    bool open_ = false;
    bool writable_ = false;
};
