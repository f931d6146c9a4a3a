#ifndef MODBUSMASTER_H
#define MODBUSMASTER_H

#include "comm/deviceenum.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QQueue>
#include <QString>
#include <QVector>
#include <functional>
#include <memory>

// Modbus master without I/O of its own: the transport hands it received bytes and sends the frames
// it builds, both through callbacks. One request is outstanding at a time; the owner steps it.
// Writes go out before queued reads and have a queue of their own: a stop the user asks for never
// waits behind polls, nor is it refused because polls filled their queue.
// The vendor three-argument read 0x23 (oscilloscope sampling) is not built, so samplingData is never called.
class ModbusMaster : public QObject
{
    Q_OBJECT
public:
    enum class Framing { Rtu, Tcp };
    // The function codes it sends, as comError reports them.
    static constexpr Uint8 FnReadHolding = 0x03;
    static constexpr Uint8 FnWriteSingle = 0x06;
    static constexpr Uint8 FnFileBlock = 0x22;
    enum Error { NoError = 0, LinkClosed = 1, RingFull = 2, BadArgument = 3, Timeout = 4, BadCrc = 5,
                 BadFrame = 6, ExceptionReply = 7, NotSupported = 8 };
    struct Callbacks {
        std::function<QByteArray()> receiveBytes;                   // whatever the transport holds, may be empty
        std::function<bool(const QByteArray &)> sendBytes;          // false: could not send, counts as a failed try
        std::function<void(Uint8 slave, Uint16 addr, const QVector<Uint16> &values)> readFinished;
        std::function<void(Uint8 slave, Uint16 addr, Uint16 value)> writeFinished;
        std::function<void(Uint8 unit, quint32 offset)> fileWriteFinished;
        std::function<void(const QVector<Uint16> &samples)> samplingData;     // reserved for 0x23, never called
        std::function<void(Uint8 slave, Uint8 funCode, Uint16 addr, int error)> comError;
    };

    explicit ModbusMaster(QObject *parent = nullptr);
    ~ModbusMaster() override;

    void setCallbacks(const Callbacks &cb);
    void setFraming(Framing f);
    Framing framing() const;
    void setLinkOpen(bool open);
    bool isLinkOpen() const;
    void setResponseTimeout(int ms);
    int responseTimeout() const;
    void setRetries(int n);
    int retries() const;
    // RTU only: sets the silent interval (3.5 characters) that separates frames on the line.
    void setBaudRate(qint32 baud);
    // RTU only: a slave found out of step is asked a read of this register, one every device of the
    // kind has (its status word), before a request that a stale answer could pass for; -1, the
    // default: the register of that request.
    void setResyncAddress(int addr);

    // 1 when queued, 0 when refused (errorNumber() tells why). Results come later from process().
    int readHoldingRegisters(Uint8 slave, Uint16 addr, Uint16 count);
    int writeSingleRegister(Uint8 slave, Uint16 addr, Uint16 value);
    int writeFileBlock(Uint8 unit, quint32 offset, const quint8 *data, Uint16 length, Uint16 lastBlock);

    void process();
    bool isIdle() const;
    int pendingCount() const;
    // Reads queued and not yet sent are forgotten, unanswered; returns how many.
    int dropQueuedReads();
    int errorNumber() const;
    void clearError();

    static QString errorText(int error);
    static Uint16 crc16(const QByteArray &data);
    static const int RingCapacity = 256;    // per queue: reads, and writes

private:
    enum class State { Idle, LineBusy, AwaitingReply, SendFailed };

    struct Request {
        Uint8 slave = 0;
        Uint8 function = 0;
        Uint16 addr = 0;
        Uint16 count = 0;       // 0x03
        Uint16 value = 0;       // 0x06
        quint32 offset = 0;     // 0x22
        QByteArray pdu;         // function code and payload, framed at each send
        int echoLength = 0;     // leading PDU bytes the device echoes back; 0 for a read
    };

