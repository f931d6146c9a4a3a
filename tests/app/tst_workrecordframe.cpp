#include "app/paramunit.h"
#include "app/recordtablemodel.h"
#include "app/workrecordframe.h"
#include "comm/comsettingsframe.h"
#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "support/devsimprocess.h"
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
#include <QSignalSpy>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

namespace {
const QString kTimeFormat = QStringLiteral("yyyy/MM/dd hh:mm:ss");
const QStringList kEnglishHeaders = { "Screw Number", "Task Number", "Lock Turns", "Lock Torque",
                                      "Used Time",    "Lock Status", "Lock Time",  "Alarm" };

// The cached registers appendRecord() reads: task, turns, torque, used time, lock status, alarm.
void setCache(int task, int turns, int torque, int usedTime, int status, int alarm)
{
    ComSettingsFrame::setRegister(3072, Uint16(task));
    ComSettingsFrame::setRegister(3076, Uint16(turns));
    ComSettingsFrame::setRegister(3079, Uint16(torque));
    ComSettingsFrame::setRegister(3077, Uint16(usedTime));
    ComSettingsFrame::setRegister(3336, Uint16(status));
    ComSettingsFrame::setRegister(3337, Uint16(alarm));
}
} // namespace

// The work record page: records built from the register cache, counters, query, search, export.
class TestWorkRecordFrame : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void recordFields_data();
    void recordFields();
    void counters();
    void query_data();
    void query();
    void appendWhileResultShown();
    void shownRowsCap();
    void hiddenPage_data();
    void hiddenPage();
    void textSearch_data();
    void textSearch();
    void searchWithShrinkingList();
    void exportCsv();
    void exportFailures();
    void clearRecords();
    void recordFromDevsim();

private:
    RecordTableModel *model() const;
    QStringList rowTexts(int row) const;
    int filledRows() const;
    QString counter(int n) const;
    void storeRows(const QVector<RecordItem> &rows);
    template <class T> T *child(const char *name) const { return m_page->findChild<T *>(QLatin1String(name)); }

    TestDatabase *m_db = nullptr;
    ComSettingsFrame *m_com = nullptr;
    WorkRecordFrame *m_page = nullptr;
    std::unique_ptr<PromptRecorder> m_boxes;
};

void TestWorkRecordFrame::init()
{
    m_db = new TestDatabase;
    QVERIFY(m_db->isValid());
    clearUnitTable();
    initUnitTable();
    m_com = new ComSettingsFrame;
    m_page = new WorkRecordFrame;
    // Shown, as the user sees it; a hidden page fills its table only once it is shown.
    m_page->show();
    connect(m_com, &ComSettingsFrame::devChangedSignal, DatabaseManager::instance(), &DatabaseManager::onDeviceChanged);
    connect(DatabaseManager::instance(), &DatabaseManager::devChangedSignal, m_page, &WorkRecordFrame::onDeviceChanged);
    ComSettingsFrame::setCurrentSlave(1);
    m_com->setDeviceType(SdriverDevice);
    m_boxes.reset(new PromptRecorder);
}

void TestWorkRecordFrame::cleanup()
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

RecordTableModel *TestWorkRecordFrame::model() const
{
    return qobject_cast<RecordTableModel *>(child<QTableView>("workRecordTableWidget")->model());
}

QStringList TestWorkRecordFrame::rowTexts(int row) const
{
    QStringList texts;
    for (int c = 0; c < model()->columnCount(); ++c)
        texts << model()->index(row, c).data().toString();
    return texts;
}

int TestWorkRecordFrame::filledRows() const
{
    int n = 0;
    for (int r = 0; r < model()->rowCount(); ++r)
        n += model()->hasRecord(r);
    return n;
}

QString TestWorkRecordFrame::counter(int n) const
{
    return m_page->findChild<QLabel *>(QStringLiteral("dataCnt%1Lable").arg(n))->text();
}

// Rows with times of the test's choosing, then the reload a device change brings.
void TestWorkRecordFrame::storeRows(const QVector<RecordItem> &rows)
{
    QVERIFY(insertWorkRecords(m_db->path(), rows));
    m_com->setDeviceType(SdriverDevice);
}

