// An update archive of about 1 MB whose file unpacks to 1 GiB: how long the window is held at
// most while the update tools run, how long the attempt takes to be refused, and what it leaves
// in the tool folder. Run by hand in a Release build: bench_systemupdate.
#include "shell/systemupdatedialog.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {
qint64 bytesUnder(const QString &folder)
{
    qint64 total = 0;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        total += it.fileInfo().size();
    }
    return total;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TestDatabase db;
    QTemporaryDir programDir;
    if (!db.isValid() || !QDir::setCurrent(programDir.path()) || !QDir().mkpath(SystemUpdateDialog::toolFolder()))
        return 1;
    QFile decrypt(SystemUpdateDialog::toolFolder() + QStringLiteral("decrypt.bat"));
    if (!decrypt.open(QIODevice::WriteOnly) || decrypt.write("cp -- \"$1\" \"${1%.bfe}\"\n") < 0)
        return 1;
    decrypt.close();
    // abc/RO_Devave.tar of 1 GiB of zeros, gzip-compressed.
    std::printf("making the archive...\n");
    std::fflush(stdout);
    if (!QDir().mkpath(QStringLiteral("staging/abc"))
        || QProcess::execute(QStringLiteral("truncate"), { QStringLiteral("-s"), QStringLiteral("1G"), QStringLiteral("staging/abc/RO_Devave.tar") }) != 0
        || QProcess::execute(QStringLiteral("tar"), { QStringLiteral("-czf"), QStringLiteral("abc.tar.bfe"), QStringLiteral("-C"), QStringLiteral("staging"), QStringLiteral("abc") }) != 0)
        return 1;
    QDir(QStringLiteral("staging")).removeRecursively();
    std::printf("archive: %lld bytes\n", static_cast<long long>(QFileInfo(QStringLiteral("abc.tar.bfe")).size()));

    PromptRecorder prompts;
    SystemUpdateDialog dialog;
    dialog.findChild<QLineEdit *>(QStringLiteral("filePathLineEdit"))->setText(QFileInfo(QStringLiteral("abc.tar.bfe")).absoluteFilePath());

    // The longest time between two turns of the event loop, seen by a 1 ms timer.
    QElapsedTimer gap;
    qint64 longest = 0;
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        longest = qMax(longest, gap.restart());
    });
    QElapsedTimer clock;
    clock.start();
    gap.start();
    tick.start();
    QMetaObject::invokeMethod(&dialog, "slotProgressButtonPressed");
    while (prompts.isEmpty() && clock.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    const qint64 total = clock.elapsed();
    tick.stop();
    QCoreApplication::processEvents();
    std::printf("answer: \"%s\" after %lld ms; window held at most %lld ms; tool folder holds %lld bytes after\n",
                qPrintable(prompts.texts().value(0)), static_cast<long long>(total), static_cast<long long>(longest),
                static_cast<long long>(bytesUnder(SystemUpdateDialog::toolFolder())));
    return 0;
}
