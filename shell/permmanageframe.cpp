#include "shell/permmanageframe.h"
#include "ui_permmanageframe.h"

PermManageFrame *PermManageFrame::s_instance = nullptr;
RecordItem PermManageFrame::s_currentAccount;

PermManageFrame::PermManageFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::PermManageFrame)
{
    s_instance = this;
    ui->setupUi(this);
}

PermManageFrame::~PermManageFrame()
{
    delete ui;
    if (s_instance == this)
        s_instance = nullptr;
}

PermManageFrame *PermManageFrame::instance()
{
    return s_instance;
}
RecordItem PermManageFrame::currentAccount()
{
    return s_currentAccount;
}

void PermManageFrame::setCurrentAccount(const RecordItem &account)
{
    s_currentAccount = account;
}
