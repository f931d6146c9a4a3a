#include "app/appdebugframe.h"
#include "app/iomonitorframe.h"
#include "comm/comsettingsframe.h"
#include "comm/modbusmaster.h"
#include "comm/networkhelper.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QtTest>

// One character per lamp of the group box: R red, G green, - gray.
static QString lamps(QWidget *page, const char *box)
{
    QString out;
    for (QLabel *label : page->findChild<QGroupBox *>(box)->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly)) {
        const QImage image = label->pixmap(Qt::ReturnByValue).toImage();
        const QColor c = image.isNull() ? QColor() : image.pixelColor(image.rect().center());
        out += image.isNull() ? "" : c.red() > c.green() + 60 ? "R" : c.green() > c.red() + 60 ? "G" : "-";
    }
    return out;
}

// The names under the shown lamps of the group box.
static QStringList visibleNames(QWidget *page, const char *box)
{
    QStringList names;
    for (QLabel *label : page->findChild<QGroupBox *>(box)->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (label->pixmap(Qt::ReturnByValue).isNull() && !label->isHidden())
            names << label->text();
    }
    return names;
}

// The IO monitor's lamps and output buttons and the screwdriver debugging page, against devsim.
class TestIoMonitor : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_db.isValid()); }
    void init()
    {
        m_link = new DevsimLink;
        ComSettingsFrame::setCurrentSlave(1);
        m_stack = new QStackedWidget;
        m_stack->addWidget(m_io = new IOMonitorFrame);
        m_stack->addWidget(m_debug = new AppDebugFrame);
        setDevice(SdriverDevice);
        m_prompts.clear();
    }
    void cleanup() { delete m_stack; delete m_link; }
    void deviceLabels_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("names");   // first, ninth (if any) and last input, last output
        QTest::addColumn<bool>("buttonsEnabled");
        QTest::newRow("screwdriver: 8 + 8") << 0 << 8 << QStringList { "DI0", "DI7", "DO7" } << true;
        // No IO registers in this type's address map: nothing may be polled or written.
        QTest::newRow("servo: 32 + 32, inert") << 1 << 32 << QStringList { "X10", "X20", "X47", "Y47" } << false;
    }
    void deviceLabels()
    {
        QFETCH(int, type);
        QFETCH(int, count);
        QFETCH(QStringList, names);
        QFETCH(bool, buttonsEnabled);
        setDevice(HighVoltServo);
        setDevice(DeviceEnum(type));
        const QStringList inputs = visibleNames(m_io, "inputMonitorGroup");
        const QStringList outputs = visibleNames(m_io, "outputMonitorGroup");
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
    void lampsFromDevice_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("shown");   // the first 16 input lamps, hidden ones included, then the first 16 output lamps
        QTest::newRow("DI0 DI2 and DO7") << "5" << "128" << "R-R-------------" "-------G--------";
        QTest::newRow("bits above 7 paint hidden lamps") << "261" << "0" << "R-R-----R-------" "----------------";
    }
    void lampsFromDevice()
    {
        QFETCH(QString, input);
        QFETCH(QString, output);
        QFETCH(QString, shown);
        QVERIFY(connectToSim({ "--set", "3344=" + input, "--set", "3345=" + output }));
        showPage(m_io);
        QTRY_COMPARE(lamps(m_io, "inputMonitorGroup").left(16) + lamps(m_io, "outputMonitorGroup").left(16), shown);
        m_stack->hide();
        QTRY_COMPARE(writes(), (QStringList { "3354=1", "3354=0" }));   // the device's IO monitor switch
    }
    void lampsAndOutputs()
    {
        QVERIFY(connectToSim({ "--set", "3344=261", "--set", "3345=129" }));
        // Never polled, then asked but not answered: there is no value to combine with.
        outputButton(3)->click();
        ComSettingsFrame::setRegisterStatus(3345, 1);
        outputButton(3)->click();
        QTest::qWait(100);
        QCOMPARE(writes(), QStringList());
        showPage(m_io);   // bits above 7 paint hidden lamps
        QTRY_COMPARE(lamps(m_io, "inputMonitorGroup").left(16) + lamps(m_io, "outputMonitorGroup").left(16),
                     QStringLiteral("R-R-----R-------" "G------G--------"));
        QCOMPARE(writes(), QStringList { "3354=1" });   // the device's IO monitor switch
        outputButton(3)->click();
        QTRY_COMPARE(writes().join(' ') + lamps(m_io, "outputMonitorGroup").left(8), QStringLiteral("3354=1 3345=137G--G---G"));
        outputButton(0)->click();
        QTRY_COMPARE(writes().last() + lamps(m_io, "outputMonitorGroup").left(8), QStringLiteral("3345=136---G---G"));
        m_stack->hide();
        QTRY_COMPARE(writes().last(), QStringLiteral("3354=0"));
    }
    // While every request is refused the poll rests; the slave being set at connection and the debugging
    // page giving the link back must each start it again. The short waits let the ticks find themselves refused.
    void pollWakesWhenLinkServes()
    {
        ComSettingsFrame::setCurrentSlave(0);
        showPage(m_io);
        QTest::qWait(50);
        QVERIFY(connectToSim({ "--set", "3344=5" }));
        QTRY_COMPARE(lamps(m_io, "inputMonitorGroup").left(3), QStringLiteral("R-R"));
        m_link->frame()->networkHelper()->setDebugMode(true);
        QTest::qWait(50);
        m_link->sim().clearLog();
        m_link->frame()->networkHelper()->setDebugMode(false);
        QTRY_VERIFY(m_link->sim().logLines().contains(QStringLiteral("slave=1 fc=3 addr=3344 count=1")));
        QVERIFY(connectToSim({ "--slave", "1" }, 2));   // a unit that never answers: the poll goes on to the next register
        QTRY_VERIFY_WITH_TIMEOUT(m_link->sim().logLines().contains(QStringLiteral("slave=2 fc=3 addr=3345 count=1")), 5000);
    }
    void debugPageBorrowsPoll()
    {
        QVERIFY(connectToSim({ "--set", "3344=501", "--set", "3345=13" }));   // 0x1F5, 0x0D
        showPage(m_debug);
        QTRY_COMPARE(lamps(m_debug, "inputMonitorGroup") + lamps(m_debug, "outputMonitorGroup"), QStringLiteral("R-R-RG-G"));   // as many as it has
        QVERIFY(lamps(m_io, "inputMonitorGroup") == QString(32, '-') && !writes().contains(QStringLiteral("3354=1")));
        m_stack->setCurrentWidget(m_io);
        QTRY_COMPARE(lamps(m_io, "inputMonitorGroup").left(9), QStringLiteral("R-R-RRRRR"));
        QVERIFY(m_io->isMonitorRunning());
        // Closed on the debugging page: the poll must not go on painting the freed lamps.
        m_stack->hide();
        m_stack->removeWidget(m_debug);
        m_debug->setParent(nullptr);
        m_debug->show();
        QVERIFY(m_io->isMonitorRunning());
        delete std::exchange(m_debug, nullptr);
        QVERIFY(!m_io->isMonitorRunning());
        QTest::qWait(100);   // no tick may touch the freed lamps
    }
    // What other pages reach: the one IO monitor and its poll, output buttons made for another panel,
    // and the debugging page's variable monitor given an address list.
    void reachedFromOutside()
    {
        QVERIFY(connectToSim({ "--set", "3344=2", "--set", "3345=1", "--set", "3654=1" }));
        QCOMPARE(IOMonitorFrame::instance, m_io);
        QWidget panel;
        const std::unique_ptr<LedGroup> inputs(IOMonitorFrame::createLedLabels(&panel, { "DI0", "DI1" }, 16, 16));
        const std::unique_ptr<LedGroup> outputs(IOMonitorFrame::createLedLabels(&panel, { "DO0" }, 16, 16));
        IOMonitorFrame::instance->setMonitorEnabled(true, &inputs->leds, &outputs->leds);
        QTRY_VERIFY(!inputs->leds.at(0).on && inputs->leds.at(1).on && outputs->leds.at(0).on);
        const std::unique_ptr<QMap<QPushButton *, int>> buttons(
            IOMonitorFrame::instance->createOutputButtons(&panel, { "A", "B", "C", "D" }, 16, 16));
        QCOMPARE(buttons->values(), QList<int>({ 0, 1, 2, 3 }));
        QCOMPARE(buttons->key(3)->text(), QStringLiteral("D"));
        buttons->key(3)->click();   // the bit of its own index, not output 0
        QTRY_COMPARE(writes(), QStringList { "3345=9" });
        m_io->onOutputBtnClicked(true);   // from no button of the page: nothing
        IOMonitorFrame::instance->setMonitorEnabled(false);
        QVERIFY(!m_io->isMonitorRunning());

        QList<int> addrs { 3654 };
        m_debug->setVariableMonitorEnabled(&addrs, true);
        QVERIFY(m_link->frame()->variableAddrs().contains(3654));
        QTRY_VERIFY(button("reverseChkBox")->isChecked());
        QTRY_VERIFY(!m_link->frame()->variableAddrs().contains(3654));   // one pass, then handed back
        m_debug->setVariableMonitorEnabled(&addrs, true);
        m_debug->setVariableMonitorEnabled(&addrs, false);
        QVERIFY(m_link->frame()->variableAddrs().isEmpty());
        QTest::qWait(50);
        QCOMPARE(writes(), QStringList { "3345=9" });
    }
    void startStop_data()
    {
        QTest::addColumn<int>("controlWay");
        QTest::addColumn<QString>("clicks");   // S start, T stop, R reverse, F forward
        QTest::addColumn<QStringList>("written");
        QTest::newRow("PC start") << 0 << "S" << QStringList { "3346=1" };
        QTest::newRow("PC start twice releases") << 0 << "SS" << QStringList { "3346=1", "3346=1" };
        // Stop never sends a start first, as releasing the start button with its click would.
        QTest::newRow("PC stop while started") << 0 << "ST" << QStringList { "3346=1", "3346=0" };
        QTest::newRow("stop while up") << 1 << "T" << QStringList { "3346=0" };
        QTest::newRow("IO control refuses start") << 1 << "S" << QStringList();
        QTest::newRow("direction") << 0 << "RF" << QStringList { "3654=1", "3654=0" };
    }
    void startStop()
    {
        QFETCH(int, controlWay);
        QFETCH(QString, clicks);
        QFETCH(QStringList, written);
        QVERIFY(connectToSim({}));
        m_debug->findChild<QComboBox *>(QStringLiteral("sdriverCtrlWayCoBox"))->setCurrentIndex(controlWay);
        for (QChar c : clicks)
            button(c == 'S' ? "sdriverStartButton" : c == 'T' ? "sdriverStopButton" : c == 'R' ? "reverseChkBox" : "forwardChkBox")->click();
        QTest::qWait(150);
        QTRY_COMPARE(writes(), written);
        QCOMPARE(m_prompts.texts().count("Tips: Please select PC control first!"), controlWay == 1 && clicks == "S" ? 1 : 0);
        QCOMPARE(button("sdriverStartButton")->isChecked(), clicks == "S" && controlWay == 0);
    }
    void screwdriverStoppedOnEveryPath_data()
    {
        QTest::addColumn<QString>("path");
        for (const char *path : { "Disconnect pressed", "debugging page takes the link", "device type changed", "slave changed",
                                  "link lost and back" })
            QTest::newRow(path) << QString::fromLatin1(path);
    }
    // The screwdriver started from the PC runs until a stop reaches it: every way the user leaves it
    // running sends that stop, to the slave it runs on, and the start button shows it stopped.
    void screwdriverStoppedOnEveryPath()
    {
        QFETCH(QString, path);
        QVERIFY(m_link->start({ "--type", "0", "--no-events", "--slave", "1,2" }));
        button("sdriverStartButton")->click();
        QTRY_VERIFY(writes().contains("3346=1"));
        m_link->sim().clearLog();
        const QString stop = QStringLiteral("slave=1 fc=6 addr=3346 value=0");
        ComSettingsFrame *frame = m_link->frame();
        if (path == "Disconnect pressed") {
            frame->findChild<QAbstractButton *>("connectButton")->click();
        } else if (path == "debugging page takes the link") {
            frame->networkHelper()->setDebugMode(true);
            QCOMPARE(m_link->sim().logLines().filter(" fc=6 "), QStringList(stop));   // answered before it was lent
            frame->networkHelper()->setDebugMode(false);
        } else if (path == "device type changed") {
            setDevice(HighVoltServo);
        } else if (path == "slave changed") {
            frame->findChild<QSpinBox *>("deviceAddrSpinBox")->setValue(2);
        } else {
            frame->engine()->setResponseTimeout(100);
            m_link->sim().pause();
            QTRY_VERIFY_WITH_TIMEOUT(!frame->isConnected(), 15000);
            m_link->sim().resume();
            QTest::qWait(300);
            m_link->sim().clearLog();
            QVERIFY(m_link->connectTo(m_link->sim().port()));
        }
        QTRY_COMPARE(m_link->sim().logLines().filter(" fc=6 "), QStringList(stop));
        QVERIFY(!button("sdriverStartButton")->isChecked());
        QTest::qWait(300);
        QCOMPARE(m_link->sim().logLines().filter(" fc=6 "), QStringList(stop));
    }
    void directionAndLiveValuesFromDevice()
    {
        // A device change while shown takes the old type's address back off the shared list.
        showPage(m_debug);
        QVERIFY(m_link->frame()->variableAddrs().contains(3654));
        setDevice(HighVoltServo);
        QVERIFY(!m_link->frame()->variableAddrs().contains(3654));
        QVERIFY(m_debug->findChild<QStackedWidget *>(QStringLiteral("stackedWidget"))->isHidden());
        m_stack->hide();
        setDevice(SdriverDevice);

        QVERIFY(connectToSim({ "--set", "3654=1", "--set", "3079=1500", "--set", "3078=1200" }));
        QList<int> realTime { 3078, 3079 };
        m_link->frame()->setRealTimeAddrList(&realTime);
        m_stack->show();
        QTRY_VERIFY(button("reverseChkBox")->isChecked());
        QTRY_VERIFY(!m_link->frame()->variableAddrs().contains(3654));   // read once per showing
        QTRY_COMPARE(m_debug->findChild<QLabel *>(QStringLiteral("curTorqueLable"))->text(), QStringLiteral("1.5"));
        QTRY_COMPARE(m_debug->findChild<QLabel *>(QStringLiteral("curSpeedLable"))->text(), QStringLiteral("1200"));
        m_debug->refreshDisplay(3654, 2);   // not a direction: the pair keeps its state
        QVERIFY(button("reverseChkBox")->isChecked() && !button("forwardChkBox")->isChecked());
        m_stack->hide();
        m_link->frame()->setRealTimeAddrList(nullptr);
        QCOMPARE(writes(), QStringList());   // showing the device's direction writes nothing back
    }

private:
    bool connectToSim(const QStringList &args, int slave = 1) { return m_link->start(QStringList { "--type", "0", "--no-events" } + args, slave, DevsimLink::NoCheck); }
    QStringList writes() const { return m_link->sim().writes(); }
    void setDevice(DeviceEnum type)
    {
        m_link->frame()->setDeviceType(type);   // fills the address map first, as in the program
        m_io->onDeviceChanged(type);
        m_debug->onDeviceChanged(type);
    }
    void showPage(QWidget *page) { m_stack->setCurrentWidget(page); m_stack->show(); }
    QAbstractButton *button(const char *name) const { return m_debug->findChild<QAbstractButton *>(name); }
    QPushButton *outputButton(int index) const
    {
        return m_io->findChild<QGroupBox *>("outputControlGroup")->findChildren<QPushButton *>(QString(), Qt::FindDirectChildrenOnly).at(index);
    }

    TestDatabase m_db;
    DevsimLink *m_link = nullptr;
    IOMonitorFrame *m_io = nullptr;
    AppDebugFrame *m_debug = nullptr;
    QStackedWidget *m_stack = nullptr;
    PromptRecorder m_prompts;
};

QTEST_MAIN(TestIoMonitor)
#include "tst_iomonitor.moc"
