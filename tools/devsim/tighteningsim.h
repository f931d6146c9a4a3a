#ifndef TIGHTENINGSIM_H
#define TIGHTENINGSIM_H

#include "alarmsim.h"

#include <QRandomGenerator>
#include <QSet>

class QModbusServer;

// The screwdriver controller at work: now and then it drives a screw (step, speed, turns, torque
// and time move), ends with a result code (OK, Slip or Float) and holds the results until the
// next screw; now and then it raises an alarm code and clears it again later. Registers the user
// preset with --set are left alone, and an alarm code written from outside is never overwritten.
// Each finished screw is reported on stderr with the values it left in the registers and the
// alarm code shown with them.
class TighteningSim
{
public:
    static constexpr int StepMs = 100;
    // An operator who drives the next screw as soon as the result is read still takes this many
    // steps to do it, and the result, with the values that go with it, stays readable meanwhile.
    static constexpr int OperatorSteps = 3;

    // intervalMs: mean pause between two screws; alarms come about five pauses apart.
    explicit TighteningSim(int intervalMs);

    void pin(quint16 address);
    // From now on the next screw starts OperatorSteps after the result has been read this many
    // times, as when an operator drives the next one at once, instead of after a pause.
    void startAfterResultReads(int reads) { m_startAfterReads = reads; }
    // A holding register read answered to a client.
    void onRead(quint16 address, quint16 count);
    // Sets the result registers to "nothing done yet".
    void install(QModbusServer *server);
    // One step.
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
    void setTorque(QModbusServer *server, double newtonMetres);
    void write(QModbusServer *server, quint16 address, int value);
    quint16 read(const QModbusServer *server, quint16 address) const;
    void report(const QModbusServer *server) const;

    const int m_intervalTicks;
    QRandomGenerator m_random;
    AlarmSim m_alarm;
    QSet<quint16> m_pinned;

    State m_state = State::Idle;
    int m_ticksLeft = 0;
    int m_startAfterReads = 0;
    int m_resultReads = 0;      // reads of the result register since the last screw ended
    int m_tick = 0;
    Plan m_plan;
};

#endif // TIGHTENINGSIM_H
