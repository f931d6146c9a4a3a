#include "data/databasemanager.h"

#include "comm/comsettingsframe.h"
#include "data/sqlscript.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <system_error>
#include <utility>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

// The resources live in a static library: nothing else references them, so pull them in here.
static void initResources()
{
    static bool done = false;
    if (!done) {
        Q_INIT_RESOURCE(servomonitor);
        done = true;
    }
}

namespace {
const char kConnection[] = "DatabaseManager";
const QString kTimeFormat = QStringLiteral("yyyy/MM/dd hh:mm:ss");
const QString kAccountTable = QStringLiteral("account_infos");
const QString kKeyValueTable = QStringLiteral("keyvalue_table");
// Long enough for another program's short write to finish, short enough not to hold the window.
const int kBusyTimeoutMs = 150;
const int kRetryIntervalMs = 2000;
// A deferred trim deletes for about kTrimStepMs per step, well under what a person notices.
const int kTrimStepMs = 20;
const int kTrimIntervalMs = 10;
const int kMinTrimChunk = 500;
const int kMaxTrimChunk = 200000;
const int kInlineTrimRows = 100;

std::function<void()> &workReadGate()
{
    static std::function<void()> gate;
    return gate;
}

const QStringList &alarmColumns()
{
    static const QStringList columns = { QStringLiteral("id"), QStringLiteral("number"), QStringLiteral("time") };
    return columns;
}

const QStringList &workColumns()
{
    static const QStringList columns = { QStringLiteral("id"), QStringLiteral("task"), QStringLiteral("turns"),
                                         QStringLiteral("torque"), QStringLiteral("usedTime"),
                                         QStringLiteral("status"), QStringLiteral("time"),
                                         QStringLiteral("alarm"), QStringLiteral("description") };
    return columns;
}

// Every column of the user tables, so that a file made by an older program gets the ones it lacks.
struct UserColumn {
    const char *table;
    const char *column;
    const char *declaration;
};
const UserColumn kUserColumns[] = {
    { "account_infos", "account", "TEXT NOT NULL DEFAULT ''" },
    { "account_infos", "password", "TEXT NOT NULL DEFAULT ''" },
    { "account_infos", "device", "TEXT NOT NULL DEFAULT ''" },
    { "account_infos", "permission", "TEXT NOT NULL DEFAULT ''" },
    { "alarm_records", "id", "INTEGER" },
    { "alarm_records", "number", "TEXT" },
    { "alarm_records", "time", "TEXT" },
    { "workRecords_sdriver", "id", "INTEGER" },
    { "workRecords_sdriver", "task", "TEXT" },
    { "workRecords_sdriver", "turns", "TEXT" },
    { "workRecords_sdriver", "torque", "TEXT" },
    { "workRecords_sdriver", "usedTime", "TEXT" },
    { "workRecords_sdriver", "status", "TEXT" },
    { "workRecords_sdriver", "time", "TEXT" },
    { "workRecords_sdriver", "alarm", "TEXT" },
    { "workRecords_sdriver", "description", "TEXT DEFAULT 'none'" },
};
// Trimming deletes by id; without an index each trim reads the whole table.
const char *const kRecordTables[] = { "alarm_records", "workRecords_sdriver" };

// PRAGMA user_version is a signed 32-bit value and 0 marks a new file.
int definitionVersion(const QString &text)
{
    const QByteArray digest = QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha1);
    quint32 v = 0;
    for (int i = 0; i < 4; ++i)
        v = (v << 8) | quint8(digest.at(i));
    v &= 0x7FFFFFFFu;
    return v == 0 ? 1 : int(v);
}

// After these the connection no longer reaches a usable file at the path: it was deleted, replaced
// or made read-only under the program. A new connection finds whatever is there now.
// SQLite's primary result code of a failure, -1 where it gave none.
int primaryCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok) & 0xFF;
    return ok ? code : -1;
}

bool lostFile(const QSqlError &error)
{
    const int code = primaryCode(error);
    return code == 8 /* SQLITE_READONLY */ || code == 10 /* SQLITE_IOERR */ || code == 14 /* SQLITE_CANTOPEN */;
}

// Tells the file at a path from another one put in its place; empty where that cannot be told.
QByteArray fileIdentity(const QString &path)
{
#ifdef Q_OS_UNIX
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) == 0)
        return QByteArray::number(qulonglong(info.st_dev)) + ':' + QByteArray::number(qulonglong(info.st_ino));
#else
    Q_UNUSED(path)
#endif
    return QByteArray();
}
} // namespace

DatabaseManager *DatabaseManager::s_instance = nullptr;
QString DatabaseManager::s_databasePath;

DatabaseManager *DatabaseManager::instance()
{
    if (!s_instance) {
        s_instance = new DatabaseManager;
        // The connection must close before the application object and its SQL driver go away.
        qAddPostRoutine(&DatabaseManager::resetInstance);
    }
    return s_instance;
}

void DatabaseManager::setDatabasePath(const QString &path)
{
    s_databasePath = path;
}

QString DatabaseManager::databasePath()
{
    if (!s_databasePath.isEmpty())
        return s_databasePath;
    return QCoreApplication::applicationDirPath() + QStringLiteral("/./Resource/Storage/ServoDataBase");
}

void DatabaseManager::resetInstance()
{
    qRemovePostRoutine(&DatabaseManager::resetInstance);
    delete s_instance;
    s_instance = nullptr;
}

DatabaseManager::DatabaseManager()
    : m_alarmRecords(alarmColumns())
    , m_workRecords(workColumns())
{
    initResources();
    qRegisterMetaType<DeviceEnum>("DeviceEnum");
    const QString params0 = QStringLiteral("servo_params");
    m_tables.insert(SdriverDevice, { params0, QStringLiteral("appParams_sdriver"), QStringLiteral("workRecords_sdriver") });
    m_tables.insert(HighVoltServo, { params0, QString(), QString() });
    m_tables.insert(LowVoltServo, { QStringLiteral("servo_params2"), QString(), QString() });
    m_tables.insert(TrelvoxServo, { QStringLiteral("servo_params3"), QString(), QString() });
    m_tables.insert(NoDevice, { params0, QString(), QString() });
    m_retryTimer.setInterval(kRetryIntervalMs);
    connect(&m_retryTimer, &QTimer::timeout, this, &DatabaseManager::retryStorage);
    m_trimTimer.setInterval(kTrimIntervalMs);
    connect(&m_trimTimer, &QTimer::timeout, this, &DatabaseManager::trimStep);

    const QString path = databasePath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        // A fresh install may lack the Storage folder; SQLite does not create folders.
        qWarning() << "Cannot create the folder of" << path;
        m_startupProblem = tr("The database file %1 cannot be used: its folder cannot be created.\n"
                              "The program goes on without stored accounts, records and settings.")
                               .arg(QDir::toNativeSeparators(path));
        return;
    }
    const bool readable = openDatabase(path);
    m_open = readable && prepareFile();
    m_fileIdentity = fileIdentity(path);
    // Whatever can be read is read, even when the file cannot be written now.
    m_loaded = readable && loadAll();
    const bool writable = m_open && canWrite();
    m_reopen = m_open && !writable && lostFile(m_lastError);
    if (!m_open || !m_loaded || !writable) {
        m_startupProblem = tr("The database file %1 cannot be used: %2.\n"
                              "What cannot be read shows as empty or default and no setting is saved over it; "
                              "new records are kept and stored as soon as the file takes them again.")
                               .arg(QDir::toNativeSeparators(path), reasonText(m_lastError));
        scheduleRetry();
    }
}

