#ifndef RECORDLIST_H
#define RECORDLIST_H

#include "data/recorditem.h"

#include <QString>
#include <QStringList>
#include <QStringRef>
#include <QVector>

#include <iterator>

// One stored record held compactly: a single text that starts with the end offset of each field
// and then holds the fields, one separator between two, plus the (shared) column names. A hundred
// thousand of them cost a few tens of megabytes, where a map of texts per record costs over a
// hundred.
class RecordRow
{
public:
    // Between two fields. Offsets, not this character, mark where a field ends.
    static constexpr QChar kSeparator = QChar(0x1F);

    RecordRow() = default;
    // fields in the order of columns; missing fields are empty.
    RecordRow(const QStringList &columns, const QStringList &fields);
    // fields holds one text per column; the loader's way, without a list per row.
    static RecordRow fromFields(const QStringList &columns, const QString *fields);
    // text: as many placeholder characters as columns, then the fields joined by kSeparator, as
    // the loader's query returns a row. Null when a field holds the separator itself or the text
    // is too long for 16-bit offsets: the caller reads that table field by field.
    static RecordRow fromText(const QStringList &columns, QString text);

    bool isNull() const { return m_packed.isNull(); }
    const QStringList &columns() const { return m_columns; }
    int columnIndex(const QString &name) const { return m_columns.indexOf(name); }
    // Empty for a column out of range.
    QStringRef field(int column) const;
    QString value(const QString &name) const { return field(columnIndex(name)).toString(); }
    RecordItem toRecordItem() const;

private:
    QString m_packed;
    QStringList m_columns;
};
Q_DECLARE_TYPEINFO(RecordRow, Q_MOVABLE_TYPE);

// The rows of one record table, oldest first. Reading a row as a RecordItem builds it on demand.
class RecordList
{
public:
    // Walks the rows oldest first, building each RecordItem as it is reached: a loop over a hundred
    // thousand records never holds them all as maps at once.
    class const_iterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = RecordItem;
        using difference_type = int;
        using pointer = void;
        using reference = RecordItem;

        const_iterator() = default;
        const_iterator(const RecordList *list, int index) : m_list(list), m_index(index) {}
        RecordItem operator*() const { return m_list->at(m_index); }
        const_iterator &operator++() { ++m_index; return *this; }
        const_iterator operator++(int) { const_iterator old = *this; ++m_index; return old; }
        bool operator==(const const_iterator &other) const { return m_list == other.m_list && m_index == other.m_index; }
        bool operator!=(const const_iterator &other) const { return !(*this == other); }

    private:
        const RecordList *m_list = nullptr;
        int m_index = 0;
    };

    RecordList() = default;
    explicit RecordList(const QStringList &columns) : m_columns(columns) {}

    const QStringList &columns() const { return m_columns; }
    int size() const { return m_rows.size(); }
    int count() const { return m_rows.size(); }
    bool isEmpty() const { return m_rows.isEmpty(); }

    RecordItem at(int i) const { return row(i).toRecordItem(); }
    RecordItem first() const { return at(0); }
    RecordItem last() const { return at(size() - 1); }
    RecordRow row(int i) const { return i >= 0 && i < size() ? m_rows.at(i) : RecordRow(); }
    QStringRef field(int i, int column) const { return m_rows.at(i).field(column); }
    // As QList::mid: the rows from pos on (len of them, all when negative), built as RecordItems.
    QList<RecordItem> mid(int pos, int len = -1) const;
    const_iterator begin() const { return const_iterator(this, 0); }
    const_iterator end() const { return const_iterator(this, size()); }

    void reserve(int rows) { m_rows.reserve(rows); }
    void append(const QStringList &fields) { m_rows.append(RecordRow(m_columns, fields)); }
    void append(const RecordRow &row) { m_rows.append(row); }
    void append(const RecordItem &record);
    void setRow(int i, const RecordRow &row)
    {
        if (i >= 0 && i < size())
            m_rows[i] = row;
    }
    void removeFirst(int count);
    // Loaders read newest first; this turns the list around once.
    void reverse();
    void clear() { m_rows.clear(); }

private:
    QStringList m_columns;
    QVector<RecordRow> m_rows;
};

#endif // RECORDLIST_H
