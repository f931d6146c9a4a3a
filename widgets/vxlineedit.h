#ifndef VXLINEEDIT_H
#define VXLINEEDIT_H

#include "widgets/rawtextwidget.h"

#include <QLineEdit>

// A QLineEdit that keeps its raw text and follows language changes; text() returns the translation.
// A language change that alters the shown text emits textChanged (through QLineEdit::setText), so an
// owner can derive e.g. a window title from it.
class VxLineEdit : public RawTextWidget<QLineEdit>
{
    Q_OBJECT
public:
    explicit VxLineEdit(QWidget *parent = nullptr);
    VxLineEdit(const QString &raw, QWidget *parent);
};

#endif // VXLINEEDIT_H
