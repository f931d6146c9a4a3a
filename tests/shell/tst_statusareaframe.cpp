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
#include "support/widgetlookup.h"
#include "widgets/vxlabel.h"

#include <QElapsedTimer>
#include <QJSEngine>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QtTest>

#include <tuple>
#include <utility>

namespace {
const QList<int> kSdriverPoll { 3072, 3079, 3083, 3073, 3074, 3075, 3389, 3076, 3078, 3077, 3336, 3337 };
const QMap<int, QString> kResultNames { { 1, "OK" }, { 10, "Slip" }, { 12, "Float" } };

// Lamps are green when lit, grey when not; the alarm icon is red while an alarm is active.
QColor iconCentre(const QPushButton *b) { return b->icon().pixmap(32, 32).toImage().pixelColor(16, 16); }
bool isLit(const QPushButton *b) { return iconCentre(b).green() > iconCentre(b).red() + 40; }
bool isRed(const QPushButton *b) { return iconCentre(b).red() > iconCentre(b).green() + 80; }

// Restyles and repaints of everything in a widget, as "object paint" or "object style".
struct Redraws : QObject {
    explicit Redraws(QWidget *root) { for (QWidget *w : root->findChildren<QWidget *>()) w->installEventFilter(this); }
    QStringList take() { QCoreApplication::processEvents(); return std::exchange(seen, {}); }
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::StyleChange || e->type() == QEvent::Paint)
            seen << o->objectName() + (e->type() == QEvent::Paint ? " paint" : " style");
        return false;
    }
    QStringList seen;
};

// What the simulated controller reported for each screw it finished: result, turns in hundredths,
// time in ms, torque in thousandths of N·m and the alarm code shown with them.
struct Screw {
    int result, turns, time, torque, alarm;
};
QVector<Screw> reportedScrews(const QString &stderrText)
{
    static const QRegularExpression finished(
        QStringLiteral("devsim tightening result=(\\d+) turns=(\\d+) torque=(\\d+) time=(\\d+) alarm=(\\d+)"));
    QVector<Screw> screws;
    for (auto it = finished.globalMatch(stderrText); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        screws.append({ m.captured(1).toInt(), m.captured(2).toInt(), m.captured(4).toInt(), m.captured(3).toInt(), m.captured(5).toInt() });
    }
    return screws;
}

// A screw's finals and a record, both as "status turns torque time alarm" in the record's texts.
QStringList finalsTexts(const QVector<Screw> &screws)
{
    QStringList texts;
    for (const Screw &s : screws)
        texts << QStringList { kResultNames.value(s.result), QString::number(s.turns / 100.0, 'g', 6), QString::number(s.torque / 1000.0, 'f', 3),
                               QString::number(s.time / 1000.0, 'g', 6), QString::number(s.alarm) }.join(' ');
    return texts;
}
QStringList recordTexts(const QList<RecordItem> &records)
{
    QStringList texts;
    for (const RecordItem &r : records)
        texts << QStringList { r.value("status").toString(), r.value("turns").toString(), r.value("torque").toString(),
                               r.value("usedTime").toString(), r.value("alarm").toString() }.join(' ');
    return texts;
}
} // namespace

class TestStatusAreaFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { delete m_window; }
    void itemFailures_data();
    void itemFailures();
    void pollListFollowsType();
    void valuesShown_data();
    void valuesShown();
    void connectionLabel();
    void detectors_data();
    void detectors();
    void sameValueRedrawsNothing();
    void deviceWhileFullScreen();
    void slowLinkKeepsEveryTightening_data();
    void slowLinkKeepsEveryTightening();
    void recordsHoldTheFinalValues_data();
    void recordsHoldTheFinalValues();
    void pendingResultStoredAtOnce_data();
    void pendingResultStoredAtOnce();
    void taskOfTheCycleStored();
    void slaveBackAndForth();

