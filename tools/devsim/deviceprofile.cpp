#include "deviceprofile.h"

#include <QModbusServer>
#include <QVector>
#include <QtMath>

using Live = DeviceProfile::Live;
using Register = DeviceProfile::Register;
using Layout = DeviceProfile::Layout;

static const Register screwdriverRegisters[] = {
    {3072, 0, Live::Fixed, 7},      // current task number
    {3073, 0},                      // control words Lock, Unlock, Free: nothing running
    {3074, 0},
    {3075, 0},
    {3078, 0, Live::Debug},
    {3079, 0, Live::Debug},
    {3083, 0, Live::Fixed, 3},      // torque unit index
    {3084, 0},                      // alarm code
    {3100, 0, Live::Counter},
    {3337, 3084, Live::Mirror},     // alarm code mirror
    {3344, 0x0001, Live::Inputs},
    {3345, 0},                      // digital outputs
    {3347, 0},
    {3354, 0},
};

static const Register servoRegisters[] = {
    {56151, 0x0001},                // status word: ready
    {56152, 0},                     // alarm code
    {56153, 0, Live::Speed},
    {56170, 1},
    {56300, 0, Live::Speed},
    {56301, 0, Live::Torque},
    {56302, 0},                     // alarm code of the low-voltage drive
    {56304, 0, Live::BusVoltage},
    {56380, 0},                     // command registers
    {56382, 0},
    {56383, 0},
};

static const Register lowServoRegisters[] = {
    {51, 0x0001},                   // status word: ready
    {181, 0},                       // alarm code
    {70, 0, Live::Speed},
    {149, 1},
    {200, 0, Live::Speed},
    {201, 0, Live::Torque},
    {202, 0, Live::PositionLow},
    {203, 0, Live::PositionHigh},
    {204, 0, Live::BusVoltage},
    {280, 0}, {281, 0}, {282, 0}, {283, 0},
    {400, 0},                       // command registers
    {401, 0},
};

template <int N>
static constexpr Layout layout(quint16 base, quint16 stride, int axes, int params, quint16 volts,
                               const Register (&regs)[N])
{
    return {base, stride, axes, params, volts, regs, N};
}

// Index: device type. The screwdriver's application parameters count as one block from 3072 up.
static const Layout layouts[DeviceProfile::TypeCount] = {
    layout(3072, 0, 1, 512, 0, screwdriverRegisters),
    layout(56100, 100, 8, 300, 310, servoRegisters),
    layout(56100, 400, 8, 300, 48, servoRegisters),
    layout(0, 768, 8, 300, 310, lowServoRegisters),
    layout(56100, 100, 8, 300, 310, servoRegisters),
    layout(56100, 100, 8, 300, 310, servoRegisters),
    layout(56100, 100, 8, 300, 310, servoRegisters),
    layout(56100, 100, 8, 300, 310, servoRegisters),
    layout(56100, 100, 8, 300, 310, servoRegisters),
};

// Servo parameter factory defaults, as raw register values. A 32-bit value fills Pn and Pn + 1
// in its word order.
enum WordOrder { Word16, Word32High, Word32Low };
struct ParamDefault {
    quint16 pn;
    quint32 value;
    WordOrder order;
};

static const ParamDefault highVoltDefaults[] = {
    {0, 0, Word16}, {1, 0, Word16}, {2, 0, Word16}, {3, 1, Word32High}, {5, 1, Word32High},
    {7, 400, Word16}, {8, 250, Word16}, {9, 3183, Word16}, {10, 100, Word16}, {11, 3000, Word16},
    {12, 100, Word16}, {13, 100, Word16}, {14, 0, Word16}, {15, 3000, Word16}, {16, 3000, Word16},
    {17, 0x7530, Word32Low}, {19, 1, Word16}, {20, 3, Word16}, {21, 1042, Word16}, {22, 1, Word16},
    {23, 2, Word16}, {24, 3, Word16}, {25, 0, Word32High}, {27, 100, Word16}, {28, 0, Word16},
    {29, 0, Word16}, {30, 0, Word16}, {31, 100, Word16}, {32, 0x7FFFFFFF, Word32Low},
    {34, 0x80000000, Word32Low}, {36, 0, Word16}, {37, 100, Word16}, {38, 80, Word16},
    {39, 200, Word16}, {40, 0, Word16},
};
static const ParamDefault lowVoltDefaults[] = {
    {0, 0, Word16}, {1, 0, Word16}, {2, 48, Word16}, {3, 0x2710, Word32High}, {5, 300, Word16},
    {6, 200, Word16}, {7, 2000, Word16}, {8, 3000, Word16}, {9, 50, Word16}, {10, 50, Word16},
    {11, 150, Word16}, {12, 1, Word16}, {13, 5, Word16}, {14, 0, Word16}, {15, 0, Word32High},
    {17, 10, Word16}, {18, 0x4E20, Word32Low}, {20, 0, Word16}, {21, 1, Word16}, {22, 50, Word16},
    {23, 50, Word16},
};
static const ParamDefault trelvoxDefaults[] = {
    {0, 0, Word16}, {1, 0, Word16}, {2, 0, Word16}, {3, 1, Word32High}, {5, 1, Word32High},
    {7, 400, Word16}, {8, 250, Word16}, {9, 3183, Word16}, {10, 3000, Word16}, {11, 100, Word16},
    {12, 100, Word16}, {13, 3000, Word16}, {14, 3000, Word16}, {15, 1, Word16}, {16, 0, Word16},
    {17, 0x7530, Word32Low}, {19, 0, Word32High}, {22, 0, Word16}, {23, 1, Word16}, {24, 3, Word16},
    {25, 0, Word16}, {26, 80, Word16}, {27, 100, Word16},
};

