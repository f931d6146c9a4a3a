#include "shell/systemupdatedialog.h"

#include "comm/comsettingsframe.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"
#include "support/widgetlookup.h"
#include "widgets/ctprogressbutton.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QtTest>

static const QByteArray kDecrypt = "cp -- \"$1\" \"${1%.bfe}\"\n";   // the test archives are not encrypted

// The update dialog end to end: the Linux tool stand-ins unpack a (plain tar) archive in a scratch
// program folder and the blocks go to the simulated device, which reports the image it assembled.
class TestSystemUpdate : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_db.isValid() && QDir::setCurrent(m_programDir.path()) && QDir().mkpath(SystemUpdateDialog::toolFolder()));
        // Temporary folders in a scratch place of our own: nothing there may reach the device either.
        QVERIFY(QDir().mkpath(m_programDir.filePath("tmp")));
        qputenv("TMPDIR", QFile::encodeName(m_programDir.filePath("tmp")));
        m_link = new DevsimLink;
        QVERIFY(m_link->sim().start({ "--type", "1" }));
    }
    void cleanupTestCase() { delete m_link; }
    void init()
    {
        QVERIFY(m_link->connectTo(m_link->sim().port()));
        QVERIFY(QDir(SystemUpdateDialog::toolFolder()).removeRecursively() && QDir().mkpath(SystemUpdateDialog::toolFolder()));
        writeFile(SystemUpdateDialog::toolFolder() + "decrypt.bat", kDecrypt);
        m_link->sim().clearLog(), m_prompts.clear(), m_dialog = new SystemUpdateDialog;
        connect(m_link->frame(), SIGNAL(singalWriteFileFinshed()), m_dialog, SLOT(slotWaitEnd()));   // as the window does
    }
    void cleanup() { delete m_dialog; }
    void transfer_data();
    void transfer();
    void refusedStarts_data();
    void refusedStarts();
    void refusedArchives_data();
    void refusedArchives();
    void toolsRunBesideTheWindow();
    void oversizedUnpackIsStopped();
    void toolsEndWithTheirChildren_data();
    void toolsEndWithTheirChildren();
    void archiveInTheToolFolderIsKept_data();
    void archiveInTheToolFolderIsKept();
    void givesUpOnSilentDevice_data();
    void givesUpOnSilentDevice();
    void closedLinkEndsTheWait();

private:
    void writeFile(const QString &path, const QByteArray &data) const
    {
        QFile file(path);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(data), qint64(data.size()));
    }
    // "<base>.tar.bfe" holding <base>/RO_Devave.tar with the payload; extra members go in beside <base>.
    QString makeArchive(const QString &name, const QByteArray &payload, const QStringList &extras = {})
    {
        QTemporaryDir staging;
        writeFile(staging.filePath(name.chopped(8) + "/RO_Devave.tar"), payload);
        for (const QString &extra : extras)
            writeFile(staging.filePath(extra), "touch pwned\n");
        const QStringList args = QStringList { "-cf", m_programDir.filePath(name), "-C", staging.path(), name.chopped(8) } + extras;
        return QProcess::execute("tar", args) == 0 ? m_programDir.filePath(name) : QString();
    }
    void pick(const QString &path)
    {
        m_prompts.reply.text = path;
        QTest::mouseClick(m_dialog->findChild<QPushButton *>("selectFileButton"), Qt::LeftButton);
        m_prompts.clear();
    }
    CTProgressButton *bar() const { return m_dialog->findChild<CTProgressButton *>(); }
    void press() { QTest::mousePress(bar(), Qt::LeftButton); }
    bool ticking() const { return m_dialog->findChild<QTimer *>("sendTimer")->isActive(); }
    void expectIdle() { QTRY_COMPARE(bar()->format(), QStringLiteral("更新")); QTRY_VERIFY(!ticking()); }
    // What the tool folder holds besides what the test put there: nothing an attempt left.
    QStringList toolFolderLeft() const
    {
        QStringList names = QDir(SystemUpdateDialog::toolFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        names.removeAll("decrypt.bat"), names.removeAll("RO_Devave.tar");
        return names;
    }

    TestDatabase m_db;
    QTemporaryDir m_programDir;
    DevsimLink *m_link = nullptr;
    SystemUpdateDialog *m_dialog = nullptr;
    PromptRecorder m_prompts;
};

