#include "servo/paramfilereader.h"

#include <QFile>
#include <QTextStream>

ParamFileReader::Status ParamFileReader::readLines(const QString &path, QStringList *lines)
{
    lines->clear();
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

QString ParamFileReader::tooLargeText()
{
    return tr("The file is too large for a parameter file (more than %1 KB)!").arg(MaxBytes / 1024);
}
