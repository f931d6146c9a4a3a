#include "comm/modbusmaster.h"

#include <QDebug>

namespace {

constexpr Uint8 FnReadHolding = 0x03;
constexpr Uint8 FnWriteSingle = 0x06;
constexpr Uint8 FnFileBlock = 0x22;
constexpr Uint8 ExceptionFlag = 0x80;
constexpr int MaxReadCount = 125;
constexpr int MaxBlockLength = 240;
constexpr int MaxMbapLength = 254;      // unit id + the largest PDU

void putU16(QByteArray &b, quint32 v)
{
    b.append(char((v >> 8) & 0xFF));
    b.append(char(v & 0xFF));
}

Uint16 getU16(const QByteArray &b, int at)
{
    return Uint16(Uint8(b.at(at)) << 8 | Uint8(b.at(at + 1)));
}

// Called through a copy: a callback may replace the callbacks while it runs.
template <typename F, typename... Args>
void call(const F &f, Args... args)
{
    const F copy = f;
    if (copy)
        copy(args...);
}

} // namespace

ModbusMaster::ModbusMaster(QObject *parent)
    : QObject(parent)
{
    m_line.start();
}

void ModbusMaster::setCallbacks(const Callbacks &cb)
{
    m_cb = cb;
}

void ModbusMaster::setFraming(Framing f)
{
    if (f == m_framing)
        return;
    // Queued requests were checked against the old framing (0x22 is TCP only) and a reply
    // already on its way would be parsed wrongly: start clean.
    m_framing = f;
    drop();
}

ModbusMaster::Framing ModbusMaster::framing() const
{
    return m_framing;
}

void ModbusMaster::setLinkOpen(bool open)
{
    if (open == m_linkOpen)
        return;
    m_linkOpen = open;
    if (!open)
        drop();
}

bool ModbusMaster::isLinkOpen() const
{
    return m_linkOpen;
}

void ModbusMaster::setResponseTimeout(int ms)
{
    m_timeout = qMax(1, ms);
}

int ModbusMaster::responseTimeout() const
{
    return m_timeout;
}

void ModbusMaster::setRetries(int n)
{
    m_retries = qMax(0, n);
}

int ModbusMaster::retries() const
{
    return m_retries;
}

void ModbusMaster::setBaudRate(qint32 baud)
{
    // 3.5 characters of 11 bits; above 19200 baud the usual fixed 1.75 ms.
    m_gapNs = baud > 19200 || baud <= 0 ? 1750000 : qint64(3.5 * 11 * 1e9 / baud + 0.5);
}

int ModbusMaster::readHoldingRegisters(Uint8 slave, Uint16 addr, Uint16 count)
{
    if (!m_linkOpen)
        return refuse(LinkClosed);
    if (!addressable(slave) || count < 1 || count > MaxReadCount || addr + count - 1 > 0xFFFF)
        return refuse(BadArgument);
    Request r;
    r.slave = slave;
    r.function = FnReadHolding;
    r.addr = addr;
    r.count = count;
    r.pdu.append(char(FnReadHolding));
    putU16(r.pdu, addr);
    putU16(r.pdu, count);
    return enqueue(r);
}

int ModbusMaster::writeSingleRegister(Uint8 slave, Uint16 addr, Uint16 value)
{
    if (!m_linkOpen)
        return refuse(LinkClosed);
    if (!addressable(slave))
        return refuse(BadArgument);
    Request r;
    r.slave = slave;
    r.function = FnWriteSingle;
    r.addr = addr;
    r.value = value;
    r.pdu.append(char(FnWriteSingle));
    putU16(r.pdu, addr);
    putU16(r.pdu, value);
    r.echoLength = r.pdu.size();
    return enqueue(r);
}

int ModbusMaster::writeFileBlock(Uint8 unit, quint32 offset, const quint8 *data, Uint16 length, Uint16 lastBlock)
{
    if (!m_linkOpen)
        return refuse(LinkClosed);
    if (m_framing != Framing::Tcp)
        return refuse(NotSupported);
    if (!data || length < 1 || length > MaxBlockLength)
        return refuse(BadArgument);
    Request r;
    r.slave = unit;
    r.function = FnFileBlock;
    r.addr = Uint16(offset & 0xFFFF);   // comError has room for 16 bits only
    r.offset = offset;
    r.pdu.append(char(FnFileBlock));
    r.pdu.append(char(unit));
    putU16(r.pdu, offset >> 16);
    putU16(r.pdu, offset);
    putU16(r.pdu, length);
    r.echoLength = r.pdu.size();
    putU16(r.pdu, lastBlock);
    r.pdu.append(reinterpret_cast<const char *>(data), length);   // copied: the caller's buffer may go away
    return enqueue(r);
}

