#include "shell/userlogindialog.h"
#include "ui_userlogindialog.h"

UserLoginDialog::UserLoginDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::UserLoginDialog)
{
    ui->setupUi(this);
}

UserLoginDialog::~UserLoginDialog()
{
    delete ui;
}
