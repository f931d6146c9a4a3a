#ifndef VXCOMBOBOX_H
#define VXCOMBOBOX_H

#include <QComboBox>
#include <QStringList>
#include <QVariant>

// A QComboBox whose item texts are raw texts. Each item keeps its raw text in RawText::DataRole, so
// the base class's removeItem() and clear() keep raw texts and items aligned without help.
// A language change re-translates the items in place: the current index stays and no signal is
// emitted, since nothing the user chose has changed.
class VxComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit VxComboBox(QWidget *parent = nullptr);

    void addItem(const QString &raw, const QVariant &userData = QVariant());
    void addItem(const QIcon &icon, const QString &raw, const QVariant &userData = QVariant());
    void addItems(const QStringList &raws);
    void insertItem(int index, const QString &raw, const QVariant &userData = QVariant());
    void insertItem(int index, const QIcon &icon, const QString &raw, const QVariant &userData = QVariant());
    void setItemText(int index, const QString &raw);
    QString itemRawText(int index) const;

protected:
    void changeEvent(QEvent *event) override;

private:
    void keepRawText(int index, const QString &raw);
};

#endif // VXCOMBOBOX_H
