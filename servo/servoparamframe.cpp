#include "servo/servoparamframe.h"
#include "ui_servoparamframe.h"

#include "comm/comsettingsframe.h"
#include "comm/modbusmaster.h"
#include "comm/registercache.h"
#include "data/databasemanager.h"
#include "servo/paramfilereader.h"
#include "servo/servoparamfile.h"
#include "servo/valuetext.h"
#include "shell/mainwindow.h"
#include "widgets/customitemdelegate.h"
#include "widgets/prompt.h"
#include "widgets/rawtext.h"
#include "widgets/vxaction.h"
#include "widgets/vxlineedit.h"
#include "widgets/vxstandarditemmodel.h"

#include <QApplication>
#include <QDebug>
#include <QDir>
#include <QHeaderView>
#include <QIconEngine>
#include <QKeyEvent>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QSet>
#include <QStyle>
#include <QStyleOption>

ServoParamFrame *ServoParamFrame::s_instance = nullptr;

namespace {
constexpr int kParamBaseEntry = 28;
constexpr int kRecoverEntries[] = { 45, 44, 43 };   // status, command data, command of an axis
constexpr Uint16 kRecoverValue = 8051;              // written to Pn000 of an axis: factory settings
constexpr Uint16 kType3WriteOffset = 128;
constexpr Uint8 kImportSlave = 255;
constexpr int kIconFrameMs = 16;
// An imported file's empty lines become empty rows up to this many.
constexpr int kMaxImportedEmptyRows = 1000;
// The engine reports every failed request but drops its queue silently when the link goes, so a
// wait also ends on this bound; it is well above the engine's own time-out and retries.
constexpr int kWaitLimitMs = 5000;

// Detailed view columns; the compact view has code, name, one value per (slave, axis) and new value.
enum Column { ColCode = 0, ColAddress, ColName, ColFormat, ColSlaveAxis, ColCurrent, ColNew, ColUnit, ColRange };
constexpr int kCompactFirstValue = 2;

const char kContext[] = "ServoParamFrame";

// The Monitor icon turned by the angle the page keeps. The button draws it on its own paint, so
// the icon turns by a repaint alone: setting a new icon would lay the whole page out again.
class TurningIconEngine : public QIconEngine
{
public:
    TurningIconEngine(const QPixmap &image, const int *angle) : m_image(image), m_angle(angle) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        const QSize fit = actualSize(size, mode, state);
        QPixmap turned(fit);
        turned.fill(Qt::transparent);
        QPainter painter(&turned);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.translate(fit.width() / 2.0, fit.height() / 2.0);
        painter.rotate(*m_angle);
        painter.translate(-fit.width() / 2.0, -fit.height() / 2.0);
        painter.drawPixmap(QRect(QPoint(0, 0), fit), m_image);
        painter.end();
        if (mode == QIcon::Disabled) {
            QStyleOption option;
            return QApplication::style()->generatedIconPixmap(mode, turned, &option);
        }
        return turned;
    }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        return m_image.size().scaled(size, Qt::KeepAspectRatio).boundedTo(m_image.size());
    }
    QIconEngine *clone() const override { return new TurningIconEngine(m_image, m_angle); }

private:
    QPixmap m_image;
    const int *m_angle;
};

// Numbers for a message or a log line: the first few and how many more, however many there are.
class LineNumbers
{
public:
    void add(int number)
    {
        if (m_shown.size() < kShown)
            m_shown << QString::number(number);
        ++m_count;
    }
    bool isEmpty() const { return m_count == 0; }
    QString text() const
    {
        return m_shown.join(QLatin1String(", ")) + (m_count > kShown ? QStringLiteral(", ...") : QString());
    }

private:
    static constexpr int kShown = 10;
    QStringList m_shown;
    int m_count = 0;
};

QString raw(const char *source)
{
    return RawText::make(kContext, QString::fromUtf8(source));
}

QString field(const RecordItem &def, const char *name)
{
    return def.value(QLatin1String(name)).toString();
}

// "Pn" and the digits of func_code as written: P0-12 and Pn012 both give Pn012.
QString pnCode(const RecordItem &def)
{
    static const QRegularExpression nonDigits(QStringLiteral("\\D"));
    QString digits = field(def, "func_code");
    digits.remove(nonDigits);
    return QStringLiteral("Pn") + digits;
}

int widthOf(const QString &format)
{
    return ValueText::isInt32Format(format) ? 32 : 16;
}

QStringList modeNames()
{
    return { ServoParamFrame::tr("有符号"), ServoParamFrame::tr("无符号"), ServoParamFrame::tr("十六进制"),
             ServoParamFrame::tr("二进制") };
}
} // namespace

ServoParamFrame::ServoParamFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::ServoParamFrame)
{
    s_instance = this;
    ui->setupUi(this);
    setupForm();
    setupTree();
    setupTable();
    connect(&m_timer, &QTimer::timeout, this, &ServoParamFrame::process);
    if (ComSettingsFrame *com = ComSettingsFrame::instance())
        connect(com, &ComSettingsFrame::linkStateChanged, this, &ServoParamFrame::wakeTimer);
    connect(&m_slaveDialog, &SlaveConfigDialog::slaveCnfgChanged, this, &ServoParamFrame::onSalveCnfgChanged);
    {
        const QSignalBlocker block(ui->viewModeComBox);
        ui->viewModeComBox->addItem(raw("Detailed display"));
        ui->viewModeComBox->addItem(raw("Compact display"));
        ui->viewModeComBox->setCurrentIndex(DetailedView);
    }
    on_viewModeComBox_currentIndexChanged(DetailedView);
    ui->writeParamBtn->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_W));
    ui->writeParamBtn->setToolTip(QStringLiteral("Ctrl+W"));
    createTableContextMenu();
    onSalveCnfgChanged({}, {});
}

ServoParamFrame::~ServoParamFrame()
{
    m_timer.stop();
    delete ui;
    if (s_instance == this)
        s_instance = nullptr;
}

ServoParamFrame *ServoParamFrame::instance()
{
    return s_instance;
}

QStandardItemModel *ServoParamFrame::treeModel() const
{
    return m_treeModel;
}

QStandardItemModel *ServoParamFrame::tableModel() const
{
    return m_tableModel;
}

// --- set-up -----------------------------------------------------------------------------------

void ServoParamFrame::setupForm()
{
    ui->realTimeReadBtn->setText(raw("Monitor"));
    ui->upLoadButton->setText(raw("Upload"));
    ui->resetDefaultBtn->setText(raw("Recover"));
    ui->importBnt->setText(raw("Open"));
    ui->downLoadButton->setText(raw("Download"));
    ui->writeParamBtn->setText(raw("Write"));
    ui->exportBnt->setText(raw("Export"));
    ui->showMaxButton->setText(raw("Maximize"));
    ui->showMaxButton->hide();
    // A list view, so that the style sheet's item height applies to the popup.
    ui->viewModeComBox->setView(new QListView(ui->viewModeComBox));
    ui->realTimeReadBtn->setIcon(QIcon(new TurningIconEngine(QPixmap(QStringLiteral(":/Resource/Icons/refresh.png")),
                                                             &m_refreshAngle)));
    ui->splitter->setStretchFactor(1, 14);
    ui->splitter->setSizes({ 220, 780 });
}

