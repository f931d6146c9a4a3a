#include "comm/comsettingsframe.h"
#include "data/databasemanager.h"
#include "data/sqlscript.h"
#include "support/dblocker.h"
#include "support/testdatabase.h"
#include "support/warninglog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {
const QRegularExpression kTimePattern(QStringLiteral("^\\d{4}/\\d{2}/\\d{2} \\d{2}:\\d{2}:\\d{2}$"));
const QRegularExpression kAnySqlFailure(QStringLiteral("SQL statement failed"));

RecordItem account(const QString &name, const QString &password, const QString &device = QStringLiteral("0"),
                   const QString &permission = QStringLiteral("20,21"))
{
    return { { QStringLiteral("account"), name }, { QStringLiteral("password"), password },
             { QStringLiteral("device"), device }, { QStringLiteral("permission"), permission } };
}

// Rows written in one statement on a second connection, as a file from elsewhere would hold them.
bool fillRows(const QString &path, const QString &table, int count)
{
    const QString values = table == QLatin1String("alarm_records")
        ? QStringLiteral("i, '1', '2024/01/01 00:00:00'")
        : QStringLiteral("i, 'Task0', '1', '1.000', '1', 'OK', '2024/01/01 00:00:00', '0', 'none'");
    return TestDatabase::execOn(path, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n "
                                                     "WHERE i + 1 < %1) INSERT INTO %2 SELECT %3 FROM n")
                                          .arg(count)
                                          .arg(table, values));
}

RecordItem workRecord(const QString &task)
{
    return { { QStringLiteral("task"), task }, { QStringLiteral("turns"), QStringLiteral("3.25") },
             { QStringLiteral("torque"), QStringLiteral("1.50") }, { QStringLiteral("usedTime"), QStringLiteral("0.8") },
             { QStringLiteral("status"), QStringLiteral("OK") }, { QStringLiteral("alarm"), QStringLiteral("0") } };
}
} // namespace

class TestDatabaseManager : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void newFileHasTablesAndDefinitions();
    void definitionRowsAreConsistent_data();
    void definitionRowsAreConsistent();
    void upgradeKeepsUserRows();
    void accounts();
    void failedStatementKeepsAccountList();
    void alarmRecordCap();
    void workRecords();
    void trimming_data();
    void trimming();
    void recordTextsLoadAsStored_data();
    void recordTextsLoadAsStored();
    void upgradeAddsColumnsAndIndex();
    void lockedDatabase();
    void actionRightAfterDeviceChange_data();
    void actionRightAfterDeviceChange();
    void deviceChangeReloadsLists_data();
    void deviceChangeReloadsLists();
    void setLanguageOnlyForTrelvox();
    void keyValues();
    void lookups();
    void servoDebug();
    void scriptSplitting_data();
    void scriptSplitting();

private:
    DatabaseManager *reopen();
    // Runs one statement on a second connection to the same file; returns every row.
    QList<QVariantList> sideRows(const QString &sql)
    {
        QList<QVariantList> rows;
        TestDatabase::execOn(m_path, sql, {}, &rows);
        return rows;
    }
    QVariant side(const QString &sql)
    {
        const QList<QVariantList> rows = sideRows(sql);
        return rows.isEmpty() ? QVariant() : rows.first().value(0);
    }
    int rowCount(const QString &table) { return side(QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).toInt(); }

    QTemporaryDir m_dir;
    QString m_path;
    int m_fileNumber = 0;
};

void TestDatabaseManager::init()
{
    QVERIFY(m_dir.isValid());
    // A fresh file per test, in a folder that does not exist yet.
    m_path = m_dir.filePath(QStringLiteral("run%1/Storage/ServoDataBase").arg(++m_fileNumber));
    QVERIFY(reopen()->isOpen());
}

void TestDatabaseManager::cleanup()
{
    DatabaseManager::resetInstance();
}

DatabaseManager *TestDatabaseManager::reopen()
{
    DatabaseManager::resetInstance();
    DatabaseManager::setDatabasePath(m_path);
    return DatabaseManager::instance();
}

