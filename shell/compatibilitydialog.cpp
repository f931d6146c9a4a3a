#include "shell/compatibilitydialog.h"
#include "ui_compatibilitydialog.h"

#include "data/commonutils.h"
#include "data/datasource.h"
#include "widgets/prompt.h"

#include <QDebug>
#include <QSignalBlocker>

namespace {
constexpr int kCompatibilityGroup = 4;
const QString kOldCurveKey = QStringLiteral("OldCurveCfg");

void announceVersionChange()
{
    if (DataSource *source = DataSource::instance())
        emit source->servoVersionChanged();
}
} // namespace

CompatibilityDialog::CompatibilityDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::CompatibilityDialog)
{
    ui->setupUi(this);
    const int oldCurve = CommonUtils::takeConfigVal(kCompatibilityGroup, kOldCurveKey, QStringLiteral("0")).toInt();
    {
        // Showing the stored choice must not store it again.
        const QSignalBlocker block(ui->oldCurveConfigBox);
        ui->oldCurveConfigBox->setChecked(oldCurve != 0);
    }
    announceVersionChange();
}

CompatibilityDialog::~CompatibilityDialog()
{
    delete ui;
}

void CompatibilityDialog::on_oldCurveConfigBox_toggled(bool checked)
{
    const QString value = checked ? QStringLiteral("1") : QStringLiteral("0");
    if (!CommonUtils::saveConfigVal(kCompatibilityGroup, kOldCurveKey, value)) {
        // The oscilloscope reads the stored value: a box left ticked would show a choice not in use.
        qWarning() << "CompatibilityDialog: could not store OldCurveCfg =" << value;
        {
            const QSignalBlocker block(ui->oldCurveConfigBox);
            ui->oldCurveConfigBox->setChecked(!checked);
        }
        Prompt::warning(this, tr("Tips"), tr("Failed to save the option!"));
        return;
    }
    announceVersionChange();
}
