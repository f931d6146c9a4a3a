#ifndef TESTDATABASE_H
#define TESTDATABASE_H

#include <QString>
#include <QTemporaryDir>
#include <QVariantList>

// Points the database manager at a fresh file in a temporary folder for one test program.
class TestDatabase
{
public:
    TestDatabase();
    ~TestDatabase();
    QString path() const { return m_path; }
    bool isValid() const;

    // One statement on a second connection to the file, as another program would run it; false (with a
    // warning) when it fails. The rows it returned go to `rows` when given.
    static bool execOn(const QString &path, const QString &sql, const QVariantList &values = {},
                       QList<QVariantList> *rows = nullptr);
    bool exec(const QString &sql, const QVariantList &values = {}) const { return execOn(m_path, sql, values); }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

#endif // TESTDATABASE_H
