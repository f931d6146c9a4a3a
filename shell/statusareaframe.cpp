#include "shell/statusareaframe.h"
#include "ui_statusareaframe.h"

#include "app/alarminfoframe.h"
#include "app/paramunit.h"
#include "app/workrecordframe.h"
#include "comm/comsettingsframe.h"
#include "comm/registercache.h"
#include "comm/registermap.h"
#include "servo/servoparamframe.h"
#include "shell/mainwindow.h"
#include "shell/permmanageframe.h"
#include "shell/statusitem.h"
#include "widgets/rawtext.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDebug>
#include <QEvent>
#include <QMenu>

StatusAreaFrame *StatusAreaFrame::s_instance = nullptr;

namespace {
constexpr int kPageItems = 6;
constexpr int kAlarmCodeEntry = 24;
constexpr int kLoginMenuId = 10;
constexpr int kStepAddr = 3389;
constexpr int kTurnsAddr = 3076;
constexpr int kTimeAddr = 3077;
constexpr int kSpeedAddr = 3078;
constexpr int kTorqueAddr = 3079;
constexpr int kResultAddr = 3336;
constexpr int kTaskAddr = 3072;
// Turns, Time, Speed and Torque: the block of final values read when a result is first seen.
constexpr Uint16 kFinalsCount = 4;
// Registers of the screwdriver that other pages listen for: task number and control words (tool
// bar), Torque (debugging page) and the torque unit (application parameter page).
const QList<int> kSdriverListenedAddrs { kTaskAddr, kTorqueAddr, 3083, 3073, 3074, 3075 };

const char *const kDeviceText = QT_TRANSLATE_NOOP("StatusAreaFrame", "Device");
const char *const kConnectText = QT_TRANSLATE_NOOP("StatusAreaFrame", "Connect");
const char *const kDisconnectText = QT_TRANSLATE_NOOP("StatusAreaFrame", "Disconnect");

QString rawText(const char *source)
{
    return RawText::make("StatusAreaFrame", QLatin1String(source));
}

int addressOfEntry(int entry)
{
    return int(ComSettingsFrame::addrMap(entry) & 0xFFFF);
}

// The last value the cache holds for the register, 0 when it holds none.
int cachedValue(int addr)
{
    const Uint16 value = ComSettingsFrame::getRegister(Uint16(addr));
    return value == RegisterCache::NoValue ? 0 : value;
}

QString alarmButtonStyle(bool active)
{
    return QStringLiteral("QPushButton {\ncolor: %1;\n}\nQPushButton {\nborder: none;\n}")
        .arg(active ? QStringLiteral("#F42230") : QStringLiteral("#000000"));
}

QString alarmValueStyle(bool active)
{
    return QStringLiteral("QLabel {\ncolor: %1;\n}").arg(active ? QStringLiteral("#F42230") : QStringLiteral("#000000"));
}

// Setting a style sheet or an icon restyles or relayouts the window even when nothing changes,
// and the poll brings the same values many times a second.
void setStyleSheetIfChanged(QWidget *widget, const QString &style)
{
    if (widget->styleSheet() != style)
        widget->setStyleSheet(style);
}

void setIconIfChanged(QAbstractButton *button, const QIcon &icon)
{
    if (button->icon().cacheKey() != icon.cacheKey())
        button->setIcon(icon);
}
} // namespace

StatusAreaFrame::StatusAreaFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::StatusAreaFrame)
    , m_ledGray(QStringLiteral(":/Resource/Icons/ledGray.png"))
    , m_ledGreen(QStringLiteral(":/Resource/Icons/ledGreen.png"))
    , m_alarmIdleIcon(QStringLiteral(":/Resource/Icons/alarmInfo_3.png"))
    , m_alarmActiveIcon(QStringLiteral(":/Resource/Icons/alarmInfo_4.png"))
{
    s_instance = this;
    ui->setupUi(this);
    initTexts();
    // Logging in and out has no visible way in; the menu is kept for the program's own calls.
    ui->accountBtn->hide();
    m_slots = { { ui->status1Frame, ui->status1Button, ui->status1Unit, ui->status1Value },
                { ui->status2Frame, ui->status2Button, ui->status2Unit, ui->status2Value },
                { ui->status3Frame, ui->status3Button, ui->status3Unit, ui->status3Value },
                { ui->status4Frame, ui->status4Button, ui->status4Unit, ui->status4Value },
                { ui->status5Frame, ui->status5Button, ui->status5Unit, ui->status5Value },
                { ui->status6Frame, ui->status6Button, ui->status6Unit, ui->status6Value },
                { ui->status7Frame, ui->status7Button, ui->status7Unit, ui->status7Value } };
    initLoginMenu();
    for (const StatusSlot &slot : qAsConst(m_slots))
        slot.frame->hide();
    setAlarmBlink(false, 600);
    m_fetchTimer.setInterval(2);
    connect(&m_fetchTimer, &QTimer::timeout, this, &StatusAreaFrame::stepFetch);
    // The detectors listen for the program's life, whether the bar is shown or not.
    attachToPoller();
}

