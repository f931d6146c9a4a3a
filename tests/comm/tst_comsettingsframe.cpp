#include "comm/comsettingsframe.h"
#include "comm/modbusmaster.h"
#include "comm/networkhelper.h"
#include "comm/registermap.h"
#include "comm/serialporthelper.h"
#include "data/commonutils.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/ptypair.h"
#include "support/rtupeer.h"
#include "support/testdatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

// The communication page against the simulated device over loopback TCP, and RTU against a scripted device on a pty.
class TestComSettingsFrame : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void textToValue_data();
    void textToValue();
    void addressMap();
    void readWriteAndTick();
    void refusals();
    void realTimePoll();
    void variablePoll();
    void fileBlocks();
    void search_data();
    void search();
    void probeRefusesSilentAddress();
    void peerKilledThenReconnect();
    void rtuMisbehavingDevice_data();
    void rtuMisbehavingDevice();
    void remotePortChecked_data();
    void remotePortChecked();
    void unreadSettingsNotSaved();
    void portListScannedWhileShown();

private:
    QStringList log() const { return m_link->sim().logLines(); }
    bool connectSerial(const QString &port);

    TestDatabase *m_db = nullptr;
    DevsimLink *m_link = nullptr;
    ComSettingsFrame *m_frame = nullptr;
};

void TestComSettingsFrame::init()
{
    m_db = new TestDatabase;
    QVERIFY(m_db->isValid());
    m_link = new DevsimLink;
    m_frame = m_link->frame();
}

void TestComSettingsFrame::cleanup()
{
    delete m_link;
    delete m_db;
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
    m_frame->onDeviceChanged(TrelvoxServo);
    QCOMPARE(ComSettingsFrame::addrMap(25), 65535u);
    m_frame->onDeviceChanged(NoDevice);   // leaves the map as it was
    QCOMPARE(ComSettingsFrame::addrMap(43), 280u);
}

// The 1 ms tick rests while nothing can come of it; a request wakes it and goes out at once.
void TestComSettingsFrame::readWriteAndTick()
{
    QTRY_VERIFY(!m_frame->isTicking());         // no link
    QVERIFY(m_link->start({ "--type", "0" }, 1, DevsimLink::NoCheck));
    QTRY_VERIFY(!m_frame->isTicking());         // a link with nothing to poll
    m_link->sim().clearLog();

    ComSettingsFrame::setRegisterStatus(3072, 1);
    QVERIFY(ComSettingsFrame::writeRegister(3072, 5));
    QVERIFY(m_frame->isTicking());
    QVERIFY(DevsimLink::waitReceived(1, 3072));
    QCOMPARE(ComSettingsFrame::getRegister(3072), Uint16(5));
    QVERIFY(log().contains("slave=1 fc=6 addr=3072 value=5"));
    QTRY_VERIFY(!m_frame->isTicking());

    ComSettingsFrame::setRegister(3072, 0xABCD);
    ComSettingsFrame::setRegisterStatus(3072, 1);
    QVERIFY(ComSettingsFrame::readRegisters(3072, 4));
    QVERIFY(DevsimLink::waitReceived(1, 3075));
    QCOMPARE(ComSettingsFrame::getRegister(3072), Uint16(5));
    QVERIFY(log().contains("slave=1 fc=3 addr=3072 count=4"));

    // Values for one slave never show for another.
    QCOMPARE(ComSettingsFrame::getRegisterEntry(Uint8(2), 3072), quint64(0xABCD));
}

void TestComSettingsFrame::refusals()
{
    QVERIFY(m_link->start());

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
    QVERIFY(m_link->start({ "--set", "3073=11", "--set", "3074=22" }));
    QList<int> list { 3073, 3074, 65535 };
    QList<QPair<int, int>> seen;
    connect(m_frame, &ComSettingsFrame::realTimeAddrRead, this, [&](int a, int v) { seen.append({ a, v }); });
    m_link->sim().clearLog();
    m_frame->setRealTimeAddrList(&list);
    QVERIFY(QTest::qWaitFor([&] { return seen.size() >= 5; }, 5000));
    QCOMPARE(seen.mid(0, 3), (QList<QPair<int, int>> { { 3073, 11 }, { 3074, 22 }, { 3073, 11 } }));   // 65535 skipped
    QVERIFY(log().filter("addr=65535").isEmpty());

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
    m_link->sim().clearLog();
    QVERIFY(QTest::qWaitFor([this] { return log().filter(QRegularExpression("^slave=9 fc=3 addr=3073")).size() >= 2; }, 5000));
    m_frame->setRealTimeAddrList(nullptr);
}

