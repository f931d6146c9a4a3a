#include "comm/networkhelper.h"
#include "comm/serialporthelper.h"
#include "support/promptrecorder.h"
#include "support/ptypair.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {
const QByteArray kReply = QByteArray::fromHex("0103020005B887");
const QByteArray kRequest = QByteArray::fromHex("010300000001840A");

// What `take` yields until `size` bytes came or 5 s passed.
QByteArray collect(const std::function<QByteArray()> &take, int size)
{
    QByteArray got;
    (void)QTest::qWaitFor([&] { return (got += take()).size() >= size; }, 5000);
    return got;
}

// A NetworkHelper linked to a raw peer socket on loopback.
struct TcpLink {
    QTcpServer server;
    NetworkHelper helper;
    QTcpSocket *peer = nullptr;

    bool open()
    {
        if (!server.isListening() && !server.listen(QHostAddress::LocalHost))
            return false;
        helper.connectToDevice(QStringLiteral("127.0.0.1"), server.serverPort());
        if (!server.waitForNewConnection(5000))
            return false;
        peer = server.nextPendingConnection();
        return QTest::qWaitFor([this] { return helper.isConnected(); }, 5000);
    }
    bool requestArrives() { return helper.sendBytes(kRequest) && collect([this] { return peer->readAll(); }, 8) == kRequest; }
    bool replyTaken()
    {
        peer->write(kReply);
        return collect([this] { return helper.takeReceived(); }, kReply.size()) == kReply;
    }
    template<class T> T *child(const char *name) { return helper.findChild<T *>(QLatin1String(name)); }
};
} // namespace

class TstTransports : public QObject
{
    Q_OBJECT
    PromptRecorder m_prompts;

private slots:
    void init() { m_prompts.clear(); }

    void tcpLinkLossAndReconnect()
    {
        TcpLink link;
        QSignalSpy arrivedSpy(&link.helper, &NetworkHelper::bytesArrived);
        QSignalSpy lostSpy(&link.helper, &NetworkHelper::linkLost);
        QVERIFY(link.open());
        QVERIFY(link.replyTaken() && arrivedSpy.count() >= 1 && link.requestArrives());
        // Peer close: reported once, though the socket signals both an error and a disconnect.
        link.peer->disconnectFromHost();
        QTRY_COMPARE(lostSpy.count(), 1);
        QTest::qWait(100);
        QCOMPARE(lostSpy.count(), 1);
        QVERIFY(!link.helper.sendBytes(kRequest));
        QVERIFY(link.open());       // the same helper reconnects
        QVERIFY(link.requestArrives());
        // Our own disconnect is not a lost link; a refused connection is, once.
        QTcpSocket *peer = link.peer;
        link.helper.disconnectFromDevice();
        QTRY_COMPARE(peer->state(), QAbstractSocket::UnconnectedState);
        const quint16 closedPort = link.server.serverPort();
        link.server.close();
        link.helper.connectToDevice(QStringLiteral("127.0.0.1"), closedPort);
        QTRY_COMPARE(lostSpy.count(), 2);
        QTest::qWait(50);
        QCOMPARE(lostSpy.count(), 2);
        QCOMPARE(lostSpy.last().first().toString(), link.helper.lastError());
    }

    // While its debug mode is on the page owns the link: raw sends, with hex text checked.
    void tcpDebugMode()
    {
        TcpLink link;
        QVERIFY(link.open());
        auto *sendButton = link.child<QPushButton>("sendButton");
        QVERIFY(!sendButton->isEnabled());
        link.child<QCheckBox>("debugCheckBox")->setChecked(true);
        QVERIFY(link.helper.isDebugMode() && sendButton->isEnabled());
        // The peer's bytes show in the page only, and the engine may not write.
        link.peer->write(kReply);
        QTRY_COMPARE(link.child<QPlainTextEdit>("recvEdit")->toPlainText(), QStringLiteral("01 03 02 00 05 B8 87"));
        QVERIFY(link.helper.takeReceived().isEmpty());
        QVERIFY(!link.helper.sendBytes(kRequest));
        link.child<QCheckBox>("hexSendCheckBox")->setChecked(true);
        for (const char *input : { "01 0c0", "01 03 0c00" }) {    // an odd run is ambiguous: refused, with a warning
            link.child<QLineEdit>("sendEdit")->setText(input);
            sendButton->click();
        }
        QTest::qWait(50);
        QCOMPARE(link.peer->readAll(), QByteArray::fromHex("01030C00"));   // the refused engine request never left either
        QCOMPARE(m_prompts.texts(), QStringList("Tips: Invalid hex text!"));
        link.helper.show(), link.helper.hide();     // closing the page gives the link back to the engine
        QVERIFY(!link.helper.isDebugMode() && !link.child<QCheckBox>("debugCheckBox")->isChecked());
        QVERIFY(link.replyTaken() && link.requestArrives());
    }

    void serialPort()
    {
        SerialPortHelper failing;
        QVERIFY(!failing.openPort("/dev/no-such-serial-port", 9600, QSerialPort::Data8, QSerialPort::NoParity, QSerialPort::OneStop));
        QVERIFY(!failing.sendBytes(kRequest));
        if (!PtyPair::available())
            QSKIP("socat is not installed");
        PtyPair pty;
        QVERIFY(pty.open());
        SerialPortHelper helper;
        QSignalSpy lostSpy(&helper, &SerialPortHelper::linkLost);
        QVERIFY2(helper.openPort(pty.end(0), 115200, QSerialPort::Data8, QSerialPort::NoParity, QSerialPort::OneStop),
                 qPrintable(helper.lastError()));
        QSerialPort device(pty.end(1));
        QVERIFY2(device.open(QIODevice::ReadWrite), qPrintable(device.errorString()));
        QVERIFY(helper.sendBytes(kRequest));
        QCOMPARE(collect([&] { return device.readAll(); }, kRequest.size()), kRequest);
        // The far end vanishes: the port must be given up and reported once.
        device.close();
        pty.close();
        QTRY_COMPARE(lostSpy.count(), 1);
        QVERIFY(!helper.isOpen() && !helper.sendBytes(kRequest));
        QTest::qWait(100);
        QCOMPARE(lostSpy.count(), 1);
    }
};

QTEST_MAIN(TstTransports)
#include "tst_transports.moc"
