#include "comm/comsettingsframe.h"
#include "ui_comsettingsframe.h"

#include "comm/modbusmaster.h"
#include "comm/motionguard.h"
#include "comm/networkhelper.h"
#include "comm/registermap.h"
#include "comm/serialporthelper.h"
#include "data/commonutils.h"
#include "servo/servoparamframe.h"
#include "shell/languagesettingframe.h"
#include "shell/statusareaframe.h"
#include "widgets/prompt.h"

#include <QDebug>
#include <QScopedValueRollback>
#include <QSerialPort>
#include <algorithm>
#include <cmath>

ComSettingsFrame *ComSettingsFrame::s_instance = nullptr;
DeviceEnum ComSettingsFrame::s_devType = NoDevice;
int ComSettingsFrame::s_slave = 0;

namespace {
// A poll asks its register again once the engine answered or failed it; a request the engine no
// longer holds (dropped with a close) is asked again after this many idle ticks.
constexpr int kPollRetryTicks = 101;
// With nothing polled, the status word is read this often, so that a silent device is noticed.
constexpr int kKeepAliveMs = 250;
// This many failed requests in a row, with no answer in between, mean the link is gone.
constexpr int kLostAfterFailures = 10;
// Probing addresses during a search: short waits, no retries, so 247 addresses take seconds.
constexpr int kSearchTimeoutMs = 60;
constexpr int kTcpConnectTimeoutMs = 5000;
constexpr int kEndOfPassAddr = 65535;
} // namespace

ComSettingsFrame::ComSettingsFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::ComSettingsFrame)
{
    s_instance = this;
    ui->setupUi(this);
    initCommunication();
    rememberSettings();
    connect(&m_timer, &QTimer::timeout, this, &ComSettingsFrame::communicateProcess);
    m_timer.start(1);
    connect(&m_keepAliveTimer, &QTimer::timeout, this, &ComSettingsFrame::keepAlive);
    updateConnectButton();
}

ComSettingsFrame::~ComSettingsFrame()
{
    m_timer.stop();
    if (m_engine)
        m_engine->setLinkOpen(false);
    delete ui;
    ui = nullptr;
    if (s_instance == this)
        s_instance = nullptr;
}

ComSettingsFrame *ComSettingsFrame::instance()
{
    return s_instance;
}

DeviceEnum ComSettingsFrame::currentDevice() { return s_devType; }
void ComSettingsFrame::setCurrentDevice(DeviceEnum devType)
{
    if (devType != s_devType && s_instance)
        emit s_instance->deviceAboutToSwitch();
    s_devType = devType;
}
int ComSettingsFrame::currentSlave() { return s_slave; }
void ComSettingsFrame::setCurrentSlave(int slave)
{
    if (slave == s_slave)
        return;
    if (s_instance)
        emit s_instance->deviceAboutToSwitch();
    s_slave = slave;
    if (s_instance)
        emit s_instance->linkStateChanged();
}
quint32 ComSettingsFrame::addrMap(int entry) { return RegisterMap::entry(entry); }
int ComSettingsFrame::axisAddrStride() { return RegisterMap::axisStride(s_devType); }

void ComSettingsFrame::initCommunication()
{
    m_engine = new ModbusMaster(this);
    m_engine->setResponseTimeout(CommonUtils::takeConfigVal(1, QStringLiteral("ResponseTimeout"), QStringLiteral("300")).toInt());
    m_engine->setRetries(CommonUtils::takeConfigVal(1, QStringLiteral("Retries"), QStringLiteral("2")).toInt());
    m_guard = new MotionGuard(this);

    // The debugging pages are windows of their own that live as long as this frame.
    m_serial = new SerialPortHelper(this);
    m_serial->setWindowFlags(Qt::Window);
    m_network = new NetworkHelper(this);
    m_network->setWindowFlags(Qt::Window);

    ModbusMaster::Callbacks cb;
    cb.receiveBytes = [this] {
        return activeLinkPage()->takeReceived();
    };
    cb.sendBytes = [this](const QByteArray &frame) {
        return activeLinkPage()->sendBytes(frame);
    };
    cb.readFinished = [this](Uint8 slave, Uint16 addr, const QVector<Uint16> &values) {
        onReadFinished(slave, addr, values);
    };
    cb.writeFinished = [this](Uint8 slave, Uint16 addr, Uint16 value) { onWriteFinished(slave, addr, value); };
    cb.fileWriteFinished = [this](Uint8, quint32) { emit singalWriteFileFinshed(); };
    cb.comError = [this](Uint8 slave, Uint8 funCode, Uint16 addr, int error) { onComError(slave, funCode, addr, error); };
    m_engine->setCallbacks(cb);

    // A reply is handled the moment it arrives, so the engine adds no timer tick to a transaction.
    connect(m_serial, &SerialPortHelper::bytesArrived, m_engine, &ModbusMaster::process);
    connect(m_network, &NetworkHelper::bytesArrived, m_engine, &ModbusMaster::process);
    connect(m_serial, &SerialPortHelper::linkLost, this, [this](const QString &reason) {
        if (connectWay() == Serial)
            onLinkLost(reason);
    });
    connect(m_network, &NetworkHelper::linkLost, this, [this](const QString &reason) {
        if (connectWay() == Ethernet)
            onLinkLost(reason);
    });
    connect(m_network, &NetworkHelper::connected, this, &ComSettingsFrame::onTcpConnected);
    for (LinkPage *page : { static_cast<LinkPage *>(m_serial), static_cast<LinkPage *>(m_network) }) {
        connect(page, &LinkPage::debugModeAboutToChange, this, [this, page](bool on) {
            if (on && page == activeLinkPage())
                announceLinkClose();
        });
    }
    connect(m_serial, &LinkPage::debugModeChanged, this, &ComSettingsFrame::linkStateChanged);
    connect(m_network, &LinkPage::debugModeChanged, this, &ComSettingsFrame::linkStateChanged);
    auto fillPorts = [this](const QStringList &names) {
        const QString current = ui->portComboBox->currentText();
        const QSignalBlocker block(ui->portComboBox);
        ui->portComboBox->clear();
        ui->portComboBox->addItems(names);
        ui->portComboBox->setEditText(current);
    };
    connect(m_serial, &SerialPortHelper::portListChanged, this, fillPorts);
    fillPorts(m_serial->portNames());
    m_serial->watchPortList(ui->portComboBox);
}

