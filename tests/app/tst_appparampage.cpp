#include "app/appparamframe.h"
#include "comm/comsettingsframe.h"
#include "comm/networkhelper.h"
#include "comm/registerwait.h"
#include "data/commonutils.h"
#include "servo/paramfilereader.h"
#include "support/appparamdef.h"
#include "support/devsimlink.h"
#include "support/nonregularfiles.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"
#include "support/warninglog.h"
#include "widgets/customitemdelegate.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QtTest>
#include <memory>

// The application parameter page's passes against the simulated controller, its search and its files.
namespace {
const QList<RecordItem> kFixture {
    paramDef("3120", "Step1/Turns", "1/Task0/Tighten", "table1/row 0/col 1", "0.00~50.00"),
    paramDef("3121", "Step1/Speed", "1/Task0/Tighten", "table1/row 0/col 2", "-3000~3000"),
    paramDef("3130", "Target torque", "1/Task0/Tighten", "table2", "0.00~10.00"),
    paramDef("3131", "Hold time", "1/Task0/Tighten", "table2", "0~2000"),
    paramDef("3140", "Speed limit", "2/Task0/Limits", "table2", "0~3000"),
};
const QList<RecordItem> kTorqueFixture {
    paramDef("3130", "Target torque", "1/Task0/Tighten", "table2", "0~10", "N·m"),
    paramDef("3131", "Hold time", "1/Task0/Tighten", "table2", "0~2000", "ms"),
};
// A second row on the second page.
const QList<RecordItem> kPagesFixture = kFixture + QList<RecordItem> {
    paramDef("3141", "Angle limit", "2/Task0/Limits", "table2", "0~360"),
};
const QStringList kSimArgs { "--no-events", "--set", "3120=1234", "--set", "3121=65526", "--set", "3130=250", "--set", "3131=500" };
} // namespace

class TestAppParamPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_db.isValid()); m_warnings = new WarningLog; ComSettingsFrame::setCurrentDevice(SdriverDevice); }
    void cleanupTestCase() { delete m_warnings; }
    void init()
    {
        QVERIFY(m_link.start(kSimArgs, 1, DevsimLink::NoCheck));
        m_page.reset(new AppParamFrame);
        m_page->setDefinitionsForTest(kFixture);
        m_page->onDeviceChanged(SdriverDevice);
        m_page->show();
        m_prompts.reply.button = QMessageBox::Yes;
        m_prompts.clear(); m_warnings->clear(); m_link.sim().clearLog();
    }
    void cleanup()
    {
        m_link.frame()->setRealTimeAddrList(nullptr);
        ComSettingsFrame::setCurrentDevice(SdriverDevice);
        m_page.reset(); m_link.frame()->disconnectDevice(); m_link.sim().stop();
        for (Uint8 slave : { 1, 2 }) {
            for (const RecordItem &d : kPagesFixture)
                ComSettingsFrame::setRegister(slave, Uint16(d.value("address").toUInt()), 0xABCD);
        }
    }
    void readAndWrite()
    {
        QStandardItem *turns = m_page->stepModel()->item(0, 1);
        QStandardItem *speed = m_page->stepModel()->item(0, 2);
        turns->setText(QStringLiteral("7"));
        QVERIFY(run("readFromDevBtn"));
        // The user's edit stays, marked, until written.
        QCOMPARE(QStringList({ text(0, 3), text(1, 3), speed->text(), turns->text() }), QStringList({ "2.5", "500", "-10", "7" }));
        QCOMPARE(turns->foreground().color(), QColor(Qt::red));
        // New values only: an empty new value is skipped, one that does not convert is refused and told.
        m_link.sim().clearLog();
        edit(0, "3.25");
        edit(1, "abc");
        speed->setText(QStringLiteral("-20"));
        QVERIFY(run("writeModifyBtn"));
        QCOMPARE(writes(), QStringList({ "3120=700", "3121=65516", "3130=325" }));
        QCOMPARE(QStringList({ text(0, 3), text(0, 4), text(1, 4) }), QStringList({ "2.5", "", "abc" }));
        QVERIFY(speed->data(AppParamFrame::ModifiedRole) == QVariant(false) && speed->foreground().color() == Qt::black);
        QCOMPARE(m_prompts.texts(), QStringList("Tips: These values were not written:\nHold time: \"abc\" is not a value of this parameter"));
        // All values: every list row with a current value and every step cell with text.
        m_link.sim().clearLog();
        QVERIFY(run("writeToDevBtn"));
        QCOMPARE(writes(), QStringList({ "3120=700", "3121=65516", "3130=250", "3131=500" }));
        // A slave that never answers: both passes end, the old value stays, the new one is kept and told.
        CommonUtils::saveConfigVal(1, QStringLiteral("DeviceAddr"), QStringLiteral("2"));
        click("appParamMenuBtn22");
        edit(0, "9");
        QVERIFY(run("readFromDevBtn") && run("writeModifyBtn"));
        QVERIFY(m_link.sim().logLines().contains(QStringLiteral("slave=2 fc=6 addr=3140 value=9")));
        QCOMPARE(text(0, 3) + "|" + text(0, 4), QStringLiteral("|9"));
        QCOMPARE(m_prompts.last().text, QStringLiteral("These values were not written:\nSpeed limit: the device did not confirm the write"));
    }
    // What the closed link refuses is offered again on every tick, however long it stays closed:
    // monitoring and a write go on once the link is back. A write refused while the debugging page
    // owns the link goes out, unasked, when the page gives it back.
    void linkLostAndBack()
    {
        click("realTimeReadBtn");
        QVERIFY(logged("addr=3131 "));
        m_link.frame()->disconnectDevice();
        edit(0, "3.25");
        m_warnings->clear();
        click("writeModifyBtn");
        QTest::qWait(RegisterWait::DefaultTimeoutMs + 500);   // longer than any reply may take
        QVERIFY(m_page->isRealTime() && m_page->isBusy());
        QCOMPARE(m_warnings->lines(), QStringList());   // the passes rest quietly, not refused every tick
        m_link.sim().clearLog();
        QVERIFY(m_link.connectTo(m_link.sim().port(), 1, DevsimLink::NoCheck));
        QVERIFY(logged("slave=1 fc=6 addr=3130 value=325") && logged("addr=3131 "));
        QVERIFY(QTest::qWaitFor([this] { return text(0, 4).isEmpty(); }, 5000));
        QVERIFY(m_prompts.isEmpty());
        click("realTimeReadBtn");
        m_link.frame()->networkHelper()->setDebugMode(true);
        edit(0, "3.5");
        click("writeModifyBtn");
        QTest::qWait(30);   // ticks that find the link refusing
        m_link.frame()->networkHelper()->setDebugMode(false);
        QVERIFY(logged("slave=1 fc=6 addr=3130 value=350"));
    }
    // A write that waits for the link sends what the cells show when it goes out; a cell counts as
    // written only while it still shows the text that was sent.
    void writeSendsWhatTheCellShows()
    {
        QStandardItem *turns = m_page->stepModel()->item(0, 1);
        m_link.frame()->disconnectDevice();
        edit(0, "3.25");
        turns->setText(QStringLiteral("7"));
        click("writeModifyBtn");
        QTest::qWait(30);   // ticks that find the link closed
        edit(0, "4.5");
        turns->setText(QStringLiteral("8"));
        QVERIFY(m_link.connectTo(m_link.sim().port(), 1, DevsimLink::NoCheck));
        QVERIFY(QTest::qWaitFor([this] { return !m_page->isBusy(); }, 5000));
        QCOMPARE(writes(), QStringList({ "3120=800", "3130=450" }));
        QCOMPARE(text(0, 4) + "|" + turns->text(), QStringLiteral("|8"));
        QVERIFY(turns->data(AppParamFrame::ModifiedRole) == QVariant(false) && turns->foreground().color() == Qt::black);
        // Typed again while both writes are under way: the new texts stay, to be written.
        m_page->hide();   // the test steps the passes itself
        m_link.sim().clearLog();
        edit(0, "5");
        turns->setText(QStringLiteral("9"));
        click("writeModifyBtn");
        m_page->writeAppParams();
        m_page->writeTaskParams();
        edit(0, "6");
        turns->setText(QStringLiteral("10"));
        QVERIFY(DevsimLink::waitReceived(1, 3130) && DevsimLink::waitReceived(1, 3120));
        m_page->writeAppParams();
        m_page->writeTaskParams();
        QCOMPARE(writes(), QStringList({ "3120=900", "3130=500" }));
        QCOMPARE(text(0, 4) + "|" + turns->text(), QStringLiteral("6|10"));
        QVERIFY(turns->data(AppParamFrame::ModifiedRole) == QVariant(true) && turns->foreground().color() == Qt::red);
    }
    void realTimeAndSearch()
    {
        click("realTimeReadBtn");
        QVERIFY(QTest::qWaitFor([this] { return m_link.sim().logLines().filter(QStringLiteral("addr=3131 ")).size() >= 2; }, 5000));
        click("appParamMenuBtn22");   // restarts both read passes on the new page
        QVERIFY(logged("addr=3140 "));
        m_page->hide();
        QVERIFY(!m_page->isRealTime());
        m_page->show();

        QSignalSpy finished(m_page.get(), &AppParamFrame::searchFinishSigal);
        m_page->onSearchSignal(0, QStringLiteral("time"));
        QVERIFY(finished.wait(3000));
        QCOMPARE(QStringList({ text(0, 1), text(1, 1) }), QStringList({ "Hold time", "" }));
        QCOMPARE(m_page->listModel()->item(0, 1)->foreground().color(), QColor(255, 0, 0));
        QCOMPARE(m_page->listModel()->rowCount(), 30);
        m_page->onSearchSignal(0, QString());
        QCOMPARE(finished.size(), 2);
    }
    void torqueUnitChanged_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("shown");     // unit, range and the current value read as 0.25 N·m
        QTest::addColumn<QString>("retyped");   // null: the value typed before, confirmed in the editor
        QTest::addColumn<QString>("written");
        QTest::newRow("kgf·cm, confirmed") << 2 << "kgf·cm 0.00~101.97 2.5" << QString() << "3130=950";
        QTest::newRow("ibf·in, retyped") << 3 << "ibf·in 0.00~88.51 2.5" << "84.08" << "3130=8408";
        QTest::newRow("mN·m, retyped") << 1 << "mN·m 0~10000 250" << "9500" << "3130=9500";
        // No entry for the index: still called N·m, but with the limits' 0 decimals 9.5 would go out as 10.
        QTest::newRow("index 7, retyped") << 7 << "N·m 0~10 250" << "9" << "3130=9";
    }
    // The device changes its torque unit: the rows follow at once, and a value typed in the old unit
    // stays in its cell but is never written until the user types or confirms it again.
    void torqueUnitChanged()
    {
        QFETCH(int, index);
        QFETCH(QString, shown);
        QFETCH(QString, retyped);
        QFETCH(QString, written);
        QVERIFY(m_link.start(kSimArgs + QStringList({ "--set", QStringLiteral("3083=%1").arg(index) }), 1, DevsimLink::NoCheck));
        load(kTorqueFixture);
        QVERIFY(run("readFromDevBtn"));
        QCOMPARE(QStringList({ text(0, 5), text(0, 6), text(0, 3) }).join(' '), QStringLiteral("N·m 0.000~10.000 0.25"));
        edit(0, "9.5");
        // The status bar's poll brings the unit register.
        QSignalSpy changed(m_page.get(), &AppParamFrame::paramUnitChanged);
        m_realTimeAddrs = { 3083 };
        m_link.frame()->setRealTimeAddrList(&m_realTimeAddrs);
        QVERIFY(changed.wait(5000));
        m_link.sim().clearLog();
        QVERIFY(run("writeModifyBtn"));
        QCOMPARE(writes(), QStringList());
        const QString unit = shown.section(' ', 0, 0);
        QCOMPARE(QStringList({ text(0, 5), text(0, 6), text(0, 3) }).join(' '), shown);
        QCOMPARE(m_page->listModel()->item(0, 4)->data(CustomItemDelegate::LineEditConfigRole),
                 AppParamFrame::rangeEditorConfig(shown.section(' ', 1, 1)));
        QCOMPARE(text(0, 4), QStringLiteral("9.5"));
        QCOMPARE(m_prompts.texts(),
                 QStringList({ QStringLiteral("Tips: The device's torque unit is now %1.\nThese values were typed in another unit "
                                              "and are not written until you type or confirm them again in %1:\nTarget torque: 9.5 N·m").arg(unit),
                               QStringLiteral("Tips: These values were not written:\nTarget torque: 9.5 was typed in N·m, the device "
                                              "now uses %1; type or confirm it again").arg(unit) }));
        // Typed or confirmed in the editor, the value is meant in the new unit.
        commitInEditor(0, retyped);
        QVERIFY(run("writeModifyBtn"));
        QCOMPARE(writes(), QStringList(written));
        QCOMPARE(text(0, 4), QString());
    }
    // A device type without definitions: nothing of the last page stays, the write under way ends,
    // and nothing reads or writes until a type with definitions comes back.
    void deviceWithoutDefinitions()
    {
        QVERIFY(run("readFromDevBtn"));
        m_page->hide();   // the test steps the write itself
        m_link.sim().clearLog();
        click("writeToDevBtn");
        m_page->writeAppParams();
        QVERIFY(DevsimLink::waitReceived(1, 3130));
        ComSettingsFrame::setCurrentDevice(HighVoltServo);
        m_page->setDefinitionsForTest(QList<RecordItem>());
        m_page->onDeviceChanged(HighVoltServo);
        m_page->show();
        QVERIFY(QTest::qWaitFor([this] { return !m_page->isBusy(); }, 5000));
        QCoreApplication::processEvents();   // what is told once the page stands
        for (const char *button : { "writeToDevBtn", "writeModifyBtn", "readFromDevBtn" })
            QVERIFY(run(button));
        QVERIFY(QMetaObject::invokeMethod(m_page.get(), "on_writeToDevBtn_clicked"));
        QVERIFY(QTest::qWaitFor([this] { return !m_page->isBusy(); }, 5000));
        QCOMPARE(writes(), QStringList("3130=250"));
        QCOMPARE(m_prompts.texts(), QStringList("Tips: These values were not written:\nHold time: the page changed before it was written\n"
                                                "Step1/圈数(r): the page changed before it was written\n"
                                                "Step1/速度(rpm): the page changed before it was written"));
        QCOMPARE(m_page->stepModel()->rowCount(), 0);
        QCOMPARE(m_page->listModel()->rowCount(), AppParamFrame::kListMinRows);
        for (int row = 0; row < AppParamFrame::kListMinRows; ++row)
            QVERIFY2(text(row, 0).isEmpty() && text(row, 3).isEmpty(), qPrintable(text(row, 1)));
        QCOMPARE(enabled(), QStringList({ "0", "0", "0" }));
        // Back to the screwdriver: its page and its buttons.
        ComSettingsFrame::setCurrentDevice(SdriverDevice);
        load(kFixture);
        QCOMPARE(enabled(), QStringList({ "1", "1", "1" }));
        QCOMPARE(text(0, 1) + "|" + m_page->stepModel()->item(0, 0)->text(), QStringLiteral("Target torque|Step1"));
    }
    // Another page picked during a write: the write ends there, the new page's values stay unwritten
    // (nobody asked for them), and what the old page had still to write is told.
    void pageBuildDuringWrite()
    {
        load(kPagesFixture);
        QVERIFY(run("readFromDevBtn"));
        ComSettingsFrame::setRegister(Uint8(1), 3140, 1500);
        ComSettingsFrame::setRegister(Uint8(1), 3141, 90);
        m_page->hide();   // the test steps the write itself
        m_link.sim().clearLog();
        click("writeToDevBtn");
        m_page->writeAppParams();
        QVERIFY(DevsimLink::waitReceived(1, 3130));
        m_page->writeAppParams();   // 3130 confirmed, on to the next row
        click("appParamMenuBtn22");
        QCOMPARE(QStringList({ text(0, 1), text(1, 1) }), QStringList({ "Speed limit", "Angle limit" }));
        m_page->show();
        QVERIFY(QTest::qWaitFor([this] { return !m_page->isBusy(); }, 5000));
        QTest::qWait(50);   // a tick or two more: nothing may follow
        QCOMPARE(writes(), QStringList("3130=250"));
        QCOMPARE(m_prompts.texts(), QStringList("Tips: These values were not written:\nHold time: the page changed before it was written\n"
                                                "Step1/圈数(r): the page changed before it was written\n"
                                                "Step1/速度(rpm): the page changed before it was written"));
    }
    void importFile_data()
    {
        QTest::addColumn<QString>("content");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("diagnostic");
        const QString body = QStringLiteral("\n\nAddress,Value\n3131,77\n");
        const QString wrong = QStringLiteral("The parameter file format is wrong!");
        const QString otherType = QStringLiteral("The imported parameters do not \nmatch the current device type!");
        QTest::newRow("no blanks") << "DeviceType=0" + body << "" << "";
        QTest::newRow("blanks inside numbers, short lines") << "DeviceType = 0\n\nAddress,Value\n\n3130,\n3120\n3131 , 7 7\n" << "" << "";
        QTest::newRow("short lines skipped, hex address") << "DeviceType = 0\n\nAddress,Value\n\n3130,\n3120\n0x0C3B,77,x\n" << "" << "";
        QTest::newRow("no device type") << "Type = 0" + body << wrong << "[1] App params import failure!";
        QTest::newRow("other device type") << "DeviceType = 1" + body << otherType << "[2] App params import failure!";
        QTest::newRow("text after the type") << "DeviceType = 1 0" + body << otherType << "[2] App params import failure!";
        QTest::newRow("spaces in the header") << "DeviceType = 0\n\nAddress , Value\n3131,77\n" << wrong << "[3] App params import failure!";
        QTest::newRow("value not a number") << "DeviceType = 0" + body + "3130,abc\n" << wrong << "[4] App params";
        QTest::newRow("value past 16 bits") << "DeviceType = 0" + body + "3130,70000\n" << wrong << "[4] App params";
        QTest::newRow("address past 16 bits") << "DeviceType = 0" + body + "70000,1\n" << wrong << "[4] App params";
        QTest::newRow("larger than 1 MB") << "DeviceType = 0" + body + QStringLiteral("3131,1\n").repeated(150000)
                                          << "The file is too large for a parameter file (more than 1024 KB)!" << "";
    }
    // Every refused file leaves the cache and the imported flag as they were.
    void importFile()
    {
        QFETCH(QString, content);
        QFETCH(QString, box);
        QFETCH(QString, diagnostic);
        ComSettingsFrame::setRegister(Uint8(1), 3131, 500);
        QFile file(m_prompts.reply.text = m_dir.filePath(QStringLiteral("in.csv")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content.toUtf8()) >= 0 && file.flush());
        click("openParamBtn");
        QCOMPARE(m_prompts.requests.first().title, QStringLiteral("Import App Params"));
        QCOMPARE(QStringList({ QString::number(m_page->isImported()), QString::number(cached(3131)), text(1, 3) }),
                 box.isEmpty() ? QStringList({ "1", "77", "77" }) : QStringList({ "0", "500", "" }));
        QCOMPARE(m_prompts.size() == 1 ? QString() : m_prompts.last().text, box);
        QVERIFY2(diagnostic.isEmpty() || m_warnings->last().startsWith(diagnostic), qPrintable(m_warnings->last()));
        if (!box.isEmpty())
            return;
        // Reading after an import asks first: No reads nothing, Yes reads and drops the imported flag.
        m_prompts.reply.button = QMessageBox::No;
        click("readFromDevBtn");
        click("realTimeReadBtn");
        QVERIFY(!m_page->isBusy() && !m_page->isRealTime() && m_page->isImported());
        m_prompts.reply.button = QMessageBox::Yes;
        QVERIFY(run("readFromDevBtn") && !m_page->isImported() && text(1, 3) == QLatin1String("500"));
        QCOMPARE(m_prompts.last().text, QStringLiteral("The parameters imported will be uploaded \nagain. Do you want to continue?"));
    }
    // A FIFO would hold the window until something writes to it; neither it nor a folder is a file to read.
    void importNotAFile()
    {
        NonRegularFiles picked(m_dir.path());
        QVERIFY(picked.isOk());
        ComSettingsFrame::setRegister(Uint8(1), 3131, 500);
        for (const QString &path : { picked.fifo(), picked.folder() }) {
            m_prompts.clear();
            m_prompts.reply.text = path;
            click("openParamBtn");
            QCOMPARE(m_prompts.size(), 2);   // the file box, then why nothing came in
            QCOMPARE(m_prompts.last().text, ParamFileReader::notRegularFileText(path));
            QVERIFY2(m_warnings->last().endsWith(QLatin1String("not imported: not a regular file")), qPrintable(m_warnings->last()));
            QVERIFY(!m_page->isImported() && cached(3131) == 500);
        }
    }
    void exportFile()
    {
        // Nothing cached: every address with a bare comma. The name gets ".csv", the test being case-sensitive.
        m_prompts.reply.text = m_dir.filePath(QStringLiteral("params.CSV"));
        click("saveParamBtn");
        QFile saved(m_prompts.reply.text + ".csv");
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("DeviceType = 0\n\nAddress,Value\n3120,\n3121,\n3130,\n3131,\n3140,\n"));
        // Read, export, change the cache, import: the exported values come back, empty ones leave the cache alone.
        const QString file = m_dir.filePath(QStringLiteral("params.csv"));
        QVERIFY(run("readFromDevBtn") && m_page->exportAppParams(file));
        ComSettingsFrame::setRegister(Uint8(1), 3130, 1);
        ComSettingsFrame::setRegister(Uint8(1), 3140, 42);
        QVERIFY(m_page->importAppParams(file));
        QCOMPARE(QList<int>({ cached(3130), cached(3140) }), QList<int>({ 250, 42 }));
        QVERIFY(!m_page->exportAppParams(m_dir.filePath(QStringLiteral("no/such/folder.csv"))));
        QCOMPARE(m_prompts.last().text, QStringLiteral("App params export failed!"));
        QVERIFY(m_warnings->last().endsWith(QLatin1String("New failure!")));
        m_prompts.clear();
        QVERIFY(!m_page->importAppParams(m_dir.filePath(QStringLiteral("missing.csv"))));
        QVERIFY(m_prompts.isEmpty() && m_warnings->last().endsWith(QLatin1String("missing.csv open failure!")));
    }