void TestDatabaseManager::newFileHasTablesAndDefinitions()
{
    DatabaseManager *db = DatabaseManager::instance();
    QVERIFY(side(QStringLiteral("PRAGMA user_version")).toInt() != 0);

    QCOMPARE(db->currentDevice(), NoDevice);
    QCOMPARE(db->servoParams().size(), rowCount("servo_params"));
    QVERIFY(db->appParams().isEmpty());
    QVERIFY(db->workRecords().isEmpty());
    QVERIFY(db->accountList().isEmpty());
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

void TestDatabaseManager::definitionRowsAreConsistent_data()
{
    QTest::addColumn<QString>("table");
    QTest::newRow("servo_params") << "servo_params";
    QTest::newRow("servo_params2") << "servo_params2";
    QTest::newRow("servo_params3") << "servo_params3";
    QTest::newRow("servo_params4") << "servo_params4";
}

// What the parameter page relies on: id is the 1-based position, Pn numbers rise, and a
// 32-bit parameter's second register is not another parameter.
void TestDatabaseManager::definitionRowsAreConsistent()
{
    QFETCH(QString, table);
    const QList<QVariantList> rows =
        sideRows(QStringLiteral("SELECT id, func_code, format, range FROM %1 ORDER BY rowid").arg(table));
    QVERIFY(rows.size() >= 12);
    int lastPn = -1;
    int reservedPn = -1;
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

void TestDatabaseManager::upgradeKeepsUserRows()
{
    DatabaseManager *db = DatabaseManager::instance();
    RecordItem user = account("op", "1234");
    QVERIFY(db->saveAccountInfo(user));
    QVERIFY(db->addAlarmRecord(7));
    db->onDeviceChanged(SdriverDevice);
    QVERIFY(db->addWorkRecord(workRecord("Task1")));
    QVERIFY(db->saveKeyValue("Sdriver_LockTotalCount", "12"));
    QVERIFY(db->saveConfig("devcom_configs", "DeviceAddr", "5"));
    QVERIFY(db->updateServoDebug({ 2, 0, -100, 100, 50, 60, 70, 80, 1, 90 }));
    const int version = side("PRAGMA user_version").toInt();
    const int params = db->servoParams().size();

    // Unchanged definitions are not rewritten: a row removed behind the program's back stays away.
    DatabaseManager::resetInstance();
    side("DELETE FROM servo_params WHERE id = 1");
    db = reopen();
    QCOMPARE(db->servoParams().size(), params - 1);

    // A different version brings the definitions back and leaves the user's rows alone.
    DatabaseManager::resetInstance();
    side("PRAGMA user_version = 1");
    db = reopen();
    QVERIFY(db->isOpen());
    QCOMPARE(side("PRAGMA user_version").toInt(), version);
    QCOMPARE(db->servoParams().size(), params);
    QCOMPARE(db->findAccount("op").value("password").toString(), QStringLiteral("1234"));
    QCOMPARE(db->alarmRecords().size(), 1);
    QCOMPARE(db->alarmRecords().first().value("number").toString(), QStringLiteral("7"));
    QCOMPARE(db->takeKeyValue("Sdriver_LockTotalCount", "0"), QStringLiteral("12"));
    QCOMPARE(db->takeConfig("devcom_configs", "DeviceAddr", "1"), QStringLiteral("5"));
    QCOMPARE(db->servoDebugRows().at(2).value("torqueout").toString(), QStringLiteral("90"));
    db->onDeviceChanged(SdriverDevice);
    QCOMPARE(db->workRecords().size(), 1);
    QCOMPARE(db->workRecords().first().value("task").toString(), QStringLiteral("Task1"));
}

void TestDatabaseManager::accounts()
{
    DatabaseManager *db = DatabaseManager::instance();
    RecordItem quoted = account("O'Neil", "pa'ss\"; DROP TABLE account_infos; --", "0,3", "10,'20'");
    QVERIFY(db->saveAccountInfo(quoted));
    RecordItem second = account("second", "x");
    QVERIFY(db->saveAccountInfo(second));
    QCOMPARE(db->findAccount("O'Neil"), quoted);
    QVERIFY(db->findAccount("o'neil").isEmpty());
    QVERIFY(db->findAccount("nobody").isEmpty());

    // Same name again: an update in place, not a second row.
    RecordItem changed = account("O'Neil", "new'pw", "1", "12");
    QVERIFY(db->saveAccountInfo(changed));
    QCOMPARE(db->accountList().size(), 2);
    QCOMPARE(db->accountList().first(), changed);
    QCOMPARE(rowCount("account_infos"), 2);

    db = reopen();
    QCOMPARE(db->accountList().size(), 2);
    QCOMPARE(db->findAccount("O'Neil"), changed);
    QCOMPARE(db->accountList().at(1).value("account").toString(), QStringLiteral("second"));

    QVERIFY(!db->deleteAccountInfo("nobody"));
    QVERIFY(db->deleteAccountInfo("O'Neil"));
    QCOMPARE(db->accountList().size(), 1);
    QVERIFY(!db->deleteAccountInfo("O'Neil"));
    QCOMPARE(reopen()->accountList().size(), 1);

    // An account with no devices or permissions ticked holds null texts: stored as empty texts.
    RecordItem bare;
    bare.insert(QStringLiteral("account"), QStringLiteral("bare"));
    bare.insert(QStringLiteral("password"), QString());
    bare.insert(QStringLiteral("device"), QString());
    bare.insert(QStringLiteral("permission"), QString());
    QVERIFY(DatabaseManager::instance()->saveAccountInfo(bare));
    QCOMPARE(reopen()->findAccount("bare").value("device").toString(), QString());
}

void TestDatabaseManager::failedStatementKeepsAccountList()
{
    DatabaseManager *db = DatabaseManager::instance();
    RecordItem alice = account("alice", "old");
    QVERIFY(db->saveAccountInfo(alice));
    side("DROP TABLE account_infos");
    const QList<RecordItem> before = db->accountList();

    QTest::ignoreMessage(QtWarningMsg, kAnySqlFailure);
    RecordItem bob = account("bob", "b");
    QVERIFY(!db->saveAccountInfo(bob));
    QTest::ignoreMessage(QtWarningMsg, kAnySqlFailure);
    RecordItem newAlice = account("alice", "new");
    QVERIFY(!db->saveAccountInfo(newAlice));
    QTest::ignoreMessage(QtWarningMsg, kAnySqlFailure);
    QVERIFY(!db->deleteAccountInfo("alice"));
    QCOMPARE(db->accountList(), before);
}

void TestDatabaseManager::alarmRecordCap()
{
    DatabaseManager *db = DatabaseManager::instance();
    QVERIFY(db->addAlarmRecord(42));
    const RecordItem first = db->alarmRecords().first();
    QCOMPARE(first.value("id").toString(), QStringLiteral("0"));
    QCOMPARE(first.value("number").toString(), QStringLiteral("42"));
    QVERIFY(kTimePattern.match(first.value("time").toString()).hasMatch());

    for (int i = 1; i < 501; ++i)
        QVERIFY(db->addAlarmRecord(i));
    QCOMPARE(db->alarmRecords().size(), 500);
    QCOMPARE(side("SELECT MIN(id) FROM alarm_records").toInt(), 1);

    // Ids go on from the newest record after a restart.
    db = reopen();
    QVERIFY(db->addAlarmRecord(3));
    QCOMPARE(db->alarmRecords().last().value("id").toString(), QStringLiteral("501"));
    QCOMPARE(db->alarmRecords().first().value("id").toString(), QStringLiteral("2"));

    QVERIFY(db->clearAlarmRecords());
    QVERIFY(db->alarmRecords().isEmpty());
    QCOMPARE(rowCount("alarm_records"), 0);
}

void TestDatabaseManager::workRecords()
{
    DatabaseManager *db = DatabaseManager::instance();
    QVERIFY(!db->addWorkRecord(workRecord("Task0")));
    QVERIFY(!db->clearTable());
    QCOMPARE(rowCount("workRecords_sdriver"), 0);

    db->onDeviceChanged(SdriverDevice);
    QVERIFY(!db->addWorkRecord(RecordItem()));
    QVERIFY(db->addWorkRecord(workRecord("Task6")));
    const RecordItem last = db->workRecords().last();
    QCOMPARE(last.value("id").toString(), QStringLiteral("0"));
    QCOMPARE(last.value("task").toString(), QStringLiteral("Task6"));
    QCOMPARE(last.value("description").toString(), QStringLiteral("none"));
    QVERIFY(kTimePattern.match(last.value("time").toString()).hasMatch());

    // A device type without a work-record table stores nothing and clears nothing.
    db->onDeviceChanged(HighVoltServo);
    QVERIFY(db->workRecords().isEmpty());
    QVERIFY(!db->addWorkRecord(workRecord("Task0")));
    QVERIFY(!db->clearTable());

    db->onDeviceChanged(SdriverDevice);
    QCOMPARE(db->workRecords().size(), 1);
    QVERIFY(db->clearTable());
    QVERIFY(db->workRecords().isEmpty());
    QCOMPARE(rowCount("workRecords_sdriver"), 0);
    QVERIFY(db->addWorkRecord(workRecord("Task0")));
    QCOMPARE(db->workRecords().first().value("id").toString(), QStringLiteral("0"));
}

void TestDatabaseManager::trimming_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("cap");
    QTest::addColumn<bool>("firstStepFails");
    QTest::newRow("alarms: 10000 rows over a cap of 500, in steps") << "alarm_records" << 10000 << 500 << false;
    QTest::newRow("work records: cap + 5") << "workRecords_sdriver" << 25 << 20 << false;
    QTest::newRow("a failed step leaves its rows for the next") << "workRecords_sdriver" << 3000 << 20 << true;
}

// A table holding more than the cap loses its oldest rows from the next add on, in steps from a
// timer; once list and table hold the same rows, each add trims in its own transaction. A trim
// that fails leaves list and table agreeing, and never touches a kept row.
void TestDatabaseManager::trimming()
{
    QFETCH(QString, table);
    QFETCH(int, stored);
    QFETCH(int, cap);
    QFETCH(bool, firstStepFails);
    DatabaseManager::resetInstance();
    QVERIFY(fillRows(m_path, table, stored));
    DatabaseManager *db = reopen();
    const bool alarms = table == QLatin1String("alarm_records");
    db->setWorkRecordLimit(cap);
    db->onDeviceChanged(SdriverDevice);
    const RecordList &list = alarms ? db->alarmRecords() : db->workRecords();
    QCOMPARE(list.size(), cap);   // only what is kept is loaded
    auto add = [&] { return alarms ? db->addAlarmRecord(5) : db->addWorkRecord(workRecord("Task1")); };
    auto ids = [&] {
        QStringList shown;
        for (int i = 0; i < list.size(); ++i)
            shown << list.field(i, 0).toString();
        return shown;
    };
    auto tableIds = [&] {
        QStringList rows;
        for (const QVariantList &row : sideRows(QStringLiteral("SELECT id FROM %1 ORDER BY rowid").arg(table)))
            rows << row.first().toString();
        return rows;
    };
    const QString keep = QStringLiteral("CREATE TRIGGER keep BEFORE DELETE ON %1 BEGIN SELECT RAISE(ABORT, 'kept'); END").arg(table);

    if (firstStepFails)
        QVERIFY(TestDatabase::execOn(m_path, keep));
    QVERIFY(add());
    QCOMPARE(list.size(), cap);
    QCOMPARE(list.field(cap - 1, 0).toString(), QString::number(stored));
    QCOMPARE(list.field(0, 0).toString(), QString::number(stored - cap + 1));
    if (firstStepFails) {
        QTest::ignoreMessage(QtWarningMsg, kAnySqlFailure);
        QTest::qWait(100);
        QVERIFY(db->isTrimming());
        QCOMPARE(tableIds().mid(stored + 1 - cap), ids());
        QVERIFY(TestDatabase::execOn(m_path, QStringLiteral("DROP TRIGGER keep")));
    }
    QTRY_VERIFY_WITH_TIMEOUT(!db->isTrimming(), 10000);
    QCOMPARE(tableIds(), ids());
    QVERIFY(add());
    QCOMPARE(tableIds(), ids());
    QCOMPARE(list.size(), cap);

    QVERIFY(TestDatabase::execOn(m_path, keep));
    QTest::ignoreMessage(QtWarningMsg, kAnySqlFailure);
    QVERIFY(add());
    QCOMPARE(list.size(), cap + 1);
    QCOMPARE(tableIds(), ids());
}

// Whatever a field holds comes back as it was stored, also when the fast way of loading cannot
// take the row apart.
void TestDatabaseManager::recordTextsLoadAsStored_data()
{
    QTest::addColumn<QString>("task");
    QTest::newRow("chinese") << QStringLiteral("任务一");
    QTest::newRow("outside the basic plane") << QStringLiteral("Task \U0001F600");
    QTest::newRow("the separator of the fast load") << QStringLiteral("a\x1f" "b");
    QTest::newRow("null") << QString();
    QTest::newRow("quotes") << QStringLiteral("it's \"x\"");
}

void TestDatabaseManager::recordTextsLoadAsStored()
{
    QFETCH(QString, task);
    DatabaseManager::resetInstance();
    QVERIFY(TestDatabase::execOn(m_path, QStringLiteral("INSERT INTO workRecords_sdriver VALUES (7, 'Task0', '1', '1.000', '1', 'OK', 't', '0', 'none'), (8, ?, NULL, '2', '3', 'Slip', 't', '10', 'none')"),
                                 { task.isNull() ? QVariant() : QVariant(task) }));
    DatabaseManager *db = reopen();
    db->onDeviceChanged(SdriverDevice);
    QCOMPARE(db->workRecords().size(), 2);
    const RecordItem row = db->workRecords().last();
    QCOMPARE(row.value("task").toString(), task.isNull() ? QString() : task);
    QCOMPARE(row.value("turns").toString(), QString());
    QCOMPARE(row.value("alarm").toString(), QStringLiteral("10"));
    QCOMPARE(db->workRecords().first().value("id").toString(), QStringLiteral("7"));
}

// A file made by an older program: the missing columns and indexes are added, every row kept.
void TestDatabaseManager::upgradeAddsColumnsAndIndex()
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
    QVERIFY(db->isOpen());
    QCOMPARE(db->startupProblem(), QString());
    QCOMPARE(db->findAccount("op").value("password").toString(), QStringLiteral("pw"));
    QCOMPARE(db->findAccount("op").value("permission").toString(), QString());
    RecordItem op = account("op", "pw", "0", "20");
    QVERIFY(db->saveAccountInfo(op));
    db->onDeviceChanged(SdriverDevice);
    QCOMPARE(db->workRecords().size(), 1);
    QCOMPARE(db->workRecords().first().value("description").toString(), QStringLiteral("none"));
    QVERIFY(db->addWorkRecord(workRecord("Task3")));
    QCOMPARE(db->pendingWorkRecords(), 0);
    QCOMPARE(side("SELECT group_concat(id) FROM workRecords_sdriver").toString(), QStringLiteral("4,5"));
    QCOMPARE(side("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name LIKE '%_id'").toInt(), 2);
    QCOMPARE(reopen()->findAccount("op").value("permission").toString(), QStringLiteral("20"));
}

