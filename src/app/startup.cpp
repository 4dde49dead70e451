#include "startup.h"

#include "splashscreen.h"
#include "core/appstate.h"
#include "core/singleinstance.h"
#include "frame/mainwindow.h"

#include <QApplication>
#include <QIcon>

void initApplicationIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quarvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUARVEL_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("quarvel"));
}

QString commandLineOf(const QStringList &arguments)
{
    return arguments.mid(1).join(u' ');
}

int runApplication(int &argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    initApplicationIdentity();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quarvel/quarvel.png")));

    AppState::isNT = true; // translucent windows are available
    AppState::isXP = false;
    AppState::creditInfoUnlocked = false;
    AppState::optionsPage = 1;

    const QString commandLine = commandLineOf(QCoreApplication::arguments());

    if (!SingleInstance::acquireInstanceMutex()) {
        // A later start: hand the command line over and end. When no running frame answers
        // (it may still be loading), the command line is dropped.
        SingleInstance::sendCommandLine(SingleInstance::stripCommandLineQuotes(commandLine));
        return 0;
    }

    auto *splash = new SplashScreen;
    splash->show();
    QCoreApplication::processEvents();

    auto *frame = new MainWindow;
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->startUp(commandLine);
    QCoreApplication::processEvents();

    // From here on later starts find the frame.
    SingleInstance::Server server;
    QObject::connect(&server, &SingleInstance::Server::commandLineReceived, frame,
                     &MainWindow::handOver);
    server.listen();

    frame->showFrame();
    delete splash;

    const int result = app.exec();
    SingleInstance::releaseInstanceMutex();
    return result;
}