DatabaseManager::~DatabaseManager()
{
    if (m_workLoad.valid())
        m_workLoad.wait();
    if (s_instance == this)
        s_instance = nullptr;
    if (!m_pending.isEmpty() || !m_pendingKeyValues.isEmpty() || !m_keyValueSteps.isEmpty())
        qWarning() << m_pending.size() << "records and" << m_pendingKeyValues.size() + m_keyValueSteps.size()
                   << "key values could not be stored before the program ended";
    {
        QSqlDatabase db = database();
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(kConnection));
}

QString DatabaseManager::kAlarmTable()
{
    return QStringLiteral("alarm_records");
}

bool DatabaseManager::isOpen() const
{
    return m_open;
}

int DatabaseManager::pendingRecords() const
{
    // Counters that came with a record are stored with it, and lost with it.
    if (m_pending.isEmpty() && (!m_pendingKeyValues.isEmpty() || !m_keyValueSteps.isEmpty()))
        return 1;
    return m_pending.size();
}

int DatabaseManager::pendingWorkRecords() const
{
    return pendingCount(tableName(m_currentDevice, WorkRecordKind));
}

QString DatabaseManager::tableName(DeviceEnum devType, ListKind kind) const
{
    return m_tables.value(devType).value(kind);
}

QSqlDatabase DatabaseManager::database() const
{
    return QSqlDatabase::database(QLatin1String(kConnection), false);
}

bool DatabaseManager::openDatabase(const QString &path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(kConnection));
    db.setDatabaseName(path);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
    if (!db.open()) {
        noteFailure(db.lastError());
        qWarning() << "Cannot open database" << path << db.lastError().text();
        return false;
    }
    return probe();
}

// One quick read. While another program holds the file it fails after one busy time-out, and
// nothing more is tried: each further statement would wait as long again.
bool DatabaseManager::probe()
{
    return execute(QStringLiteral("SELECT count(*) FROM sqlite_master"));
}

