#ifndef APPDEBUGFRAME_H
#define APPDEBUGFRAME_H

#include "comm/deviceenum.h"

#include <QFrame>

namespace Ui { class AppDebugFrame; }

// Page not built yet: it holds the connections the main window makes to it.
class AppDebugFrame : public QFrame
{
    Q_OBJECT
public:
    explicit AppDebugFrame(QWidget *parent = nullptr);
    ~AppDebugFrame() override;

public slots:
    void onDeviceChanged(DeviceEnum devType);

private:
    Ui::AppDebugFrame *ui;
};

#endif // APPDEBUGFRAME_H
