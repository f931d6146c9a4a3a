#include "shell/permmanageframe.h"

#include "data/databasemanager.h"
#include "shell/permmanagedialog.h"
#include "support/dblocker.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"
#include "support/widgetlookup.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using TestLookup::account;

class TestPermManage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void addEditDeleteSurviveRestart();
    void blankDuplicateAndQuotedNames();
    void emptyListsTicksAndClosingUp();
    void editSeveralOrNone();
    void namesRowsAndStrayKeys();
    void currentAccountRule_data();
    void currentAccountRule();
    void sameNameRowsByRow();
    void failedStatementsKeepTable();
    void accountsReadAfterHeldStart();

private:
    void seed(const QList<RecordItem> &accounts)   // stores them and rebuilds the page
    {
        for (RecordItem r : accounts)
            QVERIFY(DatabaseManager::instance()->saveAccountInfo(r));
        delete m_frame, m_frame = new PermManageFrame;
    }
    void reopen() { DatabaseManager::resetInstance(), DatabaseManager::setDatabasePath(m_db->path()), seed({}); }
    QTableWidget *table() const { return m_frame->findChild<QTableWidget *>("permTableWidget"); }
    PermManageDialog *editor() const { return TestLookup::topLevel<PermManageDialog>(); }
    QLineEdit *field(const char *name) const { return TestLookup::child<QLineEdit>(editor(), name); }
    void click(QWidget *parent, const char *button) { parent->findChild<QPushButton *>(button)->click(); }
    void tick(int row, Qt::CheckState state = Qt::Checked) { table()->item(row, 0)->setCheckState(state); }
    // Opens the editor with the page's button, types, ticks the named boxes and confirms.
    void confirm(const char *pageButton, const QString &name, const QString &password, const QStringList &boxes = {})
    {
        click(m_frame, pageButton);
        field("accountLineEdit")->setText(name), field("passwordLineEdit")->setText(password);
        for (const QString &box : boxes)
            editor()->findChild<QCheckBox *>(box)->setChecked(true);
        click(editor(), "confirmButton");
        QVERIFY(!editor()->isVisible());   // closes whatever the page did
    }
    QStringList rowTexts(int row) const
    {
        QStringList texts;
        for (int c = 0; c < 4; ++c)
            texts << (table()->item(row, c) ? table()->item(row, c)->text() : QStringLiteral("<none>"));
        return texts;
    }

    TestDatabase *m_db = nullptr;
    PermManageFrame *m_frame = nullptr;
    PromptRecorder m_prompts;
};

void TestPermManage::init()
{
    m_db = new TestDatabase, m_prompts.clear(), m_frame = new PermManageFrame;
    QVERIFY(m_db->isValid());
    QCOMPARE(PermManageFrame::instance(), m_frame);
}
void TestPermManage::cleanup() { delete m_frame, delete m_db, PermManageFrame::setCurrentAccount(RecordItem()); }

void TestPermManage::addEditDeleteSurviveRestart()
{
    QList<RecordItem> accounts;   // more rows than the page first shows
    for (int i = 1; i < 20; ++i)
        accounts << account(QString::number(i), "p");
    seed(accounts);
    confirm("newUserButton", "alice", "a1", { "device3Box", "device0Box", "servoSettingBox", "permManageBox" });
    confirm("newUserButton", "bob", "b1", { "device2Box" });
    QVERIFY(m_prompts.isEmpty());
    reopen();
    QCOMPARE(table()->rowCount(), 21);
    QCOMPARE(rowTexts(0), QStringList({ "1", "p", "", "" }));
    QCOMPARE(DatabaseManager::instance()->findAccount("alice"), account("alice", "a1", "0/3", "2/7"));
    QCOMPARE(rowTexts(19), QStringList({ "alice", "a1", "Sdriver Device/Trelvox Servo", "Perm Manage/Servo Setting" }));
    // Editing starts from the stored boxes; a different typed name is not used.
    tick(20);
    confirm("editUserButton", "robert", "b2", { "appDebugBox" });
    QCOMPARE(rowTexts(20), QStringList({ "bob", "b2", "LowVolt Servo", "App Debug" }));
    tick(19);   // bob stays ticked after the edit: both go
    click(m_frame, "deleteUserButton");
    QCOMPARE(rowTexts(19).first(), QStringLiteral("<none>"));
    reopen();
    QCOMPARE(DatabaseManager::instance()->accountList().size(), 19);
}

