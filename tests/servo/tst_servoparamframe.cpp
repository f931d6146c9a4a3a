#include "comm/comsettingsframe.h"
#include "comm/modbusmaster.h"
#include "comm/registermap.h"
#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "servo/servoparamframe.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/servoparamtable.h"
#include "support/testdatabase.h"
#include "widgets/customitemdelegate.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

// The servo parameter page: its tree and table, and its passes against the simulated drive.
class TestServoParamFrame : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void addressing_data();
    void addressing();
    void groupTree();
    void tableRows();
    void displayModeAndRowEdits();
    void uploadWriteDownloadRecover_data();
    void uploadWriteDownloadRecover();
    void failingSlaveLeavesRightCells();
    void waitsEndOnlyOnTheirOwnFailures();
    void failedAndUnconvertibleWrites();
    void definitionsShrinkUnderTheTable();

private:
    void setDevice(DeviceEnum type);
    bool connectTo(DeviceEnum type, const QStringList &simArgs);
    void check(const QString &code, bool on = true) { QVERIFY2(ServoParamTable(m_page).check(code, on), qPrintable(code)); }
    int row(const QString &code, const QString &slaveAxis = QString()) const { return ServoParamTable(m_page).row(code, slaveAxis); }
    QStandardItem *cell(int row, int column) const { return m_page->tableModel()->item(row, column); }
    QString text(int row, int column) const { return ServoParamTable(m_page).text(row, column); }
    void click(const char *button) { m_page->findChild<QPushButton *>(QLatin1String(button))->click(); }
    bool waitIdle(int ms = 10000) { return QTest::qWaitFor([this] { return !m_page->isPassRunning(); }, ms); }
    bool logHas(const QString &line, int ms = 3000)
    {
        return QTest::qWaitFor([&] { return m_link->sim().logLines().contains(line); }, ms);
    }
    QStringList warnings() const;

    TestDatabase *m_db = nullptr;
    DevsimLink *m_link = nullptr;
    ComSettingsFrame *m_frame = nullptr;
    ServoParamFrame *m_page = nullptr;
    PromptRecorder *m_prompts = nullptr;
};

void TestServoParamFrame::init()
{
    m_db = new TestDatabase;
    QVERIFY(m_db->isValid());
    // Quick failures: an absent slave costs 150 ms per request.
    CommonUtils::saveConfigVal(1, QStringLiteral("ResponseTimeout"), QStringLiteral("150"));
    CommonUtils::saveConfigVal(1, QStringLiteral("Retries"), QStringLiteral("0"));
    m_link = new DevsimLink;
    m_frame = m_link->frame();
    m_page = new ServoParamFrame;
    DatabaseManager *db = DatabaseManager::instance();
    connect(m_frame, &ComSettingsFrame::devChangedSignal, db, &DatabaseManager::onDeviceChanged);
    connect(db, &DatabaseManager::devChangedSignal, m_page, &ServoParamFrame::onDeviceChanged);
    connect(m_frame, &ComSettingsFrame::modbusComError, m_page, &ServoParamFrame::onComError);
    m_prompts = new PromptRecorder;
    m_prompts->reply.button = QMessageBox::Yes;
}

void TestServoParamFrame::cleanup()
{
    delete m_prompts;
    delete m_page;
    delete m_link;
    delete m_db;
}

void TestServoParamFrame::setDevice(DeviceEnum type)
{
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceType"), QString::number(int(type)));
    m_frame->loadSettings();
}

bool TestServoParamFrame::connectTo(DeviceEnum type, const QStringList &simArgs)
{
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceType"), QString::number(int(type)));
    return m_link->start(QStringList { QStringLiteral("--type"), QString::number(int(type)) } + simArgs);
}

QStringList TestServoParamFrame::warnings() const
{
    QStringList texts;
    for (const Prompt::Request &r : m_prompts->requests) {
        if (r.kind == Prompt::Warning)
            texts << r.text;
    }
    return texts;
}

void TestServoParamFrame::addressing_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("pn");
    QTest::addColumn<int>("axis");
    QTest::addColumn<int>("readAddr");
    QTest::addColumn<int>("writeAddr");
    QTest::newRow("type 1") << 1 << 17 << 1 << 56217 << 56217;
    QTest::newRow("type 2 stride") << 2 << 3 << 1 << 56503 << 56503;
    QTest::newRow("type 2 wraps at 16 bits") << 2 << 0 << 24 << 164 << 164;
    QTest::newRow("type 3 writes 128 higher") << 3 << 17 << 1 << 785 << 913;
    QTest::newRow("type 3 write wraps") << 3 << 220 << 85 << 65500 << 92;
    QTest::newRow("spare type") << 6 << 5 << 7 << 56805 << 56805;
}

