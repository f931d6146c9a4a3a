#include "app/appparamframe.h"

#include "app/appparamfile.h"
#include "app/workrecordframe.h"
#include "shell/menubarframe.h"
#include "ui_appparamframe.h"

#include "app/paramunit.h"
#include "comm/comsettingsframe.h"
#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "servo/paramfilereader.h"
#include "servo/valuetext.h"
#include "widgets/customitemdelegate.h"
#include "widgets/prompt.h"

#include <QButtonGroup>
#include <QDebug>
#include <QFileInfo>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QStandardItemModel>
#include <QTableView>
#include <cmath>

AppParamFrame *AppParamFrame::s_instance = nullptr;

namespace {
const int kStepColumns = 3;
const int kListColumns = 7;
const int kModelRows = 100;
const int kTorqueUnitAddr = 3083;
const int kTickMs = 5;
const int kCurrentColumn = 3;
const int kNewColumn = 4;
const int kUnitColumn = 5;
const int kRangeColumn = 6;
// On a list row's unit and range cells: the definition's own text, before any unit conversion.
const int kSourceRole = Qt::UserRole + 9;
const int kCommandEntry = 23;          // address-map entry of the command register
const Uint16 kRestoreFactoryCommand = 17;
const QString kTorque = QStringLiteral("torque");
const QString kTorqueBaseUnit = QStringLiteral("N·m");
const QColor kHeldColour(230, 120, 0);
// The tool bar asks for the same administrator password.
const QString kSharedTask = QStringLiteral("*");

QString textOf(const RecordItem &definition, const char *key)
{
    return definition.value(QLatin1String(key)).toString();
}

void warnOdd(const RecordItem &definition, const QStringList &issues)
{
    qWarning().noquote() << QStringLiteral("App param \"%1\": %2")
                                .arg(textOf(definition, "name"), issues.join(QStringLiteral("; ")));
}

QString cellTextOf(const QStandardItemModel *model, int row, int col)
{
    const QStandardItem *item = model->item(row, col);
    return item ? item->text() : QString();
}

int decimalsOf(const QStandardItem *item)
{
    return qMax(0, item->data(CustomItemDelegate::LineEditConfigRole).toMap().value(QStringLiteral("decimals")).toInt());
}

struct UnitRange {
    QString unit;
    QString range;
};

// Torque shows in the unit the device has selected, its limits (given in N·m) converted to it.
UnitRange shownUnitRange(const QString &unit, const QString &range)
{
    if (!unit.contains(kTorqueBaseUnit))
        return { unit, range };
    return { unitName(kTorque), unitRangeText(kTorque, range) };
}

void setupTable(QTableView *view, QAbstractItemModel *model, QAbstractItemDelegate *delegate,
                QHeaderView::ResizeMode mode)
{
    view->setModel(model);
    view->setItemDelegate(delegate);
    view->horizontalHeader()->setSectionResizeMode(mode);
    view->horizontalHeader()->setStretchLastSection(true);
    view->verticalHeader()->hide();
    view->setMouseTracking(true);
    view->setAlternatingRowColors(true);
}

} // namespace

AppParamFrame::AppParamFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::AppParamFrame)
{
    s_instance = this;
    ui->setupUi(this);
    ui->resetDefaultBtn->hide();
    const QList<QPair<QPushButton *, const char *>> icons {
        { ui->realTimeReadBtn, "refresh" }, { ui->readFromDevBtn, "upload" }, { ui->writeToDevBtn, "download" },
        { ui->writeModifyBtn, "write" },    { ui->saveParamBtn, "saveFile" }, { ui->openParamBtn, "openFile" } };
    for (const auto &icon : icons)
        icon.first->setIcon(QIcon(QStringLiteral(":/Resource/Icons/%1.png").arg(QLatin1String(icon.second))));
    m_refreshPixmap = QPixmap(QStringLiteral(":/Resource/Icons/refresh.png"));
    ui->splitter->setStretchFactor(0, 4);
    ui->splitter->setStretchFactor(1, 7);

    m_stepModel = new QStandardItemModel(kModelRows, kStepColumns, this);
    m_stepModel->setHorizontalHeaderLabels({ tr("步骤"), tr("圈数(r)"), tr("速度(rpm)") });
    m_listModel = new QStandardItemModel(kModelRows, kListColumns, this);
    m_listModel->setHorizontalHeaderLabels(
        { tr("地址"), tr("名称"), tr("格式"), tr("当前值"), tr("新值"), tr("单位"), tr("范围") });
    m_delegate = new CustomItemDelegate(this);
    setupTable(ui->appParamTableView, m_listModel, m_delegate, QHeaderView::ResizeToContents);
    setupTable(ui->taskParamTableView, m_stepModel, m_delegate, QHeaderView::Stretch);
    connect(m_stepModel, &QStandardItemModel::itemChanged, this, &AppParamFrame::onTaskParamTableItemChanged);
    connect(m_delegate, &CustomItemDelegate::valueCommitted, this, &AppParamFrame::onValueCommitted);
    connect(this, &AppParamFrame::paramUnitChanged, this, &AppParamFrame::applyTorqueUnit);

    initUnitTable();
    m_torqueIndex = unitIndex(kTorque);

    m_menuButtons = menuButtons(QStringLiteral("appParamMenuBtn"), 8);
    m_level1Buttons = menuButtons(QStringLiteral("appParamMenuBtn1"), 12);
    m_level2Buttons = menuButtons(QStringLiteral("appParamMenuBtn2"), 12);
    for (const QList<QPushButton *> &list : { m_menuButtons, m_level1Buttons, m_level2Buttons }) {
        for (QPushButton *button : list)
            connect(button, &QPushButton::clicked, this, &AppParamFrame::onMenuClicked);
    }
    m_lastLevel2 = ui->appParamMenuBtn21;
    initMenu();

    connect(&m_timer, &QTimer::timeout, this, &AppParamFrame::process);
    if (ComSettingsFrame *com = ComSettingsFrame::instance()) {
        connect(com, &ComSettingsFrame::realTimeAddrRead, this, &AppParamFrame::onRealTimeAddrRead);
        connect(com, &ComSettingsFrame::linkStateChanged, this, &AppParamFrame::wakeTimer);
    }

    ui->appParamMenuBtn1->click();
    ui->appParamMenuBtn11->click();
    ui->appParamMenuBtn21->click();
}