// Gone, or a zombie that nothing reaps in this container: either way it does nothing more.
static bool processGone(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.readAll();
    const int nameEnd = text.lastIndexOf(')');
    return nameEnd < 0 || text.mid(nameEnd + 2, 1) == "Z";
}

static quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xffffffffu;
    for (const char c : data)
        for (int bit = 0, byte = quint8(c); bit < 8; ++bit, byte >>= 1)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - ((crc ^ byte) & 1u)));
    return ~crc;
}

void TestSystemUpdate::transfer_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("barValues");
    QTest::addColumn<QStringList>("extras");
    QTest::newRow("whole blocks") << "abc.tar.bfe" << 1000 << QList<int>{ 20, 40, 60, 80, 100, 0 } << QStringList();
    QTest::newRow("one byte over, shell characters in name")
        << "a b;touch x;'c.tar.bfe" << 1001 << QList<int>{ 16, 33, 50, 66, 83, 100, 0 } << QStringList();
    QTest::newRow("single whole block") << "small.tar.bfe" << 200 << QList<int>{ 100, 0 } << QStringList();
    // An archive must not replace the tools that the next update runs.
    QTest::newRow("single short block, archive carrying tools")
        << "abc.tar.bfe" << 150 << QList<int>{ 100, 0 } << QStringList { "decrypt.bat", "VxBT.tar.bfe", "extra" };
}

void TestSystemUpdate::transfer()
{
    QFETCH(QString, fileName);
    QFETCH(int, size);
    QFETCH(QStringList, extras);
    QByteArray payload(size, '\0');
    for (int i = 0; i < size; ++i)
        payload[i] = char(i * 7 + i / 256);
    const QString archive = makeArchive(fileName, payload, extras);
    pick(archive);
    pick(QString());   // cancelled: the path stays
    QCOMPARE(m_dialog->findChild<QLineEdit *>()->text(), archive);
    QSignalSpy values(bar(), &QProgressBar::valueChanged);
    QVERIFY(!ticking());   // an idle dialog costs nothing
    press();
    QVERIFY(ticking());
    press();   // while under way: ignored
    const QString done = QString("devsim file %1 bytes crc32=%2\n").arg(size).arg(crc32(payload), 8, 16, QLatin1Char('0'));
    QTRY_VERIFY(m_link->sim().stderrText().endsWith(done));
    QTRY_COMPARE(m_prompts.texts(), QStringList { QStringLiteral("提示: 更新完成!") });
    QCOMPARE(m_prompts.last().kind, Prompt::Information);
    // Nothing ran from the name, and no member landed among the tools.
    const QString tools = SystemUpdateDialog::toolFolder();
    QVERIFY(!QFile::exists("x") && !QFile::exists(tools + "x") && !QFile::exists(tools + "extra"));
    QFile tool(tools + "decrypt.bat");
    QVERIFY(tool.open(QIODevice::ReadOnly) && tool.readAll() == kDecrypt);
    QTRY_COMPARE(toolFolderLeft(), QStringList());
    QStringList expected;
    for (int at = 0; at < size; at += 200)
        expected << QString("slave=1 fc=34 offset=%1 length=%2 last=%3").arg(at).arg(qMin(200, size - at)).arg(at + 200 >= size);
    QCOMPARE(m_link->sim().logLines().filter("fc=34"), expected);
    QTEST(TestLookup::firstInts(values), "barValues");
    QTRY_COMPARE(bar()->format(), QStringLiteral("更新中..."));   // the restart wait: a press starts nothing
    press(), QTest::qWait(150);
    QCOMPARE(m_prompts.size(), 1);
    m_link->frame()->disconnectDevice();
    expectIdle();
}

