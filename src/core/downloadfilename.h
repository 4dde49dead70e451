#pragma once

#include <QString>

#include <functional>

// The names a download is saved under: the name a server or page suggests made a plain file
// name, the temporary name it is written under until it is complete, and a free name beside a
// taken one. Whether a name is taken is asked of the caller, so the rules need no folder.
namespace DownloadFileName {

// Says whether a file name is taken in the folder the download goes to.
using TakenTest = std::function<bool(const QString &name)>;

// Longest name kept from a suggestion, in UTF-8 bytes: a file system takes 255, and the
// temporary and numbered names add to it.
inline constexpr int kMaxNameBytes = 230;

// The suggested name as a plain file name in one folder: path separators and control or format
// characters become '_'; blanks at either end, leading dots and trailing dots go (no hidden
// file, no "." or ".."); a name longer than kMaxNameBytes is shortened before its extension.
// fallback when nothing is left.
QString clean(const QString &suggested, const QString &fallback);

// The temporary name of a download that will be called name: "name.part", else "name.1.part",
// "name.2.part", ... whichever is free first.
QString partName(const QString &name, const TakenTest &taken);

// name when it is free, else "stem (1).ext", "stem (2).ext", ... whichever is free first (the
// extension is kept whole, ".tar.gz" included).
QString freeName(const QString &name, const TakenTest &taken);

} // namespace DownloadFileName
