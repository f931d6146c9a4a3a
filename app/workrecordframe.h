#ifndef WORKRECORDFRAME_H
#define WORKRECORDFRAME_H

#include "comm/deviceenum.h"

#include <QFrame>

namespace Ui { class WorkRecordFrame; }

// Page not built yet: it holds the connections the main window makes to it.
class WorkRecordFrame : public QFrame
{
    Q_OBJECT
public:
    explicit WorkRecordFrame(QWidget *parent = nullptr);
    ~WorkRecordFrame() override;
    static WorkRecordFrame *instance();

signals:
    void searchFinishSigal();

public slots:
    void onDeviceChanged(DeviceEnum devType);
    void onSearchSignal(int type, QString text);
    void onParamUnitChanged();

private:
    Ui::WorkRecordFrame *ui;
    static WorkRecordFrame *s_instance;
};

#endif // WORKRECORDFRAME_H
