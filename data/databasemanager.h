#ifndef DATABASEMANAGER_H
#define DATABASEMANAGER_H

#include <QHash>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include "comm/deviceenum.h"
#include "data/recorditem.h"
#include "data/recordlist.h"

#include <QSet>
#include <QSqlError>
#include <QTimer>
#include <QVector>

#include <functional>
#include <future>

class QSqlDatabase;

// The program's SQLite file: creates what is missing, brings older files up to date, keeps the
// definition tables current, and caches the lists the pages read. Every list holds its values as
// text. Nothing waits long for a file another program holds: a record that cannot be stored now
// stays in its list and is stored from a timer once the file takes it again.
class DatabaseManager : public QObject
{
    Q_OBJECT
public:
    // Which list a device type's table feeds.
    enum ListKind { ServoParamKind = 0, AppParamKind = 1, WorkRecordKind = 2 };

    static constexpr int kAlarmRecordLimit = 500;
    static constexpr int kWorkRecordLimit = 100000;

    // Created on first use and destroyed with the application object; never returns a dead object.
    static DatabaseManager *instance();
    // Before the first instance(): the file to open (tests, dbinit). Empty means the default file.
    static void setDatabasePath(const QString &path);
    static QString databasePath();
    // Destroys the instance, if any, so that the next instance() opens the file again.
    static void resetInstance();

    ~DatabaseManager() override;

    // True when the file is open with its tables created and its definitions current.
    bool isOpen() const;
    // Why the file could not be used at start, naming the file; empty when it was fine.
    QString startupProblem() const { return m_startupProblem; }
    // Records kept in memory that wait to be stored.
    int pendingAlarmRecords() const { return pendingCount(kAlarmTable()); }
    int pendingWorkRecords() const;
    // What is not stored yet, as the close question counts it: every record that waits, of any
    // table (those of a device type left meanwhile too); counters that wait with no record, such
    // as a clear, count as one.
    int pendingRecords() const;
    DeviceEnum currentDevice() const { return m_currentDevice; }
    // Old rows past a list's limit are still being deleted, in steps.
    bool isTrimming() const { return !m_trimBelow.isEmpty(); }
    // The table holding a list kind for a device type; empty when the type has none.
    QString tableName(DeviceEnum devType, ListKind kind) const;

    const QList<RecordItem> &servoParams() const { return m_servoParams; }
    const QList<RecordItem> &appParams() const { return m_appParams; }
    const QList<RecordItem> &accountList() const { return m_accounts; }
    const RecordList &alarmRecords() const { return m_alarmRecords; }
    // Waits for the read a device change started, if it is still running.
    const RecordList &workRecords() const;
    // A device change's read of the work records is still running: workRecords() would wait for it.
    // workRecordsRead() follows once it is in the list.
    bool isReadingWorkRecords() const { return m_workLoad.valid(); }
    // Runs in the reading thread before each read of the work records (tests hold a read with it).
    static void setWorkReadGateForTest(std::function<void()> gate);
    // The columns of every work record, known without reading the list.
    static const QStringList &workRecordColumns();
    const QList<RecordItem> &alarmDetails() const { return m_alarmDetails; }
    const QList<RecordItem> &servoStatusList() const { return m_servoStatus; }
    const QList<RecordItem> &servoDebugRows() const { return m_servoDebugRows; }

    // Index 0 Chinese, 1 English parameter names; acts only while the current type is 3.
    void setLanguage(int index);

    RecordItem findAccount(const QString &account) const;
    // The first account-list entry of that name, as a login takes it; -1 when there is none.
    int indexOfAccount(const QString &account) const;
    // Update the first entry of that name when there is one, else insert; the cached list changes
    // only on success.
    bool saveAccountInfo(RecordItem &record);
    // Deletes the first entry of that name.
    bool deleteAccountInfo(const QString &account);
    // The account-list entry at index, in its own stored row: names need not be unique in a file
    // written elsewhere. False, changing nothing, when the row no longer holds that account.
    bool saveAccountAt(int index, const RecordItem &record);
    bool deleteAccountAt(int index);
    // The stored row of the account-list entry at index, which stays while the file does; -1 for
    // no entry. And back: the index of the entry in that row, -1 when none is.
    qint64 accountRowAt(int index) const { return m_accountRows.value(index, -1); }
    int indexOfAccountRow(qint64 row) const { return row < 0 ? -1 : m_accountRows.indexOf(row); }

