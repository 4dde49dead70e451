#pragma once

class HistoryStore;

// Traces of browsing kept by the web profile every document shares (WebBrowser::sharedProfile)
// and by the history store. Each call returns whether the deletion could be set going; the
// engine finishes the cache and cookie deletions on its own afterwards.
namespace BrowsingData {

// The HTTP cache: the temporary files.
bool clearCache();
// Every cookie of the profile.
bool clearCookies();
// The history store (HistoryStore::instance() unless another is given) and the profile's
// visited links.
bool clearHistory(HistoryStore *store = nullptr);

} // namespace BrowsingData
