#ifndef NETWORKHELPER_H
#define NETWORKHELPER_H

#include "comm/linkpage.h"

#include <QList>
#include <QTcpServer>

namespace Ui {
class NetworkHelper;
}

class QTcpSocket;

// The TCP transport (a client socket to the device) and its debugging page, which can also
// listen as a server to watch and answer other peers.
class NetworkHelper : public LinkPage
{
    Q_OBJECT
public:
    explicit NetworkHelper(QWidget *parent = nullptr);
    ~NetworkHelper() override;

    void connectToDevice(const QString &host, quint16 port);
    void disconnectFromDevice();
    bool isConnected() const;

signals:
    void connected();

private slots:
    void on_connectButton_clicked();
    void on_serverRadioButton_toggled(bool checked);
    void on_sendButton_clicked();

    void onConnected();
    void onReadyRead();
    void onSocketLost();
    void onNewConnection();

private:
    void dropSocket();
    void stopServer();
    bool writeRaw(const QByteArray &data) override;
    void updateControls() override;

    Ui::NetworkHelper *ui;
    QTcpSocket *m_socket = nullptr;       // the device link; null while unconnected
    QTcpServer m_server;
    QList<QTcpSocket *> m_clients;        // peers of the page's server
};

#endif // NETWORKHELPER_H
