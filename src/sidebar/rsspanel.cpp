#include "rsspanel.h"

#include "core/maincode.h"
#include "core/strings.h"
#include "frmrsschannel.h"
#include "rssfeed.h"
#include "sidebarimages.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QStyle>
#include <QToolButton>
#include <QTreeWidget>

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
    list->setToolTip(ResId(toolTipId));
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
    item->setIcon(0, SidebarImages::Icon(key));
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
        b->setToolTip(ResId(toolTipId));
        b->setIcon(imageKey.isEmpty() ? style()->standardIcon(standard)
                                      : SidebarImages::Icon(imageKey));
        b->setAutoRaise(true);
        connect(b, &QToolButton::clicked, this, handler);
        return b;
    };
    cmdAddRss = button("cmdAddRss", 18514, QStyle::SP_CustomBase, QStringLiteral("feednew"),
                       &RssPanel::cmdAddRss_Click);
    cmdRemoveRss = button("cmdRemoveRss", 18515, QStyle::SP_TrashIcon, QString(),
                          &RssPanel::cmdRemoveRss_Click);
    cmdEditRss = button("cmdEditRss", 18516, QStyle::SP_FileDialogDetailedView, QString(),
                        &RssPanel::cmdEditRss_Click);
    cmdCheckRss = button("cmdCheckRss", 18517, QStyle::SP_BrowserReload, QString(),
                         &RssPanel::cmdCheckRss_Click);
    cmdRssSetting = button("cmdRssSetting", 18518, QStyle::SP_FileDialogInfoView, QString(),
                           &RssPanel::cmdRssSetting_Click);
    ListView1 = makeList(this, "ListView1", 18512);
    ListView2 = makeList(this, "ListView2", 18513);
    for (QTreeWidget *list : {ListView1, ListView2}) {
        list->installEventFilter(this);
        list->viewport()->installEventFilter(this);
    }
    setChannelButtons(false);
    connect(m_checkFetcher, &FeedFetcher::Finished, this, &RssPanel::channelFetched);
}

RssPanel::~RssPanel()
{
    m_unloaded = true;
    if (m_dialog)
        m_dialog->Abort();
}

bool RssPanel::Closing() const
{
    return m_unloaded || m_host.closing();
}

void RssPanel::ReportError(QWidget *parent, const QString &description) const
{
    m_host.message(parent ? parent : const_cast<RssPanel *>(this), QMessageBox::Warning,
                   description);
}

void RssPanel::setChannelButtons(bool enabled)
{
    cmdRemoveRss->setEnabled(enabled);
    cmdEditRss->setEnabled(enabled);
    cmdCheckRss->setEnabled(enabled);
}

bool RssPanel::testConnection()
{
    if (cnn)
        return true;
    m_host.message(this, QMessageBox::Information, LoadResString(1200));
    return false;
}

// ---------------------------------------------------------------- connection

bool RssPanel::OpenConnection(const QString &file)
{
    if (cnn)
        return true;
    auto db = std::make_unique<RssDatabase>(file.isEmpty() ? RssDatabase::defaultFile() : file);
    if (!db->Open()) {
        m_host.message(this, QMessageBox::Information, LoadResString(1200));
        return false;
    }
    cnn = std::move(db);
    FillChannelList();
    return true;
}

void RssPanel::PurgeHeadlines(qint32 readDays, qint32 unreadDays)
{
    if (!cnn || cnn->State() != 1)
        return;
    if (!cnn->PurgeHeadlines(readDays, unreadDays))
        ReportError(this, cnn->LastError());
}

void RssPanel::Unload()
{
    m_unloaded = true;
    if (m_checkRunning)
        m_checkFetcher->Abort();
    if (m_dialog)
        m_dialog->Abort();
    if (cnn) {
        PurgeHeadlines(MainCode::Settings.ReadDeleteDays, MainCode::Settings.UnreadDeleteDays);
        cnn->Close();
        cnn.reset();
    }
}

// ---------------------------------------------------------------- lists

void RssPanel::FillChannelList()
{
    setChannelButtons(false);
    ListView1->clear();
    ListView2->clear();
    m_shownChannel = 0;
    if (!cnn || cnn->State() != 1)
        return;
    const std::optional<QList<RssDatabase::Channel>> channels = cnn->Channels();
    if (!channels) {
        ReportError(this, cnn->LastError());
        return;
    }
    for (const RssDatabase::Channel &channel : *channels) {
        auto *row = new QTreeWidgetItem(ListView1);
        row->setText(0, channel.ChannelTitle);
        row->setText(1, channel.ChannelDescription);
        row->setText(2, channel.FeedURL);
        row->setText(3, QString::number(channel.ChannelID));
        setRowIcon(row, QStringLiteral("feedchannel"));
        setChannelButtons(true);
    }
}

