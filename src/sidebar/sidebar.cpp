#include "sidebar.h"

#include "core/storedcolor.h"
#include "core/paths.h"
#include "core/strings.h"
#include "core/notesfiles.h"
#include "favoritestree.h"
#include "gamesbrowser.h"
#include "historycleanerpanel.h"
#include "historytree.h"
#include "rsspanel.h"
#include "sidebargeometry.h"
#include "sidebarimages.h"
#include "websitegrouplist.h"
#include "widgets/childholder.h"

#include <QEvent>
#include <QFile>
#include <QMouseEvent>
#include <QPixmap>
#include <QPalette>
#include <QPlainTextEdit>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Rows of a fixed height: one band of the list's stripes per row.
class BandDelegate : public QStyledItemDelegate
{
public:
    BandDelegate(int height, QObject *parent) : QStyledItemDelegate(parent), m_height(height) {}
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(m_height);
        return size;
    }

private:
    int m_height;
};

struct Section
{
    int caption;
    int toolTip;
    int icon;
};
// In the order the sections are added; the key is Sidebar::kSectionKeys at the same index.
constexpr Section kSections[] = {
    {1122, 1123, 2}, {1078, 1124, 0}, {1159, 1161, 1}, {1192, 18519, 5}, {1207, 1208, 11}};

// Stripe colours of the lists, as 0x00BBGGRR.
constexpr quint32 kStripe1 = 0xF7F7F7;
constexpr quint32 kStripe2 = 0xFFF4F4;

// The tool buttons and trees of the sections' panels.
QToolButton *panelButton(QWidget *panel, const char *name, int toolTipId, const QString &image)
{
    auto *b = new QToolButton(panel);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(resId(toolTipId));
    b->setIcon(SidebarImages::icon(image));
    b->setAutoRaise(true);
    return b;
}

QTreeWidget *panelTree(QWidget *panel, const char *name)
{
    auto *tree = new QTreeWidget(panel);
    tree->setObjectName(QLatin1String(name));
    tree->setHeaderHidden(true);
    tree->setIconSize(QSize(SidebarImages::kSize, SidebarImages::kSize));
    return tree;
}

} // namespace

Sidebar::Sidebar(const SidebarHost &host, QWidget *parent) : QWidget(parent), m_host(host)
{
    setObjectName(QStringLiteral("Sidebar"));
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("sidebar"));
    m_tabs->setIconSize(QSize(SidebarImages::kSize, SidebarImages::kSize));
    m_tabs->setUsesScrollButtons(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    // A resize of the tab control asks for a new layout of the whole frame, though its hints
    // stay as they were.
    layout->addWidget(new ChildHolder(m_tabs, ChildHolder::Width::Child, this));

    for (int i : {0, 1, 2, 4}) {
        m_panels[i] = new QWidget(this);
        m_panels[i]->setObjectName(QStringLiteral("picTab%1").arg(i));
    }
    // 0: quick notes; lines do not wrap, so a line of the box is a line of the file.
    m_quickNotes = new QPlainTextEdit(m_panels[0]);
    m_quickNotes->setObjectName(QStringLiteral("txtQuickNotes"));
    m_quickNotes->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_quickNotes->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_quickNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_quickNotes->viewport()->installEventFilter(this);

    // 1: favorites and website groups.
    m_addFavoriteButton = panelButton(m_panels[1], "btnAdd", 1079, QStringLiteral("Fav"));
    auto *organize = panelButton(m_panels[1], "btnOrganize", 1080, QStringLiteral("fopen"));
    connect(m_addFavoriteButton, &QToolButton::clicked, this, &Sidebar::addToFavoritesRequested);
    connect(organize, &QToolButton::clicked, this, &Sidebar::organizeFavoritesRequested);
    m_favoritesTree = panelTree(m_panels[1], "TreeView1");
    m_favorites = new FavoritesTree(m_favoritesTree, m_host, this);
    m_addGroupButton = panelButton(m_panels[1], "btnGroupAdd", 1195, QStringLiteral("heart"));
    auto *removeGroup = panelButton(m_panels[1], "btnGroupRemove", 1196, QStringLiteral("heartsec"));
    m_groupList = panelTree(m_panels[1], "ListView3");
    m_groupList->setRootIsDecorated(false);
    m_groups = new WebsiteGroupList(m_groupList, m_addGroupButton, removeGroup, m_host, this);

    // 2: the cleaner panel above the history tree.
    m_cleanerPanel = new QWidget(m_panels[2]);
    m_cleanerPanel->setObjectName(QStringLiteral("Picture4"));
    m_historyTree = panelTree(m_panels[2], "TreeView2");
    m_history = new HistoryTree(m_historyTree, m_host, this);
    new HistoryCleanerPanel(m_cleanerPanel, m_host, m_history, this);

    // 3: the RSS reader.
    m_rssPanel = new RssPanel(m_host, this);
    m_panels[3] = m_rssPanel;
    connect(m_rssPanel, &RssPanel::sectionMarkChanged, this, &Sidebar::setRssSectionMark);

    // 4: the side-bar browser.
    m_gamesBrowser = new GamesBrowser(m_host, m_panels[4]);

    // The section shown brings its tree up to date (this run's visits, a changed folder).
    connect(m_tabs, &QTabWidget::currentChanged, this, &Sidebar::refreshShownSection,
            Qt::QueuedConnection);

    // Shown by the tab control once buildSidebar adds them.
    for (QWidget *panel : m_panels) {
        panel->hide();
        panel->installEventFilter(this);
    }
}

