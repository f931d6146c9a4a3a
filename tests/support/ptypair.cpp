#include "support/ptypair.h"

#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

#include <algorithm>
#include <deque>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

static QString socatPath()
{
    return QStandardPaths::findExecutable(QStringLiteral("socat"));
}

static qint64 nowNs()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Two pseudo terminals whose masters a thread joins. A byte written to one end arrives at the other
// one character time after the previous byte of that direction has, or after it was written if
// the line was idle. Each end is also held open here, raw, so that it never hangs up between users.
class PacedRelay
{
public:
    explicit PacedRelay(qint32 baud) : m_charNs(10 * qint64(1000000000) / baud) {}
    ~PacedRelay()
    {
        if (m_thread.joinable()) {
            const char stop = 1;
            (void)::write(m_stop[1], &stop, 1);
            m_thread.join();
        }
        for (int fd : { m_master[0], m_master[1], m_hold[0], m_hold[1], m_stop[0], m_stop[1] })
            if (fd >= 0)
                ::close(fd);
    }

    bool start(QStringList *ends)
    {
        if (::pipe(m_stop) != 0)
            return false;
        for (int i = 0; i < 2; ++i) {
            m_master[i] = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
            if (m_master[i] < 0 || ::grantpt(m_master[i]) != 0 || ::unlockpt(m_master[i]) != 0)
                return false;
            const QString name = QString::fromLocal8Bit(::ptsname(m_master[i]));
            m_hold[i] = ::open(qPrintable(name), O_RDWR | O_NOCTTY);
            termios raw {};
            if (m_hold[i] < 0 || ::tcgetattr(m_hold[i], &raw) != 0)
                return false;
            ::cfmakeraw(&raw);
            if (::tcsetattr(m_hold[i], TCSANOW, &raw) != 0)
                return false;
            *ends << name;
        }
        m_thread = std::thread([this] { run(); });
        return true;
    }

private:
    struct Lane {
        int from, to;
        std::deque<std::pair<qint64, char>> bytes;     // when each byte has crossed the line
        qint64 lastNs = 0;
    };

    void run()
    {
        ::prctl(PR_SET_TIMERSLACK, 1UL);      // wake when the next byte is due, not 50 µs later
        Lane lanes[2] = { { m_master[0], m_master[1], {} }, { m_master[1], m_master[0], {} } };
        for (;;) {
            qint64 next = -1;
            for (Lane &lane : lanes) {
                QByteArray out;
                const qint64 now = nowNs();
                for (; !lane.bytes.empty() && lane.bytes.front().first <= now; lane.bytes.pop_front())
                    out.append(lane.bytes.front().second);
                if (!out.isEmpty())
                    (void)::write(lane.to, out.constData(), size_t(out.size()));   // an overrun drops, as on a real line
                if (!lane.bytes.empty())
                    next = next < 0 ? lane.bytes.front().first : std::min(next, lane.bytes.front().first);
            }
            pollfd fds[3] = { { lanes[0].from, POLLIN, 0 }, { lanes[1].from, POLLIN, 0 }, { m_stop[0], POLLIN, 0 } };
            timespec wait {};
            if (next >= 0) {
                const qint64 ns = std::max<qint64>(0, next - nowNs());
                wait = { time_t(ns / 1000000000), long(ns % 1000000000) };
            }
            if (::ppoll(fds, 3, next >= 0 ? &wait : nullptr, nullptr) < 0 && errno != EINTR)
                return;
            if (fds[2].revents)
                return;
            for (int i = 0; i < 2; ++i) {
                if (!(fds[i].revents & POLLIN))
                    continue;
                char buf[4096];
                const ssize_t n = ::read(lanes[i].from, buf, sizeof buf);
                const qint64 now = nowNs();
                for (ssize_t k = 0; k < n; ++k) {
                    lanes[i].lastNs = std::max(now, lanes[i].lastNs) + m_charNs;
                    lanes[i].bytes.emplace_back(lanes[i].lastNs, buf[k]);
                }
            }
        }
    }

    const qint64 m_charNs;
    int m_master[2] = { -1, -1 };
    int m_hold[2] = { -1, -1 };
    int m_stop[2] = { -1, -1 };
    std::thread m_thread;
};

PtyPair::PtyPair() = default;

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

bool PtyPair::openPaced(qint32 baud)
{
    close();
    m_ends.clear();
    m_relay.reset(new PacedRelay(baud));
    if (m_relay->start(&m_ends))
        return true;
    qWarning() << "No paced pseudo-terminal pair:" << strerror(errno);
    m_relay.reset();
    m_ends.clear();
    return false;
}

void PtyPair::close()
{
    m_relay.reset();
    if (m_socat.state() == QProcess::NotRunning)
        return;
    m_socat.kill();
    m_socat.waitForFinished(5000);
}
