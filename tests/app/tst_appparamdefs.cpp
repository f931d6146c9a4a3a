#include "app/appparamframe.h"
#include "app/paramunit.h"
#include "comm/comsettingsframe.h"
#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "support/appparamdef.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"
#include "support/warninglog.h"
#include "widgets/customitemdelegate.h"

#include <QPushButton>
#include <QSet>
#include <QStandardItemModel>
#include <QTableView>
#include <QtTest>

// The application parameter definitions: their grammars, and the menus and tables built from a
// fixture list and from the definitions the program ships.
namespace {

// Task0/Tighten: three step cells and five list rows. Page keys are out of table order on purpose.
const QList<RecordItem> kFixture {
    paramDef("3120", "Step1/Turns", "1/Task0/Tighten", "table1/row 0/col 1", "0.00~50.00", "r", "Seek turns"),
    paramDef("3121", "Step1/Speed", "1/Task0/Tighten", " table1 / row 0 / col 2 ", "-3000~3000", "rpm"),
    paramDef("3122", "Step2/Turns", "1/Task0/Tighten", "table1/row1/col1", "0.00~50.00", "r"),
    paramDef("3130", "Target torque", "1/Task0/Tighten", "table2", "0.00~10.00", "N·m", "Stops here"),
    paramDef("3131", "Hold time", "1/Task0/Tighten", "table2", "0~2000", "ms"),
    paramDef("0x0C3C", "Angle", "1/Task0/Tighten", "table2", "-90.0~360.0", "°"),
    paramDef("3133", "Mask", "1/Task0/Tighten", "table2", "0x0000~0x00FF"),
    paramDef("3134", "Note", "1/Task0/Tighten", "table2", ""),
    paramDef("3140", "Speed limit", "3/Task0/Speed&&7/*/Limits", "table2", "0~3000", "rpm"),
    paramDef("3150", "Loosen torque", "2/Task1/Loosen", "table2", "0.00~12.00", "N·m"),
    paramDef("3160", "Max current", "7/*/Limits", "table2", "0.0~30.0", "A"),
};
} // namespace

class TestAppParamDefs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { delete m_link; delete m_warnings; }
    void init();
    void cleanup() { delete m_page; }
    void groupGrammar_data();
    void groupGrammar();
    void tableInfoGrammar_data();
    void tableInfoGrammar();
    void valueTextNames();
    void definitionShown_data();
    void definitionShown();
    void menus();
    void pageTables();
    void cachedValuesAndUnits();
    void protectedPage();
    void shippedDefinitions();

private:
    QStringList visible(const QString &prefix, int count) const;
    QPushButton *button(const QString &name) const { return m_page->findChild<QPushButton *>(name); }
    QStringList listNames() const;
    void load(const QList<RecordItem> &defs);

    void answer(const QString &password)
    {
        m_prompts.reply.text = password;
        m_prompts.reply.ok = !password.isNull();
    }

    TestDatabase m_db;
    DevsimLink *m_link = nullptr;
    AppParamFrame *m_page = nullptr;
    PromptRecorder m_prompts;
    WarningLog *m_warnings = nullptr;   // after the test library's own handler
};

void TestAppParamDefs::initTestCase()
{
    QVERIFY(m_db.isValid());
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceAddr"), QStringLiteral("1"));
    m_link = new DevsimLink;   // a communication page: the register cache
    m_warnings = new WarningLog;
}

void TestAppParamDefs::init()
{
    answer(QStringLiteral("52917"));
    m_page = new AppParamFrame;
    load(kFixture);
}

void TestAppParamDefs::load(const QList<RecordItem> &defs)
{
    m_page->setDefinitionsForTest(defs);
    m_warnings->clear();
    m_prompts.clear();
    m_page->onDeviceChanged(SdriverDevice);
}

QStringList TestAppParamDefs::visible(const QString &prefix, int count) const
{
    QStringList texts;
    for (int i = 1; i <= count; ++i) {
        if (!button(prefix + QString::number(i))->isHidden())
            texts << button(prefix + QString::number(i))->text();
    }
    return texts;
}

