#include "app/workrecordframe.h"
#include "ui_workrecordframe.h"

#include "app/paramunit.h"
#include "app/recordsearch.h"
#include "app/recordtablemodel.h"
#include "comm/comsettingsframe.h"
#include "data/databasemanager.h"
#include "widgets/prompt.h"

#include <QDateTime>
#include <QDebug>
#include <QListView>
#include <cmath>
#include <limits>

WorkRecordFrame *WorkRecordFrame::s_instance = nullptr;

namespace {
constexpr int kColumnCount = 8;
constexpr int kMinimumRows = 30;
constexpr int kShownRecordLimit = 500;
constexpr int kSearchIntervalMs = 1;
constexpr int kTimeColumnWidth = 210;
constexpr int kNoRegister = 65535;
constexpr int kAlarmCodeEntry = 24;
const QString kUndefined = QStringLiteral("Undefined");
const QString kSuccessKey = QStringLiteral("Sdriver_LockSuccessCount");
const QString kFailureKey = QStringLiteral("Sdriver_LockFailureCount");
const QString kFinishKey = QStringLiteral("Sdriver_LockFinishCount");
const QString kTotalKey = QStringLiteral("Sdriver_LockTotalCount");

RecordFieldDescriptor field(const QString &name, const QString &type, const QString &dbGetKey, int commAddr = kNoRegister,
                            const QString &format = QString(), int decimals = 0, const QStringList &valToText = {})
{
    RecordFieldDescriptor d;
    d.insert(QStringLiteral("name"), name);
    d.insert(QStringLiteral("type"), type);
    d.insert(QStringLiteral("dbGetKey"), dbGetKey);
    d.insert(QStringLiteral("commAddr"), commAddr);
    if (!format.isEmpty())
        d.insert(QStringLiteral("format"), format);
    d.insert(QStringLiteral("decimals"), decimals);
    if (!valToText.isEmpty())
        d.insert(QStringLiteral("valToText"), valToText);
    return d;
}

// Times compared by a query, as seconds on one wall-clock scale (day number x 86400 + seconds of
// the day). That orders them as the moments they name, and saves a time-zone conversion for each
// of up to 100000 records, which would make a query take seconds.
qint64 wallClockKey(const QDate &date, const QTime &time)
{
    return date.toJulianDay() * 86400 + time.msecsSinceStartOfDay() / 1000;
}

// A stored "yyyy/MM/dd hh:mm:ss"; a text that is not a valid time sorts after every time.
qint64 recordTimeKey(const QStringRef &text)
{
    constexpr qint64 kNotATime = std::numeric_limits<qint64>::max();
    static const char pattern[] = "dddd/dd/dd dd:dd:dd";
    if (text.size() != int(sizeof pattern) - 1)
        return kNotATime;
    int fields[6] = {};
    int part = 0;
    for (int i = 0; i < text.size(); ++i) {
        if (pattern[i] != 'd') {
            if (text.at(i) != QLatin1Char(pattern[i]))
                return kNotATime;
            ++part;
            continue;
        }
        const int digit = text.at(i).unicode() - '0';
        if (digit < 0 || digit > 9)
            return kNotATime;
        fields[part] = fields[part] * 10 + digit;
    }
    if (!QDate::isValid(fields[0], fields[1], fields[2]) || !QTime::isValid(fields[3], fields[4], fields[5]))
        return kNotATime;
    return wallClockKey(QDate(fields[0], fields[1], fields[2]), QTime(fields[3], fields[4], fields[5]));
}

qint64 editTimeKey(const QDateTime &time)
{
    return wallClockKey(time.date(), time.time());
}

// The counters as the database manager holds them, counts made while the file was unreadable included.
void showCounters(Ui::WorkRecordFrame *ui)
{
    DatabaseManager *db = DatabaseManager::instance();
    ui->dataCnt1Lable->setText(db->takeKeyValue(kSuccessKey, QStringLiteral("0")));
    ui->dataCnt2Lable->setText(db->takeKeyValue(kFailureKey, QStringLiteral("0")));
    ui->dataCnt3Lable->setText(db->takeKeyValue(kFinishKey, QStringLiteral("0")));
    ui->dataCnt4Lable->setText(db->takeKeyValue(kTotalKey, QStringLiteral("0")));
}
} // namespace

