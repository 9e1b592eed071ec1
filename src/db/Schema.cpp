#include "db/Schema.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

static void InitSchemaResource() { Q_INIT_RESOURCE(schema); }

QString Schema::Text()
{
    InitSchemaResource();
    QFile file(QStringLiteral(":/db/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

QStringList Schema::Statements()
{
    QStringList statements;
    QString current;
    for (const QString &line : Text().split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1String("--")))
            continue;
        current += line + QLatin1Char('\n');
        if (line.trimmed().endsWith(QLatin1Char(';'))) {
            statements << current.trimmed();
            current.clear();
        }
    }
    return statements;
}

bool Schema::CreateDatabase(const QString &fileName, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (QFileInfo::exists(fileName))
        return fail(QStringLiteral("%1 already exists").arg(fileName));

    const QStringList statements = Statements();
    if (statements.isEmpty())
        return fail(QStringLiteral("schema text missing"));

    // Build beside the target and move it in place only when complete.
    const QString temp = fileName + QStringLiteral(".part");
    QFile::remove(temp);
    const QString connection = QStringLiteral("schema-") + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = true;
    QString message;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(temp);
        if (!db.open()) {
            ok = false;
            message = db.lastError().text();
        } else {
            QSqlQuery q(db);
            ok = q.exec(QStringLiteral("BEGIN"));
            for (const QString &sql : statements) {
                if (!ok)
                    break;
                if (!q.exec(sql)) {
                    ok = false;
                    message = q.lastError().text() + QStringLiteral(" in: ") + sql.left(80);
                }
            }
            ok = ok && q.exec(QStringLiteral("COMMIT"));
            q.finish();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (!ok) {
        QFile::remove(temp);
        return fail(message);
    }
    if (!QFile::rename(temp, fileName)) {
        QFile::remove(temp);
        return fail(QStringLiteral("cannot move %1 into place").arg(temp));
    }
    return true;
}