private:
    QString text(int row, int col) const { return cellText(m_page->listModel(), row, col); }
    void load(const QList<RecordItem> &defs)
    {
        m_page->setDefinitionsForTest(defs);
        m_page->onDeviceChanged(ComSettingsFrame::currentDevice());
        m_prompts.clear();
    }
    // Opens the new-value editor of a row as a double click would, types `value` (null: leaves the
    // text standing) and commits it.
    void commitInEditor(int row, const QString &value)
    {
        auto *view = m_page->findChild<QTableView *>(QStringLiteral("appParamTableView"));
        const QModelIndex index = m_page->listModel()->index(row, 4);
        QAbstractItemDelegate *delegate = view->itemDelegate(index);
        std::unique_ptr<QWidget> editor(delegate->createEditor(view->viewport(), QStyleOptionViewItem(), index));
        delegate->setEditorData(editor.get(), index);
        if (!value.isNull())
            qobject_cast<QLineEdit *>(editor.get())->setText(value);
        delegate->setModelData(editor.get(), m_page->listModel(), index);
    }
    // Whether 上传, 下载 and 写入 can be clicked.
    QStringList enabled() const
    {
        QStringList states;
        for (const char *name : { "readFromDevBtn", "writeToDevBtn", "writeModifyBtn" })
            states << QString::number(m_page->findChild<QPushButton *>(name)->isEnabled());
        return states;
    }
    void edit(int row, const char *value) { m_page->listModel()->item(row, 4)->setText(QString(value)); }
    void click(const QString &name) { m_page->findChild<QPushButton *>(name)->click(); }
    bool run(const char *button) { click(button); return QTest::qWaitFor([this] { return !m_page->isBusy(); }, 5000); }
    bool logged(const char *line) { return QTest::qWaitFor([&] { return !m_link.sim().logLines().filter(line).isEmpty(); }, 5000); }
    QStringList writes() const { QStringList w = m_link.sim().writes(); w.sort(); return w; }
    int cached(int address) const { return ComSettingsFrame::getRegister(Uint8(1), Uint16(address)); }

    TestDatabase m_db;
    DevsimLink m_link;
    QTemporaryDir m_dir;
    std::unique_ptr<AppParamFrame> m_page;
    PromptRecorder m_prompts;
    WarningLog *m_warnings = nullptr;   // after the test library's own handler
    QList<int> m_realTimeAddrs;         // lent to the communication page as the status bar would
};

QTEST_MAIN(TestAppParamPage)
#include "tst_appparampage.moc"
