#include "comm/comsettingsframe.h"
#include "comm/modbusmaster.h"
#include "comm/registermap.h"
#include "data/databasemanager.h"
#include "servo/servoparamframe.h"
#include "support/servopagefixture.h"
#include "widgets/customitemdelegate.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

#include <memory>

// The servo parameter page: its tree and table, and its passes against the simulated drive.
class TestServoParamFrame : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup() { f.reset(); }
    void addressing_data();
    void addressing();
    void groupTree();
    void tableRows();
    void displayModeAndRowEdits();
    void uploadWriteDownloadRecover_data();
    void uploadWriteDownloadRecover();
    void failingSlaveLeavesRightCells();
    void uploadWaitsForTheLink();
    void waitsEndOnlyOnTheirOwnFailures();
    void failedAndUnconvertibleWrites();
    void definitionsShrinkUnderTheTable();
    void monitorIconTurnsWithoutLayout();

private:
    QString text(int row, int column) const { return f->text(row, column); }
    int row(const QString &code, const QString &slaveAxis = QString()) const { return f->row(code, slaveAxis); }
    QStringList simLog() const { return f->link.sim().logLines(); }
    bool logHas(const QString &line, int ms = 3000) const
    {
        return QTest::qWaitFor([&] { return simLog().contains(line); }, ms);
    }
    QTableView *view() const { return f->page->findChild<QTableView *>(QStringLiteral("paramsTableView")); }
    void setViewMode(int mode) { f->page->findChild<QComboBox *>(QStringLiteral("viewModeComBox"))->setCurrentIndex(mode); }
    void open(const QList<int> &slaves, const QStringList &codes, const QList<int> &axes = { 0 }) const
    {
        f->page->show(), f->page->onSalveCnfgChanged(slaves, axes), f->check(codes);
    }
    QStringList texts(const QStringList &rows, int column) const   // rows as "Pn008" or "Pn008 1/0"
    {
        QStringList out;
        for (const QString &r : rows)
            out << text(row(r.section(' ', 0, 0), r.section(' ', 1)), column);
        return out;
    }

    std::unique_ptr<ServoPageFixture> f;
};

void TestServoParamFrame::init()
{
    f.reset(new ServoPageFixture);
    QVERIFY(f->db.isValid());
    // Quick failures: an absent slave costs 150 ms per request.
    f->frame->engine()->setResponseTimeout(150);
    f->frame->engine()->setRetries(0);
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
    f->setDevice(HighVoltServo);
    QStandardItemModel *tree = f->page->treeModel();
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
    QCOMPARE(QStringList({ text(0, 0), text(1, 0), text(2, 0) }), QStringList({ "Pn028", "Pn027", "Pn025" }));
    tree->item(8)->setCheckState(Qt::Unchecked);
    QCOMPARE(f->page->tableModel()->rowCount(), ServoParamFrame::MinRows);
    QCOMPARE(row(QStringLiteral("Pn025")), -1);
}

