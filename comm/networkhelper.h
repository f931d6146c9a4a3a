#ifndef NETWORKHELPER_H
#define NETWORKHELPER_H

#include <QByteArray>
#include <QFrame>
#include <QList>
#include <QTcpServer>

namespace Ui {
class NetworkHelper;
}

class QHideEvent;
class QTcpSocket;

// The TCP transport (a client socket to the device) and its debugging page, which can also
// listen as a server to watch and answer other peers.
class NetworkHelper : public QFrame
{
    Q_OBJECT
public:
    explicit NetworkHelper(QWidget *parent = nullptr);
    ~NetworkHelper() override;

    void connectToDevice(const QString &host, quint16 port);
    void disconnectFromDevice();
    bool isConnected() const;
    QString lastError() const;

    QByteArray takeReceived();
    bool sendBytes(const QByteArray &data);

    bool isDebugMode() const;
    void setDebugMode(bool on);
    void appendDiagnostic(const QString &text);

signals:
    void connected();
    void linkLost(const QString &reason);
    void bytesArrived();
    void debugModeChanged(bool on);

protected:
    void hideEvent(QHideEvent *event) override;

private slots:
    void on_connectButton_clicked();
    void on_serverRadioButton_toggled(bool checked);
    void on_debugCheckBox_toggled(bool checked);
    void on_clearButton_clicked();
    void on_sendButton_clicked();

    void onConnected();
    void onReadyRead();
    void onSocketLost();
    void onNewConnection();

private:
    void dropSocket();
    void stopServer();
    bool writeRaw(const QByteArray &data);
    void updateControls();

    Ui::NetworkHelper *ui;
    QTcpSocket *m_socket = nullptr;       // the device link; null while unconnected
    QTcpServer m_server;
    QList<QTcpSocket *> m_clients;        // peers of the page's server
    QByteArray m_received;
    QString m_lastError;
    bool m_debugMode = false;
};

#endif // NETWORKHELPER_H
