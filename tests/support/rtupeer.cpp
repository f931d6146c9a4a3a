#include "support/rtupeer.h"

#include "comm/modbusmaster.h"

#include <utility>

namespace {
QByteArray withCrc(QByteArray frame)
{
    const Uint16 crc = ModbusMaster::crc16(frame);
    return frame.append(char(crc & 0xFF)).append(char(crc >> 8));
}
} // namespace

RtuPeer::RtuPeer(Uint8 slave)
    : m_slave(slave)
{
    connect(&m_port, &QSerialPort::readyRead, this, &RtuPeer::onReadyRead);
    m_chatter.setInterval(1);
    connect(&m_chatter, &QTimer::timeout, this, [this] { m_port.write(QByteArray(1, '\0')); });
}

bool RtuPeer::open(const QString &port)
{
    m_port.setPortName(port);
    return m_port.open(QIODevice::ReadWrite);
}

void RtuPeer::setChatter(bool on)
{
    on ? m_chatter.start() : m_chatter.stop();
}

// Requests of function 3 and 6 are eight bytes; anything that does not check out is skipped bytewise.
void RtuPeer::onReadyRead()
{
    m_in += m_port.readAll();
    while (m_in.size() >= 8) {
        const QByteArray frame = m_in.left(8);
        if (withCrc(frame.left(6)) != frame || Uint8(frame.at(0)) != m_slave) {
            m_in.remove(0, 1);
            continue;
        }
        m_in.remove(0, 8);
        ++m_requests;
        const bool repeat = repeatOnReceipt && repeatOnReceipt(m_requests);
        if (repeat || !m_lateCopy.isEmpty())
            m_strayRequest = m_requests;
        if (repeat)
            m_port.write(m_lastAnswer);
        m_port.write(std::exchange(m_lateCopy, QByteArray()));
        const bool owing = m_busy || !m_waiting.isEmpty();
        if (owing && frame != m_working && !m_waiting.contains(frame))
            ++m_foreignWhileOwing;
        if (!(m_busy && ignoreWhileBusy))
            m_waiting.enqueue(frame);
    }
    startNext();
}

void RtuPeer::startNext()
{
    if (m_busy || m_waiting.isEmpty())
        return;
    m_busy = true;
    m_working = m_waiting.dequeue();
    const int n = ++m_started;
    // Counted alike while every request is queued, as with strays.
    const int delay = n == m_strayRequest && strayAnswerDelayMs >= 0 ? strayAnswerDelayMs : delayOf ? delayOf(n) : delayMs;
    QTimer::singleShot(delay, this, [this, n] { answer(n); });
}

QByteArray RtuPeer::reply(const QByteArray &request) const
{
    QByteArray reply = request.left(6);
    if (request.at(1) == 3) {
        const int addr = Uint8(request.at(2)) << 8 | Uint8(request.at(3));
        const int count = Uint8(request.at(4)) << 8 | Uint8(request.at(5));
        reply = request.left(2).append(char(2 * count));
        for (int i = 0; i < count; ++i) {
            const Uint16 v = valueOf(Uint16(addr + i));
            reply.append(char(v >> 8)).append(char(v & 0xFF));
        }
    }
    return withCrc(reply);
}

void RtuPeer::answer(int n)
{
    const QByteArray good = reply(m_working);
    if (damagedFirstMs > 0) {
        QByteArray damaged = good;
        damaged[damaged.size() - 1] = char(damaged.back() ^ 0x5A);
        m_port.write(damaged);
        QTimer::singleShot(damagedFirstMs, this, [this, good] { m_port.write(good), done(); });
        return;
    }
    m_port.write(noise + good);
    m_port.flush();
    for (int i = 1; i < copies; ++i) {
        m_port.write(good);     // a copy of its own on the line, right behind the first as a repeater sends it
        m_port.flush();
    }
    if (lateCopyMs && lateCopyMs(n) >= 0)
        QTimer::singleShot(lateCopyMs(n), this, [this, good] { m_lateCopy = good; });
    m_lastAnswer = good;
    done();
}

void RtuPeer::done()
{
    m_busy = false;
    m_working.clear();
    startNext();
}