void ModbusMaster::process()
{
    // A callback stepping the engine again would find a request half finished.
    if (m_processing || !m_linkOpen)
        return;
    m_processing = true;

    const quint64 epoch = m_epoch;
    const auto receive = m_cb.receiveBytes;
    const QByteArray in = receive ? receive() : QByteArray();
    if (!in.isEmpty())
        m_lineActiveNs = m_line.nsecsElapsed();
    if (epoch == m_epoch) {
        switch (m_state) {
        case State::Idle:
        case State::LineBusy:
            break;      // nobody asked for these bytes
        case State::AwaitingReply:
            m_rx += in;
            checkReply();
            break;
        case State::SendFailed:
            if (m_clock.hasExpired(m_timeout))
                attemptFailed(LinkClosed);
            break;
        }
    }
    if (m_state == State::LineBusy && lineQuiet())
        sendAttempt();
    // Straight on to the next request, so that a transaction costs no extra tick.
    if (m_state == State::Idle && m_linkOpen && !m_ring.isEmpty()) {
        m_current = m_ring.dequeue();
        m_attempt = 0;
        m_timedOut = false;
        startAttempt();
    }
    m_processing = false;
}

bool ModbusMaster::isIdle() const
{
    return pendingCount() == 0;
}

int ModbusMaster::pendingCount() const
{
    return m_ring.size() + (m_state == State::Idle ? 0 : 1);
}

int ModbusMaster::errorNumber() const
{
    return m_error;
}

void ModbusMaster::clearError()
{
    m_error = NoError;
}

QString ModbusMaster::errorText(int error)
{
    switch (error) {
    case NoError:        return QStringLiteral("No error");
    case LinkClosed:     return QStringLiteral("Link closed");
    case RingFull:       return QStringLiteral("Send queue full");
    case BadArgument:    return QStringLiteral("Bad argument");
    case Timeout:        return QStringLiteral("Response timeout");
    case BadCrc:         return QStringLiteral("CRC error");
    case BadFrame:       return QStringLiteral("Bad reply frame");
    case ExceptionReply: return QStringLiteral("Exception reply from device");
    case NotSupported:   return QStringLiteral("Function not supported on this link");
    }
    return QStringLiteral("Unknown error");
}

Uint16 ModbusMaster::crc16(const QByteArray &data)
{
    Uint16 crc = 0xFFFF;
    for (const char c : data) {
        crc ^= Uint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? Uint16((crc >> 1) ^ 0xA001) : Uint16(crc >> 1);
    }
    return crc;
}

bool ModbusMaster::addressable(Uint8 slave) const
{
    // An RTU broadcast is never answered, so it could only end in a time-out.
    return slave != 0 || m_framing == Framing::Tcp;
}

int ModbusMaster::enqueue(const Request &r)
{
    if (pendingCount() >= RingCapacity)
        return refuse(RingFull);
    m_ring.enqueue(r);
    m_error = NoError;
    return 1;
}

int ModbusMaster::refuse(int error)
{
    qWarning() << "Modbus request refused:" << errorText(error);
    m_error = error;
    return 0;
}

void ModbusMaster::drop()
{
    m_ring.clear();
    m_state = State::Idle;
    m_rx.clear();
    ++m_epoch;
}

void ModbusMaster::startAttempt()
{
    m_state = State::LineBusy;
    if (lineQuiet())
        sendAttempt();
}

// RTU frames are told apart by silence: nothing goes out until the line has been quiet for the
// inter-frame gap, and whatever arrives meanwhile is dropped.
bool ModbusMaster::lineQuiet() const
{
    if (m_framing != Framing::Rtu || m_lineActiveNs < 0)
        return true;
    const qint64 now = m_line.nsecsElapsed();
    if (now - m_lineActiveNs < m_gapNs)
        return false;
    // A request that timed out may still be answered, and that answer would pass for the answer to
    // the next request of the same shape: that one waits until a late answer is no longer likely.
    // A retry may take it; it answers the same question.
    const Request &a = m_late, &b = m_current;
    const bool sameShape = a.slave == b.slave && a.function == b.function && a.count == b.count
                           && a.pdu.left(a.echoLength) == b.pdu.left(b.echoLength);
    return m_attempt > 0 || now >= m_lateUntilNs || !sameShape;
}

