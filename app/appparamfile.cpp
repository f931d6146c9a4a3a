#include "app/appparamfile.h"

#include "comm/comsettingsframe.h"
#include "comm/registercache.h"
#include "servo/paramfilereader.h"

#include <QDebug>
#include <QFileInfo>
#include <QSaveFile>
#include <QTextStream>

namespace {
const QString kAddressColumn = QStringLiteral("Address");
const QString kValueColumn = QStringLiteral("Value");

// A regular expression per field would cost more than the rest of the line's work together.
QString withoutSpace(const QStringRef &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (!c.isSpace())
            out += c;
    }
    return out;
}
} // namespace

bool AppParamFile::toRegisterValue(const QString &text, int decimals, Uint16 *value)
{
    bool ok = false;
    const quint32 v = ComSettingsFrame::textToValue(text, decimals, &ok);
    if (!ok || (v > 0xFFFFu && v < 0xFFFF8000u))
        return false;
    *value = Uint16(v);
    return true;
}

bool AppParamFile::toRegisterAddress(const QString &text, Uint16 *addr)
{
    bool ok = false;
    const quint32 value = ComSettingsFrame::textToValue(text, 0, &ok);
    if (!ok || value > 0xFFFF)
        return false;
    if (addr)
        *addr = Uint16(value);
    return true;
}

AppParamFile::Error AppParamFile::write(const QString &path, int deviceType, const QList<Row> &rows)
{
    const bool existed = QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return existed ? Error::CannotOpen : Error::CannotCreate;
    QTextStream out(&file);
    out << "DeviceType = " << deviceType << "\n\n" << kAddressColumn << ',' << kValueColumn << '\n';
    for (const Row &row : rows) {
        out << row.first << ',';
        if (row.second != RegisterCache::NoValue)
            out << row.second;
        out << '\n';
    }
    out.flush();
    if (out.status() != QTextStream::Ok || !file.commit())
        return Error::CannotWrite;
    return Error::None;
}

AppParamFile::Error AppParamFile::read(const QString &path, int deviceType, QList<Value> *values, int *badLine)
{
    QStringList lines;
    switch (ParamFileReader::readLines(path, &lines)) {
    case ParamFileReader::Status::Ok:
        break;
    case ParamFileReader::Status::TooLarge:
        return Error::TooLarge;
    case ParamFileReader::Status::NotRegularFile:
        return Error::NotRegularFile;
    case ParamFileReader::Status::OpenFailed:
        return Error::CannotOpen;
    }
    int fileType = 0;
    if (!ParamFileReader::deviceType(lines.value(0), &fileType))
        return Error::NoDeviceType;
    if (fileType != deviceType)
        return Error::WrongDeviceType;

    // Line 2 is the empty line, whatever it holds.
    const QString header = lines.value(2);
    qDebug().noquote() << header;
    if (header.split(QLatin1Char(',')) != QStringList({ kAddressColumn, kValueColumn }))
        return Error::BadHeader;

    QList<Value> read;
    for (int i = 3; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        const QVector<QStringRef> parts = line.splitRef(QLatin1Char(','));
        if (parts.size() < 2)
            continue;
        const QString addrText = withoutSpace(parts.at(0));
        const QString valueText = withoutSpace(parts.at(1));
        if (valueText.isEmpty())
            continue;
        // A line that does not convert would put some other number into the cache, and the next
        // write would send it to the device: the whole file is refused instead.
        Value v;
        if (!toRegisterAddress(addrText, &v.addr) || !toRegisterValue(valueText, 0, &v.value)) {
            if (badLine)
                *badLine = i + 1;
            return Error::BadLine;
        }
        read << v;
    }
    *values = read;
    return Error::None;
}
