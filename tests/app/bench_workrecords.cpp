// Times the work record page over 100000 stored records: loading the list, building and showing
// the page, a query by time range, a text search and the CSV export.

#include "app/paramunit.h"
#include "app/workrecordframe.h"
#include "comm/comsettingsframe.h"
#include "data/databasemanager.h"
#include "support/testdatabase.h"
#include "widgets/prompt.h"
#include "workrecordrows.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>

namespace {
constexpr int kRecords = 100000;
const QString kTimeFormat = QStringLiteral("yyyy/MM/dd hh:mm:ss");

void report(const char *what, qint64 ms, const QString &note = QString())
{
    std::printf("%-34s %8lld ms  %s\n", what, static_cast<long long>(ms), qPrintable(note));
    std::fflush(stdout);
}

// One screw every 80 s from the start of 2024: about 93 days of records.
QVector<RecordItem> makeRecords(const QDateTime &first)
{
    static const char *const statuses[] = { "OK", "OK", "OK", "OK", "OK", "OK", "OK", "OK", "Slip", "Float" };
    QVector<RecordItem> rows;
    rows.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        const QString status = QLatin1String(statuses[i % 10]);
        const QString alarm = status == QLatin1String("Slip") ? QStringLiteral("10")
                              : status == QLatin1String("Float") ? QStringLiteral("12") : QStringLiteral("0");
        rows << workRecordRow(i, QStringLiteral("Task%1").arg(i % 5), status,
                              first.addSecs(qint64(i) * 80).toString(kTimeFormat), alarm,
                              QString::number(1.2 + (i % 60) / 100.0, 'f', 3));
    }
    return rows;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    TestDatabase db;
    if (!db.isValid())
        return 1;
    initUnitTable();
    QElapsedTimer clock;

    const QDateTime first(QDate(2024, 1, 1), QTime(8, 0, 0));
    const QVector<RecordItem> rows = makeRecords(first);
    clock.start();
    if (!insertWorkRecords(db.path(), rows))
        return 1;
    report("store 100000 records (bulk)", clock.elapsed());

    ComSettingsFrame com;
    ComSettingsFrame::setCurrentSlave(1);
    ComSettingsFrame::setCurrentDevice(SdriverDevice);

    clock.restart();
    DatabaseManager::instance()->onDeviceChanged(SdriverDevice);
    report("load the list", clock.elapsed(), QStringLiteral("%1 records").arg(DatabaseManager::instance()->workRecords().size()));

    clock.restart();
    WorkRecordFrame page;
    page.onDeviceChanged(SdriverDevice);
    report("build the page", clock.elapsed());

    clock.restart();
    page.resize(1200, 700);
    page.show();
    if (!QTest::qWaitForWindowExposed(&page))
        return 1;
    page.grab();
    report("show the page", clock.elapsed());

    auto child = [&page](const char *name) { return page.findChild<QWidget *>(QLatin1String(name)); };
    auto *startBox = qobject_cast<QCheckBox *>(child("startTimeBox"));
    auto *endBox = qobject_cast<QCheckBox *>(child("endTimeBox"));
    qobject_cast<QDateTimeEdit *>(child("startTimeEdit"))->setDateTime(first.addDays(30));
    qobject_cast<QDateTimeEdit *>(child("endTimeEdit"))->setDateTime(first.addDays(40));
    startBox->setChecked(true);
    endBox->setChecked(true);
    clock.restart();
    qobject_cast<QPushButton *>(child("seekButton"))->click();
    page.grab();
    report("query by time range (10 days)", clock.elapsed(), QStringLiteral("about 10800 matches"));

    startBox->setChecked(false);
    endBox->setChecked(false);
    clock.restart();
    qobject_cast<QPushButton *>(child("clearButton"))->click();
    page.grab();
    report("clear the query (reload all)", clock.elapsed());

    // The search tests one record per timer tick; the longest tick is how long the window is busy.
    QSignalSpy finished(&page, &WorkRecordFrame::searchFinishSigal);
    qint64 longestGap = 0;
    QElapsedTimer gap;
    QTimer heartbeat;
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        longestGap = qMax(longestGap, gap.restart());
    });
    clock.restart();
    gap.start();
    heartbeat.start(0);
    page.onSearchSignal(0, QStringLiteral("Float"));
    if (!finished.wait(20 * 60 * 1000))
        return 1;
    heartbeat.stop();
    report("text search \"Float\"", clock.elapsed(), QStringLiteral("longest busy stretch %1 ms").arg(longestGap));
    qobject_cast<QPushButton *>(child("clearButton"))->click();

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("records.csv"));
    Prompt::setHandler([&file](const Prompt::Request &) {
        Prompt::Reply reply;
        reply.text = file;
        return reply;
    });
    clock.restart();
    qobject_cast<QPushButton *>(child("exportRecordButton"))->click();
    report("CSV export of all records", clock.elapsed(), QStringLiteral("%1 bytes").arg(QFileInfo(file).size()));
    Prompt::setHandler(nullptr);
    return 0;
}
