#ifndef APPPARAMFRAME_H
#define APPPARAMFRAME_H

#include "comm/deviceenum.h"
#include "comm/registerwait.h"
#include "data/recorditem.h"

#include <QFrame>
#include <QList>
#include <QMap>
#include <QPersistentModelIndex>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariant>
#include <optional>

namespace Ui { class AppParamFrame; }
class CustomItemDelegate;
class QPushButton;
class QStandardItem;
class QStandardItemModel;

// The screwdriver controller's application parameters. Everything the page shows comes from the
// definition rows (DatabaseManager::appParams()): a two-level menu of tasks and their pages, and
// for the page picked, a step table (left) and a parameter list (right). Four passes on a 5 ms
// timer read and write both tables, a fifth searches the definitions.
class AppParamFrame : public QFrame
{
    Q_OBJECT
public:
    // Item roles of the step table's parameter cells, and (TypedUnitRole) of the list's new values:
    // the torque unit index a value was typed in, set while the device has since gone over to another.
    enum ItemRole { AddressRole = Qt::UserRole + 5, ModifiedRole = Qt::UserRole + 6, TypedUnitRole = Qt::UserRole + 7 };
    // The kinds appendEmptyRows() knows.
    enum TableKind { StepTable = 0, ParamList = 1 };

    // A "group" entry: the page key and its menu path ("Task0/Tighten").
    struct PageEntry {
        int key = 0;
        QString path;
    };
    // Where "tableInfo" puts a definition.
    struct Placement {
        enum Kind { Nowhere, StepCell, ListRow };
        Kind kind = Nowhere;
        int row = 0;
        int col = 0;
    };

    static constexpr int kListMinRows = 30;

    explicit AppParamFrame(QWidget *parent = nullptr);
    ~AppParamFrame() override;
    static AppParamFrame *instance();

    // Entries separated by "&&", each "key/path"; a key that does not convert is 0, an entry
    // without a path is left out. What was odd goes to errors when it is given.
    static QList<PageEntry> parseGroup(const QString &group, QStringList *errors = nullptr);
    // "table1/row N/col M" (a number that does not convert is 0) or "table2"; Nowhere for
    // anything else. What was odd goes to errors when it is given.
    static Placement parseTableInfo(const QString &tableInfo, QStringList *errors = nullptr);
    // What is odd about a definition (it is still shown as far as it can be); empty when nothing.
    static QStringList definitionIssues(const RecordItem &definition);
    static QVariant rangeEditorConfig(const QString &range);
    // A cached register value as the tables show it: scaled by the decimals of the editor
    // configuration, and read as signed 16-bit when its minimum is below 0.
    static QString registerValueText(quint16 raw, const QVariant &editorConfig);

    void initMenu();
    void buildPageTables(QList<int> keys);
    void setParamRow(int row, RecordItem definition);
    void setTaskCell(int row, int col, RecordItem definition);
    void appendEmptyRows(int kind, int row, int count);

    // Application parameter files (AppParamFile); false when nothing was written or imported.
    bool exportAppParams(const QString &fileName);
    bool importAppParams(const QString &fileName);

    bool isBusy() const;        // a read, write or search pass is running
    bool isRealTime() const { return m_realTime; }
    bool isImported() const { return m_imported; }

    const QMap<int, QString> &pageMap() const { return m_pageMap; }
    int taskCount() const { return m_taskCount; }
    QStandardItemModel *stepModel() const { return m_stepModel; }
    QStandardItemModel *listModel() const { return m_listModel; }
    // Feeds definitions instead of the database's list (tests); nullopt goes back to the database.
    void setDefinitionsForTest(std::optional<QList<RecordItem>> definitions);

signals:
    void searchFinishSigal();
    void paramUnitChanged();

public slots:
    void onTaskParamTableItemChanged(QStandardItem *item);
    void onDeviceChanged(DeviceEnum devType);
    void onRealTimeAddrRead(int addr, int val);
    void onMenuClicked(bool checked);
    void onSearchSignal(int cmd, QString match);
    void searchProcess();
    void readAppParams();
    void writeAppParams();
    void readTaskParams();
    void writeTaskParams();
    void process();

private slots:
    void on_readFromDevBtn_clicked();
    void on_writeToDevBtn_clicked();
    void on_writeModifyBtn_clicked();
    void on_saveParamBtn_clicked();
    void on_openParamBtn_clicked();
    void on_resetDefaultBtn_clicked();
    void on_realTimeReadBtn_clicked(bool checked);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    enum class PassState { Start, Issue, Wait, Idle };
    enum class SearchState { Start, Running, Idle };
    // The four passes, in the order the timer steps them.
    enum Pass { ReadList, WriteList, ReadSteps, WriteSteps, PassCount };

