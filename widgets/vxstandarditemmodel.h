#ifndef VXSTANDARDITEMMODEL_H
#define VXSTANDARDITEMMODEL_H

#include <QStandardItemModel>

// A QStandardItemModel whose top-level rows may be given raw texts: insertRow/appendRow show their
// translations and keep the raw text in RawText::DataRole. Like VxAction it watches the application
// object for language changes and re-translates every item holding a raw text, children included.
// Items added through QStandardItem's own functions are shown as given.
class VxStandardItemModel : public QStandardItemModel
{
    Q_OBJECT
public:
    explicit VxStandardItemModel(QObject *parent = nullptr);

    using QStandardItemModel::insertRow; // the QModelIndex overload
    void insertRow(int row, const QList<QStandardItem *> &items);
    void insertRow(int row, QStandardItem *item) { insertRow(row, QList<QStandardItem *>{item}); }
    void appendRow(const QList<QStandardItem *> &items) { insertRow(rowCount(), items); }
    void appendRow(QStandardItem *item) { insertRow(rowCount(), QList<QStandardItem *>{item}); }

    void retranslate();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void retranslate(QStandardItem *parent);
};

#endif // VXSTANDARDITEMMODEL_H