void TestServoParamFrame::addressing()
{
    QFETCH(int, type);
    QFETCH(int, pn);
    QFETCH(int, axis);
    QFETCH(int, readAddr);
    QFETCH(int, writeAddr);
    RegisterMap::fill(DeviceEnum(type));
    ComSettingsFrame::setCurrentDevice(DeviceEnum(type));
    QCOMPARE(int(ServoParamFrame::paramAddress(pn, axis)), readAddr);
    QCOMPARE(int(ServoParamFrame::paramAddress(pn, axis, true)), writeAddr);
}

void TestServoParamFrame::groupTree()
{
    setDevice(HighVoltServo);
    QStandardItemModel *tree = m_page->treeModel();
    QStringList groups;
    for (int g = 0; g < tree->rowCount(); ++g)
        groups << tree->item(g)->text();
    QCOMPARE(groups, QStringList({ "Basic settings", "Position control", "Gain", "Speed control", "Torque control",
                                   "Communication", "Inputs and outputs", "Protection", "Homing" }));
    QCOMPARE(tree->item(1)->data(ServoParamFrame::IdRole).toString(), QStringLiteral("isGroupItem_1"));
    // "2/Gain&&1/Position control": listed under both, in list order.
    QStringList position;
    for (int r = 0; r < tree->item(1)->rowCount(); ++r)
        position << tree->item(1)->child(r)->text();
    QCOMPARE(position.mid(0, 4), QStringList({ "Electronic gear numerator", "Electronic gear denominator",
                                               "Position loop gain", "Position deviation limit" }));
    QCOMPARE(tree->item(2)->child(0)->text(), QStringLiteral("Position loop gain"));

    // A group's box checks its parameters; each one's row goes on top.
    tree->item(8)->setCheckState(Qt::Checked);
    QCOMPARE(text(0, 0), QStringLiteral("Pn028"));
    QCOMPARE(text(1, 0), QStringLiteral("Pn027"));
    QCOMPARE(text(2, 0), QStringLiteral("Pn025"));
    tree->item(8)->setCheckState(Qt::Unchecked);
    QCOMPARE(m_page->tableModel()->rowCount(), ServoParamFrame::MinRows);
    QCOMPARE(row(QStringLiteral("Pn025")), -1);
}

void TestServoParamFrame::tableRows()
{
    setDevice(HighVoltServo);
    m_page->onSalveCnfgChanged({}, {});
    QCOMPARE(m_page->slaveList(), QList<int>({ 1 }));
    QCOMPARE(m_page->axisList(), QList<int>({ 0 }));
    check(QStringLiteral("Pn008"));
    check(QStringLiteral("Pn021"));
    QCOMPARE(m_page->tableModel()->rowCount(), 2 + ServoParamFrame::MinRows);   // on top of the fillers
    const int r = row(QStringLiteral("Pn008"));
    QCOMPARE(cell(r, 0)->data(ServoParamFrame::IdRole).toInt(), 7);
    QCOMPARE(text(r, 4), QStringLiteral("1/0"));
    QCOMPARE(cell(r, 6)->data(CustomItemDelegate::LineEditConfigRole),
             CustomItemDelegate::lineEditConfig(1.0, 2000.0, 1, true));
    // No range: no editor limits, and the "none" text; "\n" in a description is a line break.
    const int fw = row(QStringLiteral("Pn021"));
    QCOMPARE(text(fw, 8), ServoParamFrame::tr("无"));
    QVERIFY(!cell(fw, 6)->data(CustomItemDelegate::LineEditConfigRole).isValid());
    check(QStringLiteral("Pn020"));
    QCOMPARE(cell(row(QStringLiteral("Pn020")), 5)->toolTip(), QStringLiteral("0: 4800\n1: 9600\n2: 19200\n3: 38400\n4: 57600\n5: 115200"));
    check(QStringLiteral("Pn020"), false);

    // Three slaves and eight axes: a row per pair, slave-major, for each parameter.
    m_page->onSalveCnfgChanged({ 1, 2, 3 }, { 0, 1, 2, 3, 4, 5, 6, 7 });
    QCOMPARE(m_page->tableModel()->rowCount(), 24 + 24 + 30);
    const int first = row(QStringLiteral("Pn008"));
    QCOMPARE(text(first + 7, 4), QStringLiteral("1/7"));
    QCOMPARE(text(first + 23, 4), QStringLiteral("3/7"));

    // Compact: one row per parameter, a value column per pair.
    m_page->findChild<QComboBox *>(QStringLiteral("viewModeComBox"))->setCurrentIndex(1);
    QCOMPARE(m_page->tableModel()->columnCount(), 2 + 24 + 1);
    QCOMPARE(m_page->tableModel()->headerData(25, Qt::Horizontal).toString(), ServoParamFrame::tr("当前值[%1/%2]").arg(3).arg(7));
    QCOMPARE(m_page->tableModel()->rowCount(), 2 + 30);
}

