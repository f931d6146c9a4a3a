#include "app/alarminfoframe.h"
#include "app/recordtablemodel.h"
#include "comm/comsettingsframe.h"
#include "data/databasemanager.h"
#include "support/dblocker.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"
#include "widgets/prompt.h"

#include <QCheckBox>
#include <QLabel>
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
    void alarmsWhileFileHeld();
    void search_data();
    void search();
    void searchWithShrinkingList();
    void exportCsv();
    void deviceRegisters();
    void alarmFromDevsim();

private:
    RecordTableModel *model() const { return qobject_cast<RecordTableModel *>(table()->model()); }
    QTableView *table() const { return m_page->findChild<QTableView *>(QStringLiteral("alarmInfosTableWidget")); }
    QPushButton *button(const char *name) const { return m_page->findChild<QPushButton *>(QLatin1String(name)); }
    int filledRows() const;
    QString text(int row, int column) const { return model()->index(row, column).data().toString(); }
    // Stores alarms 1..count, then reads them again as at a program start.
    void restartPage(int count = 0);

    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<ComSettingsFrame> m_com;
    std::unique_ptr<AlarmInfoFrame> m_page;
    std::unique_ptr<PromptRecorder> m_boxes;
};

void TestAlarmInfoFrame::init()
{
    m_db.reset(new TestDatabase);
    QVERIFY(m_db->isValid());
    m_com.reset(new ComSettingsFrame);
    ComSettingsFrame::setCurrentSlave(1);
    m_com->setDeviceType(SdriverDevice);
    m_page.reset(new AlarmInfoFrame);
    m_boxes.reset(new PromptRecorder);
}

void TestAlarmInfoFrame::cleanup()
{
    m_boxes.reset();
    m_page.reset();
    m_com.reset();
    m_db.reset();
    ComSettingsFrame::setCurrentSlave(0);
    ComSettingsFrame::setCurrentDevice(NoDevice);
}

int TestAlarmInfoFrame::filledRows() const
{
    int n = 0;
    for (int r = 0; r < model()->rowCount(); ++r)
        n += model()->hasRecord(r);
    return n;
}

void TestAlarmInfoFrame::restartPage(int count)
{
    for (int i = 1; i <= count; ++i)
        QVERIFY(DatabaseManager::instance()->addAlarmRecord(i));
    m_page.reset();
    DatabaseManager::resetInstance();
    m_page.reset(new AlarmInfoFrame);
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
    QCOMPARE(model()->index(0, 5).data(Qt::ToolTipRole).toString(), "Solution:\n" + detail.at(3));
    QVERIFY(table()->isColumnHidden(1) && table()->isColumnHidden(4));
}

// Another program holds the file: alarms are shown at once, the page says how many wait, and
// they are stored, and the warning goes, once the file is free.
void TestAlarmInfoFrame::alarmsWhileFileHeld()
{
    QLabel *warning = m_page->findChild<QLabel *>(QStringLiteral("storageWarningLabel"));
    QVERIFY(warning->isHidden());
    {
        DbLocker locker(m_db->path(), "BEGIN IMMEDIATE");
        QVERIFY(locker.isOk());
        m_page->appendAlarm(11);
        m_page->appendAlarm(12);
        QCOMPARE(filledRows(), 2);
        QCOMPARE(text(0, 0), QStringLiteral("12"));
        QVERIFY(!warning->isHidden());
        QVERIFY2(warning->text().startsWith(QLatin1String("2 record")), qPrintable(warning->text()));
    }
    DatabaseManager::instance()->retryStorage();
    QVERIFY(warning->isHidden());
    QList<QVariantList> rows;
    QVERIFY(TestDatabase::execOn(m_db->path(), QStringLiteral("SELECT number FROM alarm_records ORDER BY id"), {}, &rows));
    QCOMPARE(rows, (QList<QVariantList>{ { "11" }, { "12" } }));
}