void TestWorkRecordFrame::recordFields_data()
{
    QTest::addColumn<int>("unit");
    QTest::addColumn<QList<int>>("registers");   // task, turns, torque, used time, status, alarm
    QTest::addColumn<QStringList>("stored");     // task, turns, torque, usedTime, status, alarm
    QTest::addColumn<QStringList>("shown");      // columns 1 to 5 and 7

    QTest::newRow("N·m, OK, no alarm") << 0 << QList<int>{ 1, 850, 1500, 1234, 0x0001, 0 }
        << QStringList{ "Task1", "8.5", "1.500", "1.234", "OK", "0" }
        << QStringList{ "Task1", "8.5", "1.500", "1.234", "OK", "No Alarm" };
    QTest::newRow("mN·m torque is stored in N·m") << 1 << QList<int>{ 0, 600, 1500, 900, 0x0001, 0 }
        << QStringList{ "Task0", "6", "1.500", "0.9", "OK", "0" }
        << QStringList{ "Task0", "6", "1500", "0.9", "OK", "No Alarm" };
    QTest::newRow("turns are signed, slip alarm named") << 0 << QList<int>{ 4, 0xFFFF, 450, 1234, 0x000A, 10 }
        << QStringList{ "Task4", "-0.01", "0.450", "1.234", "Slip", "10" }
        << QStringList{ "Task4", "-0.01", "0.450", "1.234", "Slip", "滑牙" };
    QTest::newRow("float, alarm without a detail") << 0 << QList<int>{ 0, 300, 1600, 800, 0x000C, 999 }
        << QStringList{ "Task0", "3", "1.600", "0.8", "Float", "999" }
        << QStringList{ "Task0", "3", "1.600", "0.8", "Float", "undefine" };
    // A task or lock status without a text stores nothing.
    QTest::newRow("lock status 0x000B") << 0 << QList<int>{ 1, 100, 1000, 100, 0x000B, 0 } << QStringList() << QStringList();
    QTest::newRow("task 5") << 0 << QList<int>{ 5, 100, 1000, 100, 0x0001, 0 } << QStringList() << QStringList();
}

void TestWorkRecordFrame::recordFields()
{
    QFETCH(int, unit);
    QFETCH(QList<int>, registers);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, shown);
    setUnitIndex(QStringLiteral("torque"), unit);
    m_page->onParamUnitChanged();
    setCache(registers[0], registers[1], registers[2], registers[3], registers[4], registers[5]);
    m_page->appendRecord();

    const RecordList &records = DatabaseManager::instance()->workRecords();
    QCOMPARE(records.size(), stored.isEmpty() ? 0 : 1);
    if (stored.isEmpty()) {
        QCOMPARE(filledRows(), 0);
        QCOMPARE((QStringList{ counter(1), counter(2), counter(3) }), (QStringList{ "0", "0", "0" }));
        return;
    }
    const RecordItem &r = records.first();
    QCOMPARE((QStringList{ r["task"].toString(), r["turns"].toString(), r["torque"].toString(),
                           r["usedTime"].toString(), r["status"].toString(), r["alarm"].toString() }),
             stored);
    QCOMPARE(r["id"].toString(), QStringLiteral("0"));
    const QStringList row = rowTexts(0);
    QCOMPARE((QStringList{ row[1], row[2], row[3], row[4], row[5], row[7] }), shown);
    QCOMPARE(row[0], QStringLiteral("0"));
    QCOMPARE(row[6], r["time"].toString());
    QVERIFY(QDateTime::fromString(row[6], kTimeFormat).secsTo(QDateTime::currentDateTime()) < 5);
    QCOMPARE(model()->index(0, 3).data(Qt::ToolTipRole).toString(), QStringLiteral("none"));
    QCOMPARE(model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("Lock Torque"));
}