void ServoParamFrame::setupTree()
{
    m_delegate = new CustomItemDelegate(this);
    m_treeModel = new QStandardItemModel(0, 1, this);
    m_treeHeader = new QStandardItem(QIcon(QStringLiteral(":/Resource/Icons/servoParam_2.png")), QString());
    m_treeHeader->setFont(QFont(QStringLiteral("微软雅黑"), 10, QFont::Normal));
    m_treeHeader->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    m_treeModel->setHorizontalHeaderItem(0, m_treeHeader);
    // Holds the header's raw text; its textChanged on a language change re-titles the tree.
    m_treeTitle = new VxLineEdit(raw("Servo Paramter"), this);
    m_treeTitle->hide();
    m_treeHeader->setText(m_treeTitle->text());
    connect(m_treeTitle, &QLineEdit::textChanged, this, &ServoParamFrame::standardItemChanged);

    ui->paramsTreeView->setModel(m_treeModel);
    ui->paramsTreeView->setItemDelegate(m_delegate);
    QHeaderView *header = ui->paramsTreeView->header();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setOffset(-20);
    connect(m_treeModel, &QStandardItemModel::itemChanged, this, &ServoParamFrame::onParamsTreeItemChanged);
    rebuildParamTree();
}

void ServoParamFrame::setupTable()
{
    m_tableModel = new VxStandardItemModel(this);
    QTableView *view = ui->paramsTableView;
    view->setModel(m_tableModel);
    view->setItemDelegate(m_delegate);
    view->verticalHeader()->hide();
    view->setMouseTracking(true);
    view->setAlternatingRowColors(true);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->horizontalHeader()->setDefaultSectionSize(120);
    view->horizontalHeader()->setStretchLastSection(true);
    connect(m_tableModel, &QStandardItemModel::itemChanged, this, &ServoParamFrame::onParamsTableItemChanged);
    connect(view, &QWidget::customContextMenuRequested, this, &ServoParamFrame::showTableContextMenu);
    connect(view, &QAbstractItemView::doubleClicked, this, &ServoParamFrame::onParamsTableViewDoubleClicked);
}

void ServoParamFrame::createTableContextMenu()
{
    if (m_contextMenu)
        return;
    m_contextMenu = new QMenu(this);
    auto *insert = new VxAction(raw("Insert"), this);
    insert->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_I));
    auto *remove = new VxAction(raw("Delete"), this);
    remove->setShortcut(QKeySequence(Qt::Key_Delete));
    for (QAction *action : { static_cast<QAction *>(insert), static_cast<QAction *>(remove) }) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        m_contextMenu->addAction(action);
        ui->paramsTableView->addAction(action);
    }
    connect(insert, &QAction::triggered, this, &ServoParamFrame::onTableRowInsert);
    connect(remove, &QAction::triggered, this, &ServoParamFrame::onTableRowDelete);
}

// --- definitions ------------------------------------------------------------------------------

const QList<RecordItem> &ServoParamFrame::definitions() const
{
    return DatabaseManager::instance()->servoParams();
}

// Ids are positions, but the list can change under the table (a language switch on type 3).
const RecordItem *ServoParamFrame::definitionById(int id) const
{
    const QList<RecordItem> &defs = definitions();
    return id >= 1 && id <= defs.size() ? &defs.at(id - 1) : nullptr;
}

bool ServoParamFrame::isInt32Format(const QString &format)
{
    return ValueText::isInt32Format(format);
}

bool ServoParamFrame::isHighWordFirst(const QString &format)
{
    return ValueText::isHighWordFirst(format);
}

bool ServoParamFrame::isLowWordFirst(const QString &format)
{
    return ValueText::isLowWordFirst(format);
}

QString ServoParamFrame::formatValueText(quint32 value, int width, int decimals, int mode)
{
    return ValueText::formatValueText(value, width, decimals, mode);
}

int ServoParamFrame::parseValueText(const QString &text, quint32 &value, int decimals)
{
    return ValueText::parseValueText(text, value, decimals);
}

int ServoParamFrame::findParamIndex(const QString &pn) const
{
    const int number = ValueText::pnNumber(pn);
    if (number < 0)
        return -1;
    const QList<RecordItem> &defs = definitions();
    for (int i = 0; i < defs.size(); ++i) {
        if (ValueText::pnNumber(field(defs.at(i), "func_code")) == number)
            return i;
    }
    return -1;
}

int ServoParamFrame::parsePnNumber(const QString &pn) const
{
    const QList<RecordItem> &defs = definitions();
    const int number = ValueText::pnNumber(pn);
    if (defs.isEmpty() || number < 0 || number > ValueText::pnNumber(field(defs.last(), "func_code")))
        return -1;
    return number;
}

QHash<int, int> ServoParamFrame::paramIndexByPn() const
{
    QHash<int, int> byPn;
    const QList<RecordItem> &defs = definitions();
    for (int i = 0; i < defs.size(); ++i) {
        const int number = ValueText::pnNumber(field(defs.at(i), "func_code"));
        if (number >= 0 && !byPn.contains(number))
            byPn.insert(number, i);
    }
    return byPn;
}

Uint16 ServoParamFrame::paramAddress(int pn, int axis, bool forWrite)
{
    // Unsigned throughout: an axis number from a file can be anything, and only 16 bits count.
    Uint16 addr = Uint16(quint32(ComSettingsFrame::addrMap(kParamBaseEntry)) + quint32(pn)
                         + quint32(axis) * quint32(ComSettingsFrame::axisAddrStride()));
    if (forWrite && ComSettingsFrame::currentDevice() == TrelvoxServo)
        addr = Uint16(addr + kType3WriteOffset);
    return addr;
}

QString ServoParamFrame::displayModeKey(int slave, int axis, int pn)
{
    return QStringLiteral("Slave%1-Axis%2-Pn%3").arg(slave).arg(axis).arg(pn);
}

void ServoParamFrame::rebuildParamTree()
{
    const QIcon folder(QStringLiteral(":/Resource/Icons/folder.png"));
    const QIcon file(QStringLiteral(":/Resource/Icons/file.png"));
    QMap<int, QStandardItem *> groups;
    for (const RecordItem &def : definitions()) {
        const QString name = field(def, "name");
        for (const QString &entry : field(def, "group").split(QStringLiteral("&&"))) {
            const QStringList parts = entry.split(QLatin1Char('/'));
            if (parts.size() < 2) {
                Prompt::warning(this, tr("Tips"), tr("Servo param(%1) group error!").arg(name));
                continue;
            }
            const int number = parts.at(0).trimmed().toInt();
            QStandardItem *&group = groups[number];
            if (!group) {
                group = new QStandardItem(folder, parts.at(1));
                group->setData(QStringLiteral("isGroupItem_%1").arg(number), IdRole);
                group->setCheckable(true);
                group->setEditable(false);
            }
            auto *item = new QStandardItem(file, name);
            item->setData(field(def, "id").toInt(), IdRole);
            item->setCheckable(true);
            item->setEditable(false);
            group->appendRow(item);
        }
    }
    m_treeModel->removeRows(0, m_treeModel->rowCount());
    for (QStandardItem *group : qAsConst(groups))   // ascending group number
        m_treeModel->appendRow(group);
}

// --- table ------------------------------------------------------------------------------------

void ServoParamFrame::setHeaders()
{
    QStringList headers;
    if (m_viewMode == DetailedView) {
        headers << tr("代号") << tr("地址") << tr("名称") << tr("格式") << tr("设备/轴") << tr("当前值") << tr("新值")
                << tr("单位") << tr("范围");
    } else {
        headers << tr("代号") << tr("名称");
        for (int slave : qAsConst(m_slaves)) {
            for (int axis : qAsConst(m_axes))
                headers << tr("当前值[%1/%2]").arg(slave).arg(axis);
        }
        headers << tr("新值");
    }
    m_tableModel->setColumnCount(headers.size());
    m_tableModel->setHorizontalHeaderLabels(headers);
    ui->paramsTableView->setColumnHidden(ColAddress, m_viewMode == DetailedView);
}