StatusAreaFrame::~StatusAreaFrame()
{
    // The poller must not keep reading a list that is gone.
    if (ComSettingsFrame *com = ComSettingsFrame::instance())
        com->setRealTimeAddrList(nullptr);
    delete ui;
    if (s_instance == this)
        s_instance = nullptr;
}

StatusAreaFrame *StatusAreaFrame::instance()
{
    return s_instance;
}

void StatusAreaFrame::initTexts()
{
    ui->deviceBtn->setText(rawText(kDeviceText));
    ui->connectStatus->setText(rawText(kDisconnectText));
}

void StatusAreaFrame::initLoginMenu()
{
    ui->accountBtn->setText(tr("Not Login"));
    ui->accountBtn->setPopupMode(CMenuButton::AboveLeftAligned);
    QMenu *menu = ui->accountBtn->menu();
    menu->addAction(QIcon(QStringLiteral(":/Resource/Icons/userLogin_2.png")), tr("用户登录"), this,
                    &StatusAreaFrame::onLoginAccount);
    menu->addSeparator();
    menu->addAction(QIcon(QStringLiteral(":/Resource/Icons/logout.png")), tr("退出登录"), this,
                    &StatusAreaFrame::onSignOutAccount);
    menu->addSeparator();
    menu->addAction(QIcon(QStringLiteral(":/Resource/Icons/modifyPsw.png")), tr("修改密码"), this,
                    &StatusAreaFrame::onModifyPassward);
    menu->setStyleSheet(QStringLiteral(
        "QMenu {background-color: #F0F0F0; border: 1px solid #D9DADC;}"
        "QMenu::icon {margin-left: 25px; margin-right: 15px;}"
        "QMenu::item {color: #1296DB; border: none; min-height: 45px; padding-left: 30px; padding-right: 35px;}"
        "QMenu::item:selected {background-color: #AECBEE;}"
        "QMenu::separator {height: 1px; background-color: #D9DADC;}"));
    connect(ui->deviceBtn, &QPushButton::clicked, this, &StatusAreaFrame::onDeviceBtnClicked);
}

// Safe to repeat: the connection is made once, and the list is lent again to a communication
// page that may have been created after this bar.
void StatusAreaFrame::attachToPoller()
{
    ComSettingsFrame *com = ComSettingsFrame::instance();
    if (!com)
        return;
    connect(com, &ComSettingsFrame::realTimeAddrRead, this, &StatusAreaFrame::refreshDisplay, Qt::UniqueConnection);
    connect(com, &ComSettingsFrame::connectionChanged, this, &StatusAreaFrame::onConnectionChanged, Qt::UniqueConnection);
    connect(com, &ComSettingsFrame::deviceAboutToSwitch, this, &StatusAreaFrame::onDeviceAboutToSwitch, Qt::UniqueConnection);
    com->setRealTimeAddrList(&m_realTimeAddrList);
}

void StatusAreaFrame::setUserText(const QString &text)
{
    ui->accountBtn->setText(text);
}

void StatusAreaFrame::setConnectState(DeviceEnum devType)
{
    if (devType == m_connectState)
        return;
    qDebug() << "Device ID: " << int(devType);
    m_connectState = devType;
    const bool down = devType == NoDevice;
    ui->connectStatus->setText(rawText(down ? kDisconnectText : kConnectText));
    ui->connectStatus->setStyleSheet(
        QStringLiteral("color: #FFFFFF; border-style: solid; border-radius: 13px; background-color: %1;")
            .arg(down ? QStringLiteral("#B88D5D") : QStringLiteral("#71BB71")));
}

