#include "app/appparamframe.h"
#include "app/paramunit.h"
#include "support/testdatabase.h"

#include <QSignalSpy>
#include <QtTest>

// The torque unit table: every unit's name, decimals and factor, the range conversion, and the unit
// register followed by the application page.
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
    QTest::addColumn<QString>("range");        // "0~5.5" in this unit
    QTest::addColumn<QString>("shown");        // 1.5 N·m shown in this unit

    QTest::newRow("N·m") << 0 << "N·m" << 3 << "0.000~5.500" << "1.500";
    QTest::newRow("mN·m") << 1 << "mN·m" << 0 << "0~5500" << "1500";
    QTest::newRow("kgf·cm") << 2 << "kgf·cm" << 2 << "0.00~56.08" << "15.30";
    QTest::newRow("ibf·in") << 3 << "ibf·in" << 2 << "0.00~48.68" << "13.28";
    // No entry for the index: name and decimals of index 0, factor 1, and 0 decimals for ranges.
    QTest::newRow("index 7") << 7 << "N·m" << 3 << "0~6" << "1.500";
}

void TestParamUnit::units()
{
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(int, decimals);
    QFETCH(QString, range);
    QFETCH(QString, shown);

    setUnitIndex("torque", index);
    QCOMPARE(unitName("torque") + " " + QString::number(unitDecimals("torque")), name + " " + QString::number(decimals));
    QCOMPARE(unitRangeText("torque", "0~5.5"), range);
    QCOMPARE(QString::number(1.5 * unitScale("torque"), 'f', unitDecimals("torque")), shown);
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
    // Hexadecimal and unconvertible limits; ranges the conversion cannot read stay as written.
    QCOMPARE(QStringList({ unitRangeText("torque", "0x0~0x2"), unitRangeText("torque", "a~b"),
                           unitRangeText("torque", "5.5"), unitRangeText("torque", "1~2~3") }),
             QStringList({ "0~2", "0~65535", "5.5", "1~2~3" }));
    QCOMPARE(defaultUnitName("torque") + QString::number(defaultUnitDecimals("torque")), QStringLiteral("N·m3"));

    // A quantity without entries.
    QCOMPARE(unitName("speed") + QString::number(unitDecimals("speed")) + QString::number(unitScale("speed")),
             QStringLiteral("01"));
    QVERIFY(!setUnitIndex("speed", 1));
    clearUnitTable();
    QVERIFY(!setUnitIndex("torque", 1));
    QCOMPARE(spy.count(), 2);
}

QTEST_MAIN(TestParamUnit)
#include "tst_paramunit.moc"
