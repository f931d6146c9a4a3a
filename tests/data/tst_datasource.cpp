#include "comm/comsettingsframe.h"
#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "data/datasource.h"
#include "data/workwaveformframe.h"
#include "support/testdatabase.h"

#include <QLabel>
#include <QQuickItem>
#include <QQuickWindow>
#include <QQuickWidget>
#include <QSignalSpy>
#include <QtTest>

class TestDataSource : public QObject
{
    Q_OBJECT
    TestDatabase m_db;

private slots:
    void initTestCase()
    {
        // Headless runs have no OpenGL; the view must still load.
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
        QVERIFY(m_db.isValid());
    }
    void instanceIsNewestLiveObject()
    {
        auto *a = new DataSource, *b = new DataSource, *c = new DataSource;
        QList<DataSource *> seen;
        delete b, seen << DataSource::instance();   // not the newest: the newest stays
        delete c, seen << DataSource::instance();
        delete a, seen << DataSource::instance();
        QCOMPARE(seen, (QList<DataSource *>{ c, a, nullptr }));
    }
    void oscillShowCarriesDeviceAndRange()
    {
        DataSource source;
        QSignalSpy show(&source, &DataSource::oscillShowSignal), range(&source, &DataSource::xAxisRangeChanged);
        // The program-wide type counts, also before the database manager has heard of it.
        DatabaseManager::instance()->onDeviceChanged(HighVoltServo);
        ComSettingsFrame::setCurrentDevice(LowVoltServo);
        source.setSampleInterval(2), source.setSampleCount(500);
        source.setSampleCount(0);   // ignored
        source.emitOscillShowSignal(1), source.emitOscillShowSignal(0);
        QCOMPARE(QList<QList<QVariant>>(show), (QList<QList<QVariant>> { { int(LowVoltServo), 1 }, { int(LowVoltServo), 0 } }));
        QVERIFY(source.xAxisMax() == 1000.0 && range.isEmpty());
        source.setSampleCount(3000), source.emitOscillShowSignal(1);
        QVERIFY(source.xAxisMax() == 6000.0 && range.count() == 1);
    }
    void oscilloscopeView()
    {
        QTemporaryDir dir;
        const QString startDir = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        {
            WorkWaveformFrame missing;
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Oscilloscope view missing")));
            missing.show(), missing.hide(), missing.show();   // one label, however often shown
            const QList<QLabel *> labels = missing.findChildren<QLabel *>();
            QCOMPARE(labels.size(), 1);
            QCOMPARE(labels.first()->text(), QStringLiteral("Oscilloscope view not found: ./Resource/QML/main.qml"));
        }
        QVERIFY(QDir().mkpath(QStringLiteral("Resource/QML")));
        QVERIFY(QFile::copy(QStringLiteral(TEST_SOURCE_DIR "/Resource/QML/main.qml"), QStringLiteral("Resource/QML/main.qml")));
        QVERIFY(CommonUtils::saveConfigVal(4, QStringLiteral("OldCurveCfg"), QStringLiteral("0")));
        WorkWaveformFrame frame;
        frame.resize(640, 480), frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame) && QDir::setCurrent(startDir));
        QQuickWidget *view = frame.quickWidget();
        QVERIFY(view && view->status() == QQuickWidget::Ready);
        auto *text = view->rootObject()->findChild<QQuickItem *>(QStringLiteral("versionText"));
        QVERIFY(text && text->property("text") == "new servo version: true");
        // The view's singleton is the newest DataSource; the compatibility dialog signals on it.
        QVERIFY(CommonUtils::saveConfigVal(4, QStringLiteral("OldCurveCfg"), QStringLiteral("1")));
        emit DataSource::instance()->servoVersionChanged();
        QCOMPARE(text->property("text").toString(), QStringLiteral("new servo version: false"));
    }
};

QTEST_MAIN(TestDataSource)
#include "tst_datasource.moc"
