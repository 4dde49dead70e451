#pragma once

#include <QString>
#include <QStringList>

// The popup whitelist: sites whose pages may open popups while the killer is on. The program
// keeps one list for the whole run, read from "Whitelist.qvr" at the frame's load and written
// back at its unload.

// The site part of an address as the whitelist keeps it, in the address's own letter case: a
// leading "http://", "https://", "ftp://" or "gopher://" and a "www." right after it (or at the
// very start) are dropped, and the rest is cut before its first "/". Scheme and "www." count
// only at the start of the address. A "file://" address is returned whole.
QString domainName(const QString &url);

// Whether the address contains one of the entries (any letter case, anywhere in the address).
// Blank entries never match; an empty address matches nothing.
bool whitelistMatches(const QString &url, const QStringList &whitelist);

// Most entries the whitelist holds.
inline constexpr int kMaxWhitelistEntries = 32767;

// Adds the entry (letter case kept) at the end unless the list holds it already (compared in
// upper case). True when the entry is in the list afterwards; false for a blank entry or a full
// list.
bool addToWhitelist(QStringList &whitelist, const QString &entry);

// The program's whitelist, one site per entry. The first use reads "Whitelist.qvr" when the
// start-up has not read it yet, so no decision is made without the user's list.
QStringList &programWhitelist();
// addToWhitelist on the program's whitelist.
bool addToWhitelist(const QString &entry);

// Replaces the program's whitelist by the first kMaxWhitelistEntries entries of
// "Whitelist.qvr" in the data folder; a file that cannot be read leaves the list as it is.
void loadWhitelist();
// Reads "Whitelist.qvr" unless it was read (or tried) in this run already: a start reads it
// once the window shows, and an earlier use reads it then.
void ensureWhitelistLoaded();
bool isWhitelistLoaded();
// A frame's start: the list is read from the file again (replacing the one in memory) at the
// next use or ensureWhitelistLoaded.
void readWhitelistAtNextUse();
// Writes the program's whitelist (at most kMaxWhitelistEntries entries) to "Whitelist.qvr" in
// the data folder; false when the file could not be written. A list never read this run is
// not written: the file is left whole.
bool saveWhitelist();
