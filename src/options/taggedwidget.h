#pragma once

#include "core/strings.h"

#include <QLatin1String>
#include <QVBoxLayout>

// Building blocks of the options pages (and taggedWidget from core/strings.h).

// Lays the page's frame out to fill the page.
inline void fillPage(QWidget *page, QWidget *frame)
{
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
}
