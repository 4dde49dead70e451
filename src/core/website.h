#pragma once

#include <QString>

// The project's web site, one base address set when the program is built: the Help menu's pages
// and the update check's version file live under it.
namespace WebSite {

// The base address, without a final "/".
QString base();
// The address of a page under the base: "" is the home page, "forum", "version.txt", ...
QString page(const QString &name);
// Tests point the site at a server of their own; an empty text goes back to the built-in one.
void setBaseForTesting(const QString &base);

} // namespace WebSite
