#include "requestlog.h"

#include "blockimage.h"

#include <QDebug>

bool RequestLog::open(const QString &path)
{
    m_file.setFileName(path);
    // Append, so that a reader truncating the file does not leave a hole before the next line.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
        qWarning() << "devsim: cannot open log" << path << m_file.errorString();
        return false;
    }
    return true;
}

void RequestLog::write(quint8 unit, const QModbusPdu &request)
{
    if (!m_file.isOpen())
        return;

    const int fc = request.functionCode();
    QString line = QStringLiteral("slave=%1 fc=%2").arg(unit).arg(fc);
    quint16 first = 0;
    quint16 second = 0;
    switch (fc) {
    case QModbusPdu::ReadCoils:
    case QModbusPdu::ReadDiscreteInputs:
    case QModbusPdu::ReadHoldingRegisters:
    case QModbusPdu::ReadInputRegisters:
    case QModbusPdu::WriteMultipleCoils:
    case QModbusPdu::WriteMultipleRegisters:
        if (request.dataSize() >= 4) {
            request.decodeData(&first, &second);
            line += QStringLiteral(" addr=%1 count=%2").arg(first).arg(second);
        }
        break;
    case QModbusPdu::WriteSingleCoil:
    case QModbusPdu::WriteSingleRegister:
        if (request.dataSize() >= 4) {
            request.decodeData(&first, &second);
            line += QStringLiteral(" addr=%1 value=%2").arg(first).arg(second);
        }
        break;
    case BlockImage::FunctionCode:
        if (request.dataSize() >= BlockImage::HeaderSize) {
            quint8 blockUnit = 0;
            quint16 length = 0;
            quint16 last = 0;
            request.decodeData(&blockUnit, &first, &second, &length, &last);
            line += QStringLiteral(" offset=%1 length=%2 last=%3")
                        .arg(quint32(first) << 16 | second).arg(length).arg(last);
        }
        break;
    default:
        break;
    }
    line += QLatin1Char('\n');
    m_file.write(line.toUtf8());
    m_file.flush();
}
