#include "shell/menubarframe.h"

#include "comm/comsettingsframe.h"
#include "comm/modbusmaster.h"
#include "comm/motionguard.h"
#include "data/datasource.h"
#include "shell/platform.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"
#include "support/widgetlookup.h"
#include "widgets/cmenubutton.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QMenu>
#include <QSignalSpy>
#include <QtTest>

#include <tuple>

// The tool bar against the simulated screwdriver controller: what it writes is read from devsim's log.
class TestMenuBarFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void controlArea_data();
    void controlArea();
    void adminPassword();
    void menuIdsAndBurnTool();
    void deviceAdaptation_data();
    void deviceAdaptation();
    void burnToolAndManuals();
    void controlsStoppedWithTheLink_data();
    void controlsStoppedWithTheLink();
    void unansweredStopSaid_data();
    void unansweredStopSaid();

private:
    void setDevice(DeviceEnum type) { ComSettingsFrame::setCurrentDevice(type), m_com->onDeviceChanged(type); }
    QAbstractButton *button(const QString &name) const { return m_bar->findChild<QAbstractButton *>(name); }
    QComboBox *combo() const { return m_bar->findChild<QComboBox *>(QStringLiteral("taskComboBox")); }
    QMenu *optionsMenu() const { return m_bar->findChild<CMenuButton *>(QStringLiteral("optionsButton"))->menu(); }
    // The single-register writes since the last call, once there are at least `count` (and a stray one after).
    QStringList writes(int count)
    {
        if (QTest::qWaitFor([&] { return m_link.sim().writes().size() >= count; }, 3000))
            QTest::qWait(150);
        const QStringList seen = m_link.sim().writes();
        return m_link.sim().clearLog(), seen;
    }

    TestDatabase m_db;
    DevsimLink m_link;
    ComSettingsFrame *m_com = m_link.frame();
    MenuBarFrame *m_bar = nullptr;
    PromptRecorder m_prompts;
};

void TestMenuBarFrame::initTestCase()
{
    QVERIFY(m_db.isValid() && m_link.start({ QStringLiteral("--no-events") }));   // unasked events would only add to the log
}

void TestMenuBarFrame::init()
{
    setDevice(SdriverDevice);
    ComSettingsFrame::setRegister(3072, Uint16(RegisterCache::NoValue));   // no task known from an earlier case
    (m_bar = new MenuBarFrame)->onDeviceChanged(SdriverDevice);
    m_prompts.clear(), m_prompts.reply = Prompt::Reply();
    QTest::qWait(100), m_link.sim().clearLog();
}

void TestMenuBarFrame::cleanup() { delete m_bar, Platform::setHooks(Platform::Hooks()); }

// Steps: a click on "lock", "unlock", "free" or "clear"; "task:N" the user's pick; "read:A=V" from the poll; "device:N"
// the type; "shown:N" / "cache:N" the task displayed / read last; "refill:N" a task list of N. State: texts and task shown.
void TestMenuBarFrame::controlArea_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("writes");
    QTest::addColumn<QString>("state");
    const QString idle = "Lock Start|Unlock Start|Free Start|";
    QTest::newRow("lock shows its Stop while on") << "lock" << "3073=1 3074=0 3075=0" << "Lock Stop|Unlock Start|Free Start|0";
    QTest::newRow("lock starts clearing the others, stops with its 0") << "lock lock" << "3073=1 3074=0 3075=0 3073=0" << idle + "0";
    QTest::newRow("a running control comes back with one more 0") << "free unlock"
        << "3075=1 3073=0 3074=0 3074=1 3073=0 3075=0 3075=0" << "Lock Start|Unlock Stop|Free Start|0";
    QTest::newRow("clear alarm pulses, task pick is written") << "clear task:2" << "3084=1 3084=0 3072=2" << idle + "2";
    // A reading acts as a press, once per change; the no-value marker is no reason to start anything.
    QTest::newRow("readings press the controls") << "read:3074=1 read:3074=1 read:3073=0 read:3075=43981 read:3074=0"
        << "3074=1 3073=0 3075=0 3074=0" << idle + "0";
    QTest::newRow("task reading is not written back; without value shows the first") << "read:3072=3 read:3072=43981" << "" << idle + "0";
    QTest::newRow("task reading beyond the list shows none") << "read:3072=9" << "" << idle + "-1";
    QTest::newRow("other device type: nothing written or followed")
        << "device:1 clear lock task:1 read:3075=1 read:3072=2" << "" << "Lock Stop|Unlock Start|Free Start|1";
    QTest::newRow("refill: shown task gone, device unknown") << "shown:4 refill:3" << "" << idle + "0";
    QTest::newRow("refill: device on a task gone is moved") << "shown:4 cache:4 refill:3" << "3072=0" << idle + "0";
    QTest::newRow("refill: device value wins") << "shown:0 cache:2 refill:3" << "" << idle + "2";
    QTest::newRow("refill: same count does nothing") << "shown:4 cache:4 refill:5" << "" << idle + "4";
    QTest::newRow("refill: growing keeps the task") << "shown:1 cache:1 refill:8" << "" << idle + "1";
    QTest::newRow("refill: shrinking keeps a task still listed") << "shown:2 cache:2 refill:3" << "" << idle + "2";
}

