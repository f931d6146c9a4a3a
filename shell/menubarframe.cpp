#include "shell/menubarframe.h"
#include "ui_menubarframe.h"

#include "comm/comsettingsframe.h"
#include "comm/motionguard.h"
#include "comm/registermap.h"
#include "data/datasource.h"
#include "shell/platform.h"
#include "widgets/prompt.h"
#include "widgets/rawtext.h"
#include "widgets/vxaction.h"

#include <QButtonGroup>
#include <QDebug>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QListView>
#include <QMenu>
#include <QSignalBlocker>
#include <QScopedValueRollback>
#include <QVector>

MenuBarFrame *MenuBarFrame::s_instance = nullptr;

namespace {
const char kContext[] = "MenuBarFrame";
const char kAdminPassword[] = "52917";

constexpr Uint16 kTaskRegister = 3072;
constexpr Uint16 kFirstCtrlRegister = 3073;   // Lock; Unlock and Free follow
constexpr int kClearAlarmEntry = 25;

struct CtrlTexts {
    const char *start;
    const char *stop;
};
const CtrlTexts kCtrlTexts[3] = {
    { QT_TRANSLATE_NOOP("MenuBarFrame", "Lock Start"), QT_TRANSLATE_NOOP("MenuBarFrame", "Lock Stop") },
    { QT_TRANSLATE_NOOP("MenuBarFrame", "Unlock Start"), QT_TRANSLATE_NOOP("MenuBarFrame", "Unlock Stop") },
    { QT_TRANSLATE_NOOP("MenuBarFrame", "Free Start"), QT_TRANSLATE_NOOP("MenuBarFrame", "Free Stop") },
};
const char *const kAppParamText = QT_TRANSLATE_NOOP("MenuBarFrame", "App Param");
const char *const kTaskPlanText = QT_TRANSLATE_NOOP("MenuBarFrame", "Task Plan");
constexpr int kDefaultTaskCount = 5;

// Lock, Unlock and Free each run the screwdriver until their register is written 0 again.
QString ctrlKey(int index)
{
    return QStringLiteral("ctrl%1").arg(index);
}

QString raw(const char *source)
{
    return RawText::make(kContext, QString::fromUtf8(source));
}

// One options menu entry; an entry without text is a separator.
struct MenuEntry {
    const char *text;
    const char *icon;
    void (MenuBarFrame::*slot)();
};
const MenuEntry kSeparator { nullptr, nullptr, nullptr };
const MenuEntry kCompatible { QT_TRANSLATE_NOOP("MenuBarFrame", "兼容性选项"), "compatibility.png",
                              &MenuBarFrame::onCompatibleTriggered };

QVector<MenuEntry> optionEntries(DeviceEnum devType)
{
    QVector<MenuEntry> entries;
    switch (devType) {
    case SdriverDevice:
        entries = { kCompatible, kSeparator };
        break;
    case HighVoltServo:
        entries = { { QT_TRANSLATE_NOOP("MenuBarFrame", "主站伺服调试"), "servoDebug_2.png", &MenuBarFrame::onServoDebugTriggered },
                    kSeparator,
                    { QT_TRANSLATE_NOOP("MenuBarFrame", "主站系统更新"), "systemUpdate.png", &MenuBarFrame::onSysUpdateTriggered },
                    kCompatible, kSeparator };
        break;
    case LowVoltServo:
        entries = { { QT_TRANSLATE_NOOP("MenuBarFrame", "Jog调试模式"), "servoDebug_2.png", &MenuBarFrame::onServoDebugTriggered },
                    kSeparator,
                    { QT_TRANSLATE_NOOP("MenuBarFrame", "烧录工具"), "systemUpdate.png", &MenuBarFrame::onBurnToolTriggered },
                    kSeparator };
        break;
    case TrelvoxServo:
        entries = { { QT_TRANSLATE_NOOP("MenuBarFrame", "Jog调试模式"), "servoDebug_2.png", &MenuBarFrame::onServoDebugTriggered },
                    { QT_TRANSLATE_NOOP("MenuBarFrame", "语言设置"), "compatibility.png", &MenuBarFrame::onLanguageSetting },
                    kSeparator };
        break;
    default:
        break;
    }
    entries += { { QT_TRANSLATE_NOOP("MenuBarFrame", "使用说明"), "manual.png", &MenuBarFrame::onManualTriggered },
                 kSeparator,
                 { QT_TRANSLATE_NOOP("MenuBarFrame", "关于软件"), "about.png", &MenuBarFrame::onAboutTriggered } };
    return entries;
}

const char kMenuStyle[] =
    "QMenu { background-color: #F0F0F0; border: 1px solid #D9DADC; }"
    "QMenu::icon { margin-left: 35px; margin-right: 0px; }"
    "QMenu::item { color: #1296DB; border: none; min-height: 45px; padding-left: 45px; padding-right: 30px; }"
    "QMenu::item:selected { background-color: #AECBEE; }"
    "QMenu::separator { height: 1px; background-color: #D9DADC; }";
} // namespace

