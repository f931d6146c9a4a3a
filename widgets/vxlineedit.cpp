#include "widgets/vxlineedit.h"

VxLineEdit::VxLineEdit(QWidget *parent)
    : RawTextWidget(parent)
{
}

VxLineEdit::VxLineEdit(const QString &raw, QWidget *parent)
    : RawTextWidget(parent)
{
    setText(raw);
}

void VxLineEdit::changeEvent(QEvent *event)
{
    const QString before = text();
    RawTextWidget::changeEvent(event);
    // QLineEdit::setText only tells of a change of the shown text.
    if (event->type() == QEvent::LanguageChange && text() == before)
        emit textChanged(text());
}
