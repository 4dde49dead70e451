#pragma once

#include "historycleaner.h"
#include "sidebarhost.h"

#include <QObject>
#include <QPointer>

#include <array>

class HistoryTree;
class QCheckBox;
class QLabel;
class QToolButton;
class QWidget;

// The cleaner above the history tree: five boxes for the traces to delete, each with its label
// (a click on the label toggles the box), "clean all" (after a question) and "clean selected"
// (enabled while a box is ticked). The boxes start clear at every start; nothing is stored.
// After a cleaning that touched the engine's data the history tree is rebuilt.
class HistoryCleanerPanel : public QObject
{
    Q_OBJECT
public:
    HistoryCleanerPanel(QWidget *panel, const SidebarHost &host, HistoryTree *tree,
                        QObject *parent = nullptr);

    // Asks first, then starts the cleaning; false when the user declines or one is running.
    // The outcome is reported to the user, then by cleaned().
    bool cleanAll();
    // Starts cleaning what the boxes tick, without asking; reports the outcome as cleanAll.
    bool cleanSelected();
    HistoryCleaner::Kinds selectedKinds() const;

    // The exit-time cleaning of the History settings (CleanAddress .. CleanTemp). The engine's
    // cache is emptied in the background; the application does not quit before it is.
    static void cleanAtExit(const SidebarHost &host, QWidget *owner = nullptr);

Q_SIGNALS:
    void cleaned(bool ok);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateCleanSelected();
    bool clean(HistoryCleaner::Kinds kinds, bool reloadTree);
    void finishCleaning(bool ok, bool reloadTree);
    void layoutLabels();

    QWidget *m_panel = nullptr;
    // chkManAddress, chkManSearch, chkManCookies, chkManHistory, chkManTemp and their labels
    // Label3 .. Label7, in the order of HistoryCleaner::Kind.
    std::array<QCheckBox *, 5> m_boxes{};
    std::array<QLabel *, 5> m_labels{};
    QToolButton *m_cleanAllButton = nullptr;      // btnCleanAll
    QToolButton *m_cleanSelectedButton = nullptr; // btnCleanSel
    SidebarHost m_host;
    QPointer<HistoryTree> m_tree;
    bool m_busy = false;
};