// Another program holds the file: the start says so at once, no setting is saved over with a
// default, and every record that arrives meanwhile is stored, with a fresh id, once it lets go.
void TestDatabaseManager::lockedDatabase()
{
    DatabaseManager *db = DatabaseManager::instance();
    QVERIFY(db->saveConfig("devcom_configs", "DeviceAddr", "5"));
    QVERIFY(db->saveKeyValue("Sdriver_LockFinishCount", "9"));
    for (int i = 0; i < 3; ++i)
        QVERIFY(db->addAlarmRecord(i));
    db->onDeviceChanged(SdriverDevice);
    QVERIFY(db->addWorkRecord(workRecord("Task0")));
    DatabaseManager::resetInstance();

    {
        DbLocker locker(m_path, "BEGIN EXCLUSIVE");
        QVERIFY(locker.isOk());
        QElapsedTimer clock;
        clock.start();
        db = reopen();
        QVERIFY2(clock.elapsed() < 5000, "the start waits out the lock");
        QVERIFY(db->startupProblem().contains(QDir::toNativeSeparators(m_path)));
        QVERIFY(db->startupProblem().contains(QStringLiteral("another program is using it")));
        QCOMPARE(db->takeConfig("devcom_configs", "DeviceAddr", "1"), QStringLiteral("1"));
        QVERIFY(!db->saveConfig("devcom_configs", "DeviceAddr", "1"));
        QVERIFY(!db->saveKeyValue("Sdriver_LockFinishCount", "1"));
        QVERIFY(db->addAlarmRecord(7));
        db->onDeviceChanged(SdriverDevice);
        QVERIFY(db->addWorkRecord(workRecord("Task4")));
        QCOMPARE(db->pendingAlarmRecords(), 1);
        QCOMPARE(db->pendingWorkRecords(), 1);
        QCOMPARE(db->alarmRecords().last().value("number").toString(), QStringLiteral("7"));
        db->retryStorage();
        QCOMPARE(db->pendingAlarmRecords(), 1);
    }
    QSignalSpy changed(db, &DatabaseManager::storageChanged);
    db->retryStorage();
    QCOMPARE(db->pendingAlarmRecords() + db->pendingWorkRecords(), 0);
    QVERIFY(changed.count() > 0);
    QCOMPARE(side("SELECT group_concat(id) FROM (SELECT id FROM alarm_records ORDER BY rowid)").toString(),
             QStringLiteral("0,1,2,3"));
    QCOMPARE(side("SELECT group_concat(number) FROM (SELECT number FROM alarm_records ORDER BY rowid)").toString(),
             QStringLiteral("0,1,2,7"));
    QCOMPARE(db->alarmRecords().last().value("id").toString(), QStringLiteral("3"));
    QCOMPARE(side("SELECT group_concat(id || task) FROM workRecords_sdriver").toString(), QStringLiteral("0Task0,1Task4"));
    QCOMPARE(side("SELECT value FROM devcom_configs WHERE key = 'DeviceAddr'").toString(), QStringLiteral("5"));
    QCOMPARE(db->takeKeyValue("Sdriver_LockFinishCount", "0"), QStringLiteral("9"));
    QCOMPARE(db->takeConfig("devcom_configs", "DeviceAddr", "1"), QStringLiteral("5"));
    QVERIFY(db->saveConfig("devcom_configs", "DeviceAddr", "6"));

    // Held for writing while the program runs: the record is shown at once and stored later.
    {
        DbLocker locker(m_path, "BEGIN IMMEDIATE");
        QVERIFY(locker.isOk());
        QVERIFY(db->addAlarmRecord(8));
        QCOMPARE(db->pendingAlarmRecords(), 1);
        QCOMPARE(db->alarmRecords().size(), 5);
    }
    db->retryStorage();
    QCOMPARE(db->pendingAlarmRecords(), 0);
    QCOMPARE(side("SELECT max(id) || '/' || count(*) FROM alarm_records").toString(), QStringLiteral("4/5"));
}

