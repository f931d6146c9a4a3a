#include "comm/comsettingsframe.h"
#include "data/databasemanager.h"
#include "data/sqlscript.h"
#include "support/dblocker.h"
#include "support/filesizelimit.h"
#include "support/testdatabase.h"
#include "support/unprivileged.h"
#include "support/warninglog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <memory>

namespace {
const QRegularExpression kSqlFailure(QStringLiteral("SQL statement failed"));
const QRegularExpression kTimePattern(QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}$"));

RecordItem account(const QString &name, const QString &password, const QString &device = "0", const QString &permission = "20,21")
{ return { { "account", name }, { "password", password }, { "device", device }, { "permission", permission } }; }
RecordItem workRecord(const QString &task)
{ return { { "task", task }, { "turns", "3.25" }, { "torque", "1.50" }, { "usedTime", "0.8" }, { "status", "OK" }, { "alarm", "0" } }; }

QString ids(const RecordList &list)
{
    QStringList shown;
    for (int i = 0; i < list.size(); ++i)
        shown << list.field(i, 0).toString();
    return shown.join(',');
}
} // namespace

class TestDatabaseManager : public QObject
{
    Q_OBJECT

    DatabaseManager *reopen() { return DatabaseManager::resetInstance(), DatabaseManager::setDatabasePath(m_path), DatabaseManager::instance(); }
    // One statement on a second connection to the same file; the first value it returned.
    QVariant side(const QString &sql) { return sideRows(sql).value(0).value(0); }
    QList<QVariantList> sideRows(const QString &sql) { QList<QVariantList> rows; return TestDatabase::execOn(m_path, sql, {}, &rows), rows; }
    int rowCount(const QString &table) { return side(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt(); }
    QString tableIds(const QString &table) { return side(QStringLiteral("SELECT group_concat(id) FROM (SELECT id FROM %1 ORDER BY rowid)").arg(table)).toString(); }
    // Rows written in one statement, as a file from elsewhere would hold them.
    bool fillRows(const QString &table, int count)
    {
        DatabaseManager::resetInstance();
        return TestDatabase::execOn(m_path, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < %1) "
                                                           "INSERT INTO %2 SELECT %3 FROM n").arg(count).arg(table,
            table == QLatin1String("alarm_records") ? "i, '1', 't'" : "i, 'Task0', '1', '1.000', '1', 'OK', 't', '0', 'none'"));
    }
    QTemporaryDir m_dir;
    QString m_path;
    int m_fileNumber = 0;

