#include "data/databasemanager.h"
#include "data/datasource.h"
#include "shell/mainwindow.h"

#include <QApplication>
#include <QDir>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("organizationName"));
    qRegisterMetaType<DeviceEnum>("DeviceEnum");
    DataSource::registerQmlType();

    DatabaseManager::instance();
    DataSource dataSource;
    QDir::setCurrent(QCoreApplication::applicationDirPath());

    MainWindow window;
    window.show();
    return app.exec();
}
