// Hand-run benchmark of the record storage. Each case runs in a child process of its own, so that
// its peak memory is its own: start-up to the database manager and both record pages ready, the
// full read of the records after a device change, then adds with the deferred trims they start,
// a text search and a CSV export. What runs from a timer is timed to its end, with the longest
// stretch it held the window. Every figure is printed beside the same figure for an empty
// database measured in the same run, as a ratio, since the machine may be shared.
//
// Then the program's own start-up per table size: the main window constructed and shown, and the
// work record page shown with its records, as when the user opens it at once; and the longest the
// window's thread is held while another program holds the file from before the start.
//
//   bench_storage            all cases
//   bench_storage --rebuilds the rebuild cases alone
//   bench_storage --child <case> <database>   one case (used by the parent)
//   bench_storage --window <case> <database>  the main window's start-up (used by the parent)
//   bench_storage --held <case> <database>    the start and its retries with the file held (used by the parent)
//   bench_storage --rebuild <case> <database> rebuilds of the shown work record page (used by the parent)
//
// The rebuilds: a CSV export during which the device selects another torque unit, with the file
// compared to one written without the change; and a device change while the page is shown, until
// its rows are back.
//   bench_storage --held-line <variant> <database>  a busy line while the file is held (used by the parent)
//   bench_storage --held-only                 only the cases of a held file

#include "app/alarminfoframe.h"
#include "app/paramunit.h"
#include "app/recordtablemodel.h"
#include "app/workrecordframe.h"
#include "data/datasource.h"
#include "shell/mainwindow.h"
#include "comm/comsettingsframe.h"
#include "data/databasemanager.h"
#include "support/dblocker.h"
#include "support/holdwatch.h"
#include "support/testdatabase.h"
#include "widgets/prompt.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <memory>
#include <cstdio>
#include <sys/resource.h>

namespace {
struct Case {
    const char *name;
    int workRows;
    int alarmRows;
};
const Case kCases[] = {
    { "empty", 0, 0 },
    { "100k work records", 100000, 0 },
    { "1M work records", 1000000, 0 },
    { "10k alarms", 0, 10000 },
};

bool fill(const QString &path, int workRows, int alarmRows)
{
    // The manager creates the tables; the rows go in with one statement each.
    DatabaseManager::setDatabasePath(path);
    if (!DatabaseManager::instance()->isOpen())
        return false;
    DatabaseManager::resetInstance();
    const QString series = QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i + 1 < %1) ");
    bool ok = true;
    if (workRows > 0) {
        ok = ok && TestDatabase::execOn(path, series.arg(workRows) +
            QStringLiteral("INSERT INTO workRecords_sdriver SELECT i, 'Task' || (i % 5), '8.5', printf('%.3f', 1.2 + (i % 60) / 100.0), "
                           "'1.234', CASE i % 10 WHEN 8 THEN 'Slip' WHEN 9 THEN 'Float' ELSE 'OK' END, "
                           "strftime('%Y/%m/%d %H:%M:%S', 1704096000 + i * 80, 'unixepoch'), "
                           "CASE i % 10 WHEN 8 THEN '10' WHEN 9 THEN '12' ELSE '0' END, 'none' FROM n"));
    }
    if (alarmRows > 0) {
        ok = ok && TestDatabase::execOn(path, series.arg(alarmRows) +
            QStringLiteral("INSERT INTO alarm_records SELECT i, 1 + i % 20, "
                           "strftime('%Y/%m/%d %H:%M:%S', 1704096000 + i * 600, 'unixepoch') FROM n"));
    }
    return ok;
}

long peakRssKb()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

double medianMs(QVector<qint64> ns)
{
    std::sort(ns.begin(), ns.end());
    return ns.isEmpty() ? 0 : ns.at(ns.size() / 2) / 1e6;
}

// The database manager and both record pages, as the program has them for the screwdriver.
struct RecordPages
{
    explicit RecordPages(const QString &path)
        : prepared(prepare(path))
    {
        QObject::connect(db, &DatabaseManager::devChangedSignal, &workPage, &WorkRecordFrame::onDeviceChanged);
    }
    // Before the members: the file, the units and the device they read.
    static bool prepare(const QString &path)
    {
        DatabaseManager::setDatabasePath(path);
        initUnitTable();
        ComSettingsFrame::setCurrentSlave(1);
        ComSettingsFrame::setCurrentDevice(SdriverDevice);
        return true;
    }

