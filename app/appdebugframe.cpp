#include "app/appdebugframe.h"
#include "ui_appdebugframe.h"

AppDebugFrame::AppDebugFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::AppDebugFrame)
{
    ui->setupUi(this);
}

AppDebugFrame::~AppDebugFrame()
{
    delete ui;
}

void AppDebugFrame::onDeviceChanged(DeviceEnum devType)
{
    Q_UNUSED(devType)
}
