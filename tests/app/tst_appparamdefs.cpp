#include "app/appparamframe.h"
#include "comm/comsettingsframe.h"
#include "data/commonutils.h"
#include "support/appparamdef.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"
#include "support/warninglog.h"
#include "widgets/customitemdelegate.h"

#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

// The application parameter definitions: their grammars, and the menus and tables built from them.
namespace {
// Task0/Tighten: three step cells and two list rows. Page keys are out of table order on purpose.
const QList<RecordItem> kFixture {
    paramDef("3120", "Step1/Turns", "1/Task0/Tighten", "table1/row 0/col 1", "0.00~50.00", "r", "Seek turns"),
    paramDef("3121", "Step1/Speed", "1/Task0/Tighten", " table1 / row 0 / col 2 ", "-3000~3000", "rpm"),
    paramDef("3122", "Step2/Turns", "1/Task0/Tighten", "table1/row1/col1", "0.00~50.00", "r"),
    paramDef("3130", "Target torque", "1/Task0/Tighten", "table2", "0.00~10.00", "N·m", "Stops here"),
    paramDef("3131", "Hold time", "1/Task0/Tighten", "table2", "0~2000", "ms"),
    paramDef("3140", "Speed limit", "3/Task0/Speed&&7/*/Limits", "table2", "0~3000", "rpm"),
    paramDef("3150", "Loosen torque", "2/Task1/Loosen", "table2", "0.00~12.00", "N·m"),
    paramDef("3160", "Max current", "7/*/Limits", "table2", "0.0~30.0", "A"),
};
} // namespace

