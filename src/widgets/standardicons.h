#pragma once

#include <QIcon>
#include <QStyle>

class QWidget;

// The style's standard pictures, each made once per style: a style reads a picture's files anew
// every time it is asked for one, which lists of many rows (typed addresses, documents, links)
// would otherwise pay for each row.
namespace StandardIcons {
QIcon icon(const QWidget *widget, QStyle::StandardPixmap picture);
}
