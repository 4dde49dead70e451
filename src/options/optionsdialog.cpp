#include "optionsdialog.h"

#include "core/fixeddialog.h"
#include "core/appstate.h"
#include "core/storedcolor.h"
#include "core/strings.h"
#include "generaloptionspage.h"
#include "optionshost.h"
#include "optionspagefactory.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

constexpr int kKeyRole = Qt::UserRole;
constexpr int kNodeHeight = 24;
const QString kRootKey = QStringLiteral("QVOptions");

struct Node
{
    const char *key;
    int caption;
    QStyle::StandardPixmap icon;
};

// The pages in page order: node n + 1 of the tree belongs to page n.
constexpr Node kNodes[kOptionsPageCount] = {
    {"General", 8001, QStyle::SP_FileDialogDetailedView},
    {"History", 8015, QStyle::SP_BrowserReload},
    {"Sites", 8027, QStyle::SP_DirHomeIcon},
    {"Sidebar", 8035, QStyle::SP_FileDialogListView},
    {"CustomLinks", 8049, QStyle::SP_FileLinkIcon},
    {"Skins", 8054, QStyle::SP_DesktopIcon},
    {"Control", 8069, QStyle::SP_ArrowForward},
    {"Content", 8062, QStyle::SP_FileIcon},
    {"Form", 8082, QStyle::SP_FileDialogContentsView},
    {"Popup", 8086, QStyle::SP_MessageBoxWarning},
    {"Rss", 8104, QStyle::SP_DriveNetIcon},
    {"Gestures", 8105, QStyle::SP_ArrowRight},
};

// The menu items that mirror a "Content" setting.
struct CheckMark
{
    const char *key;
    bool SettingsModel::*setting;
};
constexpr CheckMark kCheckMarks[] = {
    {"mnuContentImage", &SettingsModel::enableImages},
    {"mnuContentSound", &SettingsModel::enableSound},
    {"mnuContentVideo", &SettingsModel::enableVideo},
    {"mnuContentScripts", &SettingsModel::enableScripts},
    {"mnuContentJava", &SettingsModel::enableJava},
    {"mnuContentDLACTX", &SettingsModel::enableActiveXDL},
    {"mnuContentRUNACTX", &SettingsModel::enableActiveXRUN},
    {"mnuContentFlash", &SettingsModel::enableFlash},
    {"mnuContentAutoFill", &SettingsModel::autoFormFill},
};

QTreeWidgetItem *makeNode(const QString &key, int caption, const QIcon &icon)
{
    auto *node = new QTreeWidgetItem({loadResString(caption)});
    node->setData(0, kKeyRole, key);
    node->setIcon(0, icon);
    node->setSizeHint(0, QSize(0, kNodeHeight));
    return node;
}

} // namespace

