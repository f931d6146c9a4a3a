#ifndef SERVOPARAMFILE_H
#define SERVOPARAMFILE_H

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// A servo parameter file: "DeviceType = n", an empty line, "PnVal,Axis0,Axis1,...", then one line
// per parameter (its code and one value per header axis) or an empty line.
class ServoParamFile
{
public:
    enum class Status { Ok, OpenFailed, TooLarge, NotRegularFile, NoDeviceType, OtherDeviceType, BadHeader };

    ServoParamFile() = default;
    ServoParamFile(int deviceType, const QList<int> &axes);

    int deviceType() const { return m_deviceType; }
    QList<int> axes() const { return m_axes; }
    // Data lines split on ",", the code first; an empty list is an empty line.
    QList<QStringList> lines() const { return m_lines; }

    // Building from table rows: the values of one parameter for the header's axes make one line,
    // whatever order its rows are in; an axis without a row gets an empty field.
    void addValue(const QString &code, int axis, const QString &text);
    // An empty row between parameters is an empty line; inside a parameter's rows it is skipped.
    void addEmptyRow();

    // Writes through a temporary file, so a failed write leaves the old file as it was; *why says
    // what failed, for the log.
    bool save(const QString &path, QString *why);
    Status load(const QString &path, int expectedDeviceType);

    // A value field for a parameter of this format and decimals; *mode is the display mode its prefix
    // selects. A field that does not convert (a placeholder such as "none" or "16#none", or any other
    // text) gives the unknown value. False for a value wider than the parameter: its low bits would be
    // some other value, so it is left unknown as well.
    static bool parseField(const QString &text, const QString &format, int decimals, quint32 *value, int *mode);

private:
    void closeOpenLine();

    int m_deviceType = -1;
    QList<int> m_axes;
    QList<QStringList> m_lines;
    QStringList m_open;          // the parameter line being built: code, then one field per axis
    QVector<bool> m_filled;      // which axes of the open line have their value
};

#endif // SERVOPARAMFILE_H
