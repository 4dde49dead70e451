// The bare engine: web views showing the addresses given, nothing else. The yardstick that
// Quarvel's start-up, idle load, memory and closing are measured against.
//
// One address shows one view; several show one view per tab of a tab widget, the first tab
// current. With --one-by-one first, the tabs come one after another instead, as links opened
// one by one: each next one once the page before has loaded, and each the current tab (so
// shown) until the next one comes. The window is maximized, as Quarvel's is by default, and the
// pages use a profile kept on disk, as a browser's are, so that a home used before starts with
// the engine's caches.
#include <QApplication>
#include <QTabWidget>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <functional>
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

    QStringList addresses = QCoreApplication::arguments().mid(1);
    const bool oneByOne = addresses.value(0) == QLatin1String("--one-by-one") && addresses.size() > 1;
    if (oneByOne)
        addresses.removeFirst();
    std::unique_ptr<QWidget> window;
    std::function<void(int)> openTab;
    if (oneByOne) {
        auto *tabs = new QTabWidget;
        openTab = [&, tabs](int i) {
            QWebEngineView *view = viewOf(addresses[i], tabs);
            tabs->setCurrentIndex(tabs->addTab(view, addresses[i]));
            if (i + 1 < addresses.size())
                QObject::connect(view, &QWebEngineView::loadFinished, tabs, [&, i] { openTab(i + 1); },
                                 Qt::SingleShotConnection);
        };
        openTab(0);
        window.reset(tabs);
    } else if (addresses.size() > 1) {
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
