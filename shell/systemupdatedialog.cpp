#include "shell/systemupdatedialog.h"
#include "ui_systemupdatedialog.h"

#include "comm/comsettingsframe.h"
#include "shell/platform.h"
#include "shell/unpackfolder.h"
#include "widgets/prompt.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace {
// Fixed names the update tools agree on.
const char kArchiveSuffix[] = ".tar.bfe";
const char kArchiveName[] = "VxBT.tar.bfe";
const char kDecryptScript[] = "decrypt.bat";
const char kTarName[] = "VxBT.tar";
const char kUpdateFileName[] = "RO_Devave.tar";
constexpr int kCountIntervalMs = 200;
} // namespace

SystemUpdateDialog::SystemUpdateDialog(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::SystemUpdateDialog)
    , m_sendTimer(this)
{
    ui->setupUi(this);
    initProgressButton();
    // Ticks only while an update runs: an idle dialog costs nothing.
    m_sendTimer.setObjectName(QStringLiteral("sendTimer"));
    m_sendTimer.setInterval(5);
    connect(&m_sendTimer, &QTimer::timeout, this, &SystemUpdateDialog::slotWriteFileTimeout);
    connect(&m_tool, QOverload<int, QProcess::ExitStatus>::of(&QProcess::finished), this,
            &SystemUpdateDialog::onToolFinished);
    connect(&m_tool, &QProcess::errorOccurred, this, &SystemUpdateDialog::onToolError);
}

SystemUpdateDialog::~SystemUpdateDialog()
{
    disconnect(&m_tool, nullptr, this, nullptr);
    m_tool.stop();
    m_tool.waitForFinished(1000);
    if (m_unpackDir)
        m_unpackDir->remove(leftBesides());
    delete ui;
}

QString SystemUpdateDialog::toolFolder()
{
    return QStringLiteral("./Resource/Tool/");
}

void SystemUpdateDialog::initProgressButton()
{
    CTProgressButton *bar = ui->loadingBar;
    bar->setFixedHeight(32);
    bar->setRange(0, 100);
    bar->setFormat(tr("更新"));
    bar->setValue(0);
    connect(bar, &CTProgressButton::pressed, this, &SystemUpdateDialog::slotProgressButtonPressed);
    // Queued: the completion box must not hold up the transfer machine that reached 100.
    connect(bar, &QProgressBar::valueChanged, this, &SystemUpdateDialog::onLoadingValueChanged, Qt::QueuedConnection);
    ui->selectFileButton->setStyleSheet(QStringLiteral(
        "QPushButton{color: white; background-color: #4ea8f5; border: none;}"
        "QPushButton:hover{background-color: #64B3F6;}"
        "QPushButton:pressed{background-color: rgb(44,142,227);}"));
}

void SystemUpdateDialog::on_selectFileButton_clicked(bool checked)
{
    Q_UNUSED(checked)
    const QString path = Prompt::getOpenFileName(this, QString(), QString(), QStringLiteral("*.tar.bfe"));
    if (!path.isEmpty())
        ui->filePathLineEdit->setText(path);
}

void SystemUpdateDialog::slotProgressButtonPressed()
{
    if (ui->loadingBar->value() != 0 || m_updateStep != UpdateStep::Idle)
        return;
    const QString path = ui->filePathLineEdit->text();
    if (path.isEmpty()) {
        Prompt::warning(this, tr("错误"), tr("未选择更新文件!"));
        return;
    }
    const QFileInfo picked(path);
    if (!picked.isFile()) {
        Prompt::warning(this, tr("错误"), tr("未找到更新文件!"));
        return;
    }
    // The unpacked folder is named after the archive, so a name without the suffix has no result to send.
    const QString fileName = picked.fileName();
    if (!fileName.endsWith(QLatin1String(kArchiveSuffix)) || fileName.size() == int(qstrlen(kArchiveSuffix))) {
        Prompt::warning(this, tr("错误"), tr("更新文件必须是 *.tar.bfe 文件!"));
        return;
    }
    m_baseName = fileName.left(fileName.size() - int(qstrlen(kArchiveSuffix)));
    // "." and ".." name no folder of the archive's own but the unpack folder or the one above it.
    if (m_baseName == QLatin1String(".") || m_baseName == QLatin1String("..")) {
        qWarning() << "update: the archive name" << fileName << "names no folder";
        Prompt::warning(this, tr("错误"), tr("更新文件解包失败!"));
        return;
    }
    qDebug().noquote() << QDir::toNativeSeparators(path);
    // Picked where the tools take it from: there is nothing to copy, and it is the user's to keep.
    const QString inPlace = QFileInfo(QDir(toolFolder()).filePath(QLatin1String(kArchiveName))).canonicalFilePath();
    if (!startUpdateTools(picked.absoluteFilePath(), !inPlace.isEmpty() && inPlace == picked.canonicalFilePath()))
        return;
    ui->loadingBar->setCursor(Qt::BusyCursor);
    m_updateStep = UpdateStep::Unpack;
    // While the tools run, the timer keeps what they unpack in check.
    m_sendTimer.setInterval(50);
    m_sendTimer.start();
    runNextTool();
}

