#include "app/iomonitorframe.h"
#include "ui_iomonitorframe.h"

#include "comm/comsettingsframe.h"
#include "comm/registercache.h"
#include "comm/registermap.h"

#include <QDebug>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpacerItem>
#include <QTimerEvent>
#include <QVBoxLayout>

IOMonitorFrame *IOMonitorFrame::instance = nullptr;

namespace {
constexpr int kMonitorEnableEntry = 22;
constexpr int kInputEntry = 26;
constexpr int kOutputEntry = 27;
constexpr int kLampCount = 32;
constexpr int kBitsPerRegister = 16;
constexpr int kPollIntervalMs = 5;
constexpr int kLedSize = 40;
// The output index a toggle button carries, wherever its map lives.
const char kOutputIndexProperty[] = "outputIndex";

QPixmap ledPixmap(const QString &name)
{
    return QPixmap(QStringLiteral(":/Resource/Icons/") + name)
        .scaled(kLedSize, kLedSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// Entries a device type lacks (and every entry before the first type is set) name no register.
bool usableAddress(quint32 addr)
{
    return addr != 0 && addr < RegisterMap::Absent;
}

// X10..X17, X20..X27, ...: two octal-style digits after the letter.
QStringList octalNames(QChar letter, int count)
{
    QStringList names;
    for (int i = 0; i < count; ++i)
        names << QStringLiteral("%1%2%3").arg(letter).arg(i / 8 + 1).arg(i % 8);
    return names;
}
} // namespace

IOMonitorFrame::IOMonitorFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::IOMonitorFrame)
{
    ui->setupUi(this);
    instance = this;
    m_ledRedPixmap = ledPixmap(QStringLiteral("ledRed.png"));
    m_ledGreenPixmap = ledPixmap(QStringLiteral("ledGreen.png"));
    m_ledGrayPixmap = ledPixmap(QStringLiteral("ledGray.png"));

    QStringList blanks;
    for (int i = 0; i < kLampCount; ++i)
        blanks << QStringLiteral(" ");
    m_inputGroup.reset(createLedLabels(ui->inputMonitorGroup, blanks, 16, 4));
    m_outputGroup.reset(createLedLabels(ui->outputMonitorGroup, blanks, 16, 16));
    m_outputButtons.reset(createOutputButtons(ui->outputControlGroup, blanks, 16, 16));
    m_inputLeds = &m_inputGroup->leds;
    m_outputLeds = &m_outputGroup->leds;
    onDeviceChanged(SdriverDevice);
    if (ComSettingsFrame *com = ComSettingsFrame::instance())
        connect(com, &ComSettingsFrame::linkStateChanged, this, &IOMonitorFrame::resumePoll);
}

IOMonitorFrame::~IOMonitorFrame()
{
    delete ui;
    if (instance == this)
        instance = nullptr;
}

void IOMonitorFrame::layoutCells(QWidget *parent, int count, int perRow, int groupSize, const CellFiller &fill)
{
    auto *grid = new QGridLayout(parent);
    grid->setSpacing(0);
    grid->setContentsMargins(8, 16, 8, 8);
    int row = 0;
    int column = 0;
    int run = 0;
    for (int i = 0; i < count; ++i) {
        if (groupSize > 0 && run == groupSize) {
            grid->addItem(new QSpacerItem(20, 10, QSizePolicy::Fixed, QSizePolicy::Fixed), row, column++);
            run = 0;
        }
        auto *cell = new QVBoxLayout;
        cell->setSpacing(10);
        fill(cell, i);
        grid->addLayout(cell, row, column++);
        ++run;
        if (perRow > 0 && (i + 1) % perRow == 0) {
            ++row;
            column = 0;
            run = 0;
        }
    }
}

LedGroup *IOMonitorFrame::createLedLabels(QWidget *parent, const QStringList &names, int perRow, int groupSize)
{
    auto *group = new LedGroup;
    const QPixmap gray = ledPixmap(QStringLiteral("ledGray.png"));
    layoutCells(parent, names.size(), perRow, groupSize, [&](QVBoxLayout *cell, int i) {
        auto *lamp = new QLabel(parent);
        lamp->setPixmap(gray);
        lamp->setAlignment(Qt::AlignCenter);
        lamp->setMaximumHeight(52);
        auto *name = new QLabel(names.at(i), parent);
        name->setAlignment(Qt::AlignCenter);
        name->setMaximumHeight(25);
        cell->addWidget(lamp);
        cell->addWidget(name);
        group->nameLabels << name;
        group->leds << LedEntry { lamp, false };
    });
    return group;
}

QMap<QPushButton *, int> *IOMonitorFrame::createOutputButtons(QWidget *parent, const QStringList &names, int perRow,
                                                              int groupSize)
{
    auto *buttons = new QMap<QPushButton *, int>;
    layoutCells(parent, names.size(), perRow, groupSize, [&](QVBoxLayout *cell, int i) {
        auto *button = new QPushButton(names.at(i), parent);
        button->setMinimumSize(40, 40);
        button->setProperty(kOutputIndexProperty, i);
        cell->addWidget(button);
        buttons->insert(button, i);
        connect(button, &QPushButton::clicked, this, &IOMonitorFrame::onOutputBtnClicked);
    });
    return buttons;
}

void IOMonitorFrame::onDeviceChanged(DeviceEnum devType)
{
    if (devType == NoDevice)
        return;
    QStringList inputNames;
    QStringList outputNames;
    if (devType == SdriverDevice) {
        for (int i = 0; i < 8; ++i) {
            inputNames << tr("DI%1").arg(i);
            outputNames << tr("DO%1").arg(i);
        }
    } else {
        inputNames = octalNames(QLatin1Char('X'), kLampCount);
        outputNames = octalNames(QLatin1Char('Y'), kLampCount);
    }

    // Only registers the address map names for this type are polled or written: a type without
    // IO registers keeps its lamps dark and its buttons inert rather than touching register 0 or
    // another type's registers.
    m_pollList.clear();
    const quint32 input = ComSettingsFrame::addrMap(kInputEntry);
    const quint32 output = ComSettingsFrame::addrMap(kOutputEntry);
    if (usableAddress(input))
        m_pollList << IoPollEntry { Uint16(input), 0 };
    if (usableAddress(output))
        m_pollList << IoPollEntry { Uint16(output), OutputGroup };
    m_outputAddrMap.clear();
    for (const IoPollEntry &entry : qAsConst(m_pollList)) {
        if (entry.group >= OutputGroup)
            m_outputAddrMap.insert(entry.group - OutputGroup, entry.address);
    }
    m_wait.reset();
    if (m_pollState == PollState::Wait)
        m_pollState = PollState::Request;
    resumePoll();

    for (int i = 0; i < kLampCount; ++i) {
        const bool named = i < inputNames.size();
        m_inputGroup->nameLabels[i]->setText(named ? inputNames.at(i) : QString());
        m_inputGroup->nameLabels[i]->setVisible(named);
        m_inputGroup->leds[i].label->setVisible(named);
    }
    for (int i = 0; i < kLampCount; ++i) {
        const bool named = i < outputNames.size();
        m_outputGroup->nameLabels[i]->setText(named ? outputNames.at(i) : QString());
        m_outputGroup->nameLabels[i]->setVisible(named);
        m_outputGroup->leds[i].label->setVisible(named);
    }
    for (auto it = m_outputButtons->cbegin(); it != m_outputButtons->cend(); ++it) {
        const int i = it.value();
        const bool named = i < outputNames.size();
        it.key()->setText(named ? outputNames.at(i) : QString());
        it.key()->setVisible(named);
        it.key()->setEnabled(m_outputAddrMap.contains(i / kBitsPerRegister));
    }
}

void IOMonitorFrame::setMonitorEnabled(bool enable, QList<LedEntry> *inputLeds, QList<LedEntry> *outputLeds)
{
    if (inputLeds && outputLeds) {
        m_inputLeds = inputLeds;
        m_outputLeds = outputLeds;
    }
    if (enable) {
        m_pollState = PollState::Request;
        resumePoll();
        return;
    }
    m_pollState = PollState::Stopped;
    pausePoll();
    m_wait.reset();
    // A borrowing page may be destroyed after it stops the poll: never keep pointing at its lamps.
    m_inputLeds = &m_inputGroup->leds;
    m_outputLeds = &m_outputGroup->leds;
}

void IOMonitorFrame::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_pollTimerId)
        pollStep();
    else
        QFrame::timerEvent(event);
}