void TestServoParamFrame::displayModeAndRowEdits()
{
    setDevice(HighVoltServo);
    ComSettingsFrame::setRegister(1, 56108, 0xFFFF);
    ComSettingsFrame::setRegister(1, 56117, 0x0001);   // int32L: low word first
    ComSettingsFrame::setRegister(1, 56118, 0x0002);
    ComSettingsFrame::setRegister(1, 56103, 0x0001);   // int32 whose second word is unknown
    for (const char *code : { "Pn008", "Pn017", "Pn003" })
        check(QLatin1String(code));
    QCOMPARE(text(row("Pn008"), 5), QStringLiteral("-0.1"));
    QCOMPARE(text(row("Pn017"), 5), QStringLiteral("+131073"));
    QCOMPARE(text(row("Pn003"), 5), QStringLiteral("+1"));

    // The format combo as the delegate commits it: the cell is shown again and keeps its mode.
    QVariantMap combo = cell(row("Pn008"), 3)->data(CustomItemDelegate::ComboConfigRole).toMap();
    combo.insert(QStringLiteral("currentIndex"), 2);
    cell(row("Pn008"), 3)->setData(combo, CustomItemDelegate::ComboConfigRole);
    QCOMPARE(text(row("Pn008"), 5), QStringLiteral("16#ffff"));
    QCOMPARE(m_page->displayMode(QStringLiteral("Slave1-Axis0-Pn8")), 2);
    m_page->standardItemChanged(QStringLiteral("Servo Paramter"));   // rebuilds the table
    QCOMPARE(text(row("Pn008"), 5), QStringLiteral("16#ffff"));

    // Typing a Pn into a first cell replaces the row at once, also through the editor; an unknown
    // one stays as typed.
    cell(5, 0)->setText(QStringLiteral("Pn010"));
    QCOMPARE(text(5, 2), QStringLiteral("Torque filter time"));
    QTableView *view = m_page->findChild<QTableView *>(QStringLiteral("paramsTableView"));
    view->edit(m_page->tableModel()->index(7, 0));
    auto *editor = view->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->setText(QStringLiteral("Pn012"));
    QTest::keyClick(editor, Qt::Key_Return);   // the item view commits on its next turn
    QTRY_COMPARE(text(7, 2), QStringLiteral("Acceleration time"));
    cell(6, 0)->setText(QStringLiteral("Pn999"));
    QCOMPARE(text(6, 0), QStringLiteral("Pn999"));
    QVERIFY(text(6, 2).isEmpty());

    // Return on a parameter brings the next one into the row below.
    view->setCurrentIndex(m_page->tableModel()->index(5, 0));
    QTest::keyClick(m_page, Qt::Key_Return);
    QCOMPARE(text(6, 0), QStringLiteral("Pn011"));   // an unknown Pn below is taken over
    QCOMPARE(row("Pn999"), -1);

    view->setCurrentIndex(m_page->tableModel()->index(0, 0));
    m_page->onTableRowInsert();
    QVERIFY(text(0, 0).isEmpty());
    view->selectionModel()->select(m_page->tableModel()->index(6, 3), QItemSelectionModel::ClearAndSelect);
    view->selectionModel()->select(m_page->tableModel()->index(7, 1), QItemSelectionModel::Select);
    m_page->onTableRowDelete();
    QCOMPARE(row("Pn010"), -1);
    QCOMPARE(row("Pn011"), -1);
    QCOMPARE(row("Pn008"), 3);
}