void RssPanel::FillHeadlineList(qint32 channelId)
{
    ListView2->clear();
    m_shownChannel = channelId;
    if (!cnn || cnn->State() != 1)
        return;
    const std::optional<QList<RssDatabase::Headline>> headlines = cnn->Headlines(channelId);
    if (!headlines) {
        ReportError(this, cnn->LastError());
        return;
    }
    // Oldest first from the database; the list shows the newest on top.
    QList<QTreeWidgetItem *> rows;
    rows.reserve(headlines->size());
    const QLocale locale = QLocale::system();
    for (auto it = headlines->crbegin(); it != headlines->crend(); ++it) {
        auto *row = new QTreeWidgetItem;
        row->setText(0, it->HeadlineTitle);
        row->setText(1, it->HeadlinelDescription);
        row->setText(2, it->HeadlineURL);
        row->setText(3, locale.toString(it->HeadlineDate.toLocalTime(), QLocale::ShortFormat));
        row->setData(0, kTagRole, it->HeadlineID);
        setRowIcon(row, QStringLiteral("feed"));
        setRowBold(row, !it->bRead);
        rows.append(row);
    }
    ListView2->addTopLevelItems(rows);
}

frmRssChannel *RssPanel::ChannelDialog() const
{
    return m_dialog.data();
}

QTreeWidgetItem *RssPanel::ChannelRow(qint32 channelId) const
{
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i) {
        QTreeWidgetItem *row = ListView1->topLevelItem(i);
        if (channelIdOf(row) == channelId)
            return row;
    }
    return nullptr;
}

void RssPanel::setSectionMark(bool marked)
{
    m_sectionMark = marked;
    emit SectionMarkChanged(marked);
}

void RssPanel::markChannel(QTreeWidgetItem *row, bool isNew)
{
    if (!row)
        return;
    setRowIcon(row, isNew ? QStringLiteral("feedchannelnew") : QStringLiteral("feedchannel"));
    setRowBold(row, isNew);
}

// ---------------------------------------------------------------- commands

void RssPanel::runDialog(frmRssChannel *dialog)
{
    const QPointer<RssPanel> self(this);
    const QPointer<frmRssChannel> guard(dialog);
    m_dialog = dialog;
    dialog->exec();
    if (guard)
        guard->deleteLater();
    if (!self)
        return;
    m_dialog = nullptr;
}

void RssPanel::cmdAddRss_Click()
{
    if (!testConnection())
        return;
    auto *dialog = new frmRssChannel(this, window());
    dialog->bAddMode = true;
    const QPointer<RssPanel> self(this);
    runDialog(dialog);
    if (self && ListView1->topLevelItemCount() > 0)
        setChannelButtons(true);
}

void RssPanel::cmdEditRss_Click()
{
    if (!testConnection())
        return;
    QTreeWidgetItem *row = selectedRow(ListView1);
    if (!row)
        return;
    auto *dialog = new frmRssChannel(this, window());
    dialog->bAddMode = false;
    dialog->txtURL->setText(row->text(2));
    dialog->txtTitle->setText(row->text(0));
    dialog->txtDesc->setText(row->text(1));
    dialog->nChannelID = channelIdOf(row);
    runDialog(dialog);
}

void RssPanel::cmdRemoveRss_Click()
{
    if (!testConnection())
        return;
    QTreeWidgetItem *row = selectedRow(ListView1);
    if (!row)
        return;
    const qint32 channelId = channelIdOf(row);
    const QPointer<RssPanel> self(this);
    const QMessageBox::StandardButton answer =
        m_host.message(this, QMessageBox::Question, LoadResString(18009),
                       QMessageBox::Yes | QMessageBox::No);
    if (!self || answer != QMessageBox::Yes || !cnn)
        return;
    if (!cnn->RemoveChannel(channelId)) {
        ReportError(this, cnn->LastError());
        return;
    }
    // The row is looked up again: the list may have been refilled while the question was open.
    delete ChannelRow(channelId);
    if (ListView1->topLevelItemCount() == 0)
        setChannelButtons(false);
    ListView2->clear();
    m_shownChannel = 0;
}

void RssPanel::cmdRssSetting_Click()
{
    MainCode::OptionsPage = 11;
    if (m_host.mnuViewOptions)
        m_host.mnuViewOptions();
}

bool RssPanel::IsCtrlDown()
{
    return QGuiApplication::keyboardModifiers().testFlag(Qt::ControlModifier);
}

void RssPanel::ListView1_DblClick()
{
    if (QTreeWidgetItem *row = selectedRow(ListView1))
        ShowChannelHeadlines(row, IsCtrlDown());
}

void RssPanel::ListView2_DblClick()
{
    if (QTreeWidgetItem *row = selectedRow(ListView2))
        OpenHeadline(row, IsCtrlDown());
}

void RssPanel::ShowChannelHeadlines(QTreeWidgetItem *item, bool ctrl)
{
    if (!item)
        return;
    const qint32 channelId = channelIdOf(item);
    const QString title = item->text(0);
    if (ctrl) {
        if (cnn && cnn->State() == 1 && !cnn->SetChannelRead(channelId, true))
            ReportError(this, cnn->LastError());
        setSectionMark(false);
        markChannel(ChannelRow(channelId), false);
    }
    m_host.status(LoadResString(18000) + title);
    FillHeadlineList(channelId);
    m_host.status(LoadResString(18001));
}

