// Times the servo parameter import of files up to the size bound: parameter lines for two axes,
// and nothing but empty lines; and the refusal of a file over the bound.

#include "comm/comsettingsframe.h"
#include "data/commonutils.h"
#include "servo/paramfilereader.h"
#include "servo/servoparamframe.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <cstdio>

namespace {
// Repeats body until the file is as large as it may be.
QString fillFile(const QString &path, const QByteArray &body, qint64 size)
{
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return QString();
    out.write("DeviceType = 1\n\nPnVal,Axis0,Axis1\n");
    while (out.size() + body.size() <= size)
        out.write(body);
    return path;
}

void time(ServoParamFrame &page, const char *what, const QString &path)
{
    QElapsedTimer clock;
    clock.start();
    const bool ok = page.importParams(path);
    std::printf("%-40s %8lld ms  %s, %d rows\n", what, static_cast<long long>(clock.elapsed()), ok ? "imported" : "refused",
                page.tableModel()->rowCount());
    std::fflush(stdout);
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TestDatabase db;
    if (!db.isValid())
        return 1;
    PromptRecorder prompts;
    QTemporaryDir dir;
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceType"), QStringLiteral("1"));
    ComSettingsFrame frame;
    frame.loadSettings();
    ServoParamFrame page;
    page.resize(1000, 700);
    page.show();

    const qint64 bound = ParamFileReader::MaxBytes;
    // Half and all of the bound: the time should double, not grow fourfold.
    time(page, "parameter lines, half the bound",
         fillFile(dir.filePath(QStringLiteral("half.csv")), "Pn011,+5,16#1a\nPn012,+100,+101\n", bound / 2));
    time(page, "parameter lines, just under the bound",
         fillFile(dir.filePath(QStringLiteral("lines.csv")), "Pn011,+5,16#1a\nPn012,+100,+101\n", bound));
    time(page, "empty lines, just under the bound", fillFile(dir.filePath(QStringLiteral("empty.csv")), "\n", bound));
    time(page, "over the bound", fillFile(dir.filePath(QStringLiteral("big.csv")), "Pn011,+5,+6\n", 4 * bound));
    return 0;
}
