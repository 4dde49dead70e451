#pragma once

#include "frame/chrome/navigatorpalette.h"
#include "platform/typedaddress.h"

#include <QList>
#include <QObject>
#include <QPixmap>
#include <QPointer>
#include <QString>

#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QPoint;
class QTimer;
class AbstractDocument;
class DocumentTabBar;
class DocumentTabClicks;
class NewWindowRequest;
class SubWindowArrangement;

// The frame's documents: the MDI area that shows them, the tab strip and the navigator palette,
// kept in step. Documents, tabs and navigator rows correspond by position (1-based, in the
// order the documents were opened); positions are computed from the one list kept here.
// Every document's reports update its own tab and row; the active document's reports are also
// passed on as the current...Changed signals, so the frame listens in one place.
class DocumentArea : public QObject
{
    Q_OBJECT
public:
    using DocumentFactory = std::function<AbstractDocument *()>;

    // The MDI area, the tab strip and (on first use) the palette are children of the window;
    // new documents come from the factory.
    DocumentArea(QWidget *window, DocumentFactory factory);
    ~DocumentArea() override;

    QMdiArea *mdiArea() const { return m_mdiArea; }
    DocumentTabBar *tabBar() const { return m_tabBar; }
    // Made on first use, at the place and size the settings keep.
    NavigatorPalette *navigator();

    // ---- The documents, in the order of their tabs.
    QList<AbstractDocument *> documents() const;
    // How many documents are open: the number of tabs and navigator rows.
    int documentCount() const { return int(documents().size()); }
    // The document of the current sub-window, when it is open here.
    AbstractDocument *activeDocument() const;

    // ---- Text given where an address goes. Every way in (typed, picked, handed over, named on
    // the command line or in File > Open, a shortcut file) opens it through openDocument or
    // navigateActive, which apply what TypedAddress decides for it; no document reads text.
    // Where words are looked up: the search address for a query (none: words go as an address).
    void setSearchAddress(const TypedAddress::SearchAddress &searchAddress)
    {
        m_searchAddress = searchAddress;
    }

    // ---- Opening, activating, closing.
    // Opens what the text stands for (for a shortcut file, the address it holds) in a new active
    // document. Refused text still opens one, on no page.
    AbstractDocument *openDocument(const QString &text);
    // The active document goes where the text stands for (nowhere when it is refused); false
    // when there is no active document.
    bool navigateActive(const QString &text);
    // Makes the document the active one; in the tabbed view it fills the area.
    void bringToFront(AbstractDocument *document);
    // A left click on the tab after (or before) the active one, wrapping at both ends.
    // Nothing with one tab.
    void cycleTabs(bool back);
    // Closes the document's sub-window once the current event has been handled.
    void closeDocument(AbstractDocument *document);
    void closeAll();
    // Deletes every sub-window at once: the documents unload while the frame is still whole.
    void deleteAll();
    // Tab actions: 0 front, 1 close, 2 toggle shrink, 3 tab menu (at the pointer), 4 refresh,
    // 5 duplicate; other codes do nothing.
    void runTabAction(AbstractDocument *document, int action);
    // 0 reset all, 1 shrink all, 2 shrink the selected tab, 3 shrink all but the selected.
    void shrinkTabs(int variant);
    // The address of the document closed last (empty before any close).
    QString lastClosedAddress() const { return m_lastClosedAddress; }

    // ---- Saved pages: "DocumentCount" and "Document1".. in the settings store.
    void saveAll() const;
    void loadAll();

    // The arrangement of the sub-windows (the Window menu's tile, cascade, maximize and
    // minimize all).
    SubWindowArrangement *arrangement() const { return m_arrangement; }

    // ---- The palette: its place and size into the settings model; closed with the frame.
    void storeNavigatorGeometry() const;
    // The skin picture of this start, for the palette's toolbar.
    void setSkinPicture(const QPixmap &picture);
    void closeNavigator();

signals:
    void currentTitleChanged(const QString &title);
    void currentStatusTextChanged(const QString &text);
    void currentProgressChanged(int percent);
    // Whether the active document's page is loading (a load at 0 % has begun; it is not idle).
    void currentLoadingChanged(bool loading);
    void currentSecureChanged(bool secure);
    // The active document's page moved to the address. (Whether an address bar the user is
    // editing shows it is the receiver's decision.)
    void currentAddressChanged(const QString &address);
    // Another document became the active one (null: none). For a document, its status text,
    // progress and lock follow as current...Changed signals.
    void activeDocumentChanged(AbstractDocument *document);
    // A document was opened on the address (popups excepted).
    void addressOpened(const QString &address);
    // A document closed; Undo Close brings back its last address.
    void documentClosed(const QString &lastAddress);
    // A document opened or closed.
    void documentCountChanged();
    // A document's page finished loading.
    void pageLoaded();
    // Requests for what the frame provides.
    void tabMenuRequested(AbstractDocument *document, const QPoint &at);
    void newMenuRequested(const QPoint &at);
    void newTabRequested();
    void navigatorCommandRequested(NavigatorPalette::Command command);

private:
    struct Entry
    {
        QPointer<AbstractDocument> document;
        // The blink of the tab of a page that completed in the background.
        QTimer *highlight = nullptr;
        int highlightPhase = 0;
        // From its first progress report to its completion.
        bool loading = false;
        // What the document was last told by setOnScreen (-1: nothing yet).
        int onScreen = -1;
    };

    // What the text stands for, with the search address set here.
    TypedAddress::Decision decide(const QString &text) const;
    // 1-based; 0 for a document that is not open here.
    int positionOf(const AbstractDocument *document) const;
    AbstractDocument *documentAt(int position) const;
    AbstractDocument *registerDocument(const QString &address);
    // Lets a page's new-window request through into a new document.
    AbstractDocument *openPopup(NewWindowRequest &request);
    void connectDocument(AbstractDocument *document);
    // Passes the document's report on as the area's signal while it is the active document.
    template <typename... Args>
    void forwardWhileCurrent(AbstractDocument *document, void (AbstractDocument::*report)(Args...),
                             void (DocumentArea::*current)(Args...));
    QMdiSubWindow *subWindowOf(const AbstractDocument *document) const;
    void setTabCaption(int position, const QString &title);
    void onSubWindowActivated(QMdiSubWindow *sub);
    void onTitleChanged(AbstractDocument *document, const QString &title);
    void onProgressChanged(AbstractDocument *document, int percent);
    void onLoadCompleted(AbstractDocument *document);
    void onHighlightTick(AbstractDocument *document);
    void onDocumentClosing(AbstractDocument *document, const QString &lastAddress);
    void runTabAction(AbstractDocument *document, int action, const QPoint &menuAt);
    // Only what can be seen draws: the pages behind a maximised active document and every page
    // of a minimised or hidden frame are hidden to the engine.
    void updateOnScreen();
    bool eventFilter(QObject *watched, QEvent *event) override;

    QWidget *m_window;
    DocumentFactory m_factory;
    TypedAddress::SearchAddress m_searchAddress;
    QMdiArea *m_mdiArea;
    DocumentTabBar *m_tabBar;
    QPointer<NavigatorPalette> m_navigator;
    QPixmap m_skinPicture;
    QList<Entry> m_entries;
    QPointer<AbstractDocument> m_current;
    QString m_lastClosedAddress;
    // Set while a document is being activated: tab clicks wait for it to finish.
    bool m_activating = false;
    // Set while documents are being opened and presented: which pages can be seen is decided
    // once they are in place.
    bool m_opening = false;
    DocumentTabClicks *m_tabClicks;
    SubWindowArrangement *m_arrangement;
};