void TestServoParamFrame::tableRows()
{
    f->setDevice(HighVoltServo);
    f->page->onSalveCnfgChanged({}, {});
    QCOMPARE(f->page->slaveList(), QList<int>({ 1 }));
    QCOMPARE(f->page->axisList(), QList<int>({ 0 }));
    f->check({ "Pn008", "Pn021", "Pn020" });
    QCOMPARE(f->page->tableModel()->columnCount(), 9);
    QCOMPARE(f->page->tableModel()->rowCount(), 3 + ServoParamFrame::MinRows);   // on top of the fillers
    QVERIFY(view()->isColumnHidden(1));
    const int r = row("Pn008");
    QCOMPARE(f->cell(r, 0)->data(ServoParamFrame::IdRole).toInt(), 7);
    QCOMPARE(text(r, 2), QStringLiteral("Speed loop gain"));
    QCOMPARE(f->cell(r, 2)->foreground().color(), QColor(0, 150, 0));
    QCOMPARE(f->cell(r, 3)->data(CustomItemDelegate::ComboConfigRole).toMap().value("currentIndex").toInt(), 0);
    QCOMPARE(text(r, 4), QStringLiteral("1/0"));
    QCOMPARE(text(r, 5), QString());   // nothing read yet
    QCOMPARE(f->cell(r, 6)->data(CustomItemDelegate::LineEditConfigRole),
             CustomItemDelegate::lineEditConfig(1.0, 2000.0, 1, true));
    QCOMPARE(text(r, 7), QStringLiteral("Hz"));
    // No range: no editor limits, and the "none" text; "\n" in a description is a line break.
    QCOMPARE(text(row("Pn021"), 8), ServoParamFrame::tr("无"));
    QVERIFY(!f->cell(row("Pn021"), 6)->data(CustomItemDelegate::LineEditConfigRole).isValid());
    QCOMPARE(f->cell(row("Pn020"), 5)->toolTip(), QStringLiteral("0: 4800\n1: 9600\n2: 19200\n3: 38400\n4: 57600\n5: 115200"));
    f->check({ "Pn020" }, false);

    // Three slaves and eight axes: a row per pair, slave-major, for each parameter.
    f->page->onSalveCnfgChanged({ 1, 2, 3 }, { 0, 1, 2, 3, 4, 5, 6, 7 });
    QCOMPARE(f->page->tableModel()->rowCount(), 24 + 24 + 30);
    QCOMPARE(text(row("Pn008"), 4), QStringLiteral("1/0"));
    QCOMPARE(text(row("Pn008") + 7, 4), QStringLiteral("1/7"));
    QCOMPARE(text(row("Pn008") + 23, 4), QStringLiteral("3/7"));
    QCOMPARE(f->page->displayMode(QStringLiteral("Slave3-Axis7-Pn8")), 0);

    // Compact: one row per parameter, a value column per pair.
    setViewMode(1);
    QCOMPARE(f->page->tableModel()->columnCount(), 2 + 24 + 1);
    QCOMPARE(f->page->tableModel()->headerData(2, Qt::Horizontal).toString(), ServoParamFrame::tr("当前值[%1/%2]").arg(1).arg(0));
    QCOMPARE(f->page->tableModel()->headerData(25, Qt::Horizontal).toString(), ServoParamFrame::tr("当前值[%1/%2]").arg(3).arg(7));
    QCOMPARE(f->page->tableModel()->headerData(26, Qt::Horizontal).toString(), ServoParamFrame::tr("新值"));
    QCOMPARE(f->page->tableModel()->rowCount(), 2 + 30);
    QCOMPARE(text(row(QStringLiteral("Pn008")), 1), QStringLiteral("Speed loop gain"));
    QVERIFY(!view()->isColumnHidden(1));
    QVERIFY(text(29, 0).isEmpty());
}

void TestServoParamFrame::displayModeAndRowEdits()
{
    f->setDevice(HighVoltServo);
    ComSettingsFrame::setRegister(1, 56108, 0xFFFF);
    ComSettingsFrame::setRegister(1, 56117, 0x0001);   // int32L: low word first
    ComSettingsFrame::setRegister(1, 56118, 0x0002);
    ComSettingsFrame::setRegister(1, 56103, 0x0001);   // int32 whose second word is unknown
    f->check({ "Pn008", "Pn017", "Pn003" });
    QCOMPARE(text(row("Pn008"), 5), QStringLiteral("-0.1"));
    QCOMPARE(text(row("Pn017"), 5), QStringLiteral("+131073"));
    QCOMPARE(text(row("Pn003"), 5), QStringLiteral("+1"));

    // The format combo as the delegate commits it: the cell is shown again and keeps its mode.
    f->setDisplayMode(row("Pn008"), 2);
    QCOMPARE(text(row("Pn008"), 5), QStringLiteral("16#ffff"));
    QCOMPARE(f->page->displayMode(QStringLiteral("Slave1-Axis0-Pn8")), 2);
    f->page->standardItemChanged(QStringLiteral("Servo Paramter"));   // rebuilds the table
    QCOMPARE(text(row("Pn008"), 5), QStringLiteral("16#ffff"));

    // Typing a Pn into a first cell replaces the row at once, also through the editor; an unknown
    // one stays as typed.
    f->cell(5, 0)->setText(QStringLiteral("Pn010"));
    QCOMPARE(text(5, 2), QStringLiteral("Torque filter time"));
    view()->edit(f->page->tableModel()->index(7, 0));
    auto *editor = view()->viewport()->findChild<QLineEdit *>();
    QVERIFY(editor);
    editor->setText(QStringLiteral("Pn012"));
    QTest::keyClick(editor, Qt::Key_Return);   // the item view commits on its next turn
    QTRY_COMPARE(text(7, 2), QStringLiteral("Acceleration time"));
    f->cell(6, 0)->setText(QStringLiteral("Pn999"));
    QCOMPARE(text(6, 0), QStringLiteral("Pn999"));
    QVERIFY(text(6, 2).isEmpty());

    // Return on a parameter brings the next one into the row below.
    view()->setCurrentIndex(f->page->tableModel()->index(5, 0));
    QTest::keyClick(f->page, Qt::Key_Return);
    QCOMPARE(text(6, 0), QStringLiteral("Pn011"));   // an unknown Pn below is taken over
    QCOMPARE(row("Pn999"), -1);

    view()->setCurrentIndex(f->page->tableModel()->index(0, 0));
    f->page->onTableRowInsert();
    QVERIFY(text(0, 0).isEmpty());
    view()->selectionModel()->select(f->page->tableModel()->index(6, 3), QItemSelectionModel::ClearAndSelect);
    view()->selectionModel()->select(f->page->tableModel()->index(7, 1), QItemSelectionModel::Select);
    f->page->onTableRowDelete();
    QCOMPARE(QList<int>({ row("Pn010"), row("Pn011"), row("Pn008") }), QList<int>({ -1, -1, 3 }));
}