ComSettingsFrame::ConnectWay ComSettingsFrame::connectWay() const
{
    return ui->connectWayComboBox->currentIndex() == Serial ? Serial : Ethernet;
}

bool ComSettingsFrame::isConnected() const
{
    return m_connectState == ConnectState::Connected;
}

bool ComSettingsFrame::isSearching() const
{
    return m_searchState != SearchState::Idle;
}

LinkPage *ComSettingsFrame::activeLinkPage() const
{
    return connectWay() == Serial ? static_cast<LinkPage *>(m_serial) : static_cast<LinkPage *>(m_network);
}

bool ComSettingsFrame::debugOwnsLink() const
{
    return activeLinkPage()->isDebugMode();
}

void ComSettingsFrame::announceLinkClose()
{
    if (m_connectState == ConnectState::Connected && !debugOwnsLink())
        emit linkAboutToClose();
}

// The register functions all refuse in the same cases: no engine, a closed link, a debugging page
// owning the link, or a slave address outside 1 to 247 (255 holds imported file values and never
// goes out).
bool ComSettingsFrame::canQueue(int slave)
{
    return acceptsRequests() && isValidSlave(slave);
}

bool ComSettingsFrame::acceptsRequests()
{
    return s_instance && s_instance->m_engine && s_instance->m_engine->isLinkOpen() && !s_instance->debugOwnsLink()
        && isValidSlave(s_slave);
}

int ComSettingsFrame::writeRegister(Uint16 addr, Uint16 value)
{
    return writeSlaveRegister(Uint8(s_slave), addr, value);
}

int ComSettingsFrame::writeSlaveRegister(Uint8 slave, Uint16 addr, Uint16 value)
{
    if (!canQueue(slave))
        return 0;
    const int queued = s_instance->kickEngine(s_instance->m_engine->writeSingleRegister(slave, addr, value));
    if (queued)
        ++s_instance->m_writesOwed[registerKey(slave, addr)];
    return queued;
}

quint32 ComSettingsFrame::registerKey(Uint8 slave, Uint16 addr)
{
    return quint32(slave) << 16 | addr;
}

void ComSettingsFrame::writeEnded(Uint8 slave, Uint16 addr)
{
    const auto owed = m_writesOwed.find(registerKey(slave, addr));
    if (owed != m_writesOwed.end() && --*owed <= 0)
        m_writesOwed.erase(owed);
}

int ComSettingsFrame::readRegisters(Uint16 addr, Uint16 count)
{
    return readSlaveRegisters(Uint8(s_slave), addr, count);
}

int ComSettingsFrame::readSlaveRegisters(Uint8 slave, Uint16 addr, Uint16 count)
{
    if (!canQueue(slave))
        return 0;
    return s_instance->kickEngine(s_instance->m_engine->readHoldingRegisters(slave, addr, count));
}

int ComSettingsFrame::writeFileBlock(Uint8 unit, quint32 offset, const quint8 *data, Uint16 length, Uint16 lastBlock)
{
    if (!canQueue(s_slave) || s_instance->connectWay() != Ethernet)
        return 0;
    return s_instance->kickEngine(s_instance->m_engine->writeFileBlock(unit, offset, data, length, lastBlock));
}

