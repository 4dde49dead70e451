// The bare engine: one web view showing the address given, nothing else. The yardstick that
// Quarvel's start-up is measured against.
#include <QApplication>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char **argv)
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QWebEngineView view;
    view.resize(800, 600);
    view.setUrl(QUrl(QCoreApplication::arguments().value(1)));
    view.show();
    return app.exec();
}