void TestServoParamFrame::uploadWriteDownloadRecover_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("codes");      // 16-bit with decimals, int32 (high first), int32L
    QTest::addColumn<QStringList>("defaults");   // as shown for axis 0
    QTest::addColumn<QString>("preset16");       // axis 1 holds raw 300
    QTest::addColumn<QString>("newText");        // raw 125
    const QStringList codes { "Pn008", "Pn003", "Pn017" };
    const QStringList defaults { "+25.0", "+1", "+30000" };
    QTest::newRow("high volt") << 1 << codes << defaults << "+30.0" << "12.5";
    QTest::newRow("low volt") << 2 << QStringList { "Pn007", "Pn003", "Pn018" } << QStringList { "+20.00", "+10000", "+20000" }
                              << "+3.00" << "1.25";
    QTest::newRow("trelvox") << 3 << codes << defaults << "+30.0" << "12.5";
}

void TestServoParamFrame::uploadWriteDownloadRecover()
{
    QFETCH(int, type);
    QFETCH(QStringList, codes);
    QFETCH(QStringList, defaults);
    QFETCH(QString, preset16);
    QFETCH(QString, newText);
    const QString shown = QLatin1Char('+') + newText;
    const int base = type == 3 ? 0 : 56100;
    const int stride = type == 1 ? 100 : type == 2 ? 400 : 768;
    const int writeOffset = type == 3 ? 128 : 0;
    const int pn16 = base + codes[0].mid(2).toInt();   // axis 0 read addresses
    const int pnHigh = base + codes[1].mid(2).toInt();
    const int pnLow = base + codes[2].mid(2).toInt();
    const auto set = [](int addr, int value) { return QStringLiteral("--set=%1=%2").arg(addr).arg(value); };
    QVERIFY(f->connectTo(DeviceEnum(type), { QStringLiteral("--slave"), QStringLiteral("1,2"), set(pn16 + stride, 300),
                                             set(pnHigh + stride, 0xFFFF), set(pnHigh + stride + 1, 0xFFFE),
                                             set(pnLow + stride, 0x0001), set(pnLow + stride + 1, 0x0002) }));
    f->page->show();
    f->page->onSalveCnfgChanged({ 1 }, { 0, 1 });
    f->check(codes);
    QVERIFY(f->pass("upLoadButton"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(text(row(codes[i], "1/0"), 5), defaults[i]);
    QCOMPARE(text(row(codes[0], "1/1"), 5), preset16);
    QCOMPARE(text(row(codes[1], "1/1"), 5), QStringLiteral("-2"));
    QCOMPARE(text(row(codes[2], "1/1"), 5), QStringLiteral("+131073"));
    QVERIFY(simLog().contains(QStringLiteral("slave=1 fc=3 addr=%1 count=1").arg(pnLow + stride + 1)));

    // Write: the words in their order, at the write address; the device holds them.
    f->cell(row(codes[0], "1/1"), 6)->setText(newText);
    f->cell(row(codes[1], "1/0"), 6)->setText(QStringLiteral("-100000"));   // 0xFFFE7960
    f->cell(row(codes[2], "1/0"), 6)->setText(QStringLiteral("70000"));     // 0x00011170
    f->link.sim().clearLog();
    QVERIFY(f->pass("writeParamBtn"));
    const auto wire = [](int addr, int value) { return QStringLiteral("slave=1 fc=6 addr=%1 value=%2").arg(addr).arg(value); };
    const auto write = [&](int readAddr, int value) { return wire(readAddr + writeOffset, value); };
    QCOMPARE(simLog().filter(QStringLiteral("fc=6")), QStringList({ write(pnLow, 0x1170), write(pnLow + 1, 1), write(pnHigh, 0xFFFE),
                                                                    write(pnHigh + 1, 0x7960), write(pn16 + stride, 125) }));
    const QStringList all { codes[0] + " 1/0", codes[1] + " 1/0", codes[2] + " 1/0", codes[0] + " 1/1", codes[1] + " 1/1", codes[2] + " 1/1" };
    QCOMPARE(texts(all, 6), QStringList({ "", "", "", "", "", "" }));
    QVERIFY(f->pass("upLoadButton"));
    QCOMPARE(texts(all, 5), QStringList({ defaults[0], "-100000", "+70000", shown, "-2", "+131073" }));

    // Download asks first and leaves the new values in place.
    f->cell(row(codes[0], "1/0"), 6)->setText(newText);
    f->link.sim().clearLog();
    QVERIFY(f->pass("downLoadButton"));
    QVERIFY(f->prompts.last().text.startsWith(QStringLiteral("The current values of all parameters")));
    QVERIFY(simLog().contains(write(pn16, 125)));
    QCOMPARE(text(row(codes[0], "1/0"), 6), newText);

    // Compact view: "Write" sends only the selected cells of a row.
    setViewMode(1);
    QVERIFY(f->pass("upLoadButton"));
    const int compact = row(codes[0]);
    QCOMPARE(QStringList({ text(compact, 2), text(compact, 3) }), QStringList({ shown, shown }));
    f->cell(compact, 4)->setText(QStringLiteral("0"));
    view()->selectionModel()->select(f->page->tableModel()->index(compact, 3), QItemSelectionModel::ClearAndSelect);
    f->link.sim().clearLog();
    QVERIFY(f->pass("writeParamBtn"));
    QCOMPARE(simLog().filter(QStringLiteral("fc=6")), QStringList { write(pn16 + stride, 0) });
    QVERIFY(text(compact, 4).isEmpty());

    // Restore factory settings, then the drive reads its defaults again.
    QStringList expected;
    if (type == 1) {
        f->page->onSalveCnfgChanged({ 1, 2 }, { 0, 1 });
        QVERIFY(f->waitIdle());
        for (int slave : { 1, 2 }) {
            for (int axis : { 0, 1 })
                expected << QStringLiteral("slave=%1 fc=6 addr=%2 value=8051").arg(slave).arg(56100 + 100 * axis);
        }
    } else {
        f->frame->setCurrentAxis(1);
        const int command = (type == 2 ? 56380 : 280) + stride;
        expected << wire(command + 3, 0) << wire(command + 2, 0x4000) << wire(command, 0x0101)
                 << QStringLiteral("slave=1 fc=3 addr=%1 count=1").arg(command + 3);
    }
    f->link.sim().clearLog();
    f->click("resetDefaultBtn");
    QVERIFY(logHas(expected.last()));
    // The link's own read of the status word, now and then, may come between.
    const QString keepAlive = QStringLiteral("slave=1 fc=3 addr=%1 count=1").arg(ComSettingsFrame::addrMap(34));
    QStringList seen = simLog();
    if (!expected.contains(keepAlive))
        seen.removeAll(keepAlive);
    QCOMPARE(seen.mid(0, expected.size()), expected);
    f->page->onSalveCnfgChanged({ 1 }, { 0, 1 });
    QVERIFY(f->pass("upLoadButton"));
    QCOMPARE(text(row(codes[0]), 3), defaults[0]);
    QCOMPARE(text(row(codes[2]), 3), defaults[2]);
}

void TestServoParamFrame::failingSlaveLeavesRightCells()
{
    QVERIFY(f->connectTo(HighVoltServo));
    f->page->show();
    f->page->onSalveCnfgChanged({ 1, 2 }, { 0 });
    f->check({ "Pn008", "Pn003" });
    ComSettingsFrame::setRegister(2, 56108, 7);   // an old value must not survive the failed read
    QVERIFY(f->pass("upLoadButton"));
    QCOMPARE(QStringList({ text(row("Pn008", "1/0"), 5), text(row("Pn003", "1/0"), 5) }), QStringList({ "+25.0", "+1" }));
    QCOMPARE(text(row("Pn008", "2/0"), 5) + text(row("Pn003", "2/0"), 5), QString());
    QVERIFY(f->frame->isConnected());
}

// An upload asked for before the link is open rests and goes on, unasked, once it opens.
void TestServoParamFrame::uploadWaitsForTheLink()
{
    f->setDevice(HighVoltServo);
    f->page->show();
    f->page->onSalveCnfgChanged({ 1 }, { 0 });
    f->check({ "Pn008" });
    f->click("upLoadButton");
    QTest::qWait(30);   // ticks that find the link closed
    QVERIFY(text(row("Pn008", "1/0"), 5).isEmpty());
    QVERIFY(f->connectTo(HighVoltServo));
    QTRY_COMPARE(text(row("Pn008", "1/0"), 5), QStringLiteral("+25.0"));
}

void TestServoParamFrame::waitsEndOnlyOnTheirOwnFailures()
{
    QVERIFY(f->connectTo(HighVoltServo));
    f->page->show();
    f->page->onSalveCnfgChanged({ 1 }, { 0 });
    f->check({ "Pn003" });
    QVERIFY(f->waitIdle());
    // A failure reported before the cell was asked for belongs to another request.
    emit f->frame->modbusComError(1, 56103);
    QVERIFY(f->pass("upLoadButton"));
    QCOMPARE(text(row("Pn003"), 5), QStringLiteral("+1"));

    // Slave 2 is silent; only the second word of the 32-bit value is reported failed.
    f->frame->engine()->setResponseTimeout(3000);
    f->page->onSalveCnfgChanged({ 2 }, { 0 });
    QVERIFY(logHas(QStringLiteral("slave=2 fc=3 addr=56103 count=1")));
    emit f->frame->modbusComError(2, 56104);
    QVERIFY(f->waitIdle(1000));   // not held until the first word times out
    QVERIFY(text(row("Pn003", "2/0"), 5).isEmpty());
}

void TestServoParamFrame::failedAndUnconvertibleWrites()
{
    QVERIFY(f->connectTo(HighVoltServo));
    f->page->show();
    f->page->onSalveCnfgChanged({ 1, 2 }, { 0 });
    f->check({ "Pn008", "Pn021" });
    QVERIFY(f->waitIdle());
    f->cell(row("Pn008", "2/0"), 5)->setText(QStringLiteral("+25.0"));   // as if read before slave 2 went
    f->cell(row("Pn008", "1/0"), 6)->setText(QStringLiteral("10"));
    f->cell(row("Pn008", "2/0"), 6)->setText(QStringLiteral("10"));
    f->cell(row("Pn021", "1/0"), 6)->setText(QStringLiteral("abc"));
    f->link.sim().clearLog();
    QVERIFY(f->pass("writeParamBtn"));
    QCOMPARE(simLog().filter(QStringLiteral("slave=1 fc=6")), QStringList { "slave=1 fc=6 addr=56108 value=100" });
    QVERIFY(text(row("Pn008", "1/0"), 6).isEmpty());
    QCOMPARE(text(row("Pn008", "2/0"), 6), QStringLiteral("10"));
    QCOMPARE(text(row("Pn021", "1/0"), 6), QStringLiteral("abc"));
    QCOMPARE(f->warnings().size(), 1);
    QVERIFY(f->lastWarning().contains(QStringLiteral("Pn008 [2/0]")));
    QVERIFY(f->lastWarning().contains(QStringLiteral("Pn021 [1/0]: \"abc\"")));

    // A 16-bit register cannot take 70000.
    f->cell(row("Pn021", "1/0"), 6)->setText(QStringLiteral("70000"));
    f->cell(row("Pn008", "2/0"), 6)->setText(QString());
    f->link.sim().clearLog();
    QVERIFY(f->pass("writeParamBtn"));
    QVERIFY(simLog().filter(QStringLiteral("fc=6")).isEmpty());
    QVERIFY(f->lastWarning().contains(QStringLiteral("\"70000\"")));

    // Restoring factory settings sends nothing at all while the link is down.
    f->frame->disconnectDevice();
    f->link.sim().clearLog();
    f->click("resetDefaultBtn");
    QTest::qWait(200);
    QVERIFY(simLog().isEmpty());
    QVERIFY(f->lastWarning().contains(QStringLiteral("not connected")));
}

void TestServoParamFrame::definitionsShrinkUnderTheTable()
{
    f->setDevice(HighVoltServo);
    f->check({ "Pn040" });   // id 35
    QVERIFY(f->db.exec("DELETE FROM servo_params WHERE id > 10"));
    // The list changes before the page hears of it (the broadcast rebuilds the table).
    disconnect(DatabaseManager::instance(), &DatabaseManager::devChangedSignal, f->page, nullptr);
    DatabaseManager::instance()->onDeviceChanged(HighVoltServo);
    QCOMPARE(DatabaseManager::instance()->servoParams().size(), 10);
    QVERIFY(row("Pn040") >= 0);
    f->setDisplayMode(row("Pn040"), 1);
    f->page->show();   // a read pass over a row without a definition
    QVERIFY(f->waitIdle());
    f->page->standardItemChanged(QStringLiteral("Servo Paramter"));
    QCOMPARE(row("Pn040"), -1);
    QVERIFY(text(0, 0).isEmpty());
}

namespace {
// Counts what the widgets inside one widget are sent.
class EventCounter : public QObject
{
public:
    explicit EventCounter(QWidget *root) : m_root(root) { qApp->installEventFilter(this); }
    QMap<QEvent::Type, int> counts;
    QList<QWidget *> painted;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        QWidget *widget = qobject_cast<QWidget *>(watched);
        if (widget && (widget == m_root || m_root->isAncestorOf(widget))) {
            ++counts[event->type()];
            if (event->type() == QEvent::Paint)
                painted << widget;
        }
        return false;
    }

private:
    QWidget *m_root;
};
} // namespace

// While monitoring, the icon turns by repaints of the button alone: the page is not laid out again.
void TestServoParamFrame::monitorIconTurnsWithoutLayout()
{
    QVERIFY(f->connectTo(HighVoltServo));
    f->page->resize(1000, 600);
    open({ 1 }, { "Pn008" });
    QVERIFY(f->waitIdle());
    auto *monitor = f->page->findChild<QPushButton *>(QStringLiteral("realTimeReadBtn"));
    const auto icon = [monitor] { return monitor->icon().pixmap(monitor->iconSize()).toImage(); };
    const QImage still = icon();
    QTest::qWait(50);
    EventCounter counter(f->page);
    QElapsedTimer clock;
    clock.start();
    monitor->click();
    QList<QImage> shown;
    for (int i = 0; i < 5; ++i) {
        QTest::qWait(60);
        shown << icon();
    }
    QVERIFY2(std::any_of(shown.cbegin(), shown.cend(), [&](const QImage &image) { return image != still; }), "the icon turns");
    QVERIFY2(shown.first() != shown.last(), "the icon keeps turning");
    QCOMPARE(counter.counts.value(QEvent::LayoutRequest), 0);
    // Drawn at about a screen's rate, not on every 1 ms tick.
    const int paints = int(counter.painted.count(monitor));
    QVERIFY2(paints > 0 && paints <= clock.elapsed() / 16 + 2, qPrintable(QString::number(paints)));
    monitor->click();
    QCOMPARE(icon(), still);
    QVERIFY(!simLog().filter("fc=3 ").isEmpty());
}

QTEST_MAIN(TestServoParamFrame)
#include "tst_servoparamframe.moc"
