#ifndef DATASOURCE_H
#define DATASOURCE_H

#include <QObject>

// Back end of the oscilloscope view, published to QML as the singleton "DataSource".
class DataSource : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int sampleInterval READ sampleInterval WRITE setSampleInterval NOTIFY sampleSettingsChanged)
    Q_PROPERTY(int sampleCount READ sampleCount WRITE setSampleCount NOTIFY sampleSettingsChanged)
    Q_PROPERTY(double xAxisMax READ xAxisMax NOTIFY xAxisRangeChanged)
    Q_PROPERTY(int currentAxis READ currentAxis WRITE setCurrentAxis NOTIFY currentAxisChanged)
public:
    explicit DataSource(QObject *parent = nullptr);
    ~DataSource() override;

    // The most recently constructed object still alive, or nullptr.
    static DataSource *instance();
    // Registers the QML singleton once; its provider builds a DataSource the engine owns.
    static void registerQmlType();

    int sampleInterval() const { return m_sampleInterval; }
    void setSampleInterval(int ms);
    int sampleCount() const { return m_sampleCount; }
    void setSampleCount(int count);
    // The X axis spans one full sample buffer, in milliseconds.
    double xAxisMax() const { return m_xAxisMax; }
    // The axis the view samples; handed to the communication page when the view is shown.
    int currentAxis() const { return m_currentAxis; }
    void setCurrentAxis(int axis);

    Q_INVOKABLE void emitOscillShowSignal(int mode);
    Q_INVOKABLE bool isNewServoVersion();
    Q_INVOKABLE void setFullScreen(bool on);

signals:
    void oscillShowSignal(int devType, int mode);
    void servoVersionChanged();
    void fullScreenRequested(bool on);
    void sampleSettingsChanged();
    void xAxisRangeChanged();
    void currentAxisChanged();

private:
    int m_sampleInterval = 1;
    int m_sampleCount = 1000;
    double m_xAxisMax = 1000.0;
    int m_currentAxis = 0;
};

#endif // DATASOURCE_H