void TestServoParamFrame::uploadWriteDownloadRecover_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("codes");      // 16-bit with decimals, int32 (high first), int32L
    QTest::addColumn<QStringList>("defaults");   // as shown for axis 0
    QTest::addColumn<QString>("preset16");       // axis 1 holds raw 300
    QTest::addColumn<QString>("newText");        // raw 125
    QTest::addColumn<QString>("shown");
    QTest::newRow("high volt") << 1 << QStringList { "Pn008", "Pn003", "Pn017" } << QStringList { "+25.0", "+1", "+30000" }
                               << "+30.0" << "12.5" << "+12.5";
    QTest::newRow("low volt") << 2 << QStringList { "Pn007", "Pn003", "Pn018" } << QStringList { "+20.00", "+10000", "+20000" }
                              << "+3.00" << "1.25" << "+1.25";
    QTest::newRow("trelvox") << 3 << QStringList { "Pn008", "Pn003", "Pn017" } << QStringList { "+25.0", "+1", "+30000" }
                             << "+30.0" << "12.5" << "+12.5";
}

void TestServoParamFrame::uploadWriteDownloadRecover()
{
    QFETCH(int, type);
    QFETCH(QStringList, codes);
    QFETCH(QStringList, defaults);
    QFETCH(QString, preset16);
    QFETCH(QString, newText);
    QFETCH(QString, shown);
    const int base = type == 3 ? 0 : 56100;
    const int stride = type == 1 ? 100 : type == 2 ? 400 : 768;
    const int writeOffset = type == 3 ? 128 : 0;
    const int pn16 = codes[0].mid(2).toInt();
    const int pnHigh = codes[1].mid(2).toInt();
    const int pnLow = codes[2].mid(2).toInt();
    const auto set = [](int addr, int value) { return QStringLiteral("--set=%1=%2").arg(addr).arg(value); };
    QVERIFY(connectTo(DeviceEnum(type), { QStringLiteral("--slave"), QStringLiteral("1,2"),
                                          set(base + pn16 + stride, 300),
                                          set(base + pnHigh + stride, 0xFFFF), set(base + pnHigh + stride + 1, 0xFFFE),
                                          set(base + pnLow + stride, 0x0001), set(base + pnLow + stride + 1, 0x0002) }));
    m_page->show();
    m_page->onSalveCnfgChanged({ 1 }, { 0, 1 });
    for (const QString &code : codes)
        check(code);
    click("upLoadButton");
    QVERIFY(waitIdle());
    for (int i = 0; i < 3; ++i)
        QCOMPARE(text(row(codes[i], "1/0"), 5), defaults[i]);
    QCOMPARE(text(row(codes[0], "1/1"), 5), preset16);
    QCOMPARE(text(row(codes[1], "1/1"), 5), QStringLiteral("-2"));
    QCOMPARE(text(row(codes[2], "1/1"), 5), QStringLiteral("+131073"));
    QVERIFY(m_link->sim().logLines().contains(QStringLiteral("slave=1 fc=3 addr=%1 count=1").arg(base + pnLow + stride + 1)));

    // Write: the words in their order, at the write address; the device holds them.
    cell(row(codes[0], "1/1"), 6)->setText(newText);
    cell(row(codes[1], "1/0"), 6)->setText(QStringLiteral("-100000"));   // 0xFFFE7960
    cell(row(codes[2], "1/0"), 6)->setText(QStringLiteral("70000"));     // 0x00011170
    m_link->sim().clearLog();
    click("writeParamBtn");
    QVERIFY(waitIdle());
    const QString write = QStringLiteral("slave=1 fc=6 addr=%1 value=%2");
    const QStringList log = m_link->sim().logLines();
    QVERIFY2(log.contains(write.arg(base + pn16 + stride + writeOffset).arg(125)), qPrintable(log.join('\n')));
    const int high = log.indexOf(write.arg(base + pnHigh + writeOffset).arg(0xFFFE));
    QVERIFY(high >= 0 && log.indexOf(write.arg(base + pnHigh + writeOffset + 1).arg(0x7960)) > high);
    const int low = log.indexOf(write.arg(base + pnLow + writeOffset).arg(0x1170));
    QVERIFY(low >= 0 && log.indexOf(write.arg(base + pnLow + writeOffset + 1).arg(1)) > low);
    QVERIFY(text(row(codes[0], "1/1"), 6).isEmpty());
    QVERIFY(text(row(codes[1], "1/0"), 6).isEmpty());
    click("upLoadButton");
    QVERIFY(waitIdle());
    QCOMPARE(text(row(codes[0], "1/1"), 5), shown);
    QCOMPARE(text(row(codes[1], "1/0"), 5), QStringLiteral("-100000"));
    QCOMPARE(text(row(codes[2], "1/0"), 5), QStringLiteral("+70000"));

    // Download asks first and leaves the new values in place.
    cell(row(codes[0], "1/0"), 6)->setText(newText);
    m_link->sim().clearLog();
    click("downLoadButton");
    QVERIFY(waitIdle());
    QVERIFY(m_prompts->last().text.startsWith(QStringLiteral("The current values of all parameters")));
    QVERIFY(m_link->sim().logLines().contains(write.arg(base + pn16 + writeOffset).arg(125)));
    QCOMPARE(text(row(codes[0], "1/0"), 6), newText);

    // Compact view: "Write" sends only the selected cells of a row.
    m_page->findChild<QComboBox *>(QStringLiteral("viewModeComBox"))->setCurrentIndex(1);
    click("upLoadButton");
    QVERIFY(waitIdle());
    const int compact = row(codes[0]);
    QCOMPARE(text(compact, 2), shown);
    QCOMPARE(text(compact, 3), shown);
    cell(compact, 4)->setText(QStringLiteral("0"));
    QTableView *view = m_page->findChild<QTableView *>(QStringLiteral("paramsTableView"));
    view->selectionModel()->select(m_page->tableModel()->index(compact, 3), QItemSelectionModel::ClearAndSelect);
    m_link->sim().clearLog();
    click("writeParamBtn");
    QVERIFY(waitIdle());
    QCOMPARE(m_link->sim().logLines().filter(QStringLiteral("fc=6")),
             QStringList { write.arg(base + pn16 + stride + writeOffset).arg(0) });
    QVERIFY(text(compact, 4).isEmpty());

    // Restore factory settings, then the drive reads its defaults again.
    QStringList expected;
    if (type == 1) {
        m_page->onSalveCnfgChanged({ 1, 2 }, { 0, 1 });
        QVERIFY(waitIdle());
        for (int slave : { 1, 2 }) {
            for (int axis : { 0, 1 })
                expected << QStringLiteral("slave=%1 fc=6 addr=%2 value=8051").arg(slave).arg(56100 + 100 * axis);
        }
    } else {
        m_frame->setCurrentAxis(1);
        const int command = (type == 2 ? 56380 : 280) + stride;
        expected << write.arg(command + 3).arg(0) << write.arg(command + 2).arg(0x4000) << write.arg(command).arg(0x0101)
                 << QStringLiteral("slave=1 fc=3 addr=%1 count=1").arg(command + 3);
    }
    m_link->sim().clearLog();
    click("resetDefaultBtn");
    QVERIFY(logHas(expected.last()));
    QCOMPARE(m_link->sim().logLines().mid(0, expected.size()), expected);
    m_page->onSalveCnfgChanged({ 1 }, { 0, 1 });
    click("upLoadButton");
    QVERIFY(waitIdle());
    QCOMPARE(text(row(codes[0]), 3), defaults[0]);
    QCOMPARE(text(row(codes[2]), 3), defaults[2]);
}

