#include "alarmsim.h"

#include <QModbusServer>
#include <QRandomGenerator>

AlarmSim::AlarmSim(quint16 address, QVector<quint16> codes, int intervalTicks, QRandomGenerator &random)
    : m_address(address)
    , m_codes(std::move(codes))
    , m_intervalTicks(intervalTicks)
    , m_random(random)
    , m_ticksLeft(pause(random, 5 * intervalTicks))
{
}

void AlarmSim::step(QModbusServer *server)
{
    if (m_pinned)
        return;
    if (m_own && read(server) != m_own) {
        m_own = 0;
        m_ticksLeft = pause(m_random, 5 * m_intervalTicks);
        return;
    }
    if (--m_ticksLeft > 0)
        return;
    if (m_own) {
        write(server, 0);
        m_own = 0;
        m_ticksLeft = pause(m_random, 5 * m_intervalTicks);
    } else if (read(server) == 0 && !m_codes.isEmpty()) {
        raise(server, m_codes.at(int(m_random.bounded(m_codes.size()))));
    } else {
        m_ticksLeft = pause(m_random, 5 * m_intervalTicks);
    }
}

void AlarmSim::raise(QModbusServer *server, quint16 code)
{
    if (m_pinned || m_own || read(server) != 0)
        return;
    write(server, code);
    m_own = code;
    m_ticksLeft = qMax(10, pause(m_random, m_intervalTicks * 3 / 2));
}

int AlarmSim::pause(QRandomGenerator &random, int meanTicks)
{
    return qMax(1, int(meanTicks * (0.75 + 0.5 * random.generateDouble())));
}

quint16 AlarmSim::read(const QModbusServer *server) const
{
    quint16 value = 0;
    server->data(QModbusDataUnit::HoldingRegisters, m_address, &value);
    return value;
}

void AlarmSim::write(QModbusServer *server, quint16 code)
{
    server->setData(QModbusDataUnit::HoldingRegisters, m_address, code);
}
