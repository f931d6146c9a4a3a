#ifndef CSVEXPORT_H
#define CSVEXPORT_H

#include "data/recordlist.h"

#include <QList>
#include <QObject>
#include <QSaveFile>
#include <QStringList>
#include <QTimer>
#include <QVector>
#include <functional>

// Writes records to a CSV file a slice at a time from the event loop, so that a long table never
// holds the window: a line of header texts, then one line per record, every field quoted with
// embedded quotes doubled, lines ending in "\n", UTF-8 without a byte-order mark. The file is
// replaced only once it is completely written, so a failure leaves the old one whole. A table of
// a thousand records or fewer is written at once.
class CsvExport : public QObject
{
    Q_OBJECT
public:
    using TextFunction = std::function<QString(const RecordRow &record, int column)>;

    // header: one text per column written; text: the field of a record in one of the columns.
    CsvExport(const QString &fileName, const QStringList &header, const QVector<RecordRow> &records,
              const QList<int> &columns, TextFunction text, QObject *parent = nullptr);

    // Opens the file and writes the first slice; finished() may come before this returns.
    void start();
    // Writes what is left at once, for a table that is going away.
    void finishNow();

signals:
    // Once: the file is in place, or the export failed (logged with its cause).
    void finished(bool ok);

private:
    void step(bool all);
    void appendLine(QString &text, const std::function<QString(int column)> &field) const;
    void end(bool written);

    QSaveFile m_file;
    QString m_headerLine;
    QVector<RecordRow> m_records;
    QList<int> m_columns;
    TextFunction m_text;
    QTimer m_timer;
    int m_next = 0;
    bool m_sliced = false;      // more than one slice: the window has run meanwhile
};

#endif // CSVEXPORT_H
