#include "comm/networkhelper.h"
#include "comm/serialporthelper.h"
#include "support/promptrecorder.h"
#include "support/ptypair.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSerialPort>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

namespace {
const QByteArray kReply = QByteArray::fromHex("0103020005B887");
const QByteArray kRequest = QByteArray::fromHex("010300000001840A");

// What `take` yields until `size` bytes came or 5 s passed; a short read shows in the caller's comparison.
QByteArray collect(const std::function<QByteArray()> &take, int size = kReply.size())
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
    QByteArray peerRead(int size = kRequest.size()) { return collect([this] { return peer->readAll(); }, size); }
    bool requestArrives() { return helper.sendBytes(kRequest) && peerRead() == kRequest; }
    // The peer's reply as the engine takes it.
    QByteArray reply()
    {
        peer->write(kReply);
        return collect([this] { return helper.takeReceived(); });
    }
    // Nothing reached the peer a moment later.
    bool peerSilent()
    {
        QTest::qWait(50);
        return peer->readAll().isEmpty();
    }
    template<class T> T *child(const char *name) { return helper.findChild<T *>(QLatin1String(name)); }
};
} // namespace

class TstTransports : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_prompts.clear(); }

    void tcpExchangeAndLinkLoss();
    void tcpDebugMode();
    void tcpHexSend_data();
    void tcpHexSend();
    void tcpMirrorWhileVisible();
    void tcpServerPage();

    void serialOpenFailure();
    void serialPtyExchange();

private:
    PromptRecorder m_prompts;
};

void TstTransports::tcpExchangeAndLinkLoss()
{
    TcpLink link;
    QSignalSpy connectedSpy(&link.helper, &NetworkHelper::connected);
    QSignalSpy arrivedSpy(&link.helper, &NetworkHelper::bytesArrived);
    QSignalSpy lostSpy(&link.helper, &NetworkHelper::linkLost);
    QVERIFY(link.open());
    QCOMPARE(connectedSpy.count(), 1);

    QCOMPARE(link.reply(), kReply);
    QVERIFY(arrivedSpy.count() >= 1);
    QVERIFY(link.helper.takeReceived().isEmpty());

    QVERIFY(link.requestArrives());

    // Peer close: reported once, even though the socket signals both an error and a disconnect.
    link.peer->disconnectFromHost();
    QTRY_COMPARE(lostSpy.count(), 1);
    QTest::qWait(100);
    QCOMPARE(lostSpy.count(), 1);
    QVERIFY(!link.helper.sendBytes(kRequest));

    // Reconnect on the same helper works like the first time.
    QVERIFY(link.open());
    QCOMPARE(connectedSpy.count(), 2);
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
    QCOMPARE(connectedSpy.count(), 2);
    QCOMPARE(lostSpy.last().first().toString(), link.helper.lastError());
}

void TstTransports::tcpDebugMode()
{
    TcpLink link;
    QVERIFY(link.open());
    QSignalSpy modeSpy(&link.helper, &NetworkHelper::debugModeChanged);
    QSignalSpy arrivedSpy(&link.helper, &NetworkHelper::bytesArrived);
    auto *view = link.child<QPlainTextEdit>("recvEdit");

    // The check box and the API are one switch.
    link.child<QCheckBox>("debugCheckBox")->setChecked(true);
    QVERIFY(link.helper.isDebugMode());
    QCOMPARE(modeSpy.count(), 1);

    link.peer->write(kReply);
    QTRY_COMPARE(view->toPlainText(), QStringLiteral("01 03 02 00 05 B8 87"));
    QVERIFY(link.helper.takeReceived().isEmpty());
    QCOMPARE(arrivedSpy.count(), 0);

    // The engine may not write while the page owns the link.
    QVERIFY(!link.helper.sendBytes(kRequest));
    QVERIFY(link.peerSilent());

    link.helper.setDebugMode(false);
    QVERIFY(!link.child<QCheckBox>("debugCheckBox")->isChecked());
    QCOMPARE(modeSpy.count(), 2);
    QCOMPARE(link.reply(), kReply);
    QVERIFY(link.requestArrives());
}

void TstTransports::tcpHexSend_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<bool>("hex");
    QTest::addColumn<QByteArray>("wire");   // empty: nothing may be sent
    QTest::addColumn<bool>("warned");

    QTest::newRow("spaced and joined pairs") << "01 03 0c00" << true << QByteArray::fromHex("01030C00") << false;
    QTest::newRow("text mode sends as typed") << "AT 01" << false << QByteArray("AT 01") << false;
    QTest::newRow("non-hex digit") << "01 0G" << true << QByteArray() << true;
    QTest::newRow("odd run is ambiguous") << "01 0c0" << true << QByteArray() << true;
    QTest::newRow("blank sends nothing") << "   " << true << QByteArray() << false;
}