private:
    StatusAreaFrame *bar() { return m_window->findChild<StatusAreaFrame *>(QStringLiteral("statusAreaFrame")); }
    template <class T> T *part(const QString &name) { return bar()->findChild<T *>(name); }
    QLabel *value(int item) { return part<QLabel>(QStringLiteral("status%1Value").arg(item)); }
    QPushButton *button(int item) { return part<QPushButton>(QStringLiteral("status%1Button").arg(item)); }
    // The device-changed broadcast as the communication page sends it, without its parameter files.
    void selectType(DeviceEnum t)
    {
        ComSettingsFrame::setCurrentDevice(t), m_window->comSettings().onDeviceChanged(t), DatabaseManager::instance()->onDeviceChanged(t);
    }
    // As the poll delivers a reading: into the cache, then to the listeners.
    void emitValue(int a, int v) { ComSettingsFrame::setRegister(Uint16(a), Uint16(v)), emit m_window->comSettings().realTimeAddrRead(a, v); }
    // Selects a screwdriver with its torque in N·m, with no result left pending by an earlier test;
    // returns how many work records there are.
    int selectScrewdriver();
    // Connects to the device the link started, as slave 1 of a screwdriver, and returns the records
    // stored until `count` more are, or the link closes after 50 s.
    QList<RecordItem> recordTightenings(DevsimLink &link, int count);

    TestDatabase m_db;
    QTemporaryDir m_workDir;
    MainWindow *m_window = nullptr;
    PromptRecorder m_prompts;
};

void TestStatusAreaFrame::initTestCase()
{
    QVERIFY(m_db.isValid() && QDir::setCurrent(m_workDir.path()));   // the window writes parameter files here
    {
        StatusAreaFrame fresh;   // before any broadcast: no items, nothing polled, alarm icon idle
        QVERIFY(fresh.realTimeAddrList().isEmpty());
        QVERIFY(fresh.findChild<QFrame *>(QStringLiteral("status7Frame"))->isHidden());
        auto *alarm = fresh.findChild<QPushButton *>(QStringLiteral("status7Button"));
        QString shown = isRed(alarm) ? "A" : "I";
        for (const char on : QByteArray("1111111000"))
            fresh.setAlarmBlink(on == '1', 2), shown += isRed(alarm) ? 'A' : 'I';
        QCOMPARE(shown, QStringLiteral("IAAAIIAAIII"));   // every second call while on, idle once off
    }
    m_window = new MainWindow, ComSettingsFrame::setCurrentSlave(1);
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
    QJSEngine engine;
    const StatusItem::Shown shown = StatusItem::convert(item, val, engine);
    QTEST(shown.text, "text");
    QTEST(shown.lit, "lit");
}

// Each type polls its own items only. The other device types show the alarm item without a
// register to read; type 3 and no device show none.
void TestStatusAreaFrame::pollListFollowsType()
{
    const QList<std::tuple<DeviceEnum, QList<int>, bool>> steps {
        { SdriverDevice, kSdriverPoll, true }, { TrelvoxServo, {}, false }, { OtherDevice2, {}, true },
        { SdriverDevice, kSdriverPoll, true }, { HighVoltServo, { 56151, 56153, 56152 }, true },
        { OtherDevice5, {}, true }, { LowVoltServo, { 56300, 56304, 56302 }, true }, { NoDevice, {}, false } };
    for (const auto &[type, polled, alarmItem] : steps) {
        selectType(type);
        QCOMPARE(bar()->realTimeAddrList(), polled);
        QCOMPARE(part<QFrame>(QStringLiteral("status7Frame"))->isHidden(), !alarmItem);
        QCOMPARE(part<QStackedWidget>(QStringLiteral("statusStackedWidget"))->currentWidget()->objectName(),
                 QString::fromLatin1(polled.isEmpty() ? "page1" : "page2"));
        if (type == OtherDevice2 || type == OtherDevice5) {
            QCOMPARE(button(7)->text() + '|' + value(7)->text() + '|' + part<QLabel>("status7Unit")->text(), QStringLiteral("Alarm|None|"));
            QVERIFY(value(7)->styleSheet().contains(QLatin1String("#000000")));
        }
    }
    // Signing out leaves the connected device watched.
    selectType(SdriverDevice);
    QSignalSpy signedOut(bar(), &StatusAreaFrame::signOutSignal);
    bar()->onSignOutAccount();
    QCOMPARE(signedOut.count(), 1);
    QCOMPARE(bar()->realTimeAddrList(), kSdriverPoll);
}