void TestSystemUpdate::refusedStarts_data()
{
    QTest::addColumn<QString>("pickName");     // empty: nothing picked
    QTest::addColumn<int>("size");             // of the archived file; -1: no archive
    QTest::addColumn<QByteArray>("decrypt");   // empty: no decrypt script
    QTest::addColumn<QString>("message");
    QTest::newRow("nothing picked") << "" << -1 << kDecrypt << "未选择更新文件!";
    QTest::newRow("picked file gone") << "upd.tar.bfe" << -1 << kDecrypt << "未找到更新文件!";
    QTest::newRow("no decrypt script") << "upd.tar.bfe" << 1 << QByteArray() << "未找到解密工具 decrypt.bat!";
    QTest::newRow("decrypt fails") << "upd.tar.bfe" << 1 << QByteArray("exit 3\n") << "更新文件解包失败!";
    QTest::newRow("empty update file") << "upd.tar.bfe" << 0 << kDecrypt << "更新文件解包失败!";
}

void TestSystemUpdate::refusedStarts()
{
    QFETCH(QString, pickName);
    QFETCH(int, size);
    QFETCH(QByteArray, decrypt);
    QFETCH(QString, message);
    // What an earlier update unpacked must not go out in place of this one.
    writeFile(SystemUpdateDialog::toolFolder() + "upd/RO_Devave.tar", "stale");
    QFile::remove(m_programDir.filePath("upd.tar.bfe"));
    if (size >= 0)
        QVERIFY(!makeArchive(pickName, QByteArray(size, 'u')).isEmpty());
    QFile::remove(SystemUpdateDialog::toolFolder() + "decrypt.bat");
    if (!decrypt.isEmpty())
        writeFile(SystemUpdateDialog::toolFolder() + "decrypt.bat", decrypt);
    if (!pickName.isEmpty())
        pick(m_programDir.filePath(pickName));
    press();
    QTRY_COMPARE(m_prompts.texts(), QStringList { QStringLiteral("错误: ") + message });
    QCOMPARE(m_prompts.last().kind, Prompt::Warning);
    expectIdle();
    QCOMPARE(bar()->value(), 0);
    QCOMPARE(m_link->sim().logLines().filter("fc=34"), QStringList());
}

// Members are "path=content", "path->target" (a link; "@" stands for a folder outside the program's),
// "path:over" (a sparse file one byte over the unpack bound) or "folder/*n" (n empty files).
void TestSystemUpdate::refusedArchives_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("members");
    QTest::newRow("folder of the archive a link elsewhere") << "abc.tar.bfe" << QStringList { "abc->@" };
    QTest::newRow("file of the archive a link elsewhere") << "abc.tar.bfe" << QStringList { "abc/RO_Devave.tar->@/RO_Devave.tar" };
    QTest::newRow("name without a folder: .") << "..tar.bfe" << QStringList { "RO_Devave.tar=inside" };
    QTest::newRow("name without a folder: ..") << "...tar.bfe" << QStringList { "RO_Devave.tar=inside" };
    QTest::newRow("file over the unpack bound") << "abc.tar.bfe" << QStringList { "abc/RO_Devave.tar:over" };
    QTest::newRow("other member over the unpack bound") << "abc.tar.bfe" << QStringList { "abc/RO_Devave.tar=ok", "big:over" };
    QTest::newRow("more entries than the bound")
        << "abc.tar.bfe" << QStringList { "abc/RO_Devave.tar=ok", "many/*" + QString::number(SystemUpdateDialog::MaxUnpackedEntries) };
}

