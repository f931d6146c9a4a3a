#include "app/appparamframe.h"

#include "app/workrecordframe.h"
#include "shell/menubarframe.h"
#include "ui_appparamframe.h"

#include "app/paramunit.h"
#include "comm/comsettingsframe.h"
#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "servo/valuetext.h"
#include "widgets/customitemdelegate.h"
#include "widgets/prompt.h"

#include <QButtonGroup>
#include <QDebug>
#include <QHeaderView>
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
const QString kTorque = QStringLiteral("torque");
// The tool bar asks for the same administrator password.
const QString kSharedTask = QStringLiteral("*");

QString textOf(const RecordItem &definition, const char *key)
{
    return definition.value(QLatin1String(key)).toString();
}

void warnSkipped(const RecordItem &definition, const QString &why)
{
    qWarning().noquote() << QStringLiteral("App param \"%1\" skipped: %2").arg(textOf(definition, "name"), why);
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

    m_stepModel = new QStandardItemModel(kModelRows, kStepColumns, this);
    m_stepModel->setHorizontalHeaderLabels({ tr("步骤"), tr("圈数(r)"), tr("速度(rpm)") });
    m_listModel = new QStandardItemModel(kModelRows, kListColumns, this);
    m_listModel->setHorizontalHeaderLabels(
        { tr("地址"), tr("名称"), tr("格式"), tr("当前值"), tr("新值"), tr("单位"), tr("范围") });
    m_delegate = new CustomItemDelegate(this);
    setupTable(ui->appParamTableView, m_listModel, m_delegate, QHeaderView::ResizeToContents);
    setupTable(ui->taskParamTableView, m_stepModel, m_delegate, QHeaderView::Stretch);
    connect(m_stepModel, &QStandardItemModel::itemChanged, this, &AppParamFrame::onTaskParamTableItemChanged);

    initUnitTable();

    m_menuButtons = menuButtons(QStringLiteral("appParamMenuBtn"), 8);
    m_level1Buttons = menuButtons(QStringLiteral("appParamMenuBtn1"), 12);
    m_level2Buttons = menuButtons(QStringLiteral("appParamMenuBtn2"), 12);
    for (const QList<QPushButton *> &list : { m_menuButtons, m_level1Buttons, m_level2Buttons }) {
        for (QPushButton *button : list)
            connect(button, &QPushButton::clicked, this, &AppParamFrame::onMenuClicked);
    }
    m_lastLevel2 = ui->appParamMenuBtn21;
    initMenu();

    if (ComSettingsFrame *com = ComSettingsFrame::instance())
        connect(com, &ComSettingsFrame::realTimeAddrRead, this, &AppParamFrame::onRealTimeAddrRead);

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
        return entries;
    for (const QString &entry : group.split(QStringLiteral("&&"))) {
        QStringList parts = entry.split(QLatin1Char('/'));
        bool ok = false;
        const int key = parts.takeFirst().trimmed().toInt(&ok, 10);
        if (!ok || parts.isEmpty() || parts.contains(QString())) {
            if (errors)
                errors->append(QStringLiteral("group entry \"%1\" is not key/path").arg(entry));
            continue;
        }
        entries.append({ key, parts.join(QLatin1Char('/')) });
    }
    return entries;
}

AppParamFrame::Placement AppParamFrame::parseTableInfo(const QString &tableInfo, QString *error)
{
    static const QRegularExpression space(QStringLiteral("\\s"));
    static const QRegularExpression rowWord(QStringLiteral("\\s*row\\s*"));
    static const QRegularExpression colWord(QStringLiteral("\\s*col\\s*"));
    auto fail = [&](const QString &why) {
        if (error)
            *error = QStringLiteral("tableInfo \"%1\": %2").arg(tableInfo, why);
        return Placement();
    };

    const QStringList parts = tableInfo.split(QLatin1Char('/'));
    QString table = parts.first();
    table.remove(space);
    if (table.isEmpty() && parts.size() == 1)
        return Placement();     // deliberately on no table
    Placement place;
    if (table == QLatin1String("table2")) {
        place.kind = Placement::ListRow;
        return place;
    }
    if (table != QLatin1String("table1"))
        return fail(QStringLiteral("unknown table"));
    if (parts.size() < 3)
        return fail(QStringLiteral("a step cell needs a row and a column"));
    QString rowText = parts.at(1);
    QString colText = parts.at(2);
    rowText.remove(space).remove(rowWord);
    colText.remove(space).remove(colWord);
    bool rowOk = false;
    bool colOk = false;
    place.row = rowText.toInt(&rowOk, 10);
    place.col = colText.toInt(&colOk, 10);
    if (!rowOk || !colOk)
        return fail(QStringLiteral("row or column is not a number"));
    // A negative row would address the row before the table.
    if (place.row < 0)
        return fail(QStringLiteral("negative row"));
    if (place.col < 1 || place.col >= kStepColumns)
        return fail(QStringLiteral("the step table has parameter columns 1 and 2 only"));
    place.kind = Placement::StepCell;
    return place;
}

