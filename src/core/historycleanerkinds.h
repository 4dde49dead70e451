#pragma once

#include <QFlags>

namespace HistoryCleaner {

// The traces the history cleaner deletes, in the order it deletes them.
enum Kind {
    AddressList = 0x1,     // the address bar's typed addresses
    SearchList = 0x2,      // the quick search's texts
    Cookies = 0x4,
    InternetHistory = 0x8, // the history store and the engine's visited links
    TemporaryFiles = 0x10, // the engine's HTTP cache
    AllKinds = 0x1f,
    // The traces whose cleaning changes what the history tree shows.
    TreeKinds = Cookies | InternetHistory | TemporaryFiles,
};
Q_DECLARE_FLAGS(Kinds, Kind)

} // namespace HistoryCleaner

Q_DECLARE_OPERATORS_FOR_FLAGS(HistoryCleaner::Kinds)
