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
#include <QTableView>
#include <QtTest>

// The application parameter definitions: their grammars, and the menus and tables built from them.
namespace {
// Task0/Tighten: three step cells. Page keys are out of table order on purpose.
const QList<RecordItem> kFixture {
    paramDef("3120", "Step1/Turns", "1/Task0/Tighten", "table1/row 0/col 1", "0.00~50.00", "r", "Seek turns"),
    paramDef("3121", "Step1/Speed", "1/Task0/Tighten", " table1 / row 0 / col 2 ", "-3000~3000", "rpm"),
    paramDef("3122", "Step2/Turns", "1/Task0/Tighten", "table1/row1/col1", "0.00~50.00", "r"),
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
    // One definition beside two good ones: its value and editor limits on the list, and one warning when
    // the grammars read it only in part (it still shows as far as it can).
    void definitionShown_data()
    {
        QTest::addColumn<RecordItem>("odd");
        QTest::addColumn<int>("raw");   // cached at register 3125
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QVariant>("config");
        QTest::addColumn<bool>("warned");
        const auto odd = [](const char *address, const char *range, const char *group = "1/Task0/Tighten") {
            return paramDef(address, "Odd", group, "table2", range);
        };
        const auto config = [](double min, double max, int decimals) { return CustomItemDelegate::lineEditConfig(min, max, decimals, true); };
        QTest::newRow("hexadecimal") << odd("3125", "0x0000~0xFFFF") << 0xFFF6 << "65526" << config(0, 65535, 0) << false;
        QTest::newRow("signed: below 0") << odd("3125", "-10.5~100.25") << 0xFF9C << "-1" << config(-10.5, 100.25, 2) << false;
        QTest::newRow("range without ~: no limits, 0 decimals") << odd("3125", "100") << 1234 << "1234" << QVariant() << true;
        QTest::newRow("address that does not convert: shown, never read") << odd("zz", "0~9") << 1234 << "" << config(0, 9, 0) << true;
        QTest::newRow("several odd things, one warning") << odd("70000", "100", "x/Task0/Tighten") << 1234 << "" << QVariant() << true;
    }
    void definitionShown()
    {
        QFETCH(RecordItem, odd);
        QFETCH(int, raw);
        QFETCH(QString, shown);
        QFETCH(QVariant, config);
        QFETCH(bool, warned);
        ComSettingsFrame::setRegister(Uint8(1), 3125, Uint16(raw));
        load({ kFixture.at(0), odd, paramDef("3127", "Good", "1/Task0/Tighten", "table2", "0~9") });
        ComSettingsFrame::setRegister(Uint8(1), 3125, 0xABCD);
        const QList<QStandardItem *> found = m_page->listModel()->findItems(QStringLiteral("Odd"), Qt::MatchExactly, 1);
        QVERIFY(found.size() == 1 && listNames().contains("Good") && cellText(m_page->stepModel(), 0, 0) == QLatin1String("Step1"));
        const QStandardItem *value = m_page->listModel()->item(found[0]->row(), 3);
        QCOMPARE(value->text(), shown);
        QCOMPARE(value->data(CustomItemDelegate::LineEditConfigRole), config);
        QCOMPARE(m_warnings->lines().size(), warned ? 1 : 0);
        QVERIFY(!warned || m_warnings->last().contains(QStringLiteral("\"Odd\"")));
        QVERIFY(m_prompts.isEmpty());
    }
    void menusAndTables()
    {
        const QStandardItemModel *steps = m_page->stepModel();   // (1, 2): no definition, no address, not editable
        QVERIFY(steps->item(1, 2)->data(AppParamFrame::AddressRole).isNull() && !steps->item(1, 2)->isEditable());
        // A step name that differs from the row's label is told in a box and placed nowhere.
        m_page->setTaskCell(0, 2, paramDef("3125", "Step9/Speed", "1/Task0/Tighten", "table1/row 0/col 2", "0~9"));
        QCOMPARE(m_prompts.texts() << steps->item(0, 2)->data(AppParamFrame::AddressRole).toString(),
                 QStringList({ "Tips: App param(Step9/Speed) group error!", "3121" }));
    }
    // Page buttons in ascending key order: Task1/Loosen (key 2) before Speed (key 3), though read after it.
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
        QVERIFY(m_prompts.size() == 4 && speed->isChecked());
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
