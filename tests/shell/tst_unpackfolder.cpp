#include "shell/unpackfolder.h"

#include "support/unprivileged.h"

#include <QtTest>
#include <unistd.h>

// What an update archive unpacks to is counted and removed whatever it holds.
class TestUnpackFolder : public QObject
{
    Q_OBJECT

private slots:
    void removesWhatTheArchiveLockedUp_data();
    void removesWhatTheArchiveLockedUp();
    void removesBesideTheWindow();
    void countsWithoutFollowingLinks();

private:
    static void writeFile(const QString &path, const QByteArray &data = QByteArray())
    {
        QFile file(path);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()) && file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(data), qint64(data.size()));
    }
};

void TestUnpackFolder::removesWhatTheArchiveLockedUp_data()
{
    // Folders of the unpacked tree with the modes the archive gave them, applied in this order.
    QTest::addColumn<QStringList>("modes");
    QTest::newRow("read-only folder") << QStringList { "ro:555" };
    QTest::newRow("folder without any permission") << QStringList { "ro/sub:555", "ro:000" };
    QTest::newRow("read-only folders nested") << QStringList { "ro/sub:500", "ro:500" };
    QTest::newRow("unpack folder itself read-only") << QStringList { "ro:555", ".:555" };
}

// As the user who unpacked it, not as root, whom no mode stops: files are made as that user and
// the removal runs in this thread, which alone takes on the user.
void TestUnpackFolder::removesWhatTheArchiveLockedUp()
{
    QFETCH(QStringList, modes);
    QTemporaryDir parent;
    QVERIFY(parent.isValid());
    if (geteuid() == 0)
        QCOMPARE(::chown(QFile::encodeName(parent.path()).constData(), Unprivileged::User, Unprivileged::User), 0);
    const QString beside = parent.filePath("VxBT.tar");
    {
        Unprivileged user;
        UnpackFolder folder(parent.path());
        QVERIFY(folder.isValid());
        writeFile(folder.path() + "/ro/sub/file", "x");
        writeFile(folder.path() + "/ro/file", "x");
        writeFile(beside, "t");
        for (const QString &mode : modes) {
            const uint bits = mode.section(':', 1).toUInt(nullptr, 8);
            const uint owner = bits >> 6;   // Qt keeps a digit per four bits, the owner's twice
            QVERIFY(QFile::setPermissions(folder.path() + '/' + mode.section(':', 0, 0),
                                          QFileDevice::Permissions(owner << 12 | owner << 8 | (bits >> 3 & 7) << 4 | (bits & 7))));
        }
        folder.remove({ beside });
    }
    QCOMPARE(QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
}

// Removed on a worker thread, with the named files beside it and nothing else.
void TestUnpackFolder::removesBesideTheWindow()
{
    QTemporaryDir parent;
    writeFile(parent.filePath("VxBT.tar"));
    writeFile(parent.filePath("decrypt.bat"));
    UnpackFolder folder(parent.path());
    for (int i = 0; i < 100; ++i)
        writeFile(QStringLiteral("%1/abc/%2").arg(folder.path()).arg(i));
    folder.startCount(1000, 1000);
    folder.startRemoval({ parent.filePath("VxBT.tar"), parent.filePath("gone already") });
    folder.startRemoval({ parent.filePath("decrypt.bat") });   // under way: not taken
    QTRY_VERIFY(folder.isRemoved());
    QCOMPARE(QDir(parent.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList { "decrypt.bat" });
}

void TestUnpackFolder::countsWithoutFollowingLinks()
{
    QTemporaryDir parent;
    writeFile(parent.filePath("outside/big"), QByteArray(1000, 'o'));
    UnpackFolder folder(parent.path());
    writeFile(folder.path() + "/abc/RO_Devave.tar", QByteArray(100, 'u'));
    QVERIFY(QFile::link(parent.filePath("outside"), folder.path() + "/folder link"));
    QVERIFY(QFile::link(parent.filePath("outside/big"), folder.path() + "/.file link"));
    QVERIFY(QFile::link(parent.filePath("nothing"), folder.path() + "/broken link"));
    QVERIFY(!folder.takeCount());   // none started
    folder.startCount(1000, 1000);
    QTRY_VERIFY(!folder.isCounting());
    const std::optional<UnpackFolder::Count> count = folder.takeCount();
    QVERIFY(count && !folder.takeCount());
    QCOMPARE(count->bytes, qint64(100));
    QCOMPARE(count->entries, qint64(5));
    // Past a bound the count only has to show it is past.
    folder.startCount(1000, 2);
    QTRY_VERIFY(!folder.isCounting());
    QVERIFY(folder.takeCount()->entries > 2);
    folder.startCount(99, 1000);
    QTRY_VERIFY(!folder.isCounting());
    QVERIFY(folder.takeCount()->bytes > 99);
}

QTEST_MAIN(TestUnpackFolder)
#include "tst_unpackfolder.moc"