bool SystemUpdateDialog::startUpdateTools(const QString &archivePath, bool pickedInPlace)
{
    const QDir tools(toolFolder());
    if (!tools.exists(QLatin1String(kDecryptScript))) {
        qWarning() << "update: no decrypt script in" << tools.absolutePath();
        Prompt::warning(this, tr("错误"), tr("未找到解密工具 decrypt.bat!"));
        return false;
    }
    // What an earlier attempt left must not be taken for this archive's result.
    QFile::remove(tools.filePath(QLatin1String(kTarName)));
    // A folder of its own: a member must not replace the tools themselves. Beside the tools, so
    // that a large update does not fill a memory-backed temporary folder.
    m_unpackDir.reset(new UnpackFolder(tools.absolutePath()));
    if (!m_unpackDir->isValid()) {
        qWarning() << "update: no unpack folder:" << m_unpackDir->errorString();
        m_unpackDir.reset();
        Prompt::warning(this, tr("错误"), tr("更新文件解包失败!"));
        return false;
    }
    m_toolCommands = Platform::updateCommands(archivePath, QLatin1String(kArchiveName), QLatin1String(kDecryptScript),
                                              QLatin1String(kTarName), m_unpackDir->path());
    m_archiveCopied = !pickedInPlace;
    if (pickedInPlace)
        m_toolCommands.removeFirst();
    m_toolIndex = 0;
    m_finalCount = false;
    return true;
}

void SystemUpdateDialog::runNextTool()
{
    if (m_toolIndex >= m_toolCommands.size()) {
        m_updateStep = UpdateStep::Check;
        return;
    }
    const QString command = m_toolCommands.at(m_toolIndex);
    ui->loadingBar->setFormat(tr("解包中(%1/%2)...").arg(m_toolIndex + 1).arg(m_toolCommands.size()));
    qDebug().noquote() << command;
    m_toolClock.start();
    m_countClock.start();
    m_tool.startCommand(command, QDir(toolFolder()).absolutePath());
}

void SystemUpdateDialog::onToolFinished(int exitCode, QProcess::ExitStatus status)
{
    if (m_updateStep != UpdateStep::Unpack)
        return;   // one stopped by a failure
    if (status != QProcess::NormalExit || exitCode != 0) {
        qWarning() << "update: step failed with" << exitCode << status << ":" << m_toolCommands.value(m_toolIndex);
        failUpdate(tr("更新文件解包失败!"));
        return;
    }
    ++m_toolIndex;
    runNextTool();
}

void SystemUpdateDialog::onToolError(QProcess::ProcessError error)
{
    // Other errors end in finished() as well.
    if (m_updateStep != UpdateStep::Unpack || error != QProcess::FailedToStart)
        return;
    qWarning() << "update: cannot run" << m_toolCommands.value(m_toolIndex) << m_tool.errorString();
    failUpdate(tr("更新文件解包失败!"));
}