// The list rows a definition filled; the rest are filler.
QStringList TestAppParamDefs::listNames() const
{
    QStringList names;
    for (int row = 0; row < m_page->listModel()->rowCount(); ++row) {
        if (!cellText(m_page->listModel(), row, 0).isEmpty())
            names << cellText(m_page->listModel(), row, 1);
    }
    return names;
}

void TestAppParamDefs::groupGrammar_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<QString>("entries");   // "key:path" joined by ","
    QTest::addColumn<int>("errors");

    QTest::newRow("two entries") << "3/Task0/Speed&&7/*/Limits" << "3:Task0/Speed,7:*/Limits" << 0;
    QTest::newRow("three names kept whole") << "4/a/b/c" << "4:a/b/c" << 0;
    QTest::newRow("spaces around the key") << " 12 /Main" << "12:Main" << 0;
    QTest::newRow("empty: on no page") << "" << "" << 0;
    QTest::newRow("key not a number: 0") << "x/Task0/Speed" << "0:Task0/Speed" << 1;
    QTest::newRow("no path") << "9" << "" << 1;
    QTest::newRow("empty last name kept") << "3/Task0/" << "3:Task0/" << 0;
    QTest::newRow("bad entry beside a good one") << "Task0&&2/Task0/Loosen" << "2:Task0/Loosen" << 1;
}

void TestAppParamDefs::groupGrammar()
{
    QFETCH(QString, group);
    QFETCH(QString, entries);
    QFETCH(int, errors);
    QStringList errorTexts;
    QStringList got;
    for (const AppParamFrame::PageEntry &e : AppParamFrame::parseGroup(group, &errorTexts))
        got << QStringLiteral("%1:%2").arg(e.key).arg(e.path);
    QCOMPARE(got.join(QLatin1Char(',')), entries);
    QCOMPARE(errorTexts.size(), errors);
}

void TestAppParamDefs::tableInfoGrammar_data()
{
    QTest::addColumn<QString>("tableInfo");
    QTest::addColumn<QString>("placed");    // "list", "cell row/col" or "none", then the number of odd things

    QTest::newRow("list row") << " table2 " << "list 0";
    QTest::newRow("spaces everywhere") << " table1 / row 0 / col 2 " << "cell 0/2 0";
    QTest::newRow("no spaces") << "table1/row12/col2" << "cell 12/2 0";
    QTest::newRow("empty") << "" << "none 0";
    QTest::newRow("negative row") << "table1/row -1/col 1" << "cell -1/1 1";
    QTest::newRow("row missing") << "table1/row 0" << "none 1";
    QTest::newRow("row not a number: 0") << "table1/row x/col 1" << "cell 0/1 1";
    QTest::newRow("column 0") << "table1/row 0/col 0" << "cell 0/0 1";
    QTest::newRow("column past the table") << "table1/row 0/col 3" << "cell 0/3 1";
    QTest::newRow("unknown table") << "table3" << "none 1";
}

void TestAppParamDefs::tableInfoGrammar()
{
    QFETCH(QString, tableInfo);
    QFETCH(QString, placed);
    QStringList errors;
    const AppParamFrame::Placement p = AppParamFrame::parseTableInfo(tableInfo, &errors);
    const QString got = p.kind == AppParamFrame::Placement::ListRow ? QStringLiteral("list")
        : p.kind == AppParamFrame::Placement::StepCell             ? QStringLiteral("cell %1/%2").arg(p.row).arg(p.col)
                                                                    : QStringLiteral("none");
    QCOMPARE(got + " " + QString::number(errors.size()), placed);
    QVERIFY(p.row >= 0 || errors.join(' ').contains(QLatin1String("negative row")));
}

