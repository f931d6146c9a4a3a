#include "support/warninglog.h"

WarningLog *WarningLog::s_active = nullptr;

WarningLog::WarningLog()
{
    s_active = this;
    m_previous = qInstallMessageHandler(handle);
}

WarningLog::~WarningLog()
{
    qInstallMessageHandler(m_previous);
    s_active = nullptr;
}

void WarningLog::handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!s_active)
        return;
    if (type != QtDebugMsg && type != QtInfoMsg)
        s_active->m_lines << message;
    if (s_active->m_previous)
        s_active->m_previous(type, context, message);
}