private slots:
    void cleanup() { DatabaseManager::resetInstance(); }
    void init()   // a fresh file per test, in a folder that does not exist yet
    {
        m_path = m_dir.filePath(QStringLiteral("run%1/Storage/ServoDataBase").arg(++m_fileNumber));
        QVERIFY(reopen()->isOpen());
    }
    void upgradeKeepsUserRows()
    {
        DatabaseManager *db = DatabaseManager::instance();
        RecordItem user = account("op", "1234");
        QVERIFY(db->saveAccountInfo(user) && db->addAlarmRecord(7));
        db->onDeviceChanged(SdriverDevice);
        QVERIFY(db->addWorkRecord(workRecord("Task1")));
        QVERIFY(db->saveKeyValue("Sdriver_LockTotalCount", "12") && db->saveConfig("devcom_configs", "DeviceAddr", "5"));
        QVERIFY(db->updateServoDebug({ 2, 0, -100, 100, 50, 60, 70, 80, 1, 90 }));
        const int version = side("PRAGMA user_version").toInt(), params = db->servoParams().size();
        // Unchanged definitions are not rewritten: a row removed behind the program's back stays away.
        DatabaseManager::resetInstance();
        side("DELETE FROM servo_params WHERE id = 1");
        QCOMPARE(reopen()->servoParams().size(), params - 1);
        // A different version brings the definitions back and leaves the user's rows alone.
        DatabaseManager::resetInstance();
        side("PRAGMA user_version = 1");
        (db = reopen())->onDeviceChanged(SdriverDevice);
        QVERIFY(version > 1 && side("PRAGMA user_version").toInt() == version && db->servoParams().size() == params);
        QCOMPARE(QStringList({ db->findAccount("op").value("password").toString(), ids(db->alarmRecords()),
                               db->alarmRecords().first().value("number").toString(), ids(db->workRecords()),
                               db->workRecords().first().value("task").toString(),
                               db->takeKeyValue("Sdriver_LockTotalCount", "0"), db->takeConfig("devcom_configs", "DeviceAddr", "1"),
                               db->servoDebugRows().at(2).value("torqueout").toString() }),
                 QStringList({ "1234", "0", "7", "0", "Task1", "12", "5", "90" }));
    }
    // Texts go in as bound values; the list changes only when the statement succeeded.
    void accounts()
    {
        DatabaseManager *db = DatabaseManager::instance();
        RecordItem quoted = account("O'Neil", "pa'ss\"; DROP TABLE account_infos; --", "0,3", "10,'20'"), second = account("second", "x");
        QVERIFY(db->saveAccountInfo(quoted) && db->saveAccountInfo(second));
        QVERIFY(db->findAccount("O'Neil") == quoted && db->findAccount("o'neil").isEmpty() && db->findAccount("nobody").isEmpty());
        RecordItem changed = account("O'Neil", "new'pw", "1", "12");
        QVERIFY(db->saveAccountInfo(changed));   // same name: an update in place
        QCOMPARE(db->accountList(), (QList<RecordItem> { changed, second }));
        QCOMPARE(rowCount("account_infos"), 2);
        QCOMPARE(reopen()->accountList(), (QList<RecordItem> { changed, second }));
        db = DatabaseManager::instance();
        QVERIFY(!db->deleteAccountInfo("nobody") && db->deleteAccountInfo("O'Neil") && !db->deleteAccountInfo("O'Neil"));
        // No devices or permissions ticked: null texts, stored as empty ones.
        RecordItem bare = account("bare", QString(), QString(), QString());
        QVERIFY(db->saveAccountInfo(bare));
        QCOMPARE((db = reopen())->accountList(), (QList<RecordItem> { second, bare }));
        side("DROP TABLE account_infos");
        RecordItem bob = account("bob", "b"), newSecond = account("second", "new");
        for (int i = 0; i < 3; ++i)
            QTest::ignoreMessage(QtWarningMsg, kSqlFailure);
        QVERIFY(!db->saveAccountInfo(bob) && !db->saveAccountInfo(newSecond) && !db->deleteAccountInfo("second"));
        QCOMPARE(db->accountList(), (QList<RecordItem> { second, bare }));
    }
    // A file written elsewhere may hold one name twice: each entry is changed and deleted in its own
    // row, and a row that no longer holds the account is not written over.
    void sameNameAccountsByRow()
    {
        DatabaseManager::resetInstance();
        QVERIFY(TestDatabase::execOn(m_path, "INSERT INTO account_infos VALUES ('dup', 'first', '0', ''), ('dup', 'second', '0', '')"));
        DatabaseManager *db = reopen();
        auto stored = [&] { return side("SELECT group_concat(account || ':' || password) FROM (SELECT * FROM account_infos ORDER BY rowid)").toString(); };
        RecordItem changed = account("dup", "new", "1", "2");
        QVERIFY(db->saveAccountAt(1, changed));
        QCOMPARE(stored(), QStringLiteral("dup:first,dup:new"));
        QVERIFY(db->deleteAccountInfo("dup"));   // the first of that name, alone
        QCOMPARE(stored(), QStringLiteral("dup:new"));
        QCOMPARE(db->accountList(), QList<RecordItem>({ changed }));
        side("UPDATE account_infos SET account = 'other'");
        RecordItem again = account("dup", "again");
        QVERIFY(!db->saveAccountAt(0, again) && !db->saveAccountAt(1, again));
        QCOMPARE(stored() + ' ' + db->accountList().first().value("password").toString(), QStringLiteral("other:new new"));
        // Nor is it reported deleted: the entry stays, as the file is left as it was.
        QVERIFY(!db->deleteAccountAt(0) && !db->deleteAccountInfo("dup"));
        QCOMPARE(stored() + ' ' + QString::number(db->accountList().size()), QStringLiteral("other:new 1"));
    }
    void trimming_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("cap");
        QTest::addColumn<bool>("firstStepFails");
        QTest::newRow("alarms: 10000 rows over a cap of 500, in steps") << "alarm_records" << 10000 << 500 << false;
        QTest::newRow("work records: cap + 5") << "workRecords_sdriver" << 25 << 20 << false;
        QTest::newRow("a failed step leaves its rows for the next") << "workRecords_sdriver" << 3000 << 20 << true;
    }
    // A table over the cap loses its oldest rows from the next add on, in steps from a timer; once
    // list and table agree, each add trims in its own statement. A failed trim leaves both agreeing.
    void trimming()
    {
        QFETCH(QString, table);
        QFETCH(int, stored);
        QFETCH(int, cap);
        QFETCH(bool, firstStepFails);
        QVERIFY(fillRows(table, stored));
        DatabaseManager *db = reopen();
        const bool alarms = table == QLatin1String("alarm_records");
        db->setWorkRecordLimit(cap), db->onDeviceChanged(SdriverDevice);
        const RecordList &list = alarms ? db->alarmRecords() : db->workRecords();
        QCOMPARE(list.size(), cap);   // only what is kept is loaded
        auto add = [&] { return alarms ? db->addAlarmRecord(5) : db->addWorkRecord(workRecord("Task1")); };
        const QString keep = QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON %1 BEGIN SELECT RAISE(ABORT, 'kept'); END").arg(table);
        if (firstStepFails)
            QVERIFY(TestDatabase::execOn(m_path, keep));
        QVERIFY(add());
        QCOMPARE(list.size(), cap);
        QCOMPARE(list.field(0, 0) + ' ' + list.field(cap - 1, 0), QStringLiteral("%1 %2").arg(stored - cap + 1).arg(stored));
        QVERIFY(side(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND tbl_name = '%1'").arg(table)).toInt() > 0);
        if (firstStepFails) {
            QTest::ignoreMessage(QtWarningMsg, kSqlFailure);
            QTest::qWait(100);
            QVERIFY(db->isTrimming() && tableIds(table).endsWith(',' + ids(list)));
            QVERIFY(TestDatabase::execOn(m_path, QStringLiteral("DROP TRIGGER keep")));
        }
        QTRY_VERIFY_WITH_TIMEOUT(!db->isTrimming(), 10000);
        QCOMPARE(tableIds(table), ids(list));
        QVERIFY(add());
        QCOMPARE(QString::number(list.size()) + ':' + tableIds(table), QString::number(cap) + ':' + ids(list));
        QVERIFY(TestDatabase::execOn(m_path, keep));
        QTest::ignoreMessage(QtWarningMsg, kSqlFailure);
        QVERIFY(add());
        QCOMPARE(QString::number(list.size()) + ':' + tableIds(table), QString::number(cap + 1) + ':' + ids(list));
    }
    void textIdsCountAsNumbers_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("after");   // count, smallest and largest id in the file after one add
        QTest::addColumn<QString>("held");    // how another program holds the file from before the start
        QTest::newRow("alarms '0' to '11': the next id is 12") << "alarm_records" << 12 << "13 0 12" << "";
        QTest::newRow("alarms: a trim keeps exactly the newest 500") << "alarm_records" << 505 << "500 6 505" << "";
        QTest::newRow("work records '0' to '11'") << "workRecords_sdriver" << 12 << "13 0 12" << "";
        // Let go before the first retry: the device change reads the records before the columns are known.
        QTest::newRow("work records, held from before the start") << "workRecords_sdriver" << 12 << "13 0 12" << "BEGIN EXCLUSIVE";
        // A column to add cannot be added while held: the ids are read all the same.
        QTest::newRow("alarms, held for writing, a column to add") << "alarm_records" << 12 << "13 0 12" << "BEGIN IMMEDIATE";
    }
    // An older file whose record table declares its ids as text.
    void textIdsCountAsNumbers()
    {
        QFETCH(QString, table);
        QFETCH(int, stored);
        QFETCH(QString, after);
        QFETCH(QString, held);
        DatabaseManager::resetInstance();
        const bool alarms = table == QLatin1String("alarm_records");
        const QString columns = alarms ? "id TEXT, number TEXT, time TEXT"
                                       : "id TEXT, task TEXT, turns TEXT, torque TEXT, usedTime TEXT, status TEXT, time TEXT, alarm TEXT, description TEXT";
        QVERIFY(TestDatabase::execOn(m_path, QStringLiteral("DROP TABLE %1").arg(table)));
        QVERIFY(TestDatabase::execOn(m_path, QStringLiteral("CREATE TABLE %1 (%2)").arg(table, columns)));
        QVERIFY(fillRows(table, stored));
        QCOMPARE(side(QStringLiteral("SELECT typeof(id) FROM %1").arg(table)).toString(), QStringLiteral("text"));
        if (held == QLatin1String("BEGIN IMMEDIATE")) {
            QVERIFY(TestDatabase::execOn(m_path, "DROP TABLE account_infos"));
            QVERIFY(TestDatabase::execOn(m_path, "CREATE TABLE account_infos (account TEXT NOT NULL, password TEXT NOT NULL, device TEXT NOT NULL)"));
        }
        std::unique_ptr<DbLocker> locker(held.isEmpty() ? nullptr : new DbLocker(m_path, held.toLatin1().constData()));
        QVERIFY(!locker || locker->isOk());
        DatabaseManager *db = reopen();
        QCOMPARE(db->startupProblem().isEmpty(), held.isEmpty());
        if (held == QLatin1String("BEGIN EXCLUSIVE"))
            locker.reset();
        db->onDeviceChanged(SdriverDevice);
        QVERIFY(alarms ? db->addAlarmRecord(3) : db->addWorkRecord(workRecord("Task1")));
        locker.reset();
        db->retryStorage();
        QCOMPARE(db->pendingRecords(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(!db->isTrimming(), 10000);
        const QString id = QStringLiteral("CAST(id AS INTEGER)");
        QCOMPARE(side(QStringLiteral("SELECT count(DISTINCT id) || ' ' || min(%1) || ' ' || max(%1) FROM %2").arg(id, table)).toString(), after);
        const RecordList &list = alarms ? db->alarmRecords() : db->workRecords();
        QCOMPARE(list.last().value("id").toString(), after.section(' ', 2));
        QCOMPARE(QString::number(list.size()), after.section(' ', 0, 0));
    }
    // Whatever a field holds comes back as stored, also when the fast load cannot take the row apart.
    void recordTextsLoadAsStored()
    {
        const QString task = QStringLiteral("a\x1f" "b \U0001F600");   // the separator of the fast load, outside the basic plane
        const QString huge(70000, QLatin1Char('x'));   // past a packed row's 16-bit offsets: cut, the fields after it kept
        DatabaseManager::resetInstance();
        QVERIFY(TestDatabase::execOn(m_path, QStringLiteral("INSERT INTO workRecords_sdriver VALUES (7, 'Task0', '1', '1.000', '1', 'OK', 't', '0', 'none'), "
                                                            "(8, ?, NULL, '2', '3', 'Slip', 't', '10', 'none'), (9, ?, '4', '5', '6', 'OK', 't', '11', 'none')"), { task, huge }));
        DatabaseManager *db = reopen();
        db->onDeviceChanged(SdriverDevice);
        const RecordItem row = db->workRecords().at(1), cut = db->workRecords().last();
        QCOMPARE(QStringList({ ids(db->workRecords()), row.value("task").toString(), row.value("turns").toString(), row.value("alarm").toString(),
                               cut.value("turns").toString(), cut.value("alarm").toString(), cut.value("description").toString() }),
                 QStringList({ "7,8,9", task, QString(), "10", "4", "11", "none" }));
        QVERIFY(cut.value("task").toString().size() < huge.size() && cut.value("task").toString().startsWith("xxx"));
    }
    // A file made by an older program: the missing columns and indexes are added, every row kept.
    void upgradeAddsColumnsAndIndex()
    {
        DatabaseManager::resetInstance();
        QVERIFY(QFile::remove(m_path));
        for (const char *sql : { "CREATE TABLE account_infos (account TEXT NOT NULL, password TEXT NOT NULL, device TEXT NOT NULL)",
                                 "INSERT INTO account_infos VALUES ('op', 'pw', '0')",
                                 "CREATE TABLE workRecords_sdriver (id INTEGER, task TEXT, turns TEXT, torque TEXT, "
                                 "usedTime TEXT, status TEXT, time TEXT, alarm TEXT)",
                                 "INSERT INTO workRecords_sdriver VALUES (4, 'Task2', '1', '1.000', '1', 'OK', 't', '0')" })
            QVERIFY(TestDatabase::execOn(m_path, QLatin1String(sql)));
        DatabaseManager *db = reopen();
        QVERIFY(db->isOpen() && db->startupProblem().isEmpty());
        QCOMPARE(db->findAccount("op").value("permission").toString(), QString());
        RecordItem op = account("op", db->findAccount("op").value("password").toString(), "0", "20");
        QVERIFY(op.value("password") == "pw" && db->saveAccountInfo(op));
        db->onDeviceChanged(SdriverDevice);
        QCOMPARE(db->workRecords().size(), 1);
        QVERIFY(db->workRecords().first().value("description") == "none" && db->addWorkRecord(workRecord("Task3")) && db->pendingWorkRecords() == 0);
        QCOMPARE(tableIds("workRecords_sdriver") + side("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name LIKE '%_id'").toString()
                     + reopen()->findAccount("op").value("permission").toString(), QStringLiteral("4,5220"));
    }
    // Another program holds the file: the start says so at once, no setting is saved over with a
    // default, and every record that arrives meanwhile is stored, with a fresh id, once it lets go.
    void lockedDatabase()
    {
        DatabaseManager *db = DatabaseManager::instance();
        QVERIFY(db->saveConfig("devcom_configs", "DeviceAddr", "5") && db->saveKeyValue("Sdriver_LockFinishCount", "9"));
        for (int i = 0; i < 3; ++i)
            QVERIFY(db->addAlarmRecord(i));
        db->onDeviceChanged(SdriverDevice);
        QVERIFY(db->addWorkRecord(workRecord("Task0")));
        DatabaseManager::resetInstance();
        {
            DbLocker locker(m_path, "BEGIN EXCLUSIVE");
            QVERIFY(locker.isOk());
            QElapsedTimer clock;
            clock.start(), db = reopen();
            QVERIFY2(clock.elapsed() < 5000, "the start waits out the lock");
            QVERIFY(db->startupProblem().contains(QDir::toNativeSeparators(m_path)) && db->startupProblem().contains("another program is using it"));
            QCOMPARE(db->takeConfig("devcom_configs", "DeviceAddr", "1"), QStringLiteral("1"));
            QVERIFY(!db->saveConfig("devcom_configs", "DeviceAddr", "1") && !db->saveKeyValue("Sdriver_LockFinishCount", "1"));
            db->onDeviceChanged(SdriverDevice);
            QVERIFY(db->addAlarmRecord(7) && db->addWorkRecord(workRecord("Task4")) && db->alarmRecords().last().value("number") == "7");
            QVERIFY(db->pendingAlarmRecords() == 1 && db->pendingWorkRecords() == 1);
            db->retryStorage();
            QCOMPARE(db->pendingAlarmRecords() + db->pendingWorkRecords(), 2);
        }
        QSignalSpy changed(db, &DatabaseManager::storageChanged);
        db->retryStorage();
        QVERIFY(db->pendingAlarmRecords() + db->pendingWorkRecords() == 0 && changed.count() > 0);
        QCOMPARE(QStringList({ side("SELECT group_concat(id || ':' || number) FROM (SELECT * FROM alarm_records ORDER BY rowid)").toString(),
                               db->alarmRecords().last().value("id").toString(), side("SELECT group_concat(id || task) FROM workRecords_sdriver").toString(),
                               db->takeKeyValue("Sdriver_LockFinishCount", "0") + db->takeConfig("devcom_configs", "DeviceAddr", "1") }),
                 QStringList({ "0:0,1:1,2:2,3:7", "3", "0Task0,1Task4", "95" }));
        QCOMPARE(side("SELECT value FROM devcom_configs WHERE key = 'DeviceAddr'").toString(), QStringLiteral("5"));
        QVERIFY(db->saveConfig("devcom_configs", "DeviceAddr", "6"));
        // Held for writing while the program runs: the record is shown at once and stored later.
        {
            DbLocker locker(m_path, "BEGIN IMMEDIATE");
            QVERIFY(locker.isOk() && db->addAlarmRecord(8) && db->pendingAlarmRecords() == 1 && db->alarmRecords().size() == 5);
        }
        db->retryStorage();
        QCOMPARE(db->pendingAlarmRecords(), 0);
        QCOMPARE(side("SELECT max(id) || '/' || count(*) FROM alarm_records").toString(), QStringLiteral("4/5"));
    }
    // Held by another program from before the start: a retry, and a device change, wait for the file
    // once rather than once per statement, so each holds the window for one busy time-out at most.
    void heldFileWaitedForOnceAtATime()
    {
        DatabaseManager::resetInstance();
        DatabaseManager *db = nullptr;
        std::unique_ptr<QSignalSpy> changed;
        {
            DbLocker locker(m_path, "BEGIN EXCLUSIVE");
            QVERIFY(locker.isOk());
            db = reopen();
            QVERIFY(!db->startupProblem().isEmpty());
            changed.reset(new QSignalSpy(db, &DatabaseManager::devChangedSignal));
            WarningLog log;
            db->onDeviceChanged(SdriverDevice);
            QStringList waits { QString::number(log.lines().size()) };
            log.clear();
            db->retryStorage();
            waits << QString::number(log.lines().size());
            QCOMPARE(waits, QStringList({ "1", "1" }));
            QVERIFY(log.last().contains(QLatin1String("SQL statement failed")));
            QVERIFY(db->servoParams().isEmpty() && db->appParams().isEmpty());
        }
        // Once free, the lists of the type chosen meanwhile are read and announced.
        db->retryStorage();
        QVERIFY(!db->servoParams().isEmpty() && !db->appParams().isEmpty());
        QVERIFY(changed->count() == 2 && changed->last().first().value<DeviceEnum>() == SdriverDevice);
    }
    // Held from before the start while records keep coming faster than the retries: the retries
    // still run, so what waits is stored within a retry of the file being let go.
    void waitingRecordsStoredWhileRecordsKeepComing()
    {
        DatabaseManager::resetInstance();
        std::unique_ptr<DbLocker> locker(new DbLocker(m_path, "BEGIN EXCLUSIVE"));
        QVERIFY(locker->isOk());
        DatabaseManager *db = reopen();
        QVERIFY(!db->startupProblem().isEmpty());
        QTimer line;
        line.setInterval(300);
        connect(&line, &QTimer::timeout, db, [db] { db->addAlarmRecord(5); });
        line.start();
        QTRY_VERIFY_WITH_TIMEOUT(db->pendingRecords() >= 3, 10000);
        locker.reset();
        // One retry interval after the release, with a generous margin; the line does not pause.
        QTRY_VERIFY_WITH_TIMEOUT(db->pendingRecords() == 0, 6000);
        line.stop();
        QCOMPARE(side("SELECT count(*) || ' ' || count(DISTINCT id) FROM alarm_records").toString(),
                 QStringLiteral("%1 %1").arg(db->alarmRecords().size()));
    }
    // Counters changed while the file is held wait like records, and what the close question
    // counts includes them: as one change when no record waits, else with the records they came with.
    void waitingCountersCounted()
    {
        DatabaseManager *db = DatabaseManager::instance();
        db->onDeviceChanged(SdriverDevice);
        QVERIFY(db->saveKeyValue("Sdriver_LockFinishCount", "9"));
        std::unique_ptr<DbLocker> locker(new DbLocker(m_path, "BEGIN IMMEDIATE"));
        QVERIFY(locker->isOk());
        {
            const DatabaseManager::Batch clear(db);
            for (const char *key : { "Sdriver_LockSuccessCount", "Sdriver_LockFailureCount", "Sdriver_LockFinishCount" })
                QVERIFY(db->saveKeyValue(key, "0"));
        }
        QCOMPARE(db->pendingRecords(), 1);
        {
            const DatabaseManager::Batch tightening(db);
            QVERIFY(db->addWorkRecord(workRecord("Task1")) && db->addToKeyValue("Sdriver_LockFinishCount", 1));
        }
        QCOMPARE(db->pendingRecords(), 1);
        locker.reset();
        db->retryStorage();
        QCOMPARE(db->pendingRecords(), 0);
        QCOMPARE(side("SELECT group_concat(value) FROM (SELECT value FROM keyvalue_table ORDER BY key)").toString(), QStringLiteral("0,1,0"));
    }
    // A write refused at the start, as on a full disk, is told as such, not as the failed rollback
    // that follows it. (A file size limit makes SQLite see an I/O error where a full disk gives
    // SQLITE_FULL.)
    void diskFullAtStart()
    {
        DatabaseManager::resetInstance();
        DatabaseManager *db = nullptr;
        {
            FileSizeLimit full(4096);
            db = reopen();
        }
        const QString problem = db->startupProblem();
        QVERIFY2(problem.contains(QLatin1String(": it cannot be opened or read.")) && !problem.contains(QLatin1String("rollback")),
                 qPrintable(problem));
        QVERIFY(db->addAlarmRecord(4) && db->pendingRecords() == 0);
    }
    // Held by another program after the start: once it is found held, no statement of the window's
    // thread waits for the file (the connection's busy time-out is 0) until a retry finds it free;
    // the lists of a device change made meanwhile are read then.
    void heldAfterStartNotWaitedFor()
    {
        DatabaseManager *db = DatabaseManager::instance();
        db->onDeviceChanged(SdriverDevice);
        auto busyTimeout = [] {
            QSqlQuery query(QSqlDatabase::database(QStringLiteral("DatabaseManager")));
            return query.exec(QStringLiteral("PRAGMA busy_timeout")) && query.next() ? query.value(0).toInt() : -1;
        };
        QCOMPARE(busyTimeout(), 150);
        QSignalSpy changed(db, &DatabaseManager::devChangedSignal);
        {
            DbLocker locker(m_path, "BEGIN EXCLUSIVE");
            QVERIFY(locker.isOk());
            db->onDeviceChanged(SdriverDevice);
            QVERIFY(db->addWorkRecord(workRecord("Task1")) && db->pendingRecords() == 1);
            db->retryStorage();
            QCOMPARE(QStringList({ QString::number(busyTimeout()), QString::number(db->servoParams().size()),
                                   QString::number(db->appParams().size()) }), QStringList({ "0", "0", "0" }));
        }
        db->retryStorage();
        QCOMPARE(busyTimeout(), 150);
        QVERIFY(!db->servoParams().isEmpty() && !db->appParams().isEmpty() && db->pendingRecords() == 0);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(rowCount("workRecords_sdriver"), 1);
    }
    void lostFileNoticed_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QString>("alarms");   // the file's alarms afterwards, id:number
        QTest::newRow("read-only from before the start") << "read-only" << "0:1,1:2";
        QTest::newRow("deleted while running: made again whole") << "deleted" << "0:2";
        QTest::newRow("replaced while running: ids follow the new file's") << "replaced" << "0:7,1:7,2:7,3:2";
    }
    // A file that cannot be written, or is no longer the one opened, is noticed; what waits is
    // stored once the file at the path takes it.
    void lostFileNoticed()
    {
        QFETCH(QString, how);
        QFETCH(QString, alarms);
        DatabaseManager *db = DatabaseManager::instance();
        QVERIFY(db->addAlarmRecord(1) && db->saveKeyValue("Sdriver_LockFinishCount", "4"));
        QTest::ignoreMessage(QtWarningMsg, kSqlFailure);
        if (how == QLatin1String("read-only")) {
            DatabaseManager::resetInstance();
            for (const QString &dir : { m_dir.path(), QFileInfo(m_path).absolutePath() + "/..", QFileInfo(m_path).absolutePath() })
                QVERIFY(QFile::setPermissions(dir, QFile::Permissions(0x7755)));
            QVERIFY(QFile::setPermissions(m_path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
            {
                Unprivileged user;
                db = reopen();
            }
            QVERIFY(db->startupProblem().contains(QLatin1String("it is read-only")));
            QVERIFY(QFile::setPermissions(m_path, QFile::Permissions(0x6644)));
        } else if (how == QLatin1String("deleted")) {
            QVERIFY(QFile::remove(m_path));
        } else {
            const QString other = m_path + QStringLiteral(".other");
            QVERIFY(QFile::copy(m_path, other));
            QVERIFY(TestDatabase::execOn(other, "DELETE FROM alarm_records") && TestDatabase::execOn(other, "INSERT INTO alarm_records VALUES (0, '7', 't'), (1, '7', 't'), (2, '7', 't')"));
            QCOMPARE(std::rename(QFile::encodeName(other).constData(), QFile::encodeName(m_path).constData()), 0);
        }
        QVERIFY(db->addAlarmRecord(2));
        QCOMPARE(db->pendingAlarmRecords(), 1);
        const bool replaced = how == QLatin1String("replaced");
        if (replaced)
            db->onDeviceChanged(SdriverDevice);
        QSignalSpy changed(db, &DatabaseManager::storageChanged);
        QSignalSpy reloaded(db, &DatabaseManager::listsReloaded);
        QSignalSpy rebuilt(db, &DatabaseManager::devChangedSignal);
        db->retryStorage();
        QVERIFY(db->pendingAlarmRecords() == 0 && changed.count() > 0);
        // The lists follow the new file; the pages keep what the user typed into them.
        if (replaced)
            QCOMPARE(QString("%1 %2").arg(reloaded.count()).arg(rebuilt.count()), QStringLiteral("1 0"));
        QCOMPARE(side("SELECT group_concat(id || ':' || number) FROM (SELECT * FROM alarm_records ORDER BY rowid)").toString(), alarms);
        QCOMPARE(ids(db->alarmRecords()), side("SELECT group_concat(id) FROM (SELECT * FROM alarm_records ORDER BY rowid)").toString());
        // A key value stored before goes into the file as it is now, made again or not.
        QVERIFY(db->saveKeyValue("Sdriver_LockFinishCount", "5"));
        QCOMPARE(side("SELECT value FROM keyvalue_table WHERE key = 'Sdriver_LockFinishCount'").toString(), QStringLiteral("5"));
    }
    void actionRightAfterDeviceChange_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("ids");   // first, last and count of the list afterwards
        QTest::addColumn<int>("tableRows");   // at the end
        QTest::newRow("read") << "read" << "0 19999 20000" << 20000;
        QTest::newRow("another device change") << "change" << "0 19999 20000" << 20000;
        QTest::newRow("add: the next id follows the stored ones") << "add" << "0 20000 20001" << 20001;
        QTest::newRow("clear: the read does not bring the rows back") << "clear" << "  0" << 0;
        QTest::newRow("a write elsewhere waits for the read, which shows all") << "save" << "0 19999 20000" << 20000;
        QTest::newRow("the file is locked: the new record waits with a provisional id") << "locked" << "0 0 1" << 20001;
        QTest::newRow("the file is locked: read again once free, unasked") << "locked, unasked" << "0 19999 20000" << 20000;
    }
    // A device change reads the work records on another connection; whatever comes next sees the
    // list as if it had been read before the change returned, and no write fails on the read's lock.
    void actionRightAfterDeviceChange()
    {
        QFETCH(QString, action);
        QFETCH(QString, ids);
        QFETCH(int, tableRows);
        QVERIFY(fillRows(QStringLiteral("workRecords_sdriver"), 20000));
        DatabaseManager *db = reopen();
        QSignalSpy changed(db, &DatabaseManager::devChangedSignal);
        std::unique_ptr<DbLocker> locker;
        if (action.startsWith(QLatin1String("locked")))   // held before the read starts: the read fails
            QVERIFY((locker.reset(new DbLocker(m_path, "BEGIN EXCLUSIVE")), locker->isOk()));
        db->onDeviceChanged(SdriverDevice);
        if (action == QLatin1String("add")) {
            QVERIFY(db->addWorkRecord(workRecord("Task2")));
        } else if (action == QLatin1String("clear")) {
            QVERIFY(db->clearTable());
            db->onDeviceChanged(HighVoltServo);
            QVERIFY(db->workRecords().isEmpty());
            db->onDeviceChanged(SdriverDevice);
        } else if (action == QLatin1String("change")) {
            db->onDeviceChanged(HighVoltServo);
            QVERIFY(db->workRecords().isEmpty());
            db->onDeviceChanged(SdriverDevice);
        } else if (action == QLatin1String("save")) {
            QVERIFY(db->saveKeyValue("Sdriver_LockTotalCount", "3") && db->saveConfig("devcom_configs", "DeviceAddr", "4"));
        } else if (action == QLatin1String("locked")) {
            QTest::ignoreMessage(QtWarningMsg, kSqlFailure);
            QVERIFY(db->addWorkRecord(workRecord("Task2")) && db->pendingWorkRecords() == 1);
        } else if (action == QLatin1String("locked, unasked")) {
            // The failed read is taken in and retried with nothing asking for the list.
            WarningLog log;
            QTRY_VERIFY_WITH_TIMEOUT(log.lines().filter(QStringLiteral("workRecords_sdriver ORDER BY rowid DESC")).size() == 1, 10000);
            locker.reset();
            QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 2, 10000);
        }
        const RecordList &list = db->workRecords();
        auto span = [&] { return QStringLiteral("%1 %2 %3").arg(list.row(0).field(0), list.row(list.size() - 1).field(0)).arg(list.size()); };
        QCOMPARE(span(), ids);
        if (action == QLatin1String("locked")) {
            // Once the file lets go, the records are read and the one that waited is stored.
            locker.reset(), changed.clear(), db->retryStorage();
            QCOMPARE(span() + list.last().value("task").toString() + QString::number(db->pendingWorkRecords() + changed.count()),
                     QStringLiteral("0 20000 20001Task21"));
        }
        QCOMPARE(side("SELECT count(*) || ' ' || count(DISTINCT id) FROM workRecords_sdriver").toString(), QStringLiteral("%1 %1").arg(tableRows));
    }
    // The record lists walk as lists of RecordItem, oldest first.
    void recordListsWalkOldestFirst()
    {
        DatabaseManager *db = DatabaseManager::instance();
        db->onDeviceChanged(SdriverDevice);
        for (int i = 0; i < 3; ++i)
            QVERIFY(db->addAlarmRecord(10 + i) && db->addWorkRecord(workRecord(QStringLiteral("Task%1").arg(i))));
        QStringList seen;
        for (const RecordItem &r : DatabaseManager::instance()->workRecords())
            seen << r.value("id").toString() + r.value("task").toString();
        for (const RecordItem &r : DatabaseManager::instance()->alarmRecords())
            seen << r.value("number").toString();
        QCOMPARE(seen, QStringList({ "0Task0", "1Task1", "2Task2", "10", "11", "12" }));
    }
    void newFileHasTablesAndDefinitions()
    {
        DatabaseManager *db = DatabaseManager::instance();
        QVERIFY(side(QStringLiteral("PRAGMA user_version")).toInt() != 0);
        QCOMPARE(db->currentDevice(), NoDevice);
        QCOMPARE(db->servoParams().size(), rowCount("servo_params"));
        QVERIFY(db->appParams().isEmpty() && db->workRecords().isEmpty() && db->accountList().isEmpty());
        QCOMPARE(db->servoStatusList().size(), 8);
        QCOMPARE(db->servoDebugRows().size(), 8);
        QVERIFY(db->alarmDetails().size() >= 10);
        // Columns arrive by name and as text.
        const RecordItem first = db->servoParams().first();
        for (const char *key : { "id", "func_code", "address", "name", "group", "default_val", "range", "unit",
                                 "description", "property", "related_mode", "format" })
            QVERIFY2(first.contains(QLatin1String(key)), key);
        QCOMPARE(first.value("id").type(), QVariant::String);
        QCOMPARE(first.value("func_code").toString(), QStringLiteral("Pn000"));
    }
    void definitionRowsAreConsistent_data()
    {
        QTest::addColumn<QString>("table");
        for (const char *table : { "servo_params", "servo_params2", "servo_params3", "servo_params4" })
            QTest::newRow(table) << table;
    }
    // What the parameter page relies on: id is the 1-based position, Pn numbers rise, and a
    // 32-bit parameter's second register is not another parameter.
    void definitionRowsAreConsistent()
    {
        QFETCH(QString, table);
        const QList<QVariantList> rows = sideRows(QStringLiteral("SELECT id, func_code, format, range FROM %1 ORDER BY rowid").arg(table));
        QVERIFY(rows.size() >= 12);
        int lastPn = -1, reservedPn = -1;
        for (int i = 0; i < rows.size(); ++i) {
            const QString code = rows.at(i).at(1).toString();
            QCOMPARE(rows.at(i).at(0).toInt(), i + 1);
            const int pn = code.mid(2).toInt();
            QVERIFY2(pn > lastPn && pn != reservedPn, qPrintable(code));
            lastPn = pn;
            reservedPn = rows.at(i).at(2).toString().startsWith(QLatin1String("int32")) ? pn + 1 : -1;
            const QString range = rows.at(i).at(3).toString();
            QVERIFY2(range.isEmpty() || range.split('~').size() == 2, qPrintable(code));
        }
    }
    void alarmRecordCap()
    {
        DatabaseManager *db = DatabaseManager::instance();
        QVERIFY(db->addAlarmRecord(42));
        const RecordItem first = db->alarmRecords().first();
        QCOMPARE(first.value("id").toString() + ' ' + first.value("number").toString(), QStringLiteral("0 42"));
        QVERIFY(kTimePattern.match(first.value("time").toString()).hasMatch());
        for (int i = 1; i < 500; ++i)
            QVERIFY(db->addAlarmRecord(i));
        QVERIFY(db->alarmRecords().size() == 500 && rowCount("alarm_records") == 500);
        QVERIFY(db->addAlarmRecord(501));
        QCOMPARE(db->alarmRecords().size(), 500);
        QCOMPARE(db->alarmRecords().first().value("id").toString() + ' ' + db->alarmRecords().last().value("id").toString(),
                 QStringLiteral("1 500"));
        QVERIFY(rowCount("alarm_records") == 500 && side("SELECT MIN(id) FROM alarm_records").toInt() == 1);
        // Ids go on from the newest record after a restart.
        db = reopen();
        QVERIFY(db->addAlarmRecord(3));
        QCOMPARE(db->alarmRecords().first().value("id").toString() + ' ' + db->alarmRecords().last().value("id").toString(),
                 QStringLiteral("2 501"));
        QVERIFY(db->clearAlarmRecords() && db->alarmRecords().isEmpty() && rowCount("alarm_records") == 0);
    }
    void workRecords()
    {
        DatabaseManager *db = DatabaseManager::instance();
        QVERIFY(!db->addWorkRecord(workRecord("Task0")) && !db->clearTable());
        QCOMPARE(rowCount("workRecords_sdriver"), 0);
        db->onDeviceChanged(SdriverDevice);
        QVERIFY(!db->addWorkRecord(RecordItem()));
        db->setWorkRecordLimit(5);
        for (int i = 0; i < 7; ++i)
            QVERIFY(db->addWorkRecord(workRecord(QStringLiteral("Task%1").arg(i))));
        QVERIFY(db->workRecords().size() == 5 && rowCount("workRecords_sdriver") == 5);
        const RecordItem last = db->workRecords().last();
        QCOMPARE(QStringList({ last.value("id").toString(), last.value("task").toString(), last.value("description").toString() }),
                 QStringList({ "6", "Task6", "none" }));
        QVERIFY(kTimePattern.match(last.value("time").toString()).hasMatch());
        QCOMPARE(db->workRecords().first().value("id").toString(), QStringLiteral("2"));
        QCOMPARE(side("SELECT MIN(id) FROM workRecords_sdriver").toInt(), 2);
        // A device type without a work-record table stores nothing and clears nothing.
        db->onDeviceChanged(HighVoltServo);
        QVERIFY(db->workRecords().isEmpty() && !db->addWorkRecord(workRecord("Task0")) && !db->clearTable());
        db->onDeviceChanged(SdriverDevice);
        QCOMPARE(db->workRecords().size(), 5);
        QVERIFY(db->clearTable() && db->workRecords().isEmpty() && rowCount("workRecords_sdriver") == 0);
        QVERIFY(db->addWorkRecord(workRecord("Task0")));
        QCOMPARE(db->workRecords().first().value("id").toString(), QStringLiteral("0"));
    }
    void recordTextsOfEveryKind_data()
    {
        QTest::addColumn<QString>("task");
        QTest::newRow("chinese") << QStringLiteral("任务一");
        QTest::newRow("outside the basic plane") << QStringLiteral("Task \U0001F600");
        QTest::newRow("chinese, outside the basic plane, quote") << QStringLiteral("任务 \U0001F600 'x'");
        QTest::newRow("the separator of the fast load") << QStringLiteral("a\x1f" "b");
        QTest::newRow("null") << QString();
        QTest::newRow("quotes") << QStringLiteral("it's \"x\"");
    }
    // Each kind of text alone, so that a row the fast load can take apart is not read field by field.
    void recordTextsOfEveryKind()
    {
        QFETCH(QString, task);
        DatabaseManager::resetInstance();
        QVERIFY(TestDatabase::execOn(m_path, QStringLiteral("INSERT INTO workRecords_sdriver VALUES (7, 'Task0', '1', '1.000', '1', 'OK', 't', '0', 'none'), "
                                                            "(8, ?, NULL, '2', '3', 'Slip', 't', '10', 'none')"),
                                     { task.isNull() ? QVariant() : QVariant(task) }));
        DatabaseManager *db = reopen();
        db->onDeviceChanged(SdriverDevice);
        QCOMPARE(ids(db->workRecords()), QStringLiteral("7,8"));
        const RecordItem row = db->workRecords().last();
        QCOMPARE(QStringList({ row.value("task").toString(), row.value("turns").toString(), row.value("alarm").toString() }),
                 QStringList({ task.isNull() ? QString() : task, QString(), "10" }));
    }
    void deviceChangeReloadsLists_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<QString>("servoTable");
        QTest::addColumn<bool>("hasAppParams");
        QTest::newRow("sdriver") << int(SdriverDevice) << "servo_params" << true;
        QTest::newRow("high volt") << int(HighVoltServo) << "servo_params" << false;
        QTest::newRow("low volt") << int(LowVoltServo) << "servo_params2" << false;
        QTest::newRow("trelvox") << int(TrelvoxServo) << "servo_params3" << false;
        QTest::newRow("spare type has no tables") << int(OtherDevice2) << "" << false;
    }
    void deviceChangeReloadsLists()
    {
        QFETCH(int, type);
        QFETCH(QString, servoTable);
        QFETCH(bool, hasAppParams);
        DatabaseManager *db = DatabaseManager::instance();
        const int expectedParams = servoTable.isEmpty() ? 0 : rowCount(servoTable);
        const QString expectedFirstName =
            servoTable.isEmpty() ? QString() : side(QStringLiteral("SELECT name FROM %1 WHERE id = 1").arg(servoTable)).toString();
        // Receivers of the broadcast must already see the new type's lists.
        int calls = 0;
        connect(db, &DatabaseManager::devChangedSignal, this, [&](DeviceEnum devType) {
            ++calls;
            QCOMPARE(int(devType), type);
            QCOMPARE(int(db->currentDevice()), type);
            QCOMPARE(db->servoParams().size(), expectedParams);
            if (expectedParams > 0)
                QCOMPARE(db->servoParams().first().value("name").toString(), expectedFirstName);
            QCOMPARE(!db->appParams().isEmpty(), hasAppParams);
        });
        db->onDeviceChanged(DeviceEnum(type));
        QCOMPARE(calls, 1);
        if (hasAppParams) {
            QCOMPARE(db->appParams().size(), rowCount("appParams_sdriver"));
            const RecordItem p = db->appParams().first();
            for (const char *key : { "address", "name", "group", "tableInfo", "range", "unit", "description" })
                QVERIFY2(p.contains(QLatin1String(key)), key);
        }
        // No device: app parameters and work records go, servo parameters stay as they were.
        disconnect(db, &DatabaseManager::devChangedSignal, this, nullptr);
        QSignalSpy spy(db, &DatabaseManager::devChangedSignal);
        db->onDeviceChanged(NoDevice);
        QVERIFY(spy.count() == 1 && db->currentDevice() == NoDevice);
        QVERIFY(db->appParams().isEmpty() && db->workRecords().isEmpty());
        QCOMPARE(db->servoParams().size(), expectedParams);
    }
    void setLanguageOnlyForTrelvox()
    {
        DatabaseManager *db = DatabaseManager::instance();
        QSignalSpy spy(db, &DatabaseManager::devChangedSignal);
        ComSettingsFrame::setCurrentDevice(SdriverDevice);   // the language follows the program-wide type
        db->onDeviceChanged(SdriverDevice);
        const QList<RecordItem> sdriverParams = db->servoParams();
        db->setLanguage(1);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(db->servoParams(), sdriverParams);
        ComSettingsFrame::setCurrentDevice(TrelvoxServo);
        db->onDeviceChanged(TrelvoxServo);
        const QString chinese = db->servoParams().first().value("name").toString();
        db->setLanguage(1);
        QVERIFY(spy.count() == 3 && spy.last().first().value<DeviceEnum>() == TrelvoxServo);
        QCOMPARE(db->servoParams().size(), rowCount("servo_params4"));
        QCOMPARE(db->servoParams().first().value("name").toString(), QStringLiteral("Control mode"));
        QCOMPARE(db->tableName(TrelvoxServo, DatabaseManager::ServoParamKind), QStringLiteral("servo_params4"));
        db->setLanguage(7);
        QCOMPARE(spy.count(), 3);
        db->setLanguage(0);
        ComSettingsFrame::setCurrentDevice(NoDevice);
        QCOMPARE(spy.count(), 4);
        QCOMPARE(db->servoParams().first().value("name").toString(), chinese);
        QCOMPARE(chinese, QStringLiteral("控制模式"));
    }
    void keyValues()
    {
        DatabaseManager *db = DatabaseManager::instance();
        QCOMPARE(db->takeKeyValue("Sdriver_LockSuccessCount", "0"), QStringLiteral("0"));
        QVERIFY(db->saveKeyValue("Sdriver_LockSuccessCount", "3") && db->saveKeyValue("Sdriver_LockSuccessCount", "4'"));
        QCOMPARE(db->takeKeyValue("Sdriver_LockSuccessCount", "0"), QStringLiteral("4'"));
        QCOMPARE(rowCount("keyvalue_table"), 1);
        QCOMPARE(reopen()->takeKeyValue("Sdriver_LockSuccessCount", "0"), QStringLiteral("4'"));
        side("DROP TABLE keyvalue_table");
        QTest::ignoreMessage(QtWarningMsg, kSqlFailure);
        QVERIFY(!DatabaseManager::instance()->saveKeyValue("Sdriver_LockSuccessCount", "9"));
        QCOMPARE(DatabaseManager::instance()->takeKeyValue("Sdriver_LockSuccessCount", "0"), QStringLiteral("4'"));
    }
    void lookups()
    {
        DatabaseManager *db = DatabaseManager::instance();
        QCOMPARE(db->findAlarmDetail(10).value("name").toString(), QStringLiteral("滑牙"));
        QCOMPARE(db->findAlarmDetail(1).value("name").toString(), QStringLiteral("Overcurrent"));
        QVERIFY(db->findAlarmDetail(9999).isEmpty());
        const RecordItem detail = db->findAlarmDetail(2);
        for (const char *key : { "number", "level", "name", "reason", "solution" })
            QVERIFY2(detail.contains(QLatin1String(key)), key);
        // Record numbers are the func_code digits and stay below the row count.
        for (int i = 0; i < db->servoStatusList().size(); ++i)
            QCOMPARE(db->findServoStatus(i), db->servoStatusList().at(i));
        QCOMPARE(db->findServoStatus(7).value("value_text").toString(), QStringLiteral("0:Off/1:On"));
        QVERIFY(db->findServoStatus(99).isEmpty() && db->findServoStatus(-1).isEmpty());
    }
    void servoDebug()
    {
        DatabaseManager *db = DatabaseManager::instance();
        const QList<RecordItem> before = db->servoDebugRows();
        QCOMPARE(before.at(3).value("min_value").toString(), QStringLiteral("-50000"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("updateServoDebug needs"));
        QVERIFY(!db->updateServoDebug({ 3, 1, 2, 3, 4, 5, 6, 7, 8 }));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("updateServoDebug needs"));
        QVERIFY(!db->updateServoDebug({ 3, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10 }));
        QVERIFY(!db->updateServoDebug({ 9, 1, 2, 3, 4, 5, 6, 7, 8, 9 }));
        QCOMPARE(db->servoDebugRows(), before);
        QVERIFY(db->updateServoDebug({ 3, -123456, -1000, 2000, 300, 400, 500, 600, 1, 150 }));
        const RecordItem row = db->servoDebugRows().at(3);
        QCOMPARE(row.value("current_value").toString() + ' ' + row.value("torqueout").toString(), QStringLiteral("-123456 150"));
        QCOMPARE(db->servoDebugRows().at(4), before.at(4));
        const RecordItem stored = reopen()->servoDebugRows().at(3);
        QCOMPARE(stored, row);
        QCOMPARE(stored.value("s_direction").toString(), QStringLiteral("1"));
    }
    void instanceAfterReset()
    {
        QPointer<DatabaseManager> old = DatabaseManager::instance();
        QCOMPARE(DatabaseManager::instance(), old.data());
        DatabaseManager::resetInstance();
        QVERIFY(old.isNull());
        DatabaseManager *fresh = DatabaseManager::instance();
        QVERIFY(fresh && fresh->isOpen() && !fresh->servoParams().isEmpty());
        DatabaseManager::resetInstance();
        DatabaseManager::resetInstance();   // harmless when there is none
    }
    void scriptSplitting_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QStringList>("statements");
        QTest::newRow("plain") << "A; B;" << QStringList { "A", "B" };
        QTest::newRow("last without semicolon") << "A;\n B " << QStringList { "A", "B" };
        QTest::newRow("empty statements dropped") << ";; A ;\n;" << QStringList { "A" };
        QTest::newRow("empty statements dropped, last without semicolon") << ";; A ;\n; B " << QStringList { "A", "B" };
        QTest::newRow("semicolon in quotes") << "INSERT 'a;b', \"c;d\"; X" << QStringList { "INSERT 'a;b', \"c;d\"", "X" };
        QTest::newRow("doubled quote") << "V 'it''s;'; W" << QStringList { "V 'it''s;'", "W" };
        QTest::newRow("comment with quote and semicolon") << "-- don't; stop\nA; -- tail;\nB" << QStringList { "A", "B" };
        QTest::newRow("dashes inside quotes") << "V '--x;'" << QStringList { "V '--x;'" };
        QTest::newRow("chinese text") << "V '控制;模式'" << QStringList { "V '控制;模式'" };
        QTest::newRow("all of them in one") << "-- don't; stop\nV 'a;b', \"c;d\", 'it''s;--'; -- tail;\nW"
                                            << QStringList { "V 'a;b', \"c;d\", 'it''s;--'", "W" };
    }
    void scriptSplitting()
    {
        QFETCH(QString, script);
        QFETCH(QStringList, statements);
        QCOMPARE(SqlScript::split(script), statements);
    }
};

QTEST_GUILESS_MAIN(TestDatabaseManager)
#include "tst_databasemanager.moc"
