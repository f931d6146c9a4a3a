#ifndef RTUPEER_H
#define RTUPEER_H

#include "comm/deviceenum.h"

#include <QByteArray>
#include <QSerialPort>

// A scripted RTU device on one end of a pseudo-terminal pair. It answers a read of any register
// with valueOf(address) and echoes writes, each request after `delayMs`, `copies` times, with
// `noise` in front, as a slow device, a bus repeater or a noisy line would.
class RtuPeer : public QObject
{
public:
    explicit RtuPeer(Uint8 slave = 1);
    bool open(const QString &port);
    static Uint16 valueOf(Uint16 addr) { return Uint16(addr * 3 + 1); }
    int requests() const { return m_requests; }

    int delayMs = 0;
    int copies = 1;
    QByteArray noise;

private:
    void onReadyRead();
    void answer(const QByteArray &request);

    QSerialPort m_port;
    QByteArray m_in;
    Uint8 m_slave;
    int m_requests = 0;
};

#endif // RTUPEER_H
