#ifndef REGISTERMAP_H
#define REGISTERMAP_H

#include "comm/deviceenum.h"

#include <array>

// The per-device-type table of register addresses that pages look up by entry number.
class RegisterMap
{
public:
    static constexpr int EntryCount = 59;
    static constexpr quint32 Absent = 65535;

    // Every entry is 0 until the first device type is set.
    static quint32 entry(int index);
    static void fill(DeviceEnum devType);
    static int axisStride(DeviceEnum devType);
    static void reset();   // back to the all-zero start state (tests)

private:
    static std::array<quint32, EntryCount> s_entries;
};

#endif // REGISTERMAP_H