// "text" is the item's value text, or for lamps "lamps:" and one digit per item, 1 when lit.
void TestStatusAreaFrame::valuesShown_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("addr");
    QTest::addColumn<int>("val");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("torqueUnit");
    QTest::newRow("Step, no unit") << 0 << 3389 << 0 << 1 << "0" << 0;
    QTest::newRow("Turns sign-extended") << 0 << 3076 << 0xFFFF << 2 << "-0.01 r" << 0;
    QTest::newRow("Time") << 0 << 3077 << 1500 << 5 << "1.500 s" << 0;
    QTest::newRow("Torque in N·m") << 0 << 3079 << 1500 << 3 << QString::fromUtf8("1.500 N·m") << 0;
    QTest::newRow("Torque in mN·m") << 0 << 3079 << 1500 << 3 << QString::fromUtf8("1500 mN·m") << 1;
    QTest::newRow("Torque in kgf·cm") << 0 << 3079 << 1500 << 3 << QString::fromUtf8("15.00 kgf·cm") << 2;
    QTest::newRow("Result Slip") << 0 << 3336 << 10 << 6 << "Slip" << 0;
    QTest::newRow("Result not listed") << 0 << 3336 << 2 << 6 << "null" << 0;
    QTest::newRow("no alarm") << 0 << 3337 << 0 << 7 << "None" << 0;
    QTest::newRow("alarm") << 0 << 3337 << 7 << 7 << "7" << 0;
    QTest::newRow("Bus Voltage") << 1 << 56153 << 3105 << 3 << "310.5 V" << 0;
    QTest::newRow("HighVolt enabled") << 1 << 56151 << 6 << 1 << "lamps:10" << 0;
    QTest::newRow("HighVolt ready") << 1 << 56151 << 5 << 1 << "lamps:01" << 0;
    QTest::newRow("LowVolt off") << 2 << 56300 << 0 << 1 << "lamps:000" << 0;
    QTest::newRow("LowVolt ready, not enabled") << 2 << 56300 << 4 << 1 << "lamps:101" << 0;
    QTest::newRow("Location OK") << 2 << 56304 << 0x0104 << 1 << "lamps:0001" << 0;
}

