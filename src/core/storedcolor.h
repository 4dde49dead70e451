#pragma once

#include <QColor>
#include <QtGlobal>

// Colours as the settings store keeps them: 0x00BBGGRR, or a system colour when the high bit is
// set (0x80000000 | index), which maps to the nearest role of the application palette.
QColor storedColorToQColor(quint32 stored);

// The system colours the drawing code asks for by index.
constexpr quint32 kSysColorButtonFace = 0x80000000u | 15u;
constexpr quint32 kSysColorButtonShadow = 0x80000000u | 16u;
constexpr quint32 kSysColor3DHighlight = 0x80000000u | 20u;
quint32 qColorToStoredColor(const QColor &color);

// Window geometry is stored in twips: 15 twips to the pixel.
constexpr double kTwipsPerPixel = 15.0;
int twipsToPixels(double twips);
double pixelsToTwips(int pixels);
