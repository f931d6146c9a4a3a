#ifndef MODIFYPSWDIALOG_H
#define MODIFYPSWDIALOG_H

#include "comm/deviceenum.h"

#include <QDialog>

namespace Ui { class ModifyPswDialog; }

// Page not built yet: it holds the connections the main window makes to it.
class ModifyPswDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ModifyPswDialog(QWidget *parent = nullptr);
    ~ModifyPswDialog() override;

private:
    Ui::ModifyPswDialog *ui;
};

#endif // MODIFYPSWDIALOG_H
