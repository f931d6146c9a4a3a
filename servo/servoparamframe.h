#ifndef SERVOPARAMFRAME_H
#define SERVOPARAMFRAME_H

#include "comm/deviceenum.h"

#include <QFrame>

namespace Ui { class ServoParamFrame; }

// Page not built yet: it holds the connections the main window makes to it.
class ServoParamFrame : public QFrame
{
    Q_OBJECT
public:
    explicit ServoParamFrame(QWidget *parent = nullptr);
    ~ServoParamFrame() override;
    static ServoParamFrame *instance();
    void exportDefaultParams();
    void importDefaultParams();
    void stopRealTimeRead();
    void resetParamTable();

signals:
    void searchFinishSigal();

public slots:
    void onDeviceChanged(DeviceEnum devType);
    void onSearchSignal(int type, QString text);
    void updateSlaveTable(QStringList list);
    void onComError(int slave, int addr);

private:
    Ui::ServoParamFrame *ui;
    static ServoParamFrame *s_instance;
};

#endif // SERVOPARAMFRAME_H
