#include "shell/compatibilitydialog.h"
#include "ui_compatibilitydialog.h"

CompatibilityDialog::CompatibilityDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::CompatibilityDialog)
{
    ui->setupUi(this);
}

CompatibilityDialog::~CompatibilityDialog()
{
    delete ui;
}