struct ParamSet {
    const ParamDefault *params;
    int count;
    quint16 writeOffset;        // type 3 takes parameter writes this far above the read address
    quint16 restoreAddr;        // register of axis 0 that restores the factory settings...
    quint16 restoreValue;       // ...when this value is written there; 0: no such command
};

template <int N>
static constexpr ParamSet paramSet(const ParamDefault (&params)[N], quint16 writeOffset, quint16 restoreAddr,
                                   quint16 restoreValue)
{
    return {params, N, writeOffset, restoreAddr, restoreValue};
}

// Index: device type. The screwdriver (type 0) has no servo parameter block here.
static const ParamSet paramSets[DeviceProfile::TypeCount] = {
    {nullptr, 0, 0, 0, 0},
    paramSet(highVoltDefaults, 0, 56100, 8051),
    paramSet(lowVoltDefaults, 0, 56380, 0x0101),
    paramSet(trelvoxDefaults, 128, 280, 0x0101),
    paramSet(highVoltDefaults, 0, 0, 0),
    paramSet(highVoltDefaults, 0, 0, 0),
    paramSet(highVoltDefaults, 0, 0, 0),
    paramSet(highVoltDefaults, 0, 0, 0),
    paramSet(highVoltDefaults, 0, 0, 0),
};

DeviceProfile::DeviceProfile(int type)
    : m_type(qBound(0, type, TypeCount - 1))
    , m_layout(layouts[m_type])
{
}

bool DeviceProfile::install(QModbusServer *server)
{
    QVector<quint16> values(0x10000, 0);
    for (int axis = 0; axis < m_layout.axes; ++axis) {
        for (int n = 0; n < m_layout.params; ++n)   // blocks wrap round at 16 bits, as on the device
            values[quint16(m_layout.paramBase + n + axis * m_layout.stride)] = quint16((n * 7 + axis) % 1000 + 1);
    }
    for (int i = 0; i < m_layout.registerCount; ++i) {
        const Register &reg = m_layout.registers[i];
        values[reg.address] = reg.live == Live::Fixed ? reg.value : 0;
    }
    if (!server->setMap({{QModbusDataUnit::HoldingRegisters,
                          QModbusDataUnit(QModbusDataUnit::HoldingRegisters, 0, values)}}))
        return false;
    for (int axis = 0; axis < m_layout.axes; ++axis)
        writeParamDefaults(server, axis);
    QObject::connect(server, &QModbusServer::dataWritten, server,
                     [this, server](QModbusDataUnit::RegisterType table, int address, int size) {
                         if (table == QModbusDataUnit::HoldingRegisters) {
                             for (int i = 0; i < size; ++i)
                                 onParamWritten(server, quint16(address + i));
                         }
                     });
    refresh(server);
    refreshMirrors(server);
    return true;
}

void DeviceProfile::writeParamDefaults(QModbusServer *server, int axis) const
{
    const ParamSet &set = paramSets[m_type];
    for (int i = 0; i < set.count; ++i) {
        const ParamDefault &p = set.params[i];
        const quint16 address = quint16(m_layout.paramBase + p.pn + axis * m_layout.stride);
        const quint16 high = quint16(p.value >> 16);
        const quint16 low = quint16(p.value);
        const QVector<quint16> words = p.order == Word16 ? QVector<quint16>{low}
                                     : p.order == Word32High ? QVector<quint16>{high, low}
                                                              : QVector<quint16>{low, high};
        for (int w = 0; w < words.size(); ++w) {
            server->setData(QModbusDataUnit::HoldingRegisters, quint16(address + w), words[w]);
            if (set.writeOffset)
                server->setData(QModbusDataUnit::HoldingRegisters, quint16(address + w + set.writeOffset), words[w]);
        }
    }
}

// Servo debug axes 0..7: motion register 30001 + 400 * axis (1 starts, 0 stops), target 30100 and
// 30101 above it (high word first), current position 30202 and 30203.
static constexpr quint16 debugMotionBase = 30001;
static constexpr quint16 debugAxisStride = 400;
static constexpr int debugAxes = 8;

