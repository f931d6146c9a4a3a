#include "widgets/vxcombobox.h"

#include "widgets/rawtext.h"

#include <QEvent>
#include <QSignalBlocker>

VxComboBox::VxComboBox(QWidget *parent)
    : QComboBox(parent)
{
}

void VxComboBox::addItem(const QString &raw, const QVariant &userData)
{
    insertItem(count(), QIcon(), raw, userData);
}

void VxComboBox::addItem(const QIcon &icon, const QString &raw, const QVariant &userData)
{
    insertItem(count(), icon, raw, userData);
}

void VxComboBox::addItems(const QStringList &raws)
{
    for (const QString &raw : raws)
        addItem(raw);
}

void VxComboBox::insertItem(int index, const QString &raw, const QVariant &userData)
{
    insertItem(index, QIcon(), raw, userData);
}

void VxComboBox::insertItem(int index, const QIcon &icon, const QString &raw, const QVariant &userData)
{
    const int before = count();
    const int at = qBound(0, index, before); // where QComboBox puts an out-of-range index
    QComboBox::insertItem(at, icon, RawText::translateText(raw), userData);
    if (count() > before) // not refused by maxCount
        keepRawText(at, raw);
}

void VxComboBox::setItemText(int index, const QString &raw)
{
    if (index < 0 || index >= count())
        return;
    keepRawText(index, raw);
    QComboBox::setItemText(index, RawText::translateText(raw));
}

void VxComboBox::keepRawText(int index, const QString &raw)
{
    // Storing the raw text changes no shown text: keep QComboBox from announcing a text change for it.
    const QSignalBlocker blocker(this);
    setItemData(index, raw, RawText::DataRole);
}

QString VxComboBox::itemRawText(int index) const
{
    return itemData(index, RawText::DataRole).toString();
}

void VxComboBox::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        const QSignalBlocker blocker(this);
        for (int i = 0; i < count(); ++i) {
            const QString raw = itemRawText(i);
            if (RawText::isRaw(raw))
                QComboBox::setItemText(i, RawText::translateText(raw));
        }
    }
    QComboBox::changeEvent(event);
}