Sidebar::~Sidebar() = default;

void Sidebar::buildSidebar(const QString &text)
{
    if (m_built)
        return;
    m_built = true;
    setPinned(false);
    if (!text.isEmpty()) {
        const QPixmap picture(text);
        if (!picture.isNull()) {
            QPalette palette = m_tabs->tabBar()->palette();
            palette.setBrush(QPalette::Window, QBrush(picture));
            m_tabs->tabBar()->setPalette(palette);
            m_tabs->tabBar()->setAutoFillBackground(true);
        }
    }
    for (int i = 0; i < int(std::size(kSections)); ++i) {
        const Section &s = kSections[i];
        const int index =
            m_tabs->addTab(m_panels[i], SidebarImages::icon(s.icon), loadResString(s.caption));
        m_tabs->tabBar()->setTabData(index, resId(s.caption));
        m_tabs->setTabToolTip(index, loadResString(s.toolTip));
        if (i == 0)
            m_tabs->setCurrentIndex(index);
    }
    const QColor stripe1 = storedColorToQColor(kStripe1);
    const QColor stripe2 = storedColorToQColor(kStripe2);
    m_rssPanel->prepareLists([&stripe1, &stripe2](QAbstractItemView *list) {
        layoutSidebarPanel(list, stripe1, stripe2, 2);
    });
    m_groupList->setToolTip(loadResString(19007));
    layoutSidebarPanel(m_groupList, stripe1, stripe2, 2);
    // The buttons' tool tips (and the sections' captions from their numbers).
    loadResStrings(this);
    // The sections share their captions with the View menu's items, but the menu bar keeps
    // the Alt letters: Alt+F and Alt+H open File and Help at every press.
    for (int i = 0; i < m_tabs->count(); ++i)
        m_tabs->setTabText(i, captionWithoutAccessKey(m_tabs->tabText(i)));
    for (int i = 0; i < int(m_panels.size()); ++i)
        layoutPanel(i);
    // Sections added before the bar is first shown do not tell the dock the room they need: the
    // frame would show with a narrow bar that widens a moment later, and its first page would
    // be laid out and drawn twice.
    m_tabs->updateGeometry();
}

void Sidebar::layoutSidebarPanel(QAbstractItemView *list, const QColor &colour1,
                                 const QColor &colour2, int mode)
{
    if (!list)
        return;
    if (auto *old = list->itemDelegate(); old && old->parent() == list &&
                                          dynamic_cast<BandDelegate *>(old)) {
        list->setItemDelegate(nullptr);
        delete old;
    }
    if (!qobject_cast<QTreeView *>(list)) {
        list->setAlternatingRowColors(false);
        list->setPalette(QPalette());
        return;
    }
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, colour1);
    palette.setColor(QPalette::AlternateBase, colour2);
    list->setPalette(palette);
    list->setAlternatingRowColors(true);
    const int iconHeight = list->iconSize().isValid() ? list->iconSize().height()
                                                      : SidebarImages::kSize;
    const int height = SidebarGeometry::rowHeight(list->fontMetrics().height(), iconHeight, mode);
    static_cast<QTreeView *>(list)->setUniformRowHeights(true);
    list->setItemDelegate(new BandDelegate(height, list));
}

void Sidebar::layoutPanel(int index)
{
    if (index < 0 || index >= int(m_panels.size()) || !m_panels[index])
        return;
    QWidget *panel = m_panels[index];
    const QList<SidebarGeometry::Place> places = SidebarGeometry::panelLayout(
        index, pixelsToTwips(panel->width()), pixelsToTwips(panel->height()));
    for (const SidebarGeometry::Place &place : places) {
        QWidget *child = panel->findChild<QWidget *>(place.control, Qt::FindDirectChildrenOnly);
        if (!child)
            continue;
        child->setGeometry(twipsToPixels(place.left), twipsToPixels(place.top),
                           twipsToPixels(place.width), twipsToPixels(place.height));
    }
}

