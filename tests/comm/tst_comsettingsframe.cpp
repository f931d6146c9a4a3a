#include "comm/comsettingsframe.h"
#include "comm/modbusmaster.h"
#include "comm/serialporthelper.h"
#include "data/commonutils.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/ptypair.h"
#include "support/rtupeer.h"
#include "support/testdatabase.h"

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

    void textToValue()
    {
        bool ok[3] = { false, true, true };
        const QList<quint32> got { CSF::textToValue("-0.15", 1, &ok[0]), CSF::textToValue("1.5", 0, &ok[1]), CSF::textToValue("5000000000", 0, &ok[2]) };
        QCOMPARE(got, QList<quint32>({ quint32(-2), 0xFFFFFFFFu, 0xFFFFFFFFu }));     // halves away from zero; refused
        QCOMPARE(QList<bool>(ok, ok + 3), QList<bool>({ true, false, false }));
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
        QVERIFY(DevsimLink::waitReceived(1, 3075));
        QCOMPARE(CSF::getRegister(3072), Uint16(5));
        QCOMPARE(log().mid(0, 2), QStringList({ "slave=1 fc=6 addr=3072 value=5", "slave=1 fc=3 addr=3072 count=4" }));
        QCOMPARE(CSF::getRegisterEntry(Uint8(2), 3072), quint64(0xABCD));   // values for one slave never show for another
        // The file-import slot 255 and other out-of-range slaves never reach the wire.
        QCOMPARE(QList<int>({ CSF::readSlaveRegisters(255, 3072, 1), CSF::writeSlaveRegister(248, 3072, 1) }), QList<int>({ 0, 0 }));
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
        m_frame->setRealTimeAddrList(nullptr);
    }

    // An absent slave is skipped; one without the status register answers with an exception: it is there all the same.
    void search()
    {
        QVERIFY(m_link->start({ "--deny", "56151", "--slave", "1,3" }, 1, DevsimLink::NoCheck));
        QSignalSpy lists(m_frame, &CSF::deviceListChanged);
        QSignalSpy done(m_frame, &CSF::searchFinished);
        m_frame->startSearch(1, 5);
        QVERIFY(done.wait(5000));
        QCOMPARE(done.first().first().toInt(), 2);
        QCOMPARE(lists.last().first().toStringList(), QStringList({ "[1]:Sdriver Device", "[3]:Sdriver Device" }));
        QVERIFY(m_frame->isConnected());
        QCOMPARE(m_frame->engine()->responseTimeout(), 300);   // the quick search time-out is given back
    }

    // The system does not list pseudo terminals as serial ports, so the test supplies the port list.
    void portListScannedWhileShown()
    {
        QStringList ports { "ttyS0" };
        SerialPortHelper::setPortLister([&ports] { return ports; });
        SerialPortHelper *page = m_frame->serialHelper();
        auto *frameList = child<QComboBox>("portComboBox");
        auto *way = child<QComboBox>("connectWayComboBox");
        way->setCurrentIndex(CSF::Serial);
        QVERIFY(!page->isScanningPorts());
        ports << "ttyV1";           // while no list is on screen: picked up the moment one is
        m_frame->show();
        QVERIFY(page->isScanningPorts());
        QVERIFY(frameList->findText("ttyV1") >= 0);
        ports << "ttyV2";
        QTRY_VERIFY_WITH_TIMEOUT(frameList->findText("ttyV2") >= 0, 1000);
        way->setCurrentIndex(CSF::Ethernet);     // the frame's list is hidden
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
        QVERIFY(reads.wait(3000));
        m_frame->setRealTimeAddrList(nullptr);
    }

    // RTU has no transaction id: whatever the device does, a value may only land under the register asked.
    void rtuMisbehavingDevice_data()
    {
        QTest::addColumn<int>("delayMs"), QTest::addColumn<int>("copies"), QTest::addColumn<QByteArray>("noise");
        QTest::newRow("answers later than the time-out") << 450 << 1 << QByteArray();
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

    void remotePortChecked_data()
    {
        QTest::addColumn<QString>("text"), QTest::addColumn<bool>("accepted");
        for (const char *bad : { "65536", "0", "abc" })
            QTest::newRow(qPrintable(QString("\"%1\"").arg(bad))) << bad << false;
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
