#include "app/alarminfoframe.h"
#include "app/recordtablemodel.h"
#include "comm/comsettingsframe.h"
#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "support/devsimprocess.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"
#include "widgets/prompt.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// The alarm page: alarms with their details, the 500 cap, search, export and the device registers.
class TestAlarmInfoFrame : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void appendAlarm_data();
    void appendAlarm();
    void shownAlarmCap();
    void search_data();
    void search();
    void searchWithShrinkingList();
    void exportCsv();
    void deviceRegisters();
    void alarmFromDevsim();

private:
    RecordTableModel *model() const;
    QTableView *table() const { return m_page->findChild<QTableView *>(QStringLiteral("alarmInfosTableWidget")); }
    int filledRows() const;
    QString text(int row, int column) const { return model()->index(row, column).data().toString(); }
    bool connectToSim(DevsimProcess &sim, const QStringList &args);
    void restartPage();

    TestDatabase *m_db = nullptr;
    ComSettingsFrame *m_com = nullptr;
    AlarmInfoFrame *m_page = nullptr;
    std::unique_ptr<PromptRecorder> m_boxes;
};

void TestAlarmInfoFrame::init()
{
    m_db = new TestDatabase;
    QVERIFY(m_db->isValid());
    m_com = new ComSettingsFrame;
    ComSettingsFrame::setCurrentSlave(1);
    m_com->setDeviceType(SdriverDevice);
    m_page = new AlarmInfoFrame;
    m_boxes.reset(new PromptRecorder);
}

void TestAlarmInfoFrame::cleanup()
{
    m_boxes.reset();
    delete m_page;
    m_page = nullptr;
    delete m_com;
    m_com = nullptr;
    delete m_db;
    m_db = nullptr;
    ComSettingsFrame::setCurrentSlave(0);
    ComSettingsFrame::setCurrentDevice(NoDevice);
}

RecordTableModel *TestAlarmInfoFrame::model() const
{
    return qobject_cast<RecordTableModel *>(table()->model());
}

int TestAlarmInfoFrame::filledRows() const
{
    int n = 0;
    for (int r = 0; r < model()->rowCount(); ++r)
        n += model()->hasRecord(r);
    return n;
}

// As at a program start: the page reads the stored alarms again.
void TestAlarmInfoFrame::restartPage()
{
    delete m_page;
    DatabaseManager::resetInstance();
    m_page = new AlarmInfoFrame;
}

bool TestAlarmInfoFrame::connectToSim(DevsimProcess &sim, const QStringList &args)
{
    if (!sim.start(QStringList{ "--type", "0" } + args))
        return false;
    CommonUtils::saveConfigVal(1, QStringLiteral("ConnectWay"), QStringLiteral("0"));
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceAddr"), QStringLiteral("1"));
    CommonUtils::saveConfigVal(1, QStringLiteral("DevCheckBox"), QStringLiteral("0"));
    CommonUtils::saveConfigVal(3, QStringLiteral("RemoteIp"), QStringLiteral("127.0.0.1"));
    CommonUtils::saveConfigVal(3, QStringLiteral("RemotePort"), QString::number(sim.port()));
    m_com->loadSettings();
    m_com->setDeviceType(SdriverDevice);
    m_com->connectDevice();
    return QTest::qWaitFor([this] { return m_com->isConnected(); }, 5000);
}

void TestAlarmInfoFrame::appendAlarm_data()
{
    QTest::addColumn<int>("code");
    QTest::addColumn<QStringList>("detail");   // level, name, reason, solution
    QTest::newRow("Chinese detail") << 10
        << QStringList{ "警告", "滑牙", "锁付圈数超过上限而扭矩未达到", "检查螺钉与螺孔，必要时更换" };
    QTest::newRow("no detail") << 4242 << QStringList{ "undefine", "undefine", "undefine", "" };
    QTest::newRow("quotes in the solution") << 19
        << QStringList{ "Warning", "Torque sensor zero drift", "Sensor reads above 2% of range with the bit at rest",
                        "Unload the bit and run \"Zero calibration\" from the debugging page" };
}

