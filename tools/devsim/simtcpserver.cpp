#include "simtcpserver.h"

#include <QDataStream>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>

// Transaction id, protocol id, length, unit id.
static constexpr int MbapHeaderSize = 7;

namespace {

// Qt's TCP server answers one unit id only and cannot frame a function code it does not know,
// so the device reads each connection itself. The observer is called before Qt connects its own
// reader to the socket: ours runs first, takes every byte, and Qt's finds nothing left. Qt still
// accepts the connections and builds every reply PDU.
class FrameReader : public QModbusTcpConnectionObserver
{
public:
    explicit FrameReader(SimTcpServer *server) : m_server(server) {}

    bool acceptNewConnection(QTcpSocket *socket) override
    {
        m_server->attach(socket);
        return true;
    }

private:
    SimTcpServer *m_server;
};

} // namespace

SimTcpServer::SimTcpServer(const QSet<quint8> &units, const DeviceProfile &profile, RequestLog &log,
                           BlockImage &image, QObject *parent)
    : SimServer(profile, log, image, parent), m_units(units)
{
    installConnectionObserver(new FrameReader(this));
}

quint16 SimTcpServer::listeningPort() const
{
    const auto *listener = findChild<QTcpServer *>();
    return listener ? listener->serverPort() : 0;
}

void SimTcpServer::attach(QTcpSocket *socket)
{
    auto pending = std::make_shared<QByteArray>();
    connect(socket, &QTcpSocket::readyRead, this, [this, socket, pending] {
        pending->append(socket->readAll());
        while (pending->size() >= MbapHeaderSize) {
            const int length = quint8(pending->at(4)) << 8 | quint8(pending->at(5));
            if (length < 2 || length > 254) {
                // Nothing to resynchronise on in a TCP stream: drop the connection.
                qWarning("devsim: bad frame length %d, closing the connection", length);
                pending->clear();
                socket->disconnectFromHost();
                return;
            }
            if (pending->size() < 6 + length)
                return;
            const QByteArray frame = pending->left(6 + length);
            pending->remove(0, 6 + length);
            if (m_answerDelayMs <= 0) {
                answer(socket, frame);
                continue;
            }
            // The request reaches the device only now and is answered with what the device holds then.
            QTimer::singleShot(m_answerDelayMs, this, [this, guard = QPointer<QTcpSocket>(socket), frame] {
                if (guard)
                    answer(guard, frame);
            });
        }
    });
}

void SimTcpServer::answer(QTcpSocket *socket, const QByteArray &frame)
{
    quint16 transaction = 0;
    quint16 protocol = 0;
    quint16 length = 0;
    quint8 unit = 0;
    QDataStream(frame) >> transaction >> protocol >> length >> unit;
    const QModbusRequest request(QModbusPdu::FunctionCode(quint8(frame.at(MbapHeaderSize))),
                                 frame.mid(MbapHeaderSize + 1));
    m_log.write(unit, request);
    if (protocol != 0 || !m_units.contains(unit))
        return;     // not addressed to this device: no reply at all, the master must time out

    const QModbusResponse response = processRequest(request);
    QByteArray reply;
    QDataStream out(&reply, QIODevice::WriteOnly);
    out << transaction << protocol << quint16(response.size() + 1) << unit << response;
    socket->write(reply);
}
