#include "shell/PublicFunction.h"

#include "shell/DataSource.h"
#include "shell/Notice.h"
#include "shell/IniFile.h"
#include "shell/Registry.h"
#include "shell/ShareDM.h"
#include "shell/TypedNumber.h"

#include <QUuid>
#include <QCoreApplication>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <charconv>
#include <cmath>
#include <string_view>
#include <algorithm>
#include <cstdio>

EConvertError::EConvertError(const QString &message) : std::runtime_error(message.toStdString()) {}

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

bool RegisterDataSource(const QString &name, const QString &databaseFile, const QString &description)
{
    // Taken for a first run (the ini lost), a counter whose books were moved to a
    // server must stay on the server, never fall back to the file left beside it.
    const bool onServer = TDataSource::Registered().server;
    TRegistry reg(RegistryFileName());
    if (!reg.OpenKey(QStringLiteral("Software\\ODBC\\ODBC.INI\\ODBC Data Sources"), true)) {
        Notice::Tell(QStringLiteral("注册表键值创建失败"));
        return false;
    }
    bool ok = reg.WriteString(name, QStringLiteral("Microsoft Access Driver (*.mdb)"));
    reg.CloseKey();

    const QString sourceKey = QStringLiteral("Software\\ODBC\\ODBC.INI\\") + name;
    if (!ok || !reg.OpenKey(sourceKey, true)) {
        Notice::Tell(QStringLiteral("注册键HKEY_LOCAL_MACHINE\\") + sourceKey + QStringLiteral("打开失败"));
        return false;
    }
    // The driver here is Qt's SQLite driver rather than the Access one.
    ok = reg.WriteString(QStringLiteral("DBQ"), databaseFile)
         && reg.WriteString(QStringLiteral("Description"), description)
         && (onServer || reg.WriteString(QStringLiteral("Driver"), QStringLiteral("QSQLITE")))
         && reg.WriteInteger(QStringLiteral("DriverId"), 25)
         && reg.WriteString(QStringLiteral("FIL"), QStringLiteral("Ms Access;"))
         && reg.WriteInteger(QStringLiteral("SafeTransaction"), 0)
         && (onServer || reg.WriteString(QStringLiteral("UID"), QString()))
         && reg.WriteBinary(QStringLiteral("Exclusive"), QByteArray(1, '\0'))
         && reg.WriteBinary(QStringLiteral("ReadOnly"), QByteArray(1, '\0'));
    reg.CloseKey();

    const QString jetKey = sourceKey + QStringLiteral("\\Engines\\Jet");
    if (!ok || !reg.OpenKey(jetKey, true)) {
        Notice::Tell(QStringLiteral("注册键HKEY_LOCAL_MACHINE\\") + jetKey + QStringLiteral("打开失败"));
        return false;
    }
    ok = reg.WriteString(QStringLiteral("ImplicitCommitSync"), QStringLiteral("Yes"))
         && reg.WriteInteger(QStringLiteral("MaxBufferSize"), 512)
         && reg.WriteInteger(QStringLiteral("PageTimeout"), 10)
         && reg.WriteInteger(QStringLiteral("Threads"), 3)
         && reg.WriteString(QStringLiteral("UserCommitSync"), QStringLiteral("Yes"));
    reg.CloseKey();
    return ok;
}

QString GetDesktopFolder()
{
    // Qt names ~/Desktop even where there is none; the callers then start in the home folder.
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    return QFileInfo(desktop).isDir() ? desktop : QString();
}

