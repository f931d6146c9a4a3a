#include "data/commonutils.h"

#include "data/databasemanager.h"

#include <QDebug>
#include <QStringList>

QString CommonUtils::configTable(int group)
{
    static const QStringList tables = { QStringLiteral("oscill_configs"), QStringLiteral("devcom_configs"),
                                        QStringLiteral("serial_configs"), QStringLiteral("network_configs"),
                                        QStringLiteral("compatibility") };
    return tables.value(group);
}

QString CommonUtils::takeConfigVal(int group, QString key, QString defVal)
{
    const QString table = configTable(group);
    if (table.isEmpty()) {
        qWarning() << "Unknown configuration group" << group << "for key" << key;
        return defVal;
    }
    return DatabaseManager::instance()->takeConfig(table, key, defVal);
}

bool CommonUtils::saveConfigVal(int group, QString key, QString value)
{
    const QString table = configTable(group);
    if (table.isEmpty()) {
        qWarning() << "Unknown configuration group" << group << "; value" << value << "of" << key << "not saved";
        return false;
    }
    return DatabaseManager::instance()->saveConfig(table, key, value);
}