void TestServoParamFrame::failingSlaveLeavesRightCells()
{
    QVERIFY(connectTo(HighVoltServo, {}));
    m_page->show();
    m_page->onSalveCnfgChanged({ 1, 2 }, { 0 });
    check(QStringLiteral("Pn008"));
    check(QStringLiteral("Pn003"));
    ComSettingsFrame::setRegister(2, 56108, 7);   // an old value must not survive the failed read
    click("upLoadButton");
    QVERIFY(waitIdle());
    QCOMPARE(text(row("Pn008", "1/0"), 5), QStringLiteral("+25.0"));
    QCOMPARE(text(row("Pn003", "1/0"), 5), QStringLiteral("+1"));
    QVERIFY(text(row("Pn008", "2/0"), 5).isEmpty());
    QVERIFY(text(row("Pn003", "2/0"), 5).isEmpty());
    QVERIFY(m_frame->isConnected());
}

void TestServoParamFrame::waitsEndOnlyOnTheirOwnFailures()
{
    QVERIFY(connectTo(HighVoltServo, {}));
    m_page->show();
    m_page->onSalveCnfgChanged({ 1 }, { 0 });
    check(QStringLiteral("Pn003"));
    QVERIFY(waitIdle());

    // A failure reported before the cell was asked for belongs to another request.
    emit m_frame->modbusComError(1, 56103);
    click("upLoadButton");
    QVERIFY(waitIdle());
    QCOMPARE(text(row("Pn003"), 5), QStringLiteral("+1"));

    // Slave 2 is silent; only the second word of the 32-bit value is reported failed.
    m_frame->engine()->setResponseTimeout(3000);
    m_page->onSalveCnfgChanged({ 2 }, { 0 });
    QVERIFY(logHas(QStringLiteral("slave=2 fc=3 addr=56103 count=1")));
    emit m_frame->modbusComError(2, 56104);
    QVERIFY(waitIdle(1000));   // not held until the first word times out
    QVERIFY(text(row("Pn003", "2/0"), 5).isEmpty());
}

