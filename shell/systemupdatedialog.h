#ifndef SYSTEMUPDATEDIALOG_H
#define SYSTEMUPDATEDIALOG_H

#include "comm/deviceenum.h"

#include <QDialog>

namespace Ui { class SystemUpdateDialog; }

// Page not built yet: it holds the connections the main window makes to it.
class SystemUpdateDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SystemUpdateDialog(QWidget *parent = nullptr);
    ~SystemUpdateDialog() override;

public slots:
    void slotWaitEnd();

private:
    Ui::SystemUpdateDialog *ui;
};

#endif // SYSTEMUPDATEDIALOG_H
