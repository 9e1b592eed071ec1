#pragma once
// The SQL the windows write, made fit for the engine that runs it.

#include <QString>

// The statement with every quoted text's letters blanked out, same length:
// its structure can be read without words inside values getting in the way.
QString BlankQuotedTexts(const QString &sql);
// Rewrites what SQLite lacks of the SQL dialect the windows write (#date# literals).
QString TranslateSql(const QString &sql);