void StatusAreaFrame::updateAlarmIcon()
{
    if (m_lastAlarmCode == m_lastShownAlarmCode)
        return;
    m_lastShownAlarmCode = m_lastAlarmCode;
    setAlarmIcon(m_lastAlarmCode >= 1);
}

void StatusAreaFrame::setAlarmBlink(bool on, int period)
{
    ++m_blinkCounter;
    if (!on) {
        m_blinkCounter = 0;
        if (m_blinkOn)
            setAlarmIcon(false);
    } else if (!m_blinkOn) {
        setAlarmIcon(true);
    } else if (m_blinkCounter == period) {
        setAlarmIcon(true);
    } else if (m_blinkCounter == 2 * period) {
        setAlarmIcon(false);
        m_blinkCounter = 0;
    }
    m_blinkOn = on;
}

void StatusAreaFrame::setAlarmIcon(bool active)
{
    setIconIfChanged(ui->status7Button, active ? m_alarmActiveIcon : m_alarmIdleIcon);
}

void StatusAreaFrame::onLoginAccount()
{
    if (MainWindow *window = MainWindow::instance())
        window->onMenuClicked(kLoginMenuId);
}

// Signing out concerns the account only: the items and the poll list stay those of the
// connected device, so the tool bar and the detectors keep their values.
void StatusAreaFrame::onSignOutAccount()
{
    PermManageFrame::setCurrentAccount(RecordItem());
    ui->accountBtn->setText(tr("Not Login"));
    emit signOutSignal();
}

void StatusAreaFrame::onModifyPassward()
{
    if (MainWindow *window = MainWindow::instance())
        window->showModifyPswDialog();
}

void StatusAreaFrame::onDeviceBtnClicked(bool checked)
{
    Q_UNUSED(checked)
    if (ComSettingsFrame::currentDevice() != HighVoltServo)
        return;
    if (ServoParamFrame *page = ServoParamFrame::instance())
        page->showSlaveConfigDialog();
}

void StatusAreaFrame::onParamUnitChanged()
{
    onDeviceChanged(ComSettingsFrame::currentDevice());
}

// Addresses come from the address map, which already holds the type just selected.
QVector<StatusAreaFrame::ItemDef> StatusAreaFrame::itemDefs(DeviceEnum devType) const
{
    switch (devType) {
    case SdriverDevice: {
        const QStringList results { QStringLiteral("0x0000/%1").arg(tr("Undone")), QStringLiteral("0x0001/%1").arg(tr("OK")),
                                    QStringLiteral("0x000A/%1").arg(tr("Slip")), QStringLiteral("0x000C/%1").arg(tr("Float")) };
        const QString uint16 = QStringLiteral("uint16");
        return { { tr("Step"), QString(), StatusItem::rawValue(kStepAddr, uint16, 0), 130 },
                 { tr("Turns"), tr("r"), StatusItem::rawValue(kTurnsAddr, QStringLiteral("int16"), 2), 130 },
                 { tr("Torque"), unitName(QStringLiteral("torque")),
                   StatusItem::rawValue(kTorqueAddr, uint16, unitDecimals(QStringLiteral("torque"))), 155 },
                 { tr("Speed"), tr("rpm"), StatusItem::rawValue(kSpeedAddr, uint16, 0), 148 },
                 { tr("Time"), tr("s"), StatusItem::rawValue(kTimeAddr, uint16, 3), 128 },
                 { tr("Result"), QString(), StatusItem::valueToText(kResultAddr, results), 120 } };
    }
    case HighVoltServo: {
        const int status = addressOfEntry(34);
        return { { tr("Servo Enable"), QString(), StatusItem::valueToLed(status, QStringLiteral("(function(val) { return val == 6; })")), 0 },
                 { tr("Servo Ready"), QString(), StatusItem::valueToLed(status, QStringLiteral("(function(val) { return val == 5; })")), 0 },
                 { tr("Bus Voltage"), QStringLiteral("V"), StatusItem::rawValue(addressOfEntry(36), QString(), 1), 0 } };
    }
    case LowVoltServo: {
        const int status = addressOfEntry(40);
        return { { tr("Comm Status"), QString(), StatusItem::valueToLed(status, QStringLiteral("(function(val) { return val != 0; })")), 0 },
                 { tr("Servo Enable"), QString(), StatusItem::valueToLed(status, QStringLiteral("(function(val) { return val == 3; })")), 0 },
                 { tr("Servo Ready"), QString(),
                   StatusItem::valueToLed(status, QStringLiteral("(function(val) { return (val == 3) || (val == 4); })")), 0 },
                 { tr("Location OK"), QString(),
                   StatusItem::valueToLed(addressOfEntry(42), QStringLiteral("(function(val) { return (val & 0x0004) || (val & 0x0100); })")),
                   0 } };
    }
    default:
        // The other types show no page items.
        return {};
    }
}