    bool prepared;
    ComSettingsFrame com;
    DatabaseManager *db = DatabaseManager::instance();
    WorkRecordFrame workPage;
    AlarmInfoFrame alarmPage;
};

// Prints "key value" lines for the parent.
int runChild(const QString &path)
{
    QElapsedTimer clock;
    clock.start();
    RecordPages pages(path);
    DatabaseManager *db = pages.db;
    WorkRecordFrame &workPage = pages.workPage;
    AlarmInfoFrame &alarmPage = pages.alarmPage;
    QElapsedTimer load;
    load.start();
    db->onDeviceChanged(SdriverDevice);
    std::printf("device_change_ms %.1f\n", load.nsecsElapsed() / 1e6);
    // The records are read on a second connection; asking for the list waits for the whole read.
    db->workRecords();
    std::printf("device_read_ms %.1f\n", load.nsecsElapsed() / 1e6);
    workPage.resize(1200, 700);
    workPage.show();
    if (!QTest::qWaitForWindowExposed(&workPage))
        return 1;
    workPage.grab();
    std::printf("startup_ms %.1f\n", clock.nsecsElapsed() / 1e6);

    // The first add pays for trimming a table from elsewhere; the later ones are the steady state.
    clock.restart();
    ComSettingsFrame::setRegister(3072, 1);
    ComSettingsFrame::setRegister(3336, 1);
    workPage.appendRecord();
    std::printf("first_work_add_ms %.2f\n", clock.nsecsElapsed() / 1e6);
    // Rows past the cap go in steps from a timer; the longest step is what the window waits for.
    qint64 hold = 0;
    const double trimMs = waitAndWatch([] {}, [db] { return !db->isTrimming(); }, &hold);
    std::printf("trim_ms %.1f\ntrim_longest_hold_ms %lld\n", trimMs, hold);
    clock.restart();
    alarmPage.appendAlarm(3);
    std::printf("first_alarm_add_ms %.2f\n", clock.nsecsElapsed() / 1e6);
    const double alarmTrimMs = waitAndWatch([] {}, [db] { return !db->isTrimming(); }, &hold);
    std::printf("alarm_trim_ms %.1f\nalarm_trim_longest_hold_ms %lld\n", alarmTrimMs, hold);
    QVector<qint64> work, alarms;
    for (int i = 0; i < 21; ++i) {
        clock.restart();
        workPage.appendRecord();
        work << clock.nsecsElapsed();
        clock.restart();
        alarmPage.appendAlarm(4);
        alarms << clock.nsecsElapsed();
    }
    std::printf("work_add_ms %.3f\nalarm_add_ms %.3f\n", medianMs(work), medianMs(alarms));
    QVector<qint64> stored;
    RecordItem record { { "task", "Task1" }, { "turns", "1" }, { "torque", "1.000" }, { "usedTime", "1" },
                        { "status", "OK" }, { "alarm", "0" } };
    for (int i = 0; i < 21; ++i) {
        clock.restart();
        db->addWorkRecord(record);
        stored << clock.nsecsElapsed();
    }
    std::printf("store_only_ms %.3f\n", medianMs(stored));
    // The same adds without waiting for the disk: what is left of store_only_ms is the sync.
    {
        QSqlDatabase connection = QSqlDatabase::database(QStringLiteral("DatabaseManager"));
        QSqlQuery(connection).exec(QStringLiteral("PRAGMA synchronous = OFF"));
        QVector<qint64> unsynced;
        for (int i = 0; i < 21; ++i) {
            clock.restart();
            db->addWorkRecord(record);
            unsynced << clock.nsecsElapsed();
        }
        QSqlQuery(connection).exec(QStringLiteral("PRAGMA synchronous = FULL"));
        std::printf("store_nosync_ms %.3f\n", medianMs(unsynced));
    }

    // The longest stretch the window is held during the search shows as the longest gap between
    // two runs of a zero timer.
    QSignalSpy finished(&workPage, &WorkRecordFrame::searchFinishSigal);
    const double searchMs = waitAndWatch([&workPage] { workPage.onSearchSignal(0, QStringLiteral("Float")); },
                                         [&finished] { return finished.count() > 0; }, &hold);
    std::printf("search_ms %.1f\nsearch_longest_hold_ms %lld\n", searchMs, hold);
    workPage.onSearchSignal(2, QString());

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("records.csv"));
    Prompt::setHandler([&file](const Prompt::Request &) {
        Prompt::Reply reply;
        reply.text = file;
        return reply;
    });
    QMetaObject::invokeMethod(&workPage, "on_clearButton_clicked");
    QTest::qWait(200);   // the table lays out its rows again before the user exports them
    // The file takes its name only once it is completely written.
    const double exportMs = waitAndWatch([&workPage] { QMetaObject::invokeMethod(&workPage, "on_exportRecordButton_clicked"); },
                                         [&file] { return QFileInfo::exists(file); }, &hold);
    std::printf("export_ms %.1f\nexport_longest_hold_ms %lld\nexport_bytes %lld\n", exportMs, hold, QFileInfo(file).size());
    Prompt::setHandler(nullptr);
    std::printf("peak_rss_mb %.1f\n", peakRssKb() / 1024.0);
    return 0;
}

