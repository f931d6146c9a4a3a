#include "data/sqlscript.h"

#include <QDebug>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

QStringList SqlScript::split(const QString &script)
{
    QStringList statements;
    QString current;
    QChar quote; // null while outside a quoted text
    auto flush = [&]() {
        const QString statement = current.trimmed();
        if (!statement.isEmpty())
            statements << statement;
        current.clear();
    };
    for (int i = 0; i < script.size(); ++i) {
        const QChar c = script.at(i);
        if (!quote.isNull()) {
            current += c;
            // A doubled quote closes and reopens at once, so its text is kept as written.
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < script.size() && script.at(i + 1) == QLatin1Char('-')) {
            while (i + 1 < script.size() && script.at(i + 1) != QLatin1Char('\n'))
                ++i;
            continue;
        }
        if (c == QLatin1Char(';')) {
            flush();
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
            quote = c;
        current += c;
    }
    flush();
    return statements;
}

bool SqlScript::run(const QSqlDatabase &db, const QString &script, QSqlError *error)
{
    const QStringList statements = split(script);
    for (const QString &statement : statements) {
        QSqlQuery query(db);
        if (!query.prepare(statement) || !query.exec()) {
            qWarning() << "SQL script statement failed:" << statement << query.lastError().text();
            if (error)
                *error = query.lastError();
            return false;
        }
    }
    return true;
}

QString SqlScript::readFile(const QString &fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning() << "Cannot read SQL file" << fileName << file.errorString();
        return QString();
    }
    return QString::fromUtf8(file.readAll());
}
