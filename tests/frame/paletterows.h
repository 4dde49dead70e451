#pragma once

#include "frame/navigatorpalette.h"

#include <QTreeWidget>

// The navigator palette's rows ("ListView1") as the palette shows them, 1-based.
inline QTreeWidgetItem *paletteRow(const NavigatorPalette *palette, int row)
{
    const auto *list = palette->findChild<QTreeWidget *>(QStringLiteral("ListView1"));
    return list ? list->topLevelItem(row - 1) : nullptr;
}

inline QString paletteRowText(const NavigatorPalette *palette, int row)
{
    return palette->rowText(row);
}

inline QString paletteRowStatus(const NavigatorPalette *palette, int row)
{
    return palette->rowStatus(row);
}

inline bool paletteRowBold(const NavigatorPalette *palette, int row)
{
    return palette->rowBold(row);
}
