#ifndef TESTDATABASE_H
#define TESTDATABASE_H

#include <QString>
#include <QTemporaryDir>

// Points the database manager at a fresh file in a temporary folder for one test program.
class TestDatabase
{
public:
    TestDatabase();
    ~TestDatabase();
    QString path() const { return m_path; }
    bool isValid() const;

private:
    QTemporaryDir m_dir;
    QString m_path;
};

#endif // TESTDATABASE_H
