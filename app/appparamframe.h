#ifndef APPPARAMFRAME_H
#define APPPARAMFRAME_H

#include "comm/deviceenum.h"
#include "data/recorditem.h"

#include <QFrame>
#include <QList>
#include <QMap>
#include <QString>
#include <QVariant>
#include <optional>

namespace Ui { class AppParamFrame; }
class CustomItemDelegate;
class QPushButton;
class QStandardItem;
class QStandardItemModel;

// The screwdriver controller's application parameters. Everything the page shows comes from the
// definition rows (DatabaseManager::appParams()): a two-level menu of tasks and their pages, and
// for the page picked, a step table (left) and a parameter list (right).
class AppParamFrame : public QFrame
{
    Q_OBJECT
public:
    // Item roles of the step table's parameter cells.
    enum ItemRole { AddressRole = Qt::UserRole + 5, ModifiedRole = Qt::UserRole + 6 };
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

    // Entries separated by "&&", each "key/path". Malformed entries are left out; their
    // descriptions go to errors when it is given.
    static QList<PageEntry> parseGroup(const QString &group, QStringList *errors = nullptr);
    // "table1/row N/col M" or "table2"; Nowhere (with a reason in error) for anything else.
    static Placement parseTableInfo(const QString &tableInfo, QString *error = nullptr);
    // Why a definition cannot be shown (bad address or range); empty when it can.
    static QString definitionProblem(const RecordItem &definition);
    static QVariant rangeEditorConfig(const QString &range);
    // A cached register value as the tables show it: scaled by the decimals of the editor
    // configuration, and read as signed 16-bit when its minimum is below 0.
    static QString registerValueText(quint16 raw, const QVariant &editorConfig);

    void initMenu();
    void buildPageTables(QList<int> keys);
    void setParamRow(int row, RecordItem definition);
    void setTaskCell(int row, int col, RecordItem definition);
    void appendEmptyRows(int kind, int row, int count);

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
    void onSearchSignal(int type, QString text);

protected:
    void showEvent(QShowEvent *event) override;

private:
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

    static AppParamFrame *s_instance;
};

#endif // APPPARAMFRAME_H