// The cache fills the items at a rebuild; the poll updates them; only an alarm code turns the icon red.
void TestStatusAreaFrame::valuesShown()
{
    QFETCH(int, type);
    QFETCH(int, addr);
    QFETCH(int, val);
    QFETCH(int, item);
    QFETCH(QString, text);
    QFETCH(int, torqueUnit);
    selectType(DeviceEnum(type));
    for (int a : bar()->realTimeAddrList())
        ComSettingsFrame::setRegister(Uint16(a), 0);
    ComSettingsFrame::setRegister(Uint16(addr), Uint16(val));
    setUnitIndex(QStringLiteral("torque"), torqueUnit);
    bar()->onParamUnitChanged();
    if (text.startsWith(QLatin1String("lamps:"))) {
        for (int i = 1; i < text.size() - 5; ++i) {
            QCOMPARE(isLit(button(i)), text.at(5 + i) == QLatin1Char('1'));
            QVERIFY(value(i)->isHidden());
        }
        return;
    }
    QCOMPARE(value(item)->text(), text);
    emitValue(addr, val == 1 ? 2 : 1);
    QVERIFY(value(item)->text() != text);
    emitValue(addr, val);
    QCOMPARE(value(item)->text(), text);
    bar()->updateAlarmIcon();
    QCOMPARE(isRed(button(7)), item == 7 && val != 0);
    if (item == 7)
        QVERIFY(value(7)->styleSheet().contains(val ? QLatin1String("#F42230") : QLatin1String("#000000")));
    emitValue(addr, 0);
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

// A script of readings: "addr=val", "pN" for one pass of Turns N (hundredths), Torque and Time,
// "rebuild", "typeN"; then what was stored: "status turns" per work record (with its task and alarm
// code when they are not task 1 and 0), "alarm code" per alarm.
// Every script starts after a pass with Turns 0. There is no device here to ask for a result's final
// values, so each result is stored as soon as it is first read, with the readings known then.
void TestStatusAreaFrame::detectors_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("stored");
    QTest::newRow("stored at once, with the readings before the result") << "3336=1 p250 p250 p250 3336=1" << "OK 0";
    QTest::newRow("the same result again is no new cycle") << "3336=1 p250 p250 p250 3336=1 p260 p260 p260" << "OK 0";
    QTest::newRow("result held several passes: one record") << "3336=1 p240 3336=1 p245 3336=1 p250 3336=1 p250 3336=1" << "OK 0";
    QTest::newRow("the last readings before the result") << "p250 p250 p250 3336=1 p260 3336=1 p260 p260 3336=1" << "OK 2.5";
    QTest::newRow("a rebuild is no new cycle") << "3336=1 p250 p250 rebuild 3336=1" << "OK 0";
    QTest::newRow("result read once, then the next cycle") << "p240 p250 3336=1 p30 3336=0 p40 p40 p40" << "OK 2.5";
    QTest::newRow("readings while the result shows are not taken") << "3336=1 p250 3336=1 p260 3336=0 p30 p30 p30" << "OK 0";
    QTest::newRow("next cycle in the third pass: no second record") << "3336=1 p250 3336=1 p260 3336=1 p30 3336=0" << "OK 0";
    QTest::newRow("the result ends: nothing more") << "3336=1 p250 p250 p250 3336=0" << "OK 0";
    QTest::newRow("back to back, the same code") << "p250 3336=1 p30 3336=0 p70 3336=1 p80 3336=0" << "OK 2.5, OK 0.7";
    QTest::newRow("back to back, another code") << "p250 3336=1 p30 3336=10 p80 3336=0" << "OK 2.5, Slip 0.3";
    QTest::newRow("a replacing result is a record of its own")
        << "3336=10 p250 3336=10 p260 3336=12 p270 p270 p270 3336=12" << "Slip 0, Float 2.6";
    QTest::newRow("task and alarm of the cycle the result closed")
        << "3072=2 p250 3336=1 3072=3 3337=5 p30 3336=0 3337=0" << "OK 2.5 Task2, alarm 5";
    QTest::newRow("alarm, same, none, alarm is two") << "3337=7 3337=7 3337=0 3337=7" << "alarm 7, alarm 7";
    QTest::newRow("a rebuild does not repeat an active alarm") << "3337=7 rebuild 3337=7" << "alarm 7";
    QTest::newRow("a servo drive records nothing") << "type1 56152=5 3336=1 p250 p250 p250 type0 p250 p250 p250" << "";
}

void TestStatusAreaFrame::detectors()
{
    QFETCH(QString, script);
    DatabaseManager *db = DatabaseManager::instance();
    selectType(SdriverDevice);
    emitValue(3072, 1), emitValue(3336, 0), emitValue(3337, 0);   // settles whatever an earlier row left pending
    const auto pass = [this](int turns) { emitValue(3079, 1500), emitValue(3076, turns), emitValue(3077, 1200); };
    pass(0);
    const int records = db->workRecords().size(), alarms = db->alarmRecords().size();
    for (const QString &step : script.split(' ')) {
        if (step == QLatin1String("rebuild"))
            bar()->onParamUnitChanged();
        else if (step.startsWith(QLatin1String("type")))
            selectType(DeviceEnum(step.mid(4).toInt()));
        else if (step.startsWith('p'))
            pass(step.mid(1).toInt());
        else
            emitValue(step.section('=', 0, 0).toInt(), step.section('=', 1).toInt());
    }
    QStringList stored;
    for (const RecordItem &r : db->workRecords().mid(records)) {
        QString text = r.value("status").toString() + ' ' + r.value("turns").toString();
        if (r.value("task").toString() != QLatin1String("Task1"))
            text += ' ' + r.value("task").toString();
        if (r.value("alarm").toString() != QLatin1String("0"))
            text += " alarm" + r.value("alarm").toString();
        stored << text;
    }
    for (const RecordItem &r : db->alarmRecords().mid(alarms))
        stored << "alarm " + r.value("number").toString();
    QTEST(stored.join(", "), "stored");
}

