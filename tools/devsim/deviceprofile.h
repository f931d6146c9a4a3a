#ifndef DEVICEPROFILE_H
#define DEVICEPROFILE_H

#include <QSet>

class QModbusServer;

// Register contents of one device type: parameter blocks with deterministic defaults, status
// registers and live values that move on each refresh so that a display visibly updates.
class DeviceProfile
{
public:
    static constexpr int TypeCount = 9;

    explicit DeviceProfile(int type);

    // Gives the server its whole holding register space, filled with this type's defaults.
    bool install(QModbusServer *server);
    // Keeps a register the user preset out of the live refresh.
    void pin(quint16 address);
    // One step of the live values; called every 100 ms.
    void refresh(QModbusServer *server);
    // Brings the mirror registers in line with what the rest of the step changed, as a device's
    // own copy of a register changes with it.
    void refreshMirrors(QModbusServer *server);
    bool acceptsWrite(quint16 address, quint16 value) const;
    // A register the device does not have: reads touching it get an exception (as real devices do).
    void deny(quint16 address);
    bool refusesRead(quint16 address, quint16 count) const;

    enum class Live { Fixed, Counter, Speed, Torque, PositionLow, PositionHigh, BusVoltage, Inputs,
                      Debug, Mirror };
    struct Register {
        quint16 address;
        quint16 value;              // for Live::Mirror: the register mirrored
        Live live = Live::Fixed;
        quint16 max = 0xffff;       // a write above it is refused
    };
    struct Layout {
        quint16 paramBase;
        quint16 stride;             // distance between the parameter blocks of two axes
        int axes;
        int params;
        quint16 busVoltage;
        const Register *registers;
        int registerCount;
    };

private:
    quint16 speed() const;
    // The live registers of the step: the mirrors, or all the others.
    void writeLive(QModbusServer *server, bool mirrors) const;
    quint16 liveValue(const Register &reg, const QModbusServer *server) const;
    // Servo parameters: factory defaults per axis, the separate write registers of type 3 and
    // the restore-factory-settings commands.
    void writeParamDefaults(QModbusServer *server, int axis) const;
    void onParamWritten(QModbusServer *server, quint16 address);
    // The master's servo debug axes: a start moves an axis to its loaded target.
    bool onDebugAxisWritten(QModbusServer *server, quint16 address);

    const int m_type;
    const Layout &m_layout;
    QSet<quint16> m_pinned;
    QSet<quint16> m_moving;     // motion registers of debug axes whose move ends at the next refresh
    quint32 m_tick = 0;
    quint32 m_position = 0;
    QSet<quint16> m_denied;
};

#endif // DEVICEPROFILE_H
