#include "documentwindow.h"

#include "core/appstate.h"
#include "core/settingsnotifier.h"
#include "core/historystore.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "contentswitches.h"
#include "documentrules.h"
#include "findbar.h"
#include "firstformfillnotice.h"
#include "firstpopupnotice.h"
#include "popupkiller.h"
#include "platform/newwindowrequest.h"
#include "platform/pagecustomizer.h"
#include "platform/webbrowser.h"
#include "whitelistquestiondialog.h"

#include <QCloseEvent>
#include <QPointer>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEnginePage>

using namespace DocumentRules;

namespace {

// The form filler's store.
QString formDataFile()
{
    return Paths::dataFile(QStringLiteral("form.bin"));
}

// Whether card data stays out of the forms filled now.
bool cardDataProtected()
{
    return AppState::settings.protectCreditInfo && !AppState::creditInfoUnlocked;
}

} // namespace

DocumentWindow::DocumentWindow(QWidget *parent) : AbstractDocument(parent)
{
    setObjectName(QStringLiteral("frmDocument"));
    setWindowTitle(QStringLiteral("No Title"));
    loadResStrings(this);

    m_browser = new WebBrowser(this);
    m_browser->setObjectName(QStringLiteral("WebBrowser"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    setFocusProxy(m_browser);

    m_browser->setLoadErrorsSuppressed(AppState::settings.suppressErrors);
    m_browser->setScriptErrorsSuppressed(AppState::settings.suppressScriptErrors);
    applyDownloadOptions();

    m_customizer = new PageCustomizer(this);
    m_customizer->attach(m_browser->page());
    m_customizer->openDataFile(formDataFile());
    // The first document may take over the page prepared at start.
    connect(m_browser, &WebBrowser::pageReplaced, this,
            [this] { m_customizer->attach(m_browser->page()); });

    connect(m_browser, &WebBrowser::beforeNavigate, this, &DocumentWindow::onBeforeNavigate);
    connect(m_browser, &WebBrowser::progressChanged, this, &DocumentWindow::onProgressChanged);
    connect(m_browser, &WebBrowser::titleChanged, this, &DocumentWindow::onTitleChanged);
    connect(m_browser, &WebBrowser::statusTextChanged, this, &AbstractDocument::statusTextChanged);
    connect(m_browser, &WebBrowser::secureLockIconChanged, this, &DocumentWindow::onSecureLockIconChanged);
    connect(m_browser, &WebBrowser::newWindowRequested, this, &DocumentWindow::onNewWindowRequested);
    connect(m_browser, &WebBrowser::windowCloseRequested, this, &DocumentWindow::onWindowCloseRequested);
    connect(m_browser, &WebBrowser::documentCompleted, this, &DocumentWindow::onDocumentComplete);

    // Automatic refresh reloads past the cache.
    m_autoRefresh = new AutoRefresh(this);
    connect(m_autoRefresh, &AutoRefresh::refresh, this, [this] { m_browser->reload(3); });

    // After a killed popup the page stays silent for a moment; then the user's choice returns.
    m_silentTimer.setInterval(100);
    m_silentTimer.setSingleShot(true);
    connect(&m_silentTimer, &QTimer::timeout, this,
            [this] { setSilent(AppState::settings.suppressScriptErrors); });

    m_popupKiller = new PopupKiller(this);
    connect(m_popupKiller, &PopupKiller::indicatorIconChanged, this,
            &DocumentWindow::popupIndicatorChanged);
    // The question is answered before the popup's window opens (see onNewWindowRequested).
    connect(m_popupKiller, &PopupKiller::whitelistQuestionRequested, this,
            [this](const QString &site) { WhitelistQuestionDialog::ask(site, this); });
    connect(m_popupKiller, &PopupKiller::firstKillNoticeRequested, this,
            [this] { FirstPopupNotice::queue(this); });

    // A flipped Content switch: this page takes it over itself.
    connect(&AppState::settingsNotifier(), &SettingsNotifier::contentSettingsChanged, this,
            &DocumentWindow::onContentSettingsChanged);
}

DocumentWindow::~DocumentWindow()
{
    unload();
    // The popup killer's last indication (the end of a blink) is reported while this window
    // is still whole.
    delete m_popupKiller;
    m_popupKiller = nullptr;
}

void DocumentWindow::setPopupIndicatorReader(std::function<int()> reader)
{
    m_popupKiller->setIndicatorReader(std::move(reader));
}

void DocumentWindow::load(const QString &text, const QUrl &url)
{
    applyDownloadOptions();
    // Named by the address it opens (as its tab is) until its page names itself.
    setWindowTitle(text);
    registerAsBrowser(true);
    navigate(text, url);
}

void DocumentWindow::openNewWindow(NewWindowRequest &request)
{
    applyDownloadOptions();
    setWindowTitle(request.requestedAddress());
    m_browser->acceptNewWindow(request);
}

void DocumentWindow::refresh()
{
    applyDownloadOptions();
    reload();
}

void DocumentWindow::applyDownloadOptions()
{
    m_browser->setDownloadControl(downloadControlFlags(AppState::settings));
}

int DocumentWindow::downloadControlFlags(const SettingsModel &s)
{
    int flags = 0;
    if (s.enableImages)
        flags |= DownloadControl::Images;
    if (s.enableSound)
        flags |= DownloadControl::BackgroundSounds;
    if (s.enableVideo)
        flags |= DownloadControl::Videos;
    if (!s.enableScripts)
        flags |= DownloadControl::NoScripts;
    if (!s.enableJava)
        flags |= DownloadControl::NoJava;
    if (!s.enableActiveXDL)
        flags |= DownloadControl::NoDownloadActiveX;
    if (!s.enableActiveXRUN)
        flags |= DownloadControl::NoRunActiveX;
    if (!s.enableFlash)
        flags |= DownloadControl::NoPlugins;
    return flags;
}

QString DocumentWindow::locationUrl() const
{
    return m_browser ? m_browser->locationUrl() : QString();
}

QString DocumentWindow::locationName() const
{
    return m_browser ? m_browser->locationName() : QString();
}

QString DocumentWindow::addressText() const
{
    return addressShown(m_loadText, locationUrl(), m_loadFailed);
}

void DocumentWindow::reload(int level)
{
    m_browser->reload(level);
}

void DocumentWindow::stepPageZoom(int step)
{
    m_browser->stepPageZoom(step);
}

void DocumentWindow::stop()
{
    m_browser->stop();
}

void DocumentWindow::navigate(const QString &text, const QUrl &url)
{
    if (m_browser->navigate(url)) {
        m_requestedText = text;
        m_requestPending = true;
    }
}

void DocumentWindow::setSilent(bool silent)
{
    m_browser->setScriptErrorsSuppressed(silent);
}

void DocumentWindow::setLoadErrorsSuppressed(bool suppressed)
{
    m_browser->setLoadErrorsSuppressed(suppressed);
}

void DocumentWindow::onContentSettingsChanged(const QString &switchKey)
{
    // A document that has unloaded is no longer open: its page stays as it is.
    if (m_unloaded)
        return;
    if (const ContentSwitches::Switch *entry = ContentSwitches::findSwitch(switchKey))
        ContentSwitches::applyToDocument(entry->followUp, *this, AppState::settings);
}

void DocumentWindow::goBack()
{
    m_browser->goBack();
}

void DocumentWindow::goForward()
{
    m_browser->goForward();
}

void DocumentWindow::registerAsBrowser(bool on)
{
    m_browser->setRegisteredAsBrowser(on);
}

void DocumentWindow::execBrowserCommand(int command, const QVariant &in, QVariant *out)
{
    m_browser->execBrowserCommand(command, in, out);
}

void DocumentWindow::execCommand(int command)
{
    m_browser->execCommand(command);
}

QWebEngineHistory *DocumentWindow::history() const
{
    return m_browser->page()->history();
}

void DocumentWindow::fillForm()
{
    m_customizer->setCardProtection(cardDataProtected());
    m_customizer->fillForm();
}

void DocumentWindow::reloadFormData()
{
    m_customizer->clearValues();
    m_customizer->openDataFile(formDataFile());
}

void DocumentWindow::showFindBar()
{
    if (m_unloaded)
        return;
    if (!m_findBar) {
        m_findBar = new FindBar(m_browser, this);
        // Between the page and whatever is above it.
        static_cast<QVBoxLayout *>(layout())->insertWidget(0, m_findBar);
    }
    m_findBar->open();
}

void DocumentWindow::activate()
{
    if (m_unloaded)
        return;
    m_active = true;
    m_browser->setFocus();
    m_browser->setLoadErrorsSuppressed(AppState::settings.suppressErrors);
}

void DocumentWindow::deactivate()
{
    m_active = false;
}

void DocumentWindow::setOnScreen(bool onScreen)
{
    if (!m_unloaded)
        m_browser->setPageVisible(onScreen);
}

void DocumentWindow::onBeforeNavigate(const QString &url, bool mainFrame, bool &cancel)
{
    if (url.right(11).toUpper() == QLatin1String("ENABLEFLASH")) {
        cancel = true;
        Q_EMIT flashEnableRequested();
    }
    if (!mainFrame)
        return;
    m_javaScriptLink = url.left(11).toUpper() == QLatin1String("JAVASCRIPT:");
    applyDownloadOptions();
    if (m_javaScriptLink || cancel)
        return;
    // The navigation navigate started keeps the text it was asked for in the field while it
    // loads, and after it failed; any other shows where it goes.
    m_loadText = m_requestPending ? m_requestedText : QString();
    m_requestPending = false;
    m_loadFailed = false;
    Q_EMIT addressChanged(m_loadText.isEmpty() ? url : m_loadText);
}

void DocumentWindow::onProgressChanged(int progress, int progressMax)
{
    if (m_unloaded)
        return;
    const int percent = progressPercent(progress, progressMax);
    if (percent < 0)
        return;
    m_progress = percent;
    if (progressMax != 0) {
        Q_EMIT progressChanged(m_progress);
        return;
    }

    // Completed.
    const SettingsModel &s = AppState::settings;
    m_customizer->setCardProtection(cardDataProtected());
    if (s.autoFormFill) {
        QPointer<DocumentWindow> self(this);
        m_customizer->fillForm([self](bool filled) {
            if (!self || !filled)
                return;
            SettingsStore &store = SettingsStore::instance();
            const QString forms = QStringLiteral("Forms");
            if (!SettingsModel::readBoolean(store, forms, QStringLiteral("FirstFormFill"), true))
                return;
            SettingsModel::writeBoolean(store, forms, QStringLiteral("FirstFormFill"), false);
            // Shown once the engine's callback has returned.
            QMetaObject::invokeMethod(self, [self] {
                FirstFormFillNotice notice(self);
                notice.exec();
            }, Qt::QueuedConnection);
        });
    }
    if (!s.enableFlash)
        m_customizer->flashFilter();
    if (s.saveDocumentOnExit)
        Q_EMIT saveDocumentsRequested();
    m_loadFailed = m_browser->loadFailed();
    Q_EMIT loadCompleted();
    Q_EMIT addressChanged(addressText());
    m_javaScriptLink = false;
}

void DocumentWindow::onDocumentComplete(const QString &url, const QString &title, bool ok)
{
    if (ok)
        HistoryStore::instance().addVisit(url, title);
}

void DocumentWindow::onTitleChanged(const QString &text)
{
    if (m_unloaded)
        return;
    // A page without a title (an error page may have none) still names its tab and window.
    const QString name = documentName(text, locationUrl(), windowTitle());
    setWindowTitle(name);
    Q_EMIT titleChanged(name);
}

void DocumentWindow::onSecureLockIconChanged(int state)
{
    m_secure = state != 0;
    Q_EMIT secureChanged(m_secure);
}

void DocumentWindow::onNewWindowRequested(NewWindowRequest &request, bool &cancel)
{
    // A let-through popup may ask the whitelist question first, modally, while the engine
    // waits for the answer to its request; the page's window opens once it is answered.
    const QPointer<DocumentWindow> self(this);
    const bool kill = m_popupKiller->decide(locationUrl(), m_secure, m_javaScriptLink,
                                            m_customizer->popupAllowed(request));
    if (!self || m_unloaded)
        return; // the opener closed while the question was open: no popup
    if (kill) {
        cancel = true;
        m_popupKiller->reportKilled();
        setSilent(true);
        m_silentTimer.start();
        return;
    }
    Q_EMIT newWindowRequested(request);
}

void DocumentWindow::onWindowCloseRequested()
{
    // The page closes itself: unload after the engine's signal has returned.
    if (QWidget *window = parentWidget())
        QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
    else
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    unload();
    event->accept();
}

void DocumentWindow::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    m_autoRefresh->setEnabled(false);
    m_silentTimer.stop();
    if (m_browser) {
        m_browser->disconnect(this);
        m_browser->stop();
        m_browser->hide();
    }
    Q_EMIT closing(locationUrl());
    if (m_customizer) {
        m_customizer->clearValues();
        m_customizer->attach(nullptr);
    }
}