// The write lock, taken and given back at once: a read alone passes while another program holds
// the file for writing.
bool DatabaseManager::writeLockFree()
{
    if (!execute(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    database().rollback();
    return true;
}

// Tables, missing columns and indexes, then the definitions: all of it leaves the user's rows alone.
bool DatabaseManager::prepareFile()
{
    // A kept journal spares each commit creating and deleting it, and the folder sync that goes
    // with that; the data is synced as before. Only speed depends on it, so a refusal is ignored.
    execute(QStringLiteral("PRAGMA journal_mode = PERSIST"));
    const QString schema = SqlScript::readFile(QStringLiteral(":/sql/schema.sql"));
    QSqlError error;
    if (schema.isEmpty() || !SqlScript::run(database(), schema, &error)) {
        noteFailure(error);
        qWarning() << "Cannot create the tables of" << database().databaseName();
        return false;
    }
    return upgradeUserTables() && updateDefinitions();
}

bool DatabaseManager::upgradeUserTables()
{
    m_textIds.clear();
    m_idColumnsKnown = false;
    // Every table's columns are read before any is changed: the ids can be read right even when
    // a change cannot be made now.
    QHash<QString, QStringList> present;
    for (const UserColumn &c : kUserColumns) {
        const QString table = QLatin1String(c.table);
        if (present.contains(table))
            continue;
        QSqlQuery query(database());
        if (!query.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table))) {
            noteFailure(query.lastError());
            qWarning() << "Cannot read the columns of" << table << query.lastError().text();
            return false;
        }
        QStringList names;
        while (query.next()) {
            names << query.value(1).toString();
            // An older file may declare its ids as text, which sorts '10' before '9'.
            if (query.value(1).toString().compare(QLatin1String("id"), Qt::CaseInsensitive) == 0
                && !query.value(2).toString().contains(QLatin1String("INT"), Qt::CaseInsensitive))
                m_textIds.insert(table);
        }
        present.insert(table, names);
    }
    m_idColumnsKnown = true;
    for (const UserColumn &c : kUserColumns) {
        const QString table = QLatin1String(c.table);
        if (present.value(table).contains(QLatin1String(c.column), Qt::CaseInsensitive))
            continue;
        qWarning() << "Adding the missing column" << c.column << "to" << table;
        if (!execute(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3").arg(table, QLatin1String(c.column), QLatin1String(c.declaration))))
            return false;
    }
    for (const char *name : kRecordTables) {
        const QString table = QLatin1String(name);
        if (!execute(QStringLiteral("CREATE INDEX IF NOT EXISTS %1_id ON %1 (id)").arg(table)))
            return false;
        // Text ids are compared as numbers; the trims need that comparison indexed too.
        if (m_textIds.contains(table)
            && !execute(QStringLiteral("CREATE INDEX IF NOT EXISTS %1_id_number ON %1 (%2)").arg(table, idOf(table))))
            return false;
    }
    return true;
}

QString DatabaseManager::idOf(const QString &table) const
{
    return m_textIds.contains(table) ? QStringLiteral("CAST(id AS INTEGER)") : QStringLiteral("id");
}

// The definition tables are replaced whenever their SQL text differs from the one the file was
// filled from; the user's tables are never part of these files.
bool DatabaseManager::updateDefinitions()
{
    QSqlDatabase db = database();
    const QStringList files =
        QDir(QStringLiteral(":/sql")).entryList({ QStringLiteral("def_*.sql") }, QDir::Files, QDir::Name);
    if (files.isEmpty()) {
        qWarning() << "No definition SQL in the resources";
        return false;
    }
    QStringList scripts;
    for (const QString &file : files) {
        const QString text = SqlScript::readFile(QStringLiteral(":/sql/") + file);
        if (text.isEmpty())
            return false;
        scripts << text;
    }
    const int version = definitionVersion(scripts.join(QLatin1Char('\n')));

    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("PRAGMA user_version")) || !query.exec() || !query.next()) {
        noteFailure(query.lastError());
        qWarning() << "Cannot read the definition version:" << query.lastError().text();
        return false;
    }
    if (query.value(0).toInt() == version)
        return true;
    query.finish();

    if (!db.transaction()) {
        noteFailure(db.lastError());
        qWarning() << "Cannot start the definition update:" << db.lastError().text();
        return false;
    }
    bool ok = true;
    for (int i = 0; ok && i < scripts.size(); ++i) {
        QSqlError error;
        ok = SqlScript::run(db, scripts.at(i), &error);
        if (!ok)
            noteFailure(error);
        if (!ok)
            qWarning() << "Definition file failed:" << files.at(i);
    }
    // A pragma value cannot be bound; it is our own integer.
    ok = ok && execute(QStringLiteral("PRAGMA user_version = %1").arg(version));
    if (!ok || !db.commit()) {
        noteFailure(db.lastError());
        qWarning() << "Definition update rolled back:" << db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}

// Every list, each from its own statement; one that fails is read again later.
bool DatabaseManager::loadAll()
{
    m_loadFailed = false;
    loadKind(ServoParamKind);
    bool ok = true;
    m_accountsLoaded = loadTable(kAccountTable, m_accounts, &m_accountRows);
    ok = m_accountsLoaded && ok;
    ok = loadRecords(kAlarmTable(), kAlarmRecordLimit, m_alarmRecords) && ok;
    ok = loadTable(QStringLiteral("alarm_details"), m_alarmDetails) && ok;
    ok = loadTable(QStringLiteral("servo_status"), m_servoStatus) && ok;
    ok = loadTable(QStringLiteral("servo_debug_mt4c"), m_servoDebugRows) && ok;
    QList<RecordItem> keyValues;
    m_keyValuesLoaded = loadTable(kKeyValueTable, keyValues);
    ok = m_keyValuesLoaded && ok;
    m_keyValues.clear();
    for (const RecordItem &row : qAsConst(keyValues))
        m_keyValues.insert(row.value(QStringLiteral("key")).toString(), row.value(QStringLiteral("value")).toString());
    if (m_keyValuesLoaded) {
        // Counted while the stored values could not be read: added to them now, and stored.
        for (auto it = m_keyValueSteps.cbegin(); it != m_keyValueSteps.cend(); ++it)
            m_pendingKeyValues.insert(it.key(), QString::number(countOf(m_keyValues.value(it.key())) + it.value()));
        m_keyValueSteps.clear();
    }
    if (m_currentDevice != NoDevice) {
        loadKind(AppParamKind);
        loadKind(WorkRecordKind);
        ok = ok && m_workLoaded;
    }
    return ok && !m_loadFailed;
}

// Asks for the write lock, writes the definition version over itself and rolls back: a file that
// another program holds, or that cannot be written, says so here rather than at the first record.
// A read-only file grants the lock; only a write finds it out.
bool DatabaseManager::canWrite()
{
    if (!execute(QStringLiteral("BEGIN IMMEDIATE")))
        return false;
    int version = 0;
    bool ok = false;
    {
        QSqlQuery query(database());
        ok = query.exec(QStringLiteral("PRAGMA user_version")) && query.next();
        if (ok)
            version = query.value(0).toInt();
        else
            noteFailure(query.lastError());
    }
    // A pragma value cannot be bound; it is the file's own integer.
    ok = ok && execute(QStringLiteral("PRAGMA user_version = %1").arg(version));
    // SQLite may have ended the transaction itself (a full disk does): the rollback then fails
    // too, and its error must not replace the one that says why.
    database().rollback();
    return ok;
}

void DatabaseManager::noteFailure(const QSqlError &error)
{
    if (!error.isValid())
        return;
    m_lastError = error;
    const int code = primaryCode(error);
    if (code == 5 /* SQLITE_BUSY */ || code == 6 /* SQLITE_LOCKED */)
        setHeld(true);
}

// The busy time-out lets another program's short write end while a statement waits. Once the
// file is found held for longer, each statement would wait it out in full, several to one click
// or tightening: they fail at once instead, and the retries alone look for the file to be free.
void DatabaseManager::setHeld(bool held)
{
    if (m_held == held)
        return;
    m_held = held;
    applyBusyTimeout();
    if (held)
        scheduleRetry();
}

// The connection starts with the full time-out, also when it is opened again.
void DatabaseManager::applyBusyTimeout()
{
    QSqlDatabase db = database();
    if (db.isOpen())
        QSqlQuery(db).exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(m_held ? 0 : kBusyTimeoutMs));
}

QString DatabaseManager::reasonText(const QSqlError &error) const
{
    switch (primaryCode(error)) {
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        return tr("another program is using it");
    case 3: // SQLITE_PERM
    case 8: // SQLITE_READONLY
        return tr("it is read-only");
    case 11: // SQLITE_CORRUPT
    case 26: // SQLITE_NOTADB
        return tr("it is damaged or not a database");
    case 13: // SQLITE_FULL
        return tr("the disk is full");
    case 10: // SQLITE_IOERR
    case 14: // SQLITE_CANTOPEN
        return tr("it cannot be opened or read");
    default:
        break;
    }
    const QString text = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    return text.trimmed().isEmpty() ? tr("it cannot be read") : text.trimmed();
}

bool DatabaseManager::execute(const QString &sql, const QVariantList &values, int *rowsAffected,
                              QVariant *insertedRow)
{
    // A write waits for the other connection's read to end; waiting here rather than in SQLite
    // keeps it from failing after the busy timeout.
    joinWorkLoad();
    QSqlQuery query(database());
    bool ok = query.prepare(sql);
    if (ok) {
        for (const QVariant &value : values) {
            // A null text would bind as SQL NULL, which the NOT NULL text columns refuse; the
            // program means an empty text.
            const bool nullText = value.userType() == QMetaType::QString && value.toString().isNull();
            query.addBindValue(nullText ? QVariant(QStringLiteral("")) : value);
        }
        ok = query.exec();
    }
    if (!ok) {
        noteFailure(query.lastError());
        qWarning() << "SQL statement failed:" << sql << values << "query.lastError:" << query.lastError().text();
        return false;
    }
    if (rowsAffected)
        *rowsAffected = query.numRowsAffected();
    if (insertedRow)
        *insertedRow = query.lastInsertId();
    return true;
}

