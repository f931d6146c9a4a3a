#ifndef ALARMINFOFRAME_H
#define ALARMINFOFRAME_H

#include "comm/deviceenum.h"

#include <QFrame>

namespace Ui { class AlarmInfoFrame; }

// Page not built yet: it holds the connections the main window makes to it.
class AlarmInfoFrame : public QFrame
{
    Q_OBJECT
public:
    explicit AlarmInfoFrame(QWidget *parent = nullptr);
    ~AlarmInfoFrame() override;
    static AlarmInfoFrame *instance();

signals:
    void searchFinishSigal();

public slots:
    void onSearchSignal(int type, QString text);

private:
    Ui::AlarmInfoFrame *ui;
    static AlarmInfoFrame *s_instance;
};

#endif // ALARMINFOFRAME_H
