#include "sidebar.h"

#include "core/olecolor.h"
#include "core/paths.h"
#include "core/strings.h"
#include "notesfiles.h"
#include "rsspanel.h"
#include "sidebargeometry.h"
#include "sidebarimages.h"

#include <QEvent>
#include <QPixmap>
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

QToolButton *placeholderButton(QWidget *panel, const char *name, int toolTipId, const QString &image)
{
    auto *b = new QToolButton(panel);
    b->setObjectName(QLatin1String(name));
    b->setToolTip(ResId(toolTipId));
    b->setIcon(SidebarImages::Icon(image));
    b->setAutoRaise(true);
    return b;
}

QTreeWidget *placeholderTree(QWidget *panel, const char *name)
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
    sidebar = new QTabWidget(this);
    sidebar->setObjectName(QStringLiteral("sidebar"));
    sidebar->setIconSize(QSize(SidebarImages::kSize, SidebarImages::kSize));
    sidebar->setUsesScrollButtons(true);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(sidebar);

    for (int i : {0, 1, 2, 4}) {
        picTab[i] = new QWidget(this);
        picTab[i]->setObjectName(QStringLiteral("picTab%1").arg(i));
    }
    // 0: quick notes; lines do not wrap, so a line of the box is a line of the file.
    txtQuickNotes = new QPlainTextEdit(picTab[0]);
    txtQuickNotes->setObjectName(QStringLiteral("txtQuickNotes"));
    txtQuickNotes->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtQuickNotes->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtQuickNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    // 1: favorites and website groups.
    btnAdd = placeholderButton(picTab[1], "btnAdd", 1079, QStringLiteral("Fav"));
    btnOrganize = placeholderButton(picTab[1], "btnOrganize", 1080, QStringLiteral("fopen"));
    TreeView1 = placeholderTree(picTab[1], "TreeView1");
    btnGroupAdd = placeholderButton(picTab[1], "btnGroupAdd", 1195, QStringLiteral("heart"));
    btnGroupRemove = placeholderButton(picTab[1], "btnGroupRemove", 1196, QStringLiteral("heartsec"));
    ListView3 = placeholderTree(picTab[1], "ListView3");
    ListView3->setRootIsDecorated(false);

    // 2: the cleaner panel above the history tree.
    Picture4 = new QWidget(picTab[2]);
    Picture4->setObjectName(QStringLiteral("Picture4"));
    TreeView2 = placeholderTree(picTab[2], "TreeView2");

    // 3: the RSS reader.
    Rss = new RssPanel(m_host, this);
    picTab[3] = Rss;
    connect(Rss, &RssPanel::SectionMarkChanged, this, &Sidebar::setRssSectionMark);

    // 4: the side-bar browser.
    WebBrowser1 = new QWidget(picTab[4]);
    WebBrowser1->setObjectName(QStringLiteral("WebBrowser1"));

    // Shown by the tab control once BuildSidebar adds them.
    for (QWidget *panel : picTab) {
        panel->hide();
        panel->installEventFilter(this);
    }
}

Sidebar::~Sidebar() = default;

void Sidebar::BuildSidebar(const QString &text)
{
    if (m_built)
        return;
    m_built = true;
    m_pictureFile = text;
    if (!text.isEmpty()) {
        const QPixmap picture(text);
        if (!picture.isNull()) {
            QPalette palette = sidebar->tabBar()->palette();
            palette.setBrush(QPalette::Window, QBrush(picture));
            sidebar->tabBar()->setPalette(palette);
            sidebar->tabBar()->setAutoFillBackground(true);
        }
    }
    for (int i = 0; i < int(std::size(kSections)); ++i) {
        const Section &s = kSections[i];
        const int index =
            sidebar->addTab(picTab[i], SidebarImages::Icon(s.icon), LoadResString(s.caption));
        sidebar->tabBar()->setTabData(index, ResId(s.caption));
        sidebar->setTabToolTip(index, LoadResString(s.toolTip));
        if (i == 0)
            sidebar->setCurrentIndex(index);
    }
    Rss->ListView1->setToolTip(LoadResString(18512));
    Rss->ListView2->setToolTip(LoadResString(18513));
    ListView3->setToolTip(LoadResString(19007));
    const QColor stripe1 = oleColorToQColor(kStripe1);
    const QColor stripe2 = oleColorToQColor(kStripe2);
    LayoutSidebarPanel(Rss->ListView1, stripe1, stripe2, 2);
    LayoutSidebarPanel(Rss->ListView2, stripe1, stripe2, 2);
    LayoutSidebarPanel(ListView3, stripe1, stripe2, 2);
    // The buttons' tool tips.
    LoadResStrings(this);
    for (int i = 0; i < int(picTab.size()); ++i)
        picTab_Resize(i);
}

void Sidebar::LayoutSidebarPanel(QAbstractItemView *list, const QColor &colour1,
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
    const int height = SidebarGeometry::RowHeight(list->fontMetrics().height(), iconHeight, mode);
    static_cast<QTreeView *>(list)->setUniformRowHeights(true);
    list->setItemDelegate(new BandDelegate(height, list));
}

void Sidebar::picTab_Resize(int index)
{
    if (index < 0 || index >= int(picTab.size()) || !picTab[index])
        return;
    QWidget *panel = picTab[index];
    const QList<SidebarGeometry::Place> places = SidebarGeometry::PanelLayout(
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
    if (event->type() == QEvent::Resize) {
        for (int i = 0; i < int(picTab.size()); ++i) {
            if (watched == picTab[i])
                picTab_Resize(i);
        }
    }
    return QWidget::eventFilter(watched, event);
}

QString Sidebar::QuickNotesFile()
{
    return Paths::dataFile(QStringLiteral("notes.qvr"));
}

void Sidebar::LoadQuickNotes(const QString &file)
{
    bool ok = false;
    const QString text = NotesFiles::ReadQuickNotes(file.isEmpty() ? QuickNotesFile() : file, &ok);
    if (ok)
        txtQuickNotes->setPlainText(txtQuickNotes->toPlainText() + text);
}

bool Sidebar::SaveQuickNotes(const QString &file)
{
    return NotesFiles::WriteQuickNotes(file.isEmpty() ? QuickNotesFile() : file,
                                       txtQuickNotes->toPlainText());
}

int Sidebar::SectionIndex(const QString &key) const
{
    const int order = int(kSectionKeys.indexOf(key));
    return order < 0 ? -1 : sidebar->indexOf(picTab[order]);
}

QString Sidebar::SectionKey(int index) const
{
    for (int order = 0; order < int(picTab.size()); ++order) {
        if (sidebar->widget(index) == picTab[order])
            return kSectionKeys[order];
    }
    return QString();
}

void Sidebar::ShowSection(const QString &key)
{
    const int index = SectionIndex(key);
    if (index >= 0)
        sidebar->setCurrentIndex(index);
}

void Sidebar::setRssSectionMark(bool marked)
{
    m_rssSectionIcon = marked ? 8 : 5;
    const int index = SectionIndex(QStringLiteral("RSSFEED"));
    if (index < 0)
        return;
    // The tab strip repaints once, with the new picture.
    sidebar->setUpdatesEnabled(false);
    sidebar->setTabIcon(index, SidebarImages::Icon(m_rssSectionIcon));
    sidebar->setUpdatesEnabled(true);
}

void Sidebar::Unload()
{
    Rss->Unload();
}
