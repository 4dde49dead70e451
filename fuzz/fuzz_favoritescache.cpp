// The favorites cache: reading it, and writing what was read, which must read back the same.
#include "fuzzinput.h"
#include "sidebar/favoritesscan.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = writeScratchFile(QStringLiteral("favorites.ini"), fuzzBytes(data, size));
    QList<FavoritesScan::Node> nodes;
    QList<FavoritesScan::Record> records;
    if (!FavoritesScan::readCache(path, &nodes, &records))
        return 0;

    const std::optional<QByteArray> written = FavoritesScan::cacheData(nodes, records);
    if (!written)
        abort();
    writeScratchFile(QStringLiteral("favorites.ini"), *written);
    QList<FavoritesScan::Node> nodesAgain;
    QList<FavoritesScan::Record> recordsAgain;
    if (!FavoritesScan::readCache(path, &nodesAgain, &recordsAgain) || nodesAgain != nodes
        || recordsAgain != records)
        abort();
    return 0;
}
