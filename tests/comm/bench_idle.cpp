// Processor time the whole main window takes while nobody uses it: first not connected, then
// connected over loopback TCP to the simulated device. Then, as the floor to compare with, the same
// device read by nothing but a 1 ms timer and a socket: one register a request, the next request on
// the tick after the reply, as the window's poll does. Run by hand, without sanitizers, on a quiet
// machine: bench_idle [seconds] [menu id of the page to show, 70 (standby) when left out].
#include "comm/comsettingsframe.h"
#include "shell/mainwindow.h"
#include "support/devsimlink.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

static double cpuSeconds()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

static void runLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Percent of one processor over `seconds` of the event loop, after a settling second.
static double idlePercent(int seconds)
{
    runLoop(1000);
    const double cpu = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    runLoop(seconds * 1000);
    return (cpuSeconds() - cpu) * 100.0 * 1000 / clock.elapsed();
}

// The least a 1 ms tick and one register a request can cost: no engine, no cache, no pages.
static double floorPercent(quint16 port, int seconds, int *reads)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port, QIODevice::ReadWrite | QIODevice::Unbuffered);
    if (!socket.waitForConnected(3000))
        return -1;
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    bool waiting = false, answered = false;
    quint16 id = 0;
    QObject::connect(&socket, &QTcpSocket::readyRead, [&] {
        char reply[256];
        if (socket.read(reply, sizeof reply) > 0)
            answered = true;
    });
    QTimer tick;
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        if (waiting && answered) {
            waiting = false;
            ++*reads;
        } else if (!waiting) {
            ++id;
            // Read holding register 3337 of slave 1.
            const char frame[] = { char(id >> 8), char(id), 0, 0, 0, 6, 1, 3, 0x0D, 0x09, 0, 1 };
            answered = false;
            waiting = socket.write(frame, sizeof frame) == sizeof frame;
        }
    });
    tick.start();
    return idlePercent(seconds);
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    qRegisterMetaType<DeviceEnum>("DeviceEnum");
    const int seconds = argc > 1 ? QByteArray(argv[1]).toInt() : 20;
    TestDatabase db;
    MainWindow window;
    window.show();
    if (argc > 2)
        window.onMenuClicked(QByteArray(argv[2]).toInt());
    std::printf("not connected: %.2f %% CPU\n", idlePercent(seconds));
    DevsimLink link(ComSettingsFrame::instance());
    if (!link.start({}, 1, DevsimLink::CheckDevice)) {
        std::fprintf(stderr, "devsim did not start or did not connect\n");
        return 1;
    }
    int reads = 0;
    QObject::connect(ComSettingsFrame::instance(), &ComSettingsFrame::realTimeAddrRead, [&reads] { ++reads; });
    const double percent = idlePercent(seconds);
    // More registers a second cost more: the rate tells a cheaper read from a slower poll.
    std::printf("connected:     %.2f %% CPU, %.0f registers/s\n", percent, reads / (seconds + 1.0));
    ComSettingsFrame::instance()->disconnectDevice();
    int floorReads = 0;
    const double floor = floorPercent(link.sim().port(), seconds, &floorReads);
    std::printf("floor:         %.2f %% CPU, %.0f registers/s (connected is x%.2f)\n", floor,
                floorReads / (seconds + 1.0), floor > 0 ? percent / floor : 0.0);
    return 0;
}
