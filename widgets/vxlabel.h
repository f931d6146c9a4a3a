#ifndef VXLABEL_H
#define VXLABEL_H

#include "widgets/rawtextwidget.h"

#include <QLabel>

// A QLabel that keeps its raw text and follows language changes.
class VxLabel : public RawTextWidget<QLabel>
{
    Q_OBJECT
public:
    explicit VxLabel(QWidget *parent = nullptr);
};

#endif // VXLABEL_H
