// Single-register read transactions per second over loopback TCP against the simulated device:
// once through a bare socket (the floor), once through the communication page and the engine.
#include "comm/comsettingsframe.h"
#include "support/devsimlink.h"
#include "support/testdatabase.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QtTest>
#include <cstdio>

static double bareSocketRate(quint16 port, int seconds)
{
    QTcpSocket socket;
    socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    if (!socket.waitForConnected(3000))
        return 0;
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    QElapsedTimer clock;
    clock.start();
    quint16 tid = 0;
    int done = 0;
    while (clock.elapsed() < seconds * 1000) {
        ++tid;
        const char frame[] = { char(tid >> 8), char(tid), 0, 0, 0, 6, 1, 3, 0x0C, 0x00, 0, 1 };
        socket.write(frame, sizeof frame);
        QByteArray reply;
        while (reply.size() < 11 && socket.waitForReadyRead(1000))
            reply += socket.readAll();
        if (reply.size() < 11)
            return 0;
        ++done;
    }
    return done * 1000.0 / clock.elapsed();
}

static double engineRate(int seconds)
{
    QElapsedTimer clock;
    clock.start();
    int done = 0;
    while (clock.elapsed() < seconds * 1000) {
        ComSettingsFrame::setRegisterStatus(3072, 1);
        if (!ComSettingsFrame::readRegisters(3072, 1))
            return 0;
        while ((ComSettingsFrame::getRegisterEntry(3072) >> 32) != 2)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        ++done;
    }
    return done * 1000.0 / clock.elapsed();
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TestDatabase db;
    DevsimLink link;
    if (!link.start({ QStringLiteral("--no-events") }, 1, DevsimLink::NoCheck)) {
        std::fprintf(stderr, "devsim did not start or did not connect\n");
        return 1;
    }
    const double bare = bareSocketRate(link.sim().port(), 3);
    const double engine = engineRate(3);
    std::printf("bare socket: %.0f transactions/s (%.3f ms each)\n", bare, 1000.0 / bare);
    std::printf("engine:      %.0f transactions/s (%.3f ms each)\n", engine, 1000.0 / engine);
    std::printf("engine overhead per transaction: %.3f ms\n", 1000.0 / engine - 1000.0 / bare);
    return 0;
}
