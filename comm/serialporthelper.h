#ifndef SERIALPORTHELPER_H
#define SERIALPORTHELPER_H

#include "comm/linkpage.h"

#include <QList>
#include <QPointer>
#include <QSerialPort>
#include <QStringList>
#include <QTimer>
#include <functional>

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
    // The port list is rescanned while it is on screen: this page or a view given here is visible.
    void watchPortList(QWidget *view);
    bool isScanningPorts() const { return m_scanTimer.isActive(); }
    // Replaces the system's port enumeration (tests); an empty function brings it back.
    static void setPortLister(std::function<QStringList()> lister);

signals:
    void portListChanged(const QStringList &names);

private slots:
    void on_openButton_clicked();
    void on_sendButton_clicked();

    void onReadyRead();
    void onErrorOccurred(QSerialPort::SerialPortError error);
    void scanPorts();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void updateScanTimer();
    void fillSettingCombos();
    void showSettings(const QString &name, qint32 baud, QSerialPort::DataBits dataBits, QSerialPort::Parity parity,
                      QSerialPort::StopBits stopBits);
    void updateControls() override;
    bool writeRaw(const QByteArray &data) override;

    Ui::SerialPortHelper *ui;
    QSerialPort m_port;
    QTimer m_scanTimer;
    QStringList m_portNames;
    QList<QPointer<QWidget>> m_portViews;
};

#endif // SERIALPORTHELPER_H