void ServoParamFrame::resetParamTable()
{
    setHeaders();
}

void ServoParamFrame::removeAllRows()
{
    m_tableModel->removeRows(0, m_tableModel->rowCount());
}

void ServoParamFrame::appendEmptyRow(int row)
{
    QList<QStandardItem *> items;
    for (int c = 0; c < m_tableModel->columnCount(); ++c)
        items << new QStandardItem;
    const QScopedValueRollback<bool> building(m_building, true);
    m_tableModel->insertRow(row, items);
}

void ServoParamFrame::appendEntries(const QList<int> &entries)
{
    for (int entry : entries) {
        if (entry > 0 && entry <= definitions().size())
            insertParamRows(m_tableModel->rowCount(), definitions().at(entry - 1));
        else
            appendEmptyRow(m_tableModel->rowCount());
    }
}

void ServoParamFrame::fillEmptyRows()
{
    while (m_tableModel->rowCount() < MinRows)
        appendEmptyRow(m_tableModel->rowCount());
}

QList<int> ServoParamFrame::collectTableParams() const
{
    // By lookup, not by search: an imported file can leave many thousands of rows.
    const QHash<int, int> byPn = paramIndexByPn();
    QList<int> entries;
    QSet<int> seen;
    for (int r = 0; r < m_tableModel->rowCount(); ++r) {
        const QStandardItem *first = m_tableModel->item(r, ColCode);
        const QString text = first ? first->text() : QString();
        const int number = text.contains(QLatin1String("Pn")) ? ValueText::pnNumber(text) : -1;
        const int index = number < 0 ? -1 : byPn.value(number, -1);
        if (index < 0)
            entries << -1;
        else if (!seen.contains(index))
            entries << index + 1;
        seen.insert(index);
    }
    return entries;
}

void ServoParamFrame::rebuildTable()
{
    setHeaders();
    const QList<int> entries = collectTableParams();
    removeAllRows();
    appendEntries(entries);
    fillEmptyRows();
    ui->paramsTableView->scrollToTop();
    restartRunningPasses();
}

// A value from the register cache: a 32-bit value whose second word is unknown shows its first word.
QString ServoParamFrame::valueText(int slave, Uint16 addr, const QString &format, int decimals, int mode) const
{
    const Uint16 first = ComSettingsFrame::getRegister(Uint8(slave), addr);
    if (first == RegisterCache::NoValue)
        return QString();
    quint32 value = first;
    if (ValueText::isInt32Format(format)) {
        const Uint16 second = ComSettingsFrame::getRegister(Uint8(slave), Uint16(addr + 1));
        if (second != RegisterCache::NoValue)
            value = ValueText::combineWords(format, first, second);
    }
    if (value == ValueText::NoValue)
        return QString();
    return ValueText::formatValueText(value, widthOf(format), decimals, mode);
}

int ServoParamFrame::cellDecimals(const QStandardItem *item)
{
    return item ? item->data(CustomItemDelegate::LineEditConfigRole).toMap().value(QStringLiteral("decimals"), 0).toInt()
                : 0;
}

namespace {
// What every cell of a parameter's row shares.
struct RowParts {
    QString code;
    int pn = -1;
    int id = 0;
    QString format;
    QVariant editorConfig;
    int decimals = 0;
    QString tip;
};

RowParts rowParts(const RecordItem &def)
{
    RowParts p;
    p.code = pnCode(def);
    p.pn = ValueText::pnNumber(p.code);
    p.id = field(def, "id").toInt();
    p.format = field(def, "format");
    const QString range = field(def, "range");
    p.editorConfig = ValueText::rangeEditorConfig(range);
    p.decimals = p.editorConfig.isValid() ? ValueText::parseRange(range).decimals : 0;
    p.tip = field(def, "description").replace(QLatin1String("\\n"), QLatin1String("\n"));
    return p;
}

QStandardItem *cell(const QString &text, const RowParts &p, bool editable, bool centred = true)
{
    auto *item = new QStandardItem(text);
    item->setEditable(editable);
    item->setToolTip(p.tip);
    if (centred)
        item->setTextAlignment(Qt::AlignCenter);
    return item;
}

QStandardItem *valueCell(const QString &text, const RowParts &p, bool editable)
{
    QStandardItem *item = cell(text, p, editable);
    if (p.editorConfig.isValid())
        item->setData(p.editorConfig, CustomItemDelegate::LineEditConfigRole);
    return item;
}

QStandardItem *codeCell(const RowParts &p)
{
    QStandardItem *item = cell(p.code, p, true);
    item->setData(p.id, ServoParamFrame::IdRole);
    return item;
}

QStandardItem *nameCell(const RecordItem &def, const RowParts &p)
{
    QStandardItem *item = cell(field(def, "name"), p, false, false);
    item->setForeground(QColor(0, 150, 0));
    return item;
}
} // namespace

int ServoParamFrame::enterDisplayMode(int slave, int axis, int pn)
{
    const QString key = displayModeKey(slave, axis, pn);
    if (!m_displayModes.contains(key))
        m_displayModes.insert(key, ValueText::Signed);
    return m_displayModes.value(key);
}

QList<QStandardItem *> ServoParamFrame::detailedRow(const RecordItem &def, int slave, int axis)
{
    const RowParts p = rowParts(def);
    const int cacheSlave = m_imported ? kImportSlave : slave;
    const int mode = enterDisplayMode(cacheSlave, axis, p.pn);
    const QStringList modes = modeNames();
    QVariantMap combo;
    combo.insert(QStringLiteral("textList"), modes);
    combo.insert(QStringLiteral("currentIndex"), mode >= 0 && mode < modes.size() ? mode : 0);
    QStandardItem *format = cell(modes.value(combo.value(QStringLiteral("currentIndex")).toInt()), p, true);
    format->setData(combo, CustomItemDelegate::ComboConfigRole);
    const QString unit = field(def, "unit");
    const QString range = field(def, "range");
    const QString current = valueText(cacheSlave, paramAddress(p.pn, axis), p.format, p.decimals, mode);
    return { codeCell(p),
             cell(field(def, "address"), p, false),
             nameCell(def, p),
             format,
             cell(QStringLiteral("%1/%2").arg(slave).arg(axis), p, false),
             valueCell(current, p, false),
             valueCell(QString(), p, true),
             cell(unit.isEmpty() ? tr("无") : unit, p, false),
             cell(range.isEmpty() ? tr("无") : range, p, false) };
}

QList<QStandardItem *> ServoParamFrame::compactRow(const RecordItem &def)
{
    const RowParts p = rowParts(def);
    QList<QStandardItem *> items { codeCell(p), nameCell(def, p) };
    for (int slave : qAsConst(m_slaves)) {
        const int cacheSlave = m_imported ? kImportSlave : slave;
        for (int axis : qAsConst(m_axes)) {
            const int mode = enterDisplayMode(cacheSlave, axis, p.pn);
            items << valueCell(valueText(cacheSlave, paramAddress(p.pn, axis), p.format, p.decimals, mode), p, false);
        }
    }
    items << valueCell(QString(), p, true);
    return items;
}

