#ifndef DEVSIMLINK_H
#define DEVSIMLINK_H

#include "comm/deviceenum.h"
#include "support/devsimprocess.h"

#include <memory>

class ComSettingsFrame;

// The communication page connected over loopback TCP to a simulated device of its own. Tearing it
// down disconnects, stops the device and leaves no slave and no device type selected.
class DevsimLink
{
public:
    enum DeviceCheck { NoCheck, CheckDevice };

    // Drives `frame` when given (one a window owns), otherwise a communication page of its own.
    explicit DevsimLink(ComSettingsFrame *frame = nullptr);
    ~DevsimLink();
    DevsimLink(const DevsimLink &) = delete;
    DevsimLink &operator=(const DevsimLink &) = delete;

    // Starts the device with `simArgs` and connects to it as `slave`; false if either fails.
    bool start(const QStringList &simArgs = {}, int slave = 1, DeviceCheck check = CheckDevice);
    // Connects (again) to whatever listens on `port`, through the saved settings as a person would.
    bool connectTo(quint16 port, int slave = 1, DeviceCheck check = CheckDevice);

    ComSettingsFrame *frame() const { return m_frame; }
    DevsimProcess &sim() { return m_sim; }
    const DevsimProcess &sim() const { return m_sim; }

    // True once the register's value from `slave` is in the cache.
    static bool waitReceived(Uint8 slave, Uint16 addr, int ms = 3000);

private:
    DevsimProcess m_sim;
    std::unique_ptr<ComSettingsFrame> m_owned;
    ComSettingsFrame *m_frame;
};

#endif // DEVSIMLINK_H