void StatusAreaFrame::applyItemStyle(StatusSlot &slot, DeviceEnum devType)
{
    const bool sdriver = devType == SdriverDevice;
    setStyleSheetIfChanged(slot.button, sdriver ? QStringLiteral("QPushButton {font-size: 18px; color: #1447FB; background-color: transparent; border: none;}")
                                                : QStringLiteral("QPushButton {color: black; background-color: transparent; border: none;}"));
    setStyleSheetIfChanged(slot.value, sdriver ? QStringLiteral("font-size: 16px; color: #FF0000;") : QStringLiteral("color: black;"));
    setStyleSheetIfChanged(slot.unit, sdriver ? QStringLiteral("font-size: 16px; color: #128DDB;") : QStringLiteral("color: black;"));
    slot.frame->setFrameShape(QFrame::NoFrame);
    slot.frame->setFrameShadow(QFrame::Raised);
}

// Everything is built from the new type alone, so no register of an earlier type and no
// address the type lacks stays in the poll list.
void StatusAreaFrame::onDeviceChanged(DeviceEnum devType)
{
    m_alarmTriggerEnabled = devType == SdriverDevice;
    m_recordTriggerEnabled = devType == SdriverDevice;
    m_realTimeAddrList = devType == SdriverDevice ? kSdriverListenedAddrs : QList<int>();

    const QVector<ItemDef> defs = itemDefs(devType);
    ui->statusStackedWidget->setCurrentWidget(defs.isEmpty() ? ui->page1 : ui->page2);
    for (int i = 0; i < kPageItems; ++i) {
        StatusSlot &slot = m_slots[i];
        const bool used = i < defs.size();
        slot.item = used ? defs.at(i).item : QVariantMap();
        slot.frame->setVisible(used);
        if (!used)
            continue;
        const ItemDef &def = defs.at(i);
        const bool lamp = StatusItem::isLamp(slot.item);
        slot.button->setText(def.caption);
        setIconIfChanged(slot.button, lamp ? m_ledGray : QIcon());
        // The unit goes after the value in the value label.
        slot.unit->setText(def.unit);
        slot.unit->hide();
        slot.value->setVisible(!lamp);
        if (def.width > 0) {
            slot.frame->setFixedWidth(def.width);
        } else {
            slot.frame->setMinimumWidth(0);
            slot.frame->setMaximumWidth(QWIDGETSIZE_MAX);
        }
        applyItemStyle(slot, devType);
    }

    // The other device types show the alarm item too, though they have no alarm register; type 3
    // and no device show none, since the address map may still hold another type's register.
    const bool otherDevice = devType >= OtherDevice1 && devType <= OtherDevice5;
    StatusSlot &alarm = m_slots.last();
    alarm.item = defs.isEmpty() && !otherDevice ? QVariantMap() : StatusItem::rawValue(addressOfEntry(kAlarmCodeEntry), QString(), 0);
    alarm.button->setText(tr("Alarm"));
    alarm.unit->clear();
    alarm.frame->setVisible(!defs.isEmpty() || otherDevice);

    // Until the poll reports, the items show what the cache knows. This is display only: the
    // detectors see real readings alone, so a rebuild neither repeats an alarm nor counts readings.
    // A register the type lacks is never polled, and its item shows no value.
    for (StatusSlot &slot : m_slots) {
        slot.addr = StatusItem::address(slot.item);
        slot.hasShown = false;
        const int addr = slot.addr;
        if (addr < 0)
            continue;
        const bool present = quint32(addr) != RegisterMap::Absent;
        if (present && !m_realTimeAddrList.contains(addr))
            m_realTimeAddrList.append(addr);
        showValue(slot, present ? cachedValue(addr) : 0);
    }
    const int alarmAddr = alarmAddress();
    m_lastAlarmCode = alarmAddr < 0 || quint32(alarmAddr) == RegisterMap::Absent ? 0 : cachedValue(alarmAddr);
    attachToPoller();
}

int StatusAreaFrame::alarmAddress() const
{
    return m_slots.last().addr;
}