    // Where a pass stands: the cell it is at and the register it waits for.
    struct Cursor {
        PassState state = PassState::Idle;
        int row = 0;
        int col = 1;
        Uint16 addr = 0;
        Uint16 value = 0;
        QString label;                  // names the cell in messages
        QString text;                   // the cell's text the request took
        QPersistentModelIndex target;   // the cell the answer goes to; gone when the page is rebuilt
        RegisterWait wait;
        bool refused = false;           // the last request of this cell was refused
    };

    void stepPass(Pass pass);
    bool prepareCell(Pass pass, Cursor &c);
    void finishCell(Pass pass, Cursor &c, bool received);
    void advance(Pass pass, Cursor &c) const;
    void setPasses(bool read, bool write);
    void endPasses();
    void setRealTime(bool on);
    void wakeTimer();
    bool tickCanChangeAnything() const;
    bool confirmReadAfterImport();
    void reportNotWritten();
    void applyTorqueUnit();
    void holdTypedValue(QStandardItem *typed, int typedIn);
    void releaseTypedValue(QStandardItem *typed);
    void onValueCommitted(const QModelIndex &index);
    void tellHeldValues();
    void deselect(const QModelIndex &index);
    bool placeParamRow(int row, const RecordItem &definition);
    static QPixmap rotatedPixmap(const QPixmap &image, int angle);
    static int pageSlave();
    const QList<RecordItem> &definitions() const;
    QList<QPushButton *> menuButtons(const QString &prefix, int count) const;
    static void showNames(const QList<QPushButton *> &buttons, const QStringList &names);
    static QPushButton *checkedButton(const QList<QPushButton *> &buttons);
    void keepSingleCheck(QPushButton *clicked);
    QList<int> keysOf(const QString &path) const;
    bool protectedPageAllowed();
    QString cachedValueText(const RecordItem &definition, const QVariant &editorConfig) const;
    // Hands the number of tasks to the tool bar's and the work records' task lists once those exist.
    void announceTaskCount(int count);

    Ui::AppParamFrame *ui;
    QStandardItemModel *m_stepModel = nullptr;
    QStandardItemModel *m_listModel = nullptr;
    CustomItemDelegate *m_delegate = nullptr;
    QMap<int, QString> m_pageMap;
    QList<QPushButton *> m_menuButtons;     // single-level pages
    QList<QPushButton *> m_level1Buttons;   // tasks
    QList<QPushButton *> m_level2Buttons;   // pages of a task
    int m_taskCount = 0;
    bool m_filling = false;
    // Protected pages: the password is asked once until an ordinary page is opened.
    bool m_askPassword = true;
    bool m_passwordAccepted = false;
    QPushButton *m_lastLevel2 = nullptr;
    bool m_returning = false;
    std::optional<QList<RecordItem>> m_testDefinitions;

    QTimer m_timer;
    QPixmap m_refreshPixmap;
    int m_refreshAngle = 0;
    bool m_stepping = false;
    bool m_imported = false;
    bool m_realTime = false;
    bool m_writeAll = false;    // write the current values of all cells, not only new and modified ones
    Cursor m_passes[PassCount];
    QStringList m_notWritten;   // cells the write passes could not write, told when both are done
    int m_torqueIndex = 0;      // the torque unit the list's torque rows show
    bool m_heldNoticeQueued = false;
    QString m_searchText;
    SearchState m_searchState = SearchState::Idle;
    int m_searchIndex = 0;
    int m_searchRow = 0;

    static AppParamFrame *s_instance;
};

// Value texts of the parameter tables ("+" signed, "16#" hexadecimal, "2#" binary), as the
// servo parameter page writes them.
QString formatValueText(uint value, int width, int decimals, int format);
int parseValueText(QString text, uint &value, int decimals);

#endif // APPPARAMFRAME_H
