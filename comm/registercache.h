#ifndef REGISTERCACHE_H
#define REGISTERCACHE_H

#include "comm/deviceenum.h"

#include <QHash>

// Last known value and read status of every (slave, register) the program has touched.
class RegisterCache
{
public:
    enum Status { None = 0, Requested = 1, Received = 2 };
    static constexpr Uint16 NoValue = 0xABCD;

    struct Entry {
        Uint16 value = NoValue;
        int status = None;
    };

    Entry entry(Uint8 slave, Uint16 addr) const;
    void setValue(Uint8 slave, Uint16 addr, Uint16 value);   // status becomes Received
    void setStatus(Uint8 slave, Uint16 addr, int status);
    void clear();

private:
    QHash<Uint8, QHash<Uint16, Entry>> m_slaves;
};

#endif // REGISTERCACHE_H
