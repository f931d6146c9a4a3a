#include "comm/comsettingsframe.h"
#include "comm/modbusmaster.h"
#include "comm/networkhelper.h"
#include "comm/registermap.h"
#include "data/commonutils.h"
#include "support/devsimprocess.h"
#include "support/testdatabase.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QtTest>

// The communication page against the simulated device over loopback TCP (and RTU over a pty).
class TestComSettingsFrame : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void textToValue_data();
    void textToValue();
    void addressMap();
    void readWriteRoundTrip();
    void refusals();
    void realTimePoll();
    void variablePoll();
    void removeVariableKeepsPosition();
    void fileBlocks();
    void searchFindsServedSlaves();
    void probeRefusesSilentAddress();
    void peerKilledThenReconnect();
    void rtuThroughPseudoTerminal();

private:
    bool connectTo(quint16 port, int slave = 1, bool check = true);
    static bool waitReceived(Uint8 slave, Uint16 addr, int ms = 3000);

    TestDatabase *m_db = nullptr;
    DevsimProcess *m_sim = nullptr;
    ComSettingsFrame *m_frame = nullptr;
};

void TestComSettingsFrame::init()
{
    m_db = new TestDatabase;
    QVERIFY(m_db->isValid());
    m_sim = new DevsimProcess;
    m_frame = new ComSettingsFrame;
}

void TestComSettingsFrame::cleanup()
{
    delete m_frame;
    m_frame = nullptr;
    delete m_sim;
    m_sim = nullptr;
    delete m_db;
    m_db = nullptr;
    ComSettingsFrame::setCurrentSlave(0);
}

bool TestComSettingsFrame::connectTo(quint16 port, int slave, bool check)
{
    CommonUtils::saveConfigVal(1, QStringLiteral("ConnectWay"), QStringLiteral("0"));
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceAddr"), QString::number(slave));
    CommonUtils::saveConfigVal(1, QStringLiteral("DevCheckBox"), check ? QStringLiteral("1") : QStringLiteral("0"));
    CommonUtils::saveConfigVal(3, QStringLiteral("RemoteIp"), QStringLiteral("127.0.0.1"));
    CommonUtils::saveConfigVal(3, QStringLiteral("RemotePort"), QString::number(port));
    m_frame->loadSettings();
    m_frame->connectDevice();
    return QTest::qWaitFor([this] { return m_frame->isConnected(); }, 5000);
}

bool TestComSettingsFrame::waitReceived(Uint8 slave, Uint16 addr, int ms)
{
    return QTest::qWaitFor([&] { return (ComSettingsFrame::getRegisterEntry(slave, addr) >> 32) == 2; }, ms);
}

void TestComSettingsFrame::textToValue_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<bool>("ok");
    QTest::newRow("decimal") << "1234" << 0 << 1234u << true;
    QTest::newRow("hex") << "0x1F" << 0 << 31u << true;
    QTest::newRow("negative wraps") << "-2" << 0 << 0xFFFFFFFEu << true;
    QTest::newRow("scaled") << "1.25" << 2 << 125u << true;
    QTest::newRow("half away from zero") << "0.05" << 1 << 1u << true;
    QTest::newRow("negative half away") << "-0.15" << 1 << quint32(-2) << true;
    QTest::newRow("fraction without decimals") << "1.5" << 0 << 0xFFFFFFFFu << false;
    QTest::newRow("garbage") << "abc" << 0 << 0xFFFFFFFFu << false;
    QTest::newRow("empty") << "" << 2 << 0xFFFFFFFFu << false;
    QTest::newRow("too large") << "5000000000" << 0 << 0xFFFFFFFFu << false;
}

void TestComSettingsFrame::textToValue()
{
    QFETCH(QString, text);
    QFETCH(int, decimals);
    QFETCH(quint32, value);
    QFETCH(bool, ok);
    bool converted = !ok;
    QCOMPARE(ComSettingsFrame::textToValue(text, decimals, &converted), value);
    QCOMPARE(converted, ok);
    QCOMPARE(ComSettingsFrame::textToValue(text, decimals), value);
}

