#ifndef HOLDWATCH_H
#define HOLDWATCH_H

#include <QtGlobal>

#include <functional>

// Runs begin(), then the event loop until done() holds; returns how long that took in ms (-1: not
// within twenty minutes) and, in longestHold, the longest gap between two runs of a zero timer,
// which is how long the window was held (begin() included). The loop runs bare: a wait that sleeps
// between its checks would add its sleep to every gap.
double waitAndWatch(const std::function<void()> &begin, const std::function<bool()> &done, qint64 *longestHold);

#endif // HOLDWATCH_H
