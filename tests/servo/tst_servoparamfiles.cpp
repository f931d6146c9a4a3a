#include "comm/comsettingsframe.h"
#include "servo/paramfilereader.h"
#include "servo/servoparamframe.h"
#include "support/nonregularfiles.h"
#include "support/servopagefixture.h"

#include <QPushButton>
#include <QStandardItemModel>
#include <QtTest>

#include <memory>

namespace {
void writeFile(const QString &path, const QString &content)
{
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write(content.toUtf8()) == content.toUtf8().size());
}

QStringList readLines(const QString &path)
{
    QFile in(path);
    return in.open(QIODevice::ReadOnly) ? QString::fromUtf8(in.readAll()).split(QLatin1Char('\n')) : QStringList();
}
} // namespace

// Servo parameter files: what the page writes, what it takes back and what it refuses.
class TestServoParamFiles : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup() { f.reset(), m_dir.reset(); }
    void exportLines_data();
    void exportLines();
    void importRefusals_data();
    void importRefusals();
    void importNotAFile_data();
    void importNotAFile();
    void importValues();
    void importBounds();
    void defaultFilesFollowTheDeviceType();
    void buttons();
private:
    int row(const QString &code, const QString &slaveAxis = QString()) const { return f->row(code, slaveAxis); }
    QString text(int row, int column) const { return f->text(row, column); }
    QString file(const char *name) const { return m_dir->filePath(QLatin1String(name)); }
    std::unique_ptr<ServoPageFixture> f;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestServoParamFiles::init()
{
    f.reset(new ServoPageFixture);
    QVERIFY(f->db.isValid());
    m_dir.reset(new QTemporaryDir);
    f->setDevice(HighVoltServo);
}

void TestServoParamFiles::exportLines_data()
{
    QTest::addColumn<int>("viewMode");
    QTest::addColumn<QList<int>>("slaves");
    QTest::addColumn<int>("deleteRow");
    QTest::addColumn<int>("emptyRowAt");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("roundTrip");   // the table holds exactly what the file can hold
    const QStringList plain { "Pn011,+5,none", "Pn012,+100,+101" };
    QTest::newRow("unread cell as its mode's placeholder") << 0 << QList<int> { 1 } << -1 << -1 << plain << true;
    QTest::newRow("compact") << 1 << QList<int> { 1 } << -1 << -1 << plain << true;
    QTest::newRow("two slaves: the first one's values, once") << 0 << QList<int> { 1, 2 } << -1 << -1 << plain << false;
    QTest::newRow("deleted axis row leaves its field empty")
        << 0 << QList<int> { 1 } << 1 << -1 << QStringList { "Pn011,+5,", "Pn012,+100,+101" } << false;
    QTest::newRow("deleted first axis row keeps the next parameter out of the line")
        << 0 << QList<int> { 1 } << 0 << -1 << QStringList { "Pn011,,none", "Pn012,+100,+101" } << false;
    QTest::newRow("empty row between parameters")
        << 0 << QList<int> { 1 } << -1 << 2 << QStringList { "Pn011,+5,none", "", "Pn012,+100,+101" } << true;
    QTest::newRow("empty row inside a parameter's rows") << 0 << QList<int> { 1 } << -1 << 1 << plain << false;
}

void TestServoParamFiles::exportLines()
{
    QFETCH(int, viewMode);
    QFETCH(QList<int>, slaves);
    QFETCH(int, deleteRow);
    QFETCH(int, emptyRowAt);
    QFETCH(QStringList, lines);
    QFETCH(bool, roundTrip);
    // {slave, pn, axis, value}
    for (const QList<int> &c : QList<QList<int>> { { 1, 11, 0, 5 }, { 1, 11, 1, 0xABCD }, { 2, 11, 0, 7 }, { 2, 11, 1, 8 },
                                                   { 1, 12, 0, 100 }, { 1, 12, 1, 101 } })
        ComSettingsFrame::setRegister(Uint8(c[0]), ServoParamFrame::paramAddress(c[1], c[2]), Uint16(c[3]));
    f->page->onSalveCnfgChanged(slaves, { 0, 1 });
    f->check({ "Pn012", "Pn011" });
    f->setDisplayMode(row("Pn011", "1/1"), 1);   // unsigned
    f->page->on_viewModeComBox_currentIndexChanged(viewMode);   // rebuilds the table: before the edits
    QStandardItemModel *table = f->page->tableModel();
    if (deleteRow >= 0)
        table->removeRow(deleteRow);
    if (emptyRowAt >= 0) {
        QList<QStandardItem *> items;
        for (int c = 0; c < table->columnCount(); ++c)
            items << new QStandardItem;
        table->insertRow(emptyRowAt, items);
    }
    QVERIFY(f->page->exportParams(file("out.csv")));
    const QStringList written = readLines(file("out.csv"));
    QCOMPARE(written.mid(0, 3), QStringList({ "DeviceType = 1", "", "PnVal,Axis0,Axis1" }));
    QCOMPARE(written.mid(3, lines.size()), lines);
    QVERIFY(written.size() > 3 + lines.size() && written.mid(3 + lines.size()).join(QString()).isEmpty());   // fillers
    // Read back, the file shows what was exported.
    const int valueColumn = viewMode == 0 ? 5 : 2;
    QStringList shown;
    for (int r = 0; r < table->rowCount(); ++r)
        shown << text(r, 0) + QLatin1Char('|') + text(r, valueColumn);
    QVERIFY(f->page->importParams(file("out.csv")));
    for (int r = 0; roundTrip && r < table->rowCount(); ++r)
        QCOMPARE(text(r, 0) + QLatin1Char('|') + text(r, valueColumn), shown.at(r));
}

