#ifndef SIMSERVER_H
#define SIMSERVER_H

#include "blockimage.h"
#include "deviceprofile.h"
#include "requestlog.h"

#include <functional>

// What the TCP and the RTU device share: the profile's write limits and the vendor block write.
// A template so that each keeps Qt's own server class for its transport as its base.
template <class Base>
class SimServer : public Base
{
public:
    SimServer(const DeviceProfile &profile, RequestLog &log, BlockImage &image, QObject *parent)
        : Base(parent), m_profile(profile), m_log(log), m_image(image)
    {
    }

    // Told of every holding register read that is answered (first address, count).
    void setReadObserver(std::function<void(quint16, quint16)> observer) { m_readObserver = std::move(observer); }

protected:
    QModbusResponse processRequest(const QModbusPdu &request) override
    {
        if (request.functionCode() == QModbusPdu::WriteSingleRegister && request.dataSize() == 4) {
            quint16 address = 0;
            quint16 value = 0;
            request.decodeData(&address, &value);
            if (!m_profile.acceptsWrite(address, value))
                return QModbusExceptionResponse(request.functionCode(),
                                                QModbusExceptionResponse::IllegalDataValue);
        }
        if (request.functionCode() == QModbusPdu::ReadHoldingRegisters && request.dataSize() == 4) {
            quint16 address = 0;
            quint16 count = 0;
            request.decodeData(&address, &count);
            if (m_profile.refusesRead(address, count))
                return QModbusExceptionResponse(request.functionCode(),
                                                QModbusExceptionResponse::IllegalDataAddress);
            if (m_readObserver)
                m_readObserver(address, count);
        }
        return Base::processRequest(request);
    }

    QModbusResponse processPrivateRequest(const QModbusPdu &request) override
    {
        if (request.functionCode() == BlockImage::FunctionCode)
            return m_image.write(request);
        return Base::processPrivateRequest(request);
    }

    const DeviceProfile &m_profile;
    RequestLog &m_log;
    BlockImage &m_image;
    std::function<void(quint16, quint16)> m_readObserver;
};

#endif // SIMSERVER_H