    // One try sent to an RTU slave and not answered yet.
    struct Try {
        quint32 shape = 0;      // of the answer it asks for
        qint64 sentNs = 0;
        quint64 request = 0;    // which request sent it
        bool sync = false;      // a resynchronising read sent ahead of that request
        bool proves = false;    // sent while the slave was out of step: its answer shows it in step
    };
    // What the engine knows of one RTU slave.
    struct SlaveLine {
        QVector<Try> owed;          // oldest first
        QVector<quint32> stale;     // shapes a stale answer may still have; any: out of step
        quint32 lastShape = 0;      // of the last frame it sent
        qint64 activeNs = 0;        // when a try last went to it or a frame came from it
        qint64 slowestNs = 0;       // the longest an answer took
        qint64 fastestNs = 0;       // the shortest; 0 before the first
        qint64 soonestNs = 0;       // an answer sooner than that, until nothing belies it
        qint64 quietUntilNs = 0;    // asked nothing until then: a real answer may still be on its way
    };
    enum class Taken { Nothing, Answer, Sync };

    bool addressable(Uint8 slave) const;
    int enqueue(const Request &r);
    int refuse(int error);
    void drop();
    void startAttempt();
    void waitToSend();
    void wakeAt(qint64 ns);
    void wakeAtGapEnd();
    bool lineQuiet() const;
    bool mayAsk();
    void prepareSync(const SlaveLine &line);
    void sendAttempt();
    void attemptFailed(int error);
    void checkReply();
    Taken takeRtuFrame(Uint8 *slave, QByteArray *pdu);
    enum class Candidate { Bad, Incomplete, Complete };   // how far a frame starting at a byte got
    Candidate rtuCandidate(int at, int *size, quint32 *shape);
    Taken account(const QByteArray &frame, quint32 shape);
    quint32 currentShape() const;
    bool takeTcpFrame(Uint8 *slave, QByteArray *pdu, int *error);
    int checkPdu(Uint8 slave, const QByteArray &pdu) const;
    void finish(const QByteArray &pdu);
    void giveUp(int error);

    static quint32 shapeOf(Uint8 slave, Uint8 function, Uint16 count);

    Callbacks m_cb;
    Framing m_framing = Framing::Rtu;
    bool m_linkOpen = false;
    int m_timeout = 300;
    int m_retries = 2;
    int m_error = NoError;

    State m_state = State::Idle;
    QQueue<Request> m_writes;       // 0x06 and 0x22, sent before any read
    QQueue<Request> m_reads;
    Request m_current;
    int m_attempt = 0;
    Uint16 m_transactionId = 0;
    QByteArray m_rx;
    QElapsedTimer m_clock;          // since the current attempt began waiting for the line, then since it was sent
    int m_attemptError = NoError;   // the worst reply seen while waiting, told when the time runs out
    quint64 m_requestId = 0;        // of the current request

    // RTU has no transaction id: a late answer looks like the answer to the next request of the same
    // shape (slave, function, count). So every try is owed an answer until one of its shape pays it,
    // and a slave that owes answers is asked nothing else. Once it has been silent too long they are
    // written off, but their shapes stay stale: a request whose answer a stale one could pass for
    // goes only behind a read whose answer none can have, which shows the slave in step again.
    QElapsedTimer m_line;           // runs from construction; times below are its nanoseconds
    qint64 m_gapNs = 1750000;
    qint64 m_lineActiveNs = -1;     // the last byte received or frame sent
    QHash<Uint8, SlaveLine> m_lines;
    bool m_syncing = false;         // the try on the wire is the resynchronising read
    QByteArray m_syncPdu;
    quint32 m_syncShape = 0;
    int m_resyncAddress = -1;
    QByteArray m_lastFrame;         // since the last send: a repeater's copy of it is no new answer
    qint64 m_lastFrameNs = 0;
    // Steps the engine the moment the inter-frame gap ends, rather than on the next tick after it.
    class GapWake;
    std::unique_ptr<GapWake> m_gapWake;
    qint64 m_gapWakeNs = -1;        // when it is armed for
    quint64 m_epoch = 0;        // bumped whenever pending work is dropped
    bool m_processing = false;
};

#endif // MODBUSMASTER_H
