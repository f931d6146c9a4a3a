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

using CSF = ComSettingsFrame;
using Reads = QList<QPair<int, int>>;

// The communication page against the simulated device over loopback TCP, and RTU against a scripted device on a pty.
class TestComSettingsFrame : public QObject
{
    Q_OBJECT
    TestDatabase *m_db = nullptr;
    DevsimLink *m_link = nullptr;
    CSF *m_frame = nullptr;

    QStringList log() const { return m_link->sim().logLines(); }
    template<class T> T *child(const char *name) const { return m_frame->findChild<T *>(QLatin1String(name)); }

private slots:
    void init()
    {
        m_db = new TestDatabase;
        QVERIFY(m_db->isValid());
        m_link = new DevsimLink;
        m_frame = m_link->frame();
    }
    void cleanup() { delete m_link, delete m_db; }

    void textToValue_data()
    {
        QTest::addColumn<QString>("text"), QTest::addColumn<int>("decimals"), QTest::addColumn<quint32>("value"), QTest::addColumn<bool>("ok");
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
    void textToValue()
    {
        QFETCH(QString, text);
        QFETCH(int, decimals);
        QFETCH(quint32, value);
        QFETCH(bool, ok);
        bool converted = !ok;
        QCOMPARE(CSF::textToValue(text, decimals, &converted), value);
        QCOMPARE(converted, ok);
        QCOMPARE(CSF::textToValue(text, decimals), value);
    }

    void addressMap()
    {
        RegisterMap::reset();
        QCOMPARE(CSF::addrMap(25), 0u);
        m_frame->onDeviceChanged(SdriverDevice);
        QCOMPARE(QList<quint32>({ CSF::addrMap(25), CSF::addrMap(0) }), QList<quint32>({ 3084u, 65535u }));
        m_frame->onDeviceChanged(TrelvoxServo);
        QCOMPARE(QList<quint32>({ CSF::addrMap(25), CSF::addrMap(43) }), QList<quint32>({ 65535u, 280u }));
        m_frame->onDeviceChanged(NoDevice);   // leaves the map as it was
        QCOMPARE(CSF::addrMap(43), 280u);
        m_frame->onDeviceChanged(OtherDevice3);
        QCOMPARE(CSF::addrMap(28), 56100u);
    }

    // The 1 ms tick rests while nothing can come of it; a request wakes it and goes out at once.
    void readWriteAndTick()
    {
        QTRY_VERIFY(!m_frame->isTicking());         // no link
        QVERIFY(m_link->start({ "--type", "0" }, 1, DevsimLink::NoCheck));
        QTRY_VERIFY(!m_frame->isTicking());         // a link with nothing to poll
        m_link->sim().clearLog();
        CSF::setRegisterStatus(3072, 1);
        QVERIFY(CSF::writeRegister(3072, 5));
        QVERIFY(m_frame->isTicking());
        QVERIFY(DevsimLink::waitReceived(1, 3072));
        QCOMPARE(CSF::getRegister(3072), Uint16(5));
        QTRY_VERIFY(!m_frame->isTicking());
        CSF::setRegister(3072, 0xABCD);
        CSF::setRegisterStatus(3072, 1);
        QVERIFY(CSF::readRegisters(3072, 4));
        QVERIFY(m_frame->isTicking());
        QVERIFY(DevsimLink::waitReceived(1, 3075));
        QCOMPARE(CSF::getRegister(3072), Uint16(5));
        QTRY_VERIFY(!m_frame->isTicking());
        // The link's own read of the status word, now and then, may come between.
        QCOMPARE(log().filter(QStringLiteral("addr=3072")).mid(0, 2),
                 QStringList({ "slave=1 fc=6 addr=3072 value=5", "slave=1 fc=3 addr=3072 count=4" }));
        QCOMPARE(CSF::getRegisterEntry(Uint8(2), 3072), quint64(0xABCD));   // values for one slave never show for another
        QCOMPARE(CSF::getRegister(Uint8(2), 3072), Uint16(0xABCD));
        // The file-import slot 255 and other out-of-range slaves never reach the wire.
        QCOMPARE(QList<int>({ CSF::readSlaveRegisters(255, 3072, 1), CSF::writeSlaveRegister(248, 3072, 1) }), QList<int>({ 0, 0 }));
    }

    void refusals()
    {
        QVERIFY(m_link->start());
        QCOMPARE(CSF::writeSlaveRegister(0, 3072, 1), 0);
        CSF::setCurrentSlave(0);   // no valid current slave: even a valid one given is refused
        QCOMPARE(QList<int>({ CSF::writeRegister(3072, 1), CSF::readSlaveRegisters(1, 3072, 1) }), QList<int>({ 0, 0 }));
        QCOMPARE(CSF::getRegister(3072), Uint16(0xABCD));
        CSF::setRegister(3072, 7);   // ignored while no slave is valid
        CSF::setCurrentSlave(1);
        QVERIFY(CSF::getRegister(3072) != 7);
        QVERIFY(CSF::readSlaveRegisters(1, 3072, 1));

        // The debugging page owns the link while its debug mode is on.
        m_frame->networkHelper()->setDebugMode(true);
        QCOMPARE(QList<int>({ CSF::readRegisters(3072, 1), CSF::writeRegister(3072, 1) }), QList<int>({ 0, 0 }));
        m_frame->networkHelper()->setDebugMode(false);
        QVERIFY(CSF::readRegisters(3072, 1));
    }

    void realTimePoll()
    {
        QVERIFY(m_link->start({ "--set", "3073=11", "--set", "3074=22" }));
        QList<int> list { 3073, 3074, 65535 };
        Reads seen;
        connect(m_frame, &CSF::realTimeAddrRead, this, [&](int a, int v) { seen.append({ a, v }); });
        m_link->sim().clearLog();
        m_frame->setRealTimeAddrList(&list);
        QVERIFY(QTest::qWaitFor([&] { return seen.size() >= 5; }, 5000));
        QCOMPARE(seen.mid(0, 3), Reads({ { 3073, 11 }, { 3074, 22 }, { 3073, 11 } }));   // 65535 skipped
        QVERIFY(log().filter("addr=65535").isEmpty());
        list = { 3074 };     // a list that shrank under the read position restarts at its first register
        seen.clear();
        QVERIFY(QTest::qWaitFor([&] { return seen.size() >= 3; }, 5000));
        QCOMPARE(seen.last(), qMakePair(3074, 22));

        // A register with no answer is asked again after the retry ticks, not given up.
        m_frame->setRealTimeAddrList(nullptr);
        CSF::setCurrentSlave(9);   // devsim does not answer slave 9
        list = { 3073 };
        m_frame->setRealTimeAddrList(&list);
        m_link->sim().clearLog();
        QVERIFY(QTest::qWaitFor([this] { return log().filter(QRegularExpression("^slave=9 fc=3 addr=3073")).size() >= 2; }, 5000));
        m_frame->setRealTimeAddrList(nullptr);
    }

    void variablePoll()
    {
        QVERIFY(m_link->start({ "--set", "3080=1", "--set", "3081=2" }));
        Reads seen;
        connect(m_frame, &CSF::variableAddrRead, this, [&](int a, int v) { seen.append({ a, v }); });
        const QList<int> first { 3080, 3081 }, again { 3081, 3080 };
        m_frame->addVariableAddrs(&first);
        m_frame->addVariableAddrs(&again);      // already polled: no second copy
        QCOMPARE(m_frame->variableAddrs(), first);
        QVERIFY(QTest::qWaitFor([&] { return seen.size() >= 6; }, 5000));
        const Reads round { { 3080, 1 }, { 3081, 2 }, { 65535, 0xABCD } };
        QCOMPARE(seen.mid(0, 6), round + round);
        m_frame->removeVariableAddrs(&first);
        QVERIFY(m_frame->variableAddrs().isEmpty());
        QCOMPARE(m_frame->variableReadPos(), 0);
        QTRY_VERIFY(!m_frame->isTicking());      // nothing left to poll

        // Removing at read position 0 may not take it below 0; absent addresses change nothing.
        const QList<int> all { 1, 2, 3, 4 }, one { 1 }, absent { 42 };
        m_frame->disconnectDevice();
        m_frame->addVariableAddrs(&all);
        m_frame->removeVariableAddrs(&one);
        QCOMPARE(m_frame->variableReadPos(), 0);
        m_frame->removeVariableAddrs(&absent);
        QCOMPARE(m_frame->variableAddrs(), (QList<int> { 2, 3, 4 }));
    }

    void fileBlocks()
    {
        QVERIFY(m_link->start());
        QSignalSpy finished(m_frame, &CSF::singalWriteFileFinshed);
        QByteArray image;
        for (int i = 0; i < 450; ++i)
            image.append(char(i * 7));
        for (int offset = 0; offset < image.size(); offset += 200) {
            const int len = qMin(200, image.size() - offset);
            QVERIFY(CSF::writeFileBlock(1, quint32(offset), reinterpret_cast<const quint8 *>(image.constData() + offset),
                                        Uint16(len), offset + len >= image.size() ? 1 : 0));
        }
        QVERIFY(QTest::qWaitFor([&] { return finished.count() == 3; }, 5000));
        QTRY_VERIFY_WITH_TIMEOUT(m_link->sim().stderrText().contains("devsim file 450 bytes"), 3000);
        QVERIFY(log().contains("slave=1 fc=34 offset=400 length=50 last=1"));
    }

    void search_data()
    {
        QTest::addColumn<QStringList>("simArgs"), QTest::addColumn<int>("last"), QTest::addColumn<QStringList>("found");
        QTest::newRow("answering slaves") << QStringList { "--slave", "1,3" } << 5 << QStringList { "[1]:Sdriver Device", "[3]:Sdriver Device" };
        // A device without the status register answers with an exception: it is there all the same.
        QTest::newRow("exception replies") << QStringList { "--deny", "56151", "--slave", "1,2" } << 3
                                           << QStringList { "[1]:Sdriver Device", "[2]:Sdriver Device" };
        QTest::newRow("absent slave skipped, exception replies") << QStringList { "--deny", "56151", "--slave", "1,3" } << 5
                                                                 << QStringList { "[1]:Sdriver Device", "[3]:Sdriver Device" };
    }
    void search()
    {
        QFETCH(QStringList, simArgs);
        QFETCH(int, last);
        QFETCH(QStringList, found);
        QVERIFY(m_link->start(simArgs, 1, DevsimLink::NoCheck));
        QSignalSpy lists(m_frame, &CSF::deviceListChanged);
        QSignalSpy done(m_frame, &CSF::searchFinished);
        m_frame->startSearch(1, last);
        QVERIFY(m_frame->isSearching());
        QVERIFY(done.wait(5000));
        QCOMPARE(done.first().first().toInt(), found.size());
        QCOMPARE(lists.last().first().toStringList(), found);
        QCOMPARE(CSF::currentSlave(), 1);
        QVERIFY(m_frame->isConnected());
        QCOMPARE(m_frame->engine()->responseTimeout(), 300);   // the quick search time-out is given back
    }

    void probeRefusesSilentAddress()
    {
        // Without the check the link counts as up at once, even where no device answers.
        QVERIFY(m_link->start({}, 7, DevsimLink::NoCheck));
        m_frame->disconnectDevice();
        QSignalSpy changed(m_frame, &CSF::connectionChanged);
        child<QCheckBox>("DevCheckBox")->setChecked(true);
        m_frame->connectDevice();
        QTRY_COMPARE(child<QLabel>("linkStateLabel")->text(), "No device answers at address 7.");
        QVERIFY(!m_frame->isConnected() && changed.isEmpty());
    }

    // The system does not list pseudo terminals as serial ports, so the test supplies the port list.
    void portListScannedWhileShown()
    {
        QStringList ports { "ttyS0" };
        SerialPortHelper::setPortLister([&ports] { return ports; });
        SerialPortHelper *page = m_frame->serialHelper();
        auto *frameList = child<QComboBox>("portComboBox");
        auto *pageList = page->findChild<QComboBox *>("portComboBox");
        auto *way = child<QComboBox>("connectWayComboBox");
        way->setCurrentIndex(CSF::Serial);
        QVERIFY(!page->isScanningPorts());
        ports << "ttyV1";           // while no list is on screen: picked up the moment one is
        m_frame->show();
        QVERIFY(page->isScanningPorts());
        QVERIFY(frameList->findText("ttyV1") >= 0);
        ports << "ttyV2";
        QTRY_VERIFY_WITH_TIMEOUT(frameList->findText("ttyV2") >= 0 && pageList->findText("ttyV2") >= 0, 1000);
        way->setCurrentIndex(CSF::Ethernet);     // the frame's list is hidden
        QVERIFY(!page->isScanningPorts());
        page->show();
        ports << "ttyV3";
        QTRY_VERIFY_WITH_TIMEOUT(pageList->findText("ttyV3") >= 0, 1000);
        page->hide();
        m_frame->hide();
        QVERIFY(!page->isScanningPorts());
        SerialPortHelper::setPortLister(nullptr);
    }

    void peerKilledThenReconnect()
    {
        QVERIFY(m_link->start());
        const quint16 port = m_link->sim().port();
        QList<int> list { 3072 };
        m_frame->setRealTimeAddrList(&list);
        QSignalSpy changed(m_frame, &CSF::connectionChanged);
        QSignalSpy reads(m_frame, &CSF::realTimeAddrRead);
        QVERIFY(reads.wait(3000));
        m_link->sim().kill();
        QTRY_COMPARE_WITH_TIMEOUT(changed, QList<QVariantList>({ { false } }), 5000);   // once
        QCOMPARE(CSF::readRegisters(3072, 1), 0);   // refused while the link is down
        QVERIFY(m_link->start({ "--tcp", QStringLiteral("127.0.0.1:%1").arg(port) }));
        QCOMPARE(m_link->sim().port(), port);
        QVERIFY(reads.wait(3000));
        m_frame->setRealTimeAddrList(nullptr);
    }

    // RTU has no transaction id: whatever the device does, a value may only land under the register asked.
    void rtuMisbehavingDevice_data()
    {
        QTest::addColumn<int>("delayMs"), QTest::addColumn<int>("copies"), QTest::addColumn<QByteArray>("noise");
        QTest::newRow("answers later than the time-out") << 450 << 1 << QByteArray();
        QTest::newRow("answers twice") << 0 << 2 << QByteArray();
        QTest::newRow("a noise byte before each answer") << 0 << 1 << QByteArray::fromHex("00");
        QTest::newRow("twelve noise bytes before each answer") << 0 << 1 << QByteArray::fromHex("ff010302010302fe010302fe");
        QTest::newRow("noise before each answer, sent twice") << 0 << 2 << QByteArray::fromHex("ff010302010302fe010302fe");
    }
    void rtuMisbehavingDevice()
    {
        if (!PtyPair::available())
            QSKIP("socat is not installed");
        PtyPair pty;
        QVERIFY(pty.open());
        RtuPeer peer;
        QFETCH(int, delayMs);
        QFETCH(int, copies);
        QFETCH(QByteArray, noise);
        std::tie(peer.delayMs, peer.copies, peer.noise) = std::tie(delayMs, copies, noise);
        QVERIFY(peer.open(pty.end(0)));
        CommonUtils::saveConfigVal(1, "ConnectWay", "1");
        CommonUtils::saveConfigVal(1, "DevCheckBox", "0");
        CommonUtils::saveConfigVal(2, "PortName", pty.end(1));
        m_frame->loadSettings(), m_frame->connectDevice();
        QVERIFY(QTest::qWaitFor([this] { return m_frame->isConnected(); }, 3000));
        QCOMPARE(m_frame->engine()->framing(), ModbusMaster::Framing::Rtu);
        for (Uint16 addr : { 100, 101 }) {
            CSF::setRegisterStatus(addr, 1);
            QVERIFY(CSF::readRegisters(addr, 1));
        }
        QVERIFY(QTest::qWaitFor([] { return CSF::getRegisterEntry(100) >> 32 == 2 && CSF::getRegisterEntry(101) >> 32 == 2; }, 5000));
        QCOMPARE(QList<Uint16>({ CSF::getRegister(100), CSF::getRegister(101) }), QList<Uint16>({ RtuPeer::valueOf(100), RtuPeer::valueOf(101) }));
        QCOMPARE(CSF::getRegisterEntry(102), quint64(0xABCD));
        QVERIFY(CSF::writeRegister(100, 9));
        QTRY_COMPARE_WITH_TIMEOUT(CSF::getRegister(100), Uint16(9), 3000);
        m_frame->disconnectDevice();
    }

    void rtuThroughPseudoTerminal()
    {
        if (!PtyPair::available())
            QSKIP("socat is not installed");
        PtyPair pty;
        QVERIFY(pty.open());
        QVERIFY(m_link->sim().startSerial(pty.end(0), { "--set", "3072=3" }));
        CommonUtils::saveConfigVal(1, "ConnectWay", "1");
        CommonUtils::saveConfigVal(1, "DevCheckBox", "0");
        CommonUtils::saveConfigVal(2, "PortName", pty.end(1));
        m_frame->loadSettings(), m_frame->connectDevice();
        QVERIFY(QTest::qWaitFor([this] { return m_frame->isConnected(); }, 3000));
        QCOMPARE(m_frame->engine()->framing(), ModbusMaster::Framing::Rtu);
        CSF::setRegisterStatus(3072, 1);
        QVERIFY(CSF::readRegisters(3072, 1));
        QVERIFY(DevsimLink::waitReceived(1, 3072));
        QCOMPARE(CSF::getRegister(3072), Uint16(3));
        QVERIFY(CSF::writeRegister(3072, 6));
        QVERIFY(QTest::qWaitFor([] { return CSF::getRegister(3072) == 6; }, 3000));
        const quint8 byte = 1;
        QCOMPARE(CSF::writeFileBlock(1, 0, &byte, 1, 1), 0);   // block writes exist for TCP only
        m_frame->disconnectDevice();
    }

    void remotePortChecked_data()
    {
        QTest::addColumn<QString>("text"), QTest::addColumn<bool>("accepted");
        for (const char *bad : { "90939", "65536", "-1", "0", "abc", "" })
            QTest::newRow(qPrintable(QString("\"%1\"").arg(bad))) << bad << false;
        QTest::newRow("65535") << "65535" << true;
        QTest::newRow("spaces around 1") << " 1 " << true;
        QTest::newRow("65535 with spaces") << " 65535 " << true;
    }
    void remotePortChecked()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        PromptRecorder prompts;
        CommonUtils::saveConfigVal(3, "RemotePort", "9760");
        m_frame->loadSettings();
        child<QLineEdit>("portLineEdit")->setText(text);
        child<QPushButton>("connectButton")->click();
        QCOMPARE(CommonUtils::takeConfigVal(3, "RemotePort", "none"), accepted ? text.trimmed() : "9760");
        QCOMPARE(prompts.texts(), accepted ? QStringList()
                                           : QStringList(QString("Tips: Invalid port \"%1\": enter a number from 1 to 65535.").arg(text)));
        QCOMPARE(child<QLabel>("linkStateLabel")->text() == "Disconnected", !accepted);   // refused: nothing was tried
    }

