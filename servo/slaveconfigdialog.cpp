#include "servo/slaveconfigdialog.h"
#include "ui_slaveconfigdialog.h"

#include "comm/comsettingsframe.h"
#include "comm/registercache.h"
#include "data/databasemanager.h"
#include "servo/valuetext.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDebug>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QIntValidator>
#include <QListView>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QStyle>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtMath>

#include <algorithm>

namespace {
constexpr int kFirstStatusColumn = 2;
constexpr int kAxisCount = 8;
constexpr int kTickMs = 5;
constexpr int kStatusBase = 56900;
constexpr int kAxisStep = 100;
constexpr int kHighVoltRecords = 4;

const QString kSlaveNameTag = QStringLiteral("slaveName");
const QString kBlank = QStringLiteral(" ");

// "[%1]:name" -> number and name; false when the entry has no "]:" or its number does not convert.
bool splitEntry(const QString &entry, int *number, QString *name = nullptr)
{
    static const QRegularExpression separator(QStringLiteral("\\]:\\s*"));
    const QRegularExpressionMatch match = separator.match(entry);
    if (!match.hasMatch())
        return false;
    bool ok = false;
    const int n = entry.left(match.capturedStart()).remove(QLatin1Char('[')).trimmed().toInt(&ok);
    if (!ok)
        return false;
    *number = n;
    if (name)
        *name = entry.mid(match.capturedEnd());
    return true;
}

Uint16 statusRegister(int number, int axis)
{
    return Uint16(kStatusBase + number + kAxisStep * axis);
}
} // namespace

SlaveConfigDialog::SlaveConfigDialog(QWidget *parent)
    : QDialog(parent), ui(new Ui::SlaveConfigDialog)
{
    ui->setupUi(this);
    setWindowFlags(windowFlags() | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    resize(850, 500);

    ui->axis0CheckBox->setChecked(true);
    m_axisGroup = new QButtonGroup(this);
    m_axisGroup->setExclusive(false);
    for (int id = 0; id < kAxisCount; ++id)
        m_axisGroup->addButton(findChild<QCheckBox *>(QStringLiteral("axis%1CheckBox").arg(id)), id);

    ui->namesComboBox->setView(new QListView(ui->namesComboBox));
    ui->insertPosComboBox->setView(new QListView(ui->insertPosComboBox));
    ui->addrLineEdit->setValidator(new QIntValidator(0, 99, ui->addrLineEdit));
    ui->addrLineEdit->setAlignment(Qt::AlignCenter);
    QTableWidget *table = ui->slaveTableWidget;
    table->setColumnWidth(0, table->columnWidth(0) + 30);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);

    connect(m_axisGroup, &QButtonGroup::idToggled, this, &SlaveConfigDialog::onAxisSelectChanged);
    connect(table, &QTableWidget::itemChanged, this, &SlaveConfigDialog::onParamsTreeItemChanged);
    connect(table, &QTableWidget::itemDoubleClicked, this, &SlaveConfigDialog::onSlaveTableDoubleClicked);
    m_timer.setInterval(kTickMs);
    connect(&m_timer, &QTimer::timeout, this, &SlaveConfigDialog::process);

    m_valueTree = new QDialog(this);
    m_valueTree->resize(400, 400);
    auto *layout = new QHBoxLayout(m_valueTree);
    m_valueTreeWidget = new QTreeWidget(m_valueTree);
    m_valueTreeWidget->setColumnCount(2);
    layout->addWidget(m_valueTreeWidget);
    rebuildValueTree();
}

SlaveConfigDialog::~SlaveConfigDialog()
{
    m_timer.stop();
    delete ui;
}

int SlaveConfigDialog::statusIndexFromFuncCode(const QString &funcCode)
{
    static const QRegularExpression nonDigits(QStringLiteral("\\D*"));
    bool ok = false;
    const int number = QString(funcCode).remove(nonDigits).toInt(&ok);
    return ok && number < DatabaseManager::instance()->servoStatusList().size() ? number : -1;
}

