#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>

// Every file Quarvel writes for the user goes through here: written atomically (a failed write
// keeps the old file whole) and readable and writable by the user only.
namespace UserFile {

// Replaces the file's content by data. False when any part of the write failed; the old file
// is then left as it was. The file is the user's alone, unless a file we do not own is
// rewritten with the mode it had.
bool save(const QString &path, const QByteArray &data,
          QFileDevice::Permissions mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner);

// What is found where a user file is read from. Only a regular file (or a link to one) is ever
// opened for reading: anything else there (a folder, a named pipe, a socket, a device) counts
// as a file we cannot read, as does what cannot be looked at; opening a pipe would wait for a
// writer without end.
enum class Found { Nothing, File, NotAFile };
Found find(const QString &path);

// Reads the whole file into data. False when it cannot be opened or read to its end, when it
// is not a file (find) or when it is larger than maxSize bytes (when maxSize is not -1).
bool read(const QString &path, QByteArray *data, qint64 maxSize = -1);

// Creates the folder and any missing folder above it, each readable, writable and enterable by
// the user only; folders that exist are left as they are. False when the folder is not there
// afterwards.
bool makeFolder(const QString &path);

// The name a file we cannot read is kept under, beside it: path.unreadable-<date and time>,
// numbered when that name is taken.
QString unreadableName(const QString &path);

// Moves a file we cannot read to its unreadableName, so that nothing is written over it. The
// new name; empty when the file could not be moved (the caller then keeps it and writes nothing
// in its place).
QString setAside(const QString &path);

} // namespace UserFile