    // Settings that could not be read show defaults; connecting may store only what the user changed.
    // A device slower than the poll's own pace, however fast the ticks come: each register is asked
    // again only once its request ended, so the queue never fills and a write goes out next.
    void slowDevicePollsLeaveRoom()
    {
        QVERIFY(m_link->start({ "--no-events", "--answer-delay", "200" }));
        QList<int> polled { 3072, 3073, 3074, 3075 };
        m_frame->setRealTimeAddrList(&polled);
        int most = 0;
        QElapsedTimer clock;
        for (clock.start(); clock.elapsed() < 3000;) {
            m_frame->communicateProcess();      // ticks as fast as they can come
            QCoreApplication::processEvents();
            most = qMax(most, m_frame->engine()->pendingCount());
        }
        QVERIFY2(most <= 2, qPrintable(QString::number(most)));
        CSF::setRegisterStatus(3100, 1);
        QElapsedTimer answered;
        answered.start();
        QVERIFY(CSF::writeRegister(3100, 7));
        QVERIFY(DevsimLink::waitReceived(1, 3100, 5000));
        QVERIFY2(answered.elapsed() < 2000, qPrintable(QString::number(answered.elapsed())));
        m_frame->setRealTimeAddrList(nullptr);
    }

    // Writes go out before queued reads, so a read answered while a write to its register is on its
    // way was taken before the write: its value never reaches the cache, nor a page that acts on it.
    void readTakenBeforeAWriteIsStale()
    {
        QVERIFY(m_link->start({ "--no-events", "--answer-delay", "300", "--set", "3073=1" }));
        QTRY_VERIFY(m_frame->engine()->isIdle());
        CSF::setRegisterStatus(3073, 1);
        QVERIFY(CSF::readRegisters(3073, 1));
        m_frame->engine()->process();       // the read is on its way: the device answers it 300 ms later
        QVERIFY(CSF::writeRegister(3073, 0));
        QTRY_VERIFY_WITH_TIMEOUT(m_link->sim().logLines().contains("slave=1 fc=3 addr=3073 count=1"), 3000);
        QVERIFY(!m_link->sim().logLines().contains("slave=1 fc=6 addr=3073 value=0"));
        QVERIFY((CSF::getRegisterEntry(3073) >> 32) != 2);
        QVERIFY(DevsimLink::waitReceived(1, 3073));
        QCOMPARE(CSF::getRegister(3073), Uint16(0));
    }