QString SlaveConfigDialog::statusText(const RecordItem &record, quint16 value)
{
    // A range that reaches below zero means the register holds a signed value.
    const ValueText::Range range = ValueText::parseRange(record.value(QStringLiteral("range")).toString());
    const qint32 raw = range.valid && range.min < 0 ? qint32(qint16(value)) : qint32(value);

    const QString valueText = record.value(QStringLiteral("value_text")).toString();
    if (!valueText.isEmpty()) {
        for (const QString &entry : valueText.split(QLatin1Char('/'))) {
            const int colon = entry.indexOf(QLatin1Char(':'));
            bool ok = false;
            if (colon >= 0 && entry.left(colon).trimmed().toInt(&ok) == raw && ok)
                return entry.mid(colon + 1);
        }
        return QString::number(raw) + QStringLiteral(" : ") + QStringLiteral("null text");
    }
    const int decimals = qBound(0, record.value(QStringLiteral("decimals")).toInt(), 9);
    const QString number = QString::number(raw / qPow(10.0, decimals), 'g', 6);
    const QString unit = record.value(QStringLiteral("unit")).toString();
    return unit.isEmpty() ? number : number + QLatin1Char(' ') + unit;
}

// --- public operations ----------------------------------------------------------------------------

void SlaveConfigDialog::updateSlaveTable(QStringList list)
{
    if (list.isEmpty())
        return;
    m_deviceList = list;
    rebuildTable();
}

void SlaveConfigDialog::applyDeviceType(DeviceEnum devType)
{
    if (devType == NoDevice)
        return;
    const int allowed = devType == SdriverDevice ? 1 : devType == LowVoltServo ? 2 : kAxisCount;
    DatabaseManager *db = DatabaseManager::instance();
    if (devType == HighVoltServo) {
        m_statusRecords.clear();
        for (int number = 0; number < kHighVoltRecords; ++number) {
            const RecordItem record = db->findServoStatus(number);
            if (!record.isEmpty())
                m_statusRecords.append(record);
        }
    }
    {
        // One refresh below instead of one per box.
        const QSignalBlocker block(m_axisGroup);
        for (int id = 0; id < kAxisCount; ++id) {
            QAbstractButton *box = m_axisGroup->button(id);
            box->setEnabled(id < allowed);
            if (id >= allowed)
                box->setChecked(false);
        }
        ui->axis0CheckBox->setChecked(true);
    }

    ui->namesComboBox->clear();
    for (const RecordItem &record : db->servoStatusList()) {
        const int number = statusIndexFromFuncCode(record.value(QStringLiteral("func_code")).toString());
        ui->namesComboBox->addItem(QStringLiteral("[%1]: ").arg(number) + record.value(QStringLiteral("name")).toString());
    }
    fitComboPopupWidth(ui->namesComboBox);
    refreshColumns();
}

void SlaveConfigDialog::setSelectedAxes(QList<int> axes)
{
    {
        const QSignalBlocker block(m_axisGroup);
        for (int id = 0; id < kAxisCount; ++id) {
            QAbstractButton *box = m_axisGroup->button(id);
            box->setChecked(box->isEnabled() && axes.contains(id));
        }
        if (selectedAxes().isEmpty())
            ui->axis0CheckBox->setChecked(true);
    }
    refreshColumns();
}

QList<int> SlaveConfigDialog::selectedSlaves() const
{
    return m_selectedSlaves;
}

QList<int> SlaveConfigDialog::selectedAxes() const
{
    QList<int> axes;
    for (int id = 0; id < kAxisCount; ++id) {
        if (m_axisGroup->button(id)->isChecked())
            axes.append(id);
    }
    return axes;
}

// --- table ------------------------------------------------------------------------------------------

void SlaveConfigDialog::refreshColumns()
{
    rebuildValueTree();
    rebuildTable();
}

