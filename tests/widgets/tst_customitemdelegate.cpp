#include "support/promptrecorder.h"
#include "widgets/customitemdelegate.h"

#include <QComboBox>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QSignalSpy>
#include <QtTest>

class TestCustomItemDelegate : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_prompts.clear(); }
    void lineEditCommit_data()
    {
        QTest::addColumn<QVariant>("config");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<bool>("typable");   // what the editor lets a person type
        const auto row = [](const char *tag, double min, double max, int decimals, bool onlyNumber, const char *text,
                            bool accepted, bool typable) {
            QTest::newRow(tag) << CustomItemDelegate::lineEditConfig(min, max, decimals, onlyNumber) << QString(text) << accepted
                               << typable;
        };
        row("inside", 0, 100, 0, true, "55", true, true);
        row("at max", 0, 100, 0, true, "100", true, true);
        row("above max", 0, 100, 0, true, "101", false, true);
        row("below min", -10, 10, 1, true, "-10.1", false, true);
        row("signed decimal", -100, 100, 1, true, "-12.5", true, true);
        row("signed and bare point", -10, 10, 1, true, "+.5", true, true);
        row("too many decimals", 0, 10, 1, true, "1.25", false, true);
        row("decimal with none allowed", 0, 10, 0, true, "1.5", false, true);
        row("trailing zeros do not count", 0, 10, 1, true, "1.50", true, true);
        row("scaled bound", 0.1 * 3, 1, 1, true, "0.3", true, true);
        row("surrounding spaces", 0, 10, 0, true, " 4 ", true, false);
        row("empty", 0, 10, 0, true, "", false, true);
        row("sign only", 0, 10, 0, true, "-", false, true);
        row("letters", 0, 10, 0, false, "abc", false, true);
        row("letters when only numbers", 0, 100, 0, true, "12a", false, false);
        row("exponent", 0, 1e6, 0, false, "1e3", false, true);
        row("hex 16#", 0, 300, 0, false, "16#00FF", true, true);
        row("hex 16# out of range", 0, 300, 0, false, "16#FFFF", false, true);
        row("hex 0x", 0, 65535, 0, false, "0xffff", true, true);
        row("binary", 0, 5, 0, false, "2#101", true, true);
        row("binary bad digit", 0, 5, 0, false, "2#102", false, true);
        row("hex when only numbers", 0, 300, 0, true, "16#00FF", false, false);
    }
    void lineEditCommit()
    {
        QFETCH(QVariant, config);
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QFETCH(bool, typable);
        const QModelIndex index = configuredCell(config);
        QScopedPointer<QLineEdit> edit(lineEditor(index));
        QCOMPARE(edit->text(), QStringLiteral("7"));
        edit->clear();
        QTest::keyClicks(edit.data(), text);
        QCOMPARE(edit->text() == text, typable);
        edit->setText(text);
        if (!accepted)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression("rejected"));
        QSignalSpy committed(&m_delegate, &CustomItemDelegate::valueCommitted);
        m_delegate.setModelData(edit.data(), &m_model, index);
        QCOMPARE(index.data().toString() + QString::number(m_prompts.size()), accepted ? text.trimmed() + "0" : QStringLiteral("71"));
        QCOMPARE(committed.size(), accepted ? 1 : 0);
        // The same text once more: the model hears of no change, the delegate still tells of the commit.
        if (accepted) {
            m_delegate.setModelData(edit.data(), &m_model, index);
            QCOMPARE(committed.size(), 2);
            QCOMPARE(committed.last().first().toModelIndex(), index);
        }
    }
    void warningShownOnce()
    {
        const QModelIndex index = configuredCell(CustomItemDelegate::lineEditConfig(-3000 * 0.1, 2147483647.0, 1, true));
        QScopedPointer<QLineEdit> edit(lineEditor(index));
        edit->setText(QStringLiteral("2147483648"));
        // While the box is up the view commits again from the editor's focus loss.
        m_prompts.whileShown = [&](const Prompt::Request &) { m_delegate.setModelData(edit.data(), &m_model, index); };
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("rejected"));
        m_delegate.setModelData(edit.data(), &m_model, index);
        m_prompts.whileShown = nullptr;
        QCOMPARE(m_prompts.texts() << index.data().toString(),
                 QStringList({ "Tips: Input out of range(-300~2147483647) or decimals(1 decimal places)!", "7" }));
        QCOMPARE(m_prompts.last().kind, Prompt::Warning);
        // An editor the view never filled: the same single box on a commit from focus loss.
        const QModelIndex small = configuredCell(CustomItemDelegate::lineEditConfig(0, 10, 0, true));
        QScopedPointer<QWidget> editor(m_delegate.createEditor(&m_viewport, QStyleOptionViewItem(), small));
        auto *bare = qobject_cast<QLineEdit *>(editor.data());
        QVERIFY(bare);
        bare->setText(QStringLiteral("11"));
        m_prompts.clear();
        m_prompts.whileShown = [&](const Prompt::Request &) { m_delegate.setModelData(bare, &m_model, small); };
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("rejected"));
        m_delegate.setModelData(bare, &m_model, small);
        m_prompts.whileShown = nullptr;
        QCOMPARE(QString::number(m_prompts.size()) + small.data().toString(), QStringLiteral("17"));
    }
    void comboStoresPickedIndex()
    {
        const QModelIndex index = configuredCell(QVariantMap { { "textList", QStringList { "Off", "On", "Auto" } }, { "currentIndex", 1 } },
                                                 CustomItemDelegate::ComboConfigRole);
        QTableView view;
        view.setModel(&m_model);
        view.setItemDelegate(&m_delegate);
        view.edit(index);
        auto *combo = view.viewport()->findChild<QComboBox *>();
        QVERIFY(combo && combo->currentIndex() == 1);
        QCOMPARE(combo->count(), 3);
        qRegisterMetaType<QAbstractItemDelegate::EndEditHint>("QAbstractItemDelegate::EndEditHint");
        QSignalSpy closed(&m_delegate, &QAbstractItemDelegate::closeEditor);
        QTest::keyClick(combo, Qt::Key_Down);   // a pick: activated(2)
        QCOMPARE(closed.count(), 1);
        QCOMPARE(index.data(CustomItemDelegate::ComboConfigRole).toMap().value("currentIndex").toInt(), 2);
        QCOMPARE(index.data().toString(), QStringLiteral("Auto"));
    }

private:
    QModelIndex configuredCell(const QVariant &config, int role = CustomItemDelegate::LineEditConfigRole)
    {
        m_model.setItem(0, 0, new QStandardItem(QStringLiteral("7")));
        m_model.setData(m_model.index(0, 0), config, role);
        return m_model.index(0, 0);
    }
    QLineEdit *lineEditor(const QModelIndex &index)
    {
        auto *edit = qobject_cast<QLineEdit *>(m_delegate.createEditor(&m_viewport, QStyleOptionViewItem(), index));
        m_delegate.setEditorData(edit, index);
        return edit;
    }

    QStandardItemModel m_model{1, 1};
    QWidget m_viewport;
    CustomItemDelegate m_delegate{nullptr};
    PromptRecorder m_prompts;
};

QTEST_MAIN(TestCustomItemDelegate)
#include "tst_customitemdelegate.moc"
