#include "shell/menubarframe.h"

#include "comm/comsettingsframe.h"
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

// The tool bar against the simulated screwdriver controller: what it writes is read from devsim's log.
class TestMenuBarFrame : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void controlArea_data();
    void controlArea();
    void taskRefill_data();
    void taskRefill();
    void adminPassword_data();
    void adminPassword();
    void deviceAdaptation_data();
    void deviceAdaptation();
    void pageButtons();
    void burnToolAndManuals();

private:
    void setDevice(DeviceEnum devType)
    {
        ComSettingsFrame::setCurrentDevice(devType);
        m_com->onDeviceChanged(devType);
    }
    QAbstractButton *button(const char *name) const { return m_bar->findChild<QAbstractButton *>(QLatin1String(name)); }
    QComboBox *combo() const { return m_bar->findChild<QComboBox *>(QStringLiteral("taskComboBox")); }
    QMenu *optionsMenu() const { return m_bar->findChild<CMenuButton *>(QStringLiteral("optionsButton"))->menu(); }
    bool expectWrites(const QStringList &expected);
    // The control texts and the task shown: "Lock Start|Unlock Start|Free Start|0".
    QString controlState() const;

    TestDatabase *m_db = nullptr;
    DevsimLink *m_link = nullptr;
    ComSettingsFrame *m_com = nullptr;
    MenuBarFrame *m_bar = nullptr;
    PromptRecorder m_prompts;
};

void TestMenuBarFrame::initTestCase()
{
    m_db = new TestDatabase;
    QVERIFY(m_db->isValid());
    m_link = new DevsimLink;
    m_com = m_link->frame();
    // Unasked events of the device would only add lines to the log.
    QVERIFY(m_link->start({ QStringLiteral("--no-events") }));
}

void TestMenuBarFrame::cleanupTestCase()
{
    delete m_link;
    delete m_db;
}

void TestMenuBarFrame::init()
{
    setDevice(SdriverDevice);
    ComSettingsFrame::setRegister(3072, Uint16(RegisterCache::NoValue));   // no task known from an earlier case
    m_bar = new MenuBarFrame;
    m_bar->onDeviceChanged(SdriverDevice);
    m_prompts.clear();
    m_prompts.reply = Prompt::Reply();
    QTest::qWait(100);
    m_link->sim().clearLog();
}

void TestMenuBarFrame::cleanup()
{
    delete m_bar;
    m_bar = nullptr;
    Platform::setHooks(Platform::Hooks());
}

// Waits for exactly these single-register writes, in order, since the last call.
bool TestMenuBarFrame::expectWrites(const QStringList &expected)
{
    DevsimProcess &sim = m_link->sim();
    if (!QTest::qWaitFor([&] { return sim.writes().size() >= expected.size(); }, 3000))
        qWarning() << "too few writes";
    QTest::qWait(150);   // a stray write after the expected ones must show too
    const QStringList seen = sim.writes();
    sim.clearLog();
    if (seen != expected)
        qWarning() << "expected" << expected << "seen" << seen;
    return seen == expected;
}

QString TestMenuBarFrame::controlState() const
{
    QStringList texts;
    for (const char *name : { "lockCtrlButton", "unlockCtrlButton", "freeCtrlButton" })
        texts << button(name)->text();
    return texts.join('|') + '|' + QString::number(combo()->currentIndex());
}

// Steps: a click on "lock", "unlock", "free" or "clear"; "task N" as the user's pick; "read A=V" from the
// device's poll; "device N" switching the type.
void TestMenuBarFrame::controlArea_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("writes");
    QTest::addColumn<QString>("state");
    const QString idle = "Lock Start|Unlock Start|Free Start|";
    QTest::newRow("lock starts clearing the others, stops with its 0") << QStringList { "lock", "lock" }
        << QStringList { "3073=1", "3074=0", "3075=0", "3073=0" } << idle + "0";
    QTest::newRow("a running control comes back with one more 0") << QStringList { "free", "unlock" }
        << QStringList { "3075=1", "3073=0", "3074=0", "3074=1", "3073=0", "3075=0", "3075=0" }
        << "Lock Start|Unlock Stop|Free Start|0";
    QTest::newRow("clear alarm pulses") << QStringList { "clear" } << QStringList { "3084=1", "3084=0" } << idle + "0";
    QTest::newRow("task pick is written") << QStringList { "task 2" } << QStringList { "3072=2" } << idle + "2";
    // A reading acts as a press, once per change; the no-value marker is no reason to start anything.
    QTest::newRow("readings press the controls") << QStringList { "read 3074=1", "read 3074=1", "read 3073=0",
                                                                  "read 3075=43981", "read 3074=0" }
        << QStringList { "3074=1", "3073=0", "3075=0", "3074=0" } << idle + "0";
    QTest::newRow("task reading is shown, not written back") << QStringList { "read 3072=3" } << QStringList() << idle + "3";
    QTest::newRow("task without value shows the first") << QStringList { "read 3072=3", "read 3072=43981" }
        << QStringList() << idle + "0";
    QTest::newRow("task beyond the list shows none") << QStringList { "read 3072=9" } << QStringList() << idle + "-1";
    QTest::newRow("other device type: nothing written or followed")
        << QStringList { "device 1", "clear", "lock", "task 1", "read 3075=1", "read 3072=2" } << QStringList()
        << "Lock Stop|Unlock Start|Free Start|1";
}

