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

QString raw(const char *source) { return RawText::make("TestCtx", QString::fromUtf8(source)); }

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
    void cleanup() { setChinese(false); }
    void translateText_data()
    {
        QTest::addColumn<QString>("raw");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("isRaw");
        QTest::newRow("plain text unchanged") << "Speed 100 rpm" << "Speed 100 rpm" << false;
        QTest::newRow("one piece") << "@#@TestCtx#@#Open" << "ZH:Open" << true;
        QTest::newRow("utf-8 source") << QString::fromUtf8("@#@TestCtx#@#速度") << QString::fromUtf8("ZH:速度") << true;
        QTest::newRow("two pieces") << "@#@TestCtx#@#Servo@#@TestCtx#@#Alarm" << "ZH:ServoZH:Alarm" << true;
        QTest::newRow("trailing separator") << "@#@TestCtx#@#Open@#@" << "ZH:Open" << true;
        QTest::newRow("raw and plain pieces") << "@#@TestCtx#@#Axis@#@ 2" << "ZH:Axis 2" << true;
        QTest::newRow("raw and plain pieces, trailing separator") << "@#@TestCtx#@#Axis@#@ 2@#@TestCtx#@#Open@#@" << "ZH:Axis 2ZH:Open" << true;
        QTest::newRow("unknown context keeps source") << "@#@OtherCtx#@#Open" << "Open" << true;
        QTest::newRow("three parts stays") << "@#@TestCtx#@#a#@#b" << "TestCtx#@#a#@#b" << false;
        QTest::newRow("malformed beside good") << "@#@TestCtx#@#a#@#b@#@TestCtx#@#Ok" << "TestCtx#@#a#@#bZH:Ok" << true;
    }
    void translateText()
    {
        QFETCH(QString, raw);
        QFETCH(QString, shown);
        QFETCH(bool, isRaw);
        setChinese(true);
        QCOMPARE(::translateText(raw), shown);
        QCOMPARE(RawText::translateText(raw), shown);
        QCOMPARE(RawText::isRaw(raw), isRaw);
        QCOMPARE(RawText::make("TestCtx", QStringLiteral("Open")), QStringLiteral("@#@TestCtx#@#Open"));
    }
    void widgetsFollowLanguage()
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
        VxStandardItemModel model;
        label->setText(raw("Label")); push->setText(raw("Push")); push->setToolTip(raw("Tip"));
        tool->setText(raw("Tool")); check->setText(raw("Check")); radio->setText(raw("Radio")); group->setTitle(raw("Group"));
        model.appendRow({ new QStandardItem(raw("Gain")), new QStandardItem(QStringLiteral("42")) });
        QSignalSpy editChanged(edit, &QLineEdit::textChanged);
        const auto shown = [&] {
            return QStringList { label->text(), push->text(), push->toolTip(), tool->text(), check->text(), radio->text(),
                                 group->title(), action->text(), edit->text(), model.item(0, 0)->text(), model.item(0, 1)->text() };
        };
        const QStringList english { "Label", "Push", "Tip", "Tool", "Check", "Radio", "Group", "Action", "Edit", "Gain", "42" };
        QCOMPARE(shown(), english);
        // The base setters show a value or the user's typing without touching the kept raw text, and the
        // typing over a plain text survives a language change.
        label->QLabel::setText(QStringLiteral("123"));
        QCOMPARE(label->rawText(), raw("Label"));
        plain->QLineEdit::setText(QStringLiteral("typed"));
        // A line edit tells of every language change once, whether its shown text changed or not.
        QSignalSpy plainChanged(plain, &QLineEdit::textChanged);
        setChinese(true);
        QCOMPARE(shown() << plain->text() << QString::number(editChanged.count()) << QString::number(plainChanged.count()),
                 QStringList({ "ZH:Label", "ZH:Push", "ZH:Tip", "ZH:Tool", "ZH:Check", "ZH:Radio", "ZH:Group", "ZH:Action",
                               "ZH:Edit", "ZH:Gain", "42", "typed", "1", "1" }));
        QCOMPARE(editChanged.last().at(0).toString(), QStringLiteral("ZH:Edit"));
        QCOMPARE(plain->rawText(), QStringLiteral("Speed"));
        setChinese(false);
        QCOMPARE(shown() << QString::number(editChanged.count()) << plainChanged.takeLast().first().toString(),
                 english + QStringList({ "2", "typed" }));
        QCOMPARE(label->rawText(), raw("Label"));
    }
    void comboRetranslatesInPlace()
    {
        VxComboBox combo;
        combo.addItem(raw("Servo"), 10);
        combo.addItem(QStringLiteral("COM3"), 20);
        combo.addItems({ raw("Motor") });
        combo.insertItem(99, raw("Drive"));   // past the end: appended, raw text kept with it
        combo.insertItem(1, raw("Axis"));
        combo.removeItem(0);
        QCOMPARE(combo.count(), 4);
        QCOMPARE(combo.itemRawText(0), raw("Axis"));
        QCOMPARE(combo.itemRawText(3), raw("Drive"));
        combo.QComboBox::setItemText(3, QStringLiteral("shown only"));   // raw text stays
        combo.setCurrentIndex(2);
        QSignalSpy indexChanged(&combo, QOverload<int>::of(&QComboBox::currentIndexChanged));
        QSignalSpy textChanged(&combo, &QComboBox::currentTextChanged);
        combo.setItemText(2, raw("Servo"));
        QCOMPARE(textChanged.count(), 1);   // once, for the shown text
        textChanged.clear();
        setChinese(true);
        QCOMPARE(combo.currentIndex(), 2);
        QCOMPARE(indexChanged.count() + textChanged.count(), 0);
        QCOMPARE(QStringList({ combo.itemText(0), combo.itemText(1), combo.itemText(2), combo.itemText(3) }),
                 QStringList({ "ZH:Axis", "COM3", "ZH:Servo", "ZH:Drive" }));
        QCOMPARE(combo.itemData(1).toInt(), 20);
        combo.clear();
        QCOMPARE(combo.count(), 0);
        combo.addItem(raw("Motor"));
        QCOMPARE(combo.itemText(0) + "|" + combo.itemRawText(0), "ZH:Motor|" + raw("Motor"));
    }
    void modelTranslatesRows()
    {
        VxStandardItemModel model;
        setChinese(true);
        model.insertRow(0, { new QStandardItem(raw("Gain")), new QStandardItem(QStringLiteral("42")) });
        model.appendRow(new QStandardItem(raw("Inertia")));
        model.insertRow(0, { new QStandardItem(QStringLiteral("P0-01")) });
        const auto texts = [&] {
            return QStringList { model.item(0, 0)->text(), model.item(1, 0)->text(), model.item(1, 1)->text(), model.item(2, 0)->text() };
        };
        QCOMPARE(texts(), QStringList({ "P0-01", "ZH:Gain", "42", "ZH:Inertia" }));
        setChinese(false);
        QCOMPARE(texts(), QStringList({ "P0-01", "Gain", "42", "Inertia" }));
    }
    void menuPopupPosition_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QPoint>("topLeft");
        // Button at x 100..179, y 200..229; menu 120 x 60.
        QTest::newRow("0 above, left edges") << 0 << QPoint(100, 140);
        QTest::newRow("1 below, left edges") << 1 << QPoint(100, 230);
        QTest::newRow("2 above, right edges") << 2 << QPoint(60, 140);
        QTest::newRow("3 below, right edges") << 3 << QPoint(60, 230);
    }
    void menuPopupPosition()
    {
        QFETCH(int, mode);
        QFETCH(QPoint, topLeft);
        QCOMPARE(CMenuButton::popupPosition(QRect(100, 200, 80, 30), QSize(120, 60), mode), topLeft);
    }
    void menuOpensAtPosition_data() { menuPopupPosition_data(); }
    void menuOpensAtPosition()
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
    void progressButtonSwallowsPress()
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

private:
    // Installing or removing a translator posts LanguageChange to the windows; deliver it now.
    void setChinese(bool on)
    {
        on ? QCoreApplication::installTranslator(&m_translator) : QCoreApplication::removeTranslator(&m_translator);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
    }

    TestTranslator m_translator;
};

QTEST_MAIN(TestWidgetKit)
#include "tst_widgetkit.moc"
