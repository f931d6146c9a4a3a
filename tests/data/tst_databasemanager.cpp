#include "data/databasemanager.h"
#include "data/sqlscript.h"
#include "support/dblocker.h"
#include "support/testdatabase.h"
#include "support/warninglog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {
const QRegularExpression kSqlFailure(QStringLiteral("SQL statement failed"));

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
    QVariant side(const QString &sql) { QList<QVariantList> rows; return TestDatabase::execOn(m_path, sql, {}, &rows), rows.value(0).value(0); }
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
        QVERIFY(db->findAccount("O'Neil") == quoted && db->findAccount("o'neil").isEmpty());
        RecordItem changed = account("O'Neil", "new'pw", "1", "12");
        QVERIFY(db->saveAccountInfo(changed));   // same name: an update in place
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
        QCOMPARE(list.field(0, 0) + ' ' + list.field(cap - 1, 0), QStringLiteral("%1 %2").arg(stored - cap + 1).arg(stored));
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
        RecordItem op = account("op", db->findAccount("op").value("password").toString(), "0", "20");
        QVERIFY(op.value("password") == "pw" && db->saveAccountInfo(op));
        db->onDeviceChanged(SdriverDevice);
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
        // Held for writing while the program runs: the record is shown at once and stored later.
        {
            DbLocker locker(m_path, "BEGIN IMMEDIATE");
            QVERIFY(locker.isOk() && db->addAlarmRecord(8) && db->pendingAlarmRecords() == 1 && db->alarmRecords().size() == 5);
        }
        db->retryStorage();
        QCOMPARE(side("SELECT max(id) || '/' || count(*) FROM alarm_records").toString(), QStringLiteral("4/5"));
    }
    void actionRightAfterDeviceChange_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("ids");   // first, last and count of the list afterwards
        QTest::addColumn<int>("tableRows");   // at the end
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
    void scriptSplitting()
    {
        QCOMPARE(SqlScript::split(";; A ;\n; B "), (QStringList{ "A", "B" }));
        QCOMPARE(SqlScript::split("-- don't; stop\nV 'a;b', \"c;d\", 'it''s;--'; -- tail;\nW"),
                 (QStringList{ "V 'a;b', \"c;d\", 'it''s;--'", "W" }));
    }
};

QTEST_GUILESS_MAIN(TestDatabaseManager)
#include "tst_databasemanager.moc"
