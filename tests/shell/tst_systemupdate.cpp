#include "shell/systemupdatedialog.h"

#include "comm/comsettingsframe.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"
#include "support/widgetlookup.h"
#include "widgets/ctprogressbutton.h"

#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

// The update dialog end to end: the Linux tool stand-ins unpack a (plain tar) archive in a scratch
// program folder and the blocks go to the simulated device, which reports the image it assembled.
class TestSystemUpdate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void transfer_data();
    void transfer();
    void refusedStarts_data();
    void refusedStarts();
    void givesUpOnSilentDevice_data();
    void givesUpOnSilentDevice();

private:
    // Extra members go in beside <base>/RO_Devave.tar.
    QString makeArchive(const QString &fileName, const QByteArray &payload, const QStringList &extras = {});
    void writeFile(const QString &path, const QByteArray &data) const;
    void pick(const QString &path);
    void press() { QTest::mousePress(m_dialog->findChild<CTProgressButton *>(), Qt::LeftButton); }
    QString format() const { return m_dialog->findChild<CTProgressButton *>()->format(); }
    bool ticking() const { return m_dialog->findChild<QTimer *>(QStringLiteral("sendTimer"))->isActive(); }

    TestDatabase m_db;
    QTemporaryDir m_programDir;
    QString m_oldCurrent;
    DevsimLink *m_link = nullptr;
    ComSettingsFrame *m_com = nullptr;
    SystemUpdateDialog *m_dialog = nullptr;
    PromptRecorder m_prompts;
};

static const QByteArray kDecrypt = "cp -- \"$1\" \"${1%.bfe}\"\n";   // the test archives are not encrypted

void TestSystemUpdate::initTestCase()
{
    QVERIFY(m_db.isValid() && m_programDir.isValid());
    m_oldCurrent = QDir::currentPath();
    QVERIFY(QDir::setCurrent(m_programDir.path()) && QDir().mkpath(SystemUpdateDialog::toolFolder()));
    m_link = new DevsimLink;
    m_com = m_link->frame();
    QVERIFY(m_link->sim().start({ QStringLiteral("--type"), QStringLiteral("1") }));
}

void TestSystemUpdate::cleanupTestCase()
{
    delete m_link;
    QDir::setCurrent(m_oldCurrent);
}

void TestSystemUpdate::init()
{
    QVERIFY(m_link->connectTo(m_link->sim().port()));
    writeFile(SystemUpdateDialog::toolFolder() + QStringLiteral("decrypt.bat"), kDecrypt);
    m_link->sim().clearLog();
    m_prompts.clear();
    m_dialog = new SystemUpdateDialog;
    connect(m_com, SIGNAL(singalWriteFileFinshed()), m_dialog, SLOT(slotWaitEnd()));   // as the main window does
}

void TestSystemUpdate::cleanup()
{
    delete m_dialog;
}

void TestSystemUpdate::writeFile(const QString &path, const QByteArray &data) const
{
    QFile file(path);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(data), qint64(data.size()));
}

// "<base>.tar.bfe" holding <base>/RO_Devave.tar with the payload.
QString TestSystemUpdate::makeArchive(const QString &fileName, const QByteArray &payload, const QStringList &extras)
{
    QTemporaryDir staging;
    const QString base = fileName.chopped(8);
    writeFile(staging.filePath(base + QStringLiteral("/RO_Devave.tar")), payload);
    for (const QString &extra : extras)
        writeFile(staging.filePath(extra), "touch pwned\n");
    const QString archive = m_programDir.filePath(fileName);
    QFile::remove(archive);
    const int rc = QProcess::execute(QStringLiteral("tar"), QStringList { "-cf", archive, "-C", staging.path(), base } + extras);
    return rc == 0 ? archive : QString();
}

void TestSystemUpdate::pick(const QString &path)
{
    m_prompts.reply.text = path;
    QTest::mouseClick(m_dialog->findChild<QPushButton *>(QStringLiteral("selectFileButton")), Qt::LeftButton);
    m_prompts.clear();
}

static quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xffffffffu;
    for (const char c : data) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void TestSystemUpdate::transfer_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("barValues");
    QTest::addColumn<QStringList>("extras");
    QTest::newRow("whole blocks") << "abc.tar.bfe" << 1000 << QList<int>{ 20, 40, 60, 80, 100, 0 } << QStringList();
    QTest::newRow("one byte over") << "abc.tar.bfe" << 1001 << QList<int>{ 16, 33, 50, 66, 83, 100, 0 } << QStringList();
    QTest::newRow("single short block") << "small.tar.bfe" << 150 << QList<int>{ 100, 0 } << QStringList();
    QTest::newRow("shell characters in name") << "a b;touch x;'c.tar.bfe" << 250 << QList<int>{ 50, 100, 0 } << QStringList();
    // An archive must not replace the tools that the next update runs.
    QTest::newRow("archive carrying tools") << "abc.tar.bfe" << 200 << QList<int>{ 100, 0 }
                                            << QStringList { "decrypt.bat", "VxBT.tar.bfe", "extra" };
}

void TestSystemUpdate::transfer()
{
    QFETCH(QString, fileName);
    QFETCH(int, size);
    QFETCH(QList<int>, barValues);
    QFETCH(QStringList, extras);
    QByteArray payload(size, '\0');
    for (int i = 0; i < size; ++i)
        payload[i] = char(i * 7 + i / 256);
    const QString archive = makeArchive(fileName, payload, extras);
    pick(archive);
    pick(QString());    // cancelled: the path stays
    QCOMPARE(m_dialog->findChild<QLineEdit *>()->text(), archive);

    QSignalSpy values(m_dialog->findChild<CTProgressButton *>(), &QProgressBar::valueChanged);
    QVERIFY(!ticking());   // an idle dialog costs nothing
    press();
    QVERIFY(ticking());
    press();            // under way: ignored
    const QString done = QStringLiteral("devsim file %1 bytes crc32=%2\n").arg(size).arg(crc32(payload), 8, 16, QLatin1Char('0'));
    QTRY_VERIFY(m_link->sim().stderrText().endsWith(done));
    QTRY_COMPARE(m_prompts.texts(), QStringList { QStringLiteral("提示: 更新完成!") });
    QCOMPARE(m_prompts.last().kind, Prompt::Information);
    // The box resets the bar to "更新"; the next tick of the restart wait shows "更新中..." again.
    QTRY_COMPARE(format(), QStringLiteral("更新中..."));
    // Nothing ran from the name, and no member landed among the tools.
    const QString tools = SystemUpdateDialog::toolFolder();
    QVERIFY(!QFile::exists(QStringLiteral("x")) && !QFile::exists(tools + "x") && !QFile::exists(tools + "extra"));
    QFile tool(tools + QStringLiteral("decrypt.bat"));
    QVERIFY(tool.open(QIODevice::ReadOnly) && tool.readAll() == kDecrypt);

    QStringList expected;
    const int blocks = (size + 199) / 200;
    for (int i = 0; i < blocks; ++i)
        expected << QStringLiteral("slave=1 fc=34 offset=%1 length=%2 last=%3")
                        .arg(i * 200).arg(qMin(200, size - i * 200)).arg(i == blocks - 1);
    QCOMPARE(m_link->sim().logLines().filter(QStringLiteral("fc=34")), expected);
    QCOMPARE(TestLookup::firstInts(values), barValues);

    // Until the device drops the link to restart, a press starts nothing.
    press();
    QTest::qWait(150);
    QCOMPARE(m_prompts.size(), 1);
    m_com->disconnectDevice();
    QTRY_COMPARE(format(), QStringLiteral("更新"));
    QTRY_VERIFY(!ticking());
}

