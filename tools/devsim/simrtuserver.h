#ifndef SIMRTUSERVER_H
#define SIMRTUSERVER_H

#include "simserver.h"

#include <QModbusRtuSerialSlave>

// Qt's RTU server does the framing and answers its serverAddress() only.
class SimRtuServer : public SimServer<QModbusRtuSerialSlave>
{
public:
    using SimServer::SimServer;

    // Broadcasts are ignored, as on TCP: only the device's own unit id is served.
    bool processesBroadcast() const override;

protected:
    QModbusResponse processRequest(const QModbusPdu &request) override;
};

#endif // SIMRTUSERVER_H