// A request queued on an idle link goes out as soon as control returns to the event loop rather
// than on the next timer tick, so the engine adds almost nothing to a transaction. One queued
// inside the tick goes out at the tick's own end without another turn of the event loop.
int ComSettingsFrame::kickEngine(int queued)
{
    if (queued)
        wakeTick();
    if (queued && !m_kickPending && !m_inTick) {
        m_kickPending = true;
        QMetaObject::invokeMethod(this, [this] {
            m_kickPending = false;
            m_engine->process();
        }, Qt::QueuedConnection);
    }
    return queued;
}

bool ComSettingsFrame::isLinkOpen()
{
    if (!s_instance || !s_instance->m_engine)
        return false;
    return s_instance->connectWay() == Serial ? s_instance->m_serial->isOpen() : s_instance->m_network->isConnected();
}

Uint16 ComSettingsFrame::getRegister(Uint16 addr)
{
    if (!isValidSlave(s_slave))
        return RegisterCache::NoValue;
    return getRegister(Uint8(s_slave), addr);
}

Uint16 ComSettingsFrame::getRegister(Uint8 slave, Uint16 addr)
{
    return s_instance ? s_instance->m_cache.entry(slave, addr).value : RegisterCache::NoValue;
}

quint64 ComSettingsFrame::getRegisterEntry(Uint16 addr)
{
    if (!isValidSlave(s_slave))
        return RegisterCache::NoValue;
    return getRegisterEntry(Uint8(s_slave), addr);
}

quint64 ComSettingsFrame::getRegisterEntry(Uint8 slave, Uint16 addr)
{
    const RegisterCache::Entry e = s_instance ? s_instance->m_cache.entry(slave, addr) : RegisterCache::Entry();
    return (quint64(quint32(e.status)) << 32) | e.value;
}

void ComSettingsFrame::setRegister(Uint16 addr, Uint16 value)
{
    if (isValidSlave(s_slave))
        setRegister(Uint8(s_slave), addr, value);
}

void ComSettingsFrame::setRegister(Uint8 slave, Uint16 addr, Uint16 value)
{
    if (s_instance)
        s_instance->m_cache.setValue(slave, addr, value);
}

void ComSettingsFrame::setRegisterStatus(Uint16 addr, int status)
{
    if (isValidSlave(s_slave))
        setRegisterStatus(Uint8(s_slave), addr, status);
}

void ComSettingsFrame::setRegisterStatus(Uint8 slave, Uint16 addr, int status)
{
    if (s_instance)
        s_instance->m_cache.setStatus(slave, addr, status);
}

quint32 ComSettingsFrame::textToValue(const QString &text, int decimals)
{
    return textToValue(text, decimals, nullptr);
}

quint32 ComSettingsFrame::textToValue(const QString &text, int decimals, bool *ok)
{
    const QString t = text.trimmed();
    bool good = false;
    qint64 value = 0;
    if (decimals < 1) {
        if (t.contains(QLatin1String("0x"), Qt::CaseInsensitive)) {
            QString hex = t;
            hex.remove(QLatin1String("0x"), Qt::CaseInsensitive);
            const qulonglong u = hex.toULongLong(&good, 16);
            good = good && u <= 0xFFFFFFFFull;
            value = qint64(u);
        } else {
            value = t.toLongLong(&good, 10);
        }
    } else {
        const double d = t.toDouble(&good);
        const double scaled = d * std::pow(10.0, decimals);
        good = good && std::isfinite(scaled);
        if (good)
            value = std::llround(scaled);   // halves away from zero
    }
    // Negative values wrap to their two's complement, as a signed register expects.
    good = good && value >= qint64(INT32_MIN) && value <= qint64(UINT32_MAX);
    if (ok)
        *ok = good;
    return good ? quint32(value) : 0xFFFFFFFFu;
}

void ComSettingsFrame::setRealTimeAddrList(QList<int> *list)
{
    m_realTimeAddrs = list;
    wakeTick();     // also shows an alarm state the new list was built with
}

void ComSettingsFrame::addVariableAddrs(const QList<int> *list)
{
    if (!list)
        return;
    for (int addr : *list) {
        if (!m_varAddrs.contains(addr))
            m_varAddrs.append(addr);
    }
    wakeTick();
}

void ComSettingsFrame::removeVariableAddrs(const QList<int> *list)
{
    if (!list)
        return;
    for (int addr : *list) {
        const int pos = m_varAddrs.indexOf(addr);
        if (pos < 0)
            continue;
        m_varAddrs.removeAt(pos);
        if (pos <= m_variable.index && m_variable.index > 0)
            --m_variable.index;
    }
}

void ComSettingsFrame::emitDeviceList()
{
    QStringList list;
    for (int i = 0; i < ui->deviceListComboBox->count(); ++i)
        list << ui->deviceListComboBox->itemText(i);
    emit deviceListChanged(list);
}

void ComSettingsFrame::onDeviceChanged(DeviceEnum devType)
{
    if (devType == NoDevice)
        return;
    RegisterMap::fill(devType);
}

