#include "comm/serialporthelper.h"

#include "ui_serialporthelper.h"
#include "widgets/prompt.h"

#include <QDebug>
#include <QSerialPortInfo>
#include <QShowEvent>

namespace {
const int kScanIntervalMs = 500;
std::function<QStringList()> s_portLister;
const qint32 kBaudRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600};
const qint32 kDefaultBaud = 115200;
} // namespace

SerialPortHelper::SerialPortHelper(QWidget *parent)
    : LinkPage(parent)
    , ui(new Ui::SerialPortHelper)
{
    ui->setupUi(this);
    setTrafficWidgets(ui->recvEdit, ui->hexRecvCheckBox, ui->debugCheckBox);
    fillSettingCombos();

    connect(&m_port, &QSerialPort::readyRead, this, &SerialPortHelper::onReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialPortHelper::onErrorOccurred);
    m_scanTimer.setInterval(kScanIntervalMs);
    connect(&m_scanTimer, &QTimer::timeout, this, &SerialPortHelper::scanPorts);
    scanPorts();
    updateControls();
}

SerialPortHelper::~SerialPortHelper()
{
    // Closing here rather than in QSerialPort's destructor keeps errorOccurred from reaching a half-destroyed page.
    m_port.disconnect(this);
    m_port.close();
    delete ui;
}

void SerialPortHelper::fillSettingCombos()
{
    for (qint32 baud : kBaudRates)
        ui->baudComboBox->addItem(QString::number(baud));
    ui->baudComboBox->setCurrentText(QString::number(kDefaultBaud));

    for (int bits = QSerialPort::Data5; bits <= QSerialPort::Data8; ++bits)
        ui->dataBitsComboBox->addItem(QString::number(bits), bits);
    ui->dataBitsComboBox->setCurrentIndex(ui->dataBitsComboBox->findData(int(QSerialPort::Data8)));

    ui->parityComboBox->addItem(tr("None"), int(QSerialPort::NoParity));
    ui->parityComboBox->addItem(tr("Even"), int(QSerialPort::EvenParity));
    ui->parityComboBox->addItem(tr("Odd"), int(QSerialPort::OddParity));
    ui->parityComboBox->addItem(tr("Space"), int(QSerialPort::SpaceParity));
    ui->parityComboBox->addItem(tr("Mark"), int(QSerialPort::MarkParity));

    ui->stopBitsComboBox->addItem(QStringLiteral("1"), int(QSerialPort::OneStop));
    ui->stopBitsComboBox->addItem(QStringLiteral("1.5"), int(QSerialPort::OneAndHalfStop));
    ui->stopBitsComboBox->addItem(QStringLiteral("2"), int(QSerialPort::TwoStop));
}

bool SerialPortHelper::openPort(const QString &name, qint32 baud, QSerialPort::DataBits dataBits,
                                QSerialPort::Parity parity, QSerialPort::StopBits stopBits)
{
    closePort();
    showSettings(name, baud, dataBits, parity, stopBits);
    if (name.trimmed().isEmpty()) {
        m_lastError = tr("No serial port selected");
        return false;
    }
    m_port.setPortName(name.trimmed());
    const bool configured = m_port.setBaudRate(baud) && m_port.setDataBits(dataBits) && m_port.setParity(parity)
                            && m_port.setStopBits(stopBits) && m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured || !m_port.open(QIODevice::ReadWrite)) {
        m_lastError = m_port.errorString();
        qWarning() << "SerialPortHelper: cannot open" << name << baud << dataBits << parity << stopBits << m_lastError;
        m_port.close();
        m_port.clearError();
        updateControls();
        return false;
    }
    m_lastError.clear();
    updateControls();
    return true;
}

void SerialPortHelper::closePort()
{
    if (m_port.isOpen())
        m_port.close();
    m_port.clearError();
    clearReceived();
    updateControls();
}

bool SerialPortHelper::isOpen() const
{
    return m_port.isOpen();
}

QStringList SerialPortHelper::portNames() const
{
    return m_portNames;
}

bool SerialPortHelper::writeRaw(const QByteArray &data)
{
    if (!m_port.isOpen())
        return false;
    if (m_port.write(data) != data.size()) {
        qWarning() << "SerialPortHelper: write failed on" << m_port.portName() << m_port.errorString();
        return false;
    }
    return true;
}

void SerialPortHelper::onReadyRead()
{
    deliver(m_port.readAll());
}

