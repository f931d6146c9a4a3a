#include "shell/unpackfolder.h"

#include <QDebug>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <system_error>

UnpackFolder::UnpackFolder(const QString &parentFolder)
{
    QTemporaryDir dir(QDir(parentFolder).absoluteFilePath(QStringLiteral("unpack-XXXXXX")));
    if (!dir.isValid()) {
        m_error = dir.errorString();
        return;
    }
    // Its removal is ours: QTemporaryDir would remove it in whichever thread lets go of it.
    dir.setAutoRemove(false);
    m_path = dir.path();
}

UnpackFolder::~UnpackFolder()
{
    if (!m_removed)
        remove({});
}

void UnpackFolder::startCount(qint64 maxBytes, qint64 maxEntries)
{
    if (!isValid() || m_removalStarted || isCounting())
        return;
    const QString root = m_path;
    try {
        m_count = std::async(std::launch::async, [this, root, maxBytes, maxEntries] {
            return countTree(root, maxBytes, maxEntries, m_stopCount);
        });
    } catch (const std::system_error &error) {
        qWarning() << "No thread to count the unpacked files in, counting them here:" << error.what();
        std::promise<Count> here;
        here.set_value(countTree(root, maxBytes, maxEntries, m_stopCount));
        m_count = here.get_future();
    }
}

bool UnpackFolder::isCounting() const
{
    return m_count.valid() && m_count.wait_for(std::chrono::seconds(0)) != std::future_status::ready;
}

std::optional<UnpackFolder::Count> UnpackFolder::takeCount()
{
    if (!m_count.valid() || isCounting())
        return std::nullopt;
    return m_count.get();
}

void UnpackFolder::startRemoval(const QStringList &besides)
{
    if (m_removalStarted)
        return;
    m_removalStarted = true;
    m_stopCount = true;
    const QString root = m_path;
    try {
        m_removal = std::async(std::launch::async, [count = std::move(m_count), root, besides]() mutable {
            if (count.valid())
                count.wait();
            removeAll(root, besides);
        });
    } catch (const std::system_error &error) {
        qWarning() << "No thread to remove the unpacked files in, removing them here:" << error.what();
        remove(besides);
    }
}

bool UnpackFolder::isRemoved() const
{
    return m_removed
        || (m_removalStarted && m_removal.valid() && m_removal.wait_for(std::chrono::seconds(0)) == std::future_status::ready);
}

void UnpackFolder::remove(const QStringList &besides)
{
    waitForWork();
    removeAll(m_path, besides);
    m_removalStarted = m_removed = true;
}

void UnpackFolder::waitForWork()
{
    m_stopCount = true;
    if (m_count.valid())
        m_count.wait();
    if (m_removal.valid())
        m_removal.wait();
}

UnpackFolder::Count UnpackFolder::countTree(const QString &root, qint64 maxBytes, qint64 maxEntries,
                                            const std::atomic<bool> &stop)
{
    Count count;
    // Links are counted, never followed: what they lead to is not the archive's.
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext() && !stop) {
        it.next();
        const QFileInfo info = it.fileInfo();
        ++count.entries;
        if (info.isFile() && !info.isSymLink())
            count.bytes += info.size();
        if (count.bytes > maxBytes || count.entries > maxEntries)
            break;
    }
    return count;
}

// An archive may leave folders without write or read permission, and an ordinary user can remove
// nothing inside those; their owner may always give the permission back. Folder by folder rather
// than by recursion: an archive's folders may nest deeper than a thread's stack reaches.
bool UnpackFolder::removeTree(const QString &root)
{
    const QFileInfo top(root);
    if (top.isSymLink() || (top.exists() && !top.isDir()))
        return QFile::remove(root);
    if (!top.exists())
        return true;
    const QFileDevice::Permissions owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
    bool removed = true;
    QStringList folders { root };   // parents before their children
    for (int i = 0; i < folders.size(); ++i) {
        const QFileDevice::Permissions permissions = QFile::permissions(folders.at(i));
        if ((permissions & owner) != owner)
            QFile::setPermissions(folders.at(i), permissions | owner);
        QDirIterator it(folders.at(i), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
        while (it.hasNext()) {
            const QString path = it.next();
            const QFileInfo info = it.fileInfo();
            if (info.isDir() && !info.isSymLink())
                folders << path;
            else if (!QFile::remove(path))
                removed = false;
        }
    }
    for (int i = folders.size() - 1; i >= 0; --i) {
        if (!QDir().rmdir(folders.at(i)))
            removed = false;
    }
    return removed;
}

void UnpackFolder::removeAll(const QString &root, const QStringList &besides)
{
    // Once more if anything stayed: a tool killed a moment ago may have made one last entry.
    if (!root.isEmpty() && !removeTree(root) && !removeTree(root))
        qWarning() << "update: cannot remove all of" << root;
    for (const QString &file : besides) {
        if (QFileInfo(file).isSymLink() || QFileInfo::exists(file)) {
            if (!QFile::remove(file))
                qWarning() << "update: cannot remove" << file;
        }
    }
}
