#ifndef SERVOPAGEFIXTURE_H
#define SERVOPAGEFIXTURE_H

#include "comm/deviceenum.h"
#include "support/devsimlink.h"
#include "support/promptrecorder.h"
#include "support/testdatabase.h"

#include <QStringList>

class QStandardItem;
class ServoParamFrame;

// The servo parameter page on a fresh database, following the device type of a communication page
// that can reach a simulated drive; every box is answered Yes.
class ServoPageFixture
{
public:
    ServoPageFixture();
    ~ServoPageFixture();
    ServoPageFixture(const ServoPageFixture &) = delete;
    ServoPageFixture &operator=(const ServoPageFixture &) = delete;

    // Saves the device type and lets the communication page take it up, as at start-up.
    void setDevice(DeviceEnum type);
    // Saves the device type and connects to a simulated drive of that type.
    bool connectTo(DeviceEnum type, const QStringList &simArgs = {});

    // Ticks (or clears) each parameter's box in the tree; a code the tree lacks fails the test.
    void check(const QStringList &codes, bool on = true) const;
    int row(const QString &code, const QString &slaveAxis = QString()) const;
    QStandardItem *cell(int row, int column) const;
    QString text(int row, int column) const;
    // Picks display mode `mode` in the row's format combo, as its editor commits it.
    void setDisplayMode(int row, int mode) const;
    void click(const char *button) const;
    bool waitIdle(int ms = 10000) const;
    // Clicks the button and waits for the pass it starts to end.
    bool pass(const char *button) const { click(button); return waitIdle(); }
    QStringList warnings() const;
    QString lastWarning() const { return warnings().value(warnings().size() - 1); }

    TestDatabase db;
    PromptRecorder prompts;
    DevsimLink link;
    ComSettingsFrame *frame;
    ServoParamFrame *page;
};

#endif // SERVOPAGEFIXTURE_H
