#ifndef MAINWINDOW_H
#define MAINWINDOW_H

#include "comm/deviceenum.h"

#include "app/alarminfoframe.h"
#include "app/appdebugframe.h"
#include "app/appparamframe.h"
#include "app/iomonitorframe.h"
#include "app/workrecordframe.h"
#include "comm/comsettingsframe.h"
#include "data/workwaveformframe.h"
#include "servo/jogmodedialog.h"
#include "servo/servoparamframe.h"
#include "shell/compatibilitydialog.h"
#include "shell/languagesettingframe.h"
#include "shell/modifypswdialog.h"
#include "shell/permmanageframe.h"
#include "shell/standbyframe.h"
#include "shell/systemupdatedialog.h"
#include "shell/userlogindialog.h"

#include <QMainWindow>
#include <QMessageBox>
#include <QMap>
#include <QPixmap>
#include <QPointer>

namespace Ui { class MainWindow; }


// The one main window: owns every page and dialog, maps menu ids to them and wires the signals
// that cross pages.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    static MainWindow *instance();

    void setFullScreen(bool on);
    void showModifyPswDialog();
    bool loadTranslator(int index);
    void retranslateTexts();

    // A pixmap wider than maxWidth is scaled into maxWidth x (height / (width / maxWidth)).
    static QPixmap fitPixmap(const QPixmap &pixmap, int maxWidth);

    QWidget *currentPage() const;
    const QMap<int, QWidget *> &pageMap() const { return m_pageMap; }
    const QMap<int, int> &permissionMap() const { return m_permMap; }
    QMessageBox *aboutBox() const { return m_aboutBox; }

    ComSettingsFrame &comSettings() { return m_comSettings; }
    ServoParamFrame &servoParamPage() { return m_servoParam; }
    JogModeDialog &jogDialog() { return m_jogDialog; }
    LanguageSettingFrame &languagePage() { return m_languagePage; }

public slots:
    void returnStandbyPage();
    void showComSettingDialog();
    void showAboutInfo();
    void onDeviceChanged(DeviceEnum devType);
    void onMenuClicked(int menuID);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void connectPages();
    static void showDialog(QWidget *dialog);
    bool confirmUnstoredRecords();
    void showStartupProblem();
    QWidget *boxParent();

    Ui::MainWindow *ui;
    QMap<int, QWidget *> m_pageMap;
    QMap<int, int> m_permMap;
    UserLoginDialog m_loginDialog;
    ModifyPswDialog m_modifyPswDialog;
    JogModeDialog m_jogDialog;
    SystemUpdateDialog m_updateDialog;
    CompatibilityDialog m_compatibilityDialog;
    ComSettingsFrame m_comSettings;
    StandbyFrame m_standbyPage;
    IOMonitorFrame m_ioMonitorPage;
    ServoParamFrame m_servoParam;
    AlarmInfoFrame m_alarmPage;
    WorkRecordFrame m_workRecordPage;
    WorkWaveformFrame m_waveformPage;
    PermManageFrame m_permPage;
    AppParamFrame m_appParamPage;
    AppDebugFrame m_appDebugPage;
    LanguageSettingFrame m_languagePage;
    QPointer<QMessageBox> m_aboutBox;
    bool m_closing = false;     // inside closeEvent, which waits for the drive's stop

    static MainWindow *s_instance;
};

#endif // MAINWINDOW_H
