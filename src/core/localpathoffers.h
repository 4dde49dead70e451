#pragma once

#include <QString>
#include <QStringList>

// Local files and folders the address bar offers while the user types a path: the entries of
// the typed folder whose names start with the last part of the text, folders first (each with a
// final "/"), then files, alphabetically. Offers keep the form the user typed ("/ho" offers
// "/home/", "file:///ho" offers "file:///home/"). Hidden entries are offered only when the
// typed name starts with a dot. Text that is not a path offers nothing.
namespace LocalPathOffers {

// Whether the text is a local path or a file address ("/…", "file:/…").
bool isPath(const QString &text);

QStringList offers(const QString &text, int limit);

} // namespace LocalPathOffers
