#include "shell/menuareaframe.h"
#include "ui_menuareaframe.h"

#include "data/datasource.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QSet>
#include <QSpacerItem>
#include <QTreeWidget>

namespace {
struct MenuEntry {
    int number;         // below 10 a group number, otherwise the menu id of a leaf
    const char *text;
    const char *icon;
};

const MenuEntry kMenu[] = {
    { 0, QT_TRANSLATE_NOOP("MenuAreaFrame", "System Settings"), "sysSetting_2.png" },
    { 10, QT_TRANSLATE_NOOP("MenuAreaFrame", "User Login"), "userLogin.png" },
    { 11, QT_TRANSLATE_NOOP("MenuAreaFrame", "Comm Settings"), "commSettings.png" },
    { 12, QT_TRANSLATE_NOOP("MenuAreaFrame", "Perm Settings"), "permSettings.png" },
    { 13, QT_TRANSLATE_NOOP("MenuAreaFrame", "Dev Information"), "devInform.png" },
    { 15, QT_TRANSLATE_NOOP("MenuAreaFrame", "System Update"), "systemUpdate.png" },
    { 14, QT_TRANSLATE_NOOP("MenuAreaFrame", "About Software"), "about_2.png" },
    { 1, QT_TRANSLATE_NOOP("MenuAreaFrame", "Servo Settings"), "servoSetting.png" },
    { 20, QT_TRANSLATE_NOOP("MenuAreaFrame", "Servo Parameters"), "servoParam.png" },
    { 21, QT_TRANSLATE_NOOP("MenuAreaFrame", "Servo Debugging"), "servoDebug.png" },
    { 2, QT_TRANSLATE_NOOP("MenuAreaFrame", "App Settings"), "appSetting.png" },
    { 30, QT_TRANSLATE_NOOP("MenuAreaFrame", "App Parameters"), "appParam_2.png" },
    { 31, QT_TRANSLATE_NOOP("MenuAreaFrame", "App Debugging"), "appDebug_2.png" },
    { 3, QT_TRANSLATE_NOOP("MenuAreaFrame", "Monitor Information"), "monitorInfo.png" },
    { 50, QT_TRANSLATE_NOOP("MenuAreaFrame", "IO Monitoring"), "ioMonitor_2.png" },
    { 51, QT_TRANSLATE_NOOP("MenuAreaFrame", "Alarm Information"), "alarmInfo_2.png" },
    { 4, QT_TRANSLATE_NOOP("MenuAreaFrame", "Work Waveform"), "workWave_2.png" },
    { 40, QT_TRANSLATE_NOOP("MenuAreaFrame", "Wave Monitor"), "workWave.png" },
    { 5, QT_TRANSLATE_NOOP("MenuAreaFrame", "statistics Analysis"), "statisAnalysis.png" },
    { 60, QT_TRANSLATE_NOOP("MenuAreaFrame", "Work Record"), "workRecord_2.png" },
};

const char kDownArrow[] = ":/Resource/Icons/downArrow.png";
const char kRightArrow[] = ":/Resource/Icons/rightArrow.png";

QString iconPath(const char *name)
{
    return QStringLiteral(":/Resource/Icons/") + QLatin1String(name);
}

QLabel *iconLabel(const QString &icon, int size)
{
    auto *label = new QLabel;
    label->setFixedSize(size, size);
    label->setScaledContents(true);
    label->setPixmap(QPixmap(icon));
    return label;
}

QLabel *textLabel(const QString &text)
{
    auto *label = new QLabel(text);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

QString rowStyle(const QString &background, const QString &border)
{
    return QStringLiteral(".QWidget:hover{\nbackground:#AECBEE;\n}\n.QWidget{\nbackground:%1;\nborder-bottom: 1px solid %2;\n}")
        .arg(background, border);
}
} // namespace

MenuAreaFrame::MenuAreaFrame(QWidget *parent)
    : QFrame(parent)
    , ui(new Ui::MenuAreaFrame)
{
    ui->setupUi(this);
    QTreeWidget *tree = ui->menuTreeWidget;
    tree->header()->hide();
    tree->setIndentation(0);
    tree->setStyleSheet(QStringLiteral("QTreeWidget::item{ min-height: 40px; }\n.QTreeWidget{ background: #EBEEF7; }"));
    // Expansion follows our own handler only; Qt's double-click toggle would put the arrows out of step.
    tree->setExpandsOnDoubleClick(false);

    QTreeWidgetItem *group = nullptr;
    for (const MenuEntry &entry : kMenu) {
        const QString text = tr(entry.text);
        if (entry.number < 10)
            group = addGroupRow(iconPath(entry.icon), text, entry.number);
        else
            addLeafRow(group, iconPath(entry.icon), text, QColor(QStringLiteral("#FFFFFF")), entry.number);
    }
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        tree->topLevelItem(i)->setExpanded(true);

    connect(tree, SIGNAL(itemClicked(QTreeWidgetItem*,int)), this, SLOT(onMenuClicked(QTreeWidgetItem*,int)));
    connect(tree, SIGNAL(itemDoubleClicked(QTreeWidgetItem*,int)), this, SLOT(onMenuClicked(QTreeWidgetItem*,int)));
}

MenuAreaFrame::~MenuAreaFrame()
{
    delete ui;
}

QTreeWidgetItem *MenuAreaFrame::addGroupRow(const QString &icon, const QString &text, int group)
{
    auto *item = new QTreeWidgetItem(ui->menuTreeWidget);
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 2, 10, 0);
    layout->addItem(new QSpacerItem(40, 10, QSizePolicy::Minimum, QSizePolicy::Minimum));
    layout->addWidget(iconLabel(icon, 20));
    layout->addWidget(textLabel(text));
    QLabel *arrow = iconLabel(QLatin1String(kDownArrow), 10);
    layout->addWidget(arrow);
    row->setStyleSheet(QStringLiteral("QWidget{\ncolor: white;\n}\n")
                       + rowStyle(QStringLiteral("qlineargradient(spread:reflect, x1:0, y1:0, x2:0, y2:0.5, "
                                                 "stop:0 #8397C5, stop:0.5 #7188BD)"),
                                  QStringLiteral("#FFFFFF")));
    ui->menuTreeWidget->setItemWidget(item, 0, row);
    m_itemMap.insert(item, group);
    m_arrowMap.insert(item, arrow);
    return item;
}

