#include "documentarea.h"

#include "core/appstate.h"
#include "core/settingsstore.h"
#include "core/storedcolor.h"
#include "document/abstractdocument.h"
#include "document/documentrules.h"
#include "documenttabbar.h"
#include "documenttabclicks.h"
#include "platform/newwindowrequest.h"
#include "platform/typedaddress.h"
#include "subwindowarrangement.h"

#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTimer>

using namespace DocumentRules;

namespace {
const QString kSettings = QStringLiteral("Settings");

// The text a document shows for the decision while it loads and after a load that failed: an
// address as it was typed, words and a shortcut as the address decided.
QString textShown(const TypedAddress::Decision &decision)
{
    if (decision.kind == TypedAddress::Decision::Address)
        return decision.text;
    return decision.url.toString(QUrl::FullyEncoded);
}

} // namespace

DocumentArea::DocumentArea(QWidget *window, DocumentFactory factory)
    : QObject(window), m_window(window), m_factory(std::move(factory)),
      m_mdiArea(new QMdiArea(window)), m_tabBar(new DocumentTabBar(window))
{
    m_mdiArea->setObjectName(QStringLiteral("MDIClient"));
    m_mdiArea->setViewMode(QMdiArea::SubWindowView);
    m_mdiArea->setActivationOrder(QMdiArea::ActivationHistoryOrder);
    // The area would restore every maximised sub-window to its small normal size while it
    // activates another one, and maximise the new one after: each covered page would be shown
    // for a moment and laid out at that size. Documents are maximised where they are presented
    // (SubWindowArrangement::present), so a covered one keeps the size it was shown at.
    m_mdiArea->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    connect(m_mdiArea, &QMdiArea::subWindowActivated, this, &DocumentArea::onSubWindowActivated);
    m_tabClicks = new DocumentTabClicks(m_tabBar,
                                        {[this](int position) { return documentAt(position); },
                                         [this] { return m_activating; }},
                                        this);
    connect(m_tabClicks, &DocumentTabClicks::frontRequested, this, &DocumentArea::bringToFront);
    connect(m_tabClicks, &DocumentTabClicks::tabActionRequested, this,
            [this](AbstractDocument *document, int action, const QPoint &at) {
                runTabAction(document, action, at);
            });
    connect(m_tabClicks, &DocumentTabClicks::closeRequested, this, &DocumentArea::closeDocument);
    connect(m_tabClicks, &DocumentTabClicks::newMenuRequested, this,
            &DocumentArea::newMenuRequested);
    connect(m_tabClicks, &DocumentTabClicks::newTabRequested, this, &DocumentArea::newTabRequested);
    m_arrangement = new SubWindowArrangement(m_mdiArea, this);
    connect(m_arrangement, &SubWindowArrangement::arrangementChanged, this,
            &DocumentArea::updateOnScreen);
    m_window->installEventFilter(this);
    // The mouse over the free area of the documents folds the navigator palette.
    m_mdiArea->viewport()->setMouseTracking(true);
    m_mdiArea->viewport()->installEventFilter(this);
}

DocumentArea::~DocumentArea() = default;

NavigatorPalette *DocumentArea::navigator()
{
    if (!m_navigator) {
        m_navigator = new NavigatorPalette(m_window);
        const SettingsModel &s = AppState::settings;
        if (s.navigatorWidth > 0 && s.navigatorHeight > 0)
            m_navigator->setGeometry(twipsToPixels(s.navigatorLeft), twipsToPixels(s.navigatorTop),
                                     twipsToPixels(s.navigatorWidth),
                                     twipsToPixels(s.navigatorHeight));
        connect(m_navigator, &NavigatorPalette::rowClicked, this,
                [this](int row) { bringToFront(documentAt(row)); });
        connect(m_navigator, &NavigatorPalette::commandRequested, this,
                &DocumentArea::navigatorCommandRequested);
        connect(m_navigator, &NavigatorPalette::newMenuRequested, this,
                &DocumentArea::newMenuRequested);
        m_navigator->setSkinPicture(m_skinPicture);
    }
    return m_navigator;
}

void DocumentArea::setSkinPicture(const QPixmap &picture)
{
    m_skinPicture = picture;
    if (m_navigator)
        m_navigator->setSkinPicture(picture);
}

