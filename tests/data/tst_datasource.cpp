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

private slots:
    void initTestCase()
    {
        // Headless runs have no OpenGL; the view must still load.
        QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
        QVERIFY(m_db.isValid());
    }
    void instanceIsNewestLiveObject();
    void oscillShowCarriesDeviceAndRange();
    void oscilloscopeView();

private:
    TestDatabase m_db;
};

void TestDataSource::instanceIsNewestLiveObject()
{
    auto *a = new DataSource;
    auto *b = new DataSource;
    auto *c = new DataSource;
    delete b;   // not the newest: the newest stays
    QCOMPARE(DataSource::instance(), c);
    delete c;
    QCOMPARE(DataSource::instance(), a);
    delete a;
    QCOMPARE(DataSource::instance(), nullptr);
}

void TestDataSource::oscillShowCarriesDeviceAndRange()
{
    DataSource source;
    QSignalSpy show(&source, &DataSource::oscillShowSignal);
    QSignalSpy range(&source, &DataSource::xAxisRangeChanged);
    // The program-wide type counts, also before the database manager has heard of it.
    DatabaseManager::instance()->onDeviceChanged(HighVoltServo);
    ComSettingsFrame::setCurrentDevice(LowVoltServo);
    source.setSampleInterval(2);
    source.setSampleCount(500);
    source.setSampleCount(0);   // ignored
    source.emitOscillShowSignal(1);
    source.emitOscillShowSignal(0);
    QCOMPARE(QList<QList<QVariant>>(show), (QList<QList<QVariant>> { { int(LowVoltServo), 1 }, { int(LowVoltServo), 0 } }));
    QCOMPARE(source.xAxisMax(), 1000.0);
    QCOMPARE(range.count(), 0);
    source.setSampleCount(3000);
    source.emitOscillShowSignal(1);
    QCOMPARE(source.xAxisMax(), 6000.0);
    QCOMPARE(range.count(), 1);
}

void TestDataSource::oscilloscopeView()
{
    QTemporaryDir dir;
    const QString startDir = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir.path()));
    {
        WorkWaveformFrame missing;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Oscilloscope view missing")));
        missing.show();
        missing.hide();
        missing.show();   // one label, however often shown
        const QList<QLabel *> labels = missing.findChildren<QLabel *>();
        QVERIFY(labels.size() == 1 && labels.first()->text().endsWith(QLatin1String("Resource/QML/main.qml")));
    }
    QVERIFY(QDir().mkpath(QStringLiteral("Resource/QML")));
    QVERIFY(QFile::copy(QStringLiteral(TEST_SOURCE_DIR "/Resource/QML/main.qml"), QStringLiteral("Resource/QML/main.qml")));
    QVERIFY(CommonUtils::saveConfigVal(4, QStringLiteral("OldCurveCfg"), QStringLiteral("0")));
    WorkWaveformFrame frame;
    frame.resize(640, 480);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QVERIFY(QDir::setCurrent(startDir));
    QQuickWidget *view = frame.quickWidget();
    QVERIFY(view && view->status() == QQuickWidget::Ready);
    auto *text = view->rootObject()->findChild<QQuickItem *>(QStringLiteral("versionText"));
    QVERIFY(text);
    QCOMPARE(text->property("text").toString(), QStringLiteral("new servo version: true"));

    // The view's singleton is the newest DataSource; the compatibility dialog signals on it.
    QVERIFY(CommonUtils::saveConfigVal(4, QStringLiteral("OldCurveCfg"), QStringLiteral("1")));
    emit DataSource::instance()->servoVersionChanged();
    QCOMPARE(text->property("text").toString(), QStringLiteral("new servo version: false"));
}

QTEST_MAIN(TestDataSource)
#include "tst_datasource.moc"
