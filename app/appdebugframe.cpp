#include "app/appdebugframe.h"
#include "ui_appdebugframe.h"

#include "app/iomonitorframe.h"
#include "comm/comsettingsframe.h"
#include "comm/motionguard.h"
#include "widgets/prompt.h"

#include <QListView>
#include <QSignalBlocker>

namespace {
constexpr int kSpeedAddr = 3078;
constexpr int kTorqueAddr = 3079;
constexpr Uint16 kStartStopAddr = 3346;
constexpr Uint16 kDirectionAddr = 3654;
constexpr int kEndOfPassAddr = 65535;
constexpr int kIoControl = 1;
// The screwdriver runs from a start until a stop reaches it, wherever the user has gone meanwhile.
const QString kSdriverKey = QStringLiteral("sdriver");
} // namespace

AppDebugFrame::AppDebugFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::AppDebugFrame)
{
    // The form checks "forward" before its slots are connected: building the page writes nothing.
    ui->setupUi(this);
    ui->sdriverCtrlWayCoBox->setView(new QListView(ui->sdriverCtrlWayCoBox));   // lets the item style apply

    QStringList inputs;
    QStringList outputs;
    for (int i = 0; i < 5; ++i)
        inputs << tr("DI%1").arg(i);
    for (int i = 0; i < 3; ++i)
        outputs << tr("DO%1").arg(i);
    m_diGroup.reset(IOMonitorFrame::createLedLabels(ui->inputMonitorGroup, inputs, 16, 16));
    m_doGroup.reset(IOMonitorFrame::createLedLabels(ui->outputMonitorGroup, outputs, 16, 16));
    followMotionStops();
}

AppDebugFrame::~AppDebugFrame()
{
    // Destroyed while shown (the program closing on this page): the poll must not outlive the lamps.
    if (isVisible()) {
        if (IOMonitorFrame *io = IOMonitorFrame::instance)
            io->setMonitorEnabled(false);
    }
    if (m_variableMonitorOn)
        setVariableMonitorEnabled(&m_variableAddrs, false);
    delete ui;
}

void AppDebugFrame::onDeviceChanged(DeviceEnum devType)
{
    if (devType == NoDevice)
        return;
    // Swap the lent addresses rather than leave the old type's on the shared list for good.
    const bool monitoring = m_variableMonitorOn;
    if (monitoring)
        setVariableMonitorEnabled(&m_variableAddrs, false);
    m_variableAddrs.clear();
    if (devType == SdriverDevice)
        m_variableAddrs << kDirectionAddr;
    if (monitoring)
        setVariableMonitorEnabled(&m_variableAddrs, true);
    ui->stackedWidget->setVisible(devType == SdriverDevice);
}

void AppDebugFrame::refreshDisplay(int addr, int val)
{
    switch (addr) {
    case kTorqueAddr:
        ui->curTorqueLable->setText(QString::number(val / 1000.0, 'g', 6));
        break;
    case kSpeedAddr:
        ui->curSpeedLable->setText(QString::number(val));
        break;
    case kDirectionAddr: {
        // Showing the device's direction must not write it back.
        const QSignalBlocker forward(ui->forwardChkBox);
        const QSignalBlocker reverse(ui->reverseChkBox);
        if (val == 0)
            ui->forwardChkBox->setChecked(true);
        else if (val == 1)
            ui->reverseChkBox->setChecked(true);
        break;
    }
    case kEndOfPassAddr:
        setVariableMonitorEnabled(&m_variableAddrs, false);   // read once per showing
        break;
    default:
        break;
    }
}

void AppDebugFrame::on_sdriverStartButton_clicked(bool checked)
{
    if (ui->sdriverCtrlWayCoBox->currentIndex() == kIoControl) {
        if (checked) {
            ui->sdriverStartButton->click();   // pops back up; the nested call does nothing
            Prompt::warning(this, tr("Tips"), tr("Please select PC control first!"));
        }
        return;
    }
    MotionGuard *guard = MotionGuard::instance();
    const int slave = ComSettingsFrame::currentSlave();
    if (ComSettingsFrame::writeRegister(kStartStopAddr, 1) && guard)
        guard->started(kSdriverKey, Uint8(slave), { { kStartStopAddr, 0 } });
}

