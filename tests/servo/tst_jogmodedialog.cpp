#include "servo/jogmodedialog.h"

#include "comm/comsettingsframe.h"
#include "comm/modbusmaster.h"
#include "comm/networkhelper.h"
#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QtTest>

#include <memory>

// The servo debugging dialog: its pages, its rows, and what it writes and reads on the wire.
class TestJogModeDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void pageChoice_data();
    void pageChoice();
    void rowsAndEdits();
    void lowVoltJog();
    void trelvoxJog();
    void debugAxesOnWire();
    void reciprocatingRun();
    void hideStopsTheRun();
    void pollOutlivesDroppedReads();
    void linkLossReleases_data();
    void linkLossReleases();
    void switchStopsTheOldDevice_data();
    void switchStopsTheOldDevice();
    void userClosesLinkStopsFirst_data();
    void userClosesLinkStopsFirst();
    void cellTexts_data();
    void cellTexts();
    void slowDeviceStopsAtOnce_data();
    void slowDeviceStopsAtOnce();
    void linkLossStopsOnReturn_data();
    void linkLossStopsOnReturn();
    void runStopsInItsOwnMode();
    void onlyStartedAxesRun();
    void trelvoxSilenceNoticed();
    void lowVoltJogKeepsItsAxis();
    void failedStopKeptAcrossAxes();
private:
    void startMotion(int type, int motion);
    void connectTo(DeviceEnum type, const QStringList &simArgs = {});
    QStringList writes() const { return m_link->sim().writes(); }
    bool waitFor(const QString &line, int ms = 3000) const { return QTest::qWaitFor([&] { return m_link->sim().logLines().contains(line); }, ms); }
    template <typename T> T *child(const char *name) const { return m_dialog->findChild<T *>(QLatin1String(name)); }
    QAbstractButton *button(const char *name) const { return child<QAbstractButton>(name); }
    QTableWidget *table() const { return child<QTableWidget>("tableWidget"); }
    QString cell(int row, int column) const { return table()->item(row, column) ? table()->item(row, column)->text() : QString(); }
    std::unique_ptr<PromptRecorder> m_prompts;   // the dialog has nothing to ask
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<DevsimLink> m_link;
    std::unique_ptr<JogModeDialog> m_dialog;
};

void TestJogModeDialog::init()
{
    m_prompts.reset();     // the old recorder, gone after the new one came, would take the boxes back
    m_prompts.reset(new PromptRecorder);
    m_db.reset(new TestDatabase);
    QVERIFY(m_db->isValid());
    m_link.reset(new DevsimLink), m_dialog.reset(new JogModeDialog);
}

void TestJogModeDialog::cleanup()
{
    m_dialog.reset(), m_link.reset(), m_db.reset();
    QCOMPARE(m_prompts->texts(), QStringList());
}

void TestJogModeDialog::connectTo(DeviceEnum type, const QStringList &simArgs)
{
    CommonUtils::saveConfigVal(1, "DeviceType", QString::number(type));
    QVERIFY(m_link->start(QStringList{ "--type", QString::number(type) } + simArgs));
    m_dialog->onDeviceChanged(type);
    m_link->sim().clearLog();
}

void TestJogModeDialog::pageChoice_data()
{
    QTest::addColumn<int>("type"), QTest::addColumn<int>("page"), QTest::addColumn<QString>("title"), QTest::addColumn<QSize>("size");
    const QSize small(300, 250), large(900, 550);
    QTest::newRow("low-volt drive jogs itself") << 2 << 0 << "Jog调试模式" << small;
    QTest::newRow("trelvox drive jogs itself") << 3 << 0 << "Jog调试模式" << small;
    QTest::newRow("screwdriver: master axes") << 0 << 1 << "主站伺服调试" << large;
    QTest::newRow("no device") << 65535 << 1 << "主站伺服调试" << large;
}

void TestJogModeDialog::pageChoice()
{
    QFETCH(int, type);
    QFETCH(int, page);
    QFETCH(QString, title);
    QFETCH(QSize, size);
    ComSettingsFrame::setCurrentDevice(DeviceEnum(type));
    m_dialog->onDeviceChanged(SdriverDevice);   // the argument does not decide
    m_dialog->show();
    QCOMPARE(child<QStackedWidget>("stackedWidget")->currentIndex(), page);
    QCOMPARE(m_dialog->windowTitle(), title);
    QCOMPARE(m_dialog->size(), size);
    m_dialog->hide();
}

