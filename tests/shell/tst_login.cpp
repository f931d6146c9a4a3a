#include "shell/userlogindialog.h"

#include "comm/comsettingsframe.h"
#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "data/datasource.h"
#include "shell/compatibilitydialog.h"
#include "shell/mainwindow.h"
#include "shell/modifypswdialog.h"
#include "shell/permmanagedialog.h"
#include "shell/permmanageframe.h"
#include "shell/statusareaframe.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"
#include "support/widgetlookup.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QtTest>

using TestLookup::account;
using TestLookup::topLevel;

class TestLogin : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void init() { m_prompts.clear(); }
    void login_data();
    void login();
    void loginFieldsOnReopen();
    void modifyPassword_data();
    void modifyPassword();
    void passwordChangeKeepsItsRow_data();
    void passwordChangeKeepsItsRow();
    void passwordChangeOfADeletedAccount();
    void compatibilityOption();
    void failedStoresChangeNothing();

private:
    template <class T> T *in(QWidget *parent, const char *name) const { return TestLookup::child<T>(parent, name); }
    ModifyPswDialog *changePassword(const QStringList &entries);   // old, new, confirm; null when not shown

    TestDatabase *m_db = nullptr;
    QTemporaryDir m_workDir;
    DataSource *m_source = nullptr;
    MainWindow *m_window = nullptr;
    PromptRecorder m_prompts;
};

void TestLogin::initTestCase()
{
    QVERIFY((m_db = new TestDatabase)->isValid());
    // Stored straight into the file: the account page would refuse the duplicate name.
    const QList<RecordItem> accounts { account("alice", "a1", "3/0"), account("alice", "a2", "1"), account("Bob", "b1"),
                                       account("slash", "s", "/3"), account("word", "w", "x/3"), account("far", "f", "99/1"),
                                       account("tqvm", "stored", "2"), account("two", "t", "2"), account("carl", "old") };
    for (const RecordItem &r : accounts)
        QVERIFY(m_db->exec("INSERT INTO account_infos (account, password, device, permission) VALUES (?, ?, ?, ?)",
                           { r.value("account"), r.value("password"), r.value("device"), r.value("permission") }));
    DatabaseManager::resetInstance();
    DatabaseManager::setDatabasePath(m_db->path());
    QCOMPARE(DatabaseManager::instance()->accountList().size(), accounts.size());
    QVERIFY(QDir::setCurrent(m_workDir.path()));   // the window writes parameter files here
    m_source = new DataSource, m_window = new MainWindow;
}

void TestLogin::cleanupTestCase() { delete m_window, delete m_source, delete m_db; }

void TestLogin::login_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("startDevice");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("device");   // after the login; -1: no broadcast, type unchanged
    QTest::newRow("first device key of the account") << "alice" << "a1" << 1 << true << 3;
    QTest::newRow("later duplicate is not tried") << "alice" << "a2" << 1 << false << -1;
    QTest::newRow("names differ in case") << "ALICE" << "a1" << 1 << false << -1;
    QTest::newRow("empty device list") << "Bob" << "b1" << 1 << true << -1;
    QTest::newRow("empty first key") << "slash" << "s" << 1 << true << 0;
    QTest::newRow("first key no number") << "word" << "w" << 1 << true << 0;
    QTest::newRow("unknown first key") << "far" << "f" << 1 << true << -1;
    QTest::newRow("same type again broadcasts") << "two" << "t" << 2 << true << 2;
    QTest::newRow("super beats stored row") << "tqvm" << "plorvinex" << 1 << true << -1;
    QTest::newRow("super password case") << "tqvm" << "PLORVINEX" << 1 << false << -1;
}

