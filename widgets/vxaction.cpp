#include "widgets/vxaction.h"

#include "widgets/rawtext.h"

#include <QCoreApplication>
#include <QEvent>

VxAction::VxAction(const QString &raw, QObject *parent)
    : QAction(parent)
{
    setText(raw);
    // An application-wide filter sees every event; the check below is one comparison for those.
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

void VxAction::setText(const QString &raw)
{
    m_rawText = raw;
    QAction::setText(RawText::translateText(raw));
}

void VxAction::retranslate()
{
    if (RawText::isRaw(m_rawText))
        QAction::setText(RawText::translateText(m_rawText));
}

bool VxAction::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && watched == QCoreApplication::instance())
        retranslate();
    return QAction::eventFilter(watched, event);
}
