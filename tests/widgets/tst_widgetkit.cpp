#include "widgets/cmenubutton.h"
#include "widgets/ctprogressbutton.h"
#include "widgets/rawtext.h"
#include "widgets/vxaction.h"
#include "widgets/vxcheckbox.h"
#include "widgets/vxcombobox.h"
#include "widgets/vxgroupbox.h"
#include "widgets/vxlabel.h"
#include "widgets/vxlineedit.h"
#include "widgets/vxpushbutton.h"
#include "widgets/vxradiobutton.h"
#include "widgets/vxstandarditemmodel.h"
#include "widgets/vxtoolbutton.h"

#include <QMenu>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

namespace {
// Stands in for the Chinese translation: everything in context "TestCtx" gets a "ZH:" prefix.
class TestTranslator : public QTranslator
{
public:
    QString translate(const char *context, const char *sourceText, const char * = nullptr, int = -1) const override
    {
        return QByteArray(context) == "TestCtx" ? QStringLiteral("ZH:") + QString::fromUtf8(sourceText) : QString();
    }
    bool isEmpty() const override { return false; }
};

QString raw(const char *source)
{
    return RawText::make("TestCtx", QString::fromUtf8(source));
}

class PressCountingWidget : public QWidget
{
public:
    int presses = 0;

protected:
    void mousePressEvent(QMouseEvent *) override { ++presses; }
};
} // namespace

class TestWidgetKit : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void translateText_data();
    void translateText();
    void widgetsFollowLanguage();
    void comboRetranslatesInPlace();
    void modelTranslatesRows();
    void menuOpensAtPosition_data();
    void menuOpensAtPosition();
    void progressButtonSwallowsPress();

private:
    // Installing or removing a translator posts LanguageChange to the windows; deliver it now.
    void setChinese(bool on);

    TestTranslator m_translator;
};

void TestWidgetKit::setChinese(bool on)
{
    if (on)
        QCoreApplication::installTranslator(&m_translator);
    else
        QCoreApplication::removeTranslator(&m_translator);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
}

void TestWidgetKit::cleanup()
{
    setChinese(false);
}

void TestWidgetKit::translateText_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("isRaw");

    QTest::newRow("plain text unchanged") << "Speed 100 rpm" << "Speed 100 rpm" << false;
    QTest::newRow("utf-8 source") << QString::fromUtf8("@#@TestCtx#@#速度") << QString::fromUtf8("ZH:速度") << true;
    QTest::newRow("two pieces") << "@#@TestCtx#@#Servo@#@TestCtx#@#Alarm" << "ZH:ServoZH:Alarm" << true;
    QTest::newRow("trailing separator") << "@#@TestCtx#@#Open@#@" << "ZH:Open" << true;
    QTest::newRow("raw and plain pieces") << "@#@TestCtx#@#Axis@#@ 2" << "ZH:Axis 2" << true;
    QTest::newRow("unknown context keeps source") << "@#@OtherCtx#@#Open" << "Open" << true;
    QTest::newRow("three parts stays") << "@#@TestCtx#@#a#@#b" << "TestCtx#@#a#@#b" << false;
    QTest::newRow("malformed beside good") << "@#@TestCtx#@#a#@#b@#@TestCtx#@#Ok" << "TestCtx#@#a#@#bZH:Ok" << true;
}

void TestWidgetKit::translateText()
{
    QFETCH(QString, raw);
    QFETCH(QString, shown);
    QFETCH(bool, isRaw);

    setChinese(true);
    QCOMPARE(RawText::translateText(raw), shown);
    QCOMPARE(RawText::isRaw(raw), isRaw);
}

void TestWidgetKit::widgetsFollowLanguage()
{
    QWidget window;
    auto *label = new VxLabel(&window);
    auto *push = new VxPushButton(&window);
    auto *tool = new VxToolButton(&window);
    auto *check = new VxCheckBox(&window);
    auto *radio = new VxRadioButton(&window);
    auto *group = new VxGroupBox(&window);
    auto *action = new VxAction(raw("Action"), &window);
    auto *edit = new VxLineEdit(raw("Edit"), &window);
    auto *plain = new VxLineEdit(QStringLiteral("Speed"), &window);
    label->setText(raw("Label"));
    push->setText(raw("Push"));
    push->setToolTip(raw("Tip"));
    tool->setText(raw("Tool"));
    check->setText(raw("Check"));
    radio->setText(raw("Radio"));
    group->setTitle(raw("Group"));
    QSignalSpy editChanged(edit, &QLineEdit::textChanged);

    const auto shown = [&] {
        return QStringList{label->text(), push->text(), push->toolTip(), tool->text(), check->text(),
                           radio->text(), group->title(), action->text(), edit->text()};
    };
    const QStringList english{"Label", "Push", "Tip", "Tool", "Check", "Radio", "Group", "Action", "Edit"};
    const QStringList chinese = QStringList(english).replaceInStrings(QRegularExpression("^"), "ZH:");

    QCOMPARE(shown(), english);
    // The base setters show a value or the user's typing without touching the kept raw text, and the
    // typing over a plain text survives a language change.
    label->QLabel::setText(QStringLiteral("123"));
    plain->QLineEdit::setText(QStringLiteral("typed"));
    setChinese(true);
    QCOMPARE(shown(), chinese);
    QCOMPARE(plain->text(), QStringLiteral("typed"));
    QCOMPARE(plain->rawText(), QStringLiteral("Speed"));
    QCOMPARE(editChanged.count(), 1);
    QCOMPARE(editChanged.last().at(0).toString(), QStringLiteral("ZH:Edit"));
    setChinese(false);
    QCOMPARE(shown(), english);
    QCOMPARE(editChanged.count(), 2);
}