// Each type polls its own items; the poll repeats the same values many times a second: only a change redraws.
void TestStatusAreaFrame::sameValueRedrawsNothing()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    Redraws redraws(bar());
    const QList<int> highVolt { 56151, 56153, 56152 };
    const QList<std::tuple<DeviceEnum, QList<int>, QList<QPair<int, int>>>> types { { TrelvoxServo, {}, {} },
        { LowVoltServo, { 56300, 56304, 56302 }, {} }, { SdriverDevice, kSdriverPoll, { { 3337, 7 }, { 3076, 250 }, { 3336, 1 } } },
        { HighVoltServo, highVolt, { { 56151, 6 }, { 56152, 0 } } } };
    for (const auto &[type, polled, regs] : types) {
        selectType(type);
        QCOMPARE(bar()->realTimeAddrList(), polled);
        for (int i = 0; i < 4; ++i) {
            for (const auto &reg : regs)
                emitValue(reg.first, reg.second);
            if (i == 0)
                QTRY_VERIFY(redraws.take().isEmpty());
        }
        QCOMPARE(redraws.take(), QStringList());
    }
    emitValue(56151, 5);   // a change still shows
    QVERIFY(redraws.take().contains(QStringLiteral("status1Button paint")));
    QVERIFY(isLit(button(2)));
    bar()->onSignOutAccount();   // signing out leaves the connected device watched
    QCOMPARE(bar()->realTimeAddrList(), highVolt);
    selectType(SdriverDevice);   // the end of an alarm restyles its item
    emitValue(3337, 7);
    QTRY_VERIFY(redraws.take().isEmpty());
    emitValue(3337, 0);
    QVERIFY(redraws.take().contains(QStringLiteral("status7Value style")));
    QCOMPARE(value(7)->text(), QStringLiteral("None"));
    m_window->hide();
}

// Full screen hides the bar; tightenings and the alarm are stored all the same, the poll never asks for an
// address the type lacks, and every record holds the values of the one screw it names.
void TestStatusAreaFrame::deviceWhileFullScreen()
{
    ComSettingsFrame &com = m_window->comSettings();
    DevsimLink link(&com);
    DevsimProcess &sim = link.sim();
    QVERIFY(sim.start({ "--type", "0", "--slave", "2", "--next-after-reads", "2", "--set", "3084=9" }));
    m_window->setFullScreen(true);
    QVERIFY(bar()->isHidden());
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceType"), QStringLiteral("0"));
    selectType(SdriverDevice);
    emitValue(3336, 0);   // settles whatever an earlier test left pending
    DatabaseManager *db = DatabaseManager::instance();
    const int alarms = db->alarmRecords().size(), records = db->workRecords().size();
    QSignalSpy polled(&com, &ComSettingsFrame::realTimeAddrRead);
    QVERIFY(link.connectTo(sim.port(), 2));
    QCOMPARE(part<QLabel>(QStringLiteral("connectStatus"))->text(), QStringLiteral("Connect"));
    QTRY_VERIFY_WITH_TIMEOUT(sim.stderrText().count(QLatin1String("devsim tightening")) >= 3, 30000);
    QStringList screws, stored;
    for (const Screw &s : reportedScrews(sim.stderrText()))
        screws << kResultNames.value(s.result) + ' ' + QString::number(s.turns / 100.0) + ' ' + QString::number(s.time / 1000.0);
    for (const RecordItem &r : db->workRecords().mid(records))
        stored << r.value("status").toString() + ' ' + r.value("turns").toString() + ' ' + r.value("usedTime").toString();
    QVERIFY(!stored.isEmpty() && stored.size() <= screws.size());
    for (const QString &record : qAsConst(stored))   // never the values of two screws mixed
        QVERIFY2(screws.contains(record), qPrintable(record + " is none of " + screws.join(", ")));
    QCOMPARE(db->alarmRecords().size(), alarms + 1);   // the code stays put: recorded once
    QCOMPARE(db->alarmRecords().last().value("number").toString(), QStringLiteral("9"));
    const QList<int> seen = TestLookup::firstInts(polled);
    QCOMPARE(QSet<int>(seen.begin(), seen.end()), QSet<int>(kSdriverPoll.begin(), kSdriverPoll.end()));
    selectType(OtherDevice2);   // no items: nothing more is polled, and never address 0xFFFF
    QTest::qWait(50), polled.clear(), QTest::qWait(300);
    QCOMPARE(polled.count(), 0);
    QCOMPARE(sim.logLines().filter(QLatin1String("addr=65535")), QStringList());
    m_window->setFullScreen(false), m_window->hide(), sim.kill();
    QTRY_COMPARE_WITH_TIMEOUT(part<QLabel>(QStringLiteral("connectStatus"))->text(), QStringLiteral("Disconnect"), 5000);
}