// Table names come only from this class's fixed list, never from user text. On failure the rows
// are left as they were. With rowIds, each row's own stored row number goes there, in step.
bool DatabaseManager::loadTable(const QString &table, QList<RecordItem> &rows, QList<qint64> *rowIds)
{
    QSqlQuery query(database());
    query.setForwardOnly(true);
    const QString sql = QStringLiteral("SELECT %1* FROM %2 ORDER BY rowid").arg(rowIds ? QStringLiteral("rowid, ") : QString(), table);
    if (!query.prepare(sql) || !query.exec()) {
        noteFailure(query.lastError());
        qWarning() << "SQL statement failed:" << sql << "query.lastError:" << query.lastError().text();
        return false;
    }
    QList<RecordItem> loaded;
    QList<qint64> loadedIds;
    const QSqlRecord record = query.record();
    const int first = rowIds ? 1 : 0;
    while (query.next()) {
        RecordItem row;
        for (int i = first; i < record.count(); ++i)
            row.insert(record.fieldName(i), query.value(i).toString());
        loaded.append(row);
        if (rowIds)
            loadedIds.append(query.value(0).toLongLong());
    }
    if (query.lastError().isValid()) {
        noteFailure(query.lastError());
        qWarning() << "Reading" << table << "failed:" << query.lastError().text();
        return false;
    }
    rows = loaded;
    if (rowIds)
        *rowIds = loadedIds;
    return true;
}

namespace {
// A row as one UTF-8 blob in RecordRow's layout: a placeholder per column, then the fields joined
// by the separator. One value per row from the driver, with no text conversion inside SQLite, is
// most of what makes a large table load fast; printf builds it with one buffer per row where a
// chain of || would allocate once per operator.
QString packedRowSql(const QStringList &columns)
{
    const QString format = QString(columns.size(), QLatin1Char('_'))
        + QStringList(QVector<QString>(columns.size(), QStringLiteral("%s")).toList()).join(RecordRow::kSeparator);
    return QStringLiteral("CAST(printf('%1', %2) AS BLOB)").arg(format, columns.join(QStringLiteral(", ")));
}
} // namespace

// The newest `limit` rows, newest first. With `packed`, false and `packedOk` cleared when a row
// cannot be taken apart (a field holding the separator, or too long); the caller then reads the
// table field by field. Touches nothing but `db` and `read`, so any thread may run it.
bool DatabaseManager::readNewest(const QSqlDatabase &db, const QString &table, int limit, bool packed,
                                 RecordRead &read, bool *packedOk)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    RecordList &rows = read.rows;
    const QStringList &columns = rows.columns();
    const QString sql = QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid DESC LIMIT %3")
                            .arg(packed ? packedRowSql(columns) : columns.join(QStringLiteral(", ")), table)
                            .arg(limit);
    if (!query.prepare(sql) || !query.exec()) {
        read.error = query.lastError();
        read.failedSql = sql;
        return false;
    }
    rows.reserve(limit);
    QVector<QString> fields(columns.size());
    while (query.next()) {
        if (packed) {
            const RecordRow row = RecordRow::fromText(columns, QString::fromUtf8(query.value(0).toByteArray()));
            if (row.isNull()) {
                *packedOk = false;
                return false;
            }
            rows.append(row);
            continue;
        }
        for (int i = 0; i < columns.size(); ++i)
            fields[i] = query.value(i).toString();
        rows.append(RecordRow::fromFields(columns, fields.constData()));
    }
    if (query.lastError().isValid()) {
        read.error = query.lastError();
        return false;
    }
    return true;
}

DatabaseManager::RecordRead DatabaseManager::readRecords(const QSqlDatabase &db, const QString &table, int limit,
                                                         const QStringList &columns)
{
    RecordRead read;
    read.rows = RecordList(columns);
    bool packedOk = true;
    read.ok = readNewest(db, table, limit, true, read, &packedOk);
    if (!read.ok && !packedOk) {
        read.rows = RecordList(columns);
        read.ok = readNewest(db, table, limit, false, read, &packedOk);
    }
    return read;
}

// Runs in a thread of its own: a connection is used only by the thread that made it.
DatabaseManager::RecordRead DatabaseManager::readRecordsAside(const QString &path, const QString &connection,
                                                              const QString &table, int limit, int busyTimeoutMs)
{
    RecordRead read;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
        if (db.open())
            read = readRecords(db, table, limit, workColumns());
        else
            read.error = db.lastError();
        db.close();
    }
    QSqlDatabase::removeDatabase(connection);
    return read;
}

// The rows read, oldest first, then what waits to be stored in that table. Older rows past the
// limit are left for the next add to trim. On failure the list is left as it was.
bool DatabaseManager::takeRecords(const QString &table, int limit, RecordRead read, RecordList &list)
{
    if (!read.ok) {
        noteFailure(read.error);
        if (read.failedSql.isEmpty())
            qWarning() << "Reading" << table << "failed:" << read.error.text();
        else
            qWarning() << "SQL statement failed:" << read.failedSql << "query.lastError:" << read.error.text();
        return false;
    }
    RecordList &loaded = read.rows;
    // A full list may have older rows behind it that were never read: the first trim takes them
    // in steps rather than in one long delete.
    if (loaded.size() >= limit)
        m_olderRows.insert(table);
    else
        m_olderRows.remove(table);
    loaded.reverse();
    // Until the file's id columns are known the ids are not read: what waits keeps a provisional
    // id, which the read that follows them puts right.
    if (m_idColumnsKnown && !readNextId(table))
        return false;
    for (const Pending &p : qAsConst(m_pending)) {
        if (p.table == table)
            loaded.append(p.row);
    }
    list = loaded;
    return true;
}

bool DatabaseManager::loadRecords(const QString &table, int limit, RecordList &list)
{
    return takeRecords(table, limit, readRecords(database(), table, limit, list.columns()), list);
}

void DatabaseManager::loadKind(ListKind kind)
{
    const QString table = tableName(m_currentDevice, kind);
    if (kind == WorkRecordKind) {
        m_workRecords.clear();
        workListRead(table, table.isEmpty() || loadRecords(table, m_workRecordLimit, m_workRecords));
        return;
    }
    QList<RecordItem> rows;
    if (!table.isEmpty() && !loadTable(table, rows)) {
        m_loadFailed = true;
        scheduleRetry();
    }
    switch (kind) {
    case ServoParamKind:
        m_servoParams = rows;
        break;
    case AppParamKind:
        m_appParams = rows;
        break;
    case WorkRecordKind:
        break;
    }
}

void DatabaseManager::workListRead(const QString &table, bool ok)
{
    m_workLoaded = ok;
    if (ok)
        return;
    // What waits for this table is still shown.
    for (const Pending &p : qAsConst(m_pending)) {
        if (p.table == table)
            m_workRecords.append(p.row);
    }
    scheduleRetry();
}

