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
    return downloadFolder();
}

QString downloadFolder()
{
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return !downloads.isEmpty() && QFileInfo(downloads).isDir() ? downloads : QDir::homePath();
}

void remember(const QString &chosenFile)
{
    if (!chosenFile.isEmpty())
        lastFolder() = QFileInfo(chosenFile).absolutePath();
}

} // namespace FileDialogFolder
