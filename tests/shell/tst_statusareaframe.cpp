#include "shell/statusareaframe.h"

#include "app/paramunit.h"
#include "comm/comsettingsframe.h"
#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "shell/mainwindow.h"
#include "shell/statusitem.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"
#include "widgets/vxlabel.h"

#include <QJSEngine>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QtTest>

namespace {
const QList<int> kSdriverPoll { 3072, 3079, 3083, 3073, 3074, 3075, 3389, 3076, 3078, 3077, 3336, 3337 };

// Lamps are green when lit, grey when not; the alarm icon is red while an alarm is active.
QColor iconCentre(const QPushButton *button)
{
    return button->icon().pixmap(32, 32).toImage().pixelColor(16, 16);
}
bool isLit(const QPushButton *button) { return iconCentre(button).green() > iconCentre(button).red() + 40; }
bool isRed(const QPushButton *button) { return iconCentre(button).red() > iconCentre(button).green() + 80; }
} // namespace

class TestStatusAreaFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void itemFailures_data();
    void itemFailures();
    void pollListFollowsType();
    void valuesShown_data();
    void valuesShown();
    void lamps_data();
    void lamps();
    void torqueUnit();
    void connectionLabel();
    void detectors();
    void recordsWhileFullScreen();

private:
    StatusAreaFrame *bar() { return m_window->findChild<StatusAreaFrame *>(QStringLiteral("statusAreaFrame")); }
    template <class T> T *part(const QString &name) { return bar()->findChild<T *>(name); }
    QLabel *value(int item) { return part<QLabel>(QStringLiteral("status%1Value").arg(item)); }
    QPushButton *button(int item) { return part<QPushButton>(QStringLiteral("status%1Button").arg(item)); }
    void selectType(DeviceEnum type);
    void emitValue(int addr, int val) { emit m_window->comSettings().realTimeAddrRead(addr, val); }
    void emitReadings(int rounds);

    TestDatabase *m_db = nullptr;
    QTemporaryDir m_workDir;
    MainWindow *m_window = nullptr;
    PromptRecorder m_prompts;
};

void TestStatusAreaFrame::initTestCase()
{
    m_db = new TestDatabase;
    QVERIFY(m_db->isValid());
    QVERIFY(QDir::setCurrent(m_workDir.path()));   // the window writes parameter files here
    {
        StatusAreaFrame fresh;   // before any broadcast: no items, nothing polled
        QVERIFY(fresh.realTimeAddrList().isEmpty());
        QVERIFY(fresh.findChild<QFrame *>(QStringLiteral("status7Frame"))->isHidden());
    }
    m_window = new MainWindow;
    ComSettingsFrame::setCurrentSlave(1);
}

void TestStatusAreaFrame::cleanupTestCase()
{
    delete m_window;
    delete m_db;
}

// The device-changed broadcast as the communication page sends it, without its parameter files.
void TestStatusAreaFrame::selectType(DeviceEnum type)
{
    ComSettingsFrame::setCurrentDevice(type);
    m_window->comSettings().onDeviceChanged(type);
    DatabaseManager::instance()->onDeviceChanged(type);
}

// One reading each of Turns, Torque and Time per round.
void TestStatusAreaFrame::emitReadings(int rounds)
{
    for (int i = 0; i < rounds; ++i) {
        emitValue(3076, 250);
        emitValue(3079, 1500);
        emitValue(3077, 1200);
    }
}

void TestStatusAreaFrame::itemFailures_data()
{
    QTest::addColumn<QVariantMap>("item");
    QTest::addColumn<int>("val");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("lit");
    QTest::newRow("format missing: as received") << StatusItem::rawValue(1, QString(), 1) << 0xFFFF << "6553.5" << false;
    QTest::newRow("later code wins") << StatusItem::valueToText(1, { "1/a", "0x1/b" }) << 1 << "b" << false;
    QTest::newRow("malformed codes") << StatusItem::valueToText(1, { "1", "1/a/b", "x/c" }) << 1 << "null" << false;
    QTest::newRow("unknown type") << QVariantMap { { "type", "other" } } << 1 << "null" << false;
    QTest::newRow("not a function") << StatusItem::valueToLed(1, "42") << 1 << "null" << false;
    QTest::newRow("syntax error") << StatusItem::valueToLed(1, "(function(val) {") << 1 << "null" << false;
    QTest::newRow("throws") << StatusItem::valueToLed(1, "(function(v) { throw new Error('x'); })") << 1 << "null" << false;
    QTest::newRow("bit set") << QVariantMap { { "type", "bitToLed" }, { "bitMask", 4 } } << 6 << "null" << true;
    QTest::newRow("mask missing") << QVariantMap { { "type", "bitToLed" } } << 0xFFFF << "null" << false;
}

