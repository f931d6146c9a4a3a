#include "data/databasemanager.h"
#include "data/datasource.h"
#include "shell/mainwindow.h"
#include "widgets/prompt.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

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
    // Said once, over the window, so that a locked or damaged file is not mistaken for an empty one.
    const QString problem = DatabaseManager::instance()->startupProblem();
    if (!problem.isEmpty()) {
        QTimer::singleShot(0, &window, [&window, problem] {
            Prompt::warning(&window, QCoreApplication::translate("DatabaseManager", "Warning"), problem);
        });
    }
    return app.exec();
}
