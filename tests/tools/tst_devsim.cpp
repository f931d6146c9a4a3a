#include "support/devsimprocess.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTcpSocket>
#include <QtTest>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

// One register of a device of its own, over a connection of its own; -1 when no reply.
static int readRegister(quint16 port, int address)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    socket.write(QByteArray::fromHex("000100000006" "0103") + char(address >> 8) + char(address) + QByteArray::fromHex("0001"));
    if (!QTest::qWaitFor([&socket] { return socket.bytesAvailable() >= 11; }, 2000))
        return -1;
    const QByteArray reply = socket.readAll();
    return quint8(reply[9]) << 8 | quint8(reply[10]);
}

// One RTU frame to the device behind the pseudo-terminal `master`, and whatever comes back in time.
static QByteArray rtuExchange(int master, const char *hex, int timeoutMs = 2000)
{
    const QByteArray frame = QByteArray::fromHex(hex);
    if (::write(master, frame.constData(), size_t(frame.size())) != frame.size())
        return "write failed";
    QByteArray reply;
    pollfd pfd = {master, POLLIN, 0};
    char buffer[256];
    for (ssize_t n = 0; ::poll(&pfd, 1, timeoutMs) > 0 && (n = ::read(master, buffer, sizeof buffer)) > 0; timeoutMs = 100)
        reply.append(buffer, int(n));
    return reply.toHex();
}

