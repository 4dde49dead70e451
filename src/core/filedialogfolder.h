#pragma once

#include <QString>

// Where the Open and Save As dialogs start: the folder the user last chose a file in during
// this run, else the user's download folder, else the home folder.
namespace FileDialogFolder {

QString startFolder();
// The user's download folder; the home folder when there is none.
QString downloadFolder();
// The folder of a file the user chose in one of the dialogs.
void remember(const QString &chosenFile);

} // namespace FileDialogFolder