void TestAppParamDefs::valueTextNames()
{
    QCOMPARE(formatValueText(0xFFFF, 16, 1, 0), QStringLiteral("-0.1"));
    QCOMPARE(formatValueText(0xFFFF, 16, 1, 2), QStringLiteral("16#ffff"));
    uint value = 0;
    QCOMPARE(parseValueText(QStringLiteral("+1.25"), value, 2), 0);
    QCOMPARE(value, 125u);
    QCOMPARE(parseValueText(QStringLiteral("16#zz"), value, 0), 2);
    QCOMPARE(value, 0xABCDu);
}

// One definition beside two good ones: where it shows, its editor limits and value, and one
// warning when the grammars read it only in part (it still shows as far as it can).
void TestAppParamDefs::definitionShown_data()
{
    QTest::addColumn<RecordItem>("odd");
    QTest::addColumn<int>("raw");           // cached at register 3125
    QTest::addColumn<QString>("placed");    // "list <value>", "cell <row>/<col> <value>" or "none"
    QTest::addColumn<QVariant>("config");
    QTest::addColumn<bool>("warned");

    auto config = [](double min, double max, int decimals) {
        return CustomItemDelegate::lineEditConfig(min, max, decimals, true);
    };
    auto row = [](const char *tag, const RecordItem &d, int raw, const char *placed, const QVariant &c, bool warned) {
        QTest::newRow(tag) << d << raw << QString::fromUtf8(placed) << c << warned;
    };
    auto listed = [](const QString &range, const QString &group = QStringLiteral("1/Task0/Tighten")) {
        return paramDef("3125", "Odd", group, "table2", range);
    };
    auto cell = [](const QString &name, const QString &tableInfo) {
        return paramDef("3125", name, "1/Task0/Tighten", tableInfo, "0~9999");
    };
    row("hexadecimal", listed("0x0000~0xFFFF"), 0xFFF6, "list 65526", config(0, 65535, 0), false);
    row("signed: below 0", listed("-10.5~100.25"), 0xFF9C, "list -1", config(-10.5, 100.25, 2), false);
    row("shortest form", listed("0.000~10.000"), 1500, "list 1.5", config(0, 10, 3), false);
    row("2 decimals", listed(" 0 ~ 99.99"), 1234, "list 12.34", config(0, 99.99, 2), false);
    row("empty range", listed(""), 1234, "list 1234", QVariant(), false);
    row("empty range: no limits", listed(""), 65535, "list 65535", QVariant(), false);
    row("range without ~: no limits, 0 decimals", listed("100"), 1234, "list 1234", QVariant(), true);
    row("range of three parts", listed("1~2~3"), 1234, "list 1234", QVariant(), true);
    row("limits that do not convert: 0~65535", listed("a~b.5"), 1234, "list 123.4", config(0, 65535, 1), true);
    row("bad hexadecimal", listed("0x10~0xZZ"), 1234, "list 1234", config(0, 65535, 0), true);
    row("page key that does not convert is 0", listed("0~9999", "x/Task0/Tighten"), 1234, "list 1234",
        config(0, 9999, 0), true);
    row("entry without a path beside a good one", listed("0~9999", "Task0&&1/Task0/Tighten"), 1234, "list 1234",
        config(0, 9999, 0), true);
    row("group of a key only", listed("0~9", "9"), 1234, "none", QVariant(), true);
    row("row that does not convert is 0", cell("Step1/Speed", "table1/row x/col 2"), 1234, "cell 0/2 1234",
        config(0, 9999, 0), true);
    row("column 0: nowhere", cell("Step1/Speed", "table1/row 0/col x"), 1234, "none", QVariant(), true);
    row("negative row", cell("Step0/Turns", "table1/row -1/col 1"), 1234, "none", QVariant(), true);
    row("step row past the next new one", cell("Step5/Turns", "table1/row 4/col 1"), 1234, "none", QVariant(), true);
    row("step cell without a column", cell("Step1/Speed", "table1/row 0"), 1234, "none", QVariant(), true);
    row("step cell not named step/column", cell("Speed", "table1/row 0/col 2"), 1234, "none", QVariant(), true);
    row("unknown table", paramDef("3125", "Odd", "1/Task0/Tighten", "table3", "0~9"), 1234, "none", QVariant(), true);
    row("empty tableInfo: on no table", paramDef("3125", "Odd", "1/Task0/Tighten", "", "0~9"), 1234, "none",
        QVariant(), false);
    row("address that does not convert: shown, never read", paramDef("zz", "Odd", "1/Task0/Tighten", "table2", "0~9"),
        1234, "list ", config(0, 9, 0), true);
    row("several odd things, one warning", paramDef("70000", "Odd", "x/Task0/Tighten", "table2", "100"), 1234, "list ",
        QVariant(), true);
}

