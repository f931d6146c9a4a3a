#include "servo/jogmodedialog.h"
#include "ui_jogmodedialog.h"

#include "comm/comsettingsframe.h"
#include "comm/registercache.h"
#include "data/databasemanager.h"
#include "widgets/prompt.h"
#include "widgets/rawtext.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDebug>
#include <QHeaderView>
#include <QIntValidator>
#include <QListView>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTableWidget>

#include <algorithm>
#include <limits>

namespace {
// Servo debug registers of axis 0; the motion block repeats every 400 registers, the servo block
// every 100. Addresses wrap at 16 bits, as on the device.
constexpr int kMotionStride = 400;
constexpr int kServoStride = 100;
constexpr Uint16 kClearAlarm = 30000;
constexpr Uint16 kMotion = 30001;
constexpr Uint16 kTarget = 30100;
constexpr Uint16 kAccel = 30102;
constexpr Uint16 kDecel = 30104;
constexpr Uint16 kSpeed = 30106;
constexpr Uint16 kPosition = 30202;
constexpr Uint16 kTorque = 56106;       // and the next register, which takes the same value
constexpr Uint16 kMode = 56110;
constexpr Uint16 kEnable = 56117;
constexpr Uint16 kModeSpeed = 56161;
constexpr Uint16 kDirection = 56170;
constexpr Uint16 kAlarm = 56901;

// The drive's own jog: address map entries and command words.
constexpr int kJogSpeedEntry = 30;      // type 3
constexpr int kJogDirectionEntry = 32;  // type 3
constexpr int kJogModeEntry = 33;       // type 3
constexpr int kJogEnableEntry = 36;     // type 3
constexpr int kAxisJogSpeedEntry = 37;  // type 2, per axis
constexpr int kJogCommandEntry = 43;    // type 2, per axis
constexpr Uint16 kJogStart = 514;
constexpr Uint16 kJogForward = 515;
constexpr Uint16 kJogReverse = 516;
constexpr Uint16 kJogStop = 517;
constexpr Uint16 kJogModeWord = 128;
constexpr Uint16 kJogForwardWord = 32;
constexpr Uint16 kJogReverseWord = 64;
constexpr Uint16 kJogIdleSpeed = 100;

enum Column { ColAxis = 0, ColPosition, ColMode, ColTorque, ColTarget1, ColTarget2, ColAccel, ColDecel, ColSpeed,
              ColModeSpeed, ColDirection, ColAlarm, ColEnable, ColumnCount };

constexpr qint64 kInt32Min = std::numeric_limits<qint32>::min();
constexpr qint64 kInt32Max = std::numeric_limits<qint32>::max();

// The editable cells, the row field each sets and the values the device can take: times and speeds
// that went negative would reach the drive as huge unsigned numbers.
struct EditableCell {
    int column;
    qint32 JogModeDialog::ServoDebugRow::*field;
    qint64 min;
    qint64 max;
};
const EditableCell kEditableCells[] = {
    { ColTorque, &JogModeDialog::ServoDebugRow::torqueOut, 0, 10000 },
    { ColTarget1, &JogModeDialog::ServoDebugRow::target1, kInt32Min, kInt32Max },
    { ColTarget2, &JogModeDialog::ServoDebugRow::target2, kInt32Min, kInt32Max },
    { ColAccel, &JogModeDialog::ServoDebugRow::accelTime, 0, kInt32Max },
    { ColDecel, &JogModeDialog::ServoDebugRow::decelTime, 0, kInt32Max },
    { ColSpeed, &JogModeDialog::ServoDebugRow::speed, 0, kInt32Max },
    { ColModeSpeed, &JogModeDialog::ServoDebugRow::speedModeSpeed, 0, 10000 },
};

const char kContext[] = "JogModeDialog";
const QString kCellComboStyle = QStringLiteral("QComboBox QAbstractItemView::item {\nheight: 30px;\n}");

QString raw(const char *source)
{
    return RawText::make(kContext, QString::fromUtf8(source));
}

Uint16 motionReg(Uint16 base, int axis)
{
    return Uint16(base + kMotionStride * axis);
}

Uint16 servoReg(Uint16 base, int axis)
{
    return Uint16(base + kServoStride * axis);
}

// Register values are the low 16 bits of the row fields.
void write16(Uint16 addr, qint32 value)
{
    ComSettingsFrame::writeRegister(addr, Uint16(value));
}

bool drivesOwnJog(DeviceEnum type)
{
    return type == LowVoltServo || type == TrelvoxServo;
}

Uint16 mapAddr(int entry)
{
    return Uint16(ComSettingsFrame::addrMap(entry));
}

// The cached value of a current-slave register, when its last request was answered.
bool received(Uint16 addr, Uint16 *value)
{
    const quint64 entry = ComSettingsFrame::getRegisterEntry(addr);
    *value = Uint16(entry);
    return (entry >> 32) == RegisterCache::Received;
}

void setItemEnabled(QTableWidgetItem *item, bool enabled)
{
    if (item)
        item->setFlags(enabled ? item->flags() | Qt::ItemIsEnabled : item->flags() & ~Qt::ItemIsEnabled);
}

// The dialog's motions as the guard knows them: the jog, each axis of the common run, and the writes
// that leave the selected axes at rest when the dialog is hidden.
const QString kJogKey = QStringLiteral("jog");
const QString kRestKey = QStringLiteral("rest");
const QString kRunKeyPrefix = QStringLiteral("run");

QString runKey(int axis)
{
    return kRunKeyPrefix + QString::number(axis);
}

MotionGuard *guard()
{
    return MotionGuard::instance();
}

// Motions go to the current slave; none starts where requests are refused.
bool canStart(int *slave)
{
    *slave = ComSettingsFrame::currentSlave();
    return guard() && ComSettingsFrame::acceptsRequests();
}
} // namespace