void TestWorkRecordFrame::counters()
{
    DatabaseManager *db = DatabaseManager::instance();
    QVERIFY(db->saveKeyValue("Sdriver_LockTotalCount", "77"));
    QVERIFY(db->saveKeyValue("Sdriver_LockSuccessCount", "5"));
    m_com->setDeviceType(SdriverDevice);
    QCOMPARE((QStringList{ counter(1), counter(2), counter(3), counter(4) }), (QStringList{ "5", "0", "0", "77" }));
    QVERIFY(!child<QLabel>("dataCnt3Lable")->isHidden());
    QVERIFY(child<QLabel>("dataCnt4Lable")->isHidden());
    QCOMPARE(child<QLabel>("dataCnt1Name")->text(), QStringLiteral("Lock Success"));

    const int statuses[] = { 0x0001, 0x000A, 0x0001, 0x000C, 0x0000 };
    for (int status : statuses) {
        setCache(1, 100, 1000, 100, status, 0);
        m_page->appendRecord();
    }
    QCOMPARE((QStringList{ counter(1), counter(2), counter(3) }), (QStringList{ "7", "3", "5" }));
    QCOMPARE(db->takeKeyValue("Sdriver_LockSuccessCount", "x"), QStringLiteral("7"));
    QCOMPARE(db->takeKeyValue("Sdriver_LockFailureCount", "x"), QStringLiteral("3"));
    QCOMPARE(db->takeKeyValue("Sdriver_LockFinishCount", "x"), QStringLiteral("5"));

    child<QPushButton>("clearCntButton")->click();
    QCOMPARE((QStringList{ counter(1), counter(2), counter(3), counter(4) }), (QStringList{ "0", "0", "0", "77" }));
    QCOMPARE(db->takeKeyValue("Sdriver_LockFinishCount", "x"), QStringLiteral("0"));
    QCOMPARE(db->takeKeyValue("Sdriver_LockTotalCount", "x"), QStringLiteral("77"));
    QCOMPARE(filledRows(), 5);   // clearing the counters keeps the records
}

void TestWorkRecordFrame::query_data()
{
    QTest::addColumn<QString>("start");       // empty: box unchecked
    QTest::addColumn<QString>("end");
    QTest::addColumn<QString>("task");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QStringList>("ids");     // newest first
    QTest::addColumn<QList<int>>("red");      // marked columns

    QTest::newRow("end only, inclusive") << "" << "2024/05/01 09:00:00" << "" << "" << QStringList{ "1", "0" } << QList<int>{ 6 };
    QTest::newRow("start only, inclusive, bad time kept") << "2024/05/01 09:00:00" << "" << "" << ""
        << QStringList{ "4", "3", "2", "1" } << QList<int>{ 6 };
    QTest::newRow("window") << "2024/05/01 08:30:00" << "2024/05/02 00:00:00" << "" << ""
        << QStringList{ "2", "1" } << QList<int>{ 6 };
    QTest::newRow("task") << "" << "" << "Task1" << "" << QStringList{ "3", "1" } << QList<int>{ 1 };
    QTest::newRow("status") << "" << "" << "" << "Slip" << QStringList{ "2" } << QList<int>{ 5 };
    QTest::newRow("task and time") << "" << "2024/05/01 23:00:00" << "Task1" << "" << QStringList{ "1" } << QList<int>{ 1, 6 };
    QTest::newRow("start after all: only the bad time passes") << "2030/01/01 00:00:00" << "" << "" << ""
        << QStringList{ "4" } << QList<int>{ 6 };
    QTest::newRow("nothing matches") << "" << "" << "Task0" << "Float" << QStringList{} << QList<int>{};
    QTest::newRow("no filter shows all") << "" << "" << "" << "" << QStringList{ "4", "3", "2", "1", "0" } << QList<int>{};
}

void TestWorkRecordFrame::query()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(QString, task);
    QFETCH(QString, status);
    QFETCH(QStringList, ids);
    QFETCH(QList<int>, red);
    storeRows({ workRecordRow(0, "Task0", "OK", "2024/05/01 08:00:00"),
                workRecordRow(1, "Task1", "OK", "2024/05/01 09:00:00"),
                workRecordRow(2, "Task2", "Slip", "2024/05/01 10:00:00"),
                workRecordRow(3, "Task1", "Float", "2024/05/02 07:00:00"),
                workRecordRow(4, "Task3", "OK", "not a time") });
    m_page->updateTaskComboBox(6);
    child<QCheckBox>("startTimeBox")->setChecked(!start.isEmpty());
    child<QCheckBox>("endTimeBox")->setChecked(!end.isEmpty());
    if (!start.isEmpty())
        child<QDateTimeEdit>("startTimeEdit")->setDateTime(QDateTime::fromString(start, kTimeFormat));
    if (!end.isEmpty())
        child<QDateTimeEdit>("endTimeEdit")->setDateTime(QDateTime::fromString(end, kTimeFormat));
    child<QCheckBox>("seekOpt1CheckBox")->setChecked(!task.isEmpty());
    child<QCheckBox>("seekOpt2CheckBox")->setChecked(!status.isEmpty());
    if (!task.isEmpty())
        child<QComboBox>("seekOpt1ComBox")->setCurrentText(task);
    if (!status.isEmpty())
        child<QComboBox>("seekOpt2ComBox")->setCurrentText(status);
    child<QPushButton>("seekButton")->click();

    QStringList shownIds;
    for (int r = 0; r < model()->rowCount() && model()->hasRecord(r); ++r)
        shownIds << model()->cellText(r, 0);
    QCOMPARE(shownIds, ids);
    QCOMPARE(filledRows(), ids.size());
    for (int r = 0; r < ids.size(); ++r) {
        for (int c = 0; c < 8; ++c)
            QVERIFY2(model()->isRed(r, c) == red.contains(c), qPrintable(QStringLiteral("row %1 column %2").arg(r).arg(c)));
    }
}

