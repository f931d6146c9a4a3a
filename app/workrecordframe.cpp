#include "app/workrecordframe.h"
#include "ui_workrecordframe.h"

WorkRecordFrame *WorkRecordFrame::s_instance = nullptr;

WorkRecordFrame::WorkRecordFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::WorkRecordFrame)
{
    s_instance = this;
    ui->setupUi(this);
}

WorkRecordFrame::~WorkRecordFrame()
{
    delete ui;
    if (s_instance == this)
        s_instance = nullptr;
}

WorkRecordFrame *WorkRecordFrame::instance()
{
    return s_instance;
}

void WorkRecordFrame::onDeviceChanged(DeviceEnum devType)
{
    Q_UNUSED(devType)
}

void WorkRecordFrame::onSearchSignal(int type, QString text)
{
    Q_UNUSED(type)
    Q_UNUSED(text)
    emit searchFinishSigal();
}

void WorkRecordFrame::onParamUnitChanged()
{
}
