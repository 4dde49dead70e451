#pragma once

#include <QString>

// Where Quarvel's files live. Everything the program writes goes to the user's data folder;
// read-only assets (skins, toolbar strips, sounds) ship with the program. Nothing else
// computes paths.
namespace Paths {

// The user's data folder (created on first use): databases, layout, notes, whitelist, forms.
QString dataDir();
// A file the program writes, in the data folder.
QString dataFile(const QString &name);
// The folder holding the settings file (created on first use).
QString configDir();
// The folder of the per-user run-time files: the instance lock and the hand-over socket.
// Empty when no folder can be trusted with them (one that is not a real folder of this user's,
// closed to everyone else): the program then runs without hand-over.
QString runtimeDir();
// Whether path is a folder (not a link) owned by this user that no one else may enter.
bool isPrivateFolder(const QString &path);
// The read-only assets shipped with the program: "share/quarvel" of the installation, or the
// "resources" folder of the source tree when running from a build tree.
QString assetDir();
QString assetFile(const QString &name);
// How a file setting is shown to the user: a shipped asset by its name within the asset folder
// ("popup.wav", "skins/daybreak.qvs"), any other file by its path.
QString displayPath(const QString &path);
// What a field showing displayPath(stored) holds once the user may have edited it: stored when
// the field was left as shown, else the field's text.
QString editedPath(const QString &shown, const QString &stored);

} // namespace Paths