void TestMenuBarFrame::controlArea()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, writes);
    QFETCH(QString, state);
    const QMap<QString, const char *> clicks { { "lock", "lockCtrlButton" }, { "unlock", "unlockCtrlButton" },
                                               { "free", "freeCtrlButton" }, { "clear", "clearAlarmButton" } };
    for (const QString &step : qAsConst(steps)) {
        const QString arg = step.section(' ', 1);
        if (clicks.contains(step))
            button(clicks.value(step))->click();
        else if (step.startsWith("task"))
            combo()->setCurrentIndex(arg.toInt());
        else if (step.startsWith("device"))
            setDevice(DeviceEnum(arg.toInt()));
        else
            emit m_com->realTimeAddrRead(arg.section('=', 0, 0).toInt(), arg.section('=', 1).toInt());
    }
    QVERIFY(expectWrites(writes));
    QCOMPARE(controlState(), state);
}

void TestMenuBarFrame::taskRefill_data()
{
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("device");   // -1: no value read yet
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("writes");
    QTest::newRow("same count does nothing") << 4 << 4 << 5 << 4 << QStringList();
    QTest::newRow("growing keeps the task") << 1 << 1 << 8 << 1 << QStringList();
    QTest::newRow("shrinking keeps a task still listed") << 2 << 2 << 3 << 2 << QStringList();
    QTest::newRow("shown task gone, device unknown") << 4 << -1 << 3 << 0 << QStringList();
    QTest::newRow("device on a task no longer listed") << 4 << 4 << 3 << 0 << QStringList { "3072=0" };
    QTest::newRow("device value wins over the shown one") << 0 << 2 << 3 << 2 << QStringList();
}

void TestMenuBarFrame::taskRefill()
{
    QFETCH(int, shown);
    QFETCH(int, device);
    QFETCH(int, count);
    QFETCH(int, index);
    QFETCH(QStringList, writes);
    m_bar->refreshDisplay(3072, shown);
    if (device >= 0)
        ComSettingsFrame::setRegister(3072, Uint16(device));
    QSignalSpy picks(combo(), QOverload<int>::of(&QComboBox::currentIndexChanged));

    m_bar->updateTaskComboBox(count);
    QCOMPARE(combo()->count(), count);
    QCOMPARE(combo()->itemText(count - 1), QStringLiteral("Exec Task%1").arg(count - 1));
    QCOMPARE(combo()->currentIndex(), index);
    QVERIFY(picks.isEmpty());
    QVERIFY(expectWrites(writes));
}

void TestMenuBarFrame::adminPassword_data()
{
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<bool>("told");
    QTest::newRow("right password") << true << "52917" << true << false;
    QTest::newRow("wrong password") << true << "52918" << false << true;
    QTest::newRow("surrounding blank is wrong") << true << " 52917" << false << true;
    QTest::newRow("empty entry is wrong") << true << "" << false << true;
    QTest::newRow("cancelled") << false << "52917" << false << false;
}

void TestMenuBarFrame::adminPassword()
{
    QFETCH(bool, accepted);
    QFETCH(QString, text);
    QFETCH(bool, opens);
    QFETCH(bool, told);
    m_prompts.reply.ok = accepted;
    m_prompts.reply.text = text;
    QSignalSpy ids(m_bar, &MenuBarFrame::menuClicked);
    button("servoParamBtn")->click();
    QCOMPARE(ids.count(), opens ? 1 : 0);
    QCOMPARE(m_prompts.requests.first().kind, Prompt::GetText);
    QCOMPARE(m_prompts.requests.first().echo, QLineEdit::Password);
    QVERIFY(m_prompts.requests.first().flags & Qt::WindowStaysOnTopHint);
    QCOMPARE(m_prompts.size(), told ? 2 : 1);
    if (told)
        QCOMPARE(m_prompts.last().text, QStringLiteral("密码错误！"));
}

