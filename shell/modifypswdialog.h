#ifndef MODIFYPSWDIALOG_H
#define MODIFYPSWDIALOG_H

#include <QDialog>

namespace Ui { class ModifyPswDialog; }

// Changes the password of the account logged in. The main window opens it only while somebody is.
class ModifyPswDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ModifyPswDialog(QWidget *parent = nullptr);
    ~ModifyPswDialog() override;

private slots:
    void on_confirmButton_clicked();
    void on_cancelButton_clicked();
    void on_showPswCheckBox_toggled(bool checked);

protected:
    void showEvent(QShowEvent *event) override;

private:
    Ui::ModifyPswDialog *ui;
};

#endif // MODIFYPSWDIALOG_H
