#pragma once

#include "favoritestree.h"
#include "sidebarhost.h"

#include <QDialog>

class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

// Names of favorites: a favorite is the file "<name>.url" in a folder of the Favorites folder.
namespace FavoriteNames {
// A name made from a page title: no path separators, control characters or leading and
// trailing dots and blanks, at most kMaxLength characters; "Untitled" when nothing is left.
QString fromTitle(const QString &title);
// Whether name can be used as it is: not empty, no more than kMaxLength characters, nothing
// fromTitle would take out.
bool isValid(const QString &name);
constexpr int kMaxLength = 120;
} // namespace FavoriteNames

// Adds the page to the favorites: its name and the folder it goes to, with a button that
// makes a new folder.
class AddFavoriteDialog : public QDialog
{
    Q_OBJECT
public:
    AddFavoriteDialog(const QString &title, const QString &address, const QString &folder,
                      const SidebarHost &host, QWidget *parent = nullptr);

    // Runs the dialog; the new shortcut's path, or "" when cancelled.
    static QString addToFavorites(QWidget *parent, const QString &title, const QString &address,
                                  const QString &folder = FavoritesTree::favoritesFolder(),
                                  const SidebarHost &host = SidebarHost());

    QString shortcutPath() const { return m_path; }
    void accept() override;

private:
    void newFolder();

    SidebarHost m_host;
    QString m_address;
    QString m_root;
    QString m_path;
    QLineEdit *m_name = nullptr;
    QTreeWidget *m_folders = nullptr;
};

// Keeps the Favorites folder in order: new folders, renames, moves and deletions of folders
// and shortcuts. Nothing is ever overwritten; deleting asks first.
class OrganizeFavoritesDialog : public QDialog
{
    Q_OBJECT
public:
    OrganizeFavoritesDialog(const QString &folder, const SidebarHost &host,
                            QWidget *parent = nullptr);

    static void organize(QWidget *parent, const QString &folder = FavoritesTree::favoritesFolder(),
                         const SidebarHost &host = SidebarHost());

    // The operations on the file at path (a shortcut or a folder below the root). Each one
    // tells the user why it did nothing and returns false then.
    bool renameEntry(const QString &path, const QString &newName);
    bool moveEntry(const QString &path, const QString &targetFolder);
    bool deleteEntry(const QString &path);
    bool createFolder(const QString &parentFolder, const QString &name);

private:
    void refill();
    QString selectedPath() const;
    QString selectedFolder() const;
    void renameSelected();
    void moveSelected();
    void deleteSelected();
    void newFolder();
    void refuse(const QString &text);
    bool isRoot(const QString &path) const;
    // Renames path to target unless target is taken; failure names the entry with %1.
    bool relocate(const QString &path, const QString &target, const QString &failure);

    SidebarHost m_host;
    QString m_root;
    QTreeWidget *m_entries = nullptr;
};
