// Builds the favorites tree of 10,000 shortcuts in 200 folders and reports how long the build
// takes and the longest time the event loop had to wait meanwhile (measured by a 10 ms timer).

#include "sidebar/favoritestree.h"
#include "platform/urlshortcut.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include <cstdio>

int main(int argc, char **argv)
{
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    // The favorites and their cache are in the data folder: keep them out of the user's own.
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    QApplication app(argc, argv);
    const QString root = FavoritesTree::favoritesFolder();
    constexpr int kFolders = 200;
    constexpr int kPerFolder = 50;
    for (int f = 0; f < kFolders; ++f) {
        const QString folder = QStringLiteral("%1/Folder %2").arg(root).arg(f, 3, 10, QLatin1Char('0'));
        QDir().mkpath(folder);
        for (int s = 0; s < kPerFolder; ++s) {
            writeUrlShortcut(QStringLiteral("%1/Site %2.url").arg(folder).arg(s),
                             QStringLiteral("http://site%1-%2.example/").arg(f).arg(s));
        }
    }

    QTreeWidget tree;
    tree.resize(300, 600);
    tree.show();
    FavoritesTree favorites(&tree, SidebarHost());

    for (int run = 1; run <= 3; ++run) {
        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        QTimer ticker;
        ticker.setInterval(10);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longestGap = std::max(longestGap, sinceTick.restart());
        });
        ticker.start();
        sinceTick.start();
        QElapsedTimer build;
        build.start();
        favorites.loadFavorites(true);
        const qint64 took = build.elapsed();
        longestGap = std::max(longestGap, sinceTick.elapsed());
        ticker.stop();
        QList<FavoritesScan::Node> nodes;
        QList<FavoritesScan::Record> records;
        FavoritesScan::readCache(FavoritesTree::cacheFile(), &nodes, &records);
        std::printf("run %d: %lld records, build %lld ms, longest event-loop wait %lld ms\n", run,
                    static_cast<long long>(records.size()),
                    static_cast<long long>(took), static_cast<long long>(longestGap));
    }
    return 0;
}