void ServoParamFrame::insertParamRows(int row, const RecordItem &def)
{
    const QScopedValueRollback<bool> building(m_building, true);
    if (m_viewMode == CompactView) {
        m_tableModel->insertRow(row, compactRow(def));
        return;
    }
    for (int slave : qAsConst(m_slaves)) {
        for (int axis : qAsConst(m_axes))
            m_tableModel->insertRow(row++, detailedRow(def, slave, axis));
    }
}

void ServoParamFrame::replaceRowWithParam(int row, int defIndex)
{
    if (row < 0 || row >= m_tableModel->rowCount() || defIndex < 0 || defIndex >= definitions().size())
        return;
    m_tableModel->removeRow(row);
    insertParamRows(row, definitions().at(defIndex));
    ui->paramsTableView->setCurrentIndex(m_tableModel->index(row, ColCode));
    fillEmptyRows();
    restartRunningPasses();
}

bool ServoParamFrame::parseSlaveAxis(const QString &text, int *slave, int *axis)
{
    static const QRegularExpression bracketed(QStringLiteral("\\[\\d+/\\d+\\]"));
    static const QRegularExpression upToBracket(QStringLiteral(".*\\["));
    static const QRegularExpression fromBracket(QStringLiteral("\\].*"));
    QString t = text;
    if (bracketed.match(t).hasMatch()) {
        t.remove(upToBracket);
        t.remove(fromBracket);
    }
    const QStringList parts = t.split(QLatin1Char('/'));
    if (parts.size() != 2)
        return false;
    bool okSlave = false;
    bool okAxis = false;
    *slave = parts.at(0).trimmed().toInt(&okSlave);
    *axis = parts.at(1).trimmed().toInt(&okAxis);
    return okSlave && okAxis;
}

void ServoParamFrame::updateCellMode(int row)
{
    const QStandardItem *code = m_tableModel->item(row, ColCode);
    const QStandardItem *format = m_tableModel->item(row, ColFormat);
    const QStandardItem *slaveAxis = m_tableModel->item(row, ColSlaveAxis);
    QStandardItem *current = m_tableModel->item(row, ColCurrent);
    if (!code || !format || !slaveAxis || !current)
        return;
    const int mode = format->data(CustomItemDelegate::ComboConfigRole).toMap().value(QStringLiteral("currentIndex")).toInt();
    int slave = 0;
    int axis = 0;
    const int pn = parsePnNumber(code->text());
    if (parseSlaveAxis(slaveAxis->text(), &slave, &axis) && pn >= 0)
        m_displayModes.insert(displayModeKey(m_imported ? kImportSlave : slave, axis, pn), mode);
    const RecordItem *def = definitionById(code->data(IdRole).toInt());
    if (!def)
        return;
    const int decimals = cellDecimals(current);
    quint32 value = 0;
    ValueText::parseValueText(current->text(), value, decimals);
    const QScopedValueRollback<bool> building(m_building, true);
    current->setText(value == ValueText::NoValue
                         ? QString()
                         : ValueText::formatValueText(value, widthOf(field(*def, "format")), decimals, mode));
}

// --- slots: table, tree, dialog ---------------------------------------------------------------

void ServoParamFrame::onParamsTableItemChanged(QStandardItem *item)
{
    if (m_building || !item)
        return;
    if (item->column() == ColCode) {
        const int index = findParamIndex(item->text());
        if (index < 0)
            return;   // an unknown Pn stays as typed
        // At once, so that whoever set the text reads the new row back. The model is done with the
        // item once it has told of the change; item is not used after the replacement.
        replaceRowWithParam(item->row(), index);
    } else if (item->column() == ColFormat && m_viewMode == DetailedView) {
        updateCellMode(item->row());
    }
}

void ServoParamFrame::onParamsTreeItemChanged(QStandardItem *item)
{
    if (!item || !item->isCheckable())
        return;
    const QVariant tag = item->data(IdRole);
    if (tag.type() == QVariant::String && tag.toString().startsWith(QLatin1String("isGroupItem_"))) {
        for (int r = 0; r < item->rowCount(); ++r) {
            if (QStandardItem *child = item->child(r))
                child->setCheckState(item->checkState());
        }
        return;
    }
    const RecordItem *def = definitionById(tag.toInt());
    if (!def)
        return;
    ui->paramsTableView->scrollToTop();
    if (item->checkState() == Qt::Checked) {
        insertParamRows(0, *def);
    } else {
        const QString code = pnCode(*def);
        for (int r = m_tableModel->rowCount() - 1; r >= 0; --r) {
            const QStandardItem *first = m_tableModel->item(r, ColCode);
            if (first && first->text() == code)
                m_tableModel->removeRow(r);
        }
    }
    fillEmptyRows();
    restartRunningPasses();
    if (!m_imported)
        startReadPass();
}

void ServoParamFrame::onParamsTableViewDoubleClicked(const QModelIndex &index)
{
    QItemSelectionModel *selection = ui->paramsTableView->selectionModel();
    if (selection && selection->isSelected(index)) {
        selection->select(index, QItemSelectionModel::Deselect);
        ui->paramsTableView->clearFocus();
    }
}

void ServoParamFrame::showTableContextMenu(const QPoint &pos)
{
    m_contextMenu->popup(ui->paramsTableView->viewport()->mapToGlobal(pos));
}

void ServoParamFrame::onTableRowInsert()
{
    appendEmptyRow(qMax(0, ui->paramsTableView->currentIndex().row()));
}

void ServoParamFrame::onTableRowDelete()
{
    QList<int> rows;
    for (const QModelIndex &index : ui->paramsTableView->selectionModel()->selectedIndexes()) {
        if (!rows.contains(index.row()))
            rows << index.row();
    }
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    for (int row : qAsConst(rows))
        m_tableModel->removeRow(row);
    fillEmptyRows();
    restartRunningPasses();
}

void ServoParamFrame::keyPressEvent(QKeyEvent *event)
{
    const QModelIndex current = ui->paramsTableView->currentIndex();
    if (event->key() == Qt::Key_Return && !(event->modifiers() & Qt::ControlModifier) && current.isValid()
        && current.column() == ColCode) {
        const int row = current.row();
        const int index = findParamIndex(current.data().toString());
        if (index >= 0) {
            const QModelIndex below = m_tableModel->index(row + 1, ColCode);
            if (!below.isValid() || findParamIndex(below.data().toString()) >= 0)
                appendEmptyRow(row + 1);
            replaceRowWithParam(row + 1, index + 1);
        }
    }
    QFrame::keyPressEvent(event);
}

void ServoParamFrame::onDeviceChanged(DeviceEnum devType)
{
    if (devType != m_lastDevice) {
        m_lastDevice = devType;
        if (devType != NoDevice) {
            removeAllRows();
            fillEmptyRows();
            ui->paramsTableView->scrollToTop();
            restartRunningPasses();
        }
    }
    rebuildParamTree();
    m_slaveDialog.applyDeviceType(devType);
}

void ServoParamFrame::onSalveCnfgChanged(QList<int> slaves, QList<int> axes)
{
    m_slaves = slaves.isEmpty() ? QList<int> { 1 } : slaves;
    m_axes = axes.isEmpty() ? QList<int> { 0 } : axes;
    rebuildTable();
    if (!m_imported)
        startReadPass();
}

void ServoParamFrame::updateSlaveTable(QStringList list)
{
    m_slaveDialog.updateSlaveTable(list);
}

