#include "shell/mainwindow.h"
#include "ui_mainwindow.h"

#include "comm/modbusmaster.h"
#include "comm/motionguard.h"
#include "data/databasemanager.h"
#include "widgets/prompt.h"
#include "widgets/rawtext.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTimer>
#include <QTranslator>

MainWindow *MainWindow::s_instance = nullptr;

namespace {
const char kVersion[] = "Velquin-V4.1.2";
// Marks the two titles this window supplies so that the translation tools pick them up.
const char *const kJogTitle = QT_TRANSLATE_NOOP("MainWindow", "Jog Debug Mod");
const char *const kLanguageTitle = QT_TRANSLATE_NOOP("MainWindow", "Language Setting");
} // namespace

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent)
    , ui(new Ui::MainWindow)
{
    s_instance = this;
    ui->setupUi(this);
    resize(1100, 800);

    const QString iconFile = QStringLiteral("./Resource/Icons/appicon.png");
    if (QFile::exists(iconFile)) {
        const QIcon icon(fitPixmap(QPixmap(iconFile), 72));
        setWindowIcon(icon);
        QApplication::setWindowIcon(icon);
    } else {
        setWindowIcon(QIcon(QStringLiteral(":/Resource/Icons/appicon.png")));
    }
    setWindowTitle(QStringLiteral("Servo monitor and debug software ") + QLatin1String(kVersion));

    // The navigation tree stays built and current, but the tool bar is the way to choose a page.
    ui->menuAreaFrame->hide();

    m_permMap = { { 20, 7 }, { 21, 6 }, { 51, 0 }, { 60, 1 }, { 12, 2 }, { 30, 5 }, { 31, 4 }, { 40, 3 } };
    m_pageMap = { { 70, &m_standbyPage }, { 50, &m_ioMonitorPage }, { 20, &m_servoParam },
                  { 51, &m_alarmPage },   { 60, &m_workRecordPage }, { 40, &m_waveformPage },
                  { 12, &m_permPage },    { 30, &m_appParamPage },  { 31, &m_appDebugPage } };
    while (ui->workAreaFrameStack->count() >= 1) {
        QWidget *w = ui->workAreaFrameStack->widget(0);
        ui->workAreaFrameStack->removeWidget(w);
        delete w;
    }
    for (QWidget *page : qAsConst(m_pageMap))
        ui->workAreaFrameStack->addWidget(page);

    // Side windows must not keep the program alive once the main window is closed.
    m_languagePage.setAttribute(Qt::WA_QuitOnClose, false);

    connectPages();
    m_comSettings.loadSettings();
    ui->workAreaFrameStack->setCurrentWidget(&m_standbyPage);
    QTimer::singleShot(50, this, [this] {
        showComSettingDialog();
        showStartupProblem();
    });
}

MainWindow::~MainWindow()
{
    delete ui;
    ui = nullptr;
    delete m_aboutBox;
    if (s_instance == this)
        s_instance = nullptr;
}

MainWindow *MainWindow::instance()
{
    return s_instance;
}

void MainWindow::connectPages()
{
    DatabaseManager *db = DatabaseManager::instance();
    connect(ui->menuAreaFrame, SIGNAL(menuClicked(int)), this, SLOT(onMenuClicked(int)));
    connect(ui->menuBarFrame, SIGNAL(menuClicked(int)), this, SLOT(onMenuClicked(int)));
    connect(ui->statusAreaFrame, SIGNAL(signOutSignal()), this, SLOT(returnStandbyPage()));
    connect(&m_comSettings, SIGNAL(devChangedSignal(DeviceEnum)), db, SLOT(onDeviceChanged(DeviceEnum)));

    const QList<QObject *> deviceReceivers { this, &m_servoParam, &m_appParamPage, &m_appDebugPage,
                                             &m_workRecordPage, &m_ioMonitorPage, ui->statusAreaFrame,
                                             ui->menuBarFrame, ui->menuAreaFrame, &m_jogDialog };
    for (QObject *receiver : deviceReceivers)
        connect(db, SIGNAL(devChangedSignal(DeviceEnum)), receiver, SLOT(onDeviceChanged(DeviceEnum)));

    const QList<QObject *> searchPages { &m_alarmPage, &m_workRecordPage, &m_servoParam, &m_appParamPage };
    for (QObject *page : searchPages) {
        connect(ui->menuBarFrame, SIGNAL(searchSignal(int,QString)), page, SLOT(onSearchSignal(int,QString)));
        connect(page, SIGNAL(searchFinishSigal()), ui->menuBarFrame, SLOT(onSearchFinish()));
    }
    connect(&m_appParamPage, SIGNAL(paramUnitChanged()), ui->statusAreaFrame, SLOT(onParamUnitChanged()));
    connect(&m_appParamPage, SIGNAL(paramUnitChanged()), &m_workRecordPage, SLOT(onParamUnitChanged()));
    connect(&m_comSettings, SIGNAL(deviceListChanged(QStringList)), &m_servoParam, SLOT(updateSlaveTable(QStringList)));
    connect(&m_comSettings, SIGNAL(modbusComError(int,int)), &m_servoParam, SLOT(onComError(int,int)));
    connect(&m_comSettings, SIGNAL(singalWriteFileFinshed()), &m_updateDialog, SLOT(slotWaitEnd()));
}

