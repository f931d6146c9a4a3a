#include "widgets/rawtext.h"
#include "widgets/vxaction.h"
#include "widgets/vxcheckbox.h"
#include "widgets/vxcombobox.h"
#include "widgets/vxgroupbox.h"
#include "widgets/vxlabel.h"
#include "widgets/vxlineedit.h"
#include "widgets/vxpushbutton.h"
#include "widgets/vxstandarditemmodel.h"

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
        QTest::newRow("utf-8 source") << QString::fromUtf8("@#@TestCtx#@#速度") << QString::fromUtf8("ZH:速度") << true;
        QTest::newRow("raw and plain pieces") << "@#@TestCtx#@#Axis@#@ 2@#@TestCtx#@#Open@#@" << "ZH:Axis 2ZH:Open" << true;
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
    }
    void widgetsFollowLanguage()
    {
        QWidget window;
        auto *label = new VxLabel(&window);
        auto *push = new VxPushButton(&window);
        auto *check = new VxCheckBox(&window);
        auto *group = new VxGroupBox(&window);
        auto *action = new VxAction(raw("Action"), &window);
        auto *edit = new VxLineEdit(raw("Edit"), &window);
        auto *plain = new VxLineEdit(QStringLiteral("Speed"), &window);
        VxStandardItemModel model;
        label->setText(raw("Label")); push->setText(raw("Push")); push->setToolTip(raw("Tip"));
        check->setText(raw("Check")); group->setTitle(raw("Group"));
        model.appendRow({ new QStandardItem(raw("Gain")), new QStandardItem(QStringLiteral("42")) });
        QSignalSpy editChanged(edit, &QLineEdit::textChanged);
        const auto shown = [&] {
            return QStringList { label->text(), push->text(), push->toolTip(), check->text(), group->title(),
                                 action->text(), edit->text(), model.item(0, 0)->text(), model.item(0, 1)->text() };
        };
        const QStringList english { "Label", "Push", "Tip", "Check", "Group", "Action", "Edit", "Gain", "42" };
        QCOMPARE(shown(), english);
        // The base setters show a value or the user's typing without touching the kept raw text, and the
        // typing over a plain text survives a language change.
        label->QLabel::setText(QStringLiteral("123"));
        plain->QLineEdit::setText(QStringLiteral("typed"));
        // A line edit tells of every language change once, whether its shown text changed or not.
        QSignalSpy plainChanged(plain, &QLineEdit::textChanged);
        setChinese(true);
        QCOMPARE(shown() << plain->text() << QString::number(editChanged.count()) << QString::number(plainChanged.count()),
                 QStringList({ "ZH:Label", "ZH:Push", "ZH:Tip", "ZH:Check", "ZH:Group", "ZH:Action", "ZH:Edit", "ZH:Gain", "42", "typed", "1", "1" }));
        setChinese(false);
        QCOMPARE(shown() << QString::number(editChanged.count()) << plainChanged.takeLast().first().toString(),
                 english + QStringList({ "2", "typed" }));
    }
    void comboRetranslatesInPlace()
    {
        VxComboBox combo;
        combo.addItem(raw("Servo"), 10);
        combo.addItem(QStringLiteral("COM3"), 20);
        combo.insertItem(99, raw("Drive"));   // past the end: appended, raw text kept with it
        combo.insertItem(1, raw("Axis"));
        combo.removeItem(0);
        combo.QComboBox::setItemText(2, QStringLiteral("shown only"));   // raw text stays
        combo.setCurrentIndex(1);
        QSignalSpy indexChanged(&combo, QOverload<int>::of(&QComboBox::currentIndexChanged));
        setChinese(true);
        QCOMPARE(indexChanged.count(), 0);
        QCOMPARE(QStringList({ combo.itemText(0), combo.itemText(1), combo.itemText(2), combo.itemData(1).toString() }),
                 QStringList({ "ZH:Axis", "COM3", "ZH:Drive", "20" }));
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
