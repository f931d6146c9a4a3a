#include "app/appparamframe.h"
#include "app/paramunit.h"
#include "support/testdatabase.h"

#include <QSignalSpy>
#include <QtTest>

// The torque unit table: every unit's name, decimals and factor, the range conversion, the two
// work-record conversions, and the unit register followed by the application page.
class TestParamUnit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_db.isValid()); m_page = new AppParamFrame; }
    void cleanupTestCase() { delete m_page; }
    void init() { clearUnitTable(); initUnitTable(); }
    void units_data();
    void units();
    void unitRegister();

private:
    TestDatabase m_db;
    AppParamFrame *m_page = nullptr;
};

void TestParamUnit::units_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<double>("scale");
    QTest::addColumn<QString>("range");        // "0~5.5" in this unit
    QTest::addColumn<int>("raw");              // a device torque with 2 decimals...
    QTest::addColumn<QString>("stored");       // ...stored in N·m
    QTest::addColumn<QString>("shown");        // 1.5 N·m shown in this unit

    QTest::newRow("N·m") << 0 << "N·m" << 3 << 1.0 << "0.000~5.500" << 150 << "1.500" << "1.500";
    QTest::newRow("mN·m") << 1 << "mN·m" << 0 << 1 / 0.001 << "0~5500" << 150000 << "1.500" << "1500";   // 1500.00
    QTest::newRow("kgf·cm") << 2 << "kgf·cm" << 2 << 1 / 0.098067 << "0.00~56.08" << 1530 << "1.500" << "15.30";
    QTest::newRow("ibf·in") << 3 << "ibf·in" << 2 << 1 / 0.112985 << "0.00~48.68" << 1328 << "1.500" << "13.28";
    // No entry for the index: name and decimals of index 0, factor 1, and 0 decimals for ranges.
    QTest::newRow("index 7") << 7 << "N·m" << 3 << 1.0 << "0~6" << 150 << "1.500" << "1.500";
}

void TestParamUnit::units()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(int, decimals);
    QFETCH(double, scale);
    QFETCH(QString, range);
    QFETCH(int, raw);
    QFETCH(QString, stored);
    QFETCH(QString, shown);

    setUnitIndex("torque", index);
    QCOMPARE(unitIndex("torque"), index);
    QCOMPARE(unitName("torque"), name);
    QCOMPARE(unitDecimals("torque"), decimals);
    QCOMPARE(unitScale("torque"), scale);
    QCOMPARE(defaultUnitName("torque"), QStringLiteral("N·m"));
    QCOMPARE(defaultUnitDecimals("torque"), 3);
    QCOMPARE(unitRangeText("torque", "0~5.5"), range);

    const double base = raw / 100.0 / unitScale("torque");
    QCOMPARE(QString::number(base, 'f', defaultUnitDecimals("torque")), stored);
    QCOMPARE(QString::number(stored.toDouble() * unitScale("torque"), 'f', unitDecimals("torque")), shown);

    // Ranges the conversion cannot read.
    QCOMPARE(unitRangeText("torque", "5.5"), QStringLiteral("5.5"));
    QCOMPARE(unitRangeText("torque", "1~2~3"), QStringLiteral("1~2~3"));
}

void TestParamUnit::unitRegister()
{
    QSignalSpy spy(m_page, &AppParamFrame::paramUnitChanged);
    m_page->onRealTimeAddrRead(3083, 2);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(unitName("torque"), QStringLiteral("kgf·cm"));
    m_page->onRealTimeAddrRead(3083, 2);       // the same index again
    m_page->onRealTimeAddrRead(3084, 3);       // not the unit register
    QCOMPARE(spy.count(), 1);
    m_page->onRealTimeAddrRead(3083, 7);
    QCOMPARE(spy.count(), 2);
    QCOMPARE(unitRangeText("torque", "0x0~0x2"), QStringLiteral("0~2"));
    QCOMPARE(unitRangeText("torque", "a~b"), QStringLiteral("0~65535"));

    // A quantity without entries.
    QCOMPARE(unitName("speed"), QString());
    QCOMPARE(unitDecimals("speed"), 0);
    QCOMPARE(unitScale("speed"), 1.0);
    QVERIFY(!setUnitIndex("speed", 1));
    clearUnitTable();
    QVERIFY(!setUnitIndex("torque", 1));
    QCOMPARE(spy.count(), 2);
}

QTEST_MAIN(TestParamUnit)
#include "tst_paramunit.moc"
