#pragma once

#include <QRect>

// Where the frame opens. A stored geometry is kept as long as it fits the screen's available
// area (moved inside it and shrunk to it when it does not); without one (a first start) the frame
// opens centred at four fifths of the available area, which reads well on today's screens.
namespace FrameGeometry {

QRect initialGeometry(const QRect &stored, const QRect &available);

} // namespace FrameGeometry
