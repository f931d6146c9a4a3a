#ifndef PLATFORM_H
#define PLATFORM_H

#include <QString>
#include <QStringList>
#include <functional>

class QProcess;

// What the tool needs of the operating system: running a command line, starting a program
// detached, opening a document. Everything that differs between desktops lives here, and tests
// can replace the last two.
class Platform
{
public:
    struct Hooks {
        std::function<bool(const QString &program, const QStringList &args, const QString &workDir)> startDetached;
        std::function<bool(const QString &path)> openDocument;
    };
    static void setHooks(const Hooks &hooks);   // tests; empty members fall back to the real calls

    // Starts a command line through the shell in `process` and returns at once; the process tells
    // how it ended. Its output goes where the program's own goes.
    static void startCommand(QProcess &process, const QString &commandLine, const QString &workDir);
    static bool startDetached(const QString &program, const QStringList &args, const QString &workDir);
    static bool openDocument(const QString &path);

    // The three steps that turn a picked update archive into files, as command lines for startCommand
    // in the tool folder: copy it in as archiveName, decrypt it with the script (which leaves
    // tarName), unpack tarName into unpackDir.
    static QStringList updateCommands(const QString &pickedPath, const QString &archiveName,
                                      const QString &decryptScript, const QString &tarName,
                                      const QString &unpackDir);
};

#endif // PLATFORM_H
