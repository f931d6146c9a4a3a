#ifndef RECORDSEARCH_H
#define RECORDSEARCH_H

#include "app/recordtablemodel.h"
#include "data/recordlist.h"

#include <QList>
#include <QObject>
#include <QTimer>
#include <functional>

class DatabaseManager;
class QAbstractItemView;

// The text search of the alarm and work record pages. It tests the stored records newest first,
// for a few milliseconds per timer tick so that the window stays responsive, and fills the table
// from the top with the records that match, their matching cells red, one table change per tick.
// The page says which cells match.
class RecordSearch : public QObject
{
    Q_OBJECT
public:
    using ListAccessor = const RecordList &(DatabaseManager::*)() const;
    // The columns of the record whose text contains the search text; empty for no match.
    using MatchFunction = std::function<QList<int>(const RecordRow &record, const QString &text)>;

    RecordSearch(RecordTableModel *model, QAbstractItemView *view, ListAccessor records, MatchFunction match,
                 int intervalMs, QObject *parent = nullptr);

    // cmd 0 starts a search for match when the page is shown, 2 stops it and leaves the table as
    // it is. An empty match empties the table and finishes at once.
    void command(int cmd, const QString &match, bool pageShown);
    // One tick; the timer calls it, tests may too.
    void step();
    // Stops a running search, reporting it finished, and leaves the result mode.
    void clearResult();

    // While a search or query result is on the table, new records are stored but not shown.
    bool isResultShown() const { return m_resultShown; }
    void setResultShown(bool shown) { m_resultShown = shown; }

signals:
    void finished();

private:
    enum class State { Start, Running, Idle };

    void stop();
    // Where the search goes on: the list may have lost its oldest records since the last tick.
    int nextIndex(const RecordList &records) const;

    RecordTableModel *m_model;
    QAbstractItemView *m_view;
    ListAccessor m_records;
    MatchFunction m_match;
    QTimer m_timer;
    QString m_text;
    State m_state = State::Idle;
    bool m_resultShown = false;
    int m_row = 0;          // next result row
    int m_index = -1;       // next record to test, counting down from the newest
    bool m_tested = false;  // m_lastId holds the id of the last record tested
    qint64 m_lastId = 0;
};

#endif // RECORDSEARCH_H