void TestDatabaseManager::actionRightAfterDeviceChange_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("ids");   // first, last and count of the list afterwards
    QTest::addColumn<int>("tableRows");
    QTest::newRow("read") << "read" << "0 19999 20000" << 20000;
    QTest::newRow("add: the next id follows the stored ones") << "add" << "0 20000 20001" << 20001;
    QTest::newRow("clear: the read does not bring the rows back") << "clear" << "  0" << 0;
    QTest::newRow("write elsewhere waits for the read") << "save" << "0 19999 20000" << 20000;
    QTest::newRow("another device change") << "change" << "0 19999 20000" << 20000;
    QTest::newRow("the file is locked: the new record waits with a provisional id") << "locked" << "0 0 1" << 20000;
    QTest::newRow("the file is locked: read again once free, unasked") << "locked, unasked" << "0 19999 20000" << 20000;
}

// A device change reads the work records on another connection; whatever comes next sees the
// list as if it had been read before the change returned, and no write fails on the read's lock.
void TestDatabaseManager::actionRightAfterDeviceChange()
{
    QFETCH(QString, action);
    QFETCH(QString, ids);
    QFETCH(int, tableRows);
    DatabaseManager::resetInstance();
    QVERIFY(fillRows(m_path, QStringLiteral("workRecords_sdriver"), 20000));
    DatabaseManager *db = reopen();
    QVERIFY(db->startupProblem().isEmpty());
    QSignalSpy changed(db, &DatabaseManager::devChangedSignal);
    std::unique_ptr<DbLocker> locker;
    if (action.startsWith(QLatin1String("locked"))) {
        // Held before the read starts: the read fails as a read in the window's thread would.
        locker.reset(new DbLocker(m_path, "BEGIN EXCLUSIVE"));
        QVERIFY(locker->isOk());
    }
    db->onDeviceChanged(SdriverDevice);
    if (action == QLatin1String("add")) {
        QVERIFY(db->addWorkRecord(workRecord("Task2")));
    } else if (action == QLatin1String("clear")) {
        QVERIFY(db->clearTable());
        db->onDeviceChanged(HighVoltServo);
        db->onDeviceChanged(SdriverDevice);
    } else if (action == QLatin1String("save")) {
        QVERIFY(db->saveKeyValue("Sdriver_LockTotalCount", "3"));
        QVERIFY(db->saveConfig("devcom_configs", "DeviceAddr", "4"));
    } else if (action == QLatin1String("change")) {
        db->onDeviceChanged(HighVoltServo);
        QVERIFY(db->workRecords().isEmpty());
        db->onDeviceChanged(SdriverDevice);
    } else if (action == QLatin1String("locked")) {
        QTest::ignoreMessage(QtWarningMsg, kAnySqlFailure);
        QVERIFY(db->addWorkRecord(workRecord("Task2")));
        QCOMPARE(db->pendingWorkRecords(), 1);
    } else if (action == QLatin1String("locked, unasked")) {
        // The failed read is taken in and retried with nothing asking for the list.
        WarningLog log;
        QTRY_VERIFY_WITH_TIMEOUT(log.lines().filter(QStringLiteral("workRecords_sdriver ORDER BY rowid DESC")).size() == 1, 10000);
        locker.reset();
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 2, 10000);
    }
    const RecordList &list = db->workRecords();
    QCOMPARE(QStringLiteral("%1 %2 %3").arg(list.isEmpty() ? QString() : list.field(0, 0).toString(),
                                             list.isEmpty() ? QString() : list.field(list.size() - 1, 0).toString())
                 .arg(list.size()),
             ids);
    if (action == QLatin1String("locked")) {
        // Once the file lets go, the records are read and the one that waited is stored.
        locker.reset();
        changed.clear();
        db->retryStorage();
        QCOMPARE(db->pendingWorkRecords(), 0);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(db->workRecords().size(), 20001);
        QCOMPARE(db->workRecords().last().value("id").toString(), QStringLiteral("20000"));
        QCOMPARE(db->workRecords().last().value("task").toString(), QStringLiteral("Task2"));
        tableRows = 20001;
    }
    QCOMPARE(rowCount("workRecords_sdriver"), tableRows);
    QCOMPARE(side("SELECT count(DISTINCT id) FROM workRecords_sdriver").toInt(), tableRows);
}

