#include "servo/servoparamfile.h"

#include "servo/paramfilereader.h"
#include "servo/valuetext.h"

#include <QDebug>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>
#include <cmath>

ServoParamFile::ServoParamFile(int deviceType, const QList<int> &axes)
    : m_deviceType(deviceType)
    , m_axes(axes)
{
}

void ServoParamFile::addValue(const QString &code, int axis, const QString &text)
{
    const int slot = m_axes.indexOf(axis);
    if (slot < 0)
        return;
    if (!m_open.isEmpty() && (m_open.first() != code || m_filled.at(slot)))
        closeOpenLine();
    if (m_open.isEmpty()) {
        m_open = QStringList { code };
        for (int i = 0; i < m_axes.size(); ++i)
            m_open << QString();
        m_filled.fill(false, m_axes.size());
    }
    m_open[slot + 1] = text;
    m_filled[slot] = true;
    if (!m_filled.contains(false))
        closeOpenLine();
}

void ServoParamFile::addEmptyRow()
{
    if (m_open.isEmpty())
        m_lines << QStringList();
}

void ServoParamFile::closeOpenLine()
{
    if (m_open.isEmpty())
        return;
    m_lines << m_open;
    m_open.clear();
}

bool ServoParamFile::save(const QString &path, QString *why)
{
    closeOpenLine();
    const bool existed = QFile::exists(path);
    QSaveFile file(path);
    // A folder that only lets the file itself be rewritten still gets it, without the safety net.
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) {
        *why = QStringLiteral("%1 %2").arg(existed ? QStringLiteral("open failure!") : QStringLiteral("new failure!"),
                                           file.errorString());
        return false;
    }
    QTextStream out(&file);
    out << "DeviceType = " << m_deviceType << "\n\n";
    QStringList header { QStringLiteral("PnVal") };
    for (int axis : qAsConst(m_axes))
        header << QStringLiteral("Axis%1").arg(axis);
    out << header.join(QLatin1Char(',')) << '\n';
    for (const QStringList &line : qAsConst(m_lines))
        out << line.join(QLatin1Char(',')) << '\n';
    out.flush();
    if (out.status() != QTextStream::Ok || !file.commit()) {
        *why = QStringLiteral("write failure! %1").arg(file.errorString());
        return false;
    }
    return true;
}

ServoParamFile::Status ServoParamFile::load(const QString &path, int expectedDeviceType)
{
    m_lines.clear();
    m_axes.clear();
    m_open.clear();
    QStringList text;
    switch (ParamFileReader::readLines(path, &text)) {
    case ParamFileReader::Status::Ok:
        break;
    case ParamFileReader::Status::OpenFailed:
        return Status::OpenFailed;
    case ParamFileReader::Status::TooLarge:
        return Status::TooLarge;
    case ParamFileReader::Status::NotRegularFile:
        return Status::NotRegularFile;
    }
    if (!ParamFileReader::deviceType(text.value(0), &m_deviceType))
        return Status::NoDeviceType;
    if (m_deviceType != expectedDeviceType)
        return Status::OtherDeviceType;

    const QString headerLine = text.value(2);
    qDebug() << headerLine;
    const QStringList header = headerLine.split(QLatin1Char(','));
    if (header.size() < 2 || header.first() != QLatin1String("PnVal"))
        return Status::BadHeader;
    // A field without digits, or with more than an int holds, reads as axis 0.
    for (int i = 1; i < header.size(); ++i)
        m_axes << qMax(0, ValueText::pnNumber(header.at(i)));

    for (int i = 3; i < text.size(); ++i) {
        const QString &line = text.at(i);
        m_lines << (line.trimmed().isEmpty() ? QStringList() : line.split(QLatin1Char(',')));
    }
    return Status::Ok;
}

bool ServoParamFile::parseField(const QString &text, const QString &format, int decimals, quint32 *value, int *mode)
{
    bool ok = false;
    *mode = ValueText::parseValueText(text, *value, decimals, &ok);
    if (!ok)
        return true;   // a placeholder or other text: the value is unknown
    // The conversion keeps the low 32 bits; a value wider than the parameter would be cut silently.
    const int width = ValueText::isInt32Format(format) ? 32 : 16;
    bool fits = false;
    if (*mode == ValueText::Hex || *mode == ValueText::Binary) {
        fits = width == 32 || *value <= 0xFFFF;
    } else {
        const double scaled = std::round(text.trimmed().toDouble() * std::pow(10.0, qMax(0, decimals)));
        fits = scaled >= -std::ldexp(1.0, width - 1) && scaled <= std::ldexp(1.0, width) - 1;
    }
    if (!fits)
        *value = ValueText::NoValue;
    return fits;
}
