#ifndef MENUBARFRAME_H
#define MENUBARFRAME_H

#include "comm/deviceenum.h"

#include <QFrame>
#include <QString>

namespace Ui { class MenuBarFrame; }
class QAbstractButton;

// The tool bar: page buttons that send menu ids, the options menu, and on a screwdriver controller
// the control area (executing task, Lock/Unlock/Free, Clear Alarm) that mirrors registers 3072..3075.
class MenuBarFrame : public QFrame
{
    Q_OBJECT
public:
    explicit MenuBarFrame(QWidget *parent = nullptr);
    ~MenuBarFrame() override;

    static MenuBarFrame *instance();

    // What an accepted empty answer to the administrator password prompt means.
    enum class EmptyAnswer { Wrong, Ignored };
    // The administrator password prompt. True only for the right password; a wrong one is told to
    // the user, a cancel is not. The tool bar lets an empty answer pass as silently as a cancel;
    // the application parameter page counts it as wrong.
    static bool askAdminPassword(QWidget *parent, EmptyAnswer empty = EmptyAnswer::Wrong);

    // Gives the task combo `count` items, called with the number of tasks the device has.
    void updateTaskComboBox(int count);

signals:
    void menuClicked(int menuID);
    void searchSignal(int cmd, QString match);

public slots:
    void onSearchFinish();
    void onLanguageSetting();
    void onServoDebugTriggered();
    void onCompatibleTriggered();
    void onSysUpdateTriggered();
    void onBurnToolTriggered();
    void onManualTriggered();
    void onAboutTriggered();
    void onDeviceChanged(DeviceEnum devType);
    void onCtrlButtonToggled(QAbstractButton *button, bool checked);
    void refreshDisplay(int addr, int val);

private slots:
    void on_comSettingBtn_clicked();
    void on_appParamBtn_clicked();
    void on_appDebugBtn_clicked();
    void on_servoParamBtn_clicked();
    void on_workWaveBtn_clicked();
    void on_ioMonitorBtn_clicked();
    void on_alarmInfoBtn_clicked();
    void on_workRecordBtn_clicked();
    void on_taskComboBox_currentIndexChanged(int index);
    void on_clearAlarmButton_clicked();
    void onMotionReleased(const QString &key);
    void onStopFailed(const QString &key);

protected:
    void changeEvent(QEvent *event) override;

private:
    void initUi();
    void initOptionMenu(DeviceEnum devType);
    void fillTaskItems(int count);
    void showTask(int value);
    QAbstractButton *ctrlButton(int index) const;
    static bool writeScrewdriverRegister(quint32 addr, Uint16 value);

    Ui::MenuBarFrame *ui;
    // Last mirrored values of 3073, 3074, 3075: a button follows the device only when its value changes.
    int m_lastCtrlValue[3] = { 0, 0, 0 };
    bool m_releasing = false;

    static MenuBarFrame *s_instance;
};

#endif // MENUBARFRAME_H
