#include "comm/networkhelper.h"
#include "comm/serialporthelper.h"
#include "support/promptrecorder.h"
#include "support/ptypair.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSerialPort>
#include <QSpinBox>
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
    // Nothing reached the peer a moment later.
    bool peerSilent()
    {
        QTest::qWait(50);
        return peer->readAll().isEmpty();
    }
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
        QSignalSpy connectedSpy(&link.helper, &NetworkHelper::connected);
        QSignalSpy arrivedSpy(&link.helper, &NetworkHelper::bytesArrived);
        QSignalSpy lostSpy(&link.helper, &NetworkHelper::linkLost);
        QVERIFY(link.open());
        QCOMPARE(connectedSpy.count(), 1);
        QVERIFY(link.replyTaken() && arrivedSpy.count() >= 1 && link.requestArrives());
        QVERIFY(link.helper.takeReceived().isEmpty());     // taken once
        // Peer close: reported once, though the socket signals both an error and a disconnect.
        link.peer->disconnectFromHost();
        QTRY_COMPARE(lostSpy.count(), 1);
        QTest::qWait(100);
        QCOMPARE(lostSpy.count(), 1);
        QVERIFY(!link.helper.isConnected() && !link.helper.lastError().isEmpty());
        QVERIFY(!link.helper.sendBytes(kRequest));
        QVERIFY(link.open());       // the same helper reconnects
        QCOMPARE(connectedSpy.count(), 2);
        QVERIFY(link.requestArrives());
        // Our own disconnect is not a lost link; a refused connection is, once.
        QTcpSocket *peer = link.peer;
        link.helper.disconnectFromDevice();
        QVERIFY(!link.helper.isConnected());
        QTRY_COMPARE(peer->state(), QAbstractSocket::UnconnectedState);
        QTest::qWait(50);
        QCOMPARE(lostSpy.count(), 1);
        const quint16 closedPort = link.server.serverPort();
        link.server.close();
        link.helper.connectToDevice(QStringLiteral("127.0.0.1"), closedPort);
        QTRY_COMPARE(lostSpy.count(), 2);
        QTest::qWait(50);
        QCOMPARE(lostSpy.count(), 2);
        QCOMPARE(connectedSpy.count(), 2);
        QVERIFY(!link.helper.isConnected() && !link.helper.lastError().isEmpty());
        QCOMPARE(lostSpy.last().first().toString(), link.helper.lastError());
    }

    // While its debug mode is on the page owns the link: raw sends, with hex text checked.
    void tcpDebugMode()
    {
        TcpLink link;
        QVERIFY(link.open());
        QSignalSpy modeSpy(&link.helper, &NetworkHelper::debugModeChanged);
        QSignalSpy arrivedSpy(&link.helper, &NetworkHelper::bytesArrived);
        auto *sendButton = link.child<QPushButton>("sendButton");
        QVERIFY(!sendButton->isEnabled());
        link.child<QCheckBox>("debugCheckBox")->setChecked(true);      // the check box and the call are one switch
        QVERIFY(link.helper.isDebugMode() && sendButton->isEnabled());
        QCOMPARE(modeSpy.count(), 1);
        QCOMPARE(modeSpy.first().first().toBool(), true);
        // The peer's bytes show in the page only, and the engine may not write.
        link.peer->write(kReply);
        QTRY_COMPARE(link.child<QPlainTextEdit>("recvEdit")->toPlainText(), QStringLiteral("01 03 02 00 05 B8 87"));
        QVERIFY(link.helper.takeReceived().isEmpty());
        QCOMPARE(arrivedSpy.count(), 0);
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
        link.helper.setDebugMode(true);
        link.helper.setDebugMode(false);            // and so does the call
        QVERIFY(!link.child<QCheckBox>("debugCheckBox")->isChecked());
        QCOMPARE(modeSpy.count(), 4);
        QVERIFY(link.replyTaken() && link.requestArrives());
    }

    void tcpHexSend_data()
    {
        QTest::addColumn<QString>("input"), QTest::addColumn<bool>("hex");
        QTest::addColumn<QByteArray>("wire"), QTest::addColumn<bool>("warned");     // empty wire: nothing may be sent
        QTest::newRow("spaced and joined pairs") << "01 03 0c00" << true << QByteArray::fromHex("01030C00") << false;
        QTest::newRow("single digits are bytes") << " 1\t3  A " << true << QByteArray::fromHex("01030A") << false;
        QTest::newRow("text mode sends as typed") << "AT 01" << false << QByteArray("AT 01") << false;
        QTest::newRow("non-hex digit") << "01 0G" << true << QByteArray() << true;
        QTest::newRow("odd run is ambiguous") << "01 0c0" << true << QByteArray() << true;
        QTest::newRow("prefix is not hex") << "0x01" << true << QByteArray() << true;
        QTest::newRow("blank sends nothing") << "   " << true << QByteArray() << false;
    }
    void tcpHexSend()
    {
        QFETCH(QString, input);
        QFETCH(bool, hex);
        QFETCH(QByteArray, wire);
        QFETCH(bool, warned);
        TcpLink link;
        QVERIFY(link.open());
        link.helper.setDebugMode(true);
        link.child<QLineEdit>("sendEdit")->setText(input);
        link.child<QCheckBox>("hexSendCheckBox")->setChecked(hex);
        link.child<QPushButton>("sendButton")->click();
        if (wire.isEmpty())
            QVERIFY(link.peerSilent());
        else
            QCOMPARE(collect([&link] { return link.peer->readAll(); }, wire.size()), wire);
        QCOMPARE(m_prompts.texts(), warned ? QStringList("Tips: Invalid hex text!") : QStringList());
        QVERIFY(!warned || m_prompts.last().kind == Prompt::Warning);
    }

    // The page shows the engine's traffic and diagnostics only while it is on screen.
    void tcpMirrorWhileVisible()
    {
        TcpLink link;
        QVERIFY(link.open());
        auto *view = link.child<QPlainTextEdit>("recvEdit");
        link.helper.appendDiagnostic(QStringLiteral("hidden"));
        QVERIFY(link.requestArrives() && link.replyTaken());
        QVERIFY(view->toPlainText().isEmpty());
        link.helper.show();
        QVERIFY(QTest::qWaitForWindowExposed(&link.helper));
        link.helper.appendDiagnostic(QStringLiteral("Modbus Error"));
        QVERIFY(link.requestArrives() && link.replyTaken());
        QCOMPARE(view->toPlainText(), QStringLiteral("Modbus Error\nTX: 01 03 00 00 00 01 84 0A\nRX: 01 03 02 00 05 B8 87"));
        link.helper.setDebugMode(true);
        link.helper.hide();
        QVERIFY(!link.helper.isDebugMode());
        QVERIFY(link.requestArrives());
    }

    // As a server the page answers its clients without debug mode: they are not the device.
    void tcpServerPage()
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const quint16 port = probe.serverPort();
        probe.close();
        auto *helper = new NetworkHelper;
        auto *view = helper->findChild<QPlainTextEdit *>(QStringLiteral("recvEdit"));
        helper->findChild<QRadioButton *>(QStringLiteral("serverRadioButton"))->setChecked(true);
        helper->findChild<QSpinBox *>(QStringLiteral("portSpinBox"))->setValue(port);
        auto *listenButton = helper->findChild<QPushButton *>(QStringLiteral("connectButton"));
        listenButton->click();
        QCOMPARE(listenButton->text(), QStringLiteral("Stop"));
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, port);
        QVERIFY(client.waitForConnected(5000));
        const QString peer = QStringLiteral("127.0.0.1:%1").arg(client.localPort());
        client.write("hi");
        QTRY_VERIFY(view->toPlainText().endsWith(QStringLiteral("[%1] 68 69").arg(peer)));
        helper->findChild<QLineEdit *>(QStringLiteral("sendEdit"))->setText(QStringLiteral("06 07"));
        helper->findChild<QPushButton *>(QStringLiteral("sendButton"))->click();
        QCOMPARE(collect([&client] { return client.readAll(); }, 2), QByteArray::fromHex("0607"));
        QVERIFY(m_prompts.isEmpty());
        // Destroying the page with a client still attached must not touch freed state.
        delete helper;
        QTRY_COMPARE(client.state(), QAbstractSocket::UnconnectedState);
    }

    void serialPort()
    {
        SerialPortHelper failing;
        QSignalSpy failedLostSpy(&failing, &SerialPortHelper::linkLost);
        QVERIFY(!failing.openPort("/dev/no-such-serial-port", 9600, QSerialPort::Data8, QSerialPort::NoParity, QSerialPort::OneStop));
        QVERIFY(!failing.isOpen() && !failing.lastError().isEmpty());
        QVERIFY(!failing.sendBytes(kRequest));
        QCOMPARE(failedLostSpy.count(), 0);
        failing.findChild<QPushButton *>(QStringLiteral("openButton"))->click();      // the page's button tells the user
        QCOMPARE(m_prompts.size(), 1);
        QCOMPARE(m_prompts.last().text, QStringLiteral("Open failure!"));
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
        QSignalSpy arrivedSpy(&helper, &SerialPortHelper::bytesArrived);
        device.write(kReply);
        QCOMPARE(collect([&] { return helper.takeReceived(); }, kReply.size()), kReply);
        QVERIFY(arrivedSpy.count() >= 1);
        QVERIFY(helper.sendBytes(kRequest));
        QCOMPARE(collect([&] { return device.readAll(); }, kRequest.size()), kRequest);
        // Debug mode takes the bytes away from the engine here too.
        helper.setDebugMode(true);
        device.write(kReply);
        QTRY_COMPARE(helper.findChild<QPlainTextEdit *>(QStringLiteral("recvEdit"))->toPlainText(), QStringLiteral("01 03 02 00 05 B8 87"));
        QVERIFY(helper.takeReceived().isEmpty());
        helper.setDebugMode(false);
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
