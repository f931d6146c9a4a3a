#ifndef MENUAREAFRAME_H
#define MENUAREAFRAME_H

#include "comm/deviceenum.h"

#include <QFrame>
#include <QHash>

namespace Ui { class MenuAreaFrame; }
class QLabel;
class QTreeWidgetItem;

// The navigation tree: six groups of pages, each leaf carrying a menu id. The main window keeps
// it hidden, but it is built complete and follows every device change.
class MenuAreaFrame : public QFrame
{
    Q_OBJECT
public:
    explicit MenuAreaFrame(QWidget *parent = nullptr);
    ~MenuAreaFrame() override;

signals:
    void menuClicked(int menuID);

public slots:
    void onMenuClicked(QTreeWidgetItem *item, int column);
    void onDeviceChanged(DeviceEnum devType);

private:
    QTreeWidgetItem *addGroupRow(const QString &icon, const QString &text, int group);
    void addLeafRow(QTreeWidgetItem *group, const QString &icon, const QString &text, const QColor &background,
                    int menuId);

    Ui::MenuAreaFrame *ui;
    QHash<QTreeWidgetItem *, int> m_itemMap;         // group number (0 to 5) or menu id
    QHash<QTreeWidgetItem *, QLabel *> m_arrowMap;   // group item -> its arrow
};

#endif // MENUAREAFRAME_H