QPixmap MainWindow::fitPixmap(const QPixmap &pixmap, int maxWidth)
{
    if (pixmap.width() <= maxWidth)
        return pixmap;
    const int height = qMax(1, pixmap.height() / (pixmap.width() / maxWidth));
    return pixmap.scaled(maxWidth, height, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

QWidget *MainWindow::currentPage() const
{
    return ui->workAreaFrameStack->currentWidget();
}

void MainWindow::returnStandbyPage()
{
    ui->workAreaFrameStack->setCurrentWidget(&m_standbyPage);
}

void MainWindow::showComSettingDialog()
{
    onMenuClicked(11);
}

void MainWindow::showDialog(QWidget *dialog)
{
    if (!dialog->isVisible())
        dialog->show();
    dialog->activateWindow();
}

void MainWindow::onMenuClicked(int menuID)
{
    if (m_pageMap.contains(menuID)) {
        m_permMap.value(menuID, -1);   // looked up, never enforced
        ui->workAreaFrameStack->setCurrentWidget(m_pageMap.value(menuID));
    } else {
        switch (menuID) {
        case 11: {
            m_comSettings.setWindowFlags(Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint);
            m_comSettings.show();
            m_comSettings.activateWindow();
            const QPoint origin = mapToGlobal(QPoint(0, 0));
            m_comSettings.move(origin.x() + (frameGeometry().width() - m_comSettings.frameGeometry().width()) / 2,
                               origin.y() + (frameGeometry().height() - m_comSettings.frameGeometry().height()) / 2);
            break;
        }
        case 10: showDialog(&m_loginDialog); break;
        case 14: showAboutInfo(); break;
        case 21: showDialog(&m_jogDialog); break;
        case 15: showDialog(&m_updateDialog); break;
        case 6: showDialog(&m_compatibilityDialog); break;
        case 16: showDialog(&m_languagePage); break;
        default: break;
        }
    }
    QCoreApplication::processEvents();
    update();
}

void MainWindow::onDeviceChanged(DeviceEnum devType)
{
    ui->statusAreaFrame->setMinimumHeight(devType == SdriverDevice ? 70 : 50);
}

void MainWindow::setFullScreen(bool on)
{
    if (on) {
        ui->menuBarFrame->hide();
        ui->statusAreaFrame->hide();
        showMaximized();
    } else {
        ui->menuBarFrame->show();
        ui->statusAreaFrame->show();
        showNormal();
    }
}

void MainWindow::showModifyPswDialog()
{
    if (PermManageFrame::currentAccount().isEmpty()) {
        Prompt::warning(this, tr("Tips"), tr("Please login first!"));
        return;
    }
    showDialog(&m_modifyPswDialog);
}

void MainWindow::showAboutInfo()
{
    if (!m_aboutBox) {
        m_aboutBox = new QMessageBox;
        m_aboutBox->setModal(false);
        m_aboutBox->setWindowModality(Qt::NonModal);
        // An open about box must not keep the program running after the main window closes.
        m_aboutBox->setAttribute(Qt::WA_QuitOnClose, false);
    }
    QString text = tr("Servo monitor and debug software ") + QLatin1String(kVersion) + QStringLiteral("\n\n")
                   + tr("Commissioning and diagnostics for servo drives and screwdriver controllers.") + QLatin1Char('\n');
    m_aboutBox->setWindowTitle(tr("About Software"));

    const QString aboutImage = QStringLiteral("./Resource/Icons/about.png");
    if (QFile::exists(aboutImage))
        m_aboutBox->setIconPixmap(fitPixmap(QPixmap(aboutImage), 100));
    else
        m_aboutBox->setIconPixmap(QPixmap(QStringLiteral(":/Resource/Icons/appicon.png")));

    QFile file(QStringLiteral("./Resource/about.txt"));
    if (file.open(QIODevice::ReadOnly)) {
        QByteArray content = file.readAll();
        const int nul = content.indexOf('\0');
        if (nul >= 0)
            content.truncate(nul);
        text = QString::fromUtf8(content);
    }
    m_aboutBox->setText(text);
    m_aboutBox->show();
    m_aboutBox->activateWindow();
}

bool MainWindow::loadTranslator(int index)
{
    // Owned by the application so that it goes with it.
    static QPointer<QTranslator> installed;
    if (index != 0 && index != 1)
        return false;
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    const QString file = QDir::currentPath()
                         + (index == 0 ? QStringLiteral("/./Resource/Translations/Corvasta_ch.qm")
                                       : QStringLiteral("/./Resource/Translations/Corvasta_en.qm"));
    // A failing load empties the translator it loads into, so the installed one is never reused.
    auto *fresh = new QTranslator(qApp);
    if (!fresh->load(file) || !QCoreApplication::installTranslator(fresh)) {
        qWarning() << "Language: cannot load" << file;
        delete fresh;
        return false;
    }
    delete installed;   // uninstalls itself
    installed = fresh;
    return true;
}

void MainWindow::retranslateTexts()
{
    m_jogDialog.setWindowTitle(RawText::translateText(RawText::make("MainWindow", QLatin1String(kJogTitle))));
    m_languagePage.setWindowTitle(RawText::translateText(RawText::make("MainWindow", QLatin1String(kLanguageTitle))));
}

void MainWindow::showEvent(QShowEvent *event)
{
    if (QScreen *screen = this->screen()) {
        const QRect desk = screen->geometry();
        move(desk.topLeft() + QPoint((desk.width() - frameGeometry().width()) / 2,
                                     (desk.height() - frameGeometry().height()) / 2 - 15));
    }
    QMainWindow::showEvent(event);
}

// A drive is stopped before anything else: no one can stop it once the window is gone, nor while
// the question below is open; the stops go out ahead of every poll queued. What cannot be undone
// (the parameter file, closing the windows) waits for the answer.
void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_closing) {
        event->ignore();
        return;
    }
    const QScopedValueRollback<bool> closing(m_closing, true);
    MotionGuard *guard = m_comSettings.motionGuard();
    guard->setQuiet(true);      // what did not stop is said once, below
    m_jogDialog.stopMotion();
    guard->stopAll();
    if (!confirmUnstoredRecords()) {
        guard->setQuiet(false);
        event->ignore();
        return;
    }
    m_servoParam.exportDefaultParams();
    m_comSettings.close();
    m_loginDialog.close();
    m_modifyPswDialog.close();
    m_jogDialog.close();
    m_updateDialog.close();
    m_compatibilityDialog.close();
    // The polls still queued would only hold the stops up: no page is left to show them.
    if (ModbusMaster *engine = m_comSettings.engine())
        engine->dropQueuedReads();
    if (!guard->waitForStops(MotionGuard::kCloseWaitMs))
        Prompt::warning(boxParent(), tr("Warning"), tr("The device did not answer every stop: a drive may still be moving!"));
    QMainWindow::closeEvent(event);
    // Debugging pages, the language window or the about box may still be open: the program ends
    // with its main window all the same.
    if (event->isAccepted())
        QCoreApplication::quit();
}

