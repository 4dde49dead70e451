// The bare engine: web views showing the addresses given, nothing else. The yardstick that
// Quarvel's start-up, idle load, memory and closing are measured against.
//
// One address shows one view; several show one view per tab of a tab widget, the first tab
// current. The window is maximized, as Quarvel's is by default, and the pages use a profile kept
// on disk, as a browser's are, so that a home used before starts with the engine's caches.
#include <QApplication>
#include <QTabWidget>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <memory>

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("bare_view"));

    QWebEngineProfile profile(QStringLiteral("bare_view"));
    auto viewOf = [&profile](const QString &address, QWidget *parent) {
        auto *view = new QWebEngineView(&profile, parent);
        view->setUrl(QUrl::fromUserInput(address));
        return view;
    };

    const QStringList addresses = QCoreApplication::arguments().mid(1);
    std::unique_ptr<QWidget> window;
    if (addresses.size() > 1) {
        auto *tabs = new QTabWidget;
        for (const QString &address : addresses)
            tabs->addTab(viewOf(address, tabs), address);
        window.reset(tabs);
    } else {
        window.reset(viewOf(addresses.value(0), nullptr));
    }
    window->showMaximized();
    return app.exec();
}
