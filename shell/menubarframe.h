#ifndef MENUBARFRAME_H
#define MENUBARFRAME_H

#include "comm/deviceenum.h"

#include <QFrame>

namespace Ui { class MenuBarFrame; }

// The tool bar: one button per page or window, each sending its menu id.
class MenuBarFrame : public QFrame
{
    Q_OBJECT
public:
    explicit MenuBarFrame(QWidget *parent = nullptr);
    ~MenuBarFrame() override;

signals:
    void menuClicked(int menuID);
    void searchSignal(int type, QString text);

public slots:
    void onDeviceChanged(DeviceEnum devType);
    void onSearchFinish();

private:
    Ui::MenuBarFrame *ui;
};

#endif // MENUBARFRAME_H
