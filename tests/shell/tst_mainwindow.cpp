#include "shell/mainwindow.h"

#include "comm/comsettingsframe.h"
#include "comm/modbusmaster.h"
#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "shell/permmanageframe.h"
#include "shell/statusareaframe.h"
#include "support/dblocker.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"
#include "support/warninglog.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void pagesMenuIdsAndClose();
    void iconFitting_data();
    void iconFitting();
    void statusBarHeight();
    void toolBarControlsKeepTheirColours_data();
    void toolBarControlsKeepTheirColours();
    void passwordGate();
    void aboutBox();
    void translatorsAndFullScreen();
    void closeStopsMotion_data();
    void closeStopsMotion();
    void closeWithRecordsWaiting_data();
    void closeWithRecordsWaiting();
    void closeRightAfterTightening();
    void startupProblemAboveComWindow();
};

// A closed window asks the application to quit, and every event loop started after that (a modal
// box's among them) returns at once; a run of the main loop ends the request.
void TestMainWindow::init()
{
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    QCoreApplication::exec();
}

// Menu ids pick pages or open dialogs, anything else leaves the page; closing the window ends the
// program with dialogs open; no connection by name or by signature fails on the way.
void TestMainWindow::pagesMenuIdsAndClose()
{
    WarningLog warnings;
    TestDatabase db;
    PromptRecorder prompts;
    QVERIFY(db.isValid());
    {
        MainWindow window;
        QCOMPARE(window.windowTitle(), QStringLiteral("Servo monitor and debug software Velquin-V4.1.2"));
        QCOMPARE(MainWindow::instance(), &window);
        auto *stack = window.findChild<QStackedWidget *>(QStringLiteral("workAreaFrameStack"));
        QList<QWidget *> pages;   // exactly the pages, in id order
        for (int i = 0; i < stack->count(); ++i)
            pages << stack->widget(i);
        QCOMPARE(window.pageMap().keys(), QList<int>({ 12, 20, 30, 31, 40, 50, 51, 60, 70 }));
        QCOMPARE(pages, window.pageMap().values());
        QCOMPARE(window.currentPage(), window.pageMap().value(70));
        QVERIFY(window.findChild<QWidget *>(QStringLiteral("menuAreaFrame"))->isHidden());
        window.onMenuClicked(60);
        for (int id : { 0, 3, 5, 13, 99, -1 }) {   // not a page: the page stays
            window.onMenuClicked(id);
            QCOMPARE(window.currentPage(), window.pageMap().value(60));
        }
        window.onMenuClicked(20);   // a page whatever the permissions
        QCOMPARE(window.currentPage(), window.pageMap().value(20));
        window.onMenuClicked(21);   // a dialog over it
        QVERIFY(window.jogDialog().isVisible());
        QCOMPARE(window.currentPage(), window.pageMap().value(20));
        for (int i = 0; i < 2; ++i) {   // again while open
            window.onMenuClicked(11);
            QVERIFY(window.comSettings().isVisible());
            QVERIFY(window.comSettings().windowFlags() & Qt::WindowStaysOnTopHint);
        }
        window.returnStandbyPage();
        QCOMPARE(window.currentPage(), window.pageMap().value(70));
        window.show(), window.showAboutInfo();
        QVERIFY(window.aboutBox()->isVisible());
        QVERIFY(!window.aboutBox()->testAttribute(Qt::WA_QuitOnClose));
        QVERIFY(window.close());
        QVERIFY(!window.comSettings().isVisible() && !window.jogDialog().isVisible());
    }
    QCOMPARE(warnings.lines().filter(QStringLiteral("QObject")), QStringList());
}

void TestMainWindow::iconFitting_data()
{
    QTest::addColumn<QSize>("in"), QTest::addColumn<int>("maxWidth"), QTest::addColumn<QSize>("out");
    QTest::newRow("wide icon") << QSize(200, 100) << 72 << QSize(72, 36);
    QTest::newRow("narrow icon kept") << QSize(64, 64) << 72 << QSize(64, 64);
    QTest::newRow("thin strip stays visible") << QSize(1000, 2) << 72 << QSize(72, 1);
}

