#ifndef UNPACKFOLDER_H
#define UNPACKFOLDER_H

#include <QString>
#include <QStringList>

#include <atomic>
#include <future>
#include <optional>

// The fresh folder one update attempt unpacks into. An archive may hold hundreds of thousands of
// entries, so counting and removing them run on a worker thread: the owner starts the work and
// asks on its own timer whether it is done; nothing calls back.
class UnpackFolder
{
public:
    struct Count {
        qint64 bytes = 0;     // of the plain files
        qint64 entries = 0;   // files, folders and links alike
    };

    // Makes "unpack-XXXXXX" in parentFolder.
    explicit UnpackFolder(const QString &parentFolder);
    // Waits for the work under way; what is left of the folder goes, in this thread.
    ~UnpackFolder();
    UnpackFolder(const UnpackFolder &) = delete;
    UnpackFolder &operator=(const UnpackFolder &) = delete;

    bool isValid() const { return !m_path.isEmpty(); }
    QString errorString() const { return m_error; }
    QString path() const { return m_path; }

    // Counts what the folder holds, stopping once over either bound: past that the number means
    // nothing. Does nothing while a count is under way.
    void startCount(qint64 maxBytes, qint64 maxEntries);
    bool isCounting() const;
    // The result of the count last started once it is done, and only once.
    std::optional<Count> takeCount();

    // Removes the folder and the files `besides` on a worker thread; once started, later calls do
    // nothing. A count under way is stopped first.
    void startRemoval(const QStringList &besides);
    bool isRemoved() const;
    // The same in this thread, after the work under way.
    void remove(const QStringList &besides);

private:
    static Count countTree(const QString &root, qint64 maxBytes, qint64 maxEntries, const std::atomic<bool> &stop);
    static bool removeTree(const QString &root);
    static void removeAll(const QString &root, const QStringList &besides);
    void waitForWork();

    QString m_path;
    QString m_error;
    std::atomic<bool> m_stopCount { false };
    std::future<Count> m_count;
    std::future<void> m_removal;
    bool m_removalStarted = false;
    bool m_removed = false;
};

#endif // UNPACKFOLDER_H