void TestSystemUpdate::refusedStarts_data()
{
    QTest::addColumn<QString>("pickName");      // empty: nothing picked
    QTest::addColumn<int>("size");              // of the archived file; -1: no archive
    QTest::addColumn<QByteArray>("decrypt");    // empty: no decrypt script
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing picked") << "" << -1 << kDecrypt << "未选择更新文件!";
    QTest::newRow("picked file gone") << "upd.tar.bfe" << -1 << kDecrypt << "未找到更新文件!";
    QTest::newRow("no decrypt script") << "upd.tar.bfe" << 10 << QByteArray() << "未找到解密工具 decrypt.bat!";
    QTest::newRow("decrypt fails") << "upd.tar.bfe" << 10 << QByteArray("exit 3\n") << "更新文件解包失败!";
    QTest::newRow("empty update file") << "upd.tar.bfe" << 0 << kDecrypt << "更新文件解包失败!";
}

void TestSystemUpdate::refusedStarts()
{
    QFETCH(QString, pickName);
    QFETCH(int, size);
    QFETCH(QByteArray, decrypt);
    QFETCH(QString, message);
    // What an earlier update unpacked must not go out in place of this one.
    writeFile(SystemUpdateDialog::toolFolder() + QStringLiteral("upd/RO_Devave.tar"), "stale");
    QFile::remove(m_programDir.filePath(QStringLiteral("upd.tar.bfe")));
    if (size >= 0)
        QVERIFY(!makeArchive(pickName, QByteArray(size, 'u')).isEmpty());
    if (decrypt.isEmpty())
        QFile::remove(SystemUpdateDialog::toolFolder() + QStringLiteral("decrypt.bat"));
    else
        writeFile(SystemUpdateDialog::toolFolder() + QStringLiteral("decrypt.bat"), decrypt);
    if (!pickName.isEmpty())
        pick(m_programDir.filePath(pickName));

    press();
    QTRY_COMPARE(m_prompts.texts(), QStringList { QStringLiteral("错误: ") + message });
    QCOMPARE(m_prompts.last().kind, Prompt::Warning);
    QTRY_COMPARE(format(), QStringLiteral("更新"));
    QCOMPARE(m_dialog->findChild<CTProgressButton *>()->value(), 0);
    QCOMPARE(m_link->sim().logLines().filter(QStringLiteral("fc=34")), QStringList());
    QTRY_VERIFY(!ticking());
}

void TestSystemUpdate::givesUpOnSilentDevice_data()
{
    QTest::addColumn<bool>("linkLost");
    QTest::newRow("blocks never answered") << false;
    QTest::newRow("link lost") << true;
}

void TestSystemUpdate::givesUpOnSilentDevice()
{
    QFETCH(bool, linkLost);
    // Blocks go to unit 1; a device serving only unit 2 takes them and never answers.
    DevsimProcess sim;
    QVERIFY(sim.start({ QStringLiteral("--type"), QStringLiteral("1"), QStringLiteral("--slave"), QStringLiteral("2") }));
    QVERIFY(m_link->connectTo(sim.port(), 2));
    pick(makeArchive(QStringLiteral("abc.tar.bfe"), QByteArray(1000, 'z')));
    press();
    if (linkLost)
        sim.kill();
    QTRY_VERIFY_WITH_TIMEOUT(!m_prompts.isEmpty(), SystemUpdateDialog::BlockTimeoutMs + 3000);
    QCOMPARE(m_prompts.texts(), QStringList { QStringLiteral("错误: 更新文件发送失败!") });
    QTRY_COMPARE(format(), QStringLiteral("更新"));
    QTRY_VERIFY(!ticking());
    // Only the first block went out (the engine's own retries included).
    for (const QString &line : sim.logLines().filter(QStringLiteral("fc=34")))
        QVERIFY2(line.contains(QStringLiteral("offset=0 ")), qPrintable(line));
}

QTEST_MAIN(TestSystemUpdate)
#include "tst_systemupdate.moc"