bool Sidebar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_quickNotes->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        m_quickNotes->setReadOnly(false);
        m_quickNotes->setFocus(Qt::MouseFocusReason);
        pinOpen();
    }
    if (event->type() == QEvent::Resize) {
        for (int i = 0; i < int(m_panels.size()); ++i) {
            if (watched == m_panels[i])
                layoutPanel(i);
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString Sidebar::quickNotesFile()
{
    return Paths::dataFile(QStringLiteral("notes.qvr"));
}

void Sidebar::applyQuickNotesStyle(const QFont &font, const QColor &color)
{
    m_quickNotes->setFont(font);
    QPalette palette = m_quickNotes->palette();
    palette.setColor(QPalette::Text, color);
    m_quickNotes->setPalette(palette);
}

void Sidebar::loadQuickNotes(const QString &file)
{
    bool ok = false;
    const QString text = NotesFiles::readQuickNotes(file.isEmpty() ? quickNotesFile() : file, &ok);
    if (file.isEmpty())
        m_quickNotesLoaded = true;
    if (ok) {
        const QString before = m_quickNotes->toPlainText();
        m_quickNotes->setPlainText(before + text);
        // Text the box held before (put there ahead of the load) is a change to be saved.
        if (file.isEmpty())
            m_storedNotes = before.isEmpty() ? m_quickNotes->toPlainText() : text;
    }
}

void Sidebar::ensureQuickNotesLoaded()
{
    if (!m_quickNotesLoaded)
        loadQuickNotes();
}

bool Sidebar::saveQuickNotes(const QString &file)
{
    if (file.isEmpty())
        ensureQuickNotesLoaded();
    // Notes the user did not edit are left as the file has them (bytes that did not read as
    // text included).
    const QString text = m_quickNotes->toPlainText();
    if (file.isEmpty() && text == m_storedNotes && QFile::exists(quickNotesFile()))
        return true;
    if (!NotesFiles::writeQuickNotes(file.isEmpty() ? quickNotesFile() : file, text))
        return false;
    if (file.isEmpty())
        m_storedNotes = text;
    return true;
}

QSize Sidebar::sizeHint() const
{
    return {twipsToPixels(SidebarGeometry::kStandardWidthTwips), QWidget::sizeHint().height()};
}

int Sidebar::sectionIndex(const QString &key) const
{
    const int order = int(kSectionKeys.indexOf(key));
    return order < 0 ? -1 : m_tabs->indexOf(m_panels[order]);
}

QString Sidebar::sectionKey(int index) const
{
    for (int order = 0; order < int(m_panels.size()); ++order) {
        if (m_tabs->widget(index) == m_panels[order])
            return kSectionKeys[order];
    }
    return QString();
}

void Sidebar::showSection(const QString &key)
{
    pinOpen();
    const int index = sectionIndex(key);
    if (index >= 0)
        m_tabs->setCurrentIndex(index);
}

void Sidebar::pinOpen()
{
    setPinned(true);
    emit widthRequested(twipsToPixels(SidebarGeometry::kStandardWidthTwips));
}

void Sidebar::setRssSectionMark(bool marked)
{
    const int index = sectionIndex(QStringLiteral("RSSFEED"));
    if (index < 0)
        return;
    // The RSS section's picture in sidebarIL: 8 while a check found new headlines, else 5. The
    // tab strip repaints once, with the new picture.
    m_tabs->setUpdatesEnabled(false);
    m_tabs->setTabIcon(index, SidebarImages::icon(marked ? 8 : 5));
    m_tabs->setUpdatesEnabled(true);
}

void Sidebar::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    QMetaObject::invokeMethod(this, &Sidebar::refreshShownSection, Qt::QueuedConnection);
}

void Sidebar::refreshShownSection()
{
    if (!isVisible())
        return;
    const QString key = sectionKey(m_tabs->currentIndex());
    if (key == QLatin1String("HISTORY"))
        m_history->reloadIfChanged();
    else if (key == QLatin1String("FAVORITES"))
        m_favorites->reloadIfChanged();
}

bool Sidebar::reloadFavorites()
{
    // A rebuild already under way goes on and brings the tree up to date: that is no failure.
    if (m_favorites->isLoading())
        return true;
    return m_favorites->loadFavorites(true);
}

void Sidebar::reloadHistory(std::function<void(bool ok)> done)
{
    // A load already running starts over and reports at its end.
    if (done)
        connect(m_history, &HistoryTree::loaded, this,
                [this, done = std::move(done)] { done(m_history->lastLoadSucceeded()); },
                Qt::SingleShotConnection);
    // A history of years holds many thousands of visits: the tree is built while the section
    // shows (at once, or once it is shown), never behind the user's back.
    if (isVisible() && sectionKey(m_tabs->currentIndex()) == QLatin1String("HISTORY"))
        m_history->loadHistory();
    else
        m_history->markOutOfDate();
}

void Sidebar::cleanHistoryAtExit()
{
    HistoryCleanerPanel::cleanAtExit(m_host, window());
}

void Sidebar::releaseHistoryReader()
{
    m_history->releaseHistoryReader();
}

void Sidebar::setFavoritesStartTarget(const QString &commandLine)
{
    m_favorites->setStartTarget(commandLine);
}

void Sidebar::fillGroupList()
{
    m_groups->fillGroupList();
}

void Sidebar::setPageButtonsEnabled(bool enabled)
{
    m_addFavoriteButton->setEnabled(enabled);
    m_addGroupButton->setEnabled(enabled);
}

void Sidebar::openFeeds(const QString &file)
{
    if (m_rssPanel->openConnection(file))
        m_rssPanel->runStartupCheck();
}

void Sidebar::loadGamesPage()
{
    m_gamesBrowser->loadGamesPage();
}

void Sidebar::onMinuteTick()
{
    m_rssPanel->onMinuteTick();
}

bool Sidebar::unload()
{
    return m_rssPanel->unload();
}
