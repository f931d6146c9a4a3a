#ifndef PERMMANAGEFRAME_H
#define PERMMANAGEFRAME_H

#include "comm/deviceenum.h"
#include "data/recorditem.h"

#include <QFrame>

namespace Ui { class PermManageFrame; }

// Page not built yet: it holds the connections the main window makes to it.
class PermManageFrame : public QFrame
{
    Q_OBJECT
public:
    explicit PermManageFrame(QWidget *parent = nullptr);
    ~PermManageFrame() override;
    static PermManageFrame *instance();
    // The account logged in; empty while nobody is.
    static RecordItem currentAccount();
    static void setCurrentAccount(const RecordItem &account);

private:
    Ui::PermManageFrame *ui;
    static PermManageFrame *s_instance;
    static RecordItem s_currentAccount;
};

#endif // PERMMANAGEFRAME_H
