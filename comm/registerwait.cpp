#include "comm/registerwait.h"

#include "comm/comsettingsframe.h"
#include "comm/registercache.h"

RegisterWait::RegisterWait(QObject *parent)
    : QObject(parent)
{
}

bool RegisterWait::begin(Uint8 slave, Uint16 addr, Uint16 count, int timeoutMs)
{
    // Failures are heard from the communication page itself, so no page has to forward them.
    if (!m_connected) {
        if (ComSettingsFrame *com = ComSettingsFrame::instance()) {
            m_connected = bool(connect(com, &ComSettingsFrame::modbusComError, this, &RegisterWait::onComError));
            connect(com, &ComSettingsFrame::registerWritten, this, &RegisterWait::onRegisterWritten);
        }
    }
    m_slave = slave;
    m_addr = addr;
    m_count = qMax<Uint16>(1, count);
    m_timeoutMs = timeoutMs;
    m_timedOut = false;
    m_write = false;
    m_written = false;
    for (int i = 0; i < m_count; ++i)
        ComSettingsFrame::setRegisterStatus(slave, Uint16(addr + i), RegisterCache::Requested);
    return true;
}

bool RegisterWait::startRead(Uint8 slave, Uint16 addr, Uint16 count, int timeoutMs)
{
    reset();
    begin(slave, addr, count, timeoutMs);
    if (!ComSettingsFrame::readSlaveRegisters(slave, addr, m_count))
        return false;
    m_clock.start();
    m_state = State::Pending;
    return true;
}

bool RegisterWait::startWrite(Uint8 slave, Uint16 addr, Uint16 value, int timeoutMs)
{
    reset();
    begin(slave, addr, 1, timeoutMs);
    m_write = true;
    m_value = value;
    if (!ComSettingsFrame::writeSlaveRegister(slave, addr, value))
        return false;
    m_clock.start();
    m_state = State::Pending;
    return true;
}

RegisterWait::Result RegisterWait::check()
{
    switch (m_state) {
    case State::Idle:
        return Result::Idle;
    case State::Received:
        return Result::Received;
    case State::Failed:
        return Result::Failed;
    case State::Pending:
        break;
    }
    bool all = !m_write || m_written;
    for (int i = 0; i < m_count && all; ++i)
        all = (ComSettingsFrame::getRegisterEntry(m_slave, Uint16(m_addr + i)) >> 32) == RegisterCache::Received;
    if (all) {
        m_state = State::Received;
        return Result::Received;
    }
    if (m_clock.elapsed() > m_timeoutMs) {
        m_timedOut = true;
        m_state = State::Failed;
        return Result::Failed;
    }
    return Result::Pending;
}

void RegisterWait::reset()
{
    m_state = State::Idle;
    m_timedOut = false;
}

Uint16 RegisterWait::value(int offset) const
{
    return ComSettingsFrame::getRegister(m_slave, Uint16(m_addr + offset));
}

void RegisterWait::onRegisterWritten(int slave, int addr, int value)
{
    if (m_state == State::Pending && m_write && slave == m_slave && addr == m_addr && value == m_value)
        m_written = true;
}

void RegisterWait::onComError(int slave, int addr)
{
    // Only a failure of this block, while it is awaited, ends the wait.
    if (m_state != State::Pending || slave != m_slave)
        return;
    const int offset = (addr - m_addr + 0x10000) % 0x10000;
    if (offset < m_count)
        m_state = State::Failed;
}
