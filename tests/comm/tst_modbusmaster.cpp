#include "comm/modbusmaster.h"

#include <QElapsedTimer>
#include <QtTest>

using MB = ModbusMaster;
Q_DECLARE_METATYPE(MB::Framing)

namespace {

QByteArray rtu(const QByteArray &hex)
{
    QByteArray f = QByteArray::fromHex(hex);
    const Uint16 crc = MB::crc16(f);
    return f.append(char(crc & 0xFF)).append(char(crc >> 8));
}

QByteArray mbap(Uint16 tid, const QByteArray &unitAndPduHex)
{
    const QByteArray body = QByteArray::fromHex(unitAndPduHex);
    QByteArray f;
    for (int v : { int(tid), 0, body.size() })
        f.append(char(v >> 8)).append(char(v & 0xFF));
    return f + body;
}

// The engine wired to a pretend transport: frames sent are kept, replies are fed in by the test,
// and every callback becomes one line in `events`.
struct Bench {
    ModbusMaster mb;
    QList<QByteArray> sent;
    QList<qint64> sentAt;
    QByteArray incoming;
    bool sendOk = true;
    QStringList events;
    std::function<void()> afterRead, duringSend;
    QElapsedTimer clock;

    explicit Bench(MB::Framing framing = MB::Framing::Rtu)
    {
        clock.start();
        MB::Callbacks cb;
        cb.receiveBytes = [this] { return std::exchange(incoming, QByteArray()); };
        cb.sendBytes = [this](const QByteArray &f) {
            sent << f;
            sentAt << clock.elapsed();
            if (duringSend)
                duringSend();
            return sendOk;
        };
        cb.readFinished = [this](Uint8 s, Uint16 a, const QVector<Uint16> &v) {
            QStringList l;
            for (Uint16 x : v)
                l << QString::number(x);
            events << QStringLiteral("read %1 %2 %3").arg(int(s)).arg(a, 4, 16, QLatin1Char('0')).arg(l.join(','));
            if (afterRead)
                afterRead();
        };
        cb.writeFinished = [this](Uint8 s, Uint16 a, Uint16 v) {
            events << QStringLiteral("write %1 %2 %3").arg(int(s)).arg(a, 4, 16, QLatin1Char('0')).arg(int(v));
        };
        cb.fileWriteFinished = [this](Uint8 u, quint32 o) { events << QStringLiteral("file %1 %2").arg(int(u)).arg(o, 0, 16); };
        cb.comError = [this](Uint8 s, Uint8 f, Uint16 a, int e) {
            events << QStringLiteral("error %1 %2 %3 %4").arg(int(s)).arg(int(f)).arg(a, 4, 16, QLatin1Char('0')).arg(e);
        };
        mb.setCallbacks(cb);
        mb.setFraming(framing);
        mb.setResponseTimeout(20);
        mb.setLinkOpen(true);
    }
    void reply(const QByteArray &bytes)
    {
        incoming += bytes;
        mb.process();
    }
    bool stepUntil(const std::function<bool()> &done)
    {
        QElapsedTimer t;
        t.start();
        while (!done() && t.elapsed() < 3000) {
            mb.process();
            QTest::qWait(1);
        }
        return done();
    }
    bool waitSent(int n) { return stepUntil([&] { return sent.size() >= n; }); }
};

} // namespace

class TestModbusMaster : public QObject
{
    Q_OBJECT
private slots:
    void requestFrames_data()
    {
        QTest::addColumn<MB::Framing>("framing");
        QTest::addColumn<bool>("write");
        QTest::addColumn<int>("slave");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("rtu read") << MB::Framing::Rtu << false << 1 << QByteArray("01030c000001875a");
        QTest::newRow("rtu write") << MB::Framing::Rtu << true << 1 << QByteArray("01060c0100011a9a");
        QTest::newRow("tcp read") << MB::Framing::Tcp << false << 1 << QByteArray("00010000000601030c000001");
        QTest::newRow("tcp write unit 0") << MB::Framing::Tcp << true << 0 << QByteArray("00010000000600060c010001");
    }
    void requestFrames()
    {
        QFETCH(MB::Framing, framing);
        QFETCH(bool, write);
        QFETCH(int, slave);
        QFETCH(QByteArray, expected);
        QCOMPARE(MB::crc16("123456789"), Uint16(0x4B37));
        Bench b(framing);
        QCOMPARE(write ? b.mb.writeSingleRegister(slave, 0x0C01, 1) : b.mb.readHoldingRegisters(slave, 0x0C00, 1), 1);
        QVERIFY(b.sent.isEmpty());      // nothing leaves before the engine is stepped
        b.mb.process();
        QCOMPARE(b.sent.size(), 1);
        QCOMPARE(b.sent.first().toHex(), expected);
    }