void DocumentArea::storeNavigatorGeometry() const
{
    if (!m_navigator)
        return;
    SettingsModel &s = AppState::settings;
    const QRect n = m_navigator->geometry();
    s.navigatorLeft = float(pixelsToTwips(n.x()));
    s.navigatorTop = float(pixelsToTwips(n.y()));
    s.navigatorWidth = float(pixelsToTwips(n.width()));
    s.navigatorHeight = float(pixelsToTwips(n.height()));
}

void DocumentArea::closeNavigator()
{
    if (m_navigator)
        m_navigator->close();
}

// ---------------------------------------------------------------- documents by position

QList<AbstractDocument *> DocumentArea::documents() const
{
    QList<AbstractDocument *> documents;
    for (const Entry &entry : m_entries) {
        if (entry.document)
            documents.append(entry.document);
    }
    return documents;
}

int DocumentArea::positionOf(const AbstractDocument *document) const
{
    if (!document)
        return 0;
    for (qsizetype i = 0; i < m_entries.size(); ++i) {
        if (m_entries[i].document == document)
            return int(i) + 1;
    }
    return 0;
}

AbstractDocument *DocumentArea::documentAt(int position) const
{
    return position >= 1 && position <= m_entries.size() ? m_entries[position - 1].document
                                                         : nullptr;
}

AbstractDocument *DocumentArea::activeDocument() const
{
    QMdiSubWindow *sub = m_mdiArea->currentSubWindow();
    auto *document = sub ? qobject_cast<AbstractDocument *>(sub->widget()) : nullptr;
    return positionOf(document) > 0 ? document : nullptr;
}

QMdiSubWindow *DocumentArea::subWindowOf(const AbstractDocument *document) const
{
    return document ? qobject_cast<QMdiSubWindow *>(document->parentWidget()) : nullptr;
}

// ---------------------------------------------------------------- opening

AbstractDocument *DocumentArea::registerDocument(const QString &address)
{
    AbstractDocument *document = m_factory();
    auto *highlight = new QTimer(this);
    highlight->setInterval(700);
    connect(highlight, &QTimer::timeout, this, [this, document] { onHighlightTick(document); });
    m_entries.append(Entry{document, highlight});
    navigator()->appendRow(address);
    m_tabBar->appendTab(address, 0);
    connectDocument(document);
    QMdiSubWindow *sub = m_mdiArea->addSubWindow(
        document, m_arrangement->isArranged() ? Qt::SubWindow
                                              : Qt::SubWindow | Qt::FramelessWindowHint);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(DocumentTabBar::stripIcon(kIconLoaded));
    sub->setWindowTitle(address);
    // Its activation is told by the area, once the sub-window is active; while another one is
    // being activated, the area names no active one, or the wrong one.
    connect(sub, &QMdiSubWindow::windowStateChanged, this,
            [this, sub](Qt::WindowStates before, Qt::WindowStates now) {
                if ((before ^ now) & ~Qt::WindowActive)
                    m_arrangement->onSubWindowStateChanged(sub);
            });
    Q_EMIT documentCountChanged();
    return document;
}

template <typename... Args>
void DocumentArea::forwardWhileCurrent(AbstractDocument *document,
                                       void (AbstractDocument::*report)(Args...),
                                       void (DocumentArea::*current)(Args...))
{
    connect(document, report, this, [this, document, current](Args... args) {
        if (document == m_current)
            Q_EMIT(this->*current)(args...);
    });
}

