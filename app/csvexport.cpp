#include "app/csvexport.h"

#include <QDebug>
#include <QElapsedTimer>
#include <QFileInfo>

namespace {
// Well under what a person notices as a stall; the window runs between two slices.
constexpr qint64 kSliceBudgetMs = 20;
// Written per slice whatever the time, so that a short table is done within the click.
constexpr int kRowsAtOnce = 1000;

QString csvField(QString text)
{
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}
} // namespace

CsvExport::CsvExport(const QString &fileName, const QStringList &header, const QVector<RecordRow> &records,
                     const QList<int> &columns, TextFunction text, QObject *parent)
    : QObject(parent)
    , m_file(fileName)
    , m_records(records)
    , m_columns(columns)
    , m_text(std::move(text))
{
    appendLine(m_headerLine, [&header](int column) { return header.value(column); });
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, [this] { step(false); });
}

void CsvExport::start()
{
    // Unbuffered: each slice reaches the file as it is written, so a full disk shows in that write.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        qWarning() << "Cannot" << (QFileInfo::exists(m_file.fileName()) ? "open" : "create") << m_file.fileName()
                   << m_file.errorString();
        emit finished(false);
        return;
    }
    step(false);
}

void CsvExport::finishNow()
{
    if (m_file.isOpen())
        step(true);
}

void CsvExport::step(bool all)
{
    m_timer.stop();
    if (m_next < m_records.size() || !m_headerLine.isEmpty()) {
        QElapsedTimer clock;
        clock.start();
        QString text = std::exchange(m_headerLine, QString());
        for (int n = 1; m_next < m_records.size(); ++n) {
            const RecordRow &record = m_records.at(m_next++);
            appendLine(text, [this, &record](int column) { return m_text(record, m_columns.at(column)); });
            if (!all && n >= kRowsAtOnce && n % 64 == 0 && clock.elapsed() >= kSliceBudgetMs)
                break;
        }
        const QByteArray bytes = text.toUtf8();
        if (m_file.write(bytes) != bytes.size()) {
            end(false);
            return;
        }
        m_sliced = m_sliced || m_next < m_records.size();
        // A long export puts its file in place, which syncs it to the disk, in a tick of its own.
        if (m_sliced && !all) {
            m_timer.start();
            return;
        }
    }
    end(true);
}

// field: the text of the i-th column written.
void CsvExport::appendLine(QString &text, const std::function<QString(int column)> &field) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        text += csvField(field(i));
        text += i + 1 < m_columns.size() ? QLatin1Char(',') : QLatin1Char('\n');
    }
}

void CsvExport::end(bool written)
{
    // A file that was not written completely is thrown away, and the old one stays.
    const QString writeError = m_file.errorString();
    if (!written)
        m_file.cancelWriting();
    const bool ok = m_file.commit();
    if (!ok)
        qWarning() << "Cannot write" << m_file.fileName() << (written ? m_file.errorString() : writeError);
    m_records.clear();
    emit finished(ok);
}
