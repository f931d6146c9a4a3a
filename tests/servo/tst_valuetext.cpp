#include "servo/servoparamframe.h"
#include "servo/valuetext.h"
#include "widgets/customitemdelegate.h"

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
    void formatValueText_data();
    void formatValueText();
    void parseValueText_data();
    void parseValueText();
    void wordOrder_data();
    void wordOrder();
    void parseRange_data();
    void parseRange();
    void pnNumber_data();
    void pnNumber();
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
        for (int decimals : { 0, 3 })
            for (quint32 v : { 0u, 1u, 0x7FFFu, 0x8000u, 0xFFFFu, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0x00020001u })
                for (int width : { 16, 32 }) {
                    quint32 back = 0;
                    ValueText::parseValueText(ValueText::formatValueText(v, width, decimals, mode), back, decimals);
                    QCOMPARE(back & (width == 16 ? 0xFFFFu : 0xFFFFFFFFu), v & (width == 16 ? 0xFFFFu : 0xFFFFFFFFu));
                }
}

// Register values shown, beyond the rows that are also typed back above.
void TestValueText::formatValueText_data()
{
    QTest::addColumn<quint32>("value");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("text");
    QTest::newRow("16-bit all ones, binary") << 0xFFFFu << 16 << 1 << 3 << "2#1111111111111111";
    QTest::newRow("signed keeps trailing zeros") << 250u << 16 << 2 << 0 << "+2.50";
    QTest::newRow("16-bit hex drops the high word") << 0x12345u << 16 << 0 << 2 << "16#2345";
    QTest::newRow("32-bit negative") << 0xFFFE7960u << 32 << 0 << 0 << "-100000";
    QTest::newRow("32-bit unsigned") << 0xFFFFFFFFu << 32 << 0 << 1 << "4294967295";
    QTest::newRow("32-bit hex without leading zeros") << 0x00020001u << 32 << 0 << 2 << "16#20001";
    QTest::newRow("binary of zero") << 0u << 32 << 0 << 3 << "2#0";
    QTest::newRow("unknown mode") << 5u << 16 << 0 << 4 << "";
}

void TestValueText::formatValueText()
{
    QFETCH(quint32, value);
    QFETCH(int, width);
    QFETCH(int, decimals);
    QFETCH(int, mode);
    QFETCH(QString, text);
    QCOMPARE(ServoParamFrame::formatValueText(value, width, decimals, mode), text);
}

// Typed texts, all 32 bits of the value compared.
void TestValueText::parseValueText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<quint32>("value");
    QTest::addColumn<int>("mode");
    QTest::newRow("signed") << "+1.25" << 2 << 125u << 0;
    QTest::newRow("unsigned") << "1.25" << 2 << 125u << 1;
    QTest::newRow("hex ignores decimals") << "16#1F" << 2 << 31u << 2;
    QTest::newRow("negative wraps to 32 bits") << "-0.1" << 1 << 0xFFFFFFFFu << 0;
    QTest::newRow("negative half away from zero") << "-0.005" << 2 << 0xFFFFFFFFu << 0;
    QTest::newRow("empty") << "" << 0 << 0xABCDu << 1;
    QTest::newRow("signed placeholder") << "+none" << 0 << 0xABCDu << 0;
    QTest::newRow("unsigned placeholder") << "none" << 0 << 0xABCDu << 1;
    QTest::newRow("hex placeholder") << "16#none" << 0 << 0xABCDu << 2;
    QTest::newRow("binary placeholder") << "2#none" << 0 << 0xABCDu << 3;
}

void TestValueText::parseValueText()
{
    QFETCH(QString, text);
    QFETCH(int, decimals);
    QFETCH(quint32, value);
    QFETCH(int, mode);
    quint32 parsed = 0;
    QCOMPARE(ServoParamFrame::parseValueText(text, parsed, decimals), mode);
    QCOMPARE(parsed, value);
}

void TestValueText::wordOrder_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("wide");
    QTest::addColumn<bool>("highFirst");
    QTest::addColumn<quint32>("combined");   // registers 0x0001 (address) and 0x0002 (address + 1)
    QTest::newRow("int32") << "int32" << true << true << 0x00010002u;
    QTest::newRow("int32H") << "int32H" << true << true << 0x00010002u;
    QTest::newRow("int32L") << "int32L" << true << false << 0x00020001u;
    QTest::newRow("int16") << "int16" << false << false << 0u;
    QTest::newRow("case matters") << "INT32" << false << false << 0u;
}

