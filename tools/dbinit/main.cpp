// Creates the database file beside the program, or brings its definition tables up to date.
#include "data/databasemanager.h"

#include <QCoreApplication>
#include <QDebug>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        qWarning("usage: dbinit <database file>");
        return 1;
    }
    DatabaseManager::setDatabasePath(QString::fromLocal8Bit(argv[1]));
    return DatabaseManager::instance()->isOpen() ? 0 : 1;
}
