#include "deviceprofile.h"

#include <QModbusServer>
#include <QVector>
#include <QtMath>

using Live = DeviceProfile::Live;
using Register = DeviceProfile::Register;
using Layout = DeviceProfile::Layout;

static const Register screwdriverRegisters[] = {
    {3072, 0, Live::Fixed, 7},      // current task number
    {3073, 0x0001},                 // status words: ready
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
    {56302, 0, Live::PositionLow},
    {56303, 0, Live::PositionHigh},
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

DeviceProfile::DeviceProfile(int type)
    : m_layout(layouts[qBound(0, type, TypeCount - 1)])
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
    refresh(server);
    return true;
}

void DeviceProfile::pin(quint16 address)
{
    m_pinned.insert(address);
}

void DeviceProfile::refresh(QModbusServer *server)
{
    ++m_tick;
    m_position += speed();
    for (int i = 0; i < m_layout.registerCount; ++i) {
        const Register &reg = m_layout.registers[i];
        if (reg.live != Live::Fixed && !m_pinned.contains(reg.address))
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