void TestDatabaseManager::deviceChangeReloadsLists_data()
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

void TestDatabaseManager::deviceChangeReloadsLists()
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
    QCOMPARE(spy.count(), 1);
    QCOMPARE(db->currentDevice(), NoDevice);
    QVERIFY(db->appParams().isEmpty());
    QVERIFY(db->workRecords().isEmpty());
    QCOMPARE(db->servoParams().size(), expectedParams);
}

void TestDatabaseManager::setLanguageOnlyForTrelvox()
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
    QCOMPARE(spy.count(), 3);
    QCOMPARE(spy.last().first().value<DeviceEnum>(), TrelvoxServo);
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

void TestDatabaseManager::keyValues()
{
    DatabaseManager *db = DatabaseManager::instance();
    QCOMPARE(db->takeKeyValue("Sdriver_LockSuccessCount", "0"), QStringLiteral("0"));
    QVERIFY(db->saveKeyValue("Sdriver_LockSuccessCount", "3"));
    QVERIFY(db->saveKeyValue("Sdriver_LockSuccessCount", "4'"));
    QCOMPARE(db->takeKeyValue("Sdriver_LockSuccessCount", "0"), QStringLiteral("4'"));
    QCOMPARE(rowCount("keyvalue_table"), 1);
    QCOMPARE(reopen()->takeKeyValue("Sdriver_LockSuccessCount", "0"), QStringLiteral("4'"));

    side("DROP TABLE keyvalue_table");
    QTest::ignoreMessage(QtWarningMsg, kAnySqlFailure);
    QVERIFY(!DatabaseManager::instance()->saveKeyValue("Sdriver_LockSuccessCount", "9"));
    QCOMPARE(DatabaseManager::instance()->takeKeyValue("Sdriver_LockSuccessCount", "0"), QStringLiteral("4'"));
}

