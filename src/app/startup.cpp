#include "startup.h"

#include "firstpage.h"
#include "splashscreen.h"
#include "core/appstate.h"
#include "core/settingsmodel.h"
#include "core/settingsstore.h"
#include "core/singleinstance.h"
#include "core/terminationsignals.h"
#include "document/documentwindow.h"
#include "frame/mainwindow.h"
#include "platform/browserpage.h"
#include "platform/preparedpage.h"
#include "platform/webbrowser.h"

#include <QApplication>
#include <QIcon>
#include <QPointer>
#if QT_CONFIG(sessionmanager)
#include <QSessionManager>
#endif

#include <cstdio>
#include <cstdlib>

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

void prepareFirstPage(const QString &commandLine)
{
    SettingsStore &store = SettingsStore::instance();
    SettingsModel settings;
    settings.load(store, {});
    const QString address = firstPageAddress(store, settings, commandLine);
    if (!address.isEmpty())
        PreparedPage::prepare(address, DocumentWindow::downloadControlFlags(settings));
}

namespace {

// How long the program may take to end once a termination signal came.
constexpr int kEndWithinMs = 5000;

// The frame, from its construction on. When the X connection breaks, the platform plugin
// warns and then ends the process (exit) from inside the event loop: the warning is the last
// moment the frame is whole, so its close runs then, and the process ends right after it
// with the plugin's status (what exit would tear down after it is not safe to tear down with
// the frame and the engine still there).
QPointer<MainWindow> s_runningFrame;
QtMessageHandler s_nextMessageHandler = nullptr;

void closeWhenTheDisplayGoes(QtMsgType type, const QMessageLogContext &context,
                             const QString &message)
{
    if (s_nextMessageHandler)
        s_nextMessageHandler(type, context, message);
    if (type != QtWarningMsg || !message.startsWith(QLatin1String("The X11 connection broke")))
        return;
    MainWindow *frame = s_runningFrame.data();
    s_runningFrame.clear();
    if (frame && frame->hasLoaded())
        frame->endSession();
    else if (frame)
        frame->abandonStart();
    std::_Exit(1);
}

// The program is asked to end from outside with the given exit status: through the close once
// the frame has loaded, leaving the event loop (when it runs yet); before that, with nothing of
// the start kept, at once.
void endOrAbandon(MainWindow *frame, int status)
{
    if (frame && frame->hasLoaded()) {
        frame->endSession();
        QCoreApplication::exit(0);
        return;
    }
    if (frame)
        frame->abandonStart();
    std::_Exit(status);
}

// A later start's end: hands the command line to the running instance and returns the exit
// status, 0 once it was taken; when it was not, 1 and a line on standard error.
int handOverToRunningInstance(const QString &commandLine)
{
    const QString text = SingleInstance::stripCommandLineQuotes(commandLine);
    if (!SingleInstance::fitsHandOver(text)) {
        std::fprintf(stderr,
                     "Quarvel: the address was not handed over: it is too long (%lld bytes; a "
                     "running Quarvel takes up to %d).\n",
                     qlonglong(text.toUtf8().size()), int(SingleInstance::kMaxPayload));
        return 1;
    }
    if (SingleInstance::sendCommandLine(text))
        return 0;
    const QString what = text.isEmpty() ? QStringLiteral("the request for a new window")
                                        : QStringLiteral("the address \"%1\"").arg(text);
    std::fprintf(stderr, "Quarvel: %s was not handed over: Quarvel is running but did not answer.\n",
                 qUtf8Printable(what));
    return 1;
}

} // namespace

int runApplication(int &argc, char **argv)
{
    // A later start hands its command line over and ends before it builds anything. When no
    // running frame answers (it may still be loading, or hang), the start fails and says so.
    initApplicationIdentity();
    const QString commandLine = commandLineOf(argumentsOf(argc, argv));
    if (!SingleInstance::acquireInstanceMutex())
        return handOverToRunningInstance(commandLine);

    prepareEngineSwitches();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/quarvel/quarvel.png")));

    AppState::translucentWindows = true; // translucent windows are available
    AppState::flatStyleAvailable = true; // the styled (flat) menus and toolbars are available
    AppState::creditInfoUnlocked = false;

    // A log-out, a shut-down, kill or Ctrl+C: from the first such signal on, the program has
    // kEndWithinMs left. Once the frame has loaded, it ends through the close's own steps;
    // before that (a start-up question or notice may be open), nothing of this start is kept
    // and the program ends at once.
    QPointer<MainWindow> frame;
    TerminationSignals terminations;
    QObject::connect(&terminations, &TerminationSignals::terminationRequested, &app,
                     [&frame](int signalNumber) {
                         TerminationSignals::endAfter(kEndWithinMs, 128 + signalNumber);
                         endOrAbandon(frame.data(), 128 + signalNumber);
                     });

    auto *splash = new SplashScreen;
    splash->show();
    QCoreApplication::processEvents();

    // Starting the web engine is the longest step: it starts now, and the first page loads
    // while the frame is built. The first document takes that page over.
    WebBrowser::sharedProfile();
    prepareFirstPage(commandLine);

    frame = new MainWindow;
    frame->setAttribute(Qt::WA_DeleteOnClose);
    // The display going away during the start, or later, takes the same road.
    s_runningFrame = frame;
    s_nextMessageHandler = qInstallMessageHandler(closeWhenTheDisplayGoes);
    // What is queued by now (the splash's and the prepared page's own events) is delivered
    // before the load steps; input waits for the frame. The engine carries the first page's
    // load on only while the event loop waits: the page gets the loop before the frame shows.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    frame->startUp(commandLine);
    PreparedPage::discard(); // when the start went another way than foreseen
    QCoreApplication::processEvents();
    frame->giveFirstPageAHeadStart();

    // Asked to end as the load completed: the close has run, and there is no event loop yet
    // to leave.
    if (frame->hasUnloaded()) {
        delete frame.data();
        delete splash;
        SingleInstance::releaseInstanceMutex();
        return 128 + terminations.received();
    }
#if QT_CONFIG(sessionmanager)
    // The desktop session ends: what the user has is kept as at a close, asking nothing.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, frame, [&frame](QSessionManager &) {
        endOrAbandon(frame.data(), 0);
    });
#endif

    // From here on later starts find the frame.
    SingleInstance::Server server;
    QObject::connect(&server, &SingleInstance::Server::commandLineReceived, frame,
                     &MainWindow::handOver);
    server.listen();

    frame->showFrame();
    delete splash;

    const int result = app.exec();
    const int status = terminations.received() ? 128 + terminations.received() : result;
    // Everything is saved: whatever of the engine's still holds on (a file it is stuck opening)
    // does not keep the process, or the instance lock, beyond kEndWithinMs.
    TerminationSignals::endAfter(kEndWithinMs, status);
    qInstallMessageHandler(s_nextMessageHandler);
    s_runningFrame.clear();
    // A frame the session's end closed is still there (it was only hidden).
    delete frame.data();
    SingleInstance::releaseInstanceMutex();
    return status;
}