void TestWorkRecordFrame::appendWhileResultShown()
{
    storeRows({ workRecordRow(0, "Task0", "OK", "2024/05/01 08:00:00"), workRecordRow(1, "Task1", "Slip", "2024/05/01 09:00:00") });
    child<QCheckBox>("seekOpt2CheckBox")->setChecked(true);
    child<QComboBox>("seekOpt2ComBox")->setCurrentText("Slip");
    child<QPushButton>("seekButton")->click();
    QCOMPARE(filledRows(), 1);

    setCache(1, 100, 1000, 100, 0x0001, 0);
    m_page->appendRecord();
    QCOMPARE(DatabaseManager::instance()->workRecords().size(), 3);
    QCOMPARE(filledRows(), 1);
    QCOMPARE(model()->cellText(0, 0), QStringLiteral("1"));
    QCOMPARE((QStringList{ counter(1), counter(2), counter(3) }), (QStringList{ "0", "0", "0" }));

    // A device change reloads every record but leaves the result mode on.
    m_com->setDeviceType(SdriverDevice);
    QCOMPARE(filledRows(), 3);
    m_page->appendRecord();
    QCOMPARE(filledRows(), 3);

    child<QPushButton>("clearButton")->click();
    QCOMPARE(filledRows(), 4);
    QCOMPARE(model()->cellText(0, 0), QStringLiteral("3"));
    QCOMPARE(counter(3), QStringLiteral("0"));
    m_page->appendRecord();
    QCOMPARE(model()->cellText(0, 0), QStringLiteral("4"));
    QCOMPARE(counter(3), QStringLiteral("1"));
}

void TestWorkRecordFrame::shownRowsCap()
{
    QVector<RecordItem> rows;
    for (int i = 0; i < 600; ++i)
        rows << workRecordRow(i, "Task0", "OK", "2024/05/01 08:00:00");
    storeRows(rows);
    QCOMPARE(filledRows(), 600);
    setCache(1, 100, 1000, 100, 0x0001, 0);
    m_page->appendRecord();
    QCOMPARE(model()->rowCount(), 500);
    QCOMPARE(filledRows(), 500);
    QCOMPARE(model()->cellText(0, 0), QStringLiteral("600"));
    QCOMPARE(model()->cellText(499, 0), QStringLiteral("101"));
    m_com->setDeviceType(SdriverDevice);
    QCOMPARE(filledRows(), 601);
}

void TestWorkRecordFrame::hiddenPage_data()
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

// A hidden page fills its table when it is shown, so that the start need not wait for the
// records; what it then shows and counts is what a page shown all along would.
void TestWorkRecordFrame::hiddenPage()
{
    QFETCH(int, stored);
    QFETCH(QList<int>, appended);
    QFETCH(int, rows);
    QFETCH(QStringList, counters);
    m_page->hide();
    QVector<RecordItem> records;
    for (int i = 0; i < stored; ++i)
        records << workRecordRow(i, "Task0", "OK", "2024/05/01 08:00:00");
    storeRows(records);
    QCOMPARE(filledRows(), 0);
    for (int status : appended) {
        setCache(1, 100, 1000, 100, status, 0);
        m_page->appendRecord();
    }
    QCOMPARE((QStringList{ counter(1), counter(2), counter(3) }), counters);

    m_page->show();
    const int total = stored + appended.size();
    QCOMPARE(model()->rowCount(), rows);
    QCOMPARE(filledRows(), qMin(rows, total));
    for (int r = 0; r < filledRows(); ++r)
        QCOMPARE(model()->cellText(r, 0), QString::number(total - 1 - r));
    const QMap<int, QString> statusText { { 0x0001, "OK" }, { 0x000A, "Slip" }, { 0x000C, "Float" } };
    if (!appended.isEmpty())
        QCOMPARE(model()->cellText(0, 5), statusText.value(appended.last()));
}

