#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

// The side bar's image list sidebarIL: twelve 16-pixel pictures addressed by index or key
// ("Fav", "History", "QNotes", "fopen", "HistItem", "feed", "feedchannelnew", "feedchannel",
// "feednew", "heart", "heartsec", "soccer").
namespace SidebarImages {

inline constexpr int kSize = 16;

const QStringList &keys();
// -1 for an unknown key.
int index(const QString &key);
// A null icon for an unknown index or key.
QIcon icon(int index);
QIcon icon(const QString &key);

} // namespace SidebarImages