// The simulated device spoken to with hand-built frames, independently of the program's Modbus engine.
class tst_Devsim : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dev.start({"--slave", "1,2", "--set", "100=0x1234", "--set", "3078=77"}));
        m_socket.connectToHost(QHostAddress::LocalHost, m_dev.port());
        QVERIFY(m_socket.waitForConnected(2000));
    }
    void registers()
    {
        // Lock, Unlock and Free (3073-3075) are idle until the master asks for one.
        QCOMPARE(transact(1, "030c010003"), QByteArray("0306000000000000"));
        QCOMPARE(transact(1, "0300640002"), QByteArray("030412340000"));
        m_dev.clearLog();
        QCOMPARE(transact(2, "060d1100ff"), QByteArray("060d1100ff"));
        QCOMPARE(transact(1, "030d110001"), QByteArray("030200ff"));   // both unit ids share the registers
        // The task number is 0..7: a larger value is refused and leaves the register alone.
        QCOMPARE(transact(1, "060c000008"), QByteArray("8603"));
        QCOMPARE(transact(1, "060c000007"), QByteArray("060c000007"));
        QCOMPARE(transact(1, "030c000001"), QByteArray("03020007"));
        QCOMPARE(transact(1, "03ffff0002"), QByteArray("8302"));   // nothing beyond the last register
        // An unserved unit is logged but gets no reply; of frames in one segment only the served one is answered.
        QCOMPARE(transact(3, "0300640001", 300), QByteArray());
        send(7, "0300640001");
        send(2, "0300640001");
        QCOMPARE(receive(2), QByteArray("03021234"));
        QVERIFY(!m_socket.waitForReadyRead(300));
        QCOMPARE(m_dev.logLines().value(0), QStringLiteral("slave=2 fc=6 addr=3345 value=255"));
        // A preset register is kept out of the refresh; the alarm mirror follows the alarm code.
        QCOMPARE(transact(1, "030c060001"), QByteArray("0302004d"));
        transact(1, "060c0c0009");
        QTRY_COMPARE(transact(1, "030d090001"), QByteArray("03020009"));
    }
    void blockWrite()
    {
        QCOMPARE(transact(1, "2205000000000004" "0000" + QByteArray("1234").toHex()), QByteArray("22050000000000" "04"));
        QCOMPARE(transact(1, "2205000000040005" "0001" + QByteArray("56789").toHex()), QByteArray("22050000000400" "05"));
        QTRY_VERIFY(m_dev.stderrText().contains("devsim file 9 bytes crc32=cbf43926\n"));
        // The next transfer starts from an empty image.
        QCOMPARE(transact(1, "2201000000000003" "0001" + QByteArray("abc").toHex()), QByteArray("22010000000000" "03"));
        QTRY_VERIFY(m_dev.stderrText().contains("devsim file 3 bytes crc32=352441c2\n"));
        QCOMPARE(m_dev.logLines().last(), QStringLiteral("slave=1 fc=34 offset=0 length=3 last=1"));
    }
    // Each type's register map: the screwdriver's application parameter, servo axis 7 parameter 5 (low word),
    // type 2 axis 1 parameter 5 (stride 400), type 3 axis 2 parameter 3 (base 0), type 2's alarm code at rest.
    void profiles()
    {
        QList<int> values;
        for (const auto &read : QList<QPair<QString, int>>({ { "0", 3080 }, { "1", 56806 }, { "2", 56505 }, { "3", 1540 }, { "2", 56302 } })) {
            DevsimProcess dev;
            QVERIFY(dev.start({"--type", read.first}));
            values << readRegister(dev.port(), read.second);
        }
        QCOMPARE(values, QList<int>({ 57, 1, 300, 1, 0 }));
        // With events, the low-voltage drive's alarm register holds a drive alarm code now and then.
        DevsimProcess dev;
        QVERIFY(dev.start({"--type", "2", "--event-interval", "100"}));
        int code = 0;
        QTRY_VERIFY_WITH_TIMEOUT((code = readRegister(dev.port(), 56302)) != 0, 10000);
        QVERIFY2(code >= 1 && code <= 8, qPrintable(QString::number(code)));
    }
    void rtu()
    {
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        const auto closeMaster = qScopeGuard([master] { ::close(master); });
        QVERIFY(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        DevsimProcess dev;
        QVERIFY(dev.startSerial(QString::fromLocal8Bit(::ptsname(master)), {"--slave", "5"}));
        QCOMPARE(rtuExchange(master, "05030c000002c6df"), QByteArray("05030400000000bff3"));
        QCOMPARE(rtuExchange(master, "06030c000002c6ec", 300), QByteArray());   // another unit
        QCOMPARE(rtuExchange(master, "05060d1100039ae6"), QByteArray("05060d1100039ae6"));
        QCOMPARE(rtuExchange(master, "05030d110001d727"), QByteArray("05030200030985"));
    }
    void badOptionsRefused()
    {
        // A type or a unit id out of range, a next tightening after no read, a serial line with two unit ids.
        for (const QStringList &args : { QStringList{"--type", "9"}, QStringList{"--slave", "1,256"}, QStringList{"--next-after-reads", "0"},
                                         QStringList{"--serial", "/dev/null", "--slave", "1,2"} }) {
            DevsimProcess dev;
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^devsim did not start"));
            QVERIFY2(!dev.start(args) && dev.stderrText().startsWith("devsim: "), qPrintable(args.join(' ')));
        }
    }

private:
    void send(quint8 unit, const QByteArray &hexPdu)
    {
        const QByteArray pdu = QByteArray::fromHex(hexPdu);
        QByteArray adu;
        QDataStream(&adu, QIODevice::WriteOnly) << ++m_transaction << quint16(0) << quint16(pdu.size() + 1) << unit;
        m_socket.write(adu + pdu);
    }
    // The reply PDU in hex, after checking the header echoes the last request; empty if none came in time.
    QByteArray receive(quint8 unit, int timeoutMs = 2000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        QByteArray adu;
        auto needed = [&adu] { return adu.size() < 7 ? 7 : 6 + (quint8(adu[4]) << 8 | quint8(adu[5])); };
        while (adu.size() < needed()) {
            if (!m_socket.bytesAvailable() && !m_socket.waitForReadyRead(int(deadline.remainingTime())))
                return {};
            adu += m_socket.read(needed() - adu.size());
        }
        QByteArray header;
        QDataStream(&header, QIODevice::WriteOnly) << m_transaction << quint16(0) << quint16(adu.size() - 6) << unit;
        return adu.startsWith(header) ? adu.mid(7).toHex() : "bad header " + adu.toHex();
    }
    QByteArray transact(quint8 unit, const QByteArray &hexPdu, int timeoutMs = 2000)
    {
        send(unit, hexPdu);
        return receive(unit, timeoutMs);
    }

    DevsimProcess m_dev;
    QTcpSocket m_socket;
    quint16 m_transaction = 0;
};

QTEST_GUILESS_MAIN(tst_Devsim)
#include "tst_devsim.moc"
