#include "comm/comsettingsframe.h"
#include "comm/modbusmaster.h"
#include "comm/registermap.h"
#include "data/databasemanager.h"
#include "servo/servoparamframe.h"
#include "support/servopagefixture.h"

#include <QPushButton>
#include <QStandardItemModel>
#include <QtTest>

#include <memory>

// The servo parameter page: its tree and table, and its passes against the simulated drive.
class TestServoParamFrame : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { f.reset(); }
    void addressing();
    void displayModeAndRowEdits();
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
    bool logHas(const QString &line, int ms = 3000) const { return QTest::qWaitFor([&] { return simLog().contains(line); }, ms); }
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
    f->frame->engine()->setResponseTimeout(150);
    f->frame->engine()->setRetries(0);
}

void TestServoParamFrame::addressing()
{
    // {type, pn, axis, read address, write address}: strides wrap at 16 bits; type 3 writes 128 higher.
    for (const QList<int> &c : QList<QList<int>> { { 1, 17, 1, 56217, 56217 }, { 2, 0, 24, 164, 164 },
                                                   { 3, 17, 1, 785, 913 }, { 3, 220, 85, 65500, 92 } }) {
        RegisterMap::fill(DeviceEnum(c[0]));
        ComSettingsFrame::setCurrentDevice(DeviceEnum(c[0]));
        QCOMPARE(QList<int>({ ServoParamFrame::paramAddress(c[1], c[2]), ServoParamFrame::paramAddress(c[1], c[2], true) }), c.mid(3));
    }
}

void TestServoParamFrame::displayModeAndRowEdits()
{
    f->setDevice(HighVoltServo);
    // Pn008 0xFFFF; Pn017 an int32L, low word first; Pn003 an int32 whose second word is unknown.
    for (const QList<int> &r : QList<QList<int>> { { 56108, 0xFFFF }, { 56117, 1 }, { 56118, 2 }, { 56103, 1 } })
        ComSettingsFrame::setRegister(1, Uint16(r[0]), Uint16(r[1]));
    f->check({ "Pn008", "Pn017", "Pn003" });
    QCOMPARE(texts({ "Pn008", "Pn017", "Pn003" }, 5), QStringList({ "-0.1", "+131073", "+1" }));
    // The format combo as the delegate commits it: the cell is shown again and keeps its mode.
    f->setDisplayMode(row("Pn008"), 2);
    QCOMPARE(text(row("Pn008"), 5), QStringLiteral("16#ffff"));
    f->page->standardItemChanged(QStringLiteral("Servo Paramter"));   // rebuilds the table
    QCOMPARE(text(row("Pn008"), 5), QStringLiteral("16#ffff"));
    // Typing a Pn into a first cell replaces the row at once.
    f->cell(5, 0)->setText(QStringLiteral("Pn010"));
    QCOMPARE(text(5, 2), QStringLiteral("Torque filter time"));
}

// Against a drive whose parameters are written 128 above where they are read.
void TestServoParamFrame::uploadWriteDownloadRecover()
{
    const QStringList codes { "Pn008", "Pn003", "Pn017" };   // 16-bit with decimals, int32 (high first), int32L
    const int stride = 768, pn16 = 8, pnHigh = 3, pnLow = 17;       // axis 0 read addresses
    const auto set = [](int addr, int value) { return QStringLiteral("--set=%1=%2").arg(addr).arg(value); };
    QVERIFY(f->connectTo(DeviceEnum(3), { set(pn16 + stride, 300), set(pnHigh + stride, 0xFFFF), set(pnHigh + stride + 1, 0xFFFE),
                                          set(pnLow + stride, 0x0001), set(pnLow + stride + 1, 0x0002) }));
    open({ 1 }, codes, { 0, 1 });
    const QStringList all { "Pn008 1/0", "Pn003 1/0", "Pn017 1/0", "Pn008 1/1", "Pn003 1/1", "Pn017 1/1" };
    QVERIFY(f->pass("upLoadButton"));
    QCOMPARE(texts(all, 5), QStringList({ "+25.0", "+1", "+30000", "+30.0", "-2", "+131073" }));
    // Write: the words in their order, at the write address; the device holds them.
    f->cell(row(codes[0], "1/1"), 6)->setText(QStringLiteral("12.5"));
    f->cell(row(codes[1], "1/0"), 6)->setText(QStringLiteral("-100000"));   // 0xFFFE7960
    f->cell(row(codes[2], "1/0"), 6)->setText(QStringLiteral("70000"));     // 0x00011170
    f->link.sim().clearLog();
    QVERIFY(f->pass("writeParamBtn"));
    const auto wire = [](int addr, int value) { return QStringLiteral("slave=1 fc=6 addr=%1 value=%2").arg(addr).arg(value); };
    const auto write = [&](int readAddr, int value) { return wire(readAddr + 128, value); };
    QCOMPARE(simLog().filter(QStringLiteral("fc=6")), QStringList({ write(pnLow, 0x1170), write(pnLow + 1, 1), write(pnHigh, 0xFFFE),
                                                                    write(pnHigh + 1, 0x7960), write(pn16 + stride, 125) }));
    QCOMPARE(texts(all, 6), QStringList({ "", "", "", "", "", "" }));
    QVERIFY(f->pass("upLoadButton"));
    QCOMPARE(texts(all, 5), QStringList({ "+25.0", "-100000", "+70000", "+12.5", "-2", "+131073" }));
    // Download asks first and leaves the new values in place.
    f->cell(row(codes[0], "1/0"), 6)->setText(QStringLiteral("12.5"));
    QVERIFY(f->pass("downLoadButton"));
    QVERIFY(f->prompts.last().text.startsWith(QStringLiteral("The current values of all parameters")));   // asked
    QVERIFY(simLog().contains(write(pn16, 125)));
    QCOMPARE(text(row(codes[0], "1/0"), 6), QStringLiteral("12.5"));
    // Restore factory settings on the current axis, then the drive reads its defaults again.
    f->frame->setCurrentAxis(1);
    const int command = 280 + stride;
    const QStringList expected { wire(command + 3, 0), wire(command + 2, 0x4000), wire(command, 0x0101),
                                 QStringLiteral("slave=1 fc=3 addr=%1 count=1").arg(command + 3) };
    f->link.sim().clearLog();
    f->click("resetDefaultBtn");
    QVERIFY(logHas(expected.last()));
    QCOMPARE(simLog().mid(0, expected.size()), expected);
    f->page->onSalveCnfgChanged({ 1 }, { 0, 1 });
    QVERIFY(f->pass("upLoadButton"));
    QCOMPARE(texts({ "Pn008 1/1", "Pn017 1/1" }, 5), QStringList({ "+25.0", "+30000" }));
}