JogModeDialog::JogModeDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::JogModeDialog)
{
    ui->setupUi(this);
    resize(900, 550);

    ui->runTypeComboBox->addItem(raw("Continuous operation"));
    ui->runTypeComboBox->addItem(raw("Point operation"));
    ui->speedLabel_2->setText(raw("Mode"));
    ui->speedLabel->setText(raw("Speed"));
    ui->forwardButton->setText(raw("Anticlockwise"));
    ui->reverseButton->setText(raw("Clockwise"));

    for (QComboBox *combo : { static_cast<QComboBox *>(ui->runTypeComboBox), ui->modeComboBox, ui->runModeComboBox })
        combo->setView(new QListView(combo));
    m_axisGroup = new QButtonGroup(this);
    for (int id = 0; id < kAxisCount; ++id)
        m_axisGroup->addButton(findChild<QCheckBox *>(QStringLiteral("axis%1CheckBox").arg(id)), id);
    m_axisGroup->setExclusive(false);

    loadDebugRows();
    m_pointOperation = 0;
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &JogModeDialog::jogModeProcess);
    initWidgets();

    connect(m_axisGroup, &QButtonGroup::idToggled, this, &JogModeDialog::onAxisSelectChanged);
    ui->axis0CheckBox->setChecked(true);
    ui->topDialogButton->hide();
    setWindowFlags(Qt::WindowStaysOnTopHint);
    on_runTypeComboBox_currentIndexChanged(0);
}

JogModeDialog::~JogModeDialog()
{
    m_timer.stop();
    delete ui;
}

void JogModeDialog::initWidgets()
{
    ui->torqueOutLineEdit->setValidator(new QIntValidator(0, 10000, ui->torqueOutLineEdit));
    ui->speedSpinBox->setValue(200);
    ui->modeComboBox->hide();
    ui->label->hide();
    ui->torqueOutLineEdit->hide();

    // The operator picks the run pattern; it starts on single moves to target 1, so nothing goes
    // to and fro unless asked for.
    ui->runModeComboBox->setCurrentIndex(1);
    connect(ui->runModeComboBox, QOverload<int>::of(&QComboBox::currentIndexChanged), this, [this](int index) {
        static const int patterns[] = { Reciprocate, SingleToTarget1, SingleToTarget2 };
        m_runPattern = index >= 0 && index < 3 ? patterns[index] : SingleToTarget1;
    });
}

// Saved rows are matched by their axis, so a missing or extra row can never shift the settings, or
// the writes, of one axis onto another.
void JogModeDialog::loadDebugRows()
{
    const QList<RecordItem> &saved = DatabaseManager::instance()->servoDebugRows();
    m_rows.clear();
    for (int axis = 0; axis < kAxisCount; ++axis) {
        ServoDebugRow row = m_template;
        row.axis = axis;
        for (const RecordItem &record : saved) {
            bool ok = false;
            if (record.value(QStringLiteral("axis")).toString().toInt(&ok) != axis || !ok)
                continue;
            auto number = [&record](const char *column) { return record.value(QLatin1String(column)).toInt(); };
            row.target1 = number("min_value");
            row.target2 = number("max_value");
            row.accelTime = number("time_plus");
            row.decelTime = number("time_less");
            row.speed = number("speed");
            row.speedModeSpeed = number("s_speed");
            row.direction = number("s_direction");
            row.torqueOut = number("torqueout");
            ui->torqueOutLineEdit->setText(QString::number(row.torqueOut));
            break;
        }
        m_rows.append(row);
    }
}

