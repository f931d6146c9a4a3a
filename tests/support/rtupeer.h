#ifndef RTUPEER_H
#define RTUPEER_H

#include "comm/deviceenum.h"

#include <QByteArray>
#include <QQueue>
#include <QSerialPort>
#include <QTimer>
#include <functional>

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
    // Request n (1 for the first it starts on) takes this long instead of delayMs, when set.
    std::function<int(int n)> delayOf;
    // A busy device: what arrives while it works on a request is dropped rather than queued.
    bool ignoreWhileBusy = false;
    // Strays, each sent the moment a request reaches it, the worst time for the master, which has
    // just sent it and waits for its answer. The answer to request n goes out once more with the
    // first request that comes this long after it (a late duplicate), when set.
    std::function<int(int n)> lateCopyMs;
    // The previous answer goes out again as request n (1 for the first it receives) comes in.
    std::function<bool(int n)> repeatOnReceipt;
    // The answer to a request that a stray went out with takes this long instead, when set: the
    // stray looks like its answer, and the real one comes later than the master would ask next.
    int strayAnswerDelayMs = -1;
    // Requests that reached it while it still owed answers to others: answers it was working on
    // or had queued. A copy of one of those (a master's retry) is not counted.
    int foreignWhileOwing() const { return m_foreignWhileOwing; }

private:
    void onReadyRead();
    void startNext();
    QByteArray reply(const QByteArray &request) const;
    void answer(int n);
    void done();

    QSerialPort m_port;
    QByteArray m_in;
    QQueue<QByteArray> m_waiting;
    QByteArray m_working;
    QByteArray m_lastAnswer;
    QByteArray m_lateCopy;      // due with the next request
    bool m_busy = false;
    QTimer m_chatter;
    Uint8 m_slave;
    int m_requests = 0;
    int m_started = 0;
    int m_foreignWhileOwing = 0;
    int m_strayRequest = 0;     // the last request a stray went out with
};

#endif // RTUPEER_H
