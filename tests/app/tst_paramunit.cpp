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
        page.onRealTimeAddrRead(3083, 2);   // the same index again
        page.onRealTimeAddrRead(3084, 3);   // not the unit register
        QCOMPARE(shown(), QStringList({ "kgf·cm", "2", "0.00~56.08", "15.30", "1" }));
        // No entry for the index: name and decimals of index 0, factor 1, and 0 decimals for ranges.
        page.onRealTimeAddrRead(3083, 7);
        QCOMPARE(shown(), QStringList({ "N·m", "3", "0~6", "1.500", "2" }));
        // Hexadecimal and unconvertible limits; ranges the conversion cannot read stay as written.
        QCOMPARE(QStringList({ unitRangeText("torque", "0x0~0x2"), unitRangeText("torque", "a~b"),
                               unitRangeText("torque", "5.5"), unitRangeText("torque", "1~2~3") }),
                 QStringList({ "0~2", "0~65535", "5.5", "1~2~3" }));
        clearUnitTable();   // an empty table takes no index
        QVERIFY(!setUnitIndex("torque", 1));
    }

private:
    TestDatabase m_db;
};

QTEST_MAIN(TestParamUnit)
#include "tst_paramunit.moc"