// Only a plain file of the archive's own folder, of a size an update has, goes out; nothing is left.
void TestSystemUpdate::refusedArchives()
{
    QFETCH(QString, name);
    QFETCH(QStringList, members);
    // A file of the right name outside the archive's folder: beside the tools, in the temporary
    // folder and in a folder elsewhere.
    const QString elsewhere = m_programDir.filePath("elsewhere");
    for (const QString &folder : { SystemUpdateDialog::toolFolder(), m_programDir.filePath("tmp") + "/", elsewhere + "/" })
        writeFile(folder + "RO_Devave.tar", "outside");
    QTemporaryDir staging;
    for (const QString &member : members) {
        const QString path = staging.filePath(member.section(QRegularExpression("=|->|:"), 0, 0));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        if (member.contains("/*")) {
            for (int i = member.section("/*", 1).toInt(); i > 0; --i)
                writeFile(QStringLiteral("%1/%2").arg(QFileInfo(path).path()).arg(i), QByteArray());
        } else if (member.contains("->")) {
            QVERIFY(QFile::link(member.section("->", 1).replace("@", elsewhere), path));
        } else if (member.endsWith(":over")) {
            QFile sparse(path);
            QVERIFY(sparse.open(QIODevice::WriteOnly) && sparse.resize(SystemUpdateDialog::MaxUnpackedBytes + 1));
        } else {
            writeFile(path, member.section("=", 1).toUtf8());
        }
    }
    QCOMPARE(QProcess::execute("tar", { "-S", "-cf", m_programDir.filePath(name), "-C", staging.path(), "." }), 0);
    pick(m_programDir.filePath(name));
    press();
    QTRY_COMPARE(m_prompts.texts(), QStringList { QStringLiteral("错误: 更新文件解包失败!") });
    expectIdle();
    QCOMPARE(m_link->sim().logLines().filter("fc=34"), QStringList());
    QTRY_COMPARE(toolFolderLeft(), QStringList());
}

// The outside tools run while the window goes on, with their progress on the bar.
void TestSystemUpdate::toolsRunBesideTheWindow()
{
    writeFile(SystemUpdateDialog::toolFolder() + "decrypt.bat", "sleep 1\n" + kDecrypt);
    pick(makeArchive("abc.tar.bfe", QByteArray(300, 'u')));
    press();
    QTRY_COMPARE_WITH_TIMEOUT(bar()->format(), QStringLiteral("解包中(2/3)..."), 900);
    QTRY_VERIFY(m_link->sim().stderrText().contains("devsim file 300 bytes"));
    QTRY_COMPARE(m_prompts.texts(), QStringList { QStringLiteral("提示: 更新完成!") });
}

// An archive that unpacks past the bound is stopped as it unpacks, not when the tool is done.
void TestSystemUpdate::oversizedUnpackIsStopped()
{
    // A stand-in unpacker that leaves a file over the bound and then takes its time.
    const QString bin = m_programDir.filePath("bin");
    writeFile(bin + "/tar", QStringLiteral("#!/bin/sh\nmkdir -p \"$4/abc\" && truncate -s %1 \"$4/abc/RO_Devave.tar\" && exec sleep 20 >/dev/null 2>&1 </dev/null\n")
                                .arg(SystemUpdateDialog::MaxUnpackedBytes + 1).toUtf8());
    QVERIFY(QFile::setPermissions(bin + "/tar", QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    pick(makeArchive("abc.tar.bfe", "u"));
    const QByteArray path = qgetenv("PATH");
    const auto restorePath = qScopeGuard([&] { qputenv("PATH", path); });
    qputenv("PATH", QFile::encodeName(bin) + ":" + path);
    press();
    QTRY_COMPARE_WITH_TIMEOUT(m_prompts.texts(), QStringList { QStringLiteral("错误: 更新文件解包失败!") }, 10000);
    expectIdle();
    QTRY_COMPARE(toolFolderLeft(), QStringList());
}

void TestSystemUpdate::toolsEndWithTheirChildren_data()
{
    QTest::addColumn<bool>("closeDialog");   // else the tool runs past its time limit
    QTest::newRow("tool that never ends") << false;
    QTest::newRow("dialog closed while the tool runs") << true;
}

// A tool is ended with everything it started: nothing goes on writing after the attempt.
void TestSystemUpdate::toolsEndWithTheirChildren()
{
    QFETCH(bool, closeDialog);
    QFile::remove("child.pid");
    writeFile(SystemUpdateDialog::toolFolder() + "decrypt.bat",
              "(sleep 20; touch late) &\necho $! > ../../child.pid.new && mv ../../child.pid.new ../../child.pid\nwait\n");
    m_dialog->setToolTimeLimit(closeDialog ? SystemUpdateDialog::ToolTimeLimitMs : 1000);
    pick(makeArchive("abc.tar.bfe", "u"));
    press();
    QTRY_VERIFY(QFile::exists("child.pid"));
    QFile pidFile("child.pid");
    QVERIFY(pidFile.open(QIODevice::ReadOnly));
    const qint64 child = pidFile.readAll().trimmed().toLongLong();
    QVERIFY(child > 0 && !processGone(child));
    QCOMPARE(bar()->format(), QStringLiteral("解包中(2/3)..."));
    if (closeDialog) {
        delete m_dialog;
        m_dialog = nullptr;
        QVERIFY(m_prompts.isEmpty());
    } else {
        QTRY_COMPARE_WITH_TIMEOUT(m_prompts.texts(), QStringList { QStringLiteral("错误: 更新文件解包失败!") }, 10000);
        expectIdle();
    }
    QTRY_VERIFY(processGone(child));
    QTRY_COMPARE(toolFolderLeft(), QStringList());
}

void TestSystemUpdate::archiveInTheToolFolderIsKept_data()
{
    QTest::addColumn<QString>("picked");   // the path given, the tool folder's archive under another spelling
    QTest::newRow("picked by its path") << "Resource/Tool/VxBT.tar.bfe";
    QTest::newRow("picked by a path through the folder above") << "Resource/Tool/../Tool/VxBT.tar.bfe";
}

// The archive may be picked where the tools take it from: it goes out and is the user's to keep.
void TestSystemUpdate::archiveInTheToolFolderIsKept()
{
    QFETCH(QString, picked);
    const QString archive = makeArchive("VxBT.tar.bfe", QByteArray(450, 'k'));
    const QString inPlace = SystemUpdateDialog::toolFolder() + "VxBT.tar.bfe";
    QVERIFY(QFile::rename(archive, inPlace));
    QFile file(inPlace);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray content = file.readAll();
    file.close();
    pick(m_programDir.filePath(picked));
    press();
    QTRY_VERIFY(m_link->sim().stderrText().contains("devsim file 450 bytes"));
    QTRY_COMPARE(m_prompts.texts(), QStringList { QStringLiteral("提示: 更新完成!") });
    m_link->frame()->disconnectDevice();
    expectIdle();
    QTRY_COMPARE(toolFolderLeft(), QStringList { "VxBT.tar.bfe" });
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), content);
}

