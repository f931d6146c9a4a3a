#include "servo/slaveconfigdialog.h"

#include "comm/comsettingsframe.h"
#include "comm/modbusmaster.h"
#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
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
    void recordNumber_data();
    void recordNumber();
    void statusText_data();
    void statusText();
    void applyDeviceType_data();
    void applyDeviceType();
    void axesAndSlavesStayChosen();
    void newAndDeleteColumns();
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
    IntList recordNumbers() const
    {
        IntList list;
        for (const RecordItem &r : m_dialog->statusRecords())
            list << SlaveConfigDialog::statusIndexFromFuncCode(r.value("func_code").toString());
        return list;
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
    delete m_dialog;
    delete m_db;
    QCOMPARE(m_prompts.texts(), QStringList());
}

void TestSlaveConfigDialog::recordNumber_data()
{
    QTest::addColumn<QString>("funcCode");
    QTest::addColumn<int>("number");
    QTest::newRow("first") << "Un000" << 0;
    QTest::newRow("last row") << "Un007" << 7;
    QTest::newRow("one past the rows") << "Un008" << -1;
    QTest::newRow("digits spread out") << "U-n0-0-3" << 3;
    QTest::newRow("no digits") << "Un" << -1;
    QTest::newRow("overflows int") << "Un99999999999" << -1;
}

void TestSlaveConfigDialog::recordNumber()
{
    QFETCH(QString, funcCode);
    QFETCH(int, number);
    QCOMPARE(SlaveConfigDialog::statusIndexFromFuncCode(funcCode), number);
}

void TestSlaveConfigDialog::statusText_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<QString>("valueText");
    QTest::addColumn<int>("value");
    QTest::addColumn<QString>("text");
    // Records carry decimals 1 and unit "V" throughout.
    QTest::newRow("scaled with unit") << "0.0~1000.0" << "" << 123 << "12.3 V";
    QTest::newRow("negative range reads signed") << "-600.0~600.0" << "" << 65036 << "-50 V";
    QTest::newRow("mapped") << "0~1" << "0:Off/1:On" << 1 << "On";
    QTest::newRow("unmapped") << "0~1" << "0:Off/1:On" << 2 << "2 : null text";
    QTest::newRow("malformed entry skipped") << "0~3" << "junk/3:Fault" << 3 << "Fault";
}

void TestSlaveConfigDialog::statusText()
{
    QFETCH(QString, range);
    QFETCH(QString, valueText);
    QFETCH(int, value);
    QFETCH(QString, text);
    const RecordItem record{ { "range", range }, { "decimals", "1" }, { "unit", "V" }, { "value_text", valueText } };
    QCOMPARE(SlaveConfigDialog::statusText(record, quint16(value)), text);
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
    QCOMPARE(spy.count(), 1);   // the page hears the axes it may use now, once
    QCOMPARE(spy.at(0).at(1).value<IntList>(), axes);
    QCOMPARE(recordNumbers().size(), records);
    QCOMPARE(table()->columnCount(), 2 + records * axes.size());
    QCOMPARE(child<QComboBox>("namesComboBox")->itemText(7), QStringLiteral("[7]: Brake output"));

    if (type == HighVoltServo) {
        // Axis blocks in order, records in order within each; record 3 of axis 1 reads 57003.
        QCOMPARE(table()->horizontalHeaderItem(2 + 4 + 1)->text(), SlaveConfigDialog::tr("[轴%1]").arg(1) + "Alarm code");
        const QTableWidgetItem *cell = table()->item(0, 2 + 4 + 3);
        QCOMPARE(cell->data(SlaveConfigDialog::NumberRole).toInt() + 100 * cell->data(SlaveConfigDialog::AxisRole).toInt(), 103);
    }
    m_dialog->applyDeviceType(NoDevice);
    QCOMPARE(spy.count(), 1);
}

void TestSlaveConfigDialog::axesAndSlavesStayChosen()
{
    m_dialog->applyDeviceType(HighVoltServo);
    m_dialog->updateSlaveTable(kDevices);
    QSignalSpy spy(m_dialog, &SlaveConfigDialog::slaveCnfgChanged);

    axisBox(2)->click();
    axisBox(0)->click();
    QCOMPARE(spy.takeLast().at(1).value<IntList>(), IntList({ 2 }));
    spy.clear();
    axisBox(2)->click();   // the last axis is checked again and nothing is told
    QCOMPARE(m_dialog->selectedAxes(), IntList({ 2 }));
    QCOMPARE(spy.count(), 0);
    m_dialog->setSelectedAxes({});
    QCOMPARE(m_dialog->selectedAxes(), IntList({ 0 }));

    table()->item(2, 0)->setCheckState(Qt::Checked);
    QCOMPARE(spy.takeLast().at(0).value<IntList>(), IntList({ 1, 3 }));
    table()->item(0, 0)->setCheckState(Qt::Unchecked);   // the current slave stays chosen
    QCOMPARE(m_dialog->selectedSlaves(), IntList({ 1, 3 }));
    // Choices survive a rebuild; malformed entries add no row and do not shift the others.
    m_dialog->updateSlaveTable({ "[3]:HighVolt Servo", "garbage", "[x]:bad", "[1]:HighVolt Servo" });
    QCOMPARE(table()->rowCount(), 2);
    QCOMPARE(m_dialog->selectedSlaves(), IntList({ 3, 1 }));

    // Without the current slave in the list, the last checked row cannot be unchecked either.
    ComSettingsFrame::setCurrentSlave(9);
    m_dialog->updateSlaveTable(kDevices);
    table()->item(0, 0)->setCheckState(Qt::Unchecked);
    table()->item(2, 0)->setCheckState(Qt::Unchecked);
    QCOMPARE(m_dialog->selectedSlaves(), IntList({ 3 }));
}

