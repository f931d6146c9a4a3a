#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "data/datasource.h"
#include "data/workwaveformframe.h"
#include "support/testdatabase.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QQuickItem>
#include <QQuickWindow>
#include <QQuickWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestDataSource : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void instanceIsNewestLiveObject();
    void oscillShowCarriesDeviceAndRange();
    void missingViewShowsLabel();
    void viewShowsServoVersion();

private:
    TestDatabase m_db;
    QTemporaryDir m_dir;
    QString m_startDir;
};

void TestDataSource::initTestCase()
{
    QVERIFY(m_dir.isValid());
    // Headless runs have no OpenGL; the view must still load.
    QQuickWindow::setSceneGraphBackend(QSGRendererInterface::Software);
    m_startDir = QDir::currentPath();
    QVERIFY(m_db.isValid());
}

void TestDataSource::cleanupTestCase()
{
    QDir::setCurrent(m_startDir);
}

void TestDataSource::instanceIsNewestLiveObject()
{
    QCOMPARE(DataSource::instance(), nullptr);
    auto *a = new DataSource;
    auto *b = new DataSource;
    auto *c = new DataSource;
    QCOMPARE(DataSource::instance(), c);
    delete b; // not the newest: the newest stays
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
    source.emitOscillShowSignal(0);
    QCOMPARE(show.count(), 1);
    QCOMPARE(show.at(0).at(0).toInt(), int(NoDevice));
    QCOMPARE(show.at(0).at(1).toInt(), 0);

    source.setSampleInterval(2);
    source.setSampleCount(500);
    source.setSampleCount(0); // ignored
    QCOMPARE(source.sampleCount(), 500);
    DatabaseManager::instance()->onDeviceChanged(LowVoltServo);
    source.emitOscillShowSignal(1);
    QCOMPARE(show.count(), 2);
    QCOMPARE(show.at(1).at(0).toInt(), int(LowVoltServo));
    QCOMPARE(show.at(1).at(1).toInt(), 1);
    QCOMPARE(source.xAxisMax(), 1000.0);

    source.setSampleCount(3000);
    source.emitOscillShowSignal(1);
    QCOMPARE(source.xAxisMax(), 6000.0);
    QCOMPARE(range.count(), 1);
    DatabaseManager::instance()->onDeviceChanged(NoDevice);
}

void TestDataSource::missingViewShowsLabel()
{
    QTemporaryDir empty;
    QVERIFY(QDir::setCurrent(empty.path()));
    WorkWaveformFrame frame;
    QVERIFY(!frame.findChild<QLabel *>());
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Oscilloscope view missing")));
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const QList<QLabel *> labels = frame.findChildren<QLabel *>();
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first()->text(), QStringLiteral("Oscilloscope view not found: ./Resource/QML/main.qml"));
    QCOMPARE(frame.quickWidget(), nullptr);
    // A second show does not add another label.
    frame.hide();
    frame.show();
    QCOMPARE(frame.findChildren<QLabel *>().size(), 1);
    QVERIFY(QDir::setCurrent(m_startDir));
}

void TestDataSource::viewShowsServoVersion()
{
    QVERIFY(QDir(m_dir.path()).mkpath(QStringLiteral("Resource/QML")));
    const QString qml = m_dir.filePath(QStringLiteral("Resource/QML/main.qml"));
    QFile::remove(qml);
    QVERIFY(QFile::copy(QStringLiteral(TEST_SOURCE_DIR "/Resource/QML/main.qml"), qml));
    QVERIFY(QDir::setCurrent(m_dir.path()));

    QVERIFY(CommonUtils::saveConfigVal(4, QStringLiteral("OldCurveCfg"), QStringLiteral("0")));
    WorkWaveformFrame frame;
    frame.resize(640, 480);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QQuickWidget *view = frame.quickWidget();
    QVERIFY(view);
    QCOMPARE(view->status(), QQuickWidget::Ready);
    QCOMPARE(view->resizeMode(), QQuickWidget::SizeRootObjectToView);
    auto *text = view->rootObject()->findChild<QQuickItem *>(QStringLiteral("versionText"));
    QVERIFY(text);
    QCOMPARE(text->property("text").toString(), QStringLiteral("new servo version: true"));

    // The view's singleton is the newest DataSource; the compatibility dialog signals on it.
    DataSource *source = DataSource::instance();
    QVERIFY(source);
    QVERIFY(CommonUtils::saveConfigVal(4, QStringLiteral("OldCurveCfg"), QStringLiteral("1")));
    emit source->servoVersionChanged();
    QCOMPARE(text->property("text").toString(), QStringLiteral("new servo version: false"));
    QVERIFY(QDir::setCurrent(m_startDir));
}

QTEST_MAIN(TestDataSource)
#include "tst_datasource.moc"
