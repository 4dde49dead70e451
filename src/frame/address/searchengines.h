#pragma once

#include <QString>

// The six web search engines of the address bar's "Search" button, in menu order, and the
// quick search box's web and groups searches.
namespace SearchEngines {

inline constexpr int kCount = 6;

// The query as it goes into an address: trimmed, percent-encoded, blanks as "+".
QString encodeQuery(const QString &text);

// The engine's search address for the text, or its home page when the text is empty or blank.
// An engine outside 0..5 gives an empty address.
QString searchAddress(int engine, const QString &text);
QString homePage(int engine);

// The quick search box: Google web search, or its discussion groups.
QString quickSearchAddress(bool groups, const QString &text);

} // namespace SearchEngines
