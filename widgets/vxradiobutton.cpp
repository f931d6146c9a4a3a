#include "widgets/vxradiobutton.h"

VxRadioButton::VxRadioButton(QWidget *parent)
    : RawTextWidget(parent)
{
}
