#include "widgets/vxpushbutton.h"

VxPushButton::VxPushButton(QWidget *parent)
    : RawTextWidget(parent)
{
}
