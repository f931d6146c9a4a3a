#include "app/alarminfoframe.h"
#include "ui_alarminfoframe.h"

#include "app/recordsearch.h"
#include "app/recordtablemodel.h"
#include "comm/comsettingsframe.h"
#include "data/databasemanager.h"
#include "widgets/prompt.h"

#include <QDebug>
#include <QHeaderView>

AlarmInfoFrame *AlarmInfoFrame::s_instance = nullptr;

namespace {
constexpr int kInitialRows = 30;
constexpr int kShownAlarmLimit = 500;
constexpr int kSearchIntervalMs = 5;
constexpr int kAlarmEnableAddr = 3340;      // bit 0 float lock, bit 1 slip tooth
constexpr int kEndOfPassAddr = 65535;
constexpr int kClearAlarmEntry = 25;
} // namespace

AlarmInfoFrame::AlarmInfoFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::AlarmInfoFrame)
{
    s_instance = this;
    ui->setupUi(this);

    m_model = new RecordTableModel(
        ColumnCount, [this](const RecordRow &alarm, int column) { return columnText(alarm, column); },
        [this](const RecordRow &alarm) {
            return tr("Solution:") + QLatin1Char('\n') + detailText(alarm.value(QStringLiteral("number")).toInt(),
                                                                  QStringLiteral("solution"));
        },
        this);
    m_model->setHeaderTexts({ tr("报警编号"), tr("报警级别"), tr("报警名称"), tr("报警原因"), tr("解决方法"), tr("报警时间") });
    m_model->setRowCount(kInitialRows);
    ui->alarmInfosTableWidget->setModel(m_model);

    QHeaderView *header = ui->alarmInfosTableWidget->horizontalHeader();
    const int width = header->sectionSize(NumberColumn);
    header->resizeSection(NumberColumn, int(width * 1.2));
    header->resizeSection(NameColumn, int(width * 1.5));
    header->resizeSection(ReasonColumn, width * 2);
    ui->alarmInfosTableWidget->setColumnHidden(LevelColumn, true);
    ui->alarmInfosTableWidget->setColumnHidden(SolutionColumn, true);
    // The enable bits are kept working but not offered.
    ui->groupBox->hide();

    m_search = new RecordSearch(
        m_model, ui->alarmInfosTableWidget, &DatabaseManager::alarmRecords,
        [this](const RecordRow &alarm, const QString &text) { return matchingColumns(alarm, text); },
        kSearchIntervalMs, this);
    connect(m_search, &RecordSearch::finished, this, &AlarmInfoFrame::searchFinishSigal);
    connect(DatabaseManager::instance(), &DatabaseManager::storageChanged, this, &AlarmInfoFrame::onStorageChanged);
    connect(DatabaseManager::instance(), &DatabaseManager::listsReloaded, this, &AlarmInfoFrame::onListsReloaded);
    reloadAlarms();
    RecordTableModel::showPendingWarning(ui->storageWarningLabel, DatabaseManager::instance()->pendingAlarmRecords());
    m_monitorAddrs = { kAlarmEnableAddr };
}

AlarmInfoFrame::~AlarmInfoFrame()
{
    m_model->finishExports(true);
    delete ui;
    if (s_instance == this)
        s_instance = nullptr;
}

AlarmInfoFrame *AlarmInfoFrame::instance()
{
    return s_instance;
}

// A missing detail or an empty field reads as "undefine"; a missing solution is simply empty.
QString AlarmInfoFrame::detailText(int code, const QString &key) const
{
    const QString text = DatabaseManager::instance()->findAlarmDetail(code).value(key).toString();
    if (text.isEmpty() && key != QLatin1String("solution"))
        return tr("undefine");
    return text;
}

QString AlarmInfoFrame::columnText(const RecordRow &alarm, int column) const
{
    const QString number = alarm.value(QStringLiteral("number"));
    switch (column) {
    case NumberColumn:
        return number;
    case LevelColumn:
        return detailText(number.toInt(), QStringLiteral("level"));
    case NameColumn:
        return detailText(number.toInt(), QStringLiteral("name"));
    case ReasonColumn:
        return detailText(number.toInt(), QStringLiteral("reason"));
    case SolutionColumn:
        return detailText(number.toInt(), QStringLiteral("solution"));
    case TimeColumn:
        return alarm.value(QStringLiteral("time"));
    default:
        return QString();
    }
}

void AlarmInfoFrame::appendAlarm(int alarmNo)
{
    DatabaseManager *db = DatabaseManager::instance();
    if (!db->addAlarmRecord(alarmNo) || m_search->isResultShown())
        return;
    m_model->prependRecord(db->alarmRecords().row(db->alarmRecords().size() - 1), kShownAlarmLimit);
    ui->alarmInfosTableWidget->scrollToTop();
}

void AlarmInfoFrame::onStorageChanged()
{
    RecordTableModel::showPendingWarning(ui->storageWarningLabel, DatabaseManager::instance()->pendingAlarmRecords());
}