// Saved rows go to their own axes, even with rows missing; numbers the device cannot take are refused.
void TestJogModeDialog::rowsAndEdits()
{
    DatabaseManager::instance()->updateServoDebug({ 2, 0, -1234, 5678, 100, 200, 300, 400, 1, 150 });
    DatabaseManager::instance()->updateServoDebug({ 6, 0, -50000, 50000, 500, 500, 300, 200, 0, 170 });
    QVERIFY(m_db->exec("DELETE FROM servo_debug_mt4c WHERE axis IN (1, 7)"));
    DatabaseManager::resetInstance();
    m_dialog.reset(new JogModeDialog);
    QCOMPARE(QList<int>({ m_dialog->debugRow(1).axis, m_dialog->debugRow(1).target1, m_dialog->debugRow(2).target1,
                          m_dialog->debugRow(2).torqueOut }), QList<int>({ 1, -50000, -1234, 150 }));
    QCOMPARE(child<QLineEdit>("torqueOutLineEdit")->text(), QStringLiteral("170"));   // the last saved row

    button("axis2CheckBox")->click();
    button("axis0CheckBox")->click();
    button("axis2CheckBox")->click();   // the last axis stays selected
    QCOMPARE(m_dialog->selectedAxes(), QList<int>{ 2 });
    QCOMPARE(cell(0, 0), QStringLiteral("2"));
    QCOMPARE(cell(0, 4), QStringLiteral("-1234"));
    table()->item(0, 4)->setText("abc");   // no number: 0
    QCOMPARE(cell(0, 4), QStringLiteral("0"));
    table()->item(0, 6)->setText("-5");
    QCOMPARE(cell(0, 6), QStringLiteral("100"));
    table()->item(0, 3)->setText("20000");
    QCOMPARE(m_dialog->debugRow(2).torqueOut, 150);
    table()->item(0, 3)->setText("120");
    QCOMPARE(m_dialog->debugRow(2).torqueOut, 120);

    button("commonRunButton")->click();   // saves the rows
    bool saved = false;
    for (const RecordItem &row : DatabaseManager::instance()->servoDebugRows())
        saved |= row.value("axis").toString() == "2" && row.value("torqueout").toString() == "120";
    QVERIFY(saved);
}

void TestJogModeDialog::lowVoltJog()
{
    connectTo(LowVoltServo);
    m_link->frame()->setCurrentAxis(1);   // command 56380 + 400, speed 56170 + 400
    m_dialog->show();
    QAbstractButton *forward = button("forwardButton"), *reverse = button("reverseButton");
    // Continuous: a click starts, the other button takes over, a click stops and it stays quiet.
    forward->click();
    QVERIFY(forward->isChecked() && waitFor("slave=1 fc=6 addr=56780 value=515"));
    reverse->click();
    QVERIFY(reverse->isChecked() && !forward->isChecked() && waitFor("slave=1 fc=6 addr=56780 value=516"));
    reverse->click();
    QVERIFY(!reverse->isChecked());
    QTRY_COMPARE(writes().last(), QStringLiteral("56780=517"));
    QStringList list = writes();
    QCOMPARE(list.mid(0, 2), QStringList({ "56780=514", "56570=200" }));
    QVERIFY(list.indexOf("56780=514", 1) > list.indexOf("56780=515"));
    QTest::qWait(400);
    QCOMPARE(writes().size(), list.size());   // stopped means quiet
    // Point operation: held, it starts and is refreshed; released, it stops.
    child<QComboBox>("runTypeComboBox")->setCurrentIndex(1);
    m_link->sim().clearLog();
    QTest::mousePress(forward, Qt::LeftButton);
    QTest::qWait(500);
    QTest::mouseRelease(forward, Qt::LeftButton);
    QTRY_COMPARE(writes().value(writes().size() - 1), QStringLiteral("56780=517"));
    list = writes();
    QVERIFY(list.size() >= 5 && list.first() == "56780=514");
    for (int i = 1; i + 1 < list.size(); i += 2)
        QCOMPARE(list.mid(i, 2), QStringList({ "56570=200", "56780=515" }));
}

