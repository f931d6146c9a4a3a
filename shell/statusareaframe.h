#ifndef STATUSAREAFRAME_H
#define STATUSAREAFRAME_H

#include "comm/deviceenum.h"

#include <QFrame>

namespace Ui { class StatusAreaFrame; }

// The status bar under the pages: connection state for now.
class StatusAreaFrame : public QFrame
{
    Q_OBJECT
public:
    explicit StatusAreaFrame(QWidget *parent = nullptr);
    ~StatusAreaFrame() override;

    static StatusAreaFrame *instance();
    void setConnectState(DeviceEnum devType);
    void updateAlarmIcon();
    DeviceEnum connectState() const { return m_connectState; }

signals:
    void signOutSignal();

public slots:
    void onDeviceChanged(DeviceEnum devType);
    void onParamUnitChanged();

private:
    Ui::StatusAreaFrame *ui;
    DeviceEnum m_connectState = NoDevice;
    static StatusAreaFrame *s_instance;
};

#endif // STATUSAREAFRAME_H
