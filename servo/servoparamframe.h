#ifndef SERVOPARAMFRAME_H
#define SERVOPARAMFRAME_H

#include "comm/deviceenum.h"
#include "comm/registerwait.h"
#include "data/recorditem.h"
#include "servo/slaveconfigdialog.h"

#include <QFrame>
#include <QHash>
#include <QMap>
#include <QModelIndex>
#include <QPersistentModelIndex>
#include <QElapsedTimer>
#include <QTimer>

namespace Ui { class ServoParamFrame; }
class CustomItemDelegate;
class QMenu;
class QStandardItem;
class QStandardItemModel;
class VxLineEdit;
class VxStandardItemModel;

// The servo parameter page: a group tree of the parameter definitions, a table of their values for
// every chosen slave and axis, and a read and a write pass over that table on a 1 ms timer.
class ServoParamFrame : public QFrame
{
    Q_OBJECT
public:
    enum ViewMode { DetailedView = 0, CompactView = 1 };
    enum WriteKind { WriteSelected = 0, DownloadAll = 1 };
    // Item data role of the parameter id on tree items and on a row's first cell.
    static constexpr int IdRole = 261;
    static constexpr int MinRows = 30;

    explicit ServoParamFrame(QWidget *parent = nullptr);
    ~ServoParamFrame() override;
    static ServoParamFrame *instance();

    // The default file of the current device type: ServoParams_Default_<type>.csv in the current folder.
    static QString defaultParamsPath();
    void exportDefaultParams();
    void importDefaultParams();
    void stopRealTimeRead();
    void resetParamTable();
    void showSlaveConfigDialog();

    // Parameter files (ServoParamFile). A file is imported whole or not at all; every failure but
    // a file that cannot be opened is told in a box.
    bool exportParams(const QString &path);
    bool importParams(const QString &path);
    void exportParamsFile();
    void importParamsFile();

    // The definition model. The value conversions are ValueText's.
    static bool isInt32Format(const QString &format);
    static bool isHighWordFirst(const QString &format);
    static bool isLowWordFirst(const QString &format);
    static QString formatValueText(quint32 value, int width, int decimals, int mode);
    static int parseValueText(const QString &text, quint32 &value, int decimals);
    int findParamIndex(const QString &pn) const;
    int parsePnNumber(const QString &pn) const;
    void rebuildParamTree();
    void insertParamRows(int row, const RecordItem &def);
    void fillEmptyRows();
    QList<int> collectTableParams() const;
    // Register of Pn n of an axis for the current device type; type 3 writes 128 registers higher.
    static Uint16 paramAddress(int pn, int axis, bool forWrite = false);
    static QString displayModeKey(int slave, int axis, int pn);

    QStandardItemModel *treeModel() const;
    QStandardItemModel *tableModel() const;
    QList<int> slaveList() const { return m_slaves; }
    QList<int> axisList() const { return m_axes; }
    int viewMode() const { return m_viewMode; }
    bool isImportedView() const { return m_imported; }
    bool isPassRunning() const { return m_readState != PassState::Idle || m_writeState != PassState::Idle; }
    int displayMode(const QString &key) const { return m_displayModes.value(key, -1); }
    SlaveConfigDialog &slaveConfigDialog() { return m_slaveDialog; }

signals:
    void searchFinishSigal();

public slots:
    void updateSlaveTable(QStringList list);
    void createTableContextMenu();
    void showTableContextMenu(const QPoint &pos);
    void onTableRowInsert();
    void onTableRowDelete();
    void onDeviceChanged(DeviceEnum devType);
    void onSalveCnfgChanged(QList<int> slaves, QList<int> axes);
    void onParamsTreeItemChanged(QStandardItem *item);
    void onParamsTableItemChanged(QStandardItem *item);
    void onParamsTableViewDoubleClicked(const QModelIndex &index);
    void onComError(int slave, int addr);
    void onSearchSignal(int cmd, QString match);
    void searchProcess();
    void readServoParams();
    void writeServoParams();
    void process();
    void on_writeParamBtn_clicked();
    void on_upLoadButton_clicked();
    void on_downLoadButton_clicked();
    void on_realTimeReadBtn_clicked(bool checked);
    void on_resetDefaultBtn_clicked();
    void on_viewModeComBox_currentIndexChanged(int index);
    void on_showMaxButton_clicked(bool checked);
    void on_exportBnt_clicked();
    void on_importBnt_clicked();
    void standardItemChanged(const QString &text);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum class PassState { Start, Request, Wait, Idle };
    enum class WaitResult { Pending, Received, Failed };

