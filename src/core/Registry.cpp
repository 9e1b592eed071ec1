#include "core/Registry.h"

#include "core/IniFile.h"

namespace {
const QString root = QStringLiteral("HKEY_LOCAL_MACHINE\\");
const QString dwordTag = QStringLiteral("dword:");
const QString hexTag = QStringLiteral("hex:");
const QString textTag = QStringLiteral("sz:");
}

TRegistry::TRegistry(QString fileName) : fileName_(std::move(fileName)) {}

QString TRegistry::Section() const { return root + key_; }

bool TRegistry::OpenKey(const QString &key, bool canCreate)
{
    CloseKey();
    IniFile ini(fileName_);
    if (!ini.Load() && !(canCreate && ini.Unreadable()))
        return false;
    if (canCreate) {
        if (!ini.CanWrite())
            return false;
        ini.SetValue(root + key, QStringLiteral("@"), QString()); // the key exists once opened
        if (!ini.Save())
            return false;
        writable_ = true;
    } else if (!ini.HasValue(root + key, QStringLiteral("@"))) {
        return false;
    }
    key_ = key;
    open_ = true;
    return true;
}

bool TRegistry::OpenKeyReadOnly(const QString &key) { return OpenKey(key, false); }

void TRegistry::CloseKey()
{
    open_ = false;
    writable_ = false;
    key_.clear();
}

bool TRegistry::Write(const QString &name, const QString &stored)
{
    if (!open_ || !writable_)
        return false;
    IniFile ini(fileName_);
    if (!ini.Load() && !ini.Unreadable())
        return false;
    ini.SetValue(Section(), name, stored);
    return ini.Save();
}

// Strings carry a tag so that a string that looks like "dword:1" stays a string.
bool TRegistry::WriteString(const QString &name, const QString &value) { return Write(name, textTag + value); }
bool TRegistry::WriteInteger(const QString &name, int value) { return Write(name, dwordTag + QString::number(value)); }
bool TRegistry::WriteBinary(const QString &name, const QByteArray &value)
{
    return Write(name, hexTag + QString::fromLatin1(value.toHex(',')));
}

bool TRegistry::ValueExists(const QString &name) const
{
    if (!open_)
        return false;
    IniFile ini(fileName_);
    return ini.Load() && ini.HasValue(Section(), name);
}

QString TRegistry::ReadString(const QString &name) const
{
    if (!open_)
        return QString();
    IniFile ini(fileName_);
    if (!ini.Load())
        return QString();
    const QString stored = ini.Value(Section(), name, QString());
    return stored.startsWith(textTag) ? stored.mid(textTag.size()) : QString();
}

int TRegistry::ReadInteger(const QString &name) const
{
    if (!open_)
        return 0;
    IniFile ini(fileName_);
    if (!ini.Load())
        return 0;
    const QString stored = ini.Value(Section(), name, QString());
    return stored.startsWith(dwordTag) ? stored.mid(dwordTag.size()).toInt() : 0;
}