void TestMainWindow::iconFitting()
{
    QFETCH(QSize, in);
    QFETCH(int, maxWidth);
    QFETCH(QSize, out);
    QPixmap pixmap(in);
    pixmap.fill(Qt::red);
    QCOMPARE(MainWindow::fitPixmap(pixmap, maxWidth).size(), out);
}

void TestMainWindow::statusBarHeight()
{
    TestDatabase db;
    PromptRecorder prompts;
    QVERIFY(db.isValid());
    MainWindow window;
    auto *bar = window.findChild<StatusAreaFrame *>(QStringLiteral("statusAreaFrame"));
    window.onDeviceChanged(SdriverDevice);
    QCOMPARE(bar->minimumHeight(), 70);
    window.onDeviceChanged(NoDevice);
    QCOMPARE(bar->minimumHeight(), 50);
    // The broadcast reaches the window through the database manager.
    DatabaseManager::instance()->onDeviceChanged(SdriverDevice);
    QCOMPARE(bar->minimumHeight(), 70);
    DatabaseManager::instance()->onDeviceChanged(HighVoltServo);
    QCOMPARE(bar->minimumHeight(), 50);
    DatabaseManager::instance()->onDeviceChanged(SdriverDevice);
    DatabaseManager::instance()->onDeviceChanged(NoDevice);
    QCOMPARE(bar->minimumHeight(), 50);
}

void TestMainWindow::toolBarControlsKeepTheirColours_data()
{
    QTest::addColumn<int>("startType");
    QTest::newRow("started on the screwdriver") << int(SdriverDevice);
    QTest::newRow("started on a high-voltage servo") << int(HighVoltServo);
    QTest::newRow("started on the third servo") << int(TrelvoxServo);
}

// The control buttons show the tool bar's colours on a screwdriver controller, whatever type the
// program started on: blue (Lock, Unlock, Free) and green (Clear Alarm), orange while running or pressed.
void TestMainWindow::toolBarControlsKeepTheirColours()
{
    QFETCH(int, startType);
    TestDatabase db;
    PromptRecorder prompts;
    QVERIFY(db.isValid());
    CommonUtils::saveConfigVal(1, "DeviceType", QString::number(startType));
    MainWindow window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    ComSettingsFrame::setCurrentDevice(SdriverDevice);
    DatabaseManager::instance()->onDeviceChanged(SdriverDevice);
    // The top of the button's middle, above its text: the first stop of its gradient.
    auto colourOf = [&](const QString &name) {
        auto *button = window.findChild<QAbstractButton *>(name);
        const QImage image = button->grab().toImage();
        return button->isVisible() ? image.pixelColor(image.width() / 2, 2) : QColor();
    };
    auto near = [](const QColor &seen, const QColor &expected) {
        return qAbs(seen.red() - expected.red()) + qAbs(seen.green() - expected.green())
                   + qAbs(seen.blue() - expected.blue()) < 40;
    };
    const QColor idle(0x44, 0x88, 0xA5), clear(0x00, 0xCB, 0x87), running(0xFF, 0x54, 0x36);
    for (const QString &name : QStringList { "lockCtrlButton", "unlockCtrlButton", "freeCtrlButton" })
        QVERIFY2(near(colourOf(name), idle), qPrintable(name + ' ' + colourOf(name).name()));
    QVERIFY2(near(colourOf("clearAlarmButton"), clear), qPrintable(colourOf("clearAlarmButton").name()));
    auto *lock = window.findChild<QAbstractButton *>("lockCtrlButton");
    const QSignalBlocker noWrites(lock);   // no device here to take them
    lock->setChecked(true);
    QVERIFY2(near(colourOf("lockCtrlButton"), running), qPrintable(colourOf("lockCtrlButton").name()));
    window.findChild<QAbstractButton *>("clearAlarmButton")->setDown(true);
    QVERIFY2(near(colourOf("clearAlarmButton"), running), qPrintable(colourOf("clearAlarmButton").name()));
}

