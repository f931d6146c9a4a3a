#include "widgets/vxgroupbox.h"

#include "widgets/rawtext.h"

#include <QEvent>

VxGroupBox::VxGroupBox(QWidget *parent)
    : QGroupBox(parent)
{
}

void VxGroupBox::setTitle(const QString &raw)
{
    m_rawText = raw;
    QGroupBox::setTitle(RawText::translateText(raw));
}

void VxGroupBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && RawText::isRaw(m_rawText))
        QGroupBox::setTitle(RawText::translateText(m_rawText));
    QGroupBox::changeEvent(event);
}