WorkRecordFrame::WorkRecordFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::WorkRecordFrame)
{
    ui->setupUi(this);
    s_instance = this;
    // A list view lets the style sheet's item height apply to the pop-ups.
    ui->seekOpt1ComBox->setView(new QListView(ui->seekOpt1ComBox));
    ui->seekOpt2ComBox->setView(new QListView(ui->seekOpt2ComBox));
    const QDate today = QDate::currentDate();
    ui->startTimeEdit->setDateTime(QDateTime(today, QTime(0, 0, 0)));
    ui->endTimeEdit->setDateTime(QDateTime(today, QTime(23, 59, 59)));

    m_texts.alarmText = [this](int code) { return code != 0 ? alarmName(code) : tr("No Alarm"); };
    m_model = new RecordTableModel(
        kColumnCount, [this](const RecordRow &record, int column) { return columnText(record, column); },
        [](const RecordRow &record) { return record.value(QStringLiteral("description")); }, this);
    m_model->setHeaderTexts({ tr("螺孔号"), tr("任务号"), tr("锁付圈数"), tr("锁付扭矩"), tr("锁付耗时"), tr("锁付结果"),
                              tr("锁付时间"), tr("报警") });
    m_model->setRowCount(kMinimumRows);
    ui->workRecordTableWidget->setModel(m_model);

    // Records are tested for a few milliseconds per tick: the window stays responsive, and 100000
    // records take well under a second rather than the minutes one record per 1 ms tick would.
    m_search = new RecordSearch(
        m_model, ui->workRecordTableWidget, &DatabaseManager::workRecords,
        [this](const RecordRow &record, const QString &text) { return matchingColumns(record, text); },
        kSearchIntervalMs, this);
    connect(m_search, &RecordSearch::finished, this, &WorkRecordFrame::searchFinishSigal);
    connect(DatabaseManager::instance(), &DatabaseManager::storageChanged, this, &WorkRecordFrame::onStorageChanged);
    connect(DatabaseManager::instance(), &DatabaseManager::listsReloaded, this, &WorkRecordFrame::reloadRecords);
    connect(DatabaseManager::instance(), &DatabaseManager::workRecordsRead, this, [this] {
        if (isVisible())
            showPendingRecords(false);
    });
    reloadRecords();
    RecordTableModel::showPendingWarning(ui->storageWarningLabel, DatabaseManager::instance()->pendingWorkRecords());
}

WorkRecordFrame::~WorkRecordFrame()
{
    m_model->finishExports(true);
    delete ui;
    if (s_instance == this)
        s_instance = nullptr;
}

WorkRecordFrame *WorkRecordFrame::instance()
{
    return s_instance;
}

// --- fields ---------------------------------------------------------------------------------

void WorkRecordFrame::buildSdriverDescriptors()
{
    QStringList tasks;
    for (int i = 0; i <= 4; ++i)
        tasks << QStringLiteral("%1/%2").arg(i).arg(tr("Task%1").arg(i));
    const QStringList results = { QStringLiteral("0x0000/%1").arg(tr("Undone")), QStringLiteral("0x0001/%1").arg(tr("OK")),
                                  QStringLiteral("0x000A/%1").arg(tr("Slip")), QStringLiteral("0x000C/%1").arg(tr("Float")) };
    const QString rawValue = QStringLiteral("rawValue");
    const QString valToText = QStringLiteral("valToText");
    m_fieldDescriptors = {
        field(tr("Screw Number"), rawValue, QStringLiteral("id"), kNoRegister, QStringLiteral("uint16"), 0),
        field(tr("Task Number"), valToText, QStringLiteral("task"), 3072, QString(), 0, tasks),
        field(tr("Lock Turns"), rawValue, QStringLiteral("turns"), 3076, QStringLiteral("int16"), 2),
        field(tr("Lock Torque"), rawValue, QStringLiteral("torque"), 3079, QStringLiteral("uint16"), unitDecimals(QStringLiteral("torque"))),
        field(tr("Used Time"), rawValue, QStringLiteral("usedTime"), 3077, QStringLiteral("uint16"), 3),
        field(tr("Lock Status"), valToText, QStringLiteral("status"), 3336, QString(), 0, results),
        field(tr("Lock Time"), QStringLiteral("dateTime"), QStringLiteral("time")),
        field(tr("Alarm"), QStringLiteral("alarm"), QStringLiteral("alarm"), int(ComSettingsFrame::addrMap(kAlarmCodeEntry) & 0xFFFF)),
    };
}

