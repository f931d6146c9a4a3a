#include "app/paramunit.h"
#include "app/recordtablemodel.h"
#include "app/workrecordframe.h"
#include "comm/comsettingsframe.h"
#include "data/databasemanager.h"
#include "support/dblocker.h"
#include "support/devsimlink.h"
#include "support/filesizelimit.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"
#include "widgets/prompt.h"
#include "workrecordrows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSemaphore>
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

namespace {
const QString kTimeFormat = QStringLiteral("yyyy/MM/dd hh:mm:ss");

// The cached registers appendRecord() reads: task, turns, torque, used time, lock status, alarm.
void setCache(const QList<int> &values)
{
    for (int i = 0, addrs[] = { 3072, 3076, 3079, 3077, 3336, 3337 }; i < 6; ++i)
        ComSettingsFrame::setRegister(Uint16(addrs[i]), Uint16(values.at(i)));
}

QVector<RecordItem> manyRows(int n)
{
    QVector<RecordItem> rows;
    while (rows.size() < n)
        rows << workRecordRow(rows.size(), "Task0", "OK", "2024/05/01 08:00:00");
    return rows;
}
} // namespace

class TestWorkRecordFrame : public QObject
{
    Q_OBJECT

    RecordTableModel *model() const { return qobject_cast<RecordTableModel *>(child<QTableView>("workRecordTableWidget")->model()); }
    template <class T = QPushButton> T *child(const char *name) const { return m_page->findChild<T *>(QLatin1String(name)); }
    void append(int status) { setCache({ 1, 100, 1000, 100, status, 0 }), m_page->appendRecord(); }
    void storeRows(const QVector<RecordItem> &rows) { QVERIFY(insertWorkRecords(m_db->path(), rows)); setDevice(SdriverDevice); }
    // Selects the device type and waits until the page has been given the records it reads.
    void setDevice(DeviceEnum type)
    {
        QSignalSpy read(DatabaseManager::instance(), &DatabaseManager::workRecordsRead);
        m_com->setDeviceType(type);
        QVERIFY(!DatabaseManager::instance()->isReadingWorkRecords() || read.wait(20000));
    }
    void setTorqueUnit(int unit) { setUnitIndex(QStringLiteral("torque"), unit), m_page->onParamUnitChanged(); }