QList<int> JogModeDialog::selectedAxes() const
{
    QList<int> axes;
    for (int id = 0; id < kAxisCount; ++id) {
        if (m_axisGroup->button(id)->isChecked())
            axes.append(id);
    }
    return axes;
}

void JogModeDialog::splitHighLow(qint32 value, Uint16 *high, Uint16 *low)
{
    const quint32 bits = quint32(value);
    *high = Uint16(bits >> 16);
    *low = Uint16(bits & 0xFFFF);
}

void JogModeDialog::write32(Uint16 addr, qint32 value)
{
    Uint16 high = 0;
    Uint16 low = 0;
    splitHighLow(value, &high, &low);
    ComSettingsFrame::writeRegister(addr, high);
    ComSettingsFrame::writeRegister(Uint16(addr + 1), low);
}

void JogModeDialog::writeTorque(int axis, qint32 torque)
{
    write16(servoReg(kTorque, axis), torque);
    write16(servoReg(kTorque + 1, axis), torque);
}

// --- page choice and visibility ---------------------------------------------------------------

void JogModeDialog::onDeviceChanged(DeviceEnum device)
{
    Q_UNUSED(device)   // the program-wide type is what the register map was filled for
    const bool drive = drivesOwnJog(ComSettingsFrame::currentDevice());
    setWindowTitle(drive ? tr("Jog调试模式") : tr("主站伺服调试"));
    ui->stackedWidget->setCurrentIndex(drive ? 0 : 1);
}

void JogModeDialog::on_stackedWidget_currentChanged(int arg1)
{
    // The page not shown must not hold the dialog at its own minimum size.
    for (int i = 0; i < ui->stackedWidget->count(); ++i) {
        const QSizePolicy::Policy policy = i == arg1 ? QSizePolicy::Preferred : QSizePolicy::Ignored;
        ui->stackedWidget->widget(i)->setSizePolicy(policy, policy);
    }
    layout()->activate();   // the new minimum now, before the resize below is held to the old one
    if (arg1 == 0)
        resize(300, 250);
    else
        resize(900, 550);
}

void JogModeDialog::showEvent(QShowEvent *event)
{
    // Nothing can run while the dialog is hidden, so listening from the first show is enough; the
    // communication page is built after this dialog.
    if (ComSettingsFrame *com = ComSettingsFrame::instance()) {
        connect(com, &ComSettingsFrame::linkStateChanged, this, &JogModeDialog::releaseMotion, Qt::UniqueConnection);
        connect(com->motionGuard(), &MotionGuard::released, this, &JogModeDialog::onMotionReleased, Qt::UniqueConnection);
        connect(com->motionGuard(), &MotionGuard::stopFailed, this, &JogModeDialog::onStopFailed, Qt::UniqueConnection);
    }
    on_stackedWidget_currentChanged(ui->stackedWidget->currentIndex());
    m_pollState = PollState::Request;
    m_timer.start(kTickMs);
    QDialog::showEvent(event);
}

void JogModeDialog::hideEvent(QHideEvent *event)
{
    // Nobody is left to stop a jog or a move that keeps going on its own, and a to-and-fro run must
    // not pick up again when the dialog comes back.
    stopMotion();
    int slave = 0;
    if (!drivesOwnJog(ComSettingsFrame::currentDevice()) && canStart(&slave)) {
        MotionGuard::Stops rest;
        for (int axis : selectedAxes())
            rest << MotionGuard::StopWrite { servoReg(kMode, axis), 0 } << MotionGuard::StopWrite { servoReg(kModeSpeed, axis), 0 }
                 << MotionGuard::StopWrite { servoReg(kDirection, axis), 0 };
        guard()->sendStops(kRestKey, Uint8(slave), rest);
    }
    m_timer.stop();
    QDialog::hideEvent(event);
}

void JogModeDialog::on_topDialogButton_clicked(bool checked)
{
    setWindowFlags(checked ? windowFlags() | Qt::WindowStaysOnTopHint : Qt::WindowFlags());
    show();
}

// --- jog --------------------------------------------------------------------------------------

void JogModeDialog::on_runTypeComboBox_currentIndexChanged(int index)
{
    // A continuous jog would run on unseen once its button stops being a toggle.
    haltRunningJog();
    m_pointOperation = index != 0 ? 1 : 0;
    for (QAbstractButton *button : { static_cast<QAbstractButton *>(ui->reverseButton), static_cast<QAbstractButton *>(ui->forwardButton) }) {
        button->setCheckable(index == 0);
        // No auto-repeat: holding the button would toggle a continuous jog on and off, or send
        // stop and start pairs in point operation.
        button->setAutoRepeat(false);
    }
}

void JogModeDialog::on_forwardButton_pressed()
{
    pressJog(true);
}

void JogModeDialog::on_reverseButton_pressed()
{
    pressJog(false);
}

