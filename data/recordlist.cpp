#include "data/recordlist.h"

#include <QDebug>

#include <algorithm>

RecordRow::RecordRow(const QStringList &columns, const QStringList &fields)
    : m_columns(columns)
{
    const int n = columns.size();
    int length = n;
    for (int i = 0; i < n; ++i)
        length += fields.value(i).size();
    m_packed.reserve(length);
    m_packed.resize(n);
    for (int i = 0; i < n; ++i) {
        QString text = fields.value(i);
        // Offsets are 16-bit; no field the program writes comes near this.
        const int room = 0xFFFF - m_packed.size();
        if (text.size() > room) {
            qWarning() << "Record field" << columns.at(i) << "cut to fit" << room << "characters";
            text.truncate(qMax(0, room));
        }
        m_packed += text;
        m_packed[i] = QChar(ushort(m_packed.size()));
    }
}

QStringRef RecordRow::field(int column) const
{
    if (column < 0 || column >= m_columns.size() || m_packed.isNull())
        return QStringRef();
    const int start = column == 0 ? m_columns.size() : m_packed.at(column - 1).unicode();
    return m_packed.midRef(start, m_packed.at(column).unicode() - start);
}

RecordItem RecordRow::toRecordItem() const
{
    RecordItem item;
    if (isNull())
        return item;
    for (int i = 0; i < m_columns.size(); ++i)
        item.insert(m_columns.at(i), field(i).toString());
    return item;
}

void RecordList::append(const RecordItem &record)
{
    QStringList fields;
    fields.reserve(m_columns.size());
    for (const QString &column : m_columns)
        fields << record.value(column).toString();
    append(fields);
}

void RecordList::removeFirst(int count)
{
    m_rows.remove(0, qBound(0, count, m_rows.size()));
}

void RecordList::reverse()
{
    std::reverse(m_rows.begin(), m_rows.end());
}
