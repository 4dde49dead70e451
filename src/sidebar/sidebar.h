#pragma once

#include "sidebarhost.h"

#include <QColor>
#include <QStringList>
#include <QWidget>

#include <array>

class QAbstractItemView;
class QColor;
class QFont;
class QPlainTextEdit;
class QTabWidget;
class QToolButton;
class QTreeWidget;
class FavoritesTree;
class GamesBrowser;
class HistoryCleanerPanel;
class HistoryTree;
class RssPanel;
class WebsiteGroupList;

// The side bar: a tab control with five sections, each showing one panel m_panels(i):
//   0 "QUICKNOTES" the quick-notes box, 1 "FAVORITES" the favorites tree and the website
//   groups, 2 "HISTORY" the history tree under the cleaner panel, 3 "RSSFEED" the RSS reader,
//   4 "GAMES" the side-bar browser.
// The favorites, groups, history, cleaner and browser controls are in place with their names
// and geometry; their contents come with their own features.
class Sidebar : public QWidget
{
    Q_OBJECT
public:
    static inline const QStringList kSectionKeys = {
        QStringLiteral("QUICKNOTES"), QStringLiteral("FAVORITES"), QStringLiteral("HISTORY"),
        QStringLiteral("RSSFEED"), QStringLiteral("GAMES")};

    explicit Sidebar(const SidebarHost &host, QWidget *parent = nullptr);
    ~Sidebar() override;

    // Creates the five sections (once; later calls do nothing).
    // text names a picture for the background of the section tabs: the frame passes its skin.
    void buildSidebar(const QString &text = QString());
    // Gives a report-style list alternating row colours in bands of the mode's height
    // (SidebarGeometry::rowHeight); any other list loses its stripes.
    static void layoutSidebarPanel(QAbstractItemView *list, const QColor &colour1,
                                   const QColor &colour2, int mode);
    // Lays out the children of panel index (0..4) for the panel's present size.
    void layoutPanel(int index);

    // The quick notes: "notes.qvr" in the data folder (or the given file). Loading appends
    // the file's text to the box and does nothing when the file cannot be read; saving
    // returns false when the file could not be written.
    void loadQuickNotes(const QString &file = QString());
    // Loads "notes.qvr" unless it was loaded (or tried) already: a start loads it once the
    // window shows, and a save before that loads it first, so the file is never written over
    // with notes that lack its text.
    void ensureQuickNotesLoaded();
    bool quickNotesLoaded() const { return m_quickNotesLoaded; }
    // The favorites tree, scanned again from the Favorites folder (the timed reload, and after
    // the favorites dialogs); false when it could not be rebuilt. A rebuild already under way
    // is left to finish and counts as done.
    bool reloadFavorites();
    // The history tree, built again from the history store; done (when given) runs when the
    // tree is built, telling whether the store could be read.
    void reloadHistory(std::function<void(bool ok)> done = nullptr);
    // The exit-time history cleaning the History settings ask for (the cache in the background),
    // and the release of the snapshot the history tree was built from.
    void cleanHistoryAtExit();
    void releaseHistoryReader();
    // The quick notes' font and text colour as the settings give them.
    void applyQuickNotesStyle(const QFont &font, const QColor &color);
    bool saveQuickNotes(const QString &file = QString());
    static QString quickNotesFile();

    const SidebarHost &host() const { return m_host; }

    // The bar opens at its standard width, the width that showing a section gives it: it keeps
    // that width until the user drags it, whatever its sections would like.
    QSize sizeHint() const override;

    // Section by key, -1 when there is none.
    int sectionIndex(const QString &key) const;
    QString sectionKey(int index) const;
    // Opens the bar at its standard width (pinOpen) and selects the section of the key.
    void showSection(const QString &key);

    // Pinned, the bar stays open at the width it was given; it is built unpinned. pinOpen pins
    // it and asks for the standard width (SidebarGeometry::kStandardWidthTwips); a click in the
    // quick notes does the same and leaves the notes focused and editable.
    bool isPinned() const { return m_pinned; }
    void setPinned(bool pinned) { m_pinned = pinned; }
    void pinOpen();

    // The node the favorites tree selects after its next rebuild: the one keyed by the address
    // given at start.
    void setFavoritesStartTarget(const QString &commandLine);
    // The website groups listed again from their folder.
    void fillGroupList();
    // Adding the page shown to the favorites and saving the open pages as a group need an open
    // page: the two buttons are enabled only while there is one.
    void setPageButtonsEnabled(bool enabled);
    // The frame's load, after the first page: opens the feed database (the data folder's
    // "newsfeeddb.mdb" when file is empty) and runs the start-up check of the feeds.
    void openFeeds(const QString &file = QString());
    // Loads the games page of the GAMES section.
    void loadGamesPage();
    // The frame's clock at each full minute: the feeds are checked every rssAutoCheckMinutes.
    void onMinuteTick();

    // The frame's unload: stops the RSS reader, purges old headlines, closes the database.
    // False when the purge failed (the database is closed all the same).
    bool unload();

signals:
    // The frame gives the bar this width (pixels).
    void widthRequested(int width);
    // The favorites section's buttons: add the page shown to the favorites, organise them.
    void addToFavoritesRequested();
    void organizeFavoritesRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void setRssSectionMark(bool marked);
    // The shown section's tree is loaded again when what it shows changed since its last load.
    void refreshShownSection();

    SidebarHost m_host;
    QTabWidget *m_tabs = nullptr;
    std::array<QWidget *, 5> m_panels{};
    QPlainTextEdit *m_quickNotes = nullptr;
    QToolButton *m_addFavoriteButton = nullptr; // btnAdd
    QToolButton *m_addGroupButton = nullptr;    // btnGroupAdd
    QTreeWidget *m_favoritesTree = nullptr;
    FavoritesTree *m_favorites = nullptr; // what the favorites tree shows and opens
    QTreeWidget *m_groupList = nullptr;   // website groups
    WebsiteGroupList *m_groups = nullptr; // what the group list and its buttons do
    QWidget *m_cleanerPanel = nullptr;    // history cleaner panel
    QTreeWidget *m_historyTree = nullptr;
    HistoryTree *m_history = nullptr;
    GamesBrowser *m_gamesBrowser = nullptr; // side-bar browser
    RssPanel *m_rssPanel = nullptr;         // m_panels(3)
    QString m_storedNotes; // the notes as the file last held them
    bool m_quickNotesLoaded = false; // "notes.qvr" was read (or tried)
    bool m_built = false;
    bool m_pinned = true;
};
