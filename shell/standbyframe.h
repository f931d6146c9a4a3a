#ifndef STANDBYFRAME_H
#define STANDBYFRAME_H

#include <QFrame>

namespace Ui { class StandbyFrame; }

// The blank page shown before anything is chosen, after a login and after a sign-out.
class StandbyFrame : public QFrame
{
    Q_OBJECT
public:
    explicit StandbyFrame(QWidget *parent = nullptr);
    ~StandbyFrame() override;

private:
    Ui::StandbyFrame *ui;
};

#endif // STANDBYFRAME_H
