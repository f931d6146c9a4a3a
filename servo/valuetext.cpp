#include "servo/valuetext.h"

#include "widgets/customitemdelegate.h"

#include <QStringList>
#include <cmath>
#include <limits>

bool ValueText::isInt32Format(const QString &format)
{
    return isHighWordFirst(format) || isLowWordFirst(format);
}

bool ValueText::isHighWordFirst(const QString &format)
{
    return format == QLatin1String("int32") || format == QLatin1String("int32H");
}

bool ValueText::isLowWordFirst(const QString &format)
{
    return format == QLatin1String("int32L");
}

quint32 ValueText::combineWords(const QString &format, quint16 first, quint16 second)
{
    if (isLowWordFirst(format))
        return (quint32(second) << 16) | first;
    return (quint32(first) << 16) | second;
}

void ValueText::splitWords(const QString &format, quint32 value, quint16 *first, quint16 *second)
{
    const quint16 high = quint16(value >> 16);
    const quint16 low = quint16(value & 0xFFFF);
    *first = isLowWordFirst(format) ? low : high;
    *second = isLowWordFirst(format) ? high : low;
}

QString ValueText::formatValueText(quint32 value, int width, int decimals, int mode)
{
    const quint32 raw = width == 32 ? value : (value & 0xFFFF);
    const double scale = std::pow(10.0, qMax(0, decimals));
    const int places = qMax(0, decimals);
    switch (mode) {
    case Unsigned:
        return QString::number(double(raw) / scale, 'f', places);
    case Signed: {
        const qint64 s = width == 32 ? qint64(qint32(value)) : qint64(qint16(quint16(value & 0xFFFF)));
        const QString number = QString::number(double(s) / scale, 'f', places);
        return s >= 0 ? QLatin1Char('+') + number : number;
    }
    case Hex:
        return QStringLiteral("16#") + QString::number(raw, 16);
    case Binary:
        return QStringLiteral("2#") + QString::number(raw, 2);
    default:
        return QString();
    }
}

int ValueText::parseValueText(const QString &text, quint32 &value, int decimals)
{
    return parseValueText(text, value, decimals, nullptr);
}

int ValueText::parseValueText(const QString &text, quint32 &value, int decimals, bool *ok)
{
    bool good = false;
    int mode = Unsigned;
    QString t = text.trimmed();
    if (t.contains(QLatin1String("2#"))) {
        mode = Binary;
        const qulonglong v = t.remove(QLatin1String("2#")).toULongLong(&good, 2);
        good = good && v <= 0xFFFFFFFFull;
        value = quint32(v);
    } else if (t.contains(QLatin1String("16#"))) {
        mode = Hex;
        const qulonglong v = t.remove(QLatin1String("16#")).toULongLong(&good, 16);
        good = good && v <= 0xFFFFFFFFull;
        value = quint32(v);
    } else {
        mode = (t.contains(QLatin1Char('+')) || t.contains(QLatin1Char('-'))) ? Signed : Unsigned;
        const double d = t.toDouble(&good) * std::pow(10.0, qMax(0, decimals));
        good = good && std::isfinite(d) && std::fabs(d) < 9.2e18;
        if (good)
            value = quint32(quint64(std::llround(d)));   // halves away from zero, low 32 bits kept
    }
    if (!good)
        value = NoValue;
    if (ok)
        *ok = good;
    return mode;
}

ValueText::Range ValueText::parseRange(const QString &range)
{
    Range r;
    const QStringList parts = range.split(QLatin1Char('~'));
    if (parts.size() != 2)
        return r;
    r.valid = true;
    bool okMin = false;
    bool okMax = false;
    if (range.contains(QLatin1String("0x"))) {
        r.min = double(parts.at(0).trimmed().toLongLong(&okMin, 16));
        r.max = double(parts.at(1).trimmed().toLongLong(&okMax, 16));
    } else {
        r.min = parts.at(0).trimmed().toDouble(&okMin);
        r.max = parts.at(1).trimmed().toDouble(&okMax);
    }
    r.converted = okMin && okMax;
    if (!r.converted) {
        r.min = 0;
        r.max = 65535;
    }
    const QStringList pieces = parts.at(1).trimmed().split(QLatin1Char('.'));
    r.decimals = pieces.size() == 2 ? pieces.at(1).size() : 0;
    return r;
}

QVariant ValueText::rangeEditorConfig(const QString &range)
{
    const Range r = parseRange(range);
    if (!r.valid)
        return QVariant();
    return CustomItemDelegate::lineEditConfig(r.min, r.max, r.decimals, true);
}

int ValueText::pnNumber(const QString &code)
{
    qint64 n = -1;
    for (const QChar c : code) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            continue;
        n = qMax<qint64>(n, 0) * 10 + (c.unicode() - '0');
        if (n > std::numeric_limits<int>::max())
            return -1;
    }
    return int(n);
}