// The text a field takes from the register cache: "Undefined" when no valToText entry matches,
// a null text for a field that is not read from the device.
QString WorkRecordFrame::fieldText(const RecordFieldDescriptor &d) const
{
    const QString type = d.value(QStringLiteral("type")).toString();
    const Uint16 value = ComSettingsFrame::getRegister(Uint16(d.value(QStringLiteral("commAddr")).toInt()));
    if (type == QLatin1String("rawValue")) {
        const QString format = d.value(QStringLiteral("format"), QStringLiteral("int32")).toString();
        double x = format == QLatin1String("int16") ? double(qint16(value)) : double(value);
        x /= std::pow(10.0, d.value(QStringLiteral("decimals")).toInt());
        if (d.value(QStringLiteral("dbGetKey")).toString() == QLatin1String("torque")) {
            // Records keep the torque in the base unit whatever unit the device shows.
            return QString::number(x / unitScale(QStringLiteral("torque")), 'f', defaultUnitDecimals(QStringLiteral("torque")));
        }
        return QString::number(x, 'g', 6);
    }
    if (type == QLatin1String("valToText")) {
        QString text = kUndefined;
        for (const QString &entry : d.value(QStringLiteral("valToText")).toStringList()) {
            const QStringList parts = entry.split(QLatin1Char('/'));
            const QString code = parts.first();
            bool ok = false;
            const int n = code.contains(QLatin1String("0x")) ? code.toInt(&ok, 16) : code.toInt(&ok, 10);
            if (parts.size() == 2 && ok && n == value)
                text = parts.at(1);
        }
        return text;
    }
    if (type == QLatin1String("alarm"))
        return QString::number(value);
    return QString();
}

void WorkRecordFrame::appendRecord()
{
    RecordItem record;
    for (const RecordFieldDescriptor &d : qAsConst(m_fieldDescriptors)) {
        const QString text = fieldText(d);
        if (text == kUndefined)
            return;
        if (!text.isNull())
            record.insert(d.value(QStringLiteral("dbGetKey")).toString(), text);
    }
    DatabaseManager *db = DatabaseManager::instance();
    // The record and its counters reach the file in one transaction: one disk sync, not three.
    const DatabaseManager::Batch batch(db);
    // A record that waits to be stored is shown and counted all the same: the device made it.
    if (!db->addWorkRecord(record) || m_search->isResultShown())
        return;
    const RecordRow added = db->workRecords().row(db->workRecords().size() - 1);
    if (m_reloadPending) {
        ++m_appendsPending;
        // The store has waited for a read still running: its records are in.
        if (isVisible())
            showPendingRecords(false);
    } else {
        m_model->prependRecord(added, kShownRecordLimit);
        ui->workRecordTableWidget->scrollToTop();
    }
    updateCounters(false, added);
}

QString WorkRecordFrame::alarmName(int code) const
{
    // A search asks for every record's alarm name; the detail list is searched once per code.
    auto it = m_alarmNames.constFind(code);
    if (it == m_alarmNames.constEnd())
        it = m_alarmNames.insert(code, DatabaseManager::instance()->findAlarmDetail(code).value(QStringLiteral("name")).toString());
    return it->isEmpty() ? tr("undefine") : *it;
}

// What a cell shows: the stored text, the alarm's name, the torque in the selected unit.
QString WorkRecordFrame::cellText(const CellTexts &texts, const RecordRow &record, int column)
{
    if (column < 0 || column >= texts.recordColumn.size())
        return QString();
    const QStringRef text = record.field(texts.recordColumn.at(column));
    if (column == texts.alarmColumn)
        return texts.alarmText(text.toInt());
    if (column == texts.torqueColumn)
        return QString::number(texts.torqueScale * text.toDouble(), 'f', texts.torqueDecimals);
    return text.toString();
}

QString WorkRecordFrame::columnText(const RecordRow &record, int column) const
{
    return cellText(m_texts, record, column);
}

WorkRecordFrame::CellTexts WorkRecordFrame::fixedTexts() const
{
    CellTexts texts = m_texts;
    // The alarm codes on the table are few: their texts are taken now, from the details as they are.
    QHash<int, QString> alarms { { 0, m_texts.alarmText(0) } };
    if (m_texts.alarmColumn >= 0) {
        const int column = m_texts.recordColumn.at(m_texts.alarmColumn);
        for (int row = 0; row < m_model->rowCount(); ++row) {
            const int code = m_model->record(row).field(column).toInt();   // 0 for an empty row
            if (!alarms.contains(code))
                alarms.insert(code, m_texts.alarmText(code));
        }
    }
    texts.alarmText = [alarms](int code) { return alarms.value(code); };
    return texts;
}