// A hundred thousand records take a quarter of a second to read: long enough to hold the start.
// They are read on a second connection while the window is built; a file that is not usable now
// is read here, which fails as quickly as it does elsewhere.
void DatabaseManager::startWorkLoad()
{
    const QString table = tableName(m_currentDevice, WorkRecordKind);
    if (table.isEmpty() || !m_open) {
        loadKind(WorkRecordKind);
        return;
    }
    const int load = ++m_workLoadNumber;
    const QString connection = QStringLiteral("%1-records%2").arg(QLatin1String(kConnection)).arg(load);
    m_workLoadTable = table;
    m_workLoadLimit = m_workRecordLimit;
    const QString path = database().databaseName();
    const int limit = m_workRecordLimit;
    const std::function<void()> gate = workReadGate();
    // The window's thread waits for this read as soon as it needs the list.
    const int busyTimeoutMs = m_held ? 0 : kBusyTimeoutMs;
    try {
        m_workLoad = std::async(std::launch::async, [this, path, connection, table, limit, load, gate, busyTimeoutMs] {
            if (gate)
                gate();
            RecordRead read = readRecordsAside(path, connection, table, limit, busyTimeoutMs);
            // Taken in as soon as the window's thread is free, also when nothing asks for the
            // list: a failed read starts the retries then, as a read in that thread would.
            QMetaObject::invokeMethod(this, [this, load] { finishReadyWorkLoad(load); }, Qt::QueuedConnection);
            return read;
        });
    } catch (const std::system_error &error) {
        qWarning() << "No thread to read the work records in, reading them here:" << error.what();
        loadKind(WorkRecordKind);
    }
}

// The list any caller sees is exactly what a read in this thread would have given; it was only
// made elsewhere. Filling it in changes nothing a caller could tell from a list already read.
void DatabaseManager::joinWorkLoad() const
{
    if (m_workLoad.valid())
        const_cast<DatabaseManager *>(this)->finishWorkLoad();
}

// Read number load has ended; it may still be returning its rows, which takes no time to wait
// for. A newer read started since is not waited for here: it reports its own end.
void DatabaseManager::finishReadyWorkLoad(int load)
{
    if (load != m_workLoadNumber)
        return;
    if (m_workLoad.valid())
        finishWorkLoad();
    emit workRecordsRead();
}

void DatabaseManager::finishWorkLoad()
{
    RecordRead read = m_workLoad.get();
    workListRead(m_workLoadTable, takeRecords(m_workLoadTable, m_workLoadLimit, std::move(read), m_workRecords));
}

void DatabaseManager::setWorkReadGateForTest(std::function<void()> gate)
{
    workReadGate() = std::move(gate);
}

const RecordList &DatabaseManager::workRecords() const
{
    joinWorkLoad();
    return m_workRecords;
}

const QStringList &DatabaseManager::workRecordColumns()
{
    return workColumns();
}

void DatabaseManager::onDeviceChanged(DeviceEnum devType)
{
    joinWorkLoad();
    m_currentDevice = devType;
    m_appParams.clear();
    m_workRecords.clear();
    if (devType != NoDevice && (m_loaded || probe())) {
        loadKind(ServoParamKind);
        loadKind(AppParamKind);
        startWorkLoad();
    } else if (devType != NoDevice) {
        // Not read since the start and held now: the retries read this type's lists with the rest,
        // where each read here would only wait for the file.
        m_servoParams.clear();
        const QString table = tableName(devType, WorkRecordKind);
        workListRead(table, table.isEmpty());
    }
    emit devChangedSignal(devType);
}

void DatabaseManager::setLanguage(int index)
{
    // The program-wide type: at start-up the language is applied before the first broadcast reaches us.
    if (ComSettingsFrame::currentDevice() != TrelvoxServo || index < 0 || index > 1)
        return;
    m_tables[TrelvoxServo][ServoParamKind] = index == 0 ? QStringLiteral("servo_params3") : QStringLiteral("servo_params4");
    QList<RecordItem> rows;
    loadTable(tableName(TrelvoxServo, ServoParamKind), rows);
    m_servoParams = rows;
    emit devChangedSignal(TrelvoxServo);
}

int DatabaseManager::indexOfAccount(const QString &account) const
{
    for (int i = 0; i < m_accounts.size(); ++i) {
        if (m_accounts.at(i).value(QStringLiteral("account")).toString() == account)
            return i;
    }
    return -1;
}

RecordItem DatabaseManager::findAccount(const QString &account) const
{
    for (int i = m_accounts.size() - 1; i >= 0; --i) {
        if (m_accounts.at(i).value(QStringLiteral("account")).toString() == account)
            return m_accounts.at(i);
    }
    return RecordItem();
}

bool DatabaseManager::saveAccountInfo(RecordItem &record)
{
    const int index = indexOfAccount(record.value(QStringLiteral("account")).toString());
    if (index >= 0)
        return saveAccountAt(index, record);
    // Without the stored accounts an insert could duplicate one.
    if (!m_accountsLoaded) {
        qWarning() << "Accounts were not read; account not saved";
        return false;
    }
    QVariant row;
    if (!execute(QStringLiteral("INSERT INTO account_infos (account, password, device, permission) VALUES (?, ?, ?, ?)"),
                 accountValues(record), nullptr, &row))
        return false;
    m_accounts.append(record);
    m_accountRows.append(row.toLongLong());
    return true;
}

// The entry's own row, and only while it still holds the entry's name: a file written elsewhere
// may hold one name twice, and a file replaced meanwhile may hold another account in that row.
bool DatabaseManager::saveAccountAt(int index, const RecordItem &record)
{
    if (!m_accountsLoaded || index < 0 || index >= m_accounts.size()) {
        qWarning() << "No account" << index << "to save";
        return false;
    }
    const QString stored = m_accounts.at(index).value(QStringLiteral("account")).toString();
    int rows = 0;
    if (!execute(QStringLiteral("UPDATE account_infos SET account = ?, password = ?, device = ?, permission = ? "
                                "WHERE rowid = ? AND account = ?"),
                 accountValues(record) << m_accountRows.at(index) << stored, &rows))
        return false;
    if (rows == 0) {
        qWarning() << "Account" << stored << "is no longer in" << database().databaseName() << "; not saved";
        return false;
    }
    m_accounts[index] = record;
    return true;
}

bool DatabaseManager::deleteAccountInfo(const QString &account)
{
    const int index = indexOfAccount(account);
    return index >= 0 && deleteAccountAt(index);
}

bool DatabaseManager::deleteAccountAt(int index)
{
    if (index < 0 || index >= m_accounts.size())
        return false;
    const QString stored = m_accounts.at(index).value(QStringLiteral("account")).toString();
    int rows = 0;
    if (!execute(QStringLiteral("DELETE FROM account_infos WHERE rowid = ? AND account = ?"),
                 { m_accountRows.at(index), stored }, &rows))
        return false;
    if (rows == 0) {
        qWarning() << "Account" << stored << "is no longer in" << database().databaseName() << "; not deleted";
        return false;
    }
    m_accounts.removeAt(index);
    m_accountRows.removeAt(index);
    return true;
}

QVariantList DatabaseManager::accountValues(const RecordItem &record)
{
    QVariantList values;
    for (const char *key : { "account", "password", "device", "permission" })
        values << record.value(QLatin1String(key)).toString();
    return values;
}

