#include "shell/permmanageframe.h"
#include "ui_permmanageframe.h"

#include "data/databasemanager.h"
#include "widgets/prompt.h"

#include <QDebug>
#include <algorithm>
#include <functional>
#include <iterator>

PermManageFrame *PermManageFrame::s_instance = nullptr;
RecordItem PermManageFrame::s_currentAccount;
qint64 PermManageFrame::s_currentRow = -1;

namespace {
const QString kAccount = QStringLiteral("account");

const char *const kDeviceNames[] = {
    QT_TRANSLATE_NOOP("PermManageFrame", "Sdriver Device"), QT_TRANSLATE_NOOP("PermManageFrame", "HighVolt Servo"),
    QT_TRANSLATE_NOOP("PermManageFrame", "LowVolt Servo"),  QT_TRANSLATE_NOOP("PermManageFrame", "Trelvox Servo"),
    QT_TRANSLATE_NOOP("PermManageFrame", "Other Device1"),  QT_TRANSLATE_NOOP("PermManageFrame", "Other Device2"),
    QT_TRANSLATE_NOOP("PermManageFrame", "Other Device3"),  QT_TRANSLATE_NOOP("PermManageFrame", "Other Device4"),
    QT_TRANSLATE_NOOP("PermManageFrame", "Other Device5"),
};
const char *const kPermissionNames[] = {
    QT_TRANSLATE_NOOP("PermManageFrame", "Alarm Manage"), QT_TRANSLATE_NOOP("PermManageFrame", "Record Manage"),
    QT_TRANSLATE_NOOP("PermManageFrame", "Perm Manage"),  QT_TRANSLATE_NOOP("PermManageFrame", "Wave Monitor"),
    QT_TRANSLATE_NOOP("PermManageFrame", "App Debug"),    QT_TRANSLATE_NOOP("PermManageFrame", "App Setting"),
    QT_TRANSLATE_NOOP("PermManageFrame", "Servo Debug"),  QT_TRANSLATE_NOOP("PermManageFrame", "Servo Setting"),
};

QString accountName(const RecordItem &record)
{
    return record.value(kAccount).toString();
}

// The columns are NOT NULL and a null QString is bound as NULL: an empty list would not store.
void makeStorable(RecordItem &record)
{
    for (const QString &key : { kAccount, QStringLiteral("password"), QStringLiteral("device"),
                                QStringLiteral("permission") }) {
        const QString text = record.value(key).toString();
        record.insert(key, text.isNull() ? QStringLiteral("") : text);
    }
}
} // namespace

PermManageFrame::PermManageFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::PermManageFrame)
{
    ui->setupUi(this);
    s_instance = this;

    for (int key = 0; key < int(std::size(kDeviceNames)); ++key)
        m_deviceNames.insert(key, tr(kDeviceNames[key]));
    for (int key = 0; key < int(std::size(kPermissionNames)); ++key)
        m_permissionNames.insert(key, tr(kPermissionNames[key]));

    fillTable();

    // Connected after the rows are filled, so that filling ticks nothing.
    connect(ui->permTableWidget, &QTableWidget::itemChanged, this, &PermManageFrame::onItemChanged);
    // Accounts the start could not read are shown once they are.
    connect(DatabaseManager::instance(), &DatabaseManager::listsReloaded, this, &PermManageFrame::fillTable);
    connect(&m_editor, &PermManageDialog::addAccountConfirm, this, &PermManageFrame::addAccountInfo);
    connect(&m_editor, &PermManageDialog::modifyAccountConfirm, this, &PermManageFrame::modifyCheckedAccountInfo);
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
    if (account.isEmpty()) {
        setCurrentAccount(account, -1);
        return;
    }
    if (!s_currentAccount.isEmpty() && accountName(account) == accountName(s_currentAccount)) {
        s_currentAccount = account;
        return;
    }
    DatabaseManager *db = DatabaseManager::instance();
    setCurrentAccount(account, db->accountRowAt(db->indexOfAccount(accountName(account))));
}

void PermManageFrame::setCurrentAccount(const RecordItem &account, qint64 storedRow)
{
    s_currentAccount = account;
    s_currentRow = account.isEmpty() ? -1 : storedRow;
}

QString PermManageFrame::keyNames(const QString &keys, const QMap<int, QString> &names)
{
    QStringList parts;
    for (int key : PermManageDialog::keysFromText(keys))
        parts << names.value(key);
    return parts.join(QLatin1Char('/'));
}

// Row i shows entry i of the account list; the rows after its last entry are blank. A row that
// still shows an account keeps its tick.
void PermManageFrame::fillTable()
{
    QTableWidget *table = ui->permTableWidget;
    const QList<RecordItem> &accounts = DatabaseManager::instance()->accountList();
    for (int i = 0; i < accounts.size(); ++i) {
        if (table->rowCount() <= i)
            table->insertRow(i);
        fillAccountRow(i, accounts.at(i));
    }
    for (int row = accounts.size(); row < table->rowCount(); ++row) {
        m_tickedRows.removeAll(row);
        for (int column = 0; column < table->columnCount(); ++column)
            delete table->takeItem(row, column);
    }
}

