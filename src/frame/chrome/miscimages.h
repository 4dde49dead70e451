#pragma once

#include <QList>
#include <QPixmap>

// The frame's small pictures (16 x 16): 0 options, 1 popup killer off, 2 secure page,
// 3 popup killer on, 4 typed address, 5 popup killed (blink), 6 page, 7 full screen.
const QList<QPixmap> &miscImageList();