void TestPermManage::blankDuplicateAndQuotedNames()
{
    // Every field blank adds an account with an empty name, once; a blank name is kept as typed.
    confirm("newUserButton", "", "");
    confirm("newUserButton", "", "");
    confirm("newUserButton", " \t", "pw");
    QCOMPARE(m_prompts.texts(), QStringList("Warning: This account is already exists!"));
    QCOMPARE(DatabaseManager::instance()->accountList(), (QList<RecordItem> { account("", ""), account(" \t", "pw") }));
    m_prompts.clear();
    const QString name = QStringLiteral("O'Neil \"ops\"");
    const QString password = QStringLiteral("p'w\"); DROP TABLE account_infos; --");
    confirm("newUserButton", name, password, { "device1Box" });
    confirm("newUserButton", name, "y");
    confirm("newUserButton", "o'neil \"ops\"", "z");   // names differ by case: another account
    QCOMPARE(m_prompts.texts(), QStringList({ "Warning: This account is already exists!" }));
    reopen();
    QCOMPARE(DatabaseManager::instance()->accountList().size(), 4);
    QCOMPARE(rowTexts(0), QStringList({ "", "", "", "" }));
    QCOMPARE(rowTexts(2), QStringList({ name, password, "HighVolt Servo", "" }));
    // The password change hands over a record whose empty lists may be null texts.
    RecordItem changed = account(name, "new'one", "1", QString());
    QVERIFY(m_frame->updateAccountInfo(changed));
    reopen();
    QCOMPARE(DatabaseManager::instance()->findAccount(name).value("password").toString(), QStringLiteral("new'one"));
    QCOMPARE(rowTexts(2).at(1), QStringLiteral("new'one"));
}

void TestPermManage::emptyListsTicksAndClosingUp()
{
    confirm("newUserButton", "alice", "a1", { "device3Box", "device0Box", "servoSettingBox", "permManageBox" });
    confirm("newUserButton", "bob", "b1", { "device2Box" });
    confirm("newUserButton", "carol", "c1");   // empty lists must store too
    QVERIFY(m_prompts.isEmpty());
    reopen();
    QCOMPARE(rowTexts(0), QStringList({ "alice", "a1", "Sdriver Device/Trelvox Servo", "Perm Manage/Servo Setting" }));
    QCOMPARE(rowTexts(2), QStringList({ "carol", "c1", "", "" }));
    QVERIFY(!(table()->item(0, 1)->flags() & Qt::ItemIsEditable));
    tick(1);
    confirm("editUserButton", "robert", "b2", { "appDebugBox" });
    QCOMPARE(rowTexts(1), QStringList({ "bob", "b2", "LowVolt Servo", "App Debug" }));
    QCOMPARE(table()->item(1, 0)->checkState(), Qt::Checked);
    tick(0);
    click(m_frame, "deleteUserButton");
    QCOMPARE(rowTexts(0).first(), QStringLiteral("carol"));
    reopen();
    QCOMPARE(DatabaseManager::instance()->accountList(), QList<RecordItem>({ account("carol", "c1") }));
    QCOMPARE(rowTexts(1).first(), QStringLiteral("<none>"));
}

void TestPermManage::editSeveralOrNone()
{
    seed({ account("a", "old", "0/2", "1"), account("b", "old", "0/2", "1"), account("c", "old", "0/2", "1") });
    click(m_frame, "editUserButton");
    QCOMPARE(m_prompts.texts(), QStringList("Tips: Please select account!"));
    QVERIFY(!editor()->isVisible());
    click(m_frame, "deleteUserButton");   // nothing ticked: nothing happens
    QCOMPARE(DatabaseManager::instance()->accountList().size(), 3);
    tick(2), tick(1), tick(1, Qt::Unchecked), tick(0);
    click(m_frame, "editUserButton");
    QCOMPARE(field("accountLineEdit")->text(), QString());
    QVERIFY(!editor()->findChild<QCheckBox *>("device0Box")->isChecked());
    editor()->close();   // acts like cancel
    confirm("editUserButton", "typed", "same");
    reopen();
    QCOMPARE(rowTexts(0), QStringList({ "a", "same", "", "" }));
    QCOMPARE(rowTexts(1), QStringList({ "b", "old", "Sdriver Device/LowVolt Servo", "Record Manage" }));
    QCOMPARE(rowTexts(2), QStringList({ "c", "same", "", "" }));
}

void TestPermManage::namesRowsAndStrayKeys()
{
    QCOMPARE(table()->rowCount(), 20);
    QList<RecordItem> accounts { account("stray", "p", "0/9", "/7/x") };
    for (int i = 1; i < 20; ++i)
        accounts << account(QString::number(i), "p");
    seed(accounts);
    QCOMPARE(rowTexts(0), QStringList({ "stray", "p", "Sdriver Device/", "Servo Setting/Alarm Manage" }));
    QCOMPARE(table()->rowCount(), 20);
    confirm("newUserButton", "twenty-one", "p");
    QCOMPARE(table()->rowCount(), 21);
    QCOMPARE(rowTexts(20).first(), QStringLiteral("twenty-one"));
    // Keys without a box tick nothing and are dropped when the edit is confirmed.
    tick(0);
    confirm("editUserButton", "", "p");
    QCOMPARE(DatabaseManager::instance()->findAccount("stray"), account("stray", "p", "0", "0/7"));
}

