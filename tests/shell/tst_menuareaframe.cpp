#include "shell/menuareaframe.h"

#include "data/datasource.h"
#include "support/testdatabase.h"

#include <QTreeWidget>
#include <QtTest>

// The hidden navigation tree: what a click emits.
class TestMenuAreaFrame : public QObject
{
    Q_OBJECT

private slots:
    void clicks();
};

void TestMenuAreaFrame::clicks()
{
    TestDatabase db;
    QVERIFY(db.isValid());
    DataSource source;
    MenuAreaFrame frame;
    QTreeWidget *tree = frame.findChild<QTreeWidget *>();
    // The oscilloscope hook and the menu signal, in the order they happen.
    QStringList events;
    connect(&source, &DataSource::oscillShowSignal, this, [&](int, int mode) { events << QStringLiteral("show%1").arg(mode); });
    connect(&frame, &MenuAreaFrame::menuClicked, this, [&](int id) { events << QString::number(id); });
    emit tree->itemClicked(tree->topLevelItem(1), 0);   // Servo Settings
    emit tree->itemDoubleClicked(tree->topLevelItem(1), 0);
    emit tree->itemClicked(tree->topLevelItem(1)->child(1), 0);  // Servo Debugging
    emit tree->itemClicked(tree->topLevelItem(4)->child(0), 0);  // Wave Monitor
    emit tree->itemClicked(tree->topLevelItem(5)->child(0), 0);  // Work Record
    QCOMPARE(events, (QStringList { "1", "1", "show1", "21", "show0", "40", "60" }));
}

QTEST_MAIN(TestMenuAreaFrame)
#include "tst_menuareaframe.moc"