void TestComSettingsFrame::variablePoll()
{
    QVERIFY(m_link->start({ "--set", "3080=1", "--set", "3081=2" }));
    QList<QPair<int, int>> seen;
    connect(m_frame, &ComSettingsFrame::variableAddrRead, this, [&](int a, int v) { seen.append({ a, v }); });
    const QList<int> first { 3080, 3081 };
    const QList<int> again { 3081, 3080 };
    m_frame->addVariableAddrs(&first);
    m_frame->addVariableAddrs(&again);
    QCOMPARE(m_frame->variableAddrs(), first);
    QVERIFY(QTest::qWaitFor([&] { return seen.size() >= 6; }, 5000));
    const QList<QPair<int, int>> round { { 3080, 1 }, { 3081, 2 }, { 65535, 0xABCD } };
    QCOMPARE(seen.mid(0, 3), round);
    QCOMPARE(seen.mid(3, 3), round);
    m_frame->removeVariableAddrs(&first);
    QVERIFY(m_frame->variableAddrs().isEmpty());
    QCOMPARE(m_frame->variableReadPos(), 0);
    QTRY_VERIFY(!m_frame->isTicking());      // nothing left to poll

    // Removing at the read position 0 may not take it below 0; absent addresses change nothing.
    const QList<int> all { 1, 2, 3, 4 }, one { 1 }, absent { 42 };
    m_frame->disconnectDevice();
    m_frame->addVariableAddrs(&all);
    m_frame->removeVariableAddrs(&one);
    QCOMPARE(m_frame->variableReadPos(), 0);
    m_frame->removeVariableAddrs(&absent);
    QCOMPARE(m_frame->variableAddrs(), (QList<int> { 2, 3, 4 }));
}

void TestComSettingsFrame::fileBlocks()
{
    QVERIFY(m_link->start());
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
    QTRY_VERIFY_WITH_TIMEOUT(m_link->sim().stderrText().contains("devsim file 450 bytes"), 3000);
    QVERIFY(log().contains("slave=1 fc=34 offset=400 length=50 last=1"));
}

void TestComSettingsFrame::search_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<int>("last");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("answering slaves") << QStringList { "--slave", "1,3" } << 5 << QStringList { "[1]:Sdriver Device", "[3]:Sdriver Device" };
    // A device without the status register answers with an exception: it is there all the same.
    QTest::newRow("exception replies") << QStringList { "--deny", "56151", "--slave", "1,2" } << 3
                                       << QStringList { "[1]:Sdriver Device", "[2]:Sdriver Device" };
}

void TestComSettingsFrame::search()
{
    QFETCH(QStringList, simArgs);
    QFETCH(int, last);
    QFETCH(QStringList, found);
    QVERIFY(m_link->start(simArgs, 1, DevsimLink::NoCheck));
    QSignalSpy lists(m_frame, &ComSettingsFrame::deviceListChanged);
    QSignalSpy done(m_frame, &ComSettingsFrame::searchFinished);
    m_frame->startSearch(1, last);
    QVERIFY(done.wait(5000));
    QCOMPARE(done.first().first().toInt(), found.size());
    QCOMPARE(lists.last().first().toStringList(), found);
    QCOMPARE(ComSettingsFrame::currentSlave(), 1);
    QVERIFY(m_frame->isConnected());
    QCOMPARE(m_frame->engine()->responseTimeout(), 300);   // the quick search time-out is given back
}

void TestComSettingsFrame::probeRefusesSilentAddress()
{
    // Without the check the link counts as up at once, even where no device answers.
    QVERIFY(m_link->start({}, 7, DevsimLink::NoCheck));
    m_frame->disconnectDevice();
    QSignalSpy changed(m_frame, &ComSettingsFrame::connectionChanged);
    m_frame->findChild<QCheckBox *>("DevCheckBox")->setChecked(true);
    m_frame->connectDevice();
    QTRY_COMPARE(m_frame->findChild<QLabel *>("linkStateLabel")->text(), "No device answers at address 7.");
    QVERIFY(!m_frame->isConnected());
    QVERIFY(changed.isEmpty());
}

