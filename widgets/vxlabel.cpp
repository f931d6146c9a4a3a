#include "widgets/vxlabel.h"

VxLabel::VxLabel(QWidget *parent)
    : RawTextWidget(parent)
{
}
