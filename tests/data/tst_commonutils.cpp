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
        QTest::newRow("device communication") << 1 << "devcom_configs" << "DeviceAddr" << "17";
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
        DatabaseManager::resetInstance();
        QCOMPARE(CommonUtils::takeConfigVal(group, key, QStringLiteral("def")), value);
    }
    void badGroupOrFailedSave()
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Unknown configuration group")));
        QVERIFY(!CommonUtils::saveConfigVal(5, QStringLiteral("Key"), QStringLiteral("v")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Not a settings table")));
        QVERIFY(!DatabaseManager::instance()->saveConfig(QStringLiteral("account_infos"), QStringLiteral("k"), QStringLiteral("v")));
        DatabaseManager::resetInstance();
        // A table the program will not recreate while it runs.
        QVERIFY(m_db.exec("DROP TABLE network_configs") && m_db.exec("CREATE VIEW network_configs AS SELECT 'Port' AS key, '1' AS value"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("SQL statement failed.*network_configs.*Port")));
        QVERIFY(!CommonUtils::saveConfigVal(3, QStringLiteral("Port"), QStringLiteral("503")));
    }
};

QTEST_GUILESS_MAIN(TestCommonUtils)
#include "tst_commonutils.moc"
