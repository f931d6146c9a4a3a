#include "shell/commandprocess.h"

#include "shell/platform.h"

#ifdef Q_OS_UNIX
#include <signal.h>
#include <unistd.h>
#endif

CommandProcess::CommandProcess(QObject *parent)
    : QProcess(parent)
{
    // A helper the command left running would go on writing where the next attempt works.
    connect(this, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this, &CommandProcess::killGroup);
}

CommandProcess::~CommandProcess()
{
    stop();
    waitForFinished(1000);
    killGroup();
}

void CommandProcess::startCommand(const QString &commandLine, const QString &workDir)
{
    killGroup();
    Platform::startCommand(*this, commandLine, workDir);
#ifdef Q_OS_UNIX
    // Also from this side, as shells do: a stop may come before the child has made its group.
    const qint64 pid = processId();
    if (pid > 0) {
        ::setpgid(pid_t(pid), pid_t(pid));
        m_group = pid;
    }
#endif
}

void CommandProcess::setupChildProcess()
{
#ifdef Q_OS_UNIX
    ::setpgid(0, 0);
#endif
}

void CommandProcess::stop()
{
    if (state() == NotRunning)
        return;
#ifdef Q_OS_UNIX
    if (m_group > 0 && ::kill(pid_t(-m_group), SIGKILL) == 0)
        return;
#endif
    kill();
}

void CommandProcess::killGroup()
{
#ifdef Q_OS_UNIX
    if (m_group > 0)
        ::kill(pid_t(-m_group), SIGKILL);
#endif
    m_group = 0;
}
