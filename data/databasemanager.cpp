#include "data/databasemanager.h"

#include "comm/comsettingsframe.h"
#include "data/sqlscript.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

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
const QString kAlarmRecordTable = QStringLiteral("alarm_records");
const QString kKeyValueTable = QStringLiteral("keyvalue_table");

// Newest id + 1, or 0 for an empty list.
int nextId(const QList<RecordItem> &list)
{
    return list.isEmpty() ? 0 : list.last().value(QStringLiteral("id")).toInt() + 1;
}

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
{
    initResources();
    qRegisterMetaType<DeviceEnum>("DeviceEnum");
    const QString params0 = QStringLiteral("servo_params");
    m_tables.insert(SdriverDevice, { params0, QStringLiteral("appParams_sdriver"), QStringLiteral("workRecords_sdriver") });
    m_tables.insert(HighVoltServo, { params0, QString(), QString() });
    m_tables.insert(LowVoltServo, { QStringLiteral("servo_params2"), QString(), QString() });
    m_tables.insert(TrelvoxServo, { QStringLiteral("servo_params3"), QString(), QString() });
    m_tables.insert(NoDevice, { params0, QString(), QString() });

    m_open = openDatabase(databasePath());
    if (!database().isOpen())
        return;

    loadKind(ServoParamKind);
    m_accounts = loadTable(kAccountTable);
    m_alarmRecords = loadTable(kAlarmRecordTable);
    m_alarmDetails = loadTable(QStringLiteral("alarm_details"));
    m_servoStatus = loadTable(QStringLiteral("servo_status"));
    m_servoDebugRows = loadTable(QStringLiteral("servo_debug_mt4c"));
    for (const RecordItem &row : loadTable(kKeyValueTable))
        m_keyValues.insert(row.value(QStringLiteral("key")).toString(), row.value(QStringLiteral("value")).toString());
}

DatabaseManager::~DatabaseManager()
{
    if (s_instance == this)
        s_instance = nullptr;
    {
        QSqlDatabase db = database();
        db.close();
    }
    QSqlDatabase::removeDatabase(QLatin1String(kConnection));
}

bool DatabaseManager::isOpen() const
{
    return m_open;
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
    // A fresh install may lack the Storage folder; SQLite does not create folders.
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QLatin1String(kConnection));
    db.setDatabaseName(path);
    if (!db.open()) {
        qWarning() << "Cannot open database" << path << db.lastError().text();
        return false;
    }
    const QString schema = SqlScript::readFile(QStringLiteral(":/sql/schema.sql"));
    if (schema.isEmpty() || !SqlScript::run(db, schema)) {
        qWarning() << "Cannot create the tables of" << path;
        return false;
    }
    return updateDefinitions();
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
        qWarning() << "Cannot read the definition version:" << query.lastError().text();
        return false;
    }
    if (query.value(0).toInt() == version)
        return true;
    query.finish();

    if (!db.transaction()) {
        qWarning() << "Cannot start the definition update:" << db.lastError().text();
        return false;
    }
    bool ok = true;
    for (int i = 0; ok && i < scripts.size(); ++i) {
        ok = SqlScript::run(db, scripts.at(i));
        if (!ok)
            qWarning() << "Definition file failed:" << files.at(i);
    }
    // A pragma value cannot be bound; it is our own integer.
    ok = ok && execute(QStringLiteral("PRAGMA user_version = %1").arg(version));
    if (!ok || !db.commit()) {
        qWarning() << "Definition update rolled back:" << db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}

bool DatabaseManager::execute(const QString &sql, const QVariantList &values, int *rowsAffected) const
{
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
        qWarning() << "SQL statement failed:" << sql << values << "query.lastError:" << query.lastError().text();
        return false;
    }
    if (rowsAffected)
        *rowsAffected = query.numRowsAffected();
    return true;
}

// Table names come only from this class's fixed list, never from user text.
QList<RecordItem> DatabaseManager::loadTable(const QString &table) const
{
    QList<RecordItem> rows;
    QSqlQuery query(database());
    const QString sql = QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(table);
    if (!query.prepare(sql) || !query.exec()) {
        qWarning() << "SQL statement failed:" << sql << "query.lastError:" << query.lastError().text();
        return rows;
    }
    while (query.next()) {
        const QSqlRecord record = query.record();
        RecordItem row;
        for (int i = 0; i < record.count(); ++i)
            row.insert(record.fieldName(i), record.value(i).toString());
        rows.append(row);
    }
    return rows;
}

void DatabaseManager::loadKind(ListKind kind)
{
    const QString table = tableName(m_currentDevice, kind);
    const QList<RecordItem> rows = table.isEmpty() ? QList<RecordItem>() : loadTable(table);
    switch (kind) {
    case ServoParamKind:
        m_servoParams = rows;
        break;
    case AppParamKind:
        m_appParams = rows;
        break;
    case WorkRecordKind:
        m_workRecords = rows;
        break;
    }
}

void DatabaseManager::onDeviceChanged(DeviceEnum devType)
{
    m_currentDevice = devType;
    m_appParams.clear();
    m_workRecords.clear();
    if (devType != NoDevice) {
        loadKind(ServoParamKind);
        loadKind(AppParamKind);
        loadKind(WorkRecordKind);
    }
    emit devChangedSignal(devType);
}

