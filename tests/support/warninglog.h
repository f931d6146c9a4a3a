#ifndef WARNINGLOG_H
#define WARNINGLOG_H

#include <QStringList>
#include <QtGlobal>

// Keeps the warnings (and worse) the program logs while it lives; they still reach the usual output.
// Make it once the test library runs (in initTestCase): its own handler would otherwise come after.
class WarningLog
{
public:
    WarningLog();
    ~WarningLog();
    WarningLog(const WarningLog &) = delete;
    WarningLog &operator=(const WarningLog &) = delete;

    const QStringList &lines() const { return m_lines; }
    QString last() const { return m_lines.value(m_lines.size() - 1); }
    void clear() { m_lines.clear(); }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message);

    QStringList m_lines;
    QtMessageHandler m_previous = nullptr;
    static WarningLog *s_active;
};

#endif // WARNINGLOG_H
