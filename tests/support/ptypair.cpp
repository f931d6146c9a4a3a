#include "support/ptypair.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

static QString socatPath()
{
    return QStandardPaths::findExecutable(QStringLiteral("socat"));
}

PtyPair::~PtyPair()
{
    close();
}

bool PtyPair::available()
{
    return !socatPath().isEmpty();
}

bool PtyPair::open()
{
    m_socat.start(socatPath(), { QStringLiteral("-d"), QStringLiteral("-d"), QStringLiteral("pty,raw,echo=0"),
                                 QStringLiteral("pty,raw,echo=0") });
    static const QRegularExpression ptyLine(QStringLiteral("PTY is (\\S+)"));
    QString log;
    return QTest::qWaitFor([&] {
        log += QString::fromLocal8Bit(m_socat.readAllStandardError());
        m_ends.clear();
        for (auto it = ptyLine.globalMatch(log); it.hasNext();)
            m_ends << it.next().captured(1);
        return m_ends.size() == 2 && log.contains(QLatin1String("starting data transfer loop"));
    }, 5000);
}

void PtyPair::close()
{
    if (m_socat.state() == QProcess::NotRunning)
        return;
    m_socat.kill();
    m_socat.waitForFinished(5000);
}
