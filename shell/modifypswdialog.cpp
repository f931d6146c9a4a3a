#include "shell/modifypswdialog.h"
#include "ui_modifypswdialog.h"

#include "shell/permmanageframe.h"
#include "widgets/prompt.h"

#include <QDebug>

ModifyPswDialog::ModifyPswDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::ModifyPswDialog)
{
    ui->setupUi(this);
    setFixedSize(size());
}

ModifyPswDialog::~ModifyPswDialog()
{
    delete ui;
}

void ModifyPswDialog::showEvent(QShowEvent *event)
{
    ui->oldPswLineEdit->clear();
    ui->newPswLineEdit->clear();
    ui->confirmPswLineEdit->clear();
    // Through both states, so the edits end masked whatever the box showed last time.
    ui->showPswCheckBox->setChecked(true);
    ui->showPswCheckBox->setChecked(false);
    QDialog::showEvent(event);
}

void ModifyPswDialog::on_showPswCheckBox_toggled(bool checked)
{
    const QLineEdit::EchoMode mode = checked ? QLineEdit::Normal : QLineEdit::Password;
    for (QLineEdit *edit : { ui->oldPswLineEdit, ui->newPswLineEdit, ui->confirmPswLineEdit })
        edit->setEchoMode(mode);
}

void ModifyPswDialog::on_cancelButton_clicked()
{
    hide();
}

void ModifyPswDialog::on_confirmButton_clicked()
{
    RecordItem account = PermManageFrame::currentAccount();
    const QString oldText = ui->oldPswLineEdit->text();
    const QString newText = ui->newPswLineEdit->text();
    const QString confirmText = ui->confirmPswLineEdit->text();

    QString problem;
    if (oldText.isEmpty())
        problem = tr("Please input old password!");
    else if (newText.isEmpty())
        problem = tr("Please input new password!");
    else if (confirmText.isEmpty())
        problem = tr("Please input confirm password!");
    else if (oldText != account.value(QStringLiteral("password")).toString())
        problem = tr("Old password input error!");
    else if (newText != confirmText)
        problem = tr("New password confirm error!");
    if (!problem.isEmpty()) {
        Prompt::warning(this, tr("Tips"), problem);
        return;
    }

    account.insert(QStringLiteral("password"), newText);
    PermManageFrame *page = PermManageFrame::instance();
    if (!page) {
        qWarning() << "ModifyPswDialog: no account page to store the password of"
                   << account.value(QStringLiteral("account")).toString();
        Prompt::warning(this, tr("Tips"), tr("Failed to save the account!"));
        return;
    }
    // A failed store has been reported by the page; the old password stays the one in use and
    // the entries stay for another try.
    if (!page->updateAccountInfo(account))
        return;
    PermManageFrame::setCurrentAccount(account);
    hide();
}