int TestStatusAreaFrame::selectScrewdriver()
{
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceType"), QStringLiteral("0"));
    setUnitIndex(QStringLiteral("torque"), 0);
    selectType(SdriverDevice);
    emitValue(3336, 0);
    return DatabaseManager::instance()->workRecords().size();
}

QList<RecordItem> TestStatusAreaFrame::recordTightenings(DevsimLink &link, int count)
{
    const int records = selectScrewdriver();
    DatabaseManager *db = DatabaseManager::instance();
    if (!link.connectTo(link.sim().port(), 1))
        return {};
    // The program's own kind of event loop: QTest's waits sleep 10 ms between rounds of events,
    // which would add some 20 ms to every request.
    QEventLoop loop;
    QTimer::singleShot(50000, &loop, &QEventLoop::quit);
    connect(db, &DatabaseManager::storageChanged, &loop, [&] {
        if (db->workRecords().size() >= records + count)
            loop.quit();
    });
    loop.exec();
    link.frame()->disconnectDevice();
    return db->workRecords().mid(records);
}

void TestStatusAreaFrame::slowLinkKeepsEveryTightening_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::addColumn<bool>("everyScrewRead");   // the next screw waits until the result has been read
    QTest::newRow("the next screw once the result is read") << QStringList { "--next-after-reads", "1" } << true;
    QTest::newRow("the next screw after about a pass") << QStringList { "--event-interval", "300" } << false;
}

