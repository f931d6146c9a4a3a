#ifndef VXTOOLBUTTON_H
#define VXTOOLBUTTON_H

#include "widgets/rawtextwidget.h"

#include <QToolButton>

// A QToolButton that keeps its raw text and follows language changes.
class VxToolButton : public RawTextWidget<QToolButton>
{
    Q_OBJECT
public:
    explicit VxToolButton(QWidget *parent = nullptr);
};

#endif // VXTOOLBUTTON_H
