#ifndef LEDGROUP_H
#define LEDGROUP_H

#include <QList>

class QLabel;

// One lamp: the label showing its picture and the bit it shows now, so a lamp is repainted only
// when its bit changes.
struct LedEntry
{
    QLabel *label = nullptr;
    bool on = false;
};

// A panel of lamps built by IOMonitorFrame::createLedLabels. The labels belong to the panel's
// parent widget; the group itself belongs to the page that asked for it.
struct LedGroup
{
    QList<QLabel *> nameLabels;   // the name under each lamp
    QList<LedEntry> leds;         // same order as nameLabels
};

#endif // LEDGROUP_H