AppParamFrame::~AppParamFrame()
{
    delete ui;
    if (s_instance == this)
        s_instance = nullptr;
}

AppParamFrame *AppParamFrame::instance()
{
    return s_instance;
}

QList<AppParamFrame::PageEntry> AppParamFrame::parseGroup(const QString &group, QStringList *errors)
{
    QList<PageEntry> entries;
    if (group.trimmed().isEmpty())
        return entries;     // on no page
    for (const QString &entry : group.split(QStringLiteral("&&"))) {
        QStringList parts = entry.split(QLatin1Char('/'));
        if (parts.size() < 2) {
            if (errors)
                errors->append(QStringLiteral("group entry \"%1\" has no page path").arg(entry));
            continue;
        }
        bool ok = false;
        const QString keyText = parts.takeFirst();
        const int key = keyText.trimmed().toInt(&ok, 10);
        if (!ok && errors)
            errors->append(QStringLiteral("page key \"%1\" is not a number, read as 0").arg(keyText));
        entries.append({ ok ? key : 0, parts.join(QLatin1Char('/')) });
    }
    return entries;
}

AppParamFrame::Placement AppParamFrame::parseTableInfo(const QString &tableInfo, QStringList *errors)
{
    static const QRegularExpression space(QStringLiteral("\\s"));
    static const QRegularExpression rowWord(QStringLiteral("\\s*row\\s*"));
    static const QRegularExpression colWord(QStringLiteral("\\s*col\\s*"));
    auto odd = [errors, &tableInfo](const QString &why) {
        if (errors)
            errors->append(QStringLiteral("tableInfo \"%1\": %2").arg(tableInfo, why));
    };

    Placement place;
    if (tableInfo.isEmpty())
        return place;       // deliberately on no table
    const QStringList parts = tableInfo.split(QLatin1Char('/'));
    QString table = parts.first();
    table.remove(space);
    if (table == QLatin1String("table2")) {
        place.kind = Placement::ListRow;
        return place;
    }
    if (table != QLatin1String("table1")) {
        odd(QStringLiteral("unknown table, placed nowhere"));
        return place;
    }
    if (parts.size() < 3) {
        odd(QStringLiteral("a step cell needs a row and a column, placed nowhere"));
        return place;
    }
    QString rowText = parts.at(1);
    QString colText = parts.at(2);
    rowText.remove(space).remove(rowWord);
    colText.remove(space).remove(colWord);
    bool rowOk = false;
    bool colOk = false;
    place.kind = Placement::StepCell;
    place.row = rowText.toInt(&rowOk, 10);
    place.col = colText.toInt(&colOk, 10);
    if (!rowOk || !colOk)
        odd(QStringLiteral("row or column is not a number, read as 0"));
    if (place.row < 0)
        odd(QStringLiteral("negative row, placed nowhere"));
    if (place.col < 1 || place.col >= kStepColumns)
        odd(QStringLiteral("the step table has parameter columns 1 and 2 only, placed nowhere"));
    return place;
}

QStringList AppParamFrame::definitionIssues(const RecordItem &definition)
{
    QStringList issues;
    parseGroup(textOf(definition, "group"), &issues);
    const Placement place = parseTableInfo(textOf(definition, "tableInfo"), &issues);
    if (place.kind == Placement::StepCell && textOf(definition, "name").split(QLatin1Char('/')).size() != 2)
        issues << QStringLiteral("a step cell is named \"step/column\", placed nowhere");
    const QString address = textOf(definition, "address");
    if (!AppParamFile::toRegisterAddress(address))
        issues << QStringLiteral("address \"%1\" is not a register address, never read or written").arg(address);
    const QString range = textOf(definition, "range");
    const ValueText::Range r = ValueText::parseRange(range);
    if (!range.isEmpty() && !r.valid)
        issues << QStringLiteral("range \"%1\" is not min~max, no limits").arg(range);
    else if (!range.isEmpty() && !r.converted)
        issues << QStringLiteral("range \"%1\" does not convert, limits 0~65535").arg(range);
    return issues;
}

QVariant AppParamFrame::rangeEditorConfig(const QString &range)
{
    return ValueText::rangeEditorConfig(range);
}

QString AppParamFrame::registerValueText(quint16 raw, const QVariant &editorConfig)
{
    const QVariantMap config = editorConfig.toMap();
    const int decimals = qMax(0, config.value(QStringLiteral("decimals")).toInt());
    // A range reaching below zero means the register holds a signed value.
    const bool isSigned = config.value(QStringLiteral("minVal")).toDouble() < 0;
    const double value = isSigned ? double(qint16(raw)) : double(raw);
    return QString::number(value / std::pow(10.0, decimals), 'g', 6);
}

