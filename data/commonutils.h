#ifndef COMMONUTILS_H
#define COMMONUTILS_H

#include <QString>

// Settings by group number and key. Groups: 0 oscilloscope, 1 device communication,
// 2 serial port, 3 network, 4 compatibility.
class CommonUtils
{
public:
    static QString takeConfigVal(int group, QString key, QString defVal);
    // Updates a stored key, else inserts it. A failure is logged; callers may ignore the result.
    // A key whose last read failed is not saved: the default it read as would replace the user's value.
    static bool saveConfigVal(int group, QString key, QString value);
    // The table of a group; empty for an unknown group.
    static QString configTable(int group);
};

#endif // COMMONUTILS_H
