#include "app/appdebugframe.h"
#include "app/iomonitorframe.h"
#include "comm/comsettingsframe.h"
#include "comm/networkhelper.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QtTest>

// The IO monitor's lamps and output buttons and the screwdriver debugging page, against devsim.
class TestIoMonitor : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { delete m_prompts; delete m_stack; delete m_link; delete m_db; }
    void deviceLabels_data();
    void deviceLabels();
    void lampsFromDevice_data();
    void lampsFromDevice();
    void outputToggle();
    void silentRegisterDoesNotStallPoll();
    void pollWakesWhenLinkServes();
    void debugPageBorrowsPoll();
    void startStop_data();
    void startStop();
    void directionAndLiveValuesFromDevice();

private:
    bool connectToSim(const QStringList &args, int slave = 1)
    {
        return m_link->start(QStringList { "--type", "0", "--no-events" } + args, slave, DevsimLink::NoCheck);
    }
    QStringList writes() const { return m_link->sim().writes(); }
    void setDevice(DeviceEnum type)
    {
        m_com->setDeviceType(type);   // fills the address map first, as in the program
        m_io->onDeviceChanged(type);
        m_debug->onDeviceChanged(type);
    }
    void showPage(QWidget *page)
    {
        m_stack->setCurrentWidget(page);
        m_stack->show();
    }
    // One character per lamp of the group box: R red, G green, - gray.
    static QString lamps(QWidget *box);
    static QStringList visibleNames(QWidget *box);
    static QWidget *box(QWidget *page, const char *name) { return page->findChild<QGroupBox *>(QLatin1String(name)); }
    QPushButton *outputButton(int index) const
    {
        return box(m_io, "outputControlGroup")->findChildren<QPushButton *>(QString(), Qt::FindDirectChildrenOnly).at(index);
    }

    TestDatabase *m_db = nullptr;
    DevsimLink *m_link = nullptr;
    ComSettingsFrame *m_com = nullptr;
    IOMonitorFrame *m_io = nullptr;
    AppDebugFrame *m_debug = nullptr;
    QStackedWidget *m_stack = nullptr;
    QList<int> m_realTime;
    PromptRecorder *m_prompts = nullptr;
};

void TestIoMonitor::init()
{
    m_db = new TestDatabase;
    QVERIFY(m_db->isValid());
    m_link = new DevsimLink;
    m_com = m_link->frame();
    ComSettingsFrame::setCurrentSlave(1);
    m_stack = new QStackedWidget;
    m_io = new IOMonitorFrame;
    m_debug = new AppDebugFrame;
    m_stack->addWidget(m_io);
    m_stack->addWidget(m_debug);
    setDevice(SdriverDevice);
    m_prompts = new PromptRecorder;
}

QString TestIoMonitor::lamps(QWidget *box)
{
    QString out;
    for (QLabel *label : box->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly)) {
        const QPixmap pixmap = label->pixmap(Qt::ReturnByValue);
        if (pixmap.isNull())
            continue;
        const QColor c = pixmap.toImage().pixelColor(pixmap.rect().center());
        out += c.red() > c.green() + 60 ? QLatin1Char('R') : c.green() > c.red() + 60 ? QLatin1Char('G') : QLatin1Char('-');
    }
    return out;
}

QStringList TestIoMonitor::visibleNames(QWidget *box)
{
    QStringList names;
    for (QLabel *label : box->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (label->pixmap(Qt::ReturnByValue).isNull() && !label->isHidden())
            names << label->text();
    }
    return names;
}

void TestIoMonitor::deviceLabels_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("count");
    QTest::addColumn<QStringList>("names");   // first, ninth (if any) and last input, last output
    QTest::addColumn<bool>("buttonsEnabled");
    QTest::newRow("screwdriver: 8 + 8") << 0 << 8 << QStringList { "DI0", "DI7", "DO7" } << true;
    // No IO registers in this type's address map: nothing may be polled or written.
    QTest::newRow("servo: 32 + 32, inert") << 1 << 32 << QStringList { "X10", "X20", "X47", "Y47" } << false;
}

void TestIoMonitor::deviceLabels()
{
    QFETCH(int, type);
    QFETCH(int, count);
    QFETCH(QStringList, names);
    QFETCH(bool, buttonsEnabled);
    setDevice(HighVoltServo);
    setDevice(DeviceEnum(type));
    const QStringList inputs = visibleNames(box(m_io, "inputMonitorGroup"));
    const QStringList outputs = visibleNames(box(m_io, "outputMonitorGroup"));
    QCOMPARE(inputs.size(), count);
    QCOMPARE(outputs.size(), count);
    QStringList seen { inputs.first(), inputs.last(), outputs.last() };
    if (count > 8)
        seen.insert(1, inputs.at(8));
    QCOMPARE(seen, names);
    QPushButton *last = outputButton(count - 1);
    QCOMPARE(last->text(), outputs.last());
    QVERIFY(!last->isHidden());
    QCOMPARE(last->isEnabled(), buttonsEnabled);
    if (count < 32)
        QVERIFY(outputButton(count)->isHidden());
}

