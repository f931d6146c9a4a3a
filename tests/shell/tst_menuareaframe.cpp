#include "shell/menuareaframe.h"

#include "data/datasource.h"
#include "support/testdatabase.h"

#include <QLabel>
#include <QTreeWidget>
#include <QtTest>

// The hidden navigation tree: what each device type leaves visible, and what a click emits.
class TestMenuAreaFrame : public QObject
{
    Q_OBJECT

private slots:
    void visibleItems_data();
    void visibleItems();
    void clicks();
};

// "Group: leaf, leaf" for every visible group, as a person would read the tree.
static QStringList visibleTexts(QTreeWidget *tree)
{
    auto text = [tree](QTreeWidgetItem *item) {
        QStringList texts;
        for (const QLabel *label : tree->itemWidget(item, 0)->findChildren<QLabel *>())
            texts << label->text();
        return texts.join(QString());   // the icon and arrow labels hold no text
    };
    QStringList groups;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem *group = tree->topLevelItem(i);
        QStringList leaves;
        for (int j = 0; j < group->childCount(); ++j) {
            if (!group->child(j)->isHidden())
                leaves << text(group->child(j));
        }
        if (!group->isHidden())
            groups << text(group) + QStringLiteral(": ") + leaves.join(QStringLiteral(", "));
    }
    return groups;
}

void TestMenuAreaFrame::visibleItems_data()
{
    QTest::addColumn<QList<int>>("devices");
    QTest::addColumn<QStringList>("visible");
    const QStringList servo { "System Settings: Comm Settings, About Software",
                              "Servo Settings: Servo Parameters, Servo Debugging", "Work Waveform: Wave Monitor" };
    QStringList highVolt = servo;
    highVolt[0] = "System Settings: Comm Settings, System Update, About Software";
    QTest::newRow("screwdriver after servo") << QList<int>{ 3, 0 }
        << QStringList { servo[0], servo[1], "App Settings: App Parameters, App Debugging",
                         "Monitor Information: IO Monitoring, Alarm Information", servo[2],
                         "statistics Analysis: Work Record" };
    QTest::newRow("high volt adds update") << QList<int>{ 1 } << highVolt;
    QTest::newRow("type 3") << QList<int>{ 0, 3 } << servo;
    QTest::newRow("no device keeps type 1") << QList<int>{ 1, 65535 } << highVolt;
}

void TestMenuAreaFrame::visibleItems()
{
    QFETCH(QList<int>, devices);
    QFETCH(QStringList, visible);
    MenuAreaFrame frame;
    for (int type : devices)
        frame.onDeviceChanged(DeviceEnum(type));
    QCOMPARE(visibleTexts(frame.findChild<QTreeWidget *>()), visible);
}

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

    QTreeWidgetItem *servoGroup = tree->topLevelItem(1);
    emit tree->itemClicked(servoGroup, 0);
    QVERIFY(!servoGroup->isExpanded());
    emit tree->itemDoubleClicked(servoGroup, 0);
    QVERIFY(servoGroup->isExpanded());
    emit tree->itemClicked(servoGroup->child(1), 0);             // Servo Debugging
    emit tree->itemClicked(tree->topLevelItem(4)->child(0), 0);  // Wave Monitor
    emit tree->itemClicked(tree->topLevelItem(5)->child(0), 0);  // Work Record
    QCOMPARE(events, (QStringList { "1", "1", "show1", "21", "show0", "40", "60" }));
}

QTEST_MAIN(TestMenuAreaFrame)
#include "tst_menuareaframe.moc"
