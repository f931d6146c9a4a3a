#include "comm/networkhelper.h"

#include "ui_networkhelper.h"
#include "widgets/prompt.h"

#include <QDebug>
#include <QHostAddress>
#include <QTcpSocket>

NetworkHelper::NetworkHelper(QWidget *parent)
    : LinkPage(parent)
    , ui(new Ui::NetworkHelper)
{
    ui->setupUi(this);
    setTrafficWidgets(ui->recvEdit, ui->hexRecvCheckBox, ui->debugCheckBox);
    connect(&m_server, &QTcpServer::newConnection, this, &NetworkHelper::onNewConnection);
    updateControls();
}

NetworkHelper::~NetworkHelper()
{
    // Sockets still alive would report their teardown to a page that is already gone.
    if (m_socket) {
        m_socket->disconnect(this);
        delete m_socket;
    }
    stopServer();
    delete ui;
}

void NetworkHelper::connectToDevice(const QString &host, quint16 port)
{
    dropSocket();
    ui->ipEdit->setText(host);
    ui->portSpinBox->setValue(port);
    m_lastError.clear();

    m_socket = new QTcpSocket(this);
    connect(m_socket, &QTcpSocket::connected, this, &NetworkHelper::onConnected);
    connect(m_socket, &QTcpSocket::readyRead, this, &NetworkHelper::onReadyRead);
    connect(m_socket, &QTcpSocket::disconnected, this, &NetworkHelper::onSocketLost);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &NetworkHelper::onSocketLost);
    updateControls();
    // May report a failure at once, which drops the socket: do not touch m_socket after this.
    // Unbuffered: a request goes to the socket at once, not from a write notifier a loop turn later.
    m_socket->connectToHost(host, port, QIODevice::ReadWrite | QIODevice::Unbuffered);
}

void NetworkHelper::disconnectFromDevice()
{
    dropSocket();
    updateControls();
}

bool NetworkHelper::isConnected() const
{
    return m_socket && m_socket->state() == QAbstractSocket::ConnectedState;
}

bool NetworkHelper::writeRaw(const QByteArray &data)
{
    if (!isConnected())
        return false;
    if (m_socket->write(data) != data.size()) {
        qWarning() << "NetworkHelper: write failed to" << m_socket->peerName() << m_socket->errorString();
        return false;
    }
    return true;
}

void NetworkHelper::onConnected()
{
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    updateControls();
    emit connected();
}

void NetworkHelper::onReadyRead()
{
    // A reply fits in one read; readAll would size a large buffer and ask the socket once more.
    char chunk[1024];
    QByteArray data;
    qint64 n = 0;
    while ((n = m_socket->read(chunk, sizeof chunk)) > 0) {
        data.append(chunk, int(n));
        if (n < qint64(sizeof chunk))
            break;
    }
    deliver(data);
    // Unbuffered, a closed or broken link shows only as this failed read, with no signal of its own.
    if (n < 0 && m_socket)
        onSocketLost();
}

void NetworkHelper::onSocketLost()
{
    // Both disconnected and errorOccurred lead here; dropping the socket makes sure only the first reports.
    m_lastError = m_socket->error() == QAbstractSocket::UnknownSocketError ? tr("Connection closed")
                                                                           : m_socket->errorString();
    qWarning() << "NetworkHelper: link lost" << m_socket->peerName() << m_socket->peerPort() << m_lastError;
    dropSocket();
    updateControls();
    appendDiagnostic(m_lastError);
    emit linkLost(m_lastError);
}

void NetworkHelper::dropSocket()
{
    if (!m_socket)
        return;
    QTcpSocket *socket = m_socket;
    m_socket = nullptr;
    clearReceived();
    socket->disconnect(this);
    socket->abort();
    // Later, because this may run inside one of the socket's own signals.
    socket->deleteLater();
}

void NetworkHelper::onNewConnection()
{
    while (QTcpSocket *client = m_server.nextPendingConnection()) {
        // Listening on Any gives IPv4 peers as "::ffff:a.b.c.d"; show them the way the user typed them.
        bool isV4 = false;
        const quint32 v4 = client->peerAddress().toIPv4Address(&isV4);
        const QString host = isV4 ? QHostAddress(v4).toString() : client->peerAddress().toString();
        const QString peer = QStringLiteral("%1:%2").arg(host).arg(client->peerPort());
        m_clients.append(client);
        ui->recvEdit->appendPlainText(tr("Client connected: %1").arg(peer));
        connect(client, &QTcpSocket::readyRead, this, [this, client, peer] {
            const QByteArray data = client->readAll();
            ui->recvEdit->appendPlainText(
                QStringLiteral("[%1] ").arg(peer) + formatBytes(data, hexView()));
        });
        connect(client, &QTcpSocket::disconnected, this, [this, client, peer] {
            m_clients.removeOne(client);
            client->deleteLater();
            ui->recvEdit->appendPlainText(tr("Client disconnected: %1").arg(peer));
        });
    }
}

void NetworkHelper::stopServer()
{
    m_server.close();
    for (QTcpSocket *client : qAsConst(m_clients)) {
        client->disconnect(this);
        client->abort();
        client->deleteLater();
    }
    m_clients.clear();
}

void NetworkHelper::updateControls()
{
    const bool server = ui->serverRadioButton->isChecked();
    const bool busy = server ? m_server.isListening() : m_socket != nullptr;
    if (server)
        ui->connectButton->setText(busy ? tr("Stop") : tr("Listen"));
    else
        ui->connectButton->setText(busy ? tr("Disconnect") : tr("Connect"));
    ui->ipEdit->setEnabled(!server && !busy);
    ui->portSpinBox->setEnabled(!busy);
    ui->clientRadioButton->setEnabled(!busy);
    ui->serverRadioButton->setEnabled(!busy);
    // Raw sends to the device outside debug mode would interleave with the engine's frames.
    ui->sendButton->setEnabled(server || isDebugMode());
}

void NetworkHelper::on_connectButton_clicked()
{
    const quint16 port = quint16(ui->portSpinBox->value());
    if (!ui->serverRadioButton->isChecked()) {
        if (m_socket)
            disconnectFromDevice();
        else
            connectToDevice(ui->ipEdit->text().trimmed(), port);
        return;
    }
    if (m_server.isListening()) {
        stopServer();
    } else if (!m_server.listen(QHostAddress::Any, port)) {
        qWarning() << "NetworkHelper: cannot listen on" << port << m_server.errorString();
        ui->recvEdit->appendPlainText(m_server.errorString());
        Prompt::warning(this, tr("Tips"), tr("Listen failure!"));
    }
    updateControls();
}

void NetworkHelper::on_serverRadioButton_toggled(bool)
{
    updateControls();
}

void NetworkHelper::on_sendButton_clicked()
{
    QByteArray data;
    if (!bytesFromInput(this, ui->sendEdit->text(), ui->hexSendCheckBox->isChecked(), &data)
        || data.isEmpty())
        return;
    bool sent = false;
    if (ui->serverRadioButton->isChecked()) {
        for (QTcpSocket *client : qAsConst(m_clients))
            sent = client->write(data) == data.size() || sent;
    } else {
        sent = writeRaw(data);
    }
    if (!sent)
        Prompt::warning(this, tr("Tips"), tr("Send failure!"));
}
