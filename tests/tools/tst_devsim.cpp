#include "support/devsimprocess.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTcpSocket>
#include <QtTest>

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
        // The task number is 0..7: a larger value is refused.
        QCOMPARE(transact(1, "060c000008"), QByteArray("8603"));
        QCOMPARE(transact(1, "060c000007"), QByteArray("060c000007"));
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
