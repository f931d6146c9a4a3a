#include "widgets/vxstandarditemmodel.h"

#include "widgets/rawtext.h"

#include <QCoreApplication>
#include <QEvent>

VxStandardItemModel::VxStandardItemModel(QObject *parent)
    : QStandardItemModel(parent)
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

void VxStandardItemModel::insertRow(int row, const QList<QStandardItem *> &items)
{
    for (QStandardItem *item : items) {
        if (item && RawText::isRaw(item->text())) {
            item->setData(item->text(), RawText::DataRole);
            item->setText(RawText::translateText(item->text()));
        }
    }
    QStandardItemModel::insertRow(row, items);
}

void VxStandardItemModel::retranslate()
{
    retranslate(invisibleRootItem());
}

void VxStandardItemModel::retranslate(QStandardItem *parent)
{
    for (int row = 0; row < parent->rowCount(); ++row) {
        for (int column = 0; column < parent->columnCount(); ++column) {
            QStandardItem *item = parent->child(row, column);
            if (!item)
                continue;
            const QVariant raw = item->data(RawText::DataRole);
            if (raw.isValid())
                item->setText(RawText::translateText(raw.toString()));
            retranslate(item);
        }
    }
}

bool VxStandardItemModel::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::LanguageChange && watched == QCoreApplication::instance())
        retranslate();
    return QStandardItemModel::eventFilter(watched, event);
}
