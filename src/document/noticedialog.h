#pragma once

#include <QList>

class QDialog;

// Lays out a one-time notice: a bold heading, the texts one under the other and an OK button
// that accepts the dialog; the ids are resource strings, localised at once.
void buildNoticeDialog(QDialog *dialog, int captionId, int headingId, const QList<int> &textIds);