void ComSettingsFrame::setDeviceType(DeviceEnum devType)
{
    if (devType == NoDevice)
        return;
    // The parameter file of the old type is written before the switch and the new type's file
    // read after the whole broadcast, so it is read against the new definitions.
    if (ServoParamFrame *page = ServoParamFrame::instance())
        page->exportDefaultParams();
    setCurrentDevice(devType);
    {
        const QSignalBlocker block(ui->deviceTypeComboBox);
        ui->deviceTypeComboBox->setCurrentIndex(int(devType));
    }
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceType"), QString::number(int(devType)));
    onDeviceChanged(devType);
    emit devChangedSignal(devType);
    if (ServoParamFrame *page = ServoParamFrame::instance())
        page->importDefaultParams();
    if (isConnected()) {
        if (StatusAreaFrame *bar = StatusAreaFrame::instance())
            bar->setConnectState(devType);
    }
}

void ComSettingsFrame::loadSettings()
{
    static bool languageApplied = false;
    m_loadingSettings = true;
    fillSettingsWidgets();
    m_loadingSettings = false;
    if (!languageApplied) {
        languageApplied = true;
        LanguageSettingFrame::switchLanguage(1);
    }
    onDeviceChanged(s_devType);
    emit devChangedSignal(s_devType);
}

void ComSettingsFrame::fillSettingsWidgets()
{
    const QSignalBlocker b1(ui->connectWayComboBox), b2(ui->deviceTypeComboBox), b3(ui->deviceAddrSpinBox),
        b4(ui->DevCheckBox);
    const int way = CommonUtils::takeConfigVal(1, QStringLiteral("ConnectWay"), QStringLiteral("0")).toInt();
    ui->connectWayComboBox->setCurrentIndex(way == Serial ? Serial : Ethernet);
    on_connectWayComboBox_currentIndexChanged(ui->connectWayComboBox->currentIndex());

    bool ok = false;
    const int type = CommonUtils::takeConfigVal(1, QStringLiteral("DeviceType"), QStringLiteral("0")).toInt(&ok);
    setCurrentDevice(ok ? deviceFromInt(type) : SdriverDevice);
    if (s_devType != NoDevice)
        ui->deviceTypeComboBox->setCurrentIndex(int(s_devType));
    ui->DevCheckBox->setChecked(CommonUtils::takeConfigVal(1, QStringLiteral("DevCheckBox"), QStringLiteral("1")).toInt() != 0);
    ui->deviceAddrSpinBox->setValue(CommonUtils::takeConfigVal(1, QStringLiteral("DeviceAddr"), QStringLiteral("1")).toInt());

    ui->portComboBox->setEditText(CommonUtils::takeConfigVal(2, QStringLiteral("PortName"), QString()));
    ui->baudComboBox->setEditText(CommonUtils::takeConfigVal(2, QStringLiteral("BaudRate"), QStringLiteral("115200")));
    ui->baudComboBox->setCurrentText(ui->baudComboBox->currentText());
    ui->parityComboBox->setCurrentText(CommonUtils::takeConfigVal(2, QStringLiteral("Parity"), QStringLiteral("None")));
    ui->dataBitsComboBox->setCurrentText(CommonUtils::takeConfigVal(2, QStringLiteral("DataBits"), QStringLiteral("8")));
    ui->stopBitsComboBox->setCurrentText(CommonUtils::takeConfigVal(2, QStringLiteral("StopBits"), QStringLiteral("1")));
    ui->ipLineEdit->setText(CommonUtils::takeConfigVal(3, QStringLiteral("RemoteIp"), QStringLiteral("127.0.0.1")));
    ui->portLineEdit->setText(CommonUtils::takeConfigVal(3, QStringLiteral("RemotePort"), QStringLiteral("9760")));
    rememberSettings();
}

QList<ComSettingsFrame::Setting> ComSettingsFrame::shownSettings() const
{
    return { { 1, QStringLiteral("ConnectWay"), QString::number(int(connectWay())) },
             { 1, QStringLiteral("DevCheckBox"), ui->DevCheckBox->isChecked() ? QStringLiteral("1") : QStringLiteral("0") },
             { 1, QStringLiteral("DeviceAddr"), QString::number(ui->deviceAddrSpinBox->value()) },
             { 2, QStringLiteral("PortName"), ui->portComboBox->currentText().trimmed() },
             { 2, QStringLiteral("BaudRate"), ui->baudComboBox->currentText().trimmed() },
             { 2, QStringLiteral("Parity"), ui->parityComboBox->currentText() },
             { 2, QStringLiteral("DataBits"), ui->dataBitsComboBox->currentText() },
             { 2, QStringLiteral("StopBits"), ui->stopBitsComboBox->currentText() },
             { 3, QStringLiteral("RemoteIp"), ui->ipLineEdit->text().trimmed() },
             { 3, QStringLiteral("RemotePort"), ui->portLineEdit->text().trimmed() } };
}