// As main() starts the program: the saved device type (the screwdriver controller) reads its work
// records, on a second connection while the window is built. Then the user opens the work record
// page at once and waits for its records.
int runWindow(const QString &path, int records)
{
    QElapsedTimer clock;
    clock.start();
    DataSource::registerQmlType();
    DatabaseManager::setDatabasePath(path);
    DatabaseManager::instance();
    DataSource dataSource;
    MainWindow window;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return 1;
    window.grab();
    // Read before the list: the records may still be loading, which the window does not wait for.
    const double startupMs = clock.nsecsElapsed() / 1e6;
    window.onMenuClicked(60);
    const auto *page = WorkRecordFrame::instance();
    const auto *model = qobject_cast<const RecordTableModel *>(page->findChild<QAbstractItemView *>(QStringLiteral("workRecordTableWidget"))->model());
    if (!QTest::qWaitFor([&] { return page->isVisible() && (records == 0 || model->hasRecord(0)); }, 60000))
        return 1;
    window.grab();
    std::printf("window_startup_ms %.1f\nrecords_page_ms %.1f\nwork_records %d\n", startupMs, clock.nsecsElapsed() / 1e6,
                DatabaseManager::instance()->workRecords().size());
    return 0;
}

// Another program holds the file from before the start: the start and the retries that follow, as
// the program runs them with the device type of the last run selected.
int runHeld(const QString &path)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    DbLocker locker(path, "BEGIN EXCLUSIVE");
    if (!locker.isOk())
        return 1;
    QElapsedTimer clock;
    clock.start();
    DatabaseManager::setDatabasePath(path);
    DatabaseManager *db = DatabaseManager::instance();
    db->onDeviceChanged(SdriverDevice);
    std::printf("held_startup_ms %.1f\n", clock.nsecsElapsed() / 1e6);
    qint64 hold = 0;
    clock.restart();
    waitAndWatch([] {}, [&clock] { return clock.elapsed() > 9000; }, &hold);
    std::printf("held_longest_hold_ms %lld\n", hold);
    return db->startupProblem().isEmpty() ? 1 : 0;
}

// The work record page shown with its records, as the rebuild cases start from.
struct ShownPage {
    // Before the page, which opens the database.
    bool prepared;
    ComSettingsFrame com;
    WorkRecordFrame page;
    const RecordTableModel *model = nullptr;