void TestMenuBarFrame::controlArea()
{
    QFETCH(QString, steps);
    QFETCH(QString, writes);
    QSignalSpy picks(combo(), QOverload<int>::of(&QComboBox::currentIndexChanged));
    for (const QString &step : steps.split(' ')) {
        const QString kind = step.section(':', 0, 0), arg = step.section(':', 1);
        picks.clear();
        if (QStringList { "lock", "unlock", "free" }.contains(step))
            button(step + "CtrlButton")->click();
        else if (step == "clear")
            button("clearAlarmButton")->click();
        else if (kind == "task")
            combo()->setCurrentIndex(arg.toInt());
        else if (kind == "device")
            setDevice(DeviceEnum(arg.toInt()));
        else if (kind == "shown")
            m_bar->refreshDisplay(3072, arg.toInt());
        else if (kind == "cache")
            ComSettingsFrame::setRegister(3072, Uint16(arg.toInt()));
        else if (kind == "refill")
            m_bar->updateTaskComboBox(arg.toInt());
        else
            emit m_com->realTimeAddrRead(arg.section('=', 0, 0).toInt(), arg.section('=', 1).toInt());
        QVERIFY2(kind != "refill" || picks.isEmpty(), "a rebuild is no user's pick");
        if (kind == "refill") {
            QCOMPARE(combo()->count(), arg.toInt());
            QCOMPARE(combo()->itemText(arg.toInt() - 1), QStringLiteral("Exec Task%1").arg(arg.toInt() - 1));
        }
    }
    const QStringList expected = writes.split(' ', Qt::SkipEmptyParts);
    QCOMPARE(this->writes(expected.size()), expected);
    QStringList state;
    for (const QString name : { "lock", "unlock", "free" })
        state << button(name + "CtrlButton")->text();
    QTEST(state.join('|') + '|' + QString::number(combo()->currentIndex()), "state");
}

// The password prompt is on top and hidden; only the exact password opens the servo page or starts
// the burn tool. A wrong answer is told; an empty one passes as silently as a cancel.
void TestMenuBarFrame::adminPassword()
{
    const QList<std::tuple<bool, QString, bool>> tries { { true, "52917", true }, { true, "52918", false },
                                                        { true, " 52917", false }, { true, "", false },
                                                        { false, "52917", false } };
    int started = 0;
    Platform::setHooks({ [&](const QString &, const QStringList &, const QString &) { return ++started, true; }, nullptr });
    for (const auto &[accepted, text, opens] : tries) {
        for (const bool burnTool : { false, true }) {
            m_prompts.clear(), m_prompts.reply.ok = accepted, m_prompts.reply.text = text;
            QSignalSpy ids(m_bar, &MenuBarFrame::menuClicked);
            const int startedBefore = started;
            if (burnTool)
                m_bar->onBurnToolTriggered();
            else
                button("servoParamBtn")->click();
            QCOMPARE(burnTool ? started - startedBefore : ids.count(), int(opens));
            QCOMPARE(m_prompts.requests.first().kind, Prompt::GetText);
            QCOMPARE(m_prompts.requests.first().echo, QLineEdit::Password);
            QVERIFY(m_prompts.requests.first().flags & Qt::WindowStaysOnTopHint);
            const bool told = accepted && !opens && !text.isEmpty();
            QCOMPARE(m_prompts.size(), told ? 2 : 1);
            QVERIFY(!told || m_prompts.last().text == QStringLiteral("密码错误！"));
        }
    }
}