void ServoParamFrame::showSlaveConfigDialog()
{
    m_slaveDialog.hide();
    m_slaveDialog.show();
    m_slaveDialog.activateWindow();
}

void ServoParamFrame::standardItemChanged(const QString &text)
{
    m_treeHeader->setText(text);
    rebuildTable();
}

// The page has no parameter search; the menu bar's search goes to the other pages.
void ServoParamFrame::onSearchSignal(int cmd, QString match)
{
    Q_UNUSED(cmd)
    Q_UNUSED(match)
}

void ServoParamFrame::searchProcess()
{
}

// --- the read and write passes ----------------------------------------------------------------

void ServoParamFrame::restartRunningPasses()
{
    if (m_readState != PassState::Idle)
        m_readState = PassState::Start;
    if (m_writeState != PassState::Idle)
        m_writeState = PassState::Start;
    wakeTimer();
}

void ServoParamFrame::startReadPass()
{
    m_readState = PassState::Start;
    wakeTimer();
}

void ServoParamFrame::wakeTimer()
{
    if (isVisible() && !m_timer.isActive())
        m_timer.start(1);
}

void ServoParamFrame::process()
{
    // A message box shown by a step runs an event loop of its own; the timer must not step again.
    if (m_stepping)
        return;
    const QScopedValueRollback<bool> stepping(m_stepping, true);
    if (m_realTime) {
        m_refreshAngle = m_refreshAngle + 1 > 360 ? 0 : m_refreshAngle + 1;
        // The icon turns a degree a tick; a screen shows about 60 pictures a second.
        if (!m_iconClock.isValid() || m_iconClock.hasExpired(kIconFrameMs)) {
            m_iconClock.start();
            ui->realTimeReadBtn->update();
        }
        if (m_readState == PassState::Idle)
            m_readState = PassState::Start;
    } else if (m_readState == PassState::Idle && m_writeState == PassState::Idle) {
        m_timer.stop();     // nothing to step until a pass or real-time reading starts
        return;
    }
    m_refused = false;
    if (m_writeState != PassState::Idle)
        writeServoParams();
    else
        readServoParams();
    // A request the link refuses is refused again on every tick until linkStateChanged.
    if (m_refused && !m_realTime && !ComSettingsFrame::acceptsRequests())
        m_timer.stop();
}

// Asks for the cell's registers not asked for yet, one request per word; false while the link
// refuses (tried again on the next tick).
bool ServoParamFrame::requestCell(Cell &c, RegisterWait *waits, bool write)
{
    if (!ComSettingsFrame::isLinkOpen())
        return false;   // no request and no refusal message on every tick while the link is down
    while (c.sent < c.words) {
        const Uint8 slave = Uint8(c.slave);
        const Uint16 addr = Uint16(c.addr + c.sent);
        const bool queued = write ? waits[c.sent].startWrite(slave, addr, c.values[c.sent], kWaitLimitMs)
                                  : waits[c.sent].startRead(slave, addr, 1, kWaitLimitMs);
        if (!queued)
            return false;
        ++c.sent;
    }
    return true;
}

// A failure of either word ends the wait; a wait only hears failures of its own request.
ServoParamFrame::WaitResult ServoParamFrame::waitCell(const Cell &c, RegisterWait *waits)
{
    bool received = true;
    for (int i = 0; i < c.words; ++i) {
        const RegisterWait::Result result = waits[i].check();
        if (result == RegisterWait::Result::Failed) {
            if (waits[i].timedOut())
                qWarning() << "Servo parameter" << c.label << "at" << waits[i].addr() << "of slave" << c.slave
                           << "had no answer in" << kWaitLimitMs << "ms";
            return WaitResult::Failed;
        }
        received = received && result == RegisterWait::Result::Received;
    }
    return received ? WaitResult::Received : WaitResult::Pending;
}

// The passes' register waits hear failures from the communication page themselves.
void ServoParamFrame::onComError(int slave, int addr)
{
    m_slaveDialog.onComError(slave, addr);
}

// What a value cell stands for: the row's parameter, and the slave and axis of the cell ("s/a" in
// the detailed view, the column header in the compact view). False when it stands for none.
bool ServoParamFrame::cellParam(int row, int column, CellParam *p) const
{
    const QStandardItem *first = m_tableModel->item(row, ColCode);
    const QString source = m_viewMode == DetailedView ? m_tableModel->index(row, ColSlaveAxis).data().toString()
                                                      : m_tableModel->headerData(column, Qt::Horizontal).toString();
    if (!first || first->text().isEmpty() || source.isEmpty())
        return false;
    p->code = first->text();
    p->def = definitionById(first->data(IdRole).toInt());
    p->pn = parsePnNumber(p->code);
    return p->def && p->pn >= 0 && parseSlaveAxis(source, &p->slave, &p->axis) && ComSettingsFrame::isValidSlave(p->slave);
}

// Fills the read cursor's cell; false when the cell is to be skipped.
bool ServoParamFrame::prepareReadCell()
{
    Cell &c = m_read;
    const QModelIndex target = m_tableModel->index(c.row, m_viewMode == DetailedView ? ColCurrent : c.column);
    CellParam p;
    if (!m_tableModel->itemFromIndex(target) || !cellParam(c.row, c.column, &p))
        return false;
    c.slave = p.slave;
    c.format = field(*p.def, "format");
    c.words = ValueText::isInt32Format(c.format) ? 2 : 1;
    c.sent = 0;
    c.addr = paramAddress(p.pn, p.axis);
    c.modeKey = displayModeKey(p.slave, p.axis, p.pn);
    c.label = p.code;
    c.target = target;
    return true;
}

void ServoParamFrame::readServoParams()
{
    const bool detailed = m_viewMode == DetailedView;
    const int firstColumn = detailed ? ColSlaveAxis : kCompactFirstValue;
    if (m_readState == PassState::Start) {
        m_read = Cell();
        m_read.column = firstColumn;
        m_readState = PassState::Request;
    }
    if (m_read.row >= m_tableModel->rowCount()) {
        m_read.row = 0;
        m_readState = PassState::Idle;
        return;
    }
    if (!detailed && m_read.column >= m_tableModel->columnCount() - 1)
        m_read.column = kCompactFirstValue;

    bool wholeRow = false;
    switch (m_readState) {
    case PassState::Request:
        if (m_read.words == 0 && !prepareReadCell()) {
            wholeRow = true;
            break;
        }
        if (requestCell(m_read, m_readWaits, false))
            m_readState = PassState::Wait;
        else
            m_refused = true;
        return;
    case PassState::Wait: {
        const WaitResult result = waitCell(m_read, m_readWaits);
        if (result == WaitResult::Pending)
            return;
        m_readState = PassState::Request;
        if (QStandardItem *target = m_tableModel->itemFromIndex(m_read.target)) {
            const QScopedValueRollback<bool> building(m_building, true);
            if (result == WaitResult::Received) {
                target->setText(valueText(m_read.slave, m_read.addr, m_read.format, cellDecimals(target),
                                          m_displayModes.value(m_read.modeKey, ValueText::Signed)));
                ui->paramsTableView->selectionModel()->select(target->index(), QItemSelectionModel::Deselect);
            } else {
                target->setText(QString());
            }
        }
        break;
    }
    case PassState::Start:
    case PassState::Idle:
        return;
    }
    // On to the next cell.
    m_read.words = 0;
    if (detailed || wholeRow || ++m_read.column >= m_tableModel->columnCount() - 1) {
        m_read.column = firstColumn;
        ++m_read.row;
    }
}

