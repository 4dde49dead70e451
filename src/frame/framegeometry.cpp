#include "framegeometry.h"

#include <QtGlobal>

namespace FrameGeometry {

QRect initialGeometry(const QRect &stored, const QRect &available)
{
    if (available.isEmpty())
        return stored;
    if (stored.isEmpty()) {
        QRect first(QPoint(), available.size() * 4 / 5);
        first.moveCenter(available.center());
        return first;
    }
    QRect rect(stored.topLeft(), stored.size().boundedTo(available.size()));
    rect.moveLeft(qBound(available.left(), rect.left(), available.right() - rect.width() + 1));
    rect.moveTop(qBound(available.top(), rect.top(), available.bottom() - rect.height() + 1));
    return rect;
}

} // namespace FrameGeometry
