#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// What the browser makes of text typed where an address goes: an address, or words to look up
// with the web search of the user's choice ("how to bake bread", "bread").
namespace TypedAddress {

// True for text that is no address: words with blanks between them, or one word that names no
// host (no dot, no port, no path, not "localhost"). Text with a scheme the browser handles, a
// path to a file and anything else that reads as a host stay addresses.
bool isSearchText(const QString &text);

// True for a script address ("javascript:..."), however it is spelled: the engine ignores
// blanks and control characters before an address, tabs and line breaks anywhere in it, and
// letter case in its scheme.
bool isScriptAddress(const QString &text);

// The address to load for the text: the search address the callback gives for search text
// (when it gives one), otherwise the text read as an address (an existing file relative to the
// working folder included). A script address gives an empty address: typed or handed over, it
// would run in whatever page is showing.
QUrl resolve(const QString &text, const QString &workingFolder,
             const std::function<QString(const QString &query)> &searchAddress);

} // namespace TypedAddress