void TestJogModeDialog::trelvoxJog()
{
    connectTo(TrelvoxServo);
    m_dialog->show();
    QAbstractButton *forward = button("forwardButton"), *reverse = button("reverseButton");
    const QStringList stop{ "149=100", "401=0", "181=0" };
    child<QComboBox>("runTypeComboBox")->setCurrentIndex(1);
    child<QSpinBox>("speedSpinBox")->setValue(300);
    QTest::mousePress(reverse, Qt::LeftButton);
    QTest::mouseRelease(reverse, Qt::LeftButton);
    QTRY_COMPARE(writes(), QStringList({ "181=1", "149=300", "400=128", "401=64" }) + stop);
    // Continuous: holding the button is one toggle, not a stream of starts and stops.
    child<QComboBox>("runTypeComboBox")->setCurrentIndex(0);
    m_link->sim().clearLog();
    QTest::mousePress(forward, Qt::LeftButton);
    QTest::qWait(700);
    QTest::mouseRelease(forward, Qt::LeftButton);
    QVERIFY(forward->isChecked());
    QTRY_COMPARE(writes(), QStringList({ "181=1", "149=300", "400=128", "401=32" }));
    // Closing the dialog stops the jog it leaves running; so does a change of run type.
    m_link->sim().clearLog();
    m_dialog->hide();
    QTRY_COMPARE(writes(), stop);
    QVERIFY(!forward->isChecked());
    m_dialog->show();
    m_link->sim().clearLog();
    forward->click();
    QTRY_COMPARE(writes().size(), 4);
    m_link->sim().clearLog();
    child<QComboBox>("runTypeComboBox")->setCurrentIndex(1);
    QTRY_COMPARE(writes(), stop);
}

void TestJogModeDialog::debugAxesOnWire()
{
    // Axis 7: position 33002/33003 = -50000, alarm 57601 = 1, enable 56817 = 1.
    button("axis7CheckBox")->click();
    connectTo(SdriverDevice, { "--no-events", "--set", "33002=65535", "--set", "33003=15536", "--set", "57601=1",
                               "--set", "56817=1" });
    m_dialog->show();
    QTRY_COMPARE_WITH_TIMEOUT(cell(1, 1), QStringLiteral("-50000"), 3000);
    QTRY_COMPARE(cell(1, 11), QStringLiteral("Overcurrent"));
    QCOMPARE(table()->item(1, 11)->toolTip(), QStringLiteral("Output short circuit or motor phase fault"));
    QCOMPARE(cell(0, 11), JogModeDialog::tr("无"));
    QTRY_VERIFY(qobject_cast<QAbstractButton *>(table()->cellWidget(1, 12))->isChecked());
    QVERIFY(button("servoEnableButton")->isChecked());
    for (const char *read : { "addr=33002 count=2", "addr=32801 count=1", "addr=57601 count=1", "addr=56817 count=1" })
        QVERIFY2(m_link->sim().logLines().contains(QStringLiteral("slave=1 fc=3 ") + read), read);
    // A position-mode run of axes 0 and 7 towards target 1 (-50000: 0xFFFF, 0x3CB0), then its stop.
    m_link->sim().clearLog();
    button("commonRunButton")->click();
    QCOMPARE(button("commonRunButton")->text(), JogModeDialog::tr("停止"));
    const QStringList run = QStringLiteral("56106=200 56107=200 56110=0 56806=200 56807=200 56810=0 30100=65535 30101=15536 "
                                           "30102=0 30103=500 30104=0 30105=500 30106=0 30107=300 30001=1 32900=65535 32901=15536 "
                                           "32902=0 32903=500 32904=0 32905=500 32906=0 32907=300 32801=1").split(' ');
    QTRY_COMPARE(writes(), run);
    button("commonRunButton")->click();
    QTRY_COMPARE(writes().mid(run.size()), QStringList({ "30001=0", "32801=0" }));
    // Speed mode for axis 0: its speed cell goes out at once, the torque cell waits for a run.
    m_link->sim().clearLog();
    qobject_cast<QComboBox *>(table()->cellWidget(0, 2))->setCurrentIndex(1);
    table()->item(0, 9)->setText("350");
    table()->item(0, 3)->setText("150");
    QTRY_COMPARE(writes(), QStringList({ "56110=1", "56161=350" }));
    // Hidden, every selected axis is left in position mode at speed 0, forward.
    m_link->sim().clearLog();
    m_dialog->hide();
    QTRY_COMPARE(writes(), QStringList({ "56110=0", "56161=0", "56170=0", "56810=0", "56861=0", "56870=0" }));
}

