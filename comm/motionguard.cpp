#include "comm/motionguard.h"

#include "comm/comsettingsframe.h"
#include "comm/registerwait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDebug>

#include <algorithm>
#include <utility>

namespace {
constexpr int kCheckMs = 20;
} // namespace

struct MotionGuard::Motion {
    QString key;
    QString link;           // the link it runs through, as ComSettingsFrame::linkTarget() names it
    DeviceEnum device = NoDevice;
    Uint8 slave = 0;
    Stops stops;
    Phase phase = Phase::Running;
    bool once = false;      // writes that leave a drive at rest: not sent again once failed or lost
    std::vector<std::unique_ptr<RegisterWait>> waits;
};

MotionGuard::MotionGuard(ComSettingsFrame *com)
    : QObject(com)
{
    m_check.setInterval(kCheckMs);
    connect(&m_check, &QTimer::timeout, this, &MotionGuard::checkStops);
    // The old device type, slave and addresses still hold while the switch is announced.
    connect(com, &ComSettingsFrame::deviceAboutToSwitch, this, &MotionGuard::stopAll);
    // The user closes or lends a working link: the stops are let through before it goes.
    connect(com, &ComSettingsFrame::linkAboutToClose, this, [this] {
        stopAll();
        waitForStops(kCloseWaitMs);
    });
    connect(com, &ComSettingsFrame::linkStateChanged, this, &MotionGuard::onLinkStateChanged);
}

MotionGuard::~MotionGuard() = default;

MotionGuard *MotionGuard::instance()
{
    ComSettingsFrame *com = ComSettingsFrame::instance();
    return com ? com->motionGuard() : nullptr;
}

void MotionGuard::started(const QString &key, Uint8 slave, const Stops &stops)
{
    auto motion = std::make_unique<Motion>();
    motion->key = key;
    motion->link = ComSettingsFrame::instance() ? ComSettingsFrame::instance()->linkTarget() : QString();
    motion->device = ComSettingsFrame::currentDevice();
    motion->slave = slave;
    motion->stops = stops;
    // The motion it replaces may not have been stopped (its stop failed, or is still on its way, or
    // it ran on other addresses): its stops stay with the new one, so nothing is forgotten.
    for (auto it = m_motions.begin(); it != m_motions.end();) {
        const Motion &old = **it;
        if (old.key != key || old.link != motion->link || old.device != motion->device || old.slave != slave) {
            ++it;
            continue;
        }
        Stops kept;
        for (const StopWrite &write : old.stops) {
            if (!motion->stops.contains(write))
                kept << write;
        }
        motion->stops = kept + motion->stops;
        it = m_motions.erase(it);
    }
    m_motions.push_back(std::move(motion));
}

bool MotionGuard::isRunning(const QString &key) const
{
    return std::any_of(m_motions.begin(), m_motions.end(),
                       [&](const std::unique_ptr<Motion> &m) { return m->key == key && m->phase == Phase::Running; });
}

// The link in use and the device type are those it was started on; the slave is the motion's own.
bool MotionGuard::onCurrentDevice(const Motion &motion) const
{
    const ComSettingsFrame *com = ComSettingsFrame::instance();
    return com && motion.link == com->linkTarget() && motion.device == ComSettingsFrame::currentDevice();
}

bool MotionGuard::reachable(const Motion &motion) const
{
    return ComSettingsFrame::acceptsRequests() && onCurrentDevice(motion);
}

void MotionGuard::stop(const QString &key)
{
    bool unsent = false;
    for (const std::unique_ptr<Motion> &motion : m_motions) {
        if (motion->key != key || motion->phase != Phase::Running)
            continue;
        if (reachable(*motion))
            send(motion.get());
        unsent |= motion->phase == Phase::Running && onCurrentDevice(*motion);
    }
    if (unsent) {
        qWarning() << "MotionGuard: the stop of" << key << "could not be sent";
        tellFailed({ key });
    }
}

void MotionGuard::sendStops(const QString &key, Uint8 slave, const Stops &stops)
{
    started(key, slave, stops);
    m_motions.back()->once = true;
    stop(key);
    forgetUnsentOnce();
}

void MotionGuard::forgetUnsentOnce()
{
    m_motions.erase(std::remove_if(m_motions.begin(), m_motions.end(),
                                   [](const std::unique_ptr<Motion> &m) { return m->once && m->phase == Phase::Running; }),
                    m_motions.end());
}

