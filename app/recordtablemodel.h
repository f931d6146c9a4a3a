#ifndef RECORDTABLEMODEL_H
#define RECORDTABLEMODEL_H

#include "data/recordlist.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QVector>
#include <functional>

class QLabel;

// The table behind the alarm and work record pages. It behaves like a table of cells: a row holds
// one record or is empty (an empty row has no cells, so exports skip it), cells of a row can be
// marked red, and the texts come from the page, so they follow the language and the torque unit.
// Texts are made when a cell is drawn, which keeps 100000 records cheap to show.
class RecordTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The page's warning that records wait to be stored; hidden when none do.
    static void showPendingWarning(QLabel *label, int pending);

    using TextFunction = std::function<QString(const RecordRow &record, int column)>;
    using ToolTipFunction = std::function<QString(const RecordRow &record)>;

    // A row without a record is empty.
    struct Row {
        RecordRow record;
        quint32 redColumns = 0;     // bit i: column i is drawn red
    };

    RecordTableModel(int columns, TextFunction text, ToolTipFunction toolTip, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void setHeaderTexts(const QStringList &texts);
    QString headerText(int column) const;

    // Adds empty rows at the bottom or removes rows from the bottom.
    void setRowCount(int rows);
    void insertEmptyRows(int row, int count);
    void insertRecordRow(int row, const RecordRow &record);
    // A new record on top; rows past rowLimit drop off the bottom.
    void prependRecord(const RecordRow &record, int rowLimit);
    // Rows from `first` on replaced (or added past the end) as one change, so that a batch of
    // search results redraws once.
    void replaceRows(int first, const QVector<Row> &rows);
    // Empties every row; the row count stays.
    void clearContents();
    // Empties every row and fills rows 0, 1, 2... from the list, adding rows where needed: one
    // model reset instead of one insertion per record.
    void showRows(const QVector<Row> &rows);
    // The stored records, oldest first in the list, shown newest first.
    void showNewestFirst(const RecordList &records);

    bool hasRecord(int row) const;
    RecordRow record(int row) const;
    // The cell's text; empty for an empty row.
    QString cellText(int row, int column) const;
    bool isRed(int row, int column) const;
    // Texts depend on the unit and the language: redraw them all.
    void refreshTexts();

    // Writes the header line and one line per filled row, the given columns only, as CsvExport
    // does: rows as shown now, a slice at a time while the window goes on. done(ok) is called once,
    // perhaps before this returns; a failure is logged with its cause. text, when given, makes the
    // cells' texts in place of the table's own: the page's texts as they are now, which a page
    // rebuilt meanwhile does not change.
    void exportCsv(const QString &fileName, const QList<int> &columns, const std::function<void(bool ok)> &done,
                   const TextFunction &text = TextFunction());
    // Writes the rest of every export still running at once, before the texts change, or quietly for
    // a page that is going away: nobody is left to tell, and a failure is logged.
    void finishExports(bool quiet = false);

private:
    int m_columns;
    TextFunction m_text;
    ToolTipFunction m_toolTip;
    QStringList m_headers;
    QVector<Row> m_rows;
};

#endif // RECORDTABLEMODEL_H
