#include "comm/registercache.h"

RegisterCache::Entry RegisterCache::entry(Uint8 slave, Uint16 addr) const
{
    const auto s = m_slaves.constFind(slave);
    if (s == m_slaves.constEnd())
        return Entry();
    return s->value(addr);
}

void RegisterCache::setValue(Uint8 slave, Uint16 addr, Uint16 value)
{
    Entry &e = m_slaves[slave][addr];
    e.value = value;
    e.status = Received;
}

void RegisterCache::setStatus(Uint8 slave, Uint16 addr, int status)
{
    m_slaves[slave][addr].status = status;
}

void RegisterCache::clear()
{
    m_slaves.clear();
}