void TestComSettingsFrame::addressMap()
{
    RegisterMap::reset();
    QCOMPARE(ComSettingsFrame::addrMap(25), 0u);
    m_frame->onDeviceChanged(SdriverDevice);
    QCOMPARE(ComSettingsFrame::addrMap(25), 3084u);
    QCOMPARE(ComSettingsFrame::addrMap(0), 65535u);
    m_frame->onDeviceChanged(TrelvoxServo);
    QCOMPARE(ComSettingsFrame::addrMap(24), 0u);
    QCOMPARE(ComSettingsFrame::addrMap(25), 65535u);
    QCOMPARE(ComSettingsFrame::addrMap(43), 280u);
    ComSettingsFrame::setCurrentDevice(TrelvoxServo);
    QCOMPARE(ComSettingsFrame::axisAddrStride(), 768);
    ComSettingsFrame::setCurrentDevice(LowVoltServo);
    QCOMPARE(ComSettingsFrame::axisAddrStride(), 400);
    m_frame->onDeviceChanged(NoDevice);   // leaves the map as it was
    QCOMPARE(ComSettingsFrame::addrMap(43), 280u);
    m_frame->onDeviceChanged(OtherDevice3);
    QCOMPARE(ComSettingsFrame::addrMap(24), 65535u);
    QCOMPARE(ComSettingsFrame::addrMap(28), 56100u);
}

void TestComSettingsFrame::readWriteRoundTrip()
{
    QVERIFY(m_sim->start({ QStringLiteral("--type"), QStringLiteral("0") }));
    QVERIFY(connectTo(m_sim->port()));
    m_sim->clearLog();

    ComSettingsFrame::setRegisterStatus(3072, 1);
    QVERIFY(ComSettingsFrame::writeRegister(3072, 5));
    QVERIFY(waitReceived(1, 3072));
    QCOMPARE(ComSettingsFrame::getRegister(3072), Uint16(5));
    QVERIFY(m_sim->logLines().contains(QStringLiteral("slave=1 fc=6 addr=3072 value=5")));

    ComSettingsFrame::setRegister(3072, 0xABCD);
    ComSettingsFrame::setRegisterStatus(3072, 1);
    QVERIFY(ComSettingsFrame::readRegisters(3072, 4));
    QVERIFY(waitReceived(1, 3075));
    QCOMPARE(ComSettingsFrame::getRegister(3072), Uint16(5));
    QVERIFY(m_sim->logLines().contains(QStringLiteral("slave=1 fc=3 addr=3072 count=4")));

    // Values for one slave never show for another.
    QCOMPARE(ComSettingsFrame::getRegister(Uint8(2), 3072), Uint16(0xABCD));
    QCOMPARE(ComSettingsFrame::getRegisterEntry(Uint8(2), 3072), quint64(0xABCD));
}

void TestComSettingsFrame::refusals()
{
    QVERIFY(m_sim->start());
    QVERIFY(connectTo(m_sim->port()));

    // The file-import slot and out-of-range slaves never reach the wire.
    QCOMPARE(ComSettingsFrame::readSlaveRegisters(255, 3072, 1), 0);
    QCOMPARE(ComSettingsFrame::writeSlaveRegister(0, 3072, 1), 0);
    QCOMPARE(ComSettingsFrame::writeSlaveRegister(248, 3072, 1), 0);

    ComSettingsFrame::setCurrentSlave(0);
    QCOMPARE(ComSettingsFrame::writeRegister(3072, 1), 0);
    QCOMPARE(ComSettingsFrame::readSlaveRegisters(1, 3072, 1), 0);
    QCOMPARE(ComSettingsFrame::getRegister(3072), Uint16(0xABCD));
    ComSettingsFrame::setRegister(3072, 7);   // ignored while no slave is valid
    ComSettingsFrame::setCurrentSlave(1);
    QVERIFY(ComSettingsFrame::getRegister(3072) != 7);

    // The debugging page owns the link while its debug mode is on.
    m_frame->networkHelper()->setDebugMode(true);
    QCOMPARE(ComSettingsFrame::readRegisters(3072, 1), 0);
    QCOMPARE(ComSettingsFrame::writeRegister(3072, 1), 0);
    m_frame->networkHelper()->setDebugMode(false);
    QVERIFY(ComSettingsFrame::readRegisters(3072, 1));
}