// Page buttons and option entries send their menu ids (after a disconnect too); a missing burn tool is reported, a present one started in its own folder.
void TestMenuBarFrame::menuIdsAndBurnTool()
{
    DataSource source;
    QSignalSpy oscill(&source, &DataSource::oscillShowSignal);
    QSignalSpy ids(m_bar, &MenuBarFrame::menuClicked);
    setDevice(HighVoltServo);   // servo parameters without a password
    m_bar->onDeviceChanged(HighVoltServo), m_bar->onDeviceChanged(NoDevice);
    for (const char *name : { "comSettingBtn", "servoParamBtn", "workWaveBtn", "appParamBtn", "appDebugBtn",
                              "workRecordBtn", "alarmInfoBtn", "ioMonitorBtn" })
        button(name)->click();
    QVERIFY(m_prompts.isEmpty());
    m_prompts.reply.ok = false;   // the burn tool's password prompt
    Platform::setHooks({ nullptr, [](const QString &) { return true; } });
    for (QAction *action : m_bar->findChild<CMenuButton *>(QStringLiteral("optionsButton"))->menu()->actions())
        action->trigger();
    QCOMPARE(TestLookup::firstInts(ids), (QList<int> { 11, 20, 40, 30, 31, 60, 51, 50, 21, 15, 6, 14 }));
    QCOMPARE(oscill.count(), 1);
    QCOMPARE(oscill.first().at(1).toInt(), 0);
    QStringList started;
    const QString folder = QDir::currentPath() + QStringLiteral("/WinApps/BurnTool/win-iap-ymodem/bin/Debug");
    m_prompts.reply.ok = true, m_prompts.reply.text = QStringLiteral("52917");
    m_bar->onBurnToolTriggered();   // not on this machine: the real call refuses and the user is told
    QCOMPARE(m_prompts.last().text, QStringLiteral("The burn tool is not installed: %1/win-iap-ymodem.exe").arg(folder));
    Platform::setHooks({ [&](const QString &program, const QStringList &args, const QString &dir) {
                            return started << program << args << dir, true; }, nullptr });
    m_bar->onBurnToolTriggered();
    QCOMPARE(started, (QStringList { folder + QStringLiteral("/win-iap-ymodem.exe"), folder }));
}

void TestMenuBarFrame::deviceAdaptation_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("entries");   // "-" is a separator
    QTest::addColumn<QList<int>>("ids");        // sent by triggering the entries in order
    const QStringList tail { "使用说明", "-", "关于软件" };
    QTest::newRow("screwdriver") << 0
        << QStringList { "servoParamBtn", "workWaveBtn", "appParamBtn", "ioMonitorBtn", "alarmInfoBtn", "workRecordBtn", "controlFrame" }
        << QStringList { "兼容性选项", "-" } + tail << QList<int> { 6, 14 };
    QTest::newRow("high-voltage servo") << 1 << QStringList { "servoParamBtn", "workWaveBtn" }
        << QStringList { "主站伺服调试", "-", "主站系统更新", "兼容性选项", "-" } + tail << QList<int> { 21, 15, 6, 14 };
    QTest::newRow("low-voltage servo") << 2 << QStringList { "servoParamBtn", "workWaveBtn" }
        << QStringList { "Jog调试模式", "-", "烧录工具", "-" } + tail << QList<int> { 21, 14 };
    QTest::newRow("third servo") << 3 << QStringList { "servoParamBtn" }
        << QStringList { "Jog调试模式", "语言设置", "-" } + tail << QList<int> { 21, 16, 14 };
    QTest::newRow("other device") << 5 << QStringList() << tail << QList<int> { 14 };
}

// What each device type shows, and the options it offers, kept over a disconnect.
void TestMenuBarFrame::deviceAdaptation()
{
    QFETCH(int, device);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, entries);
    QFETCH(QList<int>, ids);
    const QStringList adapted { "servoParamBtn", "workWaveBtn", "appParamBtn", "appDebugBtn", "ioMonitorBtn",
                                "alarmInfoBtn", "workRecordBtn", "controlFrame" };
    delete m_bar;
    setDevice(NoDevice);
    m_bar = new MenuBarFrame;
    for (const QString &name : adapted)
        QVERIFY2(!m_bar->findChild<QWidget *>(name)->isHidden(), qPrintable(name));

    setDevice(DeviceEnum(device));
    m_bar->onDeviceChanged(DeviceEnum(device));
    m_bar->onDeviceChanged(NoDevice);   // a disconnect keeps the last device's tool bar
    for (const QString &name : adapted)
        QCOMPARE(!m_bar->findChild<QWidget *>(name)->isHidden(), shown.contains(name));
    QCOMPARE(button("appParamBtn")->text(), device == 0 ? QStringLiteral("Task Plan") : QStringLiteral("App Param"));

    QStringList texts;
    QSignalSpy spy(m_bar, &MenuBarFrame::menuClicked);
    m_prompts.reply.ok = false;   // the burn tool's password prompt
    Platform::setHooks({ nullptr, [](const QString &) { return true; } });
    for (QAction *action : optionsMenu()->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        action->trigger();
    }
    QCOMPARE(texts, entries);
    QCOMPARE(TestLookup::firstInts(spy), ids);
}

