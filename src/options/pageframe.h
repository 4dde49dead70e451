#pragma once

#include "core/strings.h"

#include <QGroupBox>
#include <QVBoxLayout>

// The captioned frame that fills an options page and holds all its controls.
inline QGroupBox *addPageFrame(QWidget *page, const char *name, int caption)
{
    auto *frame = new QGroupBox(page);
    frame->setObjectName(QLatin1String(name));
    frame->setProperty(kTagProperty, resId(caption));
    auto *outer = new QVBoxLayout(page);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);
    return frame;
}
