#include "data/datasource.h"

#include "comm/comsettingsframe.h"
#include "shell/mainwindow.h"

#include "data/commonutils.h"

#include <QList>
#include <QtQml>

namespace {
// Live objects in construction order: instance() is the newest one still alive.
QList<DataSource *> &liveSources()
{
    static QList<DataSource *> sources;
    return sources;
}
} // namespace

DataSource::DataSource(QObject *parent)
    : QObject(parent)
{
    liveSources().append(this);
}

DataSource::~DataSource()
{
    liveSources().removeAll(this);
}

DataSource *DataSource::instance()
{
    return liveSources().isEmpty() ? nullptr : liveSources().last();
}

void DataSource::registerQmlType()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    qmlRegisterSingletonType<DataSource>("WorkWave.DataSource", 1, 0, "DataSource",
                                         [](QQmlEngine *, QJSEngine *) -> QObject * { return new DataSource; });
}

void DataSource::setSampleInterval(int ms)
{
    if (ms < 1 || ms == m_sampleInterval)
        return;
    m_sampleInterval = ms;
    emit sampleSettingsChanged();
}

void DataSource::setSampleCount(int count)
{
    if (count < 1 || count == m_sampleCount)
        return;
    m_sampleCount = count;
    emit sampleSettingsChanged();
}

void DataSource::emitOscillShowSignal(int mode)
{
    if (ComSettingsFrame *com = ComSettingsFrame::instance())
        com->setCurrentAxis(m_currentAxis);
    const double xMax = double(m_sampleInterval) * m_sampleCount;
    if (xMax != m_xAxisMax) {
        m_xAxisMax = xMax;
        emit xAxisRangeChanged();
    }
    emit oscillShowSignal(ComSettingsFrame::currentDevice(), mode);
}

bool DataSource::isNewServoVersion()
{
    return CommonUtils::takeConfigVal(4, QStringLiteral("OldCurveCfg"), QStringLiteral("0")).toInt() == 0;
}

void DataSource::setFullScreen(bool on)
{
    if (MainWindow *window = MainWindow::instance())
        window->setFullScreen(on);
    emit fullScreenRequested(on);
}

void DataSource::setCurrentAxis(int axis)
{
    if (axis < 0 || axis > 7 || axis == m_currentAxis)
        return;
    m_currentAxis = axis;
    emit currentAxisChanged();
}