void DocumentArea::connectDocument(AbstractDocument *document)
{
    connect(document, &AbstractDocument::titleChanged, this,
            [this, document](const QString &title) { onTitleChanged(document, title); });
    connect(document, &AbstractDocument::progressChanged, this,
            [this, document](int percent) { onProgressChanged(document, percent); });
    connect(document, &AbstractDocument::loadCompleted, this,
            [this, document] { onLoadCompleted(document); });
    forwardWhileCurrent(document, &AbstractDocument::titleChanged,
                        &DocumentArea::currentTitleChanged);
    forwardWhileCurrent(document, &AbstractDocument::progressChanged,
                        &DocumentArea::currentProgressChanged);
    forwardWhileCurrent(document, &AbstractDocument::statusTextChanged,
                        &DocumentArea::currentStatusTextChanged);
    forwardWhileCurrent(document, &AbstractDocument::secureChanged,
                        &DocumentArea::currentSecureChanged);
    forwardWhileCurrent(document, &AbstractDocument::addressChanged,
                        &DocumentArea::currentAddressChanged);
    connect(document, &AbstractDocument::saveDocumentsRequested, this, &DocumentArea::saveAll);
    // The request is valid only while the page's signal is delivered.
    connect(
        document, &AbstractDocument::newWindowRequested, this,
        [this](NewWindowRequest &request) { openPopup(request); }, Qt::DirectConnection);
    connect(
        document, &AbstractDocument::closing, this,
        [this, document](const QString &lastAddress) { onDocumentClosing(document, lastAddress); });
}

TypedAddress::Decision DocumentArea::decide(const QString &text) const
{
    return TypedAddress::decide(text, QDir::currentPath(), m_searchAddress);
}

AbstractDocument *DocumentArea::openDocument(const QString &text)
{
    // A shortcut file opens the address it holds, and is named by it.
    const TypedAddress::Decision decision = decide(text);
    const QString &address = decision.text;

    AbstractDocument *document = registerDocument(address);
    const int k = positionOf(document);
    document->load(textShown(decision), decision.url);
    if (QMdiSubWindow *sub = subWindowOf(document)) {
        const QScopedValueRollback<bool> opening(m_opening, true);
        m_arrangement->present(sub);
        m_mdiArea->setActiveSubWindow(sub);
    }
    m_tabBar->setShrunk(k, false);
    setTabCaption(k, address);
    updateOnScreen();
    Q_EMIT addressOpened(address);
    return document;
}

bool DocumentArea::navigateActive(const QString &text)
{
    AbstractDocument *document = activeDocument();
    if (!document)
        return false;
    const TypedAddress::Decision decision = decide(text);
    if (decision.kind != TypedAddress::Decision::Refused)
        document->navigate(textShown(decision), decision.url);
    return true;
}

AbstractDocument *DocumentArea::openPopup(NewWindowRequest &request)
{
    const QString address = request.requestedAddress();
    // The area activates a sub-window as it shows it: a tab asked for behind the active one
    // gives the front back to the document that had it.
    const QPointer<AbstractDocument> front = m_current;
    AbstractDocument *document = registerDocument(address);
    document->openNewWindow(request);
    if (QMdiSubWindow *sub = subWindowOf(document)) {
        const QScopedValueRollback<bool> opening(m_opening, true);
        m_arrangement->present(sub);
        if (request.isBackgroundTab() && front)
            bringToFront(front);
        else
            m_mdiArea->setActiveSubWindow(sub);
    }
    setTabCaption(positionOf(document), address);
    updateOnScreen();
    return document;
}

// ---------------------------------------------------------------- what the documents report

void DocumentArea::setTabCaption(int position, const QString &title)
{
    if (position < 1 || position > m_tabBar->itemCount())
        return;
    const bool shrunk = m_tabBar->isShrunk(position);
    m_tabBar->setCaption(position, tabCaption(title, shrunk));
    if (QMdiSubWindow *sub = subWindowOf(documentAt(position)))
        sub->setWindowTitle(title);
    m_tabBar->setIconIndex(position, iconForShrink(m_tabBar->iconIndex(position), shrunk));
}

void DocumentArea::onTitleChanged(AbstractDocument *document, const QString &title)
{
    const int k = positionOf(document);
    if (k == 0)
        return;
    navigator()->setRowText(k, title);
    m_tabBar->setToolTipText(k, title);
    setTabCaption(k, title);
}

void DocumentArea::onProgressChanged(AbstractDocument *document, int percent)
{
    const int k = positionOf(document);
    if (k == 0)
        return;
    m_entries[k - 1].loading = true;
    if (document == m_current)
        Q_EMIT currentLoadingChanged(true);
    navigator()->setRowStatus(k, progressText(percent));
    m_tabBar->setIconIndex(k, loadingIcon(percent, m_tabBar->isShrunk(k), m_tabBar->iconIndex(k)));
}