// One last try to store what waits; true when nothing is left, or the user lets it go.
bool MainWindow::confirmUnstoredRecords()
{
    // A tightening the status bar has seen but not stored yet is stored first, and counts here.
    if (StatusAreaFrame *bar = StatusAreaFrame::instance())
        bar->storePendingTightening();
    DatabaseManager *db = DatabaseManager::instance();
    db->retryStorage();
    const int waiting = db->pendingRecords();
    if (waiting == 0)
        return true;
    qWarning() << "Closing with" << waiting << "records not stored";
    return Prompt::question(boxParent(), tr("Warning"), tr("%1 records are not stored yet. Quit anyway?").arg(waiting))
           == QMessageBox::Yes;
}

// Said once, over the communication window that opens on top at start, so that a locked or damaged
// file is not mistaken for an empty one.
void MainWindow::showStartupProblem()
{
    const QString problem = DatabaseManager::instance()->startupProblem();
    if (!problem.isEmpty())
        Prompt::warning(boxParent(), QCoreApplication::translate("DatabaseManager", "Warning"), problem);
}

// A box of the window opens over the windows that stay on top, raised first, so that it is never
// hidden behind one of them while it holds every click.
QWidget *MainWindow::boxParent()
{
    for (QWidget *window : { static_cast<QWidget *>(&m_comSettings), static_cast<QWidget *>(&m_jogDialog) }) {
        if (window->isVisible()) {
            window->raise();
            return window;
        }
    }
    return this;
}
