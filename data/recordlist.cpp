#include "data/recordlist.h"

#include <QDebug>

#include <algorithm>
#include <numeric>

namespace {
constexpr int kMaxPacked = 0xFFFF;   // offsets are 16-bit
} // namespace

RecordRow::RecordRow(const QStringList &columns, const QStringList &fields)
{
    QVector<QString> texts(columns.size());
    for (int i = 0; i < texts.size(); ++i)
        texts[i] = fields.value(i);
    *this = fromFields(columns, texts.constData());
}

RecordRow RecordRow::fromFields(const QStringList &columns, const QString *fields)
{
    RecordRow row;
    row.m_columns = columns;
    const int n = columns.size();
    QVector<int> sizes(n);
    int length = n + qMax(0, n - 1);
    for (int i = 0; i < n; ++i)
        length += sizes[i] = fields[i].size();
    if (length > kMaxPacked) {
        // No field the program writes comes near this; a table from elsewhere might. The longest
        // fields are cut and the short ones kept whole, so that every field keeps its place.
        QVector<int> order(n);
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(), [&sizes](int a, int b) { return sizes[a] < sizes[b]; });
        int budget = kMaxPacked - (n + qMax(0, n - 1));
        for (int k = 0; k < n; ++k) {
            int &size = sizes[order[k]];
            size = qMin(size, qMax(0, budget) / (n - k));
            budget -= size;
        }
        qWarning() << "Record fields cut to fit" << kMaxPacked << "characters in all";
    }
    QString &packed = row.m_packed;
    packed.resize(qMin(length, kMaxPacked));
    QChar *out = packed.data();
    int end = n;
    for (int i = 0; i < n; ++i) {
        if (i > 0)
            out[end++] = kSeparator;
        std::copy(fields[i].constData(), fields[i].constData() + sizes[i], out + end);
        end += sizes[i];
        out[i] = QChar(ushort(end));
    }
    packed.truncate(qMax(end, n));
    return row;
}

RecordRow RecordRow::fromText(const QStringList &columns, QString text)
{
    RecordRow row;
    const int n = columns.size();
    if (n == 0 || text.size() < n || text.size() > kMaxPacked)
        return row;
    QChar *data = text.data();
    int field = 0;
    for (int i = n; i < text.size(); ++i) {
        if (data[i] != kSeparator)
            continue;
        if (field + 1 >= n)
            return row;   // a separator inside a field
        data[field++] = QChar(ushort(i));
    }
    if (field != n - 1)
        return row;
    data[field] = QChar(ushort(text.size()));
    row.m_packed = text;
    row.m_columns = columns;
    return row;
}

QStringRef RecordRow::field(int column) const
{
    if (column < 0 || column >= m_columns.size() || m_packed.isNull())
        return QStringRef();
    const int start = column == 0 ? m_columns.size() : m_packed.at(column - 1).unicode() + 1;
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

QList<RecordItem> RecordList::mid(int pos, int len) const
{
    const int from = qMax(pos, 0);
    const int to = len < 0 ? size() : qMin(size(), from + len);
    QList<RecordItem> items;
    for (int i = from; i < to; ++i)
        items.append(at(i));
    return items;
}

void RecordList::removeFirst(int count)
{
    m_rows.remove(0, qBound(0, count, m_rows.size()));
}

void RecordList::reverse()
{
    std::reverse(m_rows.begin(), m_rows.end());
}
