#ifndef VXCHECKBOX_H
#define VXCHECKBOX_H

#include "widgets/rawtextwidget.h"

#include <QCheckBox>

// A QCheckBox that keeps its raw text and follows language changes.
class VxCheckBox : public RawTextWidget<QCheckBox>
{
    Q_OBJECT
public:
    explicit VxCheckBox(QWidget *parent = nullptr);
};

#endif // VXCHECKBOX_H
