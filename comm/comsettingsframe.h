#ifndef COMSETTINGSFRAME_H
#define COMSETTINGSFRAME_H

#include "comm/deviceenum.h"
#include "comm/registercache.h"

#include <QElapsedTimer>
#include <QHash>
#include <QFrame>
#include <QList>
#include <QPointer>
#include <QTimer>

namespace Ui { class ComSettingsFrame; }
class ModbusMaster;
class SerialPortHelper;
class NetworkHelper;
class LinkPage;
class MotionGuard;

// The communication settings window. It owns the Modbus engine and both transports for the life of
// the program, runs the 1 ms communication process (connect, device search, real-time and variable
// polling) and offers the static register functions every page uses.
class ComSettingsFrame : public QFrame
{
    Q_OBJECT
public:
    enum ConnectWay { Ethernet = 0, Serial = 1 };

    explicit ComSettingsFrame(QWidget *parent = nullptr);
    ~ComSettingsFrame() override;

    static ComSettingsFrame *instance();

    // Program-wide device values.
    static DeviceEnum currentDevice();
    static void setCurrentDevice(DeviceEnum devType);
    static int currentSlave();
    static void setCurrentSlave(int slave);
    static bool isValidSlave(int slave) { return slave >= 1 && slave <= 247; }
    static quint32 addrMap(int entry);
    static int axisAddrStride();
    int currentAxis() const { return m_currentAxis; }
    void setCurrentAxis(int axis) { m_currentAxis = axis; }

    // Register functions: nonzero when queued, 0 when refused.
    static int writeRegister(Uint16 addr, Uint16 value);
    static int writeSlaveRegister(Uint8 slave, Uint16 addr, Uint16 value);
    static int readRegisters(Uint16 addr, Uint16 count);
    static int readSlaveRegisters(Uint8 slave, Uint16 addr, Uint16 count);
    static int writeFileBlock(Uint8 unit, quint32 offset, const quint8 *data, Uint16 length, Uint16 lastBlock);
    // False while every request is refused whatever its slave: no engine, the link is closed, a
    // debugging page owns it, or the current slave is outside 1 to 247. Only linkStateChanged ends that.
    static bool acceptsRequests();
    static bool isLinkOpen();

    // Register cache.
    static Uint16 getRegister(Uint16 addr);
    static Uint16 getRegister(Uint8 slave, Uint16 addr);
    static quint64 getRegisterEntry(Uint16 addr);
    static quint64 getRegisterEntry(Uint8 slave, Uint16 addr);
    static void setRegister(Uint16 addr, Uint16 value);
    static void setRegister(Uint8 slave, Uint16 addr, Uint16 value);
    static void setRegisterStatus(Uint16 addr, int status);
    static void setRegisterStatus(Uint8 slave, Uint16 addr, int status);

    // 0xFFFFFFFF when the text does not convert; the second form also says whether it did.
    static quint32 textToValue(const QString &text, int decimals);
    static quint32 textToValue(const QString &text, int decimals, bool *ok);

    void setRealTimeAddrList(QList<int> *list);
    void addVariableAddrs(const QList<int> *list);
    void removeVariableAddrs(const QList<int> *list);
    const QList<int> &variableAddrs() const { return m_varAddrs; }
    // Lends a page's addresses to the variable poll and connects its display, or takes both back.
    template <class Page>
    void monitorVariableAddrs(Page *page, void (Page::*slot)(int, int), const QList<int> &addrs, bool enable)
    {
        if (enable) {
            connect(this, &ComSettingsFrame::variableAddrRead, page, slot, Qt::UniqueConnection);
            addVariableAddrs(&addrs);
        } else {
            disconnect(this, &ComSettingsFrame::variableAddrRead, page, slot);
            removeVariableAddrs(&addrs);
        }
    }
    int variableReadPos() const { return m_variable.index; }
    void emitDeviceList();
    void loadSettings();

    ModbusMaster *engine() const { return m_engine; }
    // Every motion started on a device, with what stops it.
    MotionGuard *motionGuard() const { return m_guard; }
    // The device end of the link in use or last used: its port, or its address and TCP port.
    QString linkTarget() const { return m_linkTarget; }
    SerialPortHelper *serialHelper() const { return m_serial; }
    NetworkHelper *networkHelper() const { return m_network; }
    ConnectWay connectWay() const;
    bool isConnected() const;
    bool isSearching() const;
    bool isTicking() const { return m_timer.isActive(); }

