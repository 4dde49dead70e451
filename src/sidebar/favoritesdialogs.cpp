#include "favoritesdialogs.h"

#include "core/userfile.h"
#include "platform/urlshortcut.h"
#include "sidebarimages.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The path of an entry in a folder. Unlike QDir::filePath, a name beginning with a colon (a
// page title such as ":: News ::") stays inside the folder rather than naming a resource.
QString childPath(const QString &folder, const QString &name)
{
    return folder + QLatin1Char('/') + name;
}


const QString kSuffix = QStringLiteral(".url");
constexpr int kIsFolderRole = Qt::UserRole + 1;

bool isUnwanted(QChar c)
{
    return c.unicode() < 32 || c.unicode() == 127 || c == QLatin1Char('/')
        || c == QLatin1Char('\\');
}

bool isEdge(QChar c)
{
    return c.isSpace() || c == QLatin1Char('.');
}

// Fills parent with the folders (and, when asked, the shortcuts) below path, in name order. A
// folder met a second time through a link is listed but not entered.
void fillEntries(QTreeWidgetItem *parent, const QString &path, bool withShortcuts,
                 QSet<QString> &seen)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty() || seen.contains(canonical))
        return;
    seen.insert(canonical);
    const QFileInfoList entries = QDir(path).entryInfoList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::DirsFirst | QDir::Name);
    for (const QFileInfo &entry : entries) {
        const bool isFolder = entry.isDir();
        const QString name = entry.fileName();
        const bool isShortcut = !isFolder && name.size() > kSuffix.size()
            && name.endsWith(kSuffix, Qt::CaseInsensitive);
        if (!isFolder && !(withShortcuts && isShortcut))
            continue;
        auto *item = new QTreeWidgetItem(parent, {isFolder ? name : name.chopped(kSuffix.size())});
        item->setData(0, Qt::UserRole, entry.filePath());
        item->setData(0, kIsFolderRole, isFolder);
        item->setIcon(0, SidebarImages::icon(isFolder ? QStringLiteral("Fav")
                                                      : QStringLiteral("HistItem")));
        if (isFolder)
            fillEntries(item, entry.filePath(), withShortcuts, seen);
    }
}

QTreeWidgetItem *fillTree(QTreeWidget *tree, const QString &root, bool withShortcuts)
{
    tree->clear();
    auto *top = new QTreeWidgetItem(tree, {QStringLiteral("Favorites")});
    top->setData(0, Qt::UserRole, root);
    top->setData(0, kIsFolderRole, true);
    top->setIcon(0, SidebarImages::icon(QStringLiteral("fopen")));
    QSet<QString> seen;
    fillEntries(top, root, withShortcuts, seen);
    top->setExpanded(true);
    tree->setCurrentItem(top);
    return top;
}

QTreeWidget *newEntryTree(const QString &objectName, QWidget *parent)
{
    auto *tree = new QTreeWidget(parent);
    tree->setObjectName(objectName);
    tree->setHeaderHidden(true);
    tree->setUniformRowHeights(true);
    return tree;
}

QString folderOf(const QTreeWidgetItem *item)
{
    if (!item)
        return QString();
    const QString path = item->data(0, Qt::UserRole).toString();
    return item->data(0, kIsFolderRole).toBool() ? path : QFileInfo(path).path();
}

bool askName(QWidget *parent, const QString &caption, const QString &current, QString *name)
{
    bool ok = false;
    *name = QInputDialog::getText(parent, caption, QStringLiteral("Name:"), QLineEdit::Normal,
                                  current, &ok).trimmed();
    return ok;
}

const QString kInvalidName = QStringLiteral(
    "Please type a name without slashes or control characters, of at most 120 characters.");

} // namespace