void TestAlarmInfoFrame::shownAlarmCap()
{
    restartPage(500);
    QCOMPARE(model()->rowCount(), 500);
    m_page->appendAlarm(7);
    // Twice: as appended, and as read again at the next start.
    for (int pass = 0; pass < 2; ++pass) {
        QCOMPARE(model()->rowCount(), 500);
        QCOMPARE(filledRows(), 500);
        QCOMPARE(text(0, 0) + " " + text(0, 2), QStringLiteral("7 Position deviation too large"));
        QCOMPARE(text(499, 0), QStringLiteral("2"));   // the oldest one dropped off
        restartPage();
    }
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
    QSignalSpy finished(m_page.get(), &AlarmInfoFrame::searchFinishSigal);
    m_page->findChild<QLineEdit *>(QStringLiteral("searchLineEdit"))->setText(match);
    button("searchAlarmButton")->click();
    QVERIFY(!button("searchAlarmButton")->isChecked());
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
    button("clearSearchButton")->click();
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
    restartPage(100);
    m_page->show();
    QSignalSpy finished(m_page.get(), &AlarmInfoFrame::searchFinishSigal);
    // The first tick only arms the search; the list then empties before the alarms are tested.
    m_page->onSearchSignal(0, "20");
    m_page->searchProcess();
    QVERIFY(DatabaseManager::instance()->clearAlarmRecords());
    m_page->searchProcess();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(filledRows(), 0);

    // "清除查找" during a search stops it, so it cannot write over the full history.
    for (int i = 1; i <= 100; ++i)
        QVERIFY(DatabaseManager::instance()->addAlarmRecord(i));
    m_page->onSearchSignal(0, "20");
    m_page->searchProcess();
    button("clearSearchButton")->click();
    QCOMPARE(finished.count(), 2);
    QTest::qWait(50);
    QCOMPARE(filledRows(), 100);
    QCOMPARE(text(0, 0), QStringLiteral("100"));
    QVERIFY(!model()->isRed(0, 0));
}

// UTF-8 without a byte-order mark, every field quoted, quotes doubled, the solution in and the level out.
void TestAlarmInfoFrame::exportCsv()
{
    m_page->appendAlarm(10);
    m_page->appendAlarm(19);
    const RecordList &alarms = DatabaseManager::instance()->alarmRecords();
    QTemporaryDir dir;
    m_boxes->reply.text = dir.filePath("alarms");
    button("exportAlarmButton")->click();
    QCOMPARE(m_boxes->size(), 1);
    QCOMPARE(m_boxes->last().kind, Prompt::SaveFile);
    QCOMPARE(m_boxes->last().text + " " + m_boxes->last().filter, QStringLiteral("Export Alarm Record CSV Files (*.csv)"));

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
    button("exportAlarmButton")->click();
    QCOMPARE(m_boxes->size(), 3);
    QCOMPARE(m_boxes->last().kind, Prompt::Warning);
    QCOMPARE(m_boxes->texts().last(), QStringLiteral("Tips: Alarm record export failed!"));
}

// The enable bits of register 3340 and the clear-alarm command, on the wire.
void TestAlarmInfoFrame::deviceRegisters()
{
    DevsimLink link(m_com.get());
    QVERIFY(link.start({ "--type", "0", "--no-events", "--set", "3340=5" }, 1, DevsimLink::NoCheck));
    QCheckBox *floatLock = m_page->findChild<QCheckBox *>(QStringLiteral("floatLockBox"));
    QCheckBox *slipTooth = m_page->findChild<QCheckBox *>(QStringLiteral("slipToothBox"));
    auto writes = [&link] { return link.sim().logLines().filter(QStringLiteral("fc=6")); };

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

    link.sim().clearLog();
    button("clearAlarmButton")->click();
    QTRY_COMPARE(writes(), (QStringList{ "slave=1 fc=6 addr=3084 value=1", "slave=1 fc=6 addr=3084 value=0" }));
    m_page->hide();
}

// The simulated controller raises alarms now and then; each code it raises has a detail row.
void TestAlarmInfoFrame::alarmFromDevsim()
{
    DevsimLink link(m_com.get());
    QVERIFY(link.start({ "--type", "0", "--event-interval", "200" }, 1, DevsimLink::NoCheck));
    const QList<int> addrs { int(ComSettingsFrame::addrMap(24)) };
    m_com->addVariableAddrs(&addrs);
    QList<int> codes;
    connect(m_com.get(), &ComSettingsFrame::variableAddrRead, this, [&](int addr, int val) {
        if (addr == addrs.first() && val != 0 && !codes.contains(val))
            codes << val;
    });
    QVERIFY(QTest::qWaitFor([&] { return codes.size() >= 2; }, 20000));
    m_com->removeVariableAddrs(&addrs);
    for (int code : qAsConst(codes))
        m_page->appendAlarm(code);
    QCOMPARE(filledRows(), codes.size());
    for (int r = 0; r < codes.size(); ++r)
        QVERIFY2(text(r, 2) != QLatin1String("undefine"), qPrintable(text(r, 0)));
}

QTEST_MAIN(TestAlarmInfoFrame)
#include "tst_alarminfoframe.moc"
