// Processor time of the whole main window connected over loopback TCP to a simulated servo drive:
// first on the standby page, then on the servo parameter page with "Monitor" on over a group of
// parameters. Beside each: the registers read a second (from the device's request log) and the
// layout and paint events a second. Run by hand, without sanitizers, on a quiet machine:
// bench_servomonitor [seconds].
#include "comm/comsettingsframe.h"
#include "data/commonutils.h"
#include "servo/servoparamframe.h"
#include "shell/mainwindow.h"
#include "support/devsimlink.h"
#include "support/testdatabase.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStandardItemModel>
#include <QTimer>
#include <cstdio>
#include <sys/resource.h>

namespace {
double cpuSeconds()
{
    rusage u {};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void runLoop(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Counts the layout requests and paints every widget of the program is sent.
class EventCounter : public QObject
{
public:
    int layouts = 0;
    int paints = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::LayoutRequest)
            ++layouts;
        else if (event->type() == QEvent::Paint)
            ++paints;
        return QObject::eventFilter(watched, event);
    }
};

struct Figures {
    double percent = 0;
    double reads = 0;
    double layouts = 0;
    double paints = 0;
};

// Over `seconds` of the event loop, after a settling second.
Figures measure(DevsimLink &link, EventCounter &counter, int seconds)
{
    runLoop(1000);
    link.sim().clearLog();
    counter.layouts = counter.paints = 0;
    const double cpu = cpuSeconds();
    QElapsedTimer clock;
    clock.start();
    runLoop(seconds * 1000);
    const double elapsed = clock.elapsed() / 1000.0;
    Figures f;
    f.percent = (cpuSeconds() - cpu) * 100.0 / elapsed;
    f.reads = link.sim().logLines().filter(QStringLiteral("fc=3 ")).size() / elapsed;
    f.layouts = counter.layouts / elapsed;
    f.paints = counter.paints / elapsed;
    return f;
}

void print(const char *what, const Figures &f)
{
    std::printf("%-34s %6.2f %% CPU, %5.0f reads/s, %6.0f layouts/s, %6.0f paints/s\n", what, f.percent, f.reads,
                f.layouts, f.paints);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    qRegisterMetaType<DeviceEnum>("DeviceEnum");
    const int seconds = argc > 1 ? QByteArray(argv[1]).toInt() : 20;
    TestDatabase db;
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceType"), QStringLiteral("1"));
    MainWindow window;
    window.show();
    DevsimLink link(ComSettingsFrame::instance());
    if (!link.start({ QStringLiteral("--type"), QStringLiteral("1") }, 1, DevsimLink::CheckDevice)) {
        std::fprintf(stderr, "devsim did not start or did not connect\n");
        return 1;
    }
    EventCounter counter;
    app.installEventFilter(&counter);

    window.onMenuClicked(70);
    const Figures standby = measure(link, counter, seconds);
    print("standby page, connected:", standby);

    window.onMenuClicked(20);
    ServoParamFrame &page = window.servoParamPage();
    QStandardItemModel *tree = page.treeModel();
    if (tree->rowCount() > 0)
        tree->item(0)->setCheckState(Qt::Checked);   // the first group's parameters, for slave 1 axis 0
    page.findChild<QAbstractButton *>(QStringLiteral("realTimeReadBtn"))->click();
    const Figures monitor = measure(link, counter, seconds);
    print("servo page, Monitor on:", monitor);
    std::printf("Monitor on is x%.2f the standby page\n", standby.percent > 0 ? monitor.percent / standby.percent : 0.0);
    return 0;
}