// Fills the write cursor's cell; false when the cell is to be skipped.
bool ServoParamFrame::prepareWriteCell()
{
    Cell &c = m_write;
    const bool detailed = m_viewMode == DetailedView;
    const QModelIndex currentIndex = m_tableModel->index(c.row, detailed ? ColCurrent : c.column);
    const QStandardItem *current = m_tableModel->itemFromIndex(currentIndex);
    const QStandardItem *newValue = m_tableModel->item(c.row, detailed ? ColNew : m_tableModel->columnCount() - 1);
    if (m_writeKind == WriteSelected && !detailed && !ui->paramsTableView->selectionModel()->isSelected(currentIndex))
        return false;
    // A value must have been read before it can be written.
    CellParam p;
    if (!newValue || newValue->text().isEmpty() || !current || current->text().isEmpty() || !cellParam(c.row, c.column, &p))
        return false;
    const QString format = field(*p.def, "format");
    const bool wide = ValueText::isInt32Format(format);
    const QString label = QStringLiteral("%1 [%2/%3]").arg(p.code).arg(p.slave).arg(p.axis);
    bool ok = false;
    const quint32 value = ComSettingsFrame::textToValue(newValue->text(), cellDecimals(newValue), &ok);
    // A 16-bit register takes -32768 to 65535; anything else would be cut to another value.
    if (!ok || (!wide && value > 0xFFFFu && value < 0xFFFF8000u)) {
        m_notWritten << tr("%1: \"%2\" is not a value of this parameter").arg(label, newValue->text());
        ++m_rowFailed;
        return false;
    }
    c.slave = p.slave;
    c.format = format;
    c.words = wide ? 2 : 1;
    c.sent = 0;
    c.addr = paramAddress(p.pn, p.axis, true);
    if (wide)
        ValueText::splitWords(format, value, &c.values[0], &c.values[1]);
    else
        c.values[0] = Uint16(value);
    c.label = label;
    c.target = currentIndex;
    return true;
}

void ServoParamFrame::writeServoParams()
{
    const bool detailed = m_viewMode == DetailedView;
    const int firstColumn = detailed ? ColSlaveAxis : kCompactFirstValue;
    if (m_writeState == PassState::Start) {
        m_write = Cell();
        m_write.column = firstColumn;
        m_rowWritten = 0;
        m_rowFailed = 0;
        m_notWritten.clear();
        m_writeState = PassState::Request;
    }
    if (m_write.row >= m_tableModel->rowCount()) {
        m_write.row = 0;
        m_writeState = PassState::Idle;
        warnNotWritten();
        return;
    }

    switch (m_writeState) {
    case PassState::Request:
        if (m_writeKind != WriteSelected && m_writeKind != DownloadAll) {
            m_writeState = PassState::Idle;
            return;
        }
        if (m_write.words == 0 && !prepareWriteCell())
            break;
        if (requestCell(m_write, m_writeWaits, true))
            m_writeState = PassState::Wait;
        else
            m_refused = true;
        return;
    case PassState::Wait: {
        const WaitResult result = waitCell(m_write, m_writeWaits);
        if (result == WaitResult::Pending)
            return;
        m_writeState = PassState::Request;
        // Only an acknowledged write counts; a failed one keeps its new value for another try.
        if (result == WaitResult::Received) {
            ++m_rowWritten;
        } else {
            ++m_rowFailed;
            m_notWritten << tr("%1: the device did not acknowledge the write").arg(m_write.label);
        }
        ui->paramsTableView->selectionModel()->select(m_write.target, QItemSelectionModel::Deselect);
        break;
    }
    case PassState::Start:
    case PassState::Idle:
        return;
    }
    // On to the next cell; a compact row has one per value column.
    m_write.words = 0;
    if (!detailed && ++m_write.column < m_tableModel->columnCount() - 1)
        return;
    finishWriteRow();
    m_write.column = firstColumn;
    ++m_write.row;
}

void ServoParamFrame::finishWriteRow()
{
    const int newColumn = m_viewMode == DetailedView ? ColNew : m_tableModel->columnCount() - 1;
    QStandardItem *newValue = m_tableModel->item(m_write.row, newColumn);
    if (m_writeKind == WriteSelected && m_rowWritten > 0 && m_rowFailed == 0 && newValue && !newValue->text().isEmpty()) {
        const QScopedValueRollback<bool> building(m_building, true);
        newValue->setText(QString());
        ui->paramsTableView->selectionModel()->select(newValue->index(), QItemSelectionModel::Deselect);
    }
    m_rowWritten = 0;
    m_rowFailed = 0;
}

void ServoParamFrame::warnNotWritten()
{
    if (m_notWritten.isEmpty())
        return;
    const QString lines = m_notWritten.join(QLatin1Char('\n'));
    m_notWritten.clear();
    qWarning().noquote() << "Servo parameters not written:" << lines;
    Prompt::warning(this, tr("Tips"), tr("These parameters were not written:\n%1").arg(lines));
}

// --- buttons ----------------------------------------------------------------------------------