void TestValueText::wordOrder()
{
    QFETCH(QString, format);
    QFETCH(bool, wide);
    QFETCH(bool, highFirst);
    QFETCH(quint32, combined);
    QCOMPARE(ServoParamFrame::isInt32Format(format), wide);
    QCOMPARE(ServoParamFrame::isHighWordFirst(format), highFirst);
    QCOMPARE(ServoParamFrame::isLowWordFirst(format), wide && !highFirst);
    if (!wide)
        return;
    QCOMPARE(ValueText::combineWords(format, 0x0001, 0x0002), combined);
    quint16 first = 0;
    quint16 second = 0;
    ValueText::splitWords(format, combined, &first, &second);
    QCOMPARE(first, quint16(0x0001));
    QCOMPARE(second, quint16(0x0002));
}

void TestValueText::parseRange_data()
{
    QTest::addColumn<QString>("range");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<bool>("converted");
    QTest::addColumn<double>("min");
    QTest::addColumn<double>("max");
    QTest::addColumn<int>("decimals");
    QTest::newRow("hex") << "0x0~0xFFFF" << true << true << 0.0 << 65535.0 << 0;
    QTest::newRow("signed decimals") << "-10.00~10.00" << true << true << -10.0 << 10.0 << 2;
    QTest::newRow("decimals of the maximum") << "1.5~10" << true << true << 1.5 << 10.0 << 0;
    QTest::newRow("32-bit") << "-2147483648~2147483647" << true << true << -2147483648.0 << 2147483647.0 << 0;
    QTest::newRow("blank after the maximum") << "1~2.50 " << true << true << 1.0 << 2.5 << 2;
    QTest::newRow("limits that do not convert") << "low~high" << true << false << 0.0 << 65535.0 << 0;
    QTest::newRow("empty parts") << "~" << true << false << 0.0 << 65535.0 << 0;
    QTest::newRow("three parts") << "1~2~3" << false << false << 0.0 << 0.0 << 0;
    QTest::newRow("no separator") << "5" << false << false << 0.0 << 0.0 << 0;
    QTest::newRow("empty") << "" << false << false << 0.0 << 0.0 << 0;
}

void TestValueText::parseRange()
{
    QFETCH(QString, range);
    QFETCH(bool, valid);
    QFETCH(bool, converted);
    QFETCH(double, min);
    QFETCH(double, max);
    QFETCH(int, decimals);
    const ValueText::Range r = ValueText::parseRange(range);
    const QVariant config = ValueText::rangeEditorConfig(range);
    QCOMPARE(r.valid, valid);
    QCOMPARE(config.isValid(), valid);
    if (!valid)
        return;
    QCOMPARE(r.min, min);
    QCOMPARE(r.max, max);
    QCOMPARE(r.decimals, decimals);
    QCOMPARE(r.converted, converted);
    QCOMPARE(config, CustomItemDelegate::lineEditConfig(min, max, decimals, true));
}

void TestValueText::pnNumber_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("number");
    QTest::newRow("Pn012") << "Pn012" << 12;
    QTest::newRow("Pn000") << "Pn000" << 0;
    // Every ASCII digit counts wherever it stands; nothing else does, other scripts' digits neither.
    QTest::newRow("digits apart") << "P0-12" << 12;
    QTest::newRow("signs and blanks") << " -Pn 1 2+" << 12;
    QTest::newRow("hexadecimal text") << "Pn0x1A" << 1;
    QTest::newRow("exponent") << "1e3" << 13;
    QTest::newRow("superscript two") << QString::fromUtf8("Pn²3") << 3;
    QTest::newRow("mathematical zero") << QString::fromUtf8("Pn\U0001D7D81") << 1;
    QTest::newRow("Arabic-Indic digits") << QString::fromUtf8("Pn١٢") << -1;
    QTest::newRow("fullwidth digits") << QString::fromUtf8("Pn１２") << -1;
    QTest::newRow("no digits") << "Pn" << -1;
    QTest::newRow("empty") << "" << -1;
    QTest::newRow("leading zeros") << "Pn" + QString(3000, '0') + "12" << 12;
    QTest::newRow("largest int") << "Pn2147483647" << 2147483647;
    QTest::newRow("past an int") << "Pn2147483648" << -1;
    QTest::newRow("far past an int") << "Pn99999999999999999999" << -1;
}

void TestValueText::pnNumber()
{
    QFETCH(QString, code);
    QFETCH(int, number);
    QCOMPARE(ValueText::pnNumber(code), number);
}

QTEST_APPLESS_MAIN(TestValueText)
#include "tst_valuetext.moc"
