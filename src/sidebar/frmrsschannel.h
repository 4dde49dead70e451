#pragma once

#include "feedfetcher.h"
#include "rssfeed.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QLineEdit;
class QPushButton;
class RssPanel;

// The channel dialog: adds a channel (address, Retrieve, then title and description from the
// feed, which the user may change) or updates a channel's title and description. Retrieve
// and Add download in the background; Cancel stops a running download and stores nothing.
class frmRssChannel : public QDialog
{
    Q_OBJECT
public:
    explicit frmRssChannel(RssPanel *owner, QWidget *parent = nullptr);
    ~frmRssChannel() override;

    // Set before the dialog is shown: add a channel, or update channel nChannelID.
    bool bAddMode = false;
    qint32 nChannelID = 0;

    QLabel *Picture1 = nullptr;
    QLabel *Label12 = nullptr; // heading
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *txtURL = nullptr;
    QLineEdit *txtTitle = nullptr;
    QLineEdit *txtDesc = nullptr;
    QPushButton *cmdRetrieve = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdCancel = nullptr;

    // Runs when the dialog is first shown.
    void Form_Load();
    void txtURL_Change();
    void txtTitle_Change();
    void cmdRetrieve_Click();
    void cmdAdd_Click();
    void cmdCancel_Click();
    void SetUrlEditable(bool editable);
    void SetTitleEditable(bool editable);

    // Stops a running download and closes the dialog (the frame unloads).
    void Abort();

    bool IsRetrieving() const { return m_retrieving; }
    bool IsAdding() const { return m_adding; }
    bool Retrieved() const { return m_retrieved; }
    // The channel as the last retrieve gave it, with the title as typed since, and the new
    // ChannelID after Add.
    const RssChannelInfo &Channel() const { return m_record; }
    qint32 ChannelID() const { return m_channelId; }

    void reject() override;
    void done(int result) override;

signals:
    void RetrieveFinished(bool ok);
    // After an Add: the new ChannelID, or 0 when nothing was stored and the dialog stays.
    void AddFinished(qint32 channelId);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fetched(FeedFetcher::Result result);
    void retrieveDone(FeedFetcher::Result result);
    void addDone(FeedFetcher::Result result);
    void setBusyCursor(bool busy);
    void failed(const QString &description);

    QPointer<RssPanel> m_owner;
    FeedFetcher *m_fetcher = nullptr;
    RssChannelInfo m_record;
    qint32 m_channelId = 0;
    QString m_fetchUrl;
    bool m_loaded = false;
    bool m_cancel = false;
    bool m_closed = false;
    bool m_retrieving = false;
    bool m_adding = false;
    bool m_retrieved = false;
    bool m_busyCursor = false;
};