void SerialPortHelper::onErrorOccurred(QSerialPort::SerialPortError error)
{
    // Errors while opening are reported by openPort(); only a port that was open can be lost.
    if (!m_port.isOpen())
        return;
    switch (error) {
    case QSerialPort::ResourceError:
    case QSerialPort::PermissionError:
    case QSerialPort::DeviceNotFoundError:
    // A failed read leaves the read notifier firing in a busy loop; it is how a pseudo-terminal
    // whose far end closed, or an adapter that hung up, shows itself.
    case QSerialPort::ReadError:
        break;
    default:
        return;
    }
    m_lastError = tr("Serial port %1 lost: %2").arg(m_port.portName(), m_port.errorString());
    qWarning() << "SerialPortHelper:" << error << m_lastError;
    closePort();
    appendDiagnostic(m_lastError);
    emit linkLost(m_lastError);
}

void SerialPortHelper::setPortLister(std::function<QStringList()> lister)
{
    s_portLister = std::move(lister);
}

void SerialPortHelper::watchPortList(QWidget *view)
{
    m_portViews.append(view);
    view->installEventFilter(this);
    updateScanTimer();
}

bool SerialPortHelper::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
        updateScanTimer();
    return LinkPage::eventFilter(watched, event);
}

void SerialPortHelper::showEvent(QShowEvent *event)
{
    updateScanTimer();
    LinkPage::showEvent(event);
}

void SerialPortHelper::hideEvent(QHideEvent *event)
{
    updateScanTimer();
    LinkPage::hideEvent(event);
}

// Enumerating ports is costly, so nobody pays for it while no list is on screen; one that
// comes on screen is brought up to date at once.
void SerialPortHelper::updateScanTimer()
{
    bool shown = isVisible();
    for (const QPointer<QWidget> &view : qAsConst(m_portViews))
        shown = shown || (view && view->isVisible());
    if (shown && !m_scanTimer.isActive()) {
        scanPorts();
        m_scanTimer.start();
    } else if (!shown) {
        m_scanTimer.stop();
    }
}

void SerialPortHelper::scanPorts()
{
    QStringList names;
    if (s_portLister) {
        names = s_portLister();
    } else {
        const auto ports = QSerialPortInfo::availablePorts();
        for (const QSerialPortInfo &info : ports)
            names << info.portName();
    }
    names.sort();
    if (names == m_portNames)
        return;
    m_portNames = names;

    // Keep what the user typed or picked; the list only offers choices.
    const QString current = ui->portComboBox->currentText();
    ui->portComboBox->clear();
    ui->portComboBox->addItems(names);
    ui->portComboBox->setCurrentText(current.isEmpty() ? names.value(0) : current);
    emit portListChanged(names);
}

void SerialPortHelper::showSettings(const QString &name, qint32 baud, QSerialPort::DataBits dataBits,
                                    QSerialPort::Parity parity, QSerialPort::StopBits stopBits)
{
    ui->portComboBox->setCurrentText(name);
    ui->baudComboBox->setCurrentText(QString::number(baud));
    ui->dataBitsComboBox->setCurrentIndex(ui->dataBitsComboBox->findData(int(dataBits)));
    ui->parityComboBox->setCurrentIndex(ui->parityComboBox->findData(int(parity)));
    ui->stopBitsComboBox->setCurrentIndex(ui->stopBitsComboBox->findData(int(stopBits)));
}

void SerialPortHelper::updateControls()
{
    const bool open = m_port.isOpen();
    ui->openButton->setText(open ? tr("Close") : tr("Open"));
    for (QWidget *w : {static_cast<QWidget *>(ui->portComboBox), static_cast<QWidget *>(ui->baudComboBox),
                       static_cast<QWidget *>(ui->dataBitsComboBox), static_cast<QWidget *>(ui->parityComboBox),
                       static_cast<QWidget *>(ui->stopBitsComboBox)})
        w->setEnabled(!open);
    // Raw sends outside debug mode would interleave with the engine's frames.
    ui->sendButton->setEnabled(isDebugMode());
}

void SerialPortHelper::on_openButton_clicked()
{
    if (m_port.isOpen()) {
        closePort();
        return;
    }
    bool baudOk = false;
    const qint32 baud = ui->baudComboBox->currentText().toInt(&baudOk);
    const auto dataBits = QSerialPort::DataBits(ui->dataBitsComboBox->currentData().toInt());
    const auto parity = QSerialPort::Parity(ui->parityComboBox->currentData().toInt());
    const auto stopBits = QSerialPort::StopBits(ui->stopBitsComboBox->currentData().toInt());
    if (!baudOk || baud <= 0)
        m_lastError = tr("Invalid baud rate");
    else if (openPort(ui->portComboBox->currentText(), baud, dataBits, parity, stopBits))
        return;
    appendDiagnostic(m_lastError);
    Prompt::warning(this, tr("Tips"), tr("Open failure!"));
}

void SerialPortHelper::on_sendButton_clicked()
{
    QByteArray data;
    if (!bytesFromInput(this, ui->sendEdit->text(), ui->hexSendCheckBox->isChecked(), &data) || data.isEmpty())
        return;
    if (!writeRaw(data))
        Prompt::warning(this, tr("Tips"), tr("Send failure!"));
}
