#ifndef SERIALPORTHELPER_H
#define SERIALPORTHELPER_H

#include <QByteArray>
#include <QFrame>
#include <QSerialPort>
#include <QStringList>
#include <QTimer>

namespace Ui {
class SerialPortHelper;
}

class QHideEvent;
class QPlainTextEdit;

// The RTU transport and its debugging page. The engine pulls bytes with takeReceived() and
// pushes frames with sendBytes(); while the page is in debug mode it owns the link instead.
class SerialPortHelper : public QFrame
{
    Q_OBJECT
public:
    explicit SerialPortHelper(QWidget *parent = nullptr);
    ~SerialPortHelper() override;

    bool openPort(const QString &name, qint32 baud, QSerialPort::DataBits dataBits, QSerialPort::Parity parity,
                  QSerialPort::StopBits stopBits);
    void closePort();
    bool isOpen() const;
    QString lastError() const;
    QStringList portNames() const;

    QByteArray takeReceived();
    bool sendBytes(const QByteArray &data);

    bool isDebugMode() const;
    void setDebugMode(bool on);
    void appendDiagnostic(const QString &text);

    // Raw traffic helpers shared with NetworkHelper's page.
    static QString formatBytes(const QByteArray &data, bool hex);
    static bool parseHex(const QString &text, QByteArray *out);
    // Turns the send line into bytes; tells the user when hex text is malformed.
    static bool bytesFromInput(QWidget *parent, const QString &text, bool hex, QByteArray *out);
    // Appends one line to a traffic view if its page is on screen.
    static void showLine(QPlainTextEdit *view, const QString &line);

signals:
    void bytesArrived();
    void linkLost(const QString &reason);
    void portListChanged(const QStringList &names);
    void debugModeChanged(bool on);

protected:
    void hideEvent(QHideEvent *event) override;

private slots:
    void on_openButton_clicked();
    void on_debugCheckBox_toggled(bool checked);
    void on_clearButton_clicked();
    void on_sendButton_clicked();

    void onReadyRead();
    void onErrorOccurred(QSerialPort::SerialPortError error);
    void scanPorts();

private:
    void fillSettingCombos();
    void showSettings(const QString &name, qint32 baud, QSerialPort::DataBits dataBits, QSerialPort::Parity parity,
                      QSerialPort::StopBits stopBits);
    void updateControls();
    bool writeRaw(const QByteArray &data);

    Ui::SerialPortHelper *ui;
    QSerialPort m_port;
    QTimer m_scanTimer;
    QStringList m_portNames;
    QByteArray m_received;
    QString m_lastError;
    bool m_debugMode = false;
};

#endif // SERIALPORTHELPER_H
