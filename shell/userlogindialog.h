#ifndef USERLOGINDIALOG_H
#define USERLOGINDIALOG_H

#include <QDialog>

namespace Ui { class UserLoginDialog; }

// The log-in window: checks a name and password against the stored accounts and the built-in
// super account, and on success makes the account current and switches to its first device type.
class UserLoginDialog : public QDialog
{
    Q_OBJECT
public:
    explicit UserLoginDialog(QWidget *parent = nullptr);
    ~UserLoginDialog() override;

    // True when the typed name and password logged somebody in; a failure has been shown.
    bool checkLogin();

private slots:
    void onPswShowBtnClicked(bool);
    void on_loginButton_clicked();

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Switches the program to the first device key of an account's device list, if it has one.
    static void selectAccountDevice(const QString &deviceKeys);

    Ui::UserLoginDialog *ui;
    bool m_passwordShown = false;
};

#endif // USERLOGINDIALOG_H
