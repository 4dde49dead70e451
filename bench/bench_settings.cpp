// Loads and saves the whole settings model and loads the string table, and reports the times.
// Goal: loading both together under 5 ms.
#include "core/settingsmodel.h"
#include "core/settingsstore.h"
#include "core/strings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Quarvel.ini"));

    // A realistic store: every key, 51 typed addresses, 10 custom links.
    {
        SettingsStore store(path);
        SettingsModel model;
        model.load(store, {});
        for (int i = 0; i < 51; ++i)
            model.typedAddresses << QStringLiteral("https://example%1.test/some/page.html").arg(i);
        model.customLinksCount = 10;
        for (int i = 0; i < 10; ++i) {
            model.customLinksName << QStringLiteral("Link %1").arg(i);
            model.customLinksURL << QStringLiteral("https://link%1.test/").arg(i);
        }
        model.save(store, {});
    }
    QFile resource(QStringLiteral(":/quarvel/strings.txt"));
    resource.open(QIODevice::ReadOnly);
    const QByteArray tableText = resource.readAll();

    constexpr int kRuns = 200;
    std::vector<double> loadBoth, loadSettings, loadTable, save;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer t;
        t.start();
        SettingsStore store(path);
        SettingsModel model;
        model.load(store, {});
        const double settingsMs = t.nsecsElapsed() / 1e6;
        const StringTable table = StringTable::fromText(tableText);
        const double bothMs = t.nsecsElapsed() / 1e6;
        if (table.ids().isEmpty())
            return 1;
        loadSettings.push_back(settingsMs);
        loadTable.push_back(bothMs - settingsMs);
        loadBoth.push_back(bothMs);

        t.restart();
        model.save(store, {});
        save.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("settings load      median %.3f ms\n", median(loadSettings));
    std::printf("string table load  median %.3f ms\n", median(loadTable));
    std::printf("both together      median %.3f ms (goal < 5 ms)\n", median(loadBoth));
    std::printf("settings save      median %.3f ms (one atomic file write)\n", median(save));
    return 0;
}