void TestDatabaseManager::lookups()
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
    QVERIFY(db->findServoStatus(99).isEmpty());
    QVERIFY(db->findServoStatus(-1).isEmpty());
}

void TestDatabaseManager::servoDebug()
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
    QCOMPARE(row.value("current_value").toString(), QStringLiteral("-123456"));
    QCOMPARE(row.value("torqueout").toString(), QStringLiteral("150"));
    QCOMPARE(db->servoDebugRows().at(4), before.at(4));

    const RecordItem stored = reopen()->servoDebugRows().at(3);
    QCOMPARE(stored, row);
    QCOMPARE(stored.value("s_direction").toString(), QStringLiteral("1"));
}

void TestDatabaseManager::scriptSplitting_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QStringList>("statements");
    QTest::newRow("plain") << "A; B;" << QStringList { "A", "B" };
    QTest::newRow("last without semicolon") << "A;\n B " << QStringList { "A", "B" };
    QTest::newRow("empty statements dropped") << ";; A ;\n;" << QStringList { "A" };
    QTest::newRow("semicolon in quotes") << "INSERT 'a;b', \"c;d\"; X" << QStringList { "INSERT 'a;b', \"c;d\"", "X" };
    QTest::newRow("doubled quote") << "V 'it''s;'; W" << QStringList { "V 'it''s;'", "W" };
    QTest::newRow("comment with quote and semicolon") << "-- don't; stop\nA; -- tail;\nB"
                                                      << QStringList { "A", "B" };
    QTest::newRow("dashes inside quotes") << "V '--x;'" << QStringList { "V '--x;'" };
    QTest::newRow("chinese text") << "V '控制;模式'" << QStringList { "V '控制;模式'" };
}

void TestDatabaseManager::scriptSplitting()
{
    QFETCH(QString, script);
    QFETCH(QStringList, statements);
    QCOMPARE(SqlScript::split(script), statements);
}

QTEST_GUILESS_MAIN(TestDatabaseManager)
#include "tst_databasemanager.moc"