void MenuAreaFrame::addLeafRow(QTreeWidgetItem *group, const QString &icon, const QString &text,
                               const QColor &background, int menuId)
{
    auto *item = new QTreeWidgetItem(group);
    item->setBackground(0, background);
    auto *row = new QWidget;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 2, 0, 0);
    layout->addItem(new QSpacerItem(46, 10, QSizePolicy::Minimum, QSizePolicy::Minimum));
    layout->addWidget(iconLabel(icon, 16));
    layout->addWidget(textLabel(text));
    row->setStyleSheet(rowStyle(QStringLiteral("#E4EAF6"), QStringLiteral("#FFFFFF")));
    ui->menuTreeWidget->setItemWidget(item, 0, row);
    m_itemMap.insert(item, menuId);
}

void MenuAreaFrame::onMenuClicked(QTreeWidgetItem *item, int column)
{
    Q_UNUSED(column)
    if (!item)
        return;
    if (item->treeWidget())
        item->setExpanded(!item->isExpanded());
    if (QLabel *arrow = m_arrowMap.value(item))
        arrow->setPixmap(QPixmap(QLatin1String(item->isExpanded() ? kDownArrow : kRightArrow)));
    const QWidget *row = ui->menuTreeWidget->itemWidget(item, 0);
    if (row && !row->isEnabled())
        return;

    const int number = m_itemMap.value(item, 0);
    // The oscilloscope view learns which of its two modes to show before the page is asked for.
    if (number == 21 || number == 40) {
        if (DataSource *source = DataSource::instance())
            source->emitOscillShowSignal(number == 21 ? 1 : 0);
    }
    emit menuClicked(number);
}

void MenuAreaFrame::onDeviceChanged(DeviceEnum devType)
{
    if (devType == NoDevice)
        return;
    static const QSet<int> sdriverHidden { 10, 12, 13, 15 };
    static const QSet<int> highVoltShown { 0, 11, 15, 14, 1, 20, 21, 4, 40 };
    static const QSet<int> servoShown { 0, 11, 14, 1, 20, 21, 4, 40 };
    for (auto it = m_itemMap.cbegin(); it != m_itemMap.cend(); ++it) {
        const int number = it.value();
        bool hidden = false;
        switch (devType) {
        case SdriverDevice: hidden = sdriverHidden.contains(number); break;
        case HighVoltServo: hidden = !highVoltShown.contains(number); break;
        default: hidden = !servoShown.contains(number); break;
        }
        it.key()->setHidden(hidden);
    }
}