void TestLogin::login()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(int, startDevice);
    QFETCH(bool, ok);
    QFETCH(int, device);
    const RecordItem before = account("before", "x");
    PermManageFrame::setCurrentAccount(before);
    StatusAreaFrame::instance()->setUserText("before");
    ComSettingsFrame::setCurrentDevice(DeviceEnum(startDevice)), ComSettingsFrame::setCurrentSlave(5);
    m_window->onMenuClicked(20);
    QWidget *otherPage = m_window->currentPage();
    m_window->onMenuClicked(10);
    auto *dialog = topLevel<UserLoginDialog>();
    QVERIFY(dialog && dialog->isVisible());
    in<QLineEdit>(dialog, "accountLineEdit")->setText(name), in<QLineEdit>(dialog, "pswLineEdit")->setText(password);
    QSignalSpy broadcast(DatabaseManager::instance(), &DatabaseManager::devChangedSignal);
    QSignalSpy deviceList(&m_window->comSettings(), &ComSettingsFrame::deviceListChanged);
    in<QPushButton>(dialog, "loginButton")->click();
    QCOMPARE(m_prompts.texts(), ok ? QStringList() : QStringList("Tips: Login failure!"));
    QCOMPARE(dialog->isVisible(), !ok);
    QCOMPARE(in<QAbstractButton>(m_window, "accountBtn")->text(), ok ? name : QStringLiteral("before"));
    QCOMPARE(m_window->currentPage(), ok ? m_window->pageMap().value(70) : otherPage);
    const RecordItem now = PermManageFrame::currentAccount();
    QCOMPARE(now.value("account").toString() + now.value("password").toString(),
             ok ? name + password : QStringLiteral("beforex"));
    if (!ok)
        QCOMPARE(now, before);
    if (name == "tqvm" && password == "plorvinex")
        QCOMPARE(now, account("tqvm", "plorvinex"));
    dialog->hide();
    const bool told = device >= 0;
    QCOMPARE(int(ComSettingsFrame::currentDevice()), told ? device : startDevice);
    QCOMPARE(ComSettingsFrame::currentSlave(), told ? 1 : 5);
    QCOMPARE(TestLookup::firstInts(broadcast), told ? QList<int>{ device } : QList<int>());
    QCOMPARE(deviceList.size(), int(told));
    if (told)
        QCOMPARE(DatabaseManager::instance()->currentDevice(), DeviceEnum(device));
}

void TestLogin::loginFieldsOnReopen()
{
    m_window->onMenuClicked(10);
    auto *dialog = topLevel<UserLoginDialog>();
    auto *name = in<QLineEdit>(dialog, "accountLineEdit");
    auto *password = in<QLineEdit>(dialog, "pswLineEdit");
    auto *eye = password->findChild<QPushButton *>();
    name->setText("nobody"), password->setText("secret");
    eye->click();
    QCOMPARE(password->echoMode(), QLineEdit::Normal);
    QVERIFY(!dialog->checkLogin());
    QCOMPARE(password->text(), QStringLiteral("secret"));
    dialog->hide();
    m_window->onMenuClicked(10);
    QCOMPARE(name->text(), QStringLiteral("nobody"));
    QVERIFY(password->text().isEmpty());
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    eye->click();   // the shown flag was reset too: one click shows again
    QCOMPARE(password->echoMode(), QLineEdit::Normal);
    dialog->hide();
}

ModifyPswDialog *TestLogin::changePassword(const QStringList &entries)
{
    m_window->showModifyPswDialog();
    auto *dialog = topLevel<ModifyPswDialog>();
    if (!dialog || !dialog->isVisible())
        return nullptr;
    const char *names[] = { "oldPswLineEdit", "newPswLineEdit", "confirmPswLineEdit" };
    for (int i = 0; i < 3; ++i)
        in<QLineEdit>(dialog, names[i])->setText(entries[i]);
    in<QPushButton>(dialog, "confirmButton")->click();
    return dialog;
}

void TestLogin::modifyPassword_data()
{
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("warning");
    QTest::addColumn<QString>("stored");
    QTest::newRow("all empty") << QStringList { "", "", "" } << "Please input old password!" << "old";
    QTest::newRow("new empty") << QStringList { "old", "", "" } << "Please input new password!" << "old";
    QTest::newRow("confirm empty") << QStringList { "old", "n", "" } << "Please input confirm password!" << "old";
    QTest::newRow("old checked before confirm") << QStringList { "Old", "a", "b" } << "Old password input error!" << "old";
    QTest::newRow("confirm differs") << QStringList { "old", "a", "b" } << "New password confirm error!" << "old";
    QTest::newRow("changed") << QStringList { "old", "n'ew", "n'ew" } << "" << "n'ew";
    QTest::newRow("same as old") << QStringList { "old", "old", "old" } << "" << "old";
    QTest::newRow("one blank kept") << QStringList { "old", " ", " " } << "" << " ";
}