void TestJogModeDialog::reciprocatingRun()
{
    connectTo(SdriverDevice, { "--no-events" });
    child<QComboBox>("runModeComboBox")->setCurrentIndex(0);
    QCOMPARE(m_dialog->runPattern(), int(JogModeDialog::Reciprocate));
    m_dialog->show();
    button("commonRunButton")->click();
    // Target 1 (high word 0xFFFF), target 2 (0), target 1 again, each only after the move ended.
    auto targets = [this] { return writes().filter(QRegularExpression("^30100=")); };
    QTRY_VERIFY_WITH_TIMEOUT(targets().size() >= 3, 5000);
    QCOMPARE(targets().mid(0, 3), QStringList({ "30100=65535", "30100=0", "30100=65535" }));
    button("commonRunButton")->click();
    QTRY_COMPARE(writes().last(), QStringLiteral("30001=0"));
    QCOMPARE(writes().count("30001=1"), targets().size());   // one start per target, no repeats
    m_link->sim().clearLog();
    QTest::qWait(600);
    QVERIFY2(!writes().contains("30001=1"), qPrintable(writes().join(' ')));
}

// Hidden mid-move, the dialog leaves nothing to stop the axis with: the run's stop goes out before
// the writes every hide makes, and the run does not pick up again when the dialog comes back.
void TestJogModeDialog::hideStopsTheRun()
{
    connectTo(SdriverDevice, { "--no-events" });
    m_dialog->show();
    button("commonRunButton")->click();
    QTRY_VERIFY(writes().contains("30001=1"));
    m_link->sim().clearLog();
    m_dialog->hide();
    QTRY_COMPARE(writes(), QStringList({ "30001=0", "56110=0", "56161=0", "56170=0" }));
    QVERIFY(!button("commonRunButton")->isChecked());
}

// Reads dropped with the link are never answered: the poll gives up on them and carries on.
void TestJogModeDialog::pollOutlivesDroppedReads()
{
    connectTo(SdriverDevice, { "--no-events" });
    m_dialog->show();
    QVERIFY(waitFor("slave=1 fc=3 addr=30202 count=2"));
    m_dialog->jogModeProcess();   // a round is asked...
    m_link->frame()->disconnectDevice();   // ...and dropped before it goes out
    m_link->frame()->connectDevice();
    QTRY_VERIFY_WITH_TIMEOUT(m_link->frame()->isConnected(), 5000);
    m_link->sim().clearLog();
    QVERIFY(waitFor("slave=1 fc=3 addr=30202 count=2", JogModeDialog::kReadLimitMs + 2000));
}

enum Motion { ContinuousJog, HeldJog, ToAndFroRun };

void TestJogModeDialog::linkLossReleases_data()
{
    QTest::addColumn<int>("type"), QTest::addColumn<int>("motion"), QTest::addColumn<QString>("moving");
    QTest::newRow("low-volt continuous jog") << int(LowVoltServo) << int(ContinuousJog) << "56380=515";
    QTest::newRow("low-volt jog held down") << int(LowVoltServo) << int(HeldJog) << "56380=515";
    QTest::newRow("to-and-fro run") << int(SdriverDevice) << int(ToAndFroRun) << "30001=1";
}

