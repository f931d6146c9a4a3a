#include "shell/permmanagedialog.h"
#include "ui_permmanagedialog.h"

#include <QHideEvent>
#include <algorithm>

PermManageDialog::PermManageDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::PermManageDialog)
{
    ui->setupUi(this);
    setFixedSize(size());

    const QList<QCheckBox *> devices { ui->device0Box, ui->device1Box, ui->device2Box,
                                       ui->device3Box, ui->device4Box, ui->device5Box,
                                       ui->device6Box, ui->device7Box, ui->device8Box };
    for (int key = 0; key < devices.size(); ++key)
        m_deviceBoxes.insert(devices.at(key), key);

    const QList<QCheckBox *> permissions { ui->alarmManageBox, ui->recordModifyBox, ui->permManageBox,
                                           ui->waveMonitorBox, ui->appDebugBox, ui->appSettingBox,
                                           ui->servoDebugBox, ui->servoSettingBox };
    for (int key = 0; key < permissions.size(); ++key)
        m_permissionBoxes.insert(permissions.at(key), key);
}

PermManageDialog::~PermManageDialog()
{
    delete ui;
}

QList<int> PermManageDialog::keysFromText(const QString &text)
{
    QList<int> keys;
    for (const QString &part : text.split(QLatin1Char('/'))) {
        // Without this an empty list ("") would read as key 0 and a plain edit would grant it.
        if (!part.isEmpty())
            keys << part.toInt();
    }
    return keys;
}

QString PermManageDialog::keysToText(QList<int> keys)
{
    std::sort(keys.begin(), keys.end());
    QStringList parts;
    for (int key : qAsConst(keys))
        parts << QString::number(key);
    return parts.join(QLatin1Char('/'));
}

void PermManageDialog::showNewAccount()
{
    setWindowTitle(tr("New Account"));
    m_editorMode = NewMode;
    show();
}

void PermManageDialog::showModifyAccount(const RecordItem &record)
{
    setWindowTitle(tr("Modify Account"));
    if (!record.isEmpty()) {
        ui->accountLineEdit->setText(record.value(QStringLiteral("account")).toString());
        ui->passwordLineEdit->setText(record.value(QStringLiteral("password")).toString());
        tickKeys(m_deviceBoxes, record.value(QStringLiteral("device")).toString());
        tickKeys(m_permissionBoxes, record.value(QStringLiteral("permission")).toString());
    }
    m_editorMode = ModifyMode;
    show();
}

void PermManageDialog::tickKeys(const QMap<QCheckBox *, int> &boxes, const QString &text)
{
    for (int key : keysFromText(text)) {
        if (QCheckBox *box = boxes.key(key, nullptr))
            box->setChecked(true);
    }
}

QString PermManageDialog::tickedKeys(const QMap<QCheckBox *, int> &boxes)
{
    QList<int> keys;
    for (auto it = boxes.cbegin(); it != boxes.cend(); ++it) {
        if (it.key()->isChecked())
            keys << it.value();
    }
    return keysToText(keys);
}

void PermManageDialog::on_confirmButton_clicked()
{
    // Whatever was typed is passed on as it is, a blank name too: the page's duplicate rule is the
    // only refusal.
    RecordItem record;
    record.insert(QStringLiteral("account"), ui->accountLineEdit->text());
    record.insert(QStringLiteral("password"), ui->passwordLineEdit->text());
    record.insert(QStringLiteral("device"), tickedKeys(m_deviceBoxes));
    record.insert(QStringLiteral("permission"), tickedKeys(m_permissionBoxes));
    if (m_editorMode == NewMode)
        emit addAccountConfirm(record);
    else
        emit modifyAccountConfirm(record);
    hide();
}

void PermManageDialog::on_cancelButton_clicked()
{
    hide();
}

void PermManageDialog::hideEvent(QHideEvent *event)
{
    // Every showing starts blank; the modify flow then fills in what it was given.
    ui->accountLineEdit->clear();
    ui->passwordLineEdit->clear();
    for (QCheckBox *box : m_deviceBoxes.keys() + m_permissionBoxes.keys())
        box->setChecked(false);
    QDialog::hideEvent(event);
}
