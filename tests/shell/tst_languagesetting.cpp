#include "shell/languagesettingframe.h"

#include "comm/comsettingsframe.h"
#include "comm/registermap.h"
#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "shell/mainwindow.h"
#include "shell/menubarframe.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"
#include "support/widgetlookup.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QtTest>

// The language switch on a whole main window, with the compiled translations placed where the
// program looks for them (beside the executable).
class TestLanguageSetting : public QObject
{
    Q_OBJECT

private slots:
    void switchAndBack();
};

void TestLanguageSetting::switchAndBack()
{
    TestDatabase db;
    PromptRecorder prompts;
    const QString dir = QCoreApplication::applicationDirPath() + QStringLiteral("/Resource/Translations/");
    QVERIFY(db.isValid() && QDir().mkpath(dir));
    QFile::remove(dir + QStringLiteral("gone.qm"));
    for (const QString name : { "Corvasta_ch.qm", "Corvasta_en.qm" }) {
        QFile::remove(dir + name);
        QVERIFY(QFile::copy(QStringLiteral(TEST_BUILD_DIR "/Resource/Translations/") + name, dir + name));
    }
    QVERIFY(CommonUtils::saveConfigVal(1, QStringLiteral("DeviceType"), QStringLiteral("3")));
    MainWindow window;
    const auto paramName = [] { return DatabaseManager::instance()->servoParams().value(0).value("name").toString(); };
    // The start-up switch runs before the first device broadcast: the stored type alone must pick the table.
    QCOMPARE(ComSettingsFrame::currentDevice(), TrelvoxServo);
    QCOMPARE(DatabaseManager::instance()->tableName(TrelvoxServo, DatabaseManager::ServoParamKind), QStringLiteral("servo_params4"));
    QCOMPARE(paramName(), QStringLiteral("Control mode"));
    QCOMPARE(window.languagePage().windowTitle(), QStringLiteral("Language Setting"));
    auto *realTime = window.servoParamPage().findChild<QAbstractButton *>(QStringLiteral("realTimeReadBtn"));
    MenuBarFrame *bar = MenuBarFrame::instance();
    auto *lock = bar->findChild<QAbstractButton *>(QStringLiteral("lockCtrlButton"));
    QWidget &page = window.languagePage();
    // Device, language picked (-1: Chinese with its file gone), the first servo parameter after (empty: untouched).
    // A language whose file is gone leaves the one shown before, English or Chinese.
    const QList<std::tuple<int, int, QString>> steps { { 3, 0, "控制模式" }, { 3, 1, "Control mode" },
        { 3, 1, "Control mode" }, { 1, 0, "" }, { 65535, 1, "" }, { 3, -1, "" }, { 3, 0, "控制模式" }, { 1, -1, "" } };
    bool chinese = false;
    for (const auto &[device, index, name] : steps) {
        const bool missing = index < 0, typeThree = !missing && device == 3;
        chinese = missing ? chinese : index == 0;
        if (missing)
            QVERIFY(QFile::rename(dir + QStringLiteral("Corvasta_ch.qm"), dir + QStringLiteral("gone.qm")));
        ComSettingsFrame::setCurrentDevice(DeviceEnum(device));
        DatabaseManager::instance()->onDeviceChanged(DeviceEnum(device));
        const QString before = paramName();
        if (device == 1)   // "None" is translated as the alarm item is drawn: drawn before the switch
            emit window.comSettings().realTimeAddrRead(int(RegisterMap::entry(24)), 0);
        if (!realTime->isChecked())
            realTime->click();
        bar->updateTaskComboBox(3);
        QVERIFY(realTime->isChecked());
        lock->setChecked(true);   // a running control keeps its Stop text across the switch
        QSignalSpy broadcast(DatabaseManager::instance(), &DatabaseManager::devChangedSignal);
        page.findChild<QComboBox *>(QStringLiteral("comboBox"))->setCurrentIndex(qMax(index, 0));
        page.findChild<QAbstractButton *>(QStringLiteral("pushButton"))->click();
        // The widgets hear of it by post; a change the application hears of by post reaches them by a second one.
        for (int round = 0; round < 2; ++round)
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        QCOMPARE(QCoreApplication::translate("MenuBarFrame", "Com Setting"), chinese ? QStringLiteral("通讯设置") : QStringLiteral("Com Setting"));
        QCOMPARE(page.windowTitle(), chinese ? QStringLiteral("语言设置") : QStringLiteral("Language Setting"));
        QCOMPARE(page.findChild<QAbstractButton *>(QStringLiteral("pushButton"))->text(), chinese ? QStringLiteral("确认") : QStringLiteral("Confirm"));
        QCOMPARE(page.findChild<QComboBox *>(QStringLiteral("comboBox"))->itemText(0),
                 chinese ? QStringLiteral("简体中文") : QStringLiteral("Simplified Chinese"));
        QCOMPARE(lock->text(), chinese ? QStringLiteral("拧紧停止") : QStringLiteral("Lock Stop"));
        QCOMPARE(bar->findChild<QAbstractButton *>(QStringLiteral("comSettingBtn"))->text(),
                 chinese ? QStringLiteral("通讯设置") : QStringLiteral("Com Setting"));
        if (device == 1)
            QCOMPARE(window.findChild<QLabel *>(QStringLiteral("status7Value"))->text(), chinese ? QStringLiteral("无") : QStringLiteral("None"));
        if (!typeThree)   // a type-3 re-broadcast has the task page empty the task names
            QCOMPARE(bar->findChild<QComboBox *>(QStringLiteral("taskComboBox"))->itemText(1),
                     chinese ? QStringLiteral("执行任务1") : QStringLiteral("Exec Task1"));
        QCOMPARE(realTime->isChecked(), missing);   // a switch stops the servo page's reading
        QCOMPARE(TestLookup::firstInts(broadcast), typeThree ? QList<int> { TrelvoxServo } : QList<int>());
        QCOMPARE(paramName(), name.isEmpty() ? before : name);
        if (missing)
            QVERIFY(QFile::rename(dir + QStringLiteral("gone.qm"), dir + QStringLiteral("Corvasta_ch.qm")));
    }
    QVERIFY(prompts.isEmpty());
    QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/Resource")).removeRecursively();
}

QTEST_MAIN(TestLanguageSetting)
#include "tst_languagesetting.moc"
