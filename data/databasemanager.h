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

class QSqlDatabase;

// The program's SQLite file: creates what is missing, keeps the definition tables up to date,
// and caches the lists the pages read. Every list holds its values as text.
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
    DeviceEnum currentDevice() const { return m_currentDevice; }
    // The table holding a list kind for a device type; empty when the type has none.
    QString tableName(DeviceEnum devType, ListKind kind) const;

    const QList<RecordItem> &servoParams() const { return m_servoParams; }
    const QList<RecordItem> &appParams() const { return m_appParams; }
    const QList<RecordItem> &accountList() const { return m_accounts; }
    const QList<RecordItem> &alarmRecords() const { return m_alarmRecords; }
    const QList<RecordItem> &workRecords() const { return m_workRecords; }
    const QList<RecordItem> &alarmDetails() const { return m_alarmDetails; }
    const QList<RecordItem> &servoStatusList() const { return m_servoStatus; }
    const QList<RecordItem> &servoDebugRows() const { return m_servoDebugRows; }

    // Index 0 Chinese, 1 English parameter names; acts only while the current type is 3.
    void setLanguage(int index);

    RecordItem findAccount(const QString &account) const;
    // Update when the account exists, else insert; the cached list changes only on success.
    bool saveAccountInfo(RecordItem &record);
    bool deleteAccountInfo(const QString &account);

    bool addAlarmRecord(int alarmCode);
    bool clearAlarmRecords();
    bool addWorkRecord(RecordItem record);
    // Empties the current device type's work records.
    bool clearTable();

    RecordItem findAlarmDetail(int code) const;
    RecordItem findServoStatus(int number) const;

    QString takeKeyValue(const QString &key, const QString &defVal) const;
    bool saveKeyValue(const QString &key, const QString &value);

    // axis, current_value, min_value, max_value, time_plus, time_less, speed, s_speed,
    // s_direction, torqueout: exactly ten values.
    bool updateServoDebug(const QList<int> &values);

    // Key/value settings tables (the configuration groups and config_params).
    QString takeConfig(const QString &table, const QString &key, const QString &defVal) const;
    bool saveConfig(const QString &table, const QString &key, const QString &value);

    // Lets tests reach the work-record cap without 100000 rows.
    void setWorkRecordLimit(int limit) { m_workRecordLimit = limit; }

public slots:
    void onDeviceChanged(DeviceEnum devType);

signals:
    void devChangedSignal(DeviceEnum devType);

private:
    DatabaseManager();

    QSqlDatabase database() const;
    bool openDatabase(const QString &path);
    bool updateDefinitions();
    bool execute(const QString &sql, const QVariantList &values = QVariantList(),
                 int *rowsAffected = nullptr) const;
    QList<RecordItem> loadTable(const QString &table) const;
    void loadKind(ListKind kind);
    void trimOldest(QList<RecordItem> &list, const QString &table, int limit);
    int indexOfAccount(const QString &account) const;
    static bool isConfigTable(const QString &table);

    bool m_open = false;
    DeviceEnum m_currentDevice = NoDevice;
    int m_workRecordLimit = kWorkRecordLimit;
    // Device type -> table per list kind.
    QHash<int, QStringList> m_tables;

    QList<RecordItem> m_servoParams;
    QList<RecordItem> m_appParams;
    QList<RecordItem> m_accounts;
    QList<RecordItem> m_alarmRecords;
    QList<RecordItem> m_workRecords;
    QList<RecordItem> m_alarmDetails;
    QList<RecordItem> m_servoStatus;
    QList<RecordItem> m_servoDebugRows;
    QMap<QString, QString> m_keyValues;

    static DatabaseManager *s_instance;
    static QString s_databasePath;
};

#endif // DATABASEMANAGER_H