void TestWorkRecordFrame::textSearch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<QList<QList<int>>>("red");
    QTest::newRow("status") << "Slip" << QStringList{ "2" } << QList<QList<int>>{ { 5 } };
    QTest::newRow("alarm name") << "滑牙" << QStringList{ "2" } << QList<QList<int>>{ { 7 } };
    QTest::newRow("several columns") << "1" << QStringList{ "2", "1", "0" }
        << QList<QList<int>>{ { 4, 6 }, { 0, 1, 3, 4, 6 }, { 3, 4, 6 } };
    QTest::newRow("torque as stored, in N·m") << "1.500" << QStringList{ "1", "0" } << QList<QList<int>>{ { 3 }, { 3 } };
    QTest::newRow("no match") << "zzz" << QStringList{} << QList<QList<int>>{};
}

void TestWorkRecordFrame::textSearch()
{
    QFETCH(QString, text);
    QFETCH(QStringList, ids);
    QFETCH(QList<QList<int>>, red);
    storeRows({ workRecordRow(0, "Task0", "OK", "2024/05/01 08:00:00"),
                workRecordRow(1, "Task1", "OK", "2024/05/01 09:00:00"),
                workRecordRow(2, "Task2", "Slip", "2024/05/01 10:00:00", "10", "0.400") });
    setUnitIndex(QStringLiteral("torque"), 1);   // shown in mN·m, searched as stored
    m_page->onParamUnitChanged();
    QSignalSpy finished(m_page, &WorkRecordFrame::searchFinishSigal);
    m_page->onSearchSignal(0, text);
    QVERIFY(finished.wait(3000));
    QCOMPARE(filledRows(), ids.size());
    for (int r = 0; r < ids.size(); ++r) {
        QCOMPARE(model()->cellText(r, 0), ids.at(r));
        for (int c = 0; c < 8; ++c)
            QVERIFY2(model()->isRed(r, c) == red.at(r).contains(c), qPrintable(QStringLiteral("row %1 column %2").arg(r).arg(c)));
    }

    // An empty text ends at once with an empty table.
    finished.clear();
    m_page->onSearchSignal(0, QString());
    QCOMPARE(finished.count(), 1);
    QCOMPARE(filledRows(), 0);
}

void TestWorkRecordFrame::searchWithShrinkingList()
{
    QVector<RecordItem> rows;
    for (int i = 0; i < 300; ++i)
        rows << workRecordRow(i, "Task0", "OK", "2024/05/01 08:00:00");
    storeRows(rows);
    QSignalSpy finished(m_page, &WorkRecordFrame::searchFinishSigal);
    // The first tick only arms the search; the list then shrinks before the records are tested.
    m_page->onSearchSignal(0, "Task");
    m_page->searchProcess();
    QVERIFY(DatabaseManager::instance()->clearTable());
    m_page->searchProcess();
    QCOMPARE(finished.count(), 1);
    QCOMPARE(filledRows(), 0);

    storeRows(rows);
    m_page->onSearchSignal(0, "Task");
    m_page->searchProcess();
    m_com->setDeviceType(HighVoltServo);
    m_page->searchProcess();
    QCOMPARE(finished.count(), 2);

    // Stopping by command leaves the table as it is and reports nothing.
    m_com->setDeviceType(SdriverDevice);
    m_page->onSearchSignal(0, "Task");
    m_page->searchProcess();
    m_page->onSearchSignal(2, QString());
    QTest::qWait(50);
    QCOMPARE(filledRows(), 0);
    QCOMPARE(finished.count(), 2);
}

