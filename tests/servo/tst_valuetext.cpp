#include "servo/servoparamframe.h"
#include "servo/valuetext.h"

#include <QtTest>

// The value texts of the parameter tables: a register value in each display mode and a typed text.
// The page's named conversions are used, as other pages call them.
class TestValueText : public QObject
{
    Q_OBJECT
private slots:
    void valueText_data();
    void valueText();
    void everyModeKeepsTheValue();
};

void TestValueText::valueText_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("shown");   // false: only typed; 0xABCD marks a text that does not convert
    QTest::newRow("16-bit signed") << 0xFFFFu << 16 << 1 << 0 << "-0.1" << true;
    QTest::newRow("16-bit unsigned") << 0xFFFFu << 16 << 1 << 1 << "6553.5" << true;
    QTest::newRow("hex ignores decimals") << 0xFFFFu << 16 << 1 << 2 << "16#ffff" << true;
    QTest::newRow("binary") << 0x5u << 16 << 1 << 3 << "2#101" << true;
    QTest::newRow("zero is non-negative") << 0u << 16 << 0 << 0 << "+0" << true;
    QTest::newRow("16-bit width drops the high word") << 0x12345u << 16 << 0 << 1 << "9029" << true;
    QTest::newRow("32-bit most negative") << 0x80000000u << 32 << 0 << 0 << "-2147483648" << true;
    QTest::newRow("half away from zero") << 1u << 32 << 2 << 1 << "0.005" << false;
    QTest::newRow("garbage") << 0xABCDu << 32 << 0 << 1 << "abc" << false;
    QTest::newRow("binary digit out of range") << 0xABCDu << 32 << 0 << 3 << "2#102" << false;
    QTest::newRow("hex beyond 32 bits") << 0xABCDu << 32 << 0 << 2 << "16#100000000" << false;
}

void TestValueText::valueText()
{
    QFETCH(quint32, value);
    QFETCH(int, width);
    QFETCH(int, decimals);
    QFETCH(int, mode);
    QFETCH(QString, text);
    QFETCH(bool, shown);
    if (shown)
        QCOMPARE(ServoParamFrame::formatValueText(value, width, decimals, mode), text);
    quint32 parsed = 0;
    QCOMPARE(ServoParamFrame::parseValueText(text, parsed, decimals), mode);
    const quint32 mask = width == 16 ? 0xFFFFu : 0xFFFFFFFFu;
    QCOMPARE(parsed & mask, value & mask);
    // Digits anywhere make a parameter number; none is no parameter, not Pn000.
    QCOMPARE(QList<int>({ ValueText::pnNumber(QStringLiteral("P0-12")), ValueText::pnNumber(QStringLiteral("Pn")) }), QList<int>({ 12, -1 }));
}

// A mode change re-reads the shown text and shows it again: no mode may lose the value.
void TestValueText::everyModeKeepsTheValue()
{
    for (int mode = 0; mode < 4; ++mode)
        for (quint32 v : { 0u, 0x7FFFu, 0x8000u, 0xFFFFu, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0x00020001u })
            for (int width : { 16, 32 }) {
                quint32 back = 0;
                ValueText::parseValueText(ValueText::formatValueText(v, width, 3, mode), back, 3);
                QCOMPARE(back & (width == 16 ? 0xFFFFu : 0xFFFFFFFFu), v & (width == 16 ? 0xFFFFu : 0xFFFFFFFFu));
            }
}

QTEST_APPLESS_MAIN(TestValueText)
#include "tst_valuetext.moc"
