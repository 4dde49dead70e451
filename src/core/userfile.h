#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QList>
#include <QString>

class SaveRefusalNotifier;

// Every file Quarvel writes for the user goes through here: written atomically (a failed write
// keeps the old file whole) and readable and writable by the user only, and only where a
// regular file or nothing stands.
namespace UserFile {

// What a save came to. Failed: the write went wrong and the old file, if any, is as it was.
// Refused: something other than a regular file stands where the save would have written, and
// it is left as it is.
enum class Saved { Written, Failed, Refused };

// Replaces the file's content by data, where a regular file or nothing stands at path. A link
// there is followed only to a regular file, or to nothing in a folder of the user's that not
// everyone may write in (writeTarget). Anything else (a folder, a named pipe, a socket, a
// device, a link elsewhere) is refused: it stays as it is, and data is kept beside path
// instead (keepUnsaved), for the user to be told once. The file is the user's alone, unless a
// file we do not own is rewritten with the mode it had.
Saved saveOrKeep(const QString &path, const QByteArray &data,
                 QFileDevice::Permissions mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner);

// saveOrKeep; true when the data was written.
bool save(const QString &path, const QByteArray &data,
          QFileDevice::Permissions mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner);

// Where a write to path would land: path itself when a regular file or nothing stands there,
// else the end of the link there when that is a regular file, or nothing in a folder of the
// user's that not everyone may write in. Empty when a save to path is refused.
QString writeTarget(const QString &path);

// Creates an empty file, the user's alone, where nothing stands (a link there is not
// followed). False when something stands there or the file cannot be made.
bool createEmpty(const QString &path);

// A save that was refused, and where what it held is kept instead (empty when it could not be
// kept anywhere).
struct RefusedSave
{
    QString path;
    QString keptAs;
};

// Keeps data, which was not saved at path, in a regular file of its own beside it:
// path.unsaved-<date and time>, numbered when that name is taken. Noted for takeRefusedSaves
// the first time a path is refused in a run; a later refusal of the same path rewrites the
// file kept for it, and is noted again only when it had to go elsewhere. The file kept; empty
// when nothing could be kept.
QString keepUnsaved(const QString &path, const QByteArray &data);

// The refusals noted since the last call, in their order.
QList<RefusedSave> takeRefusedSaves();

// Tells whenever a refusal is noted.
SaveRefusalNotifier &refusalNotifier();

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
