#ifndef RAWTEXT_H
#define RAWTEXT_H

#include <QString>
#include <Qt>

// A raw text is "@#@" + context + "#@#" + source, possibly several joined by "@#@". Kit widgets keep
// it and show its translation, so the interface can switch language at run time.
class RawText
{
public:
    // Item data role under which the kit's combo box and item model keep an item's raw text.
    enum { DataRole = Qt::UserRole + 100 };

    // The same as the free translateText().
    static QString translateText(const QString &raw);
    static QString make(const char *context, const QString &source);
    // True when translateText would look up at least one piece.
    static bool isRaw(const QString &text);
};

// The text a raw text shows: split at "@#@", a piece that splits at "#@#" into exactly two parts
// becomes QCoreApplication::translate(first, second), other pieces stay, and the results are joined.
QString translateText(const QString &raw);

#endif // RAWTEXT_H