void TestIoMonitor::lampsFromDevice_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("inputLamps");    // the first 16 lamps, hidden ones included
    QTest::addColumn<QString>("outputLamps");
    QTest::newRow("DI0 DI2 and DO7") << "5" << "128" << "R-R-------------" << "-------G--------";
    QTest::newRow("bits above 7 paint hidden lamps") << "261" << "0" << "R-R-----R-------" << "----------------";
}

void TestIoMonitor::lampsFromDevice()
{
    QFETCH(QString, input);
    QFETCH(QString, output);
    QFETCH(QString, inputLamps);
    QFETCH(QString, outputLamps);
    QVERIFY(connectToSim({ "--set", "3344=" + input, "--set", "3345=" + output }));
    showPage(m_io);
    QTRY_COMPARE(lamps(box(m_io, "inputMonitorGroup")).left(16), inputLamps);
    QTRY_COMPARE(lamps(box(m_io, "outputMonitorGroup")).left(16), outputLamps);
    m_stack->hide();
    QTRY_COMPARE(writes(), (QStringList { "3354=1", "3354=0" }));   // the device's IO monitor switch
}

void TestIoMonitor::outputToggle()
{
    QVERIFY(connectToSim({ "--set", "3345=1" }));
    // Never polled, then asked but not answered: there is no value to combine with.
    outputButton(3)->click();
    ComSettingsFrame::setRegisterStatus(3345, 1);
    outputButton(3)->click();
    QTest::qWait(100);
    QCOMPARE(writes(), QStringList());

    showPage(m_io);
    QWidget *out = box(m_io, "outputMonitorGroup");
    QTRY_COMPARE(lamps(out).left(8), QStringLiteral("G-------"));
    m_link->sim().clearLog();
    outputButton(3)->click();
    QTRY_COMPARE(writes(), QStringList { "3345=9" });
    QTRY_COMPARE(lamps(out).left(8), QStringLiteral("G--G----"));
    outputButton(0)->click();
    QTRY_COMPARE(writes(), (QStringList { "3345=9", "3345=8" }));
    QTRY_COMPARE(lamps(out).left(8), QStringLiteral("---G----"));
}

void TestIoMonitor::silentRegisterDoesNotStallPoll()
{
    // The device answers only unit 1; the page polls unit 2, whose reads never come back.
    QVERIFY(connectToSim({ "--slave", "1" }, 2));
    showPage(m_io);
    QTRY_VERIFY_WITH_TIMEOUT(m_link->sim().logLines().contains(QStringLiteral("slave=2 fc=3 addr=3345 count=1")), 5000);
}

// While every request is refused the poll rests; the slave being set at connection and the
// debugging page giving the link back must each start it again without a touch of the page.
// The short waits only give the poll ticks to find itself refused.
void TestIoMonitor::pollWakesWhenLinkServes()
{
    ComSettingsFrame::setCurrentSlave(0);
    showPage(m_io);
    QTest::qWait(50);
    QVERIFY(connectToSim({ "--set", "3344=5" }));
    QTRY_COMPARE(lamps(box(m_io, "inputMonitorGroup")).left(3), QStringLiteral("R-R"));

    m_com->networkHelper()->setDebugMode(true);
    QTest::qWait(50);
    m_link->sim().clearLog();
    m_com->networkHelper()->setDebugMode(false);
    QTRY_VERIFY(m_link->sim().logLines().contains(QStringLiteral("slave=1 fc=3 addr=3344 count=1")));
}

