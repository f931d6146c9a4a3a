#ifndef VXPUSHBUTTON_H
#define VXPUSHBUTTON_H

#include "widgets/rawtextwidget.h"

#include <QPushButton>

// A QPushButton that keeps its raw text and follows language changes.
class VxPushButton : public RawTextWidget<QPushButton>
{
    Q_OBJECT
public:
    explicit VxPushButton(QWidget *parent = nullptr);
};

#endif // VXPUSHBUTTON_H
