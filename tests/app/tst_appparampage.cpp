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

#include <QPushButton>
#include <QSignalSpy>
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
} // namespace

class TestAppParamPage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_db.isValid()); m_warnings = new WarningLog; ComSettingsFrame::setCurrentDevice(SdriverDevice); }
    void cleanupTestCase() { delete m_warnings; }
    void init()
    {
        QVERIFY(m_link.start({ "--no-events", "--set", "3120=1234", "--set", "3121=65526", "--set", "3130=250", "--set", "3131=500" },
                             1, DevsimLink::NoCheck));
        m_page.reset(new AppParamFrame);
        m_page->setDefinitionsForTest(kFixture);
        m_page->onDeviceChanged(SdriverDevice);
        m_page->show();
        m_prompts.reply.button = QMessageBox::Yes;
        m_prompts.clear(); m_warnings->clear(); m_link.sim().clearLog();
    }
    void cleanup()
    {
        m_page.reset(); m_link.frame()->disconnectDevice(); m_link.sim().stop();
        for (Uint8 slave : { 1, 2 }) {
            for (const RecordItem &d : kFixture)
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
};

QTEST_MAIN(TestAppParamPage)
#include "tst_appparampage.moc"
