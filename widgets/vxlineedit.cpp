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