void TestSlaveConfigDialog::newAndDeleteColumns()
{
    auto *names = child<QComboBox>("namesComboBox");
    auto *position = child<QComboBox>("insertPosComboBox");
    auto *number = child<QLineEdit>("addrLineEdit");
    auto *newButton = child<QAbstractButton>("newButton");
    m_dialog->applyDeviceType(OtherDevice1);   // no default records: New adds the first column
    m_dialog->updateSlaveTable(kDevices);
    QTest::keyClicks(number, "6x");
    QCOMPARE(names->currentIndex(), 6);
    newButton->click();
    QCOMPARE(table()->columnCount(), 3);

    m_dialog->applyDeviceType(HighVoltServo);
    newButton->click();   // nothing selected: nothing inserted
    names->setCurrentIndex(5);
    QCOMPARE(number->text(), QStringLiteral("5"));
    table()->selectColumn(3);
    newButton->click();
    QCOMPARE(recordNumbers(), IntList({ 0, 5, 1, 2, 3 }));
    QCOMPARE(table()->selectionModel()->selectedColumns().value(0).column(), 4);   // still the one chosen
    names->setCurrentIndex(7);
    position->setCurrentIndex(1);
    newButton->click();
    QCOMPARE(recordNumbers(), IntList({ 0, 5, 1, 7, 2, 3 }));

    // A column of the second axis block names the same record as its twin in the first.
    m_dialog->setSelectedAxes({ 0, 1 });
    names->addItem("[42]: ghost");   // a number without a record inserts nothing
    names->setCurrentIndex(8);
    table()->selectColumn(2 + 6 + 1);
    newButton->click();
    QCOMPARE(recordNumbers().size(), 6);

    table()->selectColumn(3);
    table()->selectionModel()->select(table()->model()->index(0, 2 + 6 + 5), QItemSelectionModel::Select | QItemSelectionModel::Columns);
    table()->selectionModel()->select(table()->model()->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Columns);
    child<QAbstractButton>("deleteButton")->click();
    QCOMPARE(recordNumbers(), IntList({ 0, 1, 7, 2 }));
    QCOMPARE(table()->columnCount(), 2 + 2 * 4);
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
    table()->item(1, 0)->setCheckState(Qt::Checked);
    table()->item(2, 0)->setCheckState(Qt::Checked);
    QElapsedTimer clock;
    clock.start();
    m_dialog->show();

    const QStringList expected{ "-500 rpm", "0", "12.5 %", "310.5 V" };
    QTRY_COMPARE_WITH_TIMEOUT(rowTexts(2), expected, 10000);
    QCOMPARE(rowTexts(0), expected);
    QCOMPARE(rowTexts(1), QStringList({ " ", " ", " ", " " }));
    // A reported failure ends the wait at once, without the time-out.
    if (forwardErrors)
        QVERIFY2(clock.elapsed() < 4 * SlaveConfigDialog::kWaitLimitMs, qPrintable(QString::number(clock.elapsed())));

    for (int c = 2; c < 6; ++c)
        table()->item(0, c)->setText("stale");
    QTRY_COMPARE_WITH_TIMEOUT(rowTexts(0), expected, 10000);   // round again, past the silent slave

    // A rebuild mid-walk restarts it on the new columns.
    m_dialog->setSelectedAxes({ 0, 1 });
    QTRY_VERIFY_WITH_TIMEOUT(!rowTexts(2).at(4).trimmed().isEmpty(), 10000);
    QCOMPARE(rowTexts(2).mid(0, 4), expected);
    QVERIFY(frame.isConnected());

    m_dialog->hide();   // hidden, the walk stops asking; the link reads only its status word now and then
    QTest::qWait(300);
    link.sim().clearLog();
    QTest::qWait(300);
    const QStringList asked = link.sim().logLines().filter(QRegularExpression(
        QStringLiteral("^(?!slave=1 fc=3 addr=%1 count=1$)").arg(ComSettingsFrame::addrMap(34))));
    QVERIFY2(asked.isEmpty(), qPrintable(asked.join('\n')));
}

QTEST_MAIN(TestSlaveConfigDialog)
#include "tst_slaveconfigdialog.moc"
