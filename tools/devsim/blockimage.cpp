#include "blockimage.h"

#include <cstdio>

// The common CRC-32 (as zip and PNG use), so a test can compare with any reference value.
static quint32 crc32(const QByteArray &data)
{
    quint32 crc = 0xffffffffu;
    for (const char c : data) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QModbusResponse BlockImage::write(const QModbusPdu &request)
{
    const QModbusExceptionResponse refused(FunctionCode, QModbusExceptionResponse::IllegalDataValue);
    if (request.dataSize() < HeaderSize)
        return refused;

    quint8 unit = 0;
    quint16 offsetHigh = 0;
    quint16 offsetLow = 0;
    quint16 length = 0;
    quint16 last = 0;
    request.decodeData(&unit, &offsetHigh, &offsetLow, &length, &last);
    const quint32 offset = quint32(offsetHigh) << 16 | offsetLow;
    // 64-bit sum: an offset near 4 GiB must not wrap round into the image.
    if (length < 1 || length > MaxBlock || length != request.dataSize() - HeaderSize
        || quint64(offset) + length > MaxImage)
        return refused;

    const QByteArray data = request.data();
    const int end = int(offset) + length;
    if (m_image.size() < end)
        m_image.append(QByteArray(end - m_image.size(), '\0'));
    m_image.replace(int(offset), length, data.mid(HeaderSize));

    if (last != 0) {
        std::fprintf(stderr, "devsim file %d bytes crc32=%08x\n", m_image.size(), crc32(m_image));
        std::fflush(stderr);
        // The next transfer starts from an empty image, not on top of this one.
        m_image.clear();
    }
    return QModbusResponse(FunctionCode, data.left(HeaderSize - 2));
}
