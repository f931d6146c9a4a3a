#include "shell/platform.h"

#include <QDesktopServices>
#include <QDir>
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

void Platform::startCommand(QProcess &process, const QString &commandLine, const QString &workDir)
{
    process.setWorkingDirectory(workDir);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(QStringLiteral("/bin/sh"), { QStringLiteral("-c"), commandLine });
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

QStringList Platform::updateCommands(const QString &pickedPath, const QString &archiveName,
                                     const QString &decryptScript, const QString &tarName,
                                     const QString &unpackDir)
{
#ifdef Q_OS_WIN
    auto quoted = [](const QString &path) { return QLatin1Char('"') + QDir::toNativeSeparators(path) + QLatin1Char('"'); };
    return { QStringLiteral("copy %1 %2").arg(quoted(pickedPath), archiveName),
             QStringLiteral("%1 %2").arg(decryptScript, archiveName),
             QStringLiteral("tar.exe -xf %1 -C %2").arg(tarName, quoted(unpackDir)) };
#else
    // No vendor tools here: cp and tar stand in, and the decrypt script of the fixed name runs under sh.
    auto quoted = [](QString path) {
        path.replace(QLatin1Char('\''), QLatin1String("'\\''"));
        return QLatin1Char('\'') + path + QLatin1Char('\'');
    };
    // "exec": the shell becomes the tool, so that stopping the command stops the tool itself.
    return { QStringLiteral("exec cp -- %1 %2").arg(quoted(pickedPath), archiveName),
             QStringLiteral("exec sh ./%1 %2").arg(decryptScript, archiveName),
             QStringLiteral("exec tar -xf %1 -C %2").arg(tarName, quoted(unpackDir)) };
#endif
}
