#pragma once

#include <QString>

// Internet shortcut files (".url"), read for the favorites and for opening a shortcut file.

// The address held by the shortcut "<pathWithoutExtension>.url" (the extension in any letter
// case), or an empty text when the file cannot be read or holds no address. The address is the
// text after the first "url=" of the first line containing it at or after the line that
// contains "netshortcut" (both matched in any case).
QString readUrlShortcut(const QString &pathWithoutExtension);

// The text without the characters below 33 (blanks and control characters) at either end.
QString trimControlChars(const QString &text);

// Writes the shortcut file filePath (the whole path, extension included) holding address:
// "[InternetShortcut]" and "URL=<address>", replacing the file. False when it could not be
// written or the address holds a line break.
bool writeUrlShortcut(const QString &filePath, const QString &address);
