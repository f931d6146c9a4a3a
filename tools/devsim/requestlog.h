#ifndef REQUESTLOG_H
#define REQUESTLOG_H

#include <QFile>
#include <QModbusPdu>

// One line per request, flushed at once so that a test reading the file sees every request
// the device has received so far.
class RequestLog
{
public:
    bool open(const QString &path);
    void write(quint8 unit, const QModbusPdu &request);

private:
    QFile m_file;
};

#endif // REQUESTLOG_H
