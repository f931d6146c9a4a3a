#ifndef NONREGULARFILES_H
#define NONREGULARFILES_H

#include <QDir>
#include <QFile>
#include <QString>

#include <atomic>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A FIFO and a folder named like parameter files, as a user may pick them by mistake. Whatever
// opens the FIFO to read is let go at once (a writer opens it and closes it again), so that code
// which opens it reads an empty file where it would otherwise wait for ever.
class NonRegularFiles
{
public:
    explicit NonRegularFiles(const QString &dir)
        : m_fifo(dir + QStringLiteral("/pipe.csv"))
        , m_folder(dir + QStringLiteral("/folder.csv"))
    {
        m_ok = ::mkfifo(QFile::encodeName(m_fifo).constData(), 0600) == 0 && QDir().mkdir(m_folder);
        m_releaser = std::thread([this] {
            const QByteArray name = QFile::encodeName(m_fifo);
            while (!m_stop) {
                // Fails without a reader; with one waiting, opening and closing hands it an end of file.
                const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
        });
    }
    ~NonRegularFiles()
    {
        m_stop = true;
        m_releaser.join();
    }
    NonRegularFiles(const NonRegularFiles &) = delete;
    NonRegularFiles &operator=(const NonRegularFiles &) = delete;

    bool isOk() const { return m_ok; }
    QString fifo() const { return m_fifo; }
    QString folder() const { return m_folder; }

private:
    QString m_fifo;
    QString m_folder;
    bool m_ok = false;
    std::atomic<bool> m_stop { false };
    std::thread m_releaser;
};

#endif // NONREGULARFILES_H