void SlaveConfigDialog::rebuildTable()
{
    QTableWidget *table = ui->slaveTableWidget;
    m_currentSlaveItem = nullptr;
    m_state = ProcessState::Stopped;
    {
        const QSignalBlocker block(table);
        const QList<int> axes = selectedAxes();
        const int recordCount = m_statusRecords.size();
        QStringList headers{ tr("设备名称"), tr("设备地址") };
        for (int axis : axes) {
            for (const RecordItem &record : qAsConst(m_statusRecords))
                headers << tr("[轴%1]").arg(axis) + record.value(QStringLiteral("name")).toString();
        }
        table->setRowCount(0);
        table->setColumnCount(headers.size());
        table->setHorizontalHeaderLabels(headers);

        const int current = ComSettingsFrame::currentSlave();
        for (const QString &entry : qAsConst(m_deviceList)) {
            int slave = 0;
            QString name;
            if (!splitEntry(entry, &slave, &name) || !ComSettingsFrame::isValidSlave(slave))
                continue;
            const int row = table->rowCount();
            table->insertRow(row);
            const bool isCurrent = slave == current;
            const bool checked = isCurrent || m_selectedSlaves.contains(slave);

            auto *nameItem = new QTableWidgetItem(name);
            nameItem->setData(NumberRole, kSlaveNameTag);
            nameItem->setIcon(QIcon(isCurrent ? QStringLiteral(":/Resource/Icons/device_2.png")
                                              : QStringLiteral(":/Resource/Icons/device_3.png")));
            nameItem->setForeground(QColor(0, 150, 0));
            nameItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            nameItem->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
            table->setItem(row, 0, nameItem);
            if (isCurrent)
                m_currentSlaveItem = nameItem;

            auto *addrItem = new QTableWidgetItem(QString::number(slave));
            addrItem->setForeground(QColor(0, 150, 0));
            addrItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            table->setItem(row, 1, addrItem);

            for (int column = kFirstStatusColumn; column < headers.size(); ++column) {
                const int axis = axes.at((column - kFirstStatusColumn) / recordCount);
                const RecordItem &record = m_statusRecords.at((column - kFirstStatusColumn) % recordCount);
                const int number = statusIndexFromFuncCode(record.value(QStringLiteral("func_code")).toString());
                QString text = kBlank;
                if (checked && number >= 0) {
                    const Uint16 value = ComSettingsFrame::getRegister(Uint8(slave), statusRegister(number, axis));
                    if (value != RegisterCache::NoValue)
                        text = statusText(record, value);
                }
                auto *cell = new QTableWidgetItem(text);
                cell->setData(NumberRole, number);
                cell->setData(RecordRole, record);
                cell->setData(UnitRole, record.value(QStringLiteral("unit")));
                cell->setData(ValueTextRole, record.value(QStringLiteral("value_text")));
                cell->setData(AxisRole, axis);
                cell->setForeground(QColor(255, 80, 30));
                cell->setTextAlignment(Qt::AlignCenter);
                cell->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
                table->setItem(row, column, cell);
            }
        }
    }
    notifySlaveCnfg();
    m_state = ProcessState::Start;
}

QList<int> SlaveConfigDialog::slaveAddresses()
{
    QList<int> slaves;
    const QTableWidget *table = ui->slaveTableWidget;
    for (int row = 0; row < table->rowCount(); ++row) {
        const QTableWidgetItem *nameItem = table->item(row, 0);
        const int slave = rowSlave(row);
        if (nameItem && nameItem->checkState() == Qt::Checked && slave > 0)
            slaves.append(slave);
    }
    m_selectedSlaves = slaves;
    return slaves;
}

int SlaveConfigDialog::rowSlave(int row) const
{
    const QTableWidgetItem *addrItem = ui->slaveTableWidget->item(row, 1);
    bool ok = false;
    const int slave = addrItem ? addrItem->text().toInt(&ok) : 0;
    return ok && ComSettingsFrame::isValidSlave(slave) ? slave : 0;
}

int SlaveConfigDialog::cellRegister(const QTableWidgetItem *cell) const
{
    bool ok = false;
    const int number = cell ? cell->data(NumberRole).toInt(&ok) : -1;
    if (!ok || number < 0)
        return -1;
    return statusRegister(number, cell->data(AxisRole).toInt());
}

void SlaveConfigDialog::notifySlaveCnfg()
{
    const QList<int> slaves = slaveAddresses();
    const QList<int> axes = selectedAxes();
    qDebug().noquote() << "SlaveCnfgChanged()::slave: " << slaves;
    qDebug().noquote() << "SlaveCnfgChanged()::axis: " << axes;
    emit slaveCnfgChanged(slaves, axes);
}

void SlaveConfigDialog::onParamsTreeItemChanged(QTableWidgetItem *item)
{
    if (!item || item->data(NumberRole).toString() != kSlaveNameTag)
        return;
    const QList<int> slaves = slaveAddresses();
    // At least one slave, and always the current one, stays chosen; re-checking comes back here.
    if (item->checkState() != Qt::Checked && (slaves.isEmpty() || item == m_currentSlaveItem)) {
        item->setCheckState(Qt::Checked);
        return;
    }
    if (!slaves.isEmpty())
        notifySlaveCnfg();
}

void SlaveConfigDialog::onAxisSelectChanged(int id, bool checked)
{
    Q_UNUSED(checked)
    if (selectedAxes().isEmpty()) {
        // One axis always stays chosen; nothing changed, so nothing is told.
        const QSignalBlocker block(m_axisGroup);
        if (QAbstractButton *box = m_axisGroup->button(id))
            box->setChecked(true);
        return;
    }
    refreshColumns();
}