void DatabaseManager::setLanguage(int index)
{
    // The program-wide type: at start-up the language is applied before the first broadcast reaches us.
    if (ComSettingsFrame::currentDevice() != TrelvoxServo || index < 0 || index > 1)
        return;
    m_tables[TrelvoxServo][ServoParamKind] = index == 0 ? QStringLiteral("servo_params3") : QStringLiteral("servo_params4");
    m_servoParams = loadTable(tableName(TrelvoxServo, ServoParamKind));
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
    const QString account = record.value(QStringLiteral("account")).toString();
    const QString password = record.value(QStringLiteral("password")).toString();
    const QString device = record.value(QStringLiteral("device")).toString();
    const QString permission = record.value(QStringLiteral("permission")).toString();
    const int index = indexOfAccount(account);
    if (index >= 0) {
        if (!execute(QStringLiteral("UPDATE account_infos SET password = ?, device = ?, permission = ? WHERE account = ?"),
                     { password, device, permission, account }))
            return false;
        m_accounts[index] = record;
        return true;
    }
    if (!execute(QStringLiteral("INSERT INTO account_infos (account, password, device, permission) VALUES (?, ?, ?, ?)"),
                 { account, password, device, permission }))
        return false;
    m_accounts.append(record);
    return true;
}

bool DatabaseManager::deleteAccountInfo(const QString &account)
{
    const int index = indexOfAccount(account);
    if (index < 0)
        return false;
    if (!execute(QStringLiteral("DELETE FROM account_infos WHERE account = ?"), { account }))
        return false;
    m_accounts.removeAt(index);
    return true;
}

void DatabaseManager::trimOldest(QList<RecordItem> &list, const QString &table, int limit)
{
    const QString sql = QStringLiteral("DELETE FROM %1 WHERE id = ?").arg(table);
    while (list.size() > limit) {
        // On failure the row stays in both places, so list and table still agree.
        if (!execute(sql, { list.first().value(QStringLiteral("id")) }))
            return;
        list.removeFirst();
    }
}

bool DatabaseManager::addAlarmRecord(int alarmCode)
{
    RecordItem record;
    record.insert(QStringLiteral("id"), QString::number(nextId(m_alarmRecords)));
    record.insert(QStringLiteral("number"), QString::number(alarmCode));
    record.insert(QStringLiteral("time"), QDateTime::currentDateTime().toString(kTimeFormat));
    if (!execute(QStringLiteral("INSERT INTO alarm_records (id, number, time) VALUES (?, ?, ?)"),
                 { record.value(QStringLiteral("id")), record.value(QStringLiteral("number")),
                   record.value(QStringLiteral("time")) }))
        return false;
    m_alarmRecords.append(record);
    trimOldest(m_alarmRecords, kAlarmRecordTable, kAlarmRecordLimit);
    return true;
}

bool DatabaseManager::clearAlarmRecords()
{
    if (!execute(QStringLiteral("DELETE FROM alarm_records")))
        return false;
    m_alarmRecords.clear();
    return true;
}

bool DatabaseManager::addWorkRecord(RecordItem record)
{
    const QString table = tableName(m_currentDevice, WorkRecordKind);
    if (record.isEmpty() || m_currentDevice == NoDevice || table.isEmpty())
        return false;
    record.insert(QStringLiteral("id"), QString::number(nextId(m_workRecords)));
    record.insert(QStringLiteral("time"), QDateTime::currentDateTime().toString(kTimeFormat));
    record.insert(QStringLiteral("description"), QStringLiteral("none"));
    static const QStringList columns = { QStringLiteral("id"), QStringLiteral("task"), QStringLiteral("turns"),
                                         QStringLiteral("torque"), QStringLiteral("usedTime"),
                                         QStringLiteral("status"), QStringLiteral("time"),
                                         QStringLiteral("alarm"), QStringLiteral("description") };
    QVariantList values;
    for (const QString &column : columns)
        values << record.value(column).toString();
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")
                            .arg(table, columns.join(QStringLiteral(", ")));
    if (!execute(sql, values))
        return false;
    m_workRecords.append(record);
    trimOldest(m_workRecords, table, m_workRecordLimit);
    return true;
}

bool DatabaseManager::clearTable()
{
    const QString table = tableName(m_currentDevice, WorkRecordKind);
    if (m_currentDevice == NoDevice || table.isEmpty())
        return false;
    if (!execute(QStringLiteral("DELETE FROM %1").arg(table)))
        return false;
    m_workRecords.clear();
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
    return m_keyValues.value(key, defVal);
}

bool DatabaseManager::saveKeyValue(const QString &key, const QString &value)
{
    const bool ok = m_keyValues.contains(key)
        ? execute(QStringLiteral("UPDATE keyvalue_table SET value = ? WHERE key = ?"), { value, key })
        : execute(QStringLiteral("INSERT INTO keyvalue_table (key, value) VALUES (?, ?)"), { key, value });
    if (ok)
        m_keyValues.insert(key, value);
    return ok;
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

QString DatabaseManager::takeConfig(const QString &table, const QString &key, const QString &defVal) const
{
    if (!isConfigTable(table)) {
        qWarning() << "Not a settings table:" << table;
        return defVal;
    }
    QSqlQuery query(database());
    const QString sql = QStringLiteral("SELECT value FROM %1 WHERE key = ?").arg(table);
    query.prepare(sql);
    query.addBindValue(key);
    if (!query.exec()) {
        qWarning() << "SQL statement failed:" << sql << key << "query.lastError:" << query.lastError().text();
        return defVal;
    }
    return query.next() ? query.value(0).toString() : defVal;
}

bool DatabaseManager::saveConfig(const QString &table, const QString &key, const QString &value)
{
    if (!isConfigTable(table)) {
        qWarning() << "Not a settings table:" << table << "; value of" << key << "not saved";
        return false;
    }
    int rows = 0;
    if (!execute(QStringLiteral("UPDATE %1 SET value = ? WHERE key = ?").arg(table), { value, key }, &rows))
        return false;
    if (rows > 0)
        return true;
    return execute(QStringLiteral("INSERT INTO %1 (key, value) VALUES (?, ?)").arg(table), { key, value });
}
