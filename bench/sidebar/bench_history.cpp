// Reports how long the history tree takes to show 100,000 entries from a fresh store, the first
// time and again over a full tree, and the longest time the event loop was kept from running
// meanwhile (a 10 ms timer's longest gap). Goals on a developer machine: well under 1 s per
// build, gaps around 100 ms at most. Nothing is asserted.

#include "core/historystore.h"
#include "sidebar/historyreader.h"
#include "sidebar/historytree.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QTreeWidget>

namespace {

constexpr int kEntries = 100000;

bool fill(const QString &file)
{
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        db.setDatabaseName(file);
        if (db.open() && db.transaction()) {
            QSqlQuery query(db);
            query.prepare(QStringLiteral("INSERT INTO history (url, title, last_visit) VALUES (?, ?, ?)"));
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            ok = true;
            for (int i = 0; i < kEntries && ok; ++i) {
                query.bindValue(0, QStringLiteral("http://bench.invalid/page/%1").arg(i));
                query.bindValue(1, i % 7 == 0 ? QStringLiteral("") : QStringLiteral("Page number %1").arg(i));
                query.bindValue(2, now - qint64(i) * 50 * 1000); // 100,000 visits over two months
                ok = query.exec();
            }
            ok = db.commit() && ok;
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString file = dir.filePath(QStringLiteral("history.db"));
    HistoryStore store(file);
    if (!store.isOpen() || !fill(file))
        return 1;

    {
        QElapsedTimer timer;
        timer.start();
        HistoryReader reader;
        reader.load(store.snapshot());
        out << "snapshot of " << reader.count() << " entries: " << timer.elapsed() << " ms\n";
    }

    QTreeWidget widget;
    widget.resize(300, 600);
    widget.show();
    HistoryTree tree(&widget, SidebarHost());
    tree.setStore(&store);

    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticker;
    ticker.setInterval(10);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestGap = qMax(longestGap, sinceTick.restart());
    });

    for (const char *what : {"build into an empty tree", "build over the full tree"}) {
        longestGap = 0;
        ticker.start();
        sinceTick.start();
        QElapsedTimer timer;
        timer.start();
        tree.loadHistory();
        const qint64 elapsed = timer.elapsed();
        longestGap = qMax(longestGap, sinceTick.elapsed());
        ticker.stop();
        int leaves = 0;
        for (int i = 0; i < widget.topLevelItemCount(); ++i)
            leaves += widget.topLevelItem(i)->childCount();
        out << what << ": " << elapsed << " ms for " << leaves << " leaves, longest gap of the event loop "
            << longestGap << " ms\n";
    }
    return 0;
}