MenuBarFrame::MenuBarFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::MenuBarFrame)
{
    ui->setupUi(this);
    s_instance = this;
    initUi();

    ui->ctrlBtnGroup->setExclusive(false);   // all three may be off; the toggle slot keeps at most one on
    connect(ui->ctrlBtnGroup, QOverload<QAbstractButton *, bool>::of(&QButtonGroup::buttonToggled), this,
            &MenuBarFrame::onCtrlButtonToggled);
    if (ComSettingsFrame *com = ComSettingsFrame::instance()) {
        connect(com, &ComSettingsFrame::realTimeAddrRead, this, &MenuBarFrame::refreshDisplay);
        connect(com->motionGuard(), &MotionGuard::released, this, &MenuBarFrame::onMotionReleased);
        connect(com->motionGuard(), &MotionGuard::stopFailed, this, &MenuBarFrame::onStopFailed);
    } else
        qWarning() << "MenuBarFrame: no communication page yet, the control area will not follow the device";

    ui->optionsButton->menu()->setStyleSheet(QLatin1String(kMenuStyle));
    initOptionMenu(ComSettingsFrame::currentDevice());
}

MenuBarFrame::~MenuBarFrame()
{
    delete ui;
    if (s_instance == this)
        s_instance = nullptr;
}

MenuBarFrame *MenuBarFrame::instance()
{
    return s_instance;
}

void MenuBarFrame::initUi()
{
    const struct {
        QWidget *widget;
        const char *text;
    } texts[] = {
        { ui->comSettingBtn, QT_TRANSLATE_NOOP("MenuBarFrame", "Com Setting") },
        { ui->servoParamBtn, QT_TRANSLATE_NOOP("MenuBarFrame", "Servo Param") },
        { ui->workWaveBtn, QT_TRANSLATE_NOOP("MenuBarFrame", "Wave View") },
        { ui->appParamBtn, kAppParamText },
        { ui->appDebugBtn, QT_TRANSLATE_NOOP("MenuBarFrame", "App Debug") },
        { ui->workRecordBtn, QT_TRANSLATE_NOOP("MenuBarFrame", "Work Record") },
        { ui->alarmInfoBtn, QT_TRANSLATE_NOOP("MenuBarFrame", "Alarm Info") },
        { ui->ioMonitorBtn, QT_TRANSLATE_NOOP("MenuBarFrame", "IO Monitor") },
        { ui->lockCtrlButton, kCtrlTexts[0].start },
        { ui->unlockCtrlButton, kCtrlTexts[1].start },
        { ui->freeCtrlButton, kCtrlTexts[2].start },
        { ui->clearAlarmButton, QT_TRANSLATE_NOOP("MenuBarFrame", "Clear Alarm") },
    };
    for (const auto &t : texts) {
        if (auto *tool = qobject_cast<VxToolButton *>(t.widget))
            tool->setText(raw(t.text));
        else if (auto *push = qobject_cast<VxPushButton *>(t.widget))
            push->setText(raw(t.text));
    }
    ui->optionsButton->setText(QString());

    // A plain list view lets the style sheet set the popup items' height.
    ui->taskComboBox->setView(new QListView(ui->taskComboBox));
    const QSignalBlocker blocker(ui->taskComboBox);   // building the list is not a pick
    fillTaskItems(kDefaultTaskCount);
}