void TestServoParamFiles::importRefusals_data()
{
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("warning");   // empty: taken
    QTest::addColumn<QString>("log");
    const QString wrong = QStringLiteral("The parameter file format is wrong!");
    QTest::newRow("DeviceType=2 without blanks, under type 2")
        << 2 << "DeviceType=2\n\nPnVal,Axis0\nPn011,+5\n" << QString() << QString();
    QTest::newRow("no device type") << 1 << "Device = 1\n\nPnVal,Axis0\nPn011,+9\n" << wrong
                                    << "\\[1\\] servo params import failure!";
    QTest::newRow("header in lower case") << 1 << "DeviceType = 1\n\npnval,Axis0\nPn011,+9\n" << wrong
                                          << "\\[3\\] servo params import failure!";
    QTest::newRow("other device type") << 1 << "DeviceType = 2\n\nPnVal,Axis0\nPn011,+9\n"
                                       << "The imported parameters do not \nmatch the current device type!"
                                       << "\\[2\\] servo params import failure!";
    QTest::newRow("over the size bound")
        << 1 << "DeviceType = 1\n\nPnVal,Axis0\n" + QString("Pn011,+9\n").repeated(int(ParamFileReader::MaxBytes / 9) + 1)
        << ParamFileReader::tooLargeText() << "servo params import failure: larger than";
}

// A refused file changes nothing: not the table, not the imported values, not the view.
void TestServoParamFiles::importRefusals()
{
    QFETCH(int, deviceType);
    QFETCH(QString, content);
    QFETCH(QString, warning);
    QFETCH(QString, log);
    f->setDevice(DeviceEnum(deviceType));
    const QString path = file("in.csv");
    writeFile(path, QStringLiteral("DeviceType = %1\n\nPnVal,Axis0\nPn012,+42\n").arg(deviceType));
    QVERIFY(f->page->importParams(path));
    const Uint16 pn11 = ServoParamFrame::paramAddress(11, 0);
    ComSettingsFrame::setRegister(255, pn11, 0xABCD);
    f->page->on_upLoadButton_clicked();   // answered Yes: back to live values
    QVERIFY(!f->page->isImportedView());
    f->prompts.clear();
    writeFile(path, content);
    if (!log.isEmpty())
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(log));
    QCOMPARE(f->page->importParams(path), warning.isEmpty());
    QCOMPARE(f->lastWarning(), warning);
    if (warning.isEmpty()) {
        QCOMPARE(text(0, 0), QStringLiteral("Pn011"));
        QCOMPARE(ComSettingsFrame::getRegister(255, pn11), Uint16(50));
        return;
    }
    QVERIFY(!f->page->isImportedView());
    QCOMPARE(text(0, 0), QStringLiteral("Pn012"));
    QCOMPARE(ComSettingsFrame::getRegister(255, pn11), Uint16(0xABCD));
}

void TestServoParamFiles::importNotAFile_data()
{
    QTest::addColumn<bool>("fifo");
    QTest::newRow("a FIFO") << true;
    QTest::newRow("a folder named .csv") << false;
}

// A FIFO would hold the window until something writes to it; neither it nor a folder is a file to
// read, and the user is told why nothing came in.
void TestServoParamFiles::importNotAFile()
{
    QFETCH(bool, fifo);
    NonRegularFiles picked(m_dir->path());
    QVERIFY(picked.isOk());
    const QString path = fifo ? picked.fifo() : picked.folder();
    writeFile(file("in.csv"), QStringLiteral("DeviceType = 1\n\nPnVal,Axis0\nPn012,+42\n"));
    QVERIFY(f->page->importParams(file("in.csv")));
    f->prompts.clear();
    QTest::ignoreMessage(QtDebugMsg, QRegularExpression("servo params import failure: not a regular file"));
    QVERIFY(!f->page->importParams(path));
    QCOMPARE(f->warnings(), QStringList({ ParamFileReader::notRegularFileText(path) }));
    QVERIFY(f->lastWarning().startsWith(QStringLiteral("Not a regular file: ")));
    QCOMPARE(text(0, 0), QStringLiteral("Pn012"));
    // Through the "Open" button as well.
    f->prompts.reply.text = path;
    f->click("importBnt");
    QCOMPARE(f->warnings().size(), 2);
    QCOMPARE(f->lastWarning(), ParamFileReader::notRegularFileText(path));
}