void TestIoMonitor::debugPageBorrowsPoll()
{
    QVERIFY(connectToSim({ "--set", "3344=501", "--set", "3345=13" }));   // 0x1F5, 0x0D
    QWidget *debugIn = box(m_debug, "inputMonitorGroup");
    QWidget *debugOut = box(m_debug, "outputMonitorGroup");
    QWidget *ioIn = box(m_io, "inputMonitorGroup");
    showPage(m_debug);
    // Only as many bits as the borrowed panels have lamps.
    QTRY_COMPARE(lamps(debugIn), QStringLiteral("R-R-R"));
    QTRY_COMPARE(lamps(debugOut), QStringLiteral("G-G"));
    QCOMPARE(lamps(ioIn), QString(32, QLatin1Char('-')));
    QVERIFY(!writes().contains(QStringLiteral("3354=1")));

    m_stack->setCurrentWidget(m_io);
    QTRY_COMPARE(lamps(ioIn).left(9), QStringLiteral("R-R-RRRRR"));
    QVERIFY(m_io->isMonitorRunning());

    // Closed on the debugging page: the poll must not go on painting the freed lamps.
    m_stack->hide();
    m_stack->removeWidget(m_debug);
    m_debug->setParent(nullptr);
    m_debug->show();
    QVERIFY(m_io->isMonitorRunning());
    delete m_debug;
    m_debug = nullptr;
    QVERIFY(!m_io->isMonitorRunning());
    QTest::qWait(100);
}

void TestIoMonitor::startStop_data()
{
    QTest::addColumn<int>("controlWay");
    QTest::addColumn<QString>("clicks");   // S start, T stop, R reverse, F forward
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<int>("warnings");
    QTest::newRow("PC start") << 0 << "S" << QStringList { "3346=1" } << 0;
    QTest::newRow("PC start twice releases") << 0 << "SS" << QStringList { "3346=1", "3346=1" } << 0;
    QTest::newRow("PC stop while started") << 0 << "ST" << QStringList { "3346=1", "3346=1", "3346=0" } << 0;
    QTest::newRow("stop while up") << 1 << "T" << QStringList { "3346=0" } << 0;
    QTest::newRow("IO control refuses start") << 1 << "S" << QStringList() << 1;
    QTest::newRow("direction") << 0 << "RF" << QStringList { "3654=1", "3654=0" } << 0;
}

void TestIoMonitor::startStop()
{
    QFETCH(int, controlWay);
    QFETCH(QString, clicks);
    QFETCH(QStringList, written);
    QFETCH(int, warnings);
    QVERIFY(connectToSim({}));
    auto *start = m_debug->findChild<QPushButton *>(QStringLiteral("sdriverStartButton"));
    m_debug->findChild<QComboBox *>(QStringLiteral("sdriverCtrlWayCoBox"))->setCurrentIndex(controlWay);
    for (QChar c : clicks) {
        const QString name = c == 'S' ? "sdriverStartButton" : c == 'T' ? "sdriverStopButton"
                           : c == 'R' ? "reverseChkBox" : "forwardChkBox";
        m_debug->findChild<QAbstractButton *>(name)->click();
    }
    QTest::qWait(150);
    QTRY_COMPARE(writes(), written);
    QCOMPARE(m_prompts->texts().count("Tips: Please select PC control first!"), warnings);
    QCOMPARE(start->isChecked(), clicks == QLatin1String("S") && controlWay == 0);
}

void TestIoMonitor::directionAndLiveValuesFromDevice()
{
    auto *forward = m_debug->findChild<QCheckBox *>(QStringLiteral("forwardChkBox"));
    auto *reverse = m_debug->findChild<QCheckBox *>(QStringLiteral("reverseChkBox"));
    // A device change while shown takes the old type's address back off the shared list.
    showPage(m_debug);
    QVERIFY(m_com->variableAddrs().contains(3654));
    setDevice(HighVoltServo);
    QVERIFY(!m_com->variableAddrs().contains(3654));
    QVERIFY(m_debug->findChild<QStackedWidget *>(QStringLiteral("stackedWidget"))->isHidden());
    m_stack->hide();
    setDevice(SdriverDevice);

    QVERIFY(connectToSim({ "--set", "3654=1", "--set", "3079=1500", "--set", "3078=1200" }));
    m_realTime = { 3078, 3079 };
    m_com->setRealTimeAddrList(&m_realTime);
    m_stack->show();
    QTRY_VERIFY(reverse->isChecked());
    QTRY_VERIFY(!m_com->variableAddrs().contains(3654));   // read once per showing
    QTRY_COMPARE(m_debug->findChild<QLabel *>(QStringLiteral("curTorqueLable"))->text(), QStringLiteral("1.5"));
    QTRY_COMPARE(m_debug->findChild<QLabel *>(QStringLiteral("curSpeedLable"))->text(), QStringLiteral("1200"));
    m_debug->refreshDisplay(3654, 2);   // not a direction: the pair keeps its state
    QVERIFY(reverse->isChecked() && !forward->isChecked());
    m_stack->hide();
    m_com->setRealTimeAddrList(nullptr);
    QCOMPARE(writes(), QStringList());   // showing the device's direction writes nothing back
}

QTEST_MAIN(TestIoMonitor)
#include "tst_iomonitor.moc"