void JogModeDialog::on_forwardButton_released()
{
    if (m_pointOperation == 1)
        stopJog();
}

void JogModeDialog::on_reverseButton_released()
{
    if (m_pointOperation == 1)
        stopJog();
}

void JogModeDialog::on_forwardButton_clicked(bool checked)
{
    Q_UNUSED(checked)
    clickJog(ui->forwardButton, ui->reverseButton, true);
}

void JogModeDialog::on_reverseButton_clicked(bool checked)
{
    Q_UNUSED(checked)
    clickJog(ui->reverseButton, ui->forwardButton, false);
}

void JogModeDialog::pressJog(bool forward)
{
    if (m_pointOperation == 1)
        startJog(forward);
}

void JogModeDialog::clickJog(QAbstractButton *button, QAbstractButton *other, bool forward)
{
    if (m_pointOperation != 0)
        return;
    const bool on = button->isChecked();
    if (on)
        startJog(forward);
    else
        stopJog();
    if (on)
        other->setChecked(false);
}

// Type 2 starts here; its direction and speed follow on every tick while a button is active.
void JogModeDialog::startJog(bool forward)
{
    int slave = 0;
    if (!canStart(&slave))
        return;
    const int speed = ui->speedSpinBox->value();
    const ComSettingsFrame *com = ComSettingsFrame::instance();
    m_jogAxis = com ? com->currentAxis() : 0;
    m_jogForward = forward;
    switch (ComSettingsFrame::currentDevice()) {
    case LowVoltServo:
        m_repeat.reset();
        ComSettingsFrame::writeRegister(driveJogAddr(kJogCommandEntry), kJogStart);
        break;
    case TrelvoxServo:
        if (speed < 1)
            return;
        ComSettingsFrame::writeRegister(mapAddr(kJogEnableEntry), 1);
        write16(mapAddr(kJogSpeedEntry), speed);
        ComSettingsFrame::writeRegister(mapAddr(kJogModeEntry), kJogModeWord);
        ComSettingsFrame::writeRegister(mapAddr(kJogDirectionEntry), forward ? kJogForwardWord : kJogReverseWord);
        break;
    default:
        if (speed < 0)
            return;
        driveSelectedAxes(speed, forward);
        break;
    }
    guard()->started(kJogKey, Uint8(slave), jogStops());
}

// The stop of the jog as it was started: its axis, its selected axes and its way of running.
MotionGuard::Stops JogModeDialog::jogStops() const
{
    MotionGuard::Stops stops;
    switch (ComSettingsFrame::currentDevice()) {
    case LowVoltServo:
        stops << MotionGuard::StopWrite { driveJogAddr(kJogCommandEntry), kJogStop };
        break;
    case TrelvoxServo:
        stops << MotionGuard::StopWrite { mapAddr(kJogSpeedEntry), kJogIdleSpeed }
              << MotionGuard::StopWrite { mapAddr(kJogDirectionEntry), 0 } << MotionGuard::StopWrite { mapAddr(kJogEnableEntry), 0 };
        break;
    default:
        for (int axis : selectedAxes()) {
            if (m_pointOperation == 0)
                stops << MotionGuard::StopWrite { servoReg(kMode, axis), 1 };
            stops << MotionGuard::StopWrite { servoReg(kModeSpeed, axis), 0 };
            if (m_pointOperation == 0)
                stops << MotionGuard::StopWrite { servoReg(kDirection, axis), Uint16(m_jogForward ? 0 : 1) };
        }
        break;
    }
    return stops;
}

// A jog the guard does not know as running (its start was refused, or it was stopped already) is
// stopped all the same when the user asks, on the current axis.
void JogModeDialog::stopJog()
{
    if (!guard())
        return;
    if (guard()->isRunning(kJogKey)) {
        guard()->stop(kJogKey);
        return;
    }
    int slave = 0;
    if (!canStart(&slave))
        return;
    const ComSettingsFrame *com = ComSettingsFrame::instance();
    m_jogAxis = com ? com->currentAxis() : 0;
    guard()->sendStops(kJogKey, Uint8(slave), jogStops());
}

void JogModeDialog::haltRunningJog()
{
    QAbstractButton *forward = ui->forwardButton;
    QAbstractButton *reverse = ui->reverseButton;
    const bool pressed = forward->isChecked() || reverse->isChecked() || forward->isDown() || reverse->isDown();
    if (!pressed && !(guard() && guard()->isRunning(kJogKey)))
        return;
    stopJog();
    releaseJogButtons();
}

void JogModeDialog::stopMotion()
{
    stopRun();
    haltRunningJog();
    releaseMotion();
}

