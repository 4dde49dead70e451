#pragma once

#include <QList>
#include <QString>

// Where the children of a side-bar panel go when the panel is resized. Everything is in
// twips; the buttons keep their size, the lists, trees, the notes box and the browser stretch.
namespace SidebarGeometry {

inline constexpr double kButtonTwips = 495;
// The width a pinned side bar opens at.
inline constexpr double kStandardWidthTwips = 4000;
// The history cleaner panel keeps its design height: its last buttons end there.
inline constexpr double kCleanerPanelTwips = 2175;

struct Place
{
    QString control;
    double left = 0, top = 0, width = 0, height = 0;
};

// The places of the children of panel index (0 quick notes, 1 favorites and groups,
// 2 history, 3 RSS, 4 browser) for a panel of the given size. Heights and widths that the
// rules would make negative are 0. Another index gives nothing.
QList<Place> panelLayout(int index, double width, double height,
                         double buttonWidth = kButtonTwips, double buttonHeight = kButtonTwips,
                         double cleanerHeight = kCleanerPanelTwips);

// The height in pixels of one band of a striped list for a text of textHeight pixels:
// mode 0 one pixel more than the text, mode 1 at least 19 pixels (else one pixel more),
// mode 2 one pixel more than the list's icons; any other mode the text height.
int rowHeight(int textHeight, int iconHeight, int mode);

} // namespace SidebarGeometry
