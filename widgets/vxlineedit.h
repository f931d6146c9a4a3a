#ifndef VXLINEEDIT_H
#define VXLINEEDIT_H

#include "widgets/rawtextwidget.h"

#include <QLineEdit>

// A QLineEdit that keeps its raw text and follows language changes; text() returns the translation.
// Every language change emits textChanged, even when the shown text stays the same, so an owner
// can derive e.g. a window title from it on each switch.
class VxLineEdit : public RawTextWidget<QLineEdit>
{
    Q_OBJECT
public:
    explicit VxLineEdit(QWidget *parent = nullptr);
    VxLineEdit(const QString &raw, QWidget *parent);

protected:
    void changeEvent(QEvent *event) override;
};

#endif // VXLINEEDIT_H
