#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Website groups: named sets of page addresses that open together, one new tab per address.
// Each group is one file in its folder: "<name>.gbr", the addresses as text lines, or
// "<name>.gbs", the addresses scrambled with a one-byte key made from a password. The
// scrambling only keeps the addresses from casual reading; it is no encryption.
//
// ".gbs" layout: 6 header bytes ("qorvix" XOR key), then one 256-byte record per address (its
// Latin-1 codes XOR key, padded with the key byte; longer addresses are cut to 256 characters).
//
// Extensions match in any letter case, and a group's file is looked up in the folder's listing,
// so the file found is the one opened, overwritten or deleted.
class WebsiteGroups
{
public:
    struct Group
    {
        QString name;
        bool isProtected = false;
        QString filePath;
    };

    static constexpr int kMaxNameLength = 40;
    static constexpr int kRecordSize = 256;

    // The "groups" folder in the user's data folder.
    static QString defaultFolder();
    explicit WebsiteGroups(const QString &folder = defaultFolder());

    // The groups as the list shows them: the folder's group files sorted by name, last first.
    QList<Group> groups() const;

    // The sum of the password's Latin-1 codes, modulo 256. A character outside Latin-1 counts
    // as '?'; a password holding one cannot save a group.
    static quint8 keyFromPassword(const QString &password);

    // Why openGroup opened nothing, or not all.
    enum class OpenFailure { None, Unreadable, WrongPassword, Damaged };
    // Hands every address of the group to openAddress, in file order. False when the group's
    // file is missing or unreadable, or the password does not fit (then nothing is opened);
    // a protected file that ends inside a record opens the whole records before it. A plain
    // file that is not text (it holds a NUL byte) is damaged and opens nothing. failure,
    // when given, tells which.
    bool openGroup(const QString &name, bool isProtected, const QString &password,
                   const std::function<void(const QString &)> &openAddress,
                   OpenFailure *failure = nullptr) const;
    // Writes the group, replacing a file of the same name and kind. False, with the folder as
    // it was, for a name isValidName refuses, for a protected group whose password or
    // addresses hold characters outside Latin-1, and when the file cannot be written.
    bool saveGroup(const QString &name, bool isProtected, const QString &password,
                   const QStringList &addresses);
    // Deletes the group's file. True when no such file is left (also when there was none).
    bool deleteGroup(const QString &name, bool isProtected);

    // A name that stays a plain file name inside the folder: 1 to 40 characters, not "." or
    // "..", without "/", "\\" or control characters.
    static bool isValidName(const QString &name);

private:
    // The group's file in the folder, or an empty text when there is none.
    QString findFile(const QString &name, bool isProtected) const;

    QString m_folder;
};
