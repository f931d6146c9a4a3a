#ifndef VXRADIOBUTTON_H
#define VXRADIOBUTTON_H

#include "widgets/rawtextwidget.h"

#include <QRadioButton>

// A QRadioButton that keeps its raw text and follows language changes.
class VxRadioButton : public RawTextWidget<QRadioButton>
{
    Q_OBJECT
public:
    explicit VxRadioButton(QWidget *parent = nullptr);
};

#endif // VXRADIOBUTTON_H