void DocumentArea::onLoadCompleted(AbstractDocument *document)
{
    Q_EMIT pageLoaded();
    const int k = positionOf(document);
    if (k != 0)
        m_entries[k - 1].loading = false;
    if (document == m_current) {
        Q_EMIT currentLoadingChanged(false);
        Q_EMIT currentProgressChanged(0);
    }
    if (k == 0)
        return;
    navigator()->setRowStatus(k, completedText());
    m_tabBar->setIconIndex(k, m_tabBar->isShrunk(k) ? kIconLoaded + 1 : kIconLoaded);
    // A page completed in the background: its tab blinks until looked at, or eight times.
    if (document != m_current)
        m_entries[k - 1].highlight->start();
}

void DocumentArea::onHighlightTick(AbstractDocument *document)
{
    const int k = positionOf(document);
    if (k == 0)
        return;
    Entry &entry = m_entries[k - 1];
    m_tabBar->setIconIndex(k, blinkIcon(m_tabBar->iconIndex(k)));
    if (++entry.highlightPhase >= 8 || document == m_current) {
        entry.highlight->stop();
        entry.highlightPhase = 0;
        if (m_tabBar->iconIndex(k) >= kIconHighlighted)
            m_tabBar->setIconIndex(k, m_tabBar->iconIndex(k) - 2);
    }
}

void DocumentArea::onDocumentClosing(AbstractDocument *document, const QString &lastAddress)
{
    const int k = positionOf(document);
    if (k == 0)
        return;
    m_lastClosedAddress = lastAddress;
    delete m_entries.takeAt(k - 1).highlight;
    navigator()->removeRow(k);
    m_tabBar->removeTabAt(k);
    Q_EMIT documentClosed(lastAddress);
    if (m_current == document) {
        m_current = nullptr;
        Q_EMIT activeDocumentChanged(nullptr);
        Q_EMIT currentStatusTextChanged(QString());
        Q_EMIT currentLoadingChanged(false);
        Q_EMIT currentProgressChanged(0);
    }
    Q_EMIT documentCountChanged();
}

// ---------------------------------------------------------------- activation

void DocumentArea::bringToFront(AbstractDocument *document)
{
    if (QMdiSubWindow *sub = subWindowOf(document)) {
        m_arrangement->present(sub);
        m_mdiArea->setActiveSubWindow(sub);
    }
}

void DocumentArea::onSubWindowActivated(QMdiSubWindow *sub)
{
    auto *document = sub ? qobject_cast<AbstractDocument *>(sub->widget()) : nullptr;
    const int k = positionOf(document);
    if (k == 0)
        document = nullptr; // a closing document's sub-window
    if (document == m_current)
        return;
    if (m_current) {
        m_current->deactivate();
        navigator()->setRowBold(positionOf(m_current), false);
    }
    m_current = document;
    updateOnScreen();
    if (!document) {
        Q_EMIT activeDocumentChanged(nullptr);
        return;
    }
    const QScopedValueRollback<bool> busy(m_activating, true);
    navigator()->setRowBold(k, true);
    {
        const QSignalBlocker blocker(m_tabBar);
        m_tabBar->setSelected(k);
    }
    Q_EMIT activeDocumentChanged(document);
    Q_EMIT currentStatusTextChanged(QString());
    Q_EMIT currentLoadingChanged(m_entries[k - 1].loading);
    Q_EMIT currentProgressChanged(document->progress());
    Q_EMIT currentSecureChanged(document->isSecure());
    document->activate();
    // The blink of a background completion ends when the tab is looked at.
    if (m_entries[k - 1].highlight->isActive())
        onHighlightTick(document);
}

void DocumentArea::updateOnScreen()
{
    // A new sub-window is shown, and activated, in its normal size before it is maximised:
    // looked at then, every page behind it would be seen for that moment.
    if (m_opening)
        return;
    const bool frameSeen = m_window->isVisible() && !m_window->isMinimized();
    QMdiSubWindow *active = m_mdiArea->currentSubWindow();
    const bool activeCoversAll = active && active->isMaximized() && !active->isHidden();
    // Only the pages whose state changes are told: the ones that come into view first, then the
    // ones covered.
    QList<QPointer<AbstractDocument>> covered;
    for (Entry &entry : m_entries) {
        QMdiSubWindow *sub = subWindowOf(entry.document);
        if (!sub)
            continue;
        const bool seen = frameSeen && !sub->isHidden() && !sub->isMinimized() &&
                          (sub == active || !activeCoversAll);
        if (entry.onScreen == int(seen))
            continue;
        entry.onScreen = int(seen);
        if (seen)
            entry.document->setOnScreen(true);
        else
            covered.append(entry.document);
    }
    for (AbstractDocument *document : std::as_const(covered)) {
        if (document)
            document->setOnScreen(false);
    }
}

