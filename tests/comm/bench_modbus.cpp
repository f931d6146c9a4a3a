// Single-register reads per second, and processor time of the reading thread per read, against the
// simulated device: over loopback TCP, once through a bare socket (the floor) and once through the
// communication page and the engine; over a pseudo-terminal paced like a 115200 baud line, once by a
// bare client that keeps the inter-frame gap before each request, once through the page and the
// engine, and, when built with it, once through libmodbus, whose rate with the gap added is the
// bound for a master that keeps the gap. Last, how long the engine holds
// the window to skip 2 MB of stale TCP answers. Run by hand in a Release build on a quiet machine:
// bench_modbus [seconds per run] [tcp|rtu|flood: only that part].
#include "comm/comsettingsframe.h"
#include "comm/modbusmaster.h"
#include "data/commonutils.h"
#include "support/devsimprocess.h"
#include "support/ptypair.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QThread>
#include <QtTest>
#include <cstdio>
#include <memory>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

#ifdef HAVE_LIBMODBUS
#include <modbus.h>
#endif

namespace {

constexpr Uint16 kRegister = 3072;
constexpr qint32 kBaud = 115200;
constexpr qint64 kGapNs = 1750000;

// The simulated device, started and watched from a thread of its own, so that its pipes do not sit in
// the event loop whose cost is measured: the application's loop has no such process to watch.
class SimInThread
{
public:
    SimInThread() { m_context.moveToThread(&m_thread), m_thread.start(); }
    ~SimInThread()
    {
        QMetaObject::invokeMethod(&m_context, [this] { m_sim.reset(); }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    // Serves TCP when `serialPort` is empty.
    bool start(const QStringList &args, const QString &serialPort = QString())
    {
        bool started = false;
        QMetaObject::invokeMethod(&m_context, [&] {
            m_sim.reset(new DevsimProcess);
            started = serialPort.isEmpty() ? m_sim->start(args) : m_sim->startSerial(serialPort, args);
        }, Qt::BlockingQueuedConnection);
        return started;
    }
    quint16 port() const { return m_sim->port(); }

private:
    QThread m_thread;
    QObject m_context;
    std::unique_ptr<DevsimProcess> m_sim;
};

// Processor time and the times it went to sleep, of this thread.
struct ThreadUse {
    double cpuUs;
    long sleeps;
    static ThreadUse now()
    {
        rusage u {};
        getrusage(RUSAGE_THREAD, &u);
        return { (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1e6 + u.ru_utime.tv_usec + u.ru_stime.tv_usec, u.ru_nvcsw };
    }
};

qint64 nowNs()
{
    timespec t {};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return qint64(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Counts reads over `seconds` of `readOne`, which returns false when a read failed.
struct Rate {
    double perSecond = 0;
    double cpuUs = 0;       // of this thread, per read
    double wakeUps = 0;     // of this thread, per read: most of the processor time goes on them
    int failed = 0;
};

Rate measure(int seconds, const std::function<bool()> &readOne)
{
    Rate r;
    const ThreadUse before = ThreadUse::now();
    QElapsedTimer clock;
    clock.start();
    int done = 0;
    while (clock.elapsed() < seconds * 1000 && r.failed < 10)
        readOne() ? ++done : ++r.failed;
    r.perSecond = done * 1000.0 / clock.elapsed();
    const ThreadUse after = ThreadUse::now();
    r.cpuUs = done ? (after.cpuUs - before.cpuUs) / done : 0;
    r.wakeUps = done ? double(after.sleeps - before.sleeps) / done : 0;
    return r;
}

void print(const char *what, const Rate &r, double base = 0)
{
    std::printf("%-22s %7.0f reads/s  %6.1f us CPU/read  %5.1f wake-ups/read", what, r.perSecond, r.cpuUs, r.wakeUps);
    if (base > 0)
        std::printf("  (%.3f of the first)", r.perSecond / base);
    if (r.failed)
        std::printf("  %d failed", r.failed);
    std::printf("\n");
}

bool bareSocketRead(QTcpSocket &socket, quint16 *tid)
{
    ++*tid;
    const char frame[] = { char(*tid >> 8), char(*tid), 0, 0, 0, 6, 1, 3, char(kRegister >> 8), char(kRegister & 0xFF), 0, 1 };
    socket.write(frame, sizeof frame);
    QByteArray reply;
    while (reply.size() < 11 && socket.waitForReadyRead(1000))
        reply += socket.readAll();
    return reply.size() == 11;
}

// Through the page and the engine, as a page reads a register: mark it, ask, wait for it.
bool engineRead()
{
    ComSettingsFrame::setRegisterStatus(kRegister, 1);
    if (!ComSettingsFrame::readRegisters(kRegister, 1))
        return false;
    QElapsedTimer clock;
    clock.start();
    while ((ComSettingsFrame::getRegisterEntry(kRegister) >> 32) != 2) {
        if (clock.elapsed() > 2000)
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

bool connectSerial(ComSettingsFrame &frame, const QString &port)
{
    CommonUtils::saveConfigVal(1, QStringLiteral("ConnectWay"), QStringLiteral("1"));
    CommonUtils::saveConfigVal(1, QStringLiteral("DevCheckBox"), QStringLiteral("0"));
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceAddr"), QStringLiteral("1"));
    CommonUtils::saveConfigVal(2, QStringLiteral("PortName"), port);
    CommonUtils::saveConfigVal(2, QStringLiteral("BaudRate"), QString::number(kBaud));
    frame.loadSettings();
    frame.connectDevice();
    return QTest::qWaitFor([&frame] { return frame.isConnected(); }, 5000);
}

bool connectTcp(ComSettingsFrame &frame, quint16 port)
{
    CommonUtils::saveConfigVal(1, QStringLiteral("ConnectWay"), QStringLiteral("0"));
    CommonUtils::saveConfigVal(1, QStringLiteral("DevCheckBox"), QStringLiteral("0"));
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceAddr"), QStringLiteral("1"));
    CommonUtils::saveConfigVal(3, QStringLiteral("RemoteIp"), QStringLiteral("127.0.0.1"));
    CommonUtils::saveConfigVal(3, QStringLiteral("RemotePort"), QString::number(port));
    frame.loadSettings();
    frame.connectDevice();
    return QTest::qWaitFor([&frame] { return frame.isConnected(); }, 5000);
}

// The best a master can do that keeps the inter-frame gap: the request goes out exactly 1.75 ms
// after the last byte of the previous answer.
struct BareRtu {
    int fd = -1;
    qint64 lastByteNs = 0;

    explicit BareRtu(const QString &port)
    {
        fd = ::open(qPrintable(port), O_RDWR | O_NOCTTY);
        termios raw {};
        if (fd >= 0 && ::tcgetattr(fd, &raw) == 0)
            ::cfmakeraw(&raw), ::tcsetattr(fd, TCSANOW, &raw);
    }
    ~BareRtu() { if (fd >= 0) ::close(fd); }

    bool read()
    {
        const qint64 due = lastByteNs + kGapNs;
        const timespec at = { time_t(due / 1000000000), long(due % 1000000000) };
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr);
        const QByteArray request = QByteArray::fromHex("01030c000001875a");
        if (::write(fd, request.constData(), size_t(request.size())) != request.size())
            return false;
        int got = 0;
        char reply[64];
        while (got < 7) {
            pollfd p = { fd, POLLIN, 0 };
            if (::poll(&p, 1, 1000) <= 0)
                return false;
            const ssize_t n = ::read(fd, reply + got, sizeof reply - size_t(got));
            if (n <= 0)
                return false;
            got += int(n);
        }
        lastByteNs = nowNs();
        return true;
    }
};

#ifdef HAVE_LIBMODBUS
Rate libmodbusRate(const QString &port, int seconds)
{
    modbus_t *ctx = modbus_new_rtu(qPrintable(port), kBaud, 'N', 8, 1);
    if (!ctx || modbus_set_slave(ctx, 1) != 0 || modbus_connect(ctx) != 0) {
        std::fprintf(stderr, "libmodbus could not open %s\n", qPrintable(port));
        return {};
    }
    const Rate r = measure(seconds, [ctx] {
        uint16_t value = 0;
        return modbus_read_registers(ctx, kRegister, 1, &value) == 1;
    });
    modbus_close(ctx);
    modbus_free(ctx);
    return r;
}
#endif

// Milliseconds one step of the engine takes to skip `bytes` of answers to earlier TCP requests
// that all came in at once, and take the right answer behind them.
double staleFloodMs(int bytes)
{
    ModbusMaster mb;
    QByteArray incoming;
    bool answered = false;
    ModbusMaster::Callbacks cb;
    cb.receiveBytes = [&incoming] { return std::exchange(incoming, QByteArray()); };
    cb.sendBytes = [](const QByteArray &) { return true; };
    cb.readFinished = [&answered](Uint8, Uint16, const QVector<Uint16> &) { answered = true; };
    mb.setCallbacks(cb);
    mb.setFraming(ModbusMaster::Framing::Tcp);
    mb.setLinkOpen(true);
    mb.readHoldingRegisters(1, kRegister, 1);
    mb.process();       // sent as transaction 1
    const QByteArray stale = QByteArray::fromHex("7777000000050103020005");
    for (incoming.reserve(bytes + 11); incoming.size() < bytes;)
        incoming += stale;
    incoming += QByteArray::fromHex("0001000000050103020005");
    QElapsedTimer clock;
    clock.start();
    mb.process();
    const double ms = clock.nsecsElapsed() / 1e6;
    return answered ? ms : -1;
}

bool benchTcp(int seconds)
{
    std::printf("TCP, loopback\n");
    SimInThread sim;
    if (!sim.start({ QStringLiteral("--no-events") })) {
        std::fprintf(stderr, "devsim did not start\n");
        return false;
    }
    Rate bare;
    {
        QTcpSocket socket;
        socket.connectToHost(QStringLiteral("127.0.0.1"), sim.port());
        if (socket.waitForConnected(3000)) {
            socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
            quint16 tid = 0;
            bare = measure(seconds, [&] { return bareSocketRead(socket, &tid); });
        }
    }
    print("bare socket", bare);
    ComSettingsFrame frame;
    if (!connectTcp(frame, sim.port())) {
        std::fprintf(stderr, "the engine did not connect over TCP\n");
        return false;
    }
    print("engine", measure(seconds, engineRead), bare.perSecond);
    frame.disconnectDevice();
    return true;
}

bool benchRtu(int seconds)
{
    std::printf("RTU, pseudo-terminal paced at %d baud, 8N1\n", kBaud);
    PtyPair line;
    SimInThread sim;
    // The simulated device's serial server drops a request whose bytes it reads more than 3.5
    // characters apart, which a busy machine's scheduling does at 115200: told a slow rate, it
    // bears with that. The line's pace is the relay's alone.
    if (!line.openPaced(kBaud)
        || !sim.start({ QStringLiteral("--no-events"), QStringLiteral("--baud"), QStringLiteral("1200") }, line.end(1))) {
        std::fprintf(stderr, "no paced line or devsim did not start on it\n");
        return false;
    }
    Rate bound;
    {
        BareRtu client(line.end(0));
        bound = measure(seconds, [&client] { return client.read(); });
    }
    print("bare, gap kept", bound);
    Rate engine;
    {
        ComSettingsFrame frame;
        if (!connectSerial(frame, line.end(0))) {
            std::fprintf(stderr, "the engine did not connect over the serial line\n");
            return false;
        }
        engine = measure(seconds, engineRead);
        print("engine", engine, bound.perSecond);
        frame.disconnectDevice();
    }
#ifdef HAVE_LIBMODBUS
    // libmodbus sends as soon as the last answer is in; with the gap before every request the same
    // exchange gives the bound a gap-keeping master can reach.
    const Rate other = libmodbusRate(line.end(0), seconds);
    print("libmodbus, no gap", other);
    if (other.perSecond > 0) {
        const double gapBound = 1e9 / (1e9 / other.perSecond + kGapNs);
        std::printf("gap bound %.0f reads/s: the engine reaches %.3f of it at %.2fx libmodbus's CPU per read\n",
                    gapBound, engine.perSecond / gapBound, other.cpuUs > 0 ? engine.cpuUs / other.cpuUs : 0.0);
    }
#else
    std::printf("libmodbus: not built (pkg-config found no libmodbus)\n");
#endif
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    // The simulated device's serial server logs every part of a request it reads; unread, that
    // fills its pipe and stops it.
    qputenv("QT_LOGGING_RULES", "qt.modbus*=false");
    QApplication app(argc, argv);
    qRegisterMetaType<DeviceEnum>("DeviceEnum");
    const int seconds = argc > 1 ? QByteArray(argv[1]).toInt() : 5;
    const QByteArray only = argc > 2 ? QByteArray(argv[2]) : QByteArray();
    TestDatabase db;
    if ((only.isEmpty() || only == "tcp") && !benchTcp(seconds))
        return 1;
    if ((only.isEmpty() || only == "rtu") && !benchRtu(seconds))
        return 1;
    if (only.isEmpty() || only == "flood")
        std::printf("TCP, 2 MB of stale answers before the right one: %.1f ms in one engine step\n",
                    staleFloodMs(2 * 1024 * 1024));
    return 0;
}
