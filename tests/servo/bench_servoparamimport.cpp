// Times the servo parameter import of files up to the size bound, each case in a process of its
// own so that its peak memory is its own: parameter lines for two axes, one short parameter line
// repeated, nothing but empty lines, headers naming a great many axes; and the refusal of a file
// over the bound. Run without arguments (Release build); a case name runs that case alone.

#include "comm/comsettingsframe.h"
#include "data/commonutils.h"
#include "servo/paramfilereader.h"
#include "servo/servoparamframe.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <sys/resource.h>

namespace {
constexpr qint64 kBound = ParamFileReader::MaxBytes;
const QByteArray kTwoAxes = "PnVal,Axis0,Axis1\n";

// The header, then body repeated while the file stays within size bytes.
bool fillFile(const QString &path, const QByteArray &header, const QByteArray &body, qint64 size)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    out.write("DeviceType = 1\n\n" + header);
    while (out.size() + body.size() <= size)
        out.write(body);
    return true;
}

// "PnVal" and one field per axis while the header stays within size bytes.
QByteArray axesHeader(const std::function<QByteArray(int)> &field, qint64 size)
{
    QByteArray header = "PnVal";
    for (int i = 0;; ++i) {
        const QByteArray next = ',' + field(i);
        if (header.size() + next.size() + 1 > size)
            break;
        header += next;
    }
    return header + '\n';
}

struct Case {
    const char *name;
    std::function<bool(const QString &path)> write;
};

const QList<Case> &cases()
{
    static const QList<Case> all {
        { "parameter lines, half the bound",
          [](const QString &p) { return fillFile(p, kTwoAxes, "Pn011,+5,16#1a\nPn012,+100,+101\n", kBound / 2); } },
        { "parameter lines, just under the bound",
          [](const QString &p) { return fillFile(p, kTwoAxes, "Pn011,+5,16#1a\nPn012,+100,+101\n", kBound); } },
        { "one short line repeated (Pn000,1)",
          [](const QString &p) { return fillFile(p, "PnVal,Axis0\n", "Pn000,1\n", kBound); } },
        { "40 parameters x 8 axes, repeated",
          [](const QString &p) {
              QByteArray body;
              for (int pn = 0; pn < 40; ++pn)
                  body += "Pn" + QByteArray::number(pn).rightJustified(3, '0') + ",1,+2,16#3,2#1,5,6,7,8\n";
              return fillFile(p, "PnVal,Axis0,Axis1,Axis2,Axis3,Axis4,Axis5,Axis6,Axis7\n", body, kBound);
          } },
        { "empty lines, just under the bound", [](const QString &p) { return fillFile(p, kTwoAxes, "\n", kBound); } },
        { "header of distinct axes (Axis1,Axis2,...)",
          [](const QString &p) {
              return fillFile(p, axesHeader([](int i) { return "Axis" + QByteArray::number(i + 1); }, kBound - 64),
                              "Pn011,+5\n", kBound);
          } },
        { "header of 400,000 axes, 35 lines",
          [](const QString &p) {
              return fillFile(p, axesHeader([](int) { return QByteArray("x"); }, 800001), "Pn011\n", 800001 + 64 + 35 * 6);
          } },
        { "over the bound",
          [](const QString &p) { return fillFile(p, kTwoAxes, "Pn011,+5,+6\n", 4 * kBound); } },
    };
    return all;
}

int runCase(int index)
{
    TestDatabase db;
    if (!db.isValid())
        return 1;
    PromptRecorder prompts;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("params.csv"));
    if (!cases().at(index).write(path))
        return 1;
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceType"), QStringLiteral("1"));
    ComSettingsFrame frame;
    frame.loadSettings();
    ServoParamFrame page;
    page.resize(1000, 700);
    page.show();
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    const bool ok = page.importParams(path);
    const qint64 ms = clock.elapsed();
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    int longest = 0;
    for (const QString &text : prompts.texts())
        longest = qMax(longest, text.size());
    std::printf("%-44s %7lld ms %7ld MB peak  %s, %d rows, %d boxes (longest %d chars)\n", cases().at(index).name,
                static_cast<long long>(ms), usage.ru_maxrss / 1024, ok ? "imported" : "refused",
                page.tableModel()->rowCount(), prompts.size(), longest);
    std::fflush(stdout);
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc > 1) {
        QApplication app(argc, argv);
        return runCase(QString::fromLocal8Bit(argv[1]).toInt());
    }
    QCoreApplication app(argc, argv);
    for (int i = 0; i < cases().size(); ++i) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        child.setStandardErrorFile(QProcess::nullDevice());   // the import's debug lines
        child.start(QCoreApplication::applicationFilePath(), { QString::number(i) });
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            std::printf("%-44s failed\n", cases().at(i).name);
    }
    return 0;
}
