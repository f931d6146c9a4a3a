#ifndef CUSTOMITEMDELEGATE_H
#define CUSTOMITEMDELEGATE_H

#include <QStyledItemDelegate>
#include <QVariant>

// Item delegate whose editors are configured by item data:
//
// LineEditConfigRole holds lineEditConfig(minVal, maxVal, decimals, onlyNumber). The item is edited in
// a line edit; with onlyNumber it accepts only a sign, digits and a decimal point. On commit the text
// (trimmed) must be a number within [minVal, maxVal] with at most `decimals` decimal places (trailing
// zeros do not count); otherwise the user is warned and the item keeps its old text. Accepted numbers:
//   - always: plain decimals such as "-12.5", "+3", ".5", "7." (no exponent);
//   - only when onlyNumber is false: unsigned integers written "0x1F", "16#00FF", "8#17" or "2#101",
//     whose value is range-checked and which have no decimal places.
// The text is stored as typed (Qt::EditRole), so a prefixed form stays prefixed.
//
// ComboConfigRole holds a map with "textList" (QStringList) and "currentIndex" (int). The item is
// edited in a combo box that commits as soon as an entry is picked; the picked index is written back
// to the map's "currentIndex" and the picked text becomes the item's display text.
//
// Other items get the default editor.
class CustomItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    enum Role { LineEditConfigRole = 258, ComboConfigRole = 259 };

    explicit CustomItemDelegate(QObject *parent = nullptr);

    static QVariant lineEditConfig(double minVal, double maxVal, int decimals, bool onlyNumber);

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

signals:
    // The user committed a line edit value the configuration accepts, also one equal to the text
    // already there (the model tells of changes only): a way to confirm a value as it stands.
    void valueCommitted(const QModelIndex &index);

private:
    void commitLineEdit(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const;

    // True while the out-of-range warning is up: the editor loses focus to the box, and the view
    // would commit (and warn) once more from that focus change.
    mutable bool m_warning = false;
};

#endif // CUSTOMITEMDELEGATE_H
