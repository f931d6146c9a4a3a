#ifndef RECORDITEM_H
#define RECORDITEM_H

#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>

// One database row: column name -> value. It is QVariantMap, so it already travels in QVariant
// and queued signals without a metatype declaration of its own.
typedef QMap<QString, QVariant> RecordItem;

#endif // RECORDITEM_H