void TstTransports::tcpHexSend()
{
    QFETCH(QString, input);
    QFETCH(bool, hex);
    QFETCH(QByteArray, wire);
    QFETCH(bool, warned);

    TcpLink link;
    QVERIFY(link.open());
    auto *sendButton = link.child<QPushButton>("sendButton");
    QVERIFY(!sendButton->isEnabled());   // raw sends only in debug mode
    link.helper.setDebugMode(true);
    QVERIFY(sendButton->isEnabled());

    link.child<QLineEdit>("sendEdit")->setText(input);
    link.child<QCheckBox>("hexSendCheckBox")->setChecked(hex);
    sendButton->click();

    if (wire.isEmpty())
        QVERIFY(link.peerSilent());
    else
        QCOMPARE(link.peerRead(wire.size()), wire);
    QCOMPARE(m_prompts.texts(), warned ? QStringList("Tips: Invalid hex text!") : QStringList());
    QVERIFY(!warned || m_prompts.last().kind == Prompt::Warning);
}

void TstTransports::tcpMirrorWhileVisible()
{
    TcpLink link;
    QVERIFY(link.open());
    auto *view = link.child<QPlainTextEdit>("recvEdit");

    // Hidden page: the engine's traffic and diagnostics leave no trace in the view.
    link.helper.appendDiagnostic(QStringLiteral("hidden"));
    QVERIFY(link.helper.sendBytes(kRequest));
    QCOMPARE(link.reply(), kReply);
    QVERIFY(view->toPlainText().isEmpty());

    link.helper.show();
    QVERIFY(QTest::qWaitForWindowExposed(&link.helper));
    link.helper.appendDiagnostic(QStringLiteral("Modbus Error"));
    QVERIFY(link.helper.sendBytes(kRequest));
    QCOMPARE(link.reply(), kReply);
    QCOMPARE(view->toPlainText(), QStringLiteral("Modbus Error\nTX: 01 03 00 00 00 01 84 0A\nRX: 01 03 02 00 05 B8 87"));

    // Closing the page gives the link back to the engine.
    link.helper.setDebugMode(true);
    link.helper.hide();
    QVERIFY(!link.helper.isDebugMode());
    QVERIFY(link.helper.sendBytes(kRequest));
}

void TstTransports::tcpServerPage()
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

    // The page answers its clients without debug mode: they are not the device.
    helper->findChild<QLineEdit *>(QStringLiteral("sendEdit"))->setText(QStringLiteral("06 07"));
    helper->findChild<QPushButton *>(QStringLiteral("sendButton"))->click();
    QCOMPARE(collect([&] { return client.readAll(); }, 2), QByteArray::fromHex("0607"));
    QVERIFY(m_prompts.isEmpty());

    // Destroying the page with a client still attached must not touch freed state.
    delete helper;
    QTRY_COMPARE(client.state(), QAbstractSocket::UnconnectedState);
}

void TstTransports::serialOpenFailure()
{
    SerialPortHelper helper;
    QSignalSpy lostSpy(&helper, &SerialPortHelper::linkLost);
    QVERIFY(!helper.openPort(QStringLiteral("/dev/no-such-serial-port"), 9600, QSerialPort::Data8,
                             QSerialPort::NoParity, QSerialPort::OneStop));
    QVERIFY(!helper.sendBytes(kRequest));
    QCOMPARE(lostSpy.count(), 0);

    // The page's button reports the failure to the user.
    helper.findChild<QPushButton *>(QStringLiteral("openButton"))->click();
    QCOMPARE(m_prompts.size(), 1);
    QCOMPARE(m_prompts.last().text, QStringLiteral("Open failure!"));
}

void TstTransports::serialPtyExchange()
{
    if (!PtyPair::available())
        QSKIP("socat is not installed");
    PtyPair pty;
    QVERIFY(pty.open());
    SerialPortHelper helper;
    QSignalSpy arrivedSpy(&helper, &SerialPortHelper::bytesArrived);
    QSignalSpy lostSpy(&helper, &SerialPortHelper::linkLost);
    QVERIFY2(helper.openPort(pty.end(0), 115200, QSerialPort::Data8, QSerialPort::NoParity, QSerialPort::OneStop),
             qPrintable(helper.lastError()));

    QSerialPort device(pty.end(1));
    QVERIFY2(device.open(QIODevice::ReadWrite), qPrintable(device.errorString()));

    device.write(kReply);
    QCOMPARE(collect([&] { return helper.takeReceived(); }), kReply);
    QVERIFY(arrivedSpy.count() >= 1);

    QVERIFY(helper.sendBytes(kRequest));
    QCOMPARE(collect([&] { return device.readAll(); }, kRequest.size()), kRequest);

    // The far end vanishes: the port must be given up and reported once.
    device.close();
    pty.close();
    QTRY_COMPARE(lostSpy.count(), 1);
    QVERIFY(!helper.isOpen());
    QVERIFY(!helper.sendBytes(kRequest));
    QTest::qWait(100);
    QCOMPARE(lostSpy.count(), 1);
}

QTEST_MAIN(TstTransports)
#include "tst_transports.moc"
