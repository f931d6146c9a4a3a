#include "shell/mainwindow.h"

#include "data/databasemanager.h"
#include "shell/permmanageframe.h"
#include "shell/statusareaframe.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"
#include "support/warninglog.h"

#include <QStackedWidget>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void pagesAndMenuIds();
    void iconFitting_data();
    void iconFitting();
    void statusBarAndPasswordGate();
    void aboutBox();
    void closeEndsProgram();

private:
    TestDatabase *m_db = nullptr;
    MainWindow *m_window = nullptr;
    PromptRecorder m_prompts;
    WarningLog *m_warnings = nullptr;
};

void TestMainWindow::initTestCase()
{
    m_warnings = new WarningLog;
    m_db = new TestDatabase;
    QVERIFY(m_db->isValid());
    m_window = new MainWindow;
}

// No connection by name or by signature may have failed on the way.
void TestMainWindow::cleanupTestCase()
{
    delete m_window;
    delete m_db;
    const QStringList warnings = m_warnings->lines().filter(QStringLiteral("QObject"));
    delete m_warnings;
    QCOMPARE(warnings, QStringList());
}

void TestMainWindow::pagesAndMenuIds()
{
    // The form's two empty pages are gone: the stack holds exactly the pages, in id order.
    auto *stack = m_window->findChild<QStackedWidget *>(QStringLiteral("workAreaFrameStack"));
    QList<QWidget *> pages;
    for (int i = 0; i < stack->count(); ++i)
        pages << stack->widget(i);
    QCOMPARE(pages, m_window->pageMap().values());
    QCOMPARE(m_window->currentPage(), m_window->pageMap().value(70));
    QVERIFY(!m_window->loadTranslator(2));   // no third language: refused, not indexed

    m_window->onMenuClicked(60);
    for (int id : { 0, 3, 5, 13, 99, -1 }) {
        m_window->onMenuClicked(id);
        QCOMPARE(m_window->currentPage(), m_window->pageMap().value(60));
    }
    m_window->onMenuClicked(20);   // shown whatever the permissions
    m_window->onMenuClicked(21);   // a dialog over the page
    QVERIFY(m_window->jogDialog().isVisible());
    QCOMPARE(m_window->currentPage(), m_window->pageMap().value(20));
    for (int i = 0; i < 2; ++i) {
        m_window->onMenuClicked(11);
        QVERIFY(m_window->comSettings().isVisible());
        QVERIFY(m_window->comSettings().windowFlags() & Qt::WindowStaysOnTopHint);
    }
    m_window->returnStandbyPage();
    QCOMPARE(m_window->currentPage(), m_window->pageMap().value(70));
}

void TestMainWindow::iconFitting_data()
{
    QTest::addColumn<QSize>("in");
    QTest::addColumn<QSize>("out");   // at most 72 wide
    QTest::newRow("wide icon") << QSize(200, 100) << QSize(72, 36);
    QTest::newRow("narrow icon kept") << QSize(64, 64) << QSize(64, 64);
    QTest::newRow("thin strip stays visible") << QSize(1000, 2) << QSize(72, 1);
}

void TestMainWindow::iconFitting()
{
    QFETCH(QSize, in);
    QFETCH(QSize, out);
    QPixmap pixmap(in);
    pixmap.fill(Qt::red);
    QCOMPARE(MainWindow::fitPixmap(pixmap, 72).size(), out);
}

void TestMainWindow::statusBarAndPasswordGate()
{
    auto *bar = m_window->findChild<StatusAreaFrame *>(QStringLiteral("statusAreaFrame"));
    // The broadcast reaches the window through the database manager.
    DatabaseManager::instance()->onDeviceChanged(SdriverDevice);
    QCOMPARE(bar->minimumHeight(), 70);
    DatabaseManager::instance()->onDeviceChanged(NoDevice);
    QCOMPARE(bar->minimumHeight(), 50);

    m_prompts.clear();
    PermManageFrame::setCurrentAccount(RecordItem());
    m_window->showModifyPswDialog();
    PermManageFrame::setCurrentAccount({ { QStringLiteral("account"), QStringLiteral("operator") } });
    m_window->showModifyPswDialog();
    QCOMPARE(m_prompts.texts(), QStringList("Tips: Please login first!"));
    PermManageFrame::setCurrentAccount(RecordItem());
}

void TestMainWindow::aboutBox()
{
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkpath(QStringLiteral("Resource")));
    const QString saved = QDir::currentPath();
    QDir::setCurrent(dir.path());
    QFile file(dir.filePath(QStringLiteral("Resource/about.txt")));
    const auto shownFor = [&](const QByteArray *content) {
        if (content) {
            file.open(QIODevice::WriteOnly);
            file.write(*content);
            file.close();
        }
        m_window->showAboutInfo();
        return m_window->aboutBox()->text();
    };

    QVERIFY(shownFor(nullptr).startsWith(QStringLiteral("Servo monitor and debug software Velquin-V4.1.2\n\n")));
    QMessageBox *box = m_window->aboutBox();
    QVERIFY(!box->isModal());
    const QByteArray empty;
    QCOMPARE(shownFor(&empty), QString());
    QCOMPARE(m_window->aboutBox(), box);   // one box, reused
    const QByteArray withNul("关于\0ignored", 13);
    QCOMPARE(shownFor(&withNul), QStringLiteral("关于"));
    QDir::setCurrent(saved);
}

void TestMainWindow::closeEndsProgram()
{
    m_window->show();
    m_window->onMenuClicked(11);
    m_window->showAboutInfo();
    QVERIFY(!m_window->aboutBox()->testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(m_window->close());
    QVERIFY(!m_window->comSettings().isVisible());
    QVERIFY(!m_window->jogDialog().isVisible());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
