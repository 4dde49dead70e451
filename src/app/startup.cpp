#include "startup.h"

#include "splashscreen.h"
#include "core/appstate.h"
#include "core/singleinstance.h"
#include "frame/mainwindow.h"
#include "platform/webbrowser.h"

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

QStringList argumentsOf(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

int runApplication(int &argc, char **argv)
{
    // A later start hands its command line over and ends before it builds anything. When no
    // running frame answers (it may still be loading), the command line is dropped.
    initApplicationIdentity();
    const QString commandLine = commandLineOf(argumentsOf(argc, argv));
    if (!SingleInstance::acquireInstanceMutex()) {
        SingleInstance::sendCommandLine(SingleInstance::stripCommandLineQuotes(commandLine));
        return 0;
    }

    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quarvel/quarvel.png")));

    AppState::isNT = true; // translucent windows are available
    AppState::isXP = false;
    AppState::creditInfoUnlocked = false;
    AppState::optionsPage = 1;

    auto *splash = new SplashScreen;
    splash->show();
    QCoreApplication::processEvents();

    // Starting the web engine is the longest step: it starts now, and its helper processes come
    // up while the frame is built.
    WebBrowser::sharedProfile();

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
