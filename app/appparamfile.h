#ifndef APPPARAMFILE_H
#define APPPARAMFILE_H

#include "comm/deviceenum.h"

#include <QList>
#include <QPair>
#include <QString>

// The application parameter file: "DeviceType = n", an empty line, "Address,Value", then one
// "address,value" line per definition. Values are raw 16-bit register values, left empty when the
// register cache holds none.
class AppParamFile
{
public:
    enum class Error {
        None, CannotCreate, CannotOpen, CannotWrite, TooLarge, NoDeviceType, WrongDeviceType, BadHeader, BadLine,
        NotRegularFile
    };

    struct Value {
        Uint16 addr = 0;
        Uint16 value = 0;
    };
    // The address text of a definition as stored, and its cached value (RegisterCache::NoValue: none).
    using Row = QPair<QString, Uint16>;

    // A value text (scaled by 10^decimals) as a 16-bit register value: -32768 to 65535 fit, anything
    // else, or text that does not convert, would reach the device as some other number.
    static bool toRegisterValue(const QString &text, int decimals, Uint16 *value);
    // An address text (decimal or "0x" hexadecimal) of a register, 0 to 65535; addr may be null.
    static bool toRegisterAddress(const QString &text, Uint16 *addr = nullptr);

    // Replaces the file only once everything is written, so a failed export leaves the old one whole.
    static Error write(const QString &path, int deviceType, const QList<Row> &rows);
    // All or nothing: values gets the lines that carry a value only when the whole file reads.
    // badLine is the 1-based line that failed for BadLine. A file above the parameter file bound is not read.
    static Error read(const QString &path, int deviceType, QList<Value> *values, int *badLine = nullptr);
};

#endif // APPPARAMFILE_H
