#ifndef LINKPAGE_H
#define LINKPAGE_H

#include <QByteArray>
#include <QCheckBox>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPointer>
#include <QString>

class QHideEvent;

// What the serial and the TCP transport share: the byte buffer the engine pulls from, the debug
// mode in which the page owns the link, and the traffic view of the debugging page.
class LinkPage : public QFrame
{
    Q_OBJECT
public:
    explicit LinkPage(QWidget *parent = nullptr);

    QByteArray takeReceived();              // bytes for the engine since the last call
    bool sendBytes(const QByteArray &data); // refused in debug mode or when the write fails
    bool isDebugMode() const { return m_debugMode; }
    void setDebugMode(bool on);
    void appendDiagnostic(const QString &text);
    QString lastError() const { return m_lastError; }

    static QString formatBytes(const QByteArray &data, bool hex);
    static bool parseHex(const QString &text, QByteArray *out);
    // Turns the send line into bytes; tells the user when hex text is malformed.
    static bool bytesFromInput(QWidget *parent, const QString &text, bool hex, QByteArray *out);

signals:
    void bytesArrived();
    void linkLost(const QString &reason);
    // The page is about to take the link for itself, or give it back; the engine still owns it.
    void debugModeAboutToChange(bool on);
    void debugModeChanged(bool on);

protected:
    // Called by the derived page once its form is built.
    void setTrafficWidgets(QPlainTextEdit *view, QCheckBox *hexView, QCheckBox *debugBox);
    // Bytes read from the link: to the view in debug mode, else to the engine.
    void deliver(const QByteArray &data);
    void clearReceived() { m_received.clear(); }
    // Appends a line to the traffic view while the page is on screen.
    void showLine(const QString &line);
    void showTraffic(const QString &prefix, const QByteArray &data);
    bool hexView() const;

    // Not pure: a hide during destruction may reach them after the derived page is gone.
    virtual bool writeRaw(const QByteArray &) { return false; }
    virtual void updateControls() {}
    void hideEvent(QHideEvent *event) override;

    QString m_lastError;

private slots:
    void on_debugCheckBox_toggled(bool checked);
    void on_clearButton_clicked();

private:
    QPointer<QPlainTextEdit> m_view;
    QPointer<QCheckBox> m_hexView;
    QPointer<QCheckBox> m_debugBox;
    QByteArray m_received;
    bool m_debugMode = false;
};

#endif // LINKPAGE_H