void TestMenuBarFrame::deviceAdaptation_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QStringList>("entries");   // "-" is a separator
    QTest::addColumn<QList<int>>("sentIds");    // by triggering the entries in order
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

void TestMenuBarFrame::deviceAdaptation()
{
    QFETCH(int, device);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, entries);
    QFETCH(QList<int>, sentIds);
    const QStringList adapted { "servoParamBtn", "workWaveBtn", "appParamBtn", "appDebugBtn", "ioMonitorBtn",
                                "alarmInfoBtn", "workRecordBtn", "controlFrame" };
    setDevice(DeviceEnum(device));
    m_bar->onDeviceChanged(DeviceEnum(device));
    m_bar->onDeviceChanged(NoDevice);   // a disconnect keeps the last device's tool bar
    for (const QString &name : adapted)
        QCOMPARE(!m_bar->findChild<QWidget *>(name)->isHidden(), shown.contains(name));
    QCOMPARE(button("appParamBtn")->text(), device == 0 ? QStringLiteral("Task Plan") : QStringLiteral("App Param"));

    QStringList texts;
    QSignalSpy ids(m_bar, &MenuBarFrame::menuClicked);
    m_prompts.reply.ok = false;   // the burn tool's password prompt
    Platform::setHooks({ nullptr, nullptr, [](const QString &) { return true; } });
    for (QAction *action : optionsMenu()->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
        action->trigger();
    }
    QCOMPARE(texts, entries);
    QCOMPARE(TestLookup::firstInts(ids), sentIds);
}

void TestMenuBarFrame::pageButtons()
{
    DataSource source;
    QSignalSpy oscill(&source, &DataSource::oscillShowSignal);
    QSignalSpy ids(m_bar, &MenuBarFrame::menuClicked);
    setDevice(HighVoltServo);   // servo parameters without a password
    for (const char *name : { "comSettingBtn", "servoParamBtn", "workWaveBtn", "appParamBtn", "appDebugBtn",
                              "workRecordBtn", "alarmInfoBtn", "ioMonitorBtn" })
        button(name)->click();
    QCOMPARE(TestLookup::firstInts(ids), (QList<int> { 11, 20, 40, 30, 31, 60, 51, 50 }));
    QVERIFY(m_prompts.isEmpty());
    QCOMPARE(oscill.count(), 1);
    QCOMPARE(oscill.first().at(1).toInt(), 0);
}

void TestMenuBarFrame::burnToolAndManuals()
{
    QStringList started;
    QStringList opened;
    const QString folder = QDir::currentPath() + QStringLiteral("/WinApps/BurnTool/win-iap-ymodem/bin/Debug");
    m_prompts.reply.text = QStringLiteral("52917");
    m_bar->onBurnToolTriggered();   // not on this machine: the real call refuses and the user is told
    QCOMPARE(m_prompts.last().text, QStringLiteral("The burn tool is not installed: %1/win-iap-ymodem.exe").arg(folder));
    Platform::setHooks({ nullptr,
                         [&](const QString &program, const QStringList &args, const QString &dir) {
                             started << program << args << dir;
                             return true;
                         },
                         [&](const QString &path) {
                             opened << QFileInfo(path).fileName();
                             return true;
                         } });
    m_bar->onBurnToolTriggered();
    QCOMPARE(started, (QStringList { folder + QStringLiteral("/win-iap-ymodem.exe"), folder }));

    QTemporaryDir dir;
    const QString saved = QDir::currentPath();
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Resource/Docs")));
    QDir::setCurrent(dir.path());
    m_prompts.clear();
    m_bar->onManualTriggered();   // none there: said so
    for (const char *name : { "b.docx", "A.docx", "notes.txt" }) {
        QFile file(dir.filePath(QStringLiteral("Resource/Docs/") + QLatin1String(name)));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    m_bar->onManualTriggered();
    QDir::setCurrent(saved);
    QCOMPARE(opened, (QStringList { "A.docx", "b.docx" }));
    QCOMPARE(m_prompts.size(), 1);
}

QTEST_MAIN(TestMenuBarFrame)
#include "tst_menubarframe.moc"