// --- status columns -----------------------------------------------------------------------------

void SlaveConfigDialog::on_newButton_clicked()
{
    QTableWidget *table = ui->slaveTableWidget;
    const int recordCount = m_statusRecords.size();
    QModelIndexList columns = table->selectionModel()->selectedColumns();
    std::sort(columns.begin(), columns.end(), [](const QModelIndex &a, const QModelIndex &b) { return a.column() < b.column(); });
    int selected = -1;
    for (const QModelIndex &index : qAsConst(columns)) {
        if (index.column() >= kFirstStatusColumn && recordCount > 0) {
            selected = index.column();
            break;
        }
    }

    const int position = ui->insertPosComboBox->currentIndex();
    int insertAt = -1;
    int reselect = -1;
    if (selected < 0) {
        if (table->columnCount() == kFirstStatusColumn)
            insertAt = 0;
    } else if (position == 0 || position == 1) {
        // Every axis block shows the same records, so a column of any block names its record.
        const int block = (selected - kFirstStatusColumn) / recordCount;
        const int record = (selected - kFirstStatusColumn) % recordCount;
        insertAt = record + position;
        reselect = kFirstStatusColumn + block * (recordCount + 1) + record + (position == 0 ? 1 : 0);
    }

    int number = -1;
    if (insertAt >= 0 && splitEntry(ui->namesComboBox->currentText(), &number)) {
        const RecordItem record = DatabaseManager::instance()->findServoStatus(number);
        if (!record.isEmpty()) {
            m_statusRecords.insert(qMin(insertAt, m_statusRecords.size()), record);
            rebuildTable();
            table->selectColumn(reselect >= 0 ? reselect : kFirstStatusColumn + insertAt);
        }
    }
    rebuildValueTree();
}

void SlaveConfigDialog::on_deleteButton_clicked()
{
    const int recordCount = m_statusRecords.size();
    QList<int> records;
    for (const QModelIndex &index : ui->slaveTableWidget->selectionModel()->selectedColumns()) {
        const int column = index.column();
        if (column >= kFirstStatusColumn && recordCount > 0) {
            const int record = (column - kFirstStatusColumn) % recordCount;
            if (!records.contains(record))
                records.append(record);
        }
    }
    std::sort(records.begin(), records.end());
    for (int i = records.size() - 1; i >= 0; --i)
        m_statusRecords.removeAt(records.at(i));
    if (!records.isEmpty())
        rebuildTable();
    rebuildValueTree();
}

void SlaveConfigDialog::on_addrLineEdit_textChanged(const QString &arg1)
{
    bool ok = false;
    const int wanted = arg1.toInt(&ok);
    if (!ok)
        return;
    int match = -1;
    for (int i = 0; i < ui->namesComboBox->count(); ++i) {
        int number = -1;
        if (splitEntry(ui->namesComboBox->itemText(i), &number) && number == wanted)
            match = i;
    }
    if (match >= 0) {
        const QSignalBlocker block(ui->namesComboBox);
        ui->namesComboBox->setCurrentIndex(match);
    }
}

void SlaveConfigDialog::on_namesComboBox_currentIndexChanged(int index)
{
    int number = -1;
    if (!splitEntry(ui->namesComboBox->itemText(index), &number))
        return;
    const QSignalBlocker block(ui->addrLineEdit);
    ui->addrLineEdit->setText(QString::number(number));
}