// Takes in a count that has ended, if any; false once the archive has unpacked to more than any
// update does (and the attempt has failed).
bool SystemUpdateDialog::countWithinBounds()
{
    const std::optional<UnpackFolder::Count> count = m_unpackDir->takeCount();
    if (count && (count->bytes > MaxUnpackedBytes || count->entries > MaxUnpackedEntries)) {
        qWarning() << "update: the archive unpacks to more than" << MaxUnpackedBytes << "bytes or"
                   << MaxUnpackedEntries << "entries; counted" << count->bytes << "and" << count->entries;
        failUpdate(tr("更新文件解包失败!"));
        return false;
    }
    return true;
}

// Only the expected file of this archive goes out: a plain file inside the fresh unpack folder (a
// link, or a folder of the archive that is a link, could lead anywhere), of a size an update has.
void SystemUpdateDialog::checkUnpacked()
{
    const QString root = QFileInfo(m_unpackDir->path()).canonicalFilePath() + QLatin1Char('/');
    const QFileInfo result(m_unpackDir->path() + QLatin1Char('/') + m_baseName + QLatin1Char('/')
                           + QLatin1String(kUpdateFileName));
    const QString canonical = result.canonicalFilePath();
    if (canonical.isEmpty() || !canonical.startsWith(root) || result.isSymLink() || !QFileInfo(canonical).isFile()) {
        qWarning() << "update: no usable" << result.filePath() << "in the archive; it is" << canonical;
        failUpdate(tr("更新文件解包失败!"));
        return;
    }
    m_updateFilePath = canonical;
    qDebug().noquote() << QStringLiteral("ecMotionPath_") + m_updateFilePath;
    ui->loadingBar->setFormat(QStringLiteral("%p%"));
    m_updateStep = UpdateStep::Open;
}

// Stops the tools and lets go of the update file; what the attempt left goes once the tools are gone.
void SystemUpdateDialog::endAttempt()
{
    m_tool.stop();
    m_updateFile.close();
}

// One step of the clean-up, true once nothing of the attempt is left.
bool SystemUpdateDialog::cleanedUp()
{
    if (!m_unpackDir)
        return true;
    if (m_tool.state() != QProcess::NotRunning)
        return false;   // stopped; a tool still writing would leave something behind
    m_unpackDir->startRemoval(leftBesides());
    if (!m_unpackDir->isRemoved())
        return false;
    m_unpackDir.reset();
    return true;
}

// The files an attempt leaves beside its unpack folder.
QStringList SystemUpdateDialog::leftBesides() const
{
    const QDir tools(toolFolder());
    QStringList files { tools.absoluteFilePath(QLatin1String(kTarName)) };
    if (m_archiveCopied)
        files << tools.absoluteFilePath(QLatin1String(kArchiveName));
    return files;
}

void SystemUpdateDialog::slotWriteFileTimeout()
{
    switch (m_updateStep) {
    case UpdateStep::Idle:
        break;
    case UpdateStep::Unpack:
        if (m_toolClock.hasExpired(m_toolTimeLimitMs)) {
            qWarning() << "update: no end after" << m_toolTimeLimitMs << "ms of" << m_toolCommands.value(m_toolIndex);
            failUpdate(tr("更新文件解包失败!"));
            break;
        }
        // A count walks the whole tree: one now and then is enough to stop an archive that unpacks
        // past the bounds, and leaves the disk to the tool.
        if (countWithinBounds() && !m_unpackDir->isCounting() && m_countClock.hasExpired(kCountIntervalMs)) {
            m_unpackDir->startCount(MaxUnpackedBytes, MaxUnpackedEntries);
            m_countClock.start();
        }
        break;
    case UpdateStep::Check:
        // A count begun while the tools ran may have missed their last entries.
        if (m_unpackDir->isCounting() || !countWithinBounds())
            break;
        if (m_finalCount) {
            checkUnpacked();
        } else {
            m_finalCount = true;
            m_unpackDir->startCount(MaxUnpackedBytes, MaxUnpackedEntries);
        }
        break;
    case UpdateStep::Open:
        openUpdateFile();
        break;
    case UpdateStep::Send:
        sendBlock();
        break;
    case UpdateStep::Wait:
        if (m_waitEnd)
            endWait();
        else if (!ComSettingsFrame::isLinkOpen() || m_blockClock.hasExpired(BlockTimeoutMs))   // a closed link answers nothing
            failUpdate(tr("更新文件发送失败!"));
        break;
    case UpdateStep::End:
        m_waitEnd = false;
        if (!cleanedUp())
            break;
        ui->loadingBar->setFormat(tr("更新"));
        ui->loadingBar->setCursor(Qt::ArrowCursor);
        m_updateStep = UpdateStep::Idle;
        m_sendTimer.stop();
        break;
    case UpdateStep::AfterLast:
        // The device restarts with the new software; the update is over once it has dropped the link.
        m_sendTimer.setInterval(100);
        ui->loadingBar->setFormat(tr("更新中..."));
        if (!ComSettingsFrame::isLinkOpen())
            m_updateStep = UpdateStep::End;
        break;
    }
}

