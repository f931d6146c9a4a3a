#ifndef STATUSITEM_H
#define STATUSITEM_H

#include <QString>
#include <QVariantMap>

class QJSEngine;

// Interprets a status item: a QVariantMap with the keys commAddr, type ("rawValue", "valToText",
// "valToLed", "bitToLed"), decimals, format ("int16", "uint16", "int32"), function (JavaScript
// source of a one-argument predicate), bitMask and valToText ("code/text" entries, hex when the
// code holds "0x"). A missing key reads as an invalid value and never as a failure.
class StatusItem
{
public:
    struct Shown {
        QString text = QStringLiteral("null");   // what the value label shows without its unit
        bool isLamp = false;
        bool lit = false;
    };

    // The register the item shows; -1 when it has none.
    static int address(const QVariantMap &item);
    static bool isLamp(const QVariantMap &item);
    // One register value as the item shows it; engine runs the predicates of "valToLed" items.
    static Shown convert(const QVariantMap &item, int val, QJSEngine &engine);

    static QVariantMap rawValue(int addr, const QString &format, int decimals);
    static QVariantMap valueToText(int addr, const QStringList &codes);
    static QVariantMap valueToLed(int addr, const QString &function);
};

#endif // STATUSITEM_H
