#include "shell/languagesettingframe.h"

#include "comm/comsettingsframe.h"
#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "shell/mainwindow.h"
#include "shell/menubarframe.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QtTest>

// The language switch on a whole main window, with the compiled translations placed where the
// program looks for them (beside the executable).
class TestLanguageSetting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void switchAndBack_data();
    void switchAndBack();

private:
    QString firstParamName() const
    {
        return DatabaseManager::instance()->servoParams().value(0).value(QStringLiteral("name")).toString();
    }
    QAbstractButton *realTimeButton() const
    {
        return m_window->servoParamPage().findChild<QAbstractButton *>(QStringLiteral("realTimeReadBtn"));
    }
    QString translationsDir() const { return QCoreApplication::applicationDirPath() + QStringLiteral("/Resource/Translations/"); }
    QAbstractButton *confirmButton() const { return m_window->languagePage().findChild<QAbstractButton *>(QStringLiteral("pushButton")); }
    // Picks a language in the window and confirms, as the user does; the widgets hear of it by post.
    void choose(int index)
    {
        m_window->languagePage().findChild<QComboBox *>(QStringLiteral("comboBox"))->setCurrentIndex(index);
        confirmButton()->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    }

    TestDatabase m_db;
    MainWindow *m_window = nullptr;
    PromptRecorder m_prompts;
};

void TestLanguageSetting::initTestCase()
{
    QVERIFY(m_db.isValid());
    QVERIFY(QDir().mkpath(translationsDir()));
    for (const char *name : { "Corvasta_ch.qm", "Corvasta_en.qm" }) {
        QFile::remove(translationsDir() + QLatin1String(name));
        QVERIFY(QFile::copy(QStringLiteral(TEST_BUILD_DIR "/Resource/Translations/") + QLatin1String(name),
                            translationsDir() + QLatin1String(name)));
    }
    QVERIFY(CommonUtils::saveConfigVal(1, QStringLiteral("DeviceType"), QStringLiteral("3")));
    m_window = new MainWindow;
    // The start-up switch runs before the first device broadcast: the stored type alone must pick the table.
    QCOMPARE(ComSettingsFrame::currentDevice(), TrelvoxServo);
    QCOMPARE(firstParamName(), QStringLiteral("Control mode"));
    QCOMPARE(m_window->languagePage().windowTitle(), QStringLiteral("Language Setting"));
}

void TestLanguageSetting::cleanupTestCase()
{
    delete m_window;
    QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/Resource")).removeRecursively();
}

void TestLanguageSetting::switchAndBack_data()
{
    QTest::addColumn<int>("device");
    QTest::addColumn<int>("index");            // -1: Chinese picked with its file gone
    QTest::addColumn<QString>("paramName");    // empty: the device's list is not touched
    QTest::addColumn<int>("broadcasts");
    QTest::newRow("type 3 to Chinese") << 3 << 0 << "控制模式" << 1;
    QTest::newRow("type 3 back to English") << 3 << 1 << "Control mode" << 1;
    QTest::newRow("type 3 English again repeats") << 3 << 1 << "Control mode" << 1;
    QTest::newRow("type 1 to Chinese") << 1 << 0 << "" << 0;
    QTest::newRow("no device back to English") << 65535 << 1 << "" << 0;
    QTest::newRow("missing file changes nothing") << 3 << -1 << "" << 0;   // last: the file stays gone
}

void TestLanguageSetting::switchAndBack()
{
    QFETCH(int, device);
    QFETCH(int, index);
    QFETCH(QString, paramName);
    QFETCH(int, broadcasts);
    const bool chinese = index == 0, missing = index < 0;
    if (missing)
        QVERIFY(QFile::remove(translationsDir() + QStringLiteral("Corvasta_ch.qm")));
    ComSettingsFrame::setCurrentDevice(DeviceEnum(device));
    DatabaseManager::instance()->onDeviceChanged(DeviceEnum(device));
    const QString before = firstParamName();
    realTimeButton()->click();
    QVERIFY(realTimeButton()->isChecked());
    MenuBarFrame *bar = MenuBarFrame::instance();
    bar->updateTaskComboBox(3);
    auto *lock = bar->findChild<QAbstractButton *>(QStringLiteral("lockCtrlButton"));
    lock->setChecked(true);   // a running control keeps its Stop text across the switch

    LanguageSettingFrame &page = m_window->languagePage();
    QSignalSpy broadcast(DatabaseManager::instance(), &DatabaseManager::devChangedSignal);
    choose(qMax(index, 0));

    QCOMPARE(confirmButton()->text(), chinese ? QStringLiteral("确认") : QStringLiteral("Confirm"));
    QCOMPARE(page.findChild<QComboBox *>(QStringLiteral("comboBox"))->itemText(0),
             chinese ? QStringLiteral("简体中文") : QStringLiteral("Simplified Chinese"));
    QCOMPARE(page.windowTitle(), chinese ? QStringLiteral("语言设置") : QStringLiteral("Language Setting"));
    QCOMPARE(lock->text(), chinese ? QStringLiteral("拧紧停止") : QStringLiteral("Lock Stop"));
    // The tool bar's numbered task names follow too (a type-3 broadcast has the task page empty them).
    if (!broadcasts)
        QCOMPARE(bar->findChild<QComboBox *>(QStringLiteral("taskComboBox"))->itemText(1),
                 chinese ? QStringLiteral("执行任务1") : QStringLiteral("Exec Task1"));
    QCOMPARE(realTimeButton()->isChecked(), missing);   // a switch stops the servo page's reading
    QCOMPARE(broadcast.size(), broadcasts);
    if (broadcasts)
        QCOMPARE(broadcast.first().first().value<DeviceEnum>(), TrelvoxServo);
    QCOMPARE(firstParamName(), paramName.isEmpty() ? before : paramName);
    QVERIFY(m_prompts.isEmpty());
}

QTEST_MAIN(TestLanguageSetting)
#include "tst_languagesetting.moc"
