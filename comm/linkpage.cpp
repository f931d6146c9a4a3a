#include "comm/linkpage.h"

#include "widgets/prompt.h"

#include <QCheckBox>
#include <QHideEvent>
#include <QPlainTextEdit>
#include <QRegularExpression>

LinkPage::LinkPage(QWidget *parent)
    : QFrame(parent)
{
}

void LinkPage::setTrafficWidgets(QPlainTextEdit *view, QCheckBox *hexView, QCheckBox *debugBox)
{
    m_view = view;
    m_hexView = hexView;
    m_debugBox = debugBox;
}

QByteArray LinkPage::takeReceived()
{
    QByteArray data;
    data.swap(m_received);
    return data;
}

bool LinkPage::sendBytes(const QByteArray &data)
{
    if (m_debugMode || !writeRaw(data))
        return false;
    showTraffic(QStringLiteral("TX: "), data);
    return true;
}

void LinkPage::setDebugMode(bool on)
{
    if (on == m_debugMode)
        return;
    emit debugModeAboutToChange(on);
    m_debugMode = on;
    // Bytes that arrived for the engine before the switch belong to an exchange it no longer owns.
    m_received.clear();
    if (m_debugBox)
        m_debugBox->setChecked(on);
    updateControls();
    emit debugModeChanged(on);
}

void LinkPage::appendDiagnostic(const QString &text)
{
    showLine(text);
}

void LinkPage::deliver(const QByteArray &data)
{
    if (data.isEmpty())
        return;
    if (m_debugMode) {
        if (m_view)
            m_view->appendPlainText(formatBytes(data, hexView()));
        return;
    }
    m_received.append(data);
    showTraffic(QStringLiteral("RX: "), data);
    emit bytesArrived();
}

void LinkPage::showLine(const QString &line)
{
    if (m_view && m_view->isVisible())
        m_view->appendPlainText(line);
}

// Every frame passes here; the text is only built for a view someone can see.
void LinkPage::showTraffic(const QString &prefix, const QByteArray &data)
{
    if (m_view && m_view->isVisible())
        m_view->appendPlainText(prefix + formatBytes(data, hexView()));
}

bool LinkPage::hexView() const
{
    return m_hexView && m_hexView->isChecked();
}

void LinkPage::hideEvent(QHideEvent *event)
{
    // A debug mode left on behind a closed page would starve the engine with nothing on screen to say why.
    if (!event->spontaneous())
        setDebugMode(false);
    QFrame::hideEvent(event);
}

void LinkPage::on_debugCheckBox_toggled(bool checked)
{
    setDebugMode(checked);
}

void LinkPage::on_clearButton_clicked()
{
    if (m_view)
        m_view->clear();
}

QString LinkPage::formatBytes(const QByteArray &data, bool hex)
{
    return hex ? QString::fromLatin1(data.toHex(' ').toUpper()) : QString::fromUtf8(data);
}

bool LinkPage::parseHex(const QString &text, QByteArray *out)
{
    static const QRegularExpression separators(QStringLiteral("\\s+"));
    static const QRegularExpression hexDigits(QStringLiteral("^[0-9A-Fa-f]+$"));
    QByteArray bytes;
    const QStringList tokens = text.split(separators, Qt::SkipEmptyParts);
    for (QString token : tokens) {
        if (!hexDigits.match(token).hasMatch())
            return false;
        // "1 3" means 01 03; a longer odd run such as "0c0" has no single reading.
        if (token.size() == 1)
            token.prepend(QLatin1Char('0'));
        if (token.size() % 2)
            return false;
        bytes.append(QByteArray::fromHex(token.toLatin1()));
    }
    *out = bytes;
    return true;
}

bool LinkPage::bytesFromInput(QWidget *parent, const QString &text, bool hex, QByteArray *out)
{
    if (!hex) {
        *out = text.toUtf8();
        return true;
    }
    if (parseHex(text, out))
        return true;
    Prompt::warning(parent, tr("Tips"), tr("Invalid hex text!"));
    return false;
}
