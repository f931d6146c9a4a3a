#ifndef ALARMINFOFRAME_H
#define ALARMINFOFRAME_H

#include "comm/deviceenum.h"
#include "data/recordlist.h"

#include <QFrame>
#include <QList>

namespace Ui { class AlarmInfoFrame; }
class RecordSearch;
class RecordTableModel;

// The alarm history of the screwdriver controller, newest first, each alarm completed with its
// level, name, reason and solution. The status bar reports new alarm codes through appendAlarm().
class AlarmInfoFrame : public QFrame
{
    Q_OBJECT
public:
    enum Column { NumberColumn = 0, LevelColumn, NameColumn, ReasonColumn, SolutionColumn, TimeColumn, ColumnCount };

    explicit AlarmInfoFrame(QWidget *parent = nullptr);
    ~AlarmInfoFrame() override;
    static AlarmInfoFrame *instance();

    // Stores the alarm; it is shown unless a search result is on the table.
    void appendAlarm(int alarmNo);

signals:
    void searchFinishSigal();

public slots:
    // cmd 0 starts a text search for match, 2 stops it.
    void onSearchSignal(int cmd, QString match);
    void refreshDisplay(int addr, int val);
    void searchProcess();

private slots:
    void on_clearAlarmButton_clicked();
    void on_clearSearchButton_clicked();
    void on_floatLockBox_toggled(bool checked);
    void on_slipToothBox_toggled(bool checked);
    void on_searchAlarmButton_clicked(bool checked);
    void on_exportAlarmButton_clicked();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QString columnText(const RecordRow &alarm, int column) const;
    QString detailText(int code, const QString &key) const;
    QList<int> matchingColumns(const RecordRow &alarm, const QString &text) const;
    void reloadAlarms();
    void exportAlarmRecord(const QString &fileName);
    void onStorageChanged();
    void onListsReloaded();
    void setAddrMonitoring(QList<int> addrs, bool enable);
    void writeEnableBit(Uint16 mask, bool set);

    Ui::AlarmInfoFrame *ui;
    RecordTableModel *m_model;
    RecordSearch *m_search;
    QList<int> m_monitorAddrs;

    static AlarmInfoFrame *s_instance;
};

#endif // ALARMINFOFRAME_H