void TestStatusAreaFrame::itemFailures()
{
    QFETCH(QVariantMap, item);
    QFETCH(int, val);
    QFETCH(QString, text);
    QFETCH(bool, lit);
    QJSEngine engine;
    const StatusItem::Shown shown = StatusItem::convert(item, val, engine);
    QCOMPARE(shown.text, text);
    QCOMPARE(shown.lit, lit);
}

void TestStatusAreaFrame::pollListFollowsType()
{
    const QList<QPair<DeviceEnum, QList<int>>> steps {
        { SdriverDevice, kSdriverPoll }, { TrelvoxServo, {} },  { OtherDevice2, {} },
        { SdriverDevice, kSdriverPoll }, { HighVoltServo, { 56151, 56153, 56152 } },
        { LowVoltServo, { 56300, 56304, 56302 } }, { NoDevice, {} } };
    for (const auto &step : steps) {
        selectType(step.first);
        QCOMPARE(bar()->realTimeAddrList(), step.second);
        QCOMPARE(part<QFrame>(QStringLiteral("status7Frame"))->isHidden(), step.second.isEmpty());
        QCOMPARE(part<QStackedWidget>(QStringLiteral("statusStackedWidget"))->currentWidget()->objectName(),
                 QString::fromLatin1(step.second.isEmpty() ? "page1" : "page2"));
    }
    // Signing out leaves the connected device watched.
    selectType(SdriverDevice);
    QSignalSpy signedOut(bar(), &StatusAreaFrame::signOutSignal);
    bar()->onSignOutAccount();
    QCOMPARE(signedOut.count(), 1);
    QCOMPARE(bar()->realTimeAddrList(), kSdriverPoll);
}

void TestStatusAreaFrame::valuesShown_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("addr");
    QTest::addColumn<int>("val");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("text");
    QTest::newRow("Step, no unit") << 0 << 3389 << 0 << 1 << "0";
    QTest::newRow("Turns sign-extended") << 0 << 3076 << 0xFFFF << 2 << "-0.01 r";
    QTest::newRow("Time") << 0 << 3077 << 1500 << 5 << "1.500 s";
    QTest::newRow("Result Slip") << 0 << 3336 << 10 << 6 << "Slip";
    QTest::newRow("Result not listed") << 0 << 3336 << 2 << 6 << "null";
    QTest::newRow("no alarm") << 0 << 3337 << 0 << 7 << "None";
    QTest::newRow("alarm") << 0 << 3337 << 7 << 7 << "7";
    QTest::newRow("Bus Voltage") << 1 << 56153 << 3105 << 3 << "310.5 V";
}

// The cache fills the items at a rebuild; the poll updates them.
void TestStatusAreaFrame::valuesShown()
{
    QFETCH(int, type);
    QFETCH(int, addr);
    QFETCH(int, val);
    QFETCH(int, item);
    QFETCH(QString, text);
    selectType(DeviceEnum(type));
    ComSettingsFrame::setRegister(Uint16(addr), Uint16(val));
    bar()->onParamUnitChanged();
    QCOMPARE(value(item)->text(), text);
    emitValue(addr, val == 1 ? 2 : 1);
    QVERIFY(value(item)->text() != text);
    emitValue(addr, val);
    QCOMPARE(value(item)->text(), text);
    if (item == 7)
        QVERIFY(value(7)->styleSheet().contains(val ? QLatin1String("#F42230") : QLatin1String("#000000")));
    emitValue(addr, 0);
}