    // Both add the record to their list and store it, or keep it waiting when the file cannot take
    // it now. False only for a record refused outright (empty, or no device type selected).
    bool addAlarmRecord(int alarmCode);
    bool clearAlarmRecords();
    bool addWorkRecord(RecordItem record);
    // Empties the current device type's work records.
    bool clearTable();

    RecordItem findAlarmDetail(int code) const;
    RecordItem findServoStatus(int number) const;

    QString takeKeyValue(const QString &key, const QString &defVal) const;
    bool saveKeyValue(const QString &key, const QString &value);
    // Adds step to a count kept as a key value (a text that is no count counts as 0). While the
    // stored values cannot be read the steps are kept, taken as the default plus the steps, and
    // added to the stored count once it is read: a count never goes back.
    bool addToKeyValue(const QString &key, quint64 step);

    // Records added and key values saved while a batch is open reach the file together when the
    // last batch closes: one transaction and one disk sync instead of one each. What the file
    // cannot take then waits, like any record.
    class Batch
    {
    public:
        explicit Batch(DatabaseManager *db) : m_db(db) { ++m_db->m_batchDepth; }
        ~Batch() { m_db->endBatch(); }
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;

    private:
        DatabaseManager *m_db;
    };

    // axis, current_value, min_value, max_value, time_plus, time_less, speed, s_speed,
    // s_direction, torqueout: exactly ten values.
    bool updateServoDebug(const QList<int> &values);

    // Key/value settings tables (the configuration groups and config_params). A key whose read
    // failed is not saved over until a later read succeeds: the default it read as is not the
    // user's value.
    QString takeConfig(const QString &table, const QString &key, const QString &defVal);
    bool saveConfig(const QString &table, const QString &key, const QString &value);

    // Stores what waits, and reads what could not be read; the retry timer calls it.
    void retryStorage();

    // Lets tests reach the work-record cap without 100000 rows.
    void setWorkRecordLimit(int limit) { m_workRecordLimit = limit; }

public slots:
    void onDeviceChanged(DeviceEnum devType);

signals:
    void devChangedSignal(DeviceEnum devType);
    // Records were stored, queued or reloaded: the pages redraw their lists and warnings.
    void storageChanged();
    // The work records a device change started to read are in the list (or the read failed): once
    // per read, after its end, also when something has waited for it meanwhile.
    void workRecordsRead();
    // The accounts and record lists were read again: once the file could be read after a start
    // that could not read it, or another file took the place of the one read, or the work records
    // could be read after a device change that could not (the record lists then). Pages that show
    // a list whole show it again.
    void listsReloaded();

private:
    // One read of a record table, on whichever thread owns the connection.
    struct RecordRead {
        RecordList rows;
        bool ok = false;
        QSqlError error;
        QString failedSql;   // empty: the statement ran, reading its rows failed
    };

    // A record that could not be stored yet. Its id is provisional while the table's ids are unknown.
    struct Pending {
        QString table;
        RecordRow row;
        bool provisionalId = false;
    };

    DatabaseManager();

