#include "shell/mainwindow.h"

#include "support/promptrecorder.h"
#include "support/testdatabase.h"
#include "support/warninglog.h"

#include <QStackedWidget>
#include <QtTest>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void pagesMenuIdsAndClose();
};

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
        auto *stack = window.findChild<QStackedWidget *>(QStringLiteral("workAreaFrameStack"));
        QList<QWidget *> pages;   // exactly the pages, in id order
        for (int i = 0; i < stack->count(); ++i)
            pages << stack->widget(i);
        QCOMPARE(pages, window.pageMap().values());
        QCOMPARE(window.currentPage(), window.pageMap().value(70));
        for (int id : { 60, 0, 13, 99, -1 })   // not a page: the page stays
            window.onMenuClicked(id);
        QCOMPARE(window.currentPage(), window.pageMap().value(60));
        window.onMenuClicked(20), window.onMenuClicked(21);   // a page whatever the permissions; a dialog over it
        QCOMPARE(window.currentPage(), window.pageMap().value(20));
        window.onMenuClicked(11), window.onMenuClicked(11);   // again while open
        QVERIFY(window.jogDialog().isVisible() && window.comSettings().isVisible());
        QVERIFY(window.comSettings().windowFlags() & Qt::WindowStaysOnTopHint);
        window.returnStandbyPage();
        QCOMPARE(window.currentPage(), window.pageMap().value(70));
        window.show(), window.showAboutInfo();
        QVERIFY(!window.aboutBox()->testAttribute(Qt::WA_QuitOnClose));
        QVERIFY(window.close());
        QVERIFY(!window.comSettings().isVisible() && !window.jogDialog().isVisible());
    }
    QCOMPARE(warnings.lines().filter(QStringLiteral("QObject")), QStringList());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