    QStringList shownIds() const
    {
        QStringList ids;
        for (int r = 0; r < model()->rowCount() && model()->hasRecord(r); ++r)
            ids << model()->cellText(r, 0);
        return ids;
    }
    // Rows holding a record, wherever they are in the table.
    int filledRows() const
    {
        int n = 0;
        for (int r = 0; r < model()->rowCount(); ++r)
            n += model()->hasRecord(r);
        return n;
    }
    // As at a program start: the page and the database manager read the file again.
    void restartPage()
    {
        m_page.reset(), DatabaseManager::resetInstance(), m_page.reset(new WorkRecordFrame), m_page->show();
        connect(m_com.get(), &ComSettingsFrame::devChangedSignal, DatabaseManager::instance(), &DatabaseManager::onDeviceChanged);
        connect(DatabaseManager::instance(), &DatabaseManager::devChangedSignal, m_page.get(), &WorkRecordFrame::onDeviceChanged);
        setDevice(SdriverDevice);
    }
    QStringList counterTexts(int n = 3) const
    {
        QStringList texts;
        for (int i = 1; i <= n; ++i)
            texts << m_page->findChild<QLabel *>(QStringLiteral("dataCnt%1Lable").arg(i))->text();
        return texts;
    }
    // Red cells of the shown rows, one list of columns a row.
    QList<QList<int>> redCells() const
    {
        QList<QList<int>> red;
        for (int r = 0; r < shownIds().size(); ++r) {
            red << QList<int>();
            for (int c = 0; c < 8; ++c)
                red.last() << (model()->isRed(r, c) ? QList<int>{ c } : QList<int>());
        }
        return red;
    }
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<ComSettingsFrame> m_com;
    std::unique_ptr<WorkRecordFrame> m_page;
    std::unique_ptr<PromptRecorder> m_boxes;

private slots:
    void init()
    {
        m_db.reset(new TestDatabase);
        QVERIFY(m_db->isValid());
        clearUnitTable(), initUnitTable();
        m_com.reset(new ComSettingsFrame), m_page.reset(new WorkRecordFrame), m_boxes.reset(new PromptRecorder);
        m_page->show();   // a hidden page fills its table only once it is shown
        connect(m_com.get(), &ComSettingsFrame::devChangedSignal, DatabaseManager::instance(), &DatabaseManager::onDeviceChanged);
        connect(DatabaseManager::instance(), &DatabaseManager::devChangedSignal, m_page.get(), &WorkRecordFrame::onDeviceChanged);
        ComSettingsFrame::setCurrentSlave(1), setDevice(SdriverDevice);
    }
    void cleanup()
    {
        m_boxes.reset(), m_page.reset(), m_com.reset(), m_db.reset();
        ComSettingsFrame::setCurrentSlave(0), ComSettingsFrame::setCurrentDevice(NoDevice);
    }
    void recordFields_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QList<int>>("registers");   // task, turns, torque, used time, status, alarm
        QTest::addColumn<QStringList>("stored");     // task, turns, torque, usedTime, status, alarm
        QTest::addColumn<QStringList>("shown");      // columns 1 to 5 and 7
        QTest::newRow("N·m, OK, no alarm") << 0 << QList<int>{ 1, 850, 1500, 1234, 0x0001, 0 }
            << QStringList{ "Task1", "8.5", "1.500", "1.234", "OK", "0" } << QStringList{ "Task1", "8.5", "1.500", "1.234", "OK", "No Alarm" };
        QTest::newRow("mN·m torque is stored in N·m") << 1 << QList<int>{ 0, 600, 1500, 900, 0x0001, 0 }
            << QStringList{ "Task0", "6", "1.500", "0.9", "OK", "0" } << QStringList{ "Task0", "6", "1500", "0.9", "OK", "No Alarm" };
        QTest::newRow("turns are signed, slip alarm named") << 0 << QList<int>{ 4, 0xFFFF, 450, 1234, 0x000A, 10 }
            << QStringList{ "Task4", "-0.01", "0.450", "1.234", "Slip", "10" } << QStringList{ "Task4", "-0.01", "0.450", "1.234", "Slip", "滑牙" };
        QTest::newRow("kgf·cm") << 2 << QList<int>{ 2, 700, 1530, 2000, 0x0001, 0 }
            << QStringList{ "Task2", "7", "1.500", "2", "OK", "0" } << QStringList{ "Task2", "7", "15.30", "2", "OK", "No Alarm" };
        QTest::newRow("ibf·in") << 3 << QList<int>{ 3, 700, 1328, 2000, 0x0001, 0 }
            << QStringList{ "Task3", "7", "1.500", "2", "OK", "0" } << QStringList{ "Task3", "7", "13.28", "2", "OK", "No Alarm" };
        QTest::newRow("float, alarm without a detail") << 0 << QList<int>{ 0, 300, 1600, 800, 0x000C, 999 }
            << QStringList{ "Task0", "3", "1.600", "0.8", "Float", "999" } << QStringList{ "Task0", "3", "1.600", "0.8", "Float", "undefine" };
        QTest::newRow("unit without an entry counts as N·m") << 7 << QList<int>{ 1, 100, 2500, 100, 0x0001, 0 }
            << QStringList{ "Task1", "1", "2.500", "0.1", "OK", "0" } << QStringList{ "Task1", "1", "2.500", "0.1", "OK", "No Alarm" };
        // A task or lock status without a text stores nothing.
        QTest::newRow("lock status 0x000B") << 0 << QList<int>{ 1, 100, 1000, 100, 0x000B, 0 } << QStringList() << QStringList();
        QTest::newRow("task 5") << 0 << QList<int>{ 5, 100, 1000, 100, 0x0001, 0 } << QStringList() << QStringList();
        QTest::newRow("no cached status") << 0 << QList<int>{ 1, 100, 1000, 100, 0xABCD, 0 } << QStringList() << QStringList();
    }
    void recordFields()
    {
        QFETCH(int, unit);
        QFETCH(QList<int>, registers);
        QFETCH(QStringList, stored);
        QFETCH(QStringList, shown);
        setTorqueUnit(unit), setCache(registers), m_page->appendRecord();
        const RecordList &records = DatabaseManager::instance()->workRecords();
        QCOMPARE(records.size(), stored.isEmpty() ? 0 : 1);
        if (stored.isEmpty()) {
            QCOMPARE(counterTexts() << QString::number(filledRows()), (QStringList{ "0", "0", "0", "0" }));
            return;
        }
        QStringList storedTexts, row;
        for (const char *key : { "id", "task", "turns", "torque", "usedTime", "status", "alarm" })
            storedTexts << records.first()[key].toString();
        for (int c : { 0, 1, 2, 3, 4, 5, 7, 6 })
            row << model()->index(0, c).data().toString();
        QCOMPARE(storedTexts + row, QStringList{ "0" } + stored + QStringList{ "0" } + shown + QStringList{ records.first()["time"].toString() });
        QVERIFY(QDateTime::fromString(row.last(), kTimeFormat).secsTo(QDateTime::currentDateTime()) < 5);
        QCOMPARE(model()->index(0, 3).data(Qt::ToolTipRole).toString(), QStringLiteral("none"));
        QCOMPARE(model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Lock Torque"));
    }
    void counters()
    {
        DatabaseManager *db = DatabaseManager::instance();
        QVERIFY(db->saveKeyValue("Sdriver_LockTotalCount", "77") && db->saveKeyValue("Sdriver_LockSuccessCount", "5"));
        setDevice(SdriverDevice);
        QCOMPARE(counterTexts(4), (QStringList{ "5", "0", "0", "77" }));
        QVERIFY(!child<QLabel>("dataCnt3Lable")->isHidden() && child<QLabel>("dataCnt4Lable")->isHidden());
        QCOMPARE(child<QLabel>("dataCnt1Name")->text(), QStringLiteral("Lock Success"));
        for (int status : { 0x0001, 0x000A, 0x0001, 0x000C, 0x0000 })
            append(status);
        auto stored = [] {
            QStringList values;
            for (const char *key : { "Success", "Failure", "Finish", "Total" })
                values << DatabaseManager::instance()->takeKeyValue(QStringLiteral("Sdriver_Lock%1Count").arg(key), "x");
            return values;
        };
        QCOMPARE(counterTexts(4) + stored(), (QStringList{ "7", "3", "5", "77", "7", "3", "5", "77" }));
        restartPage();   // they survive a restart
        db = DatabaseManager::instance();
        QCOMPARE(counterTexts() << QString::number(filledRows()), (QStringList{ "7", "3", "5", "5" }));
        child("clearCntButton")->click();   // clearing the counters keeps the records
        QCOMPARE(counterTexts(4) + stored() << QString::number(shownIds().size()), (QStringList{ "0", "0", "0", "77", "0", "0", "0", "77", "5" }));

        // Held by another program: the counters wait with their records, and a value saved
        // later is not overwritten by the older one that waited.
        {
            DbLocker locker(m_db->path(), "BEGIN IMMEDIATE");
            QVERIFY(locker.isOk());
            append(0x0001), append(0x000A);
            QCOMPARE(counterTexts(3) + stored().mid(0, 3) << QString::number(db->pendingWorkRecords()), (QStringList{ "1", "1", "2", "1", "1", "2", "2" }));
        }
        QVERIFY(db->saveKeyValue("Sdriver_LockFailureCount", "9"));
        db->retryStorage();
        QList<QVariantList> rows;
        QVERIFY(TestDatabase::execOn(m_db->path(), "SELECT (SELECT count(*) FROM workRecords_sdriver), group_concat(value) "
                                     "FROM (SELECT value FROM keyvalue_table WHERE key LIKE 'Sdriver_Lock%Count' ORDER BY key)", {}, &rows));
        QCOMPARE(rows.value(0) << db->pendingWorkRecords(), (QVariantList{ 7, "9,2,1,77", 0 }));   // Failure, Finish, Success, Total
    }
    // Held by another program from before the start: the stored counts cannot be read. The counts
    // made meanwhile are kept and added to them once they are; no label goes back.
    void countersKeptWhileUnreadable()
    {
        DatabaseManager *db = DatabaseManager::instance();
        QVERIFY(db->saveKeyValue("Sdriver_LockSuccessCount", "5") && db->saveKeyValue("Sdriver_LockFinishCount", "9"));
        m_page.reset();
        DatabaseManager::resetInstance();
        auto locker = std::make_unique<DbLocker>(m_db->path(), "BEGIN EXCLUSIVE");
        QVERIFY(locker->isOk());
        db = DatabaseManager::instance();
        m_page.reset(new WorkRecordFrame);
        m_page->show();
        connect(db, &DatabaseManager::devChangedSignal, m_page.get(), &WorkRecordFrame::onDeviceChanged);
        db->onDeviceChanged(SdriverDevice);
        for (int status : { 0x0001, 0x000A, 0x0001 })
            append(status);
        QCOMPARE(counterTexts(), (QStringList{ "2", "1", "3" }));
        child("clearCntButton")->click();   // what it would clear is not known yet
        QCOMPARE(counterTexts() + m_boxes->texts(),
                 (QStringList{ "2", "1", "3", "Tips: The counters cannot be cleared while the database file cannot be read." }));
        locker.reset();
        db->retryStorage();
        QCOMPARE(counterTexts(), (QStringList{ "7", "1", "12" }));
        QList<QVariantList> rows;
        QVERIFY(TestDatabase::execOn(m_db->path(), "SELECT (SELECT count(*) FROM workRecords_sdriver), group_concat(value) "
                                     "FROM (SELECT value FROM keyvalue_table WHERE key LIKE 'Sdriver_Lock%Count' ORDER BY key)", {}, &rows));
        QCOMPARE(rows.value(0), (QVariantList{ 3, "1,12,7" }));   // Failure, Finish, Success
    }
    void query_data()
    {
        QTest::addColumn<QString>("start");       // empty: box unchecked
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("task");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QStringList>("ids");     // newest first
        QTest::addColumn<QList<int>>("red");      // marked columns of every row
        QTest::newRow("end only, inclusive") << "" << "2024/05/01 09:00:00" << "" << "" << QStringList{ "1", "0" } << QList<int>{ 6 };
        QTest::newRow("start only, bad time kept") << "2024/05/01 09:00:00" << "" << "" << "" << QStringList{ "4", "3", "2", "1" } << QList<int>{ 6 };
        QTest::newRow("window") << "2024/05/01 08:30:00" << "2024/05/02 00:00:00" << "" << "" << QStringList{ "2", "1" } << QList<int>{ 6 };
        QTest::newRow("window, inclusive") << "2024/05/01 09:00:00" << "2024/05/01 10:00:00" << "" << "" << QStringList{ "2", "1" } << QList<int>{ 6 };
        QTest::newRow("task") << "" << "" << "Task1" << "" << QStringList{ "3", "1" } << QList<int>{ 1 };
        QTest::newRow("status") << "" << "" << "" << "Slip" << QStringList{ "2" } << QList<int>{ 5 };
        QTest::newRow("start after all: only the bad time passes") << "2030/01/01 00:00:00" << "" << "" << "" << QStringList{ "4" } << QList<int>{ 6 };
        QTest::newRow("nothing matches") << "" << "" << "Task0" << "Float" << QStringList{} << QList<int>{};
        QTest::newRow("no filter shows all") << "" << "" << "" << "" << QStringList{ "4", "3", "2", "1", "0" } << QList<int>{};
        QTest::newRow("task and time") << "" << "2024/05/01 23:00:00" << "Task1" << "" << QStringList{ "1" } << QList<int>{ 1, 6 };
    }
    void query()
    {
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, task);
        QFETCH(QString, status);
        QFETCH(QStringList, ids);
        QFETCH(QList<int>, red);
        storeRows({ workRecordRow(0, "Task0", "OK", "2024/05/01 08:00:00"), workRecordRow(1, "Task1", "OK", "2024/05/01 09:00:00"),
                    workRecordRow(2, "Task2", "Slip", "2024/05/01 10:00:00"), workRecordRow(3, "Task1", "Float", "2024/05/02 07:00:00"),
                    workRecordRow(4, "Task3", "OK", "not a time") });
        m_page->updateTaskComboBox(6);
        for (auto [box, edit, text] : { std::tuple("startTimeBox", "startTimeEdit", start), std::tuple("endTimeBox", "endTimeEdit", end) })
            child<QCheckBox>(box)->setChecked(!text.isEmpty()), child<QDateTimeEdit>(edit)->setDateTime(QDateTime::fromString(text, kTimeFormat));
        for (auto [box, combo, text] : { std::tuple("seekOpt1CheckBox", "seekOpt1ComBox", task), std::tuple("seekOpt2CheckBox", "seekOpt2ComBox", status) })
            child<QCheckBox>(box)->setChecked(!text.isEmpty()), child<QComboBox>(combo)->setCurrentText(text);
        child("seekButton")->click();
        QCOMPARE(shownIds(), ids);
        QCOMPARE(filledRows(), ids.size());
        QCOMPARE(redCells(), QVector<QList<int>>(ids.size(), red).toList());
    }
    void appendWhileResultShown()
    {
        storeRows({ workRecordRow(0, "Task0", "OK", "2024/05/01 08:00:00"), workRecordRow(1, "Task1", "Slip", "2024/05/01 09:00:00") });
        child<QCheckBox>("seekOpt2CheckBox")->setChecked(true);
        child<QComboBox>("seekOpt2ComBox")->setCurrentText("Slip");
        child("seekButton")->click();
        QCOMPARE(shownIds(), QStringList{ "1" });
        append(0x0001);
        QCOMPARE(DatabaseManager::instance()->workRecords().size(), 3);
        QCOMPARE(QStringList(shownIds()) << QString::number(filledRows()) << counterTexts(), (QStringList{ "1", "1", "0", "0", "0" }));
        // A device change reloads every record but leaves the result mode on.
        setDevice(SdriverDevice);
        QCOMPARE(filledRows(), 3);
        m_page->appendRecord();
        QCOMPARE(filledRows(), 3);
        child("clearButton")->click();
        QCOMPARE((QStringList{ QString::number(filledRows()), model()->cellText(0, 0), counterTexts().last() }), (QStringList{ "4", "3", "0" }));
        m_page->appendRecord();
        QCOMPARE((QStringList{ model()->cellText(0, 0), counterTexts().last() }), (QStringList{ "4", "1" }));
    }
    void shownRowsCap()
    {
        storeRows(manyRows(600));
        QCOMPARE(filledRows(), 600);
        append(0x0001);
        QCOMPARE(QStringList({ QString::number(model()->rowCount()), QString::number(filledRows()), model()->cellText(0, 0), model()->cellText(499, 0) }),
                 QStringList({ "500", "500", "600", "101" }));
        setDevice(SdriverDevice);
        QCOMPARE(filledRows(), 601);
    }
    void hiddenPage_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<QList<int>>("appended");   // lock statuses of the records added while hidden
        QTest::addColumn<int>("rows");
        QTest::addColumn<QStringList>("counters");
        QTest::newRow("every stored record") << 3 << QList<int>{} << 30 << QStringList{ "0", "0", "0" };
        QTest::newRow("added records on top and counted") << 3 << QList<int>{ 0x0001, 0x000A } << 32 << QStringList{ "1", "1", "2" };
        QTest::newRow("a reload shows more than the append limit") << 600 << QList<int>{} << 600 << QStringList{ "0", "0", "0" };
        QTest::newRow("an add cuts the table to its limit") << 600 << QList<int>{ 0x000C } << 500 << QStringList{ "0", "1", "1" };
    }
    // A hidden page fills its table when shown; it then shows and counts what a page shown all along
    // would. Shown or not, an added record cuts the table to 500 rows, the newest.
    void hiddenPage()
    {
        QFETCH(int, stored);
        QFETCH(QList<int>, appended);
        QFETCH(int, rows);
        QFETCH(QStringList, counters);
        m_page->hide();
        storeRows(manyRows(stored));
        for (int status : appended)
            append(status);
        QCOMPARE(counterTexts() << QString::number(shownIds().size()), counters << "0");
        m_page->show();
        const int total = stored + appended.size(), shown = qMin(rows, total), after = qMin(500, total + 1);
        auto span = [&] { return QStringLiteral("%1: %2-%3").arg(shownIds().size()).arg(shownIds().first(), shownIds().last()); };
        QCOMPARE(QString::number(model()->rowCount()) + ' ' + span(), QStringLiteral("%1 %2: %3-%4").arg(rows).arg(shown).arg(total - 1).arg(total - shown));
        const QMap<int, QString> statusText { { 0x0001, "OK" }, { 0x000A, "Slip" }, { 0x000C, "Float" } };
        if (!appended.isEmpty())
            QCOMPARE(model()->cellText(0, 5), statusText.value(appended.last()));
        append(0x0001);   // shown all along
        QCOMPARE(span(), QStringLiteral("%1: %2-%3").arg(after).arg(total).arg(total + 1 - after));
    }
    void deviceChangeWhileShown_data()
    {
        QTest::addColumn<bool>("appendDuringRead");
        QTest::newRow("nothing asks for the records") << false;
        QTest::newRow("a record added while they are read") << true;
    }
    // A device change while the page is shown does not hold the window until the records are read:
    // the table is empty meanwhile and fills when the read ends, with nothing asking for the list.
    void deviceChangeWhileShown()
    {
        QFETCH(bool, appendDuringRead);
        storeRows(manyRows(40));
        auto entered = std::make_shared<QSemaphore>(), release = std::make_shared<QSemaphore>();
        // The read waits until let go; a page that waits for it lets it go after 10 s by itself.
        DatabaseManager::setWorkReadGateForTest([entered, release] { entered->release(), release->tryAcquire(1, 10000); });
        m_com->setDeviceType(SdriverDevice);
        DatabaseManager::setWorkReadGateForTest(nullptr);
        const bool reading = DatabaseManager::instance()->isReadingWorkRecords();
        const int shownAtOnce = filledRows();
        QVERIFY(entered->tryAcquire(1, 10000));
        release->release();
        QVERIFY(reading);
        QCOMPARE(shownAtOnce, 0);
        if (appendDuringRead)
            append(0x0001);   // waits for the rest of the read, before the page is told it ended
        QTRY_COMPARE(filledRows(), appendDuringRead ? 41 : 40);
        QCOMPARE(shownIds().first(), appendDuringRead ? QStringLiteral("40") : QStringLiteral("39"));
        QCOMPARE(counterTexts(), appendDuringRead ? QStringList({ "1", "0", "1" }) : QStringList({ "0", "0", "0" }));
    }
    void search()
    {
        storeRows({ workRecordRow(0, "Task0", "OK", "2024/05/01 08:00:00"), workRecordRow(1, "Task1", "OK", "2024/05/01 09:00:00"),
                    workRecordRow(2, "Task2", "Slip", "2024/05/01 10:00:00", "10", "0.400") });
        setTorqueUnit(1);   // shown in mN·m, searched as stored
        QSignalSpy finished(m_page.get(), &WorkRecordFrame::searchFinishSigal);
        auto search = [&](const QString &text) { m_page->onSearchSignal(0, text); QVERIFY(finished.wait(3000)); };
        search("1");
        QCOMPARE(shownIds(), (QStringList{ "2", "1", "0" }));
        QCOMPARE(redCells(), (QList<QList<int>>{ { 4, 6 }, { 0, 1, 3, 4, 6 }, { 3, 4, 6 } }));
        search("1.5");
        QCOMPARE(redCells(), (QList<QList<int>>{ { 3 }, { 3 } }));
        m_page->onSearchSignal(0, QString());   // an empty text ends at once with an empty table
        QVERIFY(finished.count() == 3 && shownIds().isEmpty());
    }
    void textSearch_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QList<QList<int>>>("red");
        QTest::newRow("status") << "Slip" << QStringList{ "2" } << QList<QList<int>>{ { 5 } };
        QTest::newRow("alarm name") << "滑牙" << QStringList{ "2" } << QList<QList<int>>{ { 7 } };
        QTest::newRow("no alarm, as shown") << "No Alarm" << QStringList{ "1", "0" } << QList<QList<int>>{ { 7 }, { 7 } };
        QTest::newRow("torque as stored, in N·m") << "1.500" << QStringList{ "1", "0" } << QList<QList<int>>{ { 3 }, { 3 } };
        QTest::newRow("no match") << "zzz" << QStringList{} << QList<QList<int>>{};
    }
    void textSearch()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, ids);
        QFETCH(QList<QList<int>>, red);
        storeRows({ workRecordRow(0, "Task0", "OK", "2024/05/01 08:00:00"), workRecordRow(1, "Task1", "OK", "2024/05/01 09:00:00"),
                    workRecordRow(2, "Task2", "Slip", "2024/05/01 10:00:00", "10", "0.400") });
        setTorqueUnit(1);   // shown in mN·m, searched as stored
        QSignalSpy finished(m_page.get(), &WorkRecordFrame::searchFinishSigal);
        m_page->onSearchSignal(0, text);
        QVERIFY(finished.wait(3000));
        QCOMPARE(shownIds(), ids);
        QCOMPARE(filledRows(), ids.size());
        QCOMPARE(redCells(), red);
    }
    void searchWithShrinkingList()
    {
        storeRows(manyRows(300));
        QSignalSpy finished(m_page.get(), &WorkRecordFrame::searchFinishSigal);
        // The first tick only arms a search; the list then shrinks before the records are tested.
        m_page->onSearchSignal(0, "Task"), m_page->searchProcess();
        QVERIFY(DatabaseManager::instance()->clearTable());
        m_page->searchProcess();
        QVERIFY(finished.count() == 1 && filledRows() == 0);
        // The device changes to one without work records while searching.
        storeRows(manyRows(300));
        m_page->onSearchSignal(0, "Task"), m_page->searchProcess();
        setDevice(HighVoltServo);
        m_page->searchProcess();
        QCOMPARE(finished.count(), 2);
        // Stopping by command leaves the table as it is and reports nothing.
        setDevice(SdriverDevice);
        m_page->onSearchSignal(0, "Task"), m_page->searchProcess();
        m_page->onSearchSignal(2, QString());
        QTest::qWait(50);
        QVERIFY(filledRows() == 0 && finished.count() == 2);
    }
    // A cancelled export does nothing; a failed one says so and leaves the previous file whole.
    void exportCsv()
    {
        storeRows({ workRecordRow(0, "Task \"A\"", "OK", "2024/05/01 08:00:00", "10"),
                    workRecordRow(1, "Task1", "Slip, loose", "2024/05/01 09:00:00", "0", "0.450"),
                    workRecordRow(2, "Task2", "OK", "2024/05/01 10:00:00", "999") });
        QCOMPARE(model()->rowCount(), 30);
        child("exportRecordButton")->click();
        QCOMPARE(m_boxes->size(), 1);   // cancelled: nothing more
        QCOMPARE(m_boxes->last().kind, Prompt::SaveFile);
        QCOMPARE(m_boxes->last().text + ' ' + m_boxes->last().filter, QStringLiteral("Export Work Record CSV Files (*.csv)"));
        QTemporaryDir dir;
        m_boxes->reply.text = dir.filePath("records");   // ".csv" is added
        child("exportRecordButton")->click();
        QCOMPARE(m_boxes->size(), 2);   // file boxes only: no message when it works
        QFile file(dir.filePath("records.csv"));
        const QByteArray expected = QByteArray()
            + "\"Screw Number\",\"Task Number\",\"Lock Turns\",\"Lock Torque\",\"Used Time\",\"Lock Status\",\"Lock Time\",\"Alarm\"\n"
              "\"2\",\"Task2\",\"8.5\",\"1.500\",\"1.234\",\"OK\",\"2024/05/01 10:00:00\",\"undefine\"\n"
              "\"1\",\"Task1\",\"8.5\",\"0.450\",\"1.234\",\"Slip, loose\",\"2024/05/01 09:00:00\",\"No Alarm\"\n"
              "\"0\",\"Task \"\"A\"\"\",\"8.5\",\"1.500\",\"1.234\",\"OK\",\"2024/05/01 08:00:00\",\"" + QStringLiteral("滑牙").toUtf8() + "\"\n";
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), expected);   // UTF-8 without a byte-order mark, embedded quotes doubled
        file.close(), storeRows(manyRows(200));
        m_boxes->reply.text = file.fileName();
        { FileSizeLimit full(4096); child("exportRecordButton")->click(); }   // the disk fills up while writing
        QVERIFY(m_boxes->texts().last() == "Tips: Work record export failed!" && file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), expected);
        file.close();

        // A folder that does not exist.
        m_boxes->reply.text = dir.filePath("missing/records.csv");
        child("exportRecordButton")->click();
        QCOMPARE(m_boxes->last().kind, Prompt::Warning);
        QCOMPARE(m_boxes->texts().last(), QStringLiteral("Tips: Work record export failed!"));

        // What the table shows: a query result, torque in the selected unit, over an existing file.
        setTorqueUnit(1);
        child<QCheckBox>("seekOpt2CheckBox")->setChecked(true);
        child<QComboBox>("seekOpt2ComBox")->setCurrentText("Slip");
        child("seekButton")->click();
        const int boxes = m_boxes->size();
        m_boxes->reply.text = file.fileName();
        child("exportRecordButton")->click();
        QVERIFY(m_boxes->size() == boxes + 1 && file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().split('\n');
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(1), QByteArray("\"1\",\"Task1\",\"8.5\",\"450\",\"1.234\",\"Slip, loose\",\"2024/05/01 09:00:00\",\"No Alarm\""));
    }
    void clearRecords()
    {
        storeRows({ workRecordRow(0, "Task0", "OK", "2024/05/01 08:00:00") });
        m_boxes->reply.button = QMessageBox::No;
        child("clearRecordButton")->click();
        QCOMPARE(m_boxes->last().text, QStringLiteral("Are you sure to clear work record?"));
        QCOMPARE(m_boxes->last().buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(filledRows(), 1);
        m_boxes->reply.button = QMessageBox::Yes;
        child("clearRecordButton")->click();
        QVERIFY(filledRows() == 0 && model()->rowCount() == 30);
        setDevice(SdriverDevice);   // reads the table again
        QCOMPARE(filledRows(), 0);
        // Without a device nothing is deleted, and the table says so by staying as it is.
        storeRows({ workRecordRow(0, "Task0", "OK", "2024/05/01 08:00:00") });
        DatabaseManager::instance()->onDeviceChanged(NoDevice);
        child("clearRecordButton")->click();
        QVERIFY(m_boxes->last().text == "Work record clear failed!" && filledRows() == 1);
    }
    void taskComboBox()
    {
        QComboBox *box = child<QComboBox>("seekOpt1ComBox");
        m_page->updateTaskComboBox(5);
        box->setCurrentIndex(4);
        m_page->updateTaskComboBox(3);
        QCOMPARE(QStringList({ QString::number(box->count()), box->itemText(2), QString::number(box->currentIndex()) }), QStringList({ "3", "Task2", "0" }));
        box->setCurrentIndex(2);
        m_page->updateTaskComboBox(3);
        QCOMPARE(box->currentIndex(), 2);
        m_page->updateTaskComboBox(6);
        QVERIFY(box->currentIndex() == 2 && box->count() == 6);
        ComSettingsFrame::setCurrentDevice(HighVoltServo);
        m_page->updateTaskComboBox(2);
        QCOMPARE(box->count(), 6);
    }
    // A long table is written a slice at a time while the window goes on: a record added meanwhile stays
    // out, the old file stays whole until the new one is complete or the disk fills up on the way, and a
    // page that goes away finishes its export first.
    void exportInSlices()
    {
        storeRows(manyRows(30000));
        QByteArray expected = "\"Screw Number\",\"Task Number\",\"Lock Turns\",\"Lock Torque\",\"Used Time\",\"Lock Status\",\"Lock Time\",\"Alarm\"\n";
        for (int id = 29999; id >= 0; --id)
            expected += QStringLiteral("\"%1\",\"Task0\",\"8.5\",\"1.500\",\"1.234\",\"OK\",\"2024/05/01 08:00:00\",\"No Alarm\"\n").arg(id).toUtf8();
        auto contents = [](const QString &path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("no file");
        };
        QTemporaryDir dir;
        QFile old(dir.filePath("records.csv"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old\n") == 4);
        old.close();
        m_boxes->reply.text = old.fileName();
        int ticks = 0;
        QTimer beat;
        connect(&beat, &QTimer::timeout, this, [&ticks] { ++ticks; });
        beat.start(0);
        child("exportRecordButton")->click();
        QCOMPARE(contents(old.fileName()), QByteArray("old\n"));
        append(0x0001);
        QTRY_VERIFY_WITH_TIMEOUT(contents(old.fileName()) != "old\n", 20000);
        QVERIFY(ticks > 0);
        QVERIFY(contents(old.fileName()) == expected);
        QCOMPARE(m_boxes->size(), 1);   // the file box: no message when it works

        setDevice(SdriverDevice);   // every record on the table again
        {
            FileSizeLimit full(200000);
            child("exportRecordButton")->click();
            QTRY_COMPARE_WITH_TIMEOUT(m_boxes->size(), 3, 20000);
        }
        QVERIFY(m_boxes->texts().last() == "Tips: Work record export failed!" && contents(old.fileName()) == expected);

        m_boxes->reply.text = dir.filePath("closing.csv");
        child("exportRecordButton")->click();
        m_page.reset();
        const QByteArray written = contents(m_boxes->reply.text);
        QVERIFY(written.count('\n') == 30002 && written.endsWith(expected.right(expected.size() - expected.lastIndexOf("\n\"1\","))));
    }
    void exportOverAChange_data()
    {
        QTest::addColumn<bool>("unit");
        QTest::newRow("another device type") << false;
        QTest::newRow("another torque unit") << true;
    }
    // The file holds the table as it was when the export was asked for, also when the page is rebuilt
    // for another device type or torque unit before the last slice is written; the rebuild does not
    // wait for the export, which goes on a slice at a time.
    void exportOverAChange()
    {
        QFETCH(bool, unit);
        QVector<RecordItem> rows = manyRows(30000);
        const QStringList alarms { "0", "10", "999" }, alarmTexts { "No Alarm", QStringLiteral("滑牙"), "undefine" };
        const QStringList torques { "1.500", "0.450", "12.345" };
        for (int i = 0; i < rows.size(); ++i)
            rows[i]["alarm"] = alarms.at(i % 3), rows[i]["torque"] = torques.at(i % 3);
        storeRows(rows);
        QByteArray expected = "\"Screw Number\",\"Task Number\",\"Lock Turns\",\"Lock Torque\",\"Used Time\",\"Lock Status\",\"Lock Time\",\"Alarm\"\n";
        for (int id = 29999; id >= 0; --id)
            expected += QStringLiteral("\"%1\",\"Task0\",\"8.5\",\"%2\",\"1.234\",\"OK\",\"2024/05/01 08:00:00\",\"%3\"\n")
                            .arg(id).arg(torques.at(id % 3), alarmTexts.at(id % 3)).toUtf8();
        QTemporaryDir dir;
        m_boxes->reply.text = dir.filePath("records.csv");
        child("exportRecordButton")->click();
        QVERIFY(!QFile::exists(m_boxes->reply.text));   // still being written
        if (unit)
            setTorqueUnit(1);
        else
            setDevice(HighVoltServo);
        QVERIFY(!QFile::exists(m_boxes->reply.text));   // and still after the rebuild
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_boxes->reply.text), 20000);
        QFile file(m_boxes->reply.text);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll() == expected);
        QCOMPARE(m_boxes->size(), 1);   // the file box: no message when it works
    }
    // The simulated controller drives screws; a finished one becomes a record from the polled values.
    void recordFromDevsim()
    {
        DevsimLink link(m_com.get());
        QVERIFY(link.start({ "--type", "0", "--event-interval", "1500" }, 1, DevsimLink::NoCheck));
        setDevice(SdriverDevice);
        // The values are one screw's only when a whole polling pass lies between two readings of the same
        // nonzero result less than 1 s apart (the next screw starts 1.5 s after a result).
        const QList<int> addrs { 3336, 3072, 3076, 3077, 3079, 3337 };
        m_com->addVariableAddrs(&addrs);
        int last = 0;
        bool passDone = false, stored = false;
        QElapsedTimer since;
        connect(m_com.get(), &ComSettingsFrame::variableAddrRead, this, [&](int addr, int val) {
            passDone |= addr == 65535;
            if (addr == 3336 && !stored) {
                if (passDone && last != 0 && val == last && since.elapsed() < 1000)
                    stored = true, m_page->appendRecord();
                last = val, passDone = false, since.start();
            }
        });
        QVERIFY(QTest::qWaitFor([&] { return stored; }, 15000));
        m_com->removeVariableAddrs(&addrs);
        QCOMPARE(DatabaseManager::instance()->workRecords().size(), 1);
        RecordItem r = DatabaseManager::instance()->workRecords().first();
        auto in = [&](const char *key, double lo, double hi) { return r[key].toDouble() > lo && r[key].toDouble() < hi; };
        QVERIFY2(QStringList({ "OK", "Slip", "Float" }).contains(r["status"].toString()) && r["task"] == "Task0" && in("turns", 1, 15)
                     && in("torque", 0.1, 3) && in("usedTime", 0.5, 5) && model()->cellText(0, 5) == r["status"],
                 qPrintable(QVariant(r.values()).toStringList().join(' ')));
    }
};

QTEST_MAIN(TestWorkRecordFrame)
#include "tst_workrecordframe.moc"