void TestWorkRecordFrame::exportCsv()
{
    storeRows({ workRecordRow(0, "Task \"A\"", "OK", "2024/05/01 08:00:00", "10"),
                workRecordRow(1, "Task1", "Slip, loose", "2024/05/01 09:00:00", "0", "0.450"),
                workRecordRow(2, "Task2", "OK", "2024/05/01 10:00:00", "999") });
    QCOMPARE(model()->rowCount(), 30);
    QTemporaryDir dir;
    m_boxes->reply.text = dir.filePath("records");   // ".csv" is added
    child<QPushButton>("exportRecordButton")->click();
    QCOMPARE(m_boxes->requests.size(), 1);
    QCOMPARE(m_boxes->requests.first().kind, Prompt::SaveFile);
    QCOMPARE(m_boxes->requests.first().text, QStringLiteral("Export Work Record"));
    QCOMPARE(m_boxes->requests.first().filter, QStringLiteral("CSV Files (*.csv)"));

    QFile file(dir.filePath("records.csv"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    // UTF-8 without a byte-order mark, embedded quotes doubled.
    const QByteArray expected = QByteArray()
        + "\"Screw Number\",\"Task Number\",\"Lock Turns\",\"Lock Torque\",\"Used Time\",\"Lock Status\",\"Lock Time\",\"Alarm\"\n"
          "\"2\",\"Task2\",\"8.5\",\"1.500\",\"1.234\",\"OK\",\"2024/05/01 10:00:00\",\"undefine\"\n"
          "\"1\",\"Task1\",\"8.5\",\"0.450\",\"1.234\",\"Slip, loose\",\"2024/05/01 09:00:00\",\"No Alarm\"\n"
          "\"0\",\"Task \"\"A\"\"\",\"8.5\",\"1.500\",\"1.234\",\"OK\",\"2024/05/01 08:00:00\",\""
        + QStringLiteral("滑牙").toUtf8() + "\"\n";
    QCOMPARE(file.readAll(), expected);
    file.close();

    // What the table shows: a query result, torque in the selected unit, over an existing file.
    setUnitIndex(QStringLiteral("torque"), 1);
    m_page->onParamUnitChanged();
    child<QCheckBox>("seekOpt2CheckBox")->setChecked(true);
    child<QComboBox>("seekOpt2ComBox")->setCurrentText("Slip");
    child<QPushButton>("seekButton")->click();
    m_boxes->reply.text = dir.filePath("records.csv");
    child<QPushButton>("exportRecordButton")->click();
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(1), QByteArray("\"1\",\"Task1\",\"8.5\",\"450\",\"1.234\",\"Slip, loose\",\"2024/05/01 09:00:00\",\"No Alarm\""));
    QCOMPARE(m_boxes->requests.size(), 2);   // no message when it works
}

void TestWorkRecordFrame::exportFailures()
{
    QTemporaryDir dir;
    // Cancelled: nothing happens.
    m_boxes->reply.text.clear();
    child<QPushButton>("exportRecordButton")->click();
    QCOMPARE(m_boxes->requests.size(), 1);

    // A folder that does not exist.
    m_boxes->reply.text = dir.filePath("missing/records.csv");
    child<QPushButton>("exportRecordButton")->click();
    QCOMPARE(m_boxes->requests.size(), 3);
    QCOMPARE(m_boxes->requests.last().kind, Prompt::Warning);
    QCOMPARE(m_boxes->requests.last().title, QStringLiteral("Tips"));
    QCOMPARE(m_boxes->requests.last().text, QStringLiteral("Work record export failed!"));

    // The disk fills up while writing: a failure, and the previous export stays whole.
    QFile old(dir.filePath("full.csv"));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("previous export\n") > 0);
    old.close();
    QVector<RecordItem> rows;
    for (int i = 0; i < 200; ++i)
        rows << workRecordRow(i, "Task0", "OK", "2024/05/01 08:00:00");
    storeRows(rows);
    m_boxes->reply.text = dir.filePath("full.csv");
    {
        FileSizeLimit full(4096);
        child<QPushButton>("exportRecordButton")->click();
    }
    QCOMPARE(m_boxes->requests.size(), 5);
    QCOMPARE(m_boxes->requests.last().text, QStringLiteral("Work record export failed!"));
    QVERIFY(old.open(QIODevice::ReadOnly));
    QCOMPARE(old.readAll(), QByteArray("previous export\n"));
}

