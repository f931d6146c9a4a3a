#ifndef RAWTEXTWIDGET_H
#define RAWTEXTWIDGET_H

#include "widgets/rawtext.h"

#include <QEvent>
#include <QString>

class QWidget;

// The common part of the kit's text widgets (Base is a widget with setText): keeps the raw text and
// raw tool tip given to setText/setToolTip, shows their translations and shows them again on every
// language change. The base class setters still work and leave the kept raw texts alone.
//
// Only raw texts are re-shown on a language change: a plain text would translate to itself, so
// re-showing it could only undo what was set later through the base setter (or typed by the user).
template <class Base>
class RawTextWidget : public Base
{
public:
    explicit RawTextWidget(QWidget *parent = nullptr) : Base(parent) {}

    void setText(const QString &raw)
    {
        m_rawText = raw;
        Base::setText(RawText::translateText(raw));
    }
    QString rawText() const { return m_rawText; }

    void setToolTip(const QString &raw)
    {
        m_rawToolTip = raw;
        Base::setToolTip(RawText::translateText(raw));
    }
    QString rawToolTip() const { return m_rawToolTip; }

protected:
    void changeEvent(QEvent *event) override
    {
        if (event->type() == QEvent::LanguageChange) {
            if (RawText::isRaw(m_rawText))
                Base::setText(RawText::translateText(m_rawText));
            if (RawText::isRaw(m_rawToolTip))
                Base::setToolTip(RawText::translateText(m_rawToolTip));
        }
        Base::changeEvent(event);
    }

private:
    QString m_rawText;
    QString m_rawToolTip;
};

#endif // RAWTEXTWIDGET_H
