#ifndef MOTIONGUARD_H
#define MOTIONGUARD_H

#include "comm/deviceenum.h"

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

#include <memory>
#include <vector>

class ComSettingsFrame;
class RegisterWait;

// Every motion a page starts on a device (a jog, a run, the screwdriver) together with the writes
// that stop it, as they were when it started: the slave, the addresses and the device it runs on.
// A stop goes out to exactly those, whatever is current by then, and is followed until the device
// answers it. A motion whose stop has not been answered when the link goes is stopped first thing
// when a link to the same device comes back, and forgotten once the device answers.
class MotionGuard : public QObject
{
    Q_OBJECT
public:
    struct StopWrite {
        Uint16 addr;
        Uint16 value;
        bool operator==(const StopWrite &other) const { return addr == other.addr && value == other.value; }
    };
    using Stops = QVector<StopWrite>;

    // How long a stop may take before it counts as not answered.
    static constexpr int kStopAnswerMs = 3000;

    // How long a close, of the link or of the window, waits for the stops to be answered.
    static constexpr int kCloseWaitMs = 1000;

    // Follows the link and the device of `com`, which owns it.
    explicit MotionGuard(ComSettingsFrame *com);
    ~MotionGuard() override;

    // The communication page's guard; none before that page exists.
    static MotionGuard *instance();

    // A motion under way on `slave` of the current link and device type. A motion of the same key
    // there is replaced.
    void started(const QString &key, Uint8 slave, const Stops &stops);
    bool isRunning(const QString &key) const;
    // Sends the stop of the motions of `key` on the current link and device type, to where each runs.
    void stop(const QString &key);
    // Writes that leave a drive at rest without a motion of their own; followed like a stop, but
    // forgotten rather than sent again when they fail or the link goes.
    void sendStops(const QString &key, Uint8 slave, const Stops &stops);
    // Sends the stop of every motion under way; the pages are told through released().
    void stopAll();
    // Some stop has gone out and is neither answered nor failed yet.
    bool isStopping();
    // Lets the stops be answered, or fail, for at most `ms`; user input waits meanwhile. True when
    // every motion known was stopped.
    bool waitForStops(int ms);
    // Motions not known to be stopped: running, stopping, or left by a lost link.
    int unstoppedCount() const;
    // While quiet, a stop that fails is not told: the one closing the window says it once. Those
    // that failed meanwhile are told when quiet ends, as when the close is called off.
    void setQuiet(bool quiet);

signals:
    // The guard stopped the motion, or the link it ran on went: its page shows it stopped.
    void released(const QString &key);
    // The device did not answer the stop of the motion: it may still move. Told from the event loop,
    // never from inside a wait for the stops, so that a box it opens holds nothing up.
    void stopFailed(const QString &key);

private:
    enum class Phase { Running, Stopping };
    struct Motion;

    void send(Motion *motion);
    bool onCurrentDevice(const Motion &motion) const;
    bool reachable(const Motion &motion) const;
    void onLinkStateChanged();
    void forgetUnsentOnce();
    void tellFailed(const QStringList &keys);
    void checkStops();
    bool anyStopping() const;

    std::vector<std::unique_ptr<Motion>> m_motions;
    QTimer m_check;
    int m_waits = 0;                // waitForStops under way
    QStringList m_failedInWait;
    bool m_quiet = false;
    QStringList m_failedWhileQuiet;
};

#endif // MOTIONGUARD_H
