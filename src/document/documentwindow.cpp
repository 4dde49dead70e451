#include "documentwindow.h"

#include "core/appstate.h"
#include "core/historystore.h"
#include "core/paths.h"
#include "core/settingsstore.h"
#include "core/strings.h"
#include "documentrules.h"
#include "frame/documenttabbar.h"
#include "frame/mainwindow.h"
#include "frame/navigatorpalette.h"
#include "firstformfillnotice.h"
#include "firstpopupnotice.h"
#include "popupkiller.h"
#include "platform/pagecustomizer.h"
#include "platform/webbrowser.h"
#include "whitelistquestiondialog.h"
#include "widgets/panelstatusbar.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWebEngineNewWindowRequest>

using namespace DocumentRules;

DocumentWindow::DocumentWindow(MainWindow *frame, QWidget *parent) : QWidget(parent), m_frame(frame)
{
    setObjectName(QStringLiteral("frmDocument"));
    setWindowTitle(QStringLiteral("No Title"));
    loadResStrings(this);
    m_tabAlreadyDeleted = false;

    ++AppState::openDocuments;
    if (m_frame)
        m_frame->updateDocumentActions();

    m_browser = new WebBrowser(this);
    m_browser->setObjectName(QStringLiteral("WebBrowser"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_browser);
    setFocusProxy(m_browser);

    m_browser->silent = AppState::settings.suppressErrors;
    applyDownloadOptions();

    m_customizer = new PageCustomizer(this);
    m_customizer->attach(m_browser->page());
    m_customizer->openDataFile(Paths::dataFile(QStringLiteral("form.bin")));

    connect(m_browser, &WebBrowser::beforeNavigate, this, &DocumentWindow::onBeforeNavigate);
    connect(m_browser, &WebBrowser::progressChanged, this, &DocumentWindow::onProgressChanged);
    connect(m_browser, &WebBrowser::titleChanged, this, &DocumentWindow::onTitleChanged);
    connect(m_browser, &WebBrowser::statusTextChanged, this, &DocumentWindow::onStatusTextChanged);
    connect(m_browser, &WebBrowser::secureLockIconChanged, this, &DocumentWindow::onSecureLockIconChanged);
    connect(m_browser, &WebBrowser::newWindowRequested, this, &DocumentWindow::onNewWindowRequested);
    connect(m_browser, &WebBrowser::windowCloseRequested, this, &DocumentWindow::onWindowCloseRequested);
    connect(m_browser, &WebBrowser::documentCompleted, this, &DocumentWindow::onDocumentComplete);

    m_highlightTimer.setInterval(700);
    connect(&m_highlightTimer, &QTimer::timeout, this, &DocumentWindow::onHighlightTick);

    // Automatic refresh reloads past the cache.
    connect(&m_autoRefresh, &AutoRefresh::refresh, this, [this] { m_browser->reload(3); });

    // After a killed popup the page stays silent for a moment; then the user's choice returns.
    m_silentTimer.setInterval(100);
    m_silentTimer.setSingleShot(true);
    connect(&m_silentTimer, &QTimer::timeout, this,
            [this] { setSilent(AppState::settings.suppressErrors); });

    m_popupKiller = new PopupKiller(this);
    connect(m_popupKiller, &PopupKiller::whitelistQuestionRequested, this,
            [this](const QString &site) { WhitelistQuestionDialog::queue(site, this); });
    connect(m_popupKiller, &PopupKiller::firstKillNoticeRequested, this,
            [this] { FirstPopupNotice::queue(this); });
    if (m_frame) {
        QPointer<MainWindow> frame = m_frame;
        connect(m_popupKiller, &PopupKiller::indicatorIconChanged, this, [frame](int icon) {
            if (frame)
                frame->m_statusBar->setPanelIcon(QStringLiteral("Item4"), icon);
        });
        m_popupKiller->currentIndicatorIcon = [frame] {
            return frame ? frame->m_statusBar->panelIcon(QStringLiteral("Item4")) : -1;
        };
    }
}

DocumentWindow::~DocumentWindow()
{
    unload();
}

int DocumentWindow::position() const
{
    return m_browser ? m_browser->tag.toInt() : 0;
}

void DocumentWindow::applyDownloadOptions()
{
    const SettingsModel &s = AppState::settings;
    int flags = 0;
    if (s.enableImages)
        flags |= WebBrowser::DLCTL_DLIMAGES;
    if (s.enableSound)
        flags |= WebBrowser::DLCTL_BGSOUNDS;
    if (s.enableVideo)
        flags |= WebBrowser::DLCTL_VIDEOS;
    if (!s.enableScripts)
        flags |= WebBrowser::DLCTL_NO_SCRIPTS;
    if (!s.enableJava)
        flags |= WebBrowser::DLCTL_NO_JAVA;
    if (!s.enableActiveXDL)
        flags |= WebBrowser::DLCTL_NO_DLACTIVEXCTLS;
    if (!s.enableActiveXRUN)
        flags |= WebBrowser::DLCTL_NO_RUNACTIVEXCTLS;
    if (!s.enableFlash)
        flags |= WebBrowser::DLCTL_NO_PLUGINS;
    m_browser->setDownloadControl(flags);
}

void DocumentWindow::setTabCaption(int tabPosition, const QString &title)
{
    if (!m_frame)
        return;
    DocumentTabBar *tabs = m_frame->m_tabBar;
    if (tabPosition < 1 || tabPosition > tabs->itemCount())
        return;
    const bool shrunk = tabs->isShrunk(tabPosition);
    tabs->setCaption(tabPosition, tabCaption(title, shrunk));
    tabs->setIconIndex(tabPosition, iconForShrink(tabs->iconIndex(tabPosition), shrunk));
}

QString DocumentWindow::locationUrl() const
{
    return m_browser ? m_browser->locationUrl() : QString();
}

QString DocumentWindow::locationName() const
{
    return m_browser ? m_browser->locationName() : QString();
}

void DocumentWindow::reload(int level)
{
    m_browser->reload(level);
}

void DocumentWindow::stop()
{
    m_browser->stop();
}

void DocumentWindow::navigate(const QString &address)
{
    m_browser->navigate(address);
}

void DocumentWindow::setSilent(bool silent)
{
    m_browser->silent = silent;
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
    m_browser->registerAsBrowser = on;
}

void DocumentWindow::execBrowserCommand(int command, int option, const QVariant &in, QVariant *out)
{
    m_browser->execBrowserCommand(command, option, in, out);
}

void DocumentWindow::execCommand(int group, int command)
{
    m_browser->execCommand(group, command);
}

void DocumentWindow::activate()
{
    if (!m_frame || m_unloaded)
        return;
    m_active = true;
    const int k = position();
    NavigatorPalette *navigator = m_frame->navigator();
    navigator->setRowBold(k, true);
    DocumentTabBar *tabs = m_frame->m_tabBar;
    tabs->tag = QStringLiteral("1");
    tabs->setSelected(k);
    tabs->tag = QStringLiteral("0");
    m_frame->setAddressText(locationUrl());
    m_frame->setStatusText(QString());
    m_frame->setProgressText(QString::number(m_progress));
    m_frame->setSecureIcon(m_secure);
    m_browser->setFocus();
    m_browser->silent = AppState::settings.suppressErrors;
    // The blink of a background completion ends when the tab is looked at.
    if (m_highlightTimer.isActive())
        onHighlightTick();
}

void DocumentWindow::deactivate()
{
    m_active = false;
    if (m_frame && !m_unloaded)
        m_frame->navigator()->setRowBold(position(), false);
}

void DocumentWindow::onBeforeNavigate(const QString &url, bool mainFrame, bool &cancel)
{
    if (url.right(11).toUpper() == QLatin1String("ENABLEFLASH")) {
        cancel = true;
        if (m_frame)
            QMetaObject::invokeMethod(m_frame, &MainWindow::toggleFlash, Qt::QueuedConnection);
    }
    if (!mainFrame)
        return;
    m_javaScriptLink = url.left(11).toUpper() == QLatin1String("JAVASCRIPT:");
    applyDownloadOptions();
    if (m_active && m_frame && !m_frame->m_addressHasFocus && !m_javaScriptLink && !cancel)
        m_frame->setAddressText(url);
}

void DocumentWindow::onProgressChanged(int progress, int progressMax)
{
    if (!m_frame || m_unloaded)
        return;
    const int percent = progressPercent(progress, progressMax);
    if (percent < 0)
        return;
    m_progress = percent;
    const int k = position();
    NavigatorPalette *navigator = m_frame->navigator();
    DocumentTabBar *tabs = m_frame->m_tabBar;
    if (progressMax != 0) {
        if (m_active)
            m_frame->setProgressText(QString::number(m_progress));
        navigator->setRowStatus(k, progressText(m_progress));
        if (k >= 1 && k <= tabs->itemCount())
            tabs->setIconIndex(k, loadingIcon(m_progress, tabs->isShrunk(k), tabs->iconIndex(k)));
        return;
    }

    // Completed.
    if (m_active)
        m_frame->setProgressText(QStringLiteral("0"));
    const SettingsModel &s = AppState::settings;
    const bool protect = s.protectCreditInfo && !AppState::creditInfoUnlocked;
    m_customizer->cardProtection = protect;
    if (s.autoFormFill) {
        QPointer<DocumentWindow> self(this);
        m_customizer->fillForm(protect, [self](bool filled) {
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
        m_frame->saveAllDocuments();
    navigator->setRowStatus(k, completedText());
    if (k >= 1 && k <= tabs->itemCount())
        tabs->setIconIndex(k, tabs->isShrunk(k) ? kIconLoaded + 1 : kIconLoaded);
    if (!m_active) {
        m_highlightTimer.start();
    } else if (!m_frame->m_addressHasFocus) {
        m_frame->setAddressText(locationUrl());
    }
    m_javaScriptLink = false;
}

void DocumentWindow::onDocumentComplete(const QString &url, const QString &title, bool ok)
{
    if (ok)
        HistoryStore::instance().addVisit(url, title);
}

void DocumentWindow::onTitleChanged(const QString &text)
{
    if (!m_frame || m_unloaded)
        return;
    setWindowTitle(text);
    const int k = position();
    m_frame->navigator()->setRowText(k, text);
    DocumentTabBar *tabs = m_frame->m_tabBar;
    if (k >= 1 && k <= tabs->itemCount())
        tabs->setToolTipText(k, text);
    setTabCaption(k, text);
}

void DocumentWindow::onStatusTextChanged(const QString &text)
{
    if (m_active && m_frame)
        m_frame->setStatusText(text);
}

void DocumentWindow::onSecureLockIconChanged(int state)
{
    m_secure = state != 0;
    if (m_active && m_frame)
        m_frame->setSecureIcon(m_secure);
}

void DocumentWindow::onNewWindowRequested(QWebEngineNewWindowRequest &request, bool &cancel)
{
    if (!m_frame)
        return;
    if (m_popupKiller->decide(locationUrl(), m_secure, m_javaScriptLink,
                              m_customizer->popupAllowed(request))) {
        cancel = true;
        m_popupKiller->reportKilled();
        setSilent(true);
        m_silentTimer.start();
        return;
    }
    m_frame->openPopup(request);
}

void DocumentWindow::onWindowCloseRequested()
{
    // The page closes itself: unload after the engine's signal has returned.
    if (QWidget *window = parentWidget())
        QMetaObject::invokeMethod(window, &QWidget::close, Qt::QueuedConnection);
    else
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

void DocumentWindow::onHighlightTick()
{
    if (!m_frame || m_unloaded) {
        m_highlightTimer.stop();
        return;
    }
    DocumentTabBar *tabs = m_frame->m_tabBar;
    const int k = position();
    const bool valid = k >= 1 && k <= tabs->itemCount();
    if (valid)
        tabs->setIconIndex(k, blinkIcon(tabs->iconIndex(k)));
    m_highlightPhase = QString::number(m_highlightPhase.toInt() + 1);
    if (m_highlightPhase.toInt() >= 8 || m_active) {
        m_highlightTimer.stop();
        m_highlightPhase = QStringLiteral("0");
        if (valid && tabs->iconIndex(k) >= kIconHighlighted)
            tabs->setIconIndex(k, tabs->iconIndex(k) - 2);
    }
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
    m_highlightTimer.stop();
    m_autoRefresh.setEnabled(false);
    m_silentTimer.stop();
    if (m_browser) {
        m_browser->disconnect(this);
        m_browser->stop();
    }
    if (AppState::openDocuments > 0)
        --AppState::openDocuments;
    else
        AppState::openDocuments = 0;
    if (!m_frame)
        return;
    m_frame->m_lastClosedAddress = locationUrl();
    m_frame->onDocumentUnloaded(this);
    if (m_customizer) {
        m_customizer->clearValues();
        m_customizer->attach(nullptr);
    }
}