// About 250 ms a pass, as on a slow serial link: a result may be read only once before the next
// screw starts. Every result that was read is stored once, in order, with the values of its own
// screw: those read while it showed, or just before it was first read (at most a few steps before
// the screw ended), never the next screw's.
void TestStatusAreaFrame::slowLinkKeepsEveryTightening()
{
    QFETCH(QStringList, simArgs);
    QFETCH(bool, everyScrewRead);
    ComSettingsFrame &com = m_window->comSettings();
    DevsimLink link(&com);
    QVERIFY(link.sim().start(QStringList { "--type", "0", "--answer-delay", "20" } + simArgs));
    QSignalSpy polled(&com, &ComSettingsFrame::realTimeAddrRead);
    QElapsedTimer clock;
    clock.start();
    const QList<RecordItem> stored = recordTightenings(link, 4);
    QVERIFY2(stored.size() >= 4, qPrintable(QString::number(stored.size())));

    QStringList seen;   // each change of the result to a code, as the poll read it
    int last = 0, passes = 0;
    for (const QList<QVariant> &args : qAsConst(polled)) {
        if (args.at(0).toInt() != 3336)
            continue;
        ++passes;
        const int result = args.at(1).toInt();
        if (result != 0 && result != last)
            seen << kResultNames.value(result);
        last = result;
    }
    QVERIFY2(clock.elapsed() / passes >= 200, qPrintable(QString::number(clock.elapsed() / passes)));
    QStringList statuses;
    for (const RecordItem &r : stored)
        statuses << r.value("status").toString();
    // The last result read may still wait for the next Result reading when the link closes.
    QVERIFY2(statuses == seen || statuses == seen.mid(0, seen.size() - 1), qPrintable(statuses.join(' ') + " / " + seen.join(' ')));
    const QVector<Screw> screws = reportedScrews(link.sim().stderrText());
    if (everyScrewRead) {
        QVERIFY2(seen.size() >= screws.size() - 1, qPrintable(QStringLiteral("%1 of %2 read").arg(seen.size()).arg(screws.size())));
        // Each screw's values exactly as it ended, though the result showed for a single reading.
        QCOMPARE(recordTexts(stored), finalsTexts(screws).mid(0, stored.size()));
    }
    int next = 0;
    for (const RecordItem &r : stored) {
        const int turns = qRound(r.value("turns").toDouble() * 100), time = qRound(r.value("usedTime").toDouble() * 1000);
        auto own = [&](const Screw &s) {
            return kResultNames.value(s.result) == r.value("status") && turns <= s.turns && turns * 4 >= s.turns * 3
                && time <= s.time && time >= s.time - 400;
        };
        while (next < screws.size() && !own(screws.at(next)))
            ++next;
        QVERIFY2(next < screws.size(), qPrintable(QStringLiteral("%1 %2 %3 is no screw of its own").arg(r.value("status").toString()).arg(turns).arg(time)));
        ++next;
    }
}

void TestStatusAreaFrame::recordsHoldTheFinalValues_data()
{
    QTest::addColumn<QStringList>("simArgs");
    QTest::newRow("result read once") << QStringList { "--next-after-reads", "1" };
    QTest::newRow("the next screw after a short pause") << QStringList { "--event-interval", "300" };
}

// Every screw is stored once, in order, with exactly the turns, torque, time and alarm code it ended
// with, though the poll reads Result once and Turns, Torque and Time each at another moment.
void TestStatusAreaFrame::recordsHoldTheFinalValues()
{
    QFETCH(QStringList, simArgs);
    DevsimLink link(&m_window->comSettings());
    QVERIFY(link.sim().start(QStringList { "--type", "0" } + simArgs));
    const QStringList stored = recordTexts(recordTightenings(link, 4));
    QVERIFY2(stored.size() >= 4, qPrintable(stored.join(", ")));
    QCOMPARE(stored, finalsTexts(reportedScrews(link.sim().stderrText())).mid(0, stored.size()));
}

void TestStatusAreaFrame::pendingResultStoredAtOnce_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("the link closes") << "link";
    QTest::newRow("the device type changes") << "type";
    QTest::newRow("the slave changes") << "slave";
}

