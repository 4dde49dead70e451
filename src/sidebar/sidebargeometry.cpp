#include "sidebargeometry.h"

#include "core/storedvalue.h"

#include <QtGlobal>

namespace SidebarGeometry {

QList<Place> panelLayout(int index, double width, double height, double buttonWidth,
                         double buttonHeight, double cleanerHeight)
{
    const double w = qMax(0.0, width);
    const double h = qMax(0.0, height);
    auto place = [](const char *control, double left, double top, double cw, double ch) {
        return Place{QLatin1String(control), left, top, qMax(0.0, cw), qMax(0.0, ch)};
    };
    switch (index) {
    case 0:
        return {place("txtQuickNotes", 0, 0, w, h)};
    case 1: {
        // Two equal halves under two button rows.
        const double b = buttonHeight;
        const double n = qMax(0.0, StoredValue::roundHalfEven((h - 2 * b) / 2));
        const double groupTop = b + n;
        return {place("btnAdd", 0, 0, buttonWidth, buttonHeight),
                place("btnOrganize", buttonWidth, 0, buttonWidth, buttonHeight),
                place("TreeView1", 0, b, w, n),
                place("btnGroupAdd", 0, groupTop, buttonWidth, buttonHeight),
                place("btnGroupRemove", buttonWidth, groupTop, buttonWidth, buttonHeight),
                place("ListView3", 0, groupTop + buttonHeight, w, n)};
    }
    case 2:
        return {place("Picture4", 0, 0, w, cleanerHeight),
                place("TreeView2", 0, cleanerHeight + 20, w, h - cleanerHeight - 20)};
    case 3: {
        // One row of five buttons, then two lists of equal height 40 twips apart.
        const double hb = buttonHeight;
        const double l = qMax(0.0, ((h - hb - 10) / 2) - 20);
        return {place("cmdAddRss", 0, 0, buttonWidth, buttonHeight),
                place("cmdRemoveRss", buttonWidth, 0, buttonWidth, buttonHeight),
                place("cmdEditRss", 2 * buttonWidth, 0, buttonWidth, buttonHeight),
                place("cmdCheckRss", 3 * buttonWidth, 0, buttonWidth, buttonHeight),
                place("cmdRssSetting", 4 * buttonWidth, 0, buttonWidth, buttonHeight),
                place("ListView1", 0, hb + 10, w - 50, l),
                place("ListView2", 0, l + hb + 10 + 40, w - 50, l)};
    }
    case 4:
        return {place("WebBrowser1", 0, 0, w, h)};
    default:
        return {};
    }
}

int rowHeight(int textHeight, int iconHeight, int mode)
{
    switch (mode) {
    case 0:
        return textHeight + 1;
    case 1:
        return textHeight < 19 ? 19 : textHeight + 1;
    case 2:
        return iconHeight + 1;
    default:
        return textHeight;
    }
}

} // namespace SidebarGeometry