// What the boxes showed after loading is what is stored, or a default put in because the store
// could not be read: either way it is not the user's to write back.
void ComSettingsFrame::rememberSettings()
{
    m_shownAtLoad.clear();
    for (const Setting &s : shownSettings())
        m_shownAtLoad.insert(s.key, s.value);
}

// Every setting, or only `key`: only what the user changed is written.
void ComSettingsFrame::saveSettings(const QString &key)
{
    for (const Setting &s : shownSettings()) {
        if ((key.isEmpty() || s.key == key) && m_shownAtLoad.value(s.key) != s.value
            && CommonUtils::saveConfigVal(s.group, s.key, s.value))
            m_shownAtLoad.insert(s.key, s.value);
    }
}

// --- connection -------------------------------------------------------------------------------

void ComSettingsFrame::connectDevice()
{
    // Checked before anything is stored: a port that does not fit would be cut down to another one.
    const QString portText = ui->portLineEdit->text().trimmed();
    if (connectWay() == Ethernet && remotePort() == 0) {
        qWarning() << "Not connecting: remote port" << portText << "is not 1 to 65535";
        Prompt::warning(this, tr("Tips"), tr("Invalid port \"%1\": enter a number from 1 to 65535.").arg(portText));
        return;
    }
    if (m_connectState != ConnectState::Idle)
        disconnectDevice();
    saveSettings();
    m_engine->setLinkOpen(false);
    m_writesOwed.clear();
    m_engine->clearError();
    m_consecutiveFailures = 0;
    m_linkTarget = connectWay() == Serial ? QStringLiteral("rtu:") + ui->portComboBox->currentText().trimmed()
                                          : QStringLiteral("tcp:%1:%2").arg(ui->ipLineEdit->text().trimmed()).arg(remotePort());
    if (connectWay() == Serial) {
        m_engine->setFraming(ModbusMaster::Framing::Rtu);
        static const QHash<QString, QSerialPort::Parity> parities {
            { QStringLiteral("None"), QSerialPort::NoParity },
            { QStringLiteral("Even"), QSerialPort::EvenParity },
            { QStringLiteral("Odd"), QSerialPort::OddParity } };
        const QString port = ui->portComboBox->currentText().trimmed();
        const qint32 baud = ui->baudComboBox->currentText().toInt();
        m_engine->setBaudRate(baud);
        const bool opened = m_serial->openPort(
            port, baud,
            ui->dataBitsComboBox->currentText() == QLatin1String("7") ? QSerialPort::Data7 : QSerialPort::Data8,
            parities.value(ui->parityComboBox->currentText(), QSerialPort::NoParity),
            ui->stopBitsComboBox->currentText() == QLatin1String("2") ? QSerialPort::TwoStop : QSerialPort::OneStop);
        if (!opened) {
            setLinkText(tr("Open failure!") + QLatin1Char(' ') + m_serial->lastError());
            qWarning() << "Serial port" << port << "did not open:" << m_serial->lastError();
            updateConnectButton();
            return;
        }
        m_engine->setLinkOpen(true);
        m_connectState = ConnectState::Probe;
        emit linkStateChanged();
    } else {
        m_engine->setFraming(ModbusMaster::Framing::Tcp);
        m_network->connectToDevice(ui->ipLineEdit->text().trimmed(), remotePort());
        m_connectState = ConnectState::WaitLink;
        m_connectClock.start();
        setLinkText(tr("Connecting..."));
    }
    updateConnectButton();
    wakeTick();
}

quint16 ComSettingsFrame::remotePort() const
{
    bool ok = false;
    const uint port = ui->portLineEdit->text().trimmed().toUInt(&ok);
    return ok && port <= 65535 ? quint16(port) : 0;
}

void ComSettingsFrame::onTcpConnected()
{
    if (m_connectState != ConnectState::WaitLink || connectWay() != Ethernet)
        return;
    m_engine->setLinkOpen(true);
    m_connectState = ConnectState::Probe;
    emit linkStateChanged();
}

void ComSettingsFrame::stepConnect()
{
    switch (m_connectState) {
    case ConnectState::Idle:
    case ConnectState::Connected:
        break;
    case ConnectState::WaitLink:
        if (m_connectClock.elapsed() > kTcpConnectTimeoutMs)
            disconnectDevice(tr("Connect failure: no answer from %1:%2").arg(ui->ipLineEdit->text(), ui->portLineEdit->text()));
        break;
    case ConnectState::Probe: {
        m_engine->setResyncAddress(probeAddress());
        setCurrentSlave(ui->deviceAddrSpinBox->value());
        if (!ui->DevCheckBox->isChecked()) {
            linkUp();
            break;
        }
        m_probeFailed = false;
        m_probeAnswered = false;
        setRegisterStatus(probeAddress(), RegisterCache::Requested);
        if (readRegisters(probeAddress(), 1)) {
            m_connectState = ConnectState::WaitProbe;
            setLinkText(tr("Checking device %1...").arg(s_slave));
        }
        break;
    }
    case ConnectState::WaitProbe: {
        const RegisterCache::Entry e = m_cache.entry(Uint8(s_slave), probeAddress());
        if (e.status == RegisterCache::Received || m_probeAnswered)
            linkUp();
        else if (m_probeFailed)
            disconnectDevice(tr("No device answers at address %1.").arg(s_slave));
        break;
    }
    }
}

