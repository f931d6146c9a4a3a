#include "comm/comsettingsframe.h"
#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "servo/paramfilereader.h"
#include "servo/servoparamframe.h"
#include "support/promptrecorder.h"
#include "support/servoparamtable.h"
#include "support/testdatabase.h"
#include "widgets/customitemdelegate.h"

#include <QPushButton>
#include <QStandardItemModel>
#include <QtTest>

namespace {
void writeFile(const QString &path, const QString &content)
{
    QFile out(path);
    QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(content.toUtf8());
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
    void cleanup();
    void exportLines_data();
    void exportLines();
    void importRefusals_data();
    void importRefusals();
    void importValues();
    void defaultFilesFollowTheDeviceType();
    void buttons();

private:
    void setDevice(DeviceEnum type)
    {
        CommonUtils::saveConfigVal(1, QStringLiteral("DeviceType"), QString::number(int(type)));
        m_frame->loadSettings();
    }
    void check(const QString &code) { QVERIFY2(ServoParamTable(m_page).check(code), qPrintable(code)); }
    int row(const QString &code, const QString &slaveAxis = QString()) const { return ServoParamTable(m_page).row(code, slaveAxis); }
    QString text(int row, int column) const { return ServoParamTable(m_page).text(row, column); }
    QString lastWarning() const
    {
        QString text;
        for (const Prompt::Request &r : m_prompts->requests)
            text = r.kind == Prompt::Warning ? r.text : text;
        return text;
    }

    TestDatabase *m_db = nullptr;
    ComSettingsFrame *m_frame = nullptr;
    ServoParamFrame *m_page = nullptr;
    QTemporaryDir *m_dir = nullptr;
    PromptRecorder *m_prompts = nullptr;
};

void TestServoParamFiles::init()
{
    m_db = new TestDatabase;
    QVERIFY(m_db->isValid());
    m_dir = new QTemporaryDir;
    m_frame = new ComSettingsFrame;
    m_page = new ServoParamFrame;
    connect(m_frame, &ComSettingsFrame::devChangedSignal, DatabaseManager::instance(), &DatabaseManager::onDeviceChanged);
    connect(DatabaseManager::instance(), &DatabaseManager::devChangedSignal, m_page, &ServoParamFrame::onDeviceChanged);
    m_prompts = new PromptRecorder;
    m_prompts->reply.button = QMessageBox::Yes;
    setDevice(HighVoltServo);
}

void TestServoParamFiles::cleanup()
{
    delete m_prompts;
    delete m_page;
    delete m_frame;
    delete m_dir;
    delete m_db;
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
    QTest::newRow("detailed, unread cell as the placeholder of its mode")
        << 0 << QList<int> { 1 } << -1 << -1 << plain << true;
    QTest::newRow("compact") << 1 << QList<int> { 1 } << -1 << -1 << plain << true;
    QTest::newRow("two slaves: the first one's values, once") << 0 << QList<int> { 1, 2 } << -1 << -1 << plain << false;
    QTest::newRow("deleted axis row leaves its field empty, not the next parameter's")
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

    const auto cache = [](int slave, int pn, int axis, Uint16 value) {
        ComSettingsFrame::setRegister(Uint8(slave), ServoParamFrame::paramAddress(pn, axis), value);
    };
    cache(1, 11, 0, 5);
    cache(1, 11, 1, 0xABCD);
    cache(2, 11, 0, 7);
    cache(2, 11, 1, 8);
    cache(1, 12, 0, 100);
    cache(1, 12, 1, 101);
    m_page->onSalveCnfgChanged(slaves, { 0, 1 });
    check(QStringLiteral("Pn012"));
    check(QStringLiteral("Pn011"));
    QStandardItem *combo = m_page->tableModel()->item(row("Pn011", "1/1"), 3);   // unsigned, as the combo sets it
    QVariantMap config = combo->data(CustomItemDelegate::ComboConfigRole).toMap();
    config.insert(QStringLiteral("currentIndex"), 1);
    combo->setData(config, CustomItemDelegate::ComboConfigRole);
    m_page->on_viewModeComBox_currentIndexChanged(viewMode);   // rebuilds the table: before the edits
    QStandardItemModel *table = m_page->tableModel();
    if (deleteRow >= 0)
        table->removeRow(deleteRow);
    if (emptyRowAt >= 0) {
        QList<QStandardItem *> items;
        for (int c = 0; c < table->columnCount(); ++c)
            items << new QStandardItem;
        table->insertRow(emptyRowAt, items);
    }

    const QString path = m_dir->filePath(QStringLiteral("out.csv"));
    QVERIFY(m_page->exportParams(path));
    const QStringList written = readLines(path);
    QCOMPARE(written.mid(0, 3), QStringList({ "DeviceType = 1", "", "PnVal,Axis0,Axis1" }));
    QCOMPARE(written.mid(3, lines.size()), lines);
    // The filler rows follow as empty lines, and the last line ends with a line feed.
    for (const QString &line : written.mid(3 + lines.size()))
        QVERIFY2(line.isEmpty(), qPrintable(line));
    QVERIFY(written.size() > 3 + lines.size());

    // Read back, the file shows what was exported.
    const int valueColumn = viewMode == 0 ? 5 : 2;
    QStringList shown;
    for (int r = 0; r < table->rowCount(); ++r)
        shown << text(r, 0) + QLatin1Char('|') + text(r, valueColumn);
    QVERIFY(m_page->importParams(path));
    for (int r = 0; roundTrip && r < table->rowCount(); ++r)
        QCOMPARE(text(r, 0) + QLatin1Char('|') + text(r, valueColumn), shown.at(r));
}

void TestServoParamFiles::importRefusals_data()
{
    QTest::addColumn<int>("deviceType");
    QTest::addColumn<QString>("content");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("log");

    const QString wrong = QStringLiteral("The parameter file format is wrong!");
    QTest::newRow("DeviceType=2 without blanks, under type 2")
        << 2 << "DeviceType=2\n\nPnVal,Axis0\nPn011,+5\n" << QString() << QString();
    QTest::newRow("no device type") << 1 << "Device = 1\n\nPnVal,Axis0\nPn011,+9\n" << wrong
                                    << "\\[1\\] servo params import failure!";
    QTest::newRow("other device type") << 1 << "DeviceType = 2\n\nPnVal,Axis0\nPn011,+9\n"
                                       << "The imported parameters do not \nmatch the current device type!"
                                       << "\\[2\\] servo params import failure!";
    QTest::newRow("header in lower case") << 1 << "DeviceType = 1\n\npnval,Axis0\nPn011,+9\n" << wrong
                                          << "\\[3\\] servo params import failure!";
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

    setDevice(DeviceEnum(deviceType));
    const QString path = m_dir->filePath(QStringLiteral("in.csv"));
    writeFile(path, QStringLiteral("DeviceType = %1\n\nPnVal,Axis0\nPn012,+42\n").arg(deviceType));
    QVERIFY(m_page->importParams(path));
    const Uint16 pn11 = ServoParamFrame::paramAddress(11, 0);
    ComSettingsFrame::setRegister(255, pn11, 0xABCD);
    m_page->on_upLoadButton_clicked();   // answered Yes: back to live values
    QVERIFY(!m_page->isImportedView());
    m_prompts->clear();

    writeFile(path, content);
    if (!log.isEmpty())
        QTest::ignoreMessage(QtDebugMsg, QRegularExpression(log));
    QCOMPARE(m_page->importParams(path), warning.isEmpty());
    QCOMPARE(lastWarning(), warning);
    if (warning.isEmpty()) {
        QCOMPARE(text(0, 0), QStringLiteral("Pn011"));
        QCOMPARE(ComSettingsFrame::getRegister(255, pn11), Uint16(50));
        return;
    }
    QVERIFY(!m_page->isImportedView());
    QCOMPARE(text(0, 0), QStringLiteral("Pn012"));
    QCOMPARE(ComSettingsFrame::getRegister(255, pn11), Uint16(0xABCD));
}

// Whatever a line holds past the header, the rest of the file still comes in.
void TestServoParamFiles::importValues()
{
    const auto cached = [](int pn, int axis, int word = 0) {
        return ComSettingsFrame::getRegister(255, Uint16(ServoParamFrame::paramAddress(pn, axis) + word));
    };
    ComSettingsFrame::setRegister(255, ServoParamFrame::paramAddress(12, 1), 99);   // left by an earlier import
    ComSettingsFrame::setRegister(255, ServoParamFrame::paramAddress(8, 0), 5);
    check(QStringLiteral("Pn010"));
    const QString path = m_dir->filePath(QStringLiteral("in.csv"));
    writeFile(path, QStringLiteral("DeviceType = 1\n\nPnVal,AxisA,Axis1\n"
                                   "Pn011,16#1A,abc\n"          // line 4
                                   "\n"
                                   "Pn017,16#10002,none\n"
                                   "Pn999,1,2\n"                // no such parameter
                                   "Pn012,7\n"
                                   "Pn008,70000,+1.0,5\n"       // line 9: 16 bits cannot hold 700000
                                   "Pn021,16#10000,1\n"));      // line 10
    QVERIFY(m_page->importParams(path));
    QVERIFY(m_page->isImportedView());
    // A header field without digits is axis 0; the checked parameter makes way for the file's.
    QCOMPARE(m_page->axisList(), QList<int>({ 0, 1 }));
    QCOMPARE(row(QStringLiteral("Pn010")), -1);
    QCOMPARE(cached(11, 0), Uint16(26));
    QCOMPARE(text(row("Pn011", "1/0"), 5), QStringLiteral("16#1a"));
    QCOMPARE(m_page->displayMode(QStringLiteral("Slave255-Axis0-Pn11")), 2);
    QCOMPARE(cached(11, 1), Uint16(0xABCD));
    QVERIFY(text(row("Pn011", "1/1"), 5).isEmpty());
    // The empty line stays in its place; the unknown parameter's line is left out.
    QVERIFY(text(2, 0).isEmpty());
    QCOMPARE(row(QStringLiteral("Pn017")), 3);
    QCOMPARE(row(QStringLiteral("Pn999")), -1);
    QCOMPARE(row(QStringLiteral("Pn012")), 5);
    // int32L: low word at the address; a placeholder leaves both words unknown.
    QCOMPARE(cached(17, 0), Uint16(0x0002));
    QCOMPARE(cached(17, 0, 1), Uint16(0x0001));
    QCOMPARE(text(row("Pn017", "1/0"), 5), QStringLiteral("16#10002"));
    QCOMPARE(cached(17, 1), Uint16(0xABCD));
    QCOMPARE(cached(17, 1, 1), Uint16(0xABCD));
    // A short line leaves the missing axis unknown instead of showing a stale value.
    QCOMPARE(text(row("Pn012", "1/0"), 5), QStringLiteral("7"));
    QCOMPARE(cached(12, 1), Uint16(0xABCD));
    // A value too wide for its register stays unknown, the rest of its line comes in, and one box
    // names the lines.
    QCOMPARE(cached(8, 0), Uint16(0xABCD));
    QCOMPARE(text(row("Pn008", "1/1"), 5), QStringLiteral("+1.0"));
    QCOMPARE(cached(21, 0), Uint16(0xABCD));
    QCOMPARE(cached(21, 1), Uint16(1));
    QCOMPARE(m_prompts->size(), 1);
    QCOMPARE(lastWarning(), QStringLiteral("Values too large for their parameter were left empty, lines: 9, 10"));
    // Reading the drive asks first; No keeps the imported view.
    m_prompts->reply.button = QMessageBox::No;
    m_page->on_upLoadButton_clicked();
    QVERIFY(m_page->isImportedView());

    // An axis the device does not have is told, not dropped silently.
    setDevice(LowVoltServo);
    writeFile(path, QStringLiteral("DeviceType = 2\n\nPnVal,Axis0,Axis5\nPn011,+1.0,+2.0\n"));
    QVERIFY(m_page->importParams(path));
    QCOMPARE(m_page->axisList(), QList<int>({ 0 }));
    QCOMPARE(lastWarning(), QStringLiteral("This device has no axis 5: those values of the file are not shown."));
}

void TestServoParamFiles::defaultFilesFollowTheDeviceType()
{
    const QString oldCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_dir->path()));
    ComSettingsFrame::setRegister(1, ServoParamFrame::paramAddress(11, 0), 5);
    check(QStringLiteral("Pn011"));
    QCOMPARE(ServoParamFrame::defaultParamsPath(), m_dir->filePath(QStringLiteral("ServoParams_Default_1.csv")));

    // Written under the old type; the new type has no file yet, which is no error.
    m_frame->setDeviceType(LowVoltServo);
    QCOMPARE(readLines(m_dir->filePath(QStringLiteral("ServoParams_Default_1.csv"))).mid(0, 4),
             QStringList({ "DeviceType = 1", "", "PnVal,Axis0", "Pn011,+5" }));
    QVERIFY(m_prompts->isEmpty());
    QCOMPARE(row(QStringLiteral("Pn011")), -1);
    ComSettingsFrame::setRegister(1, ServoParamFrame::paramAddress(12, 0), 3);
    check(QStringLiteral("Pn012"));

    m_frame->setDeviceType(HighVoltServo);
    QCOMPARE(readLines(m_dir->filePath(QStringLiteral("ServoParams_Default_2.csv"))).value(3), QStringLiteral("Pn012,+3"));
    QCOMPARE(text(row("Pn011", "1/0"), 5), QStringLiteral("+5"));
    QVERIFY(!m_page->isImportedView());   // the next read pass fetches live values
    QVERIFY(m_prompts->isEmpty());
    QVERIFY(QDir::setCurrent(oldCurrent));
}

