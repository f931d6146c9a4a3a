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
    void initTestCase() { QVERIFY(m_db.isValid()); }
    void init() { clearUnitTable(); initUnitTable(); }
    void units_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("shown");   // name, decimals, "0~5.5" and 1.5 N·m in this unit
        QTest::newRow("N·m") << 0 << "N·m 3 0.000~5.500 1.500";
        QTest::newRow("mN·m") << 1 << "mN·m 0 0~5500 1500";
        QTest::newRow("kgf·cm") << 2 << "kgf·cm 2 0.00~56.08 15.30";
        QTest::newRow("ibf·in") << 3 << "ibf·in 2 0.00~48.68 13.28";
        // No entry for the index: name and decimals of index 0, factor 1, and 0 decimals for ranges.
        QTest::newRow("index 7") << 7 << "N·m 3 0~6 1.500";
    }
    void units()
    {
        QFETCH(int, index);
        QFETCH(QString, shown);
        setUnitIndex("torque", index);
        QCOMPARE(unitIndex("torque"), index);
        const QString value = QString::number(1.5 * unitScale("torque"), 'f', unitDecimals("torque"));
        QCOMPARE(QStringList({ unitName("torque"), QString::number(unitDecimals("torque")), unitRangeText("torque", "0~5.5"), value })
                     .join(' '), shown);
        // A stored N·m value goes back unchanged through the factor; the defaults hold whatever the index.
        QCOMPARE(QString::number(value.toDouble() / unitScale("torque"), 'f', 2), QStringLiteral("1.50"));
        QCOMPARE(defaultUnitName("torque") + QString::number(defaultUnitDecimals("torque")), QStringLiteral("N·m3"));
    }
    void unitRegister()
    {
        AppParamFrame page;
        QSignalSpy spy(&page, &AppParamFrame::paramUnitChanged);
        // Name, decimals, "0~5.5" and 1.5 N·m in the unit, then how often the page told of a change.
        const auto shown = [&spy] {
            return QStringList({ unitName("torque"), QString::number(unitDecimals("torque")), unitRangeText("torque", "0~5.5"),
                                 QString::number(1.5 * unitScale("torque"), 'f', unitDecimals("torque")), QString::number(spy.count()) });
        };
        page.onRealTimeAddrRead(3083, 2);
        QCOMPARE(spy.count(), 1);
        page.onRealTimeAddrRead(3083, 2);   // the same index again
        page.onRealTimeAddrRead(3084, 3);   // not the unit register
        QCOMPARE(shown(), QStringList({ "kgf·cm", "2", "0.00~56.08", "15.30", "1" }));
        // No entry for the index: name and decimals of index 0, factor 1, and 0 decimals for ranges.
        page.onRealTimeAddrRead(3083, 7);
        QCOMPARE(shown(), QStringList({ "N·m", "3", "0~6", "1.500", "2" }));
        // The name of a given index, whichever is selected.
        QCOMPARE(QStringList({ unitName("torque", 2), unitName("torque", 3), unitName("torque", 9), unitName("speed", 0) }),
                 QStringList({ "kgf·cm", "ibf·in", "N·m", "" }));
        // Hexadecimal and unconvertible limits; ranges the conversion cannot read stay as written.
        QCOMPARE(QStringList({ unitRangeText("torque", "0x0~0x2"), unitRangeText("torque", "a~b"),
                               unitRangeText("torque", "5.5"), unitRangeText("torque", "1~2~3") }),
                 QStringList({ "0~2", "0~65535", "5.5", "1~2~3" }));
        // A quantity without entries.
        QCOMPARE(QStringList({ unitName("speed"), QString::number(unitDecimals("speed")), QString::number(unitScale("speed")) }),
                 QStringList({ "", "0", "1" }));
        QVERIFY(!setUnitIndex("speed", 1));
        clearUnitTable();   // an empty table takes no index
        QVERIFY(!setUnitIndex("torque", 1));
        QCOMPARE(spy.count(), 2);
    }

private:
    TestDatabase m_db;
};

QTEST_MAIN(TestParamUnit)
#include "tst_paramunit.moc"
