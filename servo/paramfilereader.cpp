#include "servo/paramfilereader.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

ParamFileReader::Status ParamFileReader::readLines(const QString &path, QStringList *lines)
{
    lines->clear();
    // A name that does not exist is left to the open, which fails as it always has.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return Status::NotRegularFile;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return Status::OpenFailed;
    if (!file.isSequential() && file.size() > MaxBytes)
        return Status::TooLarge;
    // A pipe or device has no size: one byte over the bound tells.
    const QByteArray bytes = file.read(MaxBytes + 1);
    if (bytes.size() > MaxBytes)
        return Status::TooLarge;
    QTextStream in(bytes);
    while (!in.atEnd())
        *lines << in.readLine();
    return Status::Ok;
}

bool ParamFileReader::deviceType(const QString &firstLine, int *type)
{
    qDebug().noquote() << firstLine;
    static const QRegularExpression pattern(QStringLiteral("DeviceType\\s*=\\s*(\\d+)"));
    const QRegularExpressionMatch match = pattern.match(firstLine);
    if (!match.hasMatch())
        return false;
    // The digits of the match only: text after them must not turn another type into 0.
    bool ok = false;
    *type = match.captured(1).toInt(&ok, 10);
    if (!ok)
        *type = -1;
    return true;
}

QString ParamFileReader::tooLargeText()
{
    return tr("The file is too large for a parameter file (more than %1 KB)!").arg(MaxBytes / 1024);
}

QString ParamFileReader::notRegularFileText(const QString &path)
{
    return tr("Not a regular file: %1\nA parameter file cannot be a folder, pipe or device.").arg(QDir::toNativeSeparators(path));
}
