#ifndef BLOCKIMAGE_H
#define BLOCKIMAGE_H

#include <QByteArray>
#include <QModbusPdu>

// Receiver of the vendor block write 0x22: each block lands at its offset in one memory image;
// the block flagged last reports the whole image on stderr so a test can check it arrived intact.
class BlockImage
{
public:
    static constexpr QModbusPdu::FunctionCode FunctionCode = QModbusPdu::FunctionCode(0x22);
    // unit (1), offset (4), length (2), last-block flag (2)
    static constexpr int HeaderSize = 9;
    static constexpr int MaxBlock = 240;
    static constexpr quint32 MaxImage = 16u * 1024 * 1024;

    QModbusResponse write(const QModbusPdu &request);

private:
    QByteArray m_image;
};

#endif // BLOCKIMAGE_H