class TestAppParamDefs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_db.isValid());
        CommonUtils::saveConfigVal(1, QStringLiteral("DeviceAddr"), QStringLiteral("1"));
        m_link = new DevsimLink;   // a communication page: the register cache
        m_warnings = new WarningLog;
    }
    void cleanupTestCase() { delete m_link; delete m_warnings; }
    void init() { answer(QStringLiteral("52917")); m_page = new AppParamFrame; load(kFixture); }
    void cleanup() { delete m_page; }
    // One definition beside two good ones: where it shows, its editor limits and value, and one
    // warning when the grammars read it only in part (it still shows as far as it can).
    void definitionShown_data()
    {
        QTest::addColumn<RecordItem>("odd");
        QTest::addColumn<int>("raw");           // cached at register 3125
        QTest::addColumn<QString>("placed");    // "list <value>", "cell <row>/<col> <value>" or "none"
        QTest::addColumn<QVariant>("config");
        QTest::addColumn<bool>("warned");
        auto row = [](const char *tag, const QString &address, const QString &name, const QString &group, const QString &table,
                      const QString &range, int raw, const char *placed, const QVariant &config, bool warned) {
            QTest::newRow(tag) << paramDef(address, name, group, table, range) << raw << QString(placed) << config << warned;
        };
        auto config = [](double min, double max, int decimals) { return CustomItemDelegate::lineEditConfig(min, max, decimals, true); };
        const QString g = QStringLiteral("1/Task0/Tighten");
        const QString t = QStringLiteral("table2");
        row("hexadecimal", "3125", "Odd", g, t, "0x0000~0xFFFF", 0xFFF6, "list 65526", config(0, 65535, 0), false);
        row("signed: below 0", "3125", "Odd", g, t, "-10.5~100.25", 0xFF9C, "list -1", config(-10.5, 100.25, 2), false);
        row("range without ~: no limits, 0 decimals", "3125", "Odd", g, t, "100", 1234, "list 1234", QVariant(), true);
        row("page key that does not convert is 0", "3125", "Odd", "x/Task0/Tighten", t, "0~9", 1234, "list 1234", config(0, 9, 0), true);
        row("row that does not convert is 0", "3125", "Step1/Speed", g, "table1/row x/col 2", "0~9", 1234, "cell 0/2 1234",
            config(0, 9, 0), true);
        row("address that does not convert: shown, never read", "zz", "Odd", g, t, "0~9", 1234, "list ", config(0, 9, 0), true);
        row("several odd things, one warning", "70000", "Odd", "x/Task0/Tighten", t, "100", 1234, "list ", QVariant(), true);
    }
    void definitionShown()
    {
        QFETCH(RecordItem, odd);
        QFETCH(int, raw);
        QFETCH(QString, placed);
        QFETCH(QVariant, config);
        QFETCH(bool, warned);
        ComSettingsFrame::setRegister(Uint8(1), 3125, Uint16(raw));
        load({ kFixture.at(0), odd, paramDef("3127", "Good", "1/Task0/Tighten", "table2", "0~9") });
        ComSettingsFrame::setRegister(Uint8(1), 3125, 0xABCD);
        const QString name = odd.value("name").toString();
        const QStandardItem *item = nullptr;
        QString got = QStringLiteral("none");
        for (int row = 0; row < m_page->listModel()->rowCount() && !item; ++row) {
            if (cellText(m_page->listModel(), row, 1) == name)
                got = "list " + (item = m_page->listModel()->item(row, 3))->text();
        }
        for (int col = 1; col < 3 && !item; ++col) {
            const QStandardItem *cell = m_page->stepModel()->item(0, col);
            if (cell && cell->data(AppParamFrame::AddressRole) == QStringLiteral("3125"))
                got = QStringLiteral("cell 0/%1 %2").arg(col).arg((item = cell)->text());
        }
        QCOMPARE(got, placed);
        QCOMPARE(item ? item->data(CustomItemDelegate::LineEditConfigRole) : config, config);
        QVERIFY(listNames().contains("Good") && cellText(m_page->stepModel(), 0, 0) == QLatin1String("Step1"));
        QCOMPARE(m_warnings->lines().size(), warned ? 1 : 0);
        QVERIFY(!warned || m_warnings->last().contains('"' + name + '"'));
        QVERIFY(m_prompts.isEmpty());
    }
    void menusAndTables()
    {
        // Ascending page keys: Task1 (key 2) before the Speed page (key 3), though read after it; "*" is no task.
        QCOMPARE(visible("appParamMenuBtn1") + visible("appParamMenuBtn2"),
                 QStringList({ "Task0", "Task1", "Tighten", "Loosen", "Speed", "Limits" }));
        const QStandardItemModel *steps = m_page->stepModel();   // (1, 2): no definition, no address, not editable
        QVERIFY(steps->item(1, 2)->data(AppParamFrame::AddressRole).isNull() && !steps->item(1, 2)->isEditable());
        // A step name that differs from the row's label is told in a box and placed nowhere.
        m_page->setTaskCell(0, 2, paramDef("3125", "Step9/Speed", "1/Task0/Tighten", "table1/row 0/col 2", "0~9"));
        QCOMPARE(m_prompts.texts() << steps->item(0, 2)->data(AppParamFrame::AddressRole).toString(),
                 QStringList({ "Tips: App param(Step9/Speed) group error!", "3121" }));
    }
    void protectedPage()
    {
        const auto *steps = m_page->findChild<QTableView *>(QStringLiteral("taskParamTableView"));
        QPushButton *speed = button("appParamMenuBtn23");
        QPushButton *limits = button("appParamMenuBtn24");
        limits->click();
        QCOMPARE(m_prompts.texts(), QStringList("登录密码: 请输入管理员密码！"));
        QVERIFY(m_prompts.last().echo == QLineEdit::Password && steps->isHidden());
        QCOMPARE(listNames(), QStringList({ "Speed limit", "Max current" }));
        // After an ordinary page it is asked again; a wrong answer says so and goes back, a cancel without a box.
        button("appParamMenuBtn11")->click();
        speed->click();
        QVERIFY(!steps->isHidden());
        answer(QStringLiteral("12345"));
        limits->click();
        QCOMPARE(m_prompts.texts().mid(1), QStringList({ "登录密码: 请输入管理员密码！", "提示: 密码错误！" }));
        QVERIFY(speed->isChecked() && listNames() == QStringList({ "Speed limit" }));
        answer(QString());
        limits->click();
        QCOMPARE(m_prompts.size(), 4);
        QVERIFY(speed->isChecked());
        // The first page is protected and refused: the way back leads to itself and must end.
        answer(QStringLiteral("0"));
        delete m_page;
        m_page = new AppParamFrame;
        load({ paramDef("3160", "Max current", "1/*/Limits", "table2", "0~9"), paramDef("3140", "Speed", "2/Task0/Speed", "table2", "0~9") });
        QVERIFY(m_prompts.size() == 2 && listNames().isEmpty());
    }

private:
    QPushButton *button(const QString &name) const { return m_page->findChild<QPushButton *>(name); }
    void answer(const QString &password) { m_prompts.reply.text = password; m_prompts.reply.ok = !password.isNull(); }
    void load(const QList<RecordItem> &defs)
    {
        m_page->setDefinitionsForTest(defs);
        m_warnings->clear();
        m_prompts.clear();
        m_page->onDeviceChanged(SdriverDevice);
    }
    QStringList visible(const QString &prefix) const
    {
        QStringList texts;
        for (int i = 1; i <= 12; ++i) {
            if (!button(prefix + QString::number(i))->isHidden())
                texts << button(prefix + QString::number(i))->text();
        }
        return texts;
    }
    // The list rows a definition filled; the rest are filler.
    QStringList listNames() const
    {
        QStringList names;
        for (int row = 0; row < m_page->listModel()->rowCount(); ++row) {
            if (!cellText(m_page->listModel(), row, 0).isEmpty())
                names << cellText(m_page->listModel(), row, 1);
        }
        return names;
    }

    TestDatabase m_db;
    DevsimLink *m_link = nullptr;
    AppParamFrame *m_page = nullptr;
    PromptRecorder m_prompts;
    WarningLog *m_warnings = nullptr;   // after the test library's own handler
};

QTEST_MAIN(TestAppParamDefs)
#include "tst_appparamdefs.moc"
