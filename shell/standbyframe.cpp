#include "shell/standbyframe.h"
#include "ui_standbyframe.h"

StandbyFrame::StandbyFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::StandbyFrame)
{
    ui->setupUi(this);
}

StandbyFrame::~StandbyFrame()
{
    delete ui;
}
