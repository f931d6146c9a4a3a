#ifndef USERLOGINDIALOG_H
#define USERLOGINDIALOG_H

#include "comm/deviceenum.h"

#include <QDialog>

namespace Ui { class UserLoginDialog; }

// Page not built yet: it holds the connections the main window makes to it.
class UserLoginDialog : public QDialog
{
    Q_OBJECT
public:
    explicit UserLoginDialog(QWidget *parent = nullptr);
    ~UserLoginDialog() override;

private:
    Ui::UserLoginDialog *ui;
};

#endif // USERLOGINDIALOG_H
