#include "comm/modbusmaster.h"
#include "comm/serialporthelper.h"
#include "support/ptypair.h"
#include "support/rtupeer.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QtTest>
#include <memory>

using MB = ModbusMaster;
Q_DECLARE_METATYPE(MB::Framing)

namespace {
const MB::Framing Rtu = MB::Framing::Rtu, Tcp = MB::Framing::Tcp;

QByteArray rtu(const QByteArray &hex)
{
    QByteArray f = QByteArray::fromHex(hex);
    const Uint16 crc = MB::crc16(f);
    return f.append(char(crc & 0xFF)).append(char(crc >> 8));
}

QByteArray mbap(int tid, const QByteArray &unitAndPduHex)
{
    return QByteArray::fromHex(QString::asprintf("%04x0000%04x", tid, int(unitAndPduHex.size() / 2)).toLatin1() + unitAndPduHex);
}

// Runs the event loop, as the application does, until done() or `ms` have passed. QTest's waits
// sleep between batches of events, which would lump together frames that come apart on a line.
bool runUntil(const std::function<bool()> &done, int ms)
{
    QEventLoop loop;
    QTimer check;
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    check.start(1);
    if (!done())
        loop.exec();
    return done();
}

// Scripted transport: frames sent are kept, replies fed in, each callback becomes one line in `events`.
struct Bench {
    ModbusMaster mb;
    QList<QByteArray> sent;
    QList<qint64> sentAt, sentNs;
    QByteArray incoming;
    bool sendOk = true;
    QStringList events;
    std::function<void()> afterRead, duringSend = [] {};
    QElapsedTimer clock;

    MB::Callbacks cb;

    explicit Bench(MB::Framing framing = Rtu)
    {
        clock.start();
        cb.receiveBytes = [this] { return std::exchange(incoming, QByteArray()); };
        cb.sendBytes = [this](const QByteArray &f) {
            sent << f;
            sentAt << clock.elapsed();
            sentNs << clock.nsecsElapsed();
            duringSend();
            return sendOk;
        };
        cb.readFinished = [this](Uint8 s, Uint16 a, const QVector<Uint16> &v) {
            QStringList l;
            std::transform(v.begin(), v.end(), std::back_inserter(l), [](Uint16 x) { return QString::number(x); });
            events << QString::asprintf("read %d %04x %s", s, a, qPrintable(l.join(',')));
            if (auto once = std::exchange(afterRead, nullptr))
                once();
        };
        cb.writeFinished = [this](Uint8 s, Uint16 a, Uint16 v) { events << QString::asprintf("write %d %04x %d", s, a, v); };
        cb.fileWriteFinished = [this](Uint8 u, quint32 o) { events << QString::asprintf("file %d %x", u, o); };
        cb.comError = [this](Uint8 s, Uint8 f, Uint16 a, int e) { events << QString::asprintf("error %d %d %04x %d", s, f, a, e); };
        mb.setCallbacks(cb), mb.setFraming(framing), mb.setResponseTimeout(20), mb.setLinkOpen(true);
    }
    // The application's serial transport instead of the script, stepped on a 1 ms tick as the
    // communication page steps it, and whenever bytes arrive.
    void attach(SerialPortHelper *port, QTimer *tick)
    {
        cb.receiveBytes = [port] { return port->takeReceived(); };
        cb.sendBytes = [this, port](const QByteArray &f) { return sent << f, sentAt << clock.elapsed(), port->sendBytes(f); };
        mb.setCallbacks(cb);
        QObject::connect(port, &LinkPage::bytesArrived, &mb, &ModbusMaster::process);
        QObject::connect(tick, &QTimer::timeout, &mb, &ModbusMaster::process);
        tick->start(1);
    }
    void reply(const QByteArray &bytes) { incoming += bytes, mb.process(); }
    bool stepUntil(const std::function<bool()> &done, int ms = 3000)
    {
        QElapsedTimer t;
        for (t.start(); !done() && t.elapsed() < ms; QTest::qWait(1))
            mb.process();
        return done();
    }
    bool waitSent(int n, int ms = 3000) { return stepUntil([&] { return sent.size() >= n; }, ms); }
};

// The engine on a serial port at one end of a pseudo-terminal pair, a scripted device at the other.
struct SerialRig {
    PtyPair pty;
    RtuPeer peer;
    SerialPortHelper port;
    QTimer tick;
    Bench bench;

    // Joined by socat, or, when paced, by a relay that gives each byte its time on a 115200 baud line.
    bool open(bool paced = false)
    {
        if (!(paced ? pty.openPaced(115200) : pty.open()) || !peer.open(pty.end(0))
            || !port.openPort(pty.end(1), 115200, QSerialPort::Data8, QSerialPort::NoParity, QSerialPort::OneStop))
            return false;
        bench.mb.setResponseTimeout(300);
        bench.mb.setBaudRate(115200);
        bench.attach(&port, &tick);
        return true;
    }
    // How many reads from `first` on ended with their own register's value; -1 unless each ended
    // once, in call order, read or reported.
    int checkReads(Uint16 first, int count) const
    {
        if (bench.events.size() != count)
            return -1;
        int answered = 0;
        for (int i = 0; i < count; ++i) {
            const Uint16 addr = Uint16(first + i);
            const QString &event = bench.events.at(i);
            if (event == QString::asprintf("read 1 %04x %d", addr, RtuPeer::valueOf(addr)))
                ++answered;
            else if (!event.startsWith(QString::asprintf("error 1 3 %04x ", addr)))
                return -1;
        }
        return answered;
    }
    // Reads that ended with values, with failures, and with a value of another register among theirs.
    struct Tally {
        int answered = 0, failed = 0, wrong = 0;
    };
    Tally tally() const
    {
        Tally t;
        static const QRegularExpression read(QStringLiteral("^read 1 ([0-9a-f]{4}) ([0-9,]+)$"));
        for (const QString &event : bench.events) {
            const QRegularExpressionMatch m = read.match(event);
            if (!m.hasMatch()) {
                ++t.failed;
                continue;
            }
            const Uint16 addr = Uint16(m.captured(1).toUInt(nullptr, 16));
            const QStringList values = m.captured(2).split(',');
            bool right = true;
            for (int i = 0; i < values.size(); ++i)
                right = right && values.at(i).toUInt() == RtuPeer::valueOf(Uint16(addr + i));
            ++(right ? t.answered : t.wrong);
        }
        return t;
    }
    // As the communication page does on a reconnect: the port closed and opened again.
    bool reopen()
    {
        bench.mb.setLinkOpen(false);
        port.closePort();
        bench.mb.clearError();
        bench.mb.setBaudRate(115200);
        if (!port.openPort(pty.end(1), 115200, QSerialPort::Data8, QSerialPort::NoParity, QSerialPort::OneStop))
            return false;
        bench.mb.setLinkOpen(true);
        return true;
    }
    bool waitIdle(int ms) { return runUntil([this] { return bench.mb.isIdle(); }, ms); }
};

enum class Misbehaviour { BusyStall, QueuedStall, SlowReconnect, LateDuplicate, LateDuplicateSlowAnswer, RepeatOnce, RepeatAlways };
} // namespace
Q_DECLARE_METATYPE(Misbehaviour)