void TestComSettingsFrame::peerKilledThenReconnect()
{
    QVERIFY(m_link->start());
    const quint16 port = m_link->sim().port();
    QList<int> list { 3072 };
    m_frame->setRealTimeAddrList(&list);
    QSignalSpy changed(m_frame, &ComSettingsFrame::connectionChanged);
    QTest::qWait(200);
    m_link->sim().kill();
    QVERIFY(QTest::qWaitFor([&] { return !m_frame->isConnected(); }, 5000));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.first().first().toBool(), false);
    QCOMPARE(ComSettingsFrame::readRegisters(3072, 1), 0);   // the engine refuses while the link is down

    QVERIFY(m_link->start({ "--tcp", QStringLiteral("127.0.0.1:%1").arg(port) }));
    QCOMPARE(m_link->sim().port(), port);
    QSignalSpy reads(m_frame, &ComSettingsFrame::realTimeAddrRead);
    QVERIFY(reads.wait(3000));
    m_frame->setRealTimeAddrList(nullptr);
}

bool TestComSettingsFrame::connectSerial(const QString &port)
{
    CommonUtils::saveConfigVal(1, "ConnectWay", "1");
    CommonUtils::saveConfigVal(1, "DevCheckBox", "0");
    CommonUtils::saveConfigVal(2, "PortName", port);
    m_frame->loadSettings();
    m_frame->connectDevice();
    return QTest::qWaitFor([this] { return m_frame->isConnected(); }, 3000)
           && m_frame->engine()->framing() == ModbusMaster::Framing::Rtu;
}

// RTU has no transaction id: whatever the device does, a value may only land under the register asked.
void TestComSettingsFrame::rtuMisbehavingDevice_data()
{
    QTest::addColumn<int>("delayMs");
    QTest::addColumn<int>("copies");
    QTest::addColumn<QByteArray>("noise");
    QTest::newRow("answers later than the time-out") << 450 << 1 << QByteArray();
    QTest::newRow("answers twice") << 0 << 2 << QByteArray();
    QTest::newRow("a noise byte before each answer") << 0 << 1 << QByteArray::fromHex("00");
    QTest::newRow("twelve noise bytes before each answer") << 0 << 1 << QByteArray::fromHex("ff010302010302fe010302fe");
}

void TestComSettingsFrame::rtuMisbehavingDevice()
{
    QFETCH(int, delayMs);
    QFETCH(int, copies);
    QFETCH(QByteArray, noise);
    if (!PtyPair::available())
        QSKIP("socat is not installed");
    PtyPair pty;
    QVERIFY(pty.open());
    RtuPeer peer;
    peer.delayMs = delayMs;
    peer.copies = copies;
    peer.noise = noise;
    QVERIFY(peer.open(pty.end(0)));
    QVERIFY(connectSerial(pty.end(1)));
    QCOMPARE(m_frame->engine()->responseTimeout(), 300);
    const QList<Uint16> asked { 100, 101 };
    for (Uint16 addr : asked) {
        ComSettingsFrame::setRegisterStatus(addr, 1);
        QVERIFY(ComSettingsFrame::readRegisters(addr, 1));
    }
    QVERIFY(QTest::qWaitFor([&] {
        return std::all_of(asked.begin(), asked.end(), [](Uint16 a) { return ComSettingsFrame::getRegisterEntry(a) >> 32 == 2; });
    }, 5000));
    for (Uint16 addr : asked)
        QCOMPARE(ComSettingsFrame::getRegister(addr), RtuPeer::valueOf(addr));
    QCOMPARE(ComSettingsFrame::getRegisterEntry(102), quint64(0xABCD));
    QVERIFY(ComSettingsFrame::writeRegister(100, 9));
    QTRY_COMPARE_WITH_TIMEOUT(ComSettingsFrame::getRegister(100), Uint16(9), 3000);
    const quint8 byte = 1;
    QCOMPARE(ComSettingsFrame::writeFileBlock(1, 0, &byte, 1, 1), 0);   // block writes exist for TCP only
    m_frame->disconnectDevice();
}

