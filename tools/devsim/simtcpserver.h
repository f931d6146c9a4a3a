#ifndef SIMTCPSERVER_H
#define SIMTCPSERVER_H

#include "simserver.h"

#include <QModbusTcpServer>
#include <QSet>

class QTcpSocket;

class SimTcpServer : public SimServer<QModbusTcpServer>
{
public:
    SimTcpServer(const QSet<quint8> &units, const DeviceProfile &profile, RequestLog &log,
                 BlockImage &image, QObject *parent = nullptr);

    // The port really listened on, also when 0 was asked for.
    quint16 listeningPort() const;
    void attach(QTcpSocket *socket);
    // Each request is answered this much later, as over a slow link.
    void setAnswerDelay(int ms) { m_answerDelayMs = ms; }

private:
    void answer(QTcpSocket *socket, const QByteArray &frame);

    QSet<quint8> m_units;
    int m_answerDelayMs = 0;
};

#endif // SIMTCPSERVER_H
