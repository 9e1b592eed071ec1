#include "shell/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QDir>

IniFile::IniFile(QString fileName) : fileName_(std::move(fileName)) {}

bool IniFile::Exists() const { return QFileInfo(fileName_).isFile(); }

bool IniFile::Load()
{
    lines_.clear();
    QFileInfo info(fileName_);
    if (!info.exists())
        return true;
    QFile file(fileName_);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines_ = text.split(QLatin1Char('\n'));
    if (!lines_.isEmpty() && lines_.last().isEmpty())
        lines_.removeLast();
    return true;
}

static bool IsSectionLine(const QString &line, QString *name)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(QLatin1Char('[')) || !t.endsWith(QLatin1Char(']')))
        return false;
    if (name)
        *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

int IniFile::FindSection(const QString &section) const
{
    QString name;
    for (int i = 0; i < lines_.size(); ++i)
        if (IsSectionLine(lines_[i], &name) && name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int IniFile::FindKey(int sectionLine, const QString &key, int *endOfSection) const
{
    int i = sectionLine + 1;
    int found = -1;
    int lastContent = sectionLine;
    for (; i < lines_.size(); ++i) {
        const QString &line = lines_[i];
        if (IsSectionLine(line, nullptr))
            break;
        if (!line.trimmed().isEmpty())
            lastContent = i;
        const int eq = line.indexOf(QLatin1Char('='));
        if (found < 0 && eq > 0 && !line.trimmed().startsWith(QLatin1Char(';'))
            && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            found = i;
    }
    if (endOfSection)
        *endOfSection = lastContent + 1;
    return found;
}

bool IniFile::HasValue(const QString &section, const QString &key) const
{
    const int s = FindSection(section);
    return s >= 0 && FindKey(s, key, nullptr) >= 0;
}

QString IniFile::Value(const QString &section, const QString &key, const QString &defaultValue) const
{
    const int s = FindSection(section);
    if (s < 0)
        return defaultValue;
    const int k = FindKey(s, key, nullptr);
    if (k < 0)
        return defaultValue;
    const QString &line = lines_[k];
    return line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
}

void IniFile::SetValue(const QString &section, const QString &key, const QString &value)
{
    const QString entry = key + QLatin1Char('=') + value;
    int s = FindSection(section);
    if (s < 0) {
        if (!lines_.isEmpty() && !lines_.last().trimmed().isEmpty())
            lines_ << QString();
        lines_ << QLatin1Char('[') + section + QLatin1Char(']') << entry;
        return;
    }
    int end = 0;
    const int k = FindKey(s, key, &end);
    if (k >= 0)
        lines_[k] = entry;
    else
        lines_.insert(end, entry);
}

bool IniFile::CanWrite() const
{
    QFileInfo info(fileName_);
    if (info.exists())
        return info.isFile() && info.isWritable();
    QFileInfo dir(info.absolutePath());
    return dir.isDir() && dir.isWritable();
}

bool IniFile::Save()
{
    if (!CanWrite())
        return false;
    QSaveFile file(fileName_);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray data = (lines_.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    if (file.write(data) != data.size())
        return false;
    return file.commit();
}
