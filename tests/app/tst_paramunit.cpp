#include "app/appparamframe.h"
#include "app/paramunit.h"
#include "support/testdatabase.h"

#include <QSignalSpy>
#include <QtTest>

// The torque unit table, the range conversion, and the unit register followed by the application page.
class TestParamUnit : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(m_db.isValid()); }
    void init() { clearUnitTable(); initUnitTable(); }
    void units_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("shown");   // name and decimals, "0~5.5" and 1.5 N·m in this unit
        QTest::newRow("mN·m") << 1 << "mN·m 0 0~5500 1500";
        QTest::newRow("kgf·cm") << 2 << "kgf·cm 2 0.00~56.08 15.30";
        // No entry for the index: name and decimals of index 0, factor 1, and 0 decimals for ranges.
        QTest::newRow("index 7") << 7 << "N·m 3 0~6 1.500";
    }
    void units()
    {
        QFETCH(int, index);
        QFETCH(QString, shown);
        setUnitIndex("torque", index);
        QCOMPARE(QStringList({ unitName("torque"), QString::number(unitDecimals("torque")), unitRangeText("torque", "0~5.5"),
                               QString::number(1.5 * unitScale("torque"), 'f', unitDecimals("torque")) }).join(' '), shown);
    }
    void unitRegister()
    {
        AppParamFrame page;
        QSignalSpy spy(&page, &AppParamFrame::paramUnitChanged);
        page.onRealTimeAddrRead(3083, 2);
        QCOMPARE(unitName("torque") + QString::number(spy.count()), QStringLiteral("kgf·cm1"));
        page.onRealTimeAddrRead(3083, 2);       // the same index again
        page.onRealTimeAddrRead(3084, 3);       // not the unit register
        QCOMPARE(spy.count(), 1);
        page.onRealTimeAddrRead(3083, 7);
        QCOMPARE(spy.count(), 2);
        // Hexadecimal and unconvertible limits; ranges the conversion cannot read stay as written.
        QCOMPARE(QStringList({ unitRangeText("torque", "0x0~0x2"), unitRangeText("torque", "a~b"),
                               unitRangeText("torque", "5.5"), unitRangeText("torque", "1~2~3") }),
                 QStringList({ "0~2", "0~65535", "5.5", "1~2~3" }));
        QCOMPARE(defaultUnitName("torque") + QString::number(defaultUnitDecimals("torque")), QStringLiteral("N·m3"));
        // An empty table takes no index.
        clearUnitTable();
        QVERIFY(!setUnitIndex("torque", 1));
    }

private:
    TestDatabase m_db;
};

QTEST_MAIN(TestParamUnit)
#include "tst_paramunit.moc"
