#pragma once

#include "feedfetcher.h"
#include "rssdatabase.h"
#include "sidebarhost.h"

#include <QList>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>

class QAbstractItemView;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class RssChannelDialog;

// The side bar's RSS section (panel m_panels(3)): five buttons, the channel list m_channelList and
// the headline list m_headlineList, the feed check, and the database connection cnn, which lives
// from the frame's load to its unload.
//
// Channel rows: text the title; columns 1 description, 2 feed address, 3 channelId.
// Headline rows: text the title; columns 1 description, 2 link, 3 date; headlineId in kTagRole.
// Both keep the key of their icon in kIconKeyRole; bold marks a new channel, an unread headline.
class RssPanel : public QWidget
{
    Q_OBJECT
public:
    static constexpr int kTagRole = Qt::UserRole;
    static constexpr int kIconKeyRole = Qt::UserRole + 1;

    explicit RssPanel(const SidebarHost &host, QWidget *parent = nullptr);
    ~RssPanel() override;

    // Feed addresses starting with this text (compared in upper case) are the maker's own: a
    // check that finds new headlines there shows the newest unread one in a notice. The maker's
    // feeds are at a fixed address; a test puts the address of its own server in its place.
    static void setMakerFeedPrefix(const QString &prefix) { s_makerFeedPrefix = prefix; }

    // The frame's load: opens the database (the data folder's "newsfeeddb.mdb" when file is
    // empty) and fills the channel list. Shows message 1200 and leaves cnn empty on failure.
    bool openConnection(const QString &file = QString());
    // The frame's unload: stops a running check and the channel dialog's download, purges
    // headlines by readDeleteDays and unreadDeleteDays, and closes the connection.
    bool unload();
    // The side bar's build: both lists get their tool tips, then stripe runs on each.
    void prepareLists(const std::function<void(QAbstractItemView *list)> &stripe);

    // Lists the channels the database holds (a new channel's row is no longer marked new).
    void fillChannelList();

    // Commands of the panel's buttons. Add, Remove, Edit and Check show message 1200 when
    // there is no connection; Remove and Edit do nothing without a selected channel.
    void onAddChannelClicked();
    void onRemoveChannelClicked();
    void onEditChannelClicked();
    // Checks every listed channel for new headlines, one after the other; a second request
    // while a check runs is ignored. The frame's clock calls it too.
    void onCheckClicked();
    void onSettingsClicked();

    // The start-up check (when rssStartupCheck), once, when the connection is open.
    void runStartupCheck();
    // The frame's clock at each full minute: a check every rssAutoCheckMinutes.
    void onMinuteTick();

    // A new channel dialog working on this panel's database, its failures shown and its
    // stored channels listed by this panel. The caller owns it.
    RssChannelDialog *newChannelDialog(QWidget *parent = nullptr);

signals:
    // The side bar's feeds section is to show (or no longer show) that new headlines came.
    void sectionMarkChanged(bool marked);
    void checkFinished(bool found);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Deletes old headlines; a failure is shown.
    bool purgeHeadlines(qint32 readDays, qint32 unreadDays);
    void fillHeadlineList(qint32 channelId);
    // Shows the channel's headlines; with ctrl marks them all read first.
    void showChannelHeadlines(QTreeWidgetItem *item, bool ctrl);
    // Opens the headline in a new tab and marks it read; with ctrl toggles its read state.
    void openHeadline(QTreeWidgetItem *item, bool ctrl);
    QTreeWidgetItem *channelRow(qint32 channelId) const;
    // True once the host closes or the panel unloaded: downloads stop, nothing is reported.
    bool closing() const;
    // Shows a failure's description (exclamation icon).
    void reportError(QWidget *parent, const QString &description) const;
    void nextChannel();
    void channelFetched(FeedFetcher::Result result);
    void endCheck(bool writeStatus);
    void setSectionMark(bool marked);
    void markChannel(QTreeWidgetItem *row, bool isNew);
    void setChannelButtons(bool enabled);
    bool testConnection();
    void runDialog(RssChannelDialog *dialog);

    static inline QString s_makerFeedPrefix = QStringLiteral("HTTPS://QUARVEL.INVALID");

    SidebarHost m_host;
    QToolButton *m_removeChannelButton = nullptr;
    QToolButton *m_editChannelButton = nullptr;
    QToolButton *m_checkButton = nullptr;
    QTreeWidget *m_channelList = nullptr;  // channels
    QTreeWidget *m_headlineList = nullptr; // headlines of one channel
    // The database connection; empty when the database could not be opened.
    std::unique_ptr<RssDatabase> m_database;
    FeedFetcher *m_checkFetcher = nullptr;
    QList<qint32> m_checkQueue;
    qint32 m_checkChannel = 0;
    bool m_checkRunning = false;
    bool m_checkFound = false;
    bool m_unloaded = false;
    // The channel whose headlines the headline list shows (0: none).
    qint32 m_shownChannel = 0;
    int m_minutesSinceCheck = 0;
    bool m_rssStartupDone = false;
    QPointer<RssChannelDialog> m_dialog;
};
