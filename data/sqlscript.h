#ifndef SQLSCRIPT_H
#define SQLSCRIPT_H

#include <QString>
#include <QStringList>

class QSqlDatabase;
class QSqlError;

// Runs the SQL files kept in the resources: statements end with ';' outside quotes,
// and "--" starts a comment that runs to the end of the line.
class SqlScript
{
public:
    static QStringList split(const QString &script);
    // Stops at the first failing statement; the failure is logged with the statement.
    static bool run(const QSqlDatabase &db, const QString &script, QSqlError *error = nullptr);
    // The text of a UTF-8 file (resource or disk); empty with a warning when it cannot be read.
    static QString readFile(const QString &fileName);
};

#endif // SQLSCRIPT_H