// --- table ----------------------------------------------------------------------------------

void WorkRecordFrame::reloadRecords()
{
    m_reloadPending = true;
    m_appendsPending = 0;
    if (isVisible())
        showPendingRecords(false);
}

// The table as the reload and the appends since would have left it: every record then, the new
// ones on top, the appends' row limit applied. Records a device change is still reading are shown
// when the read ends, unless the caller needs them now: a hundred thousand take a while.
void WorkRecordFrame::showPendingRecords(bool waitForRead)
{
    if (!m_reloadPending || (!waitForRead && DatabaseManager::instance()->isReadingWorkRecords()))
        return;
    m_reloadPending = false;
    const RecordList &records = DatabaseManager::instance()->workRecords();
    const int rowsBefore = m_model->rowCount();
    m_model->showNewestFirst(records);
    if (m_appendsPending > 0) {
        const int reloaded = qMax(rowsBefore, records.size() - m_appendsPending);
        m_model->setRowCount(qMin(kShownRecordLimit, reloaded + m_appendsPending));
        m_appendsPending = 0;
    }
    ui->workRecordTableWidget->scrollToTop();
}

void WorkRecordFrame::clearHeaderTexts()
{
    m_model->setHeaderTexts(QStringList());
}

void WorkRecordFrame::setCounterWidgetsVisible(bool visible)
{
    for (QWidget *w : std::initializer_list<QWidget *> { ui->dataCnt1Name, ui->dataCnt1Lable, ui->dataCnt2Name,
                                                         ui->dataCnt2Lable, ui->dataCnt3Name, ui->dataCnt3Lable,
                                                         ui->seekOpt1CheckBox, ui->seekOpt1ComBox,
                                                         ui->seekOpt2CheckBox, ui->seekOpt2ComBox })
        w->setVisible(visible);
}

void WorkRecordFrame::onDeviceChanged(DeviceEnum devType)
{
    if (devType == NoDevice)
        return;
    m_alarmNames.clear();
    m_fieldDescriptors.clear();
    m_labelByAddr.clear();
    m_filterColumnByBox.clear();
    m_monitorAddrs.clear();
    m_model->clearContents();
    clearHeaderTexts();
    setCounterWidgetsVisible(false);
    ui->dataCnt4Name->hide();
    ui->dataCnt4Lable->hide();

    if (devType == SdriverDevice) {
        buildSdriverDescriptors();
        ui->workRecordTableWidget->setColumnWidth(6, kTimeColumnWidth);
        ui->dataCnt1Name->setText(tr("Lock Success"));
        ui->dataCnt2Name->setText(tr("Lock Failure"));
        ui->dataCnt3Name->setText(tr("Finish Product"));
        ui->dataCnt4Name->setText(tr("Total Product"));
        showCounters(ui);
        m_filterColumnByBox = { { ui->startTimeBox, 6 }, { ui->endTimeBox, 6 }, { ui->seekOpt1CheckBox, 1 },
                                { ui->seekOpt2CheckBox, 5 } };
        ui->seekOpt1CheckBox->setText(tr("Task Number"));
        ui->seekOpt2CheckBox->setText(tr("Lock Status"));
        ui->seekOpt2ComBox->clear();
        ui->seekOpt2ComBox->addItems({ tr("Undone"), tr("OK"), tr("Slip"), tr("Float") });
        setCounterWidgetsVisible(true);
    }

    QStringList headers;
    m_texts.recordColumn.clear();
    m_texts.alarmColumn = m_texts.torqueColumn = -1;
    // Taken here, as a unit change has reached the unit table before it rebuilds the page.
    m_texts.torqueScale = unitScale(QStringLiteral("torque"));
    m_texts.torqueDecimals = unitDecimals(QStringLiteral("torque"));
    const QStringList &columns = DatabaseManager::workRecordColumns();
    for (const RecordFieldDescriptor &d : qAsConst(m_fieldDescriptors)) {
        const QString key = d.value(QStringLiteral("dbGetKey")).toString();
        if (key == QLatin1String("alarm"))
            m_texts.alarmColumn = m_texts.recordColumn.size();
        else if (key == QLatin1String("torque"))
            m_texts.torqueColumn = m_texts.recordColumn.size();
        m_texts.recordColumn << columns.indexOf(key);
        headers << d.value(QStringLiteral("name")).toString();
    }
    if (headers.isEmpty())
        clearHeaderTexts();
    else
        m_model->setHeaderTexts(headers);
    if (m_model->rowCount() < kMinimumRows)
        m_model->setRowCount(kMinimumRows);
    reloadRecords();
}