class TestModbusMaster : public QObject
{
    Q_OBJECT
private slots:
    void staticHelpers()
    {
        QCOMPARE(MB::crc16("123456789"), Uint16(0x4B37));
        QCOMPARE(MB::crc16(QByteArray()), Uint16(0xFFFF));
        QSet<QString> texts;
        for (int e = MB::NoError; e <= MB::NotSupported; ++e)
            texts << MB::errorText(e);
        QCOMPARE(texts.size(), 9);
        QVERIFY(!texts.contains(QStringLiteral("Unknown error")));
        QCOMPARE(MB::errorText(9), QStringLiteral("Unknown error"));
    }

    void requestFrames_data()
    {
        QTest::addColumn<MB::Framing>("framing"), QTest::addColumn<bool>("write");
        QTest::addColumn<int>("slave"), QTest::addColumn<QByteArray>("expected");
        QTest::newRow("rtu read") << Rtu << false << 1 << QByteArray("01030c000001875a");
        QTest::newRow("rtu write") << Rtu << true << 1 << QByteArray("01060c0100011a9a");
        QTest::newRow("tcp read") << Tcp << false << 1 << QByteArray("00010000000601030c000001");
        QTest::newRow("tcp write unit 0") << Tcp << true << 0 << QByteArray("00010000000600060c010001");
    }
    void requestFrames()
    {
        QFETCH(MB::Framing, framing);
        QFETCH(bool, write);
        QFETCH(int, slave);
        QFETCH(QByteArray, expected);
        Bench b(framing);
        QCOMPARE(write ? b.mb.writeSingleRegister(slave, 0x0C01, 1) : b.mb.readHoldingRegisters(slave, 0x0C00, 1), 1);
        QVERIFY(b.sent.isEmpty());      // nothing leaves before the engine is stepped
        b.mb.process();
        QCOMPARE(b.sent.size(), 1);
        QCOMPARE(b.sent.first().toHex(), expected);
    }

    void framesAndTransactionIds()
    {
        Bench r;
        r.mb.readHoldingRegisters(1, 0x0C00, 1);
        r.mb.process();
        QCOMPARE(r.sent, QList<QByteArray>{ QByteArray::fromHex("01030c000001875a") });
        r.mb.writeSingleRegister(1, 0x0C01, 1);
        r.reply(rtu("0103020005"));
        QVERIFY(r.waitSent(2));
        r.reply(rtu("01060c010002"));      // a wrong echo is a failed try
        QVERIFY(r.waitSent(3));
        r.reply(rtu("01060c010001"));
        QCOMPARE(r.events, QStringList({ "read 1 0c00 5", "write 1 0c01 1" }));
        Bench b(Tcp);
        b.mb.readHoldingRegisters(7, 0x0100, 2);
        b.mb.process();
        b.mb.writeSingleRegister(0, 0x0101, 0xBEEF);    // unit 0 is a device of its own on TCP
        b.reply(mbap(1, "07030400010002"));
        b.reply(mbap(2, "00060101beef"));
        QCOMPARE(b.sent[1].toHex(), QByteArray("00020000000600060101beef"));
        QVERIFY(b.mb.isIdle());
        b.reply(mbap(3, "0703020003").left(5));    // stray bytes while idle are dropped, not kept for the next reply
        b.mb.readHoldingRegisters(7, 0x0102, 1);
        b.mb.process();
        QCOMPARE(b.sent[2].left(2).toHex(), QByteArray("0003"));
        b.reply(mbap(3, "0703020004"));
        QCOMPARE(b.events, QStringList({ "read 7 0100 1,2", "write 0 0101 48879", "read 7 0102 4" }));
    }

    // An answer that comes a byte at a time is taken whole; what trails it never leaks into the next one.
    void splitReply_data()
    {
        QTest::addColumn<MB::Framing>("framing");
        QTest::newRow("rtu") << Rtu;
        QTest::newRow("tcp") << Tcp;
    }
    void splitReply()
    {
        QFETCH(MB::Framing, framing);
        const bool tcp = framing == Tcp;
        const QByteArray reply = tcp ? mbap(1, "0103041234abcd") : rtu("0103041234abcd");
        Bench b(framing);
        b.mb.readHoldingRegisters(1, 0x0C00, 2);
        b.mb.readHoldingRegisters(1, 0x0C02, 1);
        b.mb.process();
        for (int i = 0; i < reply.size() - 1; ++i)
            b.reply(reply.mid(i, 1));
        QVERIFY(b.events.isEmpty());
        b.reply(reply.right(1) + QByteArray::fromHex("0103"));
        QCOMPARE(b.events, QStringList("read 1 0c00 4660,43981"));
        QVERIFY(b.waitSent(2));
        b.reply(tcp ? mbap(2, "0103020007") : rtu("0103020007"));
        QCOMPARE(b.events.last(), QStringLiteral("read 1 0c02 7"));
    }

