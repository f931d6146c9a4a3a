#include "comm/modbusmaster.h"

#include <QDebug>
#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>
#include <utility>

#ifdef Q_OS_LINUX
#include <sys/timerfd.h>
#include <unistd.h>
#endif

namespace {

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

// A single-shot wake-up in nanoseconds: the gap is 1.75 ms at most rates, which a millisecond timer
// turns into 2 ms or more. Where the system has no such timer, a precise millisecond one stands in.
class ModbusMaster::GapWake
{
public:
    explicit GapWake(ModbusMaster *engine)
    {
        m_timer.setSingleShot(true);
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, engine, &ModbusMaster::process);
#ifdef Q_OS_LINUX
        m_fd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
        if (m_fd < 0)
            return;
        m_notifier.reset(new QSocketNotifier(m_fd, QSocketNotifier::Read));
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, engine, [this, engine] {
            quint64 expirations = 0;
            if (::read(m_fd, &expirations, sizeof expirations) > 0)
                engine->process();
        });
#endif
    }
    ~GapWake()
    {
#ifdef Q_OS_LINUX
        m_notifier.reset();
        if (m_fd >= 0)
            ::close(m_fd);
#endif
    }

    void arm(qint64 ns)
    {
        ns = qMax<qint64>(ns, 1);   // a zero time would disarm it
#ifdef Q_OS_LINUX
        if (m_fd >= 0) {
            const itimerspec at = { {}, { time_t(ns / 1000000000), long(ns % 1000000000) } };
            ::timerfd_settime(m_fd, 0, &at, nullptr);
            return;
        }
#endif
        m_timer.start(int((ns + 999999) / 1000000));
    }

private:
    QTimer m_timer;
#ifdef Q_OS_LINUX
    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
#endif
};

ModbusMaster::ModbusMaster(QObject *parent)
    : QObject(parent)
    , m_gapWake(new GapWake(this))
{
    m_line.start();
}

ModbusMaster::~ModbusMaster() = default;

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