OptionsDialog::OptionsDialog(OptionsHost &host, OptionsPageId firstPage, QWidget *parent)
    : QDialog(parent), m_host(host), m_message(optionsMessageBox(this))
{
    setObjectName(QStringLiteral("frmOptions1"));
    setProperty(kTagProperty, resId(8000));

    m_tree = new QTreeWidget;
    m_tree->setObjectName(QStringLiteral("TreeView1"));
    m_tree->setHeaderHidden(true);
    m_tree->setFixedWidth(170);
    m_pages = new QStackedWidget;
    auto *buttons = new QDialogButtonBox;
    auto *ok = buttons->addButton(QString(), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setProperty(kTagProperty, resId(111));
    ok->setDefault(true);
    auto *cancel = buttons->addButton(QString(), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setProperty(kTagProperty, resId(112));
    connect(buttons, &QDialogButtonBox::accepted, this, &OptionsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OptionsDialog::reject);

    auto *body = new QHBoxLayout;
    body->addWidget(m_tree);
    body->addWidget(m_pages, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(buttons);
    // The dialog's own texts; every page localises itself.
    loadResStrings(this);

    for (int n = 1; n <= kOptionsPageCount; ++n) {
        OptionsPage *p = createOptionsPage(OptionsPageId(n), host, m_pages);
        m_pageList.append(p);
        m_pages->addWidget(p);
    }
    if (auto *general = qobject_cast<GeneralOptionsPage *>(page(OptionsPageId::General)))
        connect(general, &GeneralOptionsPage::savedDocumentsLoadRequested, this,
                &OptionsDialog::savedDocumentsLoadRequested);
    setMessageFunction(m_message);

    const SettingsModel &s = AppState::settings;
    m_largeBitmap = s.toolbarLargeBitmap;
    m_smallBitmap = s.toolbarSmallBitmap;
    m_minimizeToTray = s.minimizeToTray;

    buildTree();
    showPage(firstPage);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, &OptionsDialog::nodeChosen);
    resize(sizeHint().expandedTo(QSize(620, 470)));
    makeFixedDialog(this);
}

void OptionsDialog::buildTree()
{
    const QStyle *st = style();
    auto *root = makeNode(kRootKey, 8000, st->standardIcon(QStyle::SP_ComputerIcon));
    m_tree->addTopLevelItem(root);
    for (const Node &node : kNodes)
        root->addChild(makeNode(QLatin1String(node.key), node.caption, st->standardIcon(node.icon)));
    root->setExpanded(true);
    m_tree->setCurrentItem(root->child(0));
}

void OptionsDialog::nodeChosen(QTreeWidgetItem *node)
{
    if (!node)
        return;
    const QString key = node->data(0, kKeyRole).toString();
    if (key == kRootKey)
        return; // the root keeps the page shown
    for (int n = 1; n <= kOptionsPageCount; ++n) {
        if (key == QLatin1String(kNodes[n - 1].key))
            m_pages->setCurrentIndex(n - 1);
    }
}

void OptionsDialog::showPage(OptionsPageId page)
{
    const int index = int(page) - 1;
    m_pages->setCurrentIndex(index);
    m_tree->setCurrentItem(m_tree->topLevelItem(0)->child(index));
}

OptionsPage *OptionsDialog::page(OptionsPageId page) const
{
    return m_pageList.value(int(page) - 1);
}

OptionsPageId OptionsDialog::currentPage() const
{
    return OptionsPageId(m_pages->currentIndex() + 1);
}

void OptionsDialog::setMessageFunction(OptionsMessage message)
{
    m_message = std::move(message);
    if (auto *general = qobject_cast<GeneralOptionsPage *>(page(OptionsPageId::General)))
        general->setMessageFunction(m_message);
}

bool OptionsDialog::saveAllPages()
{
    for (int n = 1; n <= kOptionsPageCount; ++n) {
        const QString refusal = page(OptionsPageId(n))->refusal();
        if (!refusal.isEmpty()) {
            showPage(OptionsPageId(n));
            m_message(QMessageBox::Warning, refusal);
            return false;
        }
    }
    for (OptionsPage *p : std::as_const(m_pageList))
        p->save();
    return true;
}

void OptionsDialog::applySettings()
{
    const SettingsModel &s = AppState::settings;
    if (s.minimizeToTray != m_minimizeToTray)
        m_host.setTrayIconShown(s.minimizeToTray);
    AppState::sidebarVisible = m_host.setSidebarShown(s.enableSidebar);
    m_host.applyQuickNotesStyle(s.quickNotesFont(), storedColorToQColor(quint32(s.qnColor)));
    m_host.armFavoritesTimer(s.favRefresh);
    m_host.armHistoryTimer(s.histRefresh);
    m_host.showCustomLinkButtons();
    if (m_host.nextSkin() != m_host.currentSkin())
        m_message(QMessageBox::Information, loadResString(1147));
    if (s.toolbarSmallBitmap != m_smallBitmap || s.toolbarLargeBitmap != m_largeBitmap)
        m_message(QMessageBox::Information, loadResString(15005));
    for (const CheckMark &mark : kCheckMarks)
        m_host.setCommandChecked(QLatin1String(mark.key), s.*mark.setting);
    m_host.reloadFormData();
}

void OptionsDialog::accept()
{
    if (!saveAllPages())
        return;
    applySettings();
    QDialog::accept();
}