void TestComSettingsFrame::realTimePoll()
{
    QVERIFY(m_sim->start({ QStringLiteral("--set"), QStringLiteral("3073=11"), QStringLiteral("--set"), QStringLiteral("3074=22") }));
    QVERIFY(connectTo(m_sim->port()));

    QList<int> list { 3073, 3074, 65535 };
    QList<QPair<int, int>> seen;
    connect(m_frame, &ComSettingsFrame::realTimeAddrRead, this, [&](int a, int v) { seen.append({ a, v }); });
    m_sim->clearLog();
    m_frame->setRealTimeAddrList(&list);
    QVERIFY(QTest::qWaitFor([&] { return seen.size() >= 5; }, 5000));
    QCOMPARE(seen.at(0), qMakePair(3073, 11));
    QCOMPARE(seen.at(1), qMakePair(3074, 22));
    QCOMPARE(seen.at(2), qMakePair(3073, 11));   // wrapped, 65535 skipped
    for (const QString &line : m_sim->logLines())
        QVERIFY2(!line.contains(QLatin1String("addr=65535")), qPrintable(line));

    // A list that shrank under the read position restarts at its first register.
    list = { 3074 };
    seen.clear();
    QVERIFY(QTest::qWaitFor([&] { return seen.size() >= 3; }, 5000));
    QCOMPARE(seen.last(), qMakePair(3074, 22));

    // A register with no answer is asked again after the retry ticks, not given up.
    m_frame->setRealTimeAddrList(nullptr);
    ComSettingsFrame::setCurrentSlave(9);   // devsim does not answer slave 9
    list = { 3073 };
    m_frame->setRealTimeAddrList(&list);
    m_sim->clearLog();
    QTest::qWait(1500);
    int asks = 0;
    for (const QString &line : m_sim->logLines())
        asks += line.startsWith(QLatin1String("slave=9 fc=3 addr=3073"));
    QVERIFY2(asks >= 2, qPrintable(QString::number(asks)));
    m_frame->setRealTimeAddrList(nullptr);
}

void TestComSettingsFrame::variablePoll()
{
    QVERIFY(m_sim->start({ QStringLiteral("--set"), QStringLiteral("3080=1"), QStringLiteral("--set"), QStringLiteral("3081=2") }));
    QVERIFY(connectTo(m_sim->port()));

    QList<QPair<int, int>> seen;
    connect(m_frame, &ComSettingsFrame::variableAddrRead, this, [&](int a, int v) { seen.append({ a, v }); });
    const QList<int> first { 3080, 3081 };
    const QList<int> again { 3081, 3080 };
    m_frame->addVariableAddrs(&first);
    m_frame->addVariableAddrs(&again);
    QCOMPARE(m_frame->variableAddrs(), first);
    QVERIFY(QTest::qWaitFor([&] { return seen.size() >= 6; }, 5000));
    QCOMPARE(seen.mid(0, 3), (QList<QPair<int, int>> { { 3080, 1 }, { 3081, 2 }, { 65535, 0xABCD } }));
    QCOMPARE(seen.mid(3, 3), (QList<QPair<int, int>> { { 3080, 1 }, { 3081, 2 }, { 65535, 0xABCD } }));
    m_frame->removeVariableAddrs(&first);
    QVERIFY(m_frame->variableAddrs().isEmpty());
    QCOMPARE(m_frame->variableReadPos(), 0);
}

void TestComSettingsFrame::removeVariableKeepsPosition()
{
    // No link: the position only moves through add and remove.
    const QList<int> all { 1, 2, 3, 4 };
    m_frame->addVariableAddrs(&all);
    QCOMPARE(m_frame->variableReadPos(), 0);
    const QList<int> one { 1 };
    m_frame->removeVariableAddrs(&one);   // at the position 0: may not go below 0
    QCOMPARE(m_frame->variableReadPos(), 0);
    const QList<int> absent { 42 };
    m_frame->removeVariableAddrs(&absent);
    QCOMPARE(m_frame->variableAddrs(), (QList<int> { 2, 3, 4 }));
}

void TestComSettingsFrame::fileBlocks()
{
    QVERIFY(m_sim->start());
    QVERIFY(connectTo(m_sim->port()));
    QSignalSpy finished(m_frame, &ComSettingsFrame::singalWriteFileFinshed);

    QByteArray image;
    for (int i = 0; i < 450; ++i)
        image.append(char(i * 7));
    for (int offset = 0; offset < image.size(); offset += 200) {
        const int len = qMin(200, image.size() - offset);
        QVERIFY(ComSettingsFrame::writeFileBlock(1, quint32(offset), reinterpret_cast<const quint8 *>(image.constData() + offset),
                                                 Uint16(len), offset + len >= image.size() ? 1 : 0));
    }
    QVERIFY(QTest::qWaitFor([&] { return finished.count() == 3; }, 5000));
    const QString crc = QString::number(qChecksum(image.constData(), uint(image.size())), 16);
    QTRY_VERIFY_WITH_TIMEOUT(m_sim->stderrText().contains(QStringLiteral("devsim file 450 bytes")), 3000);
    QVERIFY(m_sim->logLines().contains(QStringLiteral("slave=1 fc=34 offset=400 length=50 last=1")));
    Q_UNUSED(crc)
}

