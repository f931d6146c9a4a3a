#ifndef RTUPEER_H
#define RTUPEER_H

#include "comm/deviceenum.h"

#include <QByteArray>
#include <QQueue>
#include <QSerialPort>
#include <QTimer>

// A scripted RTU device on one end of a pseudo-terminal pair. It answers a read of any register
// with valueOf(address) and echoes writes, one request at a time in the order they came: each
// `delayMs` after it starts on it, `copies` times, with `noise` in front, and, when
// `damagedFirstMs` is set, first a copy with a bad CRC and the good one that much later; as a slow
// device, a bus repeater or a noisy line would. With chatter on it sends a stray byte every
// millisecond, as a line with noise or another master on it.
class RtuPeer : public QObject
{
public:
    explicit RtuPeer(Uint8 slave = 1);
    bool open(const QString &port);
    static Uint16 valueOf(Uint16 addr) { return Uint16(addr * 3 + 1); }
    int requests() const { return m_requests; }
    void setChatter(bool on);

    int delayMs = 0;
    int copies = 1;
    QByteArray noise;
    int damagedFirstMs = 0;

private:
    void onReadyRead();
    void startNext();
    QByteArray reply(const QByteArray &request) const;
    void answer(const QByteArray &request);
    void done();

    QSerialPort m_port;
    QByteArray m_in;
    QQueue<QByteArray> m_waiting;
    bool m_busy = false;
    QTimer m_chatter;
    Uint8 m_slave;
    int m_requests = 0;
};

#endif // RTUPEER_H