namespace FavoriteNames {

QString fromTitle(const QString &title)
{
    QString name;
    name.reserve(title.size());
    for (QChar c : title)
        name += isUnwanted(c) ? QLatin1Char(' ') : c;
    name = name.simplified();
    while (!name.isEmpty() && isEdge(name.front()))
        name.remove(0, 1);
    name.truncate(kMaxLength);
    while (!name.isEmpty() && isEdge(name.back()))
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("Untitled") : name;
}

bool isValid(const QString &name)
{
    if (name.isEmpty() || name.size() > kMaxLength || isEdge(name.front()) || isEdge(name.back()))
        return false;
    return std::none_of(name.cbegin(), name.cend(), isUnwanted);
}

} // namespace FavoriteNames

AddFavoriteDialog::AddFavoriteDialog(const QString &title, const QString &address,
                                     const QString &folder, const SidebarHost &host,
                                     QWidget *parent)
    : QDialog(parent), m_host(host), m_address(address), m_root(folder)
{
    setObjectName(QStringLiteral("frmAddFavorite"));
    setWindowTitle(QStringLiteral("Add Favorite"));
    UserFile::makeFolder(m_root);

    m_name = new QLineEdit(FavoriteNames::fromTitle(title), this);
    m_name->setObjectName(QStringLiteral("txtName"));
    m_name->setMaxLength(FavoriteNames::kMaxLength);
    m_folders = newEntryTree(QStringLiteral("tvwFolders"), this);
    fillTree(m_folders, m_root, false);

    auto *newFolderButton = new QPushButton(QStringLiteral("New Folder..."), this);
    newFolderButton->setObjectName(QStringLiteral("cmdNewFolder"));
    connect(newFolderButton, &QPushButton::clicked, this, &AddFavoriteDialog::newFolder);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->addButton(newFolderButton, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &AddFavoriteDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &AddFavoriteDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Name:"), this));
    layout->addWidget(m_name);
    layout->addWidget(new QLabel(QStringLiteral("Create in:"), this));
    layout->addWidget(m_folders, 1);
    layout->addWidget(buttons);
    resize(400, 360);
}

QString AddFavoriteDialog::addToFavorites(QWidget *parent, const QString &title,
                                          const QString &address, const QString &folder,
                                          const SidebarHost &host)
{
    AddFavoriteDialog dialog(title, address, folder, host, parent);
    return dialog.exec() == QDialog::Accepted ? dialog.shortcutPath() : QString();
}

void AddFavoriteDialog::accept()
{
    const QString name = m_name->text().trimmed();
    if (!FavoriteNames::isValid(name)) {
        m_host.message(this, QMessageBox::Warning, kInvalidName);
        return;
    }
    QString folder = folderOf(m_folders->currentItem());
    if (folder.isEmpty())
        folder = m_root;
    const QString path = childPath(folder, name + kSuffix);
    if (QFileInfo::exists(path)
        && m_host.message(this, QMessageBox::Question,
                          QStringLiteral("A favorite named \"%1\" is already there. Replace it?")
                              .arg(name),
                          QMessageBox::Yes | QMessageBox::No)
            != QMessageBox::Yes)
        return;
    if (!writeUrlShortcut(path, m_address)) {
        m_host.message(this, QMessageBox::Warning,
                       QStringLiteral("The favorite could not be saved."));
        return;
    }
    m_path = path;
    QDialog::accept();
}

void AddFavoriteDialog::newFolder()
{
    QString name;
    if (!askName(this, QStringLiteral("New Folder"), QString(), &name))
        return;
    QString parentFolder = folderOf(m_folders->currentItem());
    if (parentFolder.isEmpty())
        parentFolder = m_root;
    const QString path = childPath(parentFolder, name);
    if (!FavoriteNames::isValid(name) || QFileInfo::exists(path) || !UserFile::makeFolder(path)) {
        m_host.message(this, QMessageBox::Warning,
                       FavoriteNames::isValid(name)
                           ? QStringLiteral("The folder could not be made.")
                           : kInvalidName);
        return;
    }
    fillTree(m_folders, m_root, false);
    const QList<QTreeWidgetItem *> made =
        m_folders->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    for (QTreeWidgetItem *item : made) {
        if (item->data(0, Qt::UserRole).toString() == path)
            m_folders->setCurrentItem(item);
    }
}

OrganizeFavoritesDialog::OrganizeFavoritesDialog(const QString &folder, const SidebarHost &host,
                                                 QWidget *parent)
    : QDialog(parent), m_host(host), m_root(folder)
{
    setObjectName(QStringLiteral("frmOrganizeFavorites"));
    setWindowTitle(QStringLiteral("Organize Favorites"));
    UserFile::makeFolder(m_root);
    m_entries = newEntryTree(QStringLiteral("tvwFavorites"), this);

    auto *column = new QVBoxLayout;
    auto addButton = [this, column](const QString &name, const QString &text, void (OrganizeFavoritesDialog::*slot)()) {
        auto *button = new QPushButton(text, this);
        button->setObjectName(name);
        connect(button, &QPushButton::clicked, this, slot);
        column->addWidget(button);
    };
    addButton(QStringLiteral("cmdNewFolder"), QStringLiteral("New Folder..."),
              &OrganizeFavoritesDialog::newFolder);
    addButton(QStringLiteral("cmdRename"), QStringLiteral("Rename..."),
              &OrganizeFavoritesDialog::renameSelected);
    addButton(QStringLiteral("cmdMove"), QStringLiteral("Move to Folder..."),
              &OrganizeFavoritesDialog::moveSelected);
    addButton(QStringLiteral("cmdDelete"), QStringLiteral("Delete"),
              &OrganizeFavoritesDialog::deleteSelected);
    column->addStretch(1);
    addButton(QStringLiteral("cmdClose"), QStringLiteral("Close"), &OrganizeFavoritesDialog::accept);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_entries, 1);
    layout->addLayout(column);
    resize(480, 380);
    refill();
}

