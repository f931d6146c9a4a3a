#include "shell/statusareaframe.h"

#include "comm/comsettingsframe.h"
#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "shell/mainwindow.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"
#include "support/widgetlookup.h"

#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

#include <tuple>
#include <utility>

namespace {
const QList<int> kSdriverPoll { 3072, 3079, 3083, 3073, 3074, 3075, 3389, 3076, 3078, 3077, 3336, 3337 };

QColor iconCentre(const QPushButton *b) { return b->icon().pixmap(32, 32).toImage().pixelColor(16, 16); }

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
} // namespace

class TestStatusAreaFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { delete m_window; }
    void detectors_data();
    void detectors();
    void sameValueRedrawsNothing();
    void deviceWhileFullScreen();

private:
    StatusAreaFrame *bar() { return m_window->findChild<StatusAreaFrame *>(QStringLiteral("statusAreaFrame")); }
    QPushButton *button(int item) { return bar()->findChild<QPushButton *>(QStringLiteral("status%1Button").arg(item)); }
    // The device-changed broadcast as the communication page sends it, without its parameter files.
    void selectType(DeviceEnum t)
    {
        ComSettingsFrame::setCurrentDevice(t), m_window->comSettings().onDeviceChanged(t), DatabaseManager::instance()->onDeviceChanged(t);
    }
    void emitValue(int a, int v) { ComSettingsFrame::setRegister(Uint16(a), Uint16(v)), emit m_window->comSettings().realTimeAddrRead(a, v); }

    TestDatabase m_db;
    QTemporaryDir m_workDir;
    MainWindow *m_window = nullptr;
    PromptRecorder m_prompts;
};

void TestStatusAreaFrame::initTestCase()
{
    QVERIFY(m_db.isValid() && QDir::setCurrent(m_workDir.path()));   // the window writes parameter files here
    m_window = new MainWindow, ComSettingsFrame::setCurrentSlave(1);
}

// A script of readings: "addr=val", "pN" for one pass of Turns N (hundredths), Torque and Time,
// "rebuild", "typeN"; then what was stored: "status turns" per work record, "alarm code" per alarm.
void TestStatusAreaFrame::detectors_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("stored");
    QTest::newRow("the same result again is no new cycle") << "3336=1 p250 p250 p250 3336=1 p260 p260 p260" << "OK 2.5";
    QTest::newRow("a replacing result keeps the counts") << "3336=10 p250 p250 3336=12 p250" << "Float 2.5";
    QTest::newRow("next cycle after a confirmed reading: its values") << "3336=1 p250 3336=1 p260 3336=0 p30 p30 p30" << "OK 2.5";
    QTest::newRow("next cycle in the third pass: the confirmed values") << "3336=1 p250 3336=1 p260 3336=1 p30" << "OK 2.6";
    QTest::newRow("next cycle before any confirmed reading: dropped") << "3336=1 p250 3336=0 p30 p30 p30" << "";
    QTest::newRow("alarm, same, none, alarm is two") << "3337=7 3337=7 3337=0 3337=7" << "alarm 7, alarm 7";
    QTest::newRow("a rebuild does not repeat an active alarm") << "3337=7 rebuild 3337=7" << "alarm 7";
    QTest::newRow("a servo drive records nothing") << "type1 56152=5 3336=1 p250 p250 p250 type0 p250 p250 p250" << "";
}

void TestStatusAreaFrame::detectors()
{
    QFETCH(QString, script);
    DatabaseManager *db = DatabaseManager::instance();
    selectType(SdriverDevice);
    ComSettingsFrame::setRegister(3072, 1);
    emitValue(3336, 0), emitValue(3337, 0);   // settles whatever an earlier row left pending
    const int records = db->workRecords().size(), alarms = db->alarmRecords().size();
    for (const QString &step : script.split(' ')) {
        if (step == QLatin1String("rebuild"))
            bar()->onParamUnitChanged();
        else if (step.startsWith(QLatin1String("type")))
            selectType(DeviceEnum(step.mid(4).toInt()));
        else if (step.startsWith('p'))
            emitValue(3076, step.mid(1).toInt()), emitValue(3079, 1500), emitValue(3077, 1200);
        else
            emitValue(step.section('=', 0, 0).toInt(), step.section('=', 1).toInt());
    }
    QStringList stored;
    for (const RecordItem &r : db->workRecords().mid(records))
        stored << r.value("status").toString() + ' ' + r.value("turns").toString();
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
    QVERIFY(iconCentre(button(2)).green() > iconCentre(button(2)).red() + 40);   // lit
    bar()->onSignOutAccount();   // signing out leaves the connected device watched
    QCOMPARE(bar()->realTimeAddrList(), highVolt);
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
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceType"), QStringLiteral("0"));
    selectType(SdriverDevice);
    DatabaseManager *db = DatabaseManager::instance();
    const int alarms = db->alarmRecords().size(), records = db->workRecords().size();
    QSignalSpy polled(&com, &ComSettingsFrame::realTimeAddrRead);
    QVERIFY(link.connectTo(sim.port(), 2));
    QTRY_VERIFY_WITH_TIMEOUT(sim.stderrText().count(QLatin1String("devsim tightening")) >= 3, 30000);
    static const QRegularExpression finished(QStringLiteral("devsim tightening result=(\\d+) turns=(\\d+) torque=\\d+ time=(\\d+)"));
    QStringList screws, stored;
    for (auto it = finished.globalMatch(sim.stderrText()); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        screws << QMap<int, QString> { { 1, "OK" }, { 10, "Slip" }, { 12, "Float" } }.value(m.captured(1).toInt()) + ' '
                      + QString::number(m.captured(2).toInt() / 100.0) + ' ' + QString::number(m.captured(3).toInt() / 1000.0);
    }
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
    QTRY_COMPARE_WITH_TIMEOUT(bar()->findChild<QLabel *>(QStringLiteral("connectStatus"))->text(), QStringLiteral("Disconnect"), 5000);
}

QTEST_MAIN(TestStatusAreaFrame)
#include "tst_statusareaframe.moc"