void JogModeDialog::releaseMotion()
{
    releaseJogButtons();
    m_runAxes.clear();
    ui->commonRunButton->setChecked(false);
    ui->commonRunButton->setText(tr("运行"));
}

// The guard stopped the motion itself (a close, a switch of device or slave) or lost its link.
void JogModeDialog::onMotionReleased(const QString &key)
{
    if (key == kJogKey)
        releaseJogButtons();
    else if (key.startsWith(kRunKeyPrefix))
        releaseMotion();
}

void JogModeDialog::onStopFailed(const QString &key)
{
    if (key == kJogKey || key.startsWith(kRunKeyPrefix))
        Prompt::warning(this, tr("Warning"), tr("The drive did not answer the stop: it may still be moving!"));
}

void JogModeDialog::releaseJogButtons()
{
    for (QAbstractButton *button : { static_cast<QAbstractButton *>(ui->forwardButton), static_cast<QAbstractButton *>(ui->reverseButton) }) {
        button->setChecked(false);
        if (button->isDown()) {
            // A button still held would count as pressed again at the next mouse move; the
            // release it is sent here ends the hold without a signal.
            button->setDown(false);
            QMouseEvent up(QEvent::MouseButtonRelease, QPointF(-1, -1), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(button, &up);
        }
    }
}

void JogModeDialog::driveSelectedAxes(int speed, bool forward)
{
    for (int axis : selectedAxes()) {
        write16(servoReg(kMode, axis), 1);
        write16(servoReg(kModeSpeed, axis), speed);
        write16(servoReg(kDirection, axis), forward ? 0 : 1);
    }
}

void JogModeDialog::writeSpeedToSelectedAxes(int speed)
{
    if (speed < 0)
        return;
    for (int axis : selectedAxes())
        write16(servoReg(kModeSpeed, axis), speed);
}

void JogModeDialog::on_speedSpinBox_editingFinished()
{
    if (!drivesOwnJog(ComSettingsFrame::currentDevice()))
        writeSpeedToSelectedAxes(ui->speedSpinBox->value());
}

Uint16 JogModeDialog::driveJogAddr(int entry) const
{
    return Uint16(ComSettingsFrame::addrMap(entry) + quint32(ComSettingsFrame::axisAddrStride() * m_jogAxis));
}

// The type-2 drive wants its direction and speed again and again while it jogs.
void JogModeDialog::refreshDriveJog()
{
    if (ComSettingsFrame::currentDevice() != LowVoltServo)
        return;
    const bool forward = ui->forwardButton->isChecked() || ui->forwardButton->isDown();
    const bool reverse = ui->reverseButton->isChecked() || ui->reverseButton->isDown();
    if (!forward && !reverse)
        return;
    // On a link slower than the tick, repeats would pile up in front of the stop.
    const int slave = ComSettingsFrame::currentSlave();
    if (m_repeat.check() == RegisterWait::Result::Pending || !ComSettingsFrame::isValidSlave(slave))
        return;
    write16(driveJogAddr(kAxisJogSpeedEntry), ui->speedSpinBox->value());
    m_repeat.startWrite(Uint8(slave), driveJogAddr(kJogCommandEntry), forward ? kJogForward : kJogReverse, kReadLimitMs);
}

// --- periodic work ----------------------------------------------------------------------------

void JogModeDialog::jogModeProcess()
{
    switch (ui->stackedWidget->currentIndex()) {
    case 0:
        refreshDriveJog();
        break;
    case 1:
        pollAxes();
        break;
    default:
        break;
    }
}

// One round asks four blocks per selected axis and is read out when every block has arrived or
// failed; a new round is asked only then, so requests never pile up behind a slow link.
void JogModeDialog::pollAxes()
{
    switch (m_pollState) {
    case PollState::Wait:
        for (int i = 0; i < m_readCount; ++i) {
            if (m_reads[i].check() == RegisterWait::Result::Pending)
                return;
        }
        applyReadings();
        Q_FALLTHROUGH();
    case PollState::Request:
        requestReadings();
        break;
    }
}

void JogModeDialog::requestReadings()
{
    ++m_round;
    m_readCount = 0;
    m_pollState = PollState::Wait;
    const int slave = ComSettingsFrame::currentSlave();
    if (!ComSettingsFrame::isValidSlave(slave))
        return;
    const Uint8 unit = Uint8(slave);
    for (int axis : selectedAxes()) {
        m_reads[m_readCount++].startRead(unit, motionReg(kPosition, axis), 2, kReadLimitMs);
        m_reads[m_readCount++].startRead(unit, motionReg(kMotion, axis), 1, kReadLimitMs);
        m_reads[m_readCount++].startRead(unit, servoReg(kAlarm, axis), 1, kReadLimitMs);
        m_reads[m_readCount++].startRead(unit, servoReg(kEnable, axis), 1, kReadLimitMs);
    }
}

void JogModeDialog::applyReadings()
{
    const QList<int> axes = selectedAxes();
    for (int row = 0; row < axes.size(); ++row) {
        const int axis = axes.at(row);
        ServoDebugRow &entry = m_rows[axis];
        Uint16 high = 0;
        Uint16 low = 0;
        if (received(motionReg(kPosition, axis), &high) && received(motionReg(kPosition + 1, axis), &low)) {
            entry.currentValue = qint32(quint32(high) << 16 | low);
            setCurrentPositionCell(row, entry.currentValue);
        }
        Uint16 value = 0;
        if (m_round >= m_freshRound[axis] && received(motionReg(kMotion, axis), &value))
            entry.motionState = value;
        if (received(servoReg(kAlarm, axis), &value))
            entry.alarmCode = value;
        setAlarmCell(row, entry.alarmCode);

        // A value not received this round still shows what the cache last held.
        const bool enabledReceived = received(servoReg(kEnable, axis), &value);
        entry.enabled = value == 1 ? 1 : 0;
        if (enabledReceived && entry.enabled)
            ui->servoEnableButton->setChecked(true);
        if (auto *button = qobject_cast<QAbstractButton *>(ui->tableWidget->cellWidget(row, ColEnable)))
            button->setChecked(entry.enabled);

        if (m_runPattern == Reciprocate && m_runAxes.contains(axis) && m_runMode[axis] == 0 && entry.motionState == 0)
            startMove(axis, m_lastTarget[axis] == 1 ? 2 : 1, false);
    }
}

void JogModeDialog::startMove(int axis, int targetIndex, bool withProfile)
{
    ServoDebugRow &row = m_rows[axis];
    write32(motionReg(kTarget, axis), targetIndex == 2 ? row.target2 : row.target1);
    if (withProfile) {
        write32(motionReg(kAccel, axis), row.accelTime);
        write32(motionReg(kDecel, axis), row.decelTime);
        write32(motionReg(kSpeed, axis), row.speed);
    }
    ComSettingsFrame::writeRegister(motionReg(kMotion, axis), 1);
    m_lastTarget[axis] = targetIndex;
    // Moving until a round asked after this start says otherwise.
    row.motionState = 1;
    m_freshRound[axis] = m_round + 1;
}

MotionGuard::Stops JogModeDialog::runStops(int axis) const
{
    if (m_runMode[axis] == 1)
        return { { servoReg(kModeSpeed, axis), 0 } };
    return { { motionReg(kMotion, axis), 0 } };
}

void JogModeDialog::stopRun()
{
    for (int axis : qAsConst(m_runAxes)) {
        if (guard())
            guard()->stop(runKey(axis));
    }
    m_runAxes.clear();
}

void JogModeDialog::stopAxis(int axis)
{
    if (!m_runAxes.removeAll(axis))
        return;
    if (guard())
        guard()->stop(runKey(axis));
    if (m_runAxes.isEmpty()) {
        ui->commonRunButton->setChecked(false);
        ui->commonRunButton->setText(tr("运行"));
    }
}

// --- buttons of page 1 ------------------------------------------------------------------------

void JogModeDialog::on_commonRunButton_clicked(bool checked)
{
    const QList<int> axes = selectedAxes();
    if (checked) {
        int slave = 0;
        const bool starts = canStart(&slave);
        for (int axis : axes) {
            writeTorque(axis, m_rows.at(axis).torqueOut);
            write16(servoReg(kMode, axis), m_rows.at(axis).mode);
        }
        ui->commonRunButton->setText(tr("停止"));
        for (int axis : axes) {
            const ServoDebugRow &row = m_rows.at(axis);
            if (row.mode == 1) {
                write16(servoReg(kMode, axis), 1);
                writeTorque(axis, row.torqueOut);
                write16(servoReg(kModeSpeed, axis), row.speedModeSpeed);
                write16(servoReg(kDirection, axis), row.direction);
            } else {
                startMove(axis, m_runPattern == SingleToTarget2 ? 2 : 1, true);
            }
            if (starts) {
                m_runAxes << axis;
                m_runMode[axis] = row.mode;
                guard()->started(runKey(axis), Uint8(slave), runStops(axis));
            }
        }
    } else {
        ui->commonRunButton->setText(tr("运行"));
        stopRun();
    }
    saveDebugRows();
}

void JogModeDialog::on_servoEnableButton_clicked(bool checked)
{
    const QList<int> axes = selectedAxes();
    if (checked) {
        const Uint16 torque = ui->torqueOutLineEdit->text().toUShort();
        for (int axis : axes)
            writeTorque(axis, torque);
        for (int axis : axes)
            write16(servoReg(kEnable, axis), 1);
    } else {
        for (int axis : axes)
            write16(servoReg(kEnable, axis), 0);
    }
}

void JogModeDialog::on_torqueOutLineEdit_editingFinished()
{
    const Uint16 torque = ui->torqueOutLineEdit->text().toUShort();
    for (int axis : selectedAxes())
        writeTorque(axis, torque);
    saveDebugRows();
}

void JogModeDialog::on_clearAlarmButton_clicked(bool checked)
{
    Q_UNUSED(checked)
    for (int axis : selectedAxes())
        ComSettingsFrame::writeRegister(motionReg(kClearAlarm, axis), 1);
}

void JogModeDialog::on_modeComboBox_currentIndexChanged(int index)
{
    // A run is stopped in the mode it runs in before the mode changes under it.
    stopRun();
    for (int axis : selectedAxes())
        write16(servoReg(kMode, axis), index == 0 ? 1 : 0);
    ui->commonRunButton->setText(tr("运行"));
    ui->commonRunButton->setChecked(false);
    rebuildTable();
}

void JogModeDialog::onAxisSelectChanged(int id, bool checked)
{
    if (selectedAxes().isEmpty()) {
        // One axis always stays selected; the click comes back here checked.
        m_axisGroup->button(id)->click();
        return;
    }
    // An axis taken out of a run would otherwise keep going with nothing left to stop it.
    if (!checked && ui->commonRunButton->isChecked())
        stopAxis(id);
    rebuildTable();
    ui->servoEnableButton->setChecked(false);
}

// --- table ------------------------------------------------------------------------------------

void JogModeDialog::rebuildTable()
{
    QTableWidget *table = ui->tableWidget;
    const QList<int> axes = selectedAxes();
    {
        const QSignalBlocker block(table);
        table->setRowCount(0);
        table->setRowCount(axes.size());
        table->setColumnCount(ColumnCount);
        table->setHorizontalHeaderLabels({ tr("轴号"), tr("当前位置"), tr("模式"), tr("转矩"), tr("目标位置1"),
                                           tr("目标位置2"), tr("加速时间(ms)"), tr("减速时间(ms)"),
                                           tr("速度(r/min)"), tr("速度(r/min)"), tr("方向"), tr("报警"),
                                           tr("伺服使能") });
        table->horizontalHeader()->setVisible(true);
        table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

        for (int row = 0; row < axes.size(); ++row) {
            const int axis = axes.at(row);
            const ServoDebugRow &entry = m_rows.at(axis);

            auto *axisItem = new QTableWidgetItem(QString::number(entry.axis));
            axisItem->setFlags(Qt::ItemIsSelectable);
            axisItem->setTextAlignment(Qt::AlignCenter);
            axisItem->setForeground(QColor(0, 150, 0));
            table->setItem(row, ColAxis, axisItem);
            setCurrentPositionCell(row, entry.currentValue);

            auto makeCombo = [table](const QStringList &items, int current) {
                auto *combo = new QComboBox(table);
                combo->setStyleSheet(kCellComboStyle);
                combo->setView(new QListView(combo));
                combo->addItems(items);
                combo->setCurrentIndex(current);
                return combo;
            };
            QComboBox *modeCombo = makeCombo({ tr("位置模式"), tr("速度模式") }, entry.mode);
            connect(modeCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                    [this, row, axis](int index) { onModeCellChanged(row, axis, index); });
            table->setCellWidget(row, ColMode, modeCombo);

            const qint32 values[] = { entry.torqueOut, entry.target1, entry.target2, entry.accelTime,
                                      entry.decelTime, entry.speed, entry.speedModeSpeed };
            for (int i = 0; i < int(sizeof values / sizeof values[0]); ++i) {
                auto *item = new QTableWidgetItem(QString::number(values[i]));
                item->setTextAlignment(Qt::AlignCenter);
                table->setItem(row, ColTorque + i, item);
            }

            QComboBox *directionCombo = makeCombo({ tr("正"), tr("反") }, entry.direction);
            connect(directionCombo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                    [this, axis](int index) { onDirectionCellChanged(axis, index); });
            table->setCellWidget(row, ColDirection, directionCombo);

            setAlarmCell(row, entry.alarmCode);

            auto *enableButton = new QPushButton(tr("使能"), table);
            enableButton->setCheckable(true);
            enableButton->setChecked(entry.enabled == 1);
            connect(enableButton, &QPushButton::clicked, this,
                    [this, axis](bool checked) { onEnableCellClicked(axis, checked); });
            table->setCellWidget(row, ColEnable, enableButton);
        }
    }
    for (int row = 0; row < axes.size(); ++row)
        onModeCellChanged(row, axes.at(row), m_rows.at(axes.at(row)).mode);
}

void JogModeDialog::setCurrentPositionCell(int row, int value)
{
    QTableWidget *table = ui->tableWidget;
    const QSignalBlocker block(table);
    QTableWidgetItem *item = table->item(row, ColPosition);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsSelectable);
        item->setTextAlignment(Qt::AlignCenter);
        item->setForeground(QColor(220, 20, 60));
        table->setItem(row, ColPosition, item);
    }
    item->setText(QString::number(value));
}

