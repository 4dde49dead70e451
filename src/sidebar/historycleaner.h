#pragma once

#include "core/historycleanerkinds.h"
#include "sidebarhost.h"

#include <QDialog>

#include <functional>

class HistoryStore;
class QLabel;

// The small window that tells which trace is being deleted while the history cleaner runs.
class CleanProgressWindow : public QDialog
{
    Q_OBJECT
public:
    explicit CleanProgressWindow(QWidget *owner = nullptr);

    void setStatus(const QString &text);

private:
    QLabel *m_status = nullptr; // lblStatus
};

namespace HistoryCleaner {

// Deletes the chosen traces one after the other in a CleanProgressWindow centred on owner,
// handling pending events before each step, then tells done whether every chosen step was done
// (a step that fails ends the cleaning with false). The engine's cache goes last and in the
// background: done comes once the engine has emptied it. Without the cache, and when nothing
// is chosen (no window shows then), done comes before the call returns.
// store is the history store to empty (HistoryStore::instance() when null).
void deleteHistory(const SidebarHost &host, Kinds kinds, QWidget *owner, HistoryStore *store,
                   const std::function<void(bool ok)> &done);

} // namespace HistoryCleaner