// Texts made from a value (the alarm's "None", state names) are translated as they are drawn.
void StatusAreaFrame::changeEvent(QEvent *event)
{
    QFrame::changeEvent(event);
    if (event->type() != QEvent::LanguageChange)
        return;
    for (StatusSlot &slot : m_slots) {
        if (!slot.hasShown)
            continue;
        slot.hasShown = false;
        showValue(slot, slot.shownVal);
    }
}

void StatusAreaFrame::showValue(StatusSlot &slot, int val)
{
    if (slot.hasShown && slot.shownVal == val)
        return;
    slot.hasShown = true;
    slot.shownVal = val;
    const StatusItem::Shown shown = StatusItem::convert(slot.item, val, m_engine);
    if (shown.isLamp)
        setIconIfChanged(slot.button, shown.lit ? m_ledGreen : m_ledGray);
    QString text = shown.text;
    if (!slot.unit->text().isEmpty())
        text += QLatin1Char(' ') + slot.unit->text();
    if (&slot == &m_slots.last()) {
        const bool active = val != 0;
        if (!active)
            text = tr("None");
        setStyleSheetIfChanged(slot.button, alarmButtonStyle(active));
        setStyleSheetIfChanged(slot.value, alarmValueStyle(active));
    }
    slot.value->setText(text);
}

void StatusAreaFrame::refreshDisplay(int addr, int val)
{
    for (StatusSlot &slot : m_slots) {
        if (slot.addr == addr)
            showValue(slot, val);
    }
    detectAlarm(addr, val);
    detectTightening(addr, val);
}

void StatusAreaFrame::detectAlarm(int addr, int val)
{
    if (addr != alarmAddress())
        return;
    if (m_alarmTriggerEnabled && val > 0 && val != m_lastAlarmCode) {
        if (AlarmInfoFrame *page = AlarmInfoFrame::instance())
            page->appendAlarm(val);
        else
            qWarning() << "Alarm" << val << "not stored: there is no alarm page";
    }
    m_lastAlarmCode = val;
}

// A record is written once per change of Result to a nonzero code. The device holds its result,
// and the values that go with it, from the end of a cycle until the next cycle starts, which may
// follow the first reading of the result closely. So the values are asked for the moment the result
// is first seen: the poll reads Turns, Torque and Time each at another moment, partly before the
// cycle ended.
void StatusAreaFrame::detectTightening(int addr, int val)
{
    if (!m_recordTriggerEnabled || ComSettingsFrame::currentDevice() != SdriverDevice)
        return;
    if (addr == kResultAddr)
        onResultRead(val);
    else if (addr == kTurnsAddr || addr == kTimeAddr || addr == kTorqueAddr || addr == kTaskAddr || addr == alarmAddress())
        m_readings.insert(addr, val);
    // The values asked for are taken as soon as they are in, before the poll reads any of them again.
    if (m_fetchState == FetchState::Fetching)
        stepFetch();
}

void StatusAreaFrame::onResultRead(int val)
{
    if (m_fetchState == FetchState::Fetching) {
        m_movedOn |= val != m_pendingResult;
        return;
    }
    // Each slave holds its own last result: one already seen there is no new cycle when the user
    // comes back to it. A slave not read before starts from the result last seen.
    const ComSettingsFrame *com = ComSettingsFrame::instance();
    const QString link = com ? com->linkTarget() : QString();
    const int slave = ComSettingsFrame::currentSlave();
    if (link != m_resultLink || slave != m_resultSlave) {
        m_lastResultOf.insert({ m_resultLink, m_resultSlave }, m_lastResult);
        m_lastResult = m_lastResultOf.value({ link, slave }, m_lastResult);
        m_resultLink = link;
        m_resultSlave = slave;
    }
    if (val == m_lastResult)
        return;
    m_lastResult = val;
    if (val != 0)
        startFetch(val);
}

void StatusAreaFrame::startFetch(int result)
{
    m_pendingResult = result;
    m_readingsBefore = m_readings;
    m_movedOn = false;
    const Uint8 slave = Uint8(ComSettingsFrame::currentSlave());
    // Requests go out in turn, so the result and the alarm code are read after the block.
    if (!m_finalsWait.startRead(slave, Uint16(kTurnsAddr), kFinalsCount) || !m_resultWait.startRead(slave, Uint16(kResultAddr), 2)) {
        qWarning() << "Tightening result" << result << "stored with the values last polled: the device cannot be asked now";
        storeTightening();
        return;
    }
    m_fetchState = FetchState::Fetching;
    m_fetchTimer.start();
}

