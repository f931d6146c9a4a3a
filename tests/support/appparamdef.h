#ifndef APPPARAMDEF_H
#define APPPARAMDEF_H

#include "data/recorditem.h"

#include <QStandardItemModel>

// One row of the application parameter definitions, as the database holds it.
inline RecordItem paramDef(const QString &address, const QString &name, const QString &group,
                              const QString &tableInfo, const QString &range, const QString &unit = QString(),
                              const QString &description = QString())
{
    return RecordItem { { "address", address }, { "name", name }, { "group", group }, { "tableInfo", tableInfo },
                        { "range", range }, { "unit", unit }, { "description", description } };
}

// The text of a table cell; empty where the row has no item.
inline QString cellText(const QStandardItemModel *model, int row, int col)
{
    const QStandardItem *item = model->item(row, col);
    return item ? item->text() : QString();
}

#endif // APPPARAMDEF_H
