#include "tighteningsim.h"

#include <QModbusServer>
#include <QtMath>

#include <cstdio>

namespace {
constexpr quint16 kTurns = 3076;        // int16, 2 decimals
constexpr quint16 kUsedTime = 3077;     // ms
constexpr quint16 kSpeed = 3078;        // rpm
constexpr quint16 kTorque = 3079;       // in the selected unit, with its decimals
constexpr quint16 kUnitIndex = 3083;
constexpr quint16 kAlarmCode = 3084;
constexpr quint16 kResult = 3336;
constexpr quint16 kStep = 3389;

constexpr quint16 kResultOk = 0x0001;
constexpr quint16 kResultSlip = 0x000A;
constexpr quint16 kResultFloat = 0x000C;
constexpr quint16 kAlarmSlip = 10;
constexpr quint16 kAlarmFloat = 12;
// Codes that come up on their own: overload, overheating, stall, torque not reached, turns over
// limit, timeout, screw missing, sensor drift, torque over limit, communication timeout.
constexpr quint16 kSpontaneousAlarms[] = { 4, 8, 9, 11, 13, 14, 15, 19, 20, 21 };

// Torque units the device can select: size of one unit in N·m and the decimals it reports.
struct TorqueUnit {
    double factor;
    int decimals;
};
constexpr TorqueUnit kUnits[] = { { 1.0, 3 }, { 0.001, 0 }, { 0.098067, 2 }, { 0.112985, 2 } };
} // namespace

TighteningSim::TighteningSim(int intervalMs)
    : m_intervalTicks(qMax(1, intervalMs / StepMs))
    , m_random(20240611u)   // the same run every time
    , m_alarm(kAlarmCode, { std::begin(kSpontaneousAlarms), std::end(kSpontaneousAlarms) }, m_intervalTicks, m_random)
{
}

void TighteningSim::pin(quint16 address)
{
    m_pinned.insert(address);
    if (address == kAlarmCode)
        m_alarm.pin();
}

void TighteningSim::install(QModbusServer *server)
{
    for (quint16 address : { kTurns, kUsedTime, kSpeed, kTorque, kResult, kStep })
        write(server, address, 0);
    m_state = State::Idle;
    m_ticksLeft = AlarmSim::pause(m_random, m_intervalTicks);
}

void TighteningSim::step(QModbusServer *server)
{
    m_alarm.step(server);
    switch (m_state) {
    case State::Idle:
        // The last screw's turns, torque, time and result stay readable until the next one.
        write(server, kSpeed, 0);
        setTorque(server, m_plan.torque);
        // Once the result has been read often enough, the operator's moment runs in m_ticksLeft.
        if ((m_startAfterReads == 0 || m_resultReads >= m_startAfterReads) && --m_ticksLeft <= 0)
            startRun(server);
        break;
    case State::Running:
        runStep(server);
        if (++m_tick >= m_plan.ticks) {
            finishRun(server);
            m_state = State::Idle;
            m_ticksLeft = AlarmSim::pause(m_random, m_intervalTicks);
        }
        break;
    }
}

void TighteningSim::onRead(quint16 address, quint16 count)
{
    if (m_state == State::Idle && address <= kResult && quint32(address) + count > kResult
        && ++m_resultReads == m_startAfterReads)
        m_ticksLeft = OperatorSteps;
}

void TighteningSim::startRun(QModbusServer *server)
{
    const int roll = int(m_random.bounded(100));
    m_plan.outcome = roll < 80 ? Outcome::Ok : roll < 90 ? Outcome::Slip : Outcome::Float;
    m_plan.ticks = 12 + int(m_random.bounded(13));
    const double turns = 6.0 + 3.0 * m_random.generateDouble();
    const double torque = 1.2 + 0.6 * m_random.generateDouble();
    switch (m_plan.outcome) {
    case Outcome::Ok:
        m_plan.turns = turns;
        m_plan.torque = torque;
        break;
    case Outcome::Slip:       // the thread gives way: many turns, little torque
        m_plan.turns = turns * 1.3;
        m_plan.torque = torque * 0.3;
        break;
    case Outcome::Float:      // the screw sits on top: torque after too few turns
        m_plan.turns = turns * 0.45;
        m_plan.torque = torque;
        break;
    }
    m_tick = 0;
    m_resultReads = 0;
    m_state = State::Running;
    // The result goes back to "undone", so every finished screw is a change of the result code.
    write(server, kResult, 0);
    write(server, kStep, 1);
    write(server, kTurns, 0);
    write(server, kUsedTime, 0);
}

void TighteningSim::runStep(QModbusServer *server)
{
    const double progress = double(m_tick + 1) / m_plan.ticks;
    const double knee = m_plan.outcome == Outcome::Ok ? 0.8 : m_plan.outcome == Outcome::Float ? 0.6 : 0.0;
    const bool seating = progress >= knee;
    const double rise = knee < 1.0 ? qBound(0.0, (progress - knee) / (1.0 - knee), 1.0) : 1.0;
    write(server, kStep, seating ? 2 : 1);
    write(server, kSpeed, seating ? 120 : 600);
    write(server, kTurns, qRound(m_plan.turns * progress * 100));
    write(server, kUsedTime, (m_tick + 1) * StepMs);
    setTorque(server, 0.05 + (m_plan.torque - 0.05) * rise);
}

void TighteningSim::finishRun(QModbusServer *server)
{
    write(server, kStep, 0);
    write(server, kSpeed, 0);
    write(server, kTurns, qRound(m_plan.turns * 100));
    write(server, kUsedTime, m_plan.ticks * StepMs + int(m_random.bounded(StepMs)));
    setTorque(server, m_plan.torque);
    quint16 result = kResultOk;
    quint16 alarm = 0;
    if (m_plan.outcome == Outcome::Slip) {
        result = kResultSlip;
        alarm = kAlarmSlip;
    } else if (m_plan.outcome == Outcome::Float) {
        result = kResultFloat;
        alarm = kAlarmFloat;
    }
    write(server, kResult, result);
    if (alarm)
        m_alarm.raise(server, alarm);
    report(server);
}

void TighteningSim::report(const QModbusServer *server) const
{
    std::fprintf(stderr, "devsim tightening result=%u turns=%u torque=%u time=%u alarm=%u\n", unsigned(read(server, kResult)),
                 unsigned(read(server, kTurns)), unsigned(read(server, kTorque)), unsigned(read(server, kUsedTime)),
                 unsigned(read(server, kAlarmCode)));
    std::fflush(stderr);
}

void TighteningSim::setTorque(QModbusServer *server, double newtonMetres)
{
    const quint16 index = read(server, kUnitIndex);
    const TorqueUnit unit = kUnits[index < 4 ? index : 0];
    const double raw = newtonMetres / unit.factor * qPow(10.0, unit.decimals);
    write(server, kTorque, qBound(0, qRound(raw), 0xFFFF));
}

void TighteningSim::write(QModbusServer *server, quint16 address, int value)
{
    if (!m_pinned.contains(address))
        server->setData(QModbusDataUnit::HoldingRegisters, address, quint16(value));
}

quint16 TighteningSim::read(const QModbusServer *server, quint16 address) const
{
    quint16 value = 0;
    server->data(QModbusDataUnit::HoldingRegisters, address, &value);
    return value;
}