void IOMonitorFrame::resumePoll()
{
    if (m_pollState != PollState::Stopped && m_pollTimerId == -1)
        m_pollTimerId = startTimer(kPollIntervalMs, Qt::CoarseTimer);
}

void IOMonitorFrame::pausePoll()
{
    if (m_pollTimerId != -1) {
        killTimer(m_pollTimerId);
        m_pollTimerId = -1;
    }
}

void IOMonitorFrame::pollStep()
{
    if (m_pollList.isEmpty()) {
        pausePoll();    // until a device type with IO registers fills the list
        return;
    }
    if (m_pollIndex >= m_pollList.size())
        m_pollIndex = 0;
    const IoPollEntry entry = m_pollList.at(m_pollIndex);
    switch (m_pollState) {
    case PollState::Stopped:
        break;
    case PollState::Request:
        // A refused request is simply asked again on the next tick, or, while every request is
        // refused, once linkStateChanged says that may have changed.
        if (m_wait.startRead(Uint8(ComSettingsFrame::currentSlave()), entry.address))
            m_pollState = PollState::Wait;
        else if (!ComSettingsFrame::acceptsRequests())
            pausePoll();
        break;
    case PollState::Wait:
        switch (m_wait.check()) {
        case RegisterWait::Result::Pending:
            return;
        case RegisterWait::Result::Received:
            paint(entry.group, m_wait.value());
            break;
        case RegisterWait::Result::Idle:
        case RegisterWait::Result::Failed:
            // Move on, so one silent register does not freeze the other lamps.
            qDebug() << "IO poll: no value for register" << entry.address << (m_wait.timedOut() ? "(timed out)" : "");
            break;
        }
        m_pollState = PollState::Request;
        ++m_pollIndex;
        break;
    }
}