void OrganizeFavoritesDialog::organize(QWidget *parent, const QString &folder,
                                       const SidebarHost &host)
{
    OrganizeFavoritesDialog dialog(folder, host, parent);
    dialog.exec();
}

void OrganizeFavoritesDialog::refill()
{
    const QString current = selectedPath();
    fillTree(m_entries, m_root, true);
    if (current.isEmpty())
        return;
    for (QTreeWidgetItemIterator it(m_entries); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() == current)
            m_entries->setCurrentItem(*it);
    }
}

QString OrganizeFavoritesDialog::selectedPath() const
{
    const QTreeWidgetItem *item = m_entries->currentItem();
    return item ? item->data(0, Qt::UserRole).toString() : QString();
}

QString OrganizeFavoritesDialog::selectedFolder() const
{
    const QString folder = folderOf(m_entries->currentItem());
    return folder.isEmpty() ? m_root : folder;
}

bool OrganizeFavoritesDialog::isRoot(const QString &path) const
{
    return path.isEmpty()
        || QDir::cleanPath(QFileInfo(path).absoluteFilePath())
        == QDir::cleanPath(QFileInfo(m_root).absoluteFilePath());
}

void OrganizeFavoritesDialog::refuse(const QString &text)
{
    m_host.message(this, QMessageBox::Warning, text);
}

bool OrganizeFavoritesDialog::createFolder(const QString &parentFolder, const QString &name)
{
    if (!FavoriteNames::isValid(name)) {
        refuse(kInvalidName);
        return false;
    }
    const QString path = childPath(parentFolder, name);
    if (QFileInfo::exists(path) || !UserFile::makeFolder(path)) {
        refuse(QStringLiteral("There is already an entry named \"%1\" there.").arg(name));
        return false;
    }
    refill();
    return true;
}

bool OrganizeFavoritesDialog::renameEntry(const QString &path, const QString &newName)
{
    const QFileInfo info(path);
    if (isRoot(path))
        return false;
    if (!FavoriteNames::isValid(newName)) {
        refuse(kInvalidName);
        return false;
    }
    const QString suffix = info.isDir() ? QString() : info.fileName().right(kSuffix.size());
    const QString target = childPath(info.path(), newName + suffix);
    if (target == path)
        return false;
    return relocate(path, target, QStringLiteral("\"%1\" could not be renamed."));
}

