#ifndef UNPRIVILEGED_H
#define UNPRIVILEGED_H

#include <sys/fsuid.h>
#include <unistd.h>

// Files are opened as an unprivileged user would while it lives. Root writes any file whatever its
// mode; with another file-system user a file without write permission opens read-only, as on a
// read-only mount. It holds for the calling thread only.
class Unprivileged
{
public:
    static constexpr uid_t User = 65534;

    Unprivileged() : m_root(geteuid() == 0) { if (m_root) setfsuid(User); }
    ~Unprivileged() { if (m_root) setfsuid(0); }
    Unprivileged(const Unprivileged &) = delete;
    Unprivileged &operator=(const Unprivileged &) = delete;

private:
    bool m_root;
};

#endif // UNPRIVILEGED_H