    // One cell of a pass; its register(s) are awaited through the pass's two register waits.
    struct Cell {
        int row = 0;
        int column = 0;             // read: value column; write: source / current-value column
        int slave = 0;
        Uint16 addr = 0;
        int words = 0;              // 0: nothing prepared; 1 or 2 registers
        int sent = 0;               // registers queued so far
        Uint16 values[2] = {0, 0};  // write: the words to send
        QString format;
        QString modeKey;
        QString label;              // for messages: "Pn003 [1/0]"
        QPersistentModelIndex target;
    };

    // The parameter, slave and axis a value cell of the table stands for.
    struct CellParam {
        const RecordItem *def = nullptr;
        QString code;
        int pn = -1;
        int slave = 0;
        int axis = 0;
    };

    void setupForm();
    void setupTree();
    void setupTable();
    void rebuildTable();
    // Builds, at the end of the table, the rows of a list collectTableParams gives.
    void appendEntries(const QList<int> &entries);
    void setHeaders();
    void removeAllRows();
    void appendEmptyRow(int row);
    void restartRunningPasses();
    void startReadPass();
    void wakeTimer();
    void setRealTime(bool on);
    bool leaveImportedView();
    void replaceRowWithParam(int row, int defIndex);
    bool importParams(const QString &path, bool reportOpenFailure);

    const QList<RecordItem> &definitions() const;
    const RecordItem *definitionById(int id) const;
    // Pn number -> index of its first definition.
    QHash<int, int> paramIndexByPn() const;
    static bool parseSlaveAxis(const QString &text, int *slave, int *axis);
    QString valueText(int slave, Uint16 addr, const QString &format, int decimals, int mode) const;
    int enterDisplayMode(int slave, int axis, int pn);
    QList<QStandardItem *> detailedRow(const RecordItem &def, int slave, int axis);
    QList<QStandardItem *> compactRow(const RecordItem &def);
    static int cellDecimals(const QStandardItem *item);
    void updateCellMode(int row);

    static bool requestCell(Cell &cell, RegisterWait *waits, bool write);
    static WaitResult waitCell(const Cell &cell, RegisterWait *waits);
    bool cellParam(int row, int column, CellParam *param) const;
    bool prepareReadCell();
    bool prepareWriteCell();
    void finishWriteRow();
    void warnNotWritten();

    Ui::ServoParamFrame *ui;
    SlaveConfigDialog m_slaveDialog;
    VxStandardItemModel *m_tableModel = nullptr;
    QStandardItemModel *m_treeModel = nullptr;
    QStandardItem *m_treeHeader = nullptr;
    VxLineEdit *m_treeTitle = nullptr;
    CustomItemDelegate *m_delegate = nullptr;
    QMenu *m_contextMenu = nullptr;
    QTimer m_timer;
    int m_refreshAngle = 0;         // of the Monitor icon, which draws itself turned by it
    QElapsedTimer m_iconClock;      // since the icon was last drawn

    bool m_building = false;
    bool m_realTime = false;
    bool m_imported = false;
    bool m_stepping = false;
    bool m_refused = false;     // this tick's request was refused or the link was down
    int m_viewMode = DetailedView;
    int m_writeKind = WriteSelected;
    PassState m_readState = PassState::Idle;
    PassState m_writeState = PassState::Idle;
    Cell m_read;
    Cell m_write;
    RegisterWait m_readWaits[2];    // one per word of a 32-bit value
    RegisterWait m_writeWaits[2];
    int m_rowWritten = 0;       // write pass: acknowledged cells of the current row
    int m_rowFailed = 0;        // write pass: cells of the current row that were not written
    QStringList m_notWritten;   // write pass: cells not written, told at the end of the pass
    DeviceEnum m_lastDevice = NoDevice;
    QList<int> m_slaves { 1 };
    QList<int> m_axes { 0 };
    QMap<QString, int> m_displayModes;

    static ServoParamFrame *s_instance;
};

#endif // SERVOPARAMFRAME_H