void TestStatusAreaFrame::lamps_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("addr");
    QTest::addColumn<int>("val");
    QTest::addColumn<QString>("lit");   // items 1 to n, '1' lit
    QTest::newRow("HighVolt enabled") << 1 << 56151 << 6 << "10";
    QTest::newRow("HighVolt ready") << 1 << 56151 << 5 << "01";
    QTest::newRow("LowVolt off") << 2 << 56300 << 0 << "000";
    QTest::newRow("LowVolt ready, not enabled") << 2 << 56300 << 4 << "101";
    QTest::newRow("Location OK") << 2 << 56304 << 0x0104 << "0001";
}

void TestStatusAreaFrame::lamps()
{
    QFETCH(int, type);
    QFETCH(int, addr);
    QFETCH(int, val);
    QFETCH(QString, lit);
    selectType(DeviceEnum(type));
    for (int a : bar()->realTimeAddrList())
        ComSettingsFrame::setRegister(Uint16(a), 0);
    ComSettingsFrame::setRegister(Uint16(addr), Uint16(val));
    bar()->onParamUnitChanged();
    for (int i = 0; i < lit.size(); ++i) {
        QCOMPARE(isLit(button(i + 1)), lit.at(i) == QLatin1Char('1'));
        QVERIFY(value(i + 1)->isHidden());
    }
}

void TestStatusAreaFrame::torqueUnit()
{
    selectType(SdriverDevice);
    ComSettingsFrame::setRegister(3079, 1500);
    const QList<QPair<int, QString>> units { { 1, QString::fromUtf8("1500 mN·m") }, { 2, QString::fromUtf8("15.00 kgf·cm") },
                                             { 0, QString::fromUtf8("1.500 N·m") } };
    for (const auto &unit : units) {
        setUnitIndex(QStringLiteral("torque"), unit.first);
        bar()->onParamUnitChanged();
        QCOMPARE(value(3)->text(), unit.second);
    }
}

void TestStatusAreaFrame::connectionLabel()
{
    auto *label = part<VxLabel>(QStringLiteral("connectStatus"));
    bar()->setConnectState(NoDevice);   // already the state: the text stays translatable
    QCOMPARE(label->text(), QStringLiteral("Disconnect"));
    bar()->setConnectState(HighVoltServo);
    QCOMPARE(label->text(), QStringLiteral("Connect"));
    QVERIFY(label->styleSheet().contains(QStringLiteral("#71BB71")));
    bar()->setConnectState(NoDevice);
    QCOMPARE(label->text(), QStringLiteral("Disconnect"));
    QVERIFY(label->styleSheet().contains(QStringLiteral("#B88D5D")));
    QVERIFY(RawText::isRaw(label->rawText()));
}

void TestStatusAreaFrame::detectors()
{
    DatabaseManager *db = DatabaseManager::instance();
    selectType(SdriverDevice);
    for (const auto &reg : { qMakePair(3072, 1), qMakePair(3076, 250), qMakePair(3079, 1500), qMakePair(3077, 1200),
                             qMakePair(3336, 0), qMakePair(3337, 0) })
        ComSettingsFrame::setRegister(Uint16(reg.first), Uint16(reg.second));
    bar()->onParamUnitChanged();
    emitValue(3336, 0);
    emitReadings(3);   // completes whatever earlier tests left pending

    const int alarms = db->alarmRecords().size();
    emitValue(3337, 7);
    emitValue(3337, 7);
    QCOMPARE(db->alarmRecords().size(), alarms + 1);
    QCOMPARE(db->alarmRecords().last().value("number").toString(), QStringLiteral("7"));
    bar()->updateAlarmIcon();
    QVERIFY(isRed(button(7)));
    emitValue(3337, 0);
    bar()->updateAlarmIcon();
    QVERIFY(!isRed(button(7)));
    emitValue(3337, 7);
    QCOMPARE(db->alarmRecords().size(), alarms + 2);
    ComSettingsFrame::setRegister(3337, 7);
    bar()->onParamUnitChanged();   // a rebuild does not record the active alarm again
    emitValue(3337, 7);
    QCOMPARE(db->alarmRecords().size(), alarms + 2);
    emitValue(3337, 0);
    ComSettingsFrame::setRegister(3337, 0);

    int records = db->workRecords().size();
    emitValue(3336, 1);
    emitReadings(2);
    emitValue(3076, 250);
    emitValue(3079, 1500);
    QCOMPARE(db->workRecords().size(), records);
    emitValue(3077, 1200);
    QCOMPARE(db->workRecords().size(), ++records);
    QCOMPARE(ComSettingsFrame::getRegister(3336), Uint16(1));
    QCOMPARE(db->workRecords().last().value("status").toString(), QStringLiteral("OK"));
    QCOMPARE(db->workRecords().last().value("turns").toString(), QStringLiteral("2.5"));
    emitValue(3336, 1);   // the same code again is no new cycle
    emitReadings(3);
    QCOMPARE(db->workRecords().size(), records);

    emitValue(3336, 10);   // a code replacing a pending one keeps the counts going
    emitReadings(2);
    emitValue(3336, 12);
    emitReadings(1);
    QCOMPARE(db->workRecords().size(), ++records);
    QCOMPARE(db->workRecords().last().value("status").toString(), QStringLiteral("Float"));

    emitValue(3336, 0);
    emitValue(3336, 1);
    emitReadings(2);
    bar()->onParamUnitChanged();   // shows values, but is no reading
    QCOMPARE(db->workRecords().size(), records);
    emitReadings(1);
    QCOMPARE(db->workRecords().size(), ++records);
    emitValue(3336, 0);

    selectType(HighVoltServo);   // a servo drive records neither
    emitValue(56152, 5);
    emitValue(3336, 1);
    emitReadings(3);
    selectType(SdriverDevice);
    emitReadings(3);
    QCOMPARE(db->alarmRecords().size(), alarms + 2);
    QCOMPARE(db->workRecords().size(), records);
}