void RssPanel::OpenHeadline(QTreeWidgetItem *item, bool ctrl)
{
    if (!item)
        return;
    // The channel whose headlines are listed, whatever the channel list selects now.
    const qint32 channelId = m_shownChannel;
    const qint32 headlineId = item->data(0, kTagRole).toInt();
    const bool unread = item->font(0).bold();
    const bool open = cnn && cnn->State() == 1;
    if (ctrl) {
        if (open && !cnn->SetHeadlineRead(channelId, headlineId, unread)) {
            ReportError(this, cnn->LastError());
            return;
        }
        if (unread) {
            setSectionMark(false);
            markChannel(ChannelRow(channelId), false);
        }
        setRowBold(item, !unread);
        return;
    }
    const QString link = item->text(2);
    setRowBold(item, false);
    setSectionMark(false);
    if (open && !cnn->SetHeadlineRead(channelId, headlineId, true))
        ReportError(this, cnn->LastError());
    markChannel(ChannelRow(channelId), false);
    m_host.openInNewTab(link);
}

// ---------------------------------------------------------------- feed check

void RssPanel::cmdCheckRss_Click()
{
    if (!testConnection())
        return;
    if (m_checkRunning || Closing())
        return;
    m_checkRunning = true;
    m_checkFound = false;
    m_checkQueue.clear();
    for (int i = 0; i < ListView1->topLevelItemCount(); ++i)
        m_checkQueue.append(channelIdOf(ListView1->topLevelItem(i)));
    nextChannel();
}

void RssPanel::nextChannel()
{
    while (!m_checkQueue.isEmpty()) {
        if (Closing()) {
            endCheck(false);
            return;
        }
        // Rows are found by their channel: one removed meanwhile is passed over.
        m_checkChannel = m_checkQueue.takeFirst();
        QTreeWidgetItem *row = ChannelRow(m_checkChannel);
        if (!row)
            continue;
        m_host.status(LoadResString(18000) + row->text(0));
        m_checkFetcher->StartHttpGet(row->text(2), MainCode::Settings.RSSProxyServer,
                                     MainCode::Settings.RSSTimeoutSec);
        return;
    }
    endCheck(!Closing());
}

void RssPanel::channelFetched(FeedFetcher::Result result)
{
    if (!m_checkRunning)
        return;
    if (Closing()) {
        endCheck(false);
        return;
    }
    if (result == FeedFetcher::Ok && cnn && cnn->State() == 1) {
        const qint32 channelId = m_checkChannel;
        RssChannelInfo info;
        QString parseError;
        RssFeed::RefreshChannel(*cnn, channelId, m_checkFetcher->body(), info, &parseError);
        const QPointer<RssPanel> self(this);
        if (!parseError.isEmpty() && !Closing())
            ReportError(this, parseError);
        if (!self)
            return;
        if (info.HasNewHeadlines) {
            markChannel(ChannelRow(channelId), true);
            setSectionMark(true);
            m_checkFound = true;
            const QString feedUrl = m_checkFetcher->url();
            if (!MakerFeedPrefix.isEmpty() &&
                feedUrl.left(MakerFeedPrefix.size()).toUpper() == MakerFeedPrefix.toUpper() && cnn) {
                if (const auto newest = cnn->GetNewestUnreadHeadline(channelId)) {
                    m_host.tip(newest->HeadlineTitle, newest->HeadlinelDescription,
                               newest->HeadlineURL);
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
        m_host.status(LoadResString(m_checkFound ? 18001 : 18520));
    emit CheckFinished(m_checkFound);
}

void RssPanel::Clock_Timer()
{
    const SettingsModel &s = MainCode::Settings;
    if (s.RSSStartupCheck && !m_rssStartupDone && cnn && cnn->State() == 1) {
        // Marked before it runs: a tick during the check must not start it again.
        m_rssStartupDone = true;
        cmdCheckRss_Click();
    }
    if (s.RSSAutoCheckMinutes > 0) {
        ++m_rssCounter;
        if (m_rssCounter >= int(s.RSSAutoCheckMinutes) * 60) {
            m_rssCounter = 0;
            // Without a database the reader is off; the failure was reported at the load.
            if (cnn)
                cmdCheckRss_Click();
        }
    }
}

// ---------------------------------------------------------------- keys and mouse

bool RssPanel::eventFilter(QObject *watched, QEvent *event)
{
    QTreeWidget *list = nullptr;
    for (QTreeWidget *candidate : {ListView1, ListView2}) {
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
            if (list == ListView1)
                ShowChannelHeadlines(item, ctrl);
            else
                OpenHeadline(item, ctrl);
        }
        return true;
    }
    case QEvent::KeyPress: {
        if (watched != list)
            break;
        auto *key = static_cast<QKeyEvent *>(event);
        const bool ctrl = key->modifiers().testFlag(Qt::ControlModifier);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (list == ListView1)
                ShowChannelHeadlines(selectedRow(ListView1), ctrl);
            else
                OpenHeadline(selectedRow(ListView2), ctrl);
            return true;
        }
        if (key->key() == Qt::Key_Delete) {
            if (list == ListView1 && selectedRow(ListView1))
                cmdRemoveRss_Click();
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