void TestAppParamDefs::definitionShown()
{
    QFETCH(RecordItem, odd);
    QFETCH(int, raw);
    QFETCH(QString, placed);
    QFETCH(QVariant, config);
    QFETCH(bool, warned);
    ComSettingsFrame::setRegister(Uint8(1), 3125, Uint16(raw));
    load({ paramDef("3120", "Step1/Turns", "1/Task0/Tighten", "table1/row 0/col 1", "0~9"), odd,
           paramDef("3127", "Good", "1/Task0/Tighten", "table2", "0~9") });
    ComSettingsFrame::setRegister(Uint8(1), 3125, 0xABCD);

    const QString name = odd.value("name").toString();
    const QStandardItem *item = nullptr;
    QString got = QStringLiteral("none");
    for (int row = 0; row < m_page->listModel()->rowCount() && !item; ++row) {
        if (cellText(m_page->listModel(), row, 1) == name) {
            item = m_page->listModel()->item(row, 3);
            got = "list " + item->text();
        }
    }
    for (int col = 1; col < 3 && !item; ++col) {
        const QStandardItem *cell = m_page->stepModel()->item(0, col);
        if (cell && cell->data(AppParamFrame::AddressRole) == QStringLiteral("3125")) {
            item = cell;
            got = QStringLiteral("cell 0/%1 %2").arg(col).arg(cell->text());
        }
    }
    QCOMPARE(got, placed);
    if (item)
        QCOMPARE(item->data(CustomItemDelegate::LineEditConfigRole), config);
    QCOMPARE(listNames().count(name), placed.startsWith("list") ? 1 : 0);
    QVERIFY(listNames().contains("Good") && cellText(m_page->stepModel(), 0, 0) == QLatin1String("Step1"));
    QCOMPARE(m_warnings->lines().size(), warned ? 1 : 0);
    QVERIFY(!warned || m_warnings->last().contains('"' + name + '"'));
    QVERIFY(m_prompts.isEmpty());
}

void TestAppParamDefs::menus()
{
    // Ascending page keys: Task1 (key 2) comes before the Speed page (key 3), though read after it;
    // "*" is no task.
    QCOMPARE(visible("appParamMenuBtn1", 12), QStringList({ "Task0", "Task1" }));
    QCOMPARE(visible("appParamMenuBtn2", 12), QStringList({ "Tighten", "Loosen", "Speed", "Limits" }));
    QCOMPARE(visible("appParamMenuBtn", 8), QStringList());
    QCOMPARE(m_page->taskCount(), 2);
    QCOMPARE(m_page->pageMap().keys(), QList<int>({ 1, 2, 3, 7 }));
    QVERIFY(m_warnings->lines().isEmpty() && m_prompts.isEmpty());

    // More names than buttons: the rest get none. The last buttons lie outside the exclusive
    // groups but still select one task and one page.
    QList<RecordItem> defs;
    for (int i = 0; i < 14; ++i)
        defs << paramDef(QString::number(3120 + i), QStringLiteral("Value%1").arg(i), QStringLiteral("%1/T%1/P%1").arg(i),
                    "table2", "0~9");
    load(defs);
    QCOMPARE(m_page->taskCount(), 14);
    QCOMPARE(visible("appParamMenuBtn1", 12).last(), QStringLiteral("T11"));
    QCOMPARE(visible("appParamMenuBtn2", 12).size(), 12);
    button("appParamMenuBtn112")->click();
    button("appParamMenuBtn212")->click();
    button("appParamMenuBtn212")->click();   // a second click keeps it selected
    QCOMPARE(listNames(), QStringList({ "Value11" }));
    QVERIFY(!button("appParamMenuBtn11")->isChecked() && !button("appParamMenuBtn21")->isChecked());
    button("appParamMenuBtn21")->click();
    QVERIFY(!button("appParamMenuBtn212")->isChecked());

    load({});
    QCOMPARE(visible("appParamMenuBtn1", 12) + visible("appParamMenuBtn2", 12), QStringList());
}

