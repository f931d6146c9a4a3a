#include "shell/modifypswdialog.h"
#include "ui_modifypswdialog.h"

ModifyPswDialog::ModifyPswDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::ModifyPswDialog)
{
    ui->setupUi(this);
}

ModifyPswDialog::~ModifyPswDialog()
{
    delete ui;
}
