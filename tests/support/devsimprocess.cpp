#include "devsimprocess.h"

#include <QDeadlineTimer>
#include <QDebug>
#include <QFile>
#include <QRegularExpression>

#include <signal.h>

DevsimProcess::DevsimProcess() = default;

DevsimProcess::~DevsimProcess()
{
    stop();
}

bool DevsimProcess::start(const QStringList &extraArgs)
{
    return launch(QStringList{QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")} + extraArgs);
}

bool DevsimProcess::startSerial(const QString &ptyPath, const QStringList &extraArgs)
{
    return launch(QStringList{QStringLiteral("--serial"), ptyPath} + extraArgs);
}

bool DevsimProcess::launch(const QStringList &args)
{
    stop();
    m_port = 0;
    m_stderr.clear();
    m_process.start(QStringLiteral(DEVSIM_PATH),
                    QStringList{QStringLiteral("--log"), logPath()} + args);
    QByteArray out;
    const QDeadlineTimer deadline(5000);
    while (!out.contains('\n') && m_process.waitForReadyRead(int(deadline.remainingTime())))
        out += m_process.readAllStandardOutput();

    const QList<QByteArray> words = out.trimmed().split(' ');
    if (words.size() == 3 && words[0] == "devsim" && words[1] == "ready") {
        m_port = quint16(words[2].toUInt());
        return true;
    }
    qWarning() << "devsim did not start:" << args << out << stderrText();
    kill();
    return false;
}

quint16 DevsimProcess::port() const
{
    return m_port;
}

QStringList DevsimProcess::logLines() const
{
    QFile file(logPath());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QStringList DevsimProcess::writes() const
{
    static const QRegularExpression write(QStringLiteral("fc=6 addr=(\\d+) value=(\\d+)"));
    QStringList list;
    for (const QString &line : logLines()) {
        const QRegularExpressionMatch m = write.match(line);
        if (m.hasMatch())
            list << m.captured(1) + QLatin1Char('=') + m.captured(2);
    }
    return list;
}

void DevsimProcess::clearLog()
{
    QFile::resize(logPath(), 0);
}

QString DevsimProcess::logPath() const
{
    return m_dir.filePath(QStringLiteral("devsim.log"));
}

void DevsimProcess::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(3000);
}

void DevsimProcess::pause()
{
    if (m_process.state() != QProcess::NotRunning)
        ::kill(pid_t(m_process.processId()), SIGSTOP);
}

void DevsimProcess::resume()
{
    if (m_process.state() != QProcess::NotRunning)
        ::kill(pid_t(m_process.processId()), SIGCONT);
}

void DevsimProcess::stop()
{
    resume();   // a stopped process would never see the terminate
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        qWarning("devsim ignored SIGTERM; killing it");
        kill();
    }
}

QString DevsimProcess::stderrText()
{
    m_stderr += QString::fromLocal8Bit(m_process.readAllStandardError());
    return m_stderr;
}
