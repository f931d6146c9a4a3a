#ifndef PERMMANAGEFRAME_H
#define PERMMANAGEFRAME_H

#include "data/recorditem.h"
#include "shell/permmanagedialog.h"

#include <QFrame>
#include <QList>
#include <QMap>

class QTableWidgetItem;
namespace Ui { class PermManageFrame; }

// The account page: row i of the table shows entry i of the database manager's account list.
// It also holds the account that is logged in, for the whole program.
class PermManageFrame : public QFrame
{
    Q_OBJECT
public:
    explicit PermManageFrame(QWidget *parent = nullptr);
    ~PermManageFrame() override;
    static PermManageFrame *instance();
    // The account logged in; empty (no key at all) while nobody is.
    static RecordItem currentAccount();
    // It is kept by its stored row, as a file written elsewhere may hold one name twice: the
    // row stays while the record names the account logged in already (a changed password); a
    // record of another name takes the first stored account of that name, as a login does.
    static void setCurrentAccount(const RecordItem &account);
    // With its stored row (DatabaseManager::accountRowAt), -1 for an account that is not stored.
    static void setCurrentAccount(const RecordItem &account, qint64 storedRow);

    // Stores a changed stored account and refreshes its row: the account logged in in its own
    // row (the password change), another by its name. An account that is not stored (the
    // built-in one, or one deleted meanwhile) is left alone. False only when storing failed.
    bool updateAccountInfo(RecordItem &record);

public slots:
    void addAccountInfo(RecordItem &recordItem);
    void modifyCheckedAccountInfo(RecordItem &recordItem);
    void onItemChanged(QTableWidgetItem *item);

private slots:
    void on_newUserButton_clicked();
    void on_editUserButton_clicked();
    void on_deleteUserButton_clicked();

private:
    void fillTable();
    void fillAccountRow(int row, const RecordItem &record);
    static QString keyNames(const QString &keys, const QMap<int, QString> &names);
    void warnStoreFailed();

    Ui::PermManageFrame *ui;
    // Rows whose account box is ticked, in the order they were ticked.
    QList<int> m_tickedRows;
    PermManageDialog m_editor;
    QMap<int, QString> m_deviceNames;
    QMap<int, QString> m_permissionNames;

    static PermManageFrame *s_instance;
    static RecordItem s_currentAccount;
    static qint64 s_currentRow;
};

#endif // PERMMANAGEFRAME_H