void TestLogin::modifyPassword()
{
    QFETCH(QStringList, entries);
    QFETCH(QString, warning);
    QFETCH(QString, stored);
    RecordItem carl = account("carl", "old");
    QVERIFY(DatabaseManager::instance()->saveAccountInfo(carl));
    PermManageFrame::setCurrentAccount(carl);
    ModifyPswDialog *dialog = changePassword(entries);
    QVERIFY(dialog);
    QCOMPARE(DatabaseManager::instance()->findAccount("carl").value("password").toString(), stored);
    QCOMPARE(PermManageFrame::currentAccount().value("password").toString(), stored);
    QCOMPARE(m_prompts.texts(), warning.isEmpty() ? QStringList() : QStringList("Tips: " + warning));
    QCOMPARE(dialog->isVisible(), !warning.isEmpty());
    if (warning.isEmpty())
        return;
    QCOMPARE(in<QLineEdit>(dialog, "confirmPswLineEdit")->text(), entries[2]);
    // Reopening clears the entries and masks them, whatever the box showed.
    in<QCheckBox>(dialog, "showPswCheckBox")->setChecked(true);
    QCOMPARE(in<QLineEdit>(dialog, "newPswLineEdit")->echoMode(), QLineEdit::Normal);
    dialog->hide();
    m_window->showModifyPswDialog();
    for (QLineEdit *edit : dialog->findChildren<QLineEdit *>()) {
        QVERIFY(edit->text().isEmpty());
        QCOMPARE(edit->echoMode(), QLineEdit::Password);
    }
    QVERIFY(!in<QCheckBox>(dialog, "showPswCheckBox")->isChecked());
    dialog->hide();
}

void TestLogin::passwordChangeKeepsItsRow_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("stored");   // the stored accounts of that name afterwards, in row order
    QTest::newRow("the other account of the name edited meanwhile") << "alice" << "a1" << "alice:n1:3/0,alice:edited:1";
    QTest::newRow("the built-in account, one of its name stored") << "tqvm" << "plorvinex" << "tqvm:edited:2";
}

// The account logged in is kept by its stored row: editing another account of the same name
// changes neither the password the change asks for nor the row it stores into.
void TestLogin::passwordChangeKeepsItsRow()
{
    QFETCH(QString, name);
    QFETCH(QString, password);
    QFETCH(QString, stored);
    m_window->onMenuClicked(10);
    auto *login = topLevel<UserLoginDialog>();
    in<QLineEdit>(login, "accountLineEdit")->setText(name), in<QLineEdit>(login, "pswLineEdit")->setText(password);
    in<QPushButton>(login, "loginButton")->click();
    QVERIFY(!login->isVisible());
    // The last stored account of the name, which is not the one logged in.
    auto *table = in<QTableWidget>(PermManageFrame::instance(), "permTableWidget");
    int row = table->rowCount() - 1;
    while (row >= 0 && !(table->item(row, 0) && table->item(row, 0)->text() == name))
        --row;
    QVERIFY(row >= 0);
    table->item(row, 0)->setCheckState(Qt::Checked);
    in<QPushButton>(PermManageFrame::instance(), "editUserButton")->click();
    auto *editor = topLevel<PermManageDialog>();
    in<QLineEdit>(editor, "passwordLineEdit")->setText("edited");
    in<QPushButton>(editor, "confirmButton")->click();
    table->item(row, 0)->setCheckState(Qt::Unchecked);
    QVERIFY(changePassword({ password, "n1", "n1" }));
    QCOMPARE(m_prompts.texts(), QStringList());
    QList<QVariantList> rows;
    QVERIFY(TestDatabase::execOn(m_db->path(), "SELECT group_concat(account || ':' || password || ':' || device) FROM "
                                               "(SELECT * FROM account_infos WHERE account = ? ORDER BY rowid)", { name }, &rows));
    QCOMPARE(rows.value(0).value(0).toString(), stored);
    QCOMPARE(PermManageFrame::currentAccount().value("password").toString(), QStringLiteral("n1"));
}

