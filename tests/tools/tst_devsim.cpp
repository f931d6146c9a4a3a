#include "support/devsimprocess.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTcpSocket>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

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

// Registers of a device of its own, read in one request over a connection of its own; empty when no reply.
static QVector<int> readRegisters(quint16 port, int address, int count)
{
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!socket.waitForConnected(2000))
        return {};
    socket.write(QByteArray::fromHex("000100000006" "0103") + QByteArray(1, char(address >> 8)) + QByteArray(1, char(address))
                 + QByteArray(1, char(count >> 8)) + QByteArray(1, char(count)));
    if (!QTest::qWaitFor([&socket, count] { return socket.bytesAvailable() >= 9 + 2 * count; }, 2000))
        return {};
    const QByteArray reply = socket.readAll();
    QVector<int> values;
    for (int i = 0; i < count; ++i)
        values << (quint8(reply[9 + 2 * i]) << 8 | quint8(reply[10 + 2 * i]));
    return values;
}

// One register; -1 when no reply.
static int readRegister(quint16 port, int address)
{
    return readRegisters(port, address, 1).value(0, -1);
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
        m_dev.clearLog();
        QCOMPARE(transact(2, "060d1100ff"), QByteArray("060d1100ff"));
        QCOMPARE(transact(1, "030d110001"), QByteArray("030200ff"));   // both unit ids share the registers
        QCOMPARE(transact(2, "030d110001"), QByteArray("030200ff"));
        // Lock, Unlock and Free are idle until the master asks for one.
        QCOMPARE(transact(1, "030c010003"), QByteArray("0306000000000000"));
        QCOMPARE(transact(1, "0300640002"), QByteArray("030412340000"));
        // The task number is 0..7: a larger value is refused and leaves the register alone.
        QCOMPARE(transact(1, "060c000008"), QByteArray("8603"));
        QCOMPARE(transact(1, "060c000007"), QByteArray("060c000007"));
        QCOMPARE(transact(1, "030c000001"), QByteArray("03020007"));
        // All 65536 registers exist, nothing beyond.
        QCOMPARE(transact(1, "03ffff0001").left(4), QByteArray("0302"));
        QCOMPARE(transact(1, "03ffff0002"), QByteArray("8302"));
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
    void liveValues()
    {
        const QByteArray counter = transact(1, "030c1c0001");
        QTRY_VERIFY(transact(1, "030c1c0001") != counter);
    }
    void blockWrite()
    {
        QCOMPARE(transact(1, "2205000000000004" "0000" + QByteArray("1234").toHex()), QByteArray("22050000000000" "04"));
        QCOMPARE(transact(1, "2205000000040005" "0001" + QByteArray("56789").toHex()), QByteArray("22050000000400" "05"));
        QTRY_VERIFY(m_dev.stderrText().contains("devsim file 9 bytes crc32=cbf43926\n"));
        // The next transfer starts from an empty image.
        QCOMPARE(transact(1, "2201000000000003" "0001" + QByteArray("abc").toHex()), QByteArray("22010000000000" "03"));
        QTRY_VERIFY(m_dev.stderrText().contains("devsim file 3 bytes crc32=352441c2\n"));
    }
    void badBlockRefused_data()
    {
        QTest::addColumn<QByteArray>("request"), QTest::addColumn<QByteArray>("reply");
        const QByteArray four = QByteArray("1234").toHex();
        QTest::newRow("length above the data") << "2201000000000005" "0000" + four << QByteArray("a203");
        QTest::newRow("length below the data") << "2201000000000003" "0000" + four << QByteArray("a203");
        QTest::newRow("zero length") << QByteArray("2201000000000000" "0000") << QByteArray("a203");
        QTest::newRow("241 bytes") << "22010000000000f1" "0000" + QByteArray(241, 'x').toHex() << QByteArray("a203");
        QTest::newRow("240 bytes") << "22010000000000f0" "0000" + QByteArray(240, 'x').toHex() << QByteArray("22010000000000f0");
        QTest::newRow("ends past 16 MiB") << "220100ffffff0002" "0000" + QByteArray("ab").toHex() << QByteArray("a203");
        QTest::newRow("ends at 16 MiB") << "220100ffffff0001" "0000" + QByteArray("a").toHex() << QByteArray("220100ffffff0001");
        QTest::newRow("offset wraps 32 bits") << "2201ffffffff0002" "0000" + QByteArray("ab").toHex() << QByteArray("a203");
        QTest::newRow("header cut short") << QByteArray("22010000") << QByteArray("a203");
    }
    void badBlockRefused()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, reply);
        QCOMPARE(transact(1, request), reply);
    }
    void logLines()
    {
        m_dev.clearLog();
        transact(1, "030c000003");
        transact(2, "060d110005");
        transact(1, "2201000000100002" "0001" "abcd");
        transact(9, "0300000001", 300);
        QCOMPARE(m_dev.logLines(), QStringList({ "slave=1 fc=3 addr=3072 count=3", "slave=2 fc=6 addr=3345 value=5",
                                                 "slave=1 fc=34 offset=16 length=2 last=1", "slave=9 fc=3 addr=0 count=1" }));
    }
    // Each device type's register map, one register a row.
    void profiles_data()
    {
        QTest::addColumn<QString>("type"), QTest::addColumn<int>("address"), QTest::addColumn<int>("min"), QTest::addColumn<int>("max");
        QTest::newRow("screwdriver application parameter") << "0" << 3080 << 57 << 57;
        QTest::newRow("servo axis 7 parameter 5, low word") << "1" << 56806 << 1 << 1;
        QTest::newRow("type 2 axis 1 parameter 5, stride 400") << "2" << 56505 << 300 << 300;
        QTest::newRow("type 3 axis 2 parameter 3, base 0, low word") << "3" << 1540 << 1 << 1;
        QTest::newRow("type 3 status word") << "3" << 51 << 1 << 1;
        QTest::newRow("servo bus voltage") << "6" << 56304 << 300 << 320;
        QTest::newRow("type 2 bus voltage") << "2" << 56304 << 40 << 56;
        QTest::newRow("servo speed") << "8" << 56153 << 1000 << 2000;
        QTest::newRow("type 2 alarm code at rest") << "2" << 56302 << 0 << 0;
    }
    void profiles()
    {
        QFETCH(QString, type);
        QFETCH(int, address);
        QFETCH(int, min);
        QFETCH(int, max);
        DevsimProcess dev;
        QVERIFY(dev.start({"--type", type}));
        const int value = readRegister(dev.port(), address);
        QVERIFY2(value >= min && value <= max, qPrintable(QString::number(value)));
    }
    // The low-voltage drive's alarm register holds a drive alarm code now and then.
    void lowVoltAlarm()
    {
        DevsimProcess dev;
        QVERIFY(dev.start({"--type", "2", "--event-interval", "100"}));
        int code = 0;
        QTRY_VERIFY_WITH_TIMEOUT((code = readRegister(dev.port(), 56302)) != 0, 10000);
        QVERIFY2(code >= 1 && code <= 8, qPrintable(QString::number(code)));
    }
    // A screw that ends shows its result, the values it ended with and the alarm code raised with
    // it (at 3084 and its copy 3337) from the same moment, and an operator who drives the next screw
    // once the result is read still leaves them readable for a moment.
    void tighteningFinals()
    {
        DevsimProcess dev;
        QVERIFY(dev.start({"--next-after-reads", "1"}));
        QVector<int> result;   // 3336 and 3337
        QVERIFY(QTest::qWaitFor([&] { return (result = readRegisters(dev.port(), 3336, 2)).value(0) > 0; }, 10000));
        QElapsedTimer sinceRead;
        sinceRead.start();
        const QVector<int> finals = readRegisters(dev.port(), 3076, 4);   // turns, time, speed, torque
        QTest::qWait(120);
        const int later = readRegister(dev.port(), 3336);
        QVERIFY2(later == result[0] || sinceRead.elapsed() >= 200, qPrintable(QString::number(sinceRead.elapsed())));
        QTRY_VERIFY(dev.stderrText().contains("devsim tightening "));
        const QString reported = QStringLiteral("devsim tightening result=%1 turns=%2 torque=%3 time=%4 alarm=%5")
                                     .arg(result[0]).arg(finals.value(0)).arg(finals.value(3)).arg(finals.value(1)).arg(result[1]);
        QVERIFY2(dev.stderrText().contains(reported + '\n'), qPrintable(reported + " / " + dev.stderrText()));
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
        QCOMPARE(dev.logLines().value(0), QStringLiteral("slave=5 fc=3 addr=3072 count=2"));
    }
    void badOptionsRefused()
    {
        for (const QStringList &args : { QStringList{"--type", "9"}, QStringList{"--slave", "1,256"}, QStringList{"--set", "100"},
                                         QStringList{"--next-after-reads", "0"}, QStringList{"--serial", "/dev/null", "--slave", "1,2"} }) {
            DevsimProcess dev;
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^devsim did not start"));
            QVERIFY2(!dev.start(args) && dev.stderrText().startsWith("devsim: "), qPrintable(args.join(' ')));
        }
    }
    // SIGTERM and SIGINT close the port and the log properly: a normal exit with code 0.
    void endsCleanlyOnSignal_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }
    void endsCleanlyOnSignal()
    {
        QFETCH(int, signal);
        QProcess process;
        process.start(DEVSIM_PATH, {"--tcp", "127.0.0.1:0"});
        QVERIFY(process.waitForReadyRead(5000));
        QVERIFY(process.readAllStandardOutput().startsWith("devsim ready "));
        ::kill(pid_t(process.processId()), signal);
        QVERIFY(process.waitForFinished(3000));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }

