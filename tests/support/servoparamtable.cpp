#include "support/servoparamtable.h"

#include "servo/servoparamframe.h"

#include <QStandardItemModel>

bool ServoParamTable::check(const QString &code, bool on) const
{
    const int id = m_page->findParamIndex(code) + 1;
    QStandardItemModel *tree = m_page->treeModel();
    for (int g = 0; id > 0 && g < tree->rowCount(); ++g) {
        for (int r = 0; r < tree->item(g)->rowCount(); ++r) {
            QStandardItem *item = tree->item(g)->child(r);
            if (item->data(ServoParamFrame::IdRole).toInt() == id) {
                item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
                return true;
            }
        }
    }
    return false;
}

int ServoParamTable::row(const QString &code, const QString &slaveAxis) const
{
    for (int r = 0; r < m_page->tableModel()->rowCount(); ++r) {
        if (text(r, 0) == code && (slaveAxis.isEmpty() || text(r, 4) == slaveAxis))
            return r;
    }
    return -1;
}

QStandardItem *ServoParamTable::cell(int row, int column) const
{
    return m_page->tableModel()->item(row, column);
}

QString ServoParamTable::text(int row, int column) const
{
    const QStandardItem *item = cell(row, column);
    return item ? item->text() : QString();
}
