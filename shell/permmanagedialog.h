#ifndef PERMMANAGEDIALOG_H
#define PERMMANAGEDIALOG_H

#include "data/recorditem.h"

#include <QDialog>
#include <QList>
#include <QMap>

class QCheckBox;
namespace Ui { class PermManageDialog; }

// Edits one account record (or several at once, from blank fields). It refuses only a new account
// without a name; the account page decides what a confirmed record does.
class PermManageDialog : public QDialog
{
    Q_OBJECT
public:
    explicit PermManageDialog(QWidget *parent = nullptr);
    ~PermManageDialog() override;

    void showNewAccount();
    void showModifyAccount(const RecordItem &record);

    // Device and permission lists are stored as keys joined by "/" ("0/3"); an empty part is
    // skipped and a part that is not a number reads as 0.
    static QList<int> keysFromText(const QString &text);
    static QString keysToText(QList<int> keys);

signals:
    void addAccountConfirm(RecordItem &item);
    void modifyAccountConfirm(RecordItem &item);

private slots:
    void on_confirmButton_clicked();
    void on_cancelButton_clicked();

protected:
    void hideEvent(QHideEvent *event) override;

private:
    enum EditorMode { NewMode = 0, ModifyMode = 1 };

    static void tickKeys(const QMap<QCheckBox *, int> &boxes, const QString &text);
    static QString tickedKeys(const QMap<QCheckBox *, int> &boxes);

    Ui::PermManageDialog *ui;
    QMap<QCheckBox *, int> m_deviceBoxes;
    QMap<QCheckBox *, int> m_permissionBoxes;
    int m_editorMode = NewMode;
};

#endif // PERMMANAGEDIALOG_H
