#ifndef SLAVECONFIGDIALOG_H
#define SLAVECONFIGDIALOG_H

#include "comm/deviceenum.h"
#include "data/recorditem.h"

#include "comm/registerwait.h"

#include <QDialog>
#include <QList>
#include <QStringList>
#include <QTimer>

namespace Ui { class SlaveConfigDialog; }
class QButtonGroup;
class QComboBox;
class QTableWidgetItem;
class QTreeWidget;

// Chooses the slaves and axes the servo parameter page works on, and keeps a live view of chosen
// status values of every chosen slave and axis.
class SlaveConfigDialog : public QDialog
{
    Q_OBJECT
public:
    // Item data of the table cells.
    enum Role { NumberRole = 256, RecordRole = 257, UnitRole = 258, ValueTextRole = 259, AxisRole = 260 };
    static constexpr int kWaitLimitMs = 1000;

    explicit SlaveConfigDialog(QWidget *parent = nullptr);
    ~SlaveConfigDialog() override;

    void updateSlaveTable(QStringList list);
    void applyDeviceType(DeviceEnum devType);
    void setSelectedAxes(QList<int> axes);
    QList<int> selectedSlaves() const;
    QList<int> selectedAxes() const;
    // The servo_status records shown as columns, in column order.
    QList<RecordItem> statusRecords() const { return m_statusRecords; }

    // Record number of a servo_status record from its func_code; -1 when it is not a valid row.
    static int statusIndexFromFuncCode(const QString &funcCode);
    // The text of a status value: mapped through value_text, else scaled with its unit.
    static QString statusText(const RecordItem &record, quint16 value);

signals:
    void slaveCnfgChanged(QList<int> salve, QList<int> axis);

public slots:
    void onComError(int slave, int addr);
    void process();

private slots:
    void onParamsTreeItemChanged(QTableWidgetItem *item);
    void onSlaveTableDoubleClicked(QTableWidgetItem *item);
    void onAxisSelectChanged(int id, bool checked);
    void on_newButton_clicked();
    void on_deleteButton_clicked();
    void on_addrLineEdit_textChanged(const QString &arg1);
    void on_namesComboBox_currentIndexChanged(int index);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    enum class ProcessState { Start, Request, Wait, Stopped };

    void rebuildTable();
    void refreshColumns();
    QList<int> slaveAddresses();
    void rebuildValueTree();
    void notifySlaveCnfg();
    void requestCell();
    void waitCell();
    void advance();
    void showTreeValue(int row, int column);
    int rowSlave(int row) const;
    int cellRegister(const QTableWidgetItem *cell) const;
    static void fitComboPopupWidth(QComboBox *combo);

    Ui::SlaveConfigDialog *ui;
    QButtonGroup *m_axisGroup = nullptr;
    QTableWidgetItem *m_currentSlaveItem = nullptr;
    QStringList m_deviceList;
    QList<int> m_selectedSlaves;
    QList<RecordItem> m_statusRecords;
    QTimer m_timer;
    QDialog *m_valueTree = nullptr;
    QTreeWidget *m_valueTreeWidget = nullptr;
    int m_treeSlave = -1;

    // Walk cursor over the status cells; the pending cell is found again by position and checked
    // against its slave and register, so a rebuild meanwhile never gets a stale value.
    ProcessState m_state = ProcessState::Stopped;
    int m_row = 0;
    int m_column = 2;
    int m_pendingRow = -1;
    int m_pendingColumn = -1;
    bool m_skip = false;
    RegisterWait m_wait;
};

#endif // SLAVECONFIGDIALOG_H