// Rows of the list past the limit, not counting those waiting to be stored (they are never trimmed).
int DatabaseManager::trimSurplus(const RecordList &list, const QString &table, int limit) const
{
    const int stored = list.size() - pendingCount(table);
    return qMax(0, qMin(list.size() - limit, stored));
}

// The newest rows of a table holding more than the list did are the ones kept, so "below the
// oldest kept" also takes the rows that were never loaded.
bool DatabaseManager::deleteBelow(const QString &table, qint64 id, int limit, int *rows)
{
    if (limit <= 0)
        return execute(QStringLiteral("DELETE FROM %1 WHERE %2 < ?").arg(table, idOf(table)), { id }, rows);
    return execute(QStringLiteral("DELETE FROM %1 WHERE rowid IN (SELECT rowid FROM %1 WHERE %2 < ? ORDER BY %2 LIMIT ?)")
                       .arg(table, idOf(table)),
                   { id, limit }, rows);
}

// A few rows go in the transaction of the add that made them surplus: one disk sync for both. The
// list follows once the transaction is committed.
// More (a table from elsewhere, a first add after start) leave the list at once and the table in
// steps from a timer, so that the window is never held by one long delete.
void DatabaseManager::planTrim(RecordList &list, const QString &table, int limit,
                               QVector<std::function<void()>> *afterCommit)
{
    const int surplus = trimSurplus(list, table, limit);
    if (surplus <= 0)
        return;
    const qint64 keepFrom = list.field(surplus, 0).toLongLong();
    if (surplus <= kInlineTrimRows && !m_olderRows.contains(table) && !m_trimBelow.contains(table)) {
        // A failed delete leaves the inserts of the transaction in place, and the list as the table.
        if (deleteBelow(table, keepFrom))
            afterCommit->append([&list, surplus] { list.removeFirst(surplus); });
        return;
    }
    afterCommit->append([this, &list, table, surplus, keepFrom] {
        list.removeFirst(surplus);
        m_trimBelow.insert(table, qMax(keepFrom, m_trimBelow.value(table)));
        m_trimTimer.start();
    });
}

// One step of a deferred trim: a chunk of the oldest rows, sized to take about kTrimStepMs, in a
// transaction of its own. A failed step leaves its rows for a later one.
void DatabaseManager::trimStep()
{
    joinWorkLoad();
    if (m_trimBelow.isEmpty() || !m_open) {
        m_trimTimer.stop();
        return;
    }
    const QString table = m_trimBelow.constBegin().key();
    QElapsedTimer clock;
    clock.start();
    int rows = 0;
    const int chunk = m_trimChunk;
    if (!deleteBelow(table, m_trimBelow.value(table), chunk, &rows)) {
        m_trimTimer.setInterval(kRetryIntervalMs);
        return;
    }
    m_trimTimer.setInterval(kTrimIntervalMs);
    const qint64 ms = qMax<qint64>(1, clock.elapsed());
    m_trimChunk = int(qBound<qint64>(kMinTrimChunk, qMin<qint64>(2 * qint64(chunk), qint64(chunk) * kTrimStepMs / ms), kMaxTrimChunk));
    if (rows < chunk) {
        m_trimBelow.remove(table);
        m_olderRows.remove(table);
    }
    if (m_trimBelow.isEmpty())
        m_trimTimer.stop();
}

void DatabaseManager::forgetTrim(const QString &table)
{
    m_trimBelow.remove(table);
    m_olderRows.remove(table);
}

// max(id) + 1, so that an id is never given twice, whatever the list holds. Not before the id
// columns are known: text ids read as numbers would give one already taken.
bool DatabaseManager::readNextId(const QString &table)
{
    if (!m_idColumnsKnown)
        return false;
    QSqlQuery query(database());
    if (!query.exec(QStringLiteral("SELECT max(%1) FROM %2").arg(idOf(table), table)) || !query.next()) {
        noteFailure(query.lastError());
        qWarning() << "Cannot read the ids of" << table << query.lastError().text();
        return false;
    }
    const QVariant max = query.value(0);
    qint64 next = max.isNull() ? 0 : max.toLongLong() + 1;
    // Ids given while the table could not be read were provisional: they follow the stored ones.
    for (Pending &p : m_pending) {
        if (p.table != table)
            continue;
        if (p.provisionalId) {
            QStringList fields;
            for (int i = 0; i < p.row.columns().size(); ++i)
                fields << p.row.field(i).toString();
            fields[0] = QString::number(next);
            p.row = RecordRow(p.row.columns(), fields);
            p.provisionalId = false;
        }
        next = qMax(next, p.row.field(0).toLongLong() + 1);
    }
    m_nextId.insert(table, next);
    if (RecordList *list = listOf(table)) {
        // The waiting rows are the tail of the list, in the same order.
        int row = list->size() - pendingCount(table);
        for (const Pending &p : qAsConst(m_pending)) {
            if (p.table == table && row >= 0)
                list->setRow(row++, p.row);
        }
    }
    return true;
}

RecordList *DatabaseManager::listOf(const QString &table)
{
    if (table == kAlarmTable())
        return &m_alarmRecords;
    if (!table.isEmpty() && table == tableName(m_currentDevice, WorkRecordKind))
        return &m_workRecords;
    return nullptr;
}

int DatabaseManager::pendingCount(const QString &table) const
{
    int n = 0;
    for (const Pending &p : m_pending)
        n += p.table == table;
    return n;
}

bool DatabaseManager::addRecord(const QString &table, RecordList &list, QStringList fields)
{
    joinWorkLoad();
    Pending pending;
    pending.table = table;
    // Unknown ids are not guessed from the list: the table may hold newer rows than were read.
    pending.provisionalId = !m_nextId.contains(table) && !(m_open && readNextId(table));
    qint64 id = 0;
    if (pending.provisionalId)
        id = list.isEmpty() ? 0 : list.field(list.size() - 1, 0).toLongLong() + 1;
    else
        id = m_nextId[table]++;
    fields[0] = QString::number(id);
    pending.row = RecordRow(list.columns(), fields);
    list.append(pending.row);
    m_pending.append(pending);
    if (m_batchDepth > 0) {
        m_batchAdded = true;
        return true;
    }
    storePending();
    emit storageChanged();
    return true;
}

void DatabaseManager::endBatch()
{
    if (m_batchDepth == 0 || --m_batchDepth > 0)
        return;
    storePending();
    if (std::exchange(m_batchAdded, false))
        emit storageChanged();
}

