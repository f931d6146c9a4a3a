#include "comm/registermap.h"

std::array<quint32, RegisterMap::EntryCount> RegisterMap::s_entries {};

namespace {
struct Row {
    int entry;
    quint32 type0, type1, type2, type3, others;
};

// Entries the device types have; every other entry is Absent.
const Row kRows[] = {
    { 22, 3354, 65535, 65535, 65535, 65535 },
    { 23, 3347, 65535, 65535, 65535, 65535 },
    { 24, 3337, 56152, 56302, 0, 65535 },
    { 25, 3084, 65535, 65535, 65535, 65535 },
    { 26, 3344, 65535, 65535, 65535, 65535 },
    { 27, 3345, 65535, 65535, 65535, 65535 },
    { 28, 56100, 56100, 56100, 0, 56100 },
    { 30, 65535, 65535, 65535, 149, 65535 },
    { 32, 65535, 65535, 65535, 401, 65535 },
    { 33, 65535, 65535, 65535, 400, 65535 },
    { 34, 56151, 56151, 56151, 51, 56151 },
    { 36, 56153, 56153, 56153, 181, 56153 },
    { 37, 56170, 56170, 56170, 70, 56170 },
    { 40, 56300, 56300, 56300, 200, 56300 },
    { 42, 56304, 56304, 56304, 204, 56304 },
    { 43, 56380, 56380, 56380, 280, 56380 },
    { 44, 56382, 56382, 56382, 282, 56382 },
    { 45, 56383, 56383, 56383, 283, 56383 },
};
} // namespace

quint32 RegisterMap::entry(int index)
{
    return (index >= 0 && index < EntryCount) ? s_entries[size_t(index)] : Absent;
}

void RegisterMap::fill(DeviceEnum devType)
{
    if (devType == NoDevice)
        return;
    s_entries.fill(Absent);
    for (const Row &r : kRows) {
        quint32 v = r.others;
        switch (devType) {
        case SdriverDevice: v = r.type0; break;
        case HighVoltServo: v = r.type1; break;
        case LowVoltServo: v = r.type2; break;
        case TrelvoxServo: v = r.type3; break;
        default: break;
        }
        s_entries[size_t(r.entry)] = v;
    }
}

int RegisterMap::axisStride(DeviceEnum devType)
{
    switch (devType) {
    case LowVoltServo: return 400;
    case TrelvoxServo: return 768;
    default: return 100;
    }
}

void RegisterMap::reset()
{
    s_entries.fill(0);
}