// The start button is released without its click, which would send a start just before the stop.
void AppDebugFrame::on_sdriverStopButton_clicked()
{
    releaseStartButton();
    MotionGuard *guard = MotionGuard::instance();
    if (guard && guard->isRunning(kSdriverKey))
        guard->stop(kSdriverKey);
    else
        ComSettingsFrame::writeRegister(kStartStopAddr, 0);
}

// The guard stopped the screwdriver (a close, a switch of device or slave) or the link changed:
// the start button shows it stopped, without a click that would start it again.
void AppDebugFrame::releaseStartButton()
{
    const QSignalBlocker block(ui->sdriverStartButton);
    ui->sdriverStartButton->setChecked(false);
}

void AppDebugFrame::on_forwardChkBox_toggled(bool checked)
{
    if (checked)
        ComSettingsFrame::writeRegister(kDirectionAddr, 0);
}

void AppDebugFrame::on_reverseChkBox_toggled(bool checked)
{
    if (checked)
        ComSettingsFrame::writeRegister(kDirectionAddr, 1);
}

void AppDebugFrame::setVariableMonitorEnabled(QList<int> *addrs, bool on)
{
    m_variableMonitorOn = on;
    if (ComSettingsFrame *com = ComSettingsFrame::instance())
        com->monitorVariableAddrs(this, &AppDebugFrame::refreshDisplay, addrs ? *addrs : QList<int>(), on);
}

void AppDebugFrame::showEvent(QShowEvent *event)
{
    if (ComSettingsFrame *com = ComSettingsFrame::instance())
        connect(com, &ComSettingsFrame::realTimeAddrRead, this, &AppDebugFrame::refreshDisplay, Qt::UniqueConnection);
    followMotionStops();
    setVariableMonitorEnabled(&m_variableAddrs, true);
    if (IOMonitorFrame *io = IOMonitorFrame::instance)
        io->setMonitorEnabled(true, &m_diGroup->leds, &m_doGroup->leds);
    QFrame::showEvent(event);
}

void AppDebugFrame::hideEvent(QHideEvent *event)
{
    if (ComSettingsFrame *com = ComSettingsFrame::instance())
        disconnect(com, &ComSettingsFrame::realTimeAddrRead, this, &AppDebugFrame::refreshDisplay);
    setVariableMonitorEnabled(&m_variableAddrs, false);
    if (IOMonitorFrame *io = IOMonitorFrame::instance)
        io->setMonitorEnabled(false);
    QFrame::hideEvent(event);
}

// Kept while hidden: the screwdriver may run on when the user goes to another page. The
// communication page may come after this page, so showing it tries again.
void AppDebugFrame::followMotionStops()
{
    ComSettingsFrame *com = ComSettingsFrame::instance();
    if (!com)
        return;
    connect(com, &ComSettingsFrame::linkStateChanged, this, &AppDebugFrame::releaseStartButton, Qt::UniqueConnection);
    connect(com->motionGuard(), &MotionGuard::released, this, &AppDebugFrame::onMotionReleased, Qt::UniqueConnection);
    connect(com->motionGuard(), &MotionGuard::stopFailed, this, &AppDebugFrame::onStopFailed, Qt::UniqueConnection);
}

void AppDebugFrame::onMotionReleased(const QString &key)
{
    if (key == kSdriverKey)
        releaseStartButton();
}

void AppDebugFrame::onStopFailed(const QString &key)
{
    if (key == kSdriverKey)
        Prompt::warning(this, tr("Tips"), tr("The screwdriver did not answer the stop: it may still be running!"));
}