bool IsDigitText(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

bool IsDecimalText(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if ((c < QLatin1Char('0') || c > QLatin1Char('9')) && c != QLatin1Char('.'))
            return false;
    return true;
}

int TextToIntLenient(const QString &text)
{
    if (!IsDigitText(text))
        return 0;
    int value = 0;
    if (TypedNumber::ReadCount(text, &value) != TypedNumber::Fine)
        throw EConvertError(QStringLiteral("“%1”超出了整数的范围").arg(text));
    return value;
}

double TextToFloatLenient(const QString &text)
{
    if (!IsDecimalText(text))
        return 0;
    double value = 0;
    switch (TypedNumber::ReadAmount(text, &value)) {
    case TypedNumber::Fine:
        return value;
    case TypedNumber::TooLong:
        throw EConvertError(QStringLiteral("“%1”超过了15位有效数字").arg(text));
    default:
        // "." and "1.2.3": digits and points, yet no number.
        throw EConvertError(QStringLiteral("“%1”不是有效的数字").arg(text));
    }
}

QString AmountTextError(const QString &text)
{
    // More than two characters after the first point is judged before the rest ("1.2.3").
    const int point = int(text.indexOf(QLatin1Char('.')));
    if (IsDecimalText(text) && point >= 0 && text.size() - point - 1 > 2)
        return QStringLiteral("金额内容可能有误，请重新输入");
    switch (TypedNumber::ReadAmount(text, nullptr, 2)) {
    case TypedNumber::Fine:
        return QString();
    case TypedNumber::TooManyDecimals:
    case TypedNumber::TooLong:
        return QStringLiteral("金额内容可能有误，请重新输入");
    default:
        return QStringLiteral("金额格式有误，请重新输入");
    }
}

QString BlankQuotedTexts(const QString &sql)
{
    QString out = sql;
    bool inText = false;
    for (int i = 0; i < out.size(); ++i) {
        if (out[i] == QLatin1Char('\'')) {
            inText = !inText;   // a doubled quote toggles twice and stays in the text
            continue;
        }
        if (inText)
            out[i] = QLatin1Char('_');
    }
    return out;
}

QString NumberText(double value)
{
    if (!std::isfinite(value) || value == 0)
        return QStringLiteral("0");
    // The shortest digits that read back as the value, or its 15 significant
    // digits (what the books hold) when that would take more: 0.1 + 0.2 is 0.3,
    // and a subnormal 1e-310 is 1e-310, not its binary value's 15 digits.
    char buf[32];
    auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    std::string_view text(buf, std::size_t(written.ptr - buf));
    const auto e = text.find('e');
    if (std::count_if(text.begin(), text.begin() + std::ptrdiff_t(e), [](char c) { return c >= '0' && c <= '9'; }) > 15) {
        written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
        text = std::string_view(buf, std::size_t(written.ptr - buf));
    }
    // Written out in full from those digits alone: 1e64 is a 1 and 64 zeros.
    const std::size_t at = text.find('e');
    int exponent = 0;
    const char *sign = text.data() + at + 1;
    std::from_chars(sign + (*sign == '+'), text.data() + text.size(), exponent);
    const bool negative = text.front() == '-';
    QString digits;
    for (const char c : text.substr(0, at))
        if (c >= '0' && c <= '9')
            digits += QLatin1Char(c);
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    QString out;
    if (exponent >= 0) {
        const qsizetype whole = exponent + 1;
        out = digits.left(whole) + QString(std::max<qsizetype>(0, whole - digits.size()), QLatin1Char('0'));
        if (digits.size() > whole)
            out += QLatin1Char('.') + digits.mid(whole);
    } else {
        out = QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
    }
    if (negative)
        out.prepend(QLatin1Char('-'));
    return out;
}

QString DateText(const QDate &date) { return date.toString(QStringLiteral("yyyy-M-d")); }

QString TranslateSql(const QString &sql)
{
    // #yyyy-M-d# becomes 'yyyy-MM-dd', but never inside a quoted text.
    static const QRegularExpression dateLiteral(QStringLiteral("^#(\\d{4})-(\\d{1,2})-(\\d{1,2})#"));
    QString out;
    out.reserve(sql.size() + 16);
    bool inText = false;
    for (int i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'')) {
            inText = !inText; // a doubled quote toggles twice and stays in the text
            out += c;
            continue;
        }
        if (!inText && c == QLatin1Char('#')) {
            const auto m = dateLiteral.match(QStringView(sql).mid(i));
            if (m.hasMatch()) {
                out += QStringLiteral("'%1-%2-%3'")
                           .arg(m.captured(1))
                           .arg(m.captured(2).toInt(), 2, 10, QLatin1Char('0'))
                           .arg(m.captured(3).toInt(), 2, 10, QLatin1Char('0'));
                i += m.capturedLength() - 1;
                continue;
            }
        }
        out += c;
    }
    return out;
}

bool RunQuery(TQuery &query, const SqlText &sql, const QString &failureMessage, bool paged)
{
    return RunQuery(query, sql.text, failureMessage, sql.params, paged);
}

bool RunQuery(TQuery &query, const QString &sql, const QString &failureMessage, const QVariantList &params, bool paged)
{
    try {
        query.Close();
        if (paged)
            query.OpenPaged(sql, params);
        else
            query.Open(sql, params);
        return true;
    } catch (const EDatabaseError &e) {
        query.Close();
        Notice::Tell(ShareDataModule->Explained(failureMessage, e));
        return false;
    }
}

bool ReadTexts(const QString &sql, const QVariantList &params, const QString &column, QStringList &texts,
               const QString &failureMessage)
{
    TQuery q(column);
    if (!RunQuery(q, sql, failureMessage, params))
        return false;
    texts.clear();
    for (q.First(); !q.Eof(); q.Next())
        texts << q.FieldByName(column).AsString();
    return true;
}

bool FindAndConfirmDeletion(TQuery &query, const std::function<bool(TQuery &)> &read, const QString &question)
{
    if (!read(query))
        return false;
    if (query.IsEmpty()) {
        Notice::Tell(QStringLiteral("找不到要删除的记录"));
        return false;
    }
    if (!Notice::Ask(QStringLiteral("删除警告"), question))
        return false;
    query.First();
    return true;
}
