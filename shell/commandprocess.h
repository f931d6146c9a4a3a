#ifndef COMMANDPROCESS_H
#define COMMANDPROCESS_H

#include <QProcess>

// A command line of the outside tools, run in a process group of its own: whatever the command
// starts goes with it when it is stopped, and nothing it started outlives its end.
class CommandProcess : public QProcess
{
    Q_OBJECT
public:
    explicit CommandProcess(QObject *parent = nullptr);
    ~CommandProcess() override;

    // Starts the command line through the shell (Platform::startCommand) and returns at once.
    void startCommand(const QString &commandLine, const QString &workDir);
    // Kills the command and all it started; returns at once, finished() follows.
    void stop();

protected:
    void setupChildProcess() override;

private:
    void killGroup();

    qint64 m_group = 0;   // while some of the command may still run
};

#endif // COMMANDPROCESS_H
