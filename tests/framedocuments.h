#pragma once

#include "document/documentwindow.h"
#include "frame/documents/documentarea.h"

#include <QList>
#include <QWidget>

// A frame's documents as its document area (one of the frame's children) holds them, in the
// order of their tabs.
inline QList<DocumentWindow *> frameDocuments(const QWidget &frame)
{
    QList<DocumentWindow *> documents;
    for (AbstractDocument *document : frame.findChild<DocumentArea *>()->documents()) {
        if (auto *window = qobject_cast<DocumentWindow *>(document))
            documents.append(window);
    }
    return documents;
}

// The frame's active document, or null.
inline DocumentWindow *activeFrameDocument(const QWidget &frame)
{
    return qobject_cast<DocumentWindow *>(frame.findChild<DocumentArea *>()->activeDocument());
}
