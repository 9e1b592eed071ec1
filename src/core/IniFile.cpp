#include "core/IniFile.h"

#include "core/Clock.h"
#include "core/Notice.h"
#include "core/PrivateFiles.h"
#include "core/NumberTexts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <cerrno>
#include <iconv.h>
#include <sys/stat.h>

IniFile::IniFile(QString fileName) : fileName_(std::move(fileName)) {}

bool IniFile::Exists() const { return QFileInfo(fileName_).isFile(); }

namespace {
// Converts between encodings with the C library; false on a byte sequence that is not the source encoding.
bool Convert(const char *to, const char *from, const QByteArray &in, QByteArray *out)
{
    iconv_t cd = ::iconv_open(to, from);
    if (cd == iconv_t(-1))
        return false;
    out->resize(in.size() * 4 + 16);
    char *src = const_cast<char *>(in.constData());
    size_t srcLeft = size_t(in.size());
    char *dst = out->data();
    size_t dstLeft = size_t(out->size());
    const bool ok = ::iconv(cd, &src, &srcLeft, &dst, &dstLeft) != size_t(-1) && srcLeft == 0;
    ::iconv_close(cd);
    out->resize(out->size() - qsizetype(dstLeft));
    return ok;
}

QString MB(qint64 bytes) { return QString::number(double(bytes) / (1 << 20), 'f', 1); }
} // namespace

bool IniFile::Load()
{
    lines_.clear();
    gb18030_ = false;
    unreadable_.clear();
    const QByteArray path = QFile::encodeName(fileName_);
    struct stat st;
    if (::stat(path.constData(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR;
    // A folder, a pipe or a device: nothing to read, and nothing we may replace.
    if (!S_ISREG(st.st_mode))
        return false;
    if (st.st_size > SizeLimit) {
        unreadable_ = QStringLiteral("文件过大：%1 MB，上限 %2 MB").arg(MB(st.st_size), MB(SizeLimit));
        return false;
    }
    QFile file(fileName_);
    if (!file.open(QIODevice::ReadOnly)) {
        unreadable_ = QStringLiteral("无法打开：") + file.errorString();
        return false;
    }
    const QByteArray bytes = file.read(SizeLimit + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > SizeLimit) {
        unreadable_ = QStringLiteral("读取出错：") + file.errorString();
        return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(bytes);
    if (utf8.hasError()) {
        QByteArray converted;
        if (!Convert("UTF-8", "GB18030", bytes, &converted)) {
            unreadable_ = QStringLiteral("既不是 UTF-8 也不是 GBK 编码");
            return false;
        }
        text = QString::fromUtf8(converted);
        gb18030_ = true;
    }
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

bool IniFile::SetAside()
{
    const QDateTime now(Clock::Today(), QTime::currentTime());
    const QString kept = fileName_ + QStringLiteral(".无法读取-") + DateText(now.date()) + QLatin1Char('-')
                         + now.time().toString(QStringLiteral("hhmmss"));
    if (QFileInfo::exists(kept) || ::rename(QFile::encodeName(fileName_).constData(), QFile::encodeName(kept).constData()) != 0) {
        Notice::Tell(QStringLiteral("配置文件 %1 无法读取（%2），程序按默认设置运行，不会改写该文件")
                                 .arg(QDir::toNativeSeparators(fileName_), unreadable_));
        return false;
    }
    Notice::Tell(QStringLiteral("配置文件 %1 无法读取（%2），原文件已原样改名保存为 %3，设置改存入新的配置文件")
                             .arg(QDir::toNativeSeparators(fileName_), unreadable_, QDir::toNativeSeparators(kept)));
    unreadable_.clear();
    return true;
}

bool IniFile::Save()
{
    if (!unreadable_.isEmpty() && !SetAside())
        return false;
    if (!CanWrite())
        return false;
    QSaveFile file(fileName_);
    file.setDirectWriteFallback(true);
    // Every ini file the program keeps is private: Kestrova.ini, Registry.ini.
    if (!TPrivateFiles::Open(file))
        return false;
    QByteArray data = (lines_.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    if (gb18030_) {
        QByteArray converted;
        if (!Convert("GB18030", "UTF-8", data, &converted))
            return false;
        data = converted;
    }
    if (file.write(data) != data.size())
        return false;
    return file.commit();
}