    static QString kAlarmTable();
    QSqlDatabase database() const;
    bool openDatabase(const QString &path);
    bool probe();
    bool writeLockFree();
    bool prepareFile();
    bool upgradeUserTables();
    // The id of a record table as a number, in SQL.
    QString idOf(const QString &table) const;
    bool updateDefinitions();
    bool loadAll();
    bool canWrite();
    void noteFailure(const QSqlError &error);
    void setHeld(bool held);
    void applyBusyTimeout();
    QString reasonText(const QSqlError &error) const;
    bool execute(const QString &sql, const QVariantList &values = QVariantList(),
                 int *rowsAffected = nullptr, QVariant *insertedRow = nullptr);
    bool loadTable(const QString &table, QList<RecordItem> &rows, QList<qint64> *rowIds = nullptr);
    static bool readNewest(const QSqlDatabase &db, const QString &table, int limit, bool packed, RecordRead &read,
                           bool *packedOk);
    static RecordRead readRecords(const QSqlDatabase &db, const QString &table, int limit, const QStringList &columns);
    static RecordRead readRecordsAside(const QString &path, const QString &connection, const QString &table, int limit,
                                       int busyTimeoutMs);
    bool takeRecords(const QString &table, int limit, RecordRead read, RecordList &list);
    bool loadRecords(const QString &table, int limit, RecordList &list);
    void loadKind(ListKind kind);
    void workListRead(const QString &table, bool ok);
    void startWorkLoad();
    void joinWorkLoad() const;
    void finishWorkLoad();
    void finishReadyWorkLoad(int load);
    int trimSurplus(const RecordList &list, const QString &table, int limit) const;
    bool deleteBelow(const QString &table, qint64 id, int limit = 0, int *rows = nullptr);
    void planTrim(RecordList &list, const QString &table, int limit, QVector<std::function<void()>> *afterCommit);
    void trimStep();
    void forgetTrim(const QString &table);
    bool readNextId(const QString &table);
    bool addRecord(const QString &table, RecordList &list, QStringList fields);
    bool storePending();
    bool reloadRecordLists();
    void scheduleRetry();
    void dropPending(const QString &table);
    void endBatch();
    bool writeKeyValue(const QString &key, const QString &value);
    int pendingCount(const QString &table) const;
    static quint64 countOf(const QString &text);
    RecordList *listOf(const QString &table);
    static QVariantList accountValues(const RecordItem &record);
    static bool isConfigTable(const QString &table);

    bool m_open = false;
    bool m_loaded = false;
    bool m_loadFailed = false;
    bool m_workLoaded = true;
    bool m_accountsLoaded = false;
    bool m_keyValuesLoaded = false;
    // A store found the file deleted, replaced or read-only: the next retry opens it again.
    bool m_reopen = false;
    // Another program holds the file: statements fail at once instead of waiting for it on the
    // window's thread, until a retry finds it free.
    bool m_held = false;
    // The file the lists were read from, told apart from one put in its place.
    QByteArray m_fileIdentity;
    bool m_fileChanged = false;
    QString m_startupProblem;
    mutable QSqlError m_lastError;
    DeviceEnum m_currentDevice = NoDevice;
    int m_workRecordLimit = kWorkRecordLimit;
    // Device type -> table per list kind.
    QHash<int, QStringList> m_tables;

    QList<RecordItem> m_servoParams;
    QList<RecordItem> m_appParams;
    QList<RecordItem> m_accounts;
    // The stored row of each account-list entry, in step with it.
    QList<qint64> m_accountRows;
    RecordList m_alarmRecords;
    RecordList m_workRecords;
    QList<RecordItem> m_alarmDetails;
    QList<RecordItem> m_servoStatus;
    QList<RecordItem> m_servoDebugRows;
    QMap<QString, QString> m_keyValues;
    QSet<QString> m_unreadConfig;
    // Record tables of older files whose ids are declared as text; known once the columns are read.
    QSet<QString> m_textIds;
    bool m_idColumnsKnown = false;
    // Table -> next id to give; absent while the table's ids could not be read.
    QHash<QString, qint64> m_nextId;
    QVector<Pending> m_pending;
    // Key values saved in a batch, or whose batch the file could not take yet.
    QMap<QString, QString> m_pendingKeyValues;
    // Steps added to counts while the key values could not be read.
    QMap<QString, quint64> m_keyValueSteps;
    int m_batchDepth = 0;
    bool m_batchAdded = false;
    QTimer m_retryTimer;
    // Tables whose list was full when read: older rows may lie behind it.
    QSet<QString> m_olderRows;
    // Table -> the oldest id kept; the rows below it are deleted in steps by m_trimTimer.
    QMap<QString, qint64> m_trimBelow;
    QTimer m_trimTimer;
    int m_trimChunk = 5000;
    // The work records of a device change, read on a connection of their own in another thread.
    // Whatever reads or changes the list, or writes to the file, waits for it first.
    std::future<RecordRead> m_workLoad;
    QString m_workLoadTable;
    int m_workLoadLimit = 0;
    int m_workLoadNumber = 0;   // of the newest read started

    static DatabaseManager *s_instance;
    static QString s_databasePath;
};

#endif // DATABASEMANAGER_H
