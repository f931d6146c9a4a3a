// Update archives that should be refused, and one that unpacks soundly with no device to take it:
// how long the window is held at most from the press until the dialog is idle again (the unpacking,
// the refusal and the clean-up), how long that takes, and what is left in the tool folder.
// Run by hand in a Release build: bench_systemupdate.
#include "shell/systemupdatedialog.h"
#include "support/holdwatch.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {
struct Left {
    qint64 bytes = 0;
    qint64 entries = 0;
};

Left leftUnder(const QString &folder)
{
    Left left;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System | QDir::NoSymLinks,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (it.fileName() == QLatin1String("decrypt.bat"))
            continue;
        ++left.entries;
        left.bytes += it.fileInfo().isFile() ? it.fileInfo().size() : 0;
    }
    return left;
}

bool shell(const QString &commandLine)
{
    return QProcess::execute(QStringLiteral("/bin/sh"), { QStringLiteral("-c"), commandLine }) == 0;
}

struct Case {
    const char *name;
    const char *staging;   // makes the archive's members under ./staging
};
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

    const Case cases[] = {
        { "1 GiB file", "mkdir -p staging/abc && truncate -s 1G staging/abc/RO_Devave.tar" },
        // Beside a sound update file.
        { "200,000 empty files", "mkdir -p staging/abc/many && echo u > staging/abc/RO_Devave.tar && cd staging/abc/many && seq -w 1 200000 | xargs touch" },
        { "20,000 empty files", "mkdir -p staging/abc/many && echo u > staging/abc/RO_Devave.tar && cd staging/abc/many && seq -w 1 20000 | xargs touch" },
        { "20,000 empty files in a read-only folder",
          "mkdir -p staging/abc/many && echo u > staging/abc/RO_Devave.tar && cd staging/abc/many && seq -w 1 20000 | xargs touch && chmod 555 ." },
        { "sound 1 MB update, no device", "mkdir -p staging/abc && head -c 1000000 /dev/urandom > staging/abc/RO_Devave.tar" },
    };
    bool allDone = true;
    for (const Case &c : cases) {
        shell(QStringLiteral("chmod -R u+rwx staging 2>/dev/null; rm -rf staging abc.tar.bfe"));
        if (!shell(QString::fromLatin1(c.staging))
            || !shell(QStringLiteral("tar -czf abc.tar.bfe -C staging abc && chmod -R u+rwx staging && rm -rf staging")))
            return 1;
        PromptRecorder prompts;
        SystemUpdateDialog dialog;
        dialog.findChild<QLineEdit *>(QStringLiteral("filePathLineEdit"))->setText(QFileInfo(QStringLiteral("abc.tar.bfe")).absoluteFilePath());
        QTimer *sendTimer = dialog.findChild<QTimer *>(QStringLiteral("sendTimer"));
        qint64 answeredAt = -1;
        QElapsedTimer clock;
        qint64 hold = 0;
        const double total = waitAndWatch([&] {
            clock.start();
            QMetaObject::invokeMethod(&dialog, "slotProgressButtonPressed");
        }, [&] {
            if (answeredAt < 0 && !prompts.isEmpty())
                answeredAt = clock.elapsed();
            return answeredAt >= 0 && !sendTimer->isActive();
        }, &hold);
        const Left left = leftUnder(SystemUpdateDialog::toolFolder());
        allDone = allDone && answeredAt >= 0 && !sendTimer->isActive();
        std::printf("%-42s archive %8lld bytes; \"%s\" after %lld ms, idle after %lld ms; window held at most %lld ms; "
                    "tool folder holds %lld entries, %lld bytes after\n",
                    c.name, static_cast<long long>(QFileInfo(QStringLiteral("abc.tar.bfe")).size()),
                    qPrintable(prompts.texts().value(0)), static_cast<long long>(answeredAt),
                    static_cast<long long>(total), static_cast<long long>(hold),
                    static_cast<long long>(left.entries), static_cast<long long>(left.bytes));
        std::fflush(stdout);
        shell(QStringLiteral("chmod -R u+rwx Resource/Tool && find Resource/Tool -mindepth 1 ! -name decrypt.bat -delete"));
    }
    return allDone ? 0 : 1;
}
