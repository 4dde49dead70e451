#include "startup.h"

#include "frmsplash.h"
#include "maincode.h"
#include "singleinstance.h"
#include "frame/frmmain.h"

#include <QApplication>
#include <QIcon>

void InitApplicationIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("Quarvel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(QUARVEL_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral("quarvel"));
}

QString CommandLineOf(const QStringList &arguments)
{
    return arguments.mid(1).join(u' ');
}

int Main(int &argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    InitApplicationIdentity();
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quarvel/quarvel.png")));

    MainCode::IsNT = true; // translucent windows are available
    MainCode::IsXP = false;
    MainCode::CreditInfoUnlocked = false;
    MainCode::OptionsPage = 1;
    MainCode::ModalDialogClosed = true;

    const QString commandLine = CommandLineOf(QCoreApplication::arguments());

    if (!SingleInstance::AcquireInstanceMutex()) {
        // A later start: hand the command line over and end. When no running frame answers
        // (it may still be loading), the command line is dropped.
        SingleInstance::SendCommandLine(SingleInstance::StripCommandLineQuotes(commandLine));
        return 0;
    }

    auto *splash = new frmSplash;
    splash->show();
    QCoreApplication::processEvents();

    auto *frame = new frmMain;
    frame->setAttribute(Qt::WA_DeleteOnClose);
    MainCode::MainForm = frame;
    frame->MDIForm_Load(commandLine);
    QCoreApplication::processEvents();

    // From here on later starts find the frame.
    SingleInstance::Server server;
    QObject::connect(&server, &SingleInstance::Server::commandLineReceived, frame,
                     &frmMain::HandOver);
    server.listen();

    frame->ShowFrame();
    delete splash;

    const int result = app.exec();
    SingleInstance::ReleaseInstanceMutex();
    return result;
}