bool DeviceProfile::onDebugAxisWritten(QModbusServer *server, quint16 address)
{
    if (address < debugMotionBase || (address - debugMotionBase) % debugAxisStride != 0
        || (address - debugMotionBase) / debugAxisStride >= debugAxes)
        return false;
    quint16 value = 0;
    server->data(QModbusDataUnit::HoldingRegisters, address, &value);
    if (value != 1)
        return true;
    // The move takes no time but is reported busy until the next refresh, as a short move would be.
    for (int word = 0; word < 2; ++word) {
        quint16 target = 0;
        server->data(QModbusDataUnit::HoldingRegisters, quint16(address + 99 + word), &target);
        server->setData(QModbusDataUnit::HoldingRegisters, quint16(address + 201 + word), target);
    }
    m_moving.insert(address);
    return true;
}

// Called for every holding register that changed, by a client or by the device itself.
void DeviceProfile::onParamWritten(QModbusServer *server, quint16 address)
{
    if (onDebugAxisWritten(server, address))
        return;
    const ParamSet &set = paramSets[m_type];
    quint16 value = 0;
    server->data(QModbusDataUnit::HoldingRegisters, address, &value);
    for (int axis = 0; axis < m_layout.axes; ++axis) {
        const quint16 block = quint16(m_layout.paramBase + axis * m_layout.stride);
        if (set.restoreValue && value == set.restoreValue
            && address == quint16(set.restoreAddr + axis * m_layout.stride)) {
            writeParamDefaults(server, axis);
            quint16 now = 0;
            server->data(QModbusDataUnit::HoldingRegisters, address, &now);
            if (now == set.restoreValue)   // ready for the next command
                server->setData(QModbusDataUnit::HoldingRegisters, address, 0);
            return;
        }
        if (!set.writeOffset)
            continue;
        // The read and the write register of a parameter hold the same value, whichever changed.
        for (int i = 0; i < set.count; ++i) {
            const int words = set.params[i].order == Word16 ? 1 : 2;
            for (int w = 0; w < words; ++w) {
                const quint16 read = quint16(block + set.params[i].pn + w);
                const quint16 write = quint16(read + set.writeOffset);
                if (address == write)
                    server->setData(QModbusDataUnit::HoldingRegisters, read, value);
                else if (address == read)
                    server->setData(QModbusDataUnit::HoldingRegisters, write, value);
            }
        }
    }
}

void DeviceProfile::pin(quint16 address)
{
    m_pinned.insert(address);
}

void DeviceProfile::refresh(QModbusServer *server)
{
    ++m_tick;
    m_position += speed();
    for (quint16 motion : qAsConst(m_moving))
        server->setData(QModbusDataUnit::HoldingRegisters, motion, 0);
    m_moving.clear();
    writeLive(server, false);
}

void DeviceProfile::refreshMirrors(QModbusServer *server)
{
    writeLive(server, true);
}

void DeviceProfile::writeLive(QModbusServer *server, bool mirrors) const
{
    for (int i = 0; i < m_layout.registerCount; ++i) {
        const Register &reg = m_layout.registers[i];
        if (reg.live != Live::Fixed && (reg.live == Live::Mirror) == mirrors && !m_pinned.contains(reg.address))
            server->setData(QModbusDataUnit::HoldingRegisters, reg.address, liveValue(reg, server));
    }
}

bool DeviceProfile::acceptsWrite(quint16 address, quint16 value) const
{
    for (int i = 0; i < m_layout.registerCount; ++i) {
        if (m_layout.registers[i].address == address)
            return value <= m_layout.registers[i].max;
    }
    return true;
}

quint16 DeviceProfile::speed() const
{
    return quint16(1500 + 200 * qSin(m_tick / 10.0));
}

quint16 DeviceProfile::liveValue(const Register &reg, const QModbusServer *server) const
{
    quint16 mirrored = 0;
    switch (reg.live) {
    case Live::Fixed:
        return reg.value;
    case Live::Counter:
        return quint16(m_tick);
    case Live::Speed:
        return speed();
    case Live::Torque:
        return quint16(30 + (m_tick * 7) % 11);
    case Live::PositionLow:
        return quint16(m_position);
    case Live::PositionHigh:
        return quint16(m_position >> 16);
    case Live::BusVoltage:
        return quint16(m_layout.busVoltage + m_tick % 3 - 1);
    case Live::Inputs:     // one input after the other, every two seconds
        return quint16(1u << (m_tick / 20 % 8));
    case Live::Debug:
        return quint16((m_tick * 3 + reg.address) % 1000);
    case Live::Mirror:
        server->data(QModbusDataUnit::HoldingRegisters, reg.value, &mirrored);
        return mirrored;
    }
    return reg.value;
}

void DeviceProfile::deny(quint16 address)
{
    m_denied.insert(address);
}

bool DeviceProfile::refusesRead(quint16 address, quint16 count) const
{
    for (quint32 a = address; a < quint32(address) + count; ++a) {
        if (m_denied.contains(quint16(a)))
            return true;
    }
    return false;
}