    // Connection helpers used by the buttons (and by tests, which have no person to click).
    void connectDevice();
    void disconnectDevice(const QString &reason = QString());
    void startSearch(int firstAddr = 1, int lastAddr = 247);
    void stopSearch();
    void setDeviceType(DeviceEnum devType);   // as a choice in the device-type box

signals:
    void devChangedSignal(DeviceEnum devType);
    void realTimeAddrRead(int addr, int val);
    void variableAddrRead(int addr, int val);
    void deviceListChanged(QStringList list);
    void modbusComError(int slave, int addr);
    // The device answered a write of value to addr.
    void registerWritten(int slave, int addr, int value);
    void singalWriteFileFinshed();
    void connectionChanged(bool connected);
    // Whether requests are refused, or the link is open, may have changed: the link opened or
    // closed, a debugging page took or gave back the link, or the current slave changed. Pages
    // that rest while refused start their timers again on it.
    void linkStateChanged();
    // The current device type or slave is about to change: the old type's address map and the old
    // slave still hold, so whatever runs on them can be stopped before the switch.
    void deviceAboutToSwitch();
    // The user is about to close a working link or hand it to a debugging page: what runs through
    // it is stopped first, while the stop can still reach the device.
    void linkAboutToClose();
    void searchFinished(int found);

public slots:
    void onDeviceChanged(DeviceEnum devType);
    void communicateProcess();

private slots:
    void on_connectButton_clicked();
    void on_searchButton_clicked();
    void on_connectWayComboBox_currentIndexChanged(int index);
    void on_deviceTypeComboBox_activated(int index);
    void on_deviceListComboBox_activated(int index);
    void on_deviceAddrSpinBox_valueChanged(int value);
    void on_DevCheckBox_toggled(bool checked);
    void on_serialDebugButton_clicked();
    void on_networkDebugButton_clicked();
    void onLinkLost(const QString &reason);
    void onTcpConnected();

private:
    enum class ConnectState { Idle, WaitLink, Probe, WaitProbe, Connected };
    enum class SearchState { Idle, Request, Wait };
    enum class PollState { Request, Wait };

    struct Poller {
        PollState state = PollState::Request;
        int index = 0;
        int ticks = 0;
        int addr = -1;
        bool failed = false;    // the engine gave up on the request
    };

    void initCommunication();
    void stepConnect();
    void stepSearch();
    void stepRealTime();
    void stepVariable();
    void keepAlive();
    bool pollRequest(Poller &p, int addr);
    bool pollWait(Poller &p, int *value);
    void linkUp();
    struct Setting {
        int group;
        QString key;
        QString value;
    };
    QList<Setting> shownSettings() const;
    void rememberSettings();
    void saveSettings(const QString &key = QString());
    quint16 remotePort() const;     // 0 unless the field holds 1 to 65535
    void fillSettingsWidgets();
    void setLinkText(const QString &text);
    void updateConnectButton();
    LinkPage *activeLinkPage() const;
    bool debugOwnsLink() const;
    // Lets what runs through a working link stop before the user closes or lends it.
    void announceLinkClose();
    static bool canQueue(int slave);
    static quint32 registerKey(Uint8 slave, Uint16 addr);
    void writeEnded(Uint8 slave, Uint16 addr);
    int kickEngine(int queued);
    bool hasWork() const;
    void wakeTick();
    Uint16 probeAddress() const;

    // Engine callbacks.
    void onReadFinished(Uint8 slave, Uint16 addr, const QVector<Uint16> &values);
    void onWriteFinished(Uint8 slave, Uint16 addr, Uint16 value);
    void onComError(Uint8 slave, Uint8 funCode, Uint16 addr, int error);

    Ui::ComSettingsFrame *ui;
    ModbusMaster *m_engine = nullptr;
    MotionGuard *m_guard = nullptr;
    QString m_linkTarget;
    // Per slave and register, writes queued and neither answered nor failed yet.
    QHash<quint32, int> m_writesOwed;
    SerialPortHelper *m_serial = nullptr;
    NetworkHelper *m_network = nullptr;
    QTimer m_timer;
    RegisterCache m_cache;
    int m_currentAxis = 0;

    ConnectState m_connectState = ConnectState::Idle;
    QElapsedTimer m_connectClock;
    int m_consecutiveFailures = 0;
    bool m_probeFailed = false;
    bool m_probeAnswered = false;

    SearchState m_searchState = SearchState::Idle;
    int m_searchAddr = 0;
    int m_searchLast = 0;
    int m_searchFound = 0;
    bool m_searchAnswered = false;
    bool m_searchFailed = false;
    int m_savedTimeout = 0;
    int m_savedRetries = 0;
    int m_savedSlave = 0;

    QList<int> *m_realTimeAddrs = nullptr;
    Poller m_realTime;
    QList<int> m_varAddrs;
    Poller m_variable;
    Poller m_keepAlive;
    QTimer m_keepAliveTimer;
    bool m_loadingSettings = false;
    bool m_inTick = false;      // inside communicateProcess, which steps the engine at its end
    QHash<QString, QString> m_shownAtLoad;     // key -> the box's text
    bool m_kickPending = false;

    static ComSettingsFrame *s_instance;
    static DeviceEnum s_devType;
    static int s_slave;
};

#endif // COMSETTINGSFRAME_H