// The burn tool is started from its own folder or said to be missing; every manual is opened, in name order.
void TestMenuBarFrame::burnToolAndManuals()
{
    m_prompts.reply.text = QStringLiteral("52917");
    m_bar->onBurnToolTriggered();
    const QString folder = QDir::currentPath() + QStringLiteral("/WinApps/BurnTool/win-iap-ymodem/bin/Debug");
    QCOMPARE(m_prompts.size(), 2);
    QCOMPARE(m_prompts.last().title, QStringLiteral("Tips"));
    QCOMPARE(m_prompts.last().text, QStringLiteral("The burn tool is not installed: %1/win-iap-ymodem.exe").arg(folder));

    QStringList started;
    QStringList opened;
    Platform::setHooks({ [&](const QString &program, const QStringList &args, const QString &dir) {
                             started << program << args << dir;
                             return true;
                         },
                         [&](const QString &path) {
                             opened << QFileInfo(path).fileName();
                             return true;
                         } });
    m_prompts.clear();
    m_bar->onBurnToolTriggered();
    QCOMPARE(started, (QStringList { folder + QStringLiteral("/win-iap-ymodem.exe"), folder }));
    QCOMPARE(m_prompts.size(), 1);   // the password only

    QTemporaryDir dir;
    const QString saved = QDir::currentPath();
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Resource/Docs")));
    QDir::setCurrent(dir.path());
    m_prompts.clear();
    m_bar->onManualTriggered();   // none there: said so
    QCOMPARE(m_prompts.size(), 1);
    for (const char *name : { "b.docx", "A.docx", "notes.txt" }) {
        QFile file(dir.filePath(QStringLiteral("Resource/Docs/") + QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    m_bar->onManualTriggered();
    QDir::setCurrent(saved);
    QCOMPARE(opened, (QStringList { "A.docx", "b.docx" }));
    QCOMPARE(m_prompts.size(), 1);
}

void TestMenuBarFrame::controlsStoppedWithTheLink_data()
{
    QTest::addColumn<bool>("lost");
    QTest::newRow("Disconnect pressed") << false;
    QTest::newRow("link lost and back") << true;
}

// Lock, Unlock and Free run the screwdriver until their register is 0 again: the user closing the
// link sends that 0 first; a link lost meanwhile sends it first thing when it comes back.
void TestMenuBarFrame::controlsStoppedWithTheLink()
{
    QFETCH(bool, lost);
    button("freeCtrlButton")->click();
    QCOMPARE(writes(3), QStringList({ "3075=1", "3073=0", "3074=0" }));
    if (lost) {
        m_com->engine()->setResponseTimeout(100);
        m_link.sim().pause();
        QTRY_VERIFY_WITH_TIMEOUT(!m_com->isConnected(), 15000);
        m_link.sim().resume();
        QTest::qWait(300);
        m_link.sim().clearLog();
        m_com->engine()->setResponseTimeout(300);
    } else {
        m_com->findChild<QAbstractButton *>("connectButton")->click();
        QCOMPARE(m_link.sim().writes(), QStringList("3075=0"));   // before the link closed
        m_link.sim().clearLog();
    }
    QVERIFY(!button("freeCtrlButton")->isChecked());
    QCOMPARE(button("freeCtrlButton")->text(), MenuBarFrame::tr("Free Start"));
    QVERIFY(m_link.connectTo(m_link.sim().port()));
    QCOMPARE(writes(lost ? 1 : 0), lost ? QStringList("3075=0") : QStringList());
}

void TestMenuBarFrame::unansweredStopSaid_data()
{
    QTest::addColumn<bool>("quiet");
    QTest::newRow("said at once") << false;
    QTest::newRow("said once a close asking about records is called off") << true;
}

// A stop the device does not answer is said, and the button shows the tool running: the next
// press sends the stop again rather than start the tool.
void TestMenuBarFrame::unansweredStopSaid()
{
    QFETCH(bool, quiet);
    QAbstractButton *lock = button("lockCtrlButton");
    lock->click();
    QCOMPARE(writes(3), QStringList({ "3073=1", "3074=0", "3075=0" }));
    m_com->engine()->setResponseTimeout(100);
    m_link.sim().pause();
    MotionGuard *guard = m_com->motionGuard();
    guard->setQuiet(quiet);
    lock->click();
    if (quiet) {
        QTRY_VERIFY_WITH_TIMEOUT(!guard->isStopping(), 5000);
        QTest::qWait(50);
        QVERIFY(m_prompts.isEmpty());
        guard->setQuiet(false);
    }
    QTRY_VERIFY_WITH_TIMEOUT(!m_prompts.isEmpty(), 5000);
    m_link.sim().resume();
    QCOMPARE(m_prompts.texts(), QStringList("Tips: " + MenuBarFrame::tr("The screwdriver did not answer the stop: it may still be running!")));
    QVERIFY(lock->isChecked());
    QTest::qWait(300);
    m_link.sim().clearLog();
    QVERIFY(m_com->isConnected());
    lock->click();
    QCOMPARE(writes(1), QStringList("3073=0"));
    QVERIFY(!lock->isChecked());
    m_com->engine()->setResponseTimeout(300);
}

QTEST_MAIN(TestMenuBarFrame)
#include "tst_menubarframe.moc"
