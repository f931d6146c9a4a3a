#include "app/alarminfoframe.h"
#include "ui_alarminfoframe.h"

AlarmInfoFrame *AlarmInfoFrame::s_instance = nullptr;

AlarmInfoFrame::AlarmInfoFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::AlarmInfoFrame)
{
    s_instance = this;
    ui->setupUi(this);
}

AlarmInfoFrame::~AlarmInfoFrame()
{
    delete ui;
    if (s_instance == this)
        s_instance = nullptr;
}

AlarmInfoFrame *AlarmInfoFrame::instance()
{
    return s_instance;
}

void AlarmInfoFrame::onSearchSignal(int type, QString text)
{
    Q_UNUSED(type)
    Q_UNUSED(text)
    emit searchFinishSigal();
}