// The link drops mid-motion and the user connects again: nothing moves until pressed again, not
// even when the button still held down feels the mouse move.
void TestJogModeDialog::linkLossReleases()
{
    QFETCH(int, type);
    QFETCH(int, motion);
    QFETCH(QString, moving);
    connectTo(DeviceEnum(type), { "--no-events" });
    child<QComboBox>("runModeComboBox")->setCurrentIndex(0);   // reciprocate
    child<QComboBox>("runTypeComboBox")->setCurrentIndex(motion == HeldJog ? 1 : 0);
    m_dialog->show();
    QAbstractButton *forward = button("forwardButton"), *run = button("commonRunButton");
    if (motion == ContinuousJog)
        forward->click();
    else if (motion == HeldJog)
        QTest::mousePress(forward, Qt::LeftButton);
    else
        run->click();
    QTRY_VERIFY_WITH_TIMEOUT(writes().count(moving) >= 2, 3000);   // a jog refreshed, a run under way

    const quint16 port = m_link->sim().port();
    m_link->sim().kill();
    QTRY_VERIFY_WITH_TIMEOUT(!m_link->frame()->isConnected(), 5000);
    QVERIFY(!forward->isChecked() && !forward->isDown() && !run->isChecked());
    QCOMPARE(run->text(), JogModeDialog::tr("运行"));
    QVERIFY(m_link->start({ "--no-events", "--type", QString::number(type), "--tcp", QStringLiteral("127.0.0.1:%1").arg(port) }));
    m_link->sim().clearLog();
    QMouseEvent drag(QEvent::MouseMove, forward->rect().center(), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(forward, &drag);
    QTest::qWait(600);
    QVERIFY2(writes().isEmpty(), qPrintable(writes().join(' ')));
    if (motion == HeldJog)
        QTest::mouseRelease(forward, Qt::LeftButton);
}

enum Switch { ToHighVoltType, ToSlave2 };

void TestJogModeDialog::switchStopsTheOldDevice_data()
{
    QTest::addColumn<int>("type"), QTest::addColumn<int>("change"), QTest::addColumn<QStringList>("stop");
    QTest::newRow("trelvox jog, device type set to 1") << int(TrelvoxServo) << int(ToHighVoltType)
                                                      << QStringList({ "slave=1 fc=6 addr=149 value=100", "slave=1 fc=6 addr=401 value=0",
                                                                       "slave=1 fc=6 addr=181 value=0" });
    QTest::newRow("low-volt jog, slave 1 to 2") << int(LowVoltServo) << int(ToSlave2)
                                               << QStringList("slave=1 fc=6 addr=56380 value=517");
    QTest::newRow("to-and-fro run, slave 1 to 2") << int(SdriverDevice) << int(ToSlave2)
                                                 << QStringList("slave=1 fc=6 addr=30001 value=0");
}

// The jog or run going on the old device type or slave is stopped there, with the old addresses,
// before the switch; it does not carry on on the new one.
void TestJogModeDialog::switchStopsTheOldDevice()
{
    QFETCH(int, type);
    QFETCH(int, change);
    QFETCH(QStringList, stop);
    connectTo(DeviceEnum(type), { "--slave", "1,2", "--no-events" });
    child<QComboBox>("runModeComboBox")->setCurrentIndex(0);   // reciprocate
    m_dialog->show();
    QAbstractButton *start = button(type == SdriverDevice ? "commonRunButton" : "forwardButton");
    start->click();
    const QStringList moving { "slave=1 fc=6 addr=30001 value=1", "", "slave=1 fc=6 addr=56380 value=515", "slave=1 fc=6 addr=401 value=32" };
    QVERIFY(waitFor(moving.value(type)));
    m_link->sim().clearLog();
    if (change == ToHighVoltType)
        m_link->frame()->setDeviceType(HighVoltServo);
    else
        m_link->frame()->findChild<QSpinBox *>("deviceAddrSpinBox")->setValue(2);
    QVERIFY(!start->isChecked());
    QTRY_COMPARE(m_link->sim().logLines().filter(" fc=6 "), stop);
    QTest::qWait(400);
    QCOMPARE(m_link->sim().logLines().filter(" fc=6 "), stop);
}

enum LinkClose { DisconnectPressed, DebugPageTakesLink };

void TestJogModeDialog::userClosesLinkStopsFirst_data()
{
    QTest::addColumn<int>("type"), QTest::addColumn<int>("close"), QTest::addColumn<QStringList>("stop");
    QTest::newRow("low-volt jog, Disconnect") << int(LowVoltServo) << int(DisconnectPressed) << QStringList("56380=517");
    QTest::newRow("trelvox jog, debugging page") << int(TrelvoxServo) << int(DebugPageTakesLink)
                                                << QStringList({ "149=100", "401=0", "181=0" });
    QTest::newRow("to-and-fro run, Disconnect") << int(SdriverDevice) << int(DisconnectPressed) << QStringList("30001=0");
}

// The user closes the link, or lends it to a debugging page, while a drive moves: its stop goes
// out first, since nothing could stop it afterwards.
void TestJogModeDialog::userClosesLinkStopsFirst()
{
    QFETCH(int, type);
    QFETCH(int, close);
    QFETCH(QStringList, stop);
    connectTo(DeviceEnum(type), { "--no-events" });
    child<QComboBox>("runModeComboBox")->setCurrentIndex(0);   // reciprocate
    m_dialog->show();
    QAbstractButton *start = button(type == SdriverDevice ? "commonRunButton" : "forwardButton");
    start->click();
    const QStringList moving { "30001=1", "", "56380=515", "401=32" };
    QTRY_VERIFY(writes().contains(moving.value(type)));
    m_link->sim().clearLog();
    if (close == DisconnectPressed)
        m_link->frame()->findChild<QAbstractButton *>("connectButton")->click();
    else
        m_link->frame()->networkHelper()->setDebugMode(true);
    QCOMPARE(writes(), stop);   // answered before the link closed
    QVERIFY(!start->isChecked());
    m_link->frame()->networkHelper()->setDebugMode(false);
}

void TestJogModeDialog::cellTexts_data()
{
    QTest::addColumn<int>("column"), QTest::addColumn<QString>("text"), QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("value"), QTest::addColumn<QStringList>("written");
    QTest::newRow("torque not a number: 0") << 3 << "abc" << "0" << 0 << QStringList();
    QTest::newRow("target empty: 0") << 4 << "" << "0" << 0 << QStringList();
    QTest::newRow("target as typed") << 5 << " -1234 " << " -1234 " << -1234 << QStringList();
    QTest::newRow("speed-mode speed not a number: 0 at once") << 9 << "fast" << "0" << 0 << QStringList("56161=0");
    QTest::newRow("speed-mode speed goes out at once") << 9 << "350" << "350" << 350 << QStringList("56161=350");
    // What the drive cannot take keeps the value before.
    QTest::newRow("negative time refused") << 6 << "-5" << "500" << 500 << QStringList();
    QTest::newRow("torque above 10000 refused") << 3 << "20000" << "200" << 200 << QStringList();
    QTest::newRow("speed-mode speed above 10000 refused") << 9 << "10001" << "200" << 200 << QStringList();
    QTest::newRow("target beyond 32 bits refused") << 4 << "3000000000" << "-50000" << -50000 << QStringList();
}

// A cell edit of axis 0: text that does not convert counts as 0; a number the drive cannot take is
// refused; only the speed-mode speed goes out at once.
void TestJogModeDialog::cellTexts()
{
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(int, value);
    QFETCH(QStringList, written);
    connectTo(SdriverDevice, { "--no-events" });
    table()->item(0, column)->setText(text);
    const JogModeDialog::ServoDebugRow row = m_dialog->debugRow(0);
    const QMap<int, int> fields { { 3, row.torqueOut }, { 4, row.target1 }, { 5, row.target2 }, { 6, row.accelTime },
                                  { 9, row.speedModeSpeed } };
    QCOMPARE(cell(0, column), shown);
    QCOMPARE(fields.value(column), value);
    QTest::qWait(100);
    QTRY_COMPARE(writes(), written);
}

enum SlowMotion { DriveJog, SpeedJog, PositionRun, SpeedRun };

void TestJogModeDialog::startMotion(int type, int motion)
{
    if (motion == SpeedRun)
        qobject_cast<QComboBox *>(table()->cellWidget(0, 2))->setCurrentIndex(1);
    button(motion == PositionRun || motion == SpeedRun ? "commonRunButton" : "forwardButton")->click();
    // The last write of each start.
    const QStringList moving { "30001=1", "56170=0", "56380=515", "401=32" };
    const QString started = motion == PositionRun ? moving.at(0) : motion == SpeedRun || motion == SpeedJog ? moving.at(1) : moving.value(type);
    QVERIFY2(QTest::qWaitFor([&] { return writes().contains(started); }, 5000), qPrintable(writes().join(' ')));
}

void TestJogModeDialog::slowDeviceStopsAtOnce_data()
{
    QTest::addColumn<int>("type"), QTest::addColumn<int>("motion"), QTest::addColumn<QString>("stop");
    QTest::newRow("low-volt jog") << int(LowVoltServo) << int(DriveJog) << "56380=517";
    QTest::newRow("trelvox jog") << int(TrelvoxServo) << int(DriveJog) << "181=0";
    QTest::newRow("master axis jog") << int(SdriverDevice) << int(SpeedJog) << "56161=0";
    QTest::newRow("common run") << int(SdriverDevice) << int(PositionRun) << "30001=0";
}

// A device that answers every request 400 ms late (a remote gateway), four registers polled meanwhile
// as the status bar does: the stop the user clicks reaches the device at once, ahead of polls and of
// jog repeats, however long the motion ran.
void TestJogModeDialog::slowDeviceStopsAtOnce()
{
    QFETCH(int, type);
    QFETCH(int, motion);
    QFETCH(QString, stop);
    m_link->frame()->engine()->setResponseTimeout(1000);
    connectTo(DeviceEnum(type), { "--no-events", "--answer-delay", "400" });
    QList<int> polled { 3072, 3073, 3074, 3075 };
    m_link->frame()->setRealTimeAddrList(&polled);
    m_dialog->show();
    startMotion(type, motion);
    QTest::qWait(4000);
    m_link->sim().clearLog();
    QElapsedTimer clock;
    clock.start();
    button(motion == PositionRun ? "commonRunButton" : "forwardButton")->click();
    QVERIFY2(QTest::qWaitFor([&] { return writes().contains(stop); }, 10000), qPrintable(writes().join(' ')));
    QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
    m_link->frame()->setRealTimeAddrList(nullptr);
}

void TestJogModeDialog::linkLossStopsOnReturn_data()
{
    QTest::addColumn<int>("type"), QTest::addColumn<int>("motion"), QTest::addColumn<QStringList>("stop");
    QTest::newRow("low-volt jog") << int(LowVoltServo) << int(DriveJog) << QStringList("56380=517");
    QTest::newRow("high-volt speed-mode run") << int(HighVoltServo) << int(SpeedRun) << QStringList("56161=0");
    QTest::newRow("trelvox jog") << int(TrelvoxServo) << int(DriveJog) << QStringList({ "149=100", "401=0", "181=0" });
}

// The device stops answering mid-motion until the link is given up, then answers again, never
// restarted: the drive kept moving all along, so its stop is the first thing the new link sends, once.
void TestJogModeDialog::linkLossStopsOnReturn()
{
    QFETCH(int, type);
    QFETCH(int, motion);
    QFETCH(QStringList, stop);
    connectTo(DeviceEnum(type), { "--no-events" });
    m_link->frame()->engine()->setResponseTimeout(100);
    m_dialog->show();
    startMotion(type, motion);
    m_link->sim().pause();
    QTRY_VERIFY_WITH_TIMEOUT(!m_link->frame()->isConnected(), 15000);
    QVERIFY(!button("forwardButton")->isChecked() && !button("commonRunButton")->isChecked());
    m_link->sim().resume();
    QTest::qWait(300);          // what the stalled device still had in hand
    m_link->sim().clearLog();
    QVERIFY(m_link->connectTo(m_link->sim().port()));
    QTRY_COMPARE(writes(), stop);
    QTest::qWait(500);
    QCOMPARE(writes(), stop);   // nothing else moves
    m_link->frame()->disconnectDevice();
    QVERIFY(m_link->connectTo(m_link->sim().port()));
    QTest::qWait(500);
    QCOMPARE(writes(), stop);   // and it is forgotten once answered
}

// A speed-mode run whose row is switched to position mode is first stopped in speed mode; switched
// back, it stays stopped.
void TestJogModeDialog::runStopsInItsOwnMode()
{
    connectTo(HighVoltServo, { "--no-events" });
    m_dialog->show();
    startMotion(HighVoltServo, SpeedRun);
    QAbstractButton *run = button("commonRunButton");
    auto *mode = qobject_cast<QComboBox *>(table()->cellWidget(0, 2));
    m_link->sim().clearLog();
    mode->setCurrentIndex(0);
    QTRY_VERIFY2(writes().size() >= 2, qPrintable(writes().join(' ')));
    QVERIFY2(writes() == QStringList({ "56161=0", "56110=0" }), qPrintable(writes().join(' ')));
    QVERIFY(!run->isChecked());
    QCOMPARE(run->text(), JogModeDialog::tr("运行"));
    mode->setCurrentIndex(1);
    QTest::qWait(400);
    QCOMPARE(writes(), QStringList({ "56161=0", "56110=0", "56110=1" }));
}

// Only the axes a to-and-fro run started take part in it: an axis ticked meanwhile is not started,
// and an axis whose mode is switched away and back is stopped, not restarted.
void TestJogModeDialog::onlyStartedAxesRun()
{
    connectTo(SdriverDevice, { "--no-events" });
    child<QComboBox>("runModeComboBox")->setCurrentIndex(0);   // reciprocate
    m_dialog->show();
    startMotion(SdriverDevice, PositionRun);
    button("axis1CheckBox")->click();
    QTest::qWait(1200);
    QVERIFY2(!writes().contains("30401=1"), qPrintable(writes().join(' ')));
    QVERIFY(writes().count("30001=1") >= 2);    // axis 0 goes to and fro
    auto *mode = qobject_cast<QComboBox *>(table()->cellWidget(0, 2));
    const int beforeSwitch = writes().size();
    mode->setCurrentIndex(1);
    mode->setCurrentIndex(0);
    // Writes go out in order: once the mode is back, a step sent before the switch has landed too.
    QTRY_VERIFY(writes().mid(beforeSwitch).contains("56110=0"));
    const int afterSwitch = writes().size();
    QTest::qWait(1200);
    const QStringList later = writes().mid(afterSwitch);
    QVERIFY2(!later.contains("30001=1") && !later.contains("30401=1"), qPrintable(writes().mid(beforeSwitch).join(' ')));
}

// A type-3 drive that stops answering is noticed as the other types are; a stop it never answers is
// said, not shown as done.
void TestJogModeDialog::trelvoxSilenceNoticed()
{
    connectTo(TrelvoxServo, { "--no-events" });
    m_link->frame()->engine()->setResponseTimeout(100);
    m_dialog->show();
    startMotion(TrelvoxServo, DriveJog);
    m_link->sim().pause();
    button("forwardButton")->click();
    QTRY_VERIFY_WITH_TIMEOUT(!m_prompts->isEmpty(), 5000);
    QCOMPARE(m_prompts->texts(), QStringList("Warning: " + JogModeDialog::tr("The drive did not answer the stop: it may still be moving!")));
    m_prompts->clear();
    QTRY_VERIFY_WITH_TIMEOUT(!m_link->frame()->isConnected(), 15000);
    m_link->sim().resume();
}

// A change of the communication page's axis mid-jog leaves the jog, its repeats and its stop on the
// axis it started on.
void TestJogModeDialog::lowVoltJogKeepsItsAxis()
{
    connectTo(LowVoltServo, { "--no-events" });
    m_link->frame()->setCurrentAxis(1);
    m_dialog->show();
    button("forwardButton")->click();
    QVERIFY(waitFor("slave=1 fc=6 addr=56780 value=515"));
    m_link->frame()->setCurrentAxis(2);
    QTest::qWait(400);
    button("forwardButton")->click();
    QTRY_COMPARE(writes().last(), QStringLiteral("56780=517"));
    QVERIFY2(writes().filter(QRegularExpression("^57180=")).isEmpty(), qPrintable(writes().join(' ')));
}

// A jog whose stop the device did not answer may still run: a jog started on another axis
// afterwards takes that stop with it, so the next stop reaches both axes.
void TestJogModeDialog::failedStopKeptAcrossAxes()
{
    connectTo(LowVoltServo, { "--no-events" });
    m_link->frame()->engine()->setResponseTimeout(100);
    m_dialog->show();
    QAbstractButton *forward = button("forwardButton");
    forward->click();
    QVERIFY(waitFor("slave=1 fc=6 addr=56380 value=515"));
    m_link->sim().pause();
    forward->click();
    QTRY_VERIFY_WITH_TIMEOUT(!m_prompts->isEmpty(), 5000);     // the stop was not answered
    m_prompts->clear();
    m_link->sim().resume();
    QTest::qWait(300);
    QVERIFY(m_link->frame()->isConnected());
    m_link->frame()->setCurrentAxis(1);
    forward->click();
    QVERIFY(waitFor("slave=1 fc=6 addr=56780 value=515"));
    m_link->sim().clearLog();
    forward->click();
    QTRY_VERIFY(writes().contains("56780=517"));
    QVERIFY2(writes().contains("56380=517"), qPrintable(writes().join(' ')));
}

QTEST_MAIN(TestJogModeDialog)
#include "tst_jogmodedialog.moc"