void AppParamFrame::initMenu()
{
    m_pageMap.clear();
    const QList<RecordItem> defs = definitions();
    for (const RecordItem &def : defs) {
        for (const PageEntry &entry : parseGroup(textOf(def, "group")))
            m_pageMap.insert(entry.key, entry.path);
        // Told once each time the definitions are taken up, not on every page shown.
        const QStringList issues = definitionIssues(def);
        if (!issues.isEmpty())
            warnOdd(def, issues);
    }

    QStringList single;
    QStringList level1;
    QStringList level2;
    for (const QString &path : qAsConst(m_pageMap)) {
        const QStringList names = path.split(QLatin1Char('/'));
        if (names.size() == 1 && !single.contains(names.first())) {
            single << names.first();
        } else if (names.size() == 2) {
            if (names.first() != kSharedTask && !level1.contains(names.first()))
                level1 << names.first();
            if (!level2.contains(names.last()))
                level2 << names.last();
        }
    }
    showNames(m_menuButtons, single);
    showNames(m_level1Buttons, level1);
    showNames(m_level2Buttons, level2);

    // A device type without definitions has nothing here to read or write.
    for (QPushButton *button : { ui->readFromDevBtn, ui->writeToDevBtn, ui->writeModifyBtn })
        button->setEnabled(!m_pageMap.isEmpty());

    m_taskCount = level1.size();
    announceTaskCount(m_taskCount);
    ui->scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void AppParamFrame::buildPageTables(QList<int> keys)
{
    endPasses();
    m_stepModel->removeRows(0, m_stepModel->rowCount());
    ui->taskParamTableView->scrollToTop();
    m_listModel->removeRows(0, m_listModel->rowCount());
    ui->appParamTableView->scrollToTop();

    // A copy: a box shown while placing lets events run, and a device change may reload the list.
    const QList<RecordItem> defs = definitions();
    for (const RecordItem &def : defs) {
        int uses = 0;
        for (const PageEntry &entry : parseGroup(textOf(def, "group")))
            uses += keys.contains(entry.key) ? 1 : 0;
        if (uses == 0)
            continue;
        const Placement place = parseTableInfo(textOf(def, "tableInfo"));
        for (int i = 0; i < uses; ++i) {
            if (place.kind == Placement::StepCell)
                setTaskCell(place.row, place.col, def);
            else if (place.kind == Placement::ListRow)
                setParamRow(m_listModel->rowCount(), def);
        }
    }

    const int rows = m_listModel->rowCount();
    if (rows < kListMinRows)
        appendEmptyRows(ParamList, rows, kListMinRows - rows);
}

void AppParamFrame::setParamRow(int row, RecordItem definition)
{
    placeParamRow(row, definition);
}

bool AppParamFrame::placeParamRow(int row, const RecordItem &definition)
{
    if (row < 0 || row > m_listModel->rowCount())
        return false;
    const QString name = textOf(definition, "name");
    const QString description = textOf(definition, "description");
    const QString unit = textOf(definition, "unit");
    const QString range = textOf(definition, "range");
    // Torque limits are written in N·m; the device reports torque in the unit it has selected.
    const UnitRange shown = shownUnitRange(unit, range);
    const QVariant config = rangeEditorConfig(shown.range);
    const QString texts[kListColumns] = { textOf(definition, "address"),
                                          name,
                                          tr("有符号"),
                                          cachedValueText(definition, config),
                                          QString(),
                                          shown.unit.isEmpty() ? tr("无") : shown.unit,
                                          shown.range.isEmpty() ? tr("无") : shown.range };

    QList<QStandardItem *> items;
    for (int col = 0; col < kListColumns; ++col) {
        auto *item = new QStandardItem(texts[col]);
        item->setTextAlignment(Qt::AlignCenter);
        item->setToolTip(description.isEmpty() ? name : description);
        if (col == 3 || col == 4)
            item->setData(config, CustomItemDelegate::LineEditConfigRole);
        item->setEditable(col == 4);
        items << item;
    }
    items.at(1)->setForeground(QColor(0, 128, 0));
    // Kept so that the row can follow a later change of the device's torque unit.
    items.at(kUnitColumn)->setData(unit, kSourceRole);
    items.at(kRangeColumn)->setData(range, kSourceRole);
    if (row < m_listModel->rowCount())
        m_listModel->removeRow(row);
    m_listModel->insertRow(row, items);
    return true;
}

void AppParamFrame::setTaskCell(int row, int col, RecordItem definition)
{
    const QString name = textOf(definition, "name");
    if (col < 1 || col >= m_stepModel->columnCount())
        return;
    if (row < 0)
        return;     // told when the definitions were taken up
    if (row > m_stepModel->rowCount()) {
        // Step rows are made in reading order; a row past the next new one has no label yet.
        qWarning().noquote() << QStringLiteral("App param \"%1\" not placed: step row %2 follows no row before it")
                                    .arg(name).arg(row);
        return;
    }
    const QStringList names = name.split(QLatin1Char('/'));
    if (names.size() != 2)
        return;

    const QScopedValueRollback<bool> filling(m_filling, true);
    if (row == m_stepModel->rowCount()) {
        auto *label = new QStandardItem(names.first());
        label->setTextAlignment(Qt::AlignCenter);
        label->setEditable(false);
        label->setForeground(QColor(70, 98, 217));
        QList<QStandardItem *> items { label };
        for (int c = 1; c < m_stepModel->columnCount(); ++c) {
            auto *empty = new QStandardItem;
            empty->setEditable(false);   // until a definition is placed there
            items << empty;
        }
        m_stepModel->appendRow(items);
    }
    const QStandardItem *label = m_stepModel->item(row, 0);
    if (!label || label->text() != names.first()) {
        Prompt::warning(this, tr("Tips"), tr("App param(%1) group error!").arg(name));
        return;
    }
    QStandardItem *cell = m_stepModel->item(row, col);
    if (!cell) {
        cell = new QStandardItem;
        m_stepModel->setItem(row, col, cell);
    }
    const QVariant config = rangeEditorConfig(textOf(definition, "range"));
    cell->setTextAlignment(Qt::AlignCenter);
    cell->setToolTip(textOf(definition, "description"));
    cell->setData(textOf(definition, "address"), AddressRole);
    cell->setData(false, ModifiedRole);
    cell->setData(config, CustomItemDelegate::LineEditConfigRole);
    cell->setEditable(true);
    const QString value = cachedValueText(definition, config);
    if (!value.isEmpty())
        cell->setText(value);
}

void AppParamFrame::appendEmptyRows(int kind, int row, int count)
{
    QStandardItemModel *model = kind == ParamList ? m_listModel : kind == StepTable ? m_stepModel : nullptr;
    if (!model || count < 1)
        return;
    row = qBound(0, row, model->rowCount());
    for (int i = 0; i < count; ++i) {
        QList<QStandardItem *> items;
        for (int c = 0; c < model->columnCount(); ++c) {
            auto *item = new QStandardItem;
            item->setEditable(false);   // a filler row has no register to edit
            items << item;
        }
        model->insertRow(row + i, items);
    }
}

void AppParamFrame::setDefinitionsForTest(std::optional<QList<RecordItem>> definitions)
{
    m_testDefinitions = std::move(definitions);
}

void AppParamFrame::onTaskParamTableItemChanged(QStandardItem *item)
{
    if (!item || m_filling || item->column() < 1 || item->column() >= m_stepModel->columnCount())
        return;
    // The marking below changes the item again.
    const QScopedValueRollback<bool> filling(m_filling, true);
    item->setData(true, ModifiedRole);
    item->setForeground(QColor(Qt::red));
}

void AppParamFrame::onDeviceChanged(DeviceEnum devType)
{
    Q_UNUSED(devType)
    initMenu();
    // Nothing of the last type's page may stay, to be read or written into this one.
    buildPageTables({});
    if (m_pageMap.isEmpty())
        setRealTime(false);
    else
        onMenuClicked(true);
}

void AppParamFrame::onRealTimeAddrRead(int addr, int val)
{
    if (addr == kTorqueUnitAddr)
        setUnitIndex(kTorque, val);
}

void AppParamFrame::onMenuClicked(bool checked)
{
    Q_UNUSED(checked)
    keepSingleCheck(qobject_cast<QPushButton *>(sender()));

    QList<int> keys;
    if (const QAbstractButton *single = ui->appParamBtnGroup->checkedButton())
        keys += keysOf(single->text());

    const QPushButton *level1 = checkedButton(m_level1Buttons);
    const QPushButton *level2 = checkedButton(m_level2Buttons);
    if (level1 && level2) {
        const QString path = level1->text() + QLatin1Char('/') + level2->text();
        const QString shared = kSharedTask + QLatin1Char('/') + level2->text();
        if (!keysOf(path).isEmpty()) {
            m_askPassword = true;
            m_passwordAccepted = false;
            keys += keysOf(path);
            ui->taskParamTableView->show();
            ui->appParamTableView->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
        } else if (!keysOf(shared).isEmpty()) {
            if (protectedPageAllowed()) {
                keys += keysOf(shared);
                ui->taskParamTableView->hide();
                ui->appParamTableView->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
            } else {
                // Back to the page before. If that one is refused as well, stop there, with the
                // tables as they stand, rather than bouncing between refused pages.
                if (!m_returning && m_lastLevel2) {
                    const QScopedValueRollback<bool> returning(m_returning, true);
                    m_lastLevel2->click();
                }
                m_lastLevel2 = checkedButton(m_level2Buttons);
                return;
            }
        }
        m_lastLevel2 = checkedButton(m_level2Buttons);
    }
    if (keys.isEmpty())
        return;
    buildPageTables(keys);
    if (m_realTime) {
        m_passes[ReadList].state = PassState::Start;
        m_passes[ReadSteps].state = PassState::Start;
    }
}

void AppParamFrame::onSearchSignal(int cmd, QString match)
{
    if (cmd == 2) {
        m_searchState = SearchState::Idle;
        return;
    }
    if (cmd != 0 || isHidden())
        return;
    setRealTime(false);
    endPasses();
    m_listModel->removeRows(0, m_listModel->rowCount());
    appendEmptyRows(ParamList, 0, kListMinRows);
    ui->appParamTableView->scrollToTop();
    if (match.isEmpty()) {
        m_searchState = SearchState::Idle;
        emit searchFinishSigal();
        return;
    }
    m_searchText = match;
    m_searchState = SearchState::Start;
    wakeTimer();
}

// One definition a tick; each one that matches becomes the next row of the list.
void AppParamFrame::searchProcess()
{
    switch (m_searchState) {
    case SearchState::Idle:
        return;
    case SearchState::Start:
        m_searchIndex = 0;
        m_searchRow = 0;
        m_searchState = SearchState::Running;
        return;
    case SearchState::Running:
        break;
    }
    const QList<RecordItem> &defs = definitions();
    if (m_searchIndex >= defs.size()) {
        m_searchState = SearchState::Idle;
        emit searchFinishSigal();
        return;
    }
    const RecordItem def = defs.at(m_searchIndex++);
    const QString unit = textOf(def, "unit");
    const QString range = textOf(def, "range");
    const QPair<int, QString> fields[] = { { 0, textOf(def, "address") },
                                           { 1, textOf(def, "name") },
                                           { 5, unit.isEmpty() ? tr("无") : unit },
                                           { 6, range.isEmpty() ? tr("无") : range } };
    QList<int> matched;
    for (const auto &field : fields) {
        if (field.second.contains(m_searchText))
            matched << field.first;
    }
    if (matched.isEmpty() || !placeParamRow(m_searchRow, def))
        return;
    for (int col : qAsConst(matched))
        m_listModel->item(m_searchRow, col)->setForeground(QColor(255, 0, 0));
    ++m_searchRow;
}

// --- the read and write passes ----------------------------------------------------------------

bool AppParamFrame::isBusy() const
{
    for (const Cursor &c : m_passes) {
        if (c.state != PassState::Idle)
            return true;
    }
    return m_searchState != SearchState::Idle;
}

void AppParamFrame::process()
{
    // A box shown by a step runs an event loop of its own; the timer must not step again meanwhile.
    if (m_stepping)
        return;
    const QScopedValueRollback<bool> stepping(m_stepping, true);
    if (m_realTime) {
        m_refreshAngle = m_refreshAngle + 1 > 360 ? 0 : m_refreshAngle + 1;
        ui->realTimeReadBtn->setIcon(QIcon(rotatedPixmap(m_refreshPixmap, m_refreshAngle)));
        for (Pass pass : { ReadList, ReadSteps }) {
            if (m_passes[pass].state == PassState::Idle)
                m_passes[pass].state = PassState::Start;
        }
    }
    readAppParams();
    writeAppParams();
    readTaskParams();
    writeTaskParams();
    searchProcess();
    reportNotWritten();
    if (!tickCanChangeAnything())
        m_timer.stop();
}

// The tick rests while nothing runs, or while every running pass holds a request that the link
// refuses for a reason only linkStateChanged can end; whatever starts work wakes it again.
bool AppParamFrame::tickCanChangeAnything() const
{
    if (m_realTime || m_searchState != SearchState::Idle)
        return true;
    const bool refusing = !ComSettingsFrame::acceptsRequests();
    for (const Cursor &c : m_passes) {
        if (c.state != PassState::Idle && !(c.state == PassState::Issue && c.refused && refusing))
            return true;
    }
    return false;
}

void AppParamFrame::wakeTimer()
{
    if (isVisible() && !m_timer.isActive())
        m_timer.start(kTickMs);
}

QPixmap AppParamFrame::rotatedPixmap(const QPixmap &image, int angle)
{
    QPixmap turned(image.size());
    turned.fill(Qt::transparent);
    QPainter painter(&turned);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.translate(turned.width() / 2.0, turned.height() / 2.0);
    painter.rotate(angle);
    painter.translate(-turned.width() / 2.0, -turned.height() / 2.0);
    painter.drawPixmap(0, 0, image);
    return turned;
}

void AppParamFrame::readAppParams()
{
    stepPass(ReadList);
}

void AppParamFrame::writeAppParams()
{
    stepPass(WriteList);
}

void AppParamFrame::readTaskParams()
{
    stepPass(ReadSteps);
}

void AppParamFrame::writeTaskParams()
{
    stepPass(WriteSteps);
}

// A pass walks its table cell by cell: Issue asks for the next cell that has a register, Wait
// takes the answer (or gives up after the register wait's bound) and moves on.
void AppParamFrame::stepPass(Pass pass)
{
    Cursor &c = m_passes[pass];
    const QStandardItemModel *model = pass == ReadList || pass == WriteList ? m_listModel : m_stepModel;
    const bool write = pass == WriteList || pass == WriteSteps;
    switch (c.state) {
    case PassState::Idle:
        return;
    case PassState::Start:
        c.row = 0;
        c.col = 1;
        c.target = QPersistentModelIndex();
        c.state = PassState::Issue;
        Q_FALLTHROUGH();
    case PassState::Issue: {
        // The cell is taken afresh on every try, so a request the link refused goes out, once it is
        // served, with what the cell shows then rather than what it showed at the first try.
        c.target = QPersistentModelIndex();
        while (!c.target.isValid()) {
            if (c.row >= model->rowCount()) {
                c.row = 0;
                c.col = 1;
                c.state = PassState::Idle;
                return;
            }
            if (!prepareCell(pass, c))
                advance(pass, c);
        }
        const int slave = pageSlave();
        const bool sent = slave != 0
            && (write ? c.wait.startWrite(Uint8(slave), c.addr, c.value) : c.wait.startRead(Uint8(slave), c.addr));
        // Refused (link closed or lent to a debugging page): the same cell is offered again next tick.
        c.refused = !sent;
        if (sent)
            c.state = PassState::Wait;
        return;
    }
    case PassState::Wait: {
        const RegisterWait::Result result = c.wait.check();
        if (result == RegisterWait::Result::Pending)
            return;
        if (result != RegisterWait::Result::Received)
            qWarning() << "App params:" << c.label << "at" << c.addr << (write ? "was not written" : "was not read")
                       << (c.wait.timedOut() ? "(no answer)" : "(device error)");
        finishCell(pass, c, result == RegisterWait::Result::Received);
        c.target = QPersistentModelIndex();
        advance(pass, c);
        c.state = PassState::Issue;
        return;
    }
    }
}

// Takes the register (and for a write, the value) of the pass's cell; false when the cell has
// nothing to read or write.
bool AppParamFrame::prepareCell(Pass pass, Cursor &c)
{
    const bool write = pass == WriteList || pass == WriteSteps;
    QStandardItem *cell = nullptr;
    QString addrText;
    if (pass == ReadList || pass == WriteList) {
        const QStandardItem *addrItem = m_listModel->item(c.row, 0);
        const QStandardItem *nameItem = m_listModel->item(c.row, 1);
        cell = m_listModel->item(c.row, write && !m_writeAll ? kNewColumn : kCurrentColumn);
        addrText = addrItem ? addrItem->text() : QString();
        c.label = nameItem ? nameItem->text() : QString();
    } else {
        const QStandardItem *label = m_stepModel->item(c.row, 0);
        cell = m_stepModel->item(c.row, c.col);
        if (!label || label->text().isEmpty() || !cell)
            return false;
        if (write && !m_writeAll && !cell->data(ModifiedRole).toBool())
            return false;
        addrText = cell->data(AddressRole).toString();
        c.label = label->text() + QLatin1Char('/') + m_stepModel->headerData(c.col, Qt::Horizontal).toString();
    }
    if (!cell || addrText.isEmpty() || (write && cell->text().isEmpty()))
        return false;
    if (write && cell->data(TypedUnitRole).isValid()) {
        m_notWritten << tr("%1: %2 was typed in %3, the device now uses %4; type or confirm it again")
                            .arg(c.label, cell->text(), unitName(kTorque, cell->data(TypedUnitRole).toInt()), unitName(kTorque));
        return false;
    }
    if (!AppParamFile::toRegisterAddress(addrText, &c.addr))
        return false;   // garbage would name some other register
    // Text that does not convert would reach the device as some other number.
    if (write && !AppParamFile::toRegisterValue(cell->text(), decimalsOf(cell), &c.value)) {
        m_notWritten << tr("%1: \"%2\" is not a value of this parameter").arg(c.label, cell->text());
        return false;
    }
    c.target = cell->index();
    c.text = cell->text();
    return true;
}

void AppParamFrame::finishCell(Pass pass, Cursor &c, bool received)
{
    const QStandardItemModel *model = pass == ReadList || pass == WriteList ? m_listModel : m_stepModel;
    QStandardItem *cell = model->itemFromIndex(c.target);
    if (!cell)
        return;   // the page was rebuilt meanwhile
    if (!received) {
        // A failed read keeps the value shown; a failed write keeps the value to be written.
        if (pass == WriteList || pass == WriteSteps)
            m_notWritten << tr("%1: the device did not confirm the write").arg(c.label);
        return;
    }
    const QScopedValueRollback<bool> filling(m_filling, true);
    switch (pass) {
    case ReadList:
        cell->setText(registerValueText(c.wait.value(), cell->data(CustomItemDelegate::LineEditConfigRole)));
        break;
    case ReadSteps:
        // The user's edit stays until it is written.
        if (cell->data(ModifiedRole).toBool())
            return;
        cell->setText(registerValueText(c.wait.value(), cell->data(CustomItemDelegate::LineEditConfigRole)));
        cell->setForeground(QColor(Qt::black));
        break;
    case WriteList:
        // Sent just before the unit change was heard of: the device took it in its new unit.
        if (cell->data(TypedUnitRole).isValid()) {
            m_notWritten << tr("%1: %2 went out in %3 as the device changed its unit; the device may hold another value")
                                .arg(c.label, c.text, unitName(kTorque, cell->data(TypedUnitRole).toInt()));
            return;
        }
        // A value typed while the write was under way has not been written: it stays to be written.
        if (!m_writeAll && cell->text() == c.text)
            cell->setText(QString());
        break;
    case WriteSteps:
        if (cell->text() != c.text)
            return;
        cell->setData(false, ModifiedRole);
        cell->setForeground(QColor(Qt::black));
        break;
    case PassCount:
        return;
    }
    deselect(c.target);
}

void AppParamFrame::advance(Pass pass, Cursor &c) const
{
    if (pass == ReadList || pass == WriteList || ++c.col >= m_stepModel->columnCount()) {
        c.col = 1;
        ++c.row;
    }
}

void AppParamFrame::setPasses(bool read, bool write)
{
    for (int pass = 0; pass < PassCount; ++pass) {
        const bool on = pass == WriteList || pass == WriteSteps ? write : read;
        Cursor &c = m_passes[pass];
        c.state = on ? PassState::Start : PassState::Idle;
        c.target = QPersistentModelIndex();
        c.refused = false;
        c.wait.reset();
    }
    wakeTimer();
}

// Ends the passes under way. What the write passes had still to write is listed for the user: the
// cells that hold it are about to go, and a pass carried over would write the next page's values.
void AppParamFrame::endPasses()
{
    for (Pass pass : { WriteList, WriteSteps }) {
        Cursor &c = m_passes[pass];
        const QStandardItemModel *model = pass == WriteList ? m_listModel : m_stepModel;
        if (c.state == PassState::Idle)
            continue;
        if (c.state == PassState::Start) {
            c.row = 0;
            c.col = 1;
        } else if (c.state == PassState::Wait) {
            if (c.wait.check() != RegisterWait::Result::Received)
                m_notWritten << tr("%1: the page changed before the device confirmed the write").arg(c.label);
            advance(pass, c);
        }
        for (; c.row < model->rowCount(); advance(pass, c)) {
            if (prepareCell(pass, c))
                m_notWritten << tr("%1: the page changed before it was written").arg(c.label);
        }
    }
    setPasses(false, false);
    // Told once the page stands; a box here would open in the middle of the page build.
    if (!m_notWritten.isEmpty())
        QMetaObject::invokeMethod(this, [this] { reportNotWritten(); }, Qt::QueuedConnection);
}

void AppParamFrame::setRealTime(bool on)
{
    m_realTime = on;
    wakeTimer();
}

void AppParamFrame::reportNotWritten()
{
    if (m_notWritten.isEmpty() || m_passes[WriteList].state != PassState::Idle
        || m_passes[WriteSteps].state != PassState::Idle)
        return;
    const QStringList lines = m_notWritten;
    m_notWritten.clear();
    qWarning().noquote() << "App params not written:" << lines.join(QStringLiteral("; "));
    Prompt::warning(this, tr("Tips"), tr("These values were not written:\n%1").arg(lines.join(QLatin1Char('\n'))));
}

// Torque rows follow the device's unit at once: unit, limits and decimals. A current value is the
// register as read, so it is shown again with the new decimals. A value typed in the old unit stays
// in its cell, but no write sends it until the user types or confirms it again (or the unit it was
// typed in comes back): scaled by the old unit's decimals it would be another torque.
void AppParamFrame::applyTorqueUnit()
{
    const int before = m_torqueIndex;
    m_torqueIndex = unitIndex(kTorque);
    bool held = false;
    for (int row = 0; row < m_listModel->rowCount(); ++row) {
        QStandardItem *unitItem = m_listModel->item(row, kUnitColumn);
        QStandardItem *rangeItem = m_listModel->item(row, kRangeColumn);
        QStandardItem *current = m_listModel->item(row, kCurrentColumn);
        QStandardItem *typed = m_listModel->item(row, kNewColumn);
        if (!unitItem || !rangeItem || !current || !typed
            || !unitItem->data(kSourceRole).toString().contains(kTorqueBaseUnit))
            continue;
        const UnitRange shown = shownUnitRange(unitItem->data(kSourceRole).toString(), rangeItem->data(kSourceRole).toString());
        const QVariant config = rangeEditorConfig(shown.range);
        Uint16 raw = 0;
        if (AppParamFile::toRegisterValue(current->text(), decimalsOf(current), &raw))
            current->setText(registerValueText(raw, config));
        current->setData(config, CustomItemDelegate::LineEditConfigRole);
        typed->setData(config, CustomItemDelegate::LineEditConfigRole);
        unitItem->setText(shown.unit.isEmpty() ? tr("无") : shown.unit);
        rangeItem->setText(shown.range.isEmpty() ? tr("无") : shown.range);
        if (typed->text().isEmpty())
            continue;
        const QVariant typedIn = typed->data(TypedUnitRole);
        const int typedIndex = typedIn.isValid() ? typedIn.toInt() : before;
        if (typedIndex == m_torqueIndex) {
            releaseTypedValue(typed);
        } else {
            holdTypedValue(typed, typedIndex);
            held = true;
        }
    }
    // A box from here would open inside the poll that brought the unit register.
    if (held && !m_heldNoticeQueued) {
        m_heldNoticeQueued = true;
        QMetaObject::invokeMethod(this, [this] { tellHeldValues(); }, Qt::QueuedConnection);
    }
}

void AppParamFrame::holdTypedValue(QStandardItem *typed, int typedIn)
{
    typed->setData(typedIn, TypedUnitRole);
    typed->setForeground(kHeldColour);
    typed->setToolTip(tr("Typed in %1, but the device now uses %2: type or confirm it again to write it.")
                          .arg(unitName(kTorque, typedIn), unitName(kTorque)));
}

void AppParamFrame::releaseTypedValue(QStandardItem *typed)
{
    if (!typed || !typed->data(TypedUnitRole).isValid())
        return;
    typed->setData(QVariant(), TypedUnitRole);
    typed->setData(QVariant(), Qt::ForegroundRole);
    if (const QStandardItem *name = m_listModel->item(typed->row(), 1))
        typed->setToolTip(name->toolTip());
}

// A value the user commits in the editor, even unchanged, is meant in the unit the row shows now.
void AppParamFrame::onValueCommitted(const QModelIndex &index)
{
    if (index.model() == m_listModel && index.column() == kNewColumn)
        releaseTypedValue(m_listModel->itemFromIndex(index));
}

void AppParamFrame::tellHeldValues()
{
    m_heldNoticeQueued = false;
    QStringList lines;
    for (int row = 0; row < m_listModel->rowCount(); ++row) {
        const QStandardItem *typed = m_listModel->item(row, kNewColumn);
        if (!typed || typed->text().isEmpty() || !typed->data(TypedUnitRole).isValid())
            continue;
        lines << tr("%1: %2 %3").arg(cellTextOf(m_listModel, row, 1), typed->text(), unitName(kTorque, typed->data(TypedUnitRole).toInt()));
    }
    if (lines.isEmpty())
        return;
    const QString unit = unitName(kTorque);
    qWarning().noquote() << "App params: the torque unit is now" << unit << "; held back:" << lines.join(QStringLiteral("; "));
    Prompt::warning(this, tr("Tips"),
                    tr("The device's torque unit is now %1.\nThese values were typed in another unit and are not "
                       "written until you type or confirm them again in %1:\n%2")
                        .arg(unit, lines.join(QLatin1Char('\n'))));
}

void AppParamFrame::deselect(const QModelIndex &index)
{
    QTableView *view = index.model() == m_listModel ? ui->appParamTableView : ui->taskParamTableView;
    if (QItemSelectionModel *selection = view->selectionModel())
        selection->select(index, QItemSelectionModel::Deselect);
}

// Reading replaces imported values with the device's; the user says whether that is meant.
bool AppParamFrame::confirmReadAfterImport()
{
    if (!m_imported)
        return true;
    if (Prompt::warning(this, tr("Tips"), tr("The parameters imported will be uploaded \nagain. Do you want to continue?"),
                        QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return false;
    m_imported = false;
    return true;
}

// --- buttons ----------------------------------------------------------------------------------

void AppParamFrame::on_readFromDevBtn_clicked()
{
    if (confirmReadAfterImport())
        setPasses(true, false);
}

void AppParamFrame::on_writeToDevBtn_clicked()
{
    m_writeAll = true;
    m_notWritten.clear();
    setPasses(false, true);
}

void AppParamFrame::on_writeModifyBtn_clicked()
{
    m_writeAll = false;
    m_notWritten.clear();
    setPasses(false, true);
}

void AppParamFrame::on_realTimeReadBtn_clicked(bool checked)
{
    Q_UNUSED(checked)
    if (!m_realTime && !confirmReadAfterImport())
        return;
    setRealTime(!m_realTime);
}

void AppParamFrame::on_resetDefaultBtn_clicked()
{
    if (Prompt::warning(this, tr("Tips"), tr("Are you sure you want to restore factory settings?"),
                        QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return;
    const quint32 addr = ComSettingsFrame::addrMap(kCommandEntry);
    if (addr >= 0xFFFF || !ComSettingsFrame::writeRegister(Uint16(addr), kRestoreFactoryCommand))
        qWarning() << "App params: the restore command was not sent to register" << addr;
}

void AppParamFrame::on_saveParamBtn_clicked()
{
    QString name = Prompt::getSaveFileName(this, tr("Export App Params"), QStringLiteral("./"), tr("CSV Files (*.csv)"));
    if (name.isEmpty())
        return;
    if (!name.contains(QLatin1String(".csv")))
        name += QLatin1String(".csv");
    qDebug() << "Export Params To:" << name;
    exportAppParams(name);
}

void AppParamFrame::on_openParamBtn_clicked()
{
    const QString name = Prompt::getOpenFileName(this, tr("Import App Params"), QStringLiteral("./"), tr("CSV Files (*.csv)"));
    if (name.isEmpty())
        return;
    qDebug() << "Import Params From:" << name;
    setRealTime(false);
    importAppParams(name);
}

// --- parameter files --------------------------------------------------------------------------

bool AppParamFrame::exportAppParams(const QString &fileName)
{
    const int slave = pageSlave();
    QList<AppParamFile::Row> rows;
    const QList<RecordItem> defs = definitions();
    for (const RecordItem &def : defs) {
        const QString address = textOf(def, "address");
        Uint16 reg = 0;
        const Uint16 value = slave != 0 && AppParamFile::toRegisterAddress(address, &reg)
            ? ComSettingsFrame::getRegister(Uint8(slave), reg) : RegisterCache::NoValue;
        rows << AppParamFile::Row(address, value);
    }
    const AppParamFile::Error error = AppParamFile::write(fileName, int(ComSettingsFrame::currentDevice()), rows);
    if (error == AppParamFile::Error::None)
        return true;
    Prompt::warning(this, tr("Tips"), tr("App params export failed!"));
    const char *what = error == AppParamFile::Error::CannotCreate ? "New failure!"
        : error == AppParamFile::Error::CannotOpen                ? "Open failure!"
                                                                  : "Write failure!";
    qWarning().noquote() << fileName << what;
    return false;
}

bool AppParamFrame::importAppParams(const QString &fileName)
{
    QList<AppParamFile::Value> values;
    int badLine = 0;
    const AppParamFile::Error error =
        AppParamFile::read(fileName, int(ComSettingsFrame::currentDevice()), &values, &badLine);
    switch (error) {
    case AppParamFile::Error::None:
        break;
    case AppParamFile::Error::TooLarge: {
        Prompt::warning(this, tr("Tips"), ParamFileReader::tooLargeText());
        qWarning().noquote() << fileName << "not imported:" << QFileInfo(fileName).size() << "bytes is no application parameter file";
        return false;
    }
    case AppParamFile::Error::NotRegularFile:
        Prompt::warning(this, tr("Tips"), ParamFileReader::notRegularFileText(fileName));
        qWarning().noquote() << fileName << "not imported: not a regular file";
        return false;
    case AppParamFile::Error::WrongDeviceType:
        Prompt::warning(this, tr("Tips"), tr("The imported parameters do not \nmatch the current device type!"));
        qWarning().noquote() << "[2] App params import failure!";
        return false;
    case AppParamFile::Error::NoDeviceType:
    case AppParamFile::Error::BadHeader:
    case AppParamFile::Error::BadLine:
        Prompt::warning(this, tr("Tips"), tr("The parameter file format is wrong!"));
        if (error == AppParamFile::Error::BadLine)
            qWarning().noquote() << "[4] App params import failure! Line" << badLine << "is not address,value";
        else
            qWarning().noquote() << (error == AppParamFile::Error::NoDeviceType ? "[1]" : "[3]") << "App params import failure!";
        return false;
    default:
        qWarning().noquote() << fileName + QStringLiteral(" open failure!");
        return false;
    }
    const int slave = pageSlave();
    if (slave == 0) {
        qWarning() << "App params import: no valid slave address to import for";
        return false;
    }
    for (const AppParamFile::Value &v : qAsConst(values))
        ComSettingsFrame::setRegister(Uint8(slave), v.addr, v.value);
    m_imported = true;
    onMenuClicked(true);
    return true;
}

void AppParamFrame::showEvent(QShowEvent *event)
{
    QFrame::showEvent(event);
    ui->appParamTableView->setColumnHidden(0, true);
    ui->appParamTableView->setColumnHidden(2, true);
    m_timer.start(kTickMs);
}

void AppParamFrame::hideEvent(QHideEvent *event)
{
    setRealTime(false);
    m_timer.stop();
    QFrame::hideEvent(event);
}

const QList<RecordItem> &AppParamFrame::definitions() const
{
    return m_testDefinitions ? *m_testDefinitions : DatabaseManager::instance()->appParams();
}

QList<QPushButton *> AppParamFrame::menuButtons(const QString &prefix, int count) const
{
    QList<QPushButton *> buttons;
    for (int i = 1; i <= count; ++i) {
        if (auto *button = findChild<QPushButton *>(prefix + QString::number(i)))
            buttons << button;
    }
    return buttons;
}

void AppParamFrame::showNames(const QList<QPushButton *> &buttons, const QStringList &names)
{
    for (int i = 0; i < buttons.size(); ++i) {
        // Menu names are the definitions' own words, not texts of this program.
        if (i < names.size())
            buttons.at(i)->setText(names.at(i));
        buttons.at(i)->setVisible(i < names.size());
    }
}

QPushButton *AppParamFrame::checkedButton(const QList<QPushButton *> &buttons)
{
    for (QPushButton *button : buttons) {
        if (button->isChecked())
            return button;
    }
    return nullptr;
}

// The exclusive groups hold only the first buttons of each list; the rest take the check
// from them (and give it back) here, so one task and one page stay selected.
void AppParamFrame::keepSingleCheck(QPushButton *clicked)
{
    if (!clicked)
        return;
    for (const QList<QPushButton *> *list : { &m_level1Buttons, &m_level2Buttons }) {
        if (!list->contains(clicked))
            continue;
        for (QPushButton *button : *list) {
            if (button == clicked || !button->isChecked())
                continue;
            QButtonGroup *group = button->group();
            if (group)
                group->setExclusive(false);
            button->setChecked(false);
            if (group)
                group->setExclusive(true);
        }
        clicked->setChecked(true);
    }
}

QList<int> AppParamFrame::keysOf(const QString &path) const
{
    QList<int> keys;
    for (auto it = m_pageMap.constBegin(); it != m_pageMap.constEnd(); ++it) {
        if (it.value() == path)
            keys << it.key();
    }
    return keys;
}

bool AppParamFrame::protectedPageAllowed()
{
    // One question per visit of a task page; the answer holds until another task page is chosen.
    if (m_askPassword) {
        m_askPassword = false;
        m_passwordAccepted = MenuBarFrame::askAdminPassword(this);
    }
    return m_passwordAccepted;
}

// The slave whose registers the page shows, reads, writes and keeps in files; 0 when none is valid.
int AppParamFrame::pageSlave()
{
    bool ok = false;
    const uint slave = CommonUtils::takeConfigVal(1, QStringLiteral("DeviceAddr"), QStringLiteral("1")).toUInt(&ok);
    return ok && ComSettingsFrame::isValidSlave(int(slave)) ? int(slave) : 0;
}

QString AppParamFrame::cachedValueText(const RecordItem &definition, const QVariant &editorConfig) const
{
    const int slave = pageSlave();
    Uint16 addr = 0;
    if (slave == 0 || !AppParamFile::toRegisterAddress(textOf(definition, "address"), &addr))
        return QString();
    const Uint16 value = ComSettingsFrame::getRegister(Uint8(slave), addr);
    return value == RegisterCache::NoValue ? QString() : registerValueText(value, editorConfig);
}

void AppParamFrame::announceTaskCount(int count)
{
    if (MenuBarFrame *bar = MenuBarFrame::instance())
        bar->updateTaskComboBox(count);
    if (WorkRecordFrame *records = WorkRecordFrame::instance())
        records->updateTaskComboBox(count);
}

QString formatValueText(uint value, int width, int decimals, int format)
{
    return ValueText::formatValueText(value, width, decimals, format);
}

int parseValueText(QString text, uint &value, int decimals)
{
    return ValueText::parseValueText(text, value, decimals);
}