void TestServoParamFrame::failingSlaveLeavesRightCells()
{
    QVERIFY(f->connectTo(HighVoltServo));
    open({ 1, 2 }, { "Pn008", "Pn003" });
    ComSettingsFrame::setRegister(2, 56108, 7);   // an old value must not survive the failed read
    QVERIFY(f->pass("upLoadButton"));
    QCOMPARE(texts({ "Pn008 1/0", "Pn003 1/0", "Pn008 2/0", "Pn003 2/0" }, 5), QStringList({ "+25.0", "+1", "", "" }));
    QVERIFY(f->frame->isConnected());
}

// An upload asked for before the link is open rests and goes on, unasked, once it opens.
void TestServoParamFrame::uploadWaitsForTheLink()
{
    f->setDevice(HighVoltServo);
    open({ 1 }, { "Pn008" });
    f->click("upLoadButton");
    QTest::qWait(30);   // ticks that find the link closed
    QVERIFY(text(row("Pn008", "1/0"), 5).isEmpty());
    QVERIFY(f->connectTo(HighVoltServo));
    QTRY_COMPARE(text(row("Pn008", "1/0"), 5), QStringLiteral("+25.0"));
}

void TestServoParamFrame::waitsEndOnlyOnTheirOwnFailures()
{
    QVERIFY(f->connectTo(HighVoltServo));
    open({ 1 }, { "Pn003" });
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
    open({ 1, 2 }, { "Pn008", "Pn021" });
    QVERIFY(f->waitIdle());
    f->cell(row("Pn008", "2/0"), 5)->setText(QStringLiteral("+25.0"));   // as if read before slave 2 went
    f->cell(row("Pn008", "1/0"), 6)->setText(QStringLiteral("10"));
    f->cell(row("Pn008", "2/0"), 6)->setText(QStringLiteral("10"));
    f->cell(row("Pn021", "1/0"), 6)->setText(QStringLiteral("abc"));
    f->link.sim().clearLog();
    QVERIFY(f->pass("writeParamBtn"));
    QCOMPARE(simLog().filter(QStringLiteral("slave=1 fc=6")), QStringList { "slave=1 fc=6 addr=56108 value=100" });
    // Only what went out is cleared; one box names the failed write and the text that does not convert.
    QCOMPARE(texts({ "Pn008 1/0", "Pn008 2/0", "Pn021 1/0" }, 6), QStringList({ "", "10", "abc" }));
    QVERIFY(f->warnings().size() == 1 && f->lastWarning().contains("Pn008 [2/0]") && f->lastWarning().contains("Pn021 [1/0]: \"abc\""));
    // A 16-bit register cannot take 70000.
    f->cell(row("Pn021", "1/0"), 6)->setText(QStringLiteral("70000"));
    f->cell(row("Pn008", "2/0"), 6)->setText(QString());
    f->link.sim().clearLog();
    QVERIFY(f->pass("writeParamBtn"));
    QVERIFY(simLog().filter(QStringLiteral("fc=6")).isEmpty() && f->lastWarning().contains("\"70000\""));
}

void TestServoParamFrame::definitionsShrinkUnderTheTable()
{
    f->setDevice(HighVoltServo);
    f->check({ "Pn040" });   // id 35
    QVERIFY(f->db.exec("DELETE FROM servo_params WHERE id > 10"));
    // The list changes before the page hears of it (the broadcast rebuilds the table).
    disconnect(DatabaseManager::instance(), &DatabaseManager::devChangedSignal, f->page, nullptr);
    DatabaseManager::instance()->onDeviceChanged(HighVoltServo);
    f->setDisplayMode(row("Pn040"), 1);
    f->page->show();   // a read pass over a row without a definition
    QVERIFY(f->waitIdle());
    f->page->standardItemChanged(QStringLiteral("Servo Paramter"));
    QCOMPARE(row("Pn040"), -1);
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