void WorkRecordFrame::onParamUnitChanged()
{
    onDeviceChanged(ComSettingsFrame::currentDevice());
}

// --- counters -------------------------------------------------------------------------------

// Each count is added to the stored one, which the labels then show: a count made while the
// file cannot be read is kept and added once it can, so no label goes back.
void WorkRecordFrame::updateCounters(bool clear, const RecordRow &newest)
{
    if (ComSettingsFrame::currentDevice() != SdriverDevice)
        return;
    DatabaseManager *db = DatabaseManager::instance();
    if (clear) {
        bool cleared = true;
        for (const QString &key : { kSuccessKey, kFailureKey, kFinishKey })
            cleared = db->saveKeyValue(key, QStringLiteral("0")) && cleared;
        // Refused while the stored counts cannot be read: what they are is not known yet.
        if (!cleared)
            Prompt::warning(this, tr("Tips"), tr("The counters cannot be cleared while the database file cannot be read."));
    } else {
        db->addToKeyValue(columnText(newest, 5) == tr("OK") ? kSuccessKey : kFailureKey, 1);
        db->addToKeyValue(kFinishKey, 1);
    }
    showCounters(ui);
}

void WorkRecordFrame::on_clearCntButton_clicked()
{
    const DatabaseManager::Batch batch(DatabaseManager::instance());
    updateCounters(true);
}

void WorkRecordFrame::updateTaskComboBox(int taskCount)
{
    if (ComSettingsFrame::currentDevice() != SdriverDevice || ui->seekOpt1ComBox->count() == taskCount)
        return;
    const int index = ui->seekOpt1ComBox->currentIndex();
    ui->seekOpt1ComBox->clear();
    for (int i = 0; i < taskCount; ++i)
        ui->seekOpt1ComBox->addItem(tr("Task%1").arg(i));
    ui->seekOpt1ComBox->setCurrentIndex(index < taskCount ? index : 0);
}

// --- query and search -----------------------------------------------------------------------

void WorkRecordFrame::on_seekButton_clicked()
{
    if (ComSettingsFrame::currentDevice() == NoDevice)
        return;
    showPendingRecords();
    const qint64 start = editTimeKey(ui->startTimeEdit->dateTime());
    const qint64 end = editTimeKey(ui->endTimeEdit->dateTime());
    const QString task = ui->seekOpt1ComBox->currentText();
    const QString status = ui->seekOpt2ComBox->currentText();
    const bool byStart = ui->startTimeBox->isChecked();
    const bool byEnd = ui->endTimeBox->isChecked();
    const bool byTask = !ui->seekOpt1CheckBox->isHidden() && ui->seekOpt1CheckBox->isChecked();
    const bool byStatus = !ui->seekOpt2CheckBox->isHidden() && ui->seekOpt2CheckBox->isChecked();
    auto mark = [this](QCheckBox *box) {
        const int column = m_filterColumnByBox.value(box, -1);
        return column >= 0 && column < 32 ? 1u << column : 0u;
    };
    quint32 redColumns = 0;
    if (byStart || byEnd)
        redColumns |= mark(byStart ? ui->startTimeBox : ui->endTimeBox);
    if (byTask)
        redColumns |= mark(ui->seekOpt1CheckBox);
    if (byStatus)
        redColumns |= mark(ui->seekOpt2CheckBox);

    m_search->setResultShown(true);
    const RecordList &records = DatabaseManager::instance()->workRecords();
    const int timeColumn = records.columns().indexOf(QStringLiteral("time"));
    const int taskColumn = records.columns().indexOf(QStringLiteral("task"));
    const int statusColumn = records.columns().indexOf(QStringLiteral("status"));
    QVector<RecordTableModel::Row> rows;
    for (int i = records.size() - 1; i >= 0; --i) {
        if (byStart || byEnd) {
            const qint64 t = recordTimeKey(records.field(i, timeColumn));
            if ((byStart && start > t) || (byEnd && end < t))
                continue;
        }
        if (byTask && !records.field(i, taskColumn).contains(task))
            continue;
        if (byStatus && !records.field(i, statusColumn).contains(status))
            continue;
        RecordTableModel::Row row;
        row.record = records.row(i);
        row.redColumns = redColumns;
        rows.append(row);
    }
    m_model->showRows(rows);
    ui->workRecordTableWidget->scrollToTop();
}