void TestServoParamFiles::buttons()
{
    QPushButton *exportButton = m_page->findChild<QPushButton *>(QStringLiteral("exportBnt"));
    QPushButton *openButton = m_page->findChild<QPushButton *>(QStringLiteral("importBnt"));

    m_page->onSalveCnfgChanged({ 1, 2 }, { 0 });
    exportButton->click();
    QCOMPARE(m_prompts->size(), 1);
    QCOMPARE(lastWarning(), QStringLiteral("Servo parameter export only supports single device!"));

    m_page->onSalveCnfgChanged({ 1 }, { 0 });
    m_prompts->reply.text = m_dir->filePath(QStringLiteral("chosen"));
    exportButton->click();
    QVERIFY(QFile::exists(m_prompts->reply.text + QStringLiteral(".csv")));

    // A file that cannot be written is told, and nothing claims success.
    QVERIFY(!m_page->exportParams(m_dir->filePath(QStringLiteral("missing/out.csv"))));
    QCOMPARE(lastWarning(), QStringLiteral("Servo parameters export failed!"));
    QVERIFY(!m_page->exportParams(m_dir->path()));
    QCOMPARE(lastWarning(), QStringLiteral("Servo parameters export failed!"));

    // The default import stays quiet about a missing file; a file the user picked does not.
    m_prompts->clear();
    m_page->importDefaultParams();
    QVERIFY(m_prompts->isEmpty());
    m_prompts->reply.text = m_dir->filePath(QStringLiteral("absent.csv"));
    openButton->click();
    QCOMPARE(lastWarning(), QStringLiteral("The parameter file cannot be opened!"));
    QVERIFY(!m_page->isImportedView());
}

QTEST_MAIN(TestServoParamFiles)
#include "tst_servoparamfiles.moc"
