#ifndef COMPATIBILITYDIALOG_H
#define COMPATIBILITYDIALOG_H

#include <QDialog>

namespace Ui { class CompatibilityDialog; }

// The one check box that makes the oscilloscope read parameters 92 and 93 in the numbering of
// older servo firmware. Stored as "OldCurveCfg" of the compatibility settings.
class CompatibilityDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CompatibilityDialog(QWidget *parent = nullptr);
    ~CompatibilityDialog() override;

private slots:
    void on_oldCurveConfigBox_toggled(bool checked);

private:
    Ui::CompatibilityDialog *ui;
};

#endif // COMPATIBILITYDIALOG_H