void JogModeDialog::setAlarmCell(int row, int alarmCode)
{
    QTableWidget *table = ui->tableWidget;
    const QSignalBlocker block(table);
    QTableWidgetItem *item = table->item(row, ColAlarm);
    if (!item) {
        item = new QTableWidgetItem;
        item->setFlags(Qt::ItemIsSelectable);
        table->setItem(row, ColAlarm, item);
    }
    const RecordItem detail = DatabaseManager::instance()->findAlarmDetail(alarmCode);
    const QString name = detail.value(QStringLiteral("name")).toString();
    item->setText(name.isEmpty() ? tr("无") : name);
    item->setForeground(name.isEmpty() ? QColor(0, 0, 0) : QColor(220, 20, 60));
    item->setToolTip(detail.value(QStringLiteral("reason")).toString());
}

void JogModeDialog::onModeCellChanged(int row, int axis, int mode)
{
    m_rows[axis].mode = mode;
    // An axis of the run keeps the mode it runs in; another mode first stops it in that one.
    if (m_runAxes.contains(axis) && mode != m_runMode[axis])
        stopAxis(axis);
    if (!m_runAxes.contains(axis))
        write16(servoReg(kMode, axis), mode);
    QTableWidget *table = ui->tableWidget;
    const QSignalBlocker block(table);
    for (int column = ColTarget1; column <= ColSpeed; ++column)
        setItemEnabled(table->item(row, column), mode == 0);
    setItemEnabled(table->item(row, ColModeSpeed), mode == 1);
    if (QWidget *direction = table->cellWidget(row, ColDirection))
        direction->setEnabled(mode == 1);
}

