#include "shell/statusareaframe.h"
#include "ui_statusareaframe.h"

#include <QDebug>

StatusAreaFrame *StatusAreaFrame::s_instance = nullptr;

StatusAreaFrame::StatusAreaFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::StatusAreaFrame)
{
    s_instance = this;
    ui->setupUi(this);
}

StatusAreaFrame::~StatusAreaFrame()
{
    delete ui;
    if (s_instance == this)
        s_instance = nullptr;
}

StatusAreaFrame *StatusAreaFrame::instance()
{
    return s_instance;
}

void StatusAreaFrame::setConnectState(DeviceEnum devType)
{
    if (devType == m_connectState)
        return;
    qDebug() << "Device ID: " << int(devType);
    m_connectState = devType;
    ui->connectStatus->setText(devType == NoDevice ? tr("Disconnect") : deviceTypeNames().value(int(devType)));
}

void StatusAreaFrame::updateAlarmIcon()
{
}

void StatusAreaFrame::onDeviceChanged(DeviceEnum devType)
{
    Q_UNUSED(devType)
}

void StatusAreaFrame::onParamUnitChanged()
{
}