void ModbusMaster::sendAttempt()
{
    ++m_attempt;
    m_attemptError = NoError;
    QByteArray frame;
    if (m_framing == Framing::Rtu) {
        // A frame cut short by a time-out can never be completed by the next reply.
        m_rx.clear();
        frame.append(char(m_current.slave));
        frame += m_current.pdu;
        const Uint16 crc = crc16(frame);
        frame.append(char(crc & 0xFF));
        frame.append(char(crc >> 8));
    } else {
        // Buffered bytes stay: the stream keeps its framing, and a late answer is skipped by its id.
        ++m_transactionId;
        putU16(frame, m_transactionId);
        putU16(frame, 0);
        putU16(frame, quint32(m_current.pdu.size() + 1));
        frame.append(char(m_current.slave));
        frame += m_current.pdu;
    }
    m_state = State::AwaitingReply;
    m_clock.start();
    m_sentNs = m_lineActiveNs = m_line.nsecsElapsed();

    const quint64 epoch = m_epoch;
    const auto send = m_cb.sendBytes;
    const bool sent = send && send(frame);
    if (epoch != m_epoch)
        return;     // the transport closed the link from inside its send
    if (!sent) {
        // Retried after the response time, like a lost reply, to give the transport a moment.
        qWarning() << "Modbus frame could not be sent to slave" << int(m_current.slave) << "attempt" << m_attempt;
        m_state = State::SendFailed;
    }
}

void ModbusMaster::attemptFailed(int error)
{
    if (m_attempt <= m_retries) {
        qDebug() << "Modbus retry for slave" << int(m_current.slave) << "function" << int(m_current.function)
                 << "after" << errorText(error);
        startAttempt();
    } else {
        giveUp(error);
    }
}

void ModbusMaster::checkReply()
{
    Uint8 slave = 0;
    QByteArray pdu;
    int error = NoError;
    const bool complete = m_framing == Framing::Rtu ? takeRtuFrame(&slave, &pdu, &error)
                                                    : takeTcpFrame(&slave, &pdu, &error);
    if (!complete) {
        // A damaged answer with nothing after it once the line is quiet is all the device sent:
        // asked again at once, as before the noise scan, rather than after the whole time-out.
        const bool damaged = m_attemptError != NoError && m_rx.isEmpty()
                             && m_line.nsecsElapsed() - m_lineActiveNs >= m_gapNs;
        if (damaged || m_clock.hasExpired(m_timeout)) {
            m_timedOut = m_timedOut || !damaged;
            attemptFailed(m_attemptError != NoError ? m_attemptError : Timeout);
        }
        return;
    }
    m_rx.clear();   // only one request is outstanding, so whatever follows its reply is stale
    if (error == NoError)
        error = checkPdu(slave, pdu);
    if (error == NoError)
        finish(pdu);
    else if (error == ExceptionReply)
        giveUp(error);      // asking again would get the same refusal
    else
        attemptFailed(error);
}

// Takes the first frame that answers the outstanding request. Bytes before it (line noise, a
// stray or late frame) are skipped one at a time, so a good answer is found behind any of them.
bool ModbusMaster::takeRtuFrame(Uint8 *slave, QByteArray *pdu, int *)
{
    int keepFrom = m_rx.size();
    for (int at = 0; at < m_rx.size(); ++at) {
        int size = 0;
        switch (rtuCandidate(at, &size)) {
        case Candidate::Bad:
            break;
        case Candidate::Incomplete:
            keepFrom = qMin(keepFrom, at);
            break;
        case Candidate::Complete:
            *slave = Uint8(m_rx.at(at));
            *pdu = m_rx.mid(at + 1, size - 3);
            return true;
        }
    }
    m_rx.remove(0, keepFrom);   // what cannot begin the answer is never needed again
    return false;
}