// Full screen hides the bar; the device's tightening and alarm are stored all the same, and
// the poll never asks for an address the type lacks.
void TestStatusAreaFrame::recordsWhileFullScreen()
{
    ComSettingsFrame &com = m_window->comSettings();
    DevsimLink link(&com);
    DevsimProcess &sim = link.sim();
    QVERIFY(sim.start({ "--type", "0", "--slave", "2", "--no-events", "--set", "3336=10", "--set", "3084=9", "--set",
                        "3072=2", "--set", "3076=250", "--set", "3079=1500", "--set", "3077=1200" }));
    m_window->show();
    m_window->setFullScreen(true);
    QVERIFY(bar()->isHidden());

    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceType"), QStringLiteral("0"));
    selectType(SdriverDevice);
    DatabaseManager *db = DatabaseManager::instance();
    const int alarms = db->alarmRecords().size();
    const int records = db->workRecords().size();
    QSignalSpy polled(&com, &ComSettingsFrame::realTimeAddrRead);
    QVERIFY(link.connectTo(sim.port(), 2));
    QCOMPARE(part<QLabel>(QStringLiteral("connectStatus"))->text(), QStringLiteral("Connect"));

    QTRY_COMPARE_WITH_TIMEOUT(db->workRecords().size(), records + 1, 10000);
    QTRY_COMPARE_WITH_TIMEOUT(db->alarmRecords().size(), alarms + 1, 10000);
    QCOMPARE(db->alarmRecords().last().value("number").toString(), QStringLiteral("9"));
    QCOMPARE(db->workRecords().last().value("status").toString(), QStringLiteral("Slip"));
    QTest::qWait(300);   // values that stay put are recorded once
    QCOMPARE(db->workRecords().size(), records + 1);
    QCOMPARE(db->alarmRecords().size(), alarms + 1);
    QSet<int> seen;
    for (const QList<QVariant> &args : qAsConst(polled))
        seen.insert(args.at(0).toInt());
    QCOMPARE(seen, QSet<int>(kSdriverPoll.begin(), kSdriverPoll.end()));

    selectType(OtherDevice2);   // no items: nothing more is polled
    QTest::qWait(50);
    polled.clear();
    QTest::qWait(300);
    QVERIFY(polled.isEmpty());
    for (const QString &line : sim.logLines())
        QVERIFY2(!line.contains(QLatin1String("addr=65535")), qPrintable(line));

    m_window->setFullScreen(false);
    sim.kill();
    QTRY_COMPARE_WITH_TIMEOUT(part<QLabel>(QStringLiteral("connectStatus"))->text(), QStringLiteral("Disconnect"), 5000);
}

QTEST_MAIN(TestStatusAreaFrame)
#include "tst_statusareaframe.moc"
