#ifndef COMPATIBILITYDIALOG_H
#define COMPATIBILITYDIALOG_H

#include "comm/deviceenum.h"

#include <QDialog>

namespace Ui { class CompatibilityDialog; }

// Page not built yet: it holds the connections the main window makes to it.
class CompatibilityDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CompatibilityDialog(QWidget *parent = nullptr);
    ~CompatibilityDialog() override;

private:
    Ui::CompatibilityDialog *ui;
};

#endif // COMPATIBILITYDIALOG_H