    // RTU: an answer to the read of 0c00 may never be taken for the next read, of 0c02.
    void rtuAnswerFound_data()
    {
        QTest::addColumn<QByteArray>("before"), QTest::addColumn<QByteArray>("after");
        QTest::newRow("one noise byte") << QByteArray::fromHex("00") << QByteArray();
        QTest::newRow("noise shaped as a header") << QByteArray::fromHex("010304") << QByteArray();
        QTest::newRow("twelve noise bytes") << QByteArray::fromHex("ff0103040102fe01030401") << QByteArray();
        QTest::newRow("an answer of another slave") << rtu("0203041111aaaa") << QByteArray();
        QTest::newRow("a cut-off answer before it") << rtu("0103041234abcd").left(5) << QByteArray();
        QTest::newRow("answered twice") << QByteArray() << rtu("0103041234abcd");
        QTest::newRow("answer then noise") << QByteArray() << QByteArray::fromHex("0103");
    }
    void rtuAnswerFound()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        Bench b;
        b.mb.readHoldingRegisters(1, 0x0C00, 2);
        b.mb.readHoldingRegisters(1, 0x0C02, 2);
        b.mb.process();
        b.reply(before);
        for (char c : rtu("0103041234abcd"))     // byte by byte, as a slow line delivers it
            b.reply(QByteArray(1, c));
        b.reply(after);         // within the inter-frame gap: still part of the last exchange
        QCOMPARE(b.events, QStringList("read 1 0c00 4660,43981"));
        QCOMPARE(b.sent.size(), 1);
        QVERIFY(b.waitSent(2));
        b.reply(rtu("01030400070008"));
        QCOMPARE(b.events, QStringList({ "read 1 0c00 4660,43981", "read 1 0c02 7,8" }));
    }

    // With nothing stepping it, the engine sends the next request by itself the moment the line has
    // been quiet for the inter-frame gap, and not before.
    void rtuSendsWhenGapEnds()
    {
        Bench b;
        b.mb.setBaudRate(9600);     // 3.5 characters of 11 bits: 4.01 ms
        b.mb.readHoldingRegisters(1, 0x0C00, 1);
        b.mb.readHoldingRegisters(1, 0x0C01, 1);
        b.mb.process();
        const qint64 answeredNs = b.clock.nsecsElapsed();
        b.reply(rtu("0103020005"));
        QCOMPARE(b.sent.size(), 1);
        QTRY_COMPARE_WITH_TIMEOUT(b.sent.size(), 2, 1000);
        QVERIFY2(b.sentNs[1] - answeredNs >= 4010000, qPrintable(QString::number(b.sentNs[1] - answeredNs)));
    }

    // A device slower than the time-out: its answer to the retry must not pass for the next read.
    void rtuLateAnswer()
    {
        Bench b;
        b.mb.setResponseTimeout(200);
        b.mb.readHoldingRegisters(1, 0x0C00, 1);
        b.mb.readHoldingRegisters(1, 0x0C01, 1);
        b.mb.readHoldingRegisters(2, 0x0C01, 1);
        QVERIFY(b.waitSent(2));
        QCOMPARE(b.sent[1], b.sent[0]);
        b.reply(rtu("0103020005"));                  // late, to the first try
        QCOMPARE(b.events, QStringList("read 1 0c00 5"));
        QVERIFY2(!b.waitSent(3, 100), "the next read went out while the answer to the retry was owed");
        b.reply(rtu("0103020005"));                  // late, to the retry
        QVERIFY(b.waitSent(3));
        b.reply(rtu("0103020006"));
        QVERIFY(b.waitSent(4));                      // another slave's answer cannot be mistaken: no wait
        b.reply(rtu("0203020008"));
        QCOMPARE(b.events, QStringList({ "read 1 0c00 5", "read 1 0c01 6", "read 2 0c01 8" }));
    }

    // A slave once slower than every try of a write still seems to owe the answers to the later
    // tries. Once it has answered a request sent after them it will never send those: writes go out
    // again between the reads a page keeps asking, rather than failing unsent for good. The first
    // read, asked while those echoes are owed, waits behind them and fails unsent; once they are
    // written off, the write goes behind a read that no stale echo can pass for.
    void rtuOwedAnswerGoneOnceALaterOneCame()
    {
        Bench b;
        b.mb.setResponseTimeout(100);
        b.mb.writeSingleRegister(1, 0x0C00, 1);
        QVERIFY(b.waitSent(3));
        QTest::qWait(80);
        b.reply(rtu("01060c000001"));                // late, to the first try
        QStringList expected("write 1 0c00 1");
        QCOMPARE(b.events, expected);
        for (int i = 0; i < 3; ++i) {
            b.mb.readHoldingRegisters(1, 0x0C10, 1);
            b.mb.process();
            b.mb.writeSingleRegister(1, 0x0C01, Uint16(i));
            const int sent = b.sent.size();
            QVERIFY(b.waitSent(sent + 1));
            if (i == 0)
                QCOMPARE(b.sent.at(sent), rtu("01030c010001"));
            b.reply(rtu("0103020005"));
            QVERIFY(b.stepUntil([&] { return b.sent.size() > sent + 1 || b.events.size() > expected.size() + 1; }));
            QCOMPARE(b.sent.size(), sent + 2);
            b.reply(rtu(QByteArray("01060c01000") + QByteArray::number(i)));
            expected << (i == 0 ? "error 1 3 0c10 4" : "read 1 0c10 5") << QString::asprintf("write 1 0c01 %d", i);
            QCOMPARE(b.events, expected);
        }
    }

    // An answer sooner than the slave has ever answered may be a stray, the real answer still on its
    // way. The slave is asked nothing more until that could be in: when it comes, it shows the slave
    // out of step rather than pass for the answer to the next read, which goes behind a read no stale
    // answer fits. The stray itself cannot be told from an answer.
    void rtuAnswerSoonerThanEver()
    {
        Bench b;
        b.mb.setResponseTimeout(5000);
        auto replyAfter = [&b](int ms, const QByteArray &hex) {
            runUntil([&] { return b.clock.elapsed() - b.sentAt.last() >= ms; }, 5000);
            b.reply(hex.isEmpty() ? QByteArray() : rtu(hex));
        };
        for (int i = 0; i < 4; ++i)
            b.mb.readHoldingRegisters(1, Uint16(0x0C00 + i), 1);
        QVERIFY(b.waitSent(1));
        replyAfter(200, "0103020000");
        QVERIFY(b.waitSent(2));
        replyAfter(200, "0103020001");
        QVERIFY(b.waitSent(3));
        replyAfter(130, "0103020001");              // the last answer once more, sooner than ever
        replyAfter(170, "");
        QCOMPARE(b.sent.size(), 3);
        b.reply(rtu("0103020002"));                 // the real answer to the read of 0c02
        QVERIFY(b.waitSent(4));
        QCOMPARE(b.sent.at(3), rtu("01030c030002"));
        b.reply(rtu("01030400030004"));
        QVERIFY(b.waitSent(5));
        QCOMPARE(b.sent.at(4), rtu("01030c030001"));
        b.reply(rtu("0103020003"));
        QCOMPARE(b.events, QStringList({ "read 1 0c00 0", "read 1 0c01 1", "read 1 0c02 1", "read 1 0c03 3" }));
    }

    // A write whose tries all went unanswered may still be echoed, and an echo carries only address and
    // value: the same write asked again must not take that echo for its own. It goes behind a read,
    // of the register the owner named, whose answer no stale one can pass for; what comes before
    // that answer is stale.
    void rtuStaleEchoOfTheSameWrite()
    {
        Bench b;
        b.mb.setResponseTimeout(50);
        b.mb.setResyncAddress(0x0C00);
        b.mb.writeSingleRegister(1, 0x0205, 517);
        QVERIFY(b.stepUntil([&] { return !b.events.isEmpty(); }));
        QCOMPARE(b.sent.size(), 3);
        b.mb.writeSingleRegister(1, 0x0205, 517);
        QVERIFY(b.waitSent(4));
        QCOMPARE(b.sent.at(3), rtu("01030c000001"));
        b.reply(rtu("010602050205"));               // the first write's echo, at last
        b.reply(rtu("0103020007"));
        QVERIFY(b.waitSent(5));
        QCOMPARE(b.sent.at(4), rtu("010602050205"));
        QCOMPARE(b.events, QStringList("error 1 6 0205 4"));
        b.reply(rtu("010602050205"));
        QCOMPARE(b.events, QStringList({ "error 1 6 0205 4", "write 1 0205 517" }));
    }

    // The same, with the reads of that slave between those of another: the other slave's traffic says
    // nothing of what the first still owes, so its reads go out again once it has been silent long
    // enough, rather than failing unsent for as long as the other is asked.
    void rtuOwedAnswerWrittenOffBesideAnotherSlave()
    {
        Bench b;
        b.mb.setResponseTimeout(100);
        b.mb.readHoldingRegisters(1, 0x0C00, 1);
        QVERIFY(b.waitSent(3));
        QTest::qWait(80);
        b.reply(rtu("0103020005"));                  // late, to the first try
        for (int i = 0; i < 4; ++i) {
            b.mb.readHoldingRegisters(1, Uint16(0x0C10 + i), 1);
            b.mb.readHoldingRegisters(2, Uint16(0x0C20 + i), 1);
        }
        // Each read sent is answered at once, each register with the low byte of its address.
        for (int answered = 0; !b.mb.isIdle();) {
            QVERIFY(b.stepUntil([&] { return b.sent.size() > answered + 3 || b.mb.isIdle(); }));
            if (b.sent.size() > answered + 3) {
                const QByteArray request = b.sent.at(answered++ + 3);
                const int count = Uint8(request.at(5));
                QByteArray answer = request.left(2).toHex() + QByteArray::number(2 * count, 16).rightJustified(2, '0');
                for (int k = 0; k < count; ++k)
                    answer += QByteArray::number(Uint8(request.at(3)) + k, 16).rightJustified(4, '0');
                b.reply(rtu(answer));
            }
        }
        QCOMPARE(QStringList(b.events.mid(b.events.size() - 4)),
                 QStringList({ "read 1 0c12 18", "read 2 0c22 34", "read 1 0c13 19", "read 2 0c23 35" }));
    }

    // An exception answer carries no register count. A slave that answers in the order it is asked
    // sends the ones it owed a read of two registers, given up on, before it answers the reads of one
    // register asked after: they end none of those reads, and no value lands under another register.
    void rtuLateExceptionAnswersTheOldestTry()
    {
        Bench b;
        b.mb.setResponseTimeout(50);
        b.mb.readHoldingRegisters(1, 0x0C00, 2);
        QVERIFY(b.stepUntil([&] { return !b.events.isEmpty(); }));
        QCOMPARE(b.sent.size(), 3);
        b.mb.setResponseTimeout(1000);
        QStringList expected("error 1 3 0c00 4");
        for (int i = 0; i < 4; ++i) {
            b.mb.readHoldingRegisters(1, Uint16(0x0C10 + i), 1);
            expected << QString::asprintf("read 1 %04x %d", 0x0C10 + i, 0xAA + i);
        }
        for (int i = 0; i < 3; ++i) {
            b.waitSent(b.sent.size() + 1, 100);     // whatever the engine asks meanwhile
            b.reply(rtu("018302"));
        }
        // Then each request is answered as the slave would, register 0x0C1n with 0xAA + n: timing that
        // a busy machine blurs may have the line proven in step first, by a read of more registers.
        for (int answered = 3; !b.mb.isIdle();) {
            QVERIFY(b.stepUntil([&] { return b.sent.size() > answered || b.mb.isIdle(); }));
            if (b.sent.size() > answered) {
                const QByteArray request = b.sent.at(answered++);
                const int count = Uint8(request.at(5));
                QByteArray answer = "0103" + QByteArray::number(2 * count, 16).rightJustified(2, '0');
                for (int k = 0; k < count; ++k)
                    answer += QByteArray::number(0xAA + Uint8(request.at(3)) - 0x10 + k, 16).rightJustified(4, '0');
                b.reply(rtu(answer));
            }
        }
        QCOMPARE(b.events, expected);
    }

    // One read meets a sequence of answers, one per attempt; a write queued behind it must go next.
    void failedAttempts_data()
    {
        QTest::addColumn<MB::Framing>("framing"), QTest::addColumn<QStringList>("attempts"), QTest::addColumn<int>("error");
        QTest::newRow("bad crc, then good") << Rtu << QStringList{ "crc", "good" } << 0;
        QTest::newRow("wrong slave, then good") << Rtu << QStringList{ "slave", "good" } << 0;
        QTest::newRow("wrong byte count, then good") << Rtu << QStringList{ "count", "good" } << 0;
        QTest::newRow("cut short, then good") << Rtu << QStringList{ "short", "good" } << 0;
        QTest::newRow("two time-outs, then good") << Rtu << QStringList{ "silence", "silence", "good" } << 0;
        QTest::newRow("three time-outs") << Rtu << QStringList{ "silence", "silence", "silence" } << 4;
        QTest::newRow("time-outs, then bad crc") << Rtu << QStringList{ "silence", "silence", "crc" } << 5;
        QTest::newRow("bad crc, then time-outs") << Rtu << QStringList{ "crc", "silence", "silence" } << 4;
        QTest::newRow("exception is final") << Rtu << QStringList{ "exception" } << 7;
        QTest::newRow("tcp exception is final") << Tcp << QStringList{ "exception" } << 7;
        QTest::newRow("tcp late answer ignored") << Tcp << QStringList{ "silence", "late" } << 0;
        QTest::newRow("tcp wrong unit, then good") << Tcp << QStringList{ "slave", "good" } << 0;
        QTest::newRow("tcp data short of its count") << Tcp << QStringList{ "data", "good" } << 0;
        QTest::newRow("tcp header out of step") << Tcp << QStringList{ "junk", "good" } << 0;
        QTest::newRow("tcp three answers cut short") << Tcp << QStringList{ "short", "short", "short" } << 4;
        QTest::newRow("tcp three wrong functions") << Tcp << QStringList{ "function", "function", "function" } << 6;
    }
    void failedAttempts()
    {
        QFETCH(MB::Framing, framing);
        QFETCH(QStringList, attempts);
        QFETCH(int, error);
        const QString outcome = error ? QStringLiteral("error 1 3 0c00 %1").arg(error) : "read 1 0c00 4660,43981";
        const QHash<QString, QByteArray> bodies{ { "slave", "0203041234abcd" }, { "count", "0103021234" }, { "data", "0103041234" },
                                                 { "function", "01060c000002" }, { "exception", "018302" } };
        Bench b(framing);
        auto frame = [&](int tid, const QByteArray &body) { return framing == Tcp ? mbap(tid, body) : rtu(body); };
        b.mb.readHoldingRegisters(1, 0x0C00, 2);
        b.mb.process();
        b.mb.writeSingleRegister(1, 0x0C01, 1);
        for (int i = 0; i < attempts.size(); ++i) {
            QVERIFY(b.waitSent(i + 1));
            QCOMPARE(b.sent[i].mid(2), b.sent[0].mid(2));     // the same request; only a TCP id may change
            const QString kind = attempts[i];
            const QByteArray body = bodies.value(kind, "0103041234abcd");
            QByteArray reply = kind == "junk" ? QByteArray(7, char(0xFF)) : frame(i + 1, body);
            b.mb.setResponseTimeout(20);
            if (kind == "crc")   // asked again once the line is quiet, long before the time-out
                reply[reply.size() - 1] = char(reply.back() ^ 0x01), b.mb.setResponseTimeout(10000);
            if (kind == "late") {
                b.reply(mbap(i, body));
                QVERIFY(b.events.isEmpty());
            }
            if (kind == "short" || kind == "silence") {
                b.reply(kind == "short" ? reply.left(4) : QByteArray());
                QVERIFY(b.waitSent(i + 2));
                QVERIFY2(b.sentAt[i + 1] - b.sentAt[i] >= 20, "gave up waiting before the response time");
            } else {
                b.reply(reply);
            }
        }
        QVERIFY(b.waitSent(attempts.size() + 1));
        QCOMPARE(b.sent.size(), attempts.size() + 1);
        QCOMPARE(b.events, QStringList(outcome));
        b.reply(frame(attempts.size() + 1, "01060c010001"));     // undisturbed by what the read left behind
        QCOMPARE(b.events, QStringList({ outcome, "write 1 0c01 1" }));
    }

    // A slave too slow for the time-out still owes the answers to the tries given up on: none of them
    // may pass for the answer to a later read. The three slaves are served side by side.
    void rtuOwedAnswers()
    {
        if (!PtyPair::available())
            QSKIP("socat is not installed");
        struct Slave { const char *name; int delayMs, damagedFirstMs, leastAnswered; };
        const Slave slaves[] = { { "answers 450 ms after starting on a request", 450, 0, 15 },
                                 { "answers 700 ms late", 700, 0, 1 },
                                 { "a damaged copy, the good one 50 ms later", 0, 50, 18 } };
        std::vector<std::unique_ptr<SerialRig>> rigs;
        for (const Slave &slave : slaves) {
            rigs.emplace_back(new SerialRig);
            SerialRig &rig = *rigs.back();
            QVERIFY(rig.open());
            std::tie(rig.peer.delayMs, rig.peer.damagedFirstMs) = std::tie(slave.delayMs, slave.damagedFirstMs);
            for (int i = 0; i < 20; ++i)
                QVERIFY(rig.bench.mb.readHoldingRegisters(1, Uint16(100 + i), 1));
        }
        QVERIFY(QTest::qWaitFor([&rigs] {
            return std::all_of(rigs.begin(), rigs.end(), [](const auto &rig) { return rig->bench.mb.isIdle(); });
        }, 50000));
        for (size_t i = 0; i < rigs.size(); ++i) {
            const QStringList &events = rigs[i]->bench.events;
            QVERIFY2(rigs[i]->checkReads(100, 20) >= slaves[i].leastAnswered,
                     qPrintable(QString("%1:\n%2").arg(slaves[i].name, events.join('\n'))));
        }
    }

    // RTU answers carry no transaction id. However a slave falls out of step, and however late what it
    // still owes comes, no value may land under another register than the one it was read from. The
    // first stray answer that comes while a read of its shape waits cannot be told from the answer, so
    // it may cost that one read.
    void rtuNoValueUnderAnotherRegister_data()
    {
        QTest::addColumn<Misbehaviour>("mode"), QTest::addColumn<int>("reads"), QTest::addColumn<int>("mostWrong");
        QTest::newRow("busy slave drops what comes during a 2 s stall") << Misbehaviour::BusyStall << 20 << 0;
        QTest::newRow("queuing slave stalls 1.5 s in a longer poll") << Misbehaviour::QueuedStall << 60 << 0;
        QTest::newRow("700 ms slave, port closed and opened again") << Misbehaviour::SlowReconnect << 9 << 0;
        QTest::newRow("a duplicate 100 ms after an answer") << Misbehaviour::LateDuplicate << 100 << 1;
        QTest::newRow("a duplicate, and the answer it came with 150 ms late") << Misbehaviour::LateDuplicateSlowAnswer << 100 << 1;
        QTest::newRow("the previous answer once more as a request comes") << Misbehaviour::RepeatOnce << 50 << 1;
        QTest::newRow("the previous answer as every request comes") << Misbehaviour::RepeatAlways << 25 << 1;
    }
    void rtuNoValueUnderAnotherRegister()
    {
        // A stray is told by how much sooner than the slave's answers it comes: the slave takes long
        // enough that a busy test machine's scheduling does not blur the two.
        constexpr int kStraySlaveMs = 20;
        if (!PtyPair::available())
            QSKIP("socat is not installed");
        QFETCH(Misbehaviour, mode);
        QFETCH(int, reads);
        QFETCH(int, mostWrong);
        SerialRig rig;
        QVERIFY(rig.open(true));
        RtuPeer &peer = rig.peer;
        switch (mode) {
        case Misbehaviour::BusyStall:
        case Misbehaviour::QueuedStall:
            peer.ignoreWhileBusy = mode == Misbehaviour::BusyStall;
            peer.delayOf = [mode](int n) { return n == 11 ? (mode == Misbehaviour::BusyStall ? 2000 : 1500) : 0; };
            break;
        case Misbehaviour::SlowReconnect:
            peer.delayMs = 700;
            for (int i = 0; i < 12; ++i)
                QVERIFY(rig.bench.mb.readHoldingRegisters(1, Uint16(200 + i), 1));
            // Failures in a row, after ten of which the communication page takes the link for lost
            // and connects again; answers are owed after the first few just the same.
            QVERIFY(runUntil([&rig] { return rig.tally().failed >= 3; }, 60000));
            QVERIFY(rig.reopen());
            rig.bench.events.clear();
            break;
        // A stray comes as the request goes out; the answer comes later than the master would ask next.
        case Misbehaviour::LateDuplicate:
        case Misbehaviour::LateDuplicateSlowAnswer:
            peer.delayMs = kStraySlaveMs;
            if (mode == Misbehaviour::LateDuplicateSlowAnswer)
                peer.strayAnswerDelayMs = 150;   // later than the master waits on a stray, as on a loaded PC
            peer.lateCopyMs = [](int n) { return n == 20 ? 100 : -1; };
            break;
        case Misbehaviour::RepeatOnce:
        case Misbehaviour::RepeatAlways:
            peer.delayMs = kStraySlaveMs;
            peer.repeatOnReceipt = [mode](int n) { return n > 1 && (mode == Misbehaviour::RepeatAlways || n == 20); };
            break;
        }
        for (int i = 0; i < reads; ++i)
            QVERIFY(rig.bench.mb.readHoldingRegisters(1, Uint16(100 + i), 1));
        QVERIFY(rig.waitIdle(60000));
        if (mode == Misbehaviour::LateDuplicate || mode == Misbehaviour::LateDuplicateSlowAnswer || mode == Misbehaviour::SlowReconnect)
            runUntil([] { return false; }, mode == Misbehaviour::SlowReconnect ? 1500 : 200);   // what is still on its way
        const SerialRig::Tally t = rig.tally();
        qInfo("%d read, %d failed, %d under another register", t.answered, t.failed, t.wrong);
        QCOMPARE(t.answered + t.failed + t.wrong, reads);
        QVERIFY2(t.wrong <= mostWrong, qPrintable(rig.bench.events.join(QLatin1Char('\n'))));
    }

    // A slave slower than the time-out works through what it was asked in order. A request of another
    // shape sent while it still owes answers waits behind them and times out in turn, so the answers
    // owed hold the slave, not only their shape.
    void rtuOwedAnswersHoldTheSlave()
    {
        if (!PtyPair::available())
            QSKIP("socat is not installed");
        SerialRig rig;
        QVERIFY(rig.open());
        rig.peer.delayMs = 450;
        for (int i = 0; i < 12; ++i)
            QVERIFY(rig.bench.mb.readHoldingRegisters(1, Uint16(100 + 2 * i), Uint16(1 + i % 2)));
        QVERIFY(rig.waitIdle(60000));
        const SerialRig::Tally t = rig.tally();
        qInfo("%d read, %d failed, %d under another register; %d requests sent while the slave owed others",
              t.answered, t.failed, t.wrong, rig.peer.foreignWhileOwing());
        QCOMPARE(t.wrong, 0);
        QCOMPARE(rig.peer.foreignWhileOwing(), 0);
    }

    // Noise or another master keeps the line from ever falling quiet: each try fails as a time-out
    // and the read is reported, rather than left waiting for ever.
    void rtuNeverQuietLine()
    {
        if (!PtyPair::available())
            QSKIP("socat is not installed");
        SerialRig rig;
        QVERIFY(rig.open());
        rig.bench.mb.setBaudRate(1200);     // a long gap, which the peer's millisecond chatter always breaks
        rig.peer.setChatter(true);
        QTest::qWait(20);
        QVERIFY(rig.bench.mb.readHoldingRegisters(1, 100, 1));
        QVERIFY(QTest::qWaitFor([&rig] { return rig.bench.mb.isIdle(); }, 3000));
        QCOMPARE(rig.bench.events, QStringList("error 1 3 0064 4"));
        QCOMPARE(rig.peer.requests(), 0);   // nothing was sent into the noise
        rig.peer.setChatter(false);
        QVERIFY(rig.bench.mb.readHoldingRegisters(1, 101, 1));
        QTRY_COMPARE(rig.bench.events, QStringList({ "error 1 3 0064 4", "read 1 0065 304" }));
    }

    // 2 MB of answers to tries already given up on, at once or in pieces that cut frames apart:
    // the answer behind them is still taken.
    void tcpStaleFlood_data()
    {
        QTest::addColumn<int>("piece");
        QTest::newRow("at once") << 0;
        QTest::newRow("in pieces of 4093 bytes") << 4093;
    }
    void tcpStaleFlood()
    {
        QFETCH(int, piece);
        Bench b(Tcp);
        b.mb.setResponseTimeout(60000);
        b.mb.readHoldingRegisters(1, 0x0C00, 1);
        b.mb.process();
        QByteArray flood;
        for (const QByteArray stale = mbap(0x7777, "0103020005"); flood.size() < 2 * 1024 * 1024;)
            flood += stale;
        flood += mbap(1, "0103020009");
        for (int at = 0; at < flood.size(); at += piece ? piece : flood.size())
            b.reply(flood.mid(at, piece ? piece : -1));
        QCOMPARE(b.events, QStringList("read 1 0c00 9"));
        QVERIFY(b.mb.isIdle());
    }

    // Polls fill only their own queue: a write still goes in, and out before them.
    void ringFull()
    {
        Bench b;
        for (int i = 0; i < MB::RingCapacity; ++i)
            QCOMPARE(b.mb.readHoldingRegisters(1, Uint16(i), 1), 1);
        QCOMPARE(b.mb.readHoldingRegisters(1, 0, 1), 0);
        QCOMPARE(b.mb.errorNumber(), 2);
        QCOMPARE(b.mb.writeSingleRegister(1, 0x0205, 517), 1);
        QCOMPARE(b.mb.errorNumber(), 0);
        for (int i = 1; i < MB::RingCapacity; ++i)
            QCOMPARE(b.mb.writeSingleRegister(1, Uint16(i), 0), 1);
        QCOMPARE(b.mb.writeSingleRegister(1, 0, 0), 0);
        QCOMPARE(b.mb.errorNumber(), 2);
        b.mb.process();
        QCOMPARE(b.sent.last(), rtu("010602050205"));
        QCOMPARE(b.mb.writeSingleRegister(1, 0, 0), 0);         // the outstanding one still takes its place
        b.reply(rtu("010602050205"));
        QCOMPARE(b.events.value(0), QString("write 1 0205 517"));
        QCOMPARE(b.mb.writeSingleRegister(1, 0, 0), 1);
    }

    // A write queued behind polls goes out next, before every read still queued; writes keep
    // their own order. Reads dropped at a close are never sent.
    void writesGoFirst()
    {
        Bench b;
        b.mb.readHoldingRegisters(1, 0x0010, 1);
        b.mb.process();                                         // the first read is outstanding
        b.mb.readHoldingRegisters(1, 0x0011, 1);
        b.mb.readHoldingRegisters(1, 0x0012, 1);
        b.mb.writeSingleRegister(1, 0x0205, 515);
        b.mb.writeSingleRegister(1, 0x0205, 517);
        b.reply(rtu("0103020001"));
        QVERIFY(b.waitSent(2));
        QCOMPARE(b.sent.last(), rtu("010602050203"));
        b.reply(rtu("010602050203"));
        QVERIFY(b.waitSent(3));
        QCOMPARE(b.sent.last(), rtu("010602050205"));
        QCOMPARE(b.mb.dropQueuedReads(), 2);
        b.reply(rtu("010602050205"));
        QCOMPARE(b.events, QStringList({ "read 1 0010 1", "write 1 0205 515", "write 1 0205 517" }));
        QCOMPARE(b.sent.size(), 3);
        QVERIFY(b.mb.isIdle());
    }

    void reentrantCallbacks_data()
    {
        QTest::addColumn<MB::Framing>("framing");
        QTest::newRow("rtu") << Rtu;
        QTest::newRow("tcp") << Tcp;
    }
    void reentrantCallbacks()
    {
        QFETCH(MB::Framing, framing);
        Bench c(framing);
        c.mb.readHoldingRegisters(1, 0x0010, 2);
        c.mb.process();
        c.mb.writeSingleRegister(2, 0x0020, 5);
        c.mb.readHoldingRegisters(3, 0x0030, 1);
        c.afterRead = [&c] {
            c.mb.process();                             // re-entrant step: must do nothing
            QCOMPARE(c.mb.writeSingleRegister(4, 0x0040, 6), 1);
        };
        c.mb.process();
        // Each answer fits only its own request, and calls are served in their order, writes before
        // reads. The next request leaves in the same step on TCP, and once the line is quiet on RTU.
        QList<int> sent;
        int tid = 1;
        for (const char *answer : { "01030400100011", "020600200005", "040600400006", "0303020030" }) {
            c.reply(framing == Tcp ? mbap(tid, answer) : rtu(answer));
            sent << c.sent.size();
            if (framing == Rtu && tid < 4)
                QVERIFY(c.waitSent(tid + 1));
            ++tid;
        }
        QCOMPARE(sent, framing == Tcp ? QList<int>({ 2, 3, 4, 4 }) : QList<int>({ 1, 2, 3, 4 }));
        QVERIFY(c.mb.isIdle());
        QCOMPARE(c.events, QStringList({ "read 1 0010 16,17", "write 2 0020 5", "write 4 0040 6", "read 3 0030 48" }));
    }

    void refusals_data()
    {
        QTest::addColumn<MB::Framing>("framing"), QTest::addColumn<bool>("open"), QTest::addColumn<QString>("op");
        QTest::addColumn<int>("slave"), QTest::addColumn<int>("addr"), QTest::addColumn<int>("size"), QTest::addColumn<int>("error");
        QTest::newRow("read, link closed") << Rtu << false << "read" << 1 << 0 << 1 << 1;
        QTest::newRow("file block, link closed") << Tcp << false << "file" << 1 << 0 << 1 << 1;
        QTest::newRow("read 0 registers") << Rtu << true << "read" << 1 << 0 << 0 << 3;
        QTest::newRow("read 126 registers") << Rtu << true << "read" << 1 << 0 << 126 << 3;
        QTest::newRow("read 125 registers") << Rtu << true << "read" << 1 << 0 << 125 << 0;
        QTest::newRow("read past the last register") << Tcp << true << "read" << 1 << 0xFFFF << 2 << 3;
        QTest::newRow("read the last register") << Tcp << true << "read" << 1 << 0xFFFF << 1 << 0;
        QTest::newRow("rtu broadcast write") << Rtu << true << "write" << 0 << 0 << 1 << 3;
        QTest::newRow("file block on rtu") << Rtu << true << "file" << 1 << 0 << 16 << 8;
        QTest::newRow("empty file block") << Tcp << true << "file" << 1 << 0 << 0 << 3;
        QTest::newRow("file block of 241") << Tcp << true << "file" << 1 << 0 << 241 << 3;
        QTest::newRow("file block of 240") << Tcp << true << "file" << 1 << 0 << 240 << 0;
    }
    void refusals()
    {
        QFETCH(MB::Framing, framing);
        QFETCH(bool, open);
        QFETCH(QString, op);
        QFETCH(int, slave);
        QFETCH(int, addr);
        QFETCH(int, size);
        QFETCH(int, error);
        Bench b(framing);
        b.mb.setLinkOpen(open);
        const quint8 block[256] = {};
        const int queued = op == "read"    ? b.mb.readHoldingRegisters(slave, addr, size)
                           : op == "write" ? b.mb.writeSingleRegister(slave, addr, size)
                                           : b.mb.writeFileBlock(slave, addr, block, size, 1);
        QCOMPARE(queued, error == 0 ? 1 : 0);
        QCOMPARE(b.mb.errorNumber(), error);
        b.mb.process();
        QCOMPARE(b.sent.size(), error == 0 ? 1 : 0);
    }

    // A block is done only when the device echoes exactly its unit, offset and length.
    void fileBlock()
    {
        Bench b(Tcp);
        const quint8 data[] = { 0xDE, 0xAD, 0xBE, 0xEF };
        QCOMPARE(b.mb.writeFileBlock(3, 0x00012345, data, 4, 1), 1);
        b.mb.process();
        QCOMPARE(b.sent.first().toHex(), QByteArray("00010000000f03" "2203000123450004" "0001" "deadbeef"));
        b.reply(mbap(1, "032203" "00012346" "0004"));     // wrong offset echoed: asked again
        QCOMPARE(b.sent.size(), 2);
        b.reply(mbap(2, "032203" "00012345" "0004"));
        QCOMPARE(b.events, QStringList("file 3 12345"));
    }

    void closingAndSendFailure()
    {
        Bench b;
        b.mb.readHoldingRegisters(1, 0x0C00, 1);
        b.mb.writeSingleRegister(1, 0x0C01, 1);
        b.mb.process();
        b.mb.setLinkOpen(false);        // drops everything silently
        QVERIFY(b.mb.isIdle());
        b.incoming = rtu("0103020005");
        b.mb.setLinkOpen(true);
        QTest::qWait(50);
        b.mb.process();
        QVERIFY(b.events.isEmpty() && b.sent.size() == 1);
        // A transport that finds itself disconnected while sending closes the link from inside the call.
        b.sendOk = false;
        b.duringSend = [&b] { b.mb.setLinkOpen(false); };
        b.mb.readHoldingRegisters(1, 0x0C00, 1);
        QVERIFY(b.waitSent(2) && b.mb.isIdle());
        // A failed send is a failed try, reported once all tries are spent.
        Bench c;
        c.sendOk = false;
        c.mb.readHoldingRegisters(1, 0x0C00, 1);
        c.mb.process();
        c.mb.writeSingleRegister(1, 0x0C01, 1);
        QVERIFY(c.stepUntil([&c] { return !c.events.isEmpty(); }));
        QCOMPARE(c.events, QStringList("error 1 3 0c00 1"));
        QCOMPARE(c.sent.size(), 4);     // three tries of the read, then the write at once
        QVERIFY(c.sentAt[2] - c.sentAt[0] >= 40);
    }
};

QTEST_MAIN(TestModbusMaster)
#include "tst_modbusmaster.moc"
