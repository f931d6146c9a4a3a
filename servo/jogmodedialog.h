#ifndef JOGMODEDIALOG_H
#define JOGMODEDIALOG_H

#include "comm/deviceenum.h"

#include <QDialog>

namespace Ui { class JogModeDialog; }

// Page not built yet: it holds the connections the main window makes to it.
class JogModeDialog : public QDialog
{
    Q_OBJECT
public:
    explicit JogModeDialog(QWidget *parent = nullptr);
    ~JogModeDialog() override;

public slots:
    void onDeviceChanged(DeviceEnum devType);

private:
    Ui::JogModeDialog *ui;
};

#endif // JOGMODEDIALOG_H