// Every waiting record in order, in one transaction: all are stored or none.
bool DatabaseManager::storePending()
{
    joinWorkLoad();
    if (m_pending.isEmpty() && m_pendingKeyValues.isEmpty())
        return true;
    m_lastError = QSqlError();
    QSqlDatabase db = database();
    bool ok = db.isOpen() && m_open;
    QSet<QString> tables;
    for (const Pending &p : qAsConst(m_pending))
        tables.insert(p.table);
    for (const QString &table : qAsConst(tables)) {
        ok = ok && (m_nextId.contains(table) || readNextId(table));
    }
    if (ok && !db.transaction()) {
        noteFailure(db.lastError());
        ok = false;
    }
    for (int i = 0; ok && i < m_pending.size(); ++i) {
        const Pending &p = m_pending.at(i);
        QVariantList values;
        for (int c = 0; c < p.row.columns().size(); ++c)
            values << p.row.field(c).toString();
        QStringList marks;
        for (int c = 0; c < values.size(); ++c)
            marks << QStringLiteral("?");
        ok = execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                         .arg(p.table, p.row.columns().join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                     values);
    }
    for (auto it = m_pendingKeyValues.cbegin(); ok && it != m_pendingKeyValues.cend(); ++it)
        ok = writeKeyValue(it.key(), it.value());
    QVector<std::function<void()>> afterCommit;
    if (ok) {
        planTrim(m_alarmRecords, kAlarmTable(), kAlarmRecordLimit, &afterCommit);
        const QString workTable = tableName(m_currentDevice, WorkRecordKind);
        if (!workTable.isEmpty())
            planTrim(m_workRecords, workTable, m_workRecordLimit, &afterCommit);
    }
    if (ok && !db.commit()) {
        noteFailure(db.lastError());
        qWarning() << "Storing records failed:" << db.lastError().text();
        ok = false;
    }
    if (!ok) {
        db.rollback();
        qWarning() << m_pending.size() << "records and" << m_pendingKeyValues.size()
                   << "key values wait to be stored in" << db.databaseName();
        m_reopen = m_reopen || lostFile(m_lastError);
        scheduleRetry();
        return false;
    }
    setHeld(false);
    m_pending.clear();
    for (auto it = m_pendingKeyValues.cbegin(); it != m_pendingKeyValues.cend(); ++it)
        m_keyValues.insert(it.key(), it.value());
    m_pendingKeyValues.clear();
    for (const std::function<void()> &step : qAsConst(afterCommit))
        step();
    return true;
}

// The record lists as the file now holds them, with what waits after them under ids that follow
// the file's.
bool DatabaseManager::reloadRecordLists()
{
    m_nextId.clear();
    for (Pending &p : m_pending)
        p.provisionalId = true;
    forgetTrim(kAlarmTable());
    const QString workTable = tableName(m_currentDevice, WorkRecordKind);
    if (!workTable.isEmpty())
        forgetTrim(workTable);
    const bool ok = loadRecords(kAlarmTable(), kAlarmRecordLimit, m_alarmRecords);
    loadKind(WorkRecordKind);
    return ok && m_workLoaded;
}

// A running retry is left to come: started again by every failure, it would not come while
// records keep failing faster than its interval.
void DatabaseManager::scheduleRetry()
{
    if (!m_retryTimer.isActive())
        m_retryTimer.start();
}

void DatabaseManager::dropPending(const QString &table)
{
    for (int i = m_pending.size() - 1; i >= 0; --i) {
        if (m_pending.at(i).table == table)
            m_pending.remove(i);
    }
}

void DatabaseManager::retryStorage()
{
    joinWorkLoad();
    const int waiting = m_pending.size();
    bool changed = false;
    bool reread = false;
    QSqlDatabase db = database();
    if (std::exchange(m_reopen, false)) {
        // Told while the old file is still held open: once let go, a new one may take its place
        // unnoticed.
        const QByteArray file = fileIdentity(db.databaseName());
        m_fileChanged = m_fileChanged || file.isEmpty() || file != m_fileIdentity;
        qWarning() << "Opening" << db.databaseName() << "again:" << m_lastError.text();
        db.close();
        m_open = false;
    }
    if (!db.isValid() || (!db.isOpen() && !db.open()))
        return;
    applyBusyTimeout();
    // While another program holds the file, one statement per tick is enough, and it fails at once.
    if (!probe())
        return;
    // Held for writing only, the file is read all the same; what waits is stored once it is free.
    if (m_held && writeLockFree())
        setHeld(false);
    if (!m_open) {
        m_open = prepareFile();
        if (!m_open)
            return;
        // Another file in the place of the one read (or a new one, the old deleted): the record
        // lists follow it before anything is stored or trimmed against them.
        if (m_loaded && m_fileChanged) {
            if (!reloadRecordLists()) {
                m_reopen = true;
                return;
            }
            reread = true;
        }
        m_fileChanged = false;
        m_fileIdentity = fileIdentity(db.databaseName());
    }
    if (!m_loaded) {
        m_loaded = loadAll();
        changed = reread = m_loaded;
        if (m_loaded)
            qWarning() << "The database can be read again:" << database().databaseName();
    } else {
        // A device change while the file was held could not read the parameter definitions.
        if (std::exchange(m_loadFailed, false)) {
            loadKind(ServoParamKind);
            loadKind(AppParamKind);
            changed = !m_loadFailed;
        }
        if (!m_workLoaded) {
            loadKind(WorkRecordKind);
            reread = reread || m_workLoaded;
        }
    }
    storePending();
    if (!m_reopen && !m_held && m_loaded && !m_loadFailed && m_workLoaded && m_pending.isEmpty()
        && m_pendingKeyValues.isEmpty())
        m_retryTimer.stop();
    if (reread)
        emit listsReloaded();
    // Only new definitions rebuild the pages: what the user typed into them stays otherwise.
    if (changed && m_currentDevice != NoDevice)
        emit devChangedSignal(m_currentDevice);
    if (changed || reread || waiting != m_pending.size())
        emit storageChanged();
}

bool DatabaseManager::addAlarmRecord(int alarmCode)
{
    return addRecord(kAlarmTable(), m_alarmRecords,
                     { QString(), QString::number(alarmCode), QDateTime::currentDateTime().toString(kTimeFormat) });
}

bool DatabaseManager::clearAlarmRecords()
{
    if (!execute(QStringLiteral("DELETE FROM alarm_records")))
        return false;
    dropPending(kAlarmTable());
    forgetTrim(kAlarmTable());
    m_alarmRecords.clear();
    m_nextId.insert(kAlarmTable(), 0);
    emit storageChanged();
    return true;
}

bool DatabaseManager::addWorkRecord(RecordItem record)
{
    const QString table = tableName(m_currentDevice, WorkRecordKind);
    if (record.isEmpty() || m_currentDevice == NoDevice || table.isEmpty())
        return false;
    record.insert(QStringLiteral("time"), QDateTime::currentDateTime().toString(kTimeFormat));
    record.insert(QStringLiteral("description"), QStringLiteral("none"));
    QStringList fields;
    for (const QString &column : workColumns())
        fields << record.value(column).toString();
    return addRecord(table, m_workRecords, fields);
}

