#ifndef JOGMODEDIALOG_H
#define JOGMODEDIALOG_H

#include "comm/deviceenum.h"
#include "comm/motionguard.h"
#include "comm/registerwait.h"

#include <QDialog>
#include <QTimer>
#include <QVector>

#include <array>
#include <memory>
#include <vector>

namespace Ui { class JogModeDialog; }
class QAbstractButton;
class QButtonGroup;
class QTableWidgetItem;

// Servo debugging. For device types 2 and 3 it jogs the drive itself (page 0); for every other type
// it runs up to eight axes of the master's own servo debug registers (page 1), polled while shown.
class JogModeDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int kAxisCount = 8;
    static constexpr int kTickMs = 150;
    // The engine reports each failed read itself; this bound ends a round whose requests were
    // dropped silently with the link. It is above a failed request's time-out and retries.
    static constexpr int kReadLimitMs = 3000;

    // How a position-mode common run moves: once to target 1, to and fro between the targets, or
    // once to target 2.
    enum RunPattern { SingleToTarget1 = 0, Reciprocate = 1, SingleToTarget2 = 3 };

    // Settings and last readings of one axis of page 1.
    struct ServoDebugRow {
        qint32 axis = 0;
        qint32 currentValue = 0;
        qint32 mode = 0;            // 0 position, 1 speed
        qint32 torqueOut = 200;
        qint32 target1 = -50000;
        qint32 target2 = 50000;
        qint32 accelTime = 500;
        qint32 decelTime = 500;
        qint32 speed = 300;
        qint32 alarmCode = 0;
        qint32 speedModeSpeed = 200;
        qint32 direction = 0;       // 0 forward, 1 reverse
        qint32 motionState = 0;     // 0 idle or move finished
        qint32 enabled = 0;
    };

    explicit JogModeDialog(QWidget *parent = nullptr);
    ~JogModeDialog() override;

    ServoDebugRow debugRow(int axis) const { return m_rows.value(axis); }
    int runPattern() const { return m_runPattern; }
    // Axes of the checked axis boxes, ascending; they are the table's rows in that order.
    QList<int> selectedAxes() const;
    // A 32-bit value as the high and the low register word (two's complement for negatives).
    static void splitHighLow(qint32 value, Uint16 *high, Uint16 *low);

public slots:
    void onDeviceChanged(DeviceEnum device);
    void jogModeProcess();
    void onAxisSelectChanged(int id, bool checked);
    // Every jog and run gets its stop, to the slave and addresses it was started on, and its button
    // is released: nothing moves again until the user presses again.
    void stopMotion();
    // The link went down, came up or changed hands: the buttons are only released, and the guard
    // keeps what the motions need to be stopped once the link is back.
    void releaseMotion();

private slots:
    void on_topDialogButton_clicked(bool checked);
    void on_forwardButton_pressed();
    void on_forwardButton_released();
    void on_reverseButton_pressed();
    void on_reverseButton_released();
    void on_runTypeComboBox_currentIndexChanged(int index);
    void on_commonRunButton_clicked(bool checked);
    void on_speedSpinBox_editingFinished();
    void on_torqueOutLineEdit_editingFinished();
    void on_tableWidget_itemChanged(QTableWidgetItem *item);
    void on_clearAlarmButton_clicked(bool checked);
    void on_servoEnableButton_clicked(bool checked);
    void on_forwardButton_clicked(bool checked);
    void on_reverseButton_clicked(bool checked);
    void on_modeComboBox_currentIndexChanged(int index);
    void on_stackedWidget_currentChanged(int arg1);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    enum class PollState { Request, Wait };
    static constexpr int kReadsPerAxis = 4;

    void initWidgets();
    void loadDebugRows();
    void rebuildTable();
    void saveDebugRows();
    void setCurrentPositionCell(int row, int value);
    void setAlarmCell(int row, int alarmCode);
    void onModeCellChanged(int row, int axis, int mode);
    void onDirectionCellChanged(int axis, int direction);
    void onEnableCellClicked(int axis, bool checked);

    // Page 0 and the speed-mode jog of page 1.
    void pressJog(bool forward);
    void clickJog(QAbstractButton *button, QAbstractButton *other, bool forward);
    void startJog(bool forward);
    void stopJog();
    void haltRunningJog();
    void releaseJogButtons();
    MotionGuard::Stops jogStops() const;
    void onMotionReleased(const QString &key);
    void onStopFailed(const QString &key);
    void driveSelectedAxes(int speed, bool forward);
    void writeSpeedToSelectedAxes(int speed);
    void refreshDriveJog();
    Uint16 driveJogAddr(int entry) const;

    // Page 1 poll.
    void pollAxes();
    void requestReadings();
    void applyReadings();
    void startMove(int axis, int targetIndex, bool withProfile);
    MotionGuard::Stops runStops(int axis) const;
    void stopRun();
    // Takes the axis out of the common run with the stop of the mode it runs in.
    void stopAxis(int axis);
    static void write32(Uint16 addr, qint32 value);
    void writeTorque(int axis, qint32 torque);

    ServoDebugRow m_template;
    Ui::JogModeDialog *ui;
    QButtonGroup *m_axisGroup = nullptr;
    int m_pointOperation = 0;
    QVector<ServoDebugRow> m_rows;
    QTimer m_timer;
    int m_runPattern = SingleToTarget1;

    PollState m_pollState = PollState::Request;
    std::array<RegisterWait, kAxisCount * kReadsPerAxis> m_reads;
    int m_readCount = 0;
    int m_round = 0;
    // A round asked before an axis was started may still see it idle; only later rounds count.
    std::array<int, kAxisCount> m_freshRound {};
    // 1 or 2: the target an axis was last sent to, so a to-and-fro run sends the other one.
    std::array<int, kAxisCount> m_lastTarget {};
    // The axes a common run started, each with the mode it started in; the others take no part.
    QList<int> m_runAxes;
    std::array<int, kAxisCount> m_runMode {};
    // A jog keeps the axis and direction it started with.
    int m_jogAxis = 0;
    bool m_jogForward = true;
    // The type-2 jog's latest repeat: the next is not queued before it is answered.
    RegisterWait m_repeat;
};

#endif // JOGMODEDIALOG_H
