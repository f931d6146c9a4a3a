#ifndef PARAMFILEREADER_H
#define PARAMFILEREADER_H

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// Reads a parameter file whole, within a bound: a real one is a few kilobytes, and a file picked by
// mistake (a log, a dump, a device node) must neither freeze the window nor fill the memory.
class ParamFileReader
{
    Q_DECLARE_TR_FUNCTIONS(ParamFileReader)
public:
    static constexpr qint64 MaxBytes = 1024 * 1024;
    enum class Status { Ok, OpenFailed, TooLarge, NotRegularFile };

    // The file's lines as a text stream reads them (no line ends, no empty line after the last
    // line feed); *lines is left empty unless Ok. A larger file is refused before it is read, and
    // so is a folder, pipe or device: opening a pipe waits for a writer that may never come.
    static Status readLines(const QString &path, QStringList *lines);
    // The number after "DeviceType =" on a file's first line (logged); false when the line has
    // none. *type is -1 when the digits do not make an int.
    static bool deviceType(const QString &firstLine, int *type);
    // What the user is told for TooLarge.
    static QString tooLargeText();
    // What the user is told for NotRegularFile.
    static QString notRegularFileText(const QString &path);
};

#endif // PARAMFILEREADER_H