    static bool prepare(const QString &path)
    {
        DatabaseManager::setDatabasePath(path);
        initUnitTable();
        return true;
    }
    explicit ShownPage(const QString &path)
        : prepared(prepare(path))
    {
        ComSettingsFrame::setCurrentSlave(1);
        ComSettingsFrame::setCurrentDevice(SdriverDevice);
        DatabaseManager *db = DatabaseManager::instance();
        QObject::connect(db, &DatabaseManager::devChangedSignal, &page, &WorkRecordFrame::onDeviceChanged);
        db->onDeviceChanged(SdriverDevice);
        page.resize(1200, 700);
        page.show();
        model = qobject_cast<const RecordTableModel *>(page.findChild<QAbstractItemView *>(QStringLiteral("workRecordTableWidget"))->model());
    }
    bool ready(int records)
    {
        return QTest::qWaitForWindowExposed(&page) && QTest::qWaitFor([&] { return records == 0 || model->hasRecord(0); }, 60000);
    }
    // Exports the table to file; change runs between the first slice and the next. The longest hold
    // is returned in hold; the time to the file in place is the result.
    double exportTo(const QString &file, const std::function<void()> &change, qint64 *hold)
    {
        Prompt::setHandler([file](const Prompt::Request &) {
            Prompt::Reply reply;
            reply.text = file;
            return reply;
        });
        const double ms = waitAndWatch(
            [&] {
                QMetaObject::invokeMethod(&page, "on_exportRecordButton_clicked");
                if (change)
                    QTimer::singleShot(0, &page, change);
            },
            [&file] { return QFileInfo::exists(file); }, hold);
        Prompt::setHandler(nullptr);
        return ms;
    }
};

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int runRebuild(const QString &path, int records)
{
    ShownPage shown(path);
    if (!shown.ready(records))
        return 1;
    QTemporaryDir dir;
    qint64 hold = 0;
    const QString plain = dir.filePath(QStringLiteral("plain.csv"));
    std::printf("export_ms %.1f\n", shown.exportTo(plain, nullptr, &hold));
    std::printf("export_longest_hold_ms %lld\n", hold);
    const QString changed = dir.filePath(QStringLiteral("changed.csv"));
    WorkRecordFrame *page = &shown.page;
    const double ms = shown.exportTo(changed, [page] {
        setUnitIndex(QStringLiteral("torque"), 1);
        page->onParamUnitChanged();
    }, &hold);
    std::printf("export_unit_change_ms %.1f\nexport_unit_change_longest_hold_ms %lld\n", ms, hold);
    std::printf("export_unit_change_same_bytes %d\n", fileBytes(plain) == fileBytes(changed) ? 1 : 0);

    const RecordTableModel *model = shown.model;
    const double changeMs = waitAndWatch([] { DatabaseManager::instance()->onDeviceChanged(SdriverDevice); },
                                         [model, records] { return records == 0 || model->hasRecord(0); }, &hold);
    std::printf("shown_device_change_ms %.1f\nshown_device_change_longest_hold_ms %lld\n", changeMs, hold);
    return 0;
}

// The file held while the line runs: a tightening and an alarm every second, a device change on
// the way, then the file let go while the tightenings go on. Variant 0 holds it from before the
// start, 1 from after the start, 2 after the start for writing only (reads still work). Prints
// the longest hold while held and after the release, and how long after the release the last
// waiting record was stored (-1: not within the 4 s watched).
int runHeldLine(const QString &path, int variant)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    const char *lock = variant == 2 ? "BEGIN IMMEDIATE" : "BEGIN EXCLUSIVE";
    std::unique_ptr<DbLocker> locker;
    if (variant == 0)
        locker.reset(new DbLocker(path, lock));
    RecordPages pages(path);
    DatabaseManager *db = pages.db;
    db->onDeviceChanged(SdriverDevice);
    db->workRecords();
    if (variant != 0)
        locker.reset(new DbLocker(path, lock));
    if (!locker->isOk())
        return 1;
    ComSettingsFrame::setRegister(3072, 1);
    ComSettingsFrame::setRegister(3336, 1);
    QElapsedTimer clock;
    clock.start();
    bool changed = false;
    QTimer line;
    line.setInterval(1000);
    QObject::connect(&line, &QTimer::timeout, [&] {
        pages.workPage.appendRecord();
        pages.alarmPage.appendAlarm(3);
        if (!changed && clock.elapsed() > 3500) {
            changed = true;
            db->onDeviceChanged(SdriverDevice);
        }
    });
    qint64 hold = 0;
    waitAndWatch([&line] { line.start(); }, [&clock] { return clock.elapsed() > 9000; }, &hold);
    std::printf("held_line_longest_hold_ms %lld\n", hold);
    locker.reset();
    clock.restart();
    double storedMs = -1;
    waitAndWatch([] {}, [&] {
        if (storedMs < 0 && db->pendingRecords() == 0)
            storedMs = clock.nsecsElapsed() / 1e6;
        return clock.elapsed() > 4000;
    }, &hold);
    std::printf("released_longest_hold_ms %lld\nstored_after_release_ms %.0f\n", hold, storedMs);
    return 0;
}