ModbusMaster::Candidate ModbusMaster::rtuCandidate(int at, int *size)
{
    const Request &r = m_current;
    const int available = m_rx.size() - at;
    if (Uint8(m_rx.at(at)) != r.slave)
        return Candidate::Bad;
    if (available < 3)
        return Candidate::Incomplete;
    const Uint8 function = Uint8(m_rx.at(at + 1));
    if (function == (r.function | ExceptionFlag))
        *size = 5;
    else if (function != r.function)
        return Candidate::Bad;
    else if (r.echoLength > 0)
        *size = 1 + r.echoLength + 2;
    else if (Uint8(m_rx.at(at + 2)) == 2 * r.count)
        *size = 5 + 2 * r.count;
    else
        return Candidate::Bad;
    if (available < *size)
        return Candidate::Incomplete;
    const QByteArray frame = m_rx.mid(at, *size);
    if (crc16(frame.left(*size - 2)) != Uint16(Uint8(frame.at(*size - 2)) | Uint8(frame.at(*size - 1)) << 8)) {
        m_attemptError = BadCrc;
        return Candidate::Bad;
    }
    if (function == r.function && r.echoLength > 0 && frame.mid(1, r.echoLength) != r.pdu.left(r.echoLength)) {
        m_attemptError = BadFrame;
        return Candidate::Bad;
    }
    return Candidate::Complete;
}

bool ModbusMaster::takeTcpFrame(Uint8 *slave, QByteArray *pdu, int *error)
{
    while (m_rx.size() >= 7) {
        const int length = getU16(m_rx, 4);
        if (length < 2 || length > MaxMbapLength) {
            *error = BadFrame;  // not on a frame boundary: the stream is lost
            return true;
        }
        if (m_rx.size() < 6 + length)
            return false;
        const QByteArray frame = m_rx.left(6 + length);
        m_rx.remove(0, 6 + length);
        if (getU16(frame, 0) != m_transactionId)
            continue;           // the answer to an attempt already given up on
        if (getU16(frame, 2) != 0) {
            *error = BadFrame;
            return true;
        }
        *slave = Uint8(frame.at(6));
        *pdu = frame.mid(7);
        return true;
    }
    return false;
}

int ModbusMaster::checkPdu(Uint8 slave, const QByteArray &pdu) const
{
    const Request &r = m_current;
    if (slave != r.slave)
        return BadFrame;
    const Uint8 function = Uint8(pdu.at(0));
    if (function == (r.function | ExceptionFlag) && pdu.size() == 2) {
        qWarning() << "Modbus exception" << int(Uint8(pdu.at(1))) << "from slave" << int(slave)
                   << "function" << int(r.function) << "address" << r.addr;
        return ExceptionReply;
    }
    if (r.echoLength > 0)
        return pdu == r.pdu.left(r.echoLength) ? NoError : BadFrame;
    const bool ok = function == r.function && pdu.size() == 2 + 2 * r.count && Uint8(pdu.at(1)) == 2 * r.count;
    return ok ? NoError : BadFrame;
}

void ModbusMaster::finish(const QByteArray &pdu)
{
    // State first: the callback may queue, close the link or replace the callbacks.
    const Request r = m_current;
    endRequest();
    switch (r.function) {
    case FnReadHolding: {
        QVector<Uint16> values(r.count);
        for (int i = 0; i < r.count; ++i)
            values[i] = getU16(pdu, 2 + 2 * i);
        call(m_cb.readFinished, r.slave, r.addr, values);
        break;
    }
    case FnWriteSingle:
        call(m_cb.writeFinished, r.slave, r.addr, r.value);
        break;
    case FnFileBlock:
        call(m_cb.fileWriteFinished, r.slave, r.offset);
        break;
    }
}

void ModbusMaster::endRequest()
{
    m_state = State::Idle;
    // The answer to the last try may still come, perhaps as late as the first one's did.
    if (m_timedOut) {
        m_late = m_current;
        m_lateUntilNs = m_sentNs + 2 * qint64(m_timeout) * 1000000;
    }
}

void ModbusMaster::giveUp(int error)
{
    const Request r = m_current;
    endRequest();
    m_rx.clear();
    m_error = error;
    qWarning() << "Modbus request to slave" << int(r.slave) << "function" << int(r.function) << "address" << r.addr
               << "failed after" << m_attempt << "attempt(s):" << errorText(error);
    call(m_cb.comError, r.slave, r.function, r.addr, error);
}