void MotionGuard::stopAll()
{
    QStringList keys;
    for (const std::unique_ptr<Motion> &motion : m_motions) {
        if (motion->phase != Phase::Running)
            continue;
        if (reachable(*motion))
            send(motion.get());
        keys << motion->key;
    }
    keys.removeDuplicates();
    for (const QString &key : qAsConst(keys))
        emit released(key);
}

void MotionGuard::send(Motion *motion)
{
    motion->waits.clear();
    for (const StopWrite &stop : qAsConst(motion->stops)) {
        auto wait = std::make_unique<RegisterWait>();
        if (!wait->startWrite(motion->slave, stop.addr, stop.value, kStopAnswerMs)) {
            motion->waits.clear();
            return;
        }
        motion->waits.push_back(std::move(wait));
    }
    motion->phase = Phase::Stopping;
    m_check.start();
}

bool MotionGuard::isStopping()
{
    checkStops();
    return anyStopping();
}

bool MotionGuard::anyStopping() const
{
    return std::any_of(m_motions.begin(), m_motions.end(),
                       [](const std::unique_ptr<Motion> &m) { return m->phase == Phase::Stopping; });
}

bool MotionGuard::waitForStops(int ms)
{
    if (isStopping()) {
        // Events are processed by hand: an event loop started while the program is quitting returns
        // at once.
        ++m_waits;
        QTimer wake;
        wake.start(5);
        const QDeadlineTimer deadline(ms);
        while (isStopping() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
        --m_waits;
        tellFailed(std::exchange(m_failedInWait, QStringList()));
    }
    if (unstoppedCount() > 0)
        qWarning() << "MotionGuard:" << unstoppedCount() << "motions not known to be stopped after" << ms << "ms";
    return unstoppedCount() == 0;
}

int MotionGuard::unstoppedCount() const
{
    return int(m_motions.size());
}

// The waits end here rather than in their own slots, so that a stop answered, failed or timed out
// is seen the same way.
void MotionGuard::checkStops()
{
    QStringList failed;
    for (auto it = m_motions.begin(); it != m_motions.end();) {
        Motion &motion = **it;
        if (motion.phase != Phase::Stopping) {
            ++it;
            continue;
        }
        bool pending = false;
        bool lost = false;
        for (const std::unique_ptr<RegisterWait> &wait : motion.waits) {
            const RegisterWait::Result result = wait->check();
            pending |= result == RegisterWait::Result::Pending;
            lost |= result == RegisterWait::Result::Failed;
        }
        if (lost) {
            qWarning() << "MotionGuard: the device did not answer the stop of" << motion.key << "on slave" << motion.slave;
            motion.phase = Phase::Running;
            motion.waits.clear();
            failed << motion.key;
        } else if (!pending) {
            it = m_motions.erase(it);
            continue;
        }
        ++it;
    }
    if (!anyStopping())
        m_check.stop();
    forgetUnsentOnce();
    tellFailed(failed);
}

void MotionGuard::tellFailed(const QStringList &keys)
{
    if (m_waits > 0) {
        m_failedInWait += keys;
        return;
    }
    QStringList unique = keys;
    unique.removeDuplicates();
    for (const QString &key : qAsConst(unique)) {
        QMetaObject::invokeMethod(this, [this, key] {
            if (!m_quiet)
                emit stopFailed(key);
            else if (!m_failedWhileQuiet.contains(key))
                m_failedWhileQuiet << key;
        }, Qt::QueuedConnection);
    }
}

void MotionGuard::setQuiet(bool quiet)
{
    m_quiet = quiet;
    if (!quiet)
        tellFailed(std::exchange(m_failedWhileQuiet, QStringList()));
}

// A link that goes takes the stops on their way with it: what they were to stop is kept. A link that
// comes back, to the same device, gets those stops before anything else; a page shows none of its
// motions running across a change of the link.
void MotionGuard::onLinkStateChanged()
{
    if (!ComSettingsFrame::acceptsRequests()) {
        for (const std::unique_ptr<Motion> &motion : m_motions) {
            motion->phase = Phase::Running;
            motion->waits.clear();
        }
        m_check.stop();
        forgetUnsentOnce();
    }
    stopAll();
}
