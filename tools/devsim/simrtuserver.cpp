#include "simrtuserver.h"

bool SimRtuServer::processesBroadcast() const
{
    return false;
}

QModbusResponse SimRtuServer::processRequest(const QModbusPdu &request)
{
    m_log.write(quint8(serverAddress()), request);
    return SimServer::processRequest(request);
}
