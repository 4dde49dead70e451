#include "rsspanel.h"

#include "core/appstate.h"
#include "core/strings.h"
#include "rsschanneldialog.h"
#include "rssfeed.h"
#include "sidebarimages.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>

namespace {

QTreeWidget *makeList(QWidget *parent, const char *name, int toolTipId)
{
    auto *list = new QTreeWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setColumnCount(4);
    list->setHeaderHidden(true);
    for (int column = 1; column < 4; ++column)
        list->setColumnHidden(column, true);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setIconSize(QSize(SidebarImages::kSize, SidebarImages::kSize));
    list->setToolTip(resId(toolTipId));
    return list;
}

void setRowBold(QTreeWidgetItem *item, bool bold)
{
    for (int column = 0; column < item->columnCount(); ++column) {
        QFont font = item->font(column);
        font.setBold(bold);
        item->setFont(column, font);
    }
}

void setRowIcon(QTreeWidgetItem *item, const QString &key)
{
    item->setIcon(0, SidebarImages::icon(key));
    item->setData(0, RssPanel::kIconKeyRole, key);
}

QTreeWidgetItem *selectedRow(const QTreeWidget *list)
{
    const QList<QTreeWidgetItem *> selected = list->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

qint32 channelIdOf(const QTreeWidgetItem *row)
{
    return row ? row->text(3).toInt() : 0;
}

} // namespace

RssPanel::RssPanel(const SidebarHost &host, QWidget *parent)
    : QWidget(parent), m_host(host), m_checkFetcher(new FeedFetcher(this))
{
    setObjectName(QStringLiteral("picTab3"));
    auto button = [this](const char *name, int toolTipId, QStyle::StandardPixmap standard,
                         const QString &imageKey, void (RssPanel::*handler)()) {
        auto *b = new QToolButton(this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(resId(toolTipId));
        b->setIcon(imageKey.isEmpty() ? style()->standardIcon(standard)
                                      : SidebarImages::icon(imageKey));
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, handler);
        return b;
    };
    button("cmdAddRss", 18514, QStyle::SP_CustomBase, QStringLiteral("feednew"),
           &RssPanel::onAddChannelClicked);
    m_removeChannelButton = button("cmdRemoveRss", 18515, QStyle::SP_TrashIcon, QString(),
                          &RssPanel::onRemoveChannelClicked);
    m_editChannelButton = button("cmdEditRss", 18516, QStyle::SP_FileDialogDetailedView, QString(),
                        &RssPanel::onEditChannelClicked);
    m_checkButton = button("cmdCheckRss", 18517, QStyle::SP_BrowserReload, QString(),
                         &RssPanel::onCheckClicked);
    button("cmdRssSetting", 18518, QStyle::SP_FileDialogInfoView, QString(),
           &RssPanel::onSettingsClicked);
    m_channelList = makeList(this, "ListView1", 18512);
    m_headlineList = makeList(this, "ListView2", 18513);
    for (QTreeWidget *list : {m_channelList, m_headlineList}) {
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
    setChannelButtons(false);
    connect(m_checkFetcher, &FeedFetcher::finished, this, &RssPanel::channelFetched);
}

RssPanel::~RssPanel()
{
    m_unloaded = true;
    if (m_dialog)
        m_dialog->abort();
}

bool RssPanel::closing() const
{
    return m_unloaded || m_host.closing();
}

void RssPanel::reportError(QWidget *parent, const QString &description) const
{
    m_host.message(parent ? parent : const_cast<RssPanel *>(this), QMessageBox::Warning,
                   description);
}

void RssPanel::setChannelButtons(bool enabled)
{
    m_removeChannelButton->setEnabled(enabled);
    m_editChannelButton->setEnabled(enabled);
    m_checkButton->setEnabled(enabled);
}

bool RssPanel::testConnection()
{
    if (m_database)
        return true;
    m_host.message(this, QMessageBox::Information, loadResString(1200));
    return false;
}

// ---------------------------------------------------------------- connection

bool RssPanel::openConnection(const QString &file)
{
    if (m_database)
        return true;
    auto db = std::make_unique<RssDatabase>(file.isEmpty() ? RssDatabase::defaultFile() : file);
    if (!db->open()) {
        m_host.message(this, QMessageBox::Information, loadResString(1200));
        return false;
    }
    m_database = std::move(db);
    fillChannelList();
    return true;
}

bool RssPanel::purgeHeadlines(qint32 readDays, qint32 unreadDays)
{
    if (!m_database || !m_database->isOpen())
        return true;
    if (m_database->purgeHeadlines(readDays, unreadDays))
        return true;
    reportError(this, m_database->lastError());
    return false;
}

bool RssPanel::unload()
{
    m_unloaded = true;
    if (m_checkRunning)
        m_checkFetcher->abort();
    if (m_dialog)
        m_dialog->abort();
    bool purged = true;
    if (m_database) {
        purged = purgeHeadlines(AppState::settings.readDeleteDays, AppState::settings.unreadDeleteDays);
        m_database->close();
        m_database.reset();
    }
    return purged;
}

void RssPanel::prepareLists(const std::function<void(QAbstractItemView *list)> &stripe)
{
    m_channelList->setToolTip(loadResString(18512));
    m_headlineList->setToolTip(loadResString(18513));
    stripe(m_channelList);
    stripe(m_headlineList);
}

// ---------------------------------------------------------------- lists

void RssPanel::fillChannelList()
{
    setChannelButtons(false);
    m_channelList->clear();
    m_headlineList->clear();
    m_shownChannel = 0;
    if (!m_database || !m_database->isOpen())
        return;
    const std::optional<QList<RssDatabase::Channel>> channels = m_database->channels();
    if (!channels) {
        reportError(this, m_database->lastError());
        return;
    }
    for (const RssDatabase::Channel &channel : *channels) {
        auto *row = new QTreeWidgetItem(m_channelList);
        row->setText(0, channel.channelTitle);
        row->setText(1, channel.channelDescription);
        row->setText(2, channel.feedUrl);
        row->setText(3, QString::number(channel.channelId));
        setRowIcon(row, QStringLiteral("feedchannel"));
        setChannelButtons(true);
    }
}

void RssPanel::fillHeadlineList(qint32 channelId)
{
    m_headlineList->clear();
    m_shownChannel = channelId;
    if (!m_database || !m_database->isOpen())
        return;
    const std::optional<QList<RssDatabase::Headline>> headlines = m_database->headlines(channelId);
    if (!headlines) {
        reportError(this, m_database->lastError());
        return;
    }
    // Oldest first from the database; the list shows the newest on top.
    QList<QTreeWidgetItem *> rows;
    rows.reserve(headlines->size());
    const QLocale locale = QLocale::system();
    for (auto it = headlines->crbegin(); it != headlines->crend(); ++it) {
        auto *row = new QTreeWidgetItem;
        row->setText(0, it->headlineTitle);
        row->setText(1, it->headlinelDescription);
        row->setText(2, it->headlineUrl);
        row->setText(3, locale.toString(it->headlineDate.toLocalTime(), QLocale::ShortFormat));
        row->setData(0, kTagRole, it->headlineId);
        setRowIcon(row, QStringLiteral("feed"));
        setRowBold(row, !it->read);
        rows.append(row);
    }
    m_headlineList->addTopLevelItems(rows);
}

QTreeWidgetItem *RssPanel::channelRow(qint32 channelId) const
{
    for (int i = 0; i < m_channelList->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = m_channelList->topLevelItem(i);
        if (channelIdOf(row) == channelId)
            return row;
    }
    return nullptr;
}

void RssPanel::setSectionMark(bool marked)
{
    emit sectionMarkChanged(marked);
}

void RssPanel::markChannel(QTreeWidgetItem *row, bool isNew)
{
    if (!row)
        return;
    setRowIcon(row, isNew ? QStringLiteral("feedchannelnew") : QStringLiteral("feedchannel"));
    setRowBold(row, isNew);
}

// ---------------------------------------------------------------- commands

RssChannelDialog *RssPanel::newChannelDialog(QWidget *parent)
{
    const QPointer<RssPanel> self(this);
    auto *dialog = new RssChannelDialog(
        [self]() -> RssDatabase * { return self ? self->m_database.get() : nullptr; },
        [self] { return !self || self->closing(); }, parent);
    connect(dialog, &RssChannelDialog::errorOccurred, this,
            [this, dialog](const QString &description) { reportError(dialog, description); });
    connect(dialog, &RssChannelDialog::channelsChanged, this, &RssPanel::fillChannelList);
    return dialog;
}

void RssPanel::runDialog(RssChannelDialog *dialog)
{
    const QPointer<RssPanel> self(this);
    const QPointer<RssChannelDialog> guard(dialog);
    m_dialog = dialog;
    dialog->exec();
    if (guard)
        guard->deleteLater();
    if (!self)
        return;
    m_dialog = nullptr;
}

void RssPanel::onAddChannelClicked()
{
    if (!testConnection())
        return;
    auto *dialog = newChannelDialog(window());
    dialog->setForAdding();
    const QPointer<RssPanel> self(this);
    runDialog(dialog);
    if (self && m_channelList->topLevelItemCount() > 0)
        setChannelButtons(true);
}

void RssPanel::onEditChannelClicked()
{
    if (!testConnection())
        return;
    QTreeWidgetItem *row = selectedRow(m_channelList);
    if (!row)
        return;
    auto *dialog = newChannelDialog(window());
    dialog->setForEditing(channelIdOf(row), row->text(2), row->text(0), row->text(1));
    runDialog(dialog);
}

void RssPanel::onRemoveChannelClicked()
{
    if (!testConnection())
        return;
    QTreeWidgetItem *row = selectedRow(m_channelList);
    if (!row)
        return;
    const qint32 channelId = channelIdOf(row);
    const QPointer<RssPanel> self(this);
    const QMessageBox::StandardButton answer =
        m_host.message(this, QMessageBox::Question, loadResString(18009),
                       QMessageBox::Yes | QMessageBox::No);
    if (!self || answer != QMessageBox::Yes || !m_database)
        return;
    if (!m_database->removeChannel(channelId)) {
        reportError(this, m_database->lastError());
        return;
    }
    // The row is looked up again: the list may have been refilled while the question was open.
    delete channelRow(channelId);
    if (m_channelList->topLevelItemCount() == 0)
        setChannelButtons(false);
    m_headlineList->clear();
    m_shownChannel = 0;
}

void RssPanel::onSettingsClicked()
{
    if (m_host.showOptions)
        m_host.showOptions(OptionsPageId::RssReader);
}

void RssPanel::showChannelHeadlines(QTreeWidgetItem *item, bool ctrl)
{
    if (!item)
        return;
    const qint32 channelId = channelIdOf(item);
    const QString title = item->text(0);
    if (ctrl) {
        if (m_database && m_database->isOpen() && !m_database->setChannelRead(channelId, true))
            reportError(this, m_database->lastError());
        setSectionMark(false);
        markChannel(channelRow(channelId), false);
    }
    m_host.status(loadResString(18000) + title);
    fillHeadlineList(channelId);
    m_host.status(loadResString(18001));
}

void RssPanel::openHeadline(QTreeWidgetItem *item, bool ctrl)
{
    if (!item)
        return;
    // The channel whose headlines are listed, whatever the channel list selects now.
    const qint32 channelId = m_shownChannel;
    const qint32 headlineId = item->data(0, kTagRole).toInt();
    const bool unread = item->font(0).bold();
    const bool open = m_database && m_database->isOpen();
    if (ctrl) {
        if (open && !m_database->setHeadlineRead(channelId, headlineId, unread)) {
            reportError(this, m_database->lastError());
            return;
        }
        if (unread) {
            setSectionMark(false);
            markChannel(channelRow(channelId), false);
        }
        setRowBold(item, !unread);
        return;
    }
    const QString link = item->text(2);
    setRowBold(item, false);
    setSectionMark(false);
    if (open && !m_database->setHeadlineRead(channelId, headlineId, true))
        reportError(this, m_database->lastError());
    markChannel(channelRow(channelId), false);
    // A feed may name any scheme: only web addresses open (never local files or scripts).
    const QUrl url(link.trimmed());
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        reportError(this, loadResString(18016) + link);
        return;
    }
    m_host.openInNewTab(url.toString());
}

// ---------------------------------------------------------------- feed check

void RssPanel::onCheckClicked()
{
    if (!testConnection())
        return;
    if (m_checkRunning || closing())
        return;
    m_checkRunning = true;
    m_checkFound = false;
    m_checkQueue.clear();
    for (int i = 0; i < m_channelList->topLevelItemCount(); ++i)
        m_checkQueue.append(channelIdOf(m_channelList->topLevelItem(i)));
    nextChannel();
}

void RssPanel::nextChannel()
{
    while (!m_checkQueue.isEmpty()) {
        if (closing()) {
            endCheck(false);
            return;
        }
        // Rows are found by their channel: one removed meanwhile is passed over.
        m_checkChannel = m_checkQueue.takeFirst();
        QTreeWidgetItem *row = channelRow(m_checkChannel);
        if (!row)
            continue;
        m_host.status(loadResString(18000) + row->text(0));
        m_checkFetcher->startHttpGet(row->text(2), AppState::settings.rssProxyServer,
                                     AppState::settings.rssTimeoutSec);
        return;
    }
    endCheck(!closing());
}

void RssPanel::channelFetched(FeedFetcher::Result result)
{
    if (!m_checkRunning)
        return;
    if (closing()) {
        endCheck(false);
        return;
    }
    if (result == FeedFetcher::Ok && m_database && m_database->isOpen()) {
        const qint32 channelId = m_checkChannel;
        RssChannelInfo info;
        QString parseError;
        RssFeed::refreshChannel(*m_database, channelId, m_checkFetcher->document(), info, &parseError);
        const QPointer<RssPanel> self(this);
        if (!parseError.isEmpty() && !closing())
            reportError(this, parseError);
        if (!self)
            return;
        if (info.hasNewHeadlines) {
            markChannel(channelRow(channelId), true);
            setSectionMark(true);
            m_checkFound = true;
            const QString feedUrl = m_checkFetcher->url();
            if (!s_makerFeedPrefix.isEmpty() &&
                feedUrl.left(s_makerFeedPrefix.size()).toUpper() == s_makerFeedPrefix.toUpper() &&
                m_database) {
                if (const auto newest = m_database->newestUnreadHeadline(channelId)) {
                    m_host.tip(newest->headlineTitle, newest->headlinelDescription,
                               newest->headlineUrl);
                }
            }
        }
    }
    if (!m_checkRunning) // ended meanwhile (the panel unloaded during a message)
        return;
    nextChannel();
}

void RssPanel::endCheck(bool writeStatus)
{
    if (!m_checkRunning)
        return;
    m_checkRunning = false;
    m_checkQueue.clear();
    if (writeStatus)
        m_host.status(loadResString(m_checkFound ? 18001 : 18520));
    emit checkFinished(m_checkFound);
}

void RssPanel::runStartupCheck()
{
    if (AppState::settings.rssStartupCheck && !m_rssStartupDone && m_database &&
        m_database->isOpen()) {
        // Marked before it runs: a check started meanwhile must not start it again.
        m_rssStartupDone = true;
        onCheckClicked();
    }
}

void RssPanel::onMinuteTick()
{
    const qint32 minutes = AppState::settings.rssAutoCheckMinutes;
    if (minutes <= 0)
        return;
    ++m_minutesSinceCheck;
    if (m_minutesSinceCheck >= minutes) {
        m_minutesSinceCheck = 0;
        // Without a database the reader is off; the failure was reported at the load.
        if (m_database)
            onCheckClicked();
    }
}

// ---------------------------------------------------------------- keys and mouse

bool RssPanel::eventFilter(QObject *watched, QEvent *event)
{
    QTreeWidget *list = nullptr;
    for (QTreeWidget *candidate : {m_channelList, m_headlineList}) {
        if (watched == candidate || watched == candidate->viewport())
            list = candidate;
    }
    if (!list)
        return QWidget::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        if (watched != list->viewport())
            break;
        // Any button selects the row under the pointer, or none beside the rows.
        auto *mouse = static_cast<QMouseEvent *>(event);
        list->setFocus(Qt::MouseFocusReason);
        QTreeWidgetItem *item = list->itemAt(mouse->position().toPoint());
        if (item) {
            list->setCurrentItem(item);
        } else {
            list->clearSelection();
            list->setCurrentItem(nullptr);
        }
        if (event->type() == QEvent::MouseButtonDblClick && item &&
            mouse->button() == Qt::LeftButton) {
            const bool ctrl = mouse->modifiers().testFlag(Qt::ControlModifier);
            if (list == m_channelList)
                showChannelHeadlines(item, ctrl);
            else
                openHeadline(item, ctrl);
        }
        return true;
    }
    case QEvent::KeyPress: {
        if (watched != list)
            break;
        auto *key = static_cast<QKeyEvent *>(event);
        const bool ctrl = key->modifiers().testFlag(Qt::ControlModifier);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (list == m_channelList)
                showChannelHeadlines(selectedRow(m_channelList), ctrl);
            else
                openHeadline(selectedRow(m_headlineList), ctrl);
            return true;
        }
        if (key->key() == Qt::Key_Delete) {
            if (list == m_channelList && selectedRow(m_channelList))
                onRemoveChannelClicked();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