void StatusAreaFrame::stepFetch()
{
    switch (m_fetchState) {
    case FetchState::Idle:
        m_fetchTimer.stop();
        break;
    case FetchState::Fetching: {
        // check() may end either wait; both are asked before deciding.
        const bool finalsPending = m_finalsWait.check() == RegisterWait::Result::Pending;
        const bool resultPending = m_resultWait.check() == RegisterWait::Result::Pending;
        if (!finalsPending && !resultPending)
            storeTightening();
        break;
    }
    }
}

// The link goes, or the device or slave is about to change: a result still pending is stored now,
// under the device and slave that made it, and nothing read so far is taken for the next one's.
void StatusAreaFrame::onConnectionChanged(bool connected)
{
    if (!connected)
        onDeviceAboutToSwitch();
}

// A store may find a new result in what it read, and ask for that one's values: it is stored too,
// with the values known.
void StatusAreaFrame::onDeviceAboutToSwitch()
{
    while (m_fetchState == FetchState::Fetching)
        storeTightening();
    m_readings.clear();
}

void StatusAreaFrame::storePendingTightening(int waitMs)
{
    // Events are processed by hand: an event loop started while the program is quitting returns at
    // once. The fetch timer wakes each round while the values are awaited.
    const QDeadlineTimer deadline(waitMs);
    while (m_fetchState == FetchState::Fetching && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents | QEventLoop::WaitForMoreEvents);
    while (m_fetchState == FetchState::Fetching)
        storeTightening();
}

// The block is the result's own when the result still showed after it was read. If the device had
// moved on by then, the block may already be the next cycle's, which starts its time again: then
// the readings from before the result was seen are stored instead.
void StatusAreaFrame::storeTightening()
{
    const bool finalsRead = m_finalsWait.check() == RegisterWait::Result::Received;
    const bool resultRead = m_resultWait.check() == RegisterWait::Result::Received;
    const int resultAfter = resultRead ? m_resultWait.value(0) : m_pendingResult;
    const bool confirmed = finalsRead && resultRead && !m_movedOn && resultAfter == m_pendingResult;
    QHash<int, int> values = m_readingsBefore;
    const int finalTime = m_finalsWait.value(kTimeAddr - kTurnsAddr);
    if (finalsRead && (confirmed || finalTime >= values.value(kTimeAddr, 0))) {
        for (int addr : { kTurnsAddr, kTimeAddr, kTorqueAddr })
            values.insert(addr, m_finalsWait.value(addr - kTurnsAddr));
    }
    if (!confirmed)
        qWarning() << "Tightening result" << m_pendingResult << "stored with the values known: the device moved on or did not answer";
    // The alarm code lies right after the result, and is the result's own while the result still
    // shows; otherwise the last one polled.
    const int alarm = alarmAddress();
    if (resultRead && resultAfter == m_pendingResult && alarm == kResultAddr + 1)
        values.insert(alarm, m_resultWait.value(1));
    else if (m_readings.contains(alarm))
        values.insert(alarm, m_readings.value(alarm));
    values.insert(kResultAddr, m_pendingResult & 0xFFFF);

    m_fetchState = FetchState::Idle;
    m_fetchTimer.stop();
    m_finalsWait.reset();
    m_resultWait.reset();
    m_pendingResult = 0;

    // The record is built from the register cache: for it, the cache holds the cycle's values; the
    // live values are put back afterwards.
    QVector<QPair<Uint16, quint64>> live;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        live.append({ Uint16(it.key()), ComSettingsFrame::getRegisterEntry(Uint16(it.key())) });
        ComSettingsFrame::setRegister(Uint16(it.key()), Uint16(it.value()));
    }
    if (WorkRecordFrame *page = WorkRecordFrame::instance())
        page->appendRecord();
    else
        qWarning() << "Tightening result not stored: there is no work record page";
    for (const auto &entry : qAsConst(live)) {
        ComSettingsFrame::setRegister(entry.first, Uint16(entry.second & 0xFFFF));
        ComSettingsFrame::setRegisterStatus(entry.first, int(entry.second >> 32));
    }
    // What the device showed after the block counts as a Result reading of its own.
    if (resultRead)
        onResultRead(resultAfter);
}
