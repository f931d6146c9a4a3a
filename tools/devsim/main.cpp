// devsim: a simulated servo drive or screwdriver controller answering Modbus over TCP or RTU.

#include "alarmsim.h"
#include "blockimage.h"
#include "deviceprofile.h"
#include "requestlog.h"
#include "simrtuserver.h"
#include "simtcpserver.h"
#include "tighteningsim.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QRandomGenerator>
#include <QSerialPort>
#include <QSocketNotifier>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <memory>
#include <sys/socket.h>
#include <unistd.h>

static int signalPipe[2] = {-1, -1};

static void onSignal(int)
{
    const char byte = 1;
    const ssize_t written = ::write(signalPipe[1], &byte, 1);
    (void)written;
}

// SIGTERM and SIGINT leave the event loop, so the device closes its port and log properly.
static bool quitOnSignals(QCoreApplication &app)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0)
        return false;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return ::sigaction(SIGTERM, &action, nullptr) == 0 && ::sigaction(SIGINT, &action, nullptr) == 0;
}

static int fail(const QString &message)
{
    std::fprintf(stderr, "devsim: %s\n", qPrintable(message));
    return 2;
}

// A number in [min, max], decimal or 0x-hexadecimal.
static bool toNumber(const QString &text, uint min, uint max, uint *value)
{
    bool ok = false;
    *value = text.trimmed().toUInt(&ok, 0);
    return ok && *value >= min && *value <= max;
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("devsim"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Simulated Modbus servo drive or screwdriver controller."));
    parser.addHelpOption();
    const QCommandLineOption tcpOption(QStringLiteral("tcp"),
        QStringLiteral("Listen on HOST:PORT; port 0 picks a free one."), QStringLiteral("host:port"),
        QStringLiteral("127.0.0.1:9760"));
    const QCommandLineOption serialOption(QStringLiteral("serial"),
        QStringLiteral("Serve Modbus RTU on this serial port instead of TCP."), QStringLiteral("port"));
    const QCommandLineOption baudOption(QStringLiteral("baud"),
        QStringLiteral("Serial baud rate (8N1)."), QStringLiteral("n"), QStringLiteral("115200"));
    const QCommandLineOption slaveOption(QStringLiteral("slave"),
        QStringLiteral("Unit ids answered, comma separated."), QStringLiteral("n[,m...]"), QStringLiteral("1"));
    const QCommandLineOption typeOption(QStringLiteral("type"),
        QStringLiteral("Device type profile 0..8."), QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption logOption(QStringLiteral("log"),
        QStringLiteral("Append one line per request to this file."), QStringLiteral("file"));
    const QCommandLineOption setOption(QStringLiteral("set"),
        QStringLiteral("Preset a holding register, kept out of the live refresh (repeatable)."),
        QStringLiteral("addr=value"));
    const QCommandLineOption noEventsOption(QStringLiteral("no-events"),
        QStringLiteral("Types 0 and 2: no tightenings and no alarms, so the registers stay still."));
    const QCommandLineOption intervalOption(QStringLiteral("event-interval"),
        QStringLiteral("Type 0: mean pause between two tightenings; alarms (types 0 and 2) come about five pauses apart."),
        QStringLiteral("ms"), QStringLiteral("8000"));

    const QCommandLineOption nextOption(QStringLiteral("next-after-reads"),
        QStringLiteral("Type 0: start the next tightening 200 to 300 ms after the result has been read this many times, instead of after a pause."),
        QStringLiteral("n"));
    const QCommandLineOption denyOption(QStringLiteral("deny"),
        QStringLiteral("Answer reads of this register with an exception, as for a register the device lacks (repeatable)."),
        QStringLiteral("addr"));
    const QCommandLineOption delayOption(QStringLiteral("answer-delay"),
        QStringLiteral("TCP: answer each request this many milliseconds late, as over a slow link."),
        QStringLiteral("ms"), QStringLiteral("0"));
    parser.addOptions({tcpOption, serialOption, baudOption, slaveOption, typeOption, logOption, setOption,
                       noEventsOption, intervalOption, nextOption, denyOption, delayOption});
    parser.process(app);

    QSet<quint8> units;
    for (const QString &id : parser.value(slaveOption).split(QLatin1Char(','))) {
        uint unit = 0;
        if (!toNumber(id, 0, 255, &unit))
            return fail(QStringLiteral("bad unit id '%1'").arg(id));
        units.insert(quint8(unit));
    }
    uint type = 0;
    if (!toNumber(parser.value(typeOption), 0, DeviceProfile::TypeCount - 1, &type))
        return fail(QStringLiteral("--type must be 0..%1").arg(DeviceProfile::TypeCount - 1));
    QVector<QPair<quint16, quint16>> presets;
    for (const QString &set : parser.values(setOption)) {
        const QStringList parts = set.split(QLatin1Char('='));
        uint address = 0;
        uint value = 0;
        if (parts.size() != 2 || !toNumber(parts[0], 0, 0xffff, &address) || !toNumber(parts[1], 0, 0xffff, &value))
            return fail(QStringLiteral("bad --set '%1', expected ADDR=VALUE").arg(set));
        presets.append({quint16(address), quint16(value)});
    }

    uint interval = 0;
    if (!toNumber(parser.value(intervalOption), 100, 3600000, &interval))
        return fail(QStringLiteral("--event-interval must be 100..3600000 ms"));
    uint answerDelay = 0;
    if (!toNumber(parser.value(delayOption), 0, 60000, &answerDelay))
        return fail(QStringLiteral("--answer-delay must be 0..60000 ms"));

    DeviceProfile profile(static_cast<int>(type));
    for (const QString &deny : parser.values(denyOption)) {
        uint address = 0;
        if (!toNumber(deny, 0, 0xffff, &address))
            return fail(QStringLiteral("bad --deny '%1', expected a register address").arg(deny));
        profile.deny(quint16(address));
    }
    const bool events = !parser.isSet(noEventsOption);
    std::unique_ptr<TighteningSim> tightening;
    if (type == 0 && events)
        tightening.reset(new TighteningSim(int(interval)));
    if (parser.isSet(nextOption)) {
        uint reads = 0;
        if (!toNumber(parser.value(nextOption), 1, 1000, &reads))
            return fail(QStringLiteral("--next-after-reads must be 1..1000"));
        if (tightening)
            tightening->startAfterResultReads(int(reads));
    }
    // The low-voltage drive's alarm register: overcurrent, overvoltage, undervoltage, overload,
    // encoder fault, overspeed, position deviation, overheating.
    QRandomGenerator servoRandom(20240611u);
    std::unique_ptr<AlarmSim> servoAlarm;
    if (type == 2 && events)
        servoAlarm.reset(new AlarmSim(56302, { 1, 2, 3, 4, 5, 6, 7, 8 }, int(interval) / TighteningSim::StepMs, servoRandom));
    RequestLog log;
    if (parser.isSet(logOption) && !log.open(parser.value(logOption)))
        return fail(QStringLiteral("cannot open the log file"));
    BlockImage image;

    const auto readObserver = [&tightening](quint16 address, quint16 count) {
        if (tightening)
            tightening->onRead(address, count);
    };
    std::unique_ptr<QModbusServer> server;
    SimTcpServer *tcp = nullptr;
    if (parser.isSet(serialOption)) {
        uint baud = 0;
        if (!toNumber(parser.value(baudOption), 1, 4000000, &baud))
            return fail(QStringLiteral("bad --baud"));
        // Qt's RTU server filters on one address only.
        if (units.size() != 1)
            return fail(QStringLiteral("--serial serves exactly one unit id"));
        auto *rtu = new SimRtuServer(profile, log, image, nullptr);
        server.reset(rtu);
        rtu->setReadObserver(readObserver);
        rtu->setServerAddress(*units.cbegin());
        rtu->setConnectionParameter(QModbusDevice::SerialPortNameParameter, parser.value(serialOption));
        rtu->setConnectionParameter(QModbusDevice::SerialBaudRateParameter, baud);
        rtu->setConnectionParameter(QModbusDevice::SerialDataBitsParameter, QSerialPort::Data8);
        rtu->setConnectionParameter(QModbusDevice::SerialParityParameter, QSerialPort::NoParity);
        rtu->setConnectionParameter(QModbusDevice::SerialStopBitsParameter, QSerialPort::OneStop);
    } else {
        const QString endpoint = parser.value(tcpOption);
        const int colon = endpoint.lastIndexOf(QLatin1Char(':'));
        uint port = 0;
        if (colon <= 0 || !toNumber(endpoint.mid(colon + 1), 0, 0xffff, &port))
            return fail(QStringLiteral("bad --tcp '%1', expected HOST:PORT").arg(endpoint));
        tcp = new SimTcpServer(units, profile, log, image, nullptr);
        tcp->setAnswerDelay(int(answerDelay));
        server.reset(tcp);
        tcp->setReadObserver(readObserver);
        tcp->setConnectionParameter(QModbusDevice::NetworkAddressParameter, endpoint.left(colon));
        tcp->setConnectionParameter(QModbusDevice::NetworkPortParameter, port);
    }

    if (!profile.install(server.get()))
        return fail(QStringLiteral("cannot set up the register map"));
    for (const auto &preset : qAsConst(presets)) {
        server->setData(QModbusDataUnit::HoldingRegisters, preset.first, preset.second);
        profile.pin(preset.first);
        if (tightening)
            tightening->pin(preset.first);
        if (servoAlarm && preset.first == 56302)
            servoAlarm->pin();
    }
    if (tightening)
        tightening->install(server.get());
    if (!quitOnSignals(app))
        return fail(QStringLiteral("cannot install the signal handlers"));
    if (!server->connectDevice())
        return fail(server->errorString());

    if (tcp)
        std::printf("devsim ready %u\n", unsigned(tcp->listeningPort()));
    else
        std::printf("devsim ready serial\n");
    std::fflush(stdout);

    QTimer refresh;
    QObject::connect(&refresh, &QTimer::timeout, [&] {
        profile.refresh(server.get());
        if (tightening)
            tightening->step(server.get());
        if (servoAlarm)
            servoAlarm->step(server.get());
        profile.refreshMirrors(server.get());
    });
    refresh.start(TighteningSim::StepMs);

    const int rc = app.exec();
    server->disconnectDevice();
    return rc;
}
