#include "support/holdwatch.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

double waitAndWatch(const std::function<void()> &begin, const std::function<bool()> &done, qint64 *longestHold)
{
    QElapsedTimer clock;
    QElapsedTimer gap;
    QTimer heartbeat;
    QEventLoop loop;
    bool ok = false;
    *longestHold = 0;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        *longestHold = qMax(*longestHold, gap.restart());
        if (done()) {
            ok = true;
            loop.quit();
        } else if (clock.elapsed() > 20 * 60 * 1000) {
            loop.quit();
        }
    });
    clock.start();
    gap.start();
    heartbeat.start(0);
    begin();
    loop.exec();
    return ok ? clock.nsecsElapsed() / 1e6 : -1.0;
}
