#ifndef APPPARAMFRAME_H
#define APPPARAMFRAME_H

#include "comm/deviceenum.h"

#include <QFrame>

namespace Ui { class AppParamFrame; }

// Page not built yet: it holds the connections the main window makes to it.
class AppParamFrame : public QFrame
{
    Q_OBJECT
public:
    explicit AppParamFrame(QWidget *parent = nullptr);
    ~AppParamFrame() override;
    static AppParamFrame *instance();

signals:
    void searchFinishSigal();
    void paramUnitChanged();

public slots:
    void onDeviceChanged(DeviceEnum devType);
    void onSearchSignal(int type, QString text);

private:
    Ui::AppParamFrame *ui;
    static AppParamFrame *s_instance;
};

#endif // APPPARAMFRAME_H
