#ifndef ALARMSIM_H
#define ALARMSIM_H

#include <QVector>

class QModbusServer;
class QRandomGenerator;

// An alarm code register at work: now and then a code comes up and is cleared again later. A
// code written from outside is never overwritten, and one cleared from outside (a clear-alarm
// command writes the register) counts as cleared. A pinned register is left alone.
class AlarmSim
{
public:
    // intervalTicks: mean pause of the device's events; alarms come about five pauses apart.
    AlarmSim(quint16 address, QVector<quint16> codes, int intervalTicks, QRandomGenerator &random);

    void pin() { m_pinned = true; }
    // One step of the device.
    void step(QModbusServer *server);
    // Raises code now unless an alarm is up already.
    void raise(QModbusServer *server, quint16 code);

    // A pause of about meanTicks steps, at least one.
    static int pause(QRandomGenerator &random, int meanTicks);

private:
    quint16 read(const QModbusServer *server) const;
    void write(QModbusServer *server, quint16 code);

    const quint16 m_address;
    const QVector<quint16> m_codes;
    const int m_intervalTicks;
    QRandomGenerator &m_random;
    bool m_pinned = false;
    int m_ticksLeft;
    quint16 m_own = 0;          // code this simulation raised and still has to clear
};

#endif // ALARMSIM_H