void TestAppParamDefs::pageTables()
{
    const QStandardItemModel *steps = m_page->stepModel();
    const QStandardItemModel *list = m_page->listModel();
    QCOMPARE(steps->headerData(1, Qt::Horizontal).toString(), QStringLiteral("圈数(r)"));
    QCOMPARE(steps->rowCount(), 2);
    QCOMPARE(cellText(steps, 1, 0), QStringLiteral("Step2"));
    QCOMPARE(steps->item(0, 0)->foreground().color(), QColor(70, 98, 217));
    const QStandardItem *cell = steps->item(0, 2);
    QCOMPARE(cell->data(AppParamFrame::AddressRole).toString(), QStringLiteral("3121"));
    QCOMPARE(cell->data(AppParamFrame::ModifiedRole), QVariant(false));
    QCOMPARE(cell->data(CustomItemDelegate::LineEditConfigRole), m_page->rangeEditorConfig("-3000~3000"));
    QCOMPARE(steps->item(0, 1)->toolTip(), QStringLiteral("Seek turns"));
    // A cell no definition placed carries no address and is not editable.
    QVERIFY(steps->item(1, 2)->data(AppParamFrame::AddressRole).isNull() && !steps->item(1, 2)->isEditable());

    QCOMPARE(listNames(), QStringList({ "Target torque", "Hold time", "Angle", "Mask", "Note" }));
    QCOMPARE(list->rowCount(), 30);
    const QStringList note { "3134", "Note", "有符号", "", "", "无", "无" };
    for (int col = 0; col < 7; ++col) {
        QCOMPARE(cellText(list, 4, col), note.at(col));
        QCOMPARE(list->item(4, col)->isEditable(), col == 4);
        QCOMPARE(list->item(4, col)->toolTip(), QStringLiteral("Note"));   // no description: the name
    }
    QCOMPARE(list->item(0, 1)->toolTip(), QStringLiteral("Stops here"));
    QCOMPARE(list->item(0, 1)->foreground().color(), QColor(0, 128, 0));

    // A definition on two pages shows on both; a page without keys leaves the tables alone.
    button("appParamMenuBtn23")->click();
    QCOMPARE(listNames(), QStringList({ "Speed limit" }));
    QCOMPARE(steps->rowCount(), 0);
    button("appParamMenuBtn12")->click();   // Task1/Speed does not exist
    QCOMPARE(listNames(), QStringList({ "Speed limit" }));

    // Row helpers: replace a row, ignore rows past the end, no rows for a count below 1.
    m_page->setParamRow(0, kFixture.at(4));
    m_page->setParamRow(31, kFixture.at(4));
    m_page->appendEmptyRows(AppParamFrame::ParamList, 0, 0);
    QCOMPARE(listNames(), QStringList({ "Hold time" }));
    QCOMPARE(list->rowCount(), 30);

    // The user's edit marks a step cell; a build does not.
    button("appParamMenuBtn11")->click();
    button("appParamMenuBtn21")->click();
    steps->item(0, 1)->setText(QStringLiteral("7.5"));
    QCOMPARE(steps->item(0, 1)->data(AppParamFrame::ModifiedRole), QVariant(true));
    QCOMPARE(steps->item(0, 1)->foreground().color(), QColor(Qt::red));
    QVERIFY(m_warnings->lines().isEmpty() && m_prompts.isEmpty());

    // A step name that differs from the row's label is told in a box and placed nowhere.
    m_page->setTaskCell(0, 2, paramDef("3125", "Step9/Speed", "1/Task0/Tighten", "table1/row 0/col 2", "0~9"));
    QCOMPARE(m_prompts.texts(), QStringList("Tips: App param(Step9/Speed) group error!"));
    QCOMPARE(m_prompts.last().kind, Prompt::Warning);
    QCOMPARE(steps->item(0, 2)->data(AppParamFrame::AddressRole).toString(), QStringLiteral("3121"));
}