void TestComSettingsFrame::searchFindsServedSlaves()
{
    QVERIFY(m_sim->start({ QStringLiteral("--slave"), QStringLiteral("1,3") }));
    QVERIFY(connectTo(m_sim->port()));
    QSignalSpy lists(m_frame, &ComSettingsFrame::deviceListChanged);
    QSignalSpy done(m_frame, &ComSettingsFrame::searchFinished);
    m_frame->startSearch(1, 5);
    QVERIFY(m_frame->isSearching());
    QVERIFY(done.wait(5000));
    QCOMPARE(done.first().first().toInt(), 2);
    const QStringList list = lists.last().first().toStringList();
    QCOMPARE(list, (QStringList { QStringLiteral("[1]:Sdriver Device"), QStringLiteral("[3]:Sdriver Device") }));
    QCOMPARE(ComSettingsFrame::currentSlave(), 1);
    QVERIFY(m_frame->isConnected());
    QCOMPARE(m_frame->engine()->responseTimeout(), 300);
}

void TestComSettingsFrame::probeRefusesSilentAddress()
{
    QVERIFY(m_sim->start());
    QSignalSpy changed(m_frame, &ComSettingsFrame::connectionChanged);
    QVERIFY(!connectTo(m_sim->port(), 7, true));
    QVERIFY(!m_frame->isConnected());
    QVERIFY(changed.isEmpty());
    // Without the check the link counts as up at once.
    QVERIFY(connectTo(m_sim->port(), 7, false));
}

void TestComSettingsFrame::peerKilledThenReconnect()
{
    QVERIFY(m_sim->start());
    const quint16 port = m_sim->port();
    QVERIFY(connectTo(port));
    QList<int> list { 3072 };
    m_frame->setRealTimeAddrList(&list);
    QSignalSpy changed(m_frame, &ComSettingsFrame::connectionChanged);
    QTest::qWait(200);
    m_sim->kill();
    QVERIFY(QTest::qWaitFor([&] { return !m_frame->isConnected(); }, 5000));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().toBool(), false);
    QCOMPARE(ComSettingsFrame::readRegisters(3072, 1), 0);   // the engine refuses while the link is down

    QVERIFY(m_sim->start({ QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:%1").arg(port) }));
    QCOMPARE(m_sim->port(), port);
    QVERIFY(connectTo(port));
    QSignalSpy reads(m_frame, &ComSettingsFrame::realTimeAddrRead);
    QVERIFY(reads.wait(3000));
    m_frame->setRealTimeAddrList(nullptr);
}

void TestComSettingsFrame::rtuThroughPseudoTerminal()
{
    const QString socat = QStandardPaths::findExecutable(QStringLiteral("socat"));
    if (socat.isEmpty())
        QSKIP("socat is not installed");
    QProcess pair;
    pair.start(socat, { QStringLiteral("-d"), QStringLiteral("-d"), QStringLiteral("pty,raw,echo=0"), QStringLiteral("pty,raw,echo=0") });
    QStringList ptys;
    QVERIFY(QTest::qWaitFor([&] {
        const QString err = QString::fromLocal8Bit(pair.readAllStandardError());
        QRegularExpressionMatchIterator it = QRegularExpression(QStringLiteral("PTY is (\\S+)")).globalMatch(err);
        while (it.hasNext())
            ptys << it.next().captured(1);
        return ptys.size() >= 2;
    }, 5000));
    QVERIFY(m_sim->startSerial(ptys.at(0), { QStringLiteral("--set"), QStringLiteral("3072=3") }));

    CommonUtils::saveConfigVal(1, QStringLiteral("ConnectWay"), QStringLiteral("1"));
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceAddr"), QStringLiteral("1"));
    CommonUtils::saveConfigVal(1, QStringLiteral("DevCheckBox"), QStringLiteral("0"));
    CommonUtils::saveConfigVal(2, QStringLiteral("PortName"), ptys.at(1));
    m_frame->loadSettings();
    m_frame->connectDevice();
    QVERIFY(QTest::qWaitFor([this] { return m_frame->isConnected(); }, 3000));
    QCOMPARE(m_frame->engine()->framing(), ModbusMaster::Framing::Rtu);
    ComSettingsFrame::setRegisterStatus(3072, 1);
    QVERIFY(ComSettingsFrame::readRegisters(3072, 1));
    QVERIFY(waitReceived(1, 3072));
    QCOMPARE(ComSettingsFrame::getRegister(3072), Uint16(3));
    QVERIFY(ComSettingsFrame::writeRegister(3072, 6));
    QVERIFY(QTest::qWaitFor([] { return ComSettingsFrame::getRegister(3072) == 6; }, 3000));
    // Block writes exist for TCP only.
    const quint8 byte = 1;
    QCOMPARE(ComSettingsFrame::writeFileBlock(1, 0, &byte, 1, 1), 0);
    m_frame->disconnectDevice();
    m_sim->stop();
    pair.kill();
    pair.waitForFinished();
}

QTEST_MAIN(TestComSettingsFrame)
#include "tst_comsettingsframe.moc"
