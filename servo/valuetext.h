#ifndef VALUETEXT_H
#define VALUETEXT_H

#include <QString>
#include <QVariant>

// Conversions between register values and the texts the parameter tables show, shared by the
// servo and the application parameter pages. Texts may carry "+" (signed), "16#" (hexadecimal)
// or "2#" (binary); values are scaled by 10^decimals.
class ValueText
{
public:
    enum Mode { Signed = 0, Unsigned = 1, Hex = 2, Binary = 3 };
    static constexpr quint32 NoValue = 0xABCD;

    struct Range {
        bool valid = false;     // exactly two parts around "~"
        bool converted = false; // both limits read as numbers (else they are 0 and 65535)
        double min = 0;
        double max = 0;
        int decimals = 0;       // characters after the "." of the maximum as written
    };

    static bool isInt32Format(const QString &format);       // "int32", "int32H", "int32L"
    static bool isHighWordFirst(const QString &format);     // "int32", "int32H"
    static bool isLowWordFirst(const QString &format);      // "int32L"
    // Joins the registers at address and address + 1 in the word order of the format.
    static quint32 combineWords(const QString &format, quint16 first, quint16 second);
    // The registers at address and address + 1 for a 32-bit value.
    static void splitWords(const QString &format, quint32 value, quint16 *first, quint16 *second);

    static QString formatValueText(quint32 value, int width, int decimals, int mode);
    // Returns the mode the text is written in; value becomes NoValue when it does not convert.
    static int parseValueText(const QString &text, quint32 &value, int decimals);
    // As parseValueText, but also says whether the text converted (NoValue is a valid value too).
    static int parseValueText(const QString &text, quint32 &value, int decimals, bool *ok);

    // "min~max": hexadecimal when it contains "0x", else decimal; limits that do not convert
    // become 0 and 65535.
    static Range parseRange(const QString &range);
    // The line-edit configuration of the item delegate for a range; invalid for a bad range.
    static QVariant rangeEditorConfig(const QString &range);

    // The ASCII digits of a parameter code, or any text, wherever they stand, read as one decimal
    // number ("Pn012", "P0-12" -> 12); -1 when there are none or they exceed an int. A file reads
    // one per line: a scan, not a regular expression.
    static int pnNumber(const QString &code);
};

#endif // VALUETEXT_H
