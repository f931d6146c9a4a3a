#include "servo/slaveconfigdialog.h"

#include "comm/comsettingsframe.h"
#include "comm/modbusmaster.h"
#include "data/commonutils.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

using IntList = QList<int>;
static const QStringList kDevices{ "[1]:HighVolt Servo", "[2]:HighVolt Servo", "[3]:HighVolt Servo" };

class TestSlaveConfigDialog : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void statusText();
    void applyDeviceType_data();
    void applyDeviceType();
    void walkPastSilentSlave_data();
    void walkPastSilentSlave();
private:
    template <typename T> T *child(const QString &name) const { return m_dialog->findChild<T *>(name); }
    QTableWidget *table() const { return child<QTableWidget>("slaveTableWidget"); }
    QAbstractButton *axisBox(int id) const { return child<QAbstractButton>(QString("axis%1CheckBox").arg(id)); }
    QStringList rowTexts(int row) const
    {
        QStringList texts;
        for (int c = 2; c < table()->columnCount(); ++c)
            texts << table()->item(row, c)->text();
        return texts;
    }
    TestDatabase *m_db = nullptr;
    SlaveConfigDialog *m_dialog = nullptr;
    PromptRecorder m_prompts;   // the dialog has nothing to ask the user
};

void TestSlaveConfigDialog::init()
{
    m_db = new TestDatabase;
    QVERIFY(m_db->isValid());
    ComSettingsFrame::setCurrentSlave(1);
    m_dialog = new SlaveConfigDialog;
}

void TestSlaveConfigDialog::cleanup()
{
    delete m_dialog, delete m_db;
    QCOMPARE(m_prompts.texts(), QStringList());
}

// Scaled and signed texts are read over the wire below; here the value texts and the record numbers.
void TestSlaveConfigDialog::statusText()
{
    const RecordItem record{ { "range", "0~3" }, { "decimals", "1" }, { "unit", "V" }, { "value_text", "junk/3:Fault/0:Off" } };
    QCOMPARE(QStringList({ SlaveConfigDialog::statusText(record, 3), SlaveConfigDialog::statusText(record, 2) }),
             QStringList({ "Fault", "2 : null text" }));   // a malformed entry is skipped, an unmapped value said so
    // The record number of a code: digits anywhere, none or too many is no record.
    QCOMPARE(IntList({ SlaveConfigDialog::statusIndexFromFuncCode("U-n0-0-7"), SlaveConfigDialog::statusIndexFromFuncCode("Un008"),
                       SlaveConfigDialog::statusIndexFromFuncCode("Un"), SlaveConfigDialog::statusIndexFromFuncCode("Un99999999999") }),
             IntList({ 7, -1, -1, -1 }));
}

void TestSlaveConfigDialog::applyDeviceType_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<IntList>("axes");   // left of {0, 1, 5} once the type's axes apply
    QTest::addColumn<int>("records");
    QTest::newRow("screwdriver: axis 0") << 0 << IntList{ 0 } << 0;
    QTest::newRow("high-volt: 8 axes, records 0..3") << 1 << IntList{ 0, 1, 5 } << 4;
    QTest::newRow("low-volt: axes 0 and 1") << 2 << IntList{ 0, 1 } << 0;
}

void TestSlaveConfigDialog::applyDeviceType()
{
    QFETCH(int, type);
    QFETCH(IntList, axes);
    QFETCH(int, records);
    m_dialog->updateSlaveTable(kDevices);
    m_dialog->setSelectedAxes({ 0, 1, 5 });
    QSignalSpy spy(m_dialog, &SlaveConfigDialog::slaveCnfgChanged);
    m_dialog->applyDeviceType(DeviceEnum(type));
    for (int id = 0; id < 8; ++id)
        QCOMPARE(axisBox(id)->isEnabled(), id <= axes.last() || type == HighVoltServo);
    QCOMPARE(m_dialog->selectedAxes(), axes);
    // The page hears the axes it may use now, once.
    QCOMPARE(IntList({ spy.count(), m_dialog->statusRecords().size(), table()->columnCount() }), IntList({ 1, records, 2 + records * axes.size() }));
    QCOMPARE(spy.at(0).at(1).value<IntList>(), axes);
    if (const QTableWidgetItem *cell = type == HighVoltServo ? table()->item(0, 2 + 4 + 3) : nullptr)   // axis blocks, then records
        QCOMPARE(cell->data(SlaveConfigDialog::NumberRole).toInt() + 100 * cell->data(SlaveConfigDialog::AxisRole).toInt(), 103);
    m_dialog->applyDeviceType(NoDevice);
    QCOMPARE(spy.count(), 1);
}

void TestSlaveConfigDialog::walkPastSilentSlave_data()
{
    QTest::addColumn<bool>("forwardErrors");
    QTest::newRow("failure reported") << true;
    QTest::newRow("failure never reported: time-out") << false;
}

// Slave 2 never answers; the walk must still fill in slaves 1 and 3 and come round again.
void TestSlaveConfigDialog::walkPastSilentSlave()
{
    QFETCH(bool, forwardErrors);
    CommonUtils::saveConfigVal(1, "DeviceType", "1");
    DevsimLink link;
    ComSettingsFrame &frame = *link.frame();
    frame.engine()->setResponseTimeout(100);
    frame.engine()->setRetries(0);
    QVERIFY(link.start({ "--type", "1", "--slave", "1,3", "--set", "56900=65036", "--set", "56901=0",
                         "--set", "56902=125", "--set", "56903=3105" }));
    if (forwardErrors)
        connect(&frame, &ComSettingsFrame::modbusComError, m_dialog, &SlaveConfigDialog::onComError);
    m_dialog->applyDeviceType(HighVoltServo);
    m_dialog->updateSlaveTable(kDevices);
    for (int row : { 1, 2 })
        table()->item(row, 0)->setCheckState(Qt::Checked);
    QElapsedTimer clock;
    clock.start();
    m_dialog->show();
    const QStringList expected{ "-500 rpm", "0", "12.5 %", "310.5 V" };
    QTRY_COMPARE_WITH_TIMEOUT(rowTexts(2), expected, 10000);
    QCOMPARE(rowTexts(0) + rowTexts(1), expected + QStringList({ " ", " ", " ", " " }));
    // A reported failure ends the wait at once, without the time-out.
    if (forwardErrors)
        QVERIFY2(clock.elapsed() < 4 * SlaveConfigDialog::kWaitLimitMs, qPrintable(QString::number(clock.elapsed())));
    table()->item(0, 2)->setText("stale");
    QTRY_COMPARE_WITH_TIMEOUT(rowTexts(0), expected, 10000);   // round again, past the silent slave
    // A rebuild mid-walk restarts it on the new columns.
    m_dialog->setSelectedAxes({ 0, 1 });
    QTRY_VERIFY_WITH_TIMEOUT(!rowTexts(2).at(4).trimmed().isEmpty(), 10000);
    QCOMPARE(rowTexts(2).mid(0, 4), expected);
    QVERIFY(frame.isConnected());
    m_dialog->hide();   // hidden, the walk stops asking
    QTest::qWait(300);
    link.sim().clearLog();
    QTest::qWait(300);
    QCOMPARE(link.sim().logLines(), QStringList());
}

QTEST_MAIN(TestSlaveConfigDialog)
#include "tst_slaveconfigdialog.moc"
