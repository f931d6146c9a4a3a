#ifndef PTYPAIR_H
#define PTYPAIR_H

#include <QProcess>
#include <QStringList>

// Two pseudo terminals joined by socat, as a null-modem cable between two serial ports.
class PtyPair
{
public:
    ~PtyPair();
    static bool available();
    // Waits up to 5 s for both ends to carry data.
    bool open();
    QString end(int i) const { return m_ends.value(i); }
    void close();

private:
    QProcess m_socat;
    QStringList m_ends;
};

#endif // PTYPAIR_H
