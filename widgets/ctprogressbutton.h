#ifndef CTPROGRESSBUTTON_H
#define CTPROGRESSBUTTON_H

#include <QProgressBar>

// A progress bar that acts as a button: every mouse press emits pressed() and goes no further.
class CTProgressButton : public QProgressBar
{
    Q_OBJECT
public:
    explicit CTProgressButton(QWidget *parent = nullptr);

signals:
    void pressed();

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

#endif // CTPROGRESSBUTTON_H
