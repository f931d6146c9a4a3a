#include "servo/servoparamframe.h"
#include "ui_servoparamframe.h"

ServoParamFrame *ServoParamFrame::s_instance = nullptr;

ServoParamFrame::ServoParamFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::ServoParamFrame)
{
    s_instance = this;
    ui->setupUi(this);
}

ServoParamFrame::~ServoParamFrame()
{
    delete ui;
    if (s_instance == this)
        s_instance = nullptr;
}

ServoParamFrame *ServoParamFrame::instance()
{
    return s_instance;
}

void ServoParamFrame::exportDefaultParams()
{
}

void ServoParamFrame::importDefaultParams()
{
}

void ServoParamFrame::stopRealTimeRead()
{
}

void ServoParamFrame::resetParamTable()
{
}

void ServoParamFrame::onDeviceChanged(DeviceEnum devType)
{
    Q_UNUSED(devType)
}

void ServoParamFrame::onSearchSignal(int type, QString text)
{
    Q_UNUSED(type)
    Q_UNUSED(text)
    emit searchFinishSigal();
}

void ServoParamFrame::updateSlaveTable(QStringList list)
{
    Q_UNUSED(list)
}

void ServoParamFrame::onComError(int slave, int addr)
{
    Q_UNUSED(slave)
    Q_UNUSED(addr)
}
