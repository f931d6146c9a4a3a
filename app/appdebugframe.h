#ifndef APPDEBUGFRAME_H
#define APPDEBUGFRAME_H

#include "app/ledgroup.h"
#include "comm/deviceenum.h"

#include <QFrame>
#include <QList>
#include <memory>

namespace Ui { class AppDebugFrame; }

// Runs the screwdriver from the PC: start, stop and direction, with its live torque and speed and
// lamps for five inputs and three outputs. Torque and speed come with the real-time poll, the
// direction is read once per showing, and the lamps borrow the IO monitor's poll.
class AppDebugFrame : public QFrame
{
    Q_OBJECT
public:
    explicit AppDebugFrame(QWidget *parent = nullptr);
    ~AppDebugFrame() override;

    // Lends addrs to the shared variable read list and shows what it reads, or takes both back.
    void setVariableMonitorEnabled(QList<int> *addrs, bool on);

public slots:
    void onDeviceChanged(DeviceEnum devType);
    void refreshDisplay(int addr, int val);
    void on_sdriverStartButton_clicked(bool checked);
    void on_sdriverStopButton_clicked();
    void on_forwardChkBox_toggled(bool checked);
    void on_reverseChkBox_toggled(bool checked);

private slots:
    void releaseStartButton();
    void onMotionReleased(const QString &key);
    void onStopFailed(const QString &key);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void followMotionStops();

    Ui::AppDebugFrame *ui;
    std::unique_ptr<LedGroup> m_diGroup;
    std::unique_ptr<LedGroup> m_doGroup;
    QList<int> m_variableAddrs;
    bool m_variableMonitorOn = false;
};

#endif // APPDEBUGFRAME_H