void SlaveConfigDialog::fitComboPopupWidth(QComboBox *combo)
{
    const QFontMetrics metrics(combo->view()->font());
    int width = 0;
    for (int i = 0; i < combo->count(); ++i)
        width = qMax(width, metrics.horizontalAdvance(combo->itemText(i)));
    combo->view()->setMinimumWidth(width + combo->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

// --- value tree ---------------------------------------------------------------------------------

void SlaveConfigDialog::rebuildValueTree()
{
    m_valueTreeWidget->clear();
    m_valueTreeWidget->setHeaderLabels({ tr("名称"), tr("值") });
    m_valueTreeWidget->setColumnWidth(0, 200);
    const int count = m_statusRecords.size() * selectedAxes().size();
    for (int i = 0; i < count; ++i)
        m_valueTreeWidget->addTopLevelItem(new QTreeWidgetItem(m_valueTreeWidget));
}

void SlaveConfigDialog::onSlaveTableDoubleClicked(QTableWidgetItem *item)
{
    if (!item)
        return;
    const QTableWidget *table = ui->slaveTableWidget;
    const int row = item->row();
    const QTableWidgetItem *nameItem = table->item(row, 0);
    const QTableWidgetItem *addrItem = table->item(row, 1);
    m_valueTree->setWindowTitle((nameItem ? nameItem->text() : QString()) + (addrItem ? addrItem->text() : QString()));
    // The tree shows the slave it is titled with, not whichever row the walk read last.
    m_treeSlave = rowSlave(row);
    for (int column = kFirstStatusColumn; column < table->columnCount(); ++column)
        showTreeValue(row, column);
    m_valueTree->show();
}

void SlaveConfigDialog::showTreeValue(int row, int column)
{
    const QTableWidget *table = ui->slaveTableWidget;
    const QTableWidgetItem *cell = table->item(row, column);
    const QTableWidgetItem *header = table->horizontalHeaderItem(column);
    QTreeWidgetItem *treeItem = m_valueTreeWidget->topLevelItem(column - kFirstStatusColumn);
    if (!cell || !header || !treeItem || rowSlave(row) != m_treeSlave)
        return;
    treeItem->setText(0, header->text());
    treeItem->setText(1, cell->text());
}

// --- status walk --------------------------------------------------------------------------------

void SlaveConfigDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_state = ProcessState::Start;
    m_timer.start();
}

void SlaveConfigDialog::hideEvent(QHideEvent *event)
{
    m_state = ProcessState::Stopped;
    m_timer.stop();
    QDialog::hideEvent(event);
}

void SlaveConfigDialog::onComError(int slave, int addr)
{
    // The register wait hears failures from the communication page itself.
    Q_UNUSED(slave)
    Q_UNUSED(addr)
}

void SlaveConfigDialog::process()
{
    const QTableWidget *table = ui->slaveTableWidget;
    if (m_state == ProcessState::Stopped)
        return;
    if (m_row >= table->rowCount()) {
        m_row = 0;
        m_state = ProcessState::Start;
        return;
    }
    if (m_column >= table->columnCount())
        m_column = kFirstStatusColumn;

    switch (m_state) {
    case ProcessState::Start:
        m_row = 0;
        m_column = kFirstStatusColumn;
        m_wait.reset();
        m_state = ProcessState::Request;
        requestCell();
        break;
    case ProcessState::Request:
        requestCell();
        break;
    case ProcessState::Wait:
        waitCell();
        break;
    case ProcessState::Stopped:
        break;
    }
}

void SlaveConfigDialog::requestCell()
{
    const QTableWidget *table = ui->slaveTableWidget;
    m_skip = false;
    const QTableWidgetItem *nameItem = table->item(m_row, 0);
    if (!nameItem || nameItem->checkState() != Qt::Checked) {
        ++m_row;
        m_column = kFirstStatusColumn;
        return;
    }
    m_pendingRow = m_row;
    m_pendingColumn = m_column;
    const int slave = rowSlave(m_row);
    const int addr = cellRegister(table->item(m_row, m_column));
    if (slave == 0 || addr < 0 || !table->horizontalHeaderItem(m_column)) {
        m_skip = true;
        m_state = ProcessState::Wait;
        return;
    }
    if (!m_wait.startRead(Uint8(slave), Uint16(addr), 1, kWaitLimitMs))
        return;   // refused: ask again on the next tick
    m_state = ProcessState::Wait;
}

void SlaveConfigDialog::waitCell()
{
    if (!m_skip) {
        // A slave that never answers must not hold up the others: the wait ends on its failure.
        const RegisterWait::Result result = m_wait.check();
        if (result == RegisterWait::Result::Pending)
            return;
        const bool received = result == RegisterWait::Result::Received;
        if (m_wait.timedOut())
            qWarning() << "SlaveConfigDialog: no status value from slave" << m_wait.slave() << "register" << m_wait.addr();

        // The table may have been rebuilt meanwhile: write only the cell that asked.
        QTableWidgetItem *cell = ui->slaveTableWidget->item(m_pendingRow, m_pendingColumn);
        if (cell && rowSlave(m_pendingRow) == m_wait.slave() && cellRegister(cell) == m_wait.addr()) {
            cell->setText(received ? statusText(cell->data(RecordRole).toMap(), m_wait.value()) : kBlank);
            if (received)
                cell->setIcon(QIcon());
        }
    }
    m_state = ProcessState::Request;
    advance();
}

void SlaveConfigDialog::advance()
{
    ++m_column;
    if (m_column >= ui->slaveTableWidget->columnCount())
        ++m_row;
    showTreeValue(m_pendingRow, m_pendingColumn);
}