void MenuBarFrame::fillTaskItems(int count)
{
    ui->taskComboBox->clear();
    for (int i = 0; i < count; ++i)
        ui->taskComboBox->addItem(tr("Exec Task%1").arg(i));
}

void MenuBarFrame::changeEvent(QEvent *event)
{
    // The task names carry a number, so the kit cannot keep them as raw texts: they are redone here.
    if (event->type() == QEvent::LanguageChange) {
        const QSignalBlocker blocker(ui->taskComboBox);
        for (int i = 0; i < ui->taskComboBox->count(); ++i)
            ui->taskComboBox->setItemText(i, tr("Exec Task%1").arg(i));
    }
    QFrame::changeEvent(event);
}

void MenuBarFrame::initOptionMenu(DeviceEnum devType)
{
    ui->optionsButton->setPopupMode(CMenuButton::BelowRightAligned);
    QMenu *menu = ui->optionsButton->menu();
    menu->clear();   // deletes the actions the menu owns
    for (const MenuEntry &entry : optionEntries(devType)) {
        if (!entry.text) {
            menu->addSeparator();
            continue;
        }
        auto *action = new VxAction(raw(entry.text), menu);
        action->setIcon(QIcon(QStringLiteral(":/Resource/Icons/") + QLatin1String(entry.icon)));
        connect(action, &QAction::triggered, this, entry.slot);
        menu->addAction(action);
    }
}

bool MenuBarFrame::askAdminPassword(QWidget *parent, EmptyAnswer empty)
{
    bool ok = false;
    const QString text = Prompt::getText(parent, tr("登录密码"), tr("请输入管理员密码！"), QLineEdit::Password,
                                         QString(), &ok, Qt::WindowStaysOnTopHint);
    if (!ok || (text.isEmpty() && empty == EmptyAnswer::Ignored))
        return false;
    if (text == QLatin1String(kAdminPassword))
        return true;
    Prompt::critical(parent, tr("提示"), tr("密码错误！"));
    return false;
}

void MenuBarFrame::onDeviceChanged(DeviceEnum devType)
{
    // A disconnect keeps what the last device showed.
    if (devType == NoDevice)
        return;
    const QList<QWidget *> adapted { ui->appParamBtn, ui->appDebugBtn, ui->servoParamBtn, ui->workWaveBtn,
                                     ui->ioMonitorBtn, ui->alarmInfoBtn, ui->workRecordBtn, ui->controlFrame };
    for (QWidget *w : adapted)
        w->hide();
    ui->appParamBtn->setText(raw(kAppParamText));

    QList<QWidget *> shown;
    switch (devType) {
    case SdriverDevice:
        shown = { ui->servoParamBtn, ui->workWaveBtn, ui->appParamBtn, ui->ioMonitorBtn, ui->alarmInfoBtn,
                  ui->workRecordBtn, ui->controlFrame };
        showTask(ComSettingsFrame::getRegister(kTaskRegister));
        ui->appParamBtn->setText(raw(kTaskPlanText));
        break;
    case HighVoltServo:
    case LowVoltServo:
        shown = { ui->servoParamBtn, ui->workWaveBtn };
        break;
    case TrelvoxServo:
        shown = { ui->servoParamBtn };
        break;
    default:
        break;
    }
    for (QWidget *w : qAsConst(shown))
        w->show();
    initOptionMenu(devType);
}

void MenuBarFrame::showTask(int value)
{
    const QSignalBlocker blocker(ui->taskComboBox);   // the device's own value is not written back
    ui->taskComboBox->setCurrentIndex(value == RegisterCache::NoValue ? 0 : value);
}

QAbstractButton *MenuBarFrame::ctrlButton(int index) const
{
    QAbstractButton *const buttons[3] = { ui->lockCtrlButton, ui->unlockCtrlButton, ui->freeCtrlButton };
    return buttons[index];
}