void TestSystemUpdate::givesUpOnSilentDevice_data()
{
    QTest::addColumn<bool>("linkLost");
    QTest::newRow("blocks never answered") << false;
    QTest::newRow("device gone") << true;
}

void TestSystemUpdate::givesUpOnSilentDevice()
{
    QFETCH(bool, linkLost);
    // Blocks go to unit 1; a device serving only unit 2 takes them and never answers.
    DevsimProcess sim;
    QVERIFY(sim.start({ "--type", "1", "--slave", "2" }));
    QVERIFY(m_link->connectTo(sim.port(), 2));
    pick(makeArchive("abc.tar.bfe", QByteArray(1000, 'z')));
    press();
    if (linkLost)
        sim.kill();
    QTRY_VERIFY_WITH_TIMEOUT(!m_prompts.isEmpty(), SystemUpdateDialog::BlockTimeoutMs + 3000);
    QCOMPARE(m_prompts.texts(), QStringList { QStringLiteral("错误: 更新文件发送失败!") });
    expectIdle();
    // Only the first block went out (the engine's own retries included).
    QCOMPARE(sim.logLines().filter("fc=34").filter(QRegularExpression("offset=[1-9]")), QStringList());
}

// A block's answer is not awaited on a link that has closed.
void TestSystemUpdate::closedLinkEndsTheWait()
{
    DevsimProcess sim;
    QVERIFY(sim.start({ "--type", "1", "--slave", "2" }));   // takes the blocks to unit 1, never answers
    QVERIFY(m_link->connectTo(sim.port(), 2));
    pick(makeArchive("abc.tar.bfe", QByteArray(1000, 'z')));
    press();
    QTRY_VERIFY(!sim.logLines().filter("fc=34").isEmpty());
    m_link->frame()->disconnectDevice();
    QTRY_COMPARE_WITH_TIMEOUT(m_prompts.texts(), QStringList { QStringLiteral("错误: 更新文件发送失败!") },
                              SystemUpdateDialog::BlockTimeoutMs / 3);
    expectIdle();
    QTRY_COMPARE(toolFolderLeft(), QStringList());
}

QTEST_MAIN(TestSystemUpdate)
#include "tst_systemupdate.moc"

