#pragma once

#include <QString>
#include <QStringList>

// The two small text files kept beside the user's data: "notes.qvr" (the side bar's quick notes)
// and "Whitelist.qvr" (the popup killer's whitelist). Lines end in CR LF when written; a reader
// takes a line to end at CR LF, CR or LF. Files are read as UTF-8 (a byte sequence that is not
// UTF-8 reads as one replacement character, the rest as it is) and written as UTF-8, atomically
// and user-only: a failed write keeps the old file.
namespace NotesFiles {

// The notes text as the box shows it: lines joined by "\n", the file's last line break dropped.
// ok=false when the file cannot be read.
QString readQuickNotes(const QString &path, bool *ok = nullptr);
// Writes every line of the text (split at "\n", "\r\n" or "\r") followed by CR LF; an empty
// text writes one empty line. Lines of any length are kept.
bool writeQuickNotes(const QString &path, const QString &text);

// The entries of a whitelist file: line 1 holds the count, the entries follow one per line.
// Only the entries that are really there are returned (never more than a valid count); a first
// line that is not a whole number of at least 0 is an entry itself; blank entries are skipped.
// ok=false (and an empty list) when the file cannot be read.
QStringList readWhitelist(const QString &path, bool *ok = nullptr);
// Writes the count of the non-blank entries as a printed number (" 3 ") and those entries,
// each line ended by CR LF. Line breaks inside an entry are dropped.
bool writeWhitelist(const QString &path, const QStringList &entries);

} // namespace NotesFiles
