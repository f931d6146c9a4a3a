#include "support/testdatabase.h"

#include "data/databasemanager.h"

#include <QDebug>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

TestDatabase::TestDatabase()
    : m_path(m_dir.filePath(QStringLiteral("ServoDataBase")))
{
    DatabaseManager::resetInstance();
    DatabaseManager::setDatabasePath(m_path);
}

TestDatabase::~TestDatabase()
{
    DatabaseManager::resetInstance();
}

bool TestDatabase::isValid() const
{
    return m_dir.isValid() && DatabaseManager::instance()->isOpen();
}

bool TestDatabase::execOn(const QString &path, const QString &sql, const QVariantList &values, QList<QVariantList> *rows)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("side"));
        db.setDatabaseName(path);
        QSqlQuery query(db);
        ok = db.open() && query.prepare(sql);
        for (const QVariant &value : values)
            query.addBindValue(value);
        ok = ok && query.exec();
        if (!ok)
            qWarning() << "side statement failed:" << sql << query.lastError().text();
        while (rows && query.next()) {
            QVariantList row;
            for (int i = 0; i < query.record().count(); ++i)
                row << query.value(i);
            *rows << row;
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("side"));
    return ok;
}