bool DocumentArea::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_mdiArea->viewport() && event->type() == QEvent::MouseMove)
        navigator()->startShrinking();
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Show:
            // Showing the frame showed every view, and a shown view tells the engine it is seen.
        case QEvent::Hide:
        case QEvent::WindowStateChange:
            updateOnScreen();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------- tabs

void DocumentArea::closeDocument(AbstractDocument *document)
{
    // Closed after the event that asked for it has returned.
    if (QMdiSubWindow *sub = subWindowOf(document))
        QMetaObject::invokeMethod(sub, &QWidget::close, Qt::QueuedConnection);
}

void DocumentArea::runTabAction(AbstractDocument *document, int action)
{
    runTabAction(document, action, QCursor::pos());
}

void DocumentArea::runTabAction(AbstractDocument *document, int action, const QPoint &menuAt)
{
    if (!document)
        return;
    switch (action) {
    case 0:
        bringToFront(document);
        break;
    case 1:
        closeDocument(document);
        break;
    case 2: {
        const int k = positionOf(document);
        m_tabBar->setShrunk(k, !m_tabBar->isShrunk(k));
        setTabCaption(k, document->locationName());
        break;
    }
    case 3:
        Q_EMIT tabMenuRequested(document, menuAt);
        break;
    case 4:
        document->refresh();
        break;
    case 5:
        openDocument(document->locationUrl());
        break;
    default:
        break;
    }
}

void DocumentArea::shrinkTabs(int variant)
{
    const QList<AbstractDocument *> documents = this->documents();
    for (int i = 1; i <= m_tabBar->itemCount() && i <= documents.size(); ++i) {
        const bool selected = m_tabBar->isSelected(i);
        if ((variant == 2 && !selected) || (variant == 3 && selected))
            continue;
        m_tabBar->setShrunk(i, variant != 0);
        setTabCaption(i, documents[i - 1]->locationName());
    }
}

void DocumentArea::cycleTabs(bool back)
{
    const int position = DocumentTabBar::cycledTab(positionOf(m_current), int(m_entries.size()), back);
    if (position >= 1)
        m_tabClicks->clickTab(position, Qt::LeftButton, Qt::NoModifier, QCursor::pos());
}

// ---------------------------------------------------------------- all documents

void DocumentArea::closeAll()
{
    for (AbstractDocument *document : documents()) {
        if (QMdiSubWindow *sub = subWindowOf(document))
            sub->close();
    }
}

void DocumentArea::deleteAll()
{
    const QList<QMdiSubWindow *> subs = m_mdiArea->subWindowList();
    for (QMdiSubWindow *sub : subs)
        delete sub;
}

void DocumentArea::saveAll() const
{
    SettingsStore &store = SettingsStore::instance();
    SettingsStore::Batch batch(store);
    const QList<AbstractDocument *> documents = this->documents();
    store.write(kSettings, QStringLiteral("DocumentCount"), QString::number(documents.size()));
    for (int k = 0; k < documents.size(); ++k)
        store.write(kSettings, QStringLiteral("Document%1").arg(k + 1),
                    documents[k]->locationUrl());
}

void DocumentArea::loadAll()
{
    const SettingsStore &store = SettingsStore::instance();
    const int n = SettingsModel::readInteger(store, kSettings, QStringLiteral("DocumentCount"), 0);
    {
        // Only the last of them is shown, once they are all open.
        const QScopedValueRollback<bool> opening(m_opening, true);
        for (int i = 1; i <= n; ++i)
            openDocument(store.read(kSettings, QStringLiteral("Document%1").arg(i),
                                    AppState::settings.sitesHome1));
    }
    updateOnScreen();
}
