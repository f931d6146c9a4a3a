#ifndef MENUAREAFRAME_H
#define MENUAREAFRAME_H

#include "comm/deviceenum.h"

#include <QFrame>

namespace Ui { class MenuAreaFrame; }

// Page not built yet: it holds the connections the main window makes to it.
class MenuAreaFrame : public QFrame
{
    Q_OBJECT
public:
    explicit MenuAreaFrame(QWidget *parent = nullptr);
    ~MenuAreaFrame() override;

signals:
    void menuClicked(int menuID);

public slots:
    void onDeviceChanged(DeviceEnum devType);

private:
    Ui::MenuAreaFrame *ui;
};

#endif // MENUAREAFRAME_H