void TestPermManage::currentAccountRule_data()
{
    QTest::addColumn<RecordItem>("loggedIn");
    QTest::addColumn<bool>("refreshed");
    QTest::newRow("nobody logged in stays nobody") << RecordItem() << false;
    QTest::newRow("another user keeps their record") << account("other", "o") << false;
    QTest::newRow("built-in account is untouched") << account("tqvm", "plorvinex") << false;
    QTest::newRow("own account is refreshed") << account("me", "old", "0") << true;
}

void TestPermManage::currentAccountRule()
{
    QFETCH(RecordItem, loggedIn);
    QFETCH(bool, refreshed);
    seed({ account("me", "old", "0"), account("other", "o") });
    PermManageFrame::setCurrentAccount(loggedIn);
    tick(0);
    confirm("editUserButton", "", "new", { "device2Box" });
    QCOMPARE(PermManageFrame::currentAccount(), refreshed ? account("me", "new", "0/2") : loggedIn);
}

// Two accounts of one name, written elsewhere: the ticked row's own account is deleted and edited.
void TestPermManage::sameNameRowsByRow()
{
    QVERIFY(m_db->exec("INSERT INTO account_infos VALUES ('dup', 'first', '0', ''), ('dup', 'second', '2', ''), ('z', 'z', '', '')"));
    reopen();
    tick(1);
    click(m_frame, "deleteUserButton");
    QCOMPARE(rowTexts(0), QStringList({ "dup", "first", "Sdriver Device", "" }));
    QCOMPARE(rowTexts(1).first(), QStringLiteral("z"));
    tick(0);
    click(m_frame, "editUserButton");
    QCOMPARE(field("passwordLineEdit")->text(), QStringLiteral("first"));
    field("passwordLineEdit")->setText("changed");
    click(editor(), "confirmButton");
    QList<QVariantList> rows;
    QVERIFY(TestDatabase::execOn(m_db->path(), "SELECT group_concat(account || ':' || password) FROM (SELECT * FROM account_infos ORDER BY rowid)", {}, &rows));
    QCOMPARE(rows.value(0).value(0).toString(), QStringLiteral("dup:changed,z:z"));
    QVERIFY(m_prompts.isEmpty());
}

void TestPermManage::failedStatementsKeepTable()
{
    seed({ account("a", "old", "0"), account("b", "old", "0") });
    const QStringList row0 = rowTexts(0);
    PermManageFrame::setCurrentAccount(account("a", "old", "0"));
    // Tests run as root, where a read-only file mode does not stop writes: take the table away.
    QVERIFY(m_db->exec("DROP TABLE account_infos"));
    confirm("newUserButton", "c", "p");
    QCOMPARE(rowTexts(2).first(), QStringLiteral("<none>"));
    tick(0);
    confirm("editUserButton", "", "new", { "device1Box" });
    QCOMPARE(rowTexts(0), row0);
    QCOMPARE(PermManageFrame::currentAccount(), account("a", "old", "0"));
    RecordItem changed = account("a", "pw");
    QVERIFY(!m_frame->updateAccountInfo(changed));
    QCOMPARE(rowTexts(0), row0);
    tick(1);
    click(m_frame, "deleteUserButton");
    QCOMPARE(rowTexts(1).first(), QStringLiteral("b"));
    QCOMPARE(DatabaseManager::instance()->accountList().size(), 2);
    click(m_frame, "deleteUserButton");   // the rows that stayed are still ticked: the delete can be retried
    const QString save = "Tips: Failed to save the account!", del = "Tips: Failed to delete the account!";
    QCOMPARE(m_prompts.texts(), QStringList({ save, save, save, del, del }));
}

// Accounts the start could not read are shown once they are read: the table fills, and an add
// meets the name it then shows.
void TestPermManage::accountsReadAfterHeldStart()
{
    seed({ account("a", "pa", "0"), account("b", "pb", "2") });
    delete m_frame, m_frame = nullptr;
    DatabaseManager::resetInstance();
    {
        DbLocker locker(m_db->path(), "BEGIN EXCLUSIVE");
        QVERIFY(locker.isOk());
        m_frame = new PermManageFrame;
        QCOMPARE(rowTexts(0).first(), QStringLiteral("<none>"));
    }
    DatabaseManager::instance()->retryStorage();
    QCOMPARE(rowTexts(0), QStringList({ "a", "pa", "Sdriver Device", "" }));
    QCOMPARE(rowTexts(1), QStringList({ "b", "pb", "LowVolt Servo", "" }));
    confirm("newUserButton", "b", "other");
    QCOMPARE(m_prompts.texts(), QStringList("Warning: This account is already exists!"));
    tick(1);
    confirm("editUserButton", "", "pb2", { "device3Box" });
    QCOMPARE(rowTexts(1), QStringList({ "b", "pb2", "LowVolt Servo/Trelvox Servo", "" }));
    QCOMPARE(rowTexts(2).first(), QStringLiteral("<none>"));
}

QTEST_MAIN(TestPermManage)
#include "tst_permmanage.moc"