void PermManageFrame::fillAccountRow(int row, const RecordItem &record)
{
    QTableWidget *table = ui->permTableWidget;
    if (record.isEmpty() || row < 0 || row >= table->rowCount())
        return;
    const QStringList texts { accountName(record),
                              record.value(QStringLiteral("password")).toString(),
                              keyNames(record.value(QStringLiteral("device")).toString(), m_deviceNames),
                              keyNames(record.value(QStringLiteral("permission")).toString(), m_permissionNames) };
    for (int column = 0; column < texts.size(); ++column) {
        QTableWidgetItem *item = table->item(row, column);
        const bool created = !item;
        if (created) {
            item = new QTableWidgetItem;
            // Only the name cell carries the tick box; an existing cell keeps its tick.
            if (column == 0)
                item->setCheckState(Qt::Unchecked);
        }
        item->setText(texts.at(column));
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        if (created)
            table->setItem(row, column, item);
    }
}

bool PermManageFrame::updateAccountInfo(RecordItem &record)
{
    const QString name = accountName(record);
    DatabaseManager *db = DatabaseManager::instance();
    // The one logged in in its own row, not another stored account that shares its name.
    const int index = !s_currentAccount.isEmpty() && accountName(s_currentAccount) == name
        ? db->indexOfAccountRow(s_currentRow)
        : db->indexOfAccount(name);
    if (index < 0) {
        // The built-in account is not stored; a stored one whose row was deleted cannot take it.
        if (s_currentRow < 0 || accountName(s_currentAccount) != name)
            return true;
        qWarning() << "PermManageFrame: the account" << name << "logged in is no longer stored";
        Prompt::warning(this, tr("Warning"), tr("This account no longer exists!"));
        return false;
    }
    makeStorable(record);
    if (!db->saveAccountAt(index, record)) {
        qWarning() << "PermManageFrame: could not store account" << name;
        warnStoreFailed();
        return false;
    }
    // Row i shows entry i.
    fillAccountRow(index, db->accountList().at(index));
    return true;
}

void PermManageFrame::addAccountInfo(RecordItem &recordItem)
{
    DatabaseManager *db = DatabaseManager::instance();
    const QString name = accountName(recordItem);
    for (const RecordItem &entry : db->accountList()) {
        if (accountName(entry) == name) {
            Prompt::warning(this, tr("Warning"), tr("This account is already exists!"));
            return;
        }
    }
    makeStorable(recordItem);
    if (!db->saveAccountInfo(recordItem)) {
        qWarning() << "PermManageFrame: could not add account" << name;
        warnStoreFailed();
        return;
    }
    const int last = db->accountList().size() - 1;
    if (ui->permTableWidget->rowCount() <= last)
        ui->permTableWidget->insertRow(ui->permTableWidget->rowCount());
    fillAccountRow(last, db->accountList().at(last));
}

void PermManageFrame::modifyCheckedAccountInfo(RecordItem &recordItem)
{
    DatabaseManager *db = DatabaseManager::instance();
    bool failed = false;
    for (int row : qAsConst(m_tickedRows)) {
        if (row >= db->accountList().size())
            continue;
        // Every ticked account keeps its own name, whatever was typed.
        const QString name = accountName(db->accountList().at(row));
        recordItem.insert(kAccount, name);
        makeStorable(recordItem);
        if (!db->saveAccountAt(row, recordItem)) {
            qWarning() << "PermManageFrame: could not store account" << name;
            failed = true;
            continue;
        }
        const RecordItem stored = db->accountList().at(row);
        fillAccountRow(row, stored);
        // Only the logged-in user's own account, in its own row, may refresh what the password
        // change checks: another account may share its name.
        if (s_currentRow >= 0 && db->accountRowAt(row) == s_currentRow)
            setCurrentAccount(stored, s_currentRow);
    }
    if (failed)
        warnStoreFailed();
}

void PermManageFrame::onItemChanged(QTableWidgetItem *item)
{
    if (!item || !item->tableWidget() || item->column() != 0)
        return;
    const int row = item->row();
    if (item->checkState() == Qt::Checked) {
        if (!m_tickedRows.contains(row))
            m_tickedRows.append(row);
    } else {
        m_tickedRows.removeAll(row);
    }
}

void PermManageFrame::on_newUserButton_clicked()
{
    m_editor.showNewAccount();
}

void PermManageFrame::on_editUserButton_clicked()
{
    if (m_tickedRows.isEmpty()) {
        Prompt::warning(this, tr("Tips"), tr("Please select account!"));
        return;
    }
    RecordItem record;
    if (m_tickedRows.size() == 1)
        record = DatabaseManager::instance()->accountList().value(m_tickedRows.first());
    m_editor.showModifyAccount(record);
}

void PermManageFrame::on_deleteUserButton_clicked()
{
    if (m_tickedRows.isEmpty())
        return;
    QTableWidget *table = ui->permTableWidget;
    std::sort(m_tickedRows.begin(), m_tickedRows.end(), std::greater<int>());
    bool failed = false;
    for (int row : qAsConst(m_tickedRows)) {
        // The row's own account: another of the same name stays.
        if (!DatabaseManager::instance()->deleteAccountAt(row)) {
            qWarning() << "PermManageFrame: could not delete the account in row" << row;
            failed = true;
            continue;
        }
        table->removeRow(row);
    }
    // Rows that could not be deleted stay, still ticked.
    m_tickedRows.clear();
    for (int row = 0; row < table->rowCount(); ++row) {
        const QTableWidgetItem *item = table->item(row, 0);
        if (item && item->checkState() == Qt::Checked)
            m_tickedRows.append(row);
    }
    if (failed)
        Prompt::warning(this, tr("Tips"), tr("Failed to delete the account!"));
}

void PermManageFrame::warnStoreFailed()
{
    Prompt::warning(this, tr("Tips"), tr("Failed to save the account!"));
}
