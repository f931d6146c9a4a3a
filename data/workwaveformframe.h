#ifndef WORKWAVEFORMFRAME_H
#define WORKWAVEFORMFRAME_H

#include <QFrame>

namespace Ui {
class WorkWaveformFrame;
}

class QQuickWidget;

// Page 40: hosts the QML oscilloscope view, built when the page is first shown.
class WorkWaveformFrame : public QFrame
{
    Q_OBJECT
public:
    explicit WorkWaveformFrame(QWidget *parent = nullptr);
    ~WorkWaveformFrame() override;

    // The view, or nullptr before the first show or when the QML file is missing.
    QQuickWidget *quickWidget() const { return m_quickWidget; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void createView();

    Ui::WorkWaveformFrame *ui;
    QQuickWidget *m_quickWidget = nullptr;
    bool m_viewCreated = false;
};

#endif // WORKWAVEFORMFRAME_H