void TestMainWindow::passwordGate()
{
    TestDatabase db;
    PromptRecorder prompts;
    QVERIFY(db.isValid());
    MainWindow window;
    PermManageFrame::setCurrentAccount(RecordItem());
    window.showModifyPswDialog();
    QCOMPARE(prompts.texts(), QStringList("Tips: Please login first!"));
    PermManageFrame::setCurrentAccount({ { QStringLiteral("account"), QStringLiteral("operator") } });
    prompts.clear();
    window.showModifyPswDialog();
    QVERIFY(prompts.isEmpty());
    PermManageFrame::setCurrentAccount(RecordItem());
}

void TestMainWindow::aboutBox()
{
    TestDatabase db;
    PromptRecorder prompts;
    QVERIFY(db.isValid());
    MainWindow window;
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Resource")));
    const QString saved = QDir::currentPath();
    QDir::setCurrent(dir.path());
    window.showAboutInfo();   // no about.txt: the default text
    QMessageBox *box = window.aboutBox();
    QVERIFY(box);
    QVERIFY(box->text().startsWith(QStringLiteral("Servo monitor and debug software Velquin-V4.1.2\n\n")));
    QCOMPARE(box->windowTitle(), QStringLiteral("About Software"));
    QVERIFY(!box->isModal());

    QFile file(dir.filePath(QStringLiteral("Resource/about.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    window.showAboutInfo();
    QCOMPARE(window.aboutBox(), box);   // one box, reused
    QVERIFY(box->text().isEmpty());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray("关于\0ignored", 13));
    file.close();
    window.showAboutInfo();
    QCOMPARE(box->text(), QStringLiteral("关于"));
    QDir::setCurrent(saved);
}

void TestMainWindow::translatorsAndFullScreen()
{
    TestDatabase db;
    PromptRecorder prompts;
    QVERIFY(db.isValid());
    MainWindow window;
    QVERIFY(!window.loadTranslator(2));   // no third language: refused, not indexed
    QVERIFY(!window.loadTranslator(-1));
    auto *menuBar = window.findChild<QWidget *>(QStringLiteral("menuBarFrame"));
    auto *statusBar = window.findChild<QWidget *>(QStringLiteral("statusAreaFrame"));
    window.show();
    window.setFullScreen(true);
    QVERIFY(menuBar->isHidden() && statusBar->isHidden());
    window.setFullScreen(false);
    QVERIFY(!menuBar->isHidden() && !statusBar->isHidden());
}

void TestMainWindow::closeStopsMotion_data()
{
    QTest::addColumn<int>("type"), QTest::addColumn<QStringList>("simArgs"), QTest::addColumn<bool>("silent");
    QTest::addColumn<int>("runMs"), QTest::addColumn<QStringList>("stop");
    QTest::newRow("low-volt jog") << int(LowVoltServo) << QStringList() << false << 0 << QStringList("56380=517");
    QTest::newRow("trelvox jog") << int(TrelvoxServo) << QStringList() << false << 0 << QStringList({ "149=100", "401=0", "181=0" });
    // The run's stop, then what hiding the dialog writes.
    QTest::newRow("high-volt speed-mode run") << int(HighVoltServo) << QStringList() << false << 0
                                              << QStringList({ "56161=0", "56110=0", "56161=0", "56170=0" });
    QTest::newRow("trelvox jog, device silent") << int(TrelvoxServo) << QStringList({ "--slave", "2" }) << true << 0
                                                << QStringList();   // only waited for, and said
    // Polls and jog repeats a slow device has not taken yet do not hold the stop back.
    QTest::newRow("low-volt jog, slow device") << int(LowVoltServo) << QStringList({ "--answer-delay", "150" }) << false
                                               << 3000 << QStringList("56380=517");
    QTest::newRow("screwdriver started") << int(SdriverDevice) << QStringList() << false << 0 << QStringList("3346=0");
    // The page on screen says nothing of its own: the close says it once.
    QTest::newRow("screwdriver started, device silent") << int(SdriverDevice) << QStringList({ "--slave", "2" }) << true << 0
                                                        << QStringList();
}

// Closing the window mid-jog or mid-run: the stop reaches the device before the program ends, and a
// device that never answers holds the close up for about a second at most, and is said to.
void TestMainWindow::closeStopsMotion()
{
    QFETCH(int, type);
    QFETCH(QStringList, simArgs);
    QFETCH(bool, silent);
    QFETCH(int, runMs);
    QFETCH(QStringList, stop);
    TestDatabase db;
    PromptRecorder prompts;
    QVERIFY(db.isValid());
    CommonUtils::saveConfigVal(1, "DeviceType", QString::number(type));
    MainWindow window;
    DevsimLink link(&window.comSettings());
    QVERIFY(link.start(QStringList{ "--type", QString::number(type), "--no-events" } + simArgs, 1,
                       silent ? DevsimLink::NoCheck : DevsimLink::CheckDevice));
    if (silent)
        window.comSettings().engine()->setResponseTimeout(100);     // the stop fails within the close's wait
    window.show();
    if (type == SdriverDevice) {
        window.onMenuClicked(31);
        window.findChild<QAbstractButton *>("sdriverStartButton")->click();
        if (!silent)
            QTRY_VERIFY(link.sim().writes().contains("3346=1"));
    } else {
        window.onMenuClicked(21);
        JogModeDialog &jog = window.jogDialog();
        if (type == HighVoltServo) {
            qobject_cast<QComboBox *>(jog.findChild<QTableWidget *>("tableWidget")->cellWidget(0, 2))->setCurrentIndex(1);
            jog.findChild<QAbstractButton *>("commonRunButton")->click();
            QTRY_VERIFY(link.sim().writes().contains("56170=0"));
        } else {
            jog.findChild<QAbstractButton *>("forwardButton")->click();
            if (!silent)
                QTRY_VERIFY(link.sim().writes().contains(type == LowVoltServo ? "56380=515" : "401=32"));
        }
    }
    QTest::qWait(runMs);
    link.sim().clearLog();
    QElapsedTimer clock;
    clock.start();
    QVERIFY(window.close());
    QVERIFY2(clock.elapsed() < 2500, qPrintable(QString::number(clock.elapsed())));
    // Answered when the close returns; a repeat the slow device was still answering may come first.
    const QStringList writes = link.sim().writes();
    if (!silent)
        QVERIFY2(writes.mid(writes.indexOf(stop.value(0)), stop.size()) == stop, qPrintable(writes.join(' ')));
    QCOMPARE(prompts.texts(), silent ? QStringList("Warning: " + MainWindow::tr("The device did not answer every stop: a drive may still be moving!"))
                                     : QStringList());
}

// Answers each real message box as a person would, noting what it said and the window it opened
// over, and whether that window was on screen.
struct BoxAnswers
{
    explicit BoxAnswers(QMessageBox::StandardButton button)
    {
        QObject::connect(&timer, &QTimer::timeout, [this, button] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            texts << box->windowTitle() + ": " + box->text();
            parents << box->parentWidget();
            parentsShown << (box->parentWidget() && box->parentWidget()->isVisible());
            box->done(button);
        });
        timer.start(10);
    }
    QTimer timer;
    QStringList texts;
    QList<QWidget *> parents;
    QList<bool> parentsShown;
};

void TestMainWindow::closeWithRecordsWaiting_data()
{
    QTest::addColumn<bool>("held"), QTest::addColumn<int>("answer"), QTest::addColumn<bool>("closed");
    QTest::addColumn<bool>("otherType");
    QTest::newRow("stored at the close") << false << int(QMessageBox::No) << true << false;
    QTest::newRow("still waiting, stay") << true << int(QMessageBox::No) << false << false;
    QTest::newRow("still waiting, quit anyway") << true << int(QMessageBox::Yes) << true << false;
    QTest::newRow("a tightening of the type left, stay") << true << int(QMessageBox::No) << false << true;
}

// A record the file could not take yet gets one last try; if it still waits, the user is asked over
// the communication window that stays on top, and staying leaves everything as it was: no
// parameter file written, no window closed.
void TestMainWindow::closeWithRecordsWaiting()
{
    QFETCH(bool, held);
    QFETCH(int, answer);
    QFETCH(bool, closed);
    QFETCH(bool, otherType);
    TestDatabase db;
    QVERIFY(db.isValid());
    MainWindow window;
    window.show(), window.onMenuClicked(11);
    const QString parameterFile = QDir::current().filePath("ServoParams_Default_0.csv");
    QFile::remove(parameterFile);
    DatabaseManager *manager = DatabaseManager::instance();
    std::unique_ptr<DbLocker> locker(new DbLocker(db.path(), "BEGIN IMMEDIATE"));
    QVERIFY(locker->isOk());
    if (otherType) {
        // Made by the screwdriver, which the user then left for a drive: the record still waits.
        manager->onDeviceChanged(SdriverDevice);
        QVERIFY(manager->addWorkRecord({ { "task", "Task1" } }) && manager->pendingWorkRecords() == 1);
        manager->onDeviceChanged(HighVoltServo);
    } else {
        QVERIFY(manager->addAlarmRecord(5) && manager->pendingAlarmRecords() == 1);
    }
    if (!held)
        locker.reset();
    BoxAnswers boxes { QMessageBox::StandardButton(answer) };
    QCOMPARE(window.close(), closed);
    QCOMPARE(boxes.texts, held ? QStringList("Warning: 1 records are not stored yet. Quit anyway?") : QStringList());
    QCOMPARE(boxes.parents, held ? QList<QWidget *>{ &window.comSettings() } : QList<QWidget *>());
    QCOMPARE(QFile::exists(parameterFile), closed);
    QCOMPARE(window.comSettings().isVisible(), !closed);
    QCOMPARE(manager->pendingAlarmRecords(), held && !otherType ? 1 : 0);
    QFile::remove(parameterFile);
}

// The window closed the moment a screw's result is first read, while its final values are still
// being asked for over a slow link: the record is stored before the window goes, with those values,
// and nothing is asked.
void TestMainWindow::closeRightAfterTightening()
{
    TestDatabase db;
    PromptRecorder prompts;
    QVERIFY(db.isValid());
    CommonUtils::saveConfigVal(1, "DeviceType", "0");
    MainWindow window;
    DevsimLink link(&window.comSettings());
    QVERIFY(link.start({ "--type", "0", "--no-events", "--answer-delay", "60", "--set", "3336=0", "--set", "3076=812",
                         "--set", "3077=1734", "--set", "3079=420", "--set", "3084=10" }));
    window.show();
    bool asked = false, closed = false;
    QList<RecordItem> records;   // as the window goes
    connect(&window.comSettings(), &ComSettingsFrame::realTimeAddrRead, &window, [&](int addr, int val) {
        if (addr == 3336 && val == 10 && !std::exchange(asked, true)) {
            QMetaObject::invokeMethod(&window, [&] {
                closed = window.close();
                records = DatabaseManager::instance()->workRecords().mid(0);
            }, Qt::QueuedConnection);
        }
    });
    QVERIFY(ComSettingsFrame::writeRegister(3336, 10));   // the screw ends
    QTRY_VERIFY_WITH_TIMEOUT(asked && closed, 10000);
    QCOMPARE(records.size(), 1);
    QStringList stored;
    for (const char *key : { "status", "turns", "torque", "usedTime", "alarm" })
        stored << records[0].value(key).toString();
    QCOMPARE(stored, QStringList({ "Slip", "8.12", "0.420", "1.734", "10" }));
    QCOMPARE(prompts.texts(), QStringList());
}

// The start-up message opens over the communication window, which stays on top, once that is shown:
// it is seen, and its buttons can be clicked.
void TestMainWindow::startupProblemAboveComWindow()
{
    TestDatabase db;
    QVERIFY(db.isValid());
    DatabaseManager::resetInstance();
    {
        DbLocker locker(db.path(), "BEGIN EXCLUSIVE");
        QVERIFY(locker.isOk());
        DatabaseManager::instance();
    }
    const QString problem = DatabaseManager::instance()->startupProblem();
    QVERIFY(problem.contains("another program is using it"));
    BoxAnswers boxes { QMessageBox::Ok };
    MainWindow window;
    window.show();
    QTRY_COMPARE_WITH_TIMEOUT(boxes.texts, QStringList("Warning: " + problem), 3000);
    QCOMPARE(boxes.parents, QList<QWidget *>{ &window.comSettings() });
    QCOMPARE(boxes.parentsShown, QList<bool>{ true });
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