    void transactionIdsIncrement()
    {
        Bench b(MB::Framing::Tcp);
        b.mb.readHoldingRegisters(7, 0x0100, 2);
        b.mb.writeSingleRegister(7, 0x0101, 0xBEEF);
        b.mb.process();
        b.reply(mbap(1, "07030400010002"));
        b.reply(mbap(2, "07060101beef"));
        QCOMPARE(b.sent[1].toHex(), QByteArray("00020000000607060101beef"));
        b.reply(mbap(3, "0703020003").left(5));    // stray bytes while idle are dropped, not kept for the next reply
        b.mb.readHoldingRegisters(7, 0x0102, 1);
        b.mb.process();
        b.reply(mbap(3, "0703020004"));
        QCOMPARE(b.events, QStringList({ "read 7 0100 1,2", "write 7 0101 48879", "read 7 0102 4" }));
    }

    // RTU: what arrives around an answer. Each row reads 0c00 and then 0c02, two registers each;
    // an answer to the first may never be taken for the second.
    void rtuAnswerFound_data()
    {
        QTest::addColumn<QByteArray>("before");     // bytes sent before the good answer
        QTest::addColumn<QByteArray>("after");      // bytes right behind it
        const QByteArray good = rtu("0103041234abcd");
        QTest::newRow("one noise byte") << QByteArray::fromHex("00") << QByteArray();
        QTest::newRow("noise shaped as a header") << QByteArray::fromHex("010304") << QByteArray();
        QTest::newRow("twelve noise bytes") << QByteArray::fromHex("ff0103040102fe01030401") << QByteArray();
        QTest::newRow("an answer of another slave") << rtu("0203041111aaaa") << QByteArray();
        QTest::newRow("a cut-off answer before it") << good.left(5) << QByteArray();
        QTest::newRow("answered twice") << QByteArray() << good;
        QTest::newRow("answer then noise") << QByteArray() << QByteArray::fromHex("0103");
    }
    void rtuAnswerFound()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        const QByteArray good = rtu("0103041234abcd");
        Bench b;
        b.mb.readHoldingRegisters(1, 0x0C00, 2);
        b.mb.readHoldingRegisters(1, 0x0C02, 2);
        b.mb.process();
        b.reply(before);
        for (char c : good)     // byte by byte, as a slow line delivers it
            b.reply(QByteArray(1, c));
        b.reply(after);         // within the inter-frame gap: still part of the last exchange
        QCOMPARE(b.events, QStringList("read 1 0c00 4660,43981"));
        QCOMPARE(b.sent.size(), 1);
        QVERIFY(b.waitSent(2));
        b.reply(rtu("01030400070008"));
        QCOMPARE(b.events, QStringList({ "read 1 0c00 4660,43981", "read 1 0c02 7,8" }));
    }

    // A device slower than the time-out: its answer to the first try arrives during the retry and
    // is taken, and the answer to the retry must not pass for the next read of the same size.
    void rtuLateAnswer()
    {
        Bench b;
        b.mb.setResponseTimeout(50);
        b.mb.readHoldingRegisters(1, 0x0C00, 1);
        b.mb.readHoldingRegisters(1, 0x0C01, 1);
        b.mb.readHoldingRegisters(2, 0x0C01, 1);
        QVERIFY(b.waitSent(2));
        QCOMPARE(b.sent[1], b.sent[0]);
        b.reply(rtu("0103020005"));                  // late, to the first try
        QCOMPARE(b.events, QStringList("read 1 0c00 5"));
        QTest::qWait(5);
        b.reply(rtu("0103020005"));                  // late, to the retry
        QVERIFY(b.waitSent(3));
        QVERIFY2(b.sentAt[2] - b.sentAt[1] >= 90, "the next read went out while a late answer was due");
        b.reply(rtu("0103020006"));
        // Another slave's answer cannot be mistaken, so it waits for nothing.
        QVERIFY(b.waitSent(4));
        b.reply(rtu("0203020008"));
        QCOMPARE(b.events, QStringList({ "read 1 0c00 5", "read 1 0c01 6", "read 2 0c01 8" }));
    }

    // One read meets a sequence of answers, one per attempt; a write queued behind it must go next.
    void failedAttempts_data()
    {
        QTest::addColumn<MB::Framing>("framing");
        QTest::addColumn<QStringList>("attempts");
        QTest::addColumn<int>("error");     // 0: the read succeeds
        const MB::Framing r = MB::Framing::Rtu, t = MB::Framing::Tcp;
        QTest::newRow("bad crc, then good") << r << QStringList{ "crc", "good" } << 0;
        QTest::newRow("wrong byte count, then good") << r << QStringList{ "count", "good" } << 0;
        QTest::newRow("cut short, then good") << r << QStringList{ "short", "good" } << 0;
        QTest::newRow("three time-outs") << r << QStringList{ "silence", "silence", "silence" } << 4;
        QTest::newRow("time-outs, then bad crc") << r << QStringList{ "silence", "silence", "crc" } << 5;
        QTest::newRow("exception is final") << r << QStringList{ "exception" } << 7;
        QTest::newRow("tcp exception is final") << t << QStringList{ "exception" } << 7;
        QTest::newRow("tcp late answer ignored") << t << QStringList{ "silence", "late" } << 0;
        QTest::newRow("tcp wrong unit, then good") << t << QStringList{ "slave", "good" } << 0;
        QTest::newRow("tcp data short of its count") << t << QStringList{ "data", "good" } << 0;
        QTest::newRow("tcp header out of step") << t << QStringList{ "junk", "good" } << 0;
        QTest::newRow("tcp three wrong functions") << t << QStringList{ "function", "function", "function" } << 6;
    }
    void failedAttempts()
    {
        QFETCH(MB::Framing, framing);
        QFETCH(QStringList, attempts);
        QFETCH(int, error);
        const QString outcome = error ? QStringLiteral("error 1 3 0c00 %1").arg(error) : "read 1 0c00 4660,43981";
        const bool tcp = framing == MB::Framing::Tcp;
        const QHash<QString, QByteArray> bodies{ { "slave", "0203041234abcd" }, { "count", "0103021234" },
                                                 { "data", "0103041234" },      { "function", "01060c000002" },
                                                 { "exception", "018302" } };
        Bench b(framing);
        b.mb.readHoldingRegisters(1, 0x0C00, 2);
        b.mb.writeSingleRegister(1, 0x0C01, 1);
        for (int i = 0; i < attempts.size(); ++i) {
            QVERIFY(b.waitSent(i + 1));
            QCOMPARE(b.sent[i].mid(2), b.sent[0].mid(2));     // the same request; only a TCP id may change
            const QString kind = attempts[i];
            const QByteArray body = bodies.value(kind, "0103041234abcd");
            QByteArray reply = kind == "junk" ? QByteArray(7, char(0xFF)) : tcp ? mbap(i + 1, body) : rtu(body);
            if (kind == "crc")
                reply[reply.size() - 1] = char(reply.back() ^ 0x01);
            if (kind == "late")
                b.reply(mbap(i, body));
            b.reply(kind == "short" ? reply.left(4) : kind == "silence" ? QByteArray() : reply);
            if (kind == "short" || kind == "silence") {
                QVERIFY(b.waitSent(i + 2));
                QVERIFY2(b.sentAt[i + 1] - b.sentAt[i] >= 20, "gave up waiting before the response time");
            }
        }
        QVERIFY(b.waitSent(attempts.size() + 1));
        QCOMPARE(b.sent.size(), attempts.size() + 1);
        QCOMPARE(b.events, QStringList(outcome));
        // Undisturbed by whatever the read left behind.
        b.reply(tcp ? mbap(attempts.size() + 1, "01060c010001") : rtu("01060c010001"));
        QCOMPARE(b.events, QStringList({ outcome, "write 1 0c01 1" }));
    }

    void ringFullAndCallOrder()
    {
        Bench b(MB::Framing::Tcp);
        for (int i = 0; i < MB::RingCapacity; ++i)
            QCOMPARE(b.mb.readHoldingRegisters(1, Uint16(i), 1), 1);
        QCOMPARE(b.mb.writeSingleRegister(1, 0, 0), 0);
        QCOMPARE(b.mb.errorNumber(), 2);
        b.mb.process();
        QCOMPARE(b.mb.readHoldingRegisters(1, 0, 1), 0);      // the outstanding one still takes its place
        b.reply(mbap(1, "0103020000"));
        QCOMPARE(b.mb.errorNumber(), 2);                        // sticky until a request is queued

        Bench c(MB::Framing::Tcp);
        c.mb.readHoldingRegisters(1, 0x0010, 2);
        c.mb.writeSingleRegister(2, 0x0020, 5);
        c.afterRead = [&c] {
            c.afterRead = nullptr;
            c.mb.process();                             // re-entrant step: must do nothing
            QCOMPARE(c.mb.writeSingleRegister(4, 0x0040, 6), 1);
        };
        c.mb.process();
        // Each answer fits only its own request; the next request leaves in the same step.
        int tid = 1;
        for (const char *answer : { "01030400100011", "020600200005", "040600400006" }) {
            const int before = c.sent.size();
            c.reply(mbap(Uint16(tid++), answer));
            QCOMPARE(c.sent.size(), qMin(before + 1, 3));
        }
        QVERIFY(c.mb.isIdle());
        QCOMPARE(c.events, QStringList({ "read 1 0010 16,17", "write 2 0020 5", "write 4 0040 6" }));
    }

    void refusals_data()
    {
        QTest::addColumn<MB::Framing>("framing");
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("op");
        QTest::addColumn<int>("slave");
        QTest::addColumn<int>("addr");
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("error");
        const MB::Framing r = MB::Framing::Rtu, t = MB::Framing::Tcp;
        QTest::newRow("read, link closed") << r << false << "read" << 1 << 0 << 1 << 1;
        QTest::newRow("read 0 registers") << r << true << "read" << 1 << 0 << 0 << 3;
        QTest::newRow("read 126 registers") << r << true << "read" << 1 << 0 << 126 << 3;
        QTest::newRow("read 125 registers") << r << true << "read" << 1 << 0 << 125 << 0;
        QTest::newRow("read past the last register") << t << true << "read" << 1 << 0xFFFF << 2 << 3;
        QTest::newRow("rtu broadcast write") << r << true << "write" << 0 << 0 << 1 << 3;
        QTest::newRow("file block on rtu") << r << true << "file" << 1 << 0 << 16 << 8;
        QTest::newRow("empty file block") << t << true << "file" << 1 << 0 << 0 << 3;
        QTest::newRow("file block of 241") << t << true << "file" << 1 << 0 << 241 << 3;
        QTest::newRow("file block of 240") << t << true << "file" << 1 << 0 << 240 << 0;
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

    void closingDropsSilently()
    {
        Bench b;
        b.mb.readHoldingRegisters(1, 0x0C00, 1);
        b.mb.writeSingleRegister(1, 0x0C01, 1);
        b.mb.process();
        b.mb.setLinkOpen(false);
        QVERIFY(b.mb.isIdle());
        b.incoming = rtu("0103020005");
        b.mb.setLinkOpen(true);
        QTest::qWait(50);
        b.mb.process();
        QVERIFY(b.events.isEmpty());
        QCOMPARE(b.sent.size(), 1);

        // A transport that finds itself disconnected while sending closes the link from inside the call.
        b.sendOk = false;
        b.duringSend = [&b] { b.mb.setLinkOpen(false); };
        b.mb.readHoldingRegisters(1, 0x0C00, 1);
        QVERIFY(b.waitSent(2));
        QVERIFY(b.mb.isIdle());
    }

    void fileBlock()
    {
        Bench b(MB::Framing::Tcp);
        const quint8 data[] = { 0xDE, 0xAD, 0xBE, 0xEF };
        QCOMPARE(b.mb.writeFileBlock(3, 0x00012345, data, 4, 1), 1);
        b.mb.process();
        QCOMPARE(b.sent.first().toHex(), QByteArray("00010000000f03" "2203000123450004" "0001" "deadbeef"));
        b.reply(mbap(1, "032203" "00012346" "0004"));     // wrong offset echoed: asked again
        QCOMPARE(b.sent.size(), 2);
        b.reply(mbap(2, "032203" "00012345" "0004"));
        QCOMPARE(b.events, QStringList("file 3 12345"));
    }

    void sendFailure()
    {
        Bench b;
        b.sendOk = false;
        b.mb.readHoldingRegisters(1, 0x0C00, 1);
        b.mb.writeSingleRegister(1, 0x0C01, 1);
        QVERIFY(b.stepUntil([&] { return !b.events.isEmpty(); }));
        QCOMPARE(b.events, QStringList("error 1 3 0c00 1"));
        QVERIFY(b.waitSent(4));     // three tries of the read, then the write
        QVERIFY(b.sentAt[2] - b.sentAt[0] >= 40);
    }
};

QTEST_GUILESS_MAIN(TestModbusMaster)
#include "tst_modbusmaster.moc"
