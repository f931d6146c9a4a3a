#ifndef DEVSIMPROCESS_H
#define DEVSIMPROCESS_H

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

// Runs the simulated device for a test, on a free loopback port, with a request log of its own.
// A later --tcp in extraArgs wins over the default, e.g. to restart on the port of a killed one.
class DevsimProcess
{
public:
    DevsimProcess();
    ~DevsimProcess();

    // Waits up to 5 s for the device to listen; false (with a warning saying why) if it does not.
    bool start(const QStringList &extraArgs = {});
    bool startSerial(const QString &ptyPath, const QStringList &extraArgs = {});
    quint16 port() const;

    QStringList logLines() const;
    // The single-register writes of the log, oldest first, as "address=value".
    QStringList writes() const;
    void clearLog();
    QString logPath() const;

    // Hard kill, as when a link is lost: no goodbye on the wire.
    void kill();
    // The device stops answering, and later carries on where it was, as a stalled gateway does.
    void pause();
    void resume();
    void stop();
    QString stderrText();

private:
    bool launch(const QStringList &args);

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    QString m_stderr;
};

#endif // DEVSIMPROCESS_H
