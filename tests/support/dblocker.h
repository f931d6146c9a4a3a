#ifndef DBLOCKER_H
#define DBLOCKER_H

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

// Holds the database file as another program would: a second connection that opens a
// transaction ("BEGIN EXCLUSIVE", "BEGIN IMMEDIATE") and keeps it until destroyed.
class DbLocker
{
public:
    DbLocker(const QString &path, const char *begin)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        db.setDatabaseName(path);
        m_ok = db.open() && QSqlQuery(db).exec(QLatin1String(begin));
    }
    ~DbLocker()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(QStringLiteral("locker"));
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("locker"));
    }
    bool isOk() const { return m_ok; }

private:
    bool m_ok = false;
};

#endif // DBLOCKER_H