void WorkRecordFrame::on_clearButton_clicked()
{
    m_search->clearResult();
    reloadRecords();
}

void WorkRecordFrame::onSearchSignal(int cmd, QString match)
{
    if (cmd == 0 && !isHidden())
        showPendingRecords();
    m_search->command(cmd, match, !isHidden());
}

void WorkRecordFrame::searchProcess()
{
    m_search->step();
}

// Every column is searched; the torque as stored, the alarm as shown.
QList<int> WorkRecordFrame::matchingColumns(const RecordRow &record, const QString &text) const
{
    QList<int> hits;
    for (int column = 0; column < m_texts.recordColumn.size(); ++column) {
        const QStringRef value = record.field(m_texts.recordColumn.at(column));
        if (column == m_texts.alarmColumn ? m_texts.alarmText(value.toInt()).contains(text) : value.contains(text))
            hits << column;
    }
    return hits;
}

// --- clear and export -----------------------------------------------------------------------

void WorkRecordFrame::on_clearRecordButton_clicked()
{
    if (Prompt::warning(this, tr("Tips"), tr("Are you sure to clear work record?"), QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    showPendingRecords();
    // Emptying the screen while the rows stay stored would show a clear that did not happen.
    if (!DatabaseManager::instance()->clearTable()) {
        qWarning() << "Work records not cleared for device type" << DatabaseManager::instance()->currentDevice();
        Prompt::warning(this, tr("Tips"), tr("Work record clear failed!"));
        return;
    }
    m_model->clearContents();
    ui->workRecordTableWidget->scrollToTop();
}

void WorkRecordFrame::on_exportRecordButton_clicked()
{
    QString fileName = Prompt::getSaveFileName(this, tr("Export Work Record"), QStringLiteral("./"),
                                               tr("CSV Files (*.csv)"));
    if (fileName.isEmpty())
        return;
    if (!fileName.contains(QLatin1String(".csv")))
        fileName += QLatin1String(".csv");
    qDebug() << "Export Work Record To:" << fileName;
    exportWorkRecord(fileName);
}

void WorkRecordFrame::exportWorkRecord(const QString &fileName)
{
    showPendingRecords();
    QList<int> columns;
    for (int i = 0; i < m_model->columnCount(); ++i)
        columns << i;
    // The file gets the rows and texts of the click, also when the page is rebuilt for another
    // unit or device type before the last slice.
    const CellTexts texts = fixedTexts();
    m_model->exportCsv(
        fileName, columns,
        [this](bool ok) {
            if (!ok)
                Prompt::warning(this, tr("Tips"), tr("Work record export failed!"));
        },
        [texts](const RecordRow &record, int column) { return cellText(texts, record, column); });
}

// Records stored or queued by others, or read again once the file could be read.
void WorkRecordFrame::onStorageChanged()
{
    m_alarmNames.clear();   // the details may have been read only now
    RecordTableModel::showPendingWarning(ui->storageWarningLabel, DatabaseManager::instance()->pendingWorkRecords());
}

// --- register display -----------------------------------------------------------------------

void WorkRecordFrame::refreshDisplay(int addr, int val)
{
    if (ComSettingsFrame::currentDevice() == NoDevice)
        return;
    if (QLabel *label = m_labelByAddr.value(addr))
        label->setText(QString::number(val));
}

void WorkRecordFrame::setAddrMonitoring(QList<int> addrs, bool enable)
{
    if (ComSettingsFrame *com = ComSettingsFrame::instance())
        com->monitorVariableAddrs(this, &WorkRecordFrame::refreshDisplay, addrs, enable);
}

void WorkRecordFrame::showEvent(QShowEvent *event)
{
    showPendingRecords(false);
    setAddrMonitoring(m_monitorAddrs, true);
    QFrame::showEvent(event);
}

void WorkRecordFrame::hideEvent(QHideEvent *event)
{
    setAddrMonitoring(m_monitorAddrs, false);
    QFrame::hideEvent(event);
}
