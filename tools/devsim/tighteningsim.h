#ifndef TIGHTENINGSIM_H
#define TIGHTENINGSIM_H

#include <QRandomGenerator>
#include <QSet>

class QModbusServer;

// The screwdriver controller at work: now and then it drives a screw (step, speed, turns, torque
// and time move), ends with a result code (OK, Slip or Float) and holds the results until the
// next screw; now and then it raises an alarm code and clears it again later. Registers the user
// preset with --set are left alone, and an alarm code written from outside is never overwritten.
class TighteningSim
{
public:
    // intervalMs: mean pause between two screws; alarms come about five pauses apart.
    explicit TighteningSim(int intervalMs);

    void pin(quint16 address);
    // Sets the result registers to "nothing done yet".
    void install(QModbusServer *server);
    // One 100 ms step.
    void step(QModbusServer *server);

private:
    enum class State { Idle, Running };
    enum class Outcome { Ok, Slip, Float };

    struct Plan {
        Outcome outcome = Outcome::Ok;
        int ticks = 0;          // length of the run
        double turns = 0;       // turns at the end
        double torque = 0;      // N·m at the end
    };

    void startRun(QModbusServer *server);
    void runStep(QModbusServer *server);
    void finishRun(QModbusServer *server);
    void stepAlarm(QModbusServer *server);
    void setTorque(QModbusServer *server, double newtonMetres);
    void write(QModbusServer *server, quint16 address, int value);
    quint16 read(const QModbusServer *server, quint16 address) const;
    int pause(int meanTicks);

    const int m_intervalTicks;
    QRandomGenerator m_random;
    QSet<quint16> m_pinned;

    State m_state = State::Idle;
    int m_ticksLeft = 0;
    int m_tick = 0;
    Plan m_plan;

    int m_alarmTicksLeft = 0;
    quint16 m_ownAlarm = 0;     // code this simulation raised and still has to clear
};

#endif // TIGHTENINGSIM_H
