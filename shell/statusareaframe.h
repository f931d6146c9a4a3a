#ifndef STATUSAREAFRAME_H
#define STATUSAREAFRAME_H

#include "comm/deviceenum.h"
#include "comm/registerwait.h"

#include <QFrame>
#include <QHash>
#include <QIcon>
#include <QJSEngine>
#include <QList>
#include <QPair>
#include <QTimer>
#include <QVariantMap>
#include <QVector>

namespace Ui { class StatusAreaFrame; }
class QLabel;
class QPushButton;

// The strip under the pages: connection state, the live status items of the device type, the
// alarm item and the hidden account menu. It owns the real-time poll list of the communication
// page and watches the values that come back for new alarms and finished tightenings.
class StatusAreaFrame : public QFrame
{
    Q_OBJECT
public:
    explicit StatusAreaFrame(QWidget *parent = nullptr);
    ~StatusAreaFrame() override;

    static StatusAreaFrame *instance();

    void setUserText(const QString &text);
    void setConnectState(DeviceEnum devType);
    DeviceEnum connectState() const { return m_connectState; }
    void updateAlarmIcon();
    // Blinks the alarm icon, one change every `period` calls while on; off leaves it idle.
    void setAlarmBlink(bool on, int period);
    // The registers polled cyclically for the items and the pages that listen to realTimeAddrRead.
    const QList<int> &realTimeAddrList() const { return m_realTimeAddrList; }
    // Stores a tightening whose result was seen but not stored yet, once its final values have
    // arrived or waitMs has passed, with the values known then. For the window's close.
    void storePendingTightening(int waitMs = RegisterWait::DefaultTimeoutMs);

signals:
    void signOutSignal();

public slots:
    void onLoginAccount();
    void onSignOutAccount();
    void onModifyPassward();
    void onDeviceBtnClicked(bool checked);
    void onParamUnitChanged();
    void onDeviceChanged(DeviceEnum devType);
    void refreshDisplay(int addr, int val);

protected:
    void changeEvent(QEvent *event) override;

private:
    struct StatusSlot {
        QFrame *frame;
        QPushButton *button;
        QLabel *unit;
        QLabel *value;
        QVariantMap item {};
        // Kept from the item at each rebuild, since every register read is matched against it.
        int addr = -1;
        // The value on show: the poll brings the same one many times a second.
        bool hasShown = false;
        int shownVal = 0;
    };
    // Tightening detector: Idle, or asking the device for the final values of a result just seen.
    enum class FetchState { Idle, Fetching };
    struct ItemDef {
        QString caption;
        QString unit;
        QVariantMap item {};
        int width;              // 0: as wide as the row allows
    };

    void initTexts();
    void initLoginMenu();
    void attachToPoller();
    QVector<ItemDef> itemDefs(DeviceEnum devType) const;
    void applyItemStyle(StatusSlot &slot, DeviceEnum devType);
    void showValue(StatusSlot &slot, int val);
    int alarmAddress() const;
    void detectAlarm(int addr, int val);
    void detectTightening(int addr, int val);
    void onResultRead(int val);
    void startFetch(int result);
    void stepFetch();
    void storeTightening();
    void onConnectionChanged(bool connected);
    void onDeviceAboutToSwitch();
    void setAlarmIcon(bool active);

    Ui::StatusAreaFrame *ui;
    DeviceEnum m_connectState = NoDevice;
    QVector<StatusSlot> m_slots;            // six page items, then the alarm item
    QList<int> m_realTimeAddrList;          // lent to the communication page by pointer
    bool m_alarmTriggerEnabled = false;
    bool m_recordTriggerEnabled = false;
    int m_lastAlarmCode = 0;
    int m_lastShownAlarmCode = 0;

    int m_blinkCounter = 0;
    bool m_blinkOn = true;

    // A new nonzero Result is stored with the values the device holds with it: Turns, Time, Speed
    // and Torque read as one block right after the result was seen, then the result and the alarm
    // code read again, which shows that the block was read before the next cycle began.
    int m_lastResult = 0;
    QString m_resultLink;                   // the link and slave m_lastResult was read from
    int m_resultSlave = 0;
    QHash<QPair<QString, int>, int> m_lastResultOf;     // the last result of each link and slave read before
    int m_pendingResult = 0;
    FetchState m_fetchState = FetchState::Idle;
    bool m_movedOn = false;                 // the poll read another result while the values were asked for
    RegisterWait m_finalsWait;
    RegisterWait m_resultWait;
    QTimer m_fetchTimer;
    QHash<int, int> m_readings;             // Turns, Time, Torque and the alarm code last polled on this link
    QHash<int, int> m_readingsBefore;       // as they were when the pending result was first read

    QJSEngine m_engine;                     // runs the lamp predicates
    QIcon m_ledGray;
    QIcon m_ledGreen;
    QIcon m_alarmIdleIcon;
    QIcon m_alarmActiveIcon;

    static StatusAreaFrame *s_instance;
};

#endif // STATUSAREAFRAME_H
