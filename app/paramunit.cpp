#include "app/paramunit.h"

#include "app/appparamframe.h"
#include "servo/valuetext.h"

#include <QMap>
#include <QStringList>

namespace {
struct UnitMaps {
    QMap<QString, QString> table;   // "torque1" -> "mN·m|N·m|0.001|0"
    QMap<QString, int> index;       // "torque" -> selected index
};

UnitMaps &maps()
{
    static UnitMaps m;
    return m;
}

struct Entry {
    bool valid = false;
    QString name;
    double factor = 1.0;
    int decimals = 0;
};

Entry entryFor(const QString &quantity, int index)
{
    Entry e;
    const auto it = maps().table.constFind(quantity + QString::number(index));
    if (it == maps().table.constEnd())
        return e;
    const QStringList fields = it->split(QLatin1Char('|'));
    e.valid = true;
    e.name = fields.value(0);
    e.factor = fields.value(2).toDouble();
    e.decimals = fields.value(3).toInt();
    return e;
}

Entry selectedEntry(const QString &quantity)
{
    return entryFor(quantity, maps().index.value(quantity, 0));
}
} // namespace

void initUnitTable()
{
    UnitMaps &m = maps();
    m.table.insert(QStringLiteral("torque0"), QStringLiteral("N·m|N·m|1|3"));
    m.table.insert(QStringLiteral("torque1"), QStringLiteral("mN·m|N·m|0.001|0"));
    m.table.insert(QStringLiteral("torque2"), QStringLiteral("kgf·cm|N·m|0.098067|2"));
    m.table.insert(QStringLiteral("torque3"), QStringLiteral("ibf·in|N·m|0.112985|2"));
    m.index.insert(QStringLiteral("torque"), 0);
}

void clearUnitTable()
{
    maps().table.clear();
    maps().index.clear();
}

QString unitName(const QString &quantity)
{
    return unitName(quantity, maps().index.value(quantity, 0));
}

QString unitName(const QString &quantity, int index)
{
    const Entry e = entryFor(quantity, index);
    return e.valid ? e.name : defaultUnitName(quantity);
}

int unitDecimals(const QString &quantity)
{
    const Entry e = selectedEntry(quantity);
    return e.valid ? e.decimals : defaultUnitDecimals(quantity);
}

double unitScale(const QString &quantity)
{
    const Entry e = selectedEntry(quantity);
    // A zero factor would turn every value into infinity; treat it as no entry.
    return (e.valid && e.factor != 0.0) ? 1.0 / e.factor : 1.0;
}

QString defaultUnitName(const QString &quantity)
{
    return entryFor(quantity, 0).name;
}

int defaultUnitDecimals(const QString &quantity)
{
    return entryFor(quantity, 0).decimals;
}

QString unitRangeText(const QString &quantity, const QString &range)
{
    const ValueText::Range r = ValueText::parseRange(range);
    if (!r.valid)
        return range;
    const Entry e = selectedEntry(quantity);
    const double f = (e.valid && e.factor != 0.0) ? e.factor : 1.0;
    const int d = e.valid ? e.decimals : 0;
    return QString::number(r.min / f, 'f', d) + QLatin1Char('~') + QString::number(r.max / f, 'f', d);
}

bool setUnitIndex(const QString &quantity, int index)
{
    auto it = maps().index.find(quantity);
    if (it == maps().index.end() || *it == index)
        return false;
    *it = index;
    if (AppParamFrame *page = AppParamFrame::instance())
        emit page->paramUnitChanged();
    return true;
}

int unitIndex(const QString &quantity)
{
    return maps().index.value(quantity, 0);
}