void ModbusMaster::setResyncAddress(int addr)
{
    m_resyncAddress = addr >= 0 && addr <= 0xFFFF ? addr : -1;
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
            // Nobody asked for these bytes, but on RTU they may hold answers still owed.
            if (m_framing == Framing::Rtu && !(m_rx += in).isEmpty()) {
                Uint8 slave = 0;
                QByteArray pdu;
                takeRtuFrame(&slave, &pdu);
            }
            break;
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
    if (m_state == State::LineBusy)
        waitToSend();
    // Straight on to the next request, so that a transaction costs no extra tick.
    if (m_state == State::Idle && m_linkOpen && (!m_writes.isEmpty() || !m_reads.isEmpty())) {
        m_current = m_writes.isEmpty() ? m_reads.dequeue() : m_writes.dequeue();
        ++m_requestId;
        m_attempt = 0;
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
    return m_writes.size() + m_reads.size() + (m_state == State::Idle ? 0 : 1);
}

int ModbusMaster::dropQueuedReads()
{
    const int dropped = m_reads.size();
    m_reads.clear();
    return dropped;
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
    const bool read = r.function == FnReadHolding;
    QQueue<Request> &queue = read ? m_reads : m_writes;
    const bool currentIsOfKind = m_state != State::Idle && (m_current.function == FnReadHolding) == read;
    if (queue.size() + (currentIsOfKind ? 1 : 0) >= RingCapacity)
        return refuse(RingFull);
    queue.enqueue(r);
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
    m_writes.clear();
    m_reads.clear();
    m_state = State::Idle;
    m_syncing = false;
    m_rx.clear();
    m_lastFrame.clear();
    // What a slave still owes may yet come once the link is open again, on this port or another, so
    // it is out of step until proven. Its timings stay: a slave working off a queue answers about
    // as far apart as before, and must not have it written off sooner.
    for (SlaveLine &line : m_lines) {
        for (const Try &t : qAsConst(line.owed)) {
            if (!line.stale.contains(t.shape))
                line.stale.append(t.shape);
        }
        line.owed.clear();
        line.soonestNs = line.quietUntilNs = 0;
    }
    ++m_epoch;
}

void ModbusMaster::startAttempt()
{
    ++m_attempt;
    m_state = State::LineBusy;
    m_clock.start();
    waitToSend();
}

// The wait is bounded by the response time: a line that never falls quiet, or a slave that never
// pays what it owes, fails the attempt as a device that never answers does.
void ModbusMaster::waitToSend()
{
    if (mayAsk())
        sendAttempt();
    else if (m_clock.hasExpired(m_timeout))
        attemptFailed(Timeout);
    else if (!lineQuiet())
        wakeAtGapEnd();
}

void ModbusMaster::wakeAt(qint64 ns)
{
    if (ns != m_gapWakeNs)      // a tick on the way leaves the wake-up as it was
        m_gapWake->arm(ns - m_line.nsecsElapsed());
    m_gapWakeNs = ns;
}

void ModbusMaster::wakeAtGapEnd()
{
    wakeAt(m_lineActiveNs + m_gapNs);
}

// RTU frames are told apart by silence: nothing goes out until the line has been quiet for the
// inter-frame gap, and whatever arrives meanwhile is no answer to what is asked next.
bool ModbusMaster::lineQuiet() const
{
    return m_framing != Framing::Rtu || m_lineActiveNs < 0 || m_line.nsecsElapsed() - m_lineActiveNs >= m_gapNs;
}

bool ModbusMaster::mayAsk()
{
    if (m_framing != Framing::Rtu)
        return true;
    if (!lineQuiet())
        return false;
    SlaveLine &line = m_lines[m_current.slave];
    const qint64 now = m_line.nsecsElapsed();
    if (now < line.quietUntilNs) {
        wakeAt(line.quietUntilNs);
        return false;
    }
    // A slave answers in the order it is asked: one that still owes answers to earlier requests would
    // keep this one waiting behind them until it timed out as well. The tries of this request ask the
    // same question, so they hold nothing. A write, which may be a stop the user is waiting on, waits
    // only for echoes of writes, which alone its echo could be taken for.
    const quint32 shape = currentShape();
    const bool read = m_current.function == FnReadHolding;
    auto holds = [&](const Try &t) { return t.request != m_requestId && (read || t.shape == shape); };
    if (std::any_of(line.owed.cbegin(), line.owed.cend(), holds)) {
        // Written off once the slave has been silent for longer than it has ever taken to answer, and
        // the response time more: a slave that works through a queue answers about that far apart.
        // Traffic with other slaves on the line says nothing of what this one still owes.
        if (now - line.activeNs <= line.slowestNs + qint64(m_timeout) * 1000000)
            return false;
        int writtenOff = 0;
        for (int i = 0; i < line.owed.size();) {
            if (!holds(line.owed.at(i))) {
                ++i;
                continue;
            }
            if (!line.stale.contains(line.owed.at(i).shape))
                line.stale.append(line.owed.at(i).shape);
            line.owed.remove(i);
            ++writtenOff;
        }
        qDebug() << "Modbus: slave" << int(m_current.slave) << "never sent" << writtenOff
                 << "answer(s) owed, written off; out of step until proven";
    }
    m_syncing = !line.stale.isEmpty() && (line.stale.contains(shape) || line.lastShape == shape);
    if (m_syncing)
        prepareSync(line);
    return true;
}

// A read no stale answer can pass for: of a count that no shape still in play has, neither the
// request's, nor one the slave may still answer with, nor that of its last answer, which it may
// repeat. Its answer shows that the slave is done with everything asked before it.
void ModbusMaster::prepareSync(const SlaveLine &line)
{
    const quint32 shape = currentShape();
    auto inPlay = [&](quint32 s) {
        return s == shape || s == line.lastShape || line.stale.contains(s)
            || std::any_of(line.owed.cbegin(), line.owed.cend(), [&](const Try &t) {
                   return t.shape == s && !(t.sync && t.request == m_requestId);   // a try of this very read
               });
    };
    Uint16 count = 1;
    while (count < MaxReadCount && inPlay(shapeOf(m_current.slave, FnReadHolding, count)))
        ++count;
    const int first = m_resyncAddress >= 0 ? m_resyncAddress : m_current.addr;
    m_syncShape = shapeOf(m_current.slave, FnReadHolding, count);
    m_syncPdu.clear();
    m_syncPdu.append(char(FnReadHolding));
    putU16(m_syncPdu, quint32(qMin(first, 0x10000 - count)));
    putU16(m_syncPdu, count);
}

void ModbusMaster::sendAttempt()
{
    m_attemptError = NoError;
    QByteArray frame;
    if (m_framing == Framing::Rtu) {
        // A frame cut short by a time-out can never be completed by the next reply.
        m_rx.clear();
        frame.append(char(m_current.slave));
        frame += m_syncing ? m_syncPdu : m_current.pdu;
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
    m_lineActiveNs = m_line.nsecsElapsed();

    const quint64 epoch = m_epoch;
    const auto send = m_cb.sendBytes;
    const bool sent = send && send(frame);
    if (epoch != m_epoch)
        return;     // the transport closed the link from inside its send
    if (!sent) {
        // Retried after the response time, like a lost reply, to give the transport a moment.
        qWarning() << "Modbus frame could not be sent to slave" << int(m_current.slave) << "attempt" << m_attempt;
        m_state = State::SendFailed;
        return;
    }
    if (m_framing == Framing::Rtu) {
        SlaveLine &line = m_lines[m_current.slave];
        Try t;
        t.shape = m_syncing ? m_syncShape : currentShape();
        t.sentNs = m_lineActiveNs;
        t.request = m_requestId;
        t.sync = m_syncing;
        t.proves = !line.stale.isEmpty();
        line.owed.append(t);
        line.activeNs = m_lineActiveNs;
        // Nothing came to belie the answer that came so soon: the slave is that quick.
        if (line.soonestNs > 0)
            line.fastestNs = qMin(line.fastestNs, std::exchange(line.soonestNs, 0));
        m_lastFrame.clear();
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
    bool complete = false;
    if (m_framing == Framing::Rtu) {
        const Taken taken = takeRtuFrame(&slave, &pdu);
        if (taken == Taken::Sync) {
            // In step again: the request itself goes once the line is quiet.
            m_syncing = false;
            m_state = State::LineBusy;
            m_clock.start();
            return;
        }
        complete = taken == Taken::Answer;
    } else {
        complete = takeTcpFrame(&slave, &pdu, &error);
    }
    if (!complete) {
        // A damaged answer with nothing after it once the line is quiet is all the device sent:
        // asked again at once, as before the noise scan, rather than after the whole time-out.
        const bool damaged = m_attemptError != NoError && m_rx.isEmpty();
        if ((damaged && lineQuiet()) || m_clock.hasExpired(m_timeout))
            attemptFailed(m_attemptError != NoError ? m_attemptError : Timeout);
        else if (damaged)
            wakeAtGapEnd();
        return;
    }
    // Only one request is outstanding, so whatever follows its reply is stale; on RTU it may still
    // pay an answer owed, and is looked through before the next request.
    if (m_framing == Framing::Tcp)
        m_rx.clear();
    if (error == NoError)
        error = checkPdu(slave, pdu);
    if (error == NoError)
        finish(pdu);
    else if (error == ExceptionReply)
        giveUp(error);      // asking again would get the same refusal
    else
        attemptFailed(error);
}

// Takes the answer to the outstanding request, if there is one, and accounts for every frame of a
// slave it talks to that comes before it. Bytes that begin no such frame (line noise, another
// slave's traffic, a damaged frame) are skipped one at a time, so a good answer is found behind any
// of them.
ModbusMaster::Taken ModbusMaster::takeRtuFrame(Uint8 *slave, QByteArray *pdu)
{
    if (m_lines.isEmpty()) {
        m_rx.clear();
        return Taken::Nothing;
    }
    int keepFrom = m_rx.size();
    for (int at = 0; at < m_rx.size();) {
        int size = 0;
        quint32 shape = 0;
        switch (rtuCandidate(at, &size, &shape)) {
        case Candidate::Bad:
            ++at;
            break;
        case Candidate::Incomplete:
            keepFrom = qMin(keepFrom, at);
            ++at;
            break;
        case Candidate::Complete: {
            const QByteArray frame = m_rx.mid(at, size);
            m_rx.remove(0, at + size);
            at = 0;
            keepFrom = m_rx.size();
            const Taken taken = account(frame, shape);
            if (taken == Taken::Answer) {
                *slave = Uint8(frame.at(0));
                *pdu = frame.mid(1, size - 3);
            }
            if (taken != Taken::Nothing)
                return taken;
            break;
        }
        }
    }
    m_rx.remove(0, keepFrom);   // what cannot begin a frame is never needed again
    return Taken::Nothing;
}

// A frame of a slave the engine talks to, of a function it asks: its shape tells its size. An
// exception answer carries no count; its shape has count 0.
ModbusMaster::Candidate ModbusMaster::rtuCandidate(int at, int *size, quint32 *shape)
{
    const int available = m_rx.size() - at;
    const Uint8 slave = Uint8(m_rx.at(at));
    if (!m_lines.contains(slave))
        return Candidate::Bad;
    if (available < 3)
        return Candidate::Incomplete;
    const Uint8 function = Uint8(m_rx.at(at + 1));
    const Uint8 byteCount = Uint8(m_rx.at(at + 2));
    const Uint8 asked = function & ~ExceptionFlag;
    if (asked != FnReadHolding && asked != FnWriteSingle)
        return Candidate::Bad;
    if (function & ExceptionFlag) {
        *shape = shapeOf(slave, asked, 0);
        *size = 5;
    } else if (function == FnWriteSingle) {
        *shape = shapeOf(slave, function, 0);
        *size = 8;
    } else if (byteCount > 0 && byteCount % 2 == 0 && byteCount <= 2 * MaxReadCount) {
        *shape = shapeOf(slave, function, byteCount / 2);
        *size = 5 + byteCount;
    } else {
        return Candidate::Bad;
    }
    if (available < *size)
        return Candidate::Incomplete;
    const QByteArray frame = m_rx.mid(at, *size);
    if (crc16(frame.left(*size - 2)) != Uint16(Uint8(frame.at(*size - 2)) | Uint8(frame.at(*size - 1)) << 8)) {
        const quint32 wire = m_syncing ? m_syncShape : currentShape();
        const quint32 mask = function & ExceptionFlag ? 0xFFFF0000u : 0xFFFFFFFFu;
        if (m_state == State::AwaitingReply && (*shape & mask) == (wire & mask))
            m_attemptError = BadCrc;
        return Candidate::Bad;
    }
    return Candidate::Complete;
}

// One frame of a slave came: it pays the oldest try of its shape still owed, and with it the tries
// sent before that one, whose answers a slave that answers in order will never send. An exception
// answer pays the oldest try of its function. A frame nobody is owed shows the slave out of step:
// the first such frame may have been taken for an answer already, but the next request that a stale
// answer could pass for goes only behind a read that none can.
ModbusMaster::Taken ModbusMaster::account(const QByteArray &frame, quint32 shape)
{
    SlaveLine &line = m_lines[Uint8(frame.at(0))];
    const qint64 now = m_lineActiveNs;
    line.activeNs = now;
    // A copy right behind a frame, before the line fell quiet, is a repeater's: the same frame.
    const qint64 copyWindowNs = m_gapNs + qint64(frame.size()) * m_gapNs * 2 / 7;
    const bool copy = frame == m_lastFrame && now - m_lastFrameNs < copyWindowNs;
    m_lastFrame = frame;
    m_lastFrameNs = now;
    if (copy)
        return Taken::Nothing;
    line.lastShape = shape;
    const quint32 mask = Uint8(frame.at(1)) & ExceptionFlag ? 0xFFFF0000u : 0xFFFFFFFFu;
    const auto paid = std::find_if(line.owed.cbegin(), line.owed.cend(),
                                   [&](const Try &t) { return (t.shape & mask) == (shape & mask); });
    if (paid == line.owed.cend()) {
        if (!line.stale.contains(shape)) {
            qDebug() << "Modbus: slave" << int(Uint8(frame.at(0))) << "sent an answer nobody is owed:"
                     << frame.toHex() << "- out of step until proven";
            line.stale.append(shape);
        }
        line.soonestNs = 0;
        line.quietUntilNs = 0;
        return Taken::Nothing;
    }
    const Try t = *paid;
    line.owed.remove(0, int(paid - line.owed.cbegin()) + 1);
    const bool ours = m_state == State::AwaitingReply && t.request == m_requestId && t.sync == m_syncing;
    const bool echoed = !ours || t.sync || mask != 0xFFFFFFFFu || m_current.echoLength == 0
                        || frame.mid(1, m_current.echoLength) == m_current.pdu.left(m_current.echoLength);
    const qint64 took = now - t.sentNs;
    bool farTooSoon = false;
    line.slowestNs = qMax(line.slowestNs, took);
    if (ours && line.fastestNs > 0 && took < line.fastestNs) {
        // Sooner than this slave has ever answered: perhaps a stray, or an answer owed by a line
        // already out of step. The real answer would come about when its answers come, so it is
        // asked nothing more until then, and if that answer comes it shows the slave out of step
        // rather than pass for the answer to the next request. On a steady line no answer is ever
        // sooner, so this costs nothing there.
        line.soonestNs = took;
        const qint64 waitNs = line.fastestNs + m_gapNs;
        farTooSoon = took < line.fastestNs / 2;
        line.quietUntilNs = t.sentNs + (farTooSoon ? qMax(waitNs, qMin(2 * line.slowestNs, qint64(m_timeout) * 1000000))
                                                   : waitNs);
    } else if (ours && line.fastestNs == 0) {
        line.fastestNs = took;
    }
    if (t.proves && echoed)
        line.stale.clear();
    // Far sooner is hardly jitter. The real answer may come later than any wait, so the next
    // request of this shape is proven in step first.
    if (farTooSoon && !line.stale.contains(t.shape))
        line.stale.append(t.shape);
    if (!ours)
        return Taken::Nothing;
    if (!echoed) {
        m_attemptError = BadFrame;
        return Taken::Nothing;
    }
    return t.sync ? Taken::Sync : Taken::Answer;
}

quint32 ModbusMaster::currentShape() const
{
    return shapeOf(m_current.slave, m_current.function, m_current.count);
}

quint32 ModbusMaster::shapeOf(Uint8 slave, Uint8 function, Uint16 count)
{
    return quint32(slave) << 24 | quint32(function) << 16 | count;
}

// Frames before the answer (answers to attempts already given up on) are stepped over and the
// buffer compacted once, so a flood of them costs time in proportion to its size.
bool ModbusMaster::takeTcpFrame(Uint8 *slave, QByteArray *pdu, int *error)
{
    int at = 0;
    bool taken = false;
    while (!taken && m_rx.size() - at >= 7) {
        const int length = getU16(m_rx, at + 4);
        if (length < 2 || length > MaxMbapLength) {
            *error = BadFrame;  // not on a frame boundary: the stream is lost
            return true;
        }
        if (m_rx.size() - at < 6 + length)
            break;
        const int frame = at;
        at += 6 + length;
        if (getU16(m_rx, frame) != m_transactionId)
            continue;
        taken = true;
        if (getU16(m_rx, frame + 2) != 0) {
            *error = BadFrame;
        } else {
            *slave = Uint8(m_rx.at(frame + 6));
            *pdu = m_rx.mid(frame + 7, length - 1);
        }
    }
    m_rx.remove(0, at);
    return taken;
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
    m_state = State::Idle;
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

void ModbusMaster::giveUp(int error)
{
    const Request r = m_current;
    m_state = State::Idle;
    m_syncing = false;
    m_rx.clear();
    m_error = error;
    qWarning() << "Modbus request to slave" << int(r.slave) << "function" << int(r.function) << "address" << r.addr
               << "failed after" << m_attempt << "attempt(s):" << errorText(error);
    call(m_cb.comError, r.slave, r.function, r.addr, error);
}
