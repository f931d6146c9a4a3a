#include "shell/statusitem.h"

#include <QJSEngine>
#include <QStringList>
#include <cmath>

namespace {
const QString kAddrKey = QStringLiteral("commAddr");
const QString kTypeKey = QStringLiteral("type");
const QString kDecimalsKey = QStringLiteral("decimals");
const QString kFormatKey = QStringLiteral("format");
const QString kFunctionKey = QStringLiteral("function");
const QString kBitMaskKey = QStringLiteral("bitMask");
const QString kValToTextKey = QStringLiteral("valToText");

QString rawValueText(const QVariantMap &item, int val)
{
    const int decimals = qMax(0, item.value(kDecimalsKey).toInt());
    const double v = item.value(kFormatKey).toString() == QLatin1String("int16") ? double(qint16(quint16(val)))
                                                                                  : double(val);
    return QString::number(v / std::pow(10.0, decimals), 'f', decimals);
}

// A later entry with the same code wins; an entry that is not "code/text" or whose code does
// not convert matches nothing.
QString codeText(const QVariantMap &item, int val, const QString &fallback)
{
    QString text = fallback;
    for (const QString &entry : item.value(kValToTextKey).toStringList()) {
        const QStringList parts = entry.split(QLatin1Char('/'));
        if (parts.size() != 2)
            continue;
        bool ok = false;
        const int code = parts.at(0).contains(QLatin1String("0x")) ? parts.at(0).toInt(&ok, 16) : parts.at(0).toInt(&ok, 10);
        if (ok && code == val)
            text = parts.at(1);
    }
    return text;
}

// A source that is not a function, or that throws, leaves the lamp dark.
bool predicate(const QVariantMap &item, int val, QJSEngine &engine)
{
    QJSValue function = engine.evaluate(item.value(kFunctionKey).toString(), QString(), 1);
    if (!function.isCallable())
        return false;
    const QJSValue result = function.call({ QJSValue(val) });
    return !result.isError() && result.toBool();
}
} // namespace

int StatusItem::address(const QVariantMap &item)
{
    bool ok = false;
    const int addr = item.value(kAddrKey).toInt(&ok);
    return ok ? addr : -1;
}

bool StatusItem::isLamp(const QVariantMap &item)
{
    const QString type = item.value(kTypeKey).toString();
    return type == QLatin1String("valToLed") || type == QLatin1String("bitToLed");
}

StatusItem::Shown StatusItem::convert(const QVariantMap &item, int val, QJSEngine &engine)
{
    Shown shown;
    const QString type = item.value(kTypeKey).toString();
    if (type == QLatin1String("rawValue")) {
        shown.text = rawValueText(item, val);
    } else if (type == QLatin1String("valToText")) {
        shown.text = codeText(item, val, shown.text);
    } else if (type == QLatin1String("valToLed")) {
        shown.isLamp = true;
        shown.lit = predicate(item, val, engine);
    } else if (type == QLatin1String("bitToLed")) {
        bool ok = false;
        const int mask = item.value(kBitMaskKey).toInt(&ok);
        shown.isLamp = true;
        shown.lit = ok && (val & mask) != 0;
    }
    return shown;
}

QVariantMap StatusItem::rawValue(int addr, const QString &format, int decimals)
{
    QVariantMap item { { kAddrKey, addr }, { kTypeKey, QStringLiteral("rawValue") }, { kDecimalsKey, decimals } };
    if (!format.isEmpty())
        item.insert(kFormatKey, format);
    return item;
}

QVariantMap StatusItem::valueToText(int addr, const QStringList &codes)
{
    return { { kAddrKey, addr }, { kTypeKey, QStringLiteral("valToText") }, { kValToTextKey, codes } };
}

QVariantMap StatusItem::valueToLed(int addr, const QString &function)
{
    return { { kAddrKey, addr }, { kTypeKey, QStringLiteral("valToLed") }, { kFunctionKey, function } };
}
