#include "support/testdatabase.h"

#include "data/databasemanager.h"

TestDatabase::TestDatabase()
    : m_path(m_dir.filePath(QStringLiteral("ServoDataBase")))
{
    DatabaseManager::resetInstance();
    DatabaseManager::setDatabasePath(m_path);
}

TestDatabase::~TestDatabase()
{
    DatabaseManager::resetInstance();
}

bool TestDatabase::isValid() const
{
    return m_dir.isValid() && DatabaseManager::instance()->isOpen();
}