QMap<QString, double> runCase(const QString &self, int index, const QString &path, const char *mode = "--child")
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(self, { QLatin1String(mode), QString::number(index), path });
    child.waitForFinished(-1);
    QMap<QString, double> figures;
    for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2)
            figures.insert(QString::fromLatin1(parts.at(0)), parts.at(1).toDouble());
    }
    return figures;
}
// The rebuild cases, each size in a process of its own.
bool printRebuilds(const QTemporaryDir &dir)
{
    const QStringList keys = { "export_ms", "export_longest_hold_ms", "export_unit_change_ms",
                               "export_unit_change_longest_hold_ms", "export_unit_change_same_bytes",
                               "shown_device_change_ms", "shown_device_change_longest_hold_ms" };
    std::printf("\n%-20s", "page rebuilds");
    for (const QString &key : keys)
        std::printf(" %36s", qPrintable(key));
    std::printf("\n");
    for (int i : { 0, 1 }) {
        const QString path = dir.filePath(QStringLiteral("rebuild%1.db").arg(i));
        if (!fill(path, kCases[i].workRows, kCases[i].alarmRows))
            return false;
        const QMap<QString, double> figures = runCase(QCoreApplication::applicationFilePath(), i, path, "--rebuild");
        std::printf("%-20s", kCases[i].name);
        for (const QString &key : keys)
            std::printf(" %36.1f", figures.value(key));
        std::printf("\n");
        std::fflush(stdout);
    }
    return true;
}

// The held-file cases with a busy line, for the empty file and 100k work records.
void printHeldLine(const QTemporaryDir &dir)
{
    const char *variants[] = { "held from the start", "held after the start", "held for writing" };
    std::printf("\n%-22s %-20s %26s %24s %24s\n", "file", "case", "held_line_longest_hold_ms",
                "released_longest_hold_ms", "stored_after_release_ms");
    for (int i : { 0, 1 }) {
        for (int v = 0; v < 3; ++v) {
            const QMap<QString, double> figures = runCase(QCoreApplication::applicationFilePath(), v,
                                                          dir.filePath(QStringLiteral("window%1.db").arg(i)), "--held-line");
            std::printf("%-22s %-20s %26.0f %24.0f %24.0f\n", variants[v], kCases[i].name,
                        figures.value(QStringLiteral("held_line_longest_hold_ms")),
                        figures.value(QStringLiteral("released_longest_hold_ms")),
                        figures.value(QStringLiteral("stored_after_release_ms"), -1));
            std::fflush(stdout);
        }
    }
}

// The cases of a file another program holds, for the empty file and 100k work records.
void printHeld(const QTemporaryDir &dir)
{
    std::printf("\n%-20s %22s %22s\n", "file held at start", "held_startup_ms", "held_longest_hold_ms");
    for (int i : { 0, 1 }) {
        const QMap<QString, double> figures = runCase(QCoreApplication::applicationFilePath(), i,
                                                      dir.filePath(QStringLiteral("window%1.db").arg(i)), "--held");
        std::printf("%-20s %22.1f %22.0f\n", kCases[i].name, figures.value(QStringLiteral("held_startup_ms")),
                    figures.value(QStringLiteral("held_longest_hold_ms")));
    }
    printHeldLine(dir);
}