void TestAppParamDefs::cachedValuesAndUnits()
{
    const QList<QPair<Uint16, Uint16>> cache { { 3120, 1234 }, { 3121, 0xFFF6 }, { 3130, 1500 }, { 0x0C3C, 0xFC18 } };
    for (const auto &c : cache)
        ComSettingsFrame::setRegister(Uint8(1), c.first, c.second);
    load(kFixture);

    const QStandardItemModel *steps = m_page->stepModel();
    const QStandardItemModel *list = m_page->listModel();
    QCOMPARE(cellText(steps, 0, 1), QStringLiteral("12.34"));
    QCOMPARE(cellText(steps, 0, 2), QStringLiteral("-10"));        // signed: its range reaches below 0
    QCOMPARE(cellText(steps, 1, 1), QString());                   // nothing cached
    QCOMPARE(cellText(list, 2, 3), QStringLiteral("-100"));
    QCOMPARE(ComSettingsFrame::getRegister(Uint8(1), 3121), Uint16(0xFFF6));
    QCOMPARE(cellText(list, 0, 3) + " " + cellText(list, 0, 5) + " " + cellText(list, 0, 6), QStringLiteral("1.5 N·m 0.000~10.000"));

    // The device switched to mN·m: the next build shows its unit and converts the limits.
    m_page->onRealTimeAddrRead(3083, 1);
    load(kFixture);
    QCOMPARE(cellText(list, 0, 3) + " " + cellText(list, 0, 5) + " " + cellText(list, 0, 6), QStringLiteral("1500 mN·m 0~10000"));
    QCOMPARE(list->item(0, 4)->data(CustomItemDelegate::LineEditConfigRole), m_page->rangeEditorConfig("0~10000"));

    for (const auto &c : cache)
        ComSettingsFrame::setRegister(Uint8(1), c.first, 0xABCD);
}

void TestAppParamDefs::protectedPage()
{
    const auto *steps = m_page->findChild<QTableView *>(QStringLiteral("taskParamTableView"));
    QPushButton *speed = button("appParamMenuBtn23");
    QPushButton *limits = button("appParamMenuBtn24");
    limits->click();
    QCOMPARE(m_prompts.size(), 1);
    QCOMPARE(m_prompts.last().kind, Prompt::GetText);
    QCOMPARE(m_prompts.texts(), QStringList("登录密码: 请输入管理员密码！"));
    QCOMPARE(m_prompts.last().echo, QLineEdit::Password);
    QCOMPARE(listNames(), QStringList({ "Speed limit", "Max current" }));
    QVERIFY(steps->isHidden());
    button("appParamMenuBtn12")->click();   // another task: the shared page stays, no question
    QCOMPARE(m_prompts.size(), 1);

    // After an ordinary page it is asked again; a wrong answer says so and goes back.
    button("appParamMenuBtn11")->click();
    speed->click();
    QVERIFY(!steps->isHidden());
    answer(QStringLiteral("12345"));
    limits->click();
    QCOMPARE(m_prompts.size(), 3);
    QCOMPARE(m_prompts.last().kind, Prompt::Critical);
    QCOMPARE(m_prompts.texts().mid(1), QStringList({ "登录密码: 请输入管理员密码！", "提示: 密码错误！" }));
    QVERIFY(speed->isChecked());
    QCOMPARE(listNames(), QStringList({ "Speed limit" }));
    answer(QString());                      // cancelled: back, without a box
    limits->click();
    QCOMPARE(m_prompts.size(), 4);
    QVERIFY(speed->isChecked());

    // The first page is protected and refused: the way back leads to itself and must end.
    answer(QStringLiteral("0"));
    delete m_page;
    m_page = new AppParamFrame;
    load({ paramDef("3160", "Max current", "1/*/Limits", "table2", "0~9"), paramDef("3140", "Speed", "2/Task0/Speed", "table2", "0~9") });
    QCOMPARE(m_prompts.size(), 2);
    QCOMPARE(listNames(), QStringList());
}