void TestWorkRecordFrame::clearRecords()
{
    storeRows({ workRecordRow(0, "Task0", "OK", "2024/05/01 08:00:00") });
    m_boxes->reply.button = QMessageBox::No;
    child<QPushButton>("clearRecordButton")->click();
    QCOMPARE(m_boxes->requests.last().text, QStringLiteral("Are you sure to clear work record?"));
    QCOMPARE(m_boxes->requests.last().buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(filledRows(), 1);

    m_boxes->reply.button = QMessageBox::Yes;
    child<QPushButton>("clearRecordButton")->click();
    QCOMPARE(filledRows(), 0);
    QCOMPARE(model()->rowCount(), 30);
    m_com->setDeviceType(SdriverDevice);   // reads the table again
    QCOMPARE(filledRows(), 0);

    // Without a device nothing is deleted, and the table says so by staying as it is.
    storeRows({ workRecordRow(0, "Task0", "OK", "2024/05/01 08:00:00") });
    DatabaseManager::instance()->onDeviceChanged(NoDevice);
    child<QPushButton>("clearRecordButton")->click();
    QCOMPARE(m_boxes->requests.last().text, QStringLiteral("Work record clear failed!"));
    QCOMPARE(filledRows(), 1);
}

// The simulated controller drives screws; a finished one becomes a record from the polled values.
void TestWorkRecordFrame::recordFromDevsim()
{
    DevsimProcess sim;
    QVERIFY(sim.start({ "--type", "0", "--event-interval", "1500" }));
    CommonUtils::saveConfigVal(1, QStringLiteral("ConnectWay"), QStringLiteral("0"));
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceAddr"), QStringLiteral("1"));
    CommonUtils::saveConfigVal(1, QStringLiteral("DevCheckBox"), QStringLiteral("0"));
    CommonUtils::saveConfigVal(3, QStringLiteral("RemoteIp"), QStringLiteral("127.0.0.1"));
    CommonUtils::saveConfigVal(3, QStringLiteral("RemotePort"), QString::number(sim.port()));
    m_com->loadSettings();
    m_com->setDeviceType(SdriverDevice);
    m_com->connectDevice();
    QVERIFY(QTest::qWaitFor([this] { return m_com->isConnected(); }, 5000));

    // One register per request: a pass takes a while, and the simulated controller starts its next
    // screw about a second and a half after a result, resetting turns and time. The values are
    // one screw's only when a whole pass lies between two readings of the same nonzero result,
    // closer together than the shortest screw takes.
    const QList<int> addrs { 3336, 3072, 3076, 3077, 3079, 3337 };
    m_com->addVariableAddrs(&addrs);
    int passResult = 0;
    bool passComplete = false;
    bool stored = false;
    QElapsedTimer sincePassStart;
    connect(m_com, &ComSettingsFrame::variableAddrRead, this, [&](int addr, int val) {
        if (addr == 65535) {
            passComplete = true;
        } else if (addr == 3336 && !stored) {
            if (passComplete && passResult != 0 && val == passResult && sincePassStart.elapsed() < 1000) {
                stored = true;
                m_page->appendRecord();
            }
            passResult = val;
            passComplete = false;
            sincePassStart.start();
        }
    });
    QVERIFY(QTest::qWaitFor([&] { return stored; }, 15000));
    m_com->removeVariableAddrs(&addrs);

    QCOMPARE(DatabaseManager::instance()->workRecords().size(), 1);
    const RecordItem record = DatabaseManager::instance()->workRecords().first();
    QVERIFY2(QStringList({ "OK", "Slip", "Float" }).contains(record["status"].toString()), qPrintable(record["status"].toString()));
    QCOMPARE(record["task"].toString(), QStringLiteral("Task0"));
    QVERIFY2(record["turns"].toDouble() > 1 && record["turns"].toDouble() < 15, qPrintable(record["turns"].toString()));
    QVERIFY2(record["torque"].toDouble() > 0.1 && record["torque"].toDouble() < 3, qPrintable(record["torque"].toString()));
    QVERIFY2(record["usedTime"].toDouble() > 0.5 && record["usedTime"].toDouble() < 5, qPrintable(record["usedTime"].toString()));
    QCOMPARE(model()->cellText(0, 5), record["status"].toString());
    m_com->disconnectDevice();
}

QTEST_MAIN(TestWorkRecordFrame)
#include "tst_workrecordframe.moc"