// Only the held cases: bench_storage --held-only.
int runHeldOnly()
{
    QTemporaryDir dir;
    for (int i : { 0, 1 }) {
        if (!fill(dir.filePath(QStringLiteral("window%1.db").arg(i)), kCases[i].workRows, kCases[i].alarmRows))
            return 1;
    }
    printHeld(dir);
    return 0;
}
} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 4 && QByteArray(argv[1]) == "--child")
        return runChild(QString::fromLocal8Bit(argv[3]));
    if (argc == 4 && QByteArray(argv[1]) == "--window")
        return runWindow(QString::fromLocal8Bit(argv[3]), kCases[QByteArray(argv[2]).toInt()].workRows);
    if (argc == 4 && QByteArray(argv[1]) == "--held")
        return runHeld(QString::fromLocal8Bit(argv[3]));
    if (argc == 4 && QByteArray(argv[1]) == "--rebuild")
        return runRebuild(QString::fromLocal8Bit(argv[3]), kCases[QByteArray(argv[2]).toInt()].workRows);
    if (argc == 2 && QByteArray(argv[1]) == "--rebuilds") {
        QTemporaryDir dir;
        return printRebuilds(dir) ? 0 : 1;
    }
    if (argc == 2 && QByteArray(argv[1]) == "--held-only")
        return runHeldOnly();
    if (argc == 4 && QByteArray(argv[1]) == "--held-line")
        return runHeldLine(QString::fromLocal8Bit(argv[3]), QByteArray(argv[2]).toInt());

    QTemporaryDir dir;
    QMap<QString, double> base;
    const QStringList keys = { "startup_ms", "device_change_ms", "device_read_ms", "peak_rss_mb", "first_work_add_ms",
                               "trim_ms", "trim_longest_hold_ms", "first_alarm_add_ms", "alarm_trim_ms",
                               "alarm_trim_longest_hold_ms", "work_add_ms", "store_only_ms", "store_nosync_ms",
                               "alarm_add_ms", "search_ms", "search_longest_hold_ms", "export_ms", "export_longest_hold_ms" };
    std::printf("%-20s", "case");
    for (const QString &key : keys)
        std::printf(" %22s", qPrintable(key));
    std::printf("\n");
    for (int i = 0; i < int(sizeof kCases / sizeof kCases[0]); ++i) {
        const QString path = dir.filePath(QStringLiteral("case%1.db").arg(i));
        if (!fill(path, kCases[i].workRows, kCases[i].alarmRows))
            return 1;
        const QMap<QString, double> figures = runCase(QCoreApplication::applicationFilePath(), i, path);
        if (i == 0)
            base = figures;
        std::printf("%-20s", kCases[i].name);
        for (const QString &key : keys) {
            const double v = figures.value(key);
            const double b = base.value(key);
            std::printf(" %12.2f (x%6.2f)", v, b > 0 ? v / b : 0.0);
        }
        std::printf("\n");
        std::fflush(stdout);
    }

    // Each size three times, interleaved, best of three: the machine may be shared.
    std::printf("\n%-20s %22s %22s %12s\n", "case", "window_startup_ms", "records_page_ms", "work_records");
    const int windowCases[] = { 0, 1, 2 };
    const QStringList windowKeys = { "window_startup_ms", "records_page_ms" };
    QMap<int, QMap<QString, double>> best;
    QMap<int, double> records;
    for (int round = 0; round < 3; ++round) {
        for (int i : windowCases) {
            const QString path = dir.filePath(QStringLiteral("window%1.db").arg(i));
            if (round == 0 && !fill(path, kCases[i].workRows, kCases[i].alarmRows))
                return 1;
            const QMap<QString, double> figures = runCase(QCoreApplication::applicationFilePath(), i, path, "--window");
            for (const QString &key : windowKeys) {
                const double ms = figures.value(key);
                if (ms > 0 && (!best[i].contains(key) || ms < best[i].value(key)))
                    best[i].insert(key, ms);
            }
            records.insert(i, figures.value(QStringLiteral("work_records")));
        }
    }
    for (int i : windowCases) {
        std::printf("%-20s", kCases[i].name);
        for (const QString &key : windowKeys) {
            const double b = best[0].value(key);
            std::printf(" %12.2f (x%6.2f)", best[i].value(key), b > 0 ? best[i].value(key) / b : 0.0);
        }
        std::printf(" %12.0f\n", records.value(i));
    }

    printHeld(dir);
    return printRebuilds(dir) ? 0 : 1;
}