void TestAppParamDefs::shippedDefinitions()
{
    DatabaseManager *db = DatabaseManager::instance();
    db->onDeviceChanged(SdriverDevice);
    QVERIFY(db->appParams().size() > 50);
    m_page->setDefinitionsForTest(std::nullopt);
    m_warnings->clear();
    m_page->onDeviceChanged(SdriverDevice);
    QCOMPARE(visible("appParamMenuBtn1", 12), QStringList({ "Task0", "Task1", "Task2", "Task3" }));
    QCOMPARE(visible("appParamMenuBtn2", 12), QStringList({ "Tighten", "Loosen", "Settings", "Limits" }));

    // Every page of every task builds without a warning or a box, and every definition shows.
    QSet<QString> placed;
    for (int task = 1; task <= 4; ++task) {
        button(QStringLiteral("appParamMenuBtn1%1").arg(task))->click();
        for (int page = 1; page <= 4; ++page) {
            button(QStringLiteral("appParamMenuBtn2%1").arg(page))->click();
            QVERIFY(!listNames().isEmpty());
            for (int row = 0; row < m_page->listModel()->rowCount(); ++row)
                placed << cellText(m_page->listModel(), row, 0);
            for (int row = 0; row < m_page->stepModel()->rowCount(); ++row) {
                for (int col = 1; col < 3; ++col)
                    placed << m_page->stepModel()->item(row, col)->data(AppParamFrame::AddressRole).toString();
            }
        }
    }
    QVERIFY2(m_warnings->lines().isEmpty(), qPrintable(m_warnings->lines().join(QLatin1Char('\n'))));
    for (const Prompt::Request &r : qAsConst(m_prompts.requests))
        QVERIFY2(r.kind == Prompt::GetText, qPrintable(r.text));

    // Each at its own register of the application block, clear of the status and command
    // registers, and one the device answers.
    QVERIFY(m_link->start({ "--type", "0" }, 1, DevsimLink::NoCheck));
    QSet<quint32> registers;
    for (const RecordItem &d : db->appParams()) {
        const QString address = d.value("address").toString();
        const Uint16 reg = Uint16(ComSettingsFrame::textToValue(address, 0));
        QVERIFY2(placed.contains(address) && reg >= 3086 && reg < 3337 && !registers.contains(reg), qPrintable(address));
        registers << reg;
        ComSettingsFrame::setRegisterStatus(reg, 1);
        QVERIFY(QTest::qWaitFor([reg] { return ComSettingsFrame::readRegisters(reg, 1) != 0; }, 3000));
        QVERIFY2(DevsimLink::waitReceived(1, reg), qPrintable(address));
    }
    // What the device reported is what the page shows.
    button("appParamMenuBtn11")->click();
    button("appParamMenuBtn21")->click();
    const Uint16 first = ComSettingsFrame::getRegister(3128);   // Task0's target torque, 3 decimals in N·m
    QCOMPARE(cellText(m_page->listModel(), 0, 3), QString::number(first / 1000.0, 'g', 6));
    m_link->frame()->disconnectDevice();
    db->onDeviceChanged(NoDevice);
}

QTEST_MAIN(TestAppParamDefs)
#include "tst_appparamdefs.moc"