bool OrganizeFavoritesDialog::moveEntry(const QString &path, const QString &targetFolder)
{
    const QFileInfo info(path);
    if (isRoot(path))
        return false;
    const QString canonical = info.canonicalFilePath();
    const QString folder = QFileInfo(targetFolder).canonicalFilePath();
    if (folder.isEmpty()
        || (info.isDir() && !info.isSymLink()
            && (folder == canonical || folder.startsWith(canonical + QLatin1Char('/'))))) {
        refuse(QStringLiteral("A folder cannot be moved into itself."));
        return false;
    }
    const QString target = childPath(targetFolder, info.fileName());
    if (QFileInfo(target).absoluteFilePath() == info.absoluteFilePath())
        return false;
    return relocate(path, target, QStringLiteral("\"%1\" could not be moved."));
}

bool OrganizeFavoritesDialog::relocate(const QString &path, const QString &target,
                                       const QString &failure)
{
    // Never replaces: a name taken by another entry is refused. (On a file system that ignores
    // letter case, the entry itself may hold the name in other letters.)
    const QFileInfo info(path);
    const QFileInfo existing(target);
    if ((existing.exists() || existing.isSymLink())
        && existing.canonicalFilePath() != info.canonicalFilePath()) {
        refuse(QStringLiteral("There is already an entry named \"%1\" there.")
                   .arg(existing.fileName()));
        return false;
    }
    if (!QDir().rename(path, target)) {
        refuse(failure.arg(info.fileName()));
        return false;
    }
    refill();
    return true;
}

bool OrganizeFavoritesDialog::deleteEntry(const QString &path)
{
    const QFileInfo info(path);
    if (isRoot(path))
        return false;
    const QString name = info.isDir() ? info.fileName() : info.fileName().chopped(kSuffix.size());
    if (m_host.message(this, QMessageBox::Question,
                       QStringLiteral("Delete \"%1\"?").arg(name),
                       QMessageBox::Yes | QMessageBox::No)
        != QMessageBox::Yes)
        return false;
    // A link to a folder goes alone; what it points to stays.
    const bool removed = info.isDir() && !info.isSymLink() ? QDir(path).removeRecursively()
                                                           : QFile::remove(path);
    refill();
    if (!removed)
        refuse(QStringLiteral("\"%1\" could not be deleted.").arg(name));
    return removed;
}

void OrganizeFavoritesDialog::newFolder()
{
    QString name;
    if (askName(this, QStringLiteral("New Folder"), QString(), &name))
        createFolder(selectedFolder(), name);
}

void OrganizeFavoritesDialog::renameSelected()
{
    const QTreeWidgetItem *item = m_entries->currentItem();
    if (!item || !item->parent())
        return;
    QString name;
    if (askName(this, QStringLiteral("Rename"), item->text(0), &name))
        renameEntry(selectedPath(), name);
}

void OrganizeFavoritesDialog::moveSelected()
{
    const QTreeWidgetItem *item = m_entries->currentItem();
    if (!item || !item->parent())
        return;
    QDialog chooser(this);
    chooser.setWindowTitle(QStringLiteral("Move to Folder"));
    QTreeWidget *folders = newEntryTree(QStringLiteral("tvwFolders"), &chooser);
    fillTree(folders, m_root, false);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &chooser);
    connect(buttons, &QDialogButtonBox::accepted, &chooser, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, &chooser, &QDialog::reject);
    auto *layout = new QVBoxLayout(&chooser);
    layout->addWidget(new QLabel(QStringLiteral("Move \"%1\" to:").arg(item->text(0)), &chooser));
    layout->addWidget(folders, 1);
    layout->addWidget(buttons);
    chooser.resize(320, 340);
    if (chooser.exec() == QDialog::Accepted && folders->currentItem())
        moveEntry(selectedPath(), folderOf(folders->currentItem()));
}

void OrganizeFavoritesDialog::deleteSelected()
{
    const QTreeWidgetItem *item = m_entries->currentItem();
    if (item && item->parent())
        deleteEntry(selectedPath());
}
