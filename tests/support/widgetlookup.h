#ifndef WIDGETLOOKUP_H
#define WIDGETLOOKUP_H

#include "data/recorditem.h"

#include <QApplication>
#include <QSignalSpy>
#include <QWidget>

// Look-ups the page tests share: a dialog a page opened on its own, a named child, an account row.
namespace TestLookup {

template <class T> T *topLevel()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *found = qobject_cast<T *>(w))
            return found;
    }
    return nullptr;
}

template <class T> T *child(const QObject *parent, const char *name)
{
    return parent->findChild<T *>(QLatin1String(name));
}

inline RecordItem account(const QString &name, const QString &password, const QString &device = QStringLiteral(""),
                          const QString &permission = QStringLiteral(""))
{
    return { { "account", name }, { "password", password }, { "device", device }, { "permission", permission } };
}

// The first argument of every emission so far, as ints.
inline QList<int> firstInts(const QSignalSpy &spy)
{
    QList<int> values;
    for (const QList<QVariant> &args : spy)
        values << args.first().toInt();
    return values;
}

} // namespace TestLookup

#endif // WIDGETLOOKUP_H