// A Slip read just before the link closes or the device or slave changes, while its final values are
// still being asked for, is stored then, with the values known, for the device and slave that made
// it, and not again later.
void TestStatusAreaFrame::pendingResultStoredAtOnce()
{
    QFETCH(QString, change);
    ComSettingsFrame &com = m_window->comSettings();
    DevsimLink link(&com);
    // A slow link, and registers that hold still: the values known are the device's.
    QVERIFY(link.sim().start({ "--type", "0", "--slave", "1,2", "--no-events", "--answer-delay", "60", "--set", "3336=0",
                               "--set", "3076=812", "--set", "3077=1734", "--set", "3079=420", "--set", "3084=10" }));
    const int records = selectScrewdriver();
    DatabaseManager *db = DatabaseManager::instance();
    QSignalSpy polled(&com, &ComSettingsFrame::realTimeAddrRead);
    QVERIFY(link.connectTo(link.sim().port(), 1));
    QTRY_VERIFY_WITH_TIMEOUT(polled.contains({ 3337, 10 }), 10000);   // every register polled once
    QObject context;
    QStringList storedAtChange;
    int changedAt = -1;
    connect(&com, &ComSettingsFrame::realTimeAddrRead, &context, [&](int addr, int val) {
        if (addr != 3336 || val != 10 || changedAt >= 0)
            return;
        changedAt = polled.size();
        QMetaObject::invokeMethod(&context, [&] {
            if (change == QLatin1String("link"))
                com.disconnectDevice();
            else if (change == QLatin1String("slave"))
                ComSettingsFrame::setCurrentSlave(2);
            else
                selectType(HighVoltServo), selectType(SdriverDevice);
            storedAtChange = recordTexts(db->workRecords().mid(records));
        }, Qt::QueuedConnection);
    });
    QVERIFY(ComSettingsFrame::writeRegister(3336, 10));   // the screw ends
    QTRY_VERIFY_WITH_TIMEOUT(changedAt >= 0, 10000);
    QTRY_COMPARE(storedAtChange, QStringList("Slip 8.12 0.420 1.734 10"));
    if (change != QLatin1String("link")) {   // the result read again, from the device now watched
        QTRY_VERIFY_WITH_TIMEOUT(polled.mid(changedAt).contains({ 3336, 10 }), 10000);
        QCOMPARE(recordTexts(db->workRecords().mid(records)), storedAtChange);
    }
}

// The task is the one the screw ran in, though the user picks the next one while the final values
// are still being asked for on a slow link.
void TestStatusAreaFrame::taskOfTheCycleStored()
{
    ComSettingsFrame &com = m_window->comSettings();
    DevsimLink link(&com);
    QVERIFY(link.sim().start({ "--type", "0", "--no-events", "--answer-delay", "60", "--set", "3336=0", "--set", "3072=2" }));
    const int records = selectScrewdriver();
    QSignalSpy polled(&com, &ComSettingsFrame::realTimeAddrRead);
    QVERIFY(link.connectTo(link.sim().port(), 1));
    QTRY_VERIFY_WITH_TIMEOUT(polled.contains({ 3072, 2 }) && polled.contains({ 3336, 0 }), 10000);
    QObject context;
    connect(&com, &ComSettingsFrame::realTimeAddrRead, &context, [](int addr, int val) {
        if (addr == 3336 && val == 1)
            ComSettingsFrame::writeRegister(3072, 3);   // the next task, while the finals are on their way
    });
    QVERIFY(ComSettingsFrame::writeRegister(3336, 1));
    DatabaseManager *db = DatabaseManager::instance();
    QTRY_VERIFY_WITH_TIMEOUT(db->workRecords().size() > records, 10000);
    QCOMPARE(db->workRecords().at(records).value("task").toString(), QStringLiteral("Task2"));
    QTRY_COMPARE(ComSettingsFrame::getRegisterEntry(3072) & 0xFFFF, quint64(3));
}

// A slave's result still shown when the user comes back to it from another slave is the same screw:
// it is not stored again.
void TestStatusAreaFrame::slaveBackAndForth()
{
    DatabaseManager *db = DatabaseManager::instance();
    selectType(SdriverDevice);
    ComSettingsFrame::setCurrentSlave(1);
    emitValue(3072, 1), emitValue(3336, 0), emitValue(3337, 0);
    const int records = db->workRecords().size();
    emitValue(3076, 250), emitValue(3336, 1);          // slave 1 finishes a screw and holds its result
    QCOMPARE(db->workRecords().size() - records, 1);
    ComSettingsFrame::setCurrentSlave(2);
    emitValue(3336, 0);                                 // slave 2 idle
    ComSettingsFrame::setCurrentSlave(1);
    emitValue(3336, 1);                                 // slave 1 still holds the same result
    QCOMPARE(db->workRecords().size() - records, 1);
    emitValue(3336, 0), emitValue(3336, 10);            // and its next screw is one
    QCOMPARE(db->workRecords().size() - records, 2);
}

QTEST_MAIN(TestStatusAreaFrame)
#include "tst_statusareaframe.moc"
