#include "shell/systemupdatedialog.h"
#include "ui_systemupdatedialog.h"

SystemUpdateDialog::SystemUpdateDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::SystemUpdateDialog)
{
    ui->setupUi(this);
}

SystemUpdateDialog::~SystemUpdateDialog()
{
    delete ui;
}

void SystemUpdateDialog::slotWaitEnd()
{
}