Uint16 ComSettingsFrame::probeAddress() const
{
    // Every device type has its status word in entry 34; before a type is set, fall back to 0.
    const quint32 addr = RegisterMap::entry(34);
    return addr == RegisterMap::Absent ? 0 : Uint16(addr);
}

void ComSettingsFrame::linkUp()
{
    m_connectState = ConnectState::Connected;
    m_consecutiveFailures = 0;
    m_realTime = Poller();
    m_variable = Poller();
    m_keepAlive = Poller();
    m_keepAliveTimer.start(kKeepAliveMs);
    const QString entry = QStringLiteral("[%1]:").arg(s_slave) + deviceTypeNames().value(int(s_devType));
    if (ui->deviceListComboBox->findText(entry) < 0)
        ui->deviceListComboBox->addItem(entry);
    ui->deviceListComboBox->setCurrentText(entry);
    setLinkText(tr("Connected"));
    updateConnectButton();
    if (StatusAreaFrame *bar = StatusAreaFrame::instance())
        bar->setConnectState(s_devType);
    emitDeviceList();
    emit connectionChanged(true);
}

void ComSettingsFrame::disconnectDevice(const QString &reason)
{
    stopSearch();
    const bool wasConnected = m_connectState == ConnectState::Connected;
    m_connectState = ConnectState::Idle;
    m_keepAliveTimer.stop();
    m_engine->setLinkOpen(false);
    m_writesOwed.clear();
    m_serial->closePort();
    m_network->disconnectFromDevice();
    setLinkText(reason.isEmpty() ? tr("Disconnected") : reason);
    updateConnectButton();
    if (StatusAreaFrame *bar = StatusAreaFrame::instance())
        bar->setConnectState(NoDevice);
    emit linkStateChanged();
    if (wasConnected)
        emit connectionChanged(false);
}

void ComSettingsFrame::onLinkLost(const QString &reason)
{
    if (m_connectState == ConnectState::Idle)
        return;
    qWarning() << "Link lost:" << reason;
    disconnectDevice(m_connectState == ConnectState::WaitLink ? tr("Connect failure: %1").arg(reason)
                                                             : tr("Link lost: %1").arg(reason));
}

void ComSettingsFrame::setLinkText(const QString &text)
{
    ui->linkStateLabel->setText(text);
}

void ComSettingsFrame::updateConnectButton()
{
    const bool idle = m_connectState == ConnectState::Idle;
    ui->connectButton->setText(idle ? tr("Connect") : tr("Disconnect"));
    ui->connectWayComboBox->setEnabled(idle);
    ui->serialGroupBox->setEnabled(idle || connectWay() != Serial);
    ui->networkGroupBox->setEnabled(idle || connectWay() != Ethernet);
    ui->searchButton->setEnabled(m_connectState == ConnectState::Connected);
}

// --- engine callbacks ---------------------------------------------------------------------------

// Writes go out before queued reads, so a read answered while a write to the same register is still
// on its way was taken before that write: its value is stale, and a page that acts on readings (a
// tool-bar control follows the device) would undo the write. The write's answer brings the value.
void ComSettingsFrame::onReadFinished(Uint8 slave, Uint16 addr, const QVector<Uint16> &values)
{
    m_consecutiveFailures = 0;
    for (int i = 0; i < values.size(); ++i) {
        const Uint16 reg = Uint16(addr + i);
        if (!m_writesOwed.contains(registerKey(slave, reg)))
            m_cache.setValue(slave, reg, values.at(i));
    }
}

void ComSettingsFrame::onWriteFinished(Uint8 slave, Uint16 addr, Uint16 value)
{
    m_consecutiveFailures = 0;
    writeEnded(slave, addr);
    m_cache.setValue(slave, addr, value);
    emit registerWritten(slave, addr, value);
}

void ComSettingsFrame::onComError(Uint8 slave, Uint8 funCode, Uint16 addr, int error)
{
    const QString line = QStringLiteral("Modbus Error: \nslave = %1 funCode = %2 addr = %3").arg(slave).arg(funCode).arg(addr);
    qDebug().noquote() << line << ModbusMaster::errorText(error);
    activeLinkPage()->appendDiagnostic(line);

    // An exception reply comes from a device that is there, even when it lacks the register asked.
    const bool answered = error == ModbusMaster::ExceptionReply;
    if (m_searchState == SearchState::Wait && slave == m_searchAddr)
        (answered ? m_searchAnswered : m_searchFailed) = true;
    if (m_connectState == ConnectState::WaitProbe && slave == s_slave)
        (answered ? m_probeAnswered : m_probeFailed) = true;
    if (funCode == ModbusMaster::FnWriteSingle)
        writeEnded(slave, addr);
    for (Poller *p : { &m_realTime, &m_variable, &m_keepAlive }) {
        if (funCode == ModbusMaster::FnReadHolding && p->state == PollState::Wait && slave == s_slave && addr == p->addr)
            p->failed = true;
    }
    emit modbusComError(slave, addr);

    // A search expects silence from most addresses; only ordinary traffic counts towards a lost link.
    if (answered)
        m_consecutiveFailures = 0;
    else if (m_connectState == ConnectState::Connected && m_searchState == SearchState::Idle
             && ++m_consecutiveFailures >= kLostAfterFailures)
        disconnectDevice(tr("Link lost: the device does not answer."));
}

