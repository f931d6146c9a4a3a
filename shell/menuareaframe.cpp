#include "shell/menuareaframe.h"
#include "ui_menuareaframe.h"

MenuAreaFrame::MenuAreaFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::MenuAreaFrame)
{
    ui->setupUi(this);
}

MenuAreaFrame::~MenuAreaFrame()
{
    delete ui;
}

void MenuAreaFrame::onDeviceChanged(DeviceEnum devType)
{
    Q_UNUSED(devType)
}