private:
    void send(quint8 unit, const QByteArray &hexPdu)
    {
        const QByteArray pdu = QByteArray::fromHex(hexPdu);
        QDataStream(&m_socket) << ++m_transaction << quint16(0) << quint16(pdu.size() + 1) << unit;
        m_socket.write(pdu);
    }
    // The reply PDU in hex, after checking the header echoes the last request; empty if none came in time.
    QByteArray receive(quint8 unit, int timeoutMs = 2000)
    {
        QByteArray adu;
        for (const QDeadlineTimer deadline(timeoutMs); adu.size() < 7 || adu.size() < 6 + (quint8(adu[4]) << 8 | quint8(adu[5]));)
            if (m_socket.bytesAvailable() || m_socket.waitForReadyRead(int(deadline.remainingTime())))
                adu += m_socket.readAll();
            else
                return {};
        QByteArray header;
        QDataStream(&header, QIODevice::WriteOnly) << m_transaction << quint16(0) << quint16(adu.size() - 6) << unit;
        return adu.startsWith(header) ? adu.mid(7).toHex() : "bad header " + adu.toHex();
    }
    QByteArray transact(quint8 unit, const QByteArray &hexPdu, int timeoutMs = 2000) { return send(unit, hexPdu), receive(unit, timeoutMs); }

    DevsimProcess m_dev;
    QTcpSocket m_socket;
    quint16 m_transaction = 0;
};

QTEST_GUILESS_MAIN(tst_Devsim)
#include "tst_devsim.moc"