// --- device search --------------------------------------------------------------------------

void ComSettingsFrame::startSearch(int firstAddr, int lastAddr)
{
    if (m_connectState != ConnectState::Connected || isSearching())
        return;
    m_savedTimeout = m_engine->responseTimeout();
    m_savedRetries = m_engine->retries();
    m_savedSlave = s_slave;
    m_engine->setResponseTimeout(kSearchTimeoutMs);
    m_engine->setRetries(0);
    m_searchAddr = qBound(1, firstAddr, 247);
    m_searchLast = qBound(m_searchAddr, lastAddr, 247);
    m_searchFound = 0;
    ui->deviceListComboBox->clear();
    ui->searchButton->setText(tr("Stop"));
    m_searchState = SearchState::Request;
    wakeTick();
}

void ComSettingsFrame::stopSearch()
{
    if (!isSearching())
        return;
    m_searchState = SearchState::Idle;
    m_engine->setResponseTimeout(m_savedTimeout);
    m_engine->setRetries(m_savedRetries);
    setCurrentSlave(m_savedSlave);
    ui->searchButton->setText(tr("Search"));
    setLinkText(tr("Connected. Devices found: %1").arg(m_searchFound));
    emitDeviceList();
    emit searchFinished(m_searchFound);
}

void ComSettingsFrame::stepSearch()
{
    switch (m_searchState) {
    case SearchState::Idle:
        break;
    case SearchState::Request:
        if (m_searchAddr > m_searchLast) {
            stopSearch();
            break;
        }
        m_searchAnswered = false;
        m_searchFailed = false;
        setRegisterStatus(Uint8(m_searchAddr), probeAddress(), RegisterCache::Requested);
        if (readSlaveRegisters(Uint8(m_searchAddr), probeAddress(), 1)) {
            setLinkText(tr("Searching address %1 of %2...").arg(m_searchAddr).arg(m_searchLast));
            m_searchState = SearchState::Wait;
        }
        break;
    case SearchState::Wait:
        if (m_cache.entry(Uint8(m_searchAddr), probeAddress()).status == RegisterCache::Received || m_searchAnswered) {
            ++m_searchFound;
            ui->deviceListComboBox->addItem(QStringLiteral("[%1]:").arg(m_searchAddr) + deviceTypeNames().value(int(s_devType)));
        } else if (!m_searchFailed) {
            break;
        }
        ++m_searchAddr;
        m_searchState = SearchState::Request;
        break;
    }
}

// --- polling --------------------------------------------------------------------------------

bool ComSettingsFrame::pollRequest(Poller &p, int addr)
{
    setRegisterStatus(Uint16(addr), RegisterCache::Requested);
    if (!readRegisters(Uint16(addr), 1))
        return false;
    p.addr = addr;
    p.ticks = 0;
    p.failed = false;
    p.state = PollState::Wait;
    return true;
}

bool ComSettingsFrame::pollWait(Poller &p, int *value)
{
    const RegisterCache::Entry e = m_cache.entry(Uint8(s_slave), Uint16(p.addr));
    if (e.status == RegisterCache::Received) {
        *value = e.value;
        p.state = PollState::Request;
        return true;
    }
    // Asked again only when the request has ended: asking on a clock would pile requests up behind a
    // link slower than the clock, and the user's writes behind them.
    if (p.failed || (m_engine->isIdle() && ++p.ticks >= kPollRetryTicks))
        p.state = PollState::Request;   // same register again
    return false;
}

// Addresses a device type does not have (65535) are never put on the wire.
static bool pollable(int addr)
{
    return addr >= 0 && addr < 65535;
}

void ComSettingsFrame::stepRealTime()
{
    if (!m_realTimeAddrs || m_realTimeAddrs->isEmpty())
        return;
    Poller &p = m_realTime;
    if (p.state == PollState::Request) {
        if (p.index >= m_realTimeAddrs->size())
            p.index = 0;
        const int addr = m_realTimeAddrs->at(p.index);
        if (!pollable(addr))
            ++p.index;
        else
            pollRequest(p, addr);
        return;
    }
    int value = 0;
    if (pollWait(p, &value)) {
        ++p.index;
        emit realTimeAddrRead(p.addr, value);
    }
}

