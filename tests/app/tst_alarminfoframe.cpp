#include "app/alarminfoframe.h"
#include "app/recordsearch.h"
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
#include <QThread>
#include <QtTest>
#include <cstdio>
#include <memory>

class TestAlarmInfoFrame : public QObject
{
    Q_OBJECT

    RecordTableModel *model() const { return qobject_cast<RecordTableModel *>(child<QTableView>("alarmInfosTableWidget")->model()); }
    template <class T = QPushButton> T *child(const char *name) const { return m_page->findChild<T *>(QLatin1String(name)); }
    QTableView *table() const { return child<QTableView>("alarmInfosTableWidget"); }
    QString text(int row, int column) const { return model()->index(row, column).data().toString(); }
    QStringList shownCodes() const
    {
        QStringList codes;
        for (int r = 0; r < model()->rowCount() && model()->hasRecord(r); ++r)
            codes << text(r, 0);
        return codes;
    }
    // Rows holding an alarm, wherever they are in the table.
    int filledRows() const
    {
        int n = 0;
        for (int r = 0; r < model()->rowCount(); ++r)
            n += model()->hasRecord(r);
        return n;
    }
    // Stores alarms 1..count, then reads them again as at a program start.
    void restartPage(int count = 0)
    {
        for (int i = 1; i <= count; ++i)
            QVERIFY(DatabaseManager::instance()->addAlarmRecord(i));
        m_page.reset(), DatabaseManager::resetInstance(), m_page.reset(new AlarmInfoFrame);
    }
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<ComSettingsFrame> m_com;
    std::unique_ptr<AlarmInfoFrame> m_page;
    std::unique_ptr<PromptRecorder> m_boxes;

private slots:
    void init()
    {
        m_db.reset(new TestDatabase);
        QVERIFY(m_db->isValid());
        m_com.reset(new ComSettingsFrame);
        ComSettingsFrame::setCurrentSlave(1), m_com->setDeviceType(SdriverDevice);
        m_page.reset(new AlarmInfoFrame), m_boxes.reset(new PromptRecorder);
    }
    void cleanup()
    {
        m_boxes.reset(), m_page.reset(), m_com.reset(), m_db.reset();
        ComSettingsFrame::setCurrentSlave(0), ComSettingsFrame::setCurrentDevice(NoDevice);
    }
    void appendAlarm_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("detail");   // level, name, reason, solution
        QTest::newRow("Chinese detail") << 10 << QStringList{ "警告", "滑牙", "锁付圈数超过上限而扭矩未达到", "检查螺钉与螺孔，必要时更换" };
        QTest::newRow("no detail") << 4242 << QStringList{ "undefine", "undefine", "undefine", "" };
        QTest::newRow("quotes in the solution") << 19 << QStringList{ "Warning", "Torque sensor zero drift",
            "Sensor reads above 2% of range with the bit at rest", "Unload the bit and run \"Zero calibration\" from the debugging page" };
    }
    void appendAlarm()
    {
        QFETCH(int, code);
        QFETCH(QStringList, detail);
        QCOMPARE(model()->rowCount(), 30);
        m_page->appendAlarm(code);
        QCOMPARE(model()->rowCount(), 31);
        QCOMPARE(shownCodes(), QStringList{ QString::number(code) });
        const RecordItem stored = DatabaseManager::instance()->alarmRecords().last();
        QCOMPARE(stored["number"].toString(), QString::number(code));
        QCOMPARE((QStringList{ text(0, 0), text(0, 1), text(0, 2), text(0, 3), text(0, 4), text(0, 5) }),
                 QStringList{ QString::number(code) } + detail + QStringList{ stored["time"].toString() });
        for (int c = 0; c < 6; ++c)
            QCOMPARE(model()->index(0, c).data(Qt::ToolTipRole).toString(), "Solution:\n" + detail.at(3));
        QCOMPARE(model()->index(0, 2).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
        QVERIFY(!(model()->flags(model()->index(0, 2)) & Qt::ItemIsEditable));
        QVERIFY(table()->isColumnHidden(1) && table()->isColumnHidden(4));
        QCOMPARE(QList<int>({ table()->columnWidth(0), table()->columnWidth(2), table()->columnWidth(3) }), QList<int>({ 168, 210, 280 }));
    }
    // Another program holds the file: alarms are shown at once, the page says how many wait, and
    // they are stored, and the warning goes, once the file is free.
    void alarmsWhileFileHeld()
    {
        QLabel *warning = child<QLabel>("storageWarningLabel");
        QVERIFY(warning->isHidden());
        {
            DbLocker locker(m_db->path(), "BEGIN IMMEDIATE");
            QVERIFY(locker.isOk());
            m_page->appendAlarm(11), m_page->appendAlarm(12);
            QCOMPARE(shownCodes(), (QStringList{ "12", "11" }));
            QVERIFY2(!warning->isHidden() && warning->text().startsWith(QLatin1String("2 record")), qPrintable(warning->text()));
        }
        DatabaseManager::instance()->retryStorage();
        QList<QVariantList> rows;
        QVERIFY(warning->isHidden() && TestDatabase::execOn(m_db->path(), QStringLiteral("SELECT number FROM alarm_records ORDER BY id"), {}, &rows));
        QCOMPARE(rows, (QList<QVariantList>{ { "11" }, { "12" } }));
    }
    void historyReadAgain_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("codes");   // shown and exported afterwards, newest first
        QTest::newRow("held from before the start") << "held" << QStringList{ "5", "10", "9", "8", "7", "6", "5", "4", "3", "2", "1" };
        QTest::newRow("replaced while shown") << "replaced" << QStringList{ "5", "7", "7", "7" };
    }
    // Whenever the database reads the history again, the table and its export show it whole.
    void historyReadAgain()
    {
        QFETCH(QString, how);
        QFETCH(QStringList, codes);
        for (int i = 1; i <= 10; ++i)
            QVERIFY(DatabaseManager::instance()->addAlarmRecord(i));
        m_page.reset(), DatabaseManager::resetInstance();
        std::unique_ptr<DbLocker> locker;
        if (how == QLatin1String("held"))
            QVERIFY((locker.reset(new DbLocker(m_db->path(), "BEGIN EXCLUSIVE")), locker->isOk()));
        m_page.reset(new AlarmInfoFrame);
        if (how == QLatin1String("replaced")) {
            QCOMPARE(shownCodes().size(), 10);
            const QString other = m_db->path() + QStringLiteral(".other");
            QVERIFY(QFile::copy(m_db->path(), other));
            QVERIFY(TestDatabase::execOn(other, "DELETE FROM alarm_records") && TestDatabase::execOn(other, "INSERT INTO alarm_records VALUES (0, '7', 't'), (1, '7', 't'), (2, '7', 't')"));
            QCOMPARE(std::rename(QFile::encodeName(other).constData(), QFile::encodeName(m_db->path()).constData()), 0);
        }
        m_page->appendAlarm(5);
        locker.reset();
        DatabaseManager::instance()->retryStorage();
        QCOMPARE(DatabaseManager::instance()->pendingRecords(), 0);
        QCOMPARE(shownCodes(), codes);
        QTemporaryDir dir;
        m_boxes->reply.text = dir.filePath("alarms.csv");
        child("exportAlarmButton")->click();
        QFile file(dir.filePath("alarms.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringList exported;
        for (const QByteArray &line : file.readAll().split('\n').mid(1, codes.size() + 1))
            exported << QString::fromUtf8(line).section(QLatin1Char(','), 0, 0).remove(QLatin1Char('"'));
        QCOMPARE(exported, codes + QStringList{ "" });
    }
    void shownAlarmCap()
    {
        restartPage(500);
        QCOMPARE(model()->rowCount(), 500);
        m_page->appendAlarm(7);
        for (int pass = 0; pass < 2; ++pass, restartPage())   // as appended, and as read again at the next start
            QCOMPARE(QStringList({ QString::number(model()->rowCount()), QString::number(shownCodes().size()), text(0, 0), text(0, 2), text(499, 0) }),
                     QStringList({ "500", "500", "7", "Position deviation too large", "2" }));
    }
    void search_data()
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
    void search()
    {
        QFETCH(QString, match);
        QFETCH(QStringList, codes);
        QFETCH(QList<int>, red);
        for (int code : { 1, 10, 12, 4242, 19 })
            m_page->appendAlarm(code);
        m_page->show();
        QSignalSpy finished(m_page.get(), &AlarmInfoFrame::searchFinishSigal);
        child<QLineEdit>("searchLineEdit")->setText(match);
        child("searchAlarmButton")->click();
        QVERIFY(!child("searchAlarmButton")->isChecked());
        QVERIFY(finished.wait(3000));
        QCOMPARE(shownCodes(), codes);
        QCOMPARE(filledRows(), codes.size());
        for (int r = 0; r < codes.size(); ++r)
            for (int c = 0; c < 6; ++c)
                QVERIFY2(model()->isRed(r, c) == red.contains(c), qPrintable(QStringLiteral("row %1 column %2").arg(r).arg(c)));
        // While a result is shown an alarm is stored, not shown; clearing the search brings it in.
        m_page->appendAlarm(3);
        QCOMPARE(shownCodes(), codes);
        child("clearSearchButton")->click();
        QCOMPARE(shownCodes(), (QStringList{ "3", "19", "4242", "12", "10", "1" }));
        QVERIFY(!model()->isRed(1, 0) && !model()->isRed(1, 5));
        // An empty text ends at once with an empty table, and appends show again.
        finished.clear();
        m_page->onSearchSignal(0, QString());
        QVERIFY(finished.count() == 1 && filledRows() == 0);
        m_page->appendAlarm(4);
        QCOMPARE(filledRows(), 1);
    }
    void searchWithShrinkingList()
    {
        restartPage(100);
        m_page->show();
        QSignalSpy finished(m_page.get(), &AlarmInfoFrame::searchFinishSigal);
        // The first tick only arms the search; the list then empties before the alarms are tested.
        m_page->onSearchSignal(0, "20"), m_page->searchProcess();
        QVERIFY(DatabaseManager::instance()->clearAlarmRecords());
        m_page->searchProcess();
        QVERIFY(finished.count() == 1 && shownCodes().isEmpty());
        // Clearing the search during one stops it, so it cannot write over the full history.
        for (int i = 1; i <= 100; ++i)
            QVERIFY(DatabaseManager::instance()->addAlarmRecord(i));
        m_page->onSearchSignal(0, "20"), m_page->searchProcess();
        child("clearSearchButton")->click();
        QCOMPARE(finished.count(), 2);
        QTest::qWait(50);
        QVERIFY(shownCodes().size() == 100 && text(0, 0) == "100" && !model()->isRed(0, 0));
    }
    // Each add trims the oldest alarm while a search that takes several ticks runs: every alarm is
    // listed once, newest first, down to the oldest still kept.
    void searchWhileAlarmsAreTrimmed()
    {
        restartPage(500);
        RecordTableModel model(1, [](const RecordRow &alarm, int) { return alarm.value(QStringLiteral("id")); }, {});
        QTableView view;
        view.setModel(&model);
        auto slowMatch = [](const RecordRow &, const QString &) { QThread::usleep(200); return QList<int> { 0 }; };
        RecordSearch search(&model, &view, &DatabaseManager::alarmRecords, slowMatch, 5);
        QSignalSpy finished(&search, &RecordSearch::finished);
        search.command(0, QStringLiteral("any"), true);
        int ticks = 0;
        for (search.step(); (search.step(), finished.isEmpty()); ++ticks)
            QVERIFY(DatabaseManager::instance()->addAlarmRecord(7));
        QStringList ids, expected;
        for (int r = 0; r < model.rowCount() && model.hasRecord(r); ++r)
            ids << model.cellText(r, 0);
        for (int id = 499; id >= ticks; --id)
            expected << QString::number(id);
        QVERIFY(ticks >= 2);
        QCOMPARE(ids, expected);
    }
    // UTF-8 without a byte-order mark, every field quoted, quotes doubled, the solution in and the level out.
    void exportCsv()
    {
        m_page->appendAlarm(10), m_page->appendAlarm(19);
        const RecordList &alarms = DatabaseManager::instance()->alarmRecords();
        QTemporaryDir dir;
        m_boxes->reply.text = dir.filePath("alarms");
        child("exportAlarmButton")->click();
        QCOMPARE(m_boxes->size(), 1);
        QCOMPARE(m_boxes->last().kind, Prompt::SaveFile);
        QCOMPARE(QStringList({ m_boxes->last().text, m_boxes->last().value, m_boxes->last().filter }),
                 QStringList({ "Export Alarm Record", "./", "CSV Files (*.csv)" }));
        QFile file(dir.filePath("alarms.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), (QStringLiteral("\"报警编号\",\"报警名称\",\"报警原因\",\"解决方法\",\"报警时间\"\n")
            + "\"19\",\"Torque sensor zero drift\",\"Sensor reads above 2% of range with the bit at rest\","
              "\"Unload the bit and run \"\"Zero calibration\"\" from the debugging page\",\"" + alarms.at(1)["time"].toString() + "\"\n"
            + "\"10\",\"滑牙\",\"锁付圈数超过上限而扭矩未达到\",\"检查螺钉与螺孔，必要时更换\",\"" + alarms.at(0)["time"].toString() + "\"\n").toUtf8());
        // A name that exists but is not a file.
        QVERIFY(QDir().mkpath(dir.filePath("folder.csv")));
        m_boxes->reply.text = dir.filePath("folder.csv");
        child("exportAlarmButton")->click();
        QCOMPARE(m_boxes->size(), 3);
        QCOMPARE(m_boxes->last().kind, Prompt::Warning);
        QCOMPARE(m_boxes->texts().last(), QStringLiteral("Tips: Alarm record export failed!"));
    }
    // The enable bits of register 3340 and the clear-alarm command, on the wire.
    void deviceRegisters()
    {
        DevsimLink link(m_com.get());
        QVERIFY(link.start({ "--type", "0", "--no-events", "--set", "3340=5" }, 1, DevsimLink::NoCheck));
        QCheckBox *floatLock = child<QCheckBox>("floatLockBox"), *slipTooth = child<QCheckBox>("slipToothBox");
        QVERIFY(child<QWidget>("groupBox")->isHidden());
        auto writes = [&link] { return link.sim().logLines().filter(QStringLiteral("fc=6")); };
        floatLock->setChecked(true);   // nothing read yet: a toggle writes nothing
        QTest::qWait(100);
        QCOMPARE(writes(), QStringList());
        floatLock->setChecked(false);
        m_page->show();
        QTRY_VERIFY(floatLock->isChecked() && !slipTooth->isChecked());
        QTRY_VERIFY(!m_com->variableAddrs().contains(3340));   // read once per showing
        QTest::qWait(100);
        QCOMPARE(writes(), QStringList());
        slipTooth->setChecked(true);
        floatLock->setChecked(false);   // before 3340 is read again: bit 1 must stay set
        QTRY_COMPARE(writes(), (QStringList{ "slave=1 fc=6 addr=3340 value=7", "slave=1 fc=6 addr=3340 value=6" }));
        link.sim().clearLog();
        child("clearAlarmButton")->click();
        QTRY_COMPARE(writes(), (QStringList{ "slave=1 fc=6 addr=3084 value=1", "slave=1 fc=6 addr=3084 value=0" }));
        m_page->hide();
    }
    // The simulated controller raises alarms now and then; each code it raises has a detail row.
    void alarmFromDevsim()
    {
        DevsimLink link(m_com.get());
        QVERIFY(link.start({ "--type", "0", "--event-interval", "200" }, 1, DevsimLink::NoCheck));
        const QList<int> addrs { int(ComSettingsFrame::addrMap(24)) };
        QCOMPARE(addrs.first(), 3337);
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
};

QTEST_MAIN(TestAlarmInfoFrame)
#include "tst_alarminfoframe.moc"
