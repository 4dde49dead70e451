#pragma once

#include "sidebarhost.h"

#include <QDialog>
#include <QFlags>

class HistoryStore;
class QLabel;

// The small window that tells which trace is being deleted while the history cleaner runs.
class CleanProgressWindow : public QDialog
{
    Q_OBJECT
public:
    explicit CleanProgressWindow(QWidget *owner = nullptr);

    void setStatus(const QString &text);
    QString status() const;

private:
    QLabel *m_status = nullptr; // lblStatus
};

namespace HistoryCleaner {

// The traces the cleaner deletes, in the order it deletes them.
enum Kind {
    AddressList = 0x1,     // the address bar's typed addresses
    SearchList = 0x2,      // the quick search's texts
    Cookies = 0x4,
    InternetHistory = 0x8, // the history store and the engine's visited links
    TemporaryFiles = 0x10, // the engine's HTTP cache
    AllKinds = 0x1f,
};
Q_DECLARE_FLAGS(Kinds, Kind)

// Deletes the chosen traces one after the other in a CleanProgressWindow centred on owner,
// handling pending events before each step. True when every chosen step was done; a step that
// fails ends the cleaning with false. No kind chosen: true at once, and no window shows.
// store is the history store to empty (HistoryStore::instance() when null).
bool deleteHistory(const SidebarHost &host, Kinds kinds, QWidget *owner = nullptr,
                   HistoryStore *store = nullptr);

} // namespace HistoryCleaner

Q_DECLARE_OPERATORS_FOR_FLAGS(HistoryCleaner::Kinds)
