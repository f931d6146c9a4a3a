#include "support/servopagefixture.h"

#include "comm/comsettingsframe.h"
#include "data/commonutils.h"
#include "data/databasemanager.h"
#include "servo/servoparamframe.h"
#include "support/servoparamtable.h"
#include "widgets/customitemdelegate.h"

#include <QPushButton>
#include <QStandardItemModel>
#include <QtTest>

ServoPageFixture::ServoPageFixture()
    : frame(link.frame())
    , page(new ServoParamFrame)
{
    prompts.reply.button = QMessageBox::Yes;
    DatabaseManager *manager = DatabaseManager::instance();
    QObject::connect(frame, &ComSettingsFrame::devChangedSignal, manager, &DatabaseManager::onDeviceChanged);
    QObject::connect(manager, &DatabaseManager::devChangedSignal, page, &ServoParamFrame::onDeviceChanged);
    QObject::connect(frame, &ComSettingsFrame::modbusComError, page, &ServoParamFrame::onComError);
}

ServoPageFixture::~ServoPageFixture()
{
    delete page;
}

void ServoPageFixture::setDevice(DeviceEnum type)
{
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceType"), QString::number(int(type)));
    frame->loadSettings();
}

bool ServoPageFixture::connectTo(DeviceEnum type, const QStringList &simArgs)
{
    CommonUtils::saveConfigVal(1, QStringLiteral("DeviceType"), QString::number(int(type)));
    return link.start(QStringList { QStringLiteral("--type"), QString::number(int(type)) } + simArgs);
}

void ServoPageFixture::check(const QStringList &codes, bool on) const
{
    for (const QString &code : codes)
        QVERIFY2(ServoParamTable(page).check(code, on), qPrintable(code));
}

int ServoPageFixture::row(const QString &code, const QString &slaveAxis) const
{
    return ServoParamTable(page).row(code, slaveAxis);
}

QStandardItem *ServoPageFixture::cell(int row, int column) const
{
    return page->tableModel()->item(row, column);
}

QString ServoPageFixture::text(int row, int column) const
{
    return ServoParamTable(page).text(row, column);
}

void ServoPageFixture::setDisplayMode(int row, int mode) const
{
    QStandardItem *combo = cell(row, 3);
    QVariantMap config = combo->data(CustomItemDelegate::ComboConfigRole).toMap();
    config.insert(QStringLiteral("currentIndex"), mode);
    combo->setData(config, CustomItemDelegate::ComboConfigRole);
}

void ServoPageFixture::click(const char *button) const
{
    page->findChild<QPushButton *>(QLatin1String(button))->click();
}

bool ServoPageFixture::waitIdle(int ms) const
{
    return QTest::qWaitFor([this] { return !page->isPassRunning(); }, ms);
}

QStringList ServoPageFixture::warnings() const
{
    QStringList texts;
    for (const Prompt::Request &r : prompts.requests) {
        if (r.kind == Prompt::Warning)
            texts << r.text;
    }
    return texts;
}
