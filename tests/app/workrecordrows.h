#ifndef WORKRECORDROWS_H
#define WORKRECORDROWS_H

#include "data/recorditem.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVector>
#include <QtDebug>

// Writes screwdriver work records straight into the database file in one transaction; the
// database manager reads them at its next device change.
inline bool insertWorkRecords(const QString &databasePath, const QVector<RecordItem> &records)
{
    static const QStringList columns = { "id", "task", "turns", "torque", "usedTime", "status", "time", "alarm", "description" };
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("workRecordRows"));
        db.setDatabaseName(databasePath);
        if (db.open() && db.transaction()) {
            QSqlQuery query(db);
            ok = query.prepare(QStringLiteral("INSERT INTO workRecords_sdriver (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
                                   .arg(columns.join(QStringLiteral(", "))));
            for (int i = 0; ok && i < records.size(); ++i) {
                for (int c = 0; c < columns.size(); ++c)
                    query.bindValue(c, records.at(i).value(columns.at(c)).toString());
                ok = query.exec();
            }
            if (!ok)
                qWarning() << "insertWorkRecords:" << query.lastError().text();
            ok = ok && db.commit();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("workRecordRows"));
    return ok;
}

inline RecordItem workRecordRow(int id, const QString &task, const QString &status, const QString &time,
                                const QString &alarm = QStringLiteral("0"), const QString &torque = QStringLiteral("1.500"))
{
    return { { "id", QString::number(id) }, { "task", task }, { "turns", "8.5" }, { "torque", torque }, { "usedTime", "1.234" },
             { "status", status }, { "time", time }, { "alarm", alarm }, { "description", "none" } };
}

#endif // WORKRECORDROWS_H
