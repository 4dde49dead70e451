#pragma once

#include <QString>

// The rules that turn a document's events into what its tab and navigator row show.
namespace DocumentRules {

// Longest title a tab shows whole; longer ones are cut and get "...".
inline constexpr int kMaxTabCaption = 50;

// The tab caption for a page title: cut to 50 characters plus "...", or its first three
// characters on a shrunk tab.
QString tabCaption(const QString &title, bool shrunk);

// The name a document goes by in its tab, the Window menu, the window list and the frame's
// caption: its page's title, else the page's address, else the name it had (a page that did
// not load reports neither).
QString documentName(const QString &title, const QString &address, const QString &previousName);

// What the address field shows for a document: after a failed load the text that load was
// asked for (as the user typed it, to be mended in place), else the page's address.
QString addressShown(const QString &requested, const QString &pageAddress, bool loadFailed);

// Tab icons come in pairs: the even one for a normal tab, the odd one for a shrunk tab.
int iconForShrink(int icon, bool shrunk);

// The load percentage of a progress report (0 when progressMax is 0; -1 progress counts as
// 100). Returns -1 when the report is to be ignored (progress above progressMax).
int progressPercent(int progress, int progressMax);

// The loading icon for a percentage (0, 2, 4, 6 by quarter; odd on a shrunk tab); at 100 the
// current icon stays.
int loadingIcon(int percent, bool shrunk, int currentIcon);

// Loaded and highlighted icons.
inline constexpr int kIconLoaded = 8;
inline constexpr int kIconHighlighted = 10;
// One blink step: 8 <-> 10 and 9 <-> 11; other icons stay.
int blinkIcon(int icon);

// The navigator row's status text while loading ("45%") and when done.
QString progressText(int percent);
QString completedText();

} // namespace DocumentRules