void IOMonitorFrame::paint(int group, Uint16 value)
{
    QList<LedEntry> *leds = m_inputLeds;
    const QPixmap *onPixmap = &m_ledRedPixmap;
    if (group >= OutputGroup) {
        leds = m_outputLeds;
        onPixmap = &m_ledGreenPixmap;
        group -= OutputGroup;
    }
    const int first = group * kBitsPerRegister;
    const int last = qMin(first + kBitsPerRegister - 1, leds->size() - 1);   // borrowed panels are shorter
    for (int i = first; i <= last; ++i) {
        const bool bit = (value >> (i - first)) & 1;
        LedEntry &led = (*leds)[i];
        if (bit == led.on)
            continue;
        led.on = bit;
        led.label->setPixmap(bit ? *onPixmap : m_ledGrayPixmap);
    }
}

void IOMonitorFrame::onOutputBtnClicked(bool checked)
{
    Q_UNUSED(checked)
    // Only a button this page made toggles anything: any other sender would name output 0.
    const QVariant index = sender() ? sender()->property(kOutputIndexProperty) : QVariant();
    if (!index.isValid())
        return;
    const int n = index.toInt();
    if (n < 0 || n >= m_outputGroup->leds.size())
        return;
    const int bit = n % kBitsPerRegister;
    const auto addr = m_outputAddrMap.constFind(n / kBitsPerRegister);
    if (addr == m_outputAddrMap.cend())
        return;
    const quint64 entry = ComSettingsFrame::getRegisterEntry(*addr);
    const int status = int(entry >> 32);
    const Uint16 cached = Uint16(entry);
    // Toggling needs the other bits as the device has them; until a value has arrived there is
    // nothing to combine with, and writing the placeholder would set arbitrary outputs.
    if (status == RegisterCache::None || (status != RegisterCache::Received && cached == RegisterCache::NoValue))
        return;
    const bool newBit = !m_outputGroup->leds.at(n).on;
    const Uint16 value = Uint16((cached & ~(1u << bit)) | (uint(newBit) << bit));
    ComSettingsFrame::writeRegister(*addr, value);
}

void IOMonitorFrame::writeMonitorEnable(Uint16 value)
{
    const quint32 addr = ComSettingsFrame::addrMap(kMonitorEnableEntry);
    if (usableAddress(addr))
        ComSettingsFrame::writeRegister(Uint16(addr), value);
}

void IOMonitorFrame::showEvent(QShowEvent *event)
{
    writeMonitorEnable(1);
    setMonitorEnabled(true, &m_inputGroup->leds, &m_outputGroup->leds);
    QFrame::showEvent(event);
}

void IOMonitorFrame::hideEvent(QHideEvent *event)
{
    writeMonitorEnable(0);
    setMonitorEnabled(false, &m_inputGroup->leds, &m_outputGroup->leds);
    QFrame::hideEvent(event);
}