void TestServoParamFrame::failedAndUnconvertibleWrites()
{
    QVERIFY(connectTo(HighVoltServo, {}));
    m_page->show();
    m_page->onSalveCnfgChanged({ 1, 2 }, { 0 });
    check(QStringLiteral("Pn008"));
    check(QStringLiteral("Pn021"));
    QVERIFY(waitIdle());
    cell(row("Pn008", "2/0"), 5)->setText(QStringLiteral("+25.0"));   // as if read before slave 2 went
    cell(row("Pn008", "1/0"), 6)->setText(QStringLiteral("10"));
    cell(row("Pn008", "2/0"), 6)->setText(QStringLiteral("10"));
    cell(row("Pn021", "1/0"), 6)->setText(QStringLiteral("abc"));
    m_link->sim().clearLog();
    click("writeParamBtn");
    QVERIFY(waitIdle());
    QCOMPARE(m_link->sim().logLines().filter(QStringLiteral("slave=1 fc=6")), QStringList { "slave=1 fc=6 addr=56108 value=100" });
    QVERIFY(text(row("Pn008", "1/0"), 6).isEmpty());
    QCOMPARE(text(row("Pn008", "2/0"), 6), QStringLiteral("10"));
    QCOMPARE(text(row("Pn021", "1/0"), 6), QStringLiteral("abc"));
    QCOMPARE(warnings().size(), 1);
    QVERIFY(warnings().first().contains(QStringLiteral("Pn008 [2/0]")));
    QVERIFY(warnings().first().contains(QStringLiteral("Pn021 [1/0]: \"abc\"")));

    // A 16-bit register cannot take 70000.
    cell(row("Pn021", "1/0"), 6)->setText(QStringLiteral("70000"));
    cell(row("Pn008", "2/0"), 6)->setText(QString());
    m_link->sim().clearLog();
    click("writeParamBtn");
    QVERIFY(waitIdle());
    QVERIFY(m_link->sim().logLines().filter(QStringLiteral("fc=6")).isEmpty());
    QVERIFY(warnings().last().contains(QStringLiteral("\"70000\"")));

    // Restoring factory settings sends nothing at all while the link is down.
    m_frame->disconnectDevice();
    m_link->sim().clearLog();
    click("resetDefaultBtn");
    QTest::qWait(200);
    QVERIFY(m_link->sim().logLines().isEmpty());
    QVERIFY(warnings().last().contains(QStringLiteral("not connected")));
}

void TestServoParamFrame::definitionsShrinkUnderTheTable()
{
    setDevice(HighVoltServo);
    check(QStringLiteral("Pn040"));   // id 35
    QVERIFY(m_db->exec("DELETE FROM servo_params WHERE id > 10"));
    // The list changes before the page hears of it (the broadcast rebuilds the table).
    disconnect(DatabaseManager::instance(), &DatabaseManager::devChangedSignal, m_page, nullptr);
    DatabaseManager::instance()->onDeviceChanged(HighVoltServo);
    QCOMPARE(DatabaseManager::instance()->servoParams().size(), 10);
    const int r = row("Pn040");
    QVERIFY(r >= 0);

    QVariantMap combo = cell(r, 3)->data(CustomItemDelegate::ComboConfigRole).toMap();
    combo.insert(QStringLiteral("currentIndex"), 1);
    cell(r, 3)->setData(combo, CustomItemDelegate::ComboConfigRole);
    m_page->show();                   // a read pass over a row without a definition
    QVERIFY(waitIdle());
    m_page->standardItemChanged(QStringLiteral("Servo Paramter"));
    QCOMPARE(row("Pn040"), -1);
    QVERIFY(text(0, 0).isEmpty());
}

QTEST_MAIN(TestServoParamFrame)
#include "tst_servoparamframe.moc"