void ComSettingsFrame::stepVariable()
{
    if (m_varAddrs.isEmpty())
        return;
    Poller &p = m_variable;
    if (p.state == PollState::Request) {
        if (p.index >= m_varAddrs.size())
            p.index = 0;
        const int addr = m_varAddrs.at(p.index);
        if (pollable(addr)) {
            pollRequest(p, addr);
            return;
        }
        ++p.index;
    } else {
        int value = 0;
        if (!pollWait(p, &value))
            return;
        ++p.index;
        emit variableAddrRead(p.addr, value);
    }
    if (p.index >= m_varAddrs.size()) {
        p.index = 0;
        emit variableAddrRead(kEndOfPassAddr, RegisterCache::NoValue);
    }
}

// A device type whose pages poll nothing would never be found silent: its status word is read now
// and then instead, and a failure counts towards a lost link like any other. It runs on a timer of
// its own, so that the 1 ms tick still rests between reads.
void ComSettingsFrame::keepAlive()
{
    const auto polled = [](const QList<int> &addrs) { return std::any_of(addrs.begin(), addrs.end(), pollable); };
    if (m_connectState != ConnectState::Connected || isSearching() || (m_realTimeAddrs && polled(*m_realTimeAddrs))
        || polled(m_varAddrs))
        return;
    Poller &p = m_keepAlive;
    if (p.state == PollState::Wait) {
        int value = 0;
        pollWait(p, &value);
        if (p.state == PollState::Wait && !m_engine->isIdle())
            return;     // still on its way
    }
    if (pollable(probeAddress()))
        pollRequest(p, probeAddress());
}

void ComSettingsFrame::communicateProcess()
{
    const QScopedValueRollback<bool> inTick(m_inTick, true);
    stepConnect();
    stepSearch();
    if (m_connectState == ConnectState::Connected && !isSearching()) {
        stepRealTime();
        stepVariable();
    }
    if (StatusAreaFrame *bar = StatusAreaFrame::instance())
        bar->updateAlarmIcon();
    m_engine->process();
    if (!hasWork())
        m_timer.stop();
}

// The tick runs while anything can come of it: a connection under way, polls of a live link, a
// search, or a request in the engine. Whatever brings new work starts it again.
bool ComSettingsFrame::hasWork() const
{
    if (!m_engine->isIdle() || isSearching())
        return true;
    switch (m_connectState) {
    case ConnectState::Idle:
        return false;
    case ConnectState::Connected:
        return (m_realTimeAddrs && !m_realTimeAddrs->isEmpty()) || !m_varAddrs.isEmpty();
    default:
        return true;
    }
}

void ComSettingsFrame::wakeTick()
{
    if (!m_timer.isActive())
        m_timer.start(1);
}

// --- form -----------------------------------------------------------------------------------

void ComSettingsFrame::on_connectButton_clicked()
{
    if (m_connectState == ConnectState::Idle) {
        connectDevice();
    } else {
        announceLinkClose();
        disconnectDevice();
    }
}

void ComSettingsFrame::on_searchButton_clicked()
{
    if (isSearching())
        stopSearch();
    else
        startSearch();
}

void ComSettingsFrame::on_connectWayComboBox_currentIndexChanged(int index)
{
    ui->serialGroupBox->setVisible(index == Serial);
    ui->networkGroupBox->setVisible(index != Serial);
    if (!m_loadingSettings)
        saveSettings(QStringLiteral("ConnectWay"));
}

void ComSettingsFrame::on_deviceTypeComboBox_activated(int index)
{
    const DeviceEnum type = deviceFromInt(index);
    if (type != s_devType)
        setDeviceType(type);
}

void ComSettingsFrame::on_deviceListComboBox_activated(int index)
{
    // "[%1]:name": the address picks the slave the pages talk to.
    const QString text = ui->deviceListComboBox->itemText(index);
    bool ok = false;
    const int addr = text.section(QLatin1Char(']'), 0, 0).remove(QLatin1Char('[')).toInt(&ok);
    if (ok && isValidSlave(addr))
        ui->deviceAddrSpinBox->setValue(addr);
}

void ComSettingsFrame::on_deviceAddrSpinBox_valueChanged(int value)
{
    if (m_loadingSettings)
        return;
    saveSettings(QStringLiteral("DeviceAddr"));
    if (m_connectState == ConnectState::Connected && !isSearching())
        setCurrentSlave(value);
}

void ComSettingsFrame::on_DevCheckBox_toggled(bool)
{
    if (!m_loadingSettings)
        saveSettings(QStringLiteral("DevCheckBox"));
}

void ComSettingsFrame::on_serialDebugButton_clicked()
{
    m_serial->show();
    m_serial->raise();
    m_serial->activateWindow();
}

void ComSettingsFrame::on_networkDebugButton_clicked()
{
    m_network->show();
    m_network->raise();
    m_network->activateWindow();
}
