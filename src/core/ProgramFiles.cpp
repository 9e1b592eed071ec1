#include "core/ProgramFiles.h"

#include "core/IniFile.h"
#include "core/Registry.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUuid>

QString ProgramDir;

QString BackupFolder() { return ProgramDir + QStringLiteral("Backup/"); }
QString IniFileName;

namespace {
QString programDirOverride;

// Windows keeps these names in fixed buffers of this many bytes.
constexpr int NameLimit = 255;
constexpr int ValueLimit = 1023;

bool Fits(const QString &text, int limit) { return text.toUtf8().size() <= limit; }

// Encoded once and cut on a character boundary: linear in the text, however long.
QString CutToBytes(const QString &text, int limit)
{
    if (text.size() * 3 <= limit)
        return text;
    const QByteArray bytes = text.toUtf8();
    if (bytes.size() <= limit)
        return text;
    int end = limit;
    while (end > 0 && (uchar(bytes[end]) & 0xC0) == 0x80)
        --end;
    return QString::fromUtf8(bytes.constData(), end);
}
} // namespace

void SetProgramDirOverride(const QString &dir) { programDirOverride = dir; }
QString ProgramDirOverride() { return programDirOverride; }

QString ReadIniValue(const QString &section, const QString &key, const QString &defaultValue,
                     const QString &fileName)
{
    const QString fallback = CutToBytes(defaultValue, NameLimit);
    if (!Fits(section, NameLimit) || !Fits(key, NameLimit) || !Fits(fileName, NameLimit))
        return fallback;
    IniFile ini(fileName);
    if (!ini.Load())
        return fallback;
    return CutToBytes(ini.Value(section, key, fallback), ValueLimit);
}

bool WriteIniValue(const QString &section, const QString &key, const QString &value,
                   const QString &fileName)
{
    if (section.trimmed().isEmpty() || key.trimmed().isEmpty())
        return false;
    if (!Fits(section, NameLimit) || !Fits(key, NameLimit) || !Fits(fileName, NameLimit)
        || !Fits(value, ValueLimit))
        return false;
    // A line break would split the entry and corrupt the file.
    static const QRegularExpression breaks(QStringLiteral("[\\r\\n\\[\\]=]"));
    if (value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r'))
        || section.contains(breaks) || key.contains(breaks))
        return false;
    IniFile ini(fileName);
    if (!ini.Load() && !ini.Unreadable())
        return false;
    ini.SetValue(section, key, value);
    return ini.Save();
}

QString InstallationId()
{
    // Made once and kept with the machine's other keys.
    const QString key = QStringLiteral("Software\\Mirelo\\Kestrova");
    TRegistry reg(RegistryFileName());
    if (reg.OpenKeyReadOnly(key)) {
        const QString id = reg.ReadString(QStringLiteral("InstallId"));
        if (!id.isEmpty())
            return id;
    }
    const QString id = QUuid::createUuid().toString(QUuid::Id128).toUpper();
    if (reg.OpenKey(key, true))
        reg.WriteString(QStringLiteral("InstallId"), id);
    reg.CloseKey();
    return id;
}

QString RegistryFileName() { return ProgramDir + QStringLiteral("Registry.ini"); }

QString GetDesktopFolder()
{
    // Qt names ~/Desktop even where there is none; the callers then start in the home folder.
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return QFileInfo(desktop).isDir() ? desktop : QString();
}