void JogModeDialog::onDirectionCellChanged(int axis, int direction)
{
    m_rows[axis].direction = direction;
    write16(servoReg(kMode, axis), 1);
    write16(servoReg(kDirection, axis), direction);
}

// The torque is the row's as it stands now, edits since the table was built included.
void JogModeDialog::onEnableCellClicked(int axis, bool checked)
{
    if (checked) {
        writeTorque(axis, m_rows.at(axis).torqueOut);
        write16(servoReg(kEnable, axis), 1);
    } else {
        write16(servoReg(kModeSpeed, axis), 0);
        write16(servoReg(kEnable, axis), 0);
    }
}

void JogModeDialog::on_tableWidget_itemChanged(QTableWidgetItem *item)
{
    if (!item)
        return;
    QTableWidget *table = ui->tableWidget;
    static const QRegularExpression notAxisText(QStringLiteral("[^A-Za-z0-9一-龥]"));
    const QTableWidgetItem *axisItem = table->item(item->row(), ColAxis);
    bool ok = false;
    const int axis = axisItem ? QString(axisItem->text()).remove(notAxisText).toInt(&ok) : -1;
    if (!ok || axis < 0 || axis >= kAxisCount) {
        qWarning() << "JogModeDialog: no axis for the edited row" << item->row();
        return;
    }
    ServoDebugRow &row = m_rows[axis];
    for (const EditableCell &cell : kEditableCells) {
        if (cell.column != item->column())
            continue;
        // Text that is no number counts as 0, and the cell says so; a number the device cannot
        // take is refused and the cell shows what still holds.
        const qint64 value = item->text().trimmed().toLongLong(&ok);
        if (ok && (value < cell.min || value > cell.max)) {
            qWarning() << "JogModeDialog: refused" << item->text() << "for axis" << axis << "column" << cell.column;
            const QSignalBlocker block(table);
            item->setText(QString::number(row.*cell.field));
            return;
        }
        row.*cell.field = ok ? qint32(value) : 0;
        if (!ok) {
            const QSignalBlocker block(table);
            item->setText(QStringLiteral("0"));
        }
        if (cell.column == ColModeSpeed)
            write16(servoReg(kModeSpeed, axis), row.speedModeSpeed);
        return;
    }
}

void JogModeDialog::saveDebugRows()
{
    DatabaseManager *db = DatabaseManager::instance();
    for (const ServoDebugRow &row : qAsConst(m_rows)) {
        db->updateServoDebug({ row.axis, row.currentValue, row.target1, row.target2, row.accelTime, row.decelTime,
                               row.speed, row.speedModeSpeed, row.direction, row.torqueOut });
    }
}