// The history read again (the file could not be read at the start, or another took its place):
// the table and what an export takes follow it. A search result stays until "清除查找", as it
// does for new alarms.
void AlarmInfoFrame::onListsReloaded()
{
    if (!m_search->isResultShown())
        reloadAlarms();
}

void AlarmInfoFrame::reloadAlarms()
{
    m_model->showNewestFirst(DatabaseManager::instance()->alarmRecords());
    ui->alarmInfosTableWidget->scrollToTop();
}

// --- search ---------------------------------------------------------------------------------

void AlarmInfoFrame::on_searchAlarmButton_clicked(bool checked)
{
    onSearchSignal(checked ? 0 : 2, ui->searchLineEdit->text());
    // Unchecked again at once, so that every click starts a new search.
    ui->searchAlarmButton->setChecked(false);
}

void AlarmInfoFrame::onSearchSignal(int cmd, QString match)
{
    m_search->command(cmd, match, !isHidden());
}

void AlarmInfoFrame::searchProcess()
{
    m_search->step();
}

// The level and the solution are not searched.
QList<int> AlarmInfoFrame::matchingColumns(const RecordRow &alarm, const QString &text) const
{
    QList<int> hits;
    for (int column : { NumberColumn, NameColumn, ReasonColumn, TimeColumn }) {
        if (columnText(alarm, column).contains(text))
            hits << column;
    }
    return hits;
}

void AlarmInfoFrame::on_clearSearchButton_clicked()
{
    m_search->clearResult();
    reloadAlarms();
}

// --- device ---------------------------------------------------------------------------------

void AlarmInfoFrame::on_clearAlarmButton_clicked()
{
    const Uint16 addr = Uint16(ComSettingsFrame::addrMap(kClearAlarmEntry));
    ComSettingsFrame::writeRegister(addr, 1);
    ComSettingsFrame::writeRegister(addr, 0);
}

void AlarmInfoFrame::on_floatLockBox_toggled(bool checked)
{
    writeEnableBit(0x0001, checked);
}

void AlarmInfoFrame::on_slipToothBox_toggled(bool checked)
{
    writeEnableBit(0x0002, checked);
}

void AlarmInfoFrame::writeEnableBit(Uint16 mask, bool set)
{
    const Uint16 value = ComSettingsFrame::getRegister(Uint16(kAlarmEnableAddr));
    if (value == RegisterCache::NoValue)
        return;
    const Uint16 written = Uint16((value & ~mask) | (set ? mask : 0));
    // The cache follows the write, so that toggling the other box before the next read keeps this bit.
    if (ComSettingsFrame::writeRegister(Uint16(kAlarmEnableAddr), written))
        ComSettingsFrame::setRegister(Uint16(kAlarmEnableAddr), written);
}

void AlarmInfoFrame::refreshDisplay(int addr, int val)
{
    if (addr == kAlarmEnableAddr) {
        const QSignalBlocker blockFloat(ui->floatLockBox);
        const QSignalBlocker blockSlip(ui->slipToothBox);
        ui->floatLockBox->setChecked(val & 0x0001);
        ui->slipToothBox->setChecked(val & 0x0002);
    } else if (addr == kEndOfPassAddr) {
        // Read once per showing of the page.
        setAddrMonitoring(m_monitorAddrs, false);
    }
}

void AlarmInfoFrame::setAddrMonitoring(QList<int> addrs, bool enable)
{
    if (ComSettingsFrame *com = ComSettingsFrame::instance())
        com->monitorVariableAddrs(this, &AlarmInfoFrame::refreshDisplay, addrs, enable);
}

void AlarmInfoFrame::showEvent(QShowEvent *event)
{
    setAddrMonitoring(m_monitorAddrs, true);
    QFrame::showEvent(event);
}

void AlarmInfoFrame::hideEvent(QHideEvent *event)
{
    setAddrMonitoring(m_monitorAddrs, false);
    QFrame::hideEvent(event);
}

// --- export ---------------------------------------------------------------------------------

void AlarmInfoFrame::on_exportAlarmButton_clicked()
{
    QString fileName = Prompt::getSaveFileName(this, tr("Export Alarm Record"), QStringLiteral("./"),
                                               tr("CSV Files (*.csv)"));
    if (fileName.isEmpty())
        return;
    if (!fileName.contains(QLatin1String(".csv")))
        fileName += QLatin1String(".csv");
    qDebug() << "Export Alarm Record To:" << fileName;
    exportAlarmRecord(fileName);
}

void AlarmInfoFrame::exportAlarmRecord(const QString &fileName)
{
    // The level column stays out; the hidden solution goes in.
    m_model->exportCsv(fileName, { NumberColumn, NameColumn, ReasonColumn, SolutionColumn, TimeColumn }, [this](bool ok) {
        if (!ok)
            Prompt::warning(this, tr("Tips"), tr("Alarm record export failed!"));
    });
}