void TestWidgetKit::comboRetranslatesInPlace()
{
    VxComboBox combo;
    const QString servo = raw("Servo");
    const QString motor = raw("Motor");
    const QString drive = raw("Drive");
    combo.addItem(servo, 10);
    combo.addItem(QStringLiteral("COM3"), 20);
    combo.addItems({motor});
    combo.insertItem(99, drive); // past the end: appended, raw text kept with it
    combo.insertItem(1, raw("Axis"));
    combo.removeItem(0);
    QCOMPARE(combo.count(), 4);
    QCOMPARE(combo.itemRawText(0), raw("Axis"));
    QCOMPARE(combo.itemRawText(3), drive);
    combo.QComboBox::setItemText(3, QStringLiteral("shown only")); // raw text stays
    combo.setCurrentIndex(2);

    QSignalSpy indexChanged(&combo, QOverload<int>::of(&QComboBox::currentIndexChanged));
    QSignalSpy textChanged(&combo, &QComboBox::currentTextChanged);
    combo.setItemText(2, servo);
    QCOMPARE(textChanged.count(), 1); // once, for the shown text
    textChanged.clear();
    setChinese(true);
    QCOMPARE(combo.currentIndex(), 2);
    QCOMPARE(indexChanged.count(), 0);
    QCOMPARE(textChanged.count(), 0);
    QStringList shown;
    for (int i = 0; i < combo.count(); ++i)
        shown << combo.itemText(i);
    QCOMPARE(shown, QStringList({"ZH:Axis", "COM3", "ZH:Servo", "ZH:Drive"}));
    QCOMPARE(combo.itemData(1).toInt(), 20);
}

void TestWidgetKit::modelTranslatesRows()
{
    VxStandardItemModel model;
    setChinese(true);
    model.insertRow(0, {new QStandardItem(raw("Gain")), new QStandardItem(QStringLiteral("42"))});
    model.appendRow(new QStandardItem(raw("Inertia")));
    model.insertRow(0, {new QStandardItem(QStringLiteral("P0-01"))});
    const auto texts = [&] {
        return QStringList{model.item(0, 0)->text(), model.item(1, 0)->text(), model.item(1, 1)->text(),
                           model.item(2, 0)->text()};
    };
    QCOMPARE(texts(), QStringList({"P0-01", "ZH:Gain", "42", "ZH:Inertia"}));
    setChinese(false);
    QCOMPARE(texts(), QStringList({"P0-01", "Gain", "42", "Inertia"}));
}

void TestWidgetKit::menuOpensAtPosition_data()
{
    QTest::addColumn<int>("mode");
    QTest::newRow("0 above, left edges") << 0;
    QTest::newRow("1 below, left edges") << 1;
    QTest::newRow("2 above, right edges") << 2;
    QTest::newRow("3 below, right edges") << 3;
}

void TestWidgetKit::menuOpensAtPosition()
{
    QFETCH(int, mode);
    const bool above = mode % 2 == 0, rightEdges = mode >= 2;
    QWidget window;
    window.setGeometry(200, 200, 300, 200);
    auto *button = new CMenuButton(&window);
    button->setGeometry(150, 150, 100, 30);
    button->setPopupMode(mode);
    QMenu *menu = button->menu();
    menu->addAction(QStringLiteral("Log out"));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QRect opened;
    QTimer::singleShot(0, menu, [&] { opened = menu->geometry(); menu->close(); });
    QTest::mouseClick(button, Qt::LeftButton);
    const QRect b(button->mapToGlobal(QPoint(0, 0)), button->size());
    QCOMPARE(rightEdges ? opened.right() : opened.left(), rightEdges ? b.right() : b.left());
    QCOMPARE(above ? opened.bottom() + 1 : opened.top(), above ? b.top() : b.bottom() + 1);
}

void TestWidgetKit::progressButtonSwallowsPress()
{
    PressCountingWidget parent;
    auto *button = new CTProgressButton(&parent);
    button->resize(120, 30);
    QSignalSpy pressed(button, &CTProgressButton::pressed);
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mousePress(button, Qt::RightButton);
    QCOMPARE(pressed.count(), 2);
    QCOMPARE(parent.presses, 0);
}

QTEST_MAIN(TestWidgetKit)
#include "tst_widgetkit.moc"
