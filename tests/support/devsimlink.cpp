#include "support/devsimlink.h"

#include "comm/comsettingsframe.h"
#include "data/commonutils.h"

#include <QtTest>

DevsimLink::DevsimLink(ComSettingsFrame *frame)
    : m_owned(frame ? nullptr : new ComSettingsFrame)
    , m_frame(frame ? frame : m_owned.get())
{
}

DevsimLink::~DevsimLink()
{
    m_frame->disconnectDevice();
    m_owned.reset();
    m_sim.stop();
    ComSettingsFrame::setCurrentSlave(0);
    ComSettingsFrame::setCurrentDevice(NoDevice);
}

bool DevsimLink::start(const QStringList &simArgs, int slave, DeviceCheck check)
{
    return m_sim.start(simArgs) && connectTo(m_sim.port(), slave, check);
}

bool DevsimLink::connectTo(quint16 port, int slave, DeviceCheck check)
{
    CommonUtils::saveConfigVal(1, QStringLiteral("ConnectWay"), QStringLiteral("0"));
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceAddr"), QString::number(slave));
    CommonUtils::saveConfigVal(1, QStringLiteral("DevCheckBox"), QString::number(int(check == CheckDevice)));
    CommonUtils::saveConfigVal(3, QStringLiteral("RemoteIp"), QStringLiteral("127.0.0.1"));
    CommonUtils::saveConfigVal(3, QStringLiteral("RemotePort"), QString::number(port));
    m_frame->loadSettings();
    m_frame->connectDevice();
    return QTest::qWaitFor([this] { return m_frame->isConnected(); }, 5000);
}

bool DevsimLink::waitReceived(Uint8 slave, Uint16 addr, int ms)
{
    return QTest::qWaitFor([&] { return (ComSettingsFrame::getRegisterEntry(slave, addr) >> 32) == 2; }, ms);
}