// Whatever a line holds past the header, the rest of the file still comes in.
void TestServoParamFiles::importValues()
{
    ComSettingsFrame::setRegister(255, ServoParamFrame::paramAddress(12, 1), 99);   // left by an earlier import
    ComSettingsFrame::setRegister(255, ServoParamFrame::paramAddress(8, 0), 5);
    f->check({ "Pn010" });
    const QString path = file("in.csv");
    writeFile(path, QStringLiteral("DeviceType = 1\n\nPnVal,AxisA,Axis1\n"
                                   "Pn011,16#1A,abc\n"          // line 4
                                   "\n"
                                   "Pn017,16#10002,none\n"
                                   "Pn999,1,2\n"                // no such parameter
                                   "Pn012,7\n"
                                   "Pn008,70000,+1.0,5\n"       // line 9: 16 bits cannot hold 700000
                                   "Pn021,16#10000,1\n"));      // line 10
    QVERIFY(f->page->importParams(path));
    QVERIFY(f->page->isImportedView());
    // A header field without digits is axis 0; the checked parameter makes way for the file's.
    QCOMPARE(f->page->axisList(), QList<int>({ 0, 1 }));
    // The empty line stays in its place; the unknown parameter's line is left out.
    QCOMPARE(QList<int>({ row("Pn010"), row("Pn017"), row("Pn999"), row("Pn012") }), QList<int>({ -1, 3, -1, 5 }));
    QVERIFY(text(2, 0).isEmpty());
    QCOMPARE(f->page->displayMode(QStringLiteral("Slave255-Axis0-Pn11")), 2);
    QCOMPARE(QStringList({ text(row("Pn011", "1/0"), 5), text(row("Pn011", "1/1"), 5), text(row("Pn017", "1/0"), 5),
                           text(row("Pn012", "1/0"), 5), text(row("Pn008", "1/1"), 5) }),
             QStringList({ "16#1a", "", "16#10002", "7", "+1.0" }));
    // {pn, axis, word, cached}: int32L puts the low word at the address; a placeholder leaves both words
    // unknown; a short line leaves the missing axis unknown, not stale; a value too wide for its register
    // stays unknown while the rest of its line comes in.
    const QList<QList<int>> words { { 11, 0, 0, 26 }, { 11, 1, 0, 0xABCD }, { 17, 0, 0, 2 }, { 17, 0, 1, 1 },
                                    { 17, 1, 0, 0xABCD }, { 17, 1, 1, 0xABCD }, { 12, 1, 0, 0xABCD },
                                    { 8, 0, 0, 0xABCD }, { 21, 0, 0, 0xABCD }, { 21, 1, 0, 1 } };
    for (const QList<int> &w : words)
        QVERIFY2(ComSettingsFrame::getRegister(255, Uint16(ServoParamFrame::paramAddress(w[0], w[1]) + w[2])) == Uint16(w[3]),
                 qPrintable(QStringLiteral("Pn%1 axis %2 word %3").arg(w[0]).arg(w[1]).arg(w[2])));
    // One box names the lines with values too wide.
    QCOMPARE(f->prompts.size(), 1);
    QCOMPARE(f->lastWarning(), QStringLiteral("Values too large for their parameter were left empty, lines: 9, 10"));
    // Reading the drive asks first; No keeps the imported view.
    f->prompts.reply.button = QMessageBox::No;
    f->page->on_upLoadButton_clicked();
    QVERIFY(f->page->isImportedView());

    // An axis the device does not have is told, not dropped silently.
    f->setDevice(LowVoltServo);
    writeFile(path, QStringLiteral("DeviceType = 2\n\nPnVal,Axis0,Axis5\nPn011,+1.0,+2.0\n"));
    QVERIFY(f->page->importParams(path));
    QCOMPARE(f->page->axisList(), QList<int>({ 0 }));
    QCOMPARE(f->lastWarning(), QStringLiteral("This device has no axis 5: those values of the file are not shown."));
}