bool DatabaseManager::clearTable()
{
    joinWorkLoad();
    const QString table = tableName(m_currentDevice, WorkRecordKind);
    if (m_currentDevice == NoDevice || table.isEmpty())
        return false;
    if (!execute(QStringLiteral("DELETE FROM %1").arg(table)))
        return false;
    dropPending(table);
    forgetTrim(table);
    m_workRecords.clear();
    m_nextId.insert(table, 0);
    emit storageChanged();
    return true;
}

RecordItem DatabaseManager::findAlarmDetail(int code) const
{
    for (const RecordItem &detail : m_alarmDetails) {
        bool ok = false;
        if (detail.value(QStringLiteral("number")).toString().toInt(&ok) == code && ok)
            return detail;
    }
    return RecordItem();
}

RecordItem DatabaseManager::findServoStatus(int number) const
{
    static const QRegularExpression nonDigits(QStringLiteral("\\D*"));
    for (const RecordItem &status : m_servoStatus) {
        bool ok = false;
        const int n = status.value(QStringLiteral("func_code")).toString().remove(nonDigits).toInt(&ok);
        if (ok && n == number)
            return status;
    }
    return RecordItem();
}

QString DatabaseManager::takeKeyValue(const QString &key, const QString &defVal) const
{
    if (m_keyValueSteps.contains(key))
        return QString::number(countOf(defVal) + m_keyValueSteps.value(key));
    return m_pendingKeyValues.value(key, m_keyValues.value(key, defVal));
}

bool DatabaseManager::addToKeyValue(const QString &key, quint64 step)
{
    if (!m_keyValuesLoaded) {
        // The retries read the stored values; until then the steps are only kept.
        m_keyValueSteps[key] += step;
        return true;
    }
    return saveKeyValue(key, QString::number(countOf(takeKeyValue(key, QString())) + step));
}

quint64 DatabaseManager::countOf(const QString &text)
{
    bool ok = false;
    const quint64 count = text.toULongLong(&ok);
    return ok ? count : 0;
}

bool DatabaseManager::saveKeyValue(const QString &key, const QString &value)
{
    if (!m_keyValuesLoaded) {
        qWarning() << "Key values were not read; value" << value << "of" << key << "not saved";
        return false;
    }
    if (m_batchDepth > 0) {
        m_pendingKeyValues.insert(key, value);
        return true;
    }
    // A value still waiting for this key is older than this one.
    m_pendingKeyValues.remove(key);
    const bool ok = writeKeyValue(key, value);
    if (ok)
        m_keyValues.insert(key, value);
    return ok;
}

// Update, else insert: a file made again after the old one was deleted lacks the rows the cached
// map knows of. The map changes only once the write is committed.
bool DatabaseManager::writeKeyValue(const QString &key, const QString &value)
{
    int rows = 0;
    if (m_keyValues.contains(key)
        && !execute(QStringLiteral("UPDATE keyvalue_table SET value = ? WHERE key = ?"), { value, key }, &rows))
        return false;
    return rows > 0 || execute(QStringLiteral("INSERT INTO keyvalue_table (key, value) VALUES (?, ?)"), { key, value });
}

bool DatabaseManager::updateServoDebug(const QList<int> &values)
{
    static const QStringList columns = { QStringLiteral("axis"), QStringLiteral("current_value"),
                                         QStringLiteral("min_value"), QStringLiteral("max_value"),
                                         QStringLiteral("time_plus"), QStringLiteral("time_less"),
                                         QStringLiteral("speed"), QStringLiteral("s_speed"),
                                         QStringLiteral("s_direction"), QStringLiteral("torqueout") };
    if (values.size() != columns.size()) {
        qWarning() << "updateServoDebug needs" << columns.size() << "values, got" << values;
        return false;
    }
    QVariantList binds;
    for (int i = 1; i < values.size(); ++i)
        binds << values.at(i);
    binds << values.first();
    int rows = 0;
    if (!execute(QStringLiteral("UPDATE servo_debug_mt4c SET current_value = ?, min_value = ?, max_value = ?, "
                                "time_plus = ?, time_less = ?, speed = ?, s_speed = ?, s_direction = ?, "
                                "torqueout = ? WHERE axis = ?"),
                 binds, &rows))
        return false;
    // Keep the cached rows in step, so a dialog opened again shows what was saved.
    for (RecordItem &row : m_servoDebugRows) {
        if (row.value(QStringLiteral("axis")).toString() != QString::number(values.first()))
            continue;
        for (int i = 0; i < columns.size(); ++i)
            row.insert(columns.at(i), QString::number(values.at(i)));
    }
    return rows > 0;
}

bool DatabaseManager::isConfigTable(const QString &table)
{
    static const QStringList tables = { QStringLiteral("oscill_configs"), QStringLiteral("devcom_configs"),
                                        QStringLiteral("serial_configs"), QStringLiteral("network_configs"),
                                        QStringLiteral("compatibility"), QStringLiteral("config_params") };
    return tables.contains(table);
}

QString DatabaseManager::takeConfig(const QString &table, const QString &key, const QString &defVal)
{
    if (!isConfigTable(table)) {
        qWarning() << "Not a settings table:" << table;
        return defVal;
    }
    const QString id = table + QLatin1Char('/') + key;
    if (!m_open) {
        // Each try would wait for a file another program holds; the start must not.
        m_unreadConfig.insert(id);
        return defVal;
    }
    QSqlQuery query(database());
    const QString sql = QStringLiteral("SELECT value FROM %1 WHERE key = ?").arg(table);
    query.prepare(sql);
    query.addBindValue(key);
    if (!query.exec()) {
        noteFailure(query.lastError());
        qWarning() << "SQL statement failed:" << sql << key << "query.lastError:" << query.lastError().text();
        m_unreadConfig.insert(id);
        return defVal;
    }
    m_unreadConfig.remove(id);
    return query.next() ? query.value(0).toString() : defVal;
}

bool DatabaseManager::saveConfig(const QString &table, const QString &key, const QString &value)
{
    if (!isConfigTable(table)) {
        qWarning() << "Not a settings table:" << table << "; value of" << key << "not saved";
        return false;
    }
    // A key whose read failed is read again first: once the file answers, a value the user set
    // may be saved; until then a default shown in its place must not replace the stored one.
    const QString id = table + QLatin1Char('/') + key;
    if (m_unreadConfig.contains(id))
        takeConfig(table, key, QString());
    if (m_unreadConfig.contains(id)) {
        qWarning() << "Setting" << key << "of" << table << "was not read; value" << value << "not saved over it";
        return false;
    }
    int rows = 0;
    if (!execute(QStringLiteral("UPDATE %1 SET value = ? WHERE key = ?").arg(table), { value, key }, &rows))
        return false;
    if (rows > 0)
        return true;
    return execute(QStringLiteral("INSERT INTO %1 (key, value) VALUES (?, ?)").arg(table), { key, value });
}
