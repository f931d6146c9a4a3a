#include "servo/jogmodedialog.h"
#include "ui_jogmodedialog.h"

JogModeDialog::JogModeDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::JogModeDialog)
{
    ui->setupUi(this);
}

JogModeDialog::~JogModeDialog()
{
    delete ui;
}

void JogModeDialog::onDeviceChanged(DeviceEnum devType)
{
    Q_UNUSED(devType)
}
