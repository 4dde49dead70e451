#include "filedialogfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace FileDialogFolder {

namespace {

QString &lastFolder()
{
    static QString folder;
    return folder;
}

} // namespace

QString startFolder()
{
    if (!lastFolder().isEmpty() && QFileInfo(lastFolder()).isDir())
        return lastFolder();
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    if (!downloads.isEmpty() && QFileInfo(downloads).isDir())
        return downloads;
    return QDir::homePath();
}

void remember(const QString &chosenFile)
{
    if (!chosenFile.isEmpty())
        lastFolder() = QFileInfo(chosenFile).absolutePath();
}

} // namespace FileDialogFolder
