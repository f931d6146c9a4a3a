#ifndef IOMONITORFRAME_H
#define IOMONITORFRAME_H

#include "app/ledgroup.h"
#include "comm/deviceenum.h"
#include "comm/registerwait.h"

#include <QFrame>
#include <QList>
#include <QMap>
#include <QPixmap>
#include <QStringList>
#include <functional>
#include <memory>

namespace Ui { class IOMonitorFrame; }
class QPushButton;
class QVBoxLayout;

// The device's digital inputs and outputs as lamps, with a button per output bit. The input and
// output registers are polled one at a time while the page is shown; the screwdriver debugging
// page borrows the same poll for its own smaller lamp panels while it is shown.
class IOMonitorFrame : public QFrame
{
    Q_OBJECT
public:
    explicit IOMonitorFrame(QWidget *parent = nullptr);
    ~IOMonitorFrame() override;
    // The one IO monitor, set by its constructor; the screwdriver debugging page borrows its poll.
    static IOMonitorFrame *instance;

    // Lays out one gray lamp with its name under it per name, in rows of perRow with a small gap
    // after every groupSize lamps. The caller owns the group; the labels belong to parent.
    static LedGroup *createLedLabels(QWidget *parent, const QStringList &names, int perRow, int groupSize);
    // The same layout with one output toggle button per name; the caller owns the map, the buttons
    // belong to parent. A button toggles the output bit of its index.
    QMap<QPushButton *, int> *createOutputButtons(QWidget *parent, const QStringList &names, int perRow, int groupSize);

    // Starts or stops the shared poll. When both lists are given they become the lamps painted;
    // stopping hands the painting back to this page's own lamps.
    void setMonitorEnabled(bool enable, QList<LedEntry> *inputLeds = nullptr, QList<LedEntry> *outputLeds = nullptr);
    bool isMonitorRunning() const { return m_pollState != PollState::Stopped; }

public slots:
    void onOutputBtnClicked(bool checked);
    void onDeviceChanged(DeviceEnum devType);

protected:
    void timerEvent(QTimerEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    enum class PollState { Stopped, Request, Wait };
    // group g < OutputGroup: input lamps g*16..g*16+15; OutputGroup + g: the same output lamps.
    static constexpr int OutputGroup = 32768;
    struct IoPollEntry {
        Uint16 address;
        int group;
    };
    using CellFiller = std::function<void(QVBoxLayout *cell, int index)>;

    static void layoutCells(QWidget *parent, int count, int perRow, int groupSize, const CellFiller &fill);
    void pollStep();
    // The poll timer rests while the poll could change nothing and runs again when that changes.
    void resumePoll();
    void pausePoll();
    void paint(int group, Uint16 value);
    void writeMonitorEnable(Uint16 value);

    Ui::IOMonitorFrame *ui;
    std::unique_ptr<LedGroup> m_inputGroup;
    std::unique_ptr<LedGroup> m_outputGroup;
    QList<LedEntry> *m_inputLeds = nullptr;
    QList<LedEntry> *m_outputLeds = nullptr;
    std::unique_ptr<QMap<QPushButton *, int>> m_outputButtons;
    QList<IoPollEntry> m_pollList;
    QMap<int, Uint16> m_outputAddrMap;   // output group -> register
    QPixmap m_ledRedPixmap;
    QPixmap m_ledGreenPixmap;
    QPixmap m_ledGrayPixmap;
    PollState m_pollState = PollState::Stopped;
    int m_pollTimerId = -1;
    int m_pollIndex = 0;   // survives stops, so a restart asks for the register it was waiting on
    RegisterWait m_wait;
};

#endif // IOMONITORFRAME_H
