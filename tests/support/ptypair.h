#ifndef PTYPAIR_H
#define PTYPAIR_H

#include <QProcess>
#include <QStringList>
#include <memory>

class PacedRelay;

// Two pseudo terminals joined as a null-modem cable between two serial ports: by socat, or, given
// a baud rate, by a relay of our own that lets each byte take its time on the wire (8N1), so that
// timings match a real line.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();
    static bool available();
    // Waits up to 5 s for both ends to carry data.
    bool open();
    bool openPaced(qint32 baud);
    QString end(int i) const { return m_ends.value(i); }
    void close();

private:
    QProcess m_socat;
    std::unique_ptr<PacedRelay> m_relay;
    QStringList m_ends;
};

#endif // PTYPAIR_H
