#include "preparedpage.h"

#include "browserpage.h"
#include "typedaddress.h"

#include <QCoreApplication>
#include <QDir>
#include <QPointer>

namespace {

// The application owns a page no one took, so it goes before the engine does.
QPointer<PreparedPage> &preparedSlot()
{
    static QPointer<PreparedPage> slot;
    return slot;
}

} // namespace

PreparedPage::PreparedPage(const QUrl &url, int downloadControl)
    : m_url(url), m_page(new BrowserPage(sharedBrowserProfile(), this))
{
    m_page->applyDownloadControl(downloadControl);
    connect(m_page, &QWebEnginePage::loadStarted, this, [this] {
        m_loadStarted = true;
        m_loadFinished = false;
    });
    connect(m_page, &QWebEnginePage::loadProgress, this, [this](int percent) { m_progress = percent; });
    connect(m_page, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        m_loadFinished = true;
        m_loadSucceeded = ok;
    });
    m_page->load(url);
}

PreparedPage::~PreparedPage() = default;

void PreparedPage::prepare(const QString &address, int downloadControl)
{
    discard();
    if (TypedAddress::isScriptAddress(address))
        return; // a browser refuses it (see WebBrowser::navigate)
    preparedSlot() =
        new PreparedPage(QUrl::fromUserInput(address, QDir::currentPath()), downloadControl);
    preparedSlot()->setParent(QCoreApplication::instance());
}

void PreparedPage::discard()
{
    delete preparedSlot().data();
}

bool PreparedPage::isPrepared()
{
    return preparedSlot() != nullptr;
}

const PreparedPage *PreparedPage::current()
{
    return preparedSlot().data();
}

std::unique_ptr<PreparedPage> PreparedPage::take(const QUrl &url)
{
    std::unique_ptr<PreparedPage> prepared(preparedSlot().data());
    preparedSlot() = nullptr;
    if (!prepared)
        return prepared;
    prepared->setParent(nullptr);
    if (prepared->m_url != url)
        prepared.reset();
    return prepared;
}