void TestComSettingsFrame::remotePortChecked_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    for (const char *bad : { "90939", "65536", "-1", "0", "abc", "" })
        QTest::newRow(qPrintable(QString("\"%1\"").arg(bad))) << bad << false;
    QTest::newRow("65535") << "65535" << true;
    QTest::newRow("spaces around 1") << " 1 " << true;
}

void TestComSettingsFrame::remotePortChecked()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    PromptRecorder prompts;
    CommonUtils::saveConfigVal(3, "RemotePort", "9760");
    m_frame->loadSettings();
    m_frame->findChild<QLineEdit *>("portLineEdit")->setText(text);
    m_frame->findChild<QPushButton *>("connectButton")->click();
    QCOMPARE(CommonUtils::takeConfigVal(3, "RemotePort", "none"), accepted ? text.trimmed() : "9760");
    QCOMPARE(prompts.texts(), accepted ? QStringList()
                                       : QStringList(QString("Tips: Invalid port \"%1\": enter a number from 1 to 65535.").arg(text)));
    // Refused: nothing was tried.
    QCOMPARE(m_frame->findChild<QLabel *>("linkStateLabel")->text() == "Disconnected", !accepted);
}

// Settings that could not be read show defaults; connecting may store only what the user changed.
void TestComSettingsFrame::unreadSettingsNotSaved()
{
    CommonUtils::saveConfigVal(3, "RemoteIp", "10.1.2.3");
    CommonUtils::saveConfigVal(3, "RemotePort", "502");
    CommonUtils::saveConfigVal(1, "DeviceAddr", "7");
    QVERIFY(m_db->exec("ALTER TABLE network_configs RENAME TO held"));
    QVERIFY(m_db->exec("ALTER TABLE devcom_configs RENAME TO held2"));
    m_frame->loadSettings();
    QVERIFY(m_db->exec("ALTER TABLE held RENAME TO network_configs"));
    QVERIFY(m_db->exec("ALTER TABLE held2 RENAME TO devcom_configs"));
    QCOMPARE(m_frame->findChild<QLineEdit *>("ipLineEdit")->text(), "127.0.0.1");

    m_frame->findChild<QLineEdit *>("portLineEdit")->setText("1502");
    m_frame->connectDevice();
    m_frame->disconnectDevice();
    QCOMPARE(CommonUtils::takeConfigVal(3, "RemoteIp", "none"), "10.1.2.3");
    QCOMPARE(CommonUtils::takeConfigVal(1, "DeviceAddr", "none"), "7");
    QCOMPARE(CommonUtils::takeConfigVal(3, "RemotePort", "none"), "1502");
}

// The system does not list pseudo terminals as serial ports, so the test supplies the port list.
void TestComSettingsFrame::portListScannedWhileShown()
{
    QStringList ports { "ttyS0" };
    SerialPortHelper::setPortLister([&ports] { return ports; });
    SerialPortHelper *page = m_frame->serialHelper();
    auto *frameList = m_frame->findChild<QComboBox *>("portComboBox");
    auto *pageList = page->findChild<QComboBox *>("portComboBox");
    auto *way = m_frame->findChild<QComboBox *>("connectWayComboBox");
    auto listed = [](QComboBox *box, const QString &name) { return box->findText(name) >= 0; };
    way->setCurrentIndex(ComSettingsFrame::Serial);
    QVERIFY(!page->isScanningPorts());

    ports << "ttyV1";           // while no list is on screen: picked up the moment one is
    m_frame->show();
    QVERIFY(page->isScanningPorts());
    QVERIFY(listed(frameList, "ttyV1"));
    ports << "ttyV2";
    QTRY_VERIFY_WITH_TIMEOUT(listed(frameList, "ttyV2") && listed(pageList, "ttyV2"), 1000);

    way->setCurrentIndex(ComSettingsFrame::Ethernet);     // the frame's list is hidden
    QVERIFY(!page->isScanningPorts());
    page->show();
    ports << "ttyV3";
    QTRY_VERIFY_WITH_TIMEOUT(listed(pageList, "ttyV3"), 1000);
    page->hide();
    m_frame->hide();
    QVERIFY(!page->isScanningPorts());
    SerialPortHelper::setPortLister(nullptr);
}

QTEST_MAIN(TestComSettingsFrame)
#include "tst_comsettingsframe.moc"
