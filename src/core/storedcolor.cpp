#include "storedcolor.h"

#include "storedvalue.h"

#include <QGuiApplication>
#include <QPalette>

namespace {

QColor systemColor(quint32 index)
{
    const QPalette pal = QGuiApplication::palette();
    switch (index) {
    case 0: // scroll bar
    case 15: // button face
    case 4: // menu
    case 30: // menu bar
        return pal.color(QPalette::Button);
    case 1: // desktop
    case 12: // application workspace
        return pal.color(QPalette::Dark);
    case 2: // active caption
    case 13: // highlight
    case 27: // gradient active caption
    case 29: // menu highlight
        return pal.color(QPalette::Highlight);
    case 3: // inactive caption
    case 28: // gradient inactive caption
        return pal.color(QPalette::Inactive, QPalette::Highlight);
    case 5: // window background
        return pal.color(QPalette::Base);
    case 6: // window frame
    case 21: // 3D dark shadow
        return pal.color(QPalette::Shadow);
    case 7: // menu text
    case 8: // window text
        return pal.color(QPalette::WindowText);
    case 9: // caption text
    case 14: // highlighted text
        return pal.color(QPalette::HighlightedText);
    case 10: // active border
    case 11: // inactive border
        return pal.color(QPalette::Window);
    case 16: // button shadow
        return pal.color(QPalette::Mid);
    case 17: // grey text
        return pal.color(QPalette::Disabled, QPalette::Text);
    case 18: // button text
        return pal.color(QPalette::ButtonText);
    case 19: // inactive caption text
        return pal.color(QPalette::Inactive, QPalette::HighlightedText);
    case 20: // button highlight
        return pal.color(QPalette::Light);
    case 22: // 3D light
        return pal.color(QPalette::Midlight);
    case 23: // tool tip text
        return pal.color(QPalette::ToolTipText);
    case 24: // tool tip background
        return pal.color(QPalette::ToolTipBase);
    case 26: // hot-tracked item
        return pal.color(QPalette::Link);
    default:
        return pal.color(QPalette::Window);
    }
}

} // namespace

QColor storedColorToQColor(quint32 stored)
{
    if (stored & 0x80000000u)
        return systemColor(stored & 0xFFu);
    return QColor(int(stored & 0xFF), int((stored >> 8) & 0xFF), int((stored >> 16) & 0xFF));
}

quint32 qColorToStoredColor(const QColor &color)
{
    return quint32(color.red()) | (quint32(color.green()) << 8) | (quint32(color.blue()) << 16);
}

int twipsToPixels(double twips)
{
    return int(StoredValue::roundHalfEven(twips / kTwipsPerPixel));
}

double pixelsToTwips(int pixels)
{
    return pixels * kTwipsPerPixel;
}
