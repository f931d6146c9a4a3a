#include "app/recordsearch.h"

#include "app/recordtablemodel.h"
#include "data/databasemanager.h"

#include <QAbstractItemView>

RecordSearch::RecordSearch(RecordTableModel *model, QAbstractItemView *view, RecordList records, MatchFunction match,
                           int recordsPerTick, int intervalMs, QObject *parent)
    : QObject(parent)
    , m_model(model)
    , m_view(view)
    , m_records(records)
    , m_match(std::move(match))
    , m_recordsPerTick(qMax(1, recordsPerTick))
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
    const QList<RecordItem> &records = (DatabaseManager::instance()->*m_records)();
    switch (m_state) {
    case State::Idle:
        break;
    case State::Start:
        m_row = 0;
        m_index = records.size() - 1;
        m_state = State::Running;
        break;
    case State::Running:
        for (int n = 0; n < m_recordsPerTick; ++n) {
            // The list may have shrunk since the last test (cleared, device changed, trimmed).
            m_index = qMin(m_index, records.size() - 1);
            if (m_index < 0) {
                stop();
                emit finished();
                break;
            }
            showIfFound(records.at(m_index--));
        }
        break;
    }
}

void RecordSearch::showIfFound(const RecordItem &record)
{
    const QList<int> columns = m_match(record, m_text);
    if (columns.isEmpty())
        return;
    m_model->replaceRecordRow(m_row, record);
    for (int column : columns)
        m_model->setRed(m_row, column);
    ++m_row;
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