void SystemUpdateDialog::openUpdateFile()
{
    m_sendTimer.setInterval(2);
    m_updateFile.setFileName(m_updateFilePath);
    // Offsets go to the device as 32 bits.
    if (!m_updateFile.open(QIODevice::ReadOnly) || m_updateFile.size() < 1 || m_updateFile.size() > 0xFFFFFFFFLL) {
        qWarning() << "update: no usable update file" << m_updateFilePath << m_updateFile.errorString();
        failUpdate(tr("更新文件解包失败!"));
        return;
    }
    m_fileSize = m_updateFile.size();
    m_blockIndex = 0;
    m_blockCount = int((m_fileSize + BlockSize - 1) / BlockSize);
    ui->loadingBar->setRange(0, 100);
    m_blockClock.start();
    m_updateStep = UpdateStep::Send;
}

void SystemUpdateDialog::sendBlock()
{
    const quint32 offset = quint32(m_blockIndex) * BlockSize;
    const bool last = m_blockIndex == m_blockCount - 1;
    const int length = last ? int(m_fileSize - offset) : BlockSize;
    QByteArray block(length, '\0');
    if (!m_updateFile.seek(offset) || m_updateFile.read(block.data(), length) != length) {
        qWarning() << "update: cannot read" << length << "bytes at" << offset << "of" << m_updateFilePath;
        failUpdate(tr("更新文件解包失败!"));
        return;
    }
    if (!ComSettingsFrame::writeFileBlock(1, offset, reinterpret_cast<const quint8 *>(block.constData()),
                                          Uint16(length), last ? 1 : 0)) {
        // Refused: a busy ring clears by itself, so the block is offered again, but not for ever.
        if (!ComSettingsFrame::isLinkOpen() || m_blockClock.hasExpired(BlockTimeoutMs)) {
            qWarning() << "update: block at" << offset << "refused, link open:" << ComSettingsFrame::isLinkOpen();
            failUpdate(tr("更新文件发送失败!"));
        }
        return;
    }
    qDebug() << "update: block" << m_blockIndex << "offset" << offset << "length" << length << "last" << last;
    // Each block waits for the device's answer, so the bar only ever shows what has arrived.
    m_waitEnd = false;
    m_blockClock.start();
    m_updateStep = UpdateStep::Wait;
}

void SystemUpdateDialog::endWait()
{
    m_waitEnd = false;
    ++m_blockIndex;
    m_updateStep = m_blockIndex < m_blockCount ? UpdateStep::Send : UpdateStep::AfterLast;
    if (m_updateStep == UpdateStep::AfterLast) {
        endAttempt();   // all sent: nothing of the attempt is needed any more
        cleanedUp();
    }
    m_blockClock.start();
    ui->loadingBar->setValue(int(qint64(m_blockIndex) * 100 / m_blockCount));
}

void SystemUpdateDialog::failUpdate(const QString &text)
{
    m_updateStep = UpdateStep::End;   // first: a tool stopped here reports its end at once
    endAttempt();
    ui->loadingBar->setValue(0);
    Prompt::warning(this, tr("错误"), text);
}

void SystemUpdateDialog::slotWaitEnd()
{
    m_waitEnd = true;
}

void SystemUpdateDialog::onLoadingValueChanged(int value)
{
    if (value != ui->loadingBar->maximum())
        return;
    Prompt::information(this, tr("提示"), tr("更新完成!"));
    ui->loadingBar->setFormat(tr("更新"));
    ui->loadingBar->setCursor(Qt::ArrowCursor);
    ui->loadingBar->setValue(0);
}