QString AppParamFrame::definitionProblem(const RecordItem &definition)
{
    const QString address = textOf(definition, "address");
    bool ok = false;
    const quint32 reg = ComSettingsFrame::textToValue(address, 0, &ok);
    if (!ok || reg > 0xFFFF)
        return QStringLiteral("address \"%1\" is not a register address").arg(address);
    const QString range = textOf(definition, "range");
    if (!range.trimmed().isEmpty() && !ValueText::parseRange(range).converted)
        return QStringLiteral("range \"%1\" is not min~max").arg(range);
    return QString();
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
        QStringList errors;
        for (const PageEntry &entry : parseGroup(textOf(def, "group"), &errors))
            m_pageMap.insert(entry.key, entry.path);
        for (const QString &error : qAsConst(errors))
            warnSkipped(def, error);
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

    m_taskCount = level1.size();
    announceTaskCount(m_taskCount);
    ui->scrollArea->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void AppParamFrame::buildPageTables(QList<int> keys)
{
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
        QString error;
        const Placement place = parseTableInfo(textOf(def, "tableInfo"), &error);
        if (!error.isEmpty()) {
            warnSkipped(def, error);
            continue;
        }
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
    if (row < 0 || row > m_listModel->rowCount())
        return;
    const QString name = textOf(definition, "name");
    const QString problem = definitionProblem(definition);
    if (!problem.isEmpty()) {
        warnSkipped(definition, problem);
        return;
    }
    const QString description = textOf(definition, "description");
    QString unit = textOf(definition, "unit");
    QString range = textOf(definition, "range");
    // Torque limits are written in N·m; the device reports torque in the unit it has selected.
    if (unit.contains(QStringLiteral("N·m"))) {
        unit = unitName(kTorque);
        range = unitRangeText(kTorque, range);
    }
    const QVariant config = rangeEditorConfig(range);
    const QString texts[kListColumns] = { textOf(definition, "address"),
                                          name,
                                          tr("有符号"),
                                          cachedValueText(definition, config),
                                          QString(),
                                          unit.isEmpty() ? tr("无") : unit,
                                          range.isEmpty() ? tr("无") : range };

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
    if (row < m_listModel->rowCount())
        m_listModel->removeRow(row);
    m_listModel->insertRow(row, items);
}

void AppParamFrame::setTaskCell(int row, int col, RecordItem definition)
{
    const QString name = textOf(definition, "name");
    if (col < 1 || col >= m_stepModel->columnCount())
        return;
    if (row < 0 || row > m_stepModel->rowCount()) {
        // Step rows are made in reading order; a row past the next new one has no label yet.
        warnSkipped(definition, QStringLiteral("step row %1 follows no row before it").arg(row));
        return;
    }
    const QStringList names = name.split(QLatin1Char('/'));
    if (names.size() != 2) {
        warnSkipped(definition, QStringLiteral("a step cell is named \"step/column\""));
        return;
    }
    const QString problem = definitionProblem(definition);
    if (!problem.isEmpty()) {
        warnSkipped(definition, problem);
        return;
    }

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
    if (!keys.isEmpty())
        buildPageTables(keys);
}

void AppParamFrame::onSearchSignal(int type, QString text)
{
    Q_UNUSED(type)
    Q_UNUSED(text)
    emit searchFinishSigal();
}

void AppParamFrame::showEvent(QShowEvent *event)
{
    QFrame::showEvent(event);
    ui->appParamTableView->setColumnHidden(0, true);
    ui->appParamTableView->setColumnHidden(2, true);
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

QString AppParamFrame::cachedValueText(const RecordItem &definition, const QVariant &editorConfig) const
{
    bool ok = false;
    const uint slave = CommonUtils::takeConfigVal(1, QStringLiteral("DeviceAddr"), QStringLiteral("1")).toUInt(&ok);
    if (!ok || !ComSettingsFrame::isValidSlave(int(slave)))
        return QString();
    const Uint16 addr = Uint16(ComSettingsFrame::textToValue(textOf(definition, "address"), 0));
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
