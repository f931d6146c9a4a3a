#include "app/iomonitorframe.h"
#include "ui_iomonitorframe.h"

IOMonitorFrame *IOMonitorFrame::s_instance = nullptr;

IOMonitorFrame::IOMonitorFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::IOMonitorFrame)
{
    s_instance = this;
    ui->setupUi(this);
}

IOMonitorFrame::~IOMonitorFrame()
{
    delete ui;
    if (s_instance == this)
        s_instance = nullptr;
}

IOMonitorFrame *IOMonitorFrame::instance()
{
    return s_instance;
}

void IOMonitorFrame::onDeviceChanged(DeviceEnum devType)
{
    Q_UNUSED(devType)
}
