#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "support/testdatabase.h"

#include <QRegularExpression>
#include <QtTest>

class TestCommonUtils : public QObject
{
    Q_OBJECT
    TestDatabase m_db;

private slots:
    void initTestCase() { QVERIFY(m_db.isValid()); }
    void valuesPerGroup_data()
    {
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("oscilloscope") << 0 << "oscill_configs" << "SampleTime" << "2";
        QTest::newRow("device communication") << 1 << "devcom_configs" << "DeviceAddr" << "17";
        QTest::newRow("serial port") << 2 << "serial_configs" << "PortName" << "COM3";
        QTest::newRow("network") << 3 << "network_configs" << "IpAddr" << "192.168.1.10";
        QTest::newRow("empty value: stored, not missing") << 0 << "oscill_configs" << "Empty" << "";
        QTest::newRow("compatibility, quoted") << 4 << "compatibility" << "Old'Key" << "it's \"1\"";
    }
    void valuesPerGroup()
    {
        QFETCH(int, group);
        QFETCH(QString, table);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QCOMPARE(CommonUtils::configTable(group), table);
        QCOMPARE(CommonUtils::takeConfigVal(group, key, QStringLiteral("def")), QStringLiteral("def"));
        QVERIFY(CommonUtils::saveConfigVal(group, key, QStringLiteral("first")) && CommonUtils::saveConfigVal(group, key, value));
        QCOMPARE(CommonUtils::takeConfigVal(group, key, QStringLiteral("def")), value);
        DatabaseManager::resetInstance();   // still there after a restart
        QCOMPARE(CommonUtils::takeConfigVal(group, key, QStringLiteral("def")), value);
    }
    void groupsAreSeparate()
    {
        QVERIFY(CommonUtils::saveConfigVal(1, QStringLiteral("Shared"), QStringLiteral("one")));
        QVERIFY(CommonUtils::saveConfigVal(2, QStringLiteral("Shared"), QStringLiteral("two")));
        QCOMPARE(CommonUtils::takeConfigVal(1, QStringLiteral("Shared"), QString()), QStringLiteral("one"));
        QCOMPARE(CommonUtils::takeConfigVal(2, QStringLiteral("Shared"), QString()), QStringLiteral("two"));
        QCOMPARE(CommonUtils::takeConfigVal(3, QStringLiteral("Shared"), QStringLiteral("none")), QStringLiteral("none"));
    }
    void badGroupOrFailedSave()
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Unknown configuration group")));
        QVERIFY(!CommonUtils::saveConfigVal(5, QStringLiteral("Key"), QStringLiteral("v")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Unknown configuration group")));
        QCOMPARE(CommonUtils::takeConfigVal(-1, QStringLiteral("Key"), QStringLiteral("def")), QStringLiteral("def"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Not a settings table")));
        QVERIFY(!DatabaseManager::instance()->saveConfig(QStringLiteral("account_infos"), QStringLiteral("k"), QStringLiteral("v")));
        QVERIFY(CommonUtils::saveConfigVal(3, QStringLiteral("Port"), QStringLiteral("502")));
        DatabaseManager::resetInstance();
        // A table the program will not recreate while it runs.
        QVERIFY(m_db.exec("DROP TABLE network_configs") && m_db.exec("CREATE VIEW network_configs AS SELECT 'Port' AS key, '1' AS value"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("SQL statement failed.*network_configs.*Port")));
        QVERIFY(!CommonUtils::saveConfigVal(3, QStringLiteral("Port"), QStringLiteral("503")));
    }
};

QTEST_GUILESS_MAIN(TestCommonUtils)
#include "tst_commonutils.moc"