bool ServoParamFrame::leaveImportedView()
{
    if (Prompt::question(this, tr("Tips"),
                         tr("The parameters imported will be uploaded \nagain. Do you want to continue?"),
                         QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return false;
    m_imported = false;
    return true;
}

void ServoParamFrame::setRealTime(bool on)
{
    m_realTime = on;
    ui->realTimeReadBtn->setChecked(on);
    if (!on && m_refreshAngle != 0) {
        m_refreshAngle = 0;
        ui->realTimeReadBtn->update();
    }
    wakeTimer();
}

void ServoParamFrame::stopRealTimeRead()
{
    setRealTime(false);
    m_readState = PassState::Idle;
}

void ServoParamFrame::on_upLoadButton_clicked()
{
    if (m_imported && !leaveImportedView())
        return;
    setRealTime(false);
    m_readState = PassState::Start;
    m_writeState = PassState::Idle;
    wakeTimer();
}

void ServoParamFrame::on_realTimeReadBtn_clicked(bool checked)
{
    if (checked && m_imported && !leaveImportedView()) {
        ui->realTimeReadBtn->setChecked(false);
        return;
    }
    setRealTime(checked);
}

void ServoParamFrame::on_downLoadButton_clicked()
{
    if (Prompt::question(this, tr("Tips"),
                         tr("The current values of all parameters will be downloaded \nto the slave device. Do you "
                            "want to continue?"),
                         QMessageBox::Yes | QMessageBox::No)
        == QMessageBox::No)
        return;
    m_writeKind = DownloadAll;
    setRealTime(false);
    m_readState = PassState::Idle;
    m_writeState = PassState::Start;
    wakeTimer();
}

void ServoParamFrame::on_writeParamBtn_clicked()
{
    m_writeKind = WriteSelected;
    m_readState = PassState::Idle;
    m_writeState = PassState::Start;
    wakeTimer();
}

void ServoParamFrame::on_resetDefaultBtn_clicked()
{
    if (Prompt::question(this, tr("Tips"), tr("Are you sure you want to restore factory settings?"),
                         QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;

    struct Request {
        int slave;
        Uint16 addr;
        Uint16 value;   // the count of a read
        bool read;
    };
    QVector<Request> requests;
    const int stride = ComSettingsFrame::axisAddrStride();
    const DeviceEnum devType = ComSettingsFrame::currentDevice();
    if (devType == HighVoltServo) {
        for (int slave : qAsConst(m_slaves)) {
            for (int axis : qAsConst(m_axes))
                requests.append({ slave, Uint16(ComSettingsFrame::addrMap(kParamBaseEntry) + quint32(stride * axis)),
                                  kRecoverValue, false });
        }
    } else if (devType == LowVoltServo || devType == TrelvoxServo) {
        const int axis = ComSettingsFrame::instance() ? ComSettingsFrame::instance()->currentAxis() : 0;
        const int slave = ComSettingsFrame::currentSlave();
        const auto at = [&](int entry) { return Uint16(ComSettingsFrame::addrMap(entry) + quint32(stride * axis)); };
        requests = { { slave, at(kRecoverEntries[0]), 0, false },
                     { slave, at(kRecoverEntries[1]), 0x4000, false },
                     { slave, at(kRecoverEntries[2]), 0x0101, false },
                     { slave, at(kRecoverEntries[0]), 1, true } };
    } else {
        return;
    }

    // The whole sequence or nothing: a drive left half-way through it is in an unknown state.
    const ComSettingsFrame *com = ComSettingsFrame::instance();
    const ModbusMaster *engine = com ? com->engine() : nullptr;
    if (!ComSettingsFrame::isLinkOpen() || !ComSettingsFrame::isValidSlave(ComSettingsFrame::currentSlave()) || !engine) {
        Prompt::warning(this, tr("Warning"), tr("The device is not connected: the factory settings were not restored!"));
        return;
    }
    if (engine->pendingCount() + requests.size() > ModbusMaster::RingCapacity) {
        Prompt::warning(this, tr("Warning"), tr("The link is busy: the factory settings were not restored, try again!"));
        return;
    }
    int sent = 0;
    for (const Request &r : qAsConst(requests)) {
        const int queued = r.read ? ComSettingsFrame::readSlaveRegisters(Uint8(r.slave), r.addr, r.value)
                                  : ComSettingsFrame::writeSlaveRegister(Uint8(r.slave), r.addr, r.value);
        if (!queued)
            break;
        ++sent;
    }
    if (sent < requests.size()) {
        qWarning() << "Restore factory settings: request" << sent + 1 << "of" << requests.size() << "refused";
        Prompt::warning(this, tr("Warning"),
                        tr("Restoring the factory settings stopped: only %1 of %2 requests were sent!")
                            .arg(sent)
                            .arg(requests.size()));
    }
}

void ServoParamFrame::on_viewModeComBox_currentIndexChanged(int index)
{
    if (index < 0)
        return;
    setRealTime(false);
    m_viewMode = index == CompactView ? CompactView : DetailedView;
    m_readState = PassState::Idle;
    m_writeState = PassState::Idle;
    rebuildTable();
}

void ServoParamFrame::on_showMaxButton_clicked(bool checked)
{
    ui->showMaxButton->setText(raw(checked ? "退出" : "最大化"));
    if (MainWindow *window = MainWindow::instance())
        window->setFullScreen(checked);
}

void ServoParamFrame::on_exportBnt_clicked()
{
    exportParamsFile();
}

void ServoParamFrame::on_importBnt_clicked()
{
    importParamsFile();
}

void ServoParamFrame::showEvent(QShowEvent *event)
{
    m_timer.start(1);
    if (!m_realTime && !m_imported)
        on_upLoadButton_clicked();
    QFrame::showEvent(event);
}

void ServoParamFrame::hideEvent(QHideEvent *event)
{
    setRealTime(false);
    m_timer.stop();
    QFrame::hideEvent(event);
}

// --- parameter files --------------------------------------------------------------------------

QString ServoParamFrame::defaultParamsPath()
{
    return QDir::currentPath() + QStringLiteral("/ServoParams_Default_%1.csv").arg(int(ComSettingsFrame::currentDevice()));
}

void ServoParamFrame::exportDefaultParams()
{
    exportParams(defaultParamsPath());
}

// A missing default file (a device type never used before) only leaves a log line.
void ServoParamFrame::importDefaultParams()
{
    importParams(defaultParamsPath());
    m_imported = false;
}

void ServoParamFrame::exportParamsFile()
{
    if (m_slaves.size() > 1) {
        Prompt::warning(this, tr("Tips"), tr("Servo parameter export only supports single device!"));
        return;
    }
    QString path = Prompt::getSaveFileName(this, tr("Export Servo Params"), QStringLiteral("./"), tr("CSV Files (*.csv)"));
    if (path.isEmpty())
        return;
    if (!path.contains(QLatin1String(".csv")))
        path += QLatin1String(".csv");
    qDebug() << "Export Params To:" << path;
    exportParams(path);
}

void ServoParamFrame::importParamsFile()
{
    const QString path = Prompt::getOpenFileName(this, tr("Import Servo Params"), QStringLiteral("./"), tr("CSV Files (*.csv)"));
    if (path.isEmpty())
        return;
    qDebug() << "Import Params From:" << path;
    importParams(path, true);
}

bool ServoParamFrame::exportParams(const QString &path)
{
    ServoParamFile file(int(ComSettingsFrame::currentDevice()), m_axes);
    // A line holds one value per axis, so only the first slave's rows are written (the "Export"
    // button refuses more than one slave; the default file takes the first).
    const int slave = m_slaves.first();
    const int modeSlave = m_imported ? kImportSlave : slave;
    const auto valueField = [&](const QStandardItem *cell, int axis, int pn) {
        static const char *const placeholders[] = { "+none", "none", "16#none", "2#none" };
        if (cell && !cell->text().isEmpty())
            return cell->text();
        const int mode = m_displayModes.value(displayModeKey(modeSlave, axis, pn), -1);
        return mode >= 0 && mode < 4 ? QString::fromLatin1(placeholders[mode]) : QString();
    };
    static const QRegularExpression pnPattern(QStringLiteral("Pn\\d+"));
    static const QRegularExpression slaveAxisPattern(QStringLiteral("\\d+/\\d+"));
    for (int r = 0; r < m_tableModel->rowCount(); ++r) {
        const QStandardItem *first = m_tableModel->item(r, ColCode);
        if (!first || !pnPattern.match(first->text()).hasMatch()) {
            file.addEmptyRow();
            continue;
        }
        const QString code = first->text();
        const int pn = ValueText::pnNumber(code);
        int rowSlave = 0;
        int axis = 0;
        if (m_viewMode == DetailedView) {
            const QStandardItem *slaveAxis = m_tableModel->item(r, ColSlaveAxis);
            const QStandardItem *current = m_tableModel->item(r, ColCurrent);
            if (slaveAxis && current && slaveAxisPattern.match(slaveAxis->text()).hasMatch()
                && parseSlaveAxis(slaveAxis->text(), &rowSlave, &axis) && rowSlave == slave)
                file.addValue(code, axis, valueField(current, axis, pn));
            continue;
        }
        for (int col = kCompactFirstValue; col < m_tableModel->columnCount() - 1; ++col) {
            if (parseSlaveAxis(m_tableModel->headerData(col, Qt::Horizontal).toString(), &rowSlave, &axis)
                && rowSlave == slave)
                file.addValue(code, axis, valueField(m_tableModel->item(r, col), axis, pn));
        }
    }
    QString why;
    if (!file.save(path, &why)) {
        Prompt::warning(this, tr("Tips"), tr("Servo parameters export failed!"));
        qDebug() << path << why;
        return false;
    }
    return true;
}

bool ServoParamFrame::importParams(const QString &path)
{
    return importParams(path, false);
}

bool ServoParamFrame::importParams(const QString &path, bool reportOpenFailure)
{
    ServoParamFile file;
    switch (file.load(path, int(ComSettingsFrame::currentDevice()))) {
    case ServoParamFile::Status::Ok:
        break;
    case ServoParamFile::Status::OpenFailed:
        qDebug() << path << " open failure!";
        if (reportOpenFailure)
            Prompt::warning(this, tr("Tips"), tr("The parameter file cannot be opened!"));
        return false;
    case ServoParamFile::Status::TooLarge:
        Prompt::warning(this, tr("Tips"), ParamFileReader::tooLargeText());
        qDebug() << path << "servo params import failure: larger than" << ParamFileReader::MaxBytes << "bytes";
        return false;
    case ServoParamFile::Status::NotRegularFile:
        Prompt::warning(this, tr("Tips"), ParamFileReader::notRegularFileText(path));
        qDebug() << path << "servo params import failure: not a regular file";
        return false;
    case ServoParamFile::Status::NoDeviceType:
        Prompt::warning(this, tr("Tips"), tr("The parameter file format is wrong!"));
        qDebug() << "[1] servo params import failure!";
        return false;
    case ServoParamFile::Status::OtherDeviceType:
        Prompt::warning(this, tr("Tips"), tr("The imported parameters do not \nmatch the current device type!"));
        qDebug() << "[2] servo params import failure!";
        return false;
    case ServoParamFile::Status::BadHeader:
        Prompt::warning(this, tr("Tips"), tr("The parameter file format is wrong!"));
        qDebug() << "[3] servo params import failure!";
        return false;
    }

    m_imported = true;
    stopRealTimeRead();
    m_writeState = PassState::Idle;
    // Emptied first, so that the rebuilds the axis change and the tree set off have little to do.
    removeAllRows();
    const QList<int> fileAxes = file.axes();
    // The dialog tells the page its new axis list through slaveCnfgChanged.
    m_slaveDialog.setSelectedAxes(fileAxes);
    for (int g = 0; g < m_treeModel->rowCount(); ++g) {
        QStandardItem *group = m_treeModel->item(g);
        group->setCheckState(Qt::Unchecked);
        for (int r = 0; r < group->rowCount(); ++r)
            group->child(r)->setCheckState(Qt::Unchecked);
    }
    removeAllRows();

    // Only the axes the page now shows are visited: a header may name any number of others. The
    // last field of an axis named twice wins; an axis the file does not name is left unknown.
    const QSet<int> shown(m_axes.cbegin(), m_axes.cend());
    QHash<int, int> fieldOf;
    for (int a = 0; a < fileAxes.size(); ++a) {
        if (shown.contains(fileAxes.at(a)))
            fieldOf.insert(fileAxes.at(a), a + 1);
    }
    const QHash<int, int> byPn = paramIndexByPn();
    const QList<QStringList> lines = file.lines();
    // Table entries as the rebuild takes them: definition index + 1, or -1 for an empty row. A
    // parameter keeps its first place and shows the values of its last line, which the cache holds.
    QList<int> entries;
    QSet<int> placed;
    QHash<QPair<int, int>, int> modes;   // display mode by (Pn, axis)
    QHash<int, QPair<QString, int>> formats;   // format and decimals by definition index
    int emptyLines = 0;
    LineNumbers tooWide;     // values the parameter cannot hold
    LineNumbers unknown;     // lines naming no parameter
    LineNumbers surplus;     // lines with more values than the header has axes
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList &fields = lines.at(i);
        const int lineNumber = i + 4;
        if (fields.isEmpty()) {
            // Empty rows carry nothing: beyond any layout a person makes they are left out.
            if (++emptyLines <= kMaxImportedEmptyRows)
                entries << -1;
            continue;
        }
        const int pn = parsePnNumber(fields.first());
        const int defIndex = pn < 0 ? -1 : byPn.value(pn, -1);
        if (defIndex < 0) {
            unknown.add(lineNumber);
            continue;
        }
        if (fields.size() - 1 > fileAxes.size())
            surplus.add(lineNumber);
        // A file may name one parameter on every line: its definition is read once.
        auto known = formats.constFind(defIndex);
        if (known == formats.constEnd()) {
            const RecordItem &def = definitions().at(defIndex);
            const ValueText::Range range = ValueText::parseRange(field(def, "range"));
            known = formats.insert(defIndex, qMakePair(field(def, "format"), range.valid ? range.decimals : 0));
        }
        const QString &format = known->first;
        const int decimals = known->second;
        bool lineTooWide = false;
        for (int axis : qAsConst(m_axes)) {
            quint32 value = ValueText::NoValue;
            int mode = ValueText::Unsigned;
            if (!ServoParamFile::parseField(fields.value(fieldOf.value(axis, -1)), format, decimals, &value, &mode))
                lineTooWide = true;
            modes.insert(qMakePair(pn, axis), mode);
            const Uint16 addr = paramAddress(pn, axis);
            if (ValueText::isInt32Format(format)) {
                // Unknown stays unknown in both words: split, 0xABCD would leave a known 0 word.
                quint16 firstWord = RegisterCache::NoValue;
                quint16 secondWord = RegisterCache::NoValue;
                if (value != ValueText::NoValue)
                    ValueText::splitWords(format, value, &firstWord, &secondWord);
                ComSettingsFrame::setRegister(kImportSlave, addr, firstWord);
                ComSettingsFrame::setRegister(kImportSlave, Uint16(addr + 1), secondWord);
            } else {
                ComSettingsFrame::setRegister(kImportSlave, addr, Uint16(value));
            }
        }
        if (lineTooWide)
            tooWide.add(lineNumber);
        if (!placed.contains(defIndex)) {
            placed.insert(defIndex);
            entries << defIndex + 1;
        }
    }
    // Recorded once per parameter and axis, from its last line, before the rows show them.
    for (auto it = modes.cbegin(); it != modes.cend(); ++it) {
        m_displayModes.insert(displayModeKey(kImportSlave, it.key().second, it.key().first), it.value());
        for (int slave : qAsConst(m_slaves))
            m_displayModes.insert(displayModeKey(slave, it.key().second, it.key().first), it.value());
    }
    appendEntries(entries);
    fillEmptyRows();
    ui->paramsTableView->scrollToTop();

    if (!unknown.isEmpty())
        qDebug() << "Servo params import: lines naming no parameter, skipped:" << unknown.text();
    if (!surplus.isEmpty())
        qDebug() << "Servo params import: lines with more values than axes, surplus ignored:" << surplus.text();
    if (emptyLines > kMaxImportedEmptyRows)
        qDebug() << "Servo params import:" << emptyLines - kMaxImportedEmptyRows << "empty lines beyond"
                 << kMaxImportedEmptyRows << "left out";
    if (!tooWide.isEmpty()) {
        qDebug() << "Servo params import: values too wide on lines" << tooWide.text();
        Prompt::warning(this, tr("Tips"), tr("Values too large for their parameter were left empty, lines: %1")
                                              .arg(tooWide.text()));
    }
    LineNumbers missing;
    QSet<int> missingSeen;
    for (int axis : fileAxes) {
        if (!shown.contains(axis) && !missingSeen.contains(axis)) {
            missingSeen.insert(axis);
            missing.add(axis);
        }
    }
    if (!missing.isEmpty()) {
        Prompt::warning(this, tr("Tips"), tr("This device has no axis %1: those values of the file are not shown.")
                                              .arg(missing.text()));
        qDebug() << "Servo params import: axes not available" << missing.text();
    }
    return true;
}