void MenuBarFrame::onCtrlButtonToggled(QAbstractButton *button, bool checked)
{
    int index = 0;
    while (index < 3 && ctrlButton(index) != button)
        ++index;
    if (index == 3)
        return;
    auto *push = static_cast<VxPushButton *>(button);
    push->setText(raw(checked ? kCtrlTexts[index].stop : kCtrlTexts[index].start));
    if (m_releasing)
        return;     // stopped already, by the guard

    const Uint16 reg = Uint16(kFirstCtrlRegister + index);
    MotionGuard *guard = MotionGuard::instance();
    if (!checked) {
        if (guard && guard->isRunning(ctrlKey(index)))
            guard->stop(ctrlKey(index));
        else
            writeScrewdriverRegister(reg, 0);
        return;
    }
    const int slave = ComSettingsFrame::currentSlave();
    if (writeScrewdriverRegister(reg, 1) && guard)
        guard->started(ctrlKey(index), Uint8(slave), { { reg, 0 } });
    for (int other = 0; other < 3; ++other) {
        if (other != index)
            writeScrewdriverRegister(Uint16(kFirstCtrlRegister + other), 0);
    }
    // A button that was on comes back through this slot and writes its 0 once more.
    for (int other = 0; other < 3; ++other) {
        if (other != index)
            ctrlButton(other)->setChecked(false);
    }
}

// The guard stopped the tool (a close, a switch of device or slave) or lost the link it ran on: the
// button shows it stopped without writing again. The mirrored value stays, so that a reading taken
// before the stop cannot start the tool again.
void MenuBarFrame::onMotionReleased(const QString &key)
{
    for (int index = 0; index < 3; ++index) {
        if (key != ctrlKey(index))
            continue;
        const QScopedValueRollback<bool> releasing(m_releasing, true);
        ctrlButton(index)->setChecked(false);
    }
}

// The device did not answer the stop: the tool may still run. Its button shows it running, so that
// the next press sends the stop again rather than start it.
void MenuBarFrame::onStopFailed(const QString &key)
{
    for (int index = 0; index < 3; ++index) {
        if (key != ctrlKey(index))
            continue;
        {
            const QScopedValueRollback<bool> releasing(m_releasing, true);
            ctrlButton(index)->setChecked(true);
        }
        Prompt::warning(this, tr("Tips"), tr("The screwdriver did not answer the stop: it may still be running!"));
    }
}

void MenuBarFrame::refreshDisplay(int addr, int val)
{
    if (ComSettingsFrame::currentDevice() != SdriverDevice)
        return;
    if (addr == kTaskRegister) {
        showTask(val);
        return;
    }
    const int index = addr - kFirstCtrlRegister;
    // The no-value marker is no reading: taken as nonzero it would start the tool.
    if (index < 0 || index >= 3 || val == RegisterCache::NoValue || val == m_lastCtrlValue[index])
        return;
    m_lastCtrlValue[index] = val;
    // A changed check state runs the toggle slot, as if the user had pressed the button.
    ctrlButton(index)->setChecked(val != 0);
}

void MenuBarFrame::updateTaskComboBox(int count)
{
    QComboBox *combo = ui->taskComboBox;
    if (count < 0 || combo->count() == count)
        return;
    const int remembered = combo->currentIndex();
    const quint64 entry = ComSettingsFrame::getRegisterEntry(kTaskRegister);
    const Uint16 deviceValue = Uint16(entry);
    const bool known = (entry >> 32) == RegisterCache::Received && deviceValue != RegisterCache::NoValue;
    {
        // Emptying and refilling the list is no pick of the user's: nothing may reach register 3072.
        const QSignalBlocker blocker(combo);
        fillTaskItems(count);
        int index = remembered >= 0 && remembered < count ? remembered : 0;
        if (known && deviceValue < count)
            index = deviceValue;
        combo->setCurrentIndex(count > 0 ? index : -1);
    }
    // The device runs a task the new list no longer holds: it is moved to the one shown.
    if (known && combo->currentIndex() >= 0 && combo->currentIndex() != deviceValue)
        writeScrewdriverRegister(kTaskRegister, Uint16(combo->currentIndex()));
}

void MenuBarFrame::on_taskComboBox_currentIndexChanged(int index)
{
    if (index >= 0)
        writeScrewdriverRegister(kTaskRegister, Uint16(index));
}

void MenuBarFrame::on_clearAlarmButton_clicked()
{
    const quint32 addr = ComSettingsFrame::addrMap(kClearAlarmEntry);
    if (writeScrewdriverRegister(addr, 1))
        writeScrewdriverRegister(addr, 0);
}

