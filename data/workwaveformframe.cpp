#include "data/workwaveformframe.h"
#include "ui_workwaveformframe.h"

#include "data/datasource.h"

#include <QDebug>
#include <QFileInfo>
#include <QLabel>
#include <QQmlError>
#include <QQuickWidget>
#include <QUrl>

namespace {
// Relative to the current folder, which main makes the program folder.
const QString kQmlFile = QStringLiteral("./Resource/QML/main.qml");
} // namespace

WorkWaveformFrame::WorkWaveformFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::WorkWaveformFrame)
{
    ui->setupUi(this);
}

WorkWaveformFrame::~WorkWaveformFrame()
{
    delete ui;
}

void WorkWaveformFrame::showEvent(QShowEvent *event)
{
    QFrame::showEvent(event);
    // Building the QML scene is slow and needs a visible window, so wait for the first show.
    if (!m_viewCreated) {
        m_viewCreated = true;
        createView();
    }
}

void WorkWaveformFrame::createView()
{
    if (!QFileInfo::exists(kQmlFile)) {
        qWarning() << "Oscilloscope view missing:" << QFileInfo(kQmlFile).absoluteFilePath();
        auto *label = new QLabel(tr("Oscilloscope view not found: %1").arg(kQmlFile), this);
        label->setAlignment(Qt::AlignCenter);
        label->setObjectName(QStringLiteral("missingViewLabel"));
        ui->verticalLayout->addWidget(label);
        return;
    }
    DataSource::registerQmlType();
    m_quickWidget = new QQuickWidget(this);
    m_quickWidget->setResizeMode(QQuickWidget::SizeRootObjectToView);
    ui->verticalLayout->addWidget(m_quickWidget);
    m_quickWidget->setSource(QUrl::fromLocalFile(kQmlFile));
    for (const QQmlError &error : m_quickWidget->errors())
        qWarning() << "Oscilloscope view:" << error.toString();
}
