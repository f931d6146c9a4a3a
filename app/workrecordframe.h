#ifndef WORKRECORDFRAME_H
#define WORKRECORDFRAME_H

#include "comm/deviceenum.h"
#include "data/recordlist.h"

#include <QFrame>
#include <QHash>
#include <QList>
#include <QMap>
#include <QVector>
#include <QVariantMap>

#include <functional>

namespace Ui { class WorkRecordFrame; }
class QCheckBox;
class QLabel;
class RecordSearch;
class RecordTableModel;

// One field of a work record and one column of the table: name, type ("rawValue", "valToText",
// "alarm", "dateTime"), format, decimals, commAddr, dbGetKey, valToText.
using RecordFieldDescriptor = QVariantMap;

// The tightening results of the screwdriver controller, newest first, with the result counters,
// a query by time, task and lock status, and CSV export. The status bar calls appendRecord() when
// a tightening cycle has finished; the record is built from the register cache.
class WorkRecordFrame : public QFrame
{
    Q_OBJECT
public:
    explicit WorkRecordFrame(QWidget *parent = nullptr);
    ~WorkRecordFrame() override;
    static WorkRecordFrame *instance();

    // Builds a record from the cached registers and stores it; it is shown and counted unless a
    // query or search result is on the table. A task or lock status without a text stores nothing.
    void appendRecord();
    void updateTaskComboBox(int taskCount);

signals:
    void searchFinishSigal();

public slots:
    void onParamUnitChanged();
    void onDeviceChanged(DeviceEnum devType);
    // cmd 0 starts a text search for match, 2 stops it.
    void onSearchSignal(int cmd, QString match);
    void searchProcess();
    void refreshDisplay(int addr, int val);

private slots:
    void on_seekButton_clicked();
    void on_clearButton_clicked();
    void on_clearCntButton_clicked();
    void on_exportRecordButton_clicked();
    void on_clearRecordButton_clicked();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void buildSdriverDescriptors();
    // How the cells of a record read, as the last rebuild set them up.
    struct CellTexts {
        // Per table column: the record column of its dbGetKey.
        QVector<int> recordColumn;
        int alarmColumn = -1;
        int torqueColumn = -1;
        // The torque unit of the last rebuild, in which the table shows the torque.
        double torqueScale = 1.0;
        int torqueDecimals = 3;
        // The alarm column's text for a code.
        std::function<QString(int code)> alarmText;
    };
    static QString cellText(const CellTexts &texts, const RecordRow &record, int column);
    // The texts of the rows on the table, fixed as they are now: an export writes them whatever
    // unit, device type or language follows.
    CellTexts fixedTexts() const;

    QString fieldText(const RecordFieldDescriptor &field) const;
    QString columnText(const RecordRow &record, int column) const;
    QString alarmName(int code) const;
    QList<int> matchingColumns(const RecordRow &record, const QString &text) const;
    void reloadRecords();
    // waitForRead false: records still being read are shown once their read ends, not now.
    void showPendingRecords(bool waitForRead = true);
    void onStorageChanged();
    void clearHeaderTexts();
    // newest: the record just added, for the status while the table waits for its reload.
    void updateCounters(bool clear, const RecordRow &newest = RecordRow());
    void exportWorkRecord(const QString &fileName);
    void setAddrMonitoring(QList<int> addrs, bool enable);
    void setCounterWidgetsVisible(bool visible);

    Ui::WorkRecordFrame *ui;
    RecordTableModel *m_model;
    QList<RecordFieldDescriptor> m_fieldDescriptors;
    CellTexts m_texts;
    mutable QHash<int, QString> m_alarmNames;   // alarm code -> name in the details, empty for none
    QMap<int, QLabel *> m_labelByAddr;
    QMap<QCheckBox *, int> m_filterColumnByBox;
    QList<int> m_monitorAddrs;
    RecordSearch *m_search;
    // A reload waits until the page is shown, so that the start need not wait for the records;
    // the records added meanwhile are counted to leave the table as their appends would have.
    bool m_reloadPending = false;
    int m_appendsPending = 0;

    static WorkRecordFrame *s_instance;
};

#endif // WORKRECORDFRAME_H