void TestAlarmInfoFrame::appendAlarm()
{
    QFETCH(int, code);
    QFETCH(QStringList, detail);
    QCOMPARE(model()->rowCount(), 30);
    m_page->appendAlarm(code);
    QCOMPARE(model()->rowCount(), 31);
    QCOMPARE(filledRows(), 1);
    const RecordItem stored = DatabaseManager::instance()->alarmRecords().last();
    QCOMPARE(stored["number"].toString(), QString::number(code));
    QCOMPARE((QStringList{ text(0, 0), text(0, 1), text(0, 2), text(0, 3), text(0, 4), text(0, 5) }),
             QStringList{ QString::number(code) } + detail + QStringList{ stored["time"].toString() });
    for (int c = 0; c < 6; ++c)
        QCOMPARE(model()->index(0, c).data(Qt::ToolTipRole).toString(), "Solution:\n" + detail.at(3));
    QCOMPARE(model()->index(0, 2).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
    QVERIFY(!(model()->flags(model()->index(0, 2)) & Qt::ItemIsEditable));

    QVERIFY(table()->isColumnHidden(1));
    QVERIFY(table()->isColumnHidden(4));
    QCOMPARE(table()->columnWidth(0), 168);
    QCOMPARE(table()->columnWidth(2), 210);
    QCOMPARE(table()->columnWidth(3), 280);
}

void TestAlarmInfoFrame::shownAlarmCap()
{
    DatabaseManager *db = DatabaseManager::instance();
    for (int i = 0; i < 500; ++i)
        QVERIFY(db->addAlarmRecord(100 + i));
    restartPage();
    QCOMPARE(model()->rowCount(), 500);
    QCOMPARE(filledRows(), 500);

    m_page->appendAlarm(7);
    QCOMPARE(model()->rowCount(), 500);
    QCOMPARE(filledRows(), 500);
    QCOMPARE(text(0, 0), QStringLiteral("7"));
    QCOMPARE(text(0, 2), QStringLiteral("Position deviation too large"));
    QCOMPARE(text(499, 0), QStringLiteral("101"));   // the oldest one dropped off

    restartPage();
    QCOMPARE(filledRows(), 500);
    QCOMPARE(text(0, 0), QStringLiteral("7"));
    QCOMPARE(text(499, 0), QStringLiteral("101"));
}

void TestAlarmInfoFrame::search_data()
{
    QTest::addColumn<QString>("match");
    QTest::addColumn<QStringList>("codes");     // newest first
    QTest::addColumn<QList<int>>("red");        // the same cells for every row
    QTest::newRow("name") << "Overcurrent" << QStringList{ "1" } << QList<int>{ 2 };
    QTest::newRow("reason, newest first") << "未达到" << QStringList{ "12", "10" } << QList<int>{ 3 };
    QTest::newRow("name and reason of a code without detail") << "undefine" << QStringList{ "4242" } << QList<int>{ 2, 3 };
    QTest::newRow("number") << "424" << QStringList{ "4242" } << QList<int>{ 0 };
    QTest::newRow("time") << "20" << QStringList{ "19", "4242", "12", "10", "1" } << QList<int>{ 5 };
    QTest::newRow("level is not searched") << "警告" << QStringList{} << QList<int>{};
    QTest::newRow("solution is not searched") << "必要时更换" << QStringList{} << QList<int>{};
}

void TestAlarmInfoFrame::search()
{
    QFETCH(QString, match);
    QFETCH(QStringList, codes);
    QFETCH(QList<int>, red);
    for (int code : { 1, 10, 12, 4242, 19 })
        m_page->appendAlarm(code);
    m_page->show();
    QSignalSpy finished(m_page, &AlarmInfoFrame::searchFinishSigal);
    m_page->findChild<QLineEdit *>(QStringLiteral("searchLineEdit"))->setText(match);
    QPushButton *searchButton = m_page->findChild<QPushButton *>(QStringLiteral("searchAlarmButton"));
    searchButton->click();
    QVERIFY(!searchButton->isChecked());
    QVERIFY(finished.wait(3000));

    QCOMPARE(filledRows(), codes.size());
    for (int r = 0; r < codes.size(); ++r) {
        QCOMPARE(text(r, 0), codes.at(r));
        for (int c = 0; c < 6; ++c)
            QVERIFY2(model()->isRed(r, c) == red.contains(c), qPrintable(QStringLiteral("row %1 column %2").arg(r).arg(c)));
    }

    // While a result is shown an alarm is stored, not shown; clearing the search brings it in.
    m_page->appendAlarm(3);
    QCOMPARE(filledRows(), codes.size());
    m_page->findChild<QPushButton *>(QStringLiteral("clearSearchButton"))->click();
    QCOMPARE(filledRows(), 6);
    QCOMPARE(text(0, 0), QStringLiteral("3"));
    QVERIFY(!model()->isRed(1, 0) && !model()->isRed(1, 5));

    // An empty text ends at once with an empty table, and appends show again.
    finished.clear();
    m_page->onSearchSignal(0, QString());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(filledRows(), 0);
    m_page->appendAlarm(4);
    QCOMPARE(filledRows(), 1);
}

void TestAlarmInfoFrame::searchWithShrinkingList()
{
    for (int i = 0; i < 100; ++i)
        QVERIFY(DatabaseManager::instance()->addAlarmRecord(i + 1));
    restartPage();
    m_page->show();
    QSignalSpy finished(m_page, &AlarmInfoFrame::searchFinishSigal);
    // The first tick only arms the search; the list then empties before the alarms are tested.
    m_page->onSearchSignal(0, "20");
    m_page->searchProcess();
    QVERIFY(DatabaseManager::instance()->clearAlarmRecords());
    m_page->searchProcess();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(filledRows(), 0);

    // "清除查找" during a search stops it, so it cannot write over the full history.
    for (int i = 0; i < 100; ++i)
        QVERIFY(DatabaseManager::instance()->addAlarmRecord(i + 1));
    finished.clear();
    m_page->onSearchSignal(0, "20");
    m_page->searchProcess();
    m_page->findChild<QPushButton *>(QStringLiteral("clearSearchButton"))->click();
    QCOMPARE(finished.count(), 1);
    QTest::qWait(50);
    QCOMPARE(filledRows(), 100);
    QCOMPARE(text(0, 0), QStringLiteral("100"));
    QVERIFY(!model()->isRed(0, 0));
}

void TestAlarmInfoFrame::exportCsv()
{
    m_page->appendAlarm(10);
    m_page->appendAlarm(19);
    const RecordList &alarms = DatabaseManager::instance()->alarmRecords();
    QTemporaryDir dir;
    m_boxes->reply.text = dir.filePath("alarms");
    m_page->findChild<QPushButton *>(QStringLiteral("exportAlarmButton"))->click();
    QCOMPARE(m_boxes->requests.size(), 1);
    QCOMPARE(m_boxes->requests.first().kind, Prompt::SaveFile);
    QCOMPARE(m_boxes->requests.first().text, QStringLiteral("Export Alarm Record"));
    QCOMPARE(m_boxes->requests.first().value, QStringLiteral("./"));
    QCOMPARE(m_boxes->requests.first().filter, QStringLiteral("CSV Files (*.csv)"));

    QFile file(dir.filePath("alarms.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString expected = QStringLiteral("\"报警编号\",\"报警名称\",\"报警原因\",\"解决方法\",\"报警时间\"\n")
        + "\"19\",\"Torque sensor zero drift\",\"Sensor reads above 2% of range with the bit at rest\","
          "\"Unload the bit and run \"\"Zero calibration\"\" from the debugging page\",\"" + alarms.at(1)["time"].toString() + "\"\n"
        + "\"10\",\"滑牙\",\"锁付圈数超过上限而扭矩未达到\",\"检查螺钉与螺孔，必要时更换\",\"" + alarms.at(0)["time"].toString() + "\"\n";
    QCOMPARE(file.readAll(), expected.toUtf8());

    // A name that exists but is not a file.
    QVERIFY(QDir().mkpath(dir.filePath("folder.csv")));
    m_boxes->reply.text = dir.filePath("folder.csv");
    m_page->findChild<QPushButton *>(QStringLiteral("exportAlarmButton"))->click();
    QCOMPARE(m_boxes->requests.size(), 3);
    QCOMPARE(m_boxes->requests.last().kind, Prompt::Warning);
    QCOMPARE(m_boxes->requests.last().title, QStringLiteral("Tips"));
    QCOMPARE(m_boxes->requests.last().text, QStringLiteral("Alarm record export failed!"));
}

// The enable bits of register 3340 and the clear-alarm command, on the wire.
void TestAlarmInfoFrame::deviceRegisters()
{
    DevsimProcess sim;
    QVERIFY(connectToSim(sim, { "--no-events", "--set", "3340=5" }));
    QCheckBox *floatLock = m_page->findChild<QCheckBox *>(QStringLiteral("floatLockBox"));
    QCheckBox *slipTooth = m_page->findChild<QCheckBox *>(QStringLiteral("slipToothBox"));
    QVERIFY(m_page->findChild<QWidget *>(QStringLiteral("groupBox"))->isHidden());
    auto writes = [&sim] { return sim.logLines().filter(QStringLiteral("fc=6")); };

    // Nothing read yet: a toggle writes nothing.
    floatLock->setChecked(true);
    QTest::qWait(100);
    QCOMPARE(writes(), QStringList());
    floatLock->setChecked(false);

    m_page->show();
    QTRY_VERIFY(floatLock->isChecked());
    QVERIFY(!slipTooth->isChecked());
    QTRY_VERIFY(!m_com->variableAddrs().contains(3340));   // read once per showing
    QTest::qWait(100);
    QCOMPARE(writes(), QStringList());

    slipTooth->setChecked(true);
    floatLock->setChecked(false);   // before 3340 is read again: bit 1 must stay set
    QTRY_COMPARE(writes(), (QStringList{ "slave=1 fc=6 addr=3340 value=7", "slave=1 fc=6 addr=3340 value=6" }));

    sim.clearLog();
    m_page->findChild<QPushButton *>(QStringLiteral("clearAlarmButton"))->click();
    QTRY_COMPARE(writes(), (QStringList{ "slave=1 fc=6 addr=3084 value=1", "slave=1 fc=6 addr=3084 value=0" }));
    m_page->hide();
    m_com->disconnectDevice();
}

// The simulated controller raises alarms now and then; each code it raises has a detail row.
void TestAlarmInfoFrame::alarmFromDevsim()
{
    DevsimProcess sim;
    QVERIFY(connectToSim(sim, { "--event-interval", "200" }));
    const QList<int> addrs { int(ComSettingsFrame::addrMap(24)) };
    QCOMPARE(addrs.first(), 3337);
    m_com->addVariableAddrs(&addrs);
    QList<int> codes;
    connect(m_com, &ComSettingsFrame::variableAddrRead, this, [&](int addr, int val) {
        if (addr == 3337 && val != 0 && !codes.contains(val))
            codes << val;
    });
    QVERIFY(QTest::qWaitFor([&] { return codes.size() >= 2; }, 20000));
    m_com->removeVariableAddrs(&addrs);
    for (int code : qAsConst(codes))
        m_page->appendAlarm(code);
    QCOMPARE(filledRows(), codes.size());
    for (int r = 0; r < codes.size(); ++r)
        QVERIFY2(text(r, 2) != QLatin1String("undefine"), qPrintable(text(r, 0)));
    m_com->disconnectDevice();
}

QTEST_MAIN(TestAlarmInfoFrame)
#include "tst_alarminfoframe.moc"
