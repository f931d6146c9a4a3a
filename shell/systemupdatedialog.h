#ifndef SYSTEMUPDATEDIALOG_H
#define SYSTEMUPDATEDIALOG_H

#include "shell/commandprocess.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QTimer>

#include <memory>

class UnpackFolder;

namespace Ui { class SystemUpdateDialog; }

// Sends an update to the connected device: the picked "*.tar.bfe" archive is copied, decrypted
// and unpacked by the tools in the tool folder, and the unpacked file goes out in 200-byte blocks
// (function 0x22, TCP only). The progress bar is also the start button. The tools run beside the
// window, and the transfer runs on a timer of the dialog's own, so closing the window stops
// neither. What the tools leave is removed when the attempt ends, however it ends; counting and
// removing it run beside the window as well.
class SystemUpdateDialog : public QDialog
{
    Q_OBJECT
public:
    static constexpr int BlockSize = 200;
    // A block not taken by the link, or not answered by the device, within this gives up the update.
    static constexpr int BlockTimeoutMs = 3000;
    // More than any real update unpacks to; an archive that unpacks to more is refused.
    static constexpr qint64 MaxUnpackedBytes = 256 * 1024 * 1024;
    static constexpr qint64 MaxUnpackedEntries = 10000;
    // Longer than any of the tools takes on a real update; one that takes longer has hung.
    static constexpr int ToolTimeLimitMs = 120000;

    explicit SystemUpdateDialog(QWidget *parent = nullptr);
    ~SystemUpdateDialog() override;

    // Where the update tools are and unpack to, relative to the program folder.
    static QString toolFolder();
    // Tests shorten it.
    void setToolTimeLimit(int ms) { m_toolTimeLimitMs = ms; }

public slots:
    void slotProgressButtonPressed();
    void slotWriteFileTimeout();
    void slotWaitEnd();

private slots:
    void on_selectFileButton_clicked(bool checked);
    void onLoadingValueChanged(int value);
    void onToolFinished(int exitCode, QProcess::ExitStatus status);
    void onToolError(QProcess::ProcessError error);

private:
    // Check: the tools are done and a count of what they left decides.
    enum class UpdateStep { Idle, Unpack, Check, Open, Send, Wait, End, AfterLast };

    void initProgressButton();
    bool startUpdateTools(const QString &archivePath, bool pickedInPlace);
    void runNextTool();
    bool countWithinBounds();
    void checkUnpacked();
    void endAttempt();
    bool cleanedUp();
    QStringList leftBesides() const;
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
    QString m_baseName;                         // of the picked archive: names its folder inside
    CommandProcess m_tool;                      // the outside tool now running
    QStringList m_toolCommands;
    int m_toolIndex = 0;
    QElapsedTimer m_toolClock;                  // since the current tool started
    QElapsedTimer m_countClock;                 // since the last count began while a tool runs
    int m_toolTimeLimitMs = ToolTimeLimitMs;
    bool m_finalCount = false;                  // the count begun after the tools ended is under way
    bool m_archiveCopied = false;               // false: the picked archive is the tools' own; it stays
    std::unique_ptr<UnpackFolder> m_unpackDir;  // fresh for every attempt
};

#endif // SYSTEMUPDATEDIALOG_H