// However many axes, lines or repeats a file holds, the table gets each parameter once and the
// boxes a few numbers each.
void TestServoParamFiles::importBounds()
{
    const QString path = file("in.csv");
    QString header = "PnVal,Axis1";
    for (int axis = 40; axis > 7; --axis)
        header += QStringLiteral(",Axis%1,Axis%1").arg(axis);
    QString lines;
    for (int i = 0; i < 12; ++i)
        lines += QStringLiteral("Pn011,%1\nPn012,70000\n").arg(i);
    writeFile(path, "DeviceType = 1\n\n" + header + "\n" + lines + QString("\n").repeated(1005) + "Pn013,5\n");
    QVERIFY(f->page->importParams(path));
    QCOMPARE(f->page->axisList(), QList<int>({ 1 }));
    // Each parameter keeps its first place and shows its last line's value.
    QCOMPARE(QList<int>({ row("Pn011"), row("Pn012"), row("Pn013") }), QList<int>({ 0, 1, 1002 }));
    QCOMPARE(f->page->tableModel()->rowCount(), 1003);
    QCOMPARE(text(0, 5), QStringLiteral("11"));
    QCOMPARE(f->warnings(), QStringList({ "Values too large for their parameter were left empty, lines: "
                                          "5, 7, 9, 11, 13, 15, 17, 19, 21, 23, ...",
                                          "This device has no axis 40, 39, 38, 37, 36, 35, 34, 33, 32, 31, ...: "
                                          "those values of the file are not shown." }));
    // The page falls back to axis 0, which the file does not name: unknown, not an earlier import's value.
    const Uint16 pn11Axis0 = ServoParamFrame::paramAddress(11, 0);
    ComSettingsFrame::setRegister(255, pn11Axis0, 99);
    writeFile(path, "DeviceType = 1\n\nPnVal,Axis9\nPn011,5\n");
    QVERIFY(f->page->importParams(path));
    QCOMPARE(f->page->axisList(), QList<int>({ 0 }));
    QCOMPARE(ComSettingsFrame::getRegister(255, pn11Axis0), Uint16(0xABCD));
    QCOMPARE(text(row("Pn011", "1/0"), 5), QString());
}

// The default file is written under the old device type and read under the new one.
void TestServoParamFiles::defaultFilesFollowTheDeviceType()
{
    const QString oldCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    ComSettingsFrame::setRegister(1, ServoParamFrame::paramAddress(11, 0), 5);
    f->check({ "Pn011" });
    QCOMPARE(ServoParamFrame::defaultParamsPath(), file("ServoParams_Default_1.csv"));

    // Written under the old type; the new type has no file yet, which is no error.
    f->frame->setDeviceType(LowVoltServo);
    QCOMPARE(readLines(file("ServoParams_Default_1.csv")).mid(0, 4), QStringList({ "DeviceType = 1", "", "PnVal,Axis0", "Pn011,+5" }));
    QVERIFY(f->prompts.isEmpty());
    QCOMPARE(row(QStringLiteral("Pn011")), -1);
    ComSettingsFrame::setRegister(1, ServoParamFrame::paramAddress(12, 0), 3);
    f->check({ "Pn012" });

    f->frame->setDeviceType(HighVoltServo);
    QCOMPARE(readLines(file("ServoParams_Default_2.csv")).value(3), QStringLiteral("Pn012,+3"));
    QCOMPARE(text(row("Pn011", "1/0"), 5), QStringLiteral("+5"));
    QVERIFY(!f->page->isImportedView());   // the next read pass fetches live values
    QVERIFY(f->prompts.isEmpty());
    QVERIFY(QDir::setCurrent(oldCurrent));
}

void TestServoParamFiles::buttons()
{
    QPushButton *exportButton = f->page->findChild<QPushButton *>(QStringLiteral("exportBnt"));
    f->page->onSalveCnfgChanged({ 1, 2 }, { 0 });
    exportButton->click();
    QCOMPARE(f->prompts.size(), 1);
    QCOMPARE(f->lastWarning(), QStringLiteral("Servo parameter export only supports single device!"));
    f->page->onSalveCnfgChanged({ 1 }, { 0 });
    f->prompts.reply.text = file("chosen");
    exportButton->click();
    QVERIFY(QFile::exists(file("chosen.csv")));

    // A file that cannot be written or read is told, and nothing claims success.
    QVERIFY(!f->page->exportParams(file("missing/out.csv")));
    QCOMPARE(f->lastWarning(), QStringLiteral("Servo parameters export failed!"));
    QVERIFY(!f->page->exportParams(m_dir->path()));
    QCOMPARE(f->lastWarning(), QStringLiteral("Servo parameters export failed!"));
    // The default import stays quiet about a missing file; a file the user picked does not.
    f->prompts.clear();
    f->page->importDefaultParams();
    QVERIFY(f->prompts.isEmpty());
    f->prompts.reply.text = file("absent.csv");
    f->page->findChild<QPushButton *>(QStringLiteral("importBnt"))->click();
    QCOMPARE(f->lastWarning(), QStringLiteral("The parameter file cannot be opened!"));
    QVERIFY(!f->page->isImportedView());
}

QTEST_MAIN(TestServoParamFiles)
#include "tst_servoparamfiles.moc"
