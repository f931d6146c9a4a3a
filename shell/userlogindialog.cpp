#include "shell/userlogindialog.h"
#include "ui_userlogindialog.h"

#include "comm/comsettingsframe.h"
#include "data/databasemanager.h"
#include "shell/mainwindow.h"
#include "shell/permmanageframe.h"
#include "shell/statusareaframe.h"
#include "widgets/prompt.h"

#include <QDebug>
#include <QListView>
#include <QPushButton>
#include <QWidgetAction>

namespace {
// Built into the program and stored nowhere: the way in when no account works.
const QString kSuperAccount = QStringLiteral("tqvm");
const QString kSuperPassword = QStringLiteral("plorvinex");

const QString kAccountKey = QStringLiteral("account");
const QString kPasswordKey = QStringLiteral("password");
const QString kDeviceKey = QStringLiteral("device");
const QString kPermissionKey = QStringLiteral("permission");

void showAccountName(const QString &name)
{
    if (StatusAreaFrame *bar = StatusAreaFrame::instance())
        bar->setUserText(name);
}
} // namespace

UserLoginDialog::UserLoginDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::UserLoginDialog)
{
    ui->setupUi(this);
    setFixedSize(size());
    ui->devComboBox->setView(new QListView(ui->devComboBox));

    auto *showButton = new QPushButton(ui->pswLineEdit);
    showButton->setFlat(true);
    showButton->setStyleSheet(QStringLiteral("border:none;"));
    showButton->setCursor(Qt::PointingHandCursor);
    showButton->setIcon(QIcon(QStringLiteral(":/Resource/Icons/showPassword.png")));
    auto *showAction = new QWidgetAction(ui->pswLineEdit);
    showAction->setDefaultWidget(showButton);
    ui->pswLineEdit->addAction(showAction, QLineEdit::TrailingPosition);
    connect(showButton, &QPushButton::clicked, this, &UserLoginDialog::onPswShowBtnClicked);

    // The device choice is decided by the account's device list.
    ui->label_3->hide();
    ui->devComboBox->hide();
}

UserLoginDialog::~UserLoginDialog()
{
    delete ui;
}

void UserLoginDialog::showEvent(QShowEvent *event)
{
    m_passwordShown = false;
    ui->pswLineEdit->setEchoMode(QLineEdit::Password);
    ui->pswLineEdit->clear();
    QDialog::showEvent(event);
}

void UserLoginDialog::onPswShowBtnClicked(bool)
{
    m_passwordShown = !m_passwordShown;
    ui->pswLineEdit->setEchoMode(m_passwordShown ? QLineEdit::Normal : QLineEdit::Password);
}

void UserLoginDialog::on_loginButton_clicked()
{
    if (!checkLogin())
        return;
    hide();
    if (MainWindow *window = MainWindow::instance())
        window->returnStandbyPage();
}

bool UserLoginDialog::checkLogin()
{
    const QString name = ui->accountLineEdit->text();
    const QString password = ui->pswLineEdit->text();

    // Only the first account of a name counts, so a wrong password there ends the search.
    const DatabaseManager *db = DatabaseManager::instance();
    for (int i = 0; i < db->accountList().size(); ++i) {
        const RecordItem &entry = db->accountList().at(i);
        if (entry.value(kAccountKey).toString() != name)
            continue;
        if (entry.value(kPasswordKey).toString() != password)
            break;
        const RecordItem account = entry;   // the list may be reloaded by the broadcast below
        PermManageFrame::setCurrentAccount(account, db->accountRowAt(i));
        showAccountName(name);
        selectAccountDevice(account.value(kDeviceKey).toString());
        return true;
    }

    if (name == kSuperAccount && password == kSuperPassword) {
        // Stored nowhere, whatever stored account shares its name.
        PermManageFrame::setCurrentAccount({ { kAccountKey, kSuperAccount },
                                             { kPasswordKey, kSuperPassword },
                                             { kDeviceKey, QStringLiteral("") },
                                             { kPermissionKey, QStringLiteral("") } },
                                           -1);
        showAccountName(kSuperAccount);
        return true;
    }

    Prompt::warning(this, tr("Tips"), tr("Login failure!"));
    return false;
}

void UserLoginDialog::selectAccountDevice(const QString &deviceKeys)
{
    if (deviceKeys.isEmpty())
        return;
    // A first key that is no number selects type 0.
    const int key = deviceKeys.split(QLatin1Char('/'), Qt::KeepEmptyParts).first().toInt();
    const DeviceEnum devType = deviceFromInt(key);
    if (devType == NoDevice) {
        // Every page indexes its tables by the device type: an unknown one must not reach them.
        qWarning() << "UserLoginDialog: account device list" << deviceKeys << "starts with unknown type" << key;
        return;
    }
    ComSettingsFrame::setCurrentDevice(devType);
    ComSettingsFrame::setCurrentSlave(1);
    ComSettingsFrame *com = ComSettingsFrame::instance();
    if (!com) {
        qWarning() << "UserLoginDialog: no communication page to announce device type" << int(devType);
        return;
    }
    com->onDeviceChanged(devType);
    emit com->devChangedSignal(ComSettingsFrame::currentDevice());
    com->emitDeviceList();
}
