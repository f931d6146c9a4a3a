#include "widgets/vxtoolbutton.h"

VxToolButton::VxToolButton(QWidget *parent)
    : RawTextWidget(parent)
{
}