    // A device type whose pages poll nothing is still found silent: the link is given up as it is
    // for the others, and nothing is asked while it answers but its status word now and then.
    void silentDeviceNoticedWithNothingPolled()
    {
        QVERIFY(m_link->start({ "--type", "3", "--no-events" }));
        m_frame->engine()->setResponseTimeout(100);
        m_link->sim().clearLog();
        QTest::qWait(600);
        const QStringList asked = log();
        QVERIFY2(!asked.isEmpty() && asked.filter(QStringLiteral("slave=1 fc=3 addr=%1 count=1").arg(CSF::addrMap(34))).size() == asked.size(),
                 qPrintable(asked.join('\n')));
        m_link->sim().pause();
        QTRY_VERIFY_WITH_TIMEOUT(!m_frame->isConnected(), 15000);
        QCOMPARE(child<QLabel>("linkStateLabel")->text(), CSF::tr("Link lost: the device does not answer."));
        m_link->sim().resume();
    }

    void unreadSettingsNotSaved()
    {
        CommonUtils::saveConfigVal(3, "RemoteIp", "10.1.2.3");
        CommonUtils::saveConfigVal(3, "RemotePort", "502");
        CommonUtils::saveConfigVal(1, "DeviceAddr", "7");
        QVERIFY(m_db->exec("ALTER TABLE network_configs RENAME TO held"));
        QVERIFY(m_db->exec("ALTER TABLE devcom_configs RENAME TO held2"));
        m_frame->loadSettings();
        QVERIFY(m_db->exec("ALTER TABLE held RENAME TO network_configs"));
        QVERIFY(m_db->exec("ALTER TABLE held2 RENAME TO devcom_configs"));
        QCOMPARE(child<QLineEdit>("ipLineEdit")->text(), "127.0.0.1");
        child<QLineEdit>("portLineEdit")->setText("1502");
        m_frame->connectDevice(), m_frame->disconnectDevice();
        QCOMPARE(QStringList({ CommonUtils::takeConfigVal(3, "RemoteIp", "none"), CommonUtils::takeConfigVal(1, "DeviceAddr", "none"),
                               CommonUtils::takeConfigVal(3, "RemotePort", "none") }),
                 QStringList({ "10.1.2.3", "7", "1502" }));
    }
};

QTEST_MAIN(TestComSettingsFrame)
#include "tst_comsettingsframe.moc"
