#ifndef REGISTERWAIT_H
#define REGISTERWAIT_H

#include "comm/deviceenum.h"

#include <QElapsedTimer>
#include <QObject>

// One register transaction a page waits for on its timer ticks: the block is marked requested,
// asked for, and later reported as received, or failed when the engine reports an error for any
// of its registers or when no answer comes within the bound.
class RegisterWait : public QObject
{
    Q_OBJECT
public:
    enum class Result { Idle, Pending, Received, Failed };
    static constexpr int DefaultTimeoutMs = 1000;

    explicit RegisterWait(QObject *parent = nullptr);

    // False when the link refused the request; nothing is pending then and the caller may retry.
    bool startRead(Uint8 slave, Uint16 addr, Uint16 count = 1, int timeoutMs = DefaultTimeoutMs);
    bool startWrite(Uint8 slave, Uint16 addr, Uint16 value, int timeoutMs = DefaultTimeoutMs);
    // Pending until every register of the block has arrived (Received) or the wait ended (Failed).
    Result check();
    void reset();

    bool isPending() const { return m_state == State::Pending; }
    bool timedOut() const { return m_timedOut; }
    Uint8 slave() const { return m_slave; }
    Uint16 addr() const { return m_addr; }
    Uint16 count() const { return m_count; }
    Uint16 value(int offset = 0) const;

private slots:
    void onComError(int slave, int addr);
    void onRegisterWritten(int slave, int addr, int value);

private:
    enum class State { Idle, Pending, Received, Failed };

    bool begin(Uint8 slave, Uint16 addr, Uint16 count, int timeoutMs);

    State m_state = State::Idle;
    Uint8 m_slave = 0;
    Uint16 m_addr = 0;
    Uint16 m_count = 0;
    int m_timeoutMs = DefaultTimeoutMs;
    bool m_timedOut = false;
    bool m_connected = false;
    bool m_write = false;
    Uint16 m_value = 0;
    bool m_written = false;   // the device answered this write; a read of the register says nothing of it
    QElapsedTimer m_clock;
};

#endif // REGISTERWAIT_H
