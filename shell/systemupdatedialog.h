#ifndef SYSTEMUPDATEDIALOG_H
#define SYSTEMUPDATEDIALOG_H

#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

namespace Ui { class SystemUpdateDialog; }

// Sends an update to the connected device: the picked "*.tar.bfe" archive is copied, decrypted
// and unpacked by the tools in the tool folder, and the unpacked file goes out in 200-byte blocks
// (function 0x22, TCP only). The progress bar is also the start button. The transfer runs on a
// timer of the dialog's own, so closing the window does not stop it.
class SystemUpdateDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int BlockSize = 200;
    // A block not taken by the link, or not answered by the device, within this gives up the update.
    static constexpr int BlockTimeoutMs = 3000;

    explicit SystemUpdateDialog(QWidget *parent = nullptr);
    ~SystemUpdateDialog() override;

    // Where the update tools are and unpack to, relative to the program folder.
    static QString toolFolder();

public slots:
    void slotProgressButtonPressed();
    void slotWriteFileTimeout();
    void slotWaitEnd();

private slots:
    void on_selectFileButton_clicked(bool checked);
    void onLoadingValueChanged(int value);

private:
    enum class UpdateStep { Idle, Open, Send, Wait, End, AfterLast };

    void initProgressButton();
    bool runUpdateTools(const QString &archivePath, const QString &baseName);
    void openUpdateFile();
    void sendBlock();
    void endWait();
    void failUpdate(const QString &text);

    Ui::SystemUpdateDialog *ui;
    QTimer m_sendTimer;
    UpdateStep m_updateStep = UpdateStep::Idle;
    qint64 m_fileSize = 0;
    int m_blockIndex = 0;
    int m_blockCount = 0;
    bool m_waitEnd = false;
    QElapsedTimer m_blockClock;     // since the current block was first offered or sent
    QFile m_updateFile;
    QString m_updateFilePath;
};

#endif // SYSTEMUPDATEDIALOG_H
