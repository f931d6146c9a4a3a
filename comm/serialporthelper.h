#ifndef SERIALPORTHELPER_H
#define SERIALPORTHELPER_H

#include "comm/linkpage.h"

#include <QSerialPort>
#include <QStringList>
#include <QTimer>

namespace Ui {
class SerialPortHelper;
}

// The RTU transport and its debugging page. The engine pulls bytes with takeReceived() and
// pushes frames with sendBytes(); while the page is in debug mode it owns the link instead.
class SerialPortHelper : public LinkPage
{
    Q_OBJECT
public:
    explicit SerialPortHelper(QWidget *parent = nullptr);
    ~SerialPortHelper() override;

    bool openPort(const QString &name, qint32 baud, QSerialPort::DataBits dataBits, QSerialPort::Parity parity,
                  QSerialPort::StopBits stopBits);
    void closePort();
    bool isOpen() const;
    QStringList portNames() const;

signals:
    void portListChanged(const QStringList &names);

private slots:
    void on_openButton_clicked();
    void on_sendButton_clicked();

    void onReadyRead();
    void onErrorOccurred(QSerialPort::SerialPortError error);
    void scanPorts();

private:
    void fillSettingCombos();
    void showSettings(const QString &name, qint32 baud, QSerialPort::DataBits dataBits, QSerialPort::Parity parity,
                      QSerialPort::StopBits stopBits);
    void updateControls() override;
    bool writeRaw(const QByteArray &data) override;

    Ui::SerialPortHelper *ui;
    QSerialPort m_port;
    QTimer m_scanTimer;
    QStringList m_portNames;
};

#endif // SERIALPORTHELPER_H
