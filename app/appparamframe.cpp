#include "app/appparamframe.h"
#include "ui_appparamframe.h"

AppParamFrame *AppParamFrame::s_instance = nullptr;

AppParamFrame::AppParamFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::AppParamFrame)
{
    s_instance = this;
    ui->setupUi(this);
}

AppParamFrame::~AppParamFrame()
{
    delete ui;
    if (s_instance == this)
        s_instance = nullptr;
}

AppParamFrame *AppParamFrame::instance()
{
    return s_instance;
}

void AppParamFrame::onDeviceChanged(DeviceEnum devType)
{
    Q_UNUSED(devType)
}

void AppParamFrame::onSearchSignal(int type, QString text)
{
    Q_UNUSED(type)
    Q_UNUSED(text)
    emit searchFinishSigal();
}