bool MenuBarFrame::writeScrewdriverRegister(quint32 addr, Uint16 value)
{
    // Every register the tool bar writes is the screwdriver controller's. Nothing goes out for another
    // type, nor to an address the type's map lacks (65535, or 0 while the map is not filled yet).
    if (ComSettingsFrame::currentDevice() != SdriverDevice || addr == 0 || addr >= RegisterMap::Absent) {
        qWarning() << "MenuBarFrame: not written, device type" << int(ComSettingsFrame::currentDevice())
                   << "address" << addr << "value" << value;
        return false;
    }
    if (!ComSettingsFrame::writeRegister(Uint16(addr), value)) {
        qWarning() << "MenuBarFrame: write refused, address" << addr << "value" << value;
        return false;
    }
    return true;
}

void MenuBarFrame::on_comSettingBtn_clicked()
{
    emit menuClicked(11);
}

void MenuBarFrame::on_servoParamBtn_clicked()
{
    if (ComSettingsFrame::currentDevice() == SdriverDevice && !askAdminPassword(this, EmptyAnswer::Ignored))
        return;
    emit menuClicked(20);
}

void MenuBarFrame::on_workWaveBtn_clicked()
{
    if (DataSource *source = DataSource::instance())
        source->emitOscillShowSignal(0);
    emit menuClicked(40);
}

void MenuBarFrame::on_appParamBtn_clicked()
{
    emit menuClicked(30);
}

void MenuBarFrame::on_appDebugBtn_clicked()
{
    emit menuClicked(31);
}

void MenuBarFrame::on_workRecordBtn_clicked()
{
    emit menuClicked(60);
}

void MenuBarFrame::on_alarmInfoBtn_clicked()
{
    emit menuClicked(51);
}

void MenuBarFrame::on_ioMonitorBtn_clicked()
{
    emit menuClicked(50);
}

void MenuBarFrame::onServoDebugTriggered()
{
    emit menuClicked(21);
}

void MenuBarFrame::onCompatibleTriggered()
{
    emit menuClicked(6);
}

void MenuBarFrame::onSysUpdateTriggered()
{
    emit menuClicked(15);
}

void MenuBarFrame::onLanguageSetting()
{
    emit menuClicked(16);
}

void MenuBarFrame::onAboutTriggered()
{
    emit menuClicked(14);
}

void MenuBarFrame::onBurnToolTriggered()
{
    if (!askAdminPassword(this, EmptyAnswer::Ignored))
        return;
    const QString folder = QDir::currentPath() + QStringLiteral("/WinApps/BurnTool/win-iap-ymodem/bin/Debug");
    const QString program = folder + QStringLiteral("/win-iap-ymodem.exe");
    if (Platform::startDetached(program, QStringList(), folder))
        return;
    qWarning() << "MenuBarFrame: cannot start the burn tool" << program;
    Prompt::warning(this, tr("Tips"), QFileInfo::exists(program) ? tr("The burn tool could not be started: %1").arg(program)
                                                                 : tr("The burn tool is not installed: %1").arg(program));
}

void MenuBarFrame::onManualTriggered()
{
    const QDir folder(QDir::currentPath() + QStringLiteral("/./Resource/Docs"));
    const QFileInfoList manuals = folder.entryInfoList({ QStringLiteral("*.docx") }, QDir::Files,
                                                       QDir::Name | QDir::IgnoreCase);
    if (manuals.isEmpty()) {
        Prompt::warning(this, tr("Tips"), tr("No user manual was found in %1").arg(folder.absolutePath()));
        return;
    }
    QStringList failed;
    for (const QFileInfo &manual : manuals) {
        if (!Platform::openDocument(manual.absoluteFilePath()))
            failed << manual.absoluteFilePath();
    }
    if (!failed.isEmpty()) {
        qWarning() << "MenuBarFrame: cannot open" << failed;
        Prompt::warning(this, tr("Tips"), tr("The user manual could not be opened: %1").arg(failed.join(QLatin1Char('\n'))));
    }
}

void MenuBarFrame::onSearchFinish()
{
}
