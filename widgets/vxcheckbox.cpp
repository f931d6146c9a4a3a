#include "widgets/vxcheckbox.h"

VxCheckBox::VxCheckBox(QWidget *parent)
    : RawTextWidget(parent)
{
}
