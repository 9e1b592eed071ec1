#pragma once
// General routines shared by every window: paths and ini file, registry,
// number and date texts, the query helper.

#include "db/SqlText.h"

#include <QDate>
#include <QString>
#include <QVariantList>
#include <functional>
#include <stdexcept>

class TQuery;

// A text that should have been a number but is not one ("1.2.3", ".").
// It abandons the operation in progress; the application shows its message.
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const QString &message);
    QString Message() const { return QString::fromUtf8(what()); }
};

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

bool RegisterDataSource(const QString &name, const QString &databaseFile, const QString &description);
QString GetDesktopFolder();
QString RegistryFileName();
// This installation's identifier, made once and kept in the registry file.
QString InstallationId();

bool IsDigitText(const QString &text);
bool IsDecimalText(const QString &text);
int TextToIntLenient(const QString &text);      // throws EConvertError beyond 32 bits
double TextToFloatLenient(const QString &text); // throws EConvertError for "." or "1.2.3"

// Checks a typed amount (digits and one ".", at most two decimals, no sign);
// gives the message to show, or the empty text when the amount is fine.
QString AmountTextError(const QString &text);

// The statement with every quoted text's letters blanked out, same length:
// its structure can be read without words inside values getting in the way.
QString BlankQuotedTexts(const QString &sql);
// Shortest decimal text, up to 15 significant digits: 1234.5, 0, -300.
QString NumberText(double value);
// The short date format: 2024-3-15.
QString DateText(const QDate &date);
// Rewrites what SQLite lacks of the SQL dialect the windows write (#date# literals).
QString TranslateSql(const QString &sql);

// Opens the query (paged: see TQuery::OpenPaged) with the values bound to its
// "?" marks; on a database error shows the failure message and gives false.
bool RunQuery(TQuery &query, const SqlText &sql, const QString &failureMessage, bool paged = false);
bool RunQuery(TQuery &query, const QString &sql, const QString &failureMessage, const QVariantList &params,
              bool paged = false);


// One column of the rows a read gives, as texts in the rows' order; false (and
// texts left alone) when the read failed, after the failure message was shown.
bool ReadTexts(const QString &sql, const QVariantList &params, const QString &column, QStringList &texts,
               const QString &failureMessage);

// Finds the record a deletion is about, read by read (which says why it could not
// be read; "找不到要删除的记录" when it is gone), and asks "删除警告" with the
// question; true only for Yes, with the record on the query.
bool FindAndConfirmDeletion(TQuery &query, const std::function<bool(TQuery &)> &read,
                            const QString &question = QStringLiteral("确实要删除该记录吗？"));