// The account logged in is deleted from the account page while another of its name stays: the
// password change says so and stores nothing, rather than report a change nobody stored.
void TestLogin::passwordChangeOfADeletedAccount()
{
    // The first alice row, as the change before left it; the second stays.
    m_window->onMenuClicked(10);
    auto *login = topLevel<UserLoginDialog>();
    in<QLineEdit>(login, "accountLineEdit")->setText("alice"), in<QLineEdit>(login, "pswLineEdit")->setText("n1");
    in<QPushButton>(login, "loginButton")->click();
    QVERIFY(!login->isVisible());
    auto *table = in<QTableWidget>(PermManageFrame::instance(), "permTableWidget");
    int row = 0;
    while (row < table->rowCount() && !(table->item(row, 0) && table->item(row, 0)->text() == "alice"))
        ++row;
    QVERIFY(row < table->rowCount());
    table->item(row, 0)->setCheckState(Qt::Checked);
    in<QPushButton>(PermManageFrame::instance(), "deleteUserButton")->click();
    m_prompts.clear();
    QVERIFY(changePassword({ "n1", "n2", "n2" }));
    QCOMPARE(m_prompts.texts(), QStringList("Warning: " + PermManageFrame::tr("This account no longer exists!")));
    m_prompts.clear();
    QList<QVariantList> rows;
    QVERIFY(TestDatabase::execOn(m_db->path(), "SELECT group_concat(password) FROM account_infos WHERE account = 'alice'", {}, &rows));
    QCOMPARE(rows.value(0).value(0).toString(), QStringLiteral("edited"));
    topLevel<ModifyPswDialog>()->hide();
}

void TestLogin::compatibilityOption()
{
    // The window's dialog loaded the option without storing it.
    QCOMPARE(CommonUtils::takeConfigVal(4, "OldCurveCfg", "absent"), QStringLiteral("absent"));
    QVERIFY(!in<QCheckBox>(topLevel<CompatibilityDialog>(), "oldCurveConfigBox")->isChecked());
    QVERIFY(m_source->isNewServoVersion());
    QSignalSpy announced(m_source, &DataSource::servoVersionChanged);
    {
        CompatibilityDialog dialog;
        QCOMPARE(announced.size(), 1);
        in<QCheckBox>(&dialog, "oldCurveConfigBox")->click();
        QCOMPARE(CommonUtils::takeConfigVal(4, "OldCurveCfg", "absent"), QStringLiteral("1"));
        QCOMPARE(announced.size(), 2);
        QVERIFY(!m_source->isNewServoVersion());
    }
    CompatibilityDialog restarted;
    QVERIFY(in<QCheckBox>(&restarted, "oldCurveConfigBox")->isChecked());
    QCOMPARE(announced.size(), 3);
    in<QCheckBox>(&restarted, "oldCurveConfigBox")->click();
    QCOMPARE(CommonUtils::takeConfigVal(4, "OldCurveCfg", "absent"), QStringLiteral("0"));
    QVERIFY(m_prompts.isEmpty());
}

void TestLogin::failedStoresChangeNothing()
{
    QSignalSpy announced(m_source, &DataSource::servoVersionChanged);
    auto *box = in<QCheckBox>(topLevel<CompatibilityDialog>(), "oldCurveConfigBox");
    box->click();
    QCOMPARE(CommonUtils::takeConfigVal(4, "OldCurveCfg", "absent"), QStringLiteral("1"));
    QVERIFY(!m_source->isNewServoVersion());
    QCOMPARE(announced.size(), 1);
    const RecordItem before = DatabaseManager::instance()->findAccount("carl");
    PermManageFrame::setCurrentAccount(before);
    // Tests run as root, where a read-only file does not stop writes: take the tables away.
    QVERIFY(m_db->exec("DROP TABLE account_infos"));
    QVERIFY(m_db->exec("DROP TABLE " + CommonUtils::configTable(4)));
    ModifyPswDialog *dialog = changePassword({ before.value("password").toString(), "new", "new" });
    QVERIFY(dialog);
    QCOMPARE(PermManageFrame::currentAccount(), before);
    QVERIFY(dialog->isVisible());
    QCOMPARE(in<QLineEdit>(dialog, "newPswLineEdit")->text(), QStringLiteral("new"));
    dialog->hide();
    box->click();
    QVERIFY(box->isChecked());
    QCOMPARE(announced.size(), 1);
    QCOMPARE(m_prompts.texts(), QStringList({ "Tips: Failed to save the account!", "Tips: Failed to save the option!" }));
}

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
