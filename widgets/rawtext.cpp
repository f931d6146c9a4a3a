#include "widgets/rawtext.h"

#include <QCoreApplication>
#include <QStringList>

namespace {
// Functions, not global QStrings, so raw texts can be made during static initialisation too.
QString pieceSeparator() { return QStringLiteral("@#@"); }
QString contextSeparator() { return QStringLiteral("#@#"); }
} // namespace

QString RawText::translateText(const QString &raw)
{
    return ::translateText(raw);
}

QString translateText(const QString &raw)
{
    QString shown;
    for (const QString &piece : raw.split(pieceSeparator())) {
        const QStringList parts = piece.split(contextSeparator());
        if (parts.size() == 2)
            shown += QCoreApplication::translate(parts[0].toUtf8().constData(), parts[1].toUtf8().constData());
        else
            shown += piece;
    }
    return shown;
}

QString RawText::make(const char *context, const QString &source)
{
    return pieceSeparator() + QString::fromUtf8(context) + contextSeparator() + source;
}

bool RawText::isRaw(const QString &text)
{
    const QStringList pieces = text.split(pieceSeparator());
    for (const QString &piece : pieces) {
        if (piece.split(contextSeparator()).size() == 2)
            return true;
    }
    return false;
}
