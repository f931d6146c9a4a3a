#ifndef IOMONITORFRAME_H
#define IOMONITORFRAME_H

#include "comm/deviceenum.h"

#include <QFrame>

namespace Ui { class IOMonitorFrame; }

// Page not built yet: it holds the connections the main window makes to it.
class IOMonitorFrame : public QFrame
{
    Q_OBJECT
public:
    explicit IOMonitorFrame(QWidget *parent = nullptr);
    ~IOMonitorFrame() override;
    static IOMonitorFrame *instance();

public slots:
    void onDeviceChanged(DeviceEnum devType);

private:
    Ui::IOMonitorFrame *ui;
    static IOMonitorFrame *s_instance;
};

#endif // IOMONITORFRAME_H
