#pragma once

#include "feedfetcher.h"
#include "rssfeed.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class RssDatabase;

// The channel dialog: adds a channel (address, Retrieve, then title and description from the
// feed, which the user may change) or updates a channel's title and description. Retrieve
// and Add download in the background; Cancel stops a running download and stores nothing.
// Failures and stored channels are reported by signals; the owner shows the one and refills
// its channel list on the other.
class RssChannelDialog : public QDialog
{
    Q_OBJECT
public:
    // database: the owner's open feed database at the moment it is asked (null when there is
    // none or the owner is gone); ownerClosing: true once the owner closes or is gone, when
    // a feed's parse failure is no longer reported.
    RssChannelDialog(std::function<RssDatabase *()> database, std::function<bool()> ownerClosing,
                     QWidget *parent = nullptr);
    ~RssChannelDialog() override;

    // Set before the dialog is shown: add a channel, or update the stored channel channelId,
    // whose address, title and description the boxes start with.
    void setForAdding();
    void setForEditing(qint32 channelId, const QString &url, const QString &title,
                       const QString &description);

    // Runs when the dialog is first shown.
    void loadChannel();
    void onUrlEdited();
    void onTitleEdited();
    void onRetrieveClicked();
    void onAddClicked();
    void onCancelClicked();
    void setUrlEditable(bool editable);
    void setTitleEditable(bool editable);

    // Stops a running download and closes the dialog (the frame unloads).
    void abort();

    void reject() override;
    void done(int result) override;

signals:
    // A Retrieve has ended; ok when the feed gave the channel's title and description.
    void retrieveFinished(bool ok);
    // After an Add: the new channelId, or 0 when nothing was stored and the dialog stays.
    void addFinished(qint32 channelId);
    // A failure to show to the user, with the dialog as the parent of the message.
    void errorOccurred(const QString &description);
    // A channel was added or updated in the database.
    void channelsChanged();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fetched(FeedFetcher::Result result);
    void retrieveDone(FeedFetcher::Result result);
    void addDone(FeedFetcher::Result result);
    void setBusyCursor(bool busy);
    void failed(const QString &description);
    RssDatabase *database() const;
    bool ownerClosing() const;

    std::function<RssDatabase *()> m_database;
    std::function<bool()> m_ownerClosing;
    bool m_addMode = false;
    qint32 m_channelToEdit = 0;
    QLabel *m_heading = nullptr;
    QLineEdit *m_urlEdit = nullptr;
    QLineEdit *m_titleEdit = nullptr;
    QLineEdit *m_descriptionEdit = nullptr;
    QPushButton *m_retrieveButton = nullptr;
    QPushButton *m_addButton = nullptr;
    FeedFetcher *m_fetcher = nullptr;
    // The channel as the last retrieve gave it (without the document's text, which Add reads
    // again), with the title as typed since.
    RssChannelInfo m_record;
    QString m_fetchUrl;
    bool m_loaded = false;
    bool m_cancel = false;
    bool m_closed = false;
    bool m_retrieving = false;
    bool m_adding = false;
    bool m_retrieved = false;
    bool m_busyCursor = false;
};
