#include "app/recordtablemodel.h"

#include "app/csvexport.h"

#include <QColor>
#include <QLabel>

RecordTableModel::RecordTableModel(int columns, TextFunction text, ToolTipFunction toolTip, QObject *parent)
    : QAbstractTableModel(parent)
    , m_columns(columns)
    , m_text(std::move(text))
    , m_toolTip(std::move(toolTip))
{
}

void RecordTableModel::showPendingWarning(QLabel *label, int pending)
{
    label->setText(tr("%n record(s) not stored yet: the database file cannot be written. "
                      "They are kept and stored as soon as it can.", nullptr, pending));
    label->setVisible(pending > 0);
}

int RecordTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int RecordTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_columns;
}

QVariant RecordTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !hasRecord(index.row()))
        return QVariant();
    const Row &row = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return m_text(row.record, index.column());
    case Qt::ToolTipRole:
        return m_toolTip(row.record);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::ForegroundRole:
        return isRed(index.row(), index.column()) ? QVariant(QColor(Qt::red)) : QVariant();
    default:
        return QVariant();
    }
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return headerText(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void RecordTableModel::setHeaderTexts(const QStringList &texts)
{
    m_headers = texts;
    if (m_columns > 0)
        emit headerDataChanged(Qt::Horizontal, 0, m_columns - 1);
}

QString RecordTableModel::headerText(int column) const
{
    return m_headers.value(column);
}

void RecordTableModel::setRowCount(int rows)
{
    rows = qMax(0, rows);
    if (rows > m_rows.size()) {
        insertEmptyRows(m_rows.size(), rows - m_rows.size());
    } else if (rows < m_rows.size()) {
        beginRemoveRows(QModelIndex(), rows, m_rows.size() - 1);
        m_rows.resize(rows);
        endRemoveRows();
    }
}

void RecordTableModel::insertEmptyRows(int row, int count)
{
    if (count <= 0 || row < 0 || row > m_rows.size())
        return;
    beginInsertRows(QModelIndex(), row, row + count - 1);
    m_rows.insert(row, count, Row());
    endInsertRows();
}

void RecordTableModel::insertRecordRow(int row, const RecordRow &record)
{
    if (row < 0 || row > m_rows.size())
        return;
    Row r;
    r.record = record;
    beginInsertRows(QModelIndex(), row, row);
    m_rows.insert(row, r);
    endInsertRows();
}

void RecordTableModel::prependRecord(const RecordRow &record, int rowLimit)
{
    insertRecordRow(0, record);
    if (m_rows.size() > rowLimit)
        setRowCount(rowLimit);
}

void RecordTableModel::replaceRows(int first, const QVector<Row> &rows)
{
    if (first < 0 || first > m_rows.size() || rows.isEmpty())
        return;
    // In place: same cells as removing the rows and inserting new ones, without moving the view.
    const int inPlace = qMin(rows.size(), m_rows.size() - first);
    for (int i = 0; i < inPlace; ++i)
        m_rows[first + i] = rows.at(i);
    if (inPlace > 0)
        emit dataChanged(index(first, 0), index(first + inPlace - 1, m_columns - 1));
    if (inPlace < rows.size()) {
        beginInsertRows(QModelIndex(), m_rows.size(), first + rows.size() - 1);
        m_rows += rows.mid(inPlace);
        endInsertRows();
    }
}

void RecordTableModel::clearContents()
{
    beginResetModel();
    for (Row &row : m_rows)
        row = Row();
    endResetModel();
}

void RecordTableModel::showRows(const QVector<Row> &rows)
{
    beginResetModel();
    const int count = qMax(m_rows.size(), rows.size());
    m_rows = rows;
    m_rows.resize(count);
    endResetModel();
}

void RecordTableModel::showNewestFirst(const RecordList &records)
{
    QVector<Row> rows(records.size());
    for (int i = 0; i < rows.size(); ++i)
        rows[i].record = records.row(records.size() - 1 - i);
    showRows(rows);
}

bool RecordTableModel::hasRecord(int row) const
{
    return row >= 0 && row < m_rows.size() && !m_rows.at(row).record.isNull();
}

RecordRow RecordTableModel::record(int row) const
{
    return hasRecord(row) ? m_rows.at(row).record : RecordRow();
}

QString RecordTableModel::cellText(int row, int column) const
{
    if (!hasRecord(row) || column < 0 || column >= m_columns)
        return QString();
    return m_text(m_rows.at(row).record, column);
}

bool RecordTableModel::isRed(int row, int column) const
{
    return hasRecord(row) && column >= 0 && column < 32 && (m_rows.at(row).redColumns & (1u << column));
}

void RecordTableModel::refreshTexts()
{
    if (!m_rows.isEmpty() && m_columns > 0)
        emit dataChanged(index(0, 0), index(m_rows.size() - 1, m_columns - 1));
}

void RecordTableModel::exportCsv(const QString &fileName, const QList<int> &columns, const std::function<void(bool ok)> &done,
                                 const TextFunction &text)
{
    QStringList header;
    for (int column : columns)
        header << headerText(column);
    QVector<RecordRow> records;
    records.reserve(m_rows.size());
    for (const Row &row : qAsConst(m_rows)) {
        if (!row.record.isNull())
            records.append(row.record);
    }
    auto *job = new CsvExport(fileName, header, records, columns, text ? text : m_text, this);
    connect(job, &CsvExport::finished, this, [job, done](bool ok) {
        job->deleteLater();
        if (done)
            done(ok);
    });
    job->start();
}

void RecordTableModel::finishExports(bool quiet)
{
    for (CsvExport *job : findChildren<CsvExport *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (quiet)
            disconnect(job, nullptr, this, nullptr);
        job->finishNow();
        if (quiet)
            delete job;
    }
}
