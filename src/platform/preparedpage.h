#pragma once

#include <QObject>
#include <QUrl>

#include <memory>

class BrowserPage;

// The first page of a start. It begins to load while the frame is still being built; the first
// document that navigates to the same address takes it over, together with a record of what
// the page did before it had an owner.
class PreparedPage : public QObject
{
public:
    // Starts loading the address in a page of the shared profile, with WebBrowser's
    // download-control flags in force from the first request on. Replaces any page prepared
    // before.
    static void prepare(const QString &address, int downloadControl);
    // Drops the prepared page if no document took it.
    static void discard();
    static bool isPrepared();
    // The page prepared now, if any.
    static const PreparedPage *current();
    // Hands over the page prepared for url; its owner must reparent it. Null when none was
    // prepared; a page prepared for another address is dropped.
    static std::unique_ptr<PreparedPage> take(const QUrl &url);

    ~PreparedPage() override;

    BrowserPage *page() const { return m_page; }
    // The load as it went so far.
    bool loadStarted() const { return m_loadStarted; }
    int progress() const { return m_progress; }
    bool loadFinished() const { return m_loadFinished; }
    bool loadSucceeded() const { return m_loadSucceeded; }

private:
    PreparedPage(const QUrl &url, int downloadControl);

    QUrl m_url;
    BrowserPage *m_page = nullptr; // a child until taken
    bool m_loadStarted = false;
    int m_progress = 0;
    bool m_loadFinished = false;
    bool m_loadSucceeded = false;
};
