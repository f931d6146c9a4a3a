#ifndef DEVICEENUM_H
#define DEVICEENUM_H

#include <QMetaType>
#include <QString>
#include <QStringList>

// Device type code carried by the device-changed broadcast. The values are stored in the
// database and in account device lists, so they never change.
enum DeviceEnum : int {
    SdriverDevice = 0,
    HighVoltServo = 1,
    LowVoltServo = 2,
    TrelvoxServo = 3,
    OtherDevice1 = 4,
    OtherDevice2 = 5,
    OtherDevice3 = 6,
    OtherDevice4 = 7,
    OtherDevice5 = 8,
    NoDevice = 65535
};
Q_DECLARE_METATYPE(DeviceEnum)

typedef unsigned char Uint8;
typedef unsigned short Uint16;

constexpr int kDeviceTypeCount = 9;

// The nine device names, in type order.
inline QStringList deviceTypeNames()
{
    return { QStringLiteral("Sdriver Device"), QStringLiteral("HighVolt Servo"),
             QStringLiteral("LowVolt Servo"),  QStringLiteral("Trelvox Servo"),
             QStringLiteral("Other Device1"),  QStringLiteral("Other Device2"),
             QStringLiteral("Other Device3"),  QStringLiteral("Other Device4"),
             QStringLiteral("Other Device5") };
}

inline DeviceEnum deviceFromInt(int v)
{
    return (v >= 0 && v < kDeviceTypeCount) ? DeviceEnum(v) : NoDevice;
}

#endif // DEVICEENUM_H
