#include "shell/platform.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {
Platform::Hooks &hooks()
{
    static Platform::Hooks h;
    return h;
}
} // namespace

void Platform::setHooks(const Hooks &h)
{
    hooks() = h;
}

int Platform::runCommand(const QString &commandLine, const QString &workDir)
{
    if (hooks().runCommand)
        return hooks().runCommand(commandLine, workDir);
    QProcess process;
    process.setWorkingDirectory(workDir);
    process.start(QStringLiteral("/bin/sh"), { QStringLiteral("-c"), commandLine });
    if (!process.waitForStarted() || !process.waitForFinished(-1))
        return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

bool Platform::startDetached(const QString &program, const QStringList &args, const QString &workDir)
{
    if (hooks().startDetached)
        return hooks().startDetached(program, args, workDir);
    if (!QFileInfo(program).isExecutable())
        return false;
    return QProcess::startDetached(program, args, workDir);
}

bool Platform::openDocument(const QString &path)
{
    if (hooks().openDocument)
        return hooks().openDocument(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()));
}
