#include "app/recordsearch.h"

#include "app/recordtablemodel.h"
#include "data/databasemanager.h"

#include <QAbstractItemView>
#include <QElapsedTimer>

namespace {
// Well under a frame, so that typing and painting go on while a long history is searched.
constexpr qint64 kTickBudgetMs = 15;
} // namespace

RecordSearch::RecordSearch(RecordTableModel *model, QAbstractItemView *view, ListAccessor records, MatchFunction match,
                           int intervalMs, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_view(view)
    , m_records(records)
    , m_match(std::move(match))
{
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, &RecordSearch::step);
}

void RecordSearch::command(int cmd, const QString &match, bool pageShown)
{
    if (cmd == 2) {
        stop();
        return;
    }
    if (cmd != 0 || !pageShown)
        return;
    m_model->clearContents();
    m_view->scrollToTop();
    m_text = match;
    if (match.isEmpty()) {
        emit finished();
        return;
    }
    m_state = State::Start;
    m_timer.start();
    m_resultShown = true;
}

void RecordSearch::step()
{
    const RecordList &records = (DatabaseManager::instance()->*m_records)();
    switch (m_state) {
    case State::Idle:
        break;
    case State::Start:
        m_row = 0;
        m_index = records.size() - 1;
        m_tested = false;
        m_state = State::Running;
        break;
    case State::Running: {
        QElapsedTimer clock;
        clock.start();
        QVector<RecordTableModel::Row> found;
        m_index = nextIndex(records);
        const int idColumn = records.columns().indexOf(QStringLiteral("id"));
        for (int n = 0; m_index >= 0; ++n) {
            if ((n & 63) == 0 && n > 0 && clock.elapsed() >= kTickBudgetMs)
                break;
            RecordTableModel::Row row;
            row.record = records.row(m_index);
            m_tested = idColumn >= 0;
            m_lastId = records.field(m_index--, idColumn).toLongLong();
            for (int column : m_match(row.record, m_text))
                row.redColumns |= column >= 0 && column < 32 ? 1u << column : 0u;
            if (row.redColumns)
                found.append(row);
        }
        m_model->replaceRows(m_row, found);
        m_row += found.size();
        if (m_index < 0) {
            stop();
            emit finished();
        }
        break;
    }
    }
}

// Records are added at the end and the oldest trimmed from the front, so an index of the last tick
// may point at a record tested already. Ids grow with every record: the search goes on at the
// newest record older than the last one tested.
int RecordSearch::nextIndex(const RecordList &records) const
{
    const int idColumn = records.columns().indexOf(QStringLiteral("id"));
    if (!m_tested || idColumn < 0)
        return qMin(m_index, records.size() - 1);
    int i = qMin(m_index + 1, records.size() - 1);
    while (i >= 0 && records.field(i, idColumn).toLongLong() >= m_lastId)
        --i;
    return i;
}

void RecordSearch::stop()
{
    m_timer.stop();
    m_state = State::Idle;
}

void RecordSearch::clearResult()
{
    // A search still running would go on writing its results over the full list.
    if (m_state != State::Idle) {
        stop();
        emit finished();
    }
    m_resultShown = false;
}
